#pragma once

#include <QPixmap>
#include <QString>

namespace tessaly {

// The picture across the top of a window: a band of colour with a title on the left and an
// optional line on the right.
QPixmap bannerPicture(QSize size, const QString& title, const QString& subtitle = {});

} // namespace tessaly
