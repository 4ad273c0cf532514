#include "canvas/TSLCenteringClipView.h"

#include "canvas/Card_Base_Drawing.h"
#include "canvas/TSLGraphicView.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The sheet's shadow, in widget pixels whatever the zoom: 3 right, 3 down, blurred over about 15.
constexpr int shadowOffset = 3;
constexpr int shadowBoxRadius = 7; // three box passes approximate a blur of radius 15
constexpr int shadowMargin = 3 * shadowBoxRadius + 1; // how far the blur reaches

// One box-blur pass over the rows (or the columns) of an 8-bit alpha image.
void boxBlurPass(QImage& image, bool alongRows)
{
    const int width = image.width();
    const int height = image.height();
    const int lines = alongRows ? height : width;
    const int length = alongRows ? width : height;
    const int window = 2 * shadowBoxRadius + 1;
    std::vector<uchar> source(static_cast<std::size_t>(length));
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> uchar& { return alongRows ? image.scanLine(line)[i] : image.scanLine(i)[line]; };
        for (int i = 0; i < length; ++i)
            source[static_cast<std::size_t>(i)] = at(i);
        int sum = 0;
        for (int i = 0; i <= shadowBoxRadius && i < length; ++i)
            sum += source[static_cast<std::size_t>(i)];
        for (int i = 0; i < length; ++i) {
            at(i) = static_cast<uchar>(sum / window);
            const int entering = i + shadowBoxRadius + 1;
            const int leaving = i - shadowBoxRadius;
            if (entering < length)
                sum += source[static_cast<std::size_t>(entering)];
            if (leaving >= 0)
                sum -= source[static_cast<std::size_t>(leaving)];
        }
    }
}

} // namespace

TSLCenteringClipView::TSLCenteringClipView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TSLCenteringClipView::~TSLCenteringClipView() = default;

void TSLCenteringClipView::setDocumentView(QWidget* view)
{
    if (view == documentView_)
        return;
    if (documentView_)
        documentView_->setParent(nullptr);
    documentView_ = view;
    if (view) {
        view->setParent(this);
        view->show();
    }
    layoutDocument();
    centerDocument();
}

void TSLCenteringClipView::setDocumentSize(const QSizeF& points)
{
    const QSizeF size(std::max(0.0, points.width()), std::max(0.0, points.height()));
    if (size == documentSize_)
        return;
    documentSize_ = size;
    layoutDocument();
    centerDocument();
    update();
}

QRectF TSLCenteringClipView::bounds() const
{
    return QRectF(boundsOrigin_, QSizeF(width() / factor_, height() / factor_));
}

void TSLCenteringClipView::setBoundsOrigin(const QPointF& origin)
{
    setOriginQuietly(origin);
    centerDocument();
}

void TSLCenteringClipView::setBoundsSize(const QSizeF& size)
{
    double scale = 0.0;
    if (size.width() > 0 && width() > 0)
        scale = width() / size.width();
    else if (size.height() > 0 && height() > 0)
        scale = height() / size.height();
    if (!(scale > 0) || !std::isfinite(scale))
        return;
    setFactor(scale);
}

void TSLCenteringClipView::setFactor(double factor)
{
    if (!(factor > 0) || !std::isfinite(factor) || factor == factor_)
        return;
    factor_ = factor;
    layoutDocument();
    centerDocument();
    update();
    emit boundsChanged();
}

void TSLCenteringClipView::centerDocument()
{
    const QRectF d = documentFrame();
    const QRectF b = bounds();
    QPointF origin = b.topLeft();
    if (b.width() > d.width())
        origin.setX(std::round((d.width() - b.width()) / 2));
    if (b.height() > d.height())
        origin.setY(std::round((d.height() - b.height()) / 2));
    scrollToPoint(origin);
}

QPointF TSLCenteringClipView::constrainScrollPoint(const QPointF& p) const
{
    const QRectF d = documentFrame();
    const QRectF b = bounds();
    const double maxX = d.width() - b.width();
    const double maxY = d.height() - b.height();
    const double x = b.width() > d.width() ? std::round(maxX / 2) : std::round(std::max(0.0, std::min(p.x(), maxX)));
    const double y = b.height() > d.height() ? std::round(maxY / 2) : std::round(std::max(0.0, std::min(p.y(), maxY)));
    return { x, y };
}

void TSLCenteringClipView::scrollToPoint(const QPointF& p)
{
    setOriginQuietly(constrainScrollPoint(p));
}

double TSLCenteringClipView::scaleOfDocumentView(const QWidget* view)
{
    const auto* clip = view ? qobject_cast<const TSLCenteringClipView*>(view->parentWidget()) : nullptr;
    return clip && clip->documentView() == view ? clip->factor() : 1.0;
}

