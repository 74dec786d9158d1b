#pragma once

#include "ProgramRecord.h"

#include <QList>
#include <QRectF>

namespace tessaly {

// Where each program of a set falls in the week: one block per program and weekday it plays
// on, in a grid whose x runs over days (Monday 0.0 to Sunday's right edge 7.0) and whose y runs
// over hours (0.0 at 00:00 to 24.0 at midnight). A painter scales that grid to its surface.
struct WeekBlock {
    int program = 0;     // index into the programs laid out
    int day = 0;         // 0 Monday .. 6 Sunday
    int startSecond = 0; // second of the day the program starts
    int endSecond = 0;   // second of the day it ends; 86400 for an end at midnight
    // The end is not after the start (00:00:00 after a start at midnight included): the
    // program is drawn as a marker of its own at its start.
    bool endNotAfterStart = false;
    // Too short to be drawn by its length (a bell, or an end not after the start): a mark at
    // its start over the whole day, taking no lane.
    bool mark = false;
    int lane = 0;      // position among the blocks it overlaps, left to right
    int laneCount = 1; // how many lanes that group of overlapping blocks needs
    // Programs of the same class (both priority or both not) starting at the same second on
    // this day: indexes into the programs laid out, this one excluded.
    QList<int> sameStart;
    // In days and hours, as above: the real span in its lane; a mark spans its whole day and
    // lasts what it lasts (nothing for an end not after the start).
    QRectF rect;

    bool collides() const { return !sameStart.isEmpty(); }
};

struct WeekLayout {
    // By day, then start, then lane.
    QList<WeekBlock> blocks;
    // The hours the picture shows: from the hour before the first start to the hour after the
    // last end, the whole day when there is no block.
    int firstHour = 0;
    int lastHour = 24;

    // The blocks of one day, as indexes into blocks, in start order.
    QList<int> blocksOfDay(int day) const;
};

namespace week {
constexpr int Days = 7;
constexpr int SecondsPerDay = 24 * 3600;
// A program shorter than this is drawn as a mark at its start rather than by its length.
constexpr int MarkSeconds = 5 * 60;
} // namespace week

// Lays out the programs (of one set) over the week. Blocks of a day whose real times overlap
// share its width in lanes; blocks that only touch (one ends when the next starts) do not
// overlap, and marks take no lane.
WeekLayout layOutWeek(const QList<ProgramRecord>& programs);

// The start or end of a program as a second of the day: the stored time of day where it is
// valid, otherwise the hour, minute and second fields within their ranges.
int startSecondOf(const ProgramRecord& program);
int endSecondOf(const ProgramRecord& program);

} // namespace tessaly
