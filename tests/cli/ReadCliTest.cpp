#include "CliDatabaseTest.h"
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "PlayerProcess.h"
#include "PlayerSimulator.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "Verify.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// Set 2 as the operator might have typed it: short order numbers, empty tracks, radio and MP3.
QList<ProgramRecord> pcSetTwo() {
    QList<ProgramRecord> programs;
    for (int i = 1; i <= 5; ++i) {
        ProgramRecord r;
        r.OrderNo = QString::number(i);
        r.JMTaoNo = setLabel(2);
        r.YXCX = i == 2 ? priorityMarker() : QString();
        r.KS1 = 6 + i;
        r.KS2 = 15;
        r.KS3 = i;
        r.JS1 = 7 + i;
        r.JS2 = 0;
        r.JS3 = 0;
        r.KSTime = timeOfDay(r.KS1, r.KS2, r.KS3);
        r.JSTime = timeOfDay(r.JS1, r.JS2, r.JS3);
        r.MP3 = i != 4;
        r.ShouYin = !r.MP3;
        r.Week = {true, true, true, true, true, i == 5, i == 5};
        r.QuMu[0] = QString::number(100 + i);
        r.QuMu[1] = i == 3 ? QStringLiteral("7") : QString();
        r.YinLiang = 20 + i;
        r.FQ[i] = true;
        r.FQ[31] = true;
        programs.append(r);
    }
    return programs;
}

class ReadCliTest : public CliDatabaseTest {
protected:
    void SetUp() override {
        CliDatabaseTest::SetUp();
        store(ProgramTable::MusicTab, pcSetTwo());
        ScriptedPrompter prompter;
        ASSERT_TRUE(data.ConnectDatabaseFile(prompter, database()));
        // The PC's pre-heat and delay are the player's, so that only the programs can differ.
        ASSERT_TRUE(QSqlQuery(data.database()).exec("UPDATE SysTab SET JM1YR = 5, JM1YS = 10"));
        writePlayerState(pcSetTwo(), 0);
    }

    // The player as a load of `programs` into set 2 leaves it; `volumeOffset` changes the
    // volume of the third one.
    void writePlayerState(const QList<ProgramRecord>& programs, int volumeOffset) {
        auto frames = framesOf(programs);
        frames[2][14] = quint8(frames[2][14] + volumeOffset);
        writePlayerState(frames);
    }

    static std::vector<RecordFrame> framesOf(const QList<ProgramRecord>& programs) {
        std::vector<RecordFrame> frames;
        for (int i = 0; i < programs.size(); ++i)
            frames.push_back(
                BuildRecordFrame(programs[i], int(programs.size()), i + 1, 2).frame.value());
        return frames;
    }

    void writePlayerState(const std::vector<RecordFrame>& frames) {
        PlayerSimulator player;
        player.setPrograms(2, frames);
        player.setPreheatDelay(5, 10);
        QString error;
        ASSERT_TRUE(player.saveState(state(), &error)) << error.toStdString();
    }

    QString state() const { return folder.filePath("player.json"); }

    CliRun cli(const QStringList& arguments, const QString& device) {
        return cliOnDatabase(arguments, {{QStringLiteral("TESSALY_COM1"), device}});
    }

    DataModule data;
};

} // namespace

