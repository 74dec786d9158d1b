#include "NetworkSerialLink.h"

#include "TelnetCodec.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tessaly {

namespace {

// A player answers in frames of a few hundred bytes; what a flood brings beyond this is dropped,
// as a serial driver drops what overflows its buffer.
constexpr qsizetype InputLimit = 1 << 20;
// The few bytes a server sends before it closes a connection that it will not serve.
constexpr qsizetype ServerTextLimit = 200;

struct Address {
    sockaddr_storage address{};
    socklen_t length = 0;
};

// The addresses of a name, looked up on a thread of its own: a resolver may take seconds.
struct Resolution {
    std::mutex mutex;
    bool done = false;
    int error = 0; // EAI_* of getaddrinfo
    std::vector<Address> addresses;
};

int lookUp(const NetworkTarget& target, int flags, std::vector<Address>& addresses) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int error = ::getaddrinfo(target.host.toUtf8().constData(),
                                    QByteArray::number(target.port).constData(), &hints, &found);
    for (const addrinfo* each = found; each; each = each->ai_next) {
        Address address;
        std::memcpy(&address.address, each->ai_addr, each->ai_addrlen);
        address.length = each->ai_addrlen;
        addresses.push_back(address);
    }
    if (found)
        ::freeaddrinfo(found);
    return error;
}

std::shared_ptr<Resolution> resolve(const NetworkTarget& target) {
    auto resolution = std::make_shared<Resolution>();
    std::vector<Address> literal;
    if (lookUp(target, AI_NUMERICHOST, literal) == 0) {
        resolution->done = true;
        resolution->addresses = std::move(literal);
        return resolution;
    }
    std::thread([resolution, target] {
        std::vector<Address> addresses;
        const int error = lookUp(target, 0, addresses);
        const std::lock_guard lock(resolution->mutex);
        resolution->error = error;
        resolution->addresses = std::move(addresses);
        resolution->done = true;
    }).detach();
    return resolution;
}

NetworkFailure failureOfErrno(int error) {
    switch (error) {
    case ECONNREFUSED:
        return NetworkFailure::Refused;
    case ENETUNREACH:
    case EHOSTUNREACH:
        return NetworkFailure::NoRoute;
    case ETIMEDOUT:
        return NetworkFailure::NoAnswer;
    case ECONNRESET:
    case EPIPE:
        return NetworkFailure::Dropped;
    default:
        return NetworkFailure::Other;
    }
}

// A server that will not serve a client says so in one line of text and closes.
NetworkFailure failureOfServerText(const QByteArray& text) {
    if (text.contains("in use"))
        return NetworkFailure::Busy;
    return text.isEmpty() ? NetworkFailure::Dropped : NetworkFailure::ServerText;
}

bool isServerText(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > ServerTextLimit || !bytes.endsWith("\r\n"))
        return false;
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return c == '\r' || c == '\n' || (c >= ' ' && c < 127); });
}

} // namespace

// One connection to a server: resolved, connected and served by pump(), which each call of the
// link runs once.
class NetworkSerialLink::Connection {
public:
    Connection(NetworkTarget target, int connectMs)
        : m_target(std::move(target)), m_connectMs(connectMs), m_resolution(resolve(m_target)) {
        m_clock.start();
        if (m_target.kind == NetworkTarget::Kind::Rfc2217)
            m_telnet.emplace();
    }
    ~Connection() { closeSocket(); }

    const NetworkTarget& target() const { return m_target; }
    bool connected() const { return m_stage == Stage::Connected; }
    std::optional<NetworkFailure> failure() const { return m_failure; }
    const QString& detail() const { return m_detail; }

    void pump() {
        if (m_stage == Stage::Resolving)
            takeResolution();
        if (m_stage == Stage::Connecting)
            finishConnecting();
        if (m_stage == Stage::Connected) {
            receive();
            transmit();
        }
        if ((m_stage == Stage::Resolving || m_stage == Stage::Connecting) &&
            m_clock.elapsed() >= m_connectMs)
            fail(NetworkFailure::NoAnswer);
    }

    void sendData(const QByteArray& data) {
        m_outgoing += m_telnet ? TelnetCodec::encode(data) : data;
        pump();
    }
    void sendPurge() {
        if (!m_telnet)
            return;
        m_outgoing += TelnetCodec::purgeServerInput();
        pump();
    }
    void dropInput() { m_incoming.clear(); }
    QByteArray take(int maximum) {
        const QByteArray taken = m_incoming.left(maximum);
        m_incoming.remove(0, taken.size());
        return taken;
    }

private:
    enum class Stage { Resolving, Connecting, Connected, Failed };

