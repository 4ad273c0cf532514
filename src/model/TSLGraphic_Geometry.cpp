// Geometry, handles, hit testing, group operations and scripting accessors of every card item.
#include "model/TSLGraphic.h"

#include "model/CardEditorServices.h"
#include "platform/Geometry.h"
#include "platform/StringsTable.h"

#include <QPainter>
#include <QPalette>

#include <stdexcept>

namespace {

constexpr int horizontalMirror[9] = { 0, 3, 2, 1, 5, 4, 8, 7, 6 };
constexpr int verticalMirror[9] = { 0, 6, 7, 8, 4, 5, 1, 2, 3 };

bool isLeftHandle(int h) { return h == 1 || h == 4 || h == 6; }
bool isRightHandle(int h) { return h == 3 || h == 5 || h == 8; }
bool isTopHandle(int h) { return h == 1 || h == 2 || h == 3; }
bool isBottomHandle(int h) { return h == 6 || h == 7 || h == 8; }

QString graphicString(const char* key)
{
    return platform::localizedString(QStringLiteral("TSLGraphic"), QString::fromLatin1(key));
}

} // namespace

QRectF TSLGraphic::drawingBounds() const
{
    double outset = TSLGraphicHandleHalfWidth;
    if (isDrawingStroke() && strokeWidth() / 2.0 > outset)
        outset = strokeWidth() / 2.0;
    QRectF r = platform::outsetRect(_bounds, outset, outset);
    r.setWidth(r.width() + 1.0);
    r.setHeight(r.height() + 1.0);
    return r;
}

void TSLGraphic::setXPosition(double x)
{
    QRectF r = _bounds;
    r.moveLeft(x);
    setBounds(r);
}

void TSLGraphic::setYPosition(double y)
{
    QRectF r = _bounds;
    r.moveTop(y);
    setBounds(r);
}

void TSLGraphic::setWidth(double width)
{
    QRectF r = _bounds;
    r.setWidth(width);
    setBounds(r);
}

void TSLGraphic::setHeight(double height)
{
    QRectF r = _bounds;
    r.setHeight(height);
    setBounds(r);
}

bool TSLGraphic::canMakeNaturalSize() const { return _bounds.width() != _bounds.height(); }

void TSLGraphic::makeNaturalSize()
{
    QRectF r = _bounds;
    if (r.width() > r.height())
        r.setWidth(r.height());
    else if (r.height() > r.width())
        r.setHeight(r.width());
    else
        return;
    setBounds(r);
}

QPointF TSLGraphic::handlePoint(int handle) const
{
    const double minX = _bounds.x();
    const double midX = _bounds.x() + _bounds.width() / 2.0;
    const double maxX = _bounds.x() + _bounds.width();
    const double minY = _bounds.y();
    const double midY = _bounds.y() + _bounds.height() / 2.0;
    const double maxY = _bounds.y() + _bounds.height();
    switch (handle) {
    case 1: return { minX, minY };
    case 2: return { midX, minY };
    case 3: return { maxX, minY };
    case 4: return { minX, midY };
    case 5: return { maxX, midY };
    case 6: return { minX, maxY };
    case 7: return { midX, maxY };
    case 8: return { maxX, maxY };
    default: return {};
    }
}

void TSLGraphic::drawHandlesInView(const TSLDrawingContext& context, bool lock_hai) const
{
    for (int handle = 1; handle <= 8; ++handle)
        drawHandleInView(context, handlePoint(handle), lock_hai);
}

void TSLGraphic::drawHandleInView(const TSLDrawingContext& context, const QPointF& point, bool lock_hai) const
{
    if (!context.painter)
        return;
    QRectF square(point.x() - TSLGraphicHandleHalfWidth, point.y() - TSLGraphicHandleHalfWidth, TSLGraphicHandleWidth,
                  TSLGraphicHandleWidth);
    // Align the square to whole device pixels so handles stay crisp at any zoom.
    const double scale = context.deviceScale > 0 ? context.deviceScale : 1.0;
    square = QRectF(std::round(square.x() * scale) / scale, std::round(square.y() * scale) / scale,
                    std::round(square.width() * scale) / scale, std::round(square.height() * scale) / scale);
    const QPalette palette;
    context.painter->fillRect(square.translated(1.0, 1.0), palette.color(QPalette::Shadow));
    context.painter->fillRect(square, lock_hai ? QColor(Qt::red) : palette.color(QPalette::Highlight));
}

bool TSLGraphic::isHandleAtPoint(const QPointF& handlePoint, const QPointF& point)
{
    const QRectF square(handlePoint.x() - TSLGraphicHandleHalfWidth, handlePoint.y() - TSLGraphicHandleHalfWidth,
                        TSLGraphicHandleWidth, TSLGraphicHandleWidth);
    return platform::pointInRect(point, square);
}

int TSLGraphic::handleUnderPoint(const QPointF& point) const
{
    for (int handle = 1; handle <= 8; ++handle) {
        if (isHandleAtPoint(handlePoint(handle), point))
            return handle;
    }
    return TSLGraphicNoHandle;
}

