#include "WeekPicture.h"

#include "ProgramListPage.h"
#include "ProgramSet.h"
#include "WeekText.h"
#include "WholeFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <functional>
#include <limits>

namespace tessaly {

namespace {

// Fills that differ in lightness too, so that the picture reads in black and white; radio
// programs carry a hatch on top, priority programs a heavier frame and the word "优先".
const QColor Mp3Fill(196, 218, 250);
const QColor RadioFill(204, 236, 196);
const QColor PriorityFill(255, 190, 110);
const QColor Hatch(40, 90, 40);
const QColor Frame(70, 70, 70);
const QColor PriorityFrame(150, 70, 0);
const QColor CollisionFrame(220, 0, 0);
const QColor EndMarkerFrame(120, 0, 140);
const QColor FocusFrame(0, 60, 200);
const QColor MovingFill(255, 250, 205);
const QColor HourLine(170, 170, 170);
const QColor HalfHourLine(225, 225, 225);
const QColor DayShade(246, 246, 246);
const QColor LabelBackground(255, 255, 255, 235);

// The smallest text the printed week uses, in points: legible on paper at arm's length.
constexpr qreal LeastPrintedPoints = 7.5;
// A block's text is this share of the text height passed to the painter.
constexpr qreal LabelShare = 0.85;

struct Grid {
    QRectF header; // the day names
    QRectF axis;   // the hour labels
    QRectF body;   // 7 days wide, the hours shown high
    int firstHour = 0;
    int lastHour = 24;

    qreal dayWidth() const { return body.width() / week::Days; }
    qreal hourHeight() const { return body.height() / (lastHour - firstHour); }
    qreal yOf(qreal hours) const { return body.top() + (hours - firstHour) * hourHeight(); }
    QRectF column(int day) const {
        return QRectF(body.left() + day * dayWidth(), body.top(), dayWidth(), body.height());
    }
};

Grid gridOf(const QRectF& area, qreal textHeight, const WeekLayout& layout) {
    const qreal axisWidth = textHeight * 3.4;
    const qreal headerHeight = textHeight * 1.8;
    Grid grid;
    grid.body = area.adjusted(axisWidth, headerHeight, -1, -textHeight * 0.7);
    grid.header = QRectF(grid.body.left(), area.top(), grid.body.width(), headerHeight);
    grid.axis = QRectF(area.left(), grid.body.top(), axisWidth, grid.body.height());
    grid.firstHour = layout.firstHour;
    grid.lastHour = layout.lastHour;
    return grid;
}

QFont fontOfHeight(qreal pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

QString clockLabel(int hour, int minute) {
    return QStringLiteral("%1:%2")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'));
}

QFont labelFont(qreal textHeight) {
    return WeekPicture::labelFont(textHeight);
}

// Hour lines stronger than the half hours between them; the half hours are named too where
// the hours stand far enough apart.
void paintGrid(QPainter& painter, const Grid& grid, qreal textHeight) {
    const qreal dayWidth = grid.dayWidth();
    painter.setFont(fontOfHeight(textHeight * 0.9, true));
    for (int day = 0; day < week::Days; ++day) {
        const QRectF column = grid.column(day);
        if (day % 2 == 1)
            painter.fillRect(column, DayShade);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(column.left(), grid.header.top(), dayWidth, grid.header.height()),
                         Qt::AlignCenter, weekText::dayName(day));
    }
    painter.setFont(labelFont(textHeight));
    const bool nameHalfHours = grid.hourHeight() >= textHeight * 3;
    const qreal tick = textHeight * 0.3;
    for (int half = grid.firstHour * 2; half <= grid.lastHour * 2; ++half) {
        const bool onTheHour = half % 2 == 0;
        const qreal y = grid.yOf(half / 2.0);
        painter.setPen(QPen(onTheHour ? HourLine : HalfHourLine, 0));
        painter.drawLine(QPointF(grid.body.left(), y), QPointF(grid.body.right(), y));
        painter.setPen(QPen(Frame, 0));
        painter.drawLine(QPointF(grid.body.left() - (onTheHour ? tick : tick / 2), y),
                         QPointF(grid.body.left(), y));
        if (!onTheHour && !nameHalfHours)
            continue;
        painter.setPen(onTheHour ? Qt::black : Frame);
        painter.drawText(
            QRectF(grid.axis.left(), y - textHeight / 2, grid.axis.width() - tick - 2, textHeight),
            Qt::AlignRight | Qt::AlignVCenter, clockLabel(half / 2, half % 2 * 30));
    }
    painter.setPen(QPen(Frame, 0));
    for (int day = 0; day <= week::Days; ++day) {
        const qreal x = grid.body.left() + day * dayWidth;
        painter.drawLine(QPointF(x, grid.body.top()), QPointF(x, grid.body.bottom()));
    }
}

// The size of a mark: low but never a hairline, and short enough to leave its label room.
QSizeF markSize(qreal dayWidth, qreal textHeight) {
    return QSizeF(std::min(dayWidth * 0.3, textHeight * 1.6),
                  std::max<qreal>(4, textHeight * 0.45));
}

// A mark at its start, or the marker of a program whose end is not after its start: hollow,
// with a dashed frame and a cross, so that it never reads as a short program.
void paintMarkShape(QPainter& painter, const QRectF& rect, const QColor& fill, bool endMarker,
                    qreal line) {
    if (endMarker) {
        painter.fillRect(rect, Qt::white);
        painter.setPen(QPen(EndMarkerFrame, line * 1.5, Qt::DashLine));
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        painter.drawLine(rect.bottomLeft(), rect.topRight());
        painter.drawRect(rect);
        return;
    }
    painter.fillRect(rect, fill);
    painter.setPen(QPen(Qt::black, line));
    painter.drawRect(rect);
}

QColor fillOf(const ProgramRecord& program) {
    return isPriority(program) ? PriorityFill : program.MP3 ? Mp3Fill : RadioFill;
}

// Where texts already stand, sorted into cells of the week (a text's height by a day's width)
// so that a new label is only compared with the texts near it.
class Occupied {
public:
    Occupied(const QRectF& body, qreal band, qreal column)
        : m_origin(body.topLeft()), m_band(std::max<qreal>(1, band)),
          m_column(std::max<qreal>(1, column)), m_rows(std::size_t(body.height() / m_band) + 2),
          m_columns(std::size_t(body.width() / m_column) + 2), m_cells(m_rows * m_columns) {}

