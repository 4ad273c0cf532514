#pragma once

#include <QLabel>
#include <QPointF>
#include <QRectF>

class QImage;
class QPainter;

// Fills the area (in the painter's coordinates) with the banner repeated as a pattern whose tiles start at
// tileOrigin; a null banner fills nothing.
void Draw_Banner_Tiles(QPainter& painter, const QImage& banner, const QRectF& area, const QPointF& tileOrigin);

// A picture view of the interface forms that shows the main window's banner tiled behind its own picture,
// the tiles starting at the view's own top-left corner wherever the view lies in its window.
class Repeat_Image : public QLabel {
    Q_OBJECT
public:
    explicit Repeat_Image(QWidget* parent = nullptr);

    // A form may lay other controls out on the view: it is then as large as they need.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The controls laid out on the banner take text colours that read on it.
    void showEvent(QShowEvent* event) override;
};