bool TSLGraphic::isContentsUnderPoint(const QPointF& point) const { return platform::pointInRect(point, _bounds); }

int TSLGraphic::resizeByMovingHandle(int handle, const QPointF& point)
{
    double x = _bounds.x();
    double y = _bounds.y();
    double w = _bounds.width();
    double h = _bounds.height();
    if (isLeftHandle(handle)) {
        w = (x + w) - point.x();
        x = point.x();
    } else if (isRightHandle(handle)) {
        w = point.x() - x;
    }
    if (w < 0.0) {
        handle = horizontalMirror[handle];
        w = -w;
        x = x - w;
        flipHorizontally();
    }
    if (isTopHandle(handle)) {
        h = (y + h) - point.y();
        y = point.y();
    } else if (isBottomHandle(handle)) {
        h = point.y() - y;
    }
    if (h < 0.0) {
        handle = verticalMirror[handle];
        h = -h;
        y = y - h;
        flipVertically();
    }
    setBounds(QRectF(x, y, w, h));
    return handle;
}

// ---------------------------------------------------------------------------------------------------------
// Group operations

QRectF TSLGraphic::boundsOfGraphics(const TSLGraphicList& graphics)
{
    QRectF result;
    for (const TSLGraphicPtr& graphic : graphics)
        result = platform::unionRect(result, graphic->bounds());
    return result;
}

QRectF TSLGraphic::drawingBoundsOfGraphics(const TSLGraphicList& graphics)
{
    if (graphics.empty()) {
        const CardEditorServices* services = editorServices();
        return services ? services->frontCanvasBounds() : QRectF();
    }
    QRectF result;
    for (const TSLGraphicPtr& graphic : graphics)
        result = platform::unionRect(result, graphic->drawingBounds());
    return result;
}

void TSLGraphic::translateGraphics(const TSLGraphicList& graphics, double dx, double dy)
{
    for (const TSLGraphicPtr& graphic : graphics) {
        if (!graphic->ctrl_is_locked)
            graphic->setBounds(graphic->bounds().translated(dx, dy));
    }
}

void TSLGraphic::Paste_Location_Of_Graphics(const TSLGraphicList& graphics, double x, double y,
                                            const QString& card_side)
{
    QPointF point(x, y);
    CardEditorServices* services = editorServices();
    for (std::size_t i = 0; i < graphics.size(); ++i) {
        if (i > 0 && services)
            point = services->nextCascadePoint(card_side);
        TSLGraphic& graphic = *graphics[i];
        if (graphic.ctrl_is_locked)
            continue;
        QRectF r = graphic.bounds();
        r.moveTopLeft(point);
        graphic.setBounds(r);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Scripting

QString TSLGraphic::objectSpecifier() const
{
    const QString specifier = _scriptingContainer ? _scriptingContainer->objectSpecifierForGraphic(*this) : QString();
    if (specifier.isEmpty())
        throw std::logic_error("A scriptable graphic has no scriptable container, or one that doesn't implement "
                               "-objectSpecifierForGraphic: correctly.");
    return specifier;
}

std::optional<QColor> TSLGraphic::scriptingFillColor()
{
    return isDrawingFill() ? std::optional<QColor>(fillColor()) : std::nullopt;
}

std::optional<QColor> TSLGraphic::scriptingStrokeColor()
{
    return isDrawingStroke() ? std::optional<QColor>(strokeColor()) : std::nullopt;
}

std::optional<double> TSLGraphic::scriptingStrokeWidth() const
{
    return isDrawingStroke() ? std::optional<double>(strokeWidth()) : std::nullopt;
}

QString TSLGraphic::setScriptingFillColor(const std::optional<QColor>& color)
{
    if (color) {
        if (!isDrawingFill()) {
            if (!canSetDrawingFill())
                return graphicString("You can't set the fill color of this kind of graphic.");
            setDrawingFill(true);
        }
        setFillColor(*color);
    } else if (isDrawingFill()) {
        if (!canSetDrawingFill())
            return graphicString("You can't remove the fill from this kind of graphic.");
        setDrawingFill(false);
    }
    return {};
}

QString TSLGraphic::setScriptingStrokeColor(const std::optional<QColor>& color)
{
    if (color) {
        if (!isDrawingStroke()) {
            if (!canSetDrawingStroke())
                return graphicString("You can't set the stroke color of this kind of graphic.");
            setDrawingStroke(true);
        }
        setStrokeColor(*color);
    } else if (isDrawingStroke()) {
        if (!canSetDrawingStroke())
            return graphicString("You can't remove the stroke from this kind of graphic.");
        setDrawingStroke(false);
    }
    return {};
}

QString TSLGraphic::setScriptingStrokeWidth(const std::optional<double>& width)
{
    if (width) {
        if (!isDrawingStroke()) {
            if (!canSetDrawingStroke())
                return graphicString("You can't set the stroke thickness of this kind of graphic.");
            setDrawingStroke(true);
        }
        setStrokeWidth(*width);
    } else if (isDrawingStroke()) {
        if (!canSetDrawingStroke())
            return graphicString("You can't remove the stroke from this kind of graphic.");
        setDrawingStroke(false);
    }
    return {};
}
