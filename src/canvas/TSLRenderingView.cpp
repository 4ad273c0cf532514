#include "canvas/TSLRenderingView.h"

#include "canvas/Card_Base_Drawing.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/Card_Background.h"
#include "model/TSLError.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <cstring>
#include <exception>

namespace {

constexpr double inchesPerMeter = 1.0 / 0.0254;

// A card whose size is not a whole number of pixels leaves its last column and row partly covered: they take
// the colours of the whole pixels beside them. The picture is then fully covered without stretching the card,
// which would move the modules of its barcodes off whole pixels.
void coverPartialEdges(QImage& image, const QSizeF& exactPixels)
{
    const int width = image.width();
    const int height = image.height();
    if (width >= 2 && exactPixels.width() < width - 1e-6) {
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            row[width - 1] = row[width - 2];
        }
    }
    if (height >= 2 && exactPixels.height() < height - 1e-6)
        std::memcpy(image.scanLine(height - 1), image.scanLine(height - 2), static_cast<size_t>(image.bytesPerLine()));
}

// Whole pixels for `points`. A card's picture is its size rounded once to the nearest pixel, so that one
// size reached through millimetres, inches or single precision gives one picture (a ceiling would add a row
// for a hair's breadth over a whole pixel); a picture of items takes every pixel they touch.
enum class PixelRounding { Nearest, Covering };

QSize pixelSizeFor(const QSizeF& points, double pixelsPerPoint, PixelRounding rounding)
{
    const auto whole = [rounding](double exact) {
        const double nearest = std::round(exact);
        if (rounding == PixelRounding::Covering || (nearest < 1 && exact > 0)) // a sliver still gets its pixel
            return std::ceil(exact);
        return nearest;
    };
    const double width = whole(points.width() * pixelsPerPoint);
    const double height = whole(points.height() * pixelsPerPoint);
    // A damaged design can hold absurd sizes; QImage refuses them, but the conversion must not overflow.
    if (!(width > 0) || !(height > 0) || width > 1e6 || height > 1e6)
        return {};
    return { static_cast<int>(width), static_cast<int>(height) };
}

// Every pixel the ground colour (transparent where nothing will cover it), one pixel a device pixel, the
// resolution recorded.
void setResolution(QImage& image, double pixelsPerPoint)
{
    image.setDevicePixelRatio(1.0);
    const int dotsPerMeter = qRound(72.0 * pixelsPerPoint * inchesPerMeter);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
}

void clearTo(QImage& image, double pixelsPerPoint, const QColor& ground = Qt::transparent)
{
    image.fill(ground);
    setResolution(image, pixelsPerPoint);
}

void setQualityHints(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

// The union of drawing areas; items without one do not widen it.
QRectF unionOfDrawingBounds(const TSLGraphicList& graphics)
{
    QRectF result;
    for (const TSLGraphicPtr& graphic : graphics) {
        if (!graphic)
            continue;
        const QRectF area = graphic->drawingBounds();
        if (area.isEmpty())
            continue;
        result = result.isEmpty() ? area : result.united(area);
    }
    return result;
}

// Keeps the painter's state balanced when an item's drawing throws.
class SavedPainterState {
public:
    explicit SavedPainterState(QPainter& painter)
        : painter_(painter)
    {
        painter_.save();
    }
    ~SavedPainterState() { painter_.restore(); }
    SavedPainterState(const SavedPainterState&) = delete;
    SavedPainterState& operator=(const SavedPainterState&) = delete;

private:
    QPainter& painter_;
};

} // namespace

TSLRenderingSide TSLRenderingSide::currentSide()
{
    TSLRenderingSide side;
    side.frontOrBack = Card_Front_Or_Back == 0 ? 0 : 1;
    side.cardShape = Card_Shape;
    if (const CardEditorServices* services = editorServices()) {
        side.property = services->cardSideProperty(side.frontOrBack);
        side.canvasBounds = services->frontCanvasBounds();
    }
    return side;
}

