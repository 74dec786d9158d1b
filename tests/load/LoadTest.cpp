#include "LoadTesting.h"

#include "Probe.h"
#include "Verify.h"
#include "WholeDeviceRead.h"
#include <QSqlError>
#include <QSqlQuery>

#include <functional>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// One load against the player, with every event it reported.
struct LoadRun final : LoadObserver {
    LoadRun(PlayerLine& line, const QSqlDatabase& database)
        : line(line), load(line.context(database), *this) {}

    LoadResult set(int set) { return run(load.loadSet(set)); }
    LoadResult wholeDevice() { return run(load.loadWholeDevice()); }

    void linkChecked(bool up) override {
        events << (up ? "link up" : "link down");
        if (afterProbe)
            afterProbe();
    }
    void clearStarted() override { events << "clearing"; }
    void cleared() override { events << "cleared"; }
    void setStarted(int set, int total) override {
        events << QStringLiteral("set %1: %2").arg(set).arg(total);
    }
    void recordSent(int set, int left) override {
        events << QStringLiteral("set %1 left %2").arg(set).arg(left);
        if (afterRecord)
            afterRecord();
    }

    LoadResult run(QCoro::Task<LoadResult> task) {
        std::optional<LoadResult> result;
        auto done = task.then([&](LoadResult r) { result = r; });
        EXPECT_TRUE(line.clock.runUntil([&] { return result.has_value(); }));
        endedAt = line.clock.nowMs();
        return result.value_or(LoadResult{LoadOutcome::WriteFailed, "did not end"});
    }

    PlayerLine& line;
    ProgramLoad load;
    QStringList events;
    std::function<void()> afterProbe;
    std::function<void()> afterRecord;
    qint64 endedAt = 0;
};

// When the clear command went out.
qint64 clearSentAt(const PlayerLine& line) {
    const auto frames = line.framesReceived();
    for (int i = 0; i < frames.size(); ++i)
        if (frames[i].startsWith("FE07"))
            return line.timesReceived()[i];
    ADD_FAILURE() << "no clear command";
    return 0;
}

class LoadTest : public LoadFixture {};

TEST(ClearReply, RecognisedOnlyAtTheStartOfOneRead) {
    struct Case {
        const char* read;
        bool wholeDevice;
        std::optional<ClearOutcome> expected;
    };
    const auto cleared = ClearOutcome::Cleared;
    const std::vector<Case> cases{
        {"FE6B01FF", false, cleared},
        {"FE6B02FF", false, cleared},
        {"FE6B03FF", false, cleared}, // any set counts, whichever was asked for
        {"FE6B04FF", false, cleared},
        {"FE6B00FF", false, std::nullopt}, // the whole-device answers mean nothing to a set clear
        {"FE6B05FF", false, std::nullopt},
        {"FE6B06FF", false, std::nullopt},
        {"FE6B00FF", true, cleared},
        {"FE6B05FF", true, ClearOutcome::Failed},
        {"FE6B02FF", true, std::nullopt}, // a set answer means nothing to the whole-device clear
        {"FE6B00FF1234", true, cleared},  // the rest of the read is dropped
        {"FE6B01FF00", false, cleared},
        {"FE6B00", true, std::nullopt},      // the first part of a split answer alone
        {"00FE6B01FF", false, std::nullopt}, // an answer after other bytes
        {"FE6B01FE", false, std::nullopt},
        {"FE6A01FF", false, std::nullopt},
        {"", false, std::nullopt},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = QByteArray::fromHex(c.read);
        const std::span<const quint8> read(reinterpret_cast<const quint8*>(bytes.constData()),
                                           std::size_t(bytes.size()));
        EXPECT_EQ(recognisedClearReply(read, c.wholeDevice), c.expected)
            << c.read << (c.wholeDevice ? " whole device" : " one set");
    }
}

