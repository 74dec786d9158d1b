#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace tessaly {

// A COM number that stands for a serial device server instead of a local device, written in the
// URL forms that serial tools share: "socket://HOST:PORT" carries the line's bytes as they are,
// "rfc2217://HOST:PORT" is Telnet with the COM-PORT-OPTION (the client sets the line itself).
struct NetworkTarget {
    enum class Kind { RawSocket, Rfc2217 };

    Kind kind = Kind::RawSocket;
    QString host; // a name or a literal address; an IPv6 address without its brackets, with
                  // the interface of a link-local one ("fe80::7%eth0")
    quint16 port = 0;

    // "10.0.0.7:7003", "[::1]:7003": the server as a cause line names it.
    QString display() const;
    // The URL it was written as, in its canonical form.
    QString url() const;

    friend bool operator==(const NetworkTarget&, const NetworkTarget&) = default;
};

// The target that `text` names; nothing when it is no URL of either form or a malformed one
// (no port, a port of 0 or above 65535, an empty host, an unclosed bracket, a path or more).
std::optional<NetworkTarget> parseNetworkTarget(const QString& text);

// Whether `text` is written as a network URL at all (a device path is not), well formed or not:
// a malformed URL must be refused, not tried as a file name.
bool looksLikeNetworkUrl(const QString& text);

} // namespace tessaly
