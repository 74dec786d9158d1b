#include "WeekView.h"

#include "ProgramMoves.h"
#include "WeekText.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace tessaly {

namespace {

// One block of the week, as a screen reader sees it.
class WeekBlockAccessible final : public QAccessibleInterface {
public:
    WeekBlockAccessible(WeekView* view, int index) : m_view(view), m_index(index) {}

    bool isValid() const override {
        return m_view && m_index < m_view->picture().layout().blocks.size();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_view->blockName(m_index);
        if (t == QAccessible::Description)
            return m_view->blockToolTip(m_index);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect local = m_view->blockRect(m_index);
        return QRect(m_view->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.selectable = true;
        const bool selected = isValid() && m_view->selectedBlock() == m_index;
        state.selected = selected;
        state.focused = selected && m_view->hasFocus();
        return state;
    }

private:
    QPointer<WeekView> m_view;
    int m_index;
};

// The view as a list whose items are the blocks.
class WeekViewAccessible final : public QAccessibleWidget {
public:
    explicit WeekViewAccessible(WeekView* view)
        : QAccessibleWidget(view, QAccessible::List, view->accessibleName()) {}
    ~WeekViewAccessible() override {
        for (const QAccessible::Id id : std::as_const(m_children))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(view()->picture().layout().blocks.size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto found = m_children.constFind(index); found != m_children.cend())
            return QAccessible::accessibleInterface(*found);
        auto* item = new WeekBlockAccessible(view(), index);
        m_children.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        for (auto it = m_children.cbegin(); it != m_children.cend(); ++it)
            if (it.value() == id)
                return it.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (child(i)->rect().contains(x, y))
                return child(i);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return view()->selectedBlock() < 0 ? nullptr : child(view()->selectedBlock());
    }

private:
    WeekView* view() const { return static_cast<WeekView*>(widget()); }

    mutable QHash<int, QAccessible::Id> m_children;
};

QAccessibleInterface* weekViewAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(WeekView::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new WeekViewAccessible(static_cast<WeekView*>(object));
    return nullptr;
}

const qreal Margin = 6;

} // namespace

WeekView::WeekView(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(weekViewAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("weekView"));
    setAccessibleName(tr("周节目表"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setMinimumSize(640, 480);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WeekView::setSheet(WeekSheet sheet) {
    std::optional<std::pair<qint64, int>> kept; // the selected program's AutoID and day
    if (m_selected >= 0) {
        const WeekBlock& block = m_picture.layout().blocks[m_selected];
        kept = {m_picture.sheet().programs[block.program].AutoID, block.day};
    }
    m_picture = WeekPicture(std::move(sheet));
    m_textHeightFor = {}; // found again for this week
    m_selected = -1;
    m_drag.reset(); // its blocks are gone: it springs back
    const auto& blocks = m_picture.layout().blocks;
    for (qsizetype i = 0; kept && i < blocks.size(); ++i)
        if (blocks[i].day == kept->second &&
            m_picture.sheet().programs[blocks[i].program].AutoID == kept->first)
            m_selected = int(i);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&changed);
    }
    update();
}

void WeekView::selectBlock(int index) {
    if (index < -1 || index >= m_picture.layout().blocks.size())
        return;
    // Only the two blocks whose focus frame changes are painted again.
    const int frame = int(textHeight() / 4) + 2;
    for (const int changed : {m_selected, index})
        if (changed >= 0)
            update(blockRect(changed).adjusted(-frame, -frame, frame, frame));
    m_selected = index;
    if (index >= 0 && QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
}

QRectF WeekView::weekArea() const {
    return weekAreaFor(textHeight());
}

QRectF WeekView::weekAreaFor(qreal textHeight) const {
    return QRectF(rect()).adjusted(Margin, Margin, -Margin,
                                   -Margin - WeekPicture::legendHeight(textHeight));
}

QRectF WeekView::legendArea() const {
    const QRectF week = weekArea();
    return QRectF(week.left(), week.bottom(), week.width(),
                  WeekPicture::legendHeight(textHeight()));
}

// The widget's own text height, smaller where that leaves a block without its label (bells a
// few minutes apart): the largest whole pixel that labels every block, down to what still reads
// on a screen. Found once for a size and a week: its own first, then by halves, each try
// stopping at the first label left out.
qreal WeekView::textHeight() const {
    if (m_textHeightFor == size())
        return m_textHeight;
    constexpr int LeastTextHeight = 12;
    const auto labelsAll = [this](int height) {
        return m_picture.leftOut(weekAreaFor(height), height, 1) == 0;
    };
    int height = fontMetrics().height();
    if (height > LeastTextHeight && !labelsAll(height)) {
        int low = LeastTextHeight; // what is left when no larger height does
        int high = height - 1;
        while (low < high) {
            const int middle = (low + high + 1) / 2;
            if (labelsAll(middle))
                low = middle;
            else
                high = middle - 1;
        }
        height = low;
    }
    m_textHeight = height;
    m_textHeightFor = size();
    return height;
}

QRect WeekView::blockRect(int index) const {
    return m_picture.blockArea(weekArea(), textHeight(), m_picture.layout().blocks[index])
        .toAlignedRect();
}

QString WeekView::blockName(int index) const {
    const WeekBlock& block = m_picture.layout().blocks[index];
    return weekText::accessibleName(m_picture.sheet().programs[block.program], block);
}

QString WeekView::blockToolTip(int index) const {
    return weekText::toolTip(m_picture.sheet().programs, m_picture.layout().blocks[index]);
}

int WeekView::blockAt(const QPoint& point) const {
    return m_picture.blockAt(weekArea(), textHeight(), point);
}

void WeekView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    m_picture.paintWeek(painter, weekArea(), textHeight(), m_selected, event->region());
    if (event->region().intersects(legendArea().toAlignedRect()))
        WeekPicture::paintLegend(painter, legendArea(), textHeight());
    if (!isDragging())
        return;
    // A block dragged past the hours shown goes out of sight; the stored move refits them.
    painter.setClipRect(weekArea());
    const qreal offset = m_drag->seconds / m_picture.secondsPerPixel(weekArea(), textHeight());
    const QStringList lines = dragLabel();
    for (const int index : std::as_const(m_drag->blocks))
        WeekPicture::paintMovingBlock(painter, QRectF(blockRect(index)).translated(0, offset),
                                      textHeight(), lines);
}

bool WeekView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int index = blockAt(help->pos());
    if (index < 0) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), blockToolTip(index), this, blockRect(index));
    return true;
}

