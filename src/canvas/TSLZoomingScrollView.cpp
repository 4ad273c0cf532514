#include "canvas/TSLZoomingScrollView.h"

#include "canvas/TSLCenteringClipView.h"
#include "canvas/TSLRulerView.h"
#include "platform/StringsTable.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QProxyStyle>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

class BarAtLeastAsHighAs : public QProxyStyle {
public:
    explicit BarAtLeastAsHighAs(int extent)
        : extent_(extent)
    {
    }
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_ScrollBarExtent ? std::max(base, extent_) : base;
    }

private:
    int extent_;
};

} // namespace

const std::array<const char*, TSLZoomingScrollView::zoomEntryCount> TSLZoomingScrollView::TSLZoomingScrollViewLabels
    = { "10%", "25%", "50%", "75%", "100%", "125%", "150%", "200%", "400%", "800%", "1600%" };

// 10% is kept as the single-precision value the table has always held.
const std::array<double, TSLZoomingScrollView::zoomEntryCount> TSLZoomingScrollView::TSLZoomingScrollViewFactors
    = { static_cast<double>(0.1f), 0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 4.0, 8.0, 16.0 };

TSLZoomingScrollView::TSLZoomingScrollView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    clipView_ = new TSLCenteringClipView;
    setViewport(clipView_);
    clipView_->setAutoFillBackground(false); // it paints every pixel itself
    clipView_->setFactor(screenPixelsPerPoint());
    // The zoom pop-up lives beside the horizontal scroll bar, so that bar is always there.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(clipView_, &TSLCenteringClipView::boundsChanged, this, &TSLZoomingScrollView::updateScrollBars);
    validateFactorPopUpButton();
    horizontalRuler_ = new TSLRulerView(Qt::Horizontal, clipView_, this);
    verticalRuler_ = new TSLRulerView(Qt::Vertical, clipView_, this);
    horizontalRuler_->hide();
    verticalRuler_->hide();
    // A scroll bar that comes or goes resizes the visible area without resizing this view.
    connect(clipView_, &TSLCenteringClipView::boundsChanged, this, [this] {
        if (rulersVisible_)
            placeRulers();
    });
    updateScrollBars();
}

TSLZoomingScrollView::~TSLZoomingScrollView() = default;

void TSLZoomingScrollView::setRulersVisible(bool visible)
{
    if (visible == rulersVisible_)
        return;
    rulersVisible_ = visible;
    const int margin = visible ? TSLRulerView::thickness : 0;
    setViewportMargins(margin, margin, 0, 0);
    horizontalRuler_->setVisible(visible);
    verticalRuler_->setVisible(visible);
    placeRulers();
}

void TSLZoomingScrollView::echoToRulers(const QRectF& from, const QRectF& to)
{
    horizontalRuler_->echoRect(from, to);
    verticalRuler_->echoRect(from, to);
}

void TSLZoomingScrollView::placeRulers()
{
    // Each ruler runs along its edge of the visible area, so its pixels line up with the clip view's.
    const QRect area = viewport()->geometry();
    const int t = TSLRulerView::thickness;
    horizontalRuler_->setGeometry(area.left(), area.top() - t, area.width(), t);
    verticalRuler_->setGeometry(area.left() - t, area.top(), t, area.height());
}

void TSLZoomingScrollView::setDocumentView(QWidget* view)
{
    clipView_->setDocumentView(view);
    updateScrollBars();
}

void TSLZoomingScrollView::setDocumentSize(const QSizeF& points)
{
    clipView_->setDocumentSize(points);
    updateScrollBars();
}

void TSLZoomingScrollView::setFactor(double factor)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return;
    factor_ = factor;
    // At 100% the card shows at its real size: a point is a 72nd of an inch at the screen's logical dpi.
    clipView_->setFactor(factor * screenPixelsPerPoint());
    selectEntryForFactor();
    updateScrollBars();
}

double TSLZoomingScrollView::screenPixelsPerPoint() const
{
    return logicalDpiX() / 72.0;
}

