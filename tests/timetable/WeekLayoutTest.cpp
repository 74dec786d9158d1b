#include "WeekLayout.h"
#include "WeekSamples.h"

#include <gtest/gtest.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

struct Span {
    const char* start;
    const char* end;
    std::array<bool, 7> days{true}; // Monday
    bool priority = false;
};

// One block as expected: its program, day, lane of how many, and top and height in hours.
struct Expected {
    int program;
    int day;
    int lane;
    int lanes;
    double top;
    double height;
    bool mark = false;
    bool endNotAfterStart = false;
};

struct LayoutCase {
    const char* name;
    QList<Span> spans;
    QList<Expected> blocks; // in the layout's order: day, start, longer first
};

QTime at(const char* text) {
    return QTime::fromString(QString::fromLatin1(text), QStringLiteral("hh:mm:ss"));
}

QList<ProgramRecord> programsOf(const QList<Span>& spans) {
    QList<ProgramRecord> programs;
    for (const Span& span : spans) {
        programs.append(
            timedProgram(1, int(programs.size()) + 1, at(span.start), at(span.end), span.days));
        if (span.priority)
            programs.last().YXCX = priorityMarker();
    }
    return programs;
}

const LayoutCase Cases[] = {
    {"NoOverlap",
     {{"08:00:00", "09:00:00"}, {"10:00:00", "11:30:00"}},
     {{0, 0, 0, 1, 8, 1}, {1, 0, 0, 1, 10, 1.5}}},
    {"TwoOverlapping",
     {{"09:00:00", "11:00:00"}, {"08:00:00", "10:00:00"}},
     {{1, 0, 0, 2, 8, 2}, {0, 0, 1, 2, 9, 2}}},
    {"ThreeOverlapping",
     {{"08:00:00", "12:00:00"}, {"09:00:00", "11:00:00"}, {"10:00:00", "13:00:00"}},
     {{0, 0, 0, 3, 8, 4}, {1, 0, 1, 3, 9, 2}, {2, 0, 2, 3, 10, 3}}},
    {"ChainReusesAFreedLane",
     {{"08:00:00", "10:00:00"}, {"09:00:00", "11:00:00"}, {"10:00:00", "12:00:00"}},
     {{0, 0, 0, 2, 8, 2}, {1, 0, 1, 2, 9, 2}, {2, 0, 0, 2, 10, 2}}},
    {"NestedThenApart",
     {{"09:00:00", "10:00:00"}, {"08:00:00", "12:00:00"}, {"13:00:00", "14:00:00"}},
     {{1, 0, 0, 2, 8, 4}, {0, 0, 1, 2, 9, 1}, {2, 0, 0, 1, 13, 1}}},
    {"SameStartLongerFirst",
     {{"08:00:00", "08:30:00"}, {"08:00:00", "10:00:00", {true}, true}},
     {{1, 0, 0, 2, 8, 2}, {0, 0, 1, 2, 8, 0.5}}},
    {"BackToBackEdgesTouch",
     {{"08:00:00", "09:00:00"}, {"09:00:00", "10:00:00"}, {"10:00:00", "10:30:00"}},
     {{0, 0, 0, 1, 8, 1}, {1, 0, 0, 1, 9, 1}, {2, 0, 0, 1, 10, 0.5}}},
    // A program ending when a bell starts, and a bell a few minutes before a program: neither
    // pair plays together, so neither stands side by side.
    {"ABellTouchingOrNearAProgramIsNotBesideIt",
     {{"10:15:00", "10:20:00"},
      {"10:20:00", "10:20:30"},
      {"12:00:00", "12:00:30"},
      {"12:05:00", "12:45:00"}},
     {{0, 0, 0, 1, 10.25, 5 / 60.0},
      {1, 0, 0, 1, 10 + 20 / 60.0, 30 / 3600.0, true},
      {2, 0, 0, 1, 12, 30 / 3600.0, true},
      {3, 0, 0, 1, 12 + 5 / 60.0, 40 / 60.0}}},
    // A bell within a long program is a mark over it: it takes no lane of its own.
    {"AShortProgramIsAMarkNotALane",
     {{"07:50:00", "08:10:00"}, {"08:00:00", "08:00:30"}, {"08:05:00", "08:30:00"}},
     {{0, 0, 0, 2, 7 + 50 / 60.0, 20 / 60.0},
      {1, 0, 0, 1, 8, 30 / 3600.0, true},
      {2, 0, 1, 2, 8 + 5 / 60.0, 25 / 60.0}}},
    {"EndNotAfterStartIsAMark",
     {{"10:00:00", "09:00:00"}, {"10:05:00", "11:00:00"}, {"12:00:00", "12:00:00"}},
     {{0, 0, 0, 1, 10, 0, true, true},
      {1, 0, 0, 1, 10 + 5 / 60.0, 55 / 60.0},
      {2, 0, 0, 1, 12, 0, true, true}}},
    {"MidnightEndClosesTheDay",
     {{"22:00:00", "00:00:00"}, {"00:00:00", "00:00:00"}, {"23:59:59", "00:00:00", {false, true}}},
     {{1, 0, 0, 1, 0, 0, true, true},
      {0, 0, 0, 1, 22, 2},
      {2, 1, 0, 1, 24 - 1 / 3600.0, 1 / 3600.0, true}}},
    {"AllSevenDays",
     {{"06:00:00", "07:00:00", {true, true, true, true, true, true, true}},
      {"06:30:00", "07:30:00", {false, false, false, false, false, false, true}}},
     {{0, 0, 0, 1, 6, 1},
      {0, 1, 0, 1, 6, 1},
      {0, 2, 0, 1, 6, 1},
      {0, 3, 0, 1, 6, 1},
      {0, 4, 0, 1, 6, 1},
      {0, 5, 0, 1, 6, 1},
      {0, 6, 0, 2, 6, 1},
      {1, 6, 1, 2, 6.5, 1}}},
    {"NoWeekdayNoBlock", {{"06:00:00", "07:00:00", {}}}, {}},
};

