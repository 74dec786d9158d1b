#include "ReadDataWindow.h"

#include "ProgramDetailPanel.h"
#include "ProgramFilterPanel.h"
#include "ProgramListModel.h"
#include "ProgramListPanel.h"
#include "ProgramSet.h"
#include "ProgramWindowLayout.h"
#include "Prompter.h"
#include "ReadBackSave.h"
#include "Session.h"
#include "TimetableWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace tessaly {

using namespace programWindow;

ReadDataWindow::ReadDataWindow(Clock& clock, Prompter& prompter, const QSqlDatabase& db,
                               Session& session, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_session(session), m_db(db) {
    setObjectName(QStringLiteral("frmReadData"));
    setWindowTitle(tr("读取播放器节目数据"));
    setModal(true);
    setFixedSize(Width, Height);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

    addBanner(this, tr("读取播放器节目数据"));

    m_model = new ProgramListModel(db, ProgramTable::MusicReadTab, this);
    m_list = new ProgramListPanel(m_model, this);
    m_list->setGeometry(8, 48, 300, Height - 56);
    m_filter = new ProgramFilterPanel(this);
    m_filter->move(RightX, 48);
    m_detail = new ProgramDetailPanel(clock, this);
    m_detail->move(RightX, 124);
    m_detail->setEditable(false);

    m_save = new QPushButton(tr("保存程序"), this);
    m_save->setObjectName(QStringLiteral("sbSave"));
    m_save->setAutoDefault(false);
    m_save->setGeometry(RightX + 100, ButtonsY, 92, 30);
    auto* exit = new QPushButton(tr("退出页面"), this);
    exit->setObjectName(QStringLiteral("sbexit"));
    exit->setAutoDefault(false);
    exit->setGeometry(RightX + 400, ButtonsY, 92, 30);

    auto* timetable = new QAction(tr("周节目表（读取数据）…"), this);
    timetable->setObjectName(QStringLiteral("actTimetable"));
    connect(timetable, &QAction::triggered, this, &ReadDataWindow::openTimetable);
    m_list->addGridActions({timetable});

    connect(m_list, &ProgramListPanel::currentRowChanged, this,
            &ReadDataWindow::qryMusicAfterScroll);
    connect(m_filter, &ProgramFilterPanel::setChosen, this, &ReadDataWindow::chJMClick);
    connect(m_filter, &ProgramFilterPanel::priorityClicked, this, &ReadDataWindow::chJM0Click);
    connect(m_save, &QPushButton::clicked, this, &ReadDataWindow::sbSaveClick);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void ReadDataWindow::FormShow() {
    m_filter->tickSet(FirstSet);
    if (!m_model->openAll())
        m_prompter.notice(m_model->errorText());
    m_list->updateCount();
    m_list->setCurrentRow(m_model->rowCount() == 0 ? -1 : 0);
    m_filter->setMinutes(m_session.ReadPreheatMinutes, m_session.ReadDelayMinutes);
}

void ReadDataWindow::openList(const QString& setLabel, bool priorityOnly) {
    m_priorityFilter = priorityOnly;
    if (!m_model->openSet(setLabel, priorityOnly ? SetRows::PriorityOnly : SetRows::All))
        m_prompter.notice(m_model->errorText());
    m_list->updateCount();
    m_list->setCurrentRow(m_model->rowCount() == 0 ? -1 : 0);
}

// The display step: the detail panel, and the boxes that follow the current program.
void ReadDataWindow::qryMusicAfterScroll(int row) {
    if (row < 0)
        return;
    const ProgramRecord& record = m_model->record(row);
    m_detail->showRecord(record);
    m_filter->setPriorityTicked(isPriority(record));
    m_filter->tickSet(setNumber(record.JMTaoNo).value_or(0));
}

TimetableWindow* ReadDataWindow::openTimetable() {
    const int set = setNumber(m_filter->tickedSetLabel()).value_or(FirstSet);
    auto* window = new TimetableWindow(m_prompter, m_db, ProgramTable::MusicReadTab, set, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &TimetableWindow::programActivated, this,
            [this, window](const ProgramRecord& program) {
                showProgram(program.AutoID, program.JMTaoNo);
                window->close();
            });
    window->show();
    return window;
}

void ReadDataWindow::showProgram(qint64 autoId, const QString& setLabel) {
    raise();
    activateWindow();
    m_filter->tickSet(setNumber(setLabel).value_or(0));
    openList(setLabel, false);
    m_list->setCurrentRow(m_model->rowOf(autoId));
}

void ReadDataWindow::chJMClick(int set) {
    openList(setLabel(set), false);
}

void ReadDataWindow::chJM0Click() {
    openList(m_filter->tickedSetLabel(), m_filter->priorityTicked());
}

// What is listed replaces what the filter covers; the typed pre-heat and delay are not used.
// Programs without a set tick no box: the label is then empty and no set of the PC's is
// replaced.
void ReadDataWindow::sbSaveClick() {
    saveReadBack(m_db, m_prompter, m_session,
                 {m_filter->checkedSetLabel(), m_priorityFilter, m_model->records()});
}

} // namespace tessaly
