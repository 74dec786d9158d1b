#include "CliProcess.h"
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "PlayerProcess.h"
#include "ProgramLoad.h"
#include "ProgramSamples.h"
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

TEST(LoadCli, LoadsASetIntoThePlayerOnAPseudoTerminal) {
    QTemporaryDir folder;
    const QString database = folder.filePath(databaseFileName());
    QString error;
    ASSERT_TRUE(createPlayerDatabase(database, &error)) << error.toStdString();
    DataModule data;
    ScriptedPrompter quiet;
    ASSERT_TRUE(data.ConnectDatabase(quiet, folder.path()));
    ProgramStore store(data.database());
    for (const auto& program : {sampleProgram(2, "002", 8, "123"), sampleProgram(2, "001", 7),
                                sampleProgram(2, "003", 9), sampleProgram(1, "001", 6)})
        ASSERT_TRUE(store.insert(ProgramTable::MusicTab, program));
    const auto expected = buildSetFrames(data.database(), 2, &error);
    ASSERT_TRUE(expected) << error.toStdString();

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
    EXPECT_EQ(sets[1], hexFrames(*expected)) << "the player holds set 2 frame for frame";
    EXPECT_TRUE(sets[0].isEmpty()) << "no other set was sent";

    PlayerProcess silent(TESSALY_PLAYER_SIM, {"--silent"});
    const CliRun refused = runCli(TESSALY_CLI, {"--db", database, "load", "--set", "2"},
                                  {{"TESSALY_COM1", silent.device()}});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "软件与播放器尚未连接，无法进行程序装载！\n");
}

TEST(LoadCli, TakesExactlyOneOfSetAndAll) {
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
