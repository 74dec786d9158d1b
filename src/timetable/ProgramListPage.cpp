#include "ProgramListPage.h"

#include "WeekText.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

namespace tessaly {

namespace {

// Legible on A4 and still small enough for a column of sixty rows beside the week.
constexpr qreal ListPoints = 7.5;
// The cells of a row (weekText::tableRow) that may wrap: the weekdays and the tracks. The order
// number, the times and the priority keep to one line, and so does their heading.
constexpr int WeekdaysCell = 2;
constexpr int SourceCell = 4;

const QColor HeaderRule(70, 70, 70);
const QColor RowRule(215, 215, 215);

QFont listFont(const QPaintDevice& device, bool bold) {
    QFont font;
    font.setPixelSize(int(std::ceil(ListPoints * device.logicalDpiY() / 72.0)));
    font.setBold(bold);
    return font;
}

// Where a text may break: after "、", "–" and "/", and after a space, except the one between
// a word and its number ("收音 5", "Radio 5").
bool breaksAfter(const QString& text, qsizetype i) {
    const QChar c = text[i];
    if (c == u'、' || c == u'–' || c == u'/')
        return true;
    if (c != u' ')
        return false;
    return !(i > 0 && i + 1 < text.size() && text[i - 1].isLetter() && text[i + 1].isDigit());
}

// The text cut after each place where it may break.
QStringList piecesOf(const QString& text) {
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (breaksAfter(text, i)) {
            pieces.append(text.mid(start, i + 1 - start));
            start = i + 1;
        }
    if (start < text.size())
        pieces.append(text.mid(start));
    return pieces;
}

qreal widestPiece(const QString& text, const QFontMetricsF& metrics) {
    qreal widest = 0;
    for (const QString& piece : piecesOf(text))
        widest = std::max(widest, metrics.horizontalAdvance(piece.trimmed()));
    return widest;
}

// The text in lines no wider than width where it can be broken so.
QStringList wrapped(const QString& text, qreal width, const QFontMetricsF& metrics) {
    QStringList lines;
    QString line;
    for (const QString& piece : piecesOf(text)) {
        if (!line.isEmpty() && metrics.horizontalAdvance((line + piece).trimmed()) > width) {
            lines.append(line.trimmed());
            line.clear();
        }
        line += piece;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines.append(line.trimmed());
    return lines;
}

// As many lines as wrapped() gives, as even as they can be: "019 020 / 021 022" rather than
// "019 020 021 / 022".
QStringList balanced(const QString& text, qreal width, const QFontMetricsF& metrics) {
    const auto widestOf = [&metrics](const QStringList& lines) {
        qreal widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        return widest;
    };
    QStringList lines = wrapped(text, width, metrics);
    // Narrower and narrower while the lines stay as many; a piece that cannot break ends it.
    for (qreal widest = widestOf(lines); lines.size() > 1;) {
        const QStringList narrower = wrapped(text, widest - 1, metrics);
        const qreal narrowerWidest = widestOf(narrower);
        if (narrower.size() != lines.size() || narrowerWidest >= widest)
            break;
        lines = narrower;
        widest = narrowerWidest;
    }
    return lines;
}

qreal sum(const QList<qreal>& values) {
    return std::accumulate(values.begin(), values.end(), qreal(0));
}

QFont pageFont(qreal pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

} // namespace

ProgramList::ProgramList(const QList<ProgramRecord>& programs, const QPaintDevice& device)
    : m_header(weekText::tableHeader()), m_font(listFont(device, false)),
      m_headerFont(listFont(device, true)), m_metrics(m_font, &device),
      m_headerMetrics(m_headerFont, &device) {
    for (const ProgramRecord& program : programs)
        m_rows.append(weekText::tableRow(program));
    m_padding = m_metrics.height() * 0.6;
    m_columnGap = m_metrics.height() * 1.5;
    for (int cell = 0; cell < int(m_header.size()); ++cell) {
        const bool wraps = cell == WeekdaysCell || cell == SourceCell;
        qreal natural = m_headerMetrics.horizontalAdvance(m_header[cell]);
        qreal least = wraps ? widestPiece(m_header[cell], m_headerMetrics) : natural;
        for (const QStringList& row : m_rows) {
            const qreal width = m_metrics.horizontalAdvance(row[cell]);
            natural = std::max(natural, width);
            least = std::max(least, wraps ? widestPiece(row[cell], m_metrics) : width);
        }
        m_natural.append(natural + m_padding);
        m_least.append(least + m_padding);
    }
}

// Every cell its widest text where the column allows, the room left to the last. Otherwise the
// weekdays and the tracks share what the other cells leave, split where their rows take the
// fewest lines in all.
QList<qreal> ProgramList::cellWidths(qreal columnWidth) const {
    QList<qreal> widths = m_natural;
    const qreal excess = sum(m_natural) - columnWidth;
    if (excess <= 0) {
        widths.last() -= excess;
        return widths;
    }
    const qreal room = m_natural[WeekdaysCell] + m_natural[SourceCell] - excess;
    widths[WeekdaysCell] = m_least[WeekdaysCell];
    widths[SourceCell] = m_least[SourceCell];
    qsizetype fewest = std::numeric_limits<qsizetype>::max();
    for (const qreal weekdays : weekdaysWidths()) {
        const qreal source = room - weekdays;
        if (source < m_least[SourceCell])
            continue;
        qsizetype lines = 0;
        for (const QStringList& row : m_rows)
            lines += std::max(wrapped(row[WeekdaysCell], weekdays - m_padding, m_metrics).size(),
                              wrapped(row[SourceCell], source - m_padding, m_metrics).size());
        if (lines < fewest) {
            fewest = lines;
            widths[WeekdaysCell] = weekdays;
            widths[SourceCell] = source;
        }
    }
    return widths;
}

// The widths at which a row's weekdays take one line more: their texts broken after each of
// their break places, widest first.
QList<qreal> ProgramList::weekdaysWidths() const {
    QSet<QString> texts;
    for (const QStringList& row : m_rows)
        texts.insert(row[WeekdaysCell]);
    QList<qreal> widths{m_natural[WeekdaysCell]};
    for (const QString& text : texts) {
        QString line;
        for (const QString& piece : piecesOf(text)) {
            line += piece;
            widths.append(std::max(m_metrics.horizontalAdvance(line.trimmed()) + m_padding,
                                   m_least[WeekdaysCell]));
        }
    }
    std::sort(widths.begin(), widths.end(), std::greater<>());
    widths.erase(std::unique(widths.begin(), widths.end()), widths.end());
    return widths;
}

ListRow ProgramList::rowAt(const QPointF& at, const QStringList& texts, const QList<qreal>& widths,
                           const QFontMetricsF& metrics) const {
    // A little room above and below the text, so that rows of several lines stand apart.
    const qreal gap = metrics.lineSpacing() * 0.3;
    ListRow row;
    qreal x = at.x();
    qsizetype lines = 1;
    for (int cell = 0; cell < int(texts.size()); ++cell) {
        ListCell placed;
        placed.lines = balanced(texts[cell], widths[cell] - m_padding, metrics);
        placed.rect = QRectF(x, at.y() + gap / 2, widths[cell],
                             qreal(placed.lines.size()) * metrics.lineSpacing());
        lines = std::max(lines, placed.lines.size());
        row.cells.append(placed);
        x += widths[cell];
    }
    row.rect = QRectF(at.x(), at.y(), x - at.x(), qreal(lines) * metrics.lineSpacing() + gap);
    return row;
}

ListPlacement ProgramList::place(const QRectF& area, qsizetype first) const {
    ListPlacement placement;
    placement.next = first;
    const int columns =
        std::max(1, int((area.width() + m_columnGap) / (sum(m_natural) + m_columnGap)));
    const qreal columnWidth = (area.width() - m_columnGap * (columns - 1)) / columns;
    const QList<qreal> widths = cellWidths(columnWidth);
    for (int column = 0; column < columns; ++column) {
        const qsizetype columnFirst = placement.next;
        const ListRow header =
            rowAt(QPointF(area.left() + column * (columnWidth + m_columnGap), area.top()), m_header,
                  widths, m_headerMetrics);
        placement.rows.append(header);
        QPointF at = header.rect.bottomLeft();
        while (placement.next < size()) {
            ListRow row = rowAt(at, m_rows[placement.next], widths, m_metrics);
            if (row.rect.bottom() > area.bottom() && placement.next != first)
                break;
            row.program = placement.next++;
            at = row.rect.bottomLeft();
            placement.rows.append(row);
        }
        if (placement.next == columnFirst && column > 0) {
            placement.rows.removeLast(); // a header over no row
            break;
        }
        if (placement.next == size())
            break;
    }
    return placement;
}

qsizetype ProgramList::paint(QPainter& painter, const QRectF& area, qsizetype first) const {
    const ListPlacement placement = place(area, first);
    paint(painter, placement);
    return placement.next;
}

void ProgramList::paint(QPainter& painter, const ListPlacement& placement) const {
    painter.save();
    for (const ListRow& row : placement.rows) {
        const bool header = row.program < 0;
        painter.setFont(header ? m_headerFont : m_font);
        painter.setPen(Qt::black);
        const qreal lineHeight = (header ? m_headerMetrics : m_metrics).lineSpacing();
        for (const ListCell& cell : row.cells)
            for (int line = 0; line < int(cell.lines.size()); ++line)
                painter.drawText(QRectF(cell.rect.left(), cell.rect.top() + line * lineHeight,
                                        cell.rect.width(), lineHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter, cell.lines[line]);
        painter.setPen(QPen(header ? HeaderRule : RowRule, 0));
        painter.drawLine(row.rect.bottomLeft(), row.rect.bottomRight());
    }
    painter.restore();
}

qsizetype paintProgramListPage(QPainter& painter, const QRectF& page, const QString& title,
                               const QList<ProgramRecord>& programs, const ProgramList& list,
                               qsizetype first, const QDateTime& printed) {
    const qreal unit = page.height() / 72;
    const QRectF titleRow(page.left(), page.top(), page.width(), unit * 2.6);
    const QRectF body = page.adjusted(0, titleRow.height() + unit, 0, 0);
    const ListPlacement placement = list.place(body, first);
    const qsizetype next = placement.next;

    painter.setPen(Qt::black);
    painter.setFont(pageFont(unit * 1.8, true));
    painter.drawText(titleRow, Qt::AlignLeft | Qt::AlignVCenter,
                     QCoreApplication::translate("ProgramList", "%1 · 节目列表（续）").arg(title));
    painter.setFont(pageFont(unit));
    painter.drawText(
        titleRow, Qt::AlignRight | Qt::AlignVCenter,
        QCoreApplication::translate("ProgramList", "序号 %1–%2    共 %3 个节目    打印日期：%4")
            .arg(programs[first].OrderNo, programs[next - 1].OrderNo,
                 QString::number(programs.size()),
                 printed.toString(QStringLiteral("yyyy-MM-dd hh:mm"))));
    list.paint(painter, placement);
    return next;
}

} // namespace tessaly
