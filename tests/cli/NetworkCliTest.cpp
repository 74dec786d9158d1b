#include "CliProcess.h"
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "PlayerLog.h"
#include "PlayerProcess.h"
#include "ProgramSamples.h"
#include "ProgramStore.h"
#include "Ser2Net.h"
#include "Verify.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

using Mode = Ser2NetProcess::Mode;

QStringList framesOf(const QList<Heard>& lines) {
    QStringList frames;
    for (const Heard& line : lines)
        frames << line.frame;
    return frames;
}

// The PC's programs in two sets, in a database of the test's own.
class NetworkCli : public ::testing::Test {
protected:
    void SetUp() override {
        QString error;
        ASSERT_TRUE(createPlayerDatabase(database, &error)) << error.toStdString();
        ScriptedPrompter quiet;
        ASSERT_TRUE(data.ConnectDatabase(quiet, folder.path()));
        for (const auto& program : {sampleProgram(2, "001", 7, "123"), sampleProgram(2, "002", 8),
                                    sampleProgram(1, "001", 6)})
            ASSERT_TRUE(ProgramStore(data.database()).insert(ProgramTable::MusicTab, program));
    }

    CliRun cli(const QStringList& arguments, const QString& com3) {
        return runCli(TESSALY_CLI, QStringList{"--db", database, "--port", "3"} + arguments,
                      {{"TESSALY_COM3", com3}});
    }

    QStringList pcPrograms() {
        QStringList rows;
        const auto programs = ProgramStore(data.database()).allPrograms(ProgramTable::MusicTab);
        for (const auto& program : programs.value())
            for (const auto& [name, value] : programFields(program))
                rows << name + u'=' + value;
        return rows;
    }

    QTemporaryDir folder;
    const QString database = folder.filePath(databaseFileName());
    DataModule data;
};

// What the operator does with a player, in order; every step must succeed.
const QList<QStringList> OperatorSession{
    {"probe"},         {"load", "--set", "2"}, {"load", "--all"}, {"read", "--set", "2"},
    {"read", "--all"}, {"verify", "--all"},
};

} // namespace

// Over ser2net, raw and RFC 2217 alike, every operation succeeds and the player hears exactly
// what it hears on a local port, byte for byte and in the same order.
TEST_F(NetworkCli, EveryOperationOverSer2NetSendsWhatALocalPortSends) {
    const auto runSession = [this](const QString& how, auto&& com3Of) {
        SCOPED_TRACE(how.toStdString());
        const QString log = folder.filePath(how + ".log");
        PlayerProcess player(TESSALY_PLAYER_SIM, {"--log", log});
        EXPECT_FALSE(player.device().isEmpty());
        const QString com3 = com3Of(player.device());
        for (const QStringList& step : OperatorSession) {
            const CliRun run = cli(step, com3);
            EXPECT_EQ(run.exitCode, 0) << step.join(' ').toStdString() << ": "
                                       << run.out.toStdString() << run.err.toStdString();
        }
        player.stop();
        return framesOf(heard(log));
    };

    const QStringList local = runSession("local", [](const QString& device) { return device; });
    ASSERT_GT(local.size(), 10);
    for (const Mode mode : {Mode::Raw, Mode::Rfc2217}) {
        std::unique_ptr<Ser2NetProcess> server;
        const QStringList network =
            runSession(mode == Mode::Raw ? "raw" : "rfc2217", [&](const QString& device) {
                server = std::make_unique<Ser2NetProcess>(device, mode);
                EXPECT_TRUE(server->started());
                return server->url();
            });
        EXPECT_EQ(network, local);
    }
}

// A COM pointed at a server by `ports --set` stays pointed there for later runs: the probe and
// a load go over the network without any variable naming the server.
TEST_F(NetworkCli, AStoredTargetIsWhereTheComLeads) {
    PlayerProcess player(TESSALY_PLAYER_SIM, {});
    Ser2NetProcess server(player.device(), Mode::Rfc2217);
    ASSERT_TRUE(server.started());
    QTemporaryDir configuration;
    const QMap<QString, QString> machine{{"XDG_CONFIG_HOME", configuration.path()}};
    ASSERT_EQ(runCli(TESSALY_CLI, {"ports", "--set", "3", server.url()}, machine).exitCode, 0);
    for (const QStringList& step : {QStringList{"probe"}, QStringList{"load", "--set", "2"}}) {
        const CliRun run =
            runCli(TESSALY_CLI, QStringList{"--db", database, "--port", "3"} + step, machine);
        EXPECT_EQ(run.exitCode, 0) << step.join(' ').toStdString() << ": " << run.out.toStdString()
                                   << run.err.toStdString();
    }
}

