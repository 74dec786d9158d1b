#include "SettingsPanel.h"

#include "DeviceChannel.h"
#include "NetworkPortDialog.h"
#include "NetworkPortSettings.h"
#include "PortDiagnosis.h"
#include "PortInventory.h"
#include "Probe.h"
#include "Prompter.h"
#include "SettingsStore.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTextBoundaryFinder>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

#include <optional>

namespace tessaly {

namespace {

QString BannerText() {
    return SettingsPanel::tr("打开失败，请设置通讯口！");
}
QString SettingsHeading() {
    return SettingsPanel::tr("管理软件与节目播放器通讯设置");
}
QString Untested() {
    return SettingsPanel::tr("请点击[测试]");
}
QString PortFailed() {
    return SettingsPanel::tr("端口打开失败,请点击[测试]");
}
QString NoDevice() {
    return SettingsPanel::tr("端口打开失败,请选择其他端口！");
}
QString Tested() {
    return SettingsPanel::tr("通讯成功！请点击[保存]");
}

// The open list shows, beside each COM name, the device it stands for on this machine and the
// adapter behind it, in columns; the entries themselves (column 0) stay "COM1" .. "COM20". The
// machine's serial devices are listed the first time a device or adapter is asked for, so that
// the window is up before they have been listed.
class PortColumnsModel final : public QAbstractTableModel {
public:
    PortColumnsModel(PortMap portMap, QObject* parent)
        : QAbstractTableModel(parent), m_portMap(std::move(portMap)) {}

    // A COM's target has changed: the entries are listed again, the choice kept.
    void relist() {
        m_entries.reset();
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : PortMap::LastCom - PortMap::FirstCom + 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 5;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::ToolTipRole)
            return deviceText(index.row());
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        if (index.column() == 0)
            return QStringLiteral("COM%1").arg(PortMap::FirstCom + index.row());
        const PortEntry& entry = entries().at(index.row());
        switch (index.column()) {
        case 1:
            return deviceText(index.row());
        case 2:
            return entry.description;
        case 3:
            return entry.manufacturer;
        default:
            return entry.usbId;
        }
    }

private:
    QString deviceText(int row) const {
        const QString device = entries().at(row).device;
        return device.isEmpty() ? noDeviceText() : device;
    }
    const QList<PortEntry>& entries() const {
        if (!m_entries)
            m_entries = listPorts(m_portMap, systemAdapters());
        return *m_entries;
    }

    PortMap m_portMap;
    mutable std::optional<QList<PortEntry>> m_entries;
};

// Sizes the open list to its columns when it is first shown, not before: that needs the devices.
class SizeOnFirstShow final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

QTreeView* portColumnsView() {
    auto* view = new QTreeView;
    view->setHeaderHidden(true);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setAllColumnsShowFocus(true);
    view->setUniformRowHeights(true);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
}

// The widest text of each column, with the margins of a cell, plus the frame and a scroll bar.
int columnsWidth(const QTreeView* view) {
    const QAbstractItemModel* model = view->model();
    const QFontMetrics metrics = view->fontMetrics();
    int width = 2 * view->frameWidth() + 24;
    for (int column = 0; column < model->columnCount(); ++column) {
        int widest = 0;
        for (int row = 0; row < model->rowCount(); ++row)
            widest = qMax(widest,
                          metrics.horizontalAdvance(model->index(row, column).data().toString()));
        width += widest + (widest > 0 ? 16 : 0);
    }
    return width;
}

bool SizeOnFirstShow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* view = static_cast<QTreeView*>(watched);
        view->setMinimumWidth(columnsWidth(view)); // the open list is as wide as its columns
        view->removeEventFilter(this);
    }
    return false;
}

// Breaks `text` into lines of at most `width` pixels where the writing system allows, but never
// inside a match of `whole`: a holder's name such as "tessaly-player-sim（进程 4242）" would
// otherwise break at its hyphens or between its ideographs.
QString wrapKeepingWhole(const QString& text, const QRegularExpression& whole,
                         const QFontMetrics& metrics, int width) {
    QList<std::pair<qsizetype, qsizetype>> kept;
    for (const auto& match : whole.globalMatch(text))
        kept.append({match.capturedStart(), match.capturedEnd()});
    const auto insideKept = [&kept](qsizetype at) {
        return std::any_of(kept.begin(), kept.end(),
                           [at](const auto& span) { return at > span.first && at < span.second; });
    };
    QStringList lines;
    QString line;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype start = 0;
    while (breaks.toNextBoundary() != -1) {
        const qsizetype end = breaks.position();
        if (insideKept(end))
            continue;
        const QString piece = text.mid(start, end - start);
        start = end;
        if (!line.isEmpty() && metrics.horizontalAdvance((line + piece).trimmed()) > width) {
            lines.append(line.trimmed());
            line.clear();
        }
        line += piece;
    }
    if (!line.isEmpty())
        lines.append(line.trimmed());
    return lines.join(QLatin1Char('\n'));
}

} // namespace

