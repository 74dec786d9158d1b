#include "DifferenceMend.h"
#include "DifferenceText.h"
#include "ReadTesting.h"
#include "Verify.h"

#include "QtPrinters.h"

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// Programs 1..3 of set 2 as the PC holds them, and the player's copy as a load leaves it.
QList<ProgramRecord> pcPrograms() {
    return {sampleProgram(1, "第二套"), sampleProgram(2, "第二套"), sampleProgram(3, "第二套")};
}

QList<ProgramRecord> playerCopy(const QList<ProgramRecord>& pc) {
    QList<ProgramRecord> player;
    for (const ProgramRecord& record : pc)
        player.append(asReadBack(record, 2));
    return player;
}

struct DifferenceCase {
    const char* name;
    std::function<void(QList<ProgramRecord>&)> changePlayer;
    QList<QStringList> rows; // as the table shows them
};

} // namespace

// Whatever differs is one row: a field, or a program on one side only.
TEST(Compare, EachDifferenceIsOneRowInTheOperatorsWords) {
    const QList<DifferenceCase> cases{
        {"volume", [](auto& p) { p[1].YinLiang = 30; }, {{"第二套", "002", "音量", "2", "30"}}},
        {"start time",
         [](auto& p) { p[0].KS2 = 59; },
         {{"第二套", "001", "开始时间", "08:01:05", "08:59:05"}}},
        {"end time",
         [](auto& p) { p[2].JS3 = 0; },
         {{"第二套", "003", "结束时间", "09:30:59", "09:30:00"}}},
        {"track",
         [](auto& p) { p[0].QuMu[1] = "006"; },
         {{"第二套", "001", "曲目2", "005", "006"}}},
        {"weekday",
         [](auto& p) { p[0].Week[2] = false; },
         {{"第二套", "001", "星期三", "是", "否"}}},
        {"zone", [](auto& p) { p[1].FQ[11] = true; }, {{"第二套", "002", "12分区", "否", "是"}}},
        {"priority", [](auto& p) { p[0].YXCX = ""; }, {{"第二套", "001", "优先", "是", "否"}}},
        {"radio against MP3",
         [](auto& p) {
             p[0].MP3 = false;
             p[0].ShouYin = true;
         },
         {{"第二套", "001", "音源", "MP3", "收音"}}},
        {"set of the frame",
         [](auto& p) { p[2].JMTaoNo = "第四套"; },
         {{"第二套", "003", "节目套数", "第二套", "第四套"}}},
        {"missing program",
         [](auto& p) { p.removeAt(1); },
         {{"第二套", "002", "程序", "002", "（无）"}}},
        {"extra program",
         [](auto& p) {
             p.append(asReadBack(sampleProgram(7, "第二套"), 2));
             p.prepend(asReadBack(sampleProgram(9, "第二套"), 2)); // frame order is not order
         },
         {{"第二套", "007", "程序", "（无）", "007"}, {"第二套", "009", "程序", "（无）", "009"}}},
        {"two fields and a missing program",
         [](auto& p) {
             p[0].YinLiang = 5;
             p[0].Week[6] = true;
             p.removeAt(2);
         },
         {{"第二套", "001", "音量", "1", "5"},
          {"第二套", "001", "星期日", "否", "是"},
          {"第二套", "003", "程序", "003", "（无）"}}},
    };
    for (const auto& [name, changePlayer, rows] : cases) {
        SCOPED_TRACE(name);
        const auto pc = pcPrograms();
        auto player = playerCopy(pc);
        ASSERT_TRUE(compareSet(2, pc, player).isEmpty());
        changePlayer(player);
        QList<QStringList> shown;
        for (const auto& difference : compareSet(2, pc, player))
            shown.append(differenceRow(difference));
        EXPECT_EQ(shown, rows);
    }
}

// The rows keep the PC's order, whatever order the player answers in, and a program whose
// number an older load cut to a byte is compared with what the player made of it.
TEST(Compare, ProgramsArePairedByTheirOrderNumbers) {
    QList<ProgramRecord> pc = pcPrograms();
    pc[2].OrderNo = "259"; // sent as 3 by an older load
    QList<ProgramRecord> player = playerCopy(pcPrograms());
    std::reverse(player.begin(), player.end());
    player[1].YinLiang = 33; // program 002
    QList<QStringList> shown;
    for (const auto& difference : compareSet(2, pc, player))
        shown.append(differenceRow(difference));
    EXPECT_EQ(shown, (QList<QStringList>{{"第二套", "002", "音量", "2", "33"},
                                         {"第二套", "259", "序号", "259", "003"}}));
}

