#pragma once

#include "Ser2Net.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tessaly::testing {

// A small TCP server on 127.0.0.1 that serves each connection with a script of its own, on a
// thread of its own: the misbehaving serial device servers a network link must name right.
class LoopbackServer {
public:
    // Runs for one accepted client; the connection is closed when it returns (unless the script
    // closed it itself and returned -1 into `client`).
    using Script = std::function<void(LoopbackServer& server, int& client)>;

    explicit LoopbackServer(Script script, int acceptDelayMs = 0)
        : m_script(std::move(script)), m_acceptDelayMs(acceptDelayMs),
          m_listener(listenOnLoopback(m_port)) {
        m_thread = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        m_stop = true;
        m_thread.join();
        ::close(m_listener);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    quint16 port() const { return m_port; }
    bool stopping() const { return m_stop; }
    // Everything the clients sent that the scripts read.
    QByteArray heard() const {
        std::lock_guard lock(m_mutex);
        return m_heard;
    }

    // Reads what comes within `ms`, at most `maximum` bytes a read; empty when the client went.
    QByteArray listen(int client, int ms, int maximum = 4096) {
        QByteArray got;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!m_stop && std::chrono::steady_clock::now() < until) {
            pollfd ready{client, POLLIN, 0};
            if (::poll(&ready, 1, 10) <= 0)
                continue;
            char chunk[4096];
            const ssize_t count = ::recv(client, chunk, size_t(std::min(maximum, 4096)), 0);
            if (count <= 0)
                break;
            got.append(chunk, int(count));
            std::lock_guard lock(m_mutex);
            m_heard.append(chunk, int(count));
        }
        return got;
    }
    static void say(int client, const QByteArray& bytes) {
        ::send(client, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
    }
    // Closes with a reset rather than a goodbye.
    static void reset(int& client) {
        const linger abort{1, 0};
        ::setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        ::close(client);
        client = -1;
    }

private:
    void serve() {
        std::this_thread::sleep_for(std::chrono::milliseconds(m_acceptDelayMs));
        while (!m_stop) {
            pollfd listening{m_listener, POLLIN, 0};
            if (::poll(&listening, 1, 20) <= 0)
                continue;
            int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            m_script(*this, client);
            if (client >= 0)
                ::close(client);
        }
    }

    Script m_script;
    int m_acceptDelayMs;
    quint16 m_port = 0;
    int m_listener = -1;
    std::atomic<bool> m_stop = false;
    mutable std::mutex m_mutex;
    QByteArray m_heard;
    std::thread m_thread;
};

} // namespace tessaly::testing
