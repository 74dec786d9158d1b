#include "LoadDialog.h"

#include "LinkIndicator.h"
#include "Probe.h"
#include "ProgramSet.h"
#include "Prompter.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace tessaly {

namespace {

constexpr int ClientWidth = 689;
constexpr int ClientHeight = 486;

// One text a button: the set's name and the verb go in a different order in English.
const char* const SetButtonTexts[] = {
    QT_TRANSLATE_NOOP("tessaly::LoadDialog", "第一套程序装载"),
    QT_TRANSLATE_NOOP("tessaly::LoadDialog", "第二套程序装载"),
    QT_TRANSLATE_NOOP("tessaly::LoadDialog", "第三套程序装载"),
    QT_TRANSLATE_NOOP("tessaly::LoadDialog", "第四套程序装载"),
};

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

} // namespace

LoadDialog::LoadDialog(LoadContext context, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmdown"));
    setWindowTitle(tr("程序装载"));
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    buildControls();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

LoadDialog::~LoadDialog() {
    m_cancel.cancel();
}

void LoadDialog::buildControls() {
    auto* banner = makeLabel(this, "Image1", tr("程序装载"), {0, 0, ClientWidth, 80});
    banner->setAlignment(Qt::AlignCenter);
    banner->setStyleSheet(QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                                         "stop:0 #1f4e79, stop:1 #5b9bd5); color: white; "
                                         "font-size: 26px; font-weight: bold;"));

    makeLabel(this, "Label1", tr("状态检测："), {60, 104, 90, 24});
    m_state = new LinkIndicator(this);
    m_state->setGeometry(150, 104, 24, 24);
    m_linkText = makeLabel(this, "Lb_Mess", tr("连接失败"), {184, 104, 200, 24});
    // Labels that show a value are read out by that value; their role goes in the description.
    m_linkText->setAccessibleDescription(tr("状态检测"));

    auto* group = new QGroupBox(tr("程序装载"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(60, 144, 569, 176);
    for (int set = FirstSet; set <= LastSet; ++set) {
        auto* button = new QPushButton(tr(SetButtonTexts[set - FirstSet]), group);
        button->setObjectName(QStringLiteral("sbJM%1").arg(set));
        const int row = (set - 1) / 2, column = (set - 1) % 2;
        button->setGeometry(50 + column * 260, 36 + row * 70, 210, 50);
        connect(button, &QPushButton::clicked, this, [this, set] { sbJMClick(set); });
        m_setButtons.append(button);
    }
    m_exit = new QPushButton(tr("退出页面"), this);
    m_exit->setObjectName(QStringLiteral("sbExit"));
    m_exit->setGeometry(519, 330, 110, 36);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::close);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Pan_Mess"));
    panel->setGeometry(0, 386, ClientWidth, 100);
    makeLabel(panel, "Label2", tr("总共："), {60, 8, 50, 22});
    m_total = makeLabel(panel, "Lb_Total", QStringLiteral("0"), {110, 8, 80, 22});
    makeLabel(panel, "Label3", tr("剩余："), {220, 8, 50, 22});
    m_left = makeLabel(panel, "Lb_Left", QStringLiteral("0"), {270, 8, 80, 22});
    m_progress = new QProgressBar(panel);
    m_progress->setObjectName(QStringLiteral("PBar_Pro"));
    m_progress->setAccessibleName(tr("装载进度"));
    m_progress->setGeometry(60, 38, 569, 22);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_status = makeLabel(panel, "Lb_down", {}, {60, 66, 569, 22});
    m_total->setAccessibleDescription(tr("总共"));
    m_left->setAccessibleDescription(tr("剩余"));
    m_status->setAccessibleDescription(tr("装载状态"));
}

void LoadDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

// The window opens at once; the probe's result shows on the indicator half a second later.
QCoro::Task<> LoadDialog::FormShow() {
    const auto cancel = m_cancel;
    m_linkText->clear();
    for (auto* button : m_setButtons)
        button->setEnabled(false);
    ProbeResult result;
    try {
        result = co_await ProbeAlone(m_context.channel, m_context.clock, probe::WindowShow, cancel);
    } catch (const SequenceCancelled&) {
        co_return; // the window is gone
    }
    linkChecked(result == ProbeResult::Accepted);
    if (!m_loading)
        setButtonsEnabled(true);
}

QCoro::Task<> LoadDialog::sbJMClick(int set) {
    if (m_loading)
        co_return;
    const auto cancel = m_cancel;
    m_loading = true;
    setButtonsEnabled(false);
    LoadResult result;
    try {
        ProgramLoad load(m_context, *this);
        result = co_await load.loadSet(set, cancel);
    } catch (const SequenceCancelled&) {
        co_return; // the window is gone
    }
    finishLoad(result, set);
}

void LoadDialog::finishLoad(const LoadResult& result, int set) {
    m_loading = false;
    setButtonsEnabled(true);
    if (result.outcome == LoadOutcome::WriteFailed || result.outcome == LoadOutcome::ClearFailed)
        m_status->setText(tr("程序装载失败！"));
    m_prompter.notice(result.outcome == LoadOutcome::WriteFailed
                          ? m_context.channel.withLossCause(setLoadMessage(result, set))
                          : setLoadMessage(result, set));
}

void LoadDialog::setButtonsEnabled(bool enabled) {
    for (auto* button : m_setButtons)
        button->setEnabled(enabled);
    m_exit->setEnabled(enabled);
}

void LoadDialog::linkChecked(bool up) {
    m_state->setConnected(up);
    m_linkText->setText(up ? tr("连接成功") : tr("连接失败"));
}

void LoadDialog::clearStarted() {
    m_status->setText(tr("正在清除记录，请稍候..."));
}

void LoadDialog::setStarted(int, int total) {
    // An empty range would turn the bar into a busy indicator; an empty set is done at once.
    m_progress->setRange(0, qMax(total, 1));
    m_progress->setValue(total == 0 ? 1 : 0);
    m_total->setText(QString::number(total));
    m_left->setText(QString::number(total));
    m_status->clear();
}

void LoadDialog::recordSent(int, int left) {
    m_progress->setValue(m_progress->value() + 1);
    m_left->setText(QString::number(left));
}

// While a set is being cleared or loaded the window stays: the player would be left with a
// half-cleared set and nobody told. The load always ends on its own (poll limit, last frame).
void LoadDialog::closeEvent(QCloseEvent* event) {
    if (m_loading) {
        event->ignore();
        return;
    }
    m_cancel.cancel();
    QDialog::closeEvent(event);
}

void LoadDialog::reject() {
    if (!m_loading)
        QDialog::reject();
}

} // namespace tessaly