TSLRenderingView::TSLRenderingView(
    const QRectF& frame, const TSLGraphicList& graphics, const TSLRenderingSide& side, const QString& printJobTitle)
    : frame_(frame)
    , graphics_(graphics)
    , side_(side)
    , printJobTitle_(printJobTitle)
{
}

void TSLRenderingView::drawRect(QPainter& painter, const QRectF& rect, double devicePixelsPerPoint) const
{
    try {
        const SavedPainterState state(painter);
        drawContents(painter, rect, devicePixelsPerPoint);
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void TSLRenderingView::drawContents(QPainter& painter, const QRectF& rect, double devicePixelsPerPoint) const
{
    // Items ask the canvas to redraw after drawing themselves; nothing on screen changes here.
    const CanvasPaintScope offScreen;
    // A background photo and the pictures are drawn from their files read at this output's resolution, not
    // from the small copies the design holds.
    const double output = outputPixelsPerPoint_ > 0 ? outputPixelsPerPoint_ : devicePixelsPerPoint;
    if (!basePainted_) {
        Card_Property base = side_.property;
        if (base.Card_fill_chk() && base.Card_fill_style() == QLatin1String("I"))
            base.setCard_BG_Image(cardbackground::forOutput(base, bounds().size(), output));
        Card_Base_Drawing(painter, bounds(), base, side_.cardShape, rect, groundPainted_);
    }

    TSLDrawingContext context { &painter, false, devicePixelsPerPoint };
    context.outputPixelsPerPoint = output;
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        const TSLGraphicPtr& graphic = *it;
        // Items not to be printed show on the canvas only.
        if (!graphic || graphic->print_object != 0)
            continue;
        const SavedPainterState state(painter);
        graphic->drawContentsInView(context, false);
    }
}

QByteArray TSLRenderingView::dataWithPDFInsideRect(const QRectF& rect) const
{
    if (rect.isEmpty() || !std::isfinite(rect.width()) || !std::isfinite(rect.height()))
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        // One device unit per point, so fonts given in points keep their size and the page measures
        // exactly the rectangle.
        writer.setResolution(72);
        writer.setCreator(QStringLiteral("Tessaline Card"));
        if (!printJobTitle_.isEmpty())
            writer.setTitle(printJobTitle_);
        const QPageLayout layout(QPageSize(rect.size(), QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point, QMarginsF(0, 0, 0, 0));
        if (!writer.setPageLayout(layout))
            return {};
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        setQualityHints(painter);
        painter.translate(-rect.topLeft());
        painter.setClipRect(rect);
        TSLRenderingView printed(*this);
        printed.setOutputPixelsPerPoint(printPixelsPerPoint);
        printed.drawRect(painter, rect, 1.0);
        if (!painter.end())
            return {};
    }
    return buffer.data();
}

QByteArray TSLRenderingView::pdfDataWithGraphics_data(const TSLGraphicList& graphics, const TSLRenderingSide& side)
{
    const TSLRenderingView view(side.canvasBounds, graphics, side);
    return view.dataWithPDFInsideRect(view.bounds());
}

QImage TSLRenderingView::imageWithGraphics(const TSLGraphicList& graphics, TSLError* error)
{
    const QRectF area = unionOfDrawingBounds(graphics);
    if (area.isEmpty()) {
        if (error)
            *error = TSLErrorWithCode(3);
        return {};
    }
    QImage image(pixelSizeFor(area.size(), 1.0, PixelRounding::Covering), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        Show_NSLog_Message(
            QStringLiteral("cannot make a %1 x %2 picture of the items").arg(area.width()).arg(area.height()));
        return {};
    }
    clearTo(image, 1.0);

    try {
        const CanvasPaintScope offScreen;
        QPainter painter(&image);
        setQualityHints(painter);
        painter.translate(-area.topLeft());
        const TSLDrawingContext context { &painter, false, 1.0 };
        for (auto it = graphics.rbegin(); it != graphics.rend(); ++it) {
            const TSLGraphicPtr& graphic = *it;
            if (!graphic)
                continue;
            const SavedPainterState state(painter);
            painter.setClipRect(graphic->drawingBounds());
            graphic->drawContentsInView(context, false);
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }

    return image;
}

std::optional<QByteArray> TSLRenderingView::pictureData(const QImage& image, const char* format)
{
    if (image.isNull())
        return std::nullopt;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(QLatin1String(format), writer.errorString()));
        return std::nullopt;
    }
    return buffer.data();
}

