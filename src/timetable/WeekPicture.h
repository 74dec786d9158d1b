#pragma once

#include "ProgramRecord.h"
#include "WeekLayout.h"

#include <QDateTime>
#include <QList>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QStringList>

#include <optional>

class QPagedPaintDevice;
class QPainter;

namespace tessaly {

// A place in the week: a day (0 Monday .. 6 Sunday) and a second of that day.
struct WeekPlace {
    int day = 0;
    int second = 0;
};

// One set's week: its label and programs.
struct WeekSheet {
    QString setLabel; // as stored ("第一套"); the pages show its display form
    QList<ProgramRecord> programs;
};

// The week of one set as a picture: the hour axis, the seven day columns and the blocks. The
// window paints it on screen; pages add a title and the list of every program.
class WeekPicture {
public:
    explicit WeekPicture(WeekSheet sheet);

    const WeekSheet& sheet() const { return m_sheet; }
    const WeekLayout& layout() const { return m_layout; }

    // Paints the week into area; textHeight is the height of a block's text line. The block
    // with index `selected` (-1: none) carries a focus frame. Only the blocks that touch
    // `exposed` are painted, all of them when it is empty.
    void paintWeek(QPainter& painter, const QRectF& area, qreal textHeight, int selected = -1,
                   const QRegion& exposed = {}) const;
    // A block being dragged, drawn over the week at rect with the lines given on a label
    // at its top, which may reach past the block (movingLabelArea).
    static void paintMovingBlock(QPainter& painter, const QRectF& rect, qreal textHeight,
                                 const QStringList& lines);
    static QRectF movingLabelArea(const QRectF& rect, qreal textHeight, const QStringList& lines);
    // Where block `index` lies when the week is painted into area.
    static QRectF blockArea(const QRectF& area, qreal textHeight, const WeekBlock& block);
    // The day and second under point, nothing outside the days' columns.
    static std::optional<WeekPlace> placeAt(const QRectF& area, qreal textHeight,
                                            const QPointF& point);
    // How many seconds of the day one pixel of height stands for.
    static qreal secondsPerPixel(const QRectF& area, qreal textHeight);
    // The block under point, -1 for none; the topmost is the one painted last.
    int blockAt(const QRectF& area, qreal textHeight, const QPointF& point) const;

    // A whole page: title, set label, date printed, the week, and the list of programs as far
    // as it fits. Returns how many programs the list holds; the rest go on pages of their own.
    qsizetype paintPage(QPainter& painter, const QRectF& page, const QDateTime& printed) const;

private:
    void paintBlock(QPainter& painter, const QRectF& rect, const WeekBlock& block, qreal textHeight,
                    bool selected) const;

    WeekSheet m_sheet;
    WeekLayout m_layout;
};

// Landscape A4, one set a page and the pages its list goes on over. False, with the reason in
// error, when the file cannot be written; the pages written in pages.
bool writeWeekPdf(const QString& path, const QList<WeekSheet>& sheets, const QDateTime& printed,
                  QString* error = nullptr, int* pages = nullptr);
// The same pages as the PDF, one below the other in one image.
bool writeWeekPng(const QString& path, const WeekSheet& sheet, const QDateTime& printed,
                  QString* error = nullptr, int* pages = nullptr);
// Paints the sheets onto a printer or PDF writer already set up: each set on a page of its own,
// its list going on over further pages where it needs them. Returns the pages painted.
int paintWeekPages(QPagedPaintDevice& device, const QList<WeekSheet>& sheets,
                   const QDateTime& printed);
// Sets up landscape A4 with small margins.
void setUpWeekPage(QPagedPaintDevice& device);

} // namespace tessaly
