#include "NetworkSerialLink.h"
#include "DeviceChannel.h"
#include "NetworkPortSettings.h"
#include "RealClock.h"
#include "RoutedSerialLink.h"

#include "LoopbackServer.h"
#include "MachineSettings.h"
#include "Ser2Net.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <optional>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// The Telnet server's side: binary both ways and the COM-PORT-OPTION agreed, and the player's
// line confirmed as asked.
const QByteArray Agreement = hex("fffd2c fffb00 fffd00"
                                 "fffa2c65 00002580 fff0 fffa2c66 08 fff0"
                                 "fffa2c67 01 fff0 fffa2c68 01 fff0");
const QByteArray ProbeReply = hex("fe6501ff");

// Takes what the client says first (its Telnet requests, say) before the script answers.
void hearGreeting(LoopbackServer& server, int client) {
    server.listen(client, 100);
}

// Keeps the connection, reading nothing, until the client goes or the server stops.
void holdOpen(LoopbackServer& server, int client) {
    while (!server.stopping()) {
        pollfd ready{client, POLLRDHUP, 0};
        if (::poll(&ready, 1, 20) > 0)
            return;
    }
}

struct Case {
    const char* what;
    NetworkTarget::Kind kind;
    LoopbackServer::Script script; // empty: nothing listens
    int acceptDelayMs = 0;
    std::optional<int> opened; // what the wait for the connection ends with, where it is sure
    QByteArray data;           // what the link reads once the player's bytes are written
    QString cause;             // in the cause line afterwards; empty: none
    bool lineSet = true;
};

// The link's view of one server: what the wait for the connection gives, what it reads back
// after writing `ProbeCommand`, and the cause it names.
struct Seen {
    int opened = 0;
    QByteArray data;
    QString cause;
    int line = 0;
};

const QByteArray ProbeCommand = hex("fe0301ff");

Seen exercise(const NetworkTarget& target, qsizetype expected) {
    NetworkSerialLink link([&](int) { return target; }, 1000);
    RealClock clock;
    Seen seen;
    seen.opened = QCoro::waitFor(openWhenReady(link, 1, clock));
    if (seen.opened == 0) {
        seen.line = link.ioctl(1, SerialLink::Baud9600, SerialLink::Mode8N1);
        link.write(1, reinterpret_cast<const quint8*>(ProbeCommand.constData()),
                   int(ProbeCommand.size()));
        QElapsedTimer waited;
        waited.start();
        // Bytes move while the clock is awaited: the event loop drives the socket.
        while (waited.elapsed() < 1500 && !link.lost(1) &&
               (expected == 0 ? waited.elapsed() < 300 : seen.data.size() < expected)) {
            QCoro::waitFor(clock.wait(10));
            quint8 chunk[256];
            const int count = link.read(1, chunk, sizeof chunk);
            if (count > 0)
                seen.data.append(reinterpret_cast<const char*>(chunk), count);
        }
    }
    seen.cause = link.failureCause(1);
    return seen;
}

// The sockets are driven by an event loop, which wants an application object.
class NetworkLink : public ::testing::Test {
    int m_argc = 0;
    QCoreApplication m_application{m_argc, nullptr};
};

} // namespace