std::optional<QByteArray> TSLRenderingView::tiffDataWithGraphics(const TSLGraphicList& graphics, TSLError* error)
{
    return pictureData(imageWithGraphics(graphics, error), "tiff");
}

QImage TSLRenderingView::image_From_Card_Graphics(
    const TSLGraphicList& graphics, bool print_box, const TSLRenderingSide& side)
{
    return image_From_Card_Graphics(graphics, side, print_box ? printPixelsPerPoint : 1.0);
}

QImage TSLRenderingView::image_From_Card_Graphics(
    const TSLGraphicList& graphics, const TSLRenderingSide& side, double pixelsPerPoint)
{
    QImage image;
    if (!draw_Card_Graphics_Into(image, graphics, side, pixelsPerPoint))
        return {};
    image.setDevicePixelRatio(pixelsPerPoint);
    return image;
}

bool TSLRenderingView::coversWholePicture(const TSLRenderingSide& side)
{
    return side.cardShape != 1 && side.cardShape != 2;
}

bool TSLRenderingView::draw_Card_Graphics_Into(QImage& image, const TSLGraphicList& graphics,
    const TSLRenderingSide& side, double pixelsPerPoint, const QImage* base)
{
    return drawInto(image, graphics, side, pixelsPerPoint, base, true);
}

QImage TSLRenderingView::cardBase(const TSLRenderingSide& side, double pixelsPerPoint)
{
    if (coversWholePicture(side) && !Card_Base_Paints_Over_Ground(side.property))
        return {};
    QImage base;
    // The partial edges are covered once the items are drawn, as on a card painted whole.
    return drawInto(base, {}, side, pixelsPerPoint, nullptr, false) ? base : QImage();
}

bool TSLRenderingView::drawInto(QImage& image, const TSLGraphicList& graphics, const TSLRenderingSide& side,
    double pixelsPerPoint, const QImage* base, bool coverEdges)
{
    try {
        TSLRenderingView view(side.canvasBounds, graphics, side);
        if (!(pixelsPerPoint > 0))
            return false;
        if (view.bounds().isEmpty())
            return false; // no canvas to take the size from
        const QSize size = pixelSizeFor(view.bounds().size(), pixelsPerPoint, PixelRounding::Nearest);
        // A picture last told it is opaque is the same pixels: taken back without new memory.
        if (image.format() == QImage::Format_RGB32)
            image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.size() != size || image.format() != QImage::Format_ARGB32_Premultiplied) {
            QImage fresh(size, QImage::Format_ARGB32_Premultiplied);
            if (fresh.isNull()) {
                Show_NSLog_Message(QStringLiteral("cannot make a picture of a %1 x %2 card")
                                       .arg(view.bounds().width())
                                       .arg(view.bounds().height()));
                return false;
            }
            image = fresh;
        }
        // A rectangular card covers the whole picture: one fill with its ground instead of clearing, then
        // filling white, then filling its colour.
        view.groundPainted_ = coversWholePicture(side);
        view.basePainted_ = base && base->size() == size && base->format() == image.format();
        if (view.basePainted_) {
            std::memcpy(image.bits(), base->constBits(), static_cast<size_t>(base->sizeInBytes()));
            setResolution(image, pixelsPerPoint);
        } else {
            clearTo(
                image, pixelsPerPoint, view.groundPainted_ ? Card_Base_Ground(side.property) : QColor(Qt::transparent));
        }
        {
            QPainter painter(&image);
            setQualityHints(painter);
            painter.scale(pixelsPerPoint, pixelsPerPoint);
            painter.setClipRect(view.bounds());
            view.drawRect(painter, view.bounds(), pixelsPerPoint);
        }
        if (coverEdges)
            coverPartialEdges(image, view.bounds().size() * pixelsPerPoint);
        return true;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return false;
    }
}