void TSLCenteringClipView::setOriginQuietly(const QPointF& origin)
{
    if (origin == boundsOrigin_)
        return;
    boundsOrigin_ = origin;
    layoutDocument();
    update();
    emit boundsChanged();
}

void TSLCenteringClipView::layoutDocument()
{
    if (!documentView_)
        return;
    const QRectF d = documentFrame();
    const QRect pixels(qRound((d.x() - boundsOrigin_.x()) * factor_), qRound((d.y() - boundsOrigin_.y()) * factor_),
        qRound(d.width() * factor_), qRound(d.height() * factor_));
    if (documentView_->geometry() != pixels)
        documentView_->setGeometry(pixels);
}

void TSLCenteringClipView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutDocument();
    centerDocument();
    emit boundsChanged();
}

void TSLCenteringClipView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRectF b = bounds();
    const int cardShape = Card_Shape;

    painter.save();
    painter.scale(factor_, factor_);
    painter.translate(-b.topLeft());
    painter.fillRect(b, Qt::white);
    QLinearGradient gradient(b.topLeft(), b.bottomLeft());
    gradient.setColorAt(0.0, QColor::fromRgbF(0.88f, 0.88f, 0.88f, 1.0f));
    gradient.setColorAt(1.0, QColor::fromRgbF(0.78f, 0.78f, 0.78f, 1.0f));
    painter.fillRect(b, gradient);
    painter.restore();

    if (documentSize_.isEmpty())
        return;

    // The sheet in widget pixels: where the document view sits.
    const QPointF sheetTopLeft((0 - b.x()) * factor_, (0 - b.y()) * factor_);
    const QSize sheetPixels(qRound(documentSize_.width() * factor_), qRound(documentSize_.height() * factor_));
    if (sheetPixels.isEmpty())
        return;

    // Only the part of the shadow that can reach the exposed area is made.
    const QRect exposed = event->rect();
    const QRect shadowArea
        = QRect(sheetTopLeft.toPoint() + QPoint(shadowOffset, shadowOffset), sheetPixels)
              .adjusted(-shadowMargin, -shadowMargin, shadowMargin, shadowMargin)
              .intersected(exposed.adjusted(-shadowMargin, -shadowMargin, shadowMargin, shadowMargin));
    if (!shadowArea.isEmpty()) {
        const QImage& shadow = sheetShadow(shadowArea, sheetTopLeft + QPointF(shadowOffset, shadowOffset), cardShape);
        painter.drawImage(shadowArea.topLeft(), shadow);
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(factor_, factor_);
    painter.translate(-b.topLeft());
    painter.fillPath(cardOutlinePath(documentFrame(), cardShape), palette().color(QPalette::Button));
    painter.restore();
}

const QImage& TSLCenteringClipView::sheetShadow(const QRect& area, const QPointF& sheetTopLeft, int cardShape)
{
    const QPointF sheetInArea = sheetTopLeft - QPointF(area.topLeft());
    if (!shadowCache_.isNull() && shadowCacheArea_ == area.size() && shadowCacheSheet_ == sheetInArea
        && shadowCacheShape_ == cardShape && shadowCacheFactor_ == factor_ && shadowCacheDocument_ == documentSize_)
        return shadowCache_;

    QImage alpha(area.size(), QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter mask(&alpha);
        mask.setRenderHint(QPainter::Antialiasing);
        mask.translate(sheetInArea);
        mask.scale(factor_, factor_);
        mask.fillPath(cardOutlinePath(documentFrame(), cardShape), Qt::black);
    }
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurPass(alpha, true);
        boxBlurPass(alpha, false);
    }

    // Black, with the blurred coverage as its alpha.
    QImage shadow(area.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < shadow.height(); ++y) {
        const uchar* from = alpha.constScanLine(y);
        auto* to = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < shadow.width(); ++x)
            to[x] = qRgba(0, 0, 0, from[x]);
    }

    shadowCache_ = shadow;
    shadowCacheArea_ = area.size();
    shadowCacheSheet_ = sheetInArea;
    shadowCacheShape_ = cardShape;
    shadowCacheFactor_ = factor_;
    shadowCacheDocument_ = documentSize_;
    return shadowCache_;
}

void TSLCenteringClipView::mousePressEvent(QMouseEvent* event)
{
    // The desk around the card is empty space: a click there leaves nothing selected, as a click on an
    // empty part of the card does, and the inspector shows the card.
    auto* canvas = qobject_cast<TSLGraphicView*>(documentView_.data());
    if (event->button() != Qt::LeftButton || !canvas) {
        QWidget::mousePressEvent(event);
        return;
    }
    canvas->Clear_Control_Selection();
    canvas->setSelected_Graphic(nullptr);
    if (CardEditorServices* services = editorServices())
        services->Show_RHS_Properties(nullptr);
}
