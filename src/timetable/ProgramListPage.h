#pragma once

#include "ProgramRecord.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QRectF>
#include <QStringList>

class QPaintDevice;
class QPainter;

namespace tessaly {

// One cell of a placed row: where it stands and its text, one entry a line.
struct ListCell {
    QRectF rect;
    QStringList lines;
};

// A row of the list where it stands: the header (program -1) or the row of one program.
struct ListRow {
    qsizetype program = -1;
    QRectF rect;
    QList<ListCell> cells;
};

// The rows that fit into an area and the first program left over for the next one.
struct ListPlacement {
    QList<ListRow> rows;
    qsizetype next = 0;
};

// The printed list of a set's programs: one row a program (order number, times, weekdays,
// priority, tracks or radio) under a header repeated at the top of each column. Each cell is as
// wide as its widest text; where the area cannot give every cell that, the weekdays and the
// tracks wrap onto further lines (tracks between their numbers) and the row grows. No text is
// cut: the rows that do not fit into an area are left for the next one.
class ProgramList {
public:
    // The list as it is painted on device: 7.5 points high at the device's resolution.
    ProgramList(const QList<ProgramRecord>& programs, const QPaintDevice& device);

    // The rows from program `first` on that fit into area, in as many columns side by side as
    // their widths allow. At least one program is placed, so that a list always comes to an end.
    ListPlacement place(const QRectF& area, qsizetype first) const;
    // Paints what place() gives; returns the first program left over.
    qsizetype paint(QPainter& painter, const QRectF& area, qsizetype first) const;
    void paint(QPainter& painter, const ListPlacement& placement) const;

    qsizetype size() const { return m_rows.size(); }
    const QFont& font() const { return m_font; }
    const QStringList& cells(qsizetype program) const { return m_rows[program]; }

private:
    QList<qreal> cellWidths(qreal columnWidth) const;
    QList<qreal> weekdaysWidths() const;
    ListRow rowAt(const QPointF& at, const QStringList& texts, const QList<qreal>& widths,
                  const QFontMetricsF& metrics) const;

    QList<QStringList> m_rows;
    QStringList m_header;
    QFont m_font;
    QFont m_headerFont;
    QFontMetricsF m_metrics;
    QFontMetricsF m_headerMetrics;
    qreal m_padding = 0; // after each cell's text
    qreal m_columnGap = 0;
    QList<qreal> m_natural; // a cell's widest text on one line
    QList<qreal> m_least;   // the least a cell can have with its texts wrapped
};

// A page of the list alone, after the page of the week: the set's title marked as continued,
// the order numbers the page holds, and the list of the programs from `first` on. Returns the
// first program left over.
qsizetype paintProgramListPage(QPainter& painter, const QRectF& page, const QString& title,
                               const QList<ProgramRecord>& programs, const ProgramList& list,
                               qsizetype first, const QDateTime& printed);

} // namespace tessaly
