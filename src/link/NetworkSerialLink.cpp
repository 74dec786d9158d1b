#include "NetworkSerialLink.h"

#include "TelnetCodec.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
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
// The Telnet form's line settings get at least this long to be answered, however late the
// connection was made within its time.
constexpr int NegotiationMinimumMs = 1000;
// A round trip measured once may take this much longer the next time.
constexpr int RoundTripMarginMs = 100;
// How long a connection just made is given to refuse this client, beside twice the time the
// connect took.
constexpr int SettleMinimumMs = 50;
constexpr int SettleMaximumMs = 500;
// What a connection that goes still has queued is sent within this time, or dropped.
constexpr int FlushMs = 500;

struct Address {
    sockaddr_storage address{};
    socklen_t length = 0;
};

// The addresses of a name. The resolver thread fills it and then signals its event descriptor,
// which the connection watches.
struct Resolution {
    Resolution() : event(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~Resolution() {
        if (event >= 0)
            ::close(event);
    }
    Resolution(const Resolution&) = delete;
    Resolution& operator=(const Resolution&) = delete;

    NetworkTarget target;
    int event;
    std::mutex mutex;
    bool done = false;
    int error = 0; // EAI_* of getaddrinfo
    std::vector<Address> addresses;
};

int lookUp(const QString& host, quint16 port, int flags, std::vector<Address>& addresses) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int error = ::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(),
                                    &hints, &found);
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

// The one thread of the process that resolves names: a resolver may take seconds, and lookups
// that hang must not pile up threads. Lookups wait their turn; one whose connection has gone by
// then is skipped. It lives as long as the process.
class Resolver {
public:
    static Resolver& instance() {
        static Resolver* const resolver = new Resolver; // never destroyed: its thread may hang
        return *resolver;
    }

    void submit(const std::shared_ptr<Resolution>& resolution) {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(resolution);
        m_wake.notify_one();
    }

private:
    Resolver() {
        std::thread([this] { serve(); }).detach();
    }

    void serve() {
        for (;;) {
            std::weak_ptr<Resolution> next;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_queue.empty(); });
                next = m_queue.front();
                m_queue.pop_front();
            }
            const std::shared_ptr<Resolution> resolution = next.lock();
            if (!resolution)
                continue;
            std::vector<Address> addresses;
            const int error =
                lookUp(resolution->target.host, resolution->target.port, 0, addresses);
            {
                const std::lock_guard lock(resolution->mutex);
                resolution->error = error;
                resolution->addresses = std::move(addresses);
                resolution->done = true;
            }
            const quint64 one = 1;
            [[maybe_unused]] const auto written = ::write(resolution->event, &one, sizeof one);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::weak_ptr<Resolution>> m_queue;
};

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
        return NetworkFailure::Reset;
    case EPIPE:
        return NetworkFailure::Dropped;
    default:
        return NetworkFailure::Other;
    }
}

// A server that will not serve a client says so in a line of text and closes.
bool isServerText(const QByteArray& bytes) {
    const QByteArray text = bytes.trimmed();
    if (text.isEmpty() || bytes.size() > ServerTextLimit)
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == '\r' || c == '\n' || c == '\t' || (c >= ' ' && c < 127);
    });
}

bool isBusyText(const QByteArray& text) {
    return text.contains("in use") || text.contains("busy");
}

bool linkLocalWithoutInterface(const Address& address) {
    if (address.address.ss_family != AF_INET6)
        return false;
    const auto& ipv6 = reinterpret_cast<const sockaddr_in6&>(address.address);
    return IN6_IS_ADDR_LINKLOCAL(&ipv6.sin6_addr) && ipv6.sin6_scope_id == 0;
}

} // namespace