void WeekView::mousePressEvent(QMouseEvent* event) {
    const int index = blockAt(event->position().toPoint());
    selectBlock(index);
    m_drag.reset();
    if (!m_editable || index < 0 || event->button() != Qt::LeftButton)
        return;
    const int program = m_picture.layout().blocks[index].program;
    Drag drag{index, {}, event->position().toPoint()};
    const auto& blocks = m_picture.layout().blocks;
    for (qsizetype i = 0; i < blocks.size(); ++i)
        if (blocks[i].program == program)
            drag.blocks.append(int(i));
    m_drag = drag;
}

void WeekView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_drag || !(event->buttons() & Qt::LeftButton))
        return;
    dragTo(event->position().toPoint(), event->modifiers() & Qt::ShiftModifier);
}

void WeekView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_drag || event->button() != Qt::LeftButton)
        return;
    const Drag drag = *m_drag;
    if (drag.active)
        update(dragArea(drag.seconds));
    // The block goes back to its place; where the move is stored the week is shown anew.
    m_drag.reset();
    if (drag.active && drag.seconds != 0) {
        const ProgramRecord& program =
            m_picture.sheet().programs[m_picture.layout().blocks[drag.block].program];
        emit moveRequested(program.AutoID, m_picture.sheet().setLabel, drag.seconds);
    }
}

// Follows the pointer: whole minutes (seconds when asked), never out of the program's day.
void WeekView::dragTo(const QPoint& point, bool bySeconds) {
    if (!m_drag->active) {
        if ((point - m_drag->pressedAt).manhattanLength() < QApplication::startDragDistance())
            return;
        m_drag->active = true;
    }
    const qreal raw =
        (point.y() - m_drag->pressedAt.y()) * m_picture.secondsPerPixel(weekArea(), textHeight());
    const int step = bySeconds ? 1 : 60;
    const int snapped = int(std::lround(raw / step)) * step;
    const ProgramRecord& program =
        m_picture.sheet().programs[m_picture.layout().blocks[m_drag->block].program];
    const int seconds = ProgramMoves::shiftWithinDay(program, snapped);
    if (seconds == m_drag->seconds)
        return;
    const QRegion before = dragArea(m_drag->seconds);
    m_drag->seconds = seconds;
    update(before | dragArea(seconds));
}

