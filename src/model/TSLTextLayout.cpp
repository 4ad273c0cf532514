#include "model/TSLTextLayout.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace tsltextlayout {

namespace {

// The resolution fonts are resolved at when no device is named (the screen's logical dpi).
int defaultFontDpi()
{
    static const int dpi = [] {
        QFont probe;
        probe.setPointSizeF(72.0);
        const int pixels = QFontInfo(probe).pixelSize();
        return pixels > 0 ? pixels : 96;
    }();
    return dpi;
}

// The font sized so that one layout unit is one point. The layout keeps the default resolution rather
// than a 72-dpi device because Qt scales absolute letter spacing by the whole-number ratio of the font's
// resolution to the default one, which drops the spacing of any lower resolution.
QFont layoutFont(const QFont& font, double kerning)
{
    QFont result(font);
    const double points = font.pointSizeF() > 0.0 ? font.pointSizeF() : std::max(font.pixelSize(), 1);
    result.setPointSizeF(points * 72.0 / defaultFontDpi());
    result.setKerning(false);
    result.setLetterSpacing(QFont::AbsoluteSpacing, std::isfinite(kerning) ? kerning : 0.0);
    // Hinting would fit glyphs to a pixel grid that is not the one of the picture drawn on.
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

// QTextLayout takes alignments as they appear on the page, so the natural one is resolved here.
Qt::Alignment alignmentOfCode(int code, bool rightToLeft)
{
    switch (code) {
    case 1:
        return Qt::AlignRight;
    case 2:
        return Qt::AlignHCenter;
    case 3:
        return Qt::AlignJustify;
    case 4:
        return rightToLeft ? Qt::AlignRight : Qt::AlignLeft;
    default:
        return Qt::AlignLeft;
    }
}

// Characters that only join or mark their neighbours, or space them: they stay in the run around them.
bool isNeutral(char32_t codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
        return true;
    default:
        return QChar::isSpace(codePoint);
    }
}

// Scripts without slanted faces (Arabic among them) have no glyphs in an italic or oblique font nor in
// its slanted fallbacks, so Qt would draw nothing for them: those runs are drawn upright instead.
QList<QTextLayout::FormatRange> uprightWhereSlantHasNoGlyphs(const QString& text, const QFont& font)
{
    QList<QTextLayout::FormatRange> ranges;
    if (font.style() == QFont::StyleNormal)
        return ranges;
    const QFontMetricsF metrics(font);
    QTextCharFormat upright;
    upright.setFontItalic(false);
    qsizetype start = -1;
    qsizetype end = -1;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t codePoint = text.at(i).isHighSurrogate() && i + 1 < text.size()
            ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
            : text.at(i).unicode();
        const qsizetype length = QChar::requiresSurrogates(codePoint) ? 2 : 1;
        if (isNeutral(codePoint)) {
            if (start >= 0 && end == i && !QChar::isSpace(codePoint))
                end = i + length; // a mark belongs to the letter before it
        } else if (!metrics.inFontUcs4(codePoint)) {
            if (start < 0)
                start = i;
            end = i + length;
        } else if (start >= 0) {
            ranges.append({ int(start), int(end - start), upright });
            start = -1;
        }
        i += length;
    }
    if (start >= 0)
        ranges.append({ int(start), int(end - start), upright });
    return ranges;
}

// QTextLayout breaks lines only at the Unicode line separator.
QString withLineSeparators(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            result += QChar::LineSeparator;
        } else if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar(0x0085) || c == QChar(0x000B)
            || c == QChar(0x000C)) {
            result += QChar::LineSeparator;
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

QString transformedCase(const QString& text, int code)
{
    switch (code) {
    case 1:
        return text.toUpper();
    case 2:
        return text.toLower();
    case 3:
        break;
    default:
        return text;
    }
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length
            = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        const QString character = text.mid(i, length);
        const char32_t codePoint
            = length == 2 ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        if (QChar::isSpace(codePoint)) {
            result += character;
            wordStart = true;
        } else if (wordStart) {
            const char32_t title = QChar::toTitleCase(codePoint);
            result += QString::fromUcs4(&title, 1);
            wordStart = false;
        } else {
            result += character.toLower();
        }
        i += length - 1;
    }
    return result;
}

