#include "VerifyDialog.h"

#include "DifferenceMend.h"
#include "DifferenceModel.h"
#include "DifferenceText.h"
#include "ProgramSet.h"
#include "Prompter.h"
#include "ProtectedFiles.h"
#include "Session.h"
#include "WholeFile.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QPushButton* addButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    // The style's own hint leaves too little room for CJK text drawn in a fallback font.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(text) + 24);
    return button;
}

QString chooseCsvFile(QWidget* parent) {
    QString path = QFileDialog::getSaveFileName(parent, VerifyDialog::tr("导出差异"), QString(),
                                                QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    return path;
}

} // namespace

VerifyDialog::VerifyDialog(VerifyServices services, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)),
      m_chooseFile([this] { return chooseCsvFile(this); }) {
    setObjectName(QStringLiteral("frmVerify"));
    setWindowTitle(tr("核对播放器"));
    setModal(true);
    resize(720, 500);
    buildControls();
    enterPhase(Phase::Idle);
}

VerifyDialog::~VerifyDialog() {
    m_run.cancel();
}

void VerifyDialog::buildControls() {
    auto* choiceCaption = new QLabel(tr("核对："), this);
    m_setChoice = new QComboBox(this);
    m_setChoice->setObjectName(QStringLiteral("cmbSets"));
    m_setChoice->setAccessibleName(tr("核对的套"));
    for (int set = FirstSet; set <= LastSet; ++set)
        m_setChoice->addItem(setDisplayName(set));
    m_setChoice->addItem(tr("全部四套"));
    m_setChoice->setCurrentIndex(AllSetsChoice);
    choiceCaption->setBuddy(m_setChoice);
    m_start = addButton(this, "sbStart", tr("开始核对"));
    m_stop = addButton(this, "sbStop", tr("停止"));
    connect(m_start, &QPushButton::clicked, this, [this] { sbStartClick(); });
    connect(m_stop, &QPushButton::clicked, this, &VerifyDialog::sbStopClick);

    m_progressText = new QLabel(this);
    m_progressText->setObjectName(QStringLiteral("LbProgress"));
    m_progressText->setAccessibleDescription(tr("核对进度"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("PBarProgress"));
    m_progress->setAccessibleName(tr("进度"));
    m_progress->setTextVisible(false);
    // The table stays where it is when the bar comes and goes.
    QSizePolicy keepRoom = m_progress->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_progress->setSizePolicy(keepRoom);

    m_model = new DifferenceModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("gridDifferences"));
    m_table->setAccessibleName(tr("不同之处"));
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    // Fixed widths: measuring a thousand rows would hold the window up; the values share what
    // is left.
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    const int unit = fontMetrics().horizontalAdvance(QStringLiteral("0"));
    header->resizeSection(0, unit * 10);
    header->resizeSection(1, unit * 8);
    header->resizeSection(2, unit * 14);
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    header->setSectionResizeMode(4, QHeaderView::Stretch);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("LbSummary"));
    m_summary->setAccessibleDescription(tr("核对结果"));
    m_summary->setWordWrap(true);
    m_summary->setText(tr("选择要核对的套，再点击“开始核对”。"));

    m_reload = addButton(this, "sbReload", tr("装载不同的套"));
    m_export = addButton(this, "sbExport", tr("导出差异…"));
    m_close = addButton(this, "sbExit", tr("关闭"));
    connect(m_reload, &QPushButton::clicked, this, [this] { sbReloadClick(); });
    connect(m_export, &QPushButton::clicked, this, &VerifyDialog::sbExportClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(choiceCaption);
    top->addWidget(m_setChoice);
    top->addWidget(m_start);
    top->addWidget(m_stop);
    top->addStretch();
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_progressText, 1);
    progress->addWidget(m_progress, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_reload);
    bottom->addWidget(m_export);
    bottom->addStretch();
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(progress);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);
    layout->addLayout(bottom);
}

QList<int> VerifyDialog::chosenSets() const {
    const int choice = m_setChoice->currentIndex();
    if (choice >= 0 && choice < AllSetsChoice)
        return {choice + FirstSet};
    return {1, 2, 3, 4};
}

void VerifyDialog::enterPhase(Phase phase) {
    m_phase = phase;
    const bool idle = phase == Phase::Idle;
    m_setChoice->setEnabled(idle);
    m_start->setEnabled(idle);
    m_stop->setEnabled(phase == Phase::Comparing);
    m_close->setEnabled(phase != Phase::Loading);
    const bool compared = idle && m_compared && m_result.failure.isEmpty();
    m_reload->setEnabled(compared && !m_result.differences.isEmpty());
    m_export->setEnabled(compared && !m_result.differences.isEmpty());
    m_progress->setVisible(!idle);
    if (idle)
        m_progressText->clear();
}

// Every run probes the player first; its progress is unknown until the player answers.
void VerifyDialog::beginRun(Phase phase) {
    m_run = CancelToken();
    enterPhase(phase);
    m_progress->setRange(0, 0);
    showProgress(tr("正在连接播放器…"));
}

