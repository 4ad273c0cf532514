#include "barcode/Barcode_Text.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <vector>

namespace {

// A device of 72 dots per inch, so that one font pixel is one point.
const QImage& pointDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(72.0 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

// The text cut into characters, a surrogate pair staying whole.
QStringList characters(const QString& text)
{
    QStringList list;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        list << text.mid(i, length);
        i += length - 1;
    }
    return list;
}

// The outline of one character at the origin, scaled to pixels and flattened to polygons, kept per
// thread: loading and flattening outlines is most of the cost of a barcode's texts, and the same few
// characters at the same size come back in every picture.
QString glyphKey(const QString& fontKey, const QString& character, double scale)
{
    return fontKey + QChar(u'\x1f') + character + QChar(u'\x1f') + QString::number(scale, 'g', 12);
}

const QPainterPath& glyphOutline(const QFont& font, const QString& key, const QString& character, double scale)
{
    thread_local QHash<QString, QPainterPath> outlines;
    auto found = outlines.constFind(key);
    if (found == outlines.constEnd()) {
        if (outlines.size() > 4096)
            outlines.clear();
        // Outlines in points: a raw font of one pixel a point, as on the 72-dot device texts are set on.
        QRawFont raw = QRawFont::fromFont(font);
        raw.setPixelSize(font.pointSizeF() > 0.0 ? font.pointSizeF() : font.pixelSize());
        QPainterPath outline;
        QPointF pen;
        const QList<quint32> glyphs = raw.glyphIndexesForString(character);
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
        for (qsizetype g = 0; g < glyphs.size(); ++g) {
            outline.addPath(raw.pathForGlyph(glyphs.at(g)).translated(pen));
            pen += advances.value(g);
        }
        QPainterPath flat;
        flat.setFillRule(outline.fillRule());
        for (const QPolygonF& polygon : outline.toSubpathPolygons(QTransform::fromScale(scale, scale)))
            flat.addPolygon(polygon);
        found = outlines.insert(key, flat);
    }
    return *found;
}

// A glyph filled with hard edges, as rows of pixel spans from its origin: a character is then drawn by
// filling its spans, with its origin on a whole pixel.
struct GlyphSpan {
    int dy;
    int x0;
    int x1; // one past the last pixel
};

const std::vector<GlyphSpan>& glyphSpans(const QPainterPath& outline, const QString& key)
{
    thread_local QHash<QString, std::vector<GlyphSpan>> kept;
    auto found = kept.constFind(key);
    if (found != kept.constEnd())
        return *found;
    if (kept.size() > 4096)
        kept.clear();
    std::vector<GlyphSpan> spans;
    const QRect box = outline.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    QImage mask(box.size(), QImage::Format_ARGB32_Premultiplied);
    if (!mask.isNull() && !box.isEmpty()) {
        mask.fill(Qt::transparent);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillPath(outline.translated(-box.left(), -box.top()), Qt::white);
        painter.end();
        for (int y = 0; y < mask.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            int x = 0;
            while (x < mask.width()) {
                if (qAlpha(line[x]) == 0) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < mask.width() && qAlpha(line[x]) != 0)
                    ++x;
                spans.push_back({ y + box.top(), start + box.left(), x + box.left() });
            }
        }
    }
    return *kept.insert(key, std::move(spans));
}

// The picture the painter draws on when its pixels can be written directly: a 32-bit picture, drawn on
// without clipping, in an opaque colour.
QImage* directPicture(QPainter& painter)
{
    auto* image = dynamic_cast<QImage*>(painter.device());
    if (!image || painter.hasClipping() || painter.pen().color().alpha() != 255
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    const QImage::Format format = image->format();
    const bool direct = format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32
        || format == QImage::Format_ARGB32;
    return direct ? image : nullptr;
}

void fillSpans(QImage& image, const std::vector<GlyphSpan>& spans, const QPoint& origin, QRgb colour)
{
    for (const GlyphSpan& span : spans) {
        const int y = origin.y() + span.dy;
        if (y < 0 || y >= image.height())
            continue;
        const int x0 = std::max(0, origin.x() + span.x0);
        const int x1 = std::min(image.width(), origin.x() + span.x1);
        if (x0 < x1)
            std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)) + x0, x1 - x0, colour);
    }
}

} // namespace

QFont Barcode_Text_Font(const QFont& font)
{
    QFont result(font);
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setKerning(false);
    return result;
}

double Barcode_Cap_Height(const QFont& font)
{
    return QFontMetricsF(Barcode_Text_Font(font), &pointDevice()).capHeight();
}

double Barcode_Line_Height_Inches(const QFont& font)
{
    const double c = Barcode_Cap_Height(font);
    return c / 72.0 + 0.35 * (c / 72.0);
}

Barcode_Text_Size Barcode_Measure_Text(const QString& text, const QFont& font, double kern)
{
    const QFontMetricsF metrics(Barcode_Text_Font(font), &pointDevice());
    double width = 0.0;
    if (kern == 0.0) {
        width = metrics.horizontalAdvance(text);
    } else {
        for (const QString& c : characters(text))
            width += metrics.horizontalAdvance(c) + kern;
    }
    return { width, metrics.ascent() + metrics.descent(), metrics.ascent() };
}

void Barcode_Draw_Text(QPainter& painter, const QString& text, const QFont& font, double kern, const QPointF& baseline)
{
    const QFont textFont = Barcode_Text_Font(font);
    painter.setFont(textFont);
    // Without text antialiasing the glyph outlines are filled with hard edges; the painter would blend
    // the edges of large glyphs whatever it is told.
    const bool blended = painter.testRenderHint(QPainter::TextAntialiasing);
    if (kern == 0.0 && blended) {
        painter.drawText(baseline, text);
        return;
    }
    const QFontMetricsF metrics(textFont, &pointDevice());
    if (blended) {
        QPointF at = baseline;
        for (const QString& c : characters(text)) {
            painter.drawText(at, c);
            at.rx() += metrics.horizontalAdvance(c) + kern;
        }
        return;
    }
    // Hard edges: characters are filled from kept outlines, in pixels where the painter only scales and
    // moves (the kept outlines are then whole polygons), else in points under the painter's transform.
    const QTransform toDevice = painter.worldTransform();
    const bool inPixels = toDevice.type() <= QTransform::TxScale && qFuzzyCompare(toDevice.m11(), toDevice.m22())
        && toDevice.m11() > 0.0;
    const double scale = inPixels ? toDevice.m11() : 1.0;
    const QString fontKey = textFont.key();
    QImage* const picture = inPixels ? directPicture(painter) : nullptr;
    const QRgb colour = painter.pen().color().rgba(); // opaque when drawn directly
    QPainterPath outlines;
    QPointF at = baseline;
    for (const QString& c : characters(text)) {
        const QString key = glyphKey(fontKey, c, scale);
        const QPainterPath& outline = glyphOutline(textFont, key, c, scale);
        const QPointF origin = inPixels ? toDevice.map(at) : at;
        if (picture)
            fillSpans(*picture, glyphSpans(outline, key), origin.toPoint(), colour);
        else
            outlines.addPath(outline.translated(origin));
        at.rx() += metrics.horizontalAdvance(c) + kern;
    }
    if (picture)
        return;
    painter.save();
    if (inPixels)
        painter.resetTransform();
    painter.fillPath(outlines, painter.pen().color());
    painter.restore();
}
