#include "LinkIndicator.h"

#include <QPainter>

namespace tessaly {

LinkIndicator::LinkIndicator(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SP_State"));
    setAccessibleName(tr("连接状态"));
    setAccessibleDescription(tr("连接失败"));
}

void LinkIndicator::setConnected(bool connected) {
    m_connected = connected;
    setAccessibleDescription(connected ? tr("连接成功") : tr("连接失败"));
    update();
}

void LinkIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill());
    const int side = qMin(width(), height()) - 2;
    painter.drawEllipse(QRect(1, 1, side, side));
}

} // namespace tessaly