QCoro::Task<> VerifyDialog::sbStartClick() {
    if (m_phase != Phase::Idle)
        co_return;
    m_compared = false;
    m_result = {};
    m_model->clear();
    m_summary->setText(tr("正在核对…"));
    m_set = 0;
    beginRun(Phase::Comparing);
    QPointer<VerifyDialog> alive(this);
    // A named context: GCC 12 ends temporaries inside a co_await expression too early.
    const ReadContext context{m_services.channel, m_services.clock, m_services.prompter,
                              m_services.session, m_services.db};
    const QList<int> sets = chosenSets();
    const CancelToken run = m_run;
    VerifyResult result;
    try {
        result = co_await verifySets(context, sets, *this, run);
    } catch (const SequenceCancelled&) {
        if (!alive)
            co_return; // the window is gone
        m_summary->setText(tr("核对已停止，未作比较。"));
        enterPhase(Phase::Idle);
        co_return;
    }
    m_compared = true;
    showResult(result);
    enterPhase(Phase::Idle);
}

// The comparison ends at its next step, which comes within a second; the window waits for it
// so that the port is free again before another one can start.
void VerifyDialog::sbStopClick() {
    if (m_phase != Phase::Comparing)
        return;
    m_run.cancel();
    enterPhase(Phase::Stopping);
    showProgress(tr("正在停止…"));
}

QCoro::Task<> VerifyDialog::sbReloadClick() {
    if (m_phase != Phase::Idle || !m_compared || m_result.differences.isEmpty())
        co_return;
    const QList<int> sets = m_result.differingSets();
    const QString question = sets.isEmpty() ? preheatDelayQuestion() : reloadQuestion(sets);
    if (!m_services.prompter.question(question))
        co_return;
    m_loadOrder = sets;
    m_loadsStarted = 0;
    beginRun(Phase::Loading);
    QPointer<VerifyDialog> alive(this);
    const LoadContext context{m_services.channel, m_services.clock, m_services.db,
                              m_services.session};
    const VerifyResult compared = m_result;
    const CancelToken run = m_run;
    MendResult mended;
    try {
        mended = co_await loadDifferences(context, compared, *this, run);
    } catch (const SequenceCancelled&) {
        co_return; // only the window's end cancels a load
    }
    if (!alive)
        co_return;
    enterPhase(Phase::Idle);
    if (!mended.succeeded()) {
        m_summary->setText(mendMessage(mended));
        m_services.prompter.notice(mendMessage(mended));
        co_return;
    }
    // What the player now holds is compared again, with the same choice of sets.
    co_await sbStartClick();
}

void VerifyDialog::sbExportClick() {
    if (m_phase != Phase::Idle || m_result.differences.isEmpty())
        return;
    const QString path = m_chooseFile();
    if (path.isEmpty())
        return;
    if (const QString refusal = protectedFileRefusal(m_services.db, path); !refusal.isEmpty()) {
        m_services.prompter.notice(refusal);
        return;
    }
    QString error;
    if (!writeWholeFile(path, differencesCsv(m_result.differences), &error)) {
        m_services.prompter.failure(tr("差异导出失败！"), error);
        return;
    }
    m_services.prompter.notice(
        tr("已将%n处不同导出到%1。", nullptr, int(m_result.differences.size()))
            .arg(QDir::toNativeSeparators(path)));
}

void VerifyDialog::showResult(const VerifyResult& result) {
    m_result = result;
    m_model->setDifferences(result.differences);
    m_summary->setText(verifySummary(result));
}

void VerifyDialog::showProgress(const QString& text) {
    m_progressText->setText(text);
}

// A comparison is stopped by the title-bar close; a load runs to its end.
void VerifyDialog::closeEvent(QCloseEvent* event) {
    if (m_phase == Phase::Loading) {
        event->ignore();
        return;
    }
    // The comparison ends at its next step without touching the window; the window goes now.
    m_run.cancel();
    enterPhase(Phase::Idle);
    QDialog::closeEvent(event);
}

// Escape closes the window only when nothing runs.
void VerifyDialog::reject() {
    if (m_phase == Phase::Idle)
        QDialog::reject();
}

void VerifyDialog::readStarted(int set) {
    m_set = set;
    m_announced = 0;
    m_progress->setRange(0, 0);
    showProgress(tr("正在读取%1…").arg(setDisplayName(set)));
}

void VerifyDialog::headSeen(int announced) {
    m_announced = announced;
    m_progress->setRange(0, std::max(announced, 1));
    m_progress->setValue(0);
    showProgress(
        tr("正在读取%1：已收到%2个，共%3个").arg(setDisplayName(m_set)).arg(0).arg(announced));
}

void VerifyDialog::bytesStored(int /*count*/, int recordsLeft) {
    if (m_announced <= 0)
        return;
    const int received = std::clamp(m_announced - recordsLeft, 0, m_announced);
    m_progress->setValue(received);
    showProgress(tr("正在读取%1：已收到%2个，共%3个")
                     .arg(setDisplayName(m_set))
                     .arg(received)
                     .arg(m_announced));
}

// The loads follow the differing sets in order, each beginning with its clear.
void VerifyDialog::clearStarted() {
    m_loadSet = m_loadOrder.value(m_loadsStarted++);
    showProgress(tr("正在清除播放器中的%1…").arg(setDisplayName(m_loadSet)));
}

void VerifyDialog::setStarted(int set, int total) {
    m_loadSet = set;
    m_loadTotal = total;
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(0);
    showProgress(tr("正在装载%1：已发送%2个，共%3个").arg(setDisplayName(set)).arg(0).arg(total));
}

void VerifyDialog::recordSent(int set, int left) {
    const int sent = std::clamp(m_loadTotal - left, 0, m_loadTotal);
    m_progress->setValue(sent);
    showProgress(
        tr("正在装载%1：已发送%2个，共%3个").arg(setDisplayName(set)).arg(sent).arg(m_loadTotal));
}

} // namespace tessaly