class WeekLayoutCases : public ::testing::TestWithParam<LayoutCase> {};

// No two blocks of a day share any area: overlapping programs stand side by side. Marks lie
// over the blocks.
void expectNothingOnTopOfAnother(const WeekLayout& layout) {
    for (qsizetype i = 0; i < layout.blocks.size(); ++i)
        for (qsizetype j = i + 1; j < layout.blocks.size(); ++j) {
            if (layout.blocks[i].mark || layout.blocks[j].mark)
                continue;
            const QRectF common = layout.blocks[i].rect.intersected(layout.blocks[j].rect);
            ASSERT_TRUE(common.width() < 1e-9 || common.height() < 1e-9)
                << "blocks " << i << " and " << j << " overlap";
        }
}

TEST_P(WeekLayoutCases, ColumnsAndRectangles) {
    const LayoutCase& c = GetParam();
    const WeekLayout layout = layOutWeek(programsOf(c.spans));
    ASSERT_EQ(layout.blocks.size(), c.blocks.size());
    for (qsizetype i = 0; i < c.blocks.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "block " << i);
        const WeekBlock& block = layout.blocks[i];
        const Expected& e = c.blocks[i];
        EXPECT_EQ(block.program, e.program);
        EXPECT_EQ(block.day, e.day);
        EXPECT_EQ(block.lane, e.lane);
        EXPECT_EQ(block.laneCount, e.lanes);
        EXPECT_EQ(block.mark, e.mark);
        EXPECT_EQ(block.endNotAfterStart, e.endNotAfterStart);
        EXPECT_NEAR(block.rect.left(), e.day + double(e.lane) / e.lanes, 1e-9);
        EXPECT_NEAR(block.rect.width(), 1.0 / e.lanes, 1e-9);
        EXPECT_NEAR(block.rect.top(), e.top, 1e-9);
        EXPECT_NEAR(block.rect.height(), e.height, 1e-9);
        EXPECT_FALSE(block.collides());
    }
    expectNothingOnTopOfAnother(layout);
}