// A server that is down, or busy with another client, fails the operation at once with its
// described message and a cause line naming the server; nothing in the PC changes.
TEST_F(NetworkCli, ARefusingOrBusyServerFailsAtOnceWithItsCause) {
    PlayerProcess player(TESSALY_PLAYER_SIM, {});
    Ser2NetProcess server(player.device(), Mode::Raw);
    ASSERT_TRUE(server.started());
    const QString where = QString("127.0.0.1:%1").arg(server.port());
    const QStringList before = pcPrograms();

    const int other = connectLoopback(server.port()); // another client holds the server
    ASSERT_GE(other, 0);
    QThread::msleep(200);
    const CliRun busy = cli({"read", "--all"}, server.url());
    ::close(other);
    EXPECT_EQ(busy.exitCode, 1);
    // The server's refusal arrives after the connection is made: when it is there by the probe's
    // reopening, the command is turned away as from a busy local port; otherwise the probe fails
    // and the cause line says why.
    const QString busyPort =
        QString("串口COM3（%1）正被其他程序使用，请稍后再试！\n").arg(server.url());
    if (busy.out != busyPort) {
        EXPECT_EQ(busy.out, "软件与播放器尚未连接，无法进行数据同步操作！\n");
        EXPECT_TRUE(busy.err.contains("网络串口 " + where + " 端口忙")) << busy.err.toStdString();
    }

    server.stop();
    QElapsedTimer timer;
    timer.start();
    const CliRun refused = cli({"load", "--set", "2"}, server.url());
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "软件与播放器尚未连接，无法进行程序装载！\n");
    EXPECT_TRUE(refused.err.contains("网络串口 " + where + " 拒绝连接"))
        << refused.err.toStdString();
    EXPECT_EQ(pcPrograms(), before);
}

// A server that dies in the middle of a whole-device read or load fails the operation; the PC's
// programs stay as they were.
TEST_F(NetworkCli, AServerKilledMidOperationFailsItAndLeavesThePcsProgramsAsTheyWere) {
    for (const QString operation : {"read", "load"}) {
        SCOPED_TRACE(operation.toStdString());
        PlayerProcess player(TESSALY_PLAYER_SIM, {});
        Ser2NetProcess server(player.device(), Mode::Rfc2217);
        ASSERT_TRUE(server.started());
        ASSERT_EQ(cli({"load", "--all"}, server.url()).exitCode, 0);
        const QStringList before = pcPrograms();

        QProcess run;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TESSALY_COM3", server.url());
        run.setProcessEnvironment(environment);
        run.start(TESSALY_CLI, {"--db", database, "--port", "3", operation, "--all"});
        ASSERT_TRUE(run.waitForStarted());
        QThread::msleep(1500); // past the probe, into the sets
        server.kill();
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitCode(), 1) << run.readAllStandardError().toStdString();
        EXPECT_EQ(pcPrograms(), before);
    }
}

// A server that dies while the player clears fails the load within seconds, not after the clear's
// minute-long poll, with the drop as its cause; the PC's programs stay as they were.
TEST_F(NetworkCli, AServerKilledDuringTheClearFailsTheLoadAtOnce) {
    const struct {
        QStringList command;
        QString message;
    } loads[]{{{"load", "--all"}, "数据同步失败！\n"},
              {{"load", "--set", "2"}, "程序装载失败！\n"}};
    for (const auto& load : loads) {
        SCOPED_TRACE(load.command.join(' ').toStdString());
        PlayerProcess player(TESSALY_PLAYER_SIM, {"--clear-delay", "20000"});
        Ser2NetProcess server(player.device(), Mode::Raw);
        ASSERT_TRUE(server.started());
        const QStringList before = pcPrograms();

        QProcess run;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TESSALY_COM3", server.url());
        run.setProcessEnvironment(environment);
        run.start(TESSALY_CLI, QStringList{"--db", database, "--port", "3"} + load.command);
        ASSERT_TRUE(run.waitForStarted());
        QThread::msleep(2500); // past the probe and the pre-heat frame, into the clear
        QElapsedTimer sinceKill;
        sinceKill.start();
        server.kill();
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_LT(sinceKill.elapsed(), 15000);
        EXPECT_EQ(run.exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(run.readAllStandardOutput()), load.message);
        const QString err = QString::fromUtf8(run.readAllStandardError());
        EXPECT_TRUE(err.contains(QString("网络串口 127.0.0.1:%1 断开了连接").arg(server.port())))
            << err.toStdString();
        EXPECT_EQ(pcPrograms(), before);
    }
}

// A server whose host name does not resolve (.invalid never does) fails at once, with the
// name in the cause line. Where no resolver answers at all, the connect time runs out first.
TEST_F(NetworkCli, AnUnknownHostFailsWithinSecondsAndSaysSo) {
    QElapsedTimer timer;
    timer.start();
    const CliRun run = cli({"probe"}, "socket://player.invalid:7003");
    EXPECT_LT(timer.elapsed(), 8000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "连接失败\n");
    EXPECT_TRUE(run.err.contains("player.invalid:7003") &&
                (run.err.contains("找不到") || run.err.contains("没有应答")))
        << run.err.toStdString();
}

// 200 ms each way between the PC and the server: the load still succeeds, and the record frames
// reach the player about 500 ms apart, not bunched by the link. Their arrival times carry the
// jitter of the proxy, ser2net and a busy machine; the PC's own 500 ms is held exactly in the
// load's tests in virtual time.
TEST_F(NetworkCli, ASlowLinkKeepsTheFramePacing) {
    const QString log = folder.filePath("slow.log");
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--log", log});
    Ser2NetProcess server(player.device(), Mode::Rfc2217);
    ASSERT_TRUE(server.started());
    DelayingProxy slow(server.port(), 200);
    const QString url = QString("rfc2217://127.0.0.1:%1").arg(slow.port());

    const CliRun load = cli({"load", "--set", "2"}, url);
    EXPECT_EQ(load.exitCode, 0) << load.out.toStdString() << load.err.toStdString();
    EXPECT_EQ(load.out, "程序装载完毕！\n");
    player.stop();
    const QList<qint64> records = recordTimes(heard(log));
    ASSERT_EQ(records.size(), 2);
    EXPECT_GE(records[1] - records[0], 450);
}
