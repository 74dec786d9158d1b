#pragma once

#include "ProgramRecord.h"
#include "WeekLayout.h"

#include <QDateTime>
#include <QList>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace tessaly {

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
    // with index `selected` (-1: none) carries a focus frame.
    void paintWeek(QPainter& painter, const QRectF& area, qreal textHeight,
                   int selected = -1) const;
    // Where block `index` lies when the week is painted into area.
    static QRectF blockArea(const QRectF& area, qreal textHeight, const WeekBlock& block);
    // The block under point, -1 for none; the topmost is the one painted last.
    int blockAt(const QRectF& area, qreal textHeight, const QPointF& point) const;

    // A whole page: title, set label, date printed, the week, and the list of programs.
    void paintPage(QPainter& painter, const QRectF& page, const QDateTime& printed) const;

private:
    void paintBlock(QPainter& painter, const QRectF& rect, const WeekBlock& block, qreal textHeight,
                    bool selected) const;
    void paintTable(QPainter& painter, const QRectF& area, qreal textHeight) const;

    WeekSheet m_sheet;
    WeekLayout m_layout;
};

// Landscape A4, one set a page. False, with the reason in error, when the file cannot be
// written.
bool writeWeekPdf(const QString& path, const QList<WeekSheet>& sheets, const QDateTime& printed,
                  QString* error = nullptr);
// The same page as the PDF, as an image.
bool writeWeekPng(const QString& path, const WeekSheet& sheet, const QDateTime& printed,
                  QString* error = nullptr);
// Paints the sheets one a page onto a printer or PDF writer already set up.
void paintWeekPages(QPagedPaintDevice& device, const QList<WeekSheet>& sheets,
                    const QDateTime& printed);
// Sets up landscape A4 with small margins.
void setUpWeekPage(QPagedPaintDevice& device);

} // namespace tessaly
