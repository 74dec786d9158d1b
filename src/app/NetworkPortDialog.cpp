#include "NetworkPortDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace tessaly {

namespace {

std::optional<quint16> portNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const int port = digits.match(text).hasMatch() ? text.toInt() : 0;
    if (port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

} // namespace

NetworkPortDialog::NetworkPortDialog(int com, const QString& current, QWidget* parent)
    : QDialog(parent), m_com(com) {
    setObjectName(QStringLiteral("NetworkPortDialog"));
    setWindowTitle(tr("网络串口"));

    auto* comLabel = new QLabel(QStringLiteral("COM%1").arg(com), this);
    comLabel->setObjectName(QStringLiteral("Lbl_NetCom"));
    m_raw = new QRadioButton(tr("原始TCP"), this);
    m_raw->setObjectName(QStringLiteral("rbRawTcp"));
    m_rfc2217 = new QRadioButton(tr("RFC 2217"), this);
    m_rfc2217->setObjectName(QStringLiteral("rbRfc2217"));
    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("edNetHost"));
    m_host->setPlaceholderText(QStringLiteral("10.0.0.7"));
    m_host->setAccessibleName(tr("主机"));
    m_port = new QLineEdit(this);
    m_port->setObjectName(QStringLiteral("edNetPort"));
    m_port->setPlaceholderText(QStringLiteral("7003"));
    m_port->setMaxLength(5);
    m_port->setAccessibleName(tr("端口"));
    m_refusal = new QLabel(this);
    m_refusal->setObjectName(QStringLiteral("Lbl_NetRefusal"));
    m_refusal->setStyleSheet(QStringLiteral("color: red;"));
    m_refusal->setWordWrap(true);

    const auto stored = parseNetworkTarget(current);
    (stored && stored->kind == NetworkTarget::Kind::Rfc2217 ? m_rfc2217 : m_raw)->setChecked(true);
    if (stored) {
        m_host->setText(stored->host);
        m_port->setText(QString::number(stored->port));
    }

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(m_raw);
    kinds->addWidget(m_rfc2217);
    kinds->addStretch();
    auto* form = new QFormLayout;
    form->addRow(tr("串口："), comLabel);
    form->addRow(tr("方式："), kinds);
    form->addRow(tr("主机："), m_host);
    form->addRow(tr("端口："), m_port);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_refusal);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QString NetworkPortDialog::checkEntries() {
    const QString host = m_host->text().trimmed();
    if (host.isEmpty())
        return tr("请填写主机（名称或 IP 地址）。");
    const auto port = portNumber(m_port->text().trimmed());
    if (!port)
        return tr("端口“%1”无效，应为 1 到 65535 的数字。").arg(m_port->text());
    const QString scheme =
        m_rfc2217->isChecked() ? QStringLiteral("rfc2217://") : QStringLiteral("socket://");
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    const auto target = parseNetworkTarget(scheme + shownHost + u':' + QString::number(*port));
    if (!target)
        return tr("主机“%1”无效：应为主机名或 IP 地址。").arg(host);
    m_target = *target;
    return {};
}

void NetworkPortDialog::accept() {
    const QString wrong = checkEntries();
    m_refusal->setText(wrong);
    if (wrong.isEmpty())
        QDialog::accept();
}

} // namespace tessaly
