#include "CliProcess.h"
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "PlayerProcess.h"
#include "ProgramLoad.h"
#include "ProgramSamples.h"
#include "ProgramSet.h"
#include "ProgramStore.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <unistd.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// The sets a stopped player wrote to its --state file, as hex frames.
QList<QStringList> storedSets(const QString& stateFile) {
    QFile file(stateFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> sets;
    for (const QJsonValue& set : QJsonDocument::fromJson(file.readAll())["sets"].toArray()) {
        QStringList frames;
        for (const QJsonValue& frame : set.toArray())
            frames << frame.toString().toUpper();
        sets << frames;
    }
    return sets;
}

QStringList hexFrames(const std::vector<RecordFrame>& frames) {
    QStringList hex;
    for (const RecordFrame& frame : frames)
        hex << QByteArray(reinterpret_cast<const char*>(frame.data()), int(frame.size()))
                   .toHex()
                   .toUpper();
    return hex;
}

// The command as a normal user runs it: root opens a port in exclusive mode all the same, so a
// test of exclusive mode runs as nobody. Empty when that cannot be done here.
QStringList asNormalUser(const QStringList& command) {
    if (::geteuid() != 0)
        return command;
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty())
        return {};
    return QStringList{setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups"} + command;
}

constexpr auto Everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                          QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;

// A fresh database in a folder of its own, holding the given programs.
class LoadCli : public ::testing::Test {
protected:
    void addPrograms(std::initializer_list<ProgramRecord> programs) {
        QString error;
        ASSERT_TRUE(createPlayerDatabase(database, &error)) << error.toStdString();
        ScriptedPrompter quiet;
        ASSERT_TRUE(data.ConnectDatabase(quiet, folder.path()));
        for (const auto& program : programs)
            ASSERT_TRUE(ProgramStore(data.database()).insert(ProgramTable::MusicTab, program));
    }

    // What the PC's programs of a set encode to.
    QStringList setFrames(int set) {
        QString error;
        const auto frames = buildSetFrames(data.database(), set, &error);
        EXPECT_TRUE(frames) << error.toStdString();
        return hexFrames(frames.value_or(std::vector<RecordFrame>{}));
    }
    QStringList set2Frames() { return setFrames(2); }

    // Twelve programs in set 2, 500 ms apart on the line: a load takes six seconds. The folder
    // and the database are open to every user.
    void addTwelvePrograms() {
        addPrograms({});
        for (int hour = 7; hour < 19; ++hour)
            ASSERT_TRUE(
                ProgramStore(data.database())
                    .insert(
                        ProgramTable::MusicTab,
                        sampleProgram(2, QString::number(hour - 6).rightJustified(3, '0'), hour)));
        QFile::setPermissions(folder.path(),
                              Everyone | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
        QFile::setPermissions(database, Everyone);
    }

    // Starts `command` (tessaly-cli's arguments after the program) on COM1 = `device` and
    // returns once the load has sent its second record.
    void startLoadHalfWay(QProcess& load, const QStringList& command, const QString& device) {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TESSALY_COM1", device);
        load.setProcessEnvironment(environment);
        load.setReadChannel(QProcess::StandardError);
        load.start(command.first(), command.mid(1));
        while (!loadErr.contains("2/12") && load.waitForReadyRead(10000))
            loadErr += load.readAllStandardError();
        ASSERT_EQ(load.state(), QProcess::Running) << loadErr.toStdString();
    }

    // A probe of COM1 = `device` as a normal user.
    CliRun probeAsNormalUser(const QString& device) {
        const QStringList command =
            asNormalUser({TESSALY_CLI, "--db", database, "--port", "1", "probe"});
        return runCli(command.first(), command.mid(1), {{"TESSALY_COM1", device}});
    }

    QByteArray loadErr; // what startLoadHalfWay's load wrote to standard error

    QTemporaryDir folder;
    const QString database = folder.filePath(databaseFileName());
    DataModule data;
};

TEST_F(LoadCli, LoadsASetIntoThePlayerOnAPseudoTerminal) {
    addPrograms({sampleProgram(2, "002", 8, "123"), sampleProgram(2, "001", 7),
                 sampleProgram(2, "003", 9), sampleProgram(1, "001", 6)});
    const QStringList expected = set2Frames();

    const QString state = folder.filePath("player.json");
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state});
    ASSERT_FALSE(player.device().isEmpty());
    const CliRun run = runCli(TESSALY_CLI, {"--db", database, "--port", "1", "load", "--set", "2"},
                              {{"TESSALY_COM1", player.device()}});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "程序装载完毕！\n");
    EXPECT_TRUE(run.err.contains("第二套 3/3")) << run.err.toStdString();
    player.stop();
    const auto sets = storedSets(state);
    ASSERT_EQ(sets.size(), 4);
    EXPECT_EQ(sets[1], expected) << "the player holds set 2 frame for frame";
    EXPECT_TRUE(sets[0].isEmpty()) << "no other set was sent";

    PlayerProcess silent(TESSALY_PLAYER_SIM, {"--silent"});
    const CliRun refused = runCli(TESSALY_CLI, {"--db", database, "load", "--set", "2"},
                                  {{"TESSALY_COM1", silent.device()}});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "软件与播放器尚未连接，无法进行程序装载！\n");
}