// One connection to a server: resolved, connected, negotiated (the Telnet form) and served,
// each step as the event loop finds its socket ready.
class NetworkSerialLink::Connection : public QObject {
public:
    Connection(NetworkTarget target, int connectMs)
        : m_target(std::move(target)), m_deadline(connectMs) {
        if (m_target.kind == NetworkTarget::Kind::Rfc2217)
            m_telnet.emplace();
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { timeUp(); });
        m_timer.start(connectMs);
        resolve();
    }
    ~Connection() override {
        flush();
        closeSocket();
    }

    const NetworkTarget& target() const { return m_target; }
    bool ready() const { return m_stage == Stage::Connected; }
    bool opening() const { return m_stage != Stage::Connected && m_stage != Stage::Failed; }
    std::optional<NetworkFailure> failure() const { return m_failure; }
    const QString& detail() const { return m_detail; }
    bool lineRefused() const { return m_telnet && m_telnet->line() == TelnetCodec::Line::Refused; }
    // The shortest time from a write to the next bytes from the server: a round trip and the
    // player's turnaround. Nothing before the first answer.
    std::optional<qint64> roundTripMs() const { return m_roundTrip; }

    // Moves what can move now, without waiting: the event loop does the same on its own.
    void service() {
        if (m_stage == Stage::Connecting)
            finishConnecting();
        if (m_stage == Stage::Negotiating || m_stage == Stage::Settling ||
            m_stage == Stage::Connected) {
            receive();
            transmit();
        }
    }

    void sendData(const QByteArray& data) {
        if (!m_sentAt.isValid() && !data.isEmpty())
            m_sentAt.start();
        if (m_stage == Stage::Connected) {
            m_wire += m_telnet ? m_telnet->encode(data) : data;
            transmit();
        } else {
            m_held += data;
        }
    }
    // Drops what arrived and what is still readable; the server drops what it holds too.
    void purge() {
        service();
        m_incoming.clear();
        if (m_telnet && m_stage == Stage::Connected) {
            m_wire += m_telnet->purgeServerInput();
            transmit();
        }
    }
    QByteArray take(int maximum) {
        const QByteArray taken = m_incoming.left(maximum);
        m_incoming.remove(0, taken.size());
        return taken;
    }

