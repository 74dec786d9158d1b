#pragma once

#include "ProgramRecord.h"
#include "WeekLayout.h"

#include <QDateTime>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace tessaly {

class ProgramList;

// A place in the week: a day (0 Monday .. 6 Sunday) and a second of that day.
struct WeekPlace {
    int day = 0;
    int second = 0;
};

// One set's week: its label and programs.
struct WeekSheet {
    QString setLabel; // as stored ("第一套"); the pages show its display form
    QList<ProgramRecord> programs;
    bool readBack = false; // the programs read back from the player, not the PC's
};

// The start time and order number of a block ("08:45 001") where they stand: inside the
// block, or beside it when the block is too small to hold them.
struct WeekLabel {
    int block = -1; // index into the layout's blocks
    QRectF rect;
    QString text; // one line, or the time over the number in a narrow block
    bool inside = false;
    QPointF anchor;       // the point of the block a label beside it belongs to
    int furtherLines = 0; // the block's lines below a label inside it: times, tracks
};

// The labels of a week painted into an area.
struct WeekLabels {
    QRectF area;
    qreal textHeight = 0;
    QList<WeekLabel> labels;
    int leftOut = 0; // blocks that found no free place for their label
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
    // Where the block lies when the week is painted into area: its real span in its lane, or
    // for a mark a short bar at the left of its day, centred on its start.
    QRectF blockArea(const QRectF& area, qreal textHeight, const WeekBlock& block) const;
    // The day and second under point, nothing outside the days' columns and hours shown.
    std::optional<WeekPlace> placeAt(const QRectF& area, qreal textHeight,
                                     const QPointF& point) const;
    // How many seconds of the day one pixel of height stands for.
    qreal secondsPerPixel(const QRectF& area, qreal textHeight) const;
    // The block under point, -1 for none; the topmost is the one painted last (marks lie over
    // blocks).
    int blockAt(const QRectF& area, qreal textHeight, const QPointF& point) const;
    // The blocks' labels when the week is painted into area: none of them overlaps another
    // or a block's further lines. The list on the page holds the programs left out, if any.
    // The last few placements are kept: painting, a drag and a page ask for them again.
    const WeekLabels& labels(const QRectF& area, qreal textHeight) const;
    // How many blocks find no place for their label, counted no further than `limit`: the
    // placement stops there, so that a size that does not do is found out cheaply.
    int leftOut(const QRectF& area, qreal textHeight, int limit) const;
    // Those of the week painted last.
    const WeekLabels& paintedLabels() const;

    // What the fills, hatch, frames and marks mean: one row of legendHeight under the week.
    static void paintLegend(QPainter& painter, const QRectF& area, qreal textHeight);
    static qreal legendHeight(qreal textHeight);
    // The font of the blocks' texts for a text height.
    static QFont labelFont(qreal textHeight);
    // Said in place of the week of a set without programs.
    static QString emptyText();
    // The text height of the week on a page: never less than `least`, and large enough that
    // the smallest text prints legibly at the device's resolution.
    static qreal printedTextHeight(const QPaintDevice& device, qreal least);

    // A whole page: title, set label, date printed, the week, and the list of programs as far
    // as it fits. Returns how many programs the list holds; the rest go on pages of their own.
    qsizetype paintPage(QPainter& painter, const QRectF& page, const QDateTime& printed) const;
    // The same with the list of the sheet's programs measured already for the device.
    qsizetype paintPage(QPainter& painter, const QRectF& page, const QDateTime& printed,
                        const ProgramList& list) const;

private:
    void paintBlock(QPainter& painter, const QRectF& rect, const WeekBlock& block, qreal textHeight,
                    bool selected) const;
    void paintLabel(QPainter& painter, const QRectF& area, const WeekLabel& label,
                    qreal textHeight) const;
    void paintWeekSide(QPainter& painter, const QRectF& area, qreal textHeight) const;

    // What a program's label may say, and how wide each text is in the label font.
    struct LabelTexts {
        QString whole;        // the first of the block's lines
        QString start;        // the start and the order number only
        QString stacked;      // the start over the order number
        int furtherLines = 0; // the block's lines below the first
    };
    struct LabelWidths {
        qreal whole = 0;
        qreal start = 0;
        qreal stacked = 0; // its wider line
    };
    const QList<LabelTexts>& labelTexts() const;
    const QList<LabelWidths>& labelWidths(const QFont& font) const;
    // The placement, or nothing when it stopped at `limit` blocks left out.
    std::shared_ptr<const WeekLabels> place(const QRectF& area, qreal textHeight, int limit) const;
    std::shared_ptr<const WeekLabels> kept(const QRectF& area, qreal textHeight) const;
    // The placement kept, else placed whole.
    std::shared_ptr<const WeekLabels> placement(const QRectF& area, qreal textHeight) const;

    WeekSheet m_sheet;
    WeekLayout m_layout;
    // Measured once: a placement tries every label in many places, and the search for the
    // window's text size places them at several sizes.
    mutable QList<LabelTexts> m_labelTexts;
    mutable QList<std::pair<QFont, QList<LabelWidths>>> m_labelWidths;
    mutable QList<std::shared_ptr<const WeekLabels>> m_placements; // the latest first
    mutable std::shared_ptr<const WeekLabels> m_painted;
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
