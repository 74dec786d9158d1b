#include "MainWindow.h"

#include "BackupDialog.h"
#include "Banner.h"
#include "DataModule.h"
#include "DeviceChannel.h"
#include "DeviceLoadPanel.h"
#include "EditorWindow.h"
#include "LoadDialog.h"
#include "Probe.h"
#include "ProgramLoad.h"
#include "Prompter.h"
#include "ReadDialog.h"
#include "Session.h"
#include "SettingsPanel.h"
#include "SettingsStore.h"
#include "VerifyDialog.h"
#include "WholeDeviceRead.h"
#include "WholeDeviceReadPanel.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace tessaly {

namespace {

constexpr int ClientWidth = 558;
constexpr int ClientHeight = 411;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  const QString& style = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    if (!style.isEmpty())
        label->setStyleSheet(style);
    return label;
}

} // namespace

MainWindow::MainWindow(MainWindowServices services, Session& session, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_session(session),
      m_settingsStore(std::make_unique<SettingsStore>(m_services.data.database())) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tessaly"));
    setFixedSize(ClientWidth, ClientHeight);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);

    buildBanner();
    buildButtons();
    buildProgressPanel();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() {
    m_cancel.cancel();
}

void MainWindow::buildBanner() {
    auto* banner = makeLabel(this, "Image1", {}, QRect(1, 0, 556, 64));
    banner->setPixmap(
        bannerPicture(banner->size(), QStringLiteral("Tessaly"), tr("节目播放器编程")));
}

void MainWindow::buildButtons() {
    const auto makeButton = [this](const char* name, const QString& caption, QRect geometry) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(geometry);
        QFont font = button->font();
        font.setPixelSize(18);
        button->setFont(font);
        return button;
    };
    constexpr int Left = 76, Right = 294, Top = 118, Step = 75, Width = 188, Height = 57;
    m_edit = makeButton("sbEdit", tr("程序编辑"), {Left, Top, Width, Height});
    m_down = makeButton("sbDown", tr("程序装载"), {Left, Top + Step, Width, Height});
    m_read = makeButton("sbRead", tr("程序读取"), {Left, Top + 2 * Step, Width, Height});
    m_pcDown = makeButton("sbPcDown", tr("数据同步 电脑->机器"), {Right, Top, Width, Height});
    m_machineDown =
        makeButton("sbMachinDown", tr("数据同步 机器->电脑"), {Right, Top + Step, Width, Height});
    m_exit = makeButton("sbExit", tr("退出系统"), {Right, Top + 2 * Step, Width, Height});
    m_set = new QPushButton(tr("设置"), this);
    m_set->setObjectName(QStringLiteral("sbSet"));
    m_set->setGeometry(8, ClientHeight - 26 - 8, 62, 26);
}

void MainWindow::buildProgressPanel() {
    m_progressPanel = new QWidget(this);
    m_progressPanel->setObjectName(QStringLiteral("Pan_Mess"));
    m_progressPanel->setGeometry(20, 66, 518, 48);
    const QString small = QStringLiteral("color: blue; font-size: 12px;");
    makeLabel(m_progressPanel, "LabMess", tr("正在进行数据同步，将电脑数据装载到机器中，请稍候..."),
              QRect(0, 2, 518, 22), QStringLiteral("color: red; font-weight: bold;"))
        ->setAlignment(Qt::AlignCenter);
    makeLabel(m_progressPanel, "LabJMCaption", tr("节目："), QRect(60, 26, 40, 18), small);
    makeLabel(m_progressPanel, "LbJM", {}, QRect(100, 26, 70, 18), small);
    makeLabel(m_progressPanel, "LabTotalCaption", tr("总共："), QRect(190, 26, 40, 18), small);
    makeLabel(m_progressPanel, "Lb_Total", QStringLiteral("0"), QRect(230, 26, 60, 18), small);
    makeLabel(m_progressPanel, "LabLeftCaption", tr("剩余："), QRect(310, 26, 40, 18), small);
    makeLabel(m_progressPanel, "Lb_Left", QStringLiteral("0"), QRect(350, 26, 60, 18), small);
    // Outside the panel's visible area, as the whole-device load expects it.
    makeLabel(m_progressPanel, "Lb_down", {}, QRect(0, 60, 518, 18), small);
    m_progressPanel->hide();
}