private:
    enum class Stage { Resolving, Connecting, Negotiating, Settling, Connected, Failed };

    void resolve() {
        std::vector<Address> literal;
        if (lookUp(m_target.host, m_target.port, AI_NUMERICHOST, literal) == 0) {
            startConnecting(std::move(literal));
            return;
        }
        if (const qsizetype percent = m_target.host.indexOf(u'%'); percent >= 0) {
            // A literal address whose interface is not on this machine.
            m_detail = m_target.host.mid(percent + 1);
            fail(NetworkFailure::NoSuchInterface);
            return;
        }
        m_resolution = std::make_shared<Resolution>();
        m_resolution->target = m_target;
        if (m_resolution->event < 0) {
            m_detail = QString::fromLocal8Bit(std::strerror(errno));
            fail(NetworkFailure::Other);
            return;
        }
        m_resolved = notifier(m_resolution->event, QSocketNotifier::Read);
        QObject::connect(m_resolved.get(), &QSocketNotifier::activated, this,
                         [this] { takeResolution(); });
        Resolver::instance().submit(m_resolution);
    }

    void takeResolution() {
        discard(m_resolved);
        const auto resolution = std::exchange(m_resolution, nullptr);
        const std::lock_guard lock(resolution->mutex);
        if (resolution->error != 0 || resolution->addresses.empty()) {
            m_detail = QString::fromLocal8Bit(::gai_strerror(resolution->error));
            fail(resolution->error == EAI_SYSTEM ? NetworkFailure::Other
                                                 : NetworkFailure::UnknownHost);
            return;
        }
        startConnecting(resolution->addresses);
    }

    void startConnecting(std::vector<Address> addresses) {
        m_addresses = std::move(addresses);
        m_stage = Stage::Connecting;
        connectNext();
    }

    // Tries the next address of the name, with its share of the time that is left; fails with
    // the last one's error when none is left.
    void connectNext() {
        closeSocket();
        while (m_next < m_addresses.size()) {
            const Address& address = m_addresses[m_next++];
            if (linkLocalWithoutInterface(address)) {
                m_lastFailure = NetworkFailure::NeedsInterface;
                continue;
            }
            m_socket =
                ::socket(address.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (m_socket < 0) {
                noteError(errno);
                continue;
            }
            const int on = 1; // a four-byte frame goes out at once, not with the next one
            ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&address.address),
                          address.length) == 0 ||
                errno == EINPROGRESS) {
                watchSocket();
                m_connectClock.start();
                const auto left = qint64(m_addresses.size() - m_next) + 1;
                m_timer.start(int(std::max<qint64>(1, m_deadline.remainingTime() / left)));
                m_writable->setEnabled(true);
                return;
            }
            noteError(errno);
            closeSocket();
        }
        fail(m_lastFailure);
    }

    void noteError(int error) {
        m_lastFailure = failureOfErrno(error);
        m_detail = QString::fromLocal8Bit(std::strerror(error));
    }

    void watchSocket() {
        m_readable = notifier(m_socket, QSocketNotifier::Read);
        m_writable = notifier(m_socket, QSocketNotifier::Write);
        QObject::connect(m_readable.get(), &QSocketNotifier::activated, this, [this] {
            receive();
            transmit();
        });
        QObject::connect(m_writable.get(), &QSocketNotifier::activated, this, [this] {
            if (m_stage == Stage::Connecting)
                finishConnecting();
            else
                transmit();
        });
    }

    void timeUp() {
        switch (m_stage) {
        case Stage::Connecting:
            // This address had its share: the next one gets what is left.
            m_lastFailure = NetworkFailure::NoAnswer;
            m_detail.clear();
            if (m_next < m_addresses.size()) {
                connectNext();
                return;
            }
            fail(NetworkFailure::NoAnswer);
            return;
        case Stage::Resolving:
        case Stage::Negotiating:
            fail(NetworkFailure::NoAnswer);
            return;
        case Stage::Settling:
            becomeConnected();
            return;
        case Stage::Connected:
        case Stage::Failed:
            return;
        }
    }

    void finishConnecting() {
        pollfd ready{m_socket, POLLOUT, 0};
        if (::poll(&ready, 1, 0) <= 0)
            return;
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            noteError(error);
            connectNext();
            return;
        }
        m_detail.clear();
        m_connectMs = m_connectClock.elapsed();
        m_readable->setEnabled(true);
        m_writable->setEnabled(false);
        if (!m_telnet) {
            settle();
            return;
        }
        m_stage = Stage::Negotiating;
        m_timer.start(int(std::max<qint64>(NegotiationMinimumMs, m_deadline.remainingTime())));
        m_wire += m_telnet->greeting();
        transmit();
    }

    // A server that will not serve this client says so as soon as it has accepted it: the
    // connection counts as made once such a refusal would have arrived, about a round trip
    // (which the connect took) after it was accepted.
    void settle() {
        m_stage = Stage::Settling;
        m_timer.start(int(std::min<qint64>(SettleMinimumMs + 2 * m_connectMs, SettleMaximumMs)));
    }

    void becomeConnected() {
        m_stage = Stage::Connected;
        m_timer.stop();
        const QByteArray held = std::exchange(m_held, {});
        sendData(held);
    }

    void receive() {
        if (m_socket < 0)
            return;
        char chunk[4096];
        for (;;) {
            const ssize_t count = ::recv(m_socket, chunk, sizeof chunk, MSG_DONTWAIT);
            if (count > 0) {
                accept(QByteArray(chunk, count));
                if (m_stage == Stage::Failed)
                    return;
                continue;
            }
            if (count == 0) {
                ended(NetworkFailure::Dropped, {});
            } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                const int error = errno;
                ended(failureOfErrno(error) == NetworkFailure::Other ? NetworkFailure::Dropped
                                                                     : failureOfErrno(error),
                      QString::fromLocal8Bit(std::strerror(error)));
            }
            return;
        }
    }

    // The connection ended: what the server said first, when it said only a line, tells why.
    void ended(NetworkFailure how, const QString& detail) {
        if (isServerText(m_said)) {
            m_detail = QString::fromLatin1(m_said.trimmed());
            fail(isBusyText(m_said) ? NetworkFailure::Busy : NetworkFailure::ServerText);
            return;
        }
        m_detail = detail;
        fail(how);
    }

    void accept(const QByteArray& wire) {
        QByteArray data = wire;
        if (m_telnet) {
            QByteArray replies;
            data = m_telnet->decode(wire, replies);
            m_wire += replies;
            // Ready once the server took the option or refused it: the line settings then go
            // ahead of the player's bytes, and its confirmations are judged as they come.
            if (m_stage == Stage::Negotiating && m_telnet->comPortAnswered())
                settle();
        }
        // The server's text is judged on the data, its Telnet commands taken out.
        if (m_said.size() <= ServerTextLimit)
            m_said += data.left(ServerTextLimit + 1 - m_said.size());
        m_incoming += data.left(qMax<qsizetype>(0, InputLimit - m_incoming.size()));
        if (!data.isEmpty() && m_sentAt.isValid()) {
            m_roundTrip = std::min(m_roundTrip.value_or(m_sentAt.elapsed()), m_sentAt.elapsed());
            m_sentAt.invalidate();
        }
    }

    void transmit() {
        while (m_socket >= 0 && !m_wire.isEmpty() && m_stage != Stage::Connecting) {
            const ssize_t sent = ::send(m_socket, m_wire.constData(), size_t(m_wire.size()),
                                        MSG_DONTWAIT | MSG_NOSIGNAL);
            if (sent > 0) {
                m_wire.remove(0, sent);
                continue;
            }
            if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                const int error = errno;
                // What the server said before it went explains more than the failed send.
                receive();
                if (m_stage != Stage::Failed)
                    ended(error == ECONNRESET ? NetworkFailure::Reset : NetworkFailure::Dropped,
                          QString::fromLocal8Bit(std::strerror(error)));
            }
            break;
        }
        if (m_writable)
            m_writable->setEnabled(m_stage != Stage::Failed &&
                                   (m_stage == Stage::Connecting || !m_wire.isEmpty()));
    }

    // Sends what is queued, waiting at most FlushMs: bytes written before the link went (the
    // command line's last frame, say) still reach the server.
    void flush() {
        if (m_stage != Stage::Connected)
            return;
        const QDeadlineTimer deadline(FlushMs);
        while (!m_wire.isEmpty() && m_socket >= 0 && !deadline.hasExpired()) {
            pollfd ready{m_socket, POLLOUT, 0};
            if (::poll(&ready, 1, int(deadline.remainingTime())) <= 0)
                return;
            const ssize_t sent = ::send(m_socket, m_wire.constData(), size_t(m_wire.size()),
                                        MSG_DONTWAIT | MSG_NOSIGNAL);
            if (sent < 0 && errno != EAGAIN && errno != EINTR)
                return;
            m_wire.remove(0, qMax<ssize_t>(0, sent));
        }
    }

    void fail(NetworkFailure failure) {
        discard(m_resolved);
        m_resolution.reset();
        m_failure = failure;
        m_stage = Stage::Failed;
        m_timer.stop();
        m_wire.clear();
        m_held.clear();
        closeSocket();
    }

    // A notifier of the connection's, off until wanted.
    std::unique_ptr<QSocketNotifier> notifier(int descriptor, QSocketNotifier::Type type) {
        auto made = std::make_unique<QSocketNotifier>(descriptor, type, this);
        made->setEnabled(type == QSocketNotifier::Read && descriptor != m_socket);
        return made;
    }
    // Goes once the event loop is back: it may be the one whose signal runs now. The connection
    // stays its parent until then.
    static void discard(std::unique_ptr<QSocketNotifier>& notifier) {
        if (!notifier)
            return;
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    }

    void closeSocket() {
        discard(m_readable);
        discard(m_writable);
        if (m_socket >= 0)
            ::close(m_socket);
        m_socket = -1;
    }

    NetworkTarget m_target;
    QDeadlineTimer m_deadline;
    QTimer m_timer; // the connect time, each address's share of it, the settling
    QElapsedTimer m_connectClock;
    qint64 m_connectMs = 0; // how long the connect took: a round trip
    std::shared_ptr<Resolution> m_resolution;
    std::unique_ptr<QSocketNotifier> m_resolved;
    std::vector<Address> m_addresses;
    size_t m_next = 0;
    NetworkFailure m_lastFailure = NetworkFailure::NoAnswer;
    Stage m_stage = Stage::Resolving;
    int m_socket = -1;
    std::unique_ptr<QSocketNotifier> m_readable;
    std::unique_ptr<QSocketNotifier> m_writable;
    std::optional<TelnetCodec> m_telnet;
    QByteArray m_held;      // the player's bytes written before the connection was ready
    QByteArray m_wire;      // on the wire's terms, Telnet escapes and commands included
    QByteArray m_incoming;  // the player's bytes
    QByteArray m_said;      // the first data of the connection, as the server sent it
    QElapsedTimer m_sentAt; // since the first write that no bytes from the server followed yet
    std::optional<qint64> m_roundTrip;
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
    found->second->service();
    return found->second.get();
}

