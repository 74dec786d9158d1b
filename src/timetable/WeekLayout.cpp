#include "WeekLayout.h"

#include <QHash>

#include <algorithm>
#include <tuple>

namespace tessaly {

namespace {

int secondOfDay(const QTime& time, int hour, int minute, int second) {
    if (time.isValid())
        return time.msecsSinceStartOfDay() / 1000;
    return std::clamp(hour, 0, 23) * 3600 + std::clamp(minute, 0, 59) * 60 +
           std::clamp(second, 0, 59);
}

// Gives the blocks of one day (in start order) their lanes: each takes the leftmost lane that
// is free at its start, and a group of blocks linked by overlaps shares one lane count. Marks
// stay out of the lanes.
void assignLanes(QList<WeekBlock>& blocks, qsizetype first, qsizetype last) {
    QList<int> laneEnds; // per lane, where its last block ends
    qsizetype groupStart = first;
    int groupEnd = -1;
    const auto closeGroup = [&](qsizetype end) {
        for (qsizetype i = groupStart; i < end; ++i)
            if (!blocks[i].mark)
                blocks[i].laneCount = int(laneEnds.size());
        laneEnds.clear();
    };
    for (qsizetype i = first; i < last; ++i) {
        if (blocks[i].mark)
            continue;
        const int start = blocks[i].startSecond;
        const int end = blocks[i].endSecond;
        if (start >= groupEnd && i > groupStart) {
            closeGroup(i);
            groupStart = i;
        }
        const auto free = std::find_if(laneEnds.begin(), laneEnds.end(),
                                       [start](int laneEnd) { return laneEnd <= start; });
        if (free == laneEnds.end()) {
            blocks[i].lane = int(laneEnds.size());
            laneEnds.append(end);
        } else {
            blocks[i].lane = int(free - laneEnds.begin());
            *free = end;
        }
        groupEnd = std::max(groupEnd, end);
    }
    closeGroup(last);
}

void placeRect(WeekBlock& block) {
    const int length = block.endNotAfterStart ? 0 : block.endSecond - block.startSecond;
    const double width = 1.0 / block.laneCount;
    block.rect =
        QRectF(block.day + block.lane * width, block.startSecond / 3600.0, width, length / 3600.0);
}

// From the hour before the first start to the hour after the last end (a marker ends where it
// starts), within the day; the whole day for an empty week.
void fitHours(WeekLayout& layout) {
    if (layout.blocks.isEmpty())
        return;
    int first = week::SecondsPerDay;
    int last = 0;
    for (const WeekBlock& block : std::as_const(layout.blocks)) {
        first = std::min(first, block.startSecond);
        last = std::max(last, block.endNotAfterStart ? block.startSecond : block.endSecond);
    }
    layout.firstHour = std::clamp((first + 3599) / 3600 - 1, 0, 23);
    layout.lastHour = std::clamp(last / 3600 + 1, layout.firstHour + 1, 24);
}

// Marks programs of the same class that start at the same second on the same day.
void markSameStarts(QList<WeekBlock>& blocks, const QList<ProgramRecord>& programs) {
    QHash<qint64, QList<qsizetype>> byStart;
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        const WeekBlock& b = blocks[i];
        const qint64 key = (qint64(b.day) * week::SecondsPerDay + b.startSecond) * 2 +
                           (isPriority(programs[b.program]) ? 1 : 0);
        byStart[key].append(i);
    }
    for (const auto& group : std::as_const(byStart)) {
        if (group.size() < 2)
            continue;
        for (const qsizetype i : group)
            for (const qsizetype other : group)
                if (other != i)
                    blocks[i].sameStart.append(blocks[other].program);
    }
}

} // namespace

int startSecondOf(const ProgramRecord& program) {
    return secondOfDay(program.KSTime, program.KS1, program.KS2, program.KS3);
}

int endSecondOf(const ProgramRecord& program) {
    return secondOfDay(program.JSTime, program.JS1, program.JS2, program.JS3);
}

QList<int> WeekLayout::blocksOfDay(int day) const {
    QList<int> found;
    for (qsizetype i = 0; i < blocks.size(); ++i)
        if (blocks[i].day == day)
            found.append(int(i));
    return found;
}

WeekLayout layOutWeek(const QList<ProgramRecord>& programs) {
    WeekLayout layout;
    layout.blocks.reserve(programs.size() * 2);
    for (qsizetype p = 0; p < programs.size(); ++p) {
        const ProgramRecord& program = programs[p];
        const int start = startSecondOf(program);
        int end = endSecondOf(program);
        // An end at 00:00:00 closes the day the program started on.
        if (end == 0 && start > 0)
            end = week::SecondsPerDay;
        for (int day = 0; day < week::Days; ++day) {
            if (!program.Week[day])
                continue;
            WeekBlock block;
            block.program = int(p);
            block.day = day;
            block.startSecond = start;
            block.endSecond = end;
            block.endNotAfterStart = end <= start;
            block.mark = block.endNotAfterStart || end - start < week::MarkSeconds;
            layout.blocks.append(block);
        }
    }
    std::sort(layout.blocks.begin(), layout.blocks.end(),
              [](const WeekBlock& a, const WeekBlock& b) {
                  // Longer first among equal starts, so that a nested block takes a lane of
                  // its own beside the one that holds it.
                  return std::tuple(a.day, a.startSecond, -a.endSecond, a.program) <
                         std::tuple(b.day, b.startSecond, -b.endSecond, b.program);
              });
    qsizetype first = 0;
    while (first < layout.blocks.size()) {
        qsizetype last = first;
        while (last < layout.blocks.size() && layout.blocks[last].day == layout.blocks[first].day)
            ++last;
        assignLanes(layout.blocks, first, last);
        first = last;
    }
    for (WeekBlock& block : layout.blocks)
        placeRect(block);
    markSameStarts(layout.blocks, programs);
    fitHours(layout);
    return layout;
}

} // namespace tessaly
