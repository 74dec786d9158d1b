#include "NetworkTarget.h"

#include <QRegularExpression>

#include <arpa/inet.h>

namespace tessaly {

namespace {

const QString RawScheme = QStringLiteral("socket://");
const QString Rfc2217Scheme = QStringLiteral("rfc2217://");

std::optional<NetworkTarget::Kind> schemeOf(const QString& text) {
    if (text.startsWith(RawScheme, Qt::CaseInsensitive))
        return NetworkTarget::Kind::RawSocket;
    if (text.startsWith(Rfc2217Scheme, Qt::CaseInsensitive))
        return NetworkTarget::Kind::Rfc2217;
    return std::nullopt;
}

// A port of one to five digits, 1 to 65535; no sign, no spaces.
std::optional<quint16> parsePort(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int port = text.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

// A host name of letters, digits, dots, hyphens and underscores, or a literal IPv4 address.
bool plainHost(const QString& host) {
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9._-]+$"));
    return name.match(host).hasMatch();
}

// An IPv6 address, with the interface of a link-local one after a '%' ("fe80::7%eth0").
bool ipv6Literal(const QString& host) {
    static const QRegularExpression scope(QStringLiteral("^[A-Za-z0-9._-]{1,15}$"));
    const qsizetype percent = host.indexOf(u'%');
    if (percent >= 0 && !scope.match(host.mid(percent + 1)).hasMatch())
        return false;
    in6_addr address{};
    return ::inet_pton(AF_INET6, host.left(percent).toLatin1().constData(), &address) == 1;
}

} // namespace

QString NetworkTarget::display() const {
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return shownHost + u':' + QString::number(port);
}

QString NetworkTarget::url() const {
    return (kind == Kind::Rfc2217 ? Rfc2217Scheme : RawScheme) + display();
}

bool looksLikeNetworkUrl(const QString& text) {
    return text.contains(QStringLiteral("://"));
}

std::optional<NetworkTarget> parseNetworkTarget(const QString& text) {
    const auto kind = schemeOf(text);
    if (!kind)
        return std::nullopt;
    const QString rest =
        text.mid(*kind == NetworkTarget::Kind::Rfc2217 ? Rfc2217Scheme.size() : RawScheme.size());
    QString host;
    QString portText;
    if (rest.startsWith(u'[')) {
        const qsizetype close = rest.indexOf(u']');
        if (close < 0 || rest.mid(close + 1, 1) != QStringLiteral(":"))
            return std::nullopt;
        host = rest.mid(1, close - 1);
        portText = rest.mid(close + 2);
        if (!ipv6Literal(host))
            return std::nullopt;
    } else {
        const qsizetype colon = rest.lastIndexOf(u':');
        if (colon < 0)
            return std::nullopt;
        host = rest.left(colon);
        portText = rest.mid(colon + 1);
        if (!plainHost(host))
            return std::nullopt;
    }
    const auto port = parsePort(portText);
    if (host.isEmpty() || !port)
        return std::nullopt;
    return NetworkTarget{*kind, host, *port};
}

} // namespace tessaly
