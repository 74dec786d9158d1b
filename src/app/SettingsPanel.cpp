#include "SettingsPanel.h"

#include "DeviceChannel.h"
#include "Probe.h"
#include "Prompter.h"
#include "SettingsStore.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace tessaly {

namespace {

const QString BannerText = QStringLiteral("打开失败，请设置通讯口！");
const QString SettingsHeading = QStringLiteral("管理软件与节目播放器通讯设置");
const QString Untested = QStringLiteral("请点击[测试]");
const QString PortFailed = QStringLiteral("端口打开失败,请点击[测试]");
const QString NoDevice = QStringLiteral("端口打开失败,请选择其他端口！");
const QString Tested = QStringLiteral("通讯成功！请点击[保存]");

constexpr int DeviceRole = Qt::UserRole + 1;

// The open list shows, beside each COM name, the device it stands for on this machine;
// the entries themselves stay "COM1" .. "COM20".
class PortItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString device = index.data(DeviceRole).toString();
        option->text +=
            QStringLiteral("    ") + (device.isEmpty() ? QStringLiteral("（无设备）") : device);
    }
};

// "COM1" .. "COM20" with their devices. A device is looked up only when the list asks for it,
// so that the window is up before the machine's serial devices have been listed.
class PortListModel final : public QAbstractListModel {
public:
    PortListModel(PortMap portMap, QObject* parent)
        : QAbstractListModel(parent), m_portMap(std::move(portMap)) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : PortMap::LastCom - PortMap::FirstCom + 1;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const int com = PortMap::FirstCom + index.row();
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QStringLiteral("COM%1").arg(com);
        case DeviceRole:
            return m_portMap.deviceFor(com);
        case Qt::ToolTipRole: {
            const QString device = m_portMap.deviceFor(com);
            return device.isEmpty() ? QStringLiteral("（无设备）") : device;
        }
        default:
            return {};
        }
    }

private:
    PortMap m_portMap;
};

} // namespace

SettingsPanel::SettingsPanel(DeviceChannel& channel, Clock& clock, Prompter& prompter,
                             SettingsStore& settings, const PortMap& portMap, QWidget* parent)
    : QFrame(parent), m_channel(channel), m_clock(clock), m_prompter(prompter),
      m_settings(settings) {
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
    m_heading = new QLabel(BannerText, this);
    m_heading->setObjectName(QStringLiteral("Lbl_Item"));
    m_heading->setAlignment(Qt::AlignCenter);
    m_heading->setGeometry(0, 12, 437, 32);

    auto* portCaption = new QLabel(QStringLiteral("通讯端口："), this);
    portCaption->setObjectName(QStringLiteral("Label3"));
    portCaption->setGeometry(80, 70, 90, 24);

    m_ports = new QComboBox(this);
    m_ports->setObjectName(QStringLiteral("cmbCom"));
    m_ports->setItemDelegate(new PortItemDelegate(m_ports));
    m_ports->setModel(new PortListModel(portMap, m_ports));
    m_ports->setCurrentIndex(-1); // nothing chosen until the saved port is known
    m_ports->setGeometry(170, 68, 180, 26);
    connect(m_ports, &QComboBox::currentIndexChanged, this, [this] { cmbComChange(); });

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Lb_Mess"));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setStyleSheet(QStringLiteral("color: red; font-size: 14px;"));
    m_status->setGeometry(10, 115, 417, 26);

    const auto makeButton = [this](const char* name, const QString& caption, int left) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(left, 170, 90, 32);
        return button;
    };
    m_test = makeButton("sbTest", QStringLiteral("测试"), 50);
    m_save = makeButton("sbSave", QStringLiteral("保存"), 173);
    m_close = makeButton("sbClose", QStringLiteral("关闭"), 296);
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
    setHeading(BannerText);
    setGeometry(63, 77, 437, 56);
}

void SettingsPanel::selectPort(int port) {
    const bool listed = port >= PortMap::FirstCom && port <= PortMap::LastCom;
    const QSignalBlocker noChangeEvent(m_ports); // only the operator's choice is a change
    m_ports->setCurrentIndex(listed ? port - 1 : -1);
}

void SettingsPanel::setStatus(const QString& text) {
    m_status->setText(text);
}

void SettingsPanel::reportPortNotOpened() {
    setStatus(PortFailed);
}

QString SettingsPanel::status() const {
    return m_status->text();
}

void SettingsPanel::sbSetClick() {
    setStatus(Untested);
    setGeometry(68, 100, 437, 230);
    show();
    raise();
    selectPort(m_channel.state().PortNumber);
    setHeading(SettingsHeading);
}

void SettingsPanel::cmbComChange() {
    setStatus(Untested);
    m_save->setEnabled(false);
}

QCoro::Task<> SettingsPanel::sbTestClick() {
    if (m_testing)
        co_return;
    m_testing = true;
    m_test->setEnabled(false);
    m_save->setEnabled(false);
    setStatus({});
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
        setStatus(PortFailed);
        break;
    case ProbeResult::Accepted:
        setStatus(Tested);
        m_save->setEnabled(true);
        break;
    case ProbeResult::NoReply:
        setStatus(NoDevice);
        break;
    }
    m_test->setEnabled(true);
    m_testing = false;
}

void SettingsPanel::sbSaveClick() {
    if (status() != Tested) {
        m_prompter.notice(QStringLiteral("请选择实际连接的端口，[测试]成功后才允许保存！"));
        return;
    }
    m_channel.state().PortNumber = m_ports->currentIndex() + 1;
    // A database without its settings row keeps nothing: say so rather than claim success.
    if (!m_settings.writePort(m_channel.state().PortNumber)) {
        m_prompter.notice(QStringLiteral("保存失败！数据库中没有通讯设置记录，端口未能保存。"));
        return;
    }
    m_prompter.notice(QStringLiteral("保存成功！"));
}

void SettingsPanel::sbCloseClick() {
    if (status() == PortFailed &&
        !m_prompter.question(QStringLiteral("播放器与软件通讯尚未连通确实需要关闭吗？")))
        return;
    hide();
}

} // namespace tessaly
