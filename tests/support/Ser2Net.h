#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <deque>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tessaly::testing {

// A loopback TCP port that nothing listens on at the moment of asking.
inline quint16 freeLoopbackPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
}

// A blocking connection to a loopback port; -1 when refused.
inline int connectLoopback(quint16 port) {
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return client;
    ::close(client);
    return -1;
}

// A socket listening on a free loopback port, which `port` receives.
inline int listenOnLoopback(quint16& port) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener, 4);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return listener;
}

// ser2net serving `device` (the simulated player's pseudo-terminal) on a free loopback port, in
// raw or RFC 2217 mode, from a configuration of its own; stopped by its process id.
class Ser2NetProcess {
public:
    enum class Mode { Raw, Rfc2217 };

    Ser2NetProcess(const QString& device, Mode mode) : m_mode(mode), m_port(freeLoopbackPort()) {
        const QString accepter =
            mode == Mode::Rfc2217 ? QStringLiteral("telnet(rfc2217),tcp") : QStringLiteral("tcp");
        QFile config(m_folder.filePath("ser2net.yaml"));
        config.open(QIODevice::WriteOnly);
        config.write(QStringLiteral("connection: &player\n"
                                    "  accepter: %1,127.0.0.1,%2\n"
                                    "  connector: serialdev,%3,9600n81,local\n")
                         .arg(accepter)
                         .arg(m_port)
                         .arg(device)
                         .toUtf8());
        config.close();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("ser2net"), {"-n", "-c", config.fileName()});
        m_started = m_process.waitForStarted(5000) && waitUntilListening();
    }
    ~Ser2NetProcess() { stop(); }

    Ser2NetProcess(const Ser2NetProcess&) = delete;
    Ser2NetProcess& operator=(const Ser2NetProcess&) = delete;

    bool started() const { return m_started; }
    quint16 port() const { return m_port; }
    QString url() const {
        return QStringLiteral("%1://127.0.0.1:%2")
            .arg(m_mode == Mode::Rfc2217 ? "rfc2217" : "socket")
            .arg(m_port);
    }

    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            kill();
    }
    // Gone at once, as a server that loses power: no goodbye on any connection.
    void kill() {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(5000);
    }

private:
    bool waitUntilListening() {
        const QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            // A bare connect would take the server's one client place for a moment; asking the
            // kernel whether the port is bound would need root, so a connect it is, closed at once.
            if (const int client = connectLoopback(m_port); client >= 0) {
                ::close(client);
                QThread::msleep(100); // ser2net lets the place go
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    Mode m_mode;
    QTemporaryDir m_folder;
    quint16 m_port;
    QProcess m_process;
    bool m_started = false;
};

// A loopback relay that holds every piece of traffic `delayMs` before passing it on, each way:
// a slow link between the PC and the server. Serves one connection at a time.
class DelayingProxy {
public:
    DelayingProxy(quint16 upstream, int delayMs)
        : m_upstream(upstream), m_delayMs(delayMs), m_listener(listenOnLoopback(m_port)) {
        m_thread = std::thread([this] { serve(); });
    }
    ~DelayingProxy() {
        m_stop = true;
        m_thread.join();
        ::close(m_listener);
    }

    quint16 port() const { return m_port; }

private:
    using Clock = std::chrono::steady_clock;
    struct Piece {
        Clock::time_point due;
        QByteArray bytes;
    };

    void serve() {
        while (!m_stop) {
            pollfd listening{m_listener, POLLIN, 0};
            if (::poll(&listening, 1, 50) <= 0)
                continue;
            const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            const int server = connectLoopback(m_upstream);
            if (server >= 0)
                relay(client, server);
            ::close(client);
            if (server >= 0)
                ::close(server);
        }
    }

    // Moves bytes both ways, each piece held for the delay, until either side closes.
    void relay(int client, int server) {
        std::deque<Piece> toServer;
        std::deque<Piece> toClient;
        bool open = true;
        while (!m_stop && (open || !toServer.empty() || !toClient.empty())) {
            pollfd ends[2]{{client, POLLIN, 0}, {server, POLLIN, 0}};
            ::poll(ends, open ? 2 : 0, 5);
            open = open && take(ends[0], toServer) && take(ends[1], toClient);
            pass(toServer, server);
            pass(toClient, client);
        }
    }

    bool take(const pollfd& end, std::deque<Piece>& queue) {
        if (!(end.revents & (POLLIN | POLLHUP | POLLERR)))
            return true;
        char chunk[4096];
        const ssize_t count = ::recv(end.fd, chunk, sizeof chunk, 0);
        if (count <= 0)
            return false;
        queue.push_back(
            {Clock::now() + std::chrono::milliseconds(m_delayMs), QByteArray(chunk, int(count))});
        return true;
    }

    static void pass(std::deque<Piece>& queue, int to) {
        while (!queue.empty() && queue.front().due <= Clock::now()) {
            ::send(to, queue.front().bytes.constData(), size_t(queue.front().bytes.size()),
                   MSG_NOSIGNAL);
            queue.pop_front();
        }
    }

    quint16 m_upstream;
    int m_delayMs;
    quint16 m_port = 0;
    int m_listener = -1;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

} // namespace tessaly::testing