// A second program on a port that a load is using is turned away at once, before it sends a
// byte; the load goes on undisturbed and the player holds its programs.
TEST_F(LoadCli, ASecondProgramOnTheSamePortIsRefusedWhileALoadRuns) {
    // Twelve programs, 500 ms apart: the load still runs while a slow machine starts the others.
    addPrograms({});
    for (int hour = 7; hour < 19; ++hour)
        ASSERT_TRUE(
            ProgramStore(data.database())
                .insert(ProgramTable::MusicTab,
                        sampleProgram(2, QString::number(hour - 6).rightJustified(3, '0'), hour)));
    const QStringList expected = set2Frames();

    const QString state = folder.filePath("player.json");
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state});
    ASSERT_FALSE(player.device().isEmpty());
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TESSALY_COM1", player.device());
    QProcess load;
    load.setProcessEnvironment(environment);
    load.setReadChannel(QProcess::StandardError); // what waitForReadyRead waits for
    load.start(TESSALY_CLI, {"--db", database, "--port", "1", "load", "--set", "2"});
    QByteArray loadErr;
    // Once the clear is under way the load is well past its probe and owns the port.
    while (!loadErr.contains(QStringLiteral("第二套").toUtf8()) && load.waitForReadyRead(10000))
        loadErr += load.readAllStandardError();
    ASSERT_EQ(load.state(), QProcess::Running) << loadErr.toStdString();

    for (const QStringList& second : {QStringList{"read", "--all"}, {"load", "--set", "1"}}) {
        const CliRun refused =
            runCli(TESSALY_CLI, QStringList{"--db", database, "--port", "1"} + second,
                   {{"TESSALY_COM1", player.device()}});
        const std::string name = second.join(' ').toStdString();
        EXPECT_EQ(refused.exitCode, 1) << name << ": " << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains("端口忙")) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(QString("tessaly-cli（进程 %1）").arg(load.processId())))
            << "the holder named: " << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(player.device())) << refused.err.toStdString();
        EXPECT_TRUE(refused.out.contains(player.device())) << refused.out.toStdString();
        // The refusal waits for nothing: it comes while the load is still sending.
        EXPECT_EQ(load.state(), QProcess::Running) << name << " was refused only after the load";
    }

    ASSERT_TRUE(load.waitForFinished(30000));
    EXPECT_EQ(load.exitCode(), 0) << (loadErr + load.readAllStandardError()).toStdString();
    EXPECT_EQ(QString::fromUtf8(load.readAllStandardOutput()), "程序装载完毕！\n");
    player.stop();
    const auto sets = storedSets(state);
    ASSERT_EQ(sets.size(), 4);
    EXPECT_EQ(sets[1], expected) << "the player holds what the first program sent";
    const auto programs = ProgramStore(data.database())
                              .programsOfSet(ProgramTable::MusicTab, setLabel(2), SetRows::All);
    ASSERT_TRUE(programs);
    EXPECT_EQ(programs->size(), 12) << "the refused read replaced nothing";
}

// A load ended by SIGTERM, SIGINT or SIGHUP half way stops at its next step, lets go of the
// port (exclusive mode included) and ends with the shell's status for the signal: the next
// command, run as a normal user, gets the port.
TEST_F(LoadCli, ALoadEndedByASignalLetsTheNextCommandHaveThePort) {
    if (asNormalUser({}).isEmpty() && ::geteuid() == 0)
        GTEST_SKIP() << "setpriv is needed to run the next command as a normal user";
    addTwelvePrograms();
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--clear-delay", "100"});
    ASSERT_FALSE(player.device().isEmpty());
    QFile::setPermissions(player.device(), Everyone);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        loadErr.clear();
        QProcess load;
        startLoadHalfWay(load, {TESSALY_CLI, "--db", database, "--port", "1", "load", "--set", "2"},
                         player.device());
        ::kill(pid_t(load.processId()), signal);
        ASSERT_TRUE(load.waitForFinished(10000));
        loadErr += load.readAllStandardError();
        EXPECT_EQ(load.exitStatus(), QProcess::NormalExit) << "ended by its own hand";
        EXPECT_EQ(load.exitCode(), 128 + signal) << loadErr.toStdString();
        EXPECT_TRUE(loadErr.contains("已停止")) << loadErr.toStdString();
        EXPECT_FALSE(loadErr.contains("12/12")) << "stopped half way";

        const CliRun next = probeAsNormalUser(player.device());
        EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
        EXPECT_EQ(next.out, "连接成功\n");
    }
}

