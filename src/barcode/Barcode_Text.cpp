#include "barcode/Barcode_Text.h"

#include "barcode/Barcode_Bit_Row.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
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

// The advance of one character in points, kept per thread: shaping a character again for every picture
// costs more than the rest of its drawing.
double advanceOf(const QFontMetricsF& metrics, const QString& fontKey, const QString& character)
{
    thread_local QHash<QString, double> advances;
    const QString key = fontKey + QChar(u'\x1f') + character;
    auto found = advances.constFind(key);
    if (found != advances.constEnd())
        return *found;
    if (advances.size() > 4096)
        advances.clear();
    return *advances.insert(key, metrics.horizontalAdvance(character));
}

// The width of a text set character by character, kern apart. Advances of characters below code 128 in
// the last font measured on this thread are kept by code, as captions are measured picture after picture.
double keptWidth(const QFontMetricsF& metrics, const QString& fontKey, const QString& text, double kern)
{
    thread_local QString keptFont;
    thread_local std::array<std::optional<double>, 128> kept;
    if (keptFont != fontKey) {
        keptFont = fontKey;
        kept.fill(std::nullopt);
    }
    double width = 0.0;
    for (const QString& c : characters(text)) {
        const char16_t code = c.at(0).unicode();
        if (c.size() == 1 && code < kept.size()) {
            std::optional<double>& advance = kept[code];
            if (!advance)
                advance = advanceOf(metrics, fontKey, c);
            width += *advance + kern;
        } else {
            width += advanceOf(metrics, fontKey, c) + kern;
        }
    }
    return width;
}

