#pragma once

#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

class Card_Property;

// A card side's background photo is held at the size that covers the card on screen, never whole: a
// 48-megapixel phone photo would take 192 MB for as long as the design is open. Each output reads it
// again from its file at its own resolution, once per job, so exports and printed sheets lose nothing
// to the small copy and a printed sheet embeds one picture of at most the print resolution.
namespace cardbackground {

// Device pixels per point the held copy covers: a high-density screen with the card zoomed in.
inline constexpr double kHeldPixelsPerPoint = 3.0;

// The picture of the file as a side holds it for a card of that size: scaled down, in its proportions, to
// cover the card at kHeldPixelsPerPoint (a JPEG decoded straight at about that size), or whole when it is
// no larger or when it is tiled (a tile is drawn at one point per pixel). Null when the file cannot be read.
QImage held(const QString& path, const QString& layout, const QSizeF& cardPoints);

// The side's background for an output that draws the card of that size at pixelsPerPoint: a stretched
// picture read again from its file at exactly the pixels it covers there (kept in the picture cache, so a
// batch or a print job reads it once and draws one picture); the held copy when it is tiled or its file
// cannot be read.
QImage forOutput(const Card_Property& side, const QSizeF& cardPoints, double pixelsPerPoint);

} // namespace cardbackground
