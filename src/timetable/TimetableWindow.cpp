#include "TimetableWindow.h"

#include "MachineSettings.h"
#include "ProgramMoves.h"
#include "ProgramSet.h"
#include "Prompter.h"
#include "ProtectedFiles.h"
#include "WeekText.h"
#include "WeekView.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QPushButton* addButton(QWidget* parent, QHBoxLayout* row, const char* name,
                       const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

// A program added on the week starts on the five minutes nearest to the place clicked and
// lasts five minutes, so that it fills that step of the day.
constexpr int AddStep = 5 * 60;

} // namespace

TimetableWindow::TimetableWindow(Prompter& prompter, const QSqlDatabase& db, ProgramTable table,
                                 int set, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_db(db), m_store(db), m_table(table),
      m_set(setLabel(set).isEmpty() ? FirstSet : set),
      m_chooseFile([this](const QString& caption, const QString& suggested) {
          const QString suffix = QFileInfo(suggested).suffix();
          return QFileDialog::getSaveFileName(
              this, caption, suggested, QStringLiteral("%1 (*.%2)").arg(suffix.toUpper(), suffix));
      }) {
    setObjectName(QStringLiteral("frmTimetable"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(1180, 860);

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("节目套数："), this));
    m_setList = new QComboBox(this);
    m_setList->setObjectName(QStringLiteral("cmbSet"));
    m_setList->setAccessibleName(tr("节目套数"));
    for (int each = FirstSet; each <= LastSet; ++each)
        m_setList->addItem(setDisplayName(each));
    row->addWidget(m_setList);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("LbStatus"));
    row->addWidget(m_status, 1);
    auto* refreshButton = addButton(this, row, "sbRefresh", tr("刷新"));
    auto* print = addButton(this, row, "sbPrint", tr("打印…"));
    auto* pdf = addButton(this, row, "sbPdf", tr("导出PDF…"));
    auto* png = addButton(this, row, "sbPng", tr("导出PNG…"));
    auto* close = addButton(this, row, "sbexit", tr("关闭"));
    layout->addLayout(row);
    m_view = new WeekView(this);
    layout->addWidget(m_view, 1);

    connect(m_setList, &QComboBox::activated, this,
            [this](int index) { showSet(FirstSet + index); });
    connect(refreshButton, &QPushButton::clicked, this, &TimetableWindow::refresh);
    connect(print, &QPushButton::clicked, this, &TimetableWindow::printWeek);
    connect(pdf, &QPushButton::clicked, this, &TimetableWindow::exportPdf);
    connect(png, &QPushButton::clicked, this, &TimetableWindow::exportPng);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_view, &WeekView::activated, this, &TimetableWindow::programActivated);

    showSet(m_set);
    m_view->setFocus();
}

TimetableWindow::~TimetableWindow() = default;

