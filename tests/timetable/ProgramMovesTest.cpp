#include "ProgramMoves.h"
#include "DatabaseDump.h"
#include "DbTesting.h"
#include "ProgramStore.h"
#include "ScheduleEditor.h"
#include "Session.h"
#include "WeekSamples.h"

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// Set 1 numbered as the editor numbers it: a working-week program A, a Monday program B a
// minute later, a priority program P a minute after that, one whose volume the editor does not
// offer, and one that ends at midnight.
class ProgramMovesTest : public PlayerDbTest {
protected:
    void SetUp() override {
        PlayerDbTest::SetUp();
        session.PreheatMinutes = 3;
        session.DelayMinutes = 4;
        ProgramRecord priority = timedProgram(1, 3, QTime(8, 2), QTime(8, 2, 30), MondayOnly);
        priority.YXCX = priorityMarker();
        ProgramRecord loud = timedProgram(1, 4, QTime(12, 0), QTime(12, 0, 30), {});
        loud.Week[5] = true;
        loud.YinLiang = 50;
        ProgramRecord late = timedProgram(1, 5, QTime(23, 30), QTime(0, 0), {});
        late.Week[6] = true;
        for (const ProgramRecord& program :
             {timedProgram(1, 1, QTime(8, 0), QTime(8, 0, 30), WorkingWeek),
              timedProgram(1, 2, QTime(8, 1), QTime(8, 1, 30), MondayOnly), priority, loud, late})
            ids.append(*ProgramStore(module.database()).insert(ProgramTable::MusicTab, program));
    }

    QString stored(qint64 id) { return storedTimes(module.database(), id); }
    QStringList tables() { return dumpTables(module.database()); }

    Session session;
    ScheduleEditor editor{module.database(), session};
    ProgramMoves moves{editor};
    QList<qint64> ids; // A, B, P, loud, late
};

} // namespace

TEST_F(ProgramMovesTest, AMoveShiftsStartAndEndOnEveryWeekdayAndIsStoredAsTheEditorSavesIt) {
    const auto outcome = moves.move(ids[0], setLabel(1), 90);
    ASSERT_FALSE(outcome.failure) << outcome.failure->message.toStdString();
    EXPECT_EQ(outcome.seconds, 90);
    // A now starts after B: the set is renumbered in start order.
    EXPECT_EQ(stored(ids[0]), "8 1 30 8 2 0 08:01:30 08:02:00 002");
    EXPECT_EQ(stored(ids[1]), "8 1 0 8 1 30 08:01:00 08:01:30 001");
    EXPECT_EQ(rawRow("SELECT Week1, Week5, Week6 FROM MusicTab WHERE AutoID = ?", {ids[0]}),
              QVariantList({1, 1, 0}));
    EXPECT_TRUE(editor.ProgramsChanged);
    // The pre-heat and delay pass through the save untouched.
    EXPECT_EQ(session.PreheatMinutes, 3);
    EXPECT_EQ(session.DelayMinutes, 4);

    // An end at midnight moves off it and back onto it as 00:00:00.
    ASSERT_FALSE(moves.move(ids[4], setLabel(1), -600).failure);
    EXPECT_EQ(stored(ids[4]), "23 20 0 23 50 0 23:20:00 23:50:00 005");
    ASSERT_FALSE(moves.move(ids[4], setLabel(1), 600).failure);
    EXPECT_EQ(stored(ids[4]), "23 30 0 0 0 0 23:30:00 00:00:00 005");
}

