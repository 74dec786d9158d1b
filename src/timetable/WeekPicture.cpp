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
const QColor FocusFrame(0, 60, 200);
const QColor MovingFill(255, 250, 205);
const QColor GridLine(200, 200, 200);
const QColor DayShade(246, 246, 246);

struct Grid {
    QRectF header; // the day names
    QRectF axis;   // the hour labels
    QRectF body;   // 7 days wide, 24 hours high
};

Grid gridOf(const QRectF& area, qreal textHeight) {
    const qreal axisWidth = textHeight * 3.4;
    const qreal headerHeight = textHeight * 1.8;
    Grid grid;
    grid.body = area.adjusted(axisWidth, headerHeight, -1, -textHeight * 0.7);
    grid.header = QRectF(grid.body.left(), area.top(), grid.body.width(), headerHeight);
    grid.axis = QRectF(area.left(), grid.body.top(), axisWidth, grid.body.height());
    return grid;
}

QFont fontOfHeight(qreal pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

QString hourLabel(int hour) {
    return QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0'));
}

void paintGrid(QPainter& painter, const Grid& grid, qreal textHeight) {
    const qreal dayWidth = grid.body.width() / week::Days;
    const qreal hourHeight = grid.body.height() / 24;
    painter.setFont(fontOfHeight(textHeight * 0.9, true));
    for (int day = 0; day < week::Days; ++day) {
        const QRectF column(grid.body.left() + day * dayWidth, grid.body.top(), dayWidth,
                            grid.body.height());
        if (day % 2 == 1)
            painter.fillRect(column, DayShade);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(column.left(), grid.header.top(), dayWidth, grid.header.height()),
                         Qt::AlignCenter, weekText::dayName(day));
    }
    painter.setFont(fontOfHeight(textHeight * 0.8));
    for (int hour = 0; hour <= 24; ++hour) {
        const qreal y = grid.body.top() + hour * hourHeight;
        painter.setPen(QPen(GridLine, 0));
        painter.drawLine(QPointF(grid.body.left(), y), QPointF(grid.body.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(
            QRectF(grid.axis.left(), y - textHeight / 2, grid.axis.width() - 4, textHeight),
            Qt::AlignRight | Qt::AlignVCenter, hourLabel(hour));
    }
    painter.setPen(QPen(Frame, 0));
    for (int day = 0; day <= week::Days; ++day) {
        const qreal x = grid.body.left() + day * dayWidth;
        painter.drawLine(QPointF(x, grid.body.top()), QPointF(x, grid.body.bottom()));
    }
}

} // namespace

WeekPicture::WeekPicture(WeekSheet sheet)
    : m_sheet(std::move(sheet)), m_layout(layOutWeek(m_sheet.programs)) {}

QRectF WeekPicture::blockArea(const QRectF& area, qreal textHeight, const WeekBlock& block) {
    const QRectF body = gridOf(area, textHeight).body;
    const qreal dayWidth = body.width() / week::Days;
    const qreal hourHeight = body.height() / 24;
    const QRectF rect(body.left() + block.rect.x() * dayWidth,
                      body.top() + block.rect.y() * hourHeight, block.rect.width() * dayWidth,
                      block.rect.height() * hourHeight);
    return rect.adjusted(1, 0, -1, 0);
}

std::optional<WeekPlace> WeekPicture::placeAt(const QRectF& area, qreal textHeight,
                                              const QPointF& point) {
    const QRectF body = gridOf(area, textHeight).body;
    if (!body.contains(point) || body.width() <= 0 || body.height() <= 0)
        return std::nullopt;
    const int day =
        std::clamp(int((point.x() - body.left()) * week::Days / body.width()), 0, week::Days - 1);
    const int second =
        std::clamp(int((point.y() - body.top()) * week::SecondsPerDay / body.height()), 0,
                   week::SecondsPerDay - 1);
    return WeekPlace{day, second};
}

qreal WeekPicture::secondsPerPixel(const QRectF& area, qreal textHeight) {
    const qreal height = gridOf(area, textHeight).body.height();
    return height > 0 ? week::SecondsPerDay / height : 0;
}

int WeekPicture::blockAt(const QRectF& area, qreal textHeight, const QPointF& point) const {
    for (qsizetype i = m_layout.blocks.size() - 1; i >= 0; --i)
        if (blockArea(area, textHeight, m_layout.blocks[i]).contains(point))
            return int(i);
    return -1;
}

void WeekPicture::paintWeek(QPainter& painter, const QRectF& area, qreal textHeight, int selected,
                            const QRegion& exposed) const {
    paintGrid(painter, gridOf(area, textHeight), textHeight);
    painter.setFont(fontOfHeight(textHeight * 0.85));
    // The frames reach a little past a block's area.
    const qreal frame = std::max<qreal>(1, textHeight / 8) * 3;
    for (qsizetype i = 0; i < m_layout.blocks.size(); ++i) {
        const QRectF rect = blockArea(area, textHeight, m_layout.blocks[i]);
        if (exposed.isEmpty() ||
            exposed.intersects(rect.adjusted(-frame, -frame, frame, frame).toAlignedRect()))
            paintBlock(painter, rect, m_layout.blocks[i], textHeight, i == selected);
    }
}

QRectF WeekPicture::movingLabelArea(const QRectF& rect, qreal textHeight,
                                    const QStringList& lines) {
    const QFontMetricsF metrics(fontOfHeight(textHeight * 0.85));
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
    painter.setFont(fontOfHeight(textHeight * 0.85));
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

    painter.fillRect(rect, priority ? PriorityFill : program.MP3 ? Mp3Fill : RadioFill);
    if (!program.MP3)
        painter.fillRect(rect, QBrush(Hatch, Qt::BDiagPattern));
    QPen frame(priority ? PriorityFrame : Frame, priority ? line * 2 : line);
    if (block.endNotAfterStart)
        frame.setStyle(Qt::DashLine); // a marker: where it starts, not how long it lasts
    if (block.collides())
        frame = QPen(CollisionFrame, line * 3);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    if (block.endNotAfterStart) {
        // A notch at the start time: the marker's edge that means something.
        painter.setPen(QPen(frame.color(), line * 2));
        painter.drawLine(rect.topLeft(), rect.topRight());
    }
    if (selected) {
        painter.setPen(QPen(FocusFrame, line * 2, Qt::DotLine));
        painter.drawRect(rect.adjusted(-line, -line, line, line));
    }

    // Text only where a line of it fits, a little smaller in a block of under a line (a half
    // hour on screen); the printed list holds every time.
    const qreal room = rect.height() - 2;
    if (room < textHeight * 0.6 || rect.width() < textHeight * 1.5)
        return;
    const bool small = room < textHeight;
    const QFont font = painter.font();
    if (small)
        painter.setFont(fontOfHeight(room * 0.85));
    const qreal lineHeight = small ? room : textHeight;
    const int lines = int(room / lineHeight);
    const QFontMetricsF metrics(painter.font());
    const QStringList texts = weekText::blockLines(program);
    painter.setPen(Qt::black);
    for (int i = 0; i < std::min<int>(lines, int(texts.size())); ++i) {
        const QRectF at(rect.left() + 2, rect.top() + 1 + i * lineHeight, rect.width() - 4,
                        lineHeight);
        painter.drawText(at, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(texts[i], Qt::ElideRight, at.width()));
    }
    if (small)
        painter.setFont(font);
}

qsizetype WeekPicture::paintPage(QPainter& painter, const QRectF& page,
                                 const QDateTime& printed) const {
    const qreal unit = page.height() / 72;
    painter.setFont(fontOfHeight(unit * 1.8, true));
    painter.setPen(Qt::black);
    const QRectF titleRow(page.left(), page.top(), page.width(), unit * 2.6);
    painter.drawText(titleRow, Qt::AlignLeft | Qt::AlignVCenter, weekText::title(m_sheet.setLabel));
    painter.setFont(fontOfHeight(unit));
    painter.drawText(
        titleRow, Qt::AlignRight | Qt::AlignVCenter,
        QCoreApplication::translate("WeekPicture", "节目套数：%1    共 %2 个节目    打印日期：%3")
            .arg(displayedSetLabel(m_sheet.setLabel), QString::number(m_sheet.programs.size()),
                 printed.toString(QStringLiteral("yyyy-MM-dd hh:mm"))));

    const QRectF body = page.adjusted(0, titleRow.height() + unit, 0, 0);
    const qreal weekWidth = body.width() * 0.64;
    paintWeek(painter, QRectF(body.left(), body.top(), weekWidth, body.height()), unit);
    return ProgramList(m_sheet.programs, *painter.device())
        .paint(painter, body.adjusted(weekWidth + unit * 1.5, 0, 0, 0), 0);
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
    qsizetype listed = WeekPicture(sheet).paintPage(painter, page, printed);
    int pages = 1;
    for (; listed < sheet.programs.size(); ++pages) {
        turnPage();
        listed = paintProgramListPage(painter, page, weekText::title(sheet.setLabel),
                                      sheet.programs, listed, printed);
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
                            ? weekText::title(sheets.first().setLabel)
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