TEST_F(ReadCliTest, SetReadBackEqualsThePcsProgramsAndVerifyAgrees) {
    {
        PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state()});
        ASSERT_FALSE(player.device().isEmpty());
        const auto read = cli({"--port", "1", "read", "--set", "2"}, player.device());
        ASSERT_EQ(read.exitCode, 0) << read.out.toStdString() << read.err.toStdString();
        EXPECT_TRUE(read.out.startsWith("程序读取完毕！\n")) << read.out.toStdString();
        EXPECT_TRUE(read.out.contains("JM1YR=5 JM1YS=10")) << read.out.toStdString();

        const ProgramStore store(data.database());
        const auto pc = store.programsOfSet(ProgramTable::MusicTab, setLabel(2)).value();
        auto readBack = store.allPrograms(ProgramTable::MusicReadTab).value();
        ASSERT_EQ(readBack.size(), pc.size());
        for (int i = 0; i < pc.size(); ++i) {
            readBack[i].AutoID = 0;
            EXPECT_EQ(programFields(readBack[i]), programFields(asReadBack(pc[i], 2))) << i;
        }
        EXPECT_TRUE(compareSet(2, pc, readBack).isEmpty());

        const auto verify = cli({"--port", "1", "verify", "--set", "2"}, player.device());
        EXPECT_EQ(verify.exitCode, 0) << verify.out.toStdString() << verify.err.toStdString();
        const auto list = cli({"list", "--set", "2", "--read"}, player.device());
        EXPECT_EQ(list.out.count('\n'), 5);
        EXPECT_TRUE(list.out.contains("OrderNo=003 ") && list.out.contains("QuMu2=007"))
            << list.out.toStdString();
    }

    writePlayerState(pcSetTwo(), 3);
    PlayerProcess changed(TESSALY_PLAYER_SIM, {"--state", state()});
    const auto verify = cli({"--port", "1", "verify", "--set", "2"}, changed.device());
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_TRUE(verify.out.contains("第二套 003 音量：电脑 23，播放器 26\n共1处不同\n"))
        << verify.out.toStdString();
    EXPECT_EQ(ProgramStore(data.database()).count(ProgramTable::MusicReadTab), 5)
        << "verify stores nothing";
}

TEST_F(ReadCliTest, WholeDeviceReadAndSaveOfTheReadBackSet) {
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state()});
    ASSERT_FALSE(player.device().isEmpty());
    auto run = cli({"--port", "1", "read", "--all"}, player.device());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "该套节目无编程记录！\n该套节目无编程记录！\n该套节目无编程记录！\n"
                       "数据同步完毕！\n");
    EXPECT_EQ(ProgramStore(data.database()).count(ProgramTable::MusicTab), 5);

    run = cli({"--port", "1", "read", "--set", "2"}, player.device());
    ASSERT_EQ(run.exitCode, 0);
    run = cli({"--port", "1", "save-read", "--priority"}, player.device());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "[第二套优先]数据保存成功！\n");
    EXPECT_EQ(ProgramStore(data.database()).count(ProgramTable::MusicTab), 5);
    const auto settings = cli({"list", "--set", "2"}, player.device());
    EXPECT_EQ(settings.out.count("YXCX=优先"), 1);
}

// Whatever a set without programs is answered with, the read goes through and verify agrees.
TEST_F(ReadCliTest, WholeDeviceReadAndVerifyTakeEveryEmptyAnswer) {
    for (const char* shape : {"short", "padded", "frame", "noise"}) {
        SCOPED_TRACE(shape);
        PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state(), "--empty-answer", shape});
        ASSERT_FALSE(player.device().isEmpty());
        const auto read = cli({"--port", "1", "read", "--all"}, player.device());
        EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
        EXPECT_EQ(read.out, "该套节目无编程记录！\n该套节目无编程记录！\n该套节目无编程记录！\n"
                            "数据同步完毕！\n");
        EXPECT_EQ(ProgramStore(data.database()).count(ProgramTable::MusicTab), 5);
        const auto verify = cli({"--port", "1", "verify", "--all"}, player.device());
        EXPECT_EQ(verify.exitCode, 0) << verify.out.toStdString() << verify.err.toStdString();
    }
}

// A player that answers with another set's frames, or with a count and no frames, fails both
// the whole-device read and verify; the PC's programs stay and no backup is taken.
TEST_F(ReadCliTest, AnswersOfAnotherSetOrWithoutFramesFailReadAndVerify) {
    const auto before = ProgramStore(data.database()).allPrograms(ProgramTable::MusicTab).value();
    for (const char* fault : {"--read-other-set", "--count-without-frames"}) {
        SCOPED_TRACE(fault);
        PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state(), fault});
        ASSERT_FALSE(player.device().isEmpty());
        const auto read = cli({"--port", "1", "read", "--all"}, player.device());
        EXPECT_EQ(read.exitCode, 1);
        EXPECT_EQ(read.out, "数据同步失败！\n") << read.err.toStdString();
        EXPECT_EQ(ProgramStore(data.database()).allPrograms(ProgramTable::MusicTab).value(),
                  before);
        EXPECT_FALSE(QDir(folder.filePath("backups")).exists()) << "no backup";
        const auto verify = cli({"--port", "1", "verify", "--all"}, player.device());
        EXPECT_EQ(verify.exitCode, 1);
        EXPECT_EQ(verify.out, "程序读取失败！\n") << verify.err.toStdString();
    }
}

