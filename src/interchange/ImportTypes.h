#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace tessaly {

// A refused row, or a file that cannot be read at all: where ("line 7", or "element 3" of a
// JSON array, counted from 0) and why.
struct ImportProblem {
    QString where;
    QString message;

    QString text() const { return where + QStringLiteral(": ") + message; }
    bool operator==(const ImportProblem&) const = default;
};

// One program of the file, its values as texts in programColumns() order.
struct ImportRow {
    QString where;
    QStringList values;
};

struct ParsedImport {
    QList<ImportRow> rows;
    QList<ImportProblem> problems; // rows of the wrong shape, or the file's own fault
};

// Where a problem is: a line of the file, or an element of a JSON array.
QString lineWhere(int line);
QString elementWhere(qsizetype index);

// The place of each column name in programColumns().
const QHash<QString, int>& columnIndex();
// AutoID may come along in a file; its value is never taken.
bool isAutoId(const QString& column);

} // namespace tessaly
