#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <compare>

namespace tessaly {

// Where in a file: a line, or an element of a JSON array (its index, from 0), named in the
// window's language as a user counts ("第2行", "line 2"; index 2 is "第3个程序", "program 3").
struct ImportPlace {
    enum class Kind { Line, Element };
    Kind kind = Kind::Line;
    qsizetype number = 0;

    static ImportPlace line(qsizetype number) { return {Kind::Line, number}; }
    static ImportPlace element(qsizetype index) { return {Kind::Element, index}; }

    QString text() const;
    auto operator<=>(const ImportPlace&) const = default;
};

// A refused row, or a file that cannot be read at all: where and why.
struct ImportProblem {
    ImportPlace where;
    QString message;

    QString text() const; // "第7行：…", "line 7: …"
    bool operator==(const ImportProblem&) const = default;
};

// True when every problem lies in a program of a JSON array: a summary then counts programs,
// not lines.
bool inProgramsOnly(const QList<ImportProblem>& problems);

// One program of the file, its values as texts in programColumns() order, each as the file
// writes it.
struct ImportRow {
    ImportPlace where;
    QStringList values;
};

struct ParsedImport {
    QList<ImportRow> rows;
    QList<ImportProblem> problems; // rows of the wrong shape, or the file's own fault
    bool readAsGb18030 = false;    // the file was not UTF-8 and was read as GB18030
};

// The place of each column name in programColumns().
const QHash<QString, int>& columnIndex();
// AutoID may come along in a file; its value is never taken.
bool isAutoId(const QString& column);

// A character that no value of a program holds and that a message could not show as it is: a
// control character (NUL, tab, a line end, ...) or a line or paragraph separator.
bool isControlCharacter(QChar c);
bool hasControlCharacter(QStringView text);

// A value as a message quotes it: at most its first 40 characters, "…" for the rest, so that
// a message about a wrong value never grows into a wall of text; control characters escaped
// (\0, \t, \n, \r, \x1B, \u2028), so that a message is never cut short or split over lines.
QString quotable(const QString& value);

} // namespace tessaly
