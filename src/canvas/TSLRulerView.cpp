#include "canvas/TSLRulerView.h"

#include "canvas/TSLCenteringClipView.h"

#include <QFontDatabase>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double minimumLabelGap = 40.0; // pixels between labelled marks
constexpr double minimumTickGap = 4.0; // pixels between the smallest marks
const QColor rulerBackground(248, 249, 252);
const QColor rulerMarks(90, 96, 110);
const QColor echoLineColor(30, 90, 200);

} // namespace

TSLRulerView::TSLRulerView(Qt::Orientation orientation, TSLCenteringClipView* clipView, QWidget* parent)
    : QWidget(parent)
    , orientation_(orientation)
    , clipView_(clipView)
{
    setObjectName(orientation == Qt::Horizontal ? QStringLiteral("horizontalRuler") : QStringLiteral("verticalRuler"));
    setFont(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont));
    connect(clipView_, &TSLCenteringClipView::boundsChanged, this, qOverload<>(&QWidget::update));
}

TSLRulerView::~TSLRulerView() = default;

QSize TSLRulerView::sizeHint() const
{
    return orientation_ == Qt::Horizontal ? QSize(200, thickness) : QSize(thickness, 200);
}

double TSLRulerView::origin() const
{
    const QRectF bounds = clipView_->bounds();
    return orientation_ == Qt::Horizontal ? bounds.x() : bounds.y();
}

double TSLRulerView::factor() const
{
    return clipView_->factor();
}

double TSLRulerView::pixelForLocation(double points) const
{
    return (points - origin()) * factor();
}

double TSLRulerView::locationForPixel(double pixel) const
{
    return pixel / factor() + origin();
}

void TSLRulerView::moveRulerlineFromLocation(double from, double to)
{
    if (from == noLine)
        addRulerLine(to);
    else if (to == noLine)
        removeRulerLine(from);
    else
        moveRulerLine(from, to);
}

void TSLRulerView::addRulerLine(double location)
{
    lines_.push_back(location);
    update();
}

void TSLRulerView::removeRulerLine(double location)
{
    if (lines_.empty())
        return;
    auto nearest = std::min_element(lines_.begin(), lines_.end(),
        [location](double a, double b) { return std::abs(a - location) < std::abs(b - location); });
    lines_.erase(nearest);
    update();
}

void TSLRulerView::moveRulerLine(double from, double to)
{
    if (lines_.empty()) {
        addRulerLine(to);
        return;
    }
    auto nearest = std::min_element(
        lines_.begin(), lines_.end(), [from](double a, double b) { return std::abs(a - from) < std::abs(b - from); });
    *nearest = to;
    update();
}

std::vector<double> TSLRulerView::edgesOf(const QRectF& rect) const
{
    if (orientation_ == Qt::Horizontal)
        return { rect.x(), rect.x() + rect.width() / 2.0, rect.x() + rect.width() };
    return { rect.y(), rect.y() + rect.height() / 2.0, rect.y() + rect.height() };
}

void TSLRulerView::echoRect(const QRectF& from, const QRectF& to)
{
    // The explicit forms, not the -1 convention: an edge may well lie at -1 point.
    if (from.isNull() && to.isNull())
        return;
    if (from.isNull()) {
        for (double location : edgesOf(to))
            addRulerLine(location);
    } else if (to.isNull()) {
        for (double location : edgesOf(from))
            removeRulerLine(location);
    } else {
        const std::vector<double> old = edgesOf(from);
        const std::vector<double> now = edgesOf(to);
        for (std::size_t i = 0; i < old.size(); ++i)
            moveRulerLine(old[i], now[i]);
    }
}

double TSLRulerView::labelStep() const
{
    const double pixelsPerUnit = factor() * pointsPerUnit;
    for (double decade = 1.0; decade < 1e7; decade *= 10.0) {
        for (double step : { 1.0, 2.0, 5.0 }) {
            if (step * decade * pixelsPerUnit >= minimumLabelGap)
                return step * decade;
        }
    }
    return 1e7;
}

void TSLRulerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), rulerBackground);
    const bool horizontal = orientation_ == Qt::Horizontal;
    const double length = horizontal ? width() : height();
    const double across = horizontal ? height() : width();

    // The edge towards the canvas.
    painter.setPen(rulerMarks);
    if (horizontal)
        painter.drawLine(QPointF(0, across - 0.5), QPointF(length, across - 0.5));
    else
        painter.drawLine(QPointF(across - 0.5, 0), QPointF(across - 0.5, length));

    const double pixelsPerUnit = factor() * pointsPerUnit;
    const double step = labelStep();
    double tick = step;
    for (double divisions : { 10.0, 5.0, 2.0 }) {
        if (step / divisions * pixelsPerUnit >= minimumTickGap) {
            tick = step / divisions;
            break;
        }
    }
    const double first = std::floor(locationForPixel(0) / pointsPerUnit / tick) * tick;
    const double last = locationForPixel(length) / pointsPerUnit;
    const int ticksPerLabel = std::max(1, int(std::lround(step / tick)));
    long index = std::lround(first / tick);
    for (double unit = first; unit <= last; unit = double(++index) * tick) {
        const double pixel = std::round(pixelForLocation(unit * pointsPerUnit)) + 0.5;
        const bool labelled = index % ticksPerLabel == 0;
        const bool half = !labelled && ticksPerLabel % 2 == 0 && index % (ticksPerLabel / 2) == 0;
        const double mark = labelled ? across * 0.6 : (half ? across * 0.4 : across * 0.25);
        if (horizontal)
            painter.drawLine(QPointF(pixel, across - mark), QPointF(pixel, across));
        else
            painter.drawLine(QPointF(across - mark, pixel), QPointF(across, pixel));
        if (labelled) {
            const QString text = QString::number(std::lround(unit));
            if (horizontal) {
                painter.drawText(QPointF(pixel + 2, across * 0.45), text);
            } else {
                painter.save();
                painter.translate(across * 0.45, pixel - 2);
                painter.rotate(-90);
                painter.drawText(QPointF(0, 0), text);
                painter.restore();
            }
        }
    }

    // The echo of what is being moved, across the whole ruler.
    painter.setPen(QPen(echoLineColor, 1.0));
    for (double location : lines_) {
        const double pixel = std::round(pixelForLocation(location)) + 0.5;
        if (horizontal)
            painter.drawLine(QPointF(pixel, 0), QPointF(pixel, across));
        else
            painter.drawLine(QPointF(0, pixel), QPointF(across, pixel));
    }
}
