#include "barcode/BRCBarcodeOffscreenView.h"

#include "barcode/BRCBarcode.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/Barcode_Bit_Row.h"
#include "barcode/Barcode_Module_Runs.h"
#include "barcode/Barcode_Vector_Drawing.h"
#include "barcode/Barcode_Text.h"
#include "barcode/Barcode_Text_Pen.h"
#include "common/Common_Functions.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>
#include <exception>

namespace {

// The fewest whole pixels a bar module needs for every reader: at one pixel a module some readers read all of a
// sweep of Code 128 values and others fewer than two in three, at two all of them.
constexpr int Linear_Readable_Pixels = 2;

// "Center", "Left" and "Right" align; any other text keeps the natural (left) alignment.
Barcode_Text_Align alignmentOf(const QString& text)
{
    if (text == QLatin1String("Center"))
        return Barcode_Text_Align::Center;
    if (text == QLatin1String("Left"))
        return Barcode_Text_Align::Left;
    if (text == QLatin1String("Right"))
        return Barcode_Text_Align::Right;
    return Barcode_Text_Align::Natural;
}

} // namespace

void BRCBarcodeOffscreenView::initWithBarcode(const BRCBarcode& barcode)
{
    const float headerWidth = barcode.printsHeader() ? barcode.headerWidth() : 0.0f;
    const float footerWidth = barcode.printsFooter() ? barcode.footerWidth() : 0.0f;
    const float width = std::max({ headerWidth, footerWidth, barcode.width() });
    // A size that is not a number leaves the frame empty, which makes no picture.
    const bool finite = std::isfinite(width) && std::isfinite(barcode.width()) && std::isfinite(barcode.height());
    frame_ = finite ? QRectF(0.0, 0.0, width, barcode.height()) : QRectF();
    fromImageOrBarcode_ = false;
    setBarcode(&barcode);
}

void BRCBarcodeOffscreenView::initWithBarcodeImage(const BarcodePicture& image)
{
    const Barcode_Gen& settings = Barcode_Settings();
    frame_ = QRectF(0.0, 0.0, settings.width(), settings.height());
    fromImageOrBarcode_ = true;
    setBarcode_Image_2D(image);
}

void BRCBarcodeOffscreenView::drawRect(QPainter& painter) const
{
    if (fromImageOrBarcode_)
        drawImage(painter);
    else if (barcode_)
        drawBarcode(painter, true);
}

namespace {

// Calls run(first, count) for every run of bar modules, in order.
template <typename Run> void forEachRun(const QString& modules, Run run)
{
    const qsizetype n = modules.size();
    qsizetype i = 0;
    while (i < n) {
        if (modules.at(i) != QLatin1Char('1')) {
            ++i;
            continue;
        }
        const qsizetype first = i;
        while (i < n && modules.at(i) == QLatin1Char('1'))
            ++i;
        run(static_cast<int>(first), static_cast<int>(i - first));
    }
}

} // namespace

