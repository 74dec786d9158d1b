#include "PlayerDatabase.h"
#include "PlayerLog.h"
#include "PlayerProcess.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <unistd.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

constexpr auto Everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                          QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;

bool heardFrame(const QString& log, const QString& frame) {
    for (const Heard& line : heard(log))
        if (line.frame == frame)
            return true;
    return false;
}

} // namespace

// The window ended by SIGTERM, SIGINT or SIGHUP ends as on 退出系统: the player hears the close
// notice, and the port is let go, exclusive mode included, so that the next command (run as a
// normal user: root opens a port in exclusive mode all the same) gets it.
TEST(MainProgram, EndedByASignalItLetsGoOfItsPort) {
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    const bool root = ::geteuid() == 0;
    if (root && setpriv.isEmpty())
        GTEST_SKIP() << "setpriv is needed to run the next command as a normal user";
    QTemporaryDir folder;
    QFile::setPermissions(folder.path(),
                          Everyone | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    // The program beside a database of its own, as a portable copy runs.
    ASSERT_TRUE(QFile::copy(QStringLiteral(TESSALY_EXECUTABLE), folder.filePath("tessaly")));
    const QString database = folder.filePath(databaseFileName());
    QString error;
    ASSERT_TRUE(createPlayerDatabase(database, &error)) << error.toStdString();
    QFile::setPermissions(database, Everyone);

    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        const QString log = folder.filePath(QStringLiteral("player-%1.log").arg(signal));
        PlayerProcess player(TESSALY_PLAYER_SIM, {"--log", log});
        ASSERT_FALSE(player.device().isEmpty());
        QFile::setPermissions(player.device(), Everyone);
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TESSALY_PROMPTS", "stderr");
        environment.insert("TESSALY_COM1", player.device());
        QProcess window;
        window.setProcessEnvironment(environment);
        window.start(folder.filePath("tessaly"), {});
        ASSERT_TRUE(window.waitForStarted(10000));
        // The start-up check probes the player and keeps the port.
        const QDeadlineTimer started(30000);
        while (!heardFrame(log, "FE 01 00 FF") && !started.hasExpired() &&
               window.state() == QProcess::Running)
            QThread::msleep(50);
        ASSERT_TRUE(heardFrame(log, "FE 01 00 FF")) << window.readAllStandardError().toStdString();
        QThread::msleep(1000); // its answer is in: the port stays open and locked

        ::kill(pid_t(window.processId()), signal);
        ASSERT_TRUE(window.waitForFinished(15000));
        EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(window.exitCode(), 128 + signal) << window.readAllStandardError().toStdString();
        EXPECT_TRUE(heardFrame(log, "FE 02 00 FF")) << "the close notice, as on 退出系统";

        QProcess next;
        next.setProcessEnvironment(environment);
        const QStringList probe{"--db", database, "--port", "1", "probe"};
        if (root)
            next.start(setpriv, QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                            TESSALY_CLI} +
                                    probe);
        else
            next.start(TESSALY_CLI, probe);
        ASSERT_TRUE(next.waitForFinished(20000));
        EXPECT_EQ(next.exitCode(), 0) << next.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(next.readAllStandardOutput()), "连接成功\n");
    }
}
