#pragma once

#include <QList>
#include <QString>
#include <QTime>

#include <optional>

namespace tessaly {

// One time read from a list of times: a start, and an end when the item gave one
// ("08:00-08:00:30").
struct TimeListItem {
    int line = 0; // counted from 1
    QString text; // the item as typed, without surrounding blanks
    QTime start;
    std::optional<QTime> end;

    bool operator==(const TimeListItem&) const = default;
};

// An item that names no time, with the reason.
struct TimeListProblem {
    int line = 0;
    QString text;
    QString reason;

    // "第3行：reason", as the operator reads it.
    QString message() const;

    bool operator==(const TimeListProblem&) const = default;
};

// What a list of times held, item by item, in the order typed.
struct TimeList {
    struct Entry {
        TimeListItem item;
        std::optional<TimeListProblem> problem; // set when the item names no time

        bool operator==(const Entry&) const = default;
    };
    QList<Entry> entries;

    QList<TimeListProblem> problems() const;
};

// Reads times typed or pasted from a spreadsheet column: one item a line, or several on a line
// separated by commas, semicolons or tabs; blank items are skipped. A time is hours and
// minutes, optionally seconds, separated by ":" or "." ("8:00", "08:00:00", "8.00") or written
// as digits alone ("0800", "080030"). "start-end" gives both ends. Whatever else is typed
// becomes a problem named by its line.
TimeList readTimeList(const QString& text);

// One time of day as readTimeList reads it; nothing, with the reason, when it is none.
std::optional<QTime> readTimeOfDay(const QString& text, QString* reason = nullptr);

} // namespace tessaly
