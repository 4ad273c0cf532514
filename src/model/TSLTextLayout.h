#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <limits>
#include <memory>

class QTextLayout;

// Lays out the text of a text item in canvas points, with no widget and on any thread: a 14-point font is
// 14 canvas units tall, and the layout draws at that size on any painter, whatever its device's resolution.
namespace tsltextlayout {

// Case transform codes: 1 upper case, 2 lower case, 3 capitalised (each word's first letter upper case,
// the rest lower case; words are separated by white space); any other code leaves the text as it is.
QString transformedCase(const QString& text, int code);

// Lines wrapped at width, one under another from y = 0, aligned by code (0 left, 1 right, 2 centred,
// 3 justified, 4 natural: left or right by the writing direction of the text); left and right are the
// page's sides for right-to-left text too. Characters a slanted font has no glyphs for (Arabic has no
// italic faces) are drawn upright. Kerning is extra space in points after every character; the font's own
// pair kerning is then off, so every pair is spaced alike.
// Line breaks of any kind start a new line. Lines that would start at or below maxHeight are not laid out.
std::unique_ptr<QTextLayout> layoutText(const QString& text, const QFont& font, double kerning, int alignment,
    double width, double maxHeight = std::numeric_limits<double>::infinity());

// Width of the longest line and height of all lines of a layout.
QSizeF usedSize(const QTextLayout& layout);

// The parts of the text between the places a line may break, as the layout finds them (Unicode line breaking, so
// in every script: after a space or a hyphen, between most Chinese and Japanese characters, between Thai words),
// each without the spaces that end it. A line breaks inside a part only when the part is wider than the line.
QStringList unbreakableParts(const QString& text);
// The width of the widest part of the text that a line of the layout breaks inside (0 when every line starts
// where a line may).
double widestBrokenPart(const QTextLayout& layout);

// Whether a layout made for a box of this size leaves text out of it: lines not laid out below it, or a
// line whose glyphs reach past its bottom or its right edge by more than half a point.
bool cutBy(const QTextLayout& layout, const QSizeF& box);
// Whether a line of the layout reaches out of `visible` (in the layout's own coordinates: the part of its
// box that is shown) by more than half a point on any side, or text was left out of the layout.
bool cutBy(const QTextLayout& layout, const QRectF& visible);

} // namespace tsltextlayout
