#include "model/TSLLine.h"

#include "model/TSLDrawing.h"
#include "platform/KeyedArchive.h"
#include "platform/StringsTable.h"

#include <QPainter>

#include <cmath>

namespace {

const QString pointsRightKey = QStringLiteral("_pointsRight");
const QString pointsDownKey = QStringLiteral("_pointsDown");

QString stringFromPoint(const QPointF& p)
{
    return QStringLiteral("{%1, %2}").arg(p.x()).arg(p.y());
}

} // namespace

TSLGraphicPtr TSLLine::copyWithZone() const
{
    auto copy = std::make_shared<TSLLine>();
    copyBaseFieldsTo(*copy);
    copy->_pointsRight = _pointsRight;
    copy->_pointsDown = _pointsDown;
    return copy;
}

// ---------------------------------------------------------------------------------------------------------
// End points

QPointF TSLLine::beginPoint() const
{
    const QRectF& b = _bounds;
    return { _pointsRight ? b.x() : b.x() + b.width(), _pointsDown ? b.y() : b.y() + b.height() };
}

QPointF TSLLine::endPoint() const
{
    const QRectF& b = _bounds;
    return { _pointsRight ? b.x() + b.width() : b.x(), _pointsDown ? b.y() + b.height() : b.y() };
}

QRectF TSLLine::boundsWithBeginPoint(const QPointF& b, const QPointF& e, bool* pointsRight, bool* pointsDown)
{
    if (pointsRight)
        *pointsRight = e.x() > b.x();
    if (pointsDown)
        *pointsDown = e.y() > b.y();
    return QRectF(std::min(b.x(), e.x()), std::min(b.y(), e.y()), std::abs(e.x() - b.x()), std::abs(e.y() - b.y()));
}

void TSLLine::setBoundsAndDirection(const QRectF& bounds, bool pointsRight, bool pointsDown)
{
    const QPointF oldBegin = beginPoint();
    const QPointF oldEnd = endPoint();
    _pointsRight = pointsRight;
    _pointsDown = pointsDown;
    TSLGraphic::setBounds(bounds);
    didChangeValueForKey(QStringLiteral("beginPoint"), oldBegin, beginPoint());
    didChangeValueForKey(QStringLiteral("endPoint"), oldEnd, endPoint());
}

void TSLLine::setBounds(const QRectF& bounds)
{
    setBoundsAndDirection(bounds, _pointsRight, _pointsDown);
}

void TSLLine::setBeginPoint(const QPointF& point)
{
    bool right = false;
    bool down = false;
    const QRectF r = boundsWithBeginPoint(point, endPoint(), &right, &down);
    setBoundsAndDirection(r, right, down);
}

void TSLLine::setEndPoint(const QPointF& point)
{
    bool right = false;
    bool down = false;
    const QRectF r = boundsWithBeginPoint(beginPoint(), point, &right, &down);
    setBoundsAndDirection(r, right, down);
}

int TSLLine::direction() const
{
    const QRectF b = bounds().normalized();
    if (b.height() < 0.5)
        return 0;
    return b.width() < 0.5 ? 1 : 2;
}

void TSLLine::orientAs(int orientation)
{
    if (ctrl_is_locked || orientation < 0 || orientation > 2)
        return;
    const QPointF begin = beginPoint();
    const QPointF end = endPoint();
    const QPointF middle = (begin + end) / 2.0;
    const double length = std::max(1.0, std::hypot(end.x() - begin.x(), end.y() - begin.y()));
    const QPointF half = orientation == 0 ? QPointF(length / 2.0, 0)
        : orientation == 1                ? QPointF(0, length / 2.0)
                                          : QPointF(length, length) / (2.0 * std::sqrt(2.0));
    setBeginPoint(middle - half);
    setEndPoint(middle + half);
}

// ---------------------------------------------------------------------------------------------------------
// Drawing, handles and hit testing

Qt::PenCapStyle TSLLine::penCapStyle() const
{
    switch (Get_Line_Cap_Style()) {
    case 1:
        return Qt::RoundCap;
    case 2:
        return Qt::SquareCap;
    default:
        return Qt::FlatCap;
    }
}

QPainterPath TSLLine::bezierPathForDrawing() const
{
    QPainterPath path;
    path.moveTo(beginPoint());
    path.lineTo(endPoint());
    return path;
}

