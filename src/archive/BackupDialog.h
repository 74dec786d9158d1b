#pragma once

#include "Backups.h"

#include <QDialog>
#include <QList>
#include <QSqlDatabase>

class QLabel;
class QPushButton;
class QTableWidget;

namespace tessaly {

class Prompter;

// "备份与恢复": the backups of the database, newest first, and the restore of one of them.
class BackupDialog final : public QDialog {
    Q_OBJECT
public:
    BackupDialog(Prompter& prompter, const QSqlDatabase& db, QWidget* parent = nullptr);

    // Fills the table from the backups folder again.
    void refresh();
    // Restores the backup of the selected row, after a question naming its file, what it
    // holds and what it replaces.
    void sbRestoreClick();

signals:
    // The database holds a backup's contents now.
    void restored();

private:
    Prompter& m_prompter;
    QSqlDatabase m_db;
    QString restoreQuestion(const BackupEntry& backup) const;

    QList<BackupEntry> m_entries; // of the rows, in order
    QLabel* m_problem = nullptr;  // why the folder cannot be listed, in place of an empty list
    QTableWidget* m_table = nullptr;
    QPushButton* m_restore = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace tessaly