int NetworkSerialLink::open(int port) {
    close(port);
    const auto target = m_targets(port);
    if (!target)
        return NoDevice;
    auto& connection = m_connections[port];
    if (connection)
        connection->service();
    if (!connection || connection->failure() || connection->target() != *target) {
        connection.reset(); // the old one flushes and goes first
        connection = std::make_unique<Connection>(*target, m_connectMs);
    }
    connection->purge(); // a freshly opened port starts with empty input
    m_open[port] = true;
    if (const int state = readiness(port); state < 0) {
        m_open.erase(port);
        return state;
    }
    return 0;
}

int NetworkSerialLink::readiness(int port) {
    const Connection* connection = openConnection(port);
    if (!connection)
        return NotOpen;
    if (const auto failed = connection->failure())
        return *failed == NetworkFailure::Busy ? PortBusy : SystemError;
    return connection->opening() ? Opening : 0;
}

int NetworkSerialLink::transitAllowanceMs(int port) {
    const Connection* connection = openConnection(port);
    if (!connection)
        return 0;
    // Once a round trip has been seen, a little more than it; before, the most a network may take.
    const auto seen = connection->roundTripMs();
    return seen ? int(std::min<qint64>(*seen + RoundTripMarginMs, TransitAllowanceMs))
                : TransitAllowanceMs;
}

