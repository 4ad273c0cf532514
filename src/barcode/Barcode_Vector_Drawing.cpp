#include "barcode/Barcode_Vector_Drawing.h"

#include "barcode/Barcode_Text.h"
#include "model/TSLTextLayout.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

bool Barcode_Vector_Drawing::drawOnPixels(QPainter& painter) const
{
    const QTransform toDevice = painter.combinedTransform();
    const QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || device->devicePixelRatio() != 1.0
        || toDevice.type() > QTransform::TxScale || !(module.width() > 0.0) || symbol.isEmpty() || toDevice.m11() <= 0.0
        || toDevice.m22() <= 0.0)
        return false;
    const int across = wholeModulePixels(module.width() * toDevice.m11());
    const bool rows = module.height() > 0.0;
    const int down = rows ? wholeModulePixels(module.height() * toDevice.m22()) : 0;
    // The symbol keeps its centre; its modules are counted from its top-left corner.
    const QPointF centre = toDevice.map(symbol.center());
    const double columns = std::round(symbol.width() / module.width());
    const double left = std::round(centre.x() - columns * across / 2.0);
    const double top = rows ? std::round(centre.y() - std::round(symbol.height() / module.height()) * down / 2.0) : 0.0;
    auto x = [&](double points) { return left + std::round((points - symbol.left()) / module.width()) * across; };
    auto y = [&](double points) {
        return rows ? top + std::round((points - symbol.top()) / module.height()) * down
                    : std::round(toDevice.map(QPointF(0.0, points)).y());
    };
    std::vector<QRectF> pixels;
    pixels.reserve(rects.size());
    for (const QRectF& rect : rects)
        pixels.emplace_back(QPointF(x(rect.left()), y(rect.top())), QPointF(x(rect.right()), y(rect.bottom())));
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.drawRects(pixels.data(), static_cast<int>(pixels.size()));
    painter.restore();
    return true;
}

void Barcode_Vector_Drawing::draw(QPainter& painter) const
{
    painter.save();
    // Hard edges: each edge falls on the output's pixel grid, and neighbouring bars meet exactly.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(QPointF(0.0, 0.0), size_), background);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    // On a picture, modules rounded one by one would differ by a pixel, which readers take for another
    // width: there every module gets the same whole number of pixels.
    if (!drawOnPixels(painter))
        painter.drawRects(rects.data(), static_cast<int>(rects.size()));
    // Texts are laid out as the card's own texts are, so they draw at the output's resolution (and stay
    // text in a printed file) whatever the device.
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const std::lock_guard<std::mutex> guard(textLock_);
    for (const Text& text : texts) {
        if (!text.layout || text.layout->lineCount() == 0)
            continue;
        painter.setPen(text.color);
        text.layout->draw(&painter, text.baseline - QPointF(0.0, text.layout->lineAt(0).ascent()));
    }
    painter.restore();
}

void Barcode_Vector_Drawing::addText(
    const QString& text, const QFont& font, const QColor& color, double kern, const QPointF& baseline)
{
    std::shared_ptr<const QTextLayout> layout = tsltextlayout::layoutText(text, Barcode_Text_Font(font), kern, 0, 1e6);
    texts.push_back({ text, font, color, kern, baseline, std::move(layout) });
}
