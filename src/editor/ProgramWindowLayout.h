#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

#include <initializer_list>

#include "Banner.h"

namespace tessaly::programWindow {

// The editor and the read-back viewer share one layout: the list on the left; the filter, the
// detail panel and the buttons on the right, under a banner across the top.
constexpr int Width = 824;
constexpr int Height = 500;
constexpr int BannerHeight = 40;
constexpr int RightX = 316;
constexpr int ButtonsY = 382;

// Image1: the banner picture across the top of such a window.
inline QLabel* addBanner(QWidget* window, const QString& title) {
    auto* banner = new QLabel(window);
    banner->setObjectName(QStringLiteral("Image1"));
    banner->setGeometry(0, 0, Width, BannerHeight);
    banner->setPixmap(bannerPicture(banner->size(), title));
    return banner;
}

// A caption wider than its place (the layouts are made for the Chinese captions) takes the room it
// needs and a small gap, and the controls on its right move over by as much. A caption that fits
// stays as it is.
inline void fitCaption(QLabel* caption, std::initializer_list<QWidget*> followers) {
    constexpr int gap = 4;
    const int needed = caption->sizeHint().width();
    if (needed <= caption->width())
        return;
    const int extra = needed + gap - caption->width();
    caption->resize(caption->width() + extra, caption->height());
    for (QWidget* follower : followers)
        follower->move(follower->x() + extra, follower->y());
}

} // namespace tessaly::programWindow