void TSLZoomingScrollView::validateFactorPopUpButton()
{
    if (factorPopUpButton_)
        return;
    auto* popUp = new QComboBox(this);
    popUp->setEditable(false);
    popUp->setFont(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont));
    popUp->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // As wide as its longest label; as high as the scroll bar beside it.
    popUp->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    popUp->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < zoomEntryCount; ++i) {
        const QString label = QString::fromLatin1(TSLZoomingScrollViewLabels[static_cast<std::size_t>(i)]);
        popUp->addItem(platform::localizedString(QStringLiteral("TSLZoomingScrollView"), label),
            TSLZoomingScrollViewFactors[static_cast<std::size_t>(i)]);
    }
    popUp->adjustSize();
    factorPopUpButton_ = popUp;
    connect(popUp, &QComboBox::activated, this, &TSLZoomingScrollView::factorEntryChosen);
    // The scroll area lays it out at the left end of the bar, as high as the bar, and shortens the bar.
    // Where the style's bars are thinner than the pop-up's labels, the bar grows to the pop-up's height.
    auto* barStyle = new BarAtLeastAsHighAs(popUp->sizeHint().height());
    barStyle->setParent(this);
    horizontalScrollBar()->setStyle(barStyle);
    addScrollBarWidget(popUp, Qt::AlignLeft);
    selectEntryForFactor();
}

void TSLZoomingScrollView::tile()
{
    Q_ASSERT_X(horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff, "TSLZoomingScrollView",
        "TSLZoomingScrollView doesn't support use without a horizontal scroll bar.");
    validateFactorPopUpButton();
}

void TSLZoomingScrollView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    tile();
    placeRulers();
    updateScrollBars();
}

bool TSLZoomingScrollView::viewportEvent(QEvent* event)
{
    // The clip view paints the desk, lays out its document and takes clicks on the desk itself.
    if (event->type() == QEvent::Paint || event->type() == QEvent::Resize || event->type() == QEvent::MouseButtonPress)
        return false;
    return QAbstractScrollArea::viewportEvent(event);
}

void TSLZoomingScrollView::scrollContentsBy(int, int)
{
    if (updatingScrollBars_)
        return;
    const QRectF b = clipView_->bounds();
    QPointF origin = b.topLeft();
    if (horizontalScrollBar()->maximum() > 0)
        origin.setX(horizontalScrollBar()->value() / clipView_->factor());
    if (verticalScrollBar()->maximum() > 0)
        origin.setY(verticalScrollBar()->value() / clipView_->factor());
    clipView_->scrollToPoint(origin);
}

void TSLZoomingScrollView::updateScrollBars()
{
    if (updatingScrollBars_)
        return;
    updatingScrollBars_ = true;
    const QRectF d = clipView_->documentFrame();
    const QRectF b = clipView_->bounds();
    const double f = clipView_->factor();
    auto setUp = [](QScrollBar* bar, double overflow, double origin, int page, double f) {
        const int maximum = overflow > 0 ? qRound(overflow * f) : 0;
        bar->setRange(0, maximum);
        bar->setPageStep(std::max(1, page));
        bar->setSingleStep(std::max(1, qRound(10 * f)));
        bar->setValue(maximum > 0 ? qRound(origin * f) : 0);
    };
    setUp(horizontalScrollBar(), d.width() - b.width(), b.x(), clipView_->width(), f);
    setUp(verticalScrollBar(), d.height() - b.height(), b.y(), clipView_->height(), f);
    updatingScrollBars_ = false;
}

void TSLZoomingScrollView::selectEntryForFactor()
{
    if (!factorPopUpButton_)
        return;
    int match = -1;
    for (int i = 0; i < zoomEntryCount; ++i) {
        const double entry = TSLZoomingScrollViewFactors[static_cast<std::size_t>(i)];
        if (std::abs(entry - factor_) <= 1e-6 * entry)
            match = i;
    }
    factorPopUpButton_->setCurrentIndex(match);
}

void TSLZoomingScrollView::factorEntryChosen(int index)
{
    if (index < 0 || index >= zoomEntryCount)
        return;
    const double chosen = TSLZoomingScrollViewFactors[static_cast<std::size_t>(index)];
    const bool changed = chosen != factor_;
    setFactor(chosen);
    if (changed)
        emit factorChanged(chosen);
}
