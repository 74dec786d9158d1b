#include "WholeDeviceRead.h"
#include "Backups.h"
#include "ProgramLoad.h"
#include "ReadTesting.h"
#include "Verify.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

using namespace tessaly;
using namespace tessaly::testing;

TEST_F(ReadTest, WholeDeviceReadReplacesMusicTabOnlyWhenAllFourSetsAreIn) {
    const QList<ProgramRecord> before{sampleProgram(40, "第二套"), sampleProgram(41, "第四套")};
    const QString confirm =
        "将机器数据同步到电脑中,系统将自动覆盖电脑中所有的程序记录,确实要进行该同步操作吗？";
    auto& player = serial.player();
    struct Case {
        const char* name;
        std::function<void(ReadTest&)> prepare;
        WholeReadEnd end;
        QStringList messages;
        QStringList requests; // read requests the player got
        int syncReadSet;
        int backups = 0; // taken by the read
    };
    const auto blockBackups = [this](ReadTest&) {
        QDir(dir.filePath("backups")).removeRecursively();
        QFile file(dir.filePath("backups")); // a file where the folder would go
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    const QStringList allFour{"FE0401FF", "FE0402FF", "FE0403FF", "FE0404FF"};
    const std::vector<Case> cases{
        {"two sets hold programs",
         [](ReadTest&) {},
         WholeReadEnd::Completed,
         {confirm, "该套节目无编程记录！", "该套节目无编程记录！", "数据同步完毕！"},
         allFour,
         5,
         1},
        {"declined",
         [](ReadTest& t) { t.prompter.answerNext(MessageBox::Button::Cancel); },
         WholeReadEnd::Declined,
         {confirm},
         {},
         1},
        {"silent player",
         [&](ReadTest&) { player.setOptions({.silent = true}); },
         WholeReadEnd::NoLink,
         {confirm, "软件与播放器尚未连接，无法进行数据同步操作！"},
         {},
         1},
        {"set 1 unanswered",
         [&](ReadTest& t) { t.observer.onBusy = [&] { player.setOptions({.silent = true}); }; },
         WholeReadEnd::ReadFailed,
         {confirm, "数据同步失败！"},
         {"FE0401FF"},
         2},
        {"set 3 holds a program that cannot be stored",
         [&](ReadTest&) {
             auto frames = storedSet(3, 1);
             frames[0][20] = 100;
             player.setPrograms(3, frames);
         },
         WholeReadEnd::PostFailed,
         {confirm, "该套节目无编程记录！", "数据读取失败，请重试！"},
         allFour.first(3),
         4},
        {"no backup can be written",
         blockBackups,
         WholeReadEnd::BackupFailed,
         {confirm, "该套节目无编程记录！", "该套节目无编程记录！",
          QStringLiteral("无法写入备份：%1（%1不是文件夹），操作已取消。")
              .arg(dir.filePath("backups"))},
         allFour,
         5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ProgramStore(module.database()).deleteAll(ProgramTable::MusicTab));
        fillMusicTab(before);
        player.setOptions({});
        player.setPrograms(1, storedSet(1, 2));
        player.setPrograms(2, {});
        player.setPrograms(3, storedSet(3, 1));
        player.setPrograms(4, {});
        player.clearReceived();
        prompter = {};
        observer = {};
        session = {};
        session.link.LinkUp = true; // an earlier answer does not let a silent player pass
        c.prepare(*this);
        const auto backupsBefore = listBackups(dir.filePath("backups")).size();

        EXPECT_EQ(run(readWholeDevice(context(), observer)), c.end);
        EXPECT_EQ(listBackups(dir.filePath("backups")).size() - backupsBefore, c.backups);
        EXPECT_EQ(prompter.shownTexts(), c.messages);
        QStringList requests = framesSent().filter(QRegularExpression("^FE04"));
        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(session.SyncReadSet, c.syncReadSet);
        const auto rows = withoutIds(table(ProgramTable::MusicTab));
        if (c.end == WholeReadEnd::Completed) {
            // Listed by OrderNo, then in the order stored.
            const QList<ProgramRecord> expected{asReadBack(sampleProgram(1, "第一套"), 1),
                                                asReadBack(sampleProgram(1, "第三套"), 3),
                                                asReadBack(sampleProgram(2, "第一套"), 1)};
            EXPECT_EQ(rows, expected);
            EXPECT_EQ(observer.started, (QList<int>{1, 2, 3, 4}));
            EXPECT_EQ(observer.empties, (QList<int>{2, 4}));
        } else {
            EXPECT_EQ(rows, before) << "MusicTab exactly as before";
        }
        EXPECT_EQ(session.link.LinkUp, c.end != WholeReadEnd::NoLink);
        const bool wasBusy = !c.requests.isEmpty();
        EXPECT_EQ(observer.busyChanges, wasBusy ? (QList<bool>{true, false}) : QList<bool>{});
    }
}

TEST_F(ReadTest, WholeDeviceReadPacesTheSets) {
    serial.player().setPrograms(1, storedSet(1, 2));
    run(readWholeDevice(context(), observer));
    QList<qint64> requestTimes;
    for (const auto& frame : serial.player().received())
        if (frame.bytes.startsWith(QByteArray::fromHex("FE04")))
            requestTimes.append(frame.timeMs);
    ASSERT_EQ(requestTimes.size(), 4);
    for (int i = 1; i < 4; ++i)
        EXPECT_GE(requestTimes[i] - requestTimes[i - 1], TimerSendMs);
    // Empty sets answer at once: a few polls each beyond the pause.
    EXPECT_LE(requestTimes[3] - requestTimes[1], 2 * (TimerSendMs + 40));
}

// A set is empty only when its answer holds no record frame at all; any record bytes the read
// cannot account for fail the whole read, and MusicTab stays exactly as it was.
TEST_F(ReadTest, WholeDeviceReadFailsOnAnswersItCannotAccountFor) {
    const QList<ProgramRecord> before{sampleProgram(40, "第二套"), sampleProgram(41, "第四套")};
    const QString confirm =
        "将机器数据同步到电脑中,系统将自动覆盖电脑中所有的程序记录,确实要进行该同步操作吗？";
    const QString empty = "该套节目无编程记录！";
    auto& player = serial.player();
    struct Case {
        const char* name;
        std::function<void(ReadTest&)> prepare; // sets 1, 2 and 4 are empty, set 3 holds 2
        WholeReadEnd end;
        QStringList messages;
    };
    const std::vector<Case> cases{
        {"a stray byte before each answer",
         [&](ReadTest& t) { t.observer.onBusy = [&] { player.setOptions({.strayByte = true}); }; },
         WholeReadEnd::ReadFailed,
         {confirm, empty, empty, "数据同步失败！"}},
        {"256 programs: the count byte wrapped to 0",
         [&](ReadTest&) { player.setPrograms(1, manyFrames(1, 256)); },
         WholeReadEnd::ReadFailed,
         {confirm, "数据同步失败！"}},
        {"300 programs: more bytes than announced",
         [&](ReadTest&) { player.setPrograms(2, manyFrames(2, 300)); },
         WholeReadEnd::ReadFailed,
         {confirm, empty, "数据同步失败！"}},
        {"a frame that is not whole",
         [&](ReadTest&) {
             auto frames = storedSet(3, 2);
             frames[1][31] = 0x00;
             player.setPrograms(3, frames);
         },
         WholeReadEnd::ReadFailed,
         {confirm, empty, empty, "数据同步失败！"}},
        {"a time that is no time of day",
         [&](ReadTest&) {
             auto frames = storedSet(3, 2);
             frames[0][6] = 24;
             player.setPrograms(3, frames);
         },
         WholeReadEnd::PostFailed,
         {confirm, empty, empty, "数据读取失败，请重试！"}},
        {"a stray byte before an empty answer is still an empty set",
         [&](ReadTest& t) {
             player.setPrograms(3, {});
             t.observer.onBusy = [&] { player.setOptions({.strayByte = true}); };
         },
         WholeReadEnd::Completed,
         {confirm, empty, empty, empty, empty, "数据同步完毕！"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ProgramStore(module.database()).deleteAll(ProgramTable::MusicTab));
        fillMusicTab(before);
        player.setOptions({});
        player.dropOutput(); // what a failed case left on its way
        for (int set = 1; set <= 4; ++set)
            player.setPrograms(set, set == 3 ? storedSet(3, 2) : std::vector<RecordFrame>{});
        prompter = {};
        observer = {};
        session = {};
        c.prepare(*this);

        EXPECT_EQ(run(readWholeDevice(context(), observer)), c.end);
        EXPECT_EQ(prompter.shownTexts(), c.messages);
        const auto rows = withoutIds(table(ProgramTable::MusicTab));
        if (c.end == WholeReadEnd::Completed)
            EXPECT_TRUE(rows.isEmpty()) << "the player holds nothing";
        else
            EXPECT_EQ(rows, before) << "MusicTab exactly as before";
    }
}

// Players answer a set without programs in different ways. Every shape, also behind a stray
// byte, is an empty set: the read goes on, and verify agrees with what it stored.
TEST_F(ReadTest, WholeDeviceReadTakesEveryEmptyAnswerForAnEmptySet) {
    const QString confirm =
        "将机器数据同步到电脑中,系统将自动覆盖电脑中所有的程序记录,确实要进行该同步操作吗？";
    const QString empty = "该套节目无编程记录！";
    auto& player = serial.player();
    for (const EmptyAnswer shape : allEmptyAnswers())
        for (const bool stray : {false, true}) {
            SCOPED_TRACE(emptyAnswerName(shape).toStdString() +
                         (stray ? " after a stray byte" : ""));
            ASSERT_TRUE(ProgramStore(module.database()).deleteAll(ProgramTable::MusicTab));
            fillMusicTab({sampleProgram(40, "第二套")});
            // A stray byte goes before every reply, so then the player holds nothing at all.
            for (int set = 1; set <= 4; ++set)
                player.setPrograms(set, stray || set % 2 == 0 ? std::vector<RecordFrame>{}
                                                              : storedSet(set, set == 1 ? 2 : 1));
            const PlayerOptions options{.strayByte = stray, .emptyAnswer = shape};
            player.setOptions({.emptyAnswer = shape});
            prompter = {};
            observer = {};
            observer.onBusy = [&] { player.setOptions(options); };
            session = {};

            EXPECT_EQ(run(readWholeDevice(context(), observer)), WholeReadEnd::Completed);
            const QStringList emptyEach =
                stray ? QStringList{empty, empty, empty, empty} : QStringList{empty, empty};
            EXPECT_EQ(prompter.shownTexts(),
                      QStringList{confirm} + emptyEach + QStringList{"数据同步完毕！"});
            EXPECT_EQ(observer.empties, stray ? (QList<int>{1, 2, 3, 4}) : (QList<int>{2, 4}));
            EXPECT_EQ(table(ProgramTable::MusicTab).size(), stray ? 0 : 3);

            player.setOptions({.emptyAnswer = shape}); // the probe takes no stray byte
            const auto verified = run(verifySets(context(), {1, 2, 3, 4}, observer));
            EXPECT_TRUE(verified.agrees()) << verified.failure.toStdString();
        }
}

// What the player gave back goes back unchanged: volumes above what the editor offers and an
// order number 000 survive a whole-device read followed by a whole-device load.
TEST_F(ReadTest, WhatThePlayerGaveBackLoadsBackUnchanged) {
    auto frames = storedSet(2, 3);
    frames[0][14] = 39;
    frames[1][14] = 200;
    frames[2][5] = 0;
    serial.player().setPrograms(2, frames);
    ASSERT_EQ(run(readWholeDevice(context(), observer)), WholeReadEnd::Completed);

    LoadObserver quiet;
    ProgramLoad load({channel, clock, module.database(), session}, quiet);
    const auto loaded = run(load.loadWholeDevice());
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded) << loaded.reason.toStdString();
    // Sent in order-number order: 000 first.
    QList<std::pair<int, int>> orderAndVolume;
    for (const auto& stored : serial.player().programs(2))
        orderAndVolume.append({stored[5], stored[14]});
    EXPECT_EQ(orderAndVolume, (QList<std::pair<int, int>>{{0, 3}, {1, 39}, {2, 200}}));

    const auto verified = run(verifySets(context(), {1, 2, 3, 4}, observer));
    EXPECT_TRUE(verified.agrees()) << verified.failure.toStdString();
}

// A MusicTab that cannot be replaced keeps the described message, with the reason beneath it.
TEST_F(ReadTest, WholeDeviceReadThatCannotStoreSaysWhy) {
    fillMusicTab({sampleProgram(40, "第二套")});
    serial.player().setPrograms(1, storedSet(1, 1));
    ReadContext readOnly = context();
    readOnly.db = readOnlyDatabase();
    EXPECT_EQ(run(readWholeDevice(readOnly, observer)), WholeReadEnd::PostFailed);
    ASSERT_FALSE(prompter.shown().isEmpty());
    EXPECT_EQ(prompter.shown().last().text, "数据读取失败，请重试！");
    EXPECT_TRUE(prompter.shown().last().details.contains("数据库只读"))
        << prompter.shown().last().details.toStdString();
    EXPECT_EQ(table(ProgramTable::MusicTab).size(), 1);
}

// Every read judges a set's answer by the same rule: frames that name another set than the one
// asked for, and a count of records whose frames never came, are answers it cannot account
// for. The set read fails as a non-reply, the whole-device read fails with MusicTab as it was
// and no backup, and verify fails rather than compare.
TEST_F(ReadTest, EveryReadRefusesFramesOfAnotherSetAndACountWithoutFrames) {
    auto& player = serial.player();
    struct Case {
        const char* name;
        int set; // the set read by the set read
        std::function<void(PlayerSimulator&)> prepare;
    };
    const auto setOne = [](std::function<void(std::vector<RecordFrame>&)> change) {
        return [change](PlayerSimulator& p) {
            auto frames = storedSet(1, 3);
            change(frames);
            p.setPrograms(1, frames);
        };
    };
    const std::vector<Case> cases{
        {"the read of set 1 answered with set 2's programs", 1,
         [](PlayerSimulator& p) { p.setOptions({.readOtherSet = true}); }},
        {"set 2 answered with frames naming set 1", 2,
         [](PlayerSimulator& p) { p.setPrograms(2, storedSet(1, 2)); }},
        {"every frame names set 2", 1,
         [](PlayerSimulator& p) { p.setPrograms(1, storedSet(2, 3)); }},
        {"the second of three frames names set 3", 1,
         setOne([](std::vector<RecordFrame>& f) { f[1][4] = 3; })},
        {"a frame naming no set (0)", 1, setOne([](std::vector<RecordFrame>& f) { f[0][4] = 0; })},
        {"a frame naming set 7", 1, setOne([](std::vector<RecordFrame>& f) { f[2][4] = 7; })},
        {"FE 68 01 FF from a player that holds nothing", 1,
         [](PlayerSimulator& p) {
             for (int set = 1; set <= 4; ++set)
                 p.setPrograms(set, {});
             p.setOptions({.countWithoutFrames = true});
         }},
        {"FE 68 03 FF: three records counted, none sent", 1,
         [](PlayerSimulator& p) { p.setOptions({.countWithoutFrames = true}); }},
    };
    const QList<ProgramRecord> before{sampleProgram(40, "第二套")};
    const QString confirm =
        "将机器数据同步到电脑中,系统将自动覆盖电脑中所有的程序记录,确实要进行该同步操作吗？";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto reset = [&] {
            player.setOptions({});
            player.dropOutput();
            player.setPrograms(1, storedSet(1, 3));
            player.setPrograms(2, storedSet(2, 2));
            player.setPrograms(3, {});
            player.setPrograms(4, {});
            c.prepare(player);
            prompter = {};
            observer = {};
            session = {};
        };
        ASSERT_TRUE(ProgramStore(module.database()).deleteAll(ProgramTable::MusicTab));
        fillMusicTab(before);

        reset();
        const auto read = run(readSet(context(), c.set, observer));
        EXPECT_EQ(read.end, SetReadEnd::NotAReply);
        EXPECT_EQ(prompter.shownTexts(), QStringList{"读取播放器记录错误，请重试！"});
        EXPECT_TRUE(table(ProgramTable::MusicReadTab).isEmpty()) << "nothing to save";

        reset();
        const auto backupsBefore = listBackups(dir.filePath("backups")).size();
        EXPECT_EQ(run(readWholeDevice(context(), observer)), WholeReadEnd::ReadFailed);
        EXPECT_EQ(prompter.shownTexts().last(), "数据同步失败！");
        EXPECT_EQ(withoutIds(table(ProgramTable::MusicTab)), before) << "MusicTab as it was";
        EXPECT_EQ(listBackups(dir.filePath("backups")).size(), backupsBefore) << "no backup";

        reset();
        const auto verified = run(verifySets(context(), {1, 2, 3, 4}, observer));
        EXPECT_EQ(verified.failure, "程序读取失败！");
        EXPECT_FALSE(verified.agrees());
    }
}
