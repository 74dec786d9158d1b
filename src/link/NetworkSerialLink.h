#pragma once

#include "NetworkTarget.h"
#include "SerialLink.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace tessaly {

// Why a network port is not carrying the player's bytes.
enum class NetworkFailure {
    Refused,         // nothing listens on the server's port
    UnknownHost,     // the name does not resolve
    NoRoute,         // the network or host cannot be reached
    NoAnswer,        // the connection was not made within the connect time
    Busy,            // the server serves another client
    Dropped,         // the connection ended
    Reset,           // the server reset the connection
    ServerText,      // the server said why it closed (its serial device would not open, say)
    NeedsInterface,  // a link-local IPv6 address without the interface it is reached through
    NoSuchInterface, // the interface named after '%' is not on this machine
    Other,
};

// The serial link to a player behind a serial device server, for both URL forms. Nothing here
// waits: sockets are non-blocking and driven by the event loop (socket notifiers), so bytes move
// while a sequence awaits its clock; names resolve on the one resolver thread of the process (a
// literal address at once).
//
// A COM opens at once, but is not ready until its connection is made (with the Telnet form, once
// the server has answered the COM-PORT-OPTION) and the server has had a moment, about a round
// trip, to refuse it (busy with another client, say), or until its connect time has run out:
// readiness() says so, and a sequence waits for it before its first exchange. Each address of a
// name gets its share of the connect time. Player bytes written before then are held.
//
// The connection is the link's from the first open of a COM number until it drops or the link
// goes, as the local port's lock is: the probe closes and reopens the port, and another client
// must not take the server in between. A reopen drops what arrived before it. What is queued
// when the connection goes is sent first, within a bounded time.
class NetworkSerialLink final : public SerialLink {
public:
    using TargetLookup = std::function<std::optional<NetworkTarget>(int com)>;
    static constexpr int DefaultConnectMs = 3000;
    // How much longer than on a direct line an answer may take over a network: a round trip to
    // a server up to half a second away, or a little more than the round trip seen once one was.
    static constexpr int TransitAllowanceMs = 1000;

    explicit NetworkSerialLink(TargetLookup targets, int connectMs = DefaultConnectMs);
    ~NetworkSerialLink() override;

    NetworkSerialLink(const NetworkSerialLink&) = delete;
    NetworkSerialLink& operator=(const NetworkSerialLink&) = delete;

    int open(int port) override;
    int ioctl(int port, int baudCode, int modeCode) override;
    int read(int port, quint8* buffer, int maximum) override;
    int write(int port, const quint8* buffer, int length) override;
    int close(int port) override;
    void purgeInput(int port) override;
    QString failureCause(int port) override;
    int readiness(int port) override;
    int transitAllowanceMs(int port) override;

    // Why the connection of COM `port` is not up; nothing while it is, or is still being made
    // within its time.
    std::optional<NetworkFailure> failure(int port);

    class Connection;

private:
    Connection* openConnection(int port);

    TargetLookup m_targets;
    int m_connectMs;
    std::map<int, std::unique_ptr<Connection>> m_connections;
    std::map<int, bool> m_open;
};

// The cause line of a failed connection to `target`, in the operator's language.
QString networkCauseLine(const NetworkTarget& target, NetworkFailure failure,
                         const QString& detail = {});

} // namespace tessaly
