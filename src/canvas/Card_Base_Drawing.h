#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class Card_Property;
class QPainter;

// The card itself, painted before any item: the outline filled white, the side's background (solid,
// gradient, hatch pattern or picture, stretched or tiled) and its border. Everything it needs is passed
// in, so off-screen rendering can draw from a copied record on a worker thread; it changes nothing.
//
// The outline is built on the whole card rectangle and the painting is clipped to `dirtyRect`, so that
// repainting a card in parts gives the same picture as painting it whole. An empty `dirtyRect` paints
// nothing. `cardShape` is the outline code: 1 rounded rectangle, 2 oval, any other value rectangle. A
// stretched background picture covers the whole card rectangle, corners outside the outline included.
// A hatch name that is not a plain file name counts as a missing pattern: the colour is drawn alone.
// A failure is logged once and the remaining steps are skipped.
// `groundPainted`: a rectangular card's whole rectangle is already filled with Card_Base_Ground(side), so
// what that fill did is not painted again.
void Card_Base_Drawing(QPainter& painter, const QRectF& cardRect, const Card_Property& side, int cardShape,
    const QRectF& dirtyRect, bool groundPainted = false);

// The one colour a card's base leaves everywhere before its gradient, hatch, picture and border: its plain
// fill colour when that is opaque, else white.
QColor Card_Base_Ground(const Card_Property& side);

// Whether the base paints anything over a ground filled with Card_Base_Ground(side): a gradient, pattern
// or picture, or a border.
bool Card_Base_Paints_Over_Ground(const Card_Property& side);

// The canvas's form: the record of the current side (Card_Front_Or_Back) as the editor gives it, and
// the outline code Card_Shape. GUI thread only.
// `side` 0 front, 1 back, 2 the scratch side; -1 the side named by Card_Front_Or_Back.
void Card_Base_Drawing(QPainter& painter, const QRectF& cardRect, const QRectF& dirtyRect, int side = -1);

// The outline for an outline code; the rounded corners have radius 10, at most half a side.
QPainterPath cardOutlinePath(const QRectF& cardRect, int cardShape);
