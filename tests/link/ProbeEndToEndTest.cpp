#include "PosixSerialLink.h"
#include "Probe.h"
#include "RealClock.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

using namespace tessaly;

namespace {

// tessaly-player-sim on a real pseudo-terminal, stopped by its process id at the end.
class PlayerProcess {
public:
    explicit PlayerProcess(QStringList arguments) {
        m_process.start(QStringLiteral(TESSALY_PLAYER_SIM), arguments);
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000))
            m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~PlayerProcess() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    QString device() const { return m_device; }

private:
    QProcess m_process;
    QString m_device;
};

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

    PlayerProcess answering({"--log", log});
    ASSERT_TRUE(answering.device().startsWith("/dev/")) << answering.device().toStdString();
    EXPECT_EQ(probeThrough(answering.device(), probe::SettingsTest), ProbeResult::Accepted);
    EXPECT_EQ(probeThrough(answering.device(), probe::SetButton), ProbeResult::Accepted);

    QFile wire(log);
    ASSERT_TRUE(wire.open(QIODevice::ReadOnly));
    EXPECT_TRUE(wire.readAll().toUpper().contains("FE 01 00 FF")) << "the player logs what it got";

    PlayerProcess silent({"--silent"});
    EXPECT_EQ(probeThrough(silent.device(), probe::SettingsTest), ProbeResult::NoReply);
}