void TSLLine::drawContentsInView(const TSLDrawingContext& context, bool)
{
    if (!ctrl_is_visible)
        return;
    if (context.painter) {
        QPainter& painter = *context.painter;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPen pen = borderPen(drawnStrokeColor(), strokeWidth(), strokeBorderType());
        pen.setCapStyle(penCapStyle()); // every dash ends in the line's cap
        pen.setJoinStyle(Qt::MiterJoin);
        painter.strokePath(bezierPathForDrawing(), pen);
        painter.restore();
    }
    requestCanvasRefresh();
}

void TSLLine::drawHandlesInView(const TSLDrawingContext& context, bool lock_hai) const
{
    drawHandleInView(context, beginPoint(), lock_hai);
    drawHandleInView(context, endPoint(), lock_hai);
}

int TSLLine::handleUnderPoint(const QPointF& point) const
{
    if (isHandleAtPoint(beginPoint(), point))
        return 1;
    if (isHandleAtPoint(endPoint(), point))
        return 2;
    return TSLGraphicNoHandle;
}

int TSLLine::resizeByMovingHandle(int handle, const QPointF& point)
{
    if (handle == 1)
        setBeginPoint(point);
    else if (handle == 2)
        setEndPoint(point);
    return handle;
}

bool TSLLine::isContentsUnderPoint(const QPointF& point) const
{
    const double tolerance = strokeWidth() / 2.0 + 2.0;
    const QRectF& r = _bounds;
    // The usual half-open box test, except along an axis where the box has no extent: there the
    // tolerance stands in for it, or a horizontal or vertical line could never be clicked.
    const bool insideX = r.width() > 0.0 ? point.x() >= r.left() && point.x() < r.left() + r.width()
                                         : std::abs(point.x() - r.left()) <= tolerance;
    const bool insideY = r.height() > 0.0 ? point.y() >= r.top() && point.y() < r.top() + r.height()
                                          : std::abs(point.y() - r.top()) <= tolerance;
    if (!insideX || !insideY)
        return false;
    const QPointF b = beginPoint();
    const QPointF e = endPoint();
    const double dx = e.x() - b.x();
    if (dx == 0.0)
        return std::abs(point.x() - b.x()) <= tolerance;
    const double slope = (e.y() - b.y()) / dx;
    return std::abs((point.x() - b.x()) * slope - (point.y() - b.y())) <= tolerance;
}

// ---------------------------------------------------------------------------------------------------------
// Undo, debug form and archive

QSet<QString> TSLLine::keysForValuesToObserveForUndo() const
{
    QSet<QString> keys = TSLGraphic::keysForValuesToObserveForUndo();
    keys.remove(QStringLiteral("bounds"));
    keys.insert(QStringLiteral("beginPoint"));
    keys.insert(QStringLiteral("endPoint"));
    return keys;
}

QVariant TSLLine::valueForKey(const QString& key) const
{
    if (key == QLatin1String("beginPoint"))
        return beginPoint();
    if (key == QLatin1String("endPoint"))
        return endPoint();
    return TSLGraphic::valueForKey(key);
}

void TSLLine::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == QLatin1String("beginPoint"))
        setBeginPoint(value.toPointF());
    else if (key == QLatin1String("endPoint"))
        setEndPoint(value.toPointF());
    else
        TSLGraphic::setValueForKey(key, value);
}

QString TSLLine::presentablePropertyNameForKey(const QString& key) const
{
    static const QHash<QString, QString> names = {
        { QStringLiteral("beginPoint"),
            platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Beginpoint")) },
        { QStringLiteral("endPoint"),
            platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Endpoint")) },
    };
    const auto it = names.constFind(key);
    return it != names.constEnd() ? *it : TSLGraphic::presentablePropertyNameForKey(key);
}

QVariantMap TSLLine::properties() const
{
    QVariantMap map = TSLGraphic::properties();
    map.remove(QStringLiteral("bounds"));
    map.insert(QStringLiteral("beginPoint"), stringFromPoint(beginPoint()));
    map.insert(QStringLiteral("endPoint"), stringFromPoint(endPoint()));
    return map;
}

void TSLLine::encodeSubclassFieldsWithCoder(platform::KeyedArchive& archive) const
{
    archive.encodeBool(pointsRightKey, _pointsRight);
    archive.encodeBool(pointsDownKey, _pointsDown);
}

void TSLLine::decodeSubclassFieldsWithCoder(const platform::KeyedArchive& archive)
{
    _pointsRight = archive.decodeBool(pointsRightKey);
    _pointsDown = archive.decodeBool(pointsDownKey);
}
