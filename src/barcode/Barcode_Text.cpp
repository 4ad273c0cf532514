#include "barcode/Barcode_Text.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

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
const QPainterPath& glyphOutline(const QFont& font, const QString& character, double scale)
{
    thread_local QHash<QString, QPainterPath> outlines;
    const QString key = font.key() + QChar(u'\x1f') + character + QChar(u'\x1f') + QString::number(scale, 'g', 12);
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
    QPainterPath outlines;
    QPointF at = baseline;
    for (const QString& c : characters(text)) {
        const QPointF origin = inPixels ? toDevice.map(at) : at;
        outlines.addPath(glyphOutline(textFont, c, scale).translated(origin));
        at.rx() += metrics.horizontalAdvance(c) + kern;
    }
    painter.save();
    if (inPixels)
        painter.resetTransform();
    painter.fillPath(outlines, painter.pen().color());
    painter.restore();
}