SettingsPanel::SettingsPanel(DeviceChannel& channel, Clock& clock, Prompter& prompter,
                             SettingsStore& settings, const PortMap& portMap, QWidget* parent)
    : QFrame(parent), m_channel(channel), m_clock(clock), m_prompter(prompter),
      m_settings(settings), m_portMap(portMap) {
    setObjectName(QStringLiteral("PanSet"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    buildControls(portMap);
    hide();
}

SettingsPanel::~SettingsPanel() {
    m_cancel.cancel();
}

void SettingsPanel::buildControls(const PortMap& portMap) {
    m_heading = new QLabel(BannerText(), this);
    m_heading->setObjectName(QStringLiteral("Lbl_Item"));
    m_heading->setAlignment(Qt::AlignCenter);
    m_heading->setGeometry(0, 12, 437, 32);

    auto* portCaption = new QLabel(tr("通讯端口："), this);
    portCaption->setObjectName(QStringLiteral("Label3"));
    portCaption->setGeometry(80, 70, 90, 24);

    m_ports = new QComboBox(this);
    m_ports->setObjectName(QStringLiteral("cmbCom"));
    auto* view = portColumnsView();
    m_ports->setView(view);
    m_ports->setModel(new PortColumnsModel(portMap, m_ports));
    m_ports->setModelColumn(0);
    view->installEventFilter(new SizeOnFirstShow(view));
    m_ports->setCurrentIndex(-1); // nothing chosen until the saved port is known
    m_ports->setGeometry(170, 68, 180, 26);
    connect(m_ports, &QComboBox::currentIndexChanged, this, [this] { cmbComChange(); });
    m_ports->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_ports, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { portMenu()->popup(m_ports->mapToGlobal(at)); });

    m_networkPort = new QToolButton(this);
    m_networkPort->setObjectName(QStringLiteral("sbNetPort"));
    m_networkPort->setText(QStringLiteral("…"));
    m_networkPort->setAccessibleName(tr("网络串口"));
    m_networkPort->setToolTip(tr("设置网络串口…"));
    m_networkPort->setGeometry(354, 68, 26, 26);
    connect(m_networkPort, &QToolButton::clicked, this, [this] { editNetworkPort(); });

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Lb_Mess"));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setStyleSheet(QStringLiteral("color: red; font-size: 14px;"));
    m_status->setGeometry(10, 115, 417, 26);

    // Why the port could not be opened, when the system tells, beneath the status.
    m_cause = new QLabel(this);
    m_cause->setObjectName(QStringLiteral("Lb_Cause"));
    m_cause->setTextFormat(Qt::PlainText); // broken into lines by showCause
    m_cause->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_cause->setTextInteractionFlags(Qt::TextSelectableByMouse); // the command can be copied
    m_cause->setStyleSheet(QStringLiteral("color: #8b0000; font-size: 11px;"));
    m_cause->setGeometry(10, 139, 417, 30);

    const auto makeButton = [this](const char* name, const QString& caption, int left) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(left, 170, 90, 32);
        return button;
    };
    m_test = makeButton("sbTest", tr("测试"), 50);
    m_save = makeButton("sbSave", tr("保存"), 173);
    m_close = makeButton("sbClose", tr("关闭"), 296);
    m_save->setEnabled(false);
    connect(m_test, &QPushButton::clicked, this, [this] { sbTestClick(); });
    connect(m_save, &QPushButton::clicked, this, [this] { sbSaveClick(); });
    connect(m_close, &QPushButton::clicked, this, [this] { sbCloseClick(); });
}

void SettingsPanel::setHeading(const QString& text) {
    m_heading->setText(text);
    m_heading->setStyleSheet(QStringLiteral("color: black; font-weight: bold; font-size: 12pt;"));
}

void SettingsPanel::prepareBanner() {
    setHeading(BannerText());
    setGeometry(63, 77, 437, 56);
}

void SettingsPanel::selectPort(int port) {
    const bool listed = port >= PortMap::FirstCom && port <= PortMap::LastCom;
    const QSignalBlocker noChangeEvent(m_ports); // only the operator's choice is a change
    m_ports->setCurrentIndex(listed ? port - 1 : -1);
}

void SettingsPanel::setStatus(const QString& text) {
    m_status->setText(text);
    showCause({});
}

void SettingsPanel::reportPortNotOpened() {
    setStatus(PortFailed());
    explainPortFailure(m_channel.state().PortNumber);
}

