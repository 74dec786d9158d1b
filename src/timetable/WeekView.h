#pragma once

#include "WeekPicture.h"

#include <QAccessible>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <optional>

namespace tessaly {

// The week of one set on screen. A click selects a block, a double click or Enter activates
// it; the arrow keys walk the blocks (up and down within a day, left and right to the nearest
// block of the next day that has one). Each block is an accessible item of the view, named
// with its day and times, and shows all its fields as a tooltip.
//
// An editable view also lets the operator move a program: a block dragged up or down (in
// whole minutes, in seconds with Shift) or the selected block moved with Alt+Up and Alt+Down
// (a minute, ten with Shift). The view only asks for the move (moveRequested); whoever stores
// it shows the week again. A double click on an empty place asks for a new program there.
class WeekView final : public QWidget {
    Q_OBJECT
public:
    explicit WeekView(QWidget* parent = nullptr);

    // Shows the sheet; the selection stays on the same program and day where it still exists.
    void setSheet(WeekSheet sheet);
    const WeekPicture& picture() const { return m_picture; }

    int selectedBlock() const { return m_selected; }
    void selectBlock(int index);
    // Where the block lies in the view's coordinates.
    QRect blockRect(int index) const;
    QString blockName(int index) const;
    QString blockToolTip(int index) const;

    // The height of the week's text lines, and where the week lies with lines of a height.
    qreal textHeight() const;
    QRectF weekAreaFor(qreal textHeight) const;

    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }
    // A drag under way: the shift it shows, in seconds; 0 when none.
    bool isDragging() const { return m_drag && m_drag->active; }
    int dragSeconds() const { return m_drag ? m_drag->seconds : 0; }
    // What the dragged block says: its number, its new times, the weekdays it moves on.
    QStringList dragLabel() const;
    // Selects the block of the program on the selected day, else its first block.
    void selectProgram(qint64 autoId);
    // Tells a screen reader that the selected block now reads differently (it was moved).
    void announceSelection();
    // Where announcements go: the accessibility bus, unless a test listens instead (the bus
    // stays silent without a screen reader).
    void setAnnouncer(std::function<void(QAccessibleEvent*)> announcer) {
        m_announce = std::move(announcer);
    }

signals:
    // A block was double-clicked or Enter pressed on it: its program.
    void activated(const tessaly::ProgramRecord& program);
    // The operator moved the program `seconds` later (earlier when negative).
    void moveRequested(qint64 autoId, const QString& setLabel, int seconds);
    // A double click on a place without a block.
    void emptyActivated(int day, int second);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRectF weekArea() const;
    QRectF legendArea() const;
    int blockAt(const QPoint& point) const;
    std::optional<int> neighbour(int key) const;
    void activate(int index);
    void moveSelected(int seconds);

    // A block pressed with the mouse, and the program's blocks that follow it once it moves.
    struct Drag {
        int block = -1;
        QList<int> blocks;
        QPoint pressedAt;
        bool active = false;
        int seconds = 0;
    };
    void dragTo(const QPoint& point, bool bySeconds);
    QRegion dragArea(int seconds) const;

    WeekPicture m_picture{WeekSheet{}};
    mutable qreal m_textHeight = 0;
    mutable QSize m_textHeightFor; // the size m_textHeight was found for; none: not yet
    int m_selected = -1;
    bool m_editable = false;
    std::optional<Drag> m_drag;
    std::function<void(QAccessibleEvent*)> m_announce = &QAccessible::updateAccessibility;
};

} // namespace tessaly
