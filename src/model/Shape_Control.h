#pragma once

#include "model/TSLGraphic.h"

// A geometric shape item: rectangle, oval, rounded rectangle, triangle, diamond, star, double star or
// polygon, chosen by its shape code. The outline is rebuilt from the record whenever it is needed.
class Shape_Control : public TSLGraphic {
public:
    Shape_Control() = default;
    explicit Shape_Control(Bare bare)
        : TSLGraphic(bare)
    {
    }

    QString className() const override { return QStringLiteral("Shape_Control"); }

    // The outline of the shape code (empty for an unknown code), non-zero winding.
    QPainterPath bezierPathForDrawing() const override;
    // Inside the outline under the non-zero rule; the border width and the fill switch do not count.
    bool isContentsUnderPoint(const QPointF& point) const override;
    void drawContentsInView(const TSLDrawingContext& context, bool isBeingCreateOrEdited) override;

    // Outline builders over the bounds. The stroke width is applied by the pen when the outline is drawn.
    QPainterPath Rectangle_path() const;
    QPainterPath Circle_path() const;
    QPainterPath Rounded_Rectangle_path() const;
    QPainterPath Triangle_path() const;
    QPainterPath Diamond_path() const;
    QPainterPath Custom_Polygon() const; // four-pointed star whose tips are the corners
    // Star through every second point of n points on the inscribed ellipse, from the top centre. A count
    // above maxStarPoints (a damaged file) is cut to it; a count of 0 or less gives an empty outline.
    QPainterPath Polygon_With_Diffrent_Sides(int n) const;

    static constexpr int maxStarPoints = 1000;
};
