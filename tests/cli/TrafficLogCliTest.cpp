#include "CliDatabaseTest.h"
#include "FileContents.h"
#include "PlayerProcess.h"
#include "WeekSamples.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <csignal>
#include <sys/resource.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

using TrafficLogCli = CliDatabaseTest;

} // namespace

// A traffic log that cannot be written stops the command before it sends a byte: the player
// hears nothing.
TEST_F(TrafficLogCli, ATrafficLogThatCannotBeWrittenStopsTheCommandBeforeItSends) {
    const QString heard = folder.filePath("heard.log");
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--log", heard});
    ASSERT_FALSE(player.device().isEmpty());
    const QString missing = folder.filePath("no/such/folder/traffic.log");
    const struct {
        QString log;
        QStringList command;
        QString reason;
    } cases[] = {
        {missing, {"probe"}, "此文件或目录不存在"}, // Qt's own words, in Chinese
        {"/dev/full", {"probe"}, "磁盘空间不足"},
        {"/dev/full", {"load", "--set", "1"}, "磁盘空间不足"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.log + ' ' + c.command.join(' ')).toStdString());
        const CliRun run = cliOnDatabase(QStringList{"--port", "1", "--trace", c.log} + c.command,
                                         {{"TESSALY_COM1", player.device()}});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(
            run.err,
            QString("tessaly-cli：无法写入通讯记录%1：%2，未发送任何数据\n").arg(c.log, c.reason));
    }
    player.stop();
    EXPECT_EQ(contents(heard), "") << "the player heard nothing";
}

// A log that fills up during a command (here the file size limit, with SIGXFSZ ignored, so
// that writes past it fail) is said to be incomplete; the load itself went through.
TEST_F(TrafficLogCli, ALogThatStopsHalfWayIsSaidToBeIncomplete) {
    store(ProgramTable::MusicTab, {timedProgram(2, 1, QTime(7, 0), QTime(7, 30))});
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--clear-delay", "100"});
    ASSERT_FALSE(player.device().isEmpty());
    const QString log = folder.filePath("traffic.log");
    const QStringList arguments{"--db", database(), "--port", "1", "--trace",
                                log,    "load",     "--set",  "2"};
    // The first line ("<time> # tessaly-cli ...") and the probe's fit, no more.
    const rlim_t size = rlim_t(("2026-12-10T15:02:11.406 # tessaly-cli " + arguments.join(' ') +
                                "\n2026-12-10T15:02:11.406 > FE 01 00 FF  probe\n")
                                   .toUtf8()
                                   .size());
    QProcess load;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TESSALY_COM1", player.device());
    load.setProcessEnvironment(environment);
    load.setChildProcessModifier([size] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{size, size};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    load.start(TESSALY_CLI, arguments);
    ASSERT_TRUE(load.waitForFinished(60000));
    const QString err = QString::fromUtf8(load.readAllStandardError());
    EXPECT_EQ(load.exitCode(), 0) << err.toStdString();
    EXPECT_EQ(QString::fromUtf8(load.readAllStandardOutput()), "程序装载完毕！\n");
    EXPECT_TRUE(err.endsWith(QString("tessaly-cli：通讯记录%1不完整：File too large\n").arg(log)))
        << err.toStdString();
    const QList<QByteArray> lines = contents(log).split('\n');
    ASSERT_EQ(lines.size(), 3) << contents(log).toStdString();
    EXPECT_TRUE(lines[0].endsWith(" # tessaly-cli " + arguments.join(' ').toUtf8()));
    EXPECT_TRUE(lines[1].endsWith(" > FE 01 00 FF  probe"));
    EXPECT_EQ(lines[2], "") << "the log stops after the last whole line";
}
