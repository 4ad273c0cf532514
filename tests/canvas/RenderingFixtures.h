#pragma once

// Card sides and items for the off-screen rendering tests: plain filled squares over a side with a
// solid background, so that every pixel tells whose it is.
#include "canvas/TSLRenderingView.h"
#include "model/CardEditorServices.h"
#include "model/Shape_Control.h"

#include <QColor>

#include <cstdlib>
#include <memory>

namespace renderingfixtures {

inline std::shared_ptr<Shape_Control> square(const QRectF& bounds, const QColor& fill, int printObject = 0)
{
    auto item = std::make_shared<Shape_Control>();
    item->Set_Shape_Type(QStringLiteral("R"));
    item->_bounds = bounds;
    item->_isDrawingFill = true;
    item->_fillColor = fill;
    item->_isDrawingStroke = false;
    item->print_object = printObject;
    return item;
}

inline Card_Property solidSide(const QColor& fill)
{
    Card_Property side;
    side.setCard_fill_chk(true);
    side.setCard_fill_style(QStringLiteral("S"));
    side.setCard_fill_clr(fill);
    side.setCard_border_chk(false);
    return side;
}

inline TSLRenderingSide side(const QColor& fill, const QRectF& canvas = QRectF(0, 0, 243, 154), int frontOrBack = 0)
{
    TSLRenderingSide result;
    result.property = solidSide(fill);
    result.frontOrBack = frontOrBack;
    result.cardShape = 0;
    result.canvasBounds = canvas;
    return result;
}

// An editor with a blue front and a green back on a 243 x 154 canvas, counting refresh requests.
class TwoSidedEditor : public CardEditorServices {
public:
    TwoSidedEditor() { setEditorServices(this); }
    ~TwoSidedEditor() override { setEditorServices(nullptr); }
    QFont defaultTextFont() const override { return QFont(QStringLiteral("DejaVu Sans"), 14); }
    QColor defaultTextColor() const override { return QColor(Qt::black); }
    QPointF nextCascadePoint(const QString&) override { return {}; }
    QRectF frontCanvasBounds() const override { return { 0, 0, 243, 154 }; }
    void refreshCanvas() override { ++refreshes; }
    Card_Property cardSideProperty(int frontOrBack) const override
    {
        return solidSide(frontOrBack == 0 ? front : back);
    }

    QColor front = QColor(0, 0, 255);
    QColor back = QColor(0, 160, 0);
    int refreshes = 0;
};

inline bool near(const QColor& a, const QColor& b, int tolerance = 8)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

} // namespace renderingfixtures
