#include "EditorWindow.h"

#include "Backups.h"
#include "BatchAddDialog.h"
#include "InterchangeExport.h"
#include "InterchangeImport.h"
#include "MachineSettings.h"
#include "ProgramDetailPanel.h"
#include "ProgramFilterPanel.h"
#include "ProgramListModel.h"
#include "ProgramListPanel.h"
#include "ProgramSet.h"
#include "ProgramWindowLayout.h"
#include "Prompter.h"
#include "ProtectedFiles.h"
#include "Session.h"
#include "TimetableWindow.h"
#include "WholeFile.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace tessaly {

namespace {

using namespace programWindow;

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setGeometry(geometry);
    return button;
}

QComboBox* addSetList(QWidget* parent, const char* name, const QString& accessibleName,
                      QRect geometry) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setAccessibleName(accessibleName);
    // Shown by their names, chosen by their stored labels.
    for (int set = FirstSet; set <= LastSet; ++set)
        list->addItem(setDisplayName(set), setLabel(set));
    list->setCurrentIndex(-1);
    list->setGeometry(geometry);
    return list;
}

// A set named in a message: "[第一套]", as the operator reads its name; English running text
// names it without brackets ("Set 1").
QString bracketed(const QString& label) {
    return EditorWindow::tr("[%1]").arg(displayedSetLabel(label));
}

const QString FileFilter = QStringLiteral("CSV (*.csv);;JSON (*.json)");

