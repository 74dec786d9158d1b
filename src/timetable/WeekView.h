#pragma once

#include "WeekPicture.h"

#include <QWidget>

#include <optional>

namespace tessaly {

// The week of one set on screen. A click selects a block, a double click or Enter activates
// it; the arrow keys walk the blocks (up and down within a day, left and right to the nearest
// block of the next day that has one). Each block is an accessible item of the view, named
// with its day and times, and shows all its fields as a tooltip.
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

signals:
    // A block was double-clicked or Enter pressed on it: its program.
    void activated(const tessaly::ProgramRecord& program);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRectF weekArea() const;
    qreal textHeight() const;
    int blockAt(const QPoint& point) const;
    std::optional<int> neighbour(int key) const;
    void activate(int index);

    WeekPicture m_picture{WeekSheet{}};
    int m_selected = -1;
};

} // namespace tessaly
