#include "ReadTesting.h"
#include "Verify.h"

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// Programs 1..count of set as they come back from the player.
QList<ProgramRecord> readBack(int set, int count) {
    QList<ProgramRecord> records;
    for (int i = 1; i <= count; ++i)
        records.append(asReadBack(sampleProgram(i, setLabel(set)), set));
    return records;
}

} // namespace

TEST_F(ReadTest, EndsOfASetRead) {
    const ProgramRecord earlier = readBack(4, 1)[0];
    struct Case {
        const char* name;
        std::function<void(ReadTest&)> prepare;
        SetReadEnd end;
        QStringList frames;   // what the player received
        QStringList messages; // boxes shown
        // -1: MusicReadTab keeps the earlier read; a read request always empties it first
        int readBackRows;
    };
    auto& player = serial.player();
    const std::vector<Case> cases{
        {"completed",
         [](ReadTest&) {},
         SetReadEnd::Completed,
         {"FE0100FF", "FE0601FF", "FE0401FF"},
         {"程序读取完毕！"},
         3},
        {"set without programs",
         [&](ReadTest&) { player.setPrograms(1, {}); },
         SetReadEnd::NotAReply,
         {"FE0100FF", "FE0601FF", "FE0401FF"},
         {"读取播放器记录错误，请重试！"},
         0},
        {"second program cannot be stored: nothing is kept to be saved",
         [&](ReadTest&) {
             auto frames = storedSet(1, 3);
             frames[1][15] = 10; // a four-digit track
             player.setPrograms(1, frames);
         },
         SetReadEnd::PostFailed,
         {"FE0100FF", "FE0601FF", "FE0401FF"},
         {},
         0},
        {"a time that is no time of day fails the read",
         [&](ReadTest&) {
             auto frames = storedSet(1, 3);
             frames[2][7] = 60; // start minute
             player.setPrograms(1, frames);
         },
         SetReadEnd::PostFailed,
         {"FE0100FF", "FE0601FF", "FE0401FF"},
         {},
         0},
        {"300 programs: more bytes than announced, none is taken",
         [&](ReadTest&) { player.setPrograms(1, manyFrames(1, 300)); },
         SetReadEnd::NotAReply,
         {"FE0100FF", "FE0601FF", "FE0401FF"},
         {"读取播放器记录错误，请重试！"},
         0},
        {"a frame that is not whole",
         [&](ReadTest&) {
             auto frames = storedSet(1, 3);
             frames[1][31] = 0x00;
             player.setPrograms(1, frames);
         },
         SetReadEnd::NotAReply,
         {"FE0100FF", "FE0601FF", "FE0401FF"},
         {"读取播放器记录错误，请重试！"},
         0},
        {"reply stops after five bytes",
         [&](ReadTest& test) {
             test.observer.onBusy = [&] { player.setOptions({.cutAfter = 5}); };
         },
         SetReadEnd::ReadFailed,
         {"FE0100FF", "FE0601FF", "FE0401FF"},
         {"程序读取失败！"},
         0},
        {"pre-heat and delay query unanswered",
         [&](ReadTest&) { player.setOptions({.noPreheatReply = true}); },
         SetReadEnd::PreheatQueryFailed,
         {"FE0100FF", "FE0601FF"},
         {"读取预热和延时时间失败！"},
         -1},
        {"no link",
         [&](ReadTest&) { player.setOptions({.silent = true}); },
         SetReadEnd::NoLink,
         {"FE0100FF"},
         {"软件与播放器尚未连接，无法进行程序装载！"},
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramStore store(module.database());
        ASSERT_TRUE(store.deleteAll(ProgramTable::MusicReadTab));
        ASSERT_TRUE(store.insert(ProgramTable::MusicReadTab, earlier));
        player.setOptions({});
        player.setPrograms(1, storedSet(1, 3));
        player.setPreheatDelay(5, 10);
        player.clearReceived();
        prompter = {};
        observer = {};
        session = {};
        c.prepare(*this);

        const auto result = run(readSet(context(), 1, observer));
        EXPECT_EQ(result.end, c.end);
        EXPECT_EQ(observer.ends, QList<SetReadEnd>{c.end});
        EXPECT_EQ(framesSent(), c.frames);
        EXPECT_EQ(prompter.shownTexts(), c.messages);
        EXPECT_EQ(session.link.LinkUp, c.end != SetReadEnd::NoLink);
        const bool queried = c.frames.size() > 2;
        EXPECT_EQ(session.ReadPreheatMinutes, queried ? 5 : 0);
        EXPECT_EQ(session.ReadDelayMinutes, queried ? 10 : 0);
        const auto rows = withoutIds(table(ProgramTable::MusicReadTab));
        if (c.readBackRows < 0)
            EXPECT_EQ(rows, QList<ProgramRecord>{earlier});
        else
            EXPECT_EQ(rows, readBack(1, 3).first(c.readBackRows));
        EXPECT_EQ(observer.busyChanges,
                  c.end == SetReadEnd::NoLink ? QList<bool>{} : (QList<bool>{true, false}));
    }
}

// Every shape of an empty set's answer ends the read as a non-reply, as described.
TEST_F(ReadTest, ASetReadOfAnEmptySetEndsAsANonReplyWhateverTheShape) {
    for (const EmptyAnswer shape : allEmptyAnswers()) {
        SCOPED_TRACE(emptyAnswerName(shape).toStdString());
        serial.player().setOptions({.emptyAnswer = shape});
        prompter = {};
        const auto result = run(readSet(context(), 2, observer));
        EXPECT_EQ(result.end, SetReadEnd::NotAReply);
        EXPECT_EQ(prompter.shownTexts(), QStringList{"读取播放器记录错误，请重试！"});
        EXPECT_LE(elapsedMs, 560 + 500 + 40 + AnswerQuietMs + 40) << "no waiting for more";
    }
}

TEST_F(ReadTest, CompletedReadShowsItsProgressAndReplacesTheLastRead) {
    serial.player().setPrograms(1, storedSet(1, 3));
    serial.player().setPrograms(2, storedSet(2, 2));
    EXPECT_EQ(run(readSet(context(), 1, observer)).stored, 3);
    EXPECT_EQ(observer.heads, QList<int>{3});
    EXPECT_EQ(observer.progress, 99) << "33 steps per program";
    EXPECT_EQ(observer.left.last(), 0);
    // The probe takes 560 ms, the query 500 ms, 96 bytes about 100 ms on the wire; then the
    // line must stay quiet for a moment.
    EXPECT_LE(elapsedMs, 560 + 500 + 100 + 2 * 20 + AnswerQuietMs);

    EXPECT_EQ(run(readSet(context(), 2, observer)).stored, 2);
    EXPECT_EQ(withoutIds(table(ProgramTable::MusicReadTab)), readBack(2, 2));
    EXPECT_TRUE(table(ProgramTable::MusicTab).isEmpty()) << "a set read never writes MusicTab";
}

TEST_F(ReadTest, ProgramsComeBackAsTheyWereLoadedAfterTheFrameNormalisations) {
    ProgramRecord pc = sampleProgram(7, "第二套");
    pc.OrderNo = "7";
    pc.QuMu[3] = "";
    pc.YXCX = "普通";
    pc.ShouYin = pc.MP3; // inconsistent on the PC; the frame knows only MP3
    pc.YuRe = 3;
    serial.player().setPrograms(2, {frameOf(pc, 1, 1, 2)});
    fillMusicTab({pc});
    run(readSet(context(), 2, observer));
    const auto read = withoutIds(table(ProgramTable::MusicReadTab));
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0].OrderNo, "007");
    EXPECT_EQ(read[0].QuMu[3], "000");
    EXPECT_EQ(read[0].YXCX, "");
    EXPECT_EQ(read[0].ShouYin, !read[0].MP3);
    EXPECT_EQ(read[0].JMTaoNo, "第二套");
    EXPECT_TRUE(compareSet(2, {pc}, read).isEmpty()) << "YuRe and YuanShi do not travel";
}

// A value that an older load cut to a byte is a difference, not an agreement.
TEST_F(ReadTest, VerifyComparesTheStoredValuesNotTheirBytes) {
    ProgramRecord pc = sampleProgram(7, "第二套");
    pc.OrderNo = "999";
    pc.YinLiang = 1000;
    RecordFrame frame = frameOf(sampleProgram(7, "第二套"), 1, 1, 2);
    frame[5] = 999 & 0xFF;
    frame[14] = 1000 & 0xFF;
    const auto player = decodeRecordFrame(frame).record.value();
    const auto differences = compareSet(2, {pc}, {player});
    EXPECT_EQ(differences, (QList<ProgramDifference>{{2, "999", "OrderNo", "999", "231"},
                                                     {2, "999", "YinLiang", "1000", "232"}}));
}
