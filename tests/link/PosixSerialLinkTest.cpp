#include "PosixSerialLink.h"

#include "PseudoTerminal.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using namespace tessaly;
using tessaly::testing::PseudoTerminal;

namespace {

int readWithin(SerialLink& link, int port, quint8* buffer, int maximum) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int count = link.read(port, buffer, maximum);
        if (count > 0)
            return count;
        ::usleep(10000);
    }
    return 0;
}

} // namespace

TEST(PosixSerialLink, TalksOverAPseudoTerminal) {
    PseudoTerminal pty;
    PosixSerialLink link(PortMap({{3, pty.device()}}, {}));

    ASSERT_EQ(link.open(3), 0);
    EXPECT_EQ(link.ioctl(3, SerialLink::Baud9600, SerialLink::Mode8N1), 0);

    quint8 buffer[8]{};
    EXPECT_EQ(link.read(3, buffer, 8), 0) << "a read returns at once when nothing has arrived";

    const quint8 probe[] = {0xFE, 0x01, 0x00, 0xFF};
    EXPECT_EQ(link.write(3, probe, 4), 4);
    EXPECT_EQ(pty.readAtLeast(4), QByteArray::fromHex("FE0100FF"));

    // Raw line: 0x0D and 0x11 arrive untranslated, nothing is echoed.
    pty.write(QByteArray::fromHex("FE650DFF11"));
    EXPECT_EQ(readWithin(link, 3, buffer, 8), 5);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), 5), QByteArray::fromHex("FE650DFF11"));

    EXPECT_EQ(link.close(3), 0);
    EXPECT_EQ(link.close(3), 0) << "closing a closed port does no harm";
    EXPECT_LT(link.read(3, buffer, 8), 0);
    EXPECT_LT(link.write(3, probe, 4), 0);
}

TEST(PosixSerialLink, FailuresAreReportedNotFatal) {
    PseudoTerminal pty;
    PosixSerialLink link(
        PortMap({{1, pty.device()}, {2, "/dev/null"}, {4, "/no/such/device"}}, {}));

    EXPECT_NE(link.open(2), 0) << "not a serial device";
    EXPECT_NE(link.open(4), 0);
    EXPECT_NE(link.open(0), 0);
    EXPECT_NE(link.open(21), 0);
    EXPECT_NE(link.ioctl(1, SerialLink::Baud9600, SerialLink::Mode8N1), 0) << "port not open";

    ASSERT_EQ(link.open(1), 0);
    EXPECT_NE(link.ioctl(1, 13, SerialLink::Mode8N1), 0) << "only 9600 8N1 is known";
    EXPECT_EQ(link.open(1), 0) << "reopening an open port";
    EXPECT_EQ(link.ioctl(1, SerialLink::Baud9600, SerialLink::Mode8N1), 0);
}

// Two links on one port would take each other's answers; the second is turned away until the
// first lets go, and a program that opens the device without locking it is kept out as well.
// A link lets go when it ends: closing the port keeps it for the link's own reopen (the probe
// closes and reopens it), so that no other program takes it in between.
TEST(PosixSerialLink, AnOpenPortIsHeldForItsLinkAlone) {
    PseudoTerminal pty;
    auto first = std::make_unique<PosixSerialLink>(PortMap({{1, pty.device()}}, {}));
    PosixSerialLink second(PortMap({{2, pty.device()}}, {}));

    ASSERT_EQ(first->open(1), 0);
    EXPECT_EQ(second.open(2), SerialLink::PortBusy);
    quint8 buffer[8]{};
    EXPECT_LT(second.read(2, buffer, 8), 0) << "the refused link has no port";
    EXPECT_EQ(first->open(1), 0) << "its own link reopens the port";

    // Exclusive mode: an open without the lock fails too, except for root, whom the
    // terminal lets through; the lock above is what holds for everyone.
    const int plain = ::open(pty.device().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (::geteuid() != 0) {
        EXPECT_LT(plain, 0);
    }
    if (plain >= 0)
        ::close(plain);

    first->close(1);
    EXPECT_EQ(second.open(2), SerialLink::PortBusy) << "closed, and still the first link's";
    EXPECT_EQ(first->open(1), 0);
    first.reset();
    EXPECT_EQ(second.open(2), 0) << "free once the first link has gone";
    second.close(2);
    const int after = ::open(pty.device().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    EXPECT_GE(after, 0) << "a closed port leaves no exclusive mode behind";
    if (after >= 0)
        ::close(after);
}