TEST(Compare, TheTextsOfTheWindowAndTheFile) {
    EXPECT_EQ(differenceRow({0, "", PreheatField, "5", "0"}),
              (QStringList{"整机", "", "预热时间", "5", "0"}));
    EXPECT_EQ(differenceRow({0, "", DelayField, "10", "3"}),
              (QStringList{"整机", "", "延时时间", "10", "3"}));
    EXPECT_EQ(reloadQuestion({1, 3}),
              "将重新装载第一套、第三套，播放器中这些套的原有程序将被清除，继续吗？");
    EXPECT_EQ(verifySummary({}), "播放器中的程序与电脑一致");
    EXPECT_EQ(
        verifySummary({{}, {{1, "001", "YinLiang", "1", "2"}, {1, "001", "Week1", "1", "0"}}}),
        "共2处不同");
    EXPECT_EQ(verifySummary({"程序读取失败！", {}}), "程序读取失败！");
    EXPECT_EQ(
        verifySummary({"程序读取失败！", {}, "第一套 序号001：开始时间 25:00:00 不是有效的时刻"}),
        "程序读取失败！\n第一套 序号001：开始时间 25:00:00 不是有效的时刻");

    const QByteArray csv =
        differencesCsv({{4, "012", "QuMu1", "1,5", "say \"hi\""}, {0, "", DelayField, "1", "2"}});
    EXPECT_EQ(csv, QByteArray("\xEF\xBB\xBF"
                              "套,序号,项目,电脑,播放器\r\n"
                              "第四套,012,曲目1,\"1,5\",\"say \"\"hi\"\"\"\r\n"
                              "整机,,延时时间,1,2\r\n"));
}

namespace {

class VerifyTest : public ReadTest {
protected:
    void SetUp() override {
        ReadTest::SetUp();
        for (int set : {1, 2, 3}) {
            QList<ProgramRecord> programs;
            for (int i = 1; i <= 3; ++i)
                programs.append(sampleProgram(i, setLabel(set)));
            fillMusicTab(programs);
            serial.player().setPrograms(set, storedSet(set, 3));
        }
    }

    VerifyResult verify(QList<int> sets = {1, 2, 3, 4}) {
        return run(verifySets(context(), sets, observer));
    }

    MendResult mend(const VerifyResult& compared) {
        LoadObserver quiet;
        return run(loadDifferences({channel, clock, module.database(), session}, compared, quiet));
    }

    QStringList clearsSent() {
        QStringList clears;
        for (const QString& frame : framesSent())
            if (frame.startsWith("FE07") || frame.startsWith("FE05"))
                clears.append(frame);
        return clears;
    }
};

} // namespace

// The player's pre-heat and delay are compared with the PC's, asked for once; the session's
// read-back pair, which the viewer saves with the read-back table, is left alone.
TEST_F(VerifyTest, PreheatAndDelayAreComparedWithoutTouchingTheReadBackPair) {
    session.PreheatMinutes = 5;
    session.DelayMinutes = 10;
    session.ReadPreheatMinutes = 7;
    serial.player().setPreheatDelay(5, 3);
    const auto result = verify({2});
    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(result.differences, (QList<ProgramDifference>{{0, "", DelayField, "10", "3"}}));
    EXPECT_TRUE(result.preheatDelayDiffers());
    EXPECT_TRUE(result.differingSets().isEmpty());
    EXPECT_EQ(session.ReadPreheatMinutes, 7);
    EXPECT_EQ(framesSent().filter("FE0602FF").size(), 1) << framesSent().join(' ').toStdString();

    serial.player().setOptions({.noPreheatReply = true});
    EXPECT_EQ(verify().failure, "读取预热和延时时间失败！");
    EXPECT_TRUE(table(ProgramTable::MusicReadTab).isEmpty());
}

// Only the sets that differ are cleared and loaded again, each as the load window loads it;
// afterwards the player agrees. A pre-heat or delay alone goes without a clear.
TEST_F(VerifyTest, LoadingTheDifferencesLoadsExactlyTheSetsThatDiffer) {
    auto set3 = storedSet(3, 3);
    set3.pop_back();
    serial.player().setPrograms(3, set3);
    auto set1 = storedSet(1, 3);
    set1[0][14] = 30;
    serial.player().setPrograms(1, set1);
    auto player4 = storedSet(4, 1); // the PC has no program in set 4
    serial.player().setPrograms(4, player4);

    const auto before = verify();
    EXPECT_EQ(before.differingSets(), (QList<int>{1, 3, 4}));
    serial.player().clearReceived();
    EXPECT_TRUE(mend(before).succeeded());
    EXPECT_EQ(clearsSent(), (QStringList{"FE050000FF", "FE0701FF", "FE050000FF", "FE0703FF",
                                         "FE050000FF", "FE0704FF"}));
    EXPECT_TRUE(verify().agrees());
    EXPECT_EQ(serial.player().programs(2), storedSet(2, 3)) << "set 2 was not touched";

    session.PreheatMinutes = 9;
    const auto preheatOnly = verify();
    ASSERT_EQ(preheatOnly.differences.size(), 1);
    serial.player().clearReceived();
    EXPECT_TRUE(mend(preheatOnly).succeeded());
    EXPECT_EQ(clearsSent(), QStringList{"FE050900FF"});
    EXPECT_TRUE(verify().agrees());
}