INSTANTIATE_TEST_SUITE_P(Week, WeekLayoutCases, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The hours shown: the hour before the first start to the hour after the last end.
TEST(WeekLayout, TheHoursShownFitTheWeek) {
    const struct {
        const char* name;
        QList<Span> spans;
        int firstHour;
        int lastHour;
    } cases[] = {
        {"empty", {}, 0, 24},
        {"no weekday", {{"08:00:00", "09:00:00", {}}}, 0, 24},
        {"one bell", {{"08:00:00", "08:00:30"}}, 7, 9},
        {"school day", {{"07:50:00", "08:35:00"}, {"17:30:00", "17:30:30"}}, 7, 18},
        {"end at 23:30", {{"22:10:00", "23:30:00"}}, 22, 24},
        {"end at midnight", {{"21:00:00", "00:00:00"}}, 20, 24},
        {"spans the day", {{"00:00:00", "00:20:00"}, {"23:00:00", "23:59:59"}}, 0, 24},
        {"marker ends at its start", {{"20:00:35", "19:00:00"}, {"10:00:00", "10:30:00"}}, 9, 21},
    };
    for (const auto& c : cases) {
        const WeekLayout layout = layOutWeek(programsOf(c.spans));
        EXPECT_EQ(std::pair(layout.firstHour, layout.lastHour), std::pair(c.firstHour, c.lastHour))
            << c.name;
    }
}

TEST(WeekLayout, SameClassSameStartOnADayIsACollision) {
    const WeekLayout layout = layOutWeek(programsOf({
        {"08:00:00", "08:30:00", {true, true}},
        {"08:00:00", "09:00:00", {true}},
        {"08:00:00", "08:10:00", {true, true}, true}, // priority: a class of its own
    }));
    ASSERT_EQ(layout.blocks.size(), 5);
    for (const WeekBlock& block : layout.blocks) {
        SCOPED_TRACE(::testing::Message() << block.program << " on " << block.day);
        if (block.day == 0 && block.program == 0)
            EXPECT_EQ(block.sameStart, QList<int>{1});
        else if (block.day == 0 && block.program == 1)
            EXPECT_EQ(block.sameStart, QList<int>{0});
        else
            EXPECT_FALSE(block.collides()); // Tuesday holds one of each class only
    }
    expectNothingOnTopOfAnother(layout);
}

TEST(WeekLayout, NineHundredNinetyNineProgramsAllWeek) {
    QList<ProgramRecord> programs;
    for (int i = 0; i < 999; ++i) {
        const QTime start = QTime(0, 0).addSecs(i * 86);
        programs.append(timedProgram(1, i + 1, start, start.addSecs(i % 3 == 0 ? 3600 : 300),
                                     {true, true, true, true, true, true, true}));
    }
    const WeekLayout layout = layOutWeek(programs);
    ASSERT_EQ(layout.blocks.size(), 999 * 7);
    for (int day = 0; day < week::Days; ++day)
        EXPECT_EQ(layout.blocksOfDay(day).size(), 999);
    const QRectF weekArea(0, 0, week::Days, 24);
    for (const WeekBlock& block : layout.blocks) {
        ASSERT_EQ(weekArea.united(block.rect), weekArea) << block.program;
        ASSERT_LT(block.lane, block.laneCount);
        ASSERT_FALSE(block.collides());
    }
    for (int day = 0; day < week::Days; ++day) {
        WeekLayout oneDay;
        for (const int i : layout.blocksOfDay(day))
            oneDay.blocks.append(layout.blocks[i]);
        expectNothingOnTopOfAnother(oneDay);
    }
}

TEST(WeekLayout, TheSampleWeekShowsItsFaults) {
    const QList<ProgramRecord> programs = sampleWeek(1);
    const WeekLayout layout = layOutWeek(programs);
    int markers = 0, collisions = 0;
    for (const WeekBlock& block : layout.blocks) {
        markers += block.endNotAfterStart;
        collisions += block.collides();
    }
    EXPECT_EQ(markers, 5);    // the program ending before it starts, Monday to Friday
    EXPECT_EQ(collisions, 2); // the two starting together on Monday
}

} // namespace
