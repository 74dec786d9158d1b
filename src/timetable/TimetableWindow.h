#pragma once

#include "ProgramRecord.h"
#include "ProgramStore.h"

#include <QDialog>
#include <QSqlDatabase>

#include <functional>

class QComboBox;
class QLabel;

namespace tessaly {

class Prompter;
class WeekView;

// "周节目表 - 第一套": the week of one set of MusicTab (or of the read-back programs), with
// printing and the PDF and PNG exports. It reads the database again whenever it is activated
// or "刷新" is pressed, so it follows what the editor changes.
class TimetableWindow final : public QDialog {
    Q_OBJECT
public:
    TimetableWindow(Prompter& prompter, const QSqlDatabase& db, ProgramTable table, int set,
                    QWidget* parent = nullptr);

    int set() const { return m_set; }
    void showSet(int set);
    // Reads the set again and shows it.
    void refresh();
    WeekView* view() const { return m_view; }

    void printWeek();
    void exportPdf();
    void exportPng();

    // Asks where an export goes (a save dialog); tests name the file instead.
    using FileChooser = std::function<QString(const QString& caption, const QString& suggested)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

signals:
    // A block was double-clicked or Enter pressed on it.
    void programActivated(const tessaly::ProgramRecord& program);

protected:
    bool event(QEvent* event) override;

private:
    QString askFileName(const QString& caption, const QString& suffix);

    Prompter& m_prompter;
    ProgramStore m_store;
    ProgramTable m_table;
    int m_set;
    QComboBox* m_setList = nullptr;
    QLabel* m_status = nullptr;
    WeekView* m_view = nullptr;
    FileChooser m_chooseFile;
};

} // namespace tessaly
