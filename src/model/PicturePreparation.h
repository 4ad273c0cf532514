#pragma once

#include "model/TSLGraphic.h"

#include <QRectF>
#include <QTransform>

#include <optional>

// Makes, before a side is drawn, the adjusted pictures that its visible picture items inside the area will
// need and that the picture cache does not hold yet: several at once on worker threads, so that a side of
// many photos shows after its slowest picture rather than after all of them in turn. Pictures too large to
// decode several at a time within the cache's budget are left to the drawing, which makes them one by one.
// Returns when every picture it started is made. One preparation runs at a time; a call made while another
// runs does nothing. An empty area means the whole side. Given the painter's transform to its device, it
// also makes the copies scaled for the screen that the drawing will paint.
void preparePictures(
    const TSLGraphicList& items, const QRectF& area = QRectF(), const std::optional<QTransform>& toDevice = {});
