#pragma once

#include <QDialog>
#include <QSqlDatabase>

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
    // Restores the backup of the selected row, after a question naming its file.
    void sbRestoreClick();

signals:
    // The database holds a backup's contents now.
    void restored();

private:
    Prompter& m_prompter;
    QSqlDatabase m_db;
    QStringList m_paths; // of the rows, in order
    QTableWidget* m_table = nullptr;
    QPushButton* m_restore = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace tessaly
