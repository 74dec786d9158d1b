#include "PosixSerialLink.h"
#include "Probe.h"
#include "RealClock.h"

#include "PlayerProcess.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace tessaly;
using tessaly::testing::PlayerProcess;

namespace {

ProbeResult probeThrough(const QString& device, ProbeVariant variant) {
    RealClock clock;
    PosixSerialLink serial(PortMap({{1, device}}, {}));
    LinkState state;
    DeviceChannel channel(serial, state);
    return QCoro::waitFor(ProbeDevice(channel, clock, variant));
}

} // namespace

TEST(ProbeEndToEnd, RealSerialCodeAgainstThePlayerOnAPseudoTerminal) {
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    QTemporaryDir folder;
    const QString log = folder.filePath("wire.log");

    PlayerProcess answering(TESSALY_PLAYER_SIM, {"--log", log});
    ASSERT_TRUE(answering.device().startsWith("/dev/")) << answering.device().toStdString();
    EXPECT_EQ(probeThrough(answering.device(), probe::SettingsTest), ProbeResult::Accepted);
    EXPECT_EQ(probeThrough(answering.device(), probe::SetButton), ProbeResult::Accepted);

    QFile wire(log);
    ASSERT_TRUE(wire.open(QIODevice::ReadOnly));
    EXPECT_TRUE(wire.readAll().toUpper().contains("FE 01 00 FF")) << "the player logs what it got";

    PlayerProcess silent(TESSALY_PLAYER_SIM, {"--silent"});
    EXPECT_EQ(probeThrough(silent.device(), probe::SettingsTest), ProbeResult::NoReply);
}