// Where the dragged blocks and their labels lie at a shift of `seconds`.
QRegion WeekView::dragArea(int seconds) const {
    if (!m_drag)
        return {};
    const qreal offset = seconds / m_picture.secondsPerPixel(weekArea(), textHeight());
    const QStringList lines = dragLabel();
    const int frame = int(textHeight() / 4) + 2;
    QRegion area;
    for (const int index : m_drag->blocks) {
        const QRectF rect = QRectF(blockRect(index)).translated(0, offset);
        area += rect.united(WeekPicture::movingLabelArea(rect, textHeight(), lines))
                    .toAlignedRect()
                    .adjusted(-frame, -frame, frame, frame);
    }
    return area;
}

QStringList WeekView::dragLabel() const {
    if (!isDragging())
        return {};
    const ProgramRecord& program =
        m_picture.sheet().programs[m_picture.layout().blocks[m_drag->block].program];
    return weekText::movingLines(program, m_drag->seconds);
}

void WeekView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int index = blockAt(point);
    selectBlock(index);
    if (index >= 0) {
        activate(index);
        return;
    }
    if (!m_editable)
        return;
    if (const auto place = m_picture.placeAt(weekArea(), textHeight(), point))
        emit emptyActivated(place->day, place->second);
}

void WeekView::setEditable(bool editable) {
    m_editable = editable;
    if (!editable && m_drag) {
        update(dragArea(m_drag->seconds));
        m_drag.reset();
    }
}

void WeekView::selectProgram(qint64 autoId) {
    const auto& blocks = m_picture.layout().blocks;
    const int day = m_selected >= 0 ? blocks[m_selected].day : -1;
    int found = -1;
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (m_picture.sheet().programs[blocks[i].program].AutoID != autoId)
            continue;
        if (found < 0 || blocks[i].day == day)
            found = int(i);
        if (blocks[i].day == day)
            break;
    }
    if (found >= 0)
        selectBlock(found);
}

void WeekView::announceSelection() {
    if (m_selected < 0)
        return;
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    changed.setChild(m_selected);
    m_announce(&changed);
}

void WeekView::moveSelected(int seconds) {
    if (m_selected < 0)
        return;
    const ProgramRecord& program =
        m_picture.sheet().programs[m_picture.layout().blocks[m_selected].program];
    emit moveRequested(program.AutoID, m_picture.sheet().setLabel, seconds);
}

void WeekView::activate(int index) {
    if (index >= 0)
        emit activated(m_picture.sheet().programs[m_picture.layout().blocks[index].program]);
}

// The block an arrow key leads to from the selection, nothing at the week's edge.
std::optional<int> WeekView::neighbour(int key) const {
    const auto& blocks = m_picture.layout().blocks;
    if (blocks.isEmpty())
        return std::nullopt;
    if (m_selected < 0)
        return 0;
    const WeekBlock& from = blocks[m_selected];
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
        const int next = m_selected + (key == Qt::Key_Down ? 1 : -1);
        if (next < 0 || next >= blocks.size() || blocks[next].day != from.day)
            return std::nullopt;
        return next;
    }
    const int step = key == Qt::Key_Right ? 1 : -1;
    for (int day = from.day + step; day >= 0 && day < week::Days; day += step) {
        std::optional<int> nearest;
        for (const int i : m_picture.layout().blocksOfDay(day))
            if (!nearest || std::abs(blocks[i].startSecond - from.startSecond) <
                                std::abs(blocks[*nearest].startSecond - from.startSecond))
                nearest = i;
        if (nearest)
            return nearest;
    }
    return std::nullopt;
}

void WeekView::keyPressEvent(QKeyEvent* event) {
    const bool vertical = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (vertical && m_editable && (event->modifiers() & Qt::AltModifier)) {
        const int minutes = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
        moveSelected((event->key() == Qt::Key_Up ? -60 : 60) * minutes);
        return;
    }
    if (event->key() == Qt::Key_Escape && m_drag) {
        update(dragArea(m_drag->seconds));
        m_drag.reset();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (const auto next = neighbour(event->key()))
            selectBlock(*next);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activate(m_selected);
        return;
    default:
        QWidget::keyPressEvent(event); // Escape goes on to the window, which closes
    }
}

} // namespace tessaly