// A load killed outright (SIGKILL: nothing of it runs any more) leaves the pseudo-terminal in
// exclusive mode while the player holds its other side. The next command says just that, and
// names the player by its whole name.
TEST_F(LoadCli, APortLeftInExclusiveModeByAProgramGoneIsNamedAsSuch) {
    const QStringList player = asNormalUser({TESSALY_PLAYER_SIM, "--clear-delay", "100"});
    if (player.isEmpty())
        GTEST_SKIP() << "setpriv is needed to run as a normal user";
    addTwelvePrograms();
    PlayerProcess sim(player.first(), player.mid(1));
    ASSERT_FALSE(sim.device().isEmpty());
    QProcess load;
    startLoadHalfWay(
        load, asNormalUser({TESSALY_CLI, "--db", database, "--port", "1", "load", "--set", "2"}),
        sim.device());
    load.kill();
    ASSERT_TRUE(load.waitForFinished(10000));

    const CliRun next = probeAsNormalUser(sim.device());
    EXPECT_EQ(next.exitCode, 1);
    EXPECT_TRUE(
        next.err.contains(QString("%1 仍处于独占模式，但设置它的程序已不存在").arg(sim.device())))
        << next.err.toStdString();
    EXPECT_TRUE(next.err.contains("另一端 tessaly-player-sim（进程 ")) << next.err.toStdString();
}

// The whole player is cleared and every set follows, in real time over the real serial code.
// Two loads started at the same moment on one port: one loads, the other is turned away as
// busy, round after round. The winner's probe closes and reopens the port; the loser must not
// slip in between and leave both without a player.
TEST_F(LoadCli, OfTwoLoadsStartedTogetherOnOnePortTheLoserSaysBusy) {
    addPrograms({sampleProgram(2, "001", 7)});
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--clear-delay", "100"});
    ASSERT_FALSE(player.device().isEmpty());
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TESSALY_COM1", player.device());
    const QStringList arguments{"--db", database, "--port", "1", "load", "--set", "2"};
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(round);
        QProcess loads[2];
        for (QProcess& load : loads) {
            load.setProcessEnvironment(environment);
            load.start(TESSALY_CLI, arguments);
        }
        QStringList outcomes;
        for (QProcess& load : loads) {
            ASSERT_TRUE(load.waitForFinished(30000));
            const QString out = QString::fromUtf8(load.readAllStandardOutput());
            const QString err = QString::fromUtf8(load.readAllStandardError());
            if (load.exitCode() == 0) {
                EXPECT_EQ(out, "程序装载完毕！\n");
                outcomes << "loaded";
            } else {
                EXPECT_EQ(
                    out,
                    QString("串口COM1（%1）正被其他程序使用，请稍后再试！\n").arg(player.device()));
                EXPECT_TRUE(err.contains("端口忙")) << err.toStdString();
                outcomes << "busy";
            }
        }
        EXPECT_TRUE(outcomes.contains("loaded")) << outcomes.join(' ').toStdString();
    }
}

TEST_F(LoadCli, LoadsTheWholePlayerOnAPseudoTerminal) {
    addPrograms({sampleProgram(1, "002", 8), sampleProgram(1, "001", 7, "123"),
                 sampleProgram(3, "001", 9)});
    const QList<QStringList> expected{setFrames(1), {}, setFrames(3), {}};

    const QString state = folder.filePath("player.json");
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state});
    ASSERT_FALSE(player.device().isEmpty());
    const CliRun run = runCli(TESSALY_CLI, {"--db", database, "--port", "1", "load", "--all"},
                              {{"TESSALY_COM1", player.device()}});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "数据同步完毕！\n");
    for (const char* progress : {"第一套 2/2", "第三套 1/1"})
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(progress))) << run.err.toStdString();
    player.stop();
    EXPECT_EQ(storedSets(state), expected) << "the player holds every set frame for frame";
}

TEST_F(LoadCli, TakesExactlyOneOfSetAndAll) {
    for (const QStringList& arguments : {QStringList{"load"},
                                         {"load", "--set", "5"},
                                         {"load", "--set", "1", "--all"},
                                         {"load", "--all", "--priority"}}) {
        const CliRun run = runCli(TESSALY_CLI, arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

} // namespace