// The dialogs of the grid's menu; a saved file without an extension takes the chosen filter's.
QString chooseFileByDialog(QWidget* parent, bool forSaving, const QString& caption,
                           const QString& start) {
    QString filter;
    if (!forSaving)
        return QFileDialog::getOpenFileName(
            parent, caption, start, QStringLiteral("CSV / JSON (*.csv *.json);;") + FileFilter);
    QString path = QFileDialog::getSaveFileName(parent, caption, start, FileFilter, &filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += filter.startsWith(QLatin1String("JSON")) ? QStringLiteral(".json")
                                                         : QStringLiteral(".csv");
    return path;
}

// At most this many refused rows are listed in the box; the rest are counted.
constexpr int ListedProblems = 20;

QString problemList(const QList<ImportProblem>& problems) {
    QStringList lines;
    for (const ImportProblem& problem : problems.mid(0, ListedProblems))
        lines.append(problem.text());
    const int more = int(problems.size() - ListedProblems);
    if (more > 0)
        lines.append(inProgramsOnly(problems)
                         ? EditorWindow::tr("……另有%n个程序有错误", nullptr, more)
                         : EditorWindow::tr("……另有%n行有错误", nullptr, more));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

EditorWindow::EditorWindow(Clock& clock, Prompter& prompter, const QSqlDatabase& db,
                           Session& session, QWidget* parent)
    : QDialog(parent), m_clock(clock), m_prompter(prompter), m_session(session), m_db(db),
      m_editor(db, session),
      m_chooseFile([this](bool forSaving, const QString& caption, const QString& start) {
          return chooseFileByDialog(this, forSaving, caption, start);
      }),
      m_importGuard([this](QString* error) {
          m_importBackup = ChangeBackup::take(m_db, QStringLiteral("import"), error);
          return m_importBackup.has_value();
      }) {
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(tr("程序编辑器"));
    setModal(true);
    setFixedSize(Width, Height);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

    addBanner(this, tr("程序编辑器"));
    m_model = new ProgramListModel(db, ProgramTable::MusicTab, this);
    m_list = new ProgramListPanel(m_model, this);
    m_list->setGeometry(8, 48, 300, Height - 56);
    m_filter = new ProgramFilterPanel(this);
    m_filter->move(RightX, 48);
    m_detail = new ProgramDetailPanel(clock, this);
    m_detail->move(RightX, 124);
    buildButtons();
    buildCopyPanel();
    buildGridMenu();

    connect(m_list, &ProgramListPanel::currentRowChanged, this, &EditorWindow::qryMusicAfterScroll);
    connect(m_filter, &ProgramFilterPanel::setChosen, this, &EditorWindow::chJMClick);
    connect(m_filter, &ProgramFilterPanel::priorityClicked, this, &EditorWindow::chJM0Click);

    // Key preview: Enter anywhere in the window moves on to the next control.
    qApp->installEventFilter(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

EditorWindow::~EditorWindow() {
    qApp->removeEventFilter(this);
}

void EditorWindow::buildButtons() {
    const auto at = [](int column) { return QRect(RightX + column * 100, ButtonsY, 92, 30); };
    m_add = addButton(this, "sbAdd", tr("增加程序"), at(0));
    m_edit = addButton(this, "sbedit", tr("修改程序"), at(1));
    m_save = addButton(this, "sbSave", tr("保存程序"), at(1));
    m_delete = addButton(this, "sbDel", tr("删除程序"), at(2));
    m_cancel = addButton(this, "sbCancel", tr("取消修改"), at(2));
    m_copy = addButton(this, "sbCopy", tr("复制程序"), at(3));
    m_exit = addButton(this, "sbexit", tr("退出页面"), at(4));
    m_deleteAll = new QPushButton(tr("全部删除"), this);
    m_deleteAll->setObjectName(QStringLiteral("sbDelAll"));
    m_deleteAll->setAutoDefault(false);
    m_list->addFooterWidget(m_deleteAll);

    connect(m_add, &QPushButton::clicked, this, &EditorWindow::sbAddClick);
    connect(m_edit, &QPushButton::clicked, this, &EditorWindow::sbeditClick);
    connect(m_save, &QPushButton::clicked, this, &EditorWindow::sbSaveClick);
    connect(m_delete, &QPushButton::clicked, this, &EditorWindow::sbDelClick);
    connect(m_cancel, &QPushButton::clicked, this, &EditorWindow::sbCancelClick);
    connect(m_copy, &QPushButton::clicked, this, &EditorWindow::sbCopyClick);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::close);
    connect(m_deleteAll, &QPushButton::clicked, this, &EditorWindow::sbDelAllClick);
}

void EditorWindow::buildCopyPanel() {
    m_copyPanel = new QFrame(this);
    m_copyPanel->setObjectName(QStringLiteral("Pan_Copy"));
    m_copyPanel->setFrameShape(QFrame::StyledPanel);
    m_copyPanel->setGeometry(RightX, ButtonsY + 40, 500, 48);
    auto* from = new QLabel(tr("从："), m_copyPanel);
    from->setGeometry(8, 12, 30, 24);
    m_copySource = addSetList(m_copyPanel, "cmbSource", tr("复制 从"), QRect(38, 12, 90, 24));
    fitCaption(from, {m_copySource});
    (new QLabel(tr("复制  到："), m_copyPanel))->setGeometry(140, 12, 70, 24);
    m_copyTarget = addSetList(m_copyPanel, "cmbObject", tr("复制 到"), QRect(210, 12, 90, 24));
    auto* copy = addButton(m_copyPanel, "SpeedButton1", tr("复制"), QRect(316, 10, 80, 28));
    auto* close = addButton(m_copyPanel, "SpeedButton2", tr("关闭"), QRect(404, 10, 80, 28));
    connect(copy, &QPushButton::clicked, this, &EditorWindow::SpeedButton1Click);
    connect(close, &QPushButton::clicked, this, &EditorWindow::SpeedButton2Click);
    m_copyPanel->hide();
}

void EditorWindow::buildGridMenu() {
    m_exportSet = new QAction(tr("导出本套…"), this);
    m_exportSet->setObjectName(QStringLiteral("actExportSet"));
    m_importSet = new QAction(tr("导入到本套…"), this);
    m_importSet->setObjectName(QStringLiteral("actImportSet"));
    connect(m_exportSet, &QAction::triggered, this, &EditorWindow::exportSetClick);
    connect(m_importSet, &QAction::triggered, this, &EditorWindow::importSetClick);
    auto* timetable = new QAction(tr("周节目表…"), this);
    timetable->setObjectName(QStringLiteral("actTimetable"));
    connect(timetable, &QAction::triggered, this, &EditorWindow::openTimetable);
    m_batchAdd = new QAction(tr("批量添加…"), this);
    m_batchAdd->setObjectName(QStringLiteral("actBatchAdd"));
    m_copyProgram = new QAction(tr("复制节目…"), this);
    m_copyProgram->setObjectName(QStringLiteral("actCopyProgram"));
    connect(m_batchAdd, &QAction::triggered, this, &EditorWindow::batchAddClick);
    connect(m_copyProgram, &QAction::triggered, this, &EditorWindow::copyProgramClick);
    m_list->addGridActions({timetable, m_exportSet, m_importSet, m_batchAdd, m_copyProgram});
}

void EditorWindow::FormShow() {
    m_editor.ProgramsChanged = false;
    m_editStartTime = ScheduleEditor::NoStartTime;
    const int set = m_editor.openingSet();
    m_filter->tickSet(set);
    openList(setLabel(set), SetRows::All);
    m_filter->setMinutes(m_session.PreheatMinutes, m_session.DelayMinutes);
    enterMode(Mode::Browse);
}

void EditorWindow::openList(const QString& setLabel, SetRows rows, bool onLastRow) {
    if (!m_model->openSet(setLabel, rows))
        m_prompter.notice(m_model->errorText());
    m_list->updateCount();
    const int count = m_model->rowCount();
    m_list->setCurrentRow(count == 0 ? -1 : onLastRow ? count - 1 : 0);
}

const ProgramRecord* EditorWindow::currentRecord() const {
    const int row = m_list->currentRow();
    return row < 0 ? nullptr : &m_model->record(row);
}

// The display step, on every change of the current record.
void EditorWindow::qryMusicAfterScroll(int row) {
    updateGridActions();
    if (row < 0 || m_mode == Mode::Add)
        return;
    const ProgramRecord& record = m_model->record(row);
    m_detail->showRecord(record);
    m_filter->setPriorityTicked(isPriority(record));
    m_filter->tickSet(setNumber(record.JMTaoNo).value_or(0));
}

void EditorWindow::enterMode(Mode mode) {
    m_mode = mode;
    const bool browse = mode == Mode::Browse;
    m_detail->setEditable(!browse);
    m_filter->setSetBoxesEnabled(browse);
    m_list->setGridEnabled(browse);
    m_add->setEnabled(browse);
    m_edit->setVisible(browse);
    m_save->setVisible(!browse);
    m_delete->setVisible(browse);
    m_cancel->setVisible(!browse);
    m_exit->setEnabled(browse);
    m_copy->setEnabled(browse);
    m_deleteAll->setEnabled(browse);
}

void EditorWindow::focusControl(const QString& objectName) {
    if (objectName.isEmpty())
        return;
    if (auto* control = findChild<QWidget*>(objectName))
        control->setFocus();
}

void EditorWindow::chJMClick(int set) {
    if (m_mode == Mode::Add)
        return;
    openList(setLabel(set), SetRows::All);
}

void EditorWindow::chJM0Click() {
    if (m_mode != Mode::Browse)
        return; // while adding or editing the box only says whether the program has priority
    openList(m_filter->tickedSetLabel(),
             m_filter->priorityTicked() ? SetRows::PriorityOnly : SetRows::All);
}

void EditorWindow::sbAddClick() {
    const QString label = m_filter->tickedSetLabel();
    if (m_editor.programCount(label).value_or(0) >= ScheduleEditor::MaxProgramsPerSet) {
        m_prompter.notice(setFullMessage(label));
        return;
    }
    m_editStartTime = ScheduleEditor::NoStartTime;
    m_copyPanel->hide();
    m_pending = newProgramDefaults();
    // The time boxes and the priority box keep what they show.
    m_detail->untickZoneButtons();
    m_detail->showFields(m_pending);
    enterMode(Mode::Add);
    focusControl(QStringLiteral("edtKS1"));
}

void EditorWindow::sbeditClick() {
    const ProgramRecord* current = currentRecord();
    if (!current)
        return;
    m_pending = *current;
    m_editStartTime = {current->KS1, current->KS2, current->KS3};
    m_copyPanel->hide();
    enterMode(Mode::Edit);
}

void EditorWindow::sbSaveClick() {
    if (m_mode == Mode::Browse)
        return;
    ScheduleEditor::SaveRequest request;
    request.pending = m_pending;
    m_detail->readFields(request.pending);
    request.isNew = m_mode == Mode::Add;
    request.form = {m_detail->timeTexts(), m_detail->volumeChosen(), m_filter->preheatText(),
                    m_filter->delayText(), m_detail->weekdays()};
    request.priority = m_filter->priorityTicked();
    request.setLabel = m_filter->tickedSetLabel();
    request.editStartTime = m_editStartTime;

    const auto outcome = m_editor.save(request);
    if (outcome.failure) {
        m_prompter.notice(outcome.failure->message);
        focusControl(outcome.failure->focus);
        return;
    }
    m_copyPanel->hide();
    enterMode(Mode::Browse);
    // The set has been renumbered: the whole set, in start order, on its last program.
    openList(request.setLabel, SetRows::All, true);
}

void EditorWindow::sbCancelClick() {
    m_copyPanel->hide();
    if (!m_prompter.question(tr("确实要取消吗？")))
        return;
    enterMode(Mode::Browse);
    // The bound controls show the current record again; the time boxes wait for the next scroll.
    if (const ProgramRecord* current = currentRecord())
        m_detail->showFields(*current);
}

void EditorWindow::sbDelClick() {
    m_copyPanel->hide();
    if (!m_prompter.question(tr("确实要删除该记录吗？")))
        return;
    const ProgramRecord* current = currentRecord();
    if (!current)
        return;
    const QString label = m_filter->tickedSetLabel();
    // The last listed program goes without renumbering: the list looks at the filter, not the set.
    const bool emptiesList = m_model->rowCount() == 1;
    QString error;
    if (!m_editor.deleteProgram(current->AutoID, label, !emptiesList, &error)) {
        m_prompter.notice(error);
        return;
    }
    if (emptiesList) {
        openList(label, m_filter->priorityTicked() ? SetRows::PriorityOnly : SetRows::All);
        m_detail->clearTimes();
        return;
    }
    openList(label, SetRows::All, true);
}

void EditorWindow::sbDelAllClick() {
    const QString label = m_filter->tickedSetLabel();
    QString error;
    // An empty set loses nothing: idle clicks must not push out the backups that matter.
    std::optional<ChangeBackup> backup;
    if (m_editor.programCount(label).value_or(1) > 0) {
        backup = ChangeBackup::take(m_db, QStringLiteral("delete-all"), &error);
        if (!backup) {
            m_prompter.notice(error);
            return;
        }
    }
    if (!m_editor.deleteSet(label, &error))
        m_prompter.notice(error);
    else if (backup)
        backup->keep();
    openList(label, SetRows::All);
    m_detail->clearTimes();
}

void EditorWindow::sbCopyClick() {
    m_copyPanel->show();
}

void EditorWindow::SpeedButton2Click() {
    m_copyPanel->hide();
}

void EditorWindow::SpeedButton1Click() {
    const QString src = m_copySource->currentData().toString();
    const QString dst = m_copyTarget->currentData().toString();
    if (src.isEmpty() || dst.isEmpty()) {
        m_prompter.notice(tr("请选择需要复制的节目源和目标！"));
        return;
    }
    if (src == dst) {
        m_prompter.notice(tr("节目源和目标相同无法复制！"));
        return;
    }
    if (!m_prompter.question(tr("确实需要将%1复制到%2吗？").arg(bracketed(src), bracketed(dst))))
        return;
    if (!m_prompter.question(
            tr("该操作将覆盖%1中原有的所有数据，确实需要进行该复制操作吗？").arg(bracketed(dst))))
        return;
    if (m_editor.programCount(src).value_or(0) == 0 &&
        !m_prompter.question(tr("%1没有记录，还需要复制吗？").arg(bracketed(src))))
        return;
    QString error;
    std::optional<ChangeBackup> backup;
    if (!m_editor.copyChangesNothing(src, dst)) {
        backup = ChangeBackup::take(m_db, QStringLiteral("copy"), &error);
        if (!backup) {
            m_prompter.notice(error);
            return;
        }
    }
    // The list is left as it is: it shows the target's former programs until a set is chosen.
    if (!m_editor.copySet(src, dst, &error)) {
        m_prompter.failure(
            tr("从%1复制到%2失败，%2的程序没有改动！").arg(bracketed(src), bracketed(dst)), error);
        return;
    }
    if (backup)
        backup->keep();
    m_prompter.notice(tr("从%1复制到%2完成！").arg(bracketed(src), bracketed(dst)));
}

TimetableWindow* EditorWindow::openTimetable() {
    const int set = setNumber(m_filter->tickedSetLabel()).value_or(FirstSet);
    auto* window =
        new TimetableWindow(m_prompter, m_editor.database(), ProgramTable::MusicTab, set, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &TimetableWindow::programActivated, this,
            [this, window](const ProgramRecord& program) {
                if (editProgram(program.AutoID, program.JMTaoNo))
                    window->close();
            });
    // Moves on the week are saves of this editor: they arm its reminder and renumber the list.
    window->allowEditing(m_editor, [this] { return m_mode == Mode::Browse; });
    connect(window, &TimetableWindow::programsChanged, this,
            [this] { openList(m_filter->tickedSetLabel(), SetRows::All); });
    connect(window, &TimetableWindow::addRequested, this,
            [this, window](const QString& setLabel, int day, QTime start, QTime end) {
                if (addProgramAt(setLabel, day, start, end))
                    window->close();
            });
    window->show();
    return window;
}

bool EditorWindow::editProgram(qint64 autoId, const QString& setLabel) {
    raise();
    activateWindow();
    if (m_mode != Mode::Browse)
        return false;
    m_filter->tickSet(setNumber(setLabel).value_or(0));
    openList(setLabel, SetRows::All);
    const int row = m_model->rowOf(autoId);
    if (row < 0)
        return false;
    m_list->setCurrentRow(row);
    sbeditClick();
    return true;
}

bool EditorWindow::addProgramAt(const QString& setLabel, int day, QTime start, QTime end) {
    raise();
    activateWindow();
    if (m_mode != Mode::Browse || day < 0 || day >= int(m_pending.Week.size()))
        return false;
    m_filter->tickSet(setNumber(setLabel).value_or(0));
    openList(setLabel, SetRows::All);
    sbAddClick();
    if (m_mode != Mode::Add)
        return false;
    m_pending.Week.fill(false);
    m_pending.Week[std::size_t(day)] = true;
    applyTimes(m_pending,
               {start.toString(QStringLiteral("hh")), start.toString(QStringLiteral("mm")),
                start.toString(QStringLiteral("ss")), end.toString(QStringLiteral("hh")),
                end.toString(QStringLiteral("mm")), end.toString(QStringLiteral("ss"))});
    m_detail->showRecord(m_pending);
    return true;
}

void EditorWindow::exportSetClick() {
    if (m_mode != Mode::Browse)
        return;
    const QString label = m_filter->tickedSetLabel();
    // "第一套节目-2026-12-10.csv" in the folder of the last file.
    const QString suggested =
        QDir(lastFileFolder(QDir::homePath()))
            .filePath(
                tr("%1节目-%2.csv").arg(displayedSetLabel(label), m_today().toString(Qt::ISODate)));
    const QString path = m_chooseFile(true, tr("导出%1").arg(bracketed(label)), suggested);
    if (path.isEmpty())
        return;
    rememberFileFolder(path);
    if (const QString refusal = protectedFileRefusal(m_db, path); !refusal.isEmpty()) {
        m_prompter.notice(refusal);
        return;
    }
    QString error;
    const auto programs = programsForExport(m_db, ProgramTable::MusicTab, setNumber(label), &error);
    if (programs) {
        const QByteArray bytes =
            writePrograms(*programs, formatOfPath(path).value_or(InterchangeFormat::Csv));
        QString cause;
        if (writeWholeFile(path, bytes, &cause)) {
            m_prompter.notice(tr("导出完成：共%n个程序，已写入%1。", nullptr, int(programs->size()))
                                  .arg(QDir::toNativeSeparators(path)));
            return;
        }
        error = tr("%1：%2").arg(QDir::toNativeSeparators(path), cause);
    }
    m_prompter.failure(tr("导出失败！"), error);
}

void EditorWindow::importSetClick() {
    if (m_mode != Mode::Browse)
        return;
    const QString label = m_filter->tickedSetLabel();
    // The first import starts among the sample weeks, where they are installed or built.
    const QString path =
        m_chooseFile(false, tr("导入到%1").arg(bracketed(label)),
                     lastFileFolder(sampleFolder(QCoreApplication::applicationDirPath())));
    if (path.isEmpty())
        return;
    rememberFileFolder(path);
    const ImportFile file = readImportFile(path);
    if (!file.bytes) {
        m_prompter.failure(tr("导入失败，未导入任何程序！"), file.error);
        return;
    }
    const QByteArray& bytes = *file.bytes;
    const ImportResult result = importPrograms(
        m_db, bytes, formatOf(path, bytes), ImportOptions{setNumber(label), false}, m_importGuard);
    // The backup taken for the import stays only if the programs went in.
    if (m_importBackup && result.imported > 0)
        m_importBackup->keep();
    m_importBackup.reset();
    // How the file was read helps to understand both what was refused and what came in.
    const QString encoding = result.readAsGb18030 ? gb18030Notice() + QLatin1Char('\n') : QString();
    if (!result.refusal.isEmpty()) {
        m_prompter.show({standardCaption(), encoding + result.refusal, MessageBox::Icon::Warning});
        return;
    }
    if (!result.problems.isEmpty()) {
        const int count = int(result.problems.size());
        const QString summary =
            inProgramsOnly(result.problems)
                ? tr("导入失败，%n个程序有错误，未导入任何程序：\n%1", nullptr, count)
                : tr("导入失败，%n行有错误，未导入任何程序：\n%1", nullptr, count);
        m_prompter.show({standardCaption(), encoding + summary.arg(problemList(result.problems)),
                         MessageBox::Icon::Warning});
        return;
    }
    if (!result.error.isEmpty()) {
        m_prompter.failure(tr("导入失败，未导入任何程序！"), result.error);
        return;
    }
    // As after a save: the set renumbered, in start order, and the reminder at the close.
    m_editor.ProgramsChanged = true;
    openList(label, SetRows::All, true);
    m_prompter.notice(encoding + importDoneMessage(result.imported));
}

// Both act on one set: the one ticked, and for a copy the current program's.
void EditorWindow::updateGridActions() {
    m_batchAdd->setEnabled(!m_filter->checkedSetLabel().isEmpty());
    m_copyProgram->setEnabled(currentRecord() != nullptr);
}

BatchAddDialog* EditorWindow::batchAddClick() {
    const QString label = m_filter->checkedSetLabel();
    if (m_mode != Mode::Browse || label.isEmpty())
        return nullptr;
    return openBatch(new BatchAddDialog(m_clock, m_prompter, m_editor, label, this));
}

BatchAddDialog* EditorWindow::copyProgramClick() {
    const ProgramRecord* current = currentRecord();
    if (m_mode != Mode::Browse || !current || !setNumber(current->JMTaoNo))
        return nullptr;
    return openBatch(new BatchAddDialog(m_clock, m_prompter, m_editor, *current, this));
}

BatchAddDialog* EditorWindow::openBatch(BatchAddDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // As after a save: the whole set in start order, on its last program.
    connect(dialog, &BatchAddDialog::programsAdded, this,
            [this] { openList(m_filter->tickedSetLabel(), SetRows::All, true); });
    dialog->open();
    return dialog;
}

void EditorWindow::done(int result) {
    if (!m_closed) {
        m_closed = true;
        // A pending program is dropped as "取消修改" would drop it; nothing of it was written.
        if (m_mode != Mode::Browse)
            enterMode(Mode::Browse);
        if (m_editor.FormClose(m_filter->preheatText(), m_filter->delayText()))
            m_prompter.notice(tr("程序内容已发生变化，请重新进行程序装载！"));
    }
    QDialog::done(result);
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != this)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    // Escape would close the dialog behind the operator's back, pending program and all.
    return key == Qt::Key_Escape;
}

} // namespace tessaly