void TimetableWindow::allowEditing(ScheduleEditor& editor, std::function<bool()> editorIdle) {
    if (m_table != ProgramTable::MusicTab || m_moves)
        return;
    m_moves = std::make_unique<ProgramMoves>(editor);
    m_editorIdle = std::move(editorIdle);
    m_view->setEditable(true);
    m_undo = new QAction(tr("撤销移动"), this);
    m_undo->setObjectName(QStringLiteral("actUndoMove"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = new QAction(tr("重做移动"), this);
    m_redo->setObjectName(QStringLiteral("actRedoMove"));
    m_redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    addActions({m_undo, m_redo});
    connect(m_undo, &QAction::triggered, this, &TimetableWindow::undoMove);
    connect(m_redo, &QAction::triggered, this, &TimetableWindow::redoMove);
    connect(m_view, &WeekView::moveRequested, this, &TimetableWindow::moveProgram);
    connect(m_view, &WeekView::emptyActivated, this, &TimetableWindow::requestAdd);
}

bool TimetableWindow::editorBusy() {
    if (!m_editorIdle || m_editorIdle())
        return false;
    m_prompter.notice(tr("请先保存或取消编辑器中正在编辑的程序！"));
    return true;
}

// Stores a move (or its undo or redo); a refused one leaves the week as it was and says why.
template <typename Move> void TimetableWindow::storeMove(Move move) {
    if (!m_moves || editorBusy())
        return;
    const ProgramMoves::Outcome outcome = move();
    if (outcome.failure) {
        m_prompter.notice(outcome.failure->message);
        return;
    }
    if (outcome.seconds == 0)
        return;
    refresh();
    m_view->selectProgram(outcome.autoId);
    m_view->announceSelection();
    emit programsChanged();
}

void TimetableWindow::moveProgram(qint64 autoId, const QString& setLabel, int seconds) {
    storeMove([&] { return m_moves->move(autoId, setLabel, seconds); });
}

void TimetableWindow::undoMove() {
    storeMove([this] { return m_moves->undo(); });
}

void TimetableWindow::redoMove() {
    storeMove([this] { return m_moves->redo(); });
}

void TimetableWindow::requestAdd(int day, int second) {
    const int latest = week::SecondsPerDay - AddStep;
    const int start = std::min((second + AddStep / 2) / AddStep * AddStep, latest);
    emit addRequested(setLabel(m_set), day, QTime(0, 0).addSecs(start),
                      QTime(0, 0).addSecs(start + AddStep));
}

void TimetableWindow::showSet(int set) {
    m_set = set;
    m_setList->setCurrentIndex(set - FirstSet);
    setWindowTitle(weekText::title(setLabel(set), m_table == ProgramTable::MusicReadTab));
    refresh();
}

void TimetableWindow::refresh() {
    QString error;
    auto programs = m_store.programsOfSet(m_table, setLabel(m_set), SetRows::All, &error);
    if (!programs) {
        m_status->setText(error);
        programs.emplace();
    } else {
        m_status->setText(tr("共 %1 个节目").arg(programs->size()));
    }
    m_view->setSheet({setLabel(m_set), *programs, m_table == ProgramTable::MusicReadTab});
}

bool TimetableWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        refresh();
    return QDialog::event(event);
}

void TimetableWindow::printWeek() {
    refresh();
    QPrinter printer(QPrinter::HighResolution);
    setUpWeekPage(printer);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    paintWeekPages(printer, {m_view->picture().sheet()}, QDateTime::currentDateTime());
}

// "周节目表-第一套.pdf" in the folder of the last file chosen.
QString TimetableWindow::askFileName(const QString& caption, const QString& suffix) {
    const QString suggested =
        QDir(lastFileFolder(QDir::homePath()))
            .filePath(tr("周节目表-%1.%2").arg(setDisplayName(m_set), suffix));
    const QString path = m_chooseFile(caption, suggested);
    rememberFileFolder(path);
    if (const QString refusal = protectedFileRefusal(m_db, path); !refusal.isEmpty()) {
        m_prompter.notice(refusal);
        return {};
    }
    return path;
}

void TimetableWindow::exportPdf() {
    const QString path = askFileName(tr("导出PDF"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    refresh();
    QString error;
    int pages = 0;
    if (!writeWeekPdf(path, {m_view->picture().sheet()}, QDateTime::currentDateTime(), &error,
                      &pages))
        m_prompter.notice(tr("导出失败：%1").arg(error));
    else
        m_prompter.notice(tr("导出完成：已写入%1（共%n页）。", nullptr, pages)
                              .arg(QDir::toNativeSeparators(path)));
}

void TimetableWindow::exportPng() {
    const QString path = askFileName(tr("导出PNG"), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    refresh();
    QString error;
    int pages = 0;
    if (!writeWeekPng(path, m_view->picture().sheet(), QDateTime::currentDateTime(), &error,
                      &pages))
        m_prompter.notice(tr("导出失败：%1").arg(error));
    else if (pages == 1)
        m_prompter.notice(tr("导出完成：已写入%1。").arg(QDir::toNativeSeparators(path)));
    else
        m_prompter.notice(
            tr("导出完成：已写入%1（节目列表较长，%n页上下相连在这一张图中）。", nullptr, pages)
                .arg(QDir::toNativeSeparators(path)));
}

} // namespace tessaly