std::unique_ptr<QTextLayout> layoutText(
    const QString& text, const QFont& font, double kerning, int alignment, double width, double maxHeight)
{
    const QString characters = withLineSeparators(text);
    const QFont sized = layoutFont(font, kerning);
    auto layout = std::make_unique<QTextLayout>(characters, sized);
    layout->setFormats(uprightWhereSlantHasNoGlyphs(characters, sized));
    // The writing direction of the first strong character decides where natural alignment starts.
    const bool rightToLeft = text.isRightToLeft();
    QTextOption option(alignmentOfCode(alignment, rightToLeft));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setUseDesignMetrics(true);
    layout->setTextOption(option);
    const double lineWidth = std::isfinite(width) && width > 0.0 ? width : 0.0;
    double y = 0.0;
    layout->beginLayout();
    while (y < maxHeight) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0.0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

QSizeF usedSize(const QTextLayout& layout)
{
    double width = 0.0;
    double height = 0.0;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        width = std::max(width, line.naturalTextWidth());
        height = std::max(height, line.y() + line.height());
    }
    return { width, height };
}

namespace {

constexpr double cutSlack = 0.5;

// Text the layout left out: no line at all, or lines that end before the text does.
bool leftOut(const QTextLayout& layout)
{
    const int count = layout.lineCount();
    if (count == 0)
        return !layout.text().isEmpty();
    const QTextLine last = layout.lineAt(count - 1);
    return last.textStart() + last.textLength() < layout.text().size();
}

} // namespace

bool cutBy(const QTextLayout& layout, const QSizeF& box)
{
    if (leftOut(layout))
        return true;
    const int count = layout.lineCount();
    if (count == 0)
        return false;
    for (int i = 0; i < count; ++i) {
        if (layout.lineAt(i).naturalTextWidth() > box.width() + cutSlack)
            return true;
    }
    const QTextLine last = layout.lineAt(count - 1);
    return last.y() + last.ascent() + last.descent() > box.height() + cutSlack;
}

bool cutBy(const QTextLayout& layout, const QRectF& visible)
{
    if (leftOut(layout))
        return true;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        // The line where its alignment puts it, as wide as the box check measures it.
        const double left = line.naturalTextRect().left();
        const double right = left + line.naturalTextWidth();
        const double bottom = line.y() + line.ascent() + line.descent();
        if (left < visible.left() - cutSlack || right > visible.right() + cutSlack
            || line.y() < visible.top() - cutSlack || bottom > visible.bottom() + cutSlack)
            return true;
    }
    return false;
}

QStringList unbreakableParts(const QString& text)
{
    QStringList parts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype from = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        if (const QString part = text.mid(from, at - from).trimmed(); !part.isEmpty())
            parts << part;
        from = at;
    }
    return parts;
}

double widestBrokenPart(const QTextLayout& layout)
{
    const QString text = layout.text();
    double widest = 0.0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (int i = 1; i < layout.lineCount(); ++i) {
        finder.setPosition(layout.lineAt(i).textStart());
        if (finder.isAtBoundary())
            continue;
        // The part broken: from the place before the break where a line may start to the next, its ending
        // spaces left out, measured on each line it lies on.
        const qsizetype from = finder.toPreviousBoundary();
        finder.setPosition(layout.lineAt(i).textStart());
        qsizetype to = finder.toNextBoundary();
        to = to < 0 ? text.size() : to;
        while (to > from && text.at(to - 1).isSpace())
            --to;
        double width = 0.0;
        for (int j = 0; j < layout.lineCount(); ++j) {
            const QTextLine line = layout.lineAt(j);
            const int start = int(std::max<qsizetype>(from, line.textStart()));
            const int end = int(std::min<qsizetype>(to, line.textStart() + line.textLength()));
            if (start < end)
                width += std::abs(line.cursorToX(end) - line.cursorToX(start));
        }
        widest = std::max(widest, width);
    }
    return widest;
}

} // namespace tsltextlayout