    void takeResolution() {
        const std::lock_guard lock(m_resolution->mutex);
        if (!m_resolution->done)
            return;
        if (m_resolution->error != 0 || m_resolution->addresses.empty()) {
            m_detail = QString::fromLocal8Bit(::gai_strerror(m_resolution->error));
            fail(m_resolution->error == EAI_SYSTEM ? NetworkFailure::Other
                                                   : NetworkFailure::UnknownHost);
            return;
        }
        m_addresses = m_resolution->addresses;
        m_stage = Stage::Connecting;
        connectNext();
    }

    // Tries the next address of the name; fails with the last one's error when none is left.
    void connectNext() {
        closeSocket();
        while (m_next < m_addresses.size()) {
            const Address& address = m_addresses[m_next++];
            m_socket =
                ::socket(address.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (m_socket < 0) {
                m_lastError = errno;
                continue;
            }
            const int on = 1; // a four-byte frame goes out at once, not with the next one
            ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&address.address),
                          address.length) == 0 ||
                errno == EINPROGRESS)
                return;
            m_lastError = errno;
            closeSocket();
        }
        m_detail = QString::fromLocal8Bit(std::strerror(m_lastError));
        fail(failureOfErrno(m_lastError));
    }

    void finishConnecting() {
        pollfd ready{m_socket, POLLOUT, 0};
        if (::poll(&ready, 1, 0) <= 0)
            return;
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            m_lastError = error;
            connectNext();
            return;
        }
        m_stage = Stage::Connected;
        // The line settings go first, before any byte for the player.
        if (m_telnet)
            m_outgoing.prepend(m_telnet->greeting());
    }

    void receive() {
        char chunk[4096];
        for (;;) {
            const ssize_t count = ::recv(m_socket, chunk, sizeof chunk, MSG_DONTWAIT);
            if (count > 0) {
                accept(QByteArray(chunk, count));
                continue;
            }
            if (count == 0) {
                const QByteArray said = isServerText(m_received) ? m_received : QByteArray();
                m_detail = QString::fromLatin1(said).trimmed();
                fail(failureOfServerText(said));
            } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                m_detail = QString::fromLocal8Bit(std::strerror(errno));
                fail(failureOfErrno(errno) == NetworkFailure::Other ? NetworkFailure::Dropped
                                                                    : failureOfErrno(errno));
            }
            return;
        }
    }

    void accept(const QByteArray& wire) {
        if (m_received.size() <= ServerTextLimit)
            m_received += wire.left(ServerTextLimit + 1 - m_received.size());
        QByteArray data = wire;
        if (m_telnet) {
            QByteArray replies;
            data = m_telnet->decode(wire, replies);
            m_outgoing += replies;
        }
        m_incoming += data.left(qMax<qsizetype>(0, InputLimit - m_incoming.size()));
    }

    void transmit() {
        while (!m_outgoing.isEmpty()) {
            const ssize_t sent = ::send(m_socket, m_outgoing.constData(), size_t(m_outgoing.size()),
                                        MSG_DONTWAIT | MSG_NOSIGNAL);
            if (sent > 0) {
                m_outgoing.remove(0, sent);
                continue;
            }
            if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                m_detail = QString::fromLocal8Bit(std::strerror(errno));
                fail(NetworkFailure::Dropped);
            }
            return;
        }
    }

    void fail(NetworkFailure failure) {
        m_failure = failure;
        m_stage = Stage::Failed;
        m_outgoing.clear();
        closeSocket();
    }

    void closeSocket() {
        if (m_socket >= 0)
            ::close(m_socket);
        m_socket = -1;
    }

    NetworkTarget m_target;
    int m_connectMs;
    QElapsedTimer m_clock;
    std::shared_ptr<Resolution> m_resolution;
    std::vector<Address> m_addresses;
    size_t m_next = 0;
    int m_lastError = 0;
    Stage m_stage = Stage::Resolving;
    int m_socket = -1;
    std::optional<TelnetCodec> m_telnet;
    QByteArray m_outgoing; // on the wire's terms, Telnet escapes and commands included
    QByteArray m_incoming; // the player's bytes
    QByteArray m_received; // the first bytes of the connection, as the server sent them
    std::optional<NetworkFailure> m_failure;
    QString m_detail;
};

NetworkSerialLink::NetworkSerialLink(TargetLookup targets, int connectMs)
    : m_targets(std::move(targets)), m_connectMs(connectMs) {}

NetworkSerialLink::~NetworkSerialLink() = default;

