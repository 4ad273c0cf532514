#include "model/TSLText.h"

#include "common/Common_Functions.h"
#include "model/CardEditorServices.h"
#include "model/TSLDrawing.h"
#include "model/TSLTextLayout.h"
#include "platform/Geometry.h"
#include "platform/StringsTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QSet>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

const QString undoContentsKey = QStringLiteral("undoContents");

} // namespace

QRectF TSLText::drawingBounds() const
{
    return platform::unionRect(TSLGraphic::drawingBounds(), platform::outsetRect(bounds(), 1.0, 1.0));
}

void TSLText::growToFitText(const QRectF& card)
{
    if (ctrl_is_locked)
        return;
    const QRectF b = bounds();
    const QString text = displayedText();
    const QFont font = displayedFont();
    constexpr double unbounded = 1.0e6;
    const double longestLine = std::ceil(
        tsltextlayout::usedSize(*tsltextlayout::layoutText(text, font, text_kerning, text_alignmnet, unbounded))
            .width());
    double width = std::max(b.width(), std::min(longestLine, card.right() - b.left()));
    double left = b.left();
    // Only a text that wraps can break inside a word.
    if (const double word = longestLine > width ? longestWord().second : 0.0; !card.isEmpty() && word > width) {
        // Kept from the card's edges as far as the box was, a twentieth of the card at most.
        const double margin = std::clamp(std::min({ b.left() - card.left(), b.top() - card.top(),
                                             card.right() - b.right(), card.bottom() - b.bottom() }),
            0.0, std::min(card.width(), card.height()) / 20);
        const TextSpan span = textSpanOnCard(width, word, card.width(), margin);
        width = span.width;
        left = std::clamp(
            left, card.left() + span.margin, std::max(card.left() + span.margin, card.right() - span.margin - width));
    }
    const double height = std::max(b.height(),
        std::ceil(tsltextlayout::usedSize(*tsltextlayout::layoutText(text, font, text_kerning, text_alignmnet, width))
                      .height()));
    // Only a box that grows moves: one placed past the card by hand stays where it was put.
    double top = b.top();
    if (!card.isEmpty() && height > b.height() && top + height > card.bottom())
        top = std::min(top, std::max(card.top(), card.bottom() - height));
    const QRectF grown(QPointF(left, top), QSizeF(width, height));
    if (grown != b)
        setBounds(grown);
}

std::pair<QString, double> TSLText::longestWord() const
{
    const QFont font = displayedFont();
    std::pair<QString, double> widest;
    const QStringList parts = tsltextlayout::unbreakableParts(displayedText());
    for (const QString& word : QSet<QString>(parts.begin(), parts.end()))
        if (const double width = wordWidth(word, font); width > widest.second)
            widest = { word, width };
    return widest;
}

double TSLText::wordWidth(const QString& word, const QFont& font) const
{
    const auto layout = tsltextlayout::layoutText(word, font, text_kerning, text_alignmnet, 1e6);
    return std::ceil(tsltextlayout::usedSize(*layout).width());
}

TextSpan textSpanOnCard(double width, double word, double cardWidth, double margin)
{
    if (word > cardWidth)
        return { cardWidth - 2 * margin, margin };
    margin = std::clamp((cardWidth - word) / 2, 0.0, margin);
    return { std::min(std::max(width, word), cardWidth - 2 * margin), margin };
}

// ---------------------------------------------------------------------------------------------------------
// Drawing and measuring

QString TSLText::displayedText() const
{
    const QString& characters = _Text_contents ? _Text_contents->string : Text_Value;
    return tsltextlayout::transformedCase(Trim_Str(characters), text_transfrom_case);
}

QFont TSLText::displayedFont() const
{
    return text_ctrl_font.value_or(builtInTextFont());
}

