#include "barcode/Barcode_Text.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

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
    if (kern == 0.0) {
        painter.drawText(baseline, text);
        return;
    }
    const QFontMetricsF metrics(textFont, &pointDevice());
    QPointF at = baseline;
    for (const QString& c : characters(text)) {
        painter.drawText(at, c);
        at.rx() += metrics.horizontalAdvance(c) + kern;
    }
}