// What the first paint does not show: the settings (over the database's settings row) and the
// panel of the whole-device load.
void MainWindow::buildHiddenPanels() {
    m_settingsStore = std::make_unique<SettingsStore>(m_services.data.database());
    m_settingsPanel = new SettingsPanel(m_services.channel, m_services.clock, m_services.prompter,
                                        *m_settingsStore, m_services.portMap, this);
    m_pcDownLoad = new DeviceLoadPanel(
        loadContext(), m_services.prompter,
        {m_progressPanel, [this](bool enabled) { setSevenButtonsEnabled(enabled); },
         [this] { beginSynchronisation(); }, [this] { endSynchronisation(); }},
        this);
}

// The buttons act once the database is open; a click before that does nothing.
void MainWindow::connectButtons() {
    connect(m_edit, &QPushButton::clicked, this, &MainWindow::sbEditClick);
    connect(m_down, &QPushButton::clicked, this, &MainWindow::sbDownClick);
    connect(m_read, &QPushButton::clicked, this, &MainWindow::sbReadClick);
    connect(m_pcDown, &QPushButton::clicked, this,
            [this] { m_pcDownLoad->sbPcDownClick(m_cancel); });
    connect(m_machineDown, &QPushButton::clicked, this, &MainWindow::sbMachinDownClick);
    connect(m_exit, &QPushButton::clicked, this, &MainWindow::sbExitClick);
    connect(m_set, &QPushButton::clicked, this, [this] { m_settingsPanel->sbSetClick(); });
}

QList<QPushButton*> MainWindow::sevenButtons() const {
    return {m_edit, m_down, m_read, m_pcDown, m_machineDown, m_set, m_exit};
}

void MainWindow::setSevenButtonsEnabled(bool enabled) {
    for (auto* button : sevenButtons())
        button->setEnabled(enabled);
}

void MainWindow::beginSynchronisation() {
    m_settingsPanel->hide();
    m_progressPanel->show();
    m_progressPanel->raise();
    setSevenButtonsEnabled(false);
    repaint();
}

void MainWindow::endSynchronisation() {
    m_progressPanel->hide();
    setSevenButtonsEnabled(true);
}

// The window shows itself before it opens the database and builds what it does not show: the
// rest of the start runs once the first paint is on the screen.
void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (m_startQueued)
        return;
    m_startQueued = true;
    // A zero timer runs after this paint, the children's included, has been flushed.
    QTimer::singleShot(0, this, &MainWindow::FormShow);
}

void MainWindow::FormShow() {
    buildHiddenPanels();
    m_session.SyncReadSet = 1;
    m_settingsPanel->prepareBanner();
    const bool connected =
        m_services.appDir.isEmpty()
            ? m_services.data.ConnectDatabase(m_services.prompter)
            : m_services.data.ConnectDatabase(m_services.prompter, m_services.appDir);
    if (!connected) {
        emit startFinished(false);
        return;
    }
    m_session.ReadPreheatMinutes = 0;
    m_session.ReadDelayMinutes = 0;
    m_session.link.LinkUp = false;
    m_session.link.PortNumber = 1;
    restoreSettings();
    connectButtons();
    m_started = true;
    repaint();
    startupLinkCheck();
    emit startFinished(true);
}

void MainWindow::restoreSettings() {
    const auto settings = m_settingsStore->readSettings();
    if (!settings)
        return; // no settings row: port 1, no selection in the list, pre-heat and delay 0
    m_session.link.PortNumber = settings->Com;
    m_settingsPanel->selectPort(settings->Com);
    m_session.PreheatMinutes = settings->JM1YR;
    m_session.DelayMinutes = settings->JM1YS;
}

// One deferred probe, 600 ms after the window was first shown; it never repeats. A sequence
// started meanwhile checks the link itself, and the check stands aside for it. While the probe
// runs no button may start another exchange on the port.
QCoro::Task<> MainWindow::startupLinkCheck() {
    const auto cancel = m_cancel;
    ProbeResult result;
    try {
        co_await m_services.clock.wait(StartupCheckDelayMs, cancel);
        if (m_services.channel.isClaimed())
            co_return;
        setSevenButtonsEnabled(false);
        repaint();
        result = co_await ProbeAlone(m_services.channel, m_services.clock, probe::StartupMonitor,
                                     cancel);
    } catch (const SequenceCancelled&) {
        co_return; // the window is gone
    }
    setSevenButtonsEnabled(true);
    if (result == ProbeResult::PortNotOpened)
        m_settingsPanel->reportPortNotOpened();
    if (result == ProbeResult::Accepted) {
        m_settingsPanel->hide();
    } else {
        m_settingsPanel->show();
        m_settingsPanel->raise();
    }
}

