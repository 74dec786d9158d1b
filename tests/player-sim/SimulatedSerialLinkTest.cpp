#include "PlayerSimTesting.h"

using namespace tessaly;
using tessaly::testing::PlayerOnLine;

namespace {

const std::array<quint8, 4> Probe{0xFE, 0x01, 0x00, 0xFF};

TEST(SimulatedLink, OnlyThePlayersPortOpensAndOnlyOnce) {
    VirtualClock clock;
    SimulatedSerialLink link(clock, {}, 3);
    EXPECT_NE(link.open(1), 0);
    EXPECT_EQ(link.open(3), 0);
    EXPECT_NE(link.open(3), 0);
    EXPECT_EQ(link.openCount(), 1);
    EXPECT_EQ(link.close(1), 0); // harmless
    EXPECT_EQ(link.close(3), 0);
    EXPECT_EQ(link.close(3), 0);
    EXPECT_EQ(link.closeCount(), 1);
}

TEST(SimulatedLink, PortFaults) {
    VirtualClock clock;
    SimulatedSerialLink link(clock);
    link.setOpenFails(true);
    EXPECT_NE(link.open(1), 0);
    EXPECT_FALSE(link.isOpen());

    link.setOpenFails(false);
    link.setIoctlFails(true);
    ASSERT_EQ(link.open(1), 0);
    EXPECT_NE(link.ioctl(1, SerialLink::Baud9600, SerialLink::Mode8N1), 0);
}

TEST(SimulatedLink, ClosedPortNeitherWritesNorReads) {
    VirtualClock clock;
    SimulatedSerialLink link(clock);
    std::array<quint8, 8> buffer{};
    EXPECT_LT(link.write(1, Probe.data(), int(Probe.size())), 0);
    EXPECT_LT(link.read(1, buffer.data(), int(buffer.size())), 0);
    EXPECT_EQ(link.writeCount(), 0);
    EXPECT_EQ(link.bytesWritten(), 0);
    EXPECT_TRUE(link.player().received().empty());
}

TEST(SimulatedLink, BytesReachThePlayerOnlyAt9600Baud8N1) {
    VirtualClock clock;
    SimulatedSerialLink link(clock);
    ASSERT_EQ(link.open(1), 0);
    EXPECT_EQ(link.write(1, Probe.data(), int(Probe.size())), 4); // line never set
    ASSERT_EQ(link.ioctl(1, 13, SerialLink::Mode8N1), 0);
    EXPECT_EQ(link.write(1, Probe.data(), int(Probe.size())), 4);
    EXPECT_TRUE(link.player().received().empty());
    EXPECT_EQ(link.writeCount(), 2);
    EXPECT_EQ(link.bytesWritten(), 8);
}

using Reopening = PlayerOnLine;

TEST_F(Reopening, KeepsThePlayersStateButNotItsPendingReplies) {
    send("FE 05 0A 03 FF FE 07 01 FF FE 01 00 FF");
    ASSERT_EQ(link.close(Port), 0);
    openLine();
    EXPECT_EQ(readAfter(2'000), "");
    EXPECT_EQ(link.player().preheatMinutes(), 10);
    send("FE 06 01 FF");
    EXPECT_EQ(readAll(), "FE 6A 0A 03 FF");
    EXPECT_EQ(link.openCount(), 2);
    EXPECT_EQ(link.closeCount(), 1);
}

} // namespace