// Values the player itself gave back (volumes above 38, an order number 000) are read, loaded
// back and found unchanged.
TEST_F(ReadCliTest, WhatThePlayerGaveBackLoadsBackAndVerifyAgrees) {
    auto frames = framesOf(pcSetTwo());
    frames[0][14] = 39;
    frames[1][14] = 200;
    frames[4][5] = 0;
    writePlayerState(frames);
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state(), "--clear-delay", "0"});
    ASSERT_FALSE(player.device().isEmpty());
    for (const QStringList& command :
         {QStringList{"read", "--all"}, {"load", "--set", "2"}, {"verify", "--all"}}) {
        const auto run = cli(QStringList{"--port", "1"} + command, player.device());
        EXPECT_EQ(run.exitCode, 0) << command.join(' ').toStdString() << ": "
                                   << run.out.toStdString() << run.err.toStdString();
    }
    const auto list = cli({"list", "--set", "2"}, player.device());
    EXPECT_TRUE(list.out.contains("OrderNo=000 ") && list.out.contains("YinLiang=200"))
        << list.out.toStdString();
}

// Without a link, verify and save-read say that programs cannot be compared or read; the load's
// words are the load's.
TEST_F(ReadCliTest, WithoutALinkVerifyAndSaveReadSayWhatCannotBeDone) {
    {
        PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state()});
        ASSERT_EQ(cli({"--port", "1", "read", "--set", "2"}, player.device()).exitCode, 0);
    }
    PlayerProcess silent(TESSALY_PLAYER_SIM, {"--state", state(), "--silent"});
    const auto verify = cli({"--port", "1", "verify", "--all"}, silent.device());
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(verify.out, "软件与播放器尚未连接，无法核对程序！\n");
    const auto save = cli({"--port", "1", "save-read"}, silent.device());
    EXPECT_EQ(save.exitCode, 1);
    EXPECT_EQ(save.out, "软件与播放器尚未连接，无法读取程序！\n");
}

// A time from the player that is no time of day fails the read under its headline, naming the
// set and the order number, the time as the editor shows it.
TEST_F(ReadCliTest, ATimeThatIsNoTimeOfDayIsNamedUnderAFailedRead) {
    auto frames = framesOf(pcSetTwo());
    frames[2][6] = 25;
    frames[2][7] = 0;
    frames[2][8] = 0;
    writePlayerState(frames);
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state()});
    const QString named = "第二套 序号003：开始时间 25:00:00 不是有效的时刻\n";
    const struct {
        QStringList command;
        QString headline;
    } cases[] = {
        {{"read", "--set", "2"}, "数据读取失败！\n"},
        {{"read", "--all"}, "该套节目无编程记录！\n数据读取失败，请重试！\n"},
        {{"verify", "--set", "2"}, "程序读取失败！\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.join(' ').toStdString());
        const auto run = cli(QStringList{"--port", "1"} + c.command, player.device());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, c.headline);
        EXPECT_TRUE(run.err.endsWith(named)) << run.err.toStdString();
    }
}

// A read that did not complete leaves nothing to save: save-read then refuses and the PC's
// programs stay as they were, however far the failed read got.
TEST_F(ReadCliTest, SaveReadAfterAFailedReadRefuses) {
    {
        PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state()});
        ASSERT_EQ(cli({"--port", "1", "read", "--set", "2"}, player.device()).exitCode, 0);
    }
    const auto before = ProgramStore(data.database()).allPrograms(ProgramTable::MusicTab).value();
    for (const QStringList& fault : {QStringList{"--silent"}, {"--no-preheat-reply"}}) {
        SCOPED_TRACE(fault.join(' ').toStdString());
        PlayerProcess player(TESSALY_PLAYER_SIM, QStringList{"--state", state()} + fault);
        EXPECT_EQ(cli({"--port", "1", "read", "--set", "2"}, player.device()).exitCode, 1);
        const auto save = cli({"--port", "1", "save-read"}, player.device());
        EXPECT_EQ(save.exitCode, 1);
        EXPECT_EQ(save.out, "没有可保存的读取数据\n");
        EXPECT_EQ(ProgramStore(data.database()).allPrograms(ProgramTable::MusicTab).value(),
                  before);
    }
}