    void add(const QRectF& rect) {
        const Cells cells = cellsOf(rect);
        for (std::size_t row = cells.firstRow; row <= cells.lastRow; ++row)
            for (std::size_t column = cells.firstColumn; column <= cells.lastColumn; ++column)
                m_cells[row * m_columns + column].push_back(rect);
    }
    bool hits(const QRectF& rect) const {
        const Cells cells = cellsOf(rect);
        for (std::size_t row = cells.firstRow; row <= cells.lastRow; ++row)
            for (std::size_t column = cells.firstColumn; column <= cells.lastColumn; ++column)
                for (const QRectF& other : m_cells[row * m_columns + column])
                    if (other.intersects(rect))
                        return true;
        return false;
    }

private:
    struct Cells {
        std::size_t firstRow, lastRow, firstColumn, lastColumn;
    };
    Cells cellsOf(const QRectF& rect) const {
        const auto index = [](qreal offset, qreal size, std::size_t count) {
            return std::min(std::size_t(std::max<qreal>(0, offset / size)), count - 1);
        };
        return {index(rect.top() - m_origin.y(), m_band, m_rows),
                index(rect.bottom() - m_origin.y(), m_band, m_rows),
                index(rect.left() - m_origin.x(), m_column, m_columns),
                index(rect.right() - m_origin.x(), m_column, m_columns)};
    }

