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
#include <QTemporaryDir>

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