int NetworkSerialLink::ioctl(int port, int baudCode, int modeCode) {
    const Connection* connection = openConnection(port);
    if (!connection)
        return NotOpen;
    if (connection->failure())
        return SystemError;
    if (baudCode != Baud9600 || modeCode != Mode8N1)
        return UnsupportedSetting;
    // The raw form leaves the line to the server; the Telnet form has the server confirm it.
    return connection->ready() && connection->lineRefused() ? UnsupportedSetting : 0;
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
        connection->purge();
}

std::optional<NetworkFailure> NetworkSerialLink::failure(int port) {
    const auto found = m_connections.find(port);
    if (found == m_connections.end())
        return std::nullopt;
    found->second->service();
    return found->second->failure();
}

QString NetworkSerialLink::failureCause(int port) {
    const auto found = m_connections.find(port);
    if (found == m_connections.end())
        return {};
    Connection& connection = *found->second;
    connection.service();
    if (const auto failed = connection.failure())
        return networkCauseLine(connection.target(), *failed, connection.detail());
    // A probe that ended while the connection was still being made met a silent server.
    if (!connection.ready())
        return networkCauseLine(connection.target(), NetworkFailure::NoAnswer);
    if (connection.lineRefused())
        return QCoreApplication::translate("NetworkSerialLink",
                                           "原因：串口服务器不接受9600 8N1的设置（网络串口 %1）。")
            .arg(connection.target().display());
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
    case NetworkFailure::Reset:
        return QCoreApplication::translate("NetworkSerialLink", "原因：网络串口 %1 重置了连接。")
            .arg(server);
    case NetworkFailure::ServerText:
        return QCoreApplication::translate("NetworkSerialLink", "原因：网络串口 %1 拒绝服务：%2")
            .arg(server, detail);
    case NetworkFailure::NeedsInterface:
        return QCoreApplication::translate(
                   "NetworkSerialLink",
                   "原因：网络串口 %1 是链路本地地址，须写明经由的网卡，例如 [fe80::7%eth0]。")
            .arg(server);
    case NetworkFailure::NoSuchInterface:
        return QCoreApplication::translate("NetworkSerialLink",
                                           "原因：本机没有网卡 %2，无法到达网络串口 %1。")
            .arg(server, detail);
    case NetworkFailure::Other:
        break;
    }
    return QCoreApplication::translate("NetworkSerialLink", "原因：无法连接网络串口 %1：%2")
        .arg(server, detail);
}

} // namespace tessaly
