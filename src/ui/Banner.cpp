#include "Banner.h"

#include <QLinearGradient>
#include <QPainter>

namespace tessaly {

QPixmap bannerPicture(QSize size, const QString& title, const QString& subtitle) {
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient band(0, 0, size.width(), 0);
    band.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    band.setColorAt(1, QColor(0x5b, 0x9b, 0xd5));
    painter.fillRect(picture.rect(), band);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(26);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect().adjusted(20, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
    if (!subtitle.isEmpty()) {
        font.setPixelSize(14);
        font.setBold(false);
        painter.setFont(font);
        painter.drawText(picture.rect().adjusted(0, 0, -20, 0), Qt::AlignVCenter | Qt::AlignRight,
                         subtitle);
    }
    return picture;
}

} // namespace tessaly