    QPointF m_origin;
    qreal m_band;
    qreal m_column;
    std::size_t m_rows;
    std::size_t m_columns;
    std::vector<std::vector<QRectF>> m_cells;
};

// The placements kept for areas and text sizes asked for again.
constexpr qsizetype KeptPlacements = 4;

} // namespace

WeekPicture::WeekPicture(WeekSheet sheet)
    : m_sheet(std::move(sheet)), m_layout(layOutWeek(m_sheet.programs)) {}

QRectF WeekPicture::blockArea(const QRectF& area, qreal textHeight, const WeekBlock& block) const {
    const Grid grid = gridOf(area, textHeight, m_layout);
    const qreal top = grid.yOf(block.startSecond / 3600.0);
    if (block.mark) {
        const QSizeF size = markSize(grid.dayWidth(), textHeight);
        const qreal centre = std::clamp(top, grid.body.top() + size.height() / 2,
                                        grid.body.bottom() - size.height() / 2);
        return QRectF(QPointF(grid.column(block.day).left() + 2, centre - size.height() / 2), size);
    }
    const qreal least = markSize(grid.dayWidth(), textHeight).height();
    const QRectF rect(grid.body.left() + block.rect.x() * grid.dayWidth(), top,
                      block.rect.width() * grid.dayWidth(),
                      std::max(least, block.rect.height() * grid.hourHeight()));
    return rect.adjusted(1, 0, -1, 0);
}

std::optional<WeekPlace> WeekPicture::placeAt(const QRectF& area, qreal textHeight,
                                              const QPointF& point) const {
    const Grid grid = gridOf(area, textHeight, m_layout);
    const QRectF& body = grid.body;
    if (!body.contains(point) || body.width() <= 0 || body.height() <= 0)
        return std::nullopt;
    const int day =
        std::clamp(int((point.x() - body.left()) * week::Days / body.width()), 0, week::Days - 1);
    const int second = std::clamp(
        int(grid.firstHour * 3600 + (point.y() - body.top()) * secondsPerPixel(area, textHeight)),
        0, week::SecondsPerDay - 1);
    return WeekPlace{day, second};
}

qreal WeekPicture::secondsPerPixel(const QRectF& area, qreal textHeight) const {
    const Grid grid = gridOf(area, textHeight, m_layout);
    return grid.body.height() > 0 ? 3600 * (grid.lastHour - grid.firstHour) / grid.body.height()
                                  : 0;
}

int WeekPicture::blockAt(const QRectF& area, qreal textHeight, const QPointF& point) const {
    // The marks lie over the blocks.
    for (const bool marks : {true, false})
        for (qsizetype i = m_layout.blocks.size() - 1; i >= 0; --i)
            if (m_layout.blocks[i].mark == marks &&
                blockArea(area, textHeight, m_layout.blocks[i]).contains(point))
                return int(i);
    return -1;
}

const QList<WeekPicture::LabelTexts>& WeekPicture::labelTexts() const {
    if (m_labelTexts.size() == m_sheet.programs.size())
        return m_labelTexts;
    m_labelTexts.clear();
    m_labelTexts.reserve(m_sheet.programs.size());
    for (const ProgramRecord& program : m_sheet.programs) {
        const QStringList lines = weekText::blockLines(program);
        const QString start = weekText::startLabel(program);
        m_labelTexts.append({lines.constFirst(), start,
                             QString(start).replace(QLatin1Char(' '), QLatin1Char('\n')),
                             int(lines.size()) - 1});
    }
    return m_labelTexts;
}

const QList<WeekPicture::LabelWidths>& WeekPicture::labelWidths(const QFont& font) const {
    for (const auto& [measured, widths] : std::as_const(m_labelWidths))
        if (measured == font)
            return widths;
    const QFontMetricsF metrics(font);
    const auto widthOf = [&](const QString& text) {
        qreal width = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            width = std::max(width, metrics.horizontalAdvance(line));
        return width;
    };
    QList<LabelWidths> widths;
    widths.reserve(labelTexts().size());
    for (const LabelTexts& texts : labelTexts()) {
        const qreal start = widthOf(texts.start);
        widths.append({texts.whole == texts.start ? start : widthOf(texts.whole), start,
                       widthOf(texts.stacked)});
    }
    if (m_labelWidths.size() >= KeptPlacements)
        m_labelWidths.removeFirst();
    m_labelWidths.append({font, widths});
    return m_labelWidths.constLast().second;
}

std::shared_ptr<const WeekLabels> WeekPicture::kept(const QRectF& area, qreal textHeight) const {
    for (const auto& placement : std::as_const(m_placements))
        if (placement->area == area && placement->textHeight == textHeight)
            return placement;
    return nullptr;
}

std::shared_ptr<const WeekLabels> WeekPicture::placement(const QRectF& area,
                                                         qreal textHeight) const {
    if (auto found = kept(area, textHeight))
        return found;
    return place(area, textHeight, int(m_layout.blocks.size()) + 1);
}

const WeekLabels& WeekPicture::labels(const QRectF& area, qreal textHeight) const {
    return *placement(area, textHeight);
}

int WeekPicture::leftOut(const QRectF& area, qreal textHeight, int limit) const {
    if (const auto found = kept(area, textHeight))
        return std::min(found->leftOut, limit);
    const auto placement = place(area, textHeight, limit);
    return placement ? placement->leftOut : limit;
}

const WeekLabels& WeekPicture::paintedLabels() const {
    static const WeekLabels none;
    return m_painted ? *m_painted : none;
}

// Every block's start time and order number: inside the block where they fit (on two lines in
// a narrow one), otherwise beside it, pushed down or up off the texts already placed, shortened
// past that. A label is left out only where no place near its block is free. The block's
// further lines (times, tracks) take what room is left inside it.
std::shared_ptr<const WeekLabels> WeekPicture::place(const QRectF& area, qreal textHeight,
                                                     int limit) const {
    auto placement = std::make_shared<WeekLabels>(WeekLabels{area, textHeight, {}, 0});
    WeekLabels& result = *placement;
    const Grid grid = gridOf(area, textHeight, m_layout);
    const QList<LabelTexts>& texts = labelTexts();
    const QList<LabelWidths>& widths = labelWidths(labelFont(textHeight));
    const qreal pad = std::max<qreal>(2, textHeight * 0.15);
    const auto& blocks = m_layout.blocks;
    QList<QRectF> rects;
    rects.reserve(blocks.size());
    for (const WeekBlock& block : blocks)
        rects.append(blockArea(area, textHeight, block));
    Occupied occupied(grid.body, textHeight, grid.dayWidth());
    for (int i = 0; i < int(blocks.size()); ++i)
        if (blocks[i].mark)
            occupied.add(rects[i]);
    const auto tryPlace = [&](int index, const QString& text, const QRectF& rect, bool inside,
                              const QPointF& anchor) {
        if (!grid.body.contains(rect) || occupied.hits(rect))
            return false;
        occupied.add(rect);
        result.labels.append({index, rect, text, inside, anchor});
        return true;
    };

    // Inside first: those texts stand where they belong and the others make way for them.
    QList<int> beside;
    for (int i = 0; i < int(blocks.size()); ++i) {
        const WeekBlock& block = blocks[i];
        const QRectF& rect = rects[i];
        const LabelTexts& text = texts[block.program];
        const LabelWidths& width = widths[block.program];
        const std::pair<const QString*, qreal> tried[] = {
            {&text.whole, width.whole}, {&text.start, width.start}, {&text.stacked, width.stacked}};
        bool placed = false;
        for (const auto& [label, labelWidth] : tried) {
            if (block.mark || placed)
                break;
            const QSizeF size(labelWidth + 2 * pad,
                              textHeight * (label->count(QLatin1Char('\n')) + 1));
            if (size.width() > rect.width())
                continue;
            // Down the block, past a mark lying over its top.
            for (qreal top = rect.top() + 1; !placed && top + size.height() <= rect.bottom();
                 top += textHeight / 3)
                placed = tryPlace(i, *label, QRectF(QPointF(rect.left(), top), size), true,
                                  rect.topLeft());
        }
        if (!placed)
            beside.append(i);
    }

    // Beside a mark, or over the left of a block too small for its label: at its start, then
    // nearer places before further ones (down first), the whole label near by and the short
    // one further away.
    const qreal step = textHeight / 3;
    QList<qreal> shifts{0};
    for (int k = 1; k <= 12; ++k) {
        shifts.append(k * step);
        if (k <= 6)
            shifts.append(-k * step);
    }
    const qreal markWidth = markSize(grid.dayWidth(), textHeight).width();
    for (const int i : std::as_const(beside)) {
        const WeekBlock& block = blocks[i];
        const QRectF& rect = rects[i];
        const QPointF anchor(rect.left() + std::min(rect.width(), markWidth),
                             block.mark ? rect.center().y()
                                        : std::min(rect.center().y(), rect.top() + textHeight / 2));
        const LabelTexts& text = texts[block.program];
        const LabelWidths& width = widths[block.program];
        const std::pair<const QString*, qreal> tried[] = {{&text.whole, width.whole + 2 * pad},
                                                          {&text.start, width.start + 2 * pad}};
        // Bells close together: where the place beside the mark is taken, the short label
        // stands one label further right at the same height, if the day's column holds it.
        const qreal secondColumn = tried[1].second + pad;
        const qreal columnRight = grid.column(block.day).right();
        bool placed = false;
        for (const qreal shift : std::as_const(shifts)) {
            for (int t = 0; t < 2 && !placed; ++t) {
                if (t == 0 && std::abs(shift) > textHeight)
                    continue;
                const auto& [label, labelWidth] = tried[t];
                const QRectF at(std::min(anchor.x() + 1, grid.body.right() - labelWidth),
                                anchor.y() - textHeight / 2 + shift, labelWidth, textHeight);
                placed = tryPlace(i, *label, at, false, anchor);
                const QRectF further = at.translated(secondColumn, 0);
                if (!placed && t == 1 && further.right() <= columnRight)
                    placed = tryPlace(i, *label, further, false, anchor);
            }
            if (placed)
                break;
        }
        if (!placed && ++result.leftOut >= limit)
            return nullptr;
    }

    // The further lines below a whole label inside its block, as far as they are free.
    for (WeekLabel& label : result.labels) {
        const WeekBlock& block = blocks[label.block];
        if (!label.inside || label.text != texts[block.program].whole)
            continue;
        const QRectF& rect = rects[label.block];
        for (int line = 0; line < texts[block.program].furtherLines; ++line) {
            const QRectF at(rect.left(), label.rect.bottom() + line * textHeight, rect.width(),
                            textHeight);
            if (at.bottom() > rect.bottom() - 1 || occupied.hits(at))
                break;
            occupied.add(at);
            ++label.furtherLines;
        }
    }
    if (m_placements.size() >= KeptPlacements)
        m_placements.removeLast();
    m_placements.prepend(placement);
    return placement;
}

void WeekPicture::paintWeek(QPainter& painter, const QRectF& area, qreal textHeight, int selected,
                            const QRegion& exposed) const {
    const Grid grid = gridOf(area, textHeight, m_layout);
    paintGrid(painter, grid, textHeight);
    // The frames reach a little past a block's area.
    const qreal frame = std::max<qreal>(1, textHeight / 8) * 3;
    const auto shown = [&exposed, frame](const QRectF& rect) {
        return exposed.isEmpty() ||
               exposed.intersects(rect.adjusted(-frame, -frame, frame, frame).toAlignedRect());
    };
    for (const bool marks : {false, true})
        for (qsizetype i = 0; i < m_layout.blocks.size(); ++i) {
            const WeekBlock& block = m_layout.blocks[i];
            const QRectF rect = blockArea(area, textHeight, block);
            if (block.mark == marks && shown(rect))
                paintBlock(painter, rect, block, textHeight, i == selected);
        }
    painter.setFont(labelFont(textHeight));
    m_painted = placement(area, textHeight);
    for (const WeekLabel& label : m_painted->labels)
        if (shown(label.rect))
            paintLabel(painter, area, label, textHeight);
    if (m_sheet.programs.isEmpty()) {
        painter.setFont(fontOfHeight(textHeight * 1.4, true));
        painter.setPen(Qt::black);
        painter.drawText(grid.body, Qt::AlignCenter, emptyText());
    }
}

QFont WeekPicture::labelFont(qreal textHeight) {
    return fontOfHeight(textHeight * LabelShare);
}

QString WeekPicture::emptyText() {
    return QCoreApplication::translate("WeekPicture", "本套没有程序");
}

QRectF WeekPicture::movingLabelArea(const QRectF& rect, qreal textHeight,
                                    const QStringList& lines) {
    const QFontMetricsF metrics(labelFont(textHeight));
    qreal width = rect.width();
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line) + 6);
    return QRectF(rect.left(), rect.top(), width, lines.size() * textHeight + 2);
}

