#pragma once

#include "Clock.h"

#include <QDialog>
#include <QSqlDatabase>

class QPushButton;

namespace tessaly {

class Prompter;
class ProgramDetailPanel;
class ProgramFilterPanel;
class ProgramListModel;
class ProgramListPanel;
struct Session;
class TimetableWindow;

// TfrmReadData: the programs of the last set read, listed as the editor lists them, with the
// pre-heat and delay read with them. "保存程序" stores them over the matching programs of the
// PC. It only displays: its detail panel is always disabled.
class ReadDataWindow final : public QDialog {
    Q_OBJECT
public:
    ReadDataWindow(Clock& clock, Prompter& prompter, const QSqlDatabase& db, Session& session,
                   QWidget* parent = nullptr);

    // The priority filter chosen for the list; the priority box may show the current
    // program's marker instead, but the save follows the filter.
    bool priorityFilter() const { return m_priorityFilter; }

    // "周节目表（读取数据）…" on the grid: the week of the read-back programs of the ticked
    // set. Activating a block there shows its program here.
    TimetableWindow* openTimetable();
    void showProgram(qint64 autoId, const QString& setLabel);

private:
    void FormShow();
    void openList(const QString& setLabel, bool priorityOnly);
    void qryMusicAfterScroll(int row);
    void chJMClick(int set);
    void chJM0Click();
    void sbSaveClick();

    Prompter& m_prompter;
    Session& m_session;
    QSqlDatabase m_db;
    ProgramListModel* m_model = nullptr;
    ProgramListPanel* m_list = nullptr;
    ProgramFilterPanel* m_filter = nullptr;
    ProgramDetailPanel* m_detail = nullptr;
    QPushButton* m_save = nullptr;
    bool m_priorityFilter = false;
};

} // namespace tessaly