void TSLText::drawContentsInView(const TSLDrawingContext& context, bool isBeingCreateOrEdited)
{
    if (!ctrl_is_visible)
        return;
    const QRectF b = bounds();
    if (isBeingCreateOrEdited) {
        if (context.painter) {
            QPainter& painter = *context.painter;
            painter.save();
            // A 1-point frame lying just inside the rectangle grown by 1 point.
            painter.setPen(QPen(QPalette().color(QPalette::Highlight), 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(platform::outsetRect(b, 0.5, 0.5));
            painter.restore();
        }
        requestCanvasRefresh();
        return;
    }
    const QString text = displayedText();
    if (text.isEmpty())
        return; // blank text shows nothing at all, not even its fill or border
    if (context.painter) {
        QPainter& painter = *context.painter;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        QPainterPath box;
        box.addRect(b);
        if (isDrawingFill()) {
            if (_fill_type == QLatin1String("G")) {
                const QColor c1 = drawnGradientColor1();
                const QColor c2 = drawnGradientColor2();
                fillPathWithAngledGradient(painter, box, c1, c2, fill_grad_angle());
            } else {
                painter.fillPath(box, drawnFillColor()); // text items have no hatch: "H" fills solid too
            }
        }
        if (isDrawingStroke())
            painter.strokePath(box, borderPen(drawnStrokeColor(), strokeWidth(), strokeBorderType()));
        painter.setClipRect(b, Qt::IntersectClip); // what does not fit in the bounds is cut off
        const QColor color = Text_Color_Value();
        painter.setPen(color.isValid() ? color : QColor(Qt::black));
        bool cut = false;
        layoutCache_.withLayout(drawnLayoutInputs(text), [&](const QTextLayout& layout) {
            layout.draw(&painter, b.topLeft());
            cut = context.isCanvas && layoutIsCut(layout, context.card);
        });
        painter.restore();
        if (cut)
            drawCutMark(painter, context.card);
    }
    requestCanvasRefresh();
}

TSLTextLayoutCache::Inputs TSLText::drawnLayoutInputs(const QString& text) const
{
    const QRectF b = bounds();
    return { text, displayedFont(), text_kerning, text_alignmnet, b.width(), b.height() };
}

bool TSLText::textIsCut(const QRectF& card) const
{
    const QString text = displayedText();
    if (text.isEmpty())
        return false;
    bool cut = false;
    layoutCache_.withLayout(
        drawnLayoutInputs(text), [&](const QTextLayout& layout) { cut = layoutIsCut(layout, card); });
    return cut;
}

bool TSLText::layoutIsCut(const QTextLayout& layout, const QRectF& card) const
{
    const QRectF b = bounds();
    if (tsltextlayout::cutBy(layout, b.size()))
        return true;
    // A word wider than the card is broken inside wherever the box lies: the card is too small for the text.
    if (!card.isEmpty() && tsltextlayout::widestBrokenPart(layout) > card.width() + 0.5)
        return true;
    // The card ends the picture as the box ends the text: the part of the box on the card is what shows.
    if (card.isEmpty() || card.contains(b))
        return false;
    return tsltextlayout::cutBy(layout, b.intersected(card).translated(-b.topLeft()));
}

void TSLText::drawCutMark(QPainter& painter, const QRectF& card) const
{
    // A red dashed frame with a corner flag, as a picture that cannot be found is marked: seen on the
    // canvas only, never on a card. A box reaching past the card is marked on the part of it that shows.
    const QRectF b = card.isEmpty() || card.contains(bounds()) ? bounds() : bounds().intersected(card);
    if (b.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(200, 30, 30), 1.0, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(b);
    const double flag = std::min({ 8.0, b.width(), b.height() });
    QPainterPath corner;
    corner.moveTo(b.bottomRight());
    corner.lineTo(b.right() - flag, b.bottom());
    corner.lineTo(b.right(), b.bottom() - flag);
    corner.closeSubpath();
    painter.fillPath(corner, QColor(200, 30, 30));
    painter.restore();
}

QSizeF TSLText::naturalSize() const
{
    const std::unique_ptr<QTextLayout> layout
        = tsltextlayout::layoutText(displayedText(), displayedFont(), text_kerning, text_alignmnet, bounds().width());
    const QSizeF used = tsltextlayout::usedSize(*layout);
    // Whole points, rounded up, so the text wraps the same way again at the new width.
    return { std::ceil(used.width()), std::ceil(used.height()) };
}

void TSLText::makeNaturalSize()
{
    if (ctrl_is_locked)
        return;
    setBounds(QRectF(bounds().topLeft(), naturalSize()));
}

// ---------------------------------------------------------------------------------------------------------
// Undo and scripting

QSet<QString> TSLText::keysForValuesToObserveForUndo() const
{
    QSet<QString> keys = TSLGraphic::keysForValuesToObserveForUndo();
    keys << QStringLiteral("textColor") << QStringLiteral("textFont");
    if (_contentsBeingChangedByScripting)
        keys.insert(undoContentsKey);
    return keys;
}

QString TSLText::presentablePropertyNameForKey(const QString& key) const
{
    static const QHash<QString, QString> names = {
        { undoContentsKey, platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Text")) },
        { QStringLiteral("textColor"),
            platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Text Color")) },
        { QStringLiteral("textFont"), platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Font")) }
    };
    const auto it = names.constFind(key);
    return it != names.constEnd() ? *it : TSLGraphic::presentablePropertyNameForKey(key);
}

QVariant TSLText::valueForKey(const QString& key) const
{
    if (key == undoContentsKey)
        return QVariant::fromValue(_Text_contents ? *_Text_contents : TSLTextStorage {});
    return TSLGraphic::valueForKey(key);
}

void TSLText::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == undoContentsKey) {
        if (value.canConvert<TSLTextStorage>())
            setUndoContents(value.value<TSLTextStorage>());
        else
            setScriptingContents(value.toString());
        return;
    }
    TSLGraphic::setValueForKey(key, value);
}

TSLTextStorage TSLText::undoContents()
{
    return Text_contents();
}

void TSLText::setUndoContents(const TSLTextStorage& contents)
{
    setScriptingContents(contents);
}

TSLTextStorage& TSLText::scriptingContents()
{
    willChangeScriptingContents();
    const std::weak_ptr<char> alive = lifeToken_.token;
    QTimer::singleShot(0, [this, alive] {
        if (!alive.expired())
            didChangeScriptingContents();
    });
    return Text_contents();
}

void TSLText::setScriptingContents(const QString& string)
{
    willChangeScriptingContents();
    Text_contents().string = string;
    didChangeScriptingContents();
}

void TSLText::setScriptingContents(const TSLTextStorage& contents)
{
    willChangeScriptingContents();
    Text_contents() = contents;
    didChangeScriptingContents();
}

QVariant TSLText::coerceValueForScriptingContents(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return value;
    if (value.canConvert<TSLTextStorage>())
        return value;
    return QVariant::fromValue(TSLTextStorage { value.toString(), builtInTextFont(), QColor(Qt::black) });
}

void TSLText::willChangeScriptingContents()
{
    // Nested brackets (a script reading the contents twice before the first closes) make one change.
    if (scriptedChangeDepth_++ > 0)
        return;
    const QSet<QString> oldKeys = keysForValuesToObserveForUndo();
    _contentsBeingChangedByScripting = true;
    didChangeUndoKeys(oldKeys, keysForValuesToObserveForUndo());
    contentsBeforeScriptedChange_ = undoContents();
}

void TSLText::didChangeScriptingContents()
{
    if (scriptedChangeDepth_ == 0 || --scriptedChangeDepth_ > 0)
        return;
    didChangeValueForKey(
        undoContentsKey, QVariant::fromValue(contentsBeforeScriptedChange_), QVariant::fromValue(undoContents()));
    contentsBeforeScriptedChange_ = {};
    const QSet<QString> oldKeys = keysForValuesToObserveForUndo();
    _contentsBeingChangedByScripting = false;
    didChangeUndoKeys(oldKeys, keysForValuesToObserveForUndo());
}

QVariantMap TSLText::properties() const
{
    QVariantMap map = TSLGraphic::properties();
    map.insert(QStringLiteral("contents"), _Text_contents ? _Text_contents->string : Text_Value);
    return map;
}

void applyInvitationTextRules(TSLGraphic& text, const QString& value, const QString& ctrl_ID)
{
    text.Text_Value = value;
    text._isDrawingFill = false;
    text._isDrawingStroke = false;
    if (!Find_Str(ctrl_ID, QStringLiteral("PARTY_")))
        return;
    static const QStringList centred = { QStringLiteral("PARTY_TITLE"), QStringLiteral("PARTY_DATE"),
        QStringLiteral("PARTY_TIME"), QStringLiteral("PARTY_VENUE"), QStringLiteral("PARTY_MARRINGE_INFO") };
    if (centred.contains(ctrl_ID))
        text.text_alignmnet = 2;
    else if (ctrl_ID == QLatin1String("PARTY_FROM"))
        text.text_alignmnet = 1;
    if (ctrl_ID == QLatin1String("PARTY_TITLE") || ctrl_ID == QLatin1String("PARTY_MARRINGE_INFO"))
        text.text_ctrl_font = fontForPostScriptName(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18.0);
}