void WeekPicture::paintMovingBlock(QPainter& painter, const QRectF& rect, qreal textHeight,
                                   const QStringList& lines) {
    const qreal line = std::max<qreal>(1, textHeight / 8);
    painter.save();
    painter.fillRect(rect, MovingFill);
    painter.setPen(QPen(FocusFrame, line * 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    // The new times on a label of their own: most blocks are too short to hold a line.
    const QRectF label = movingLabelArea(rect, textHeight, lines);
    painter.fillRect(label, MovingFill);
    painter.setPen(QPen(FocusFrame, line));
    painter.drawRect(label);
    painter.setFont(labelFont(textHeight));
    painter.setPen(Qt::black);
    for (int i = 0; i < int(lines.size()); ++i)
        painter.drawText(QRectF(label.left() + 3, label.top() + 1 + i * textHeight,
                                label.width() - 6, textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    painter.restore();
}

void WeekPicture::paintBlock(QPainter& painter, const QRectF& rect, const WeekBlock& block,
                             qreal textHeight, bool selected) const {
    const ProgramRecord& program = m_sheet.programs[block.program];
    const bool priority = isPriority(program);
    const qreal line = std::max<qreal>(1, textHeight / 8);

    if (block.mark) {
        paintMarkShape(painter, rect, fillOf(program), block.endNotAfterStart, line);
    } else {
        painter.fillRect(rect, fillOf(program));
        if (!program.MP3)
            painter.fillRect(rect, QBrush(Hatch, Qt::BDiagPattern));
        painter.setPen(QPen(priority ? PriorityFrame : Frame, priority ? line * 2 : line));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
    }
    if (block.collides()) {
        painter.setPen(QPen(CollisionFrame, line * 3));
        painter.drawRect(rect);
    }
    if (selected) {
        painter.setPen(QPen(FocusFrame, line * 2, Qt::DotLine));
        painter.drawRect(rect.adjusted(-line * 2, -line * 2, line * 2, line * 2));
    }
}

// A label inside its block, with the block's further lines (times, tracks) below it where
// they fit; a label beside its block on a light ground, tied to it by a line when pushed away.
void WeekPicture::paintLabel(QPainter& painter, const QRectF& area, const WeekLabel& label,
                             qreal textHeight) const {
    const WeekBlock& block = m_layout.blocks[label.block];
    const ProgramRecord& program = m_sheet.programs[block.program];
    const qreal pad = std::max<qreal>(2, textHeight * 0.15);
    if (!label.inside) {
        const QPointF end(label.rect.left(), label.rect.center().y());
        if (std::abs(end.y() - label.anchor.y()) > textHeight / 2 ||
            end.x() - label.anchor.x() > textHeight) {
            painter.setPen(QPen(Frame, 0));
            painter.drawLine(label.anchor, end);
        }
        painter.fillRect(label.rect, LabelBackground);
    } else if (!program.MP3) {
        painter.fillRect(label.rect, LabelBackground); // the hatch would cross the text
    }
    painter.setPen(Qt::black);
    painter.drawText(label.rect.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     label.text);
    if (label.furtherLines == 0)
        return;
    const QRectF rect = blockArea(area, textHeight, block);
    const QFontMetricsF metrics(painter.font());
    const QStringList lines = weekText::blockLines(program);
    for (int i = 1; i <= label.furtherLines; ++i) {
        const QRectF at(rect.left() + pad, label.rect.top() + i * textHeight,
                        rect.width() - 2 * pad, textHeight);
        const QString text = metrics.elidedText(lines[i], Qt::ElideRight, at.width());
        if (!program.MP3)
            painter.fillRect(
                QRectF(at.topLeft(), QSizeF(metrics.horizontalAdvance(text), at.height())),
                LabelBackground);
        painter.drawText(at, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

qreal WeekPicture::legendHeight(qreal textHeight) {
    return textHeight * 1.6;
}

// What the fills, hatch, frames and marks mean, in one row.
void WeekPicture::paintLegend(QPainter& painter, const QRectF& area, qreal textHeight) {
    const qreal line = std::max<qreal>(1, textHeight / 8);
    const QSizeF swatch(textHeight * 1.6, textHeight * 0.8);
    const QSizeF mark = markSize(swatch.width() * 4, textHeight);
    painter.save();
    painter.setFont(labelFont(textHeight));
    const QFontMetricsF metrics(painter.font());
    qreal x = area.left() + textHeight * 3.4;
    const qreal y = area.center().y();
    const auto item = [&](const QString& text, const std::function<void(const QRectF&)>& paint) {
        const QRectF box(QPointF(x, y - swatch.height() / 2), swatch);
        paint(box);
        x = box.right() + textHeight * 0.3;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x, y - textHeight / 2, area.right() - x, textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
        x += metrics.horizontalAdvance(text) + textHeight;
    };
    const auto block = [&](const QColor& fill, const QColor& frame, qreal width) {
        return [&painter, fill, frame, width](const QRectF& box) {
            painter.fillRect(box, fill);
            painter.setPen(QPen(frame, width));
            painter.drawRect(box);
        };
    };
    item(QStringLiteral("MP3"), block(Mp3Fill, Frame, line));
    item(QCoreApplication::translate("WeekPicture", "收音"), [&](const QRectF& box) {
        block(RadioFill, Frame, line)(box);
        painter.fillRect(box, QBrush(Hatch, Qt::BDiagPattern));
    });
    item(QCoreApplication::translate("WeekPicture", "优先"),
         block(PriorityFill, PriorityFrame, line * 2));
    item(QCoreApplication::translate("WeekPicture", "短节目"), [&](const QRectF& box) {
        paintMarkShape(painter, QRectF(QPointF(box.left(), y - mark.height() / 2), mark), Mp3Fill,
                       false, line);
    });
    item(QCoreApplication::translate("WeekPicture", "同一时间开始（冲突）"),
         block(Mp3Fill, CollisionFrame, line * 3));
    item(QCoreApplication::translate("WeekPicture", "结束不晚于开始"), [&](const QRectF& box) {
        paintMarkShape(painter, QRectF(QPointF(box.left(), y - mark.height() / 2), mark), Mp3Fill,
                       true, line);
    });
    painter.restore();
}

qreal WeekPicture::printedTextHeight(const QPaintDevice& device, qreal least) {
    return std::max(least, LeastPrintedPoints * device.logicalDpiY() / 72.0 / LabelShare);
}

qsizetype WeekPicture::paintPage(QPainter& painter, const QRectF& page,
                                 const QDateTime& printed) const {
    return paintPage(painter, page, printed, ProgramList(m_sheet.programs, *painter.device()));
}

qsizetype WeekPicture::paintPage(QPainter& painter, const QRectF& page, const QDateTime& printed,
                                 const ProgramList& list) const {
    const qreal unit = page.height() / 72;
    painter.setFont(fontOfHeight(unit * 1.8, true));
    painter.setPen(Qt::black);
    const QRectF titleRow(page.left(), page.top(), page.width(), unit * 2.6);
    painter.drawText(titleRow, Qt::AlignLeft | Qt::AlignVCenter,
                     weekText::title(m_sheet.setLabel, m_sheet.readBack));
    painter.setFont(fontOfHeight(unit));
    painter.drawText(
        titleRow, Qt::AlignRight | Qt::AlignVCenter,
        QCoreApplication::translate("WeekPicture", "节目套数：%1    共 %2 个节目    打印日期：%3")
            .arg(displayedSetLabel(m_sheet.setLabel), QString::number(m_sheet.programs.size()),
                 printed.toString(QStringLiteral("yyyy-MM-dd hh:mm"))));

    const QRectF body = page.adjusted(0, titleRow.height() + unit, 0, 0);
    const qreal textHeight = printedTextHeight(*painter.device(), unit);
    if (m_sheet.programs.isEmpty()) { // the page says so, in its middle; there is no list
        paintWeekSide(painter, body, textHeight);
        return 0;
    }
    const qreal weekWidth = body.width() * 0.64;
    const QRectF weekSide(body.left(), body.top(), weekWidth, body.height());
    // A week too dense to label every program beside the list takes the whole page where that
    // labels more of them; its list follows on pages of its own.
    const auto unlabelled = [&](const QRectF& side, int limit) {
        return leftOut(side.adjusted(0, 0, 0, -legendHeight(textHeight)), textHeight, limit);
    };
    const int besideList = unlabelled(weekSide, std::numeric_limits<int>::max());
    if (besideList > 0 && unlabelled(body, besideList) < besideList) {
        paintWeekSide(painter, body, textHeight);
        return 0;
    }
    paintWeekSide(painter, weekSide, textHeight);
    return list.paint(painter, body.adjusted(weekWidth + unit * 1.5, 0, 0, 0), 0);
}

// The week and its legend below it; a set without programs says so instead.
void WeekPicture::paintWeekSide(QPainter& painter, const QRectF& area, qreal textHeight) const {
    if (m_sheet.programs.isEmpty()) {
        painter.setFont(fontOfHeight(textHeight * 1.6, true));
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, emptyText());
        return;
    }
    const qreal legend = legendHeight(textHeight);
    paintWeek(painter, area.adjusted(0, 0, 0, -legend), textHeight);
    paintLegend(painter, QRectF(area.left(), area.bottom() - legend, area.width(), legend),
                textHeight);
}

void setUpWeekPage(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(8, 8, 8, 8), QPageLayout::Millimeter));
}

namespace {

// The pages of one set: the week with the start of the list, then the rest of the list on pages
// of its own. turnPage readies the painter for the next page. Returns the pages painted.
int paintSheetPages(QPainter& painter, const QRectF& page, const WeekSheet& sheet,
                    const QDateTime& printed, const std::function<void()>& turnPage) {
    // Measured once for all the pages: each page of a device has its resolution.
    const ProgramList list(sheet.programs, *painter.device());
    qsizetype listed = WeekPicture(sheet).paintPage(painter, page, printed, list);
    int pages = 1;
    for (; listed < sheet.programs.size(); ++pages) {
        turnPage();
        listed =
            paintProgramListPage(painter, page, weekText::title(sheet.setLabel, sheet.readBack),
                                 sheet.programs, list, listed, printed);
    }
    return pages;
}

// Landscape A4 at 150 dots per inch.
QImage blankPngPage() {
    QImage image(1754, 1240, QImage::Format_RGB32);
    image.setDotsPerMeterX(5906);
    image.setDotsPerMeterY(5906);
    image.fill(Qt::white);
    return image;
}

// The pages one below the other in one picture.
QImage stacked(const QList<QImage>& pages) {
    if (pages.size() == 1)
        return pages.first();
    const QSize page = pages.first().size();
    QImage image(page.width(), page.height() * int(pages.size()), QImage::Format_RGB32);
    image.setDotsPerMeterX(pages.first().dotsPerMeterX());
    image.setDotsPerMeterY(pages.first().dotsPerMeterY());
    QPainter painter(&image);
    for (int i = 0; i < int(pages.size()); ++i)
        painter.drawImage(0, i * page.height(), pages[i]);
    return image;
}

} // namespace

int paintWeekPages(QPagedPaintDevice& device, const QList<WeekSheet>& sheets,
                   const QDateTime& printed) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF page(0, 0, device.width(), device.height());
    int pages = 0;
    for (const WeekSheet& sheet : sheets) {
        if (pages > 0)
            device.newPage();
        pages += paintSheetPages(painter, page, sheet, printed, [&device] { device.newPage(); });
    }
    return pages;
}

bool writeWeekPdf(const QString& path, const QList<WeekSheet>& sheets, const QDateTime& printed,
                  QString* error, int* pages) {
    // Painted in memory and written in one checked piece: the PDF writer does not report a
    // write that failed half way.
    QByteArray pdf;
    int painted = 0;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Tessaly"));
        writer.setTitle(sheets.size() == 1
                            ? weekText::title(sheets.first().setLabel, sheets.first().readBack)
                            : QCoreApplication::translate("WeekPicture", "周节目表"));
        setUpWeekPage(writer);
        painted = paintWeekPages(writer, sheets, printed);
    }
    if (pages)
        *pages = painted;
    return writeWholeFile(path, pdf, error);
}

bool writeWeekPng(const QString& path, const WeekSheet& sheet, const QDateTime& printed,
                  QString* error, int* pages) {
    // One picture: where the list needs pages of its own, they follow below the week's.
    QList<QImage> images{blankPngPage()};
    {
        QPainter painter(&images.first());
        const qreal margin = 47; // 8 mm
        const QRectF page =
            QRectF(images.first().rect()).adjusted(margin, margin, -margin, -margin);
        paintSheetPages(painter, page, sheet, printed, [&painter, &images] {
            painter.end();
            images.append(blankPngPage());
            painter.begin(&images.last());
        });
    }
    if (pages)
        *pages = int(images.size());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // A light compression: a large flat picture shrinks nearly as well and writes in half the time.
    if (!stacked(images).save(&buffer, "PNG", 80)) {
        if (error)
            *error = QCoreApplication::translate("WeekPicture", "无法写入 %1").arg(path);
        return false;
    }
    return writeWholeFile(path, png, error);
}

} // namespace tessaly
