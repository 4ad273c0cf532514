#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

// A picture for a label on the screen: fitted inside `box` (logical pixels, its shape kept) at `ratio`
// device pixels a logical pixel, and marked with the ratio, so that it takes the same room on every
// screen and is as sharp on a dense one as on a plain one. Empty for an empty picture or box.
QPixmap fittedScreenPixmap(const QImage& picture, const QSize& box, qreal ratio);