void SettingsPanel::explainPortFailure(int port, bool opened) {
    showCause(explainProbeFailure(m_channel, m_portMap, port, opened));
}

void SettingsPanel::showCause(const QString& cause) {
    m_causeText = cause;
    m_cause->setText(wrapKeepingWhole(cause, holderPattern(), m_cause->fontMetrics(),
                                      m_cause->contentsRect().width()));
    m_cause->setToolTip(cause);
}

QString SettingsPanel::cause() const {
    return m_causeText;
}

QString SettingsPanel::status() const {
    return m_status->text();
}

void SettingsPanel::sbSetClick() {
    setStatus(Untested());
    setGeometry(68, 100, 437, 230);
    show();
    raise();
    selectPort(m_channel.state().PortNumber);
    setHeading(SettingsHeading());
}

void SettingsPanel::cmbComChange() {
    setStatus(Untested());
    m_save->setEnabled(false);
}

QCoro::Task<> SettingsPanel::sbTestClick() {
    if (m_testing)
        co_return;
    m_testing = true;
    m_test->setEnabled(false);
    m_save->setEnabled(false);
    setStatus({});
    // Claimed before the port number changes: a sequence that holds the channel keeps its port.
    const auto claim = m_channel.claim();
    if (!claim) {
        m_prompter.notice(channelBusyText());
        m_test->setEnabled(true);
        m_testing = false;
        co_return;
    }
    // The port that was open before stays open; only the chosen one is reopened.
    m_channel.state().PortNumber = m_ports->currentIndex() + 1;

    const auto cancel = m_cancel;
    ProbeResult result;
    try {
        result = co_await ProbeDevice(m_channel, m_clock, probe::SettingsTest, cancel);
    } catch (const SequenceCancelled&) {
        co_return; // the panel is gone
    }

    switch (result) {
    case ProbeResult::PortNotOpened:
        setStatus(PortFailed());
        explainPortFailure(m_channel.state().PortNumber);
        break;
    case ProbeResult::Accepted:
        setStatus(Tested());
        m_save->setEnabled(true);
        break;
    case ProbeResult::NoReply:
        setStatus(NoDevice());
        explainPortFailure(m_channel.state().PortNumber, true); // a server out of reach says why
        break;
    case ProbeResult::ChannelBusy:
        break; // not given while the claim above is held
    }
    m_test->setEnabled(true);
    m_testing = false;
}

void SettingsPanel::sbSaveClick() {
    if (status() != Tested()) {
        m_prompter.notice(tr("请选择实际连接的端口，[测试]成功后才允许保存！"));
        return;
    }
    m_channel.state().PortNumber = m_ports->currentIndex() + 1;
    // A database without its settings row keeps nothing: say so rather than claim success.
    if (QString error; !m_settings.writePort(m_channel.state().PortNumber, &error)) {
        m_prompter.failure(tr("保存失败！数据库中没有通讯设置记录，端口未能保存。"), error);
        return;
    }
    m_prompter.notice(tr("保存成功！"));
}

int SettingsPanel::chosenCom() const {
    return m_ports->currentIndex() >= 0 ? m_ports->currentIndex() + 1 : PortMap::FirstCom;
}

QMenu* SettingsPanel::portMenu() {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(tr("设置网络串口…"), this, [this] { editNetworkPort(); });
    menu->addAction(tr("清除网络串口"), this, [this] { clearNetworkPort(); })
        ->setEnabled(!storedNetworkTarget(chosenCom()).isEmpty());
    return menu;
}

void SettingsPanel::editNetworkPort() {
    const int com = chosenCom();
    auto* dialog = new NetworkPortDialog(com, storedNetworkTarget(com), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        if (QString error; !storeNetworkTarget(dialog->com(), dialog->target(), &error))
            m_prompter.failure(tr("网络串口未能保存！"), error);
        networkPortChanged();
    });
    dialog->open();
}

void SettingsPanel::clearNetworkPort() {
    if (QString error; !clearNetworkTarget(chosenCom(), &error))
        m_prompter.failure(tr("网络串口未能清除！"), error);
    networkPortChanged();
}

void SettingsPanel::networkPortChanged() {
    static_cast<PortColumnsModel*>(m_ports->model())->relist();
    auto* view = static_cast<QTreeView*>(m_ports->view());
    view->setMinimumWidth(columnsWidth(view)); // a URL is wider than a device
    cmbComChange();
}

void SettingsPanel::sbCloseClick() {
    if (status() == PortFailed() &&
        !m_prompter.question(tr("播放器与软件通讯尚未连通确实需要关闭吗？")))
        return;
    hide();
}

} // namespace tessaly
