#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <functional>

class QPainter;

// What the drawn pictures share: their square size, a star outline and the writing of a picture.
namespace drawn {

constexpr int kSide = 256;

// A star of `points` tips around `centre`, the first tip straight up.
QPainterPath starPath(QPointF centre, double outer, double inner, int points);

// Draws a kSide square picture on a transparent ground, antialiased, and writes it as PNG; false when
// the file cannot be written.
bool writePicture(const QString& path, const std::function<void(QPainter&)>& draw);

} // namespace drawn