// Reads one poll apart; the answer is recognised at the read `at` (1-based), or never (0).
TEST(ClearReply, GatheredAcrossPolls) {
    struct Case {
        std::vector<const char*> reads;
        bool wholeDevice;
        std::optional<ClearOutcome> expected;
        int at;
    };
    const auto cleared = ClearOutcome::Cleared;
    const std::vector<Case> cases{
        {{"FE6B", "01FF"}, false, cleared, 2},
        {{"FE", "6B", "01", "FF"}, false, cleared, 4},
        {{"FE6B01", "", "FF"}, false, cleared, 3}, // an empty poll between the pieces
        {{"FE6B00", "FF1234"}, true, cleared, 2},
        {{"FE6B05", "FF"}, true, ClearOutcome::Failed, 2},
        {{"00", "FE6B01FF"}, false, cleared, 2}, // a stray read, then the whole answer
        {{"FE", "FE6B01FF"}, false, cleared, 2}, // a start that went nowhere, then the answer
        {{"FE6B02", "FF"}, true, std::nullopt, 0},
        {{"FE6B00", "FF"}, false, std::nullopt, 0},
        {{"00FE6B", "01FF"}, false, std::nullopt, 0}, // still only at the start of the bytes
        {{"FE6B01", "00FF"}, false, std::nullopt, 0},
        {{"FE6B01", "FE6B"}, false, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        ClearReplyGatherer gatherer(c.wholeDevice);
        std::optional<ClearOutcome> outcome;
        int at = 0;
        for (std::size_t i = 0; i < c.reads.size() && !outcome; ++i) {
            const QByteArray bytes = QByteArray::fromHex(c.reads[i]);
            outcome = gatherer.add(
                {reinterpret_cast<const quint8*>(bytes.constData()), std::size_t(bytes.size())});
            at = outcome ? int(i) + 1 : 0;
        }
        EXPECT_EQ(outcome, c.expected) << c.reads.front() << " " << c.reads.back();
        EXPECT_EQ(at, c.at) << c.reads.front() << " " << c.reads.back();
    }
}

TEST_F(LoadTest, ThreeProgramsGoOutHalfASecondApartInOrderNoOrder) {
    addProgram(sampleProgram(2, "003", 9));
    addProgram(sampleProgram(2, "001", 7));
    addProgram(sampleProgram(2, "002", 8));
    addProgram(sampleProgram(1, "001", 6)); // another set: not sent
    PlayerLine line;
    line.session.PreheatMinutes = 10;
    line.session.DelayMinutes = 5;
    LoadRun run(line, data.database());

    EXPECT_TRUE(run.set(2).succeeded());

    const QStringList frames = line.framesReceived();
    ASSERT_EQ(frames.size(), 6) << frames.join(' ').toStdString();
    EXPECT_EQ(frames.mid(0, 3), (QStringList{"FE0100FF", "FE050A05FF", "FE0702FF"}));
    // Count, index and set, then the OrderNo: 03 01 02 01, 03 02 02 02, 03 03 02 03.
    EXPECT_EQ(frames[3].mid(0, 12), "FE0303010201");
    EXPECT_EQ(frames[4].mid(0, 12), "FE0303020202");
    EXPECT_EQ(frames[5].mid(0, 12), "FE0303030203");
    // Probe at 60 ms, the pair after its 560 ms, the clear 1 s later, the first program on the
    // first poll, the others 500 ms apart; the last pause ends the load.
    EXPECT_EQ(line.timesReceived(), (QList<qint64>{60, 560, 1560, 2560, 3060, 3560}));
    EXPECT_EQ(run.endedAt, 4060);
    EXPECT_EQ(run.events, (QStringList{"link up", "clearing", "cleared", "set 2: 3", "set 2 left 2",
                                       "set 2 left 1", "set 2 left 0"}));
    EXPECT_EQ(line.serial.player().programs(2), expectedFrames(2));
    EXPECT_EQ(run.load.LoadSet(), 2);
    EXPECT_EQ(run.load.RecordsLeft(), 0);
    EXPECT_EQ(run.load.ClearPollCount(), 1);
}

TEST_F(LoadTest, SetClearAnsweredForAnotherSetStillLoadsTheChosenSet) {
    addProgram(sampleProgram(2, "001", 7));
    PlayerOptions otherSet;
    otherSet.clearOtherSet = true; // set 2 answered with FE 6B 03 FF
    PlayerLine line(otherSet);
    LoadRun run(line, data.database());
    EXPECT_TRUE(run.set(2).succeeded());
    EXPECT_EQ(line.serial.player().programs(2), expectedFrames(2));
    EXPECT_TRUE(line.serial.player().programs(3).empty());
}

TEST_F(LoadTest, EmptySetIsClearedAndNothingFollows) {
    PlayerLine line;
    line.serial.player().setPrograms(4, {RecordFrame{}});
    LoadRun run(line, data.database());
    const LoadResult result = run.set(4);
    EXPECT_EQ(setLoadMessage(result, 4), "程序装载完毕！");
    EXPECT_EQ(line.framesReceived().size(), 3);
    EXPECT_EQ(line.recordFramesReceived(), 0);
    EXPECT_TRUE(line.serial.player().programs(4).empty());
    EXPECT_EQ(run.events, (QStringList{"link up", "clearing", "cleared", "set 4: 0"}));
}

// The player answers the probe; what it does with the clear is the case's fault.
TEST_F(LoadTest, SetClearTimesOutOnTheSixtySecondTick) {
    addProgram(sampleProgram(1, "001", 7));
    PlayerOptions slow, failed, stray;
    slow.clearDelayMs = 10 * 60 * 1000;
    failed.clearFails = true; // FE 6B 05 FF
    stray.strayByte = true;   // 00 FE 6B 01 FF
    const std::vector<std::pair<const char*, PlayerOptions>> cases{
        {"never answers", slow}, {"fails", failed}, {"late-standing", stray}};
    for (const auto& [name, fault] : cases) {
        PlayerLine line;
        LoadRun run(line, data.database());
        run.afterProbe = [&, fault = fault] { line.serial.player().setOptions(fault); };
        const LoadResult result = run.set(1);
        EXPECT_EQ(result.outcome, LoadOutcome::ClearTimedOut) << name;
        EXPECT_EQ(setLoadMessage(result, 1), "记录清除超时，第一套程序装载失败！") << name;
        EXPECT_EQ(run.load.ClearPollCount(), 61) << name;
        EXPECT_EQ(run.endedAt - clearSentAt(line), 62000) << name;
        EXPECT_EQ(line.recordFramesReceived(), 0) << name;
    }
}

TEST_F(LoadTest, WholeDeviceClearEndsOnTimeoutFailureOrItsOwnAnswerOnly) {
    addProgram(sampleProgram(1, "001", 7));
    PlayerOptions slow, failed, setAnswer;
    slow.clearDelayMs = 10 * 60 * 1000;
    failed.clearFails = true;
    setAnswer.clearOtherSet = true; // the clear of all sets answered FE 6B 01 FF
    struct Case {
        const char* name;
        PlayerOptions options;
        const char* message;
        int polls;
        qint64 endsAfterClear;
    };
    const std::vector<Case> cases{
        {"never answers", slow, "记录清除超时，数据同步失败！", 121, 122000},
        {"set answer", setAnswer, "记录清除超时，数据同步失败！", 121, 122000},
        {"fails", failed, "记录清除失败，数据同步失败！", 1, 1000},
    };
    for (const auto& c : cases) {
        PlayerLine line(c.options);
        LoadRun run(line, data.database());
        const LoadResult result = run.wholeDevice();
        EXPECT_EQ(wholeDeviceLoadMessage(result), c.message) << c.name;
        EXPECT_EQ(run.load.ClearPollCount(), c.polls) << c.name;
        EXPECT_EQ(run.endedAt - clearSentAt(line), c.endsAfterClear) << c.name;
        EXPECT_EQ(line.recordFramesReceived(), 0) << c.name;
    }
}

// A serial adapter may hand the four bytes of the answer over in two pieces, a poll apart.
TEST_F(LoadTest, ClearAnswerInTwoPiecesIsRecognisedOnTheSecondPoll) {
    addProgram(sampleProgram(1, "001", 7));
    addProgram(sampleProgram(1, "002", 8));
    PlayerOptions split;
    split.splitBytes = 2; // FE 6B in one poll, the rest in the next
    split.splitGapMs = ClearPollIntervalMs;
    for (const bool wholeDevice : {false, true}) {
        PlayerLine line;
        LoadRun run(line, data.database());
        run.afterProbe = [&] { line.serial.player().setOptions(split); };
        const LoadResult result = wholeDevice ? run.wholeDevice() : run.set(1);
        EXPECT_EQ(result.outcome, LoadOutcome::Loaded) << wholeDevice;
        EXPECT_EQ(run.load.ClearPollCount(), 2) << wholeDevice;
        EXPECT_EQ(line.recordFramesReceived(), 2) << wholeDevice;
        EXPECT_EQ(line.serial.player().programs(1).size(), 2) << wholeDevice;
    }
}

TEST_F(LoadTest, WholeDeviceSendsEverySetWithAPauseAfterEach) {
    addProgram(sampleProgram(1, "001", 7));
    addProgram(sampleProgram(1, "002", 8));
    addProgram(sampleProgram(3, "001", 9));
    addProgram(sampleProgram(3, "002", 10));
    PlayerLine line;
    line.serial.player().setPrograms(2, {RecordFrame{}});
    LoadRun run(line, data.database());

    EXPECT_EQ(wholeDeviceLoadMessage(run.wholeDevice()), "数据同步完毕！");

    const QStringList frames = line.framesReceived();
    ASSERT_EQ(frames.size(), 7) << frames.join(' ').toStdString();
    EXPECT_EQ(frames.mid(0, 3), (QStringList{"FE0100FF", "FE050000FF", "FE0700FF"}));
    EXPECT_EQ(frames[3].mid(0, 10), "FE03020101");
    EXPECT_EQ(frames[4].mid(0, 10), "FE03020201");
    EXPECT_EQ(frames[5].mid(0, 10), "FE03020103");
    EXPECT_EQ(frames[6].mid(0, 10), "FE03020203");
    // Set 1 from the first poll, 2 s after it set 2 (empty), 2 s later set 3, then set 4.
    EXPECT_EQ(line.timesReceived(), (QList<qint64>{60, 660, 1660, 2660, 3160, 7660, 8160}));
    EXPECT_EQ(run.endedAt, 8660 + 2000 + 2000);
    EXPECT_EQ(run.events, (QStringList{"link up", "clearing", "cleared", "set 1: 2", "set 1 left 1",
                                       "set 1 left 0", "set 2: 0", "set 3: 2", "set 3 left 1",
                                       "set 3 left 0", "set 4: 0"}));
    for (int set = FirstSet; set <= LastSet; ++set)
        EXPECT_EQ(line.serial.player().programs(set), expectedFrames(set)) << set;
}

TEST_F(LoadTest, FailedWriteEndsTheLoadAsFailed) {
    addProgram(sampleProgram(2, "001", 7));
    addProgram(sampleProgram(2, "002", 8));
    addProgram(sampleProgram(2, "003", 9));
    PlayerLine line;
    LoadRun run(line, data.database());
    run.afterRecord = [&] { line.serial.setWriteFails(true); }; // the adapter is pulled out
    const LoadResult result = run.set(2);
    EXPECT_EQ(result.outcome, LoadOutcome::WriteFailed);
    EXPECT_EQ(setLoadMessage(result, 2), "程序装载失败！");
    EXPECT_EQ(wholeDeviceLoadMessage(result), "数据同步失败！");
    EXPECT_EQ(line.recordFramesReceived(), 1);
    EXPECT_EQ(run.load.RecordsLeft(), 2);
    EXPECT_EQ(run.events.last(), "set 2 left 2");
}

// Count, index and order number are single bytes and every field has its range: what the
// frame cannot carry refuses the load before the player is touched, naming set, program and
// field, and is never sent cut to a byte.
TEST_F(LoadTest, ValuesTheFrameCannotCarryRefuseTheLoad) {
    struct Case {
        const char* name;
        std::function<void()> store; // what MusicTab holds of set 1
        QStringList named;           // what the message must name
    };
    // As a file made by another program could hold them: our schema's checks would refuse.
    const auto rawUpdate = [this](const QString& assignment) {
        QSqlQuery query(data.database());
        ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA ignore_check_constraints = ON")));
        ASSERT_TRUE(query.exec(QStringLiteral("UPDATE MusicTab SET ") + assignment))
            << query.lastError().text().toStdString();
        ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA ignore_check_constraints = OFF")));
    };
    const auto one = [this](auto change) {
        ProgramRecord record = sampleProgram(1, "007", 8);
        change(record);
        addProgram(record);
    };
    const std::vector<Case> cases{
        {"300 programs",
         [this] {
             for (int i = 1; i <= 300; ++i)
                 addProgram(sampleProgram(1, formatOrderNo(i), i % 24));
         },
         {"第一套有300个程序，播放器每套最多255个，无法装载！"}},
        {"a track that is not a number",
         [&] { one([](auto& r) { r.QuMu[1] = "1a2"; }); },
         {"第一套", "007", "曲目2", "1a2"}},
        {"order number 999",
         [&] { one([](auto& r) { r.OrderNo = "999"; }); },
         {"第一套", "999", "序号"}},
        {"hour 25",
         [&] { one([](auto& r) { r.KS1 = 25; }); },
         {"第一套", "007", "开始时间“25:00:00”不是有效的时刻"}},
        {"hour -1", [&] { one([](auto& r) { r.JS1 = -1; }); }, {"第一套", "007", "结束时间"}},
        {"volume 1000",
         [&] { one([](auto& r) { r.YinLiang = 1000; }); },
         {"第一套", "007", "音量“1000”超出0-255"}},
        {"a flag of 2",
         [&] {
             one([](auto&) {});
             rawUpdate("FQ3 = 2");
         },
         {"第一套", "007", "3分区“2”"}},
        {"a weekday flag that is text",
         [&] {
             one([](auto&) {});
             rawUpdate("Week2 = 'yes'");
         },
         {"第一套", "007", "星期二“'yes'”"}},
        {"a minute that is no number",
         [&] {
             one([](auto&) {});
             rawUpdate("KS2 = 'half'");
         },
         {"第一套", "007", "开始时间“'half'”"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ProgramStore(data.database()).deleteAll(ProgramTable::MusicTab));
        c.store();
        for (const bool wholeDevice : {false, true}) {
            PlayerLine line;
            line.serial.player().setPrograms(1, {RecordFrame{}});
            LoadRun run(line, data.database());
            const LoadResult result = wholeDevice ? run.wholeDevice() : run.set(1);
            EXPECT_EQ(result.outcome, LoadOutcome::Refused);
            const QString message =
                wholeDevice ? wholeDeviceLoadMessage(result) : setLoadMessage(result, 1);
            for (const QString& part : c.named)
                EXPECT_TRUE(message.contains(part)) << message.toStdString();
            EXPECT_EQ(line.framesReceived(), QStringList{"FE0100FF"}) << "only the probe";
            EXPECT_EQ(line.serial.player().programs(1).size(), 1u) << "the player keeps its set";
            EXPECT_EQ(run.events, QStringList{"link up"});
        }
    }
}

TEST_F(LoadTest, SilentPlayerSendsNothingBeyondTheProbeAndDropsTheLink) {
    PlayerOptions silent;
    silent.silent = true;
    for (const bool wholeDevice : {false, true}) {
        PlayerLine line(silent);
        line.session.link.LinkUp = true; // an earlier answer does not pass the guard
        LoadRun run(line, data.database());
        const LoadResult result = wholeDevice ? run.wholeDevice() : run.set(1);
        EXPECT_EQ(result.outcome, LoadOutcome::NoLink);
        EXPECT_FALSE(line.session.link.LinkUp);
        EXPECT_EQ(line.framesReceived(), QStringList{"FE0100FF"});
        EXPECT_EQ(wholeDevice ? wholeDeviceLoadMessage(result) : setLoadMessage(result, 1),
                  wholeDevice ? "软件与播放器尚未连接，无法进行数据同步操作！"
                              : "软件与播放器尚未连接，无法进行程序装载！");
    }
}

} // namespace

// While a load holds the channel, every other sequence is refused at once: it sends nothing, and
// the load it would have disturbed ends as it should.
TEST_F(LoadTest, ASecondSequenceIsRefusedWhileALoadHoldsTheChannel) {
    addProgram(sampleProgram(1, "001", 7));
    addProgram(sampleProgram(1, "002", 8));
    // Each second sequence gives what it said when it ended.
    struct Second {
        const char* name;
        std::function<QCoro::Task<QString>(PlayerLine&, ReadContext&)> run;
    };
    const std::vector<Second> cases{
        {"set load",
         [&](PlayerLine& line, ReadContext&) -> QCoro::Task<QString> {
             LoadObserver none;
             ProgramLoad load(line.context(data.database()), none);
             co_return setLoadMessage(co_await load.loadSet(2), 2);
         }},
        {"whole-device load",
         [&](PlayerLine& line, ReadContext&) -> QCoro::Task<QString> {
             LoadObserver none;
             ProgramLoad load(line.context(data.database()), none);
             co_return wholeDeviceLoadMessage(co_await load.loadWholeDevice());
         }},
        {"set read",
         [](PlayerLine&, ReadContext& context) -> QCoro::Task<QString> {
             ReadObserver none;
             co_return setReadMessage((co_await readSet(context, 2, none)).end);
         }},
        {"whole-device read",
         [](PlayerLine&, ReadContext& context) -> QCoro::Task<QString> {
             ReadObserver none;
             const auto end = co_await readWholeDevice(context, none);
             co_return end == WholeReadEnd::ChannelBusy ? channelBusyText() : QString();
         }},
        {"verify",
         [](PlayerLine&, ReadContext& context) -> QCoro::Task<QString> {
             ReadObserver none;
             const QList<int> sets{1};
             co_return (co_await verifySets(context, sets, none)).failure;
         }},
        {"probe of its own",
         [](PlayerLine& line, ReadContext&) -> QCoro::Task<QString> {
             const auto result = co_await ProbeAlone(line.channel, line.clock, probe::SetButton);
             co_return result == ProbeResult::ChannelBusy ? channelBusyText() : QString();
         }},
    };
    for (const auto& [name, second] : cases) {
        SCOPED_TRACE(name);
        PlayerLine line;
        LoadRun run(line, data.database());
        std::optional<LoadResult> first;
        auto firstTask = run.load.loadSet(1).then([&](LoadResult r) { first = r; });
        // Into the clear's polls: the load is past its probe and waits for the answer.
        ASSERT_TRUE(line.clock.runUntil([&] { return run.load.ClearPollCount() > 0; })) << name;
        const int framesBefore = int(line.framesReceived().size());
        const bool linkBefore = line.session.link.LinkUp;

        ScriptedPrompter prompter;
        ReadContext context{line.channel, line.clock, prompter, line.session, data.database()};
        std::optional<QString> refusal;
        auto secondTask = second(line, context).then([&](QString message) { refusal = message; });
        EXPECT_TRUE(refusal.has_value()) << name << ": ends without waiting";
        EXPECT_EQ(refusal.value_or(QString()), channelBusyText()) << name;
        for (const auto& box : prompter.shown())
            EXPECT_NE(box.icon, MessageBox::Icon::Question) << name << ": nothing is asked";
        EXPECT_EQ(line.framesReceived().size(), framesBefore) << name << ": nothing is sent";
        EXPECT_EQ(line.session.link.LinkUp, linkBefore) << name;

        ASSERT_TRUE(line.clock.runUntil([&] { return first.has_value(); })) << name;
        EXPECT_EQ(first->outcome, LoadOutcome::Loaded) << name;
        EXPECT_EQ(line.serial.player().programs(1).size(), 2U) << name;
        EXPECT_FALSE(line.channel.isClaimed()) << name << ": let go at the end";
    }
}