// The outline of one character at the origin, scaled to pixels and flattened to polygons, kept per
// thread: loading and flattening outlines is most of the cost of a barcode's texts, and the same few
// characters at the same size come back in every picture.
// The part of a glyph's key shared by all characters of a font at a scale.
QString glyphKeyPrefix(const QString& fontKey, double scale)
{
    return fontKey + QChar(u'\x1f') + QString::number(scale, 'g', 12) + QChar(u'\x1f');
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

// Spans filled with a colour (32-bit pictures) or a colour table index (pictures of one byte or one bit
// a pixel).
void fillSpans(QImage& image, const std::vector<GlyphSpan>& spans, const QPoint& origin, QRgb value)
{
    const int depth = image.depth();
    uchar* const bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (const GlyphSpan& span : spans) {
        const int y = origin.y() + span.dy;
        if (y < 0 || y >= image.height())
            continue;
        const int x0 = std::max(0, origin.x() + span.x0);
        const int x1 = std::min(image.width(), origin.x() + span.x1);
        if (x0 >= x1)
            continue;
        uchar* const line = bits + y * bytesPerLine;
        if (depth == 1)
            Barcode_Fill_Bits(line, x0, x1, value != 0);
        else if (depth == 8)
            std::memset(line + x0, static_cast<int>(value), static_cast<std::size_t>(x1 - x0));
        else
            std::fill_n(reinterpret_cast<QRgb*>(line) + x0, x1 - x0, value);
    }
}

// A glyph's spans as bytes of a one-bit picture's rows, for an origin at a given pixel of its byte:
// drawn by setting or clearing whole bytes under a mask.
struct GlyphBits {
    int firstRow = 0; // dy of the first row
    int firstByte = 0; // bytes from the origin's byte to the first byte of a row
    int rowBytes = 0;
    std::vector<uchar> bits; // rows one after another
};

const GlyphBits& glyphBits(const std::vector<GlyphSpan>& spans, const QString& key, int shift)
{
    thread_local QHash<QString, GlyphBits> kept;
    const QString bitsKey = key + QChar(u'\x1f') + QChar(u'0' + shift);
    auto found = kept.constFind(bitsKey);
    if (found != kept.constEnd())
        return *found;
    if (kept.size() > 4096)
        kept.clear();
    GlyphBits glyph;
    if (!spans.empty()) {
        int lastRow = spans.front().dy;
        int left = spans.front().x0;
        int right = spans.front().x1;
        glyph.firstRow = spans.front().dy;
        for (const GlyphSpan& span : spans) {
            glyph.firstRow = std::min(glyph.firstRow, span.dy);
            lastRow = std::max(lastRow, span.dy);
            left = std::min(left, span.x0);
            right = std::max(right, span.x1);
        }
        // Pixel shift + x of the origin's byte lies in byte floor((shift + x) / 8) from it.
        auto byteOf = [](int pixel) { return pixel >= 0 ? pixel / 8 : -((7 - pixel) / 8); };
        glyph.firstByte = byteOf(shift + left);
        glyph.rowBytes = byteOf(shift + right - 1) - glyph.firstByte + 1;
        glyph.bits.assign(static_cast<std::size_t>((lastRow - glyph.firstRow + 1) * glyph.rowBytes), 0);
        for (const GlyphSpan& span : spans) {
            uchar* row = glyph.bits.data() + static_cast<std::size_t>((span.dy - glyph.firstRow) * glyph.rowBytes);
            const int from = shift + span.x0 - 8 * glyph.firstByte;
            Barcode_Fill_Bits(row, from, from + span.x1 - span.x0, true);
        }
    }
    return *kept.insert(bitsKey, std::move(glyph));
}

// A glyph on a one-bit picture in index value (0 or 1). Bytes left of the picture are skipped whole;
// bits right of its width but inside its last byte are padding no reader looks at.
void fillBits(QImage& image, const GlyphBits& glyph, const QPoint& origin, bool on)
{
    const int originByte = origin.x() >= 0 ? origin.x() / 8 : -((7 - origin.x()) / 8);
    const int rows = glyph.rowBytes > 0 ? static_cast<int>(glyph.bits.size()) / glyph.rowBytes : 0;
    const int lineBytes = (image.width() + 7) / 8;
    uchar* const bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (int r = 0; r < rows; ++r) {
        const int y = origin.y() + glyph.firstRow + r;
        if (y < 0 || y >= image.height())
            continue;
        uchar* const line = bits + y * bytesPerLine;
        const uchar* mask = glyph.bits.data() + static_cast<std::size_t>(r * glyph.rowBytes);
        for (int k = 0; k < glyph.rowBytes; ++k) {
            const int at = originByte + glyph.firstByte + k;
            if (at < 0 || at >= lineBytes)
                continue;
            line[at] = static_cast<uchar>(on ? (line[at] | mask[k]) : (line[at] & ~mask[k]));
        }
    }
}

// The transform maps points to pixels by a move and one scale: kept glyph outlines are then whole
// polygons in pixels.
bool movesAndScales(const QTransform& toDevice)
{
    return toDevice.type() <= QTransform::TxScale && qFuzzyCompare(toDevice.m11(), toDevice.m22())
        && toDevice.m11() > 0.0;
}

// One character of a font at a scale, with what drawing it needs worked out when first asked for.
struct Glyph {
    QString key;
    QPainterPath outline;
    double advance = 0.0;
    std::optional<std::vector<GlyphSpan>> spans;
    std::array<std::optional<GlyphBits>, 8> bits; // per pixel of the origin in its byte
};

const std::vector<GlyphSpan>& spansOf(Glyph& glyph)
{
    if (!glyph.spans)
        glyph.spans = glyphSpans(glyph.outline, glyph.key);
    return *glyph.spans;
}

const GlyphBits& bitsOf(Glyph& glyph, int shift)
{
    std::optional<GlyphBits>& bits = glyph.bits[static_cast<std::size_t>(shift & 7)];
    if (!bits)
        bits = glyphBits(spansOf(glyph), glyph.key, shift & 7);
    return *bits;
}

// The characters of the last font and scale drawn on this thread below code 128, found by their code:
// captions come back in the same font picture after picture, and building and hashing a key for each
// of their characters costs more than filling it.
struct KeptGlyphs {
    QString prefix;
    std::array<Glyph, 128> ascii;
};

Glyph& keptGlyph(KeptGlyphs& kept, const QFont& textFont, const QFontMetricsF& metrics, const QString& fontKey,
    const QString& character, double scale)
{
    Glyph& glyph = kept.ascii[character.at(0).unicode()];
    if (glyph.key.isEmpty()) {
        glyph.key = kept.prefix + character;
        glyph.outline = glyphOutline(textFont, glyph.key, character, scale);
        glyph.advance = advanceOf(metrics, fontKey, character);
    }
    return glyph;
}

// Calls fill(glyph, origin) for each character of the text, in device pixels.
template <typename Fill>
void eachGlyph(const QFont& textFont, const QString& text, double kern, const QPointF& baseline,
    const QTransform& toDevice, bool inPixels, const Fill& fill)
{
    const QFontMetricsF metrics(textFont, &pointDevice());
    const double scale = inPixels ? toDevice.m11() : 1.0;
    const QString fontKey = textFont.key();
    const QString prefix = glyphKeyPrefix(fontKey, scale);
    thread_local KeptGlyphs kept;
    if (kept.prefix != prefix) {
        kept.prefix = prefix;
        kept.ascii.fill(Glyph());
    }
    QPointF at = baseline;
    for (const QString& c : characters(text)) {
        const QPointF origin = inPixels ? toDevice.map(at) : at;
        if (c.size() == 1 && c.at(0).unicode() < kept.ascii.size()) {
            Glyph& glyph = keptGlyph(kept, textFont, metrics, fontKey, c, scale);
            fill(glyph, origin);
            at.rx() += glyph.advance + kern;
            continue;
        }
        Glyph glyph;
        glyph.key = prefix + c;
        glyph.outline = glyphOutline(textFont, glyph.key, c, scale);
        fill(glyph, origin);
        at.rx() += advanceOf(metrics, fontKey, c) + kern;
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
    const QFont textFont = Barcode_Text_Font(font);
    const QFontMetricsF metrics(textFont, &pointDevice());
    double width = 0.0;
    if (kern == 0.0) {
        width = metrics.horizontalAdvance(text);
    } else {
        width = keptWidth(metrics, textFont.key(), text, kern);
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
    if (blended) {
        const QFontMetricsF metrics(textFont, &pointDevice());
        QPointF at = baseline;
        for (const QString& c : characters(text)) {
            painter.drawText(at, c);
            at.rx() += metrics.horizontalAdvance(c) + kern;
        }
        return;
    }
    // Hard edges: characters are filled from kept outlines, in pixels where the painter only scales and
    // moves, else in points under the painter's transform.
    const QTransform toDevice = painter.worldTransform();
    const bool inPixels = movesAndScales(toDevice);
    QImage* const picture = inPixels ? directPicture(painter) : nullptr;
    if (picture) {
        const QRgb colour = painter.pen().color().rgba(); // opaque when drawn directly
        eachGlyph(textFont, text, kern, baseline, toDevice, true, [&](Glyph& glyph, const QPointF& origin) {
            fillSpans(*picture, spansOf(glyph), origin.toPoint(), colour);
        });
        return;
    }
    QPainterPath outlines;
    eachGlyph(textFont, text, kern, baseline, toDevice, inPixels,
        [&](Glyph& glyph, const QPointF& origin) { outlines.addPath(glyph.outline.translated(origin)); });
    painter.save();
    if (inPixels)
        painter.resetTransform();
    painter.fillPath(outlines, painter.pen().color());
    painter.restore();
}

bool Barcode_Fill_Text(QImage& picture, const QTransform& toPixels, const QString& text, const QFont& font, double kern,
    const QPointF& baseline, uint value)
{
    const bool mono = picture.format() == QImage::Format_Mono;
    if (!movesAndScales(toPixels) || (!mono && picture.depth() != 8 && picture.depth() != 32))
        return false;
    eachGlyph(Barcode_Text_Font(font), text, kern, baseline, toPixels, true, [&](Glyph& glyph, const QPointF& origin) {
        const QPoint at = origin.toPoint();
        if (picture.format() == QImage::Format_Mono)
            fillBits(picture, bitsOf(glyph, at.x() & 7), at, value != 0);
        else
            fillSpans(picture, spansOf(glyph), at, value);
    });
    return true;
}