TEST_F(ProgramMovesTest, MovesAreCheckedByTheEditorsRulesAndARefusalWritesNothing) {
    struct Case {
        int program; // index into ids, -1 for a program that is gone
        int seconds;
        const char* refusal; // empty: accepted
    };
    const Case cases[] = {
        {0, 60, "输入任务已存在，请重新设置！"}, // onto B, which shares Monday
        {1, 60, ""},                             // onto P, of the other class
        {0, 3600, ""},
        {3, 60, "音量不能为空！"},
        {4, 60, "程序只能在当天之内移动！"},        // the end would pass midnight
        {0, -9 * 3600, "程序只能在当天之内移动！"}, // the start would come before it
        {-1, 60, "该程序已不存在，无法移动！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.program) + " " + std::to_string(c.seconds));
        const QStringList before = tables();
        editor.ProgramsChanged = false;
        const auto outcome =
            moves.move(c.program < 0 ? 9999 : ids[c.program], setLabel(1), c.seconds);
        if (*c.refusal) {
            ASSERT_TRUE(outcome.failure);
            EXPECT_EQ(outcome.failure->message, c.refusal);
            EXPECT_EQ(tables(), before);
            EXPECT_FALSE(editor.ProgramsChanged);
        } else {
            EXPECT_FALSE(outcome.failure);
            EXPECT_NE(tables(), before);
            EXPECT_TRUE(editor.ProgramsChanged);
            ASSERT_FALSE(moves.undo().failure); // the next case starts from the fixture
        }
    }
}

TEST_F(ProgramMovesTest, UndoAndRedoStoreEachStateAgainAndARefusedUndoStaysInTheHistory) {
    const QStringList start = tables();
    ASSERT_FALSE(moves.move(ids[0], setLabel(1), 300).failure);
    const QStringList afterFirst = tables();
    ASSERT_FALSE(moves.move(ids[1], setLabel(1), -60).failure);
    const QStringList afterSecond = tables();

    ASSERT_FALSE(moves.undo().failure);
    EXPECT_EQ(tables(), afterFirst);
    ASSERT_FALSE(moves.undo().failure);
    EXPECT_EQ(tables(), start);
    EXPECT_FALSE(moves.canUndo());
    ASSERT_FALSE(moves.redo().failure);
    EXPECT_EQ(tables(), afterFirst);
    ASSERT_FALSE(moves.redo().failure);
    EXPECT_EQ(tables(), afterSecond);
    EXPECT_FALSE(moves.canRedo());

    // A's old start taken meanwhile on Monday: its undo is refused and waits.
    ASSERT_FALSE(moves.undo().failure);
    const qint64 taker = *ProgramStore(module.database())
                              .insert(ProgramTable::MusicTab,
                                      timedProgram(1, 6, QTime(8, 0), QTime(8, 0, 10), MondayOnly));
    const auto refused = moves.undo();
    ASSERT_TRUE(refused.failure);
    EXPECT_EQ(refused.failure->message, "输入任务已存在，请重新设置！");
    EXPECT_TRUE(moves.canUndo());
    rawExec("DELETE FROM MusicTab WHERE AutoID = ?", {taker});
    EXPECT_FALSE(moves.undo().failure);
    EXPECT_EQ(stored(ids[0]), "8 0 0 8 0 30 08:00:00 08:00:30 001");

    // A new move forgets what could be redone.
    EXPECT_TRUE(moves.canRedo());
    ASSERT_FALSE(moves.move(ids[2], setLabel(1), 60).failure);
    EXPECT_FALSE(moves.canRedo());
}

TEST_F(ProgramMovesTest, AShiftIsKeptWithinTheProgramsDay) {
    struct Case {
        QTime start, end;
        int wanted, kept;
    };
    const Case cases[] = {
        {QTime(8, 0), QTime(8, 30), -9 * 3600, -8 * 3600},
        {QTime(8, 0), QTime(8, 30), 20 * 3600, 86400 - 8 * 3600 - 30 * 60},
        {QTime(23, 30), QTime(0, 0), 60, 0}, // ends at midnight already
        {QTime(0, 0), QTime(0, 0), -5, 0},   // a marker at the day's start
        {QTime(20, 0), QTime(19, 0), -20 * 3600,
         -(19 * 3600 - 1)}, // its end reaches the day's start first
        {QTime(20, 0), QTime(19, 0), 5 * 3600, 4 * 3600 - 1}, // its start the day's end
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramMoves::shiftWithinDay(timedProgram(1, 1, c.start, c.end), c.wanted),
                  c.kept)
            << c.start.toString().toStdString() << " " << c.wanted;
}
