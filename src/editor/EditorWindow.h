#pragma once

#include "Backups.h"
#include "Clock.h"
#include "ProgramRecord.h"
#include "ProgramStore.h"
#include "ScheduleEditor.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QFrame;
class QPushButton;

namespace tessaly {

class BatchAddDialog;
class ProgramDetailPanel;
class ProgramFilterPanel;
class ProgramListModel;
class ProgramListPanel;
class TimetableWindow;
class Prompter;
struct Session;

// TfrmEdit, "程序编辑器": browses the programs of one set of MusicTab, adds, edits, deletes
// and copies them, and keeps the pre-heat and delay pair. Modal; opened on the first set that
// holds programs. The rules live in ScheduleEditor; this window asks the questions and keeps
// the controls in the state of its mode.
class EditorWindow final : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Browse, Add, Edit };

    EditorWindow(Clock& clock, Prompter& prompter, const QSqlDatabase& db, Session& session,
                 QWidget* parent = nullptr);
    ~EditorWindow() override;

    Mode mode() const { return m_mode; }
    const ScheduleEditor& editor() const { return m_editor; }
    const ProgramListModel& list() const { return *m_model; }

    // The handlers of the window's controls.
    void chJMClick(int set);
    void chJM0Click();
    void sbAddClick();
    void sbeditClick();
    void sbSaveClick();
    void sbCancelClick();
    void sbDelClick();
    void sbDelAllClick();
    void sbCopyClick();
    void SpeedButton1Click();
    void SpeedButton2Click();

    // "周节目表…" on the grid: the week of the ticked set, beside the editor.
    TimetableWindow* openTimetable();
    // Shows the program of this set and starts editing it, as "修改程序" would. False while
    // a program is being added or edited, or when the program is gone.
    bool editProgram(qint64 autoId, const QString& setLabel);
    // Starts adding a program to the set, as "增加程序" would, on that weekday alone (0 Monday)
    // from start to end. False while a program is being added or edited, or the set is full.
    bool addProgramAt(const QString& setLabel, int day, QTime start, QTime end);
    // The grid's context menu: the shown set out to a CSV or JSON file, and a file's programs
    // into the shown set, checked as a save checks them.
    void exportSetClick();
    void importSetClick();
    // The grid's context menu: several programs of the shown set at once, and the current
    // program again at new start times. The window opens over the editor (nothing when no
    // single set is shown, or no program); what it adds counts as a save.
    BatchAddDialog* batchAddClick();
    BatchAddDialog* copyProgramClick();

    // Where the menu's file dialogs come from: the path chosen, empty when cancelled. A save
    // dialog when `forSaving`, which suggests the file `start`; an open dialog starts in the
    // folder `start`. Tests give their own.
    using FileChooser =
        std::function<QString(bool forSaving, const QString& caption, const QString& start)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // The date an export's suggested file name carries; the machine's by default.
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }
    // Runs once an import's rows have all passed, right before it writes; false (with the
    // reason) stops it with nothing written.
    void setImportGuard(std::function<bool(QString* error)> guard) {
        m_importGuard = std::move(guard);
    }

    // Every way of closing runs the close steps once: exit button, title bar, dialog result.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildButtons();
    void buildCopyPanel();
    void buildGridMenu();

    void FormShow();
    void openList(const QString& setLabel, SetRows rows, bool onLastRow = false);
    void qryMusicAfterScroll(int row);
    void enterMode(Mode mode);
    void focusControl(const QString& objectName);
    const ProgramRecord* currentRecord() const;
    void updateGridActions();
    BatchAddDialog* openBatch(BatchAddDialog* dialog);

    Clock& m_clock;
    Prompter& m_prompter;
    Session& m_session;
    QSqlDatabase m_db; // backed up before a delete-all, a copy or an import; files go in and out
    ScheduleEditor m_editor;
    Mode m_mode = Mode::Browse;
    ProgramRecord m_pending; // the program being added or edited
    std::array<int, 3> m_editStartTime = ScheduleEditor::NoStartTime; // EditStartTime
    bool m_closed = false;

    ProgramListModel* m_model = nullptr;    // qryMusic
    ProgramListPanel* m_list = nullptr;     // grid, LbNum
    ProgramFilterPanel* m_filter = nullptr; // set boxes, chJM0, cmbYR, cmbYS
    ProgramDetailPanel* m_detail = nullptr; // Pan_Edt
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_deleteAll = nullptr;
    QFrame* m_copyPanel = nullptr; // Pan_Copy
    QComboBox* m_copySource = nullptr;
    QComboBox* m_copyTarget = nullptr;
    QAction* m_exportSet = nullptr;
    QAction* m_importSet = nullptr;
    QAction* m_batchAdd = nullptr;
    QAction* m_copyProgram = nullptr;
    FileChooser m_chooseFile;
    std::function<QDate()> m_today = [] { return QDate::currentDate(); };
    std::function<bool(QString* error)> m_importGuard;
    std::optional<ChangeBackup> m_importBackup; // taken by the import under way
};

} // namespace tessaly