NetworkSerialLink::Connection* NetworkSerialLink::openConnection(int port) {
    if (!m_open[port])
        return nullptr;
    const auto found = m_connections.find(port);
    if (found == m_connections.end())
        return nullptr;
    found->second->pump();
    return found->second.get();
}

int NetworkSerialLink::open(int port) {
    close(port);
    const auto target = m_targets(port);
    if (!target)
        return NoDevice;
    auto& connection = m_connections[port];
    if (connection)
        connection->pump();
    if (!connection || connection->failure() || connection->target() != *target)
        connection = std::make_unique<Connection>(*target, m_connectMs);
    connection->pump();
    connection->dropInput(); // a freshly opened port starts with empty input
    if (const auto failed = connection->failure())
        return *failed == NetworkFailure::Busy ? PortBusy : SystemError;
    m_open[port] = true;
    return 0;
}

int NetworkSerialLink::ioctl(int port, int baudCode, int modeCode) {
    if (!openConnection(port))
        return NotOpen;
    // The raw form leaves the line to the server; the Telnet form set it on connecting.
    return baudCode == Baud9600 && modeCode == Mode8N1 ? 0 : UnsupportedSetting;
}

int NetworkSerialLink::read(int port, quint8* buffer, int maximum) {
    Connection* connection = openConnection(port);
    if (!connection)
        return NotOpen;
    if (maximum <= 0)
        return 0;
    const QByteArray taken = connection->take(maximum);
    if (taken.isEmpty())
        return connection->failure() ? SystemError : 0;
    std::memcpy(buffer, taken.constData(), size_t(taken.size()));
    return int(taken.size());
}

int NetworkSerialLink::write(int port, const quint8* buffer, int length) {
    Connection* connection = openConnection(port);
    if (!connection)
        return NotOpen;
    if (connection->failure())
        return SystemError;
    connection->sendData(QByteArray(reinterpret_cast<const char*>(buffer), qMax(0, length)));
    return connection->failure() ? SystemError : qMax(0, length);
}

int NetworkSerialLink::close(int port) {
    m_open.erase(port);
    return 0;
}

void NetworkSerialLink::purgeInput(int port) {
    if (Connection* connection = openConnection(port))
        connection->sendPurge();
}

std::optional<NetworkFailure> NetworkSerialLink::failure(int port) {
    const auto found = m_connections.find(port);
    if (found == m_connections.end())
        return std::nullopt;
    found->second->pump();
    return found->second->failure();
}

QString NetworkSerialLink::failureCause(int port) {
    const auto found = m_connections.find(port);
    if (found == m_connections.end())
        return {};
    Connection& connection = *found->second;
    connection.pump();
    if (const auto failed = connection.failure())
        return networkCauseLine(connection.target(), *failed, connection.detail());
    // A probe that ended while the connection was still being made met a silent server.
    if (!connection.connected())
        return networkCauseLine(connection.target(), NetworkFailure::NoAnswer);
    return {};
}

QString networkCauseLine(const NetworkTarget& target, NetworkFailure failure,
                         const QString& detail) {
    const QString server = target.display();
    switch (failure) {
    case NetworkFailure::Refused:
        return QCoreApplication::translate("NetworkSerialLink", "原因：网络串口 %1 拒绝连接。")
            .arg(server);
    case NetworkFailure::UnknownHost:
        return QCoreApplication::translate("NetworkSerialLink",
                                           "原因：找不到网络串口 %1 的主机 %2。")
            .arg(server, target.host);
    case NetworkFailure::NoRoute:
        return QCoreApplication::translate("NetworkSerialLink",
                                           "原因：网络串口 %1 无法到达（没有通往它的路由）。")
            .arg(server);
    case NetworkFailure::NoAnswer:
        return QCoreApplication::translate("NetworkSerialLink",
                                           "原因：网络串口 %1 在连接时限内没有应答。")
            .arg(server);
    case NetworkFailure::Busy:
        return QCoreApplication::translate(
                   "NetworkSerialLink",
                   "原因：网络串口 %1 端口忙：它正为另一个客户端服务，请稍后再试。")
            .arg(server);
    case NetworkFailure::Dropped:
        return QCoreApplication::translate("NetworkSerialLink", "原因：网络串口 %1 断开了连接。")
            .arg(server);
    case NetworkFailure::ServerText:
        return QCoreApplication::translate("NetworkSerialLink", "原因：网络串口 %1 拒绝服务：%2")
            .arg(server, detail);
    case NetworkFailure::Other:
        break;
    }
    return QCoreApplication::translate("NetworkSerialLink", "原因：无法连接网络串口 %1：%2")
        .arg(server, detail);
}

} // namespace tessaly