void MainWindow::sbEditClick() {
    EditorWindow editor(m_services.clock, m_services.prompter, m_services.data.database(),
                        m_session, this);
    emit dialogOpened(&editor);
    editor.exec();
}

LoadContext MainWindow::loadContext() const {
    return {m_services.channel, m_services.clock, m_services.data.database(), m_session};
}

void MainWindow::sbDownClick() {
    LoadDialog dialog(loadContext(), m_services.prompter, this);
    emit dialogOpened(&dialog);
    dialog.exec();
}

void MainWindow::sbReadClick() {
    ReadDialog dialog({m_services.clock, m_services.channel, m_services.prompter, m_session,
                       m_services.data.database()},
                      this);
    emit dialogOpened(&dialog);
    dialog.exec();
}

// The seven buttons go off at the click, before the question and the probe, as for the
// whole-device load: a second click meanwhile would start a second run on the port, or open the
// editor on MusicTab just before the read replaces it.
QCoro::Task<> MainWindow::sbMachinDownClick() {
    setSevenButtonsEnabled(false);
    WholeDeviceReadPanel panel(
        m_progressPanel, [this] { beginSynchronisation(); }, [this] { endSynchronisation(); });
    // A named context: GCC 12 ends temporaries inside a co_await expression too early.
    ReadContext context{m_services.channel, m_services.clock, m_services.prompter, m_session,
                        m_services.data.database()};
    context.messageNamesLossCause = true;
    try {
        co_await readWholeDevice(context, panel, m_cancel);
    } catch (const SequenceCancelled&) {
        co_return; // the window is gone
    }
    setSevenButtonsEnabled(true); // also after a refusal, which ends before the panel shows
}

std::unique_ptr<QMenu> MainWindow::backgroundMenu(QPoint pos) {
    const QWidget* hit = childAt(pos);
    if (!m_started || (hit && hit->objectName() != QLatin1String("Image1")))
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    QAction* backups = menu->addAction(tr("备份与恢复…"));
    backups->setObjectName(QStringLiteral("actBackups"));
    // A restore must not run under a synchronisation that is replacing the same tables.
    backups->setEnabled(m_edit->isEnabled());
    // Queued: the dialog opens once the menu has closed.
    connect(backups, &QAction::triggered, this, &MainWindow::openBackups, Qt::QueuedConnection);
    QAction* verify = menu->addAction(tr("核对播放器…"));
    verify->setObjectName(QStringLiteral("actVerify"));
    // A comparison must not share the port with a synchronisation.
    verify->setEnabled(m_edit->isEnabled());
    connect(verify, &QAction::triggered, this, &MainWindow::openVerify, Qt::QueuedConnection);
    return menu;
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    const auto menu = backgroundMenu(event->pos());
    if (!menu) {
        event->ignore();
        return;
    }
    menu->exec(event->globalPos());
}

void MainWindow::openBackups() {
    BackupDialog dialog(m_services.prompter, m_services.data.database(), this);
    connect(&dialog, &BackupDialog::restored, this, &MainWindow::useRestoredSettings);
    emit dialogOpened(&dialog);
    dialog.exec();
}

void MainWindow::openVerify() {
    VerifyDialog dialog({m_services.clock, m_services.channel, m_services.prompter, m_session,
                         m_services.data.database()},
                        this);
    emit dialogOpened(&dialog);
    dialog.exec();
}

// The restored settings row takes effect at once: its port, pre-heat and delay are the ones the
// next load and read use. Whether the player answers on a restored port is not known yet, and a
// test of the former port no longer allows a save.
void MainWindow::useRestoredSettings() {
    const int formerPort = m_session.link.PortNumber;
    restoreSettings();
    if (m_session.link.PortNumber == formerPort)
        return;
    m_session.link.LinkUp = false;
    m_settingsPanel->cmbComChange();
}

void MainWindow::sbExitClick() {
    if (m_services.prompter.question(tr("确实需要关闭系统吗？")))
        close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    m_cancel.cancel();
    // Tell the player we are leaving; nothing is awaited and the port stays as it is.
    m_services.channel.sendCloseNotice();
    event->accept();
}

} // namespace tessaly