// Each server, as a client of serial device servers meets them: the wait for the connection
// ends as it should, the player's bytes pass, and the cause line names what went wrong.
TEST_F(NetworkLink, NamesWhatEachServerDoes) {
    using Kind = NetworkTarget::Kind;
    const std::vector<Case> cases{
        {"refuse", Kind::RawSocket, {}, 0, SerialLink::SystemError, {}, "拒绝连接"},
        {"silent raw", Kind::RawSocket, holdOpen, 0, 0, {}, {}},
        {"silent Telnet", Kind::Rfc2217, holdOpen, 0, SerialLink::SystemError, {}, "没有应答"},
        {"slow accept",
         Kind::RawSocket,
         [](LoopbackServer& server, int client) {
             LoopbackServer::say(client, server.listen(client, 300));
             holdOpen(server, client);
         },
         400,
         0,
         ProbeCommand,
         {}},
        {"text then close",
         Kind::RawSocket,
         [](LoopbackServer&, int client) {
             LoopbackServer::say(client, "Could not open /dev/ttyS9\r\n");
         },
         0,
         SerialLink::SystemError,
         {},
         "拒绝服务：Could not open /dev/ttyS9"},
        {"reset",
         Kind::RawSocket,
         [](LoopbackServer& server, int& client) {
             server.listen(client, 200);
             LoopbackServer::reset(client);
         },
         0,
         0,
         {},
         "重置了连接"},
        {"drop",
         Kind::RawSocket,
         [](LoopbackServer& server, int client) { server.listen(client, 200); },
         0,
         0,
         {},
         "断开了连接"},
        {"negotiation then busy text",
         Kind::Rfc2217,
         [](LoopbackServer& server, int client) {
             hearGreeting(server, client);
             LoopbackServer::say(client, hex("fffd2c fffb00 fffd00") + "Port already in use\r\n");
         },
         0,
         SerialLink::PortBusy,
         {},
         "端口忙"},
        {"DONT COM-PORT-OPTION", Kind::Rfc2217,
         [](LoopbackServer& server, int client) {
             hearGreeting(server, client);
             LoopbackServer::say(client, hex("fffe2c fffb00 fffd00"));
             server.listen(client, 200);
             LoopbackServer::say(client, ProbeReply + hex("ff"));
             holdOpen(server, client);
         },
         0, 0, ProbeReply, "串口服务器不接受9600 8N1的设置", false},
        {"WONT BINARY with CR NUL",
         Kind::Rfc2217,
         [](LoopbackServer& server, int client) {
             hearGreeting(server, client);
             LoopbackServer::say(client, Agreement + hex("fffc00"));
             server.listen(client, 200);
             LoopbackServer::say(client, hex("410d0042 0d0a fe6501ffff"));
             holdOpen(server, client);
         },
         0,
         0,
         hex("410d42 0d0a fe6501ff"),
         {}},
        {"one byte at a time",
         Kind::RawSocket,
         [](LoopbackServer& server, int client) {
             for (QByteArray byte;
                  !(byte = server.listen(client, 30, 1)).isEmpty() || !server.stopping();)
                 LoopbackServer::say(client, byte);
         },
         0,
         0,
         ProbeCommand,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<LoopbackServer> server;
        quint16 port = freeLoopbackPort();
        if (c.script) {
            server.emplace(c.script, c.acceptDelayMs);
            port = server->port();
        }
        const Seen seen = exercise({c.kind, "127.0.0.1", port}, c.data.size());
        if (c.opened) {
            EXPECT_EQ(seen.opened, *c.opened);
        }
        EXPECT_EQ(seen.data, c.data);
        if (c.cause.isEmpty()) {
            EXPECT_EQ(seen.cause, QString());
        } else {
            EXPECT_TRUE(seen.cause.contains(c.cause)) << seen.cause.toStdString();
        }
        if (seen.opened == 0) {
            EXPECT_EQ(seen.line == 0, c.lineSet);
        }
    }
}

// A name resolves on the resolver thread, and each of its addresses is tried: "localhost" may
// give ::1, where nothing listens, before 127.0.0.1.
TEST_F(NetworkLink, TriesEachAddressOfAName) {
    LoopbackServer echo([](LoopbackServer& server, int client) {
        LoopbackServer::say(client, server.listen(client, 300));
        holdOpen(server, client);
    });
    const Seen seen =
        exercise({NetworkTarget::Kind::RawSocket, "localhost", echo.port()}, ProbeCommand.size());
    EXPECT_EQ(seen.opened, 0);
    EXPECT_EQ(seen.data, ProbeCommand);
}

// A link-local address is reached through an interface: without one, or with one this machine
// lacks, the link refuses at once and says why, sending nothing.
TEST_F(NetworkLink, ALinkLocalAddressNeedsAnInterfaceOfThisMachine) {
    const auto without = parseNetworkTarget("socket://[fe80::7]:7003");
    const auto unknown = parseNetworkTarget("socket://[fe80::7%nosuch0]:7003");
    ASSERT_TRUE(without && unknown);
    EXPECT_EQ(unknown->host, "fe80::7%nosuch0");
    QElapsedTimer timer;
    timer.start();
    const Seen first = exercise(*without, 0);
    EXPECT_EQ(first.opened, SerialLink::SystemError);
    EXPECT_TRUE(first.cause.contains("链路本地地址")) << first.cause.toStdString();
    const Seen second = exercise(*unknown, 0);
    EXPECT_EQ(second.opened, SerialLink::SystemError);
    EXPECT_TRUE(second.cause.contains("nosuch0")) << second.cause.toStdString();
    EXPECT_LT(timer.elapsed(), 500);
}

// A purge drops what came and what is still on its way in; what the server sends after it is
// read.
TEST_F(NetworkLink, APurgeDropsWhatCameBeforeIt) {
    LoopbackServer server([](LoopbackServer& self, int client) {
        LoopbackServer::say(client, "stale");
        self.listen(client, 300);
        LoopbackServer::say(client, "fresh");
        holdOpen(self, client);
    });
    NetworkSerialLink link([&](int) {
        return NetworkTarget{NetworkTarget::Kind::RawSocket, "127.0.0.1", server.port()};
    });
    RealClock clock;
    ASSERT_EQ(QCoro::waitFor(openWhenReady(link, 1, clock)), 0);
    QCoro::waitFor(clock.wait(150));
    link.purgeInput(1);
    const quint8 poke = 0;
    link.write(1, &poke, 1);
    QByteArray read;
    for (int i = 0; i < 100 && read.size() < 5; ++i) {
        QCoro::waitFor(clock.wait(10));
        quint8 chunk[16];
        if (const int count = link.read(1, chunk, sizeof chunk); count > 0)
            read.append(reinterpret_cast<const char*>(chunk), count);
    }
    EXPECT_EQ(read, "fresh");
}

// Where a COM leads is decided when it opens: pointing it elsewhere meanwhile changes nothing
// for the sequence that runs, and the next opening goes where it points then.
TEST_F(NetworkLink, AComKeepsItsRouteUntilItIsClosed) {
    FreshMachineSettings machine;
    const auto greeter = [](const char* name) {
        return [name](LoopbackServer& server, int client) {
            server.listen(client, 200);
            LoopbackServer::say(client, name);
            holdOpen(server, client);
        };
    };
    LoopbackServer first(greeter("first"));
    LoopbackServer second(greeter("second"));
    const auto pointAt = [](const LoopbackServer& server) {
        ASSERT_TRUE(storeNetworkTarget(
            5, {NetworkTarget::Kind::RawSocket, "127.0.0.1", server.port()}, nullptr));
    };
    RoutedSerialLink link(PortMap(QMap<int, QString>{}, QStringList{}));
    RealClock clock;
    const auto answer = [&] {
        const quint8 poke = 0;
        link.write(5, &poke, 1);
        QByteArray read;
        for (int i = 0; i < 200 && !read.endsWith('t') && !read.endsWith('d'); ++i) {
            QCoro::waitFor(clock.wait(10));
            quint8 chunk[16];
            if (const int count = link.read(5, chunk, sizeof chunk); count > 0)
                read.append(reinterpret_cast<const char*>(chunk), count);
        }
        return read;
    };

    pointAt(first);
    ASSERT_EQ(QCoro::waitFor(openWhenReady(link, 5, clock)), 0);
    ASSERT_TRUE(clearNetworkTarget(5, nullptr)); // COM5 is no server now: still, for this run
    EXPECT_EQ(answer(), "first");
    pointAt(second);
    link.close(5);
    ASSERT_EQ(QCoro::waitFor(openWhenReady(link, 5, clock)), 0);
    EXPECT_EQ(answer(), "second");
}
