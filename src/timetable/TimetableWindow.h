#pragma once

#include "ProgramRecord.h"
#include "ProgramStore.h"

#include <QDialog>
#include <QSqlDatabase>

#include <QTime>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;

namespace tessaly {

class ProgramMoves;
class Prompter;
class ScheduleEditor;
class WeekView;

// "周节目表 - 第一套": the week of one set of MusicTab (or of the read-back programs), with
// printing and the PDF and PNG exports. It reads the database again whenever it is activated
// or "刷新" is pressed, so it follows what the editor changes.
//
// Opened by the editor on MusicTab, the week can be edited (allowEditing): programs are moved
// by dragging their blocks or with Alt+Up and Alt+Down, stored by the editor's rules, and
// Ctrl+Z and Ctrl+Shift+Z undo and redo the moves of this window.
class TimetableWindow final : public QDialog {
    Q_OBJECT
public:
    TimetableWindow(Prompter& prompter, const QSqlDatabase& db, ProgramTable table, int set,
                    QWidget* parent = nullptr);
    ~TimetableWindow() override;

    // Moves are stored through `editor` while `editorIdle` says that it has no program of its
    // own being added or edited. Only the PC's programs (MusicTab) can be edited.
    void allowEditing(ScheduleEditor& editor, std::function<bool()> editorIdle);
    bool isEditable() const { return m_moves != nullptr; }
    void undoMove();
    void redoMove();

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
    // A move, its undo or its redo was stored.
    void programsChanged();
    // A double click on an empty place of an editable week: a new program of the set shown,
    // on that weekday (0 Monday), from start to end.
    void addRequested(const QString& setLabel, int day, QTime start, QTime end);

protected:
    bool event(QEvent* event) override;

private:
    QString askFileName(const QString& caption, const QString& suffix);
    void moveProgram(qint64 autoId, const QString& setLabel, int seconds);
    void requestAdd(int day, int second);
    bool editorBusy();
    template <typename Move> void storeMove(Move move);

    Prompter& m_prompter;
    QSqlDatabase m_db;
    ProgramStore m_store;
    ProgramTable m_table;
    int m_set;
    QComboBox* m_setList = nullptr;
    QLabel* m_status = nullptr;
    WeekView* m_view = nullptr;
    FileChooser m_chooseFile;
    std::unique_ptr<ProgramMoves> m_moves;
    std::function<bool()> m_editorIdle;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
};

} // namespace tessaly