namespace {

// Bars drawn row by row: rows between the same bar edges are alike, so the first of them is made once
// and copied onto each row that holds nothing else yet (rows with text get the bars one by one). empty
// is the bytes of a row of background only; fill(line, run) draws a run into a row.
template <typename Fill>
void drawRuns(QImage& image, const std::vector<BarRun>& runs, const std::vector<uchar>& empty, const Fill& fill)
{
    std::vector<int> edges;
    for (const BarRun& run : runs) {
        edges.push_back(run.top);
        edges.push_back(run.end);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<uchar> alike(empty.size());
    std::vector<const BarRun*> crossing;
    uchar* const bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (std::size_t band = 0; band + 1 < edges.size(); ++band) {
        const int top = edges[band];
        const int end = edges[band + 1];
        crossing.clear();
        for (const BarRun& run : runs) {
            if (run.top <= top && run.end >= end)
                crossing.push_back(&run);
        }
        if (crossing.empty())
            continue;
        alike = empty;
        for (const BarRun* run : crossing)
            fill(alike.data(), *run);
        for (int y = top; y < end; ++y) {
            uchar* const line = bits + y * bytesPerLine;
            if (std::memcmp(line, empty.data(), empty.size()) == 0) {
                std::memcpy(line, alike.data(), alike.size());
                continue;
            }
            for (const BarRun* run : crossing)
                fill(line, *run);
        }
    }
}

} // namespace

float BRCBarcodeOffscreenView::barBottomLine() const
{
    const BRCBarcode& barcode = *barcode_;
    const Barcode_Gen& settings = Barcode_Settings();
    const float capH = barcode.printsCaption() ? barcode.captionHeight() * 72.0f : 0.0f;
    const float ftrH = barcode.printsFooter() ? barcode.footerHeight() * 72.0f : 0.0f;
    const bool onTop = settings.showinTopCheckbox.state != 0;
    return onTop ? ftrH + settings.footer_margin + settings.TB_margin
                 : capH + ftrH + settings.value_margin + settings.footer_margin + settings.TB_margin;
}

float BRCBarcodeOffscreenView::lastBarTop(const QString& modules) const
{
    const qsizetype last = modules.lastIndexOf(QLatin1Char('1'));
    return last < 0 ? 0.0f : barcode_->barTop(static_cast<int>(last));
}

void BRCBarcodeOffscreenView::drawBarcode(QPainter& painter, bool withBars) const
{
    const BRCBarcode& barcode = *barcode_;
    const Barcode_Gen& settings = Barcode_Settings();
    const float viewHeight = static_cast<float>(frame_.height());

    // A picture on the pixel grid (withBars off) is filled by its maker.
    if (withBars) {
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(bounds(), settings.bar_back_clr);
        painter.restore();

        for (const QRectF& run : barRects())
            painter.fillRect(run, settings.barcode_clr);
    }

    Barcode_Text_Pen pen(painter, viewHeight);
    drawTexts(pen, barcode.completeBarcode());
}

void BRCBarcodeOffscreenView::drawTexts(Barcode_Text_Pen& pen, const QString& modules) const
{
    const BRCBarcode& barcode = *barcode_;
    const Barcode_Gen& settings = Barcode_Settings();
    const float viewWidth = static_cast<float>(frame_.width());
    const float barWidth = barcode.barWidth();
    const float ftrH = barcode.printsFooter() ? barcode.footerHeight() * 72.0f : 0.0f;
    const float hdrH = barcode.printsHeader() ? barcode.headerHeight() * 72.0f : 0.0f;
    const bool onTop = settings.showinTopCheckbox.state != 0;
    const float lastTop = lastBarTop(modules);

    if (barcode.printsCaption()) {
        float valueY = settings.TB_margin + ftrH + settings.footer_margin;
        if (onTop)
            valueY += lastTop + settings.value_margin;
        const QFont& font = settings.value_font;
        const QColor& color = settings.bar_val_clr;
        const float width = barcode.width();
        const float firstBar = barcode.firstBar();

        const QString left = barcode.leftCaption();
        if (!left.isEmpty())
            pen.drawAtPoint(left, font, color, 0.0, firstBar * 0.25f + settings.LR_margin, valueY + 3.0f);

        const QString caption = barcode.caption();
        if (!caption.isEmpty()) {
            const QStringList groups = caption.split(QLatin1Char('\t'));
            if (left.isEmpty() && groups.size() == 1) {
                const Barcode_Text_Size size = Barcode_Measure_Text(caption, font);
                const float c = static_cast<float>(caption.size());
                const float k = (width - static_cast<float>(size.width)) / (2.0f * c);
                const float kern = settings.kerning_value_Checkbox.state == 1 ? 2.0f * k : 2.0f;
                pen.drawInRect(caption, font, color, kern, Barcode_Text_Align::Center,
                    QRectF(0.0, valueY, viewWidth, size.height));
            } else {
                const float m = static_cast<float>(groups.size());
                const float L = static_cast<float>(barcode.initiator().size());
                const float G = groups.size() == 1 ? width - 2.0f * L * barWidth - 2.0f * firstBar
                                                   : width / m - L * barWidth - firstBar;
                for (int i = 0; i < groups.size(); ++i) {
                    const QString& group = groups.at(i);
                    if (group.isEmpty())
                        continue;
                    const float w = static_cast<float>(Barcode_Measure_Text(group, font).width);
                    const float k = (G - w) / (2.0f * static_cast<float>(group.size()));
                    const float fi = static_cast<float>(i);
                    const float gx = 3.0f * k + firstBar + (fi + 1.0f) * L * barWidth + fi * G + settings.LR_margin;
                    pen.drawAtPoint(group, font, color, 1.3f * k, gx, valueY);
                }
            }
        }

        const QString right = barcode.rightCaption();
        if (!right.isEmpty())
            pen.drawAtPoint(
                right, font, color, 0.0, barcode.lastBar() + width * 0.07f + settings.LR_margin, valueY + 3.0f);
    }

    drawHeaderAndFooter(pen, barcode.printsHeader() ? std::optional(barcode.header()) : std::nullopt, hdrH,
        barcode.printsFooter() ? std::optional(barcode.footer()) : std::nullopt);
}

void BRCBarcodeOffscreenView::drawHeaderAndFooter(Barcode_Text_Pen& pen, const std::optional<QString>& header,
    float headerHeight, const std::optional<QString>& footer) const
{
    const Barcode_Gen& settings = Barcode_Settings();
    const float viewWidth = static_cast<float>(frame_.width());
    const float viewHeight = static_cast<float>(frame_.height());
    if (header) {
        const double h = Barcode_Measure_Text(*header, settings.header_font).height;
        pen.drawInRect(*header, settings.header_font, settings.bar_hdr_clr, 2.0,
            alignmentOf(settings.align_hdr_combo.text()),
            QRectF(0.0, viewHeight - headerHeight - settings.TB_margin, viewWidth, h));
    }
    if (footer) {
        const double h = Barcode_Measure_Text(*footer, settings.footer_font).height;
        pen.drawInRect(*footer, settings.footer_font, settings.bar_ftr_clr, 2.0,
            alignmentOf(settings.align_ftr_combo.text()), QRectF(0.0, settings.TB_margin, viewWidth, h));
    }
}

QRectF BRCBarcodeOffscreenView::imageTarget() const
{
    // Hangs below the header, centred across the framed width.
    const Barcode_Gen& settings = Barcode_Settings();
    const float viewHeight = static_cast<float>(frame_.height());
    const float hdrH = settings.printsHeader() ? settings.headerHeight() * 72.0f : 0.0f;
    const float top = viewHeight - hdrH - settings.TB_margin;
    const float iw = static_cast<float>(image_2d_.size.width());
    const float ih = static_cast<float>(image_2d_.size.height());
    return { (settings.width() - iw) / 2.0f, viewHeight - top + settings.header_margin, iw, ih };
}

void BRCBarcodeOffscreenView::drawImageTexts(Barcode_Text_Pen& pen) const
{
    const Barcode_Gen& settings = Barcode_Settings();
    drawHeaderAndFooter(pen, settings.printsHeader() ? std::optional(settings.header()) : std::nullopt,
        settings.headerHeight() * 72.0f, settings.printsFooter() ? std::optional(settings.footer()) : std::nullopt);
}

void BRCBarcodeOffscreenView::drawImage(QPainter& painter) const
{
    // Drawing stops quietly at a failure; the picture keeps what was drawn.
    try {
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(bounds(), Qt::white);
        painter.restore();

        Barcode_Text_Pen pen(painter, frame_.height());
        drawImageTexts(pen);
        if (!image_2d_.isNull()) {
            // Module edges stay sharp.
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(imageTarget(), image_2d_.image);
            painter.restore();
        }
    } catch (const std::exception&) {
    }
}

std::vector<QRectF> BRCBarcodeOffscreenView::barRects() const
{
    const BRCBarcode& barcode = *barcode_;
    const float viewWidth = static_cast<float>(frame_.width());
    const float viewHeight = static_cast<float>(frame_.height());
    const QString modules = barcode.completeBarcode();
    const float barWidth = barcode.barWidth();
    const float x0 = (viewWidth - static_cast<float>(modules.size()) * barWidth) / 2.0f;
    const float bottom = barBottomLine();
    std::vector<QRectF> rects;
    // One rectangle per run of bar modules, from barBottom up to barTop of the run's last module.
    forEachRun(modules, [&](int first, int count) {
        const int last = first + count - 1;
        const float top = barcode.barTop(last);
        const float lift = barcode.barBottom(last);
        const float x = x0 + barWidth * static_cast<float>(first);
        rects.emplace_back(x, viewHeight - bottom - top, barWidth * static_cast<float>(count), top - lift);
    });
    return rects;
}

std::shared_ptr<const Barcode_Vector_Drawing> BRCBarcodeOffscreenView::vectorDrawing() const
{
    auto drawing = std::make_shared<Barcode_Vector_Drawing>();
    drawing->size_ = frame_.size();
    Barcode_Text_Pen pen(*drawing, frame_.height());
    if (fromImageOrBarcode_) {
        drawImageTexts(pen);
        if (!image_2d_.isNull()) {
            const QImage& grid = image_2d_.modules.isNull() ? image_2d_.image : image_2d_.modules;
            drawing->symbol = imageTarget();
            drawing->module = QSizeF(drawing->symbol.width() / grid.width(), drawing->symbol.height() / grid.height());
            drawing->readablePixels = image_2d_.readableModulePixels;
            drawing->rects = Barcode_Module_Runs(grid, drawing->symbol);
        }
    } else if (barcode_) {
        const Barcode_Gen& settings = Barcode_Settings();
        drawing->background = settings.bar_back_clr;
        drawing->ink = settings.barcode_clr;
        drawing->rects = barRects();
        const QString modules = barcode_->completeBarcode();
        const double barWidth = barcode_->barWidth();
        const double span = static_cast<double>(modules.size()) * barWidth;
        drawing->symbol = QRectF((frame_.width() - span) / 2.0, 0.0, span, frame_.height());
        drawing->module = QSizeF(barWidth, 0.0);
        drawing->readablePixels = Linear_Readable_Pixels;
        drawTexts(pen, modules);
    }
    return drawing;
}

std::optional<BRCBarcodeOffscreenView::BarGrid> BRCBarcodeOffscreenView::barGrid(double scale, int* pixelWidth) const
{
    QString modules = barcode_->completeBarcode();
    const int n = static_cast<int>(modules.size());
    const double barWidth = barcode_->barWidth();
    if (!std::isfinite(barWidth) || barWidth < 0.0)
        return std::nullopt;
    BarGrid grid;
    grid.modules = std::move(modules);
    if (n == 0 || barWidth == 0.0)
        return grid;
    const double modulePixels = barWidth * scale;
    if (!std::isfinite(modulePixels) || modulePixels > Barcode_Max_Side)
        return std::nullopt;
    grid.modulePixels = std::max(1, static_cast<int>(std::lround(modulePixels)));
    // The space beside the bars in whole modules, kept when rounding makes the bars wider.
    const double side = std::max(0.0, (frame_.width() - n * barWidth) / 2.0);
    const auto quietModules = static_cast<qint64>(std::floor(side / barWidth + 1e-6));
    const qint64 needed = (static_cast<qint64>(n) + 2 * quietModules) * grid.modulePixels;
    if (needed > Barcode_Max_Side)
        return std::nullopt;
    *pixelWidth = std::max(*pixelWidth, static_cast<int>(needed));
    grid.left = (*pixelWidth - n * grid.modulePixels) / 2;
    return grid;
}

void BRCBarcodeOffscreenView::drawBarsOnGrid(QImage& image, double scale, const BarGrid& grid, QRgb blank) const
{
    const BRCBarcode& barcode = *barcode_;
    const double viewHeight = frame_.height();
    const double bottom = barBottomLine();
    const int rows = image.height();
    auto row = [&](double points) { return std::clamp(static_cast<int>(std::lround(points * scale)), 0, rows); };
    std::vector<BarRun> runs;
    forEachRun(grid.modules, [&](int first, int count) {
        const int last = first + count - 1;
        const int x = grid.left + first * grid.modulePixels;
        const BarRun run { x, std::min(count * grid.modulePixels, image.width() - x),
            row(viewHeight - bottom - barcode.barTop(last)), row(viewHeight - bottom - barcode.barBottom(last)) };
        if (run.width > 0 && run.top < run.end)
            runs.push_back(run);
    });
    const QRgb colour = Barcode_Settings().barcode_clr.rgba();
    const auto width = static_cast<std::size_t>(image.width());
    // A picture of one bit or one byte a pixel holds the bar colour in its table; a 32-bit one is
    // premultiplied.
    const int index = static_cast<int>(std::max<qsizetype>(0, image.colorTable().indexOf(colour)));
    if (image.format() == QImage::Format_Mono) {
        drawRuns(image, runs, std::vector<uchar>((width + 7) / 8, blank != 0 ? 0xff : 0x00),
            [index](uchar* line, const BarRun& run) { Barcode_Fill_Bits(line, run.x, run.x + run.width, index != 0); });
    } else if (image.depth() == 8) {
        drawRuns(
            image, runs, std::vector<uchar>(width, static_cast<uchar>(blank)), [index](uchar* line, const BarRun& run) {
                std::memset(line + run.x, index, static_cast<std::size_t>(run.width));
            });
    } else {
        std::vector<uchar> empty(width * 4);
        for (std::size_t x = 0; x < width; ++x)
            std::memcpy(empty.data() + 4 * x, &blank, 4);
        const QRgb value = qPremultiply(colour);
        drawRuns(image, runs, empty, [value](uchar* line, const BarRun& run) {
            std::fill_n(reinterpret_cast<QRgb*>(line) + run.x, run.width, value);
        });
    }
}

std::optional<QList<QRgb>> BRCBarcodeOffscreenView::linearColourTable() const
{
    const BRCBarcode& barcode = *barcode_;
    const Barcode_Gen& settings = Barcode_Settings();
    QList<QRgb> table;
    auto add = [&table](const QColor& colour) {
        if (!table.contains(colour.rgba()))
            table.append(colour.rgba());
    };
    if (!settings.bar_back_clr.isValid() || !settings.barcode_clr.isValid())
        return std::nullopt;
    add(settings.bar_back_clr);
    add(settings.barcode_clr);
    // Texts are filled without blending only in opaque colours; others are left to a painter.
    for (const auto& [shown, colour] : { std::pair(barcode.printsCaption(), settings.bar_val_clr),
             std::pair(barcode.printsHeader(), settings.bar_hdr_clr),
             std::pair(barcode.printsFooter(), settings.bar_ftr_clr) }) {
        if (!shown)
            continue;
        if (!colour.isValid() || colour.alpha() != 255)
            return std::nullopt;
        add(colour);
    }
    return table;
}

QImage BRCBarcodeOffscreenView::linearPicture(
    const QSize& pixels, double scale, double shift, const BarGrid& grid) const
{
    const std::optional<QList<QRgb>> table = linearColourTable();
    if (table) {
        // An index into the few colours a linear symbol has, one bit a pixel for two colours and one byte
        // for more: an eighth or a quarter of the memory of 32-bit colours to fill and to write out.
        QImage image(pixels, table->size() == 2 ? QImage::Format_Mono : QImage::Format_Indexed8);
        if (image.isNull())
            return {};
        image.setColorTable(*table);
        image.fill(0);
        QTransform toPixels;
        toPixels.translate(shift, 0.0);
        toPixels.scale(scale, scale);
        Barcode_Text_Pen pen(image, toPixels, frame_.height());
        drawTexts(pen, grid.modules);
        drawBarsOnGrid(image, scale, grid, 0);
        return image;
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Barcode_Settings().bar_back_clr);
    const QRgb blank = reinterpret_cast<const QRgb*>(image.constScanLine(0))[0];
    paintTexts(image, scale, shift);
    drawBarsOnGrid(image, scale, grid, blank);
    return image;
}

void BRCBarcodeOffscreenView::paintTexts(QImage& image, double scale, double shift) const
{
    // Fonts are sized on a 72-dot device, so that one font unit is one point; the painter scales.
    const int pointDotsPerMeter = qRound(72.0 / 0.0254);
    image.setDotsPerMeterX(pointDotsPerMeter);
    image.setDotsPerMeterY(pointDotsPerMeter);
    QPainter painter(&image);
    // Texts in the picture's own colours only, as the bars are: at print resolutions blended edges add
    // nothing to the eye, and a picture of few colours is written as a small palette.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.translate(shift, 0.0);
    painter.scale(scale, scale);
    if (barcode_ && !fromImageOrBarcode_)
        drawBarcode(painter, false);
    else
        drawRect(painter);
}

BarcodePicture BRCBarcodeOffscreenView::renderImage(double dpi) const
{
    const double w = frame_.width();
    const double h = frame_.height();
    if (!(w > 0.0) || !(h > 0.0) || !(dpi > 0.0) || !std::isfinite(dpi))
        return {};
    const double scale = dpi / 72.0;
    // A whisker below the product absorbs rounding, so a whole number of pixels is not rounded up.
    const std::optional<int> framedWidth = Barcode_Pixel_Count(w * scale - 1e-4);
    const std::optional<int> framedHeight = Barcode_Pixel_Count(h * scale - 1e-4);
    int pixelWidth = framedWidth.value_or(0);
    std::optional<BarGrid> grid;
    const bool linear = !fromImageOrBarcode_ && barcode_;
    if (linear && framedWidth)
        grid = barGrid(scale, &pixelWidth);
    if (!framedWidth || !framedHeight || (linear && !grid) || !Barcode_Pixel_Area_Fits(pixelWidth, *framedHeight)) {
        Barcode_Settings().barcode_too_large = true;
        Show_NSLog_Message(
            QStringLiteral("barcode picture of %1 x %2 points at %3 dpi is too large").arg(w).arg(h).arg(dpi));
        return {};
    }
    const QSize pixels(pixelWidth, *framedHeight);
    // Texts stay centred over the bars when rounding widened the picture.
    const double shift = (pixelWidth - *framedWidth) / 2.0;
    QImage image;
    if (linear) {
        image = linearPicture(pixels, scale, shift, *grid);
    } else {
        image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        if (!image.isNull()) {
            image.fill(QColor(Qt::white));
            paintTexts(image, scale, shift);
        }
    }
    if (image.isNull()) {
        Show_NSLog_Message(
            QStringLiteral("cannot make a barcode picture of %1 x %2 pixels").arg(pixels.width()).arg(pixels.height()));
        return {};
    }
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return { image, QSizeF(w, h) };
}

QByteArray BRCBarcodeOffscreenView::dataWithPDFInsideRect(const QRectF& rect) const
{
    if (!(rect.width() > 0.0) || !(rect.height() > 0.0))
        return {};
    QByteArray data;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageSize(QPageSize(rect.size(), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        painter.translate(-rect.x(), -(frame_.height() - rect.y() - rect.height()));
        drawRect(painter);
        painter.end();
    }
    return data;
}
