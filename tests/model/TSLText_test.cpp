#include "model/TSLText.h"
#include "model/TSLTextLayout.h"
#include "platform/KeyedArchive.h"

#include "model/PictureProbes.h"

#include <QCoreApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <thread>

using namespace pictureprobes;

namespace {

QFont serif(double size)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSizeF(size);
    return font;
}

std::shared_ptr<TSLText> textItem(const QString& text, const QRectF& bounds = { 10, 10, 200, 60 })
{
    auto item = std::make_shared<TSLText>();
    item->_bounds = bounds;
    item->Text_contents().string = text;
    item->text_ctrl_font = serif(20);
    item->txt_clr = QColor(Qt::black);
    item->_isDrawingFill = false;
    item->_isDrawingStroke = false;
    return item;
}

QImage draw(TSLText& item, double scale = 2.0)
{
    return render(item, { 240, 120 }, scale);
}

// Ink of the text only (no fill or border drawn), in canvas points.
QRectF textInk(TSLText& item, double scale = 2.0)
{
    const QRect ink = inkBounds(draw(item, scale));
    if (ink.isNull())
        return {};
    return { ink.left() / scale, ink.top() / scale, (ink.width()) / scale, (ink.height()) / scale };
}

class RecordingObserver : public TSLGraphicObserver {
public:
    void graphicValueChanged(
        TSLGraphic&, const QString& key, const QVariant& oldValue, const QVariant& newValue) override
    {
        keys << key;
        oldValues << oldValue;
        newValues << newValue;
    }
    void graphicUndoKeysChanged(TSLGraphic&, const QSet<QString>&, const QSet<QString>& newKeys) override
    {
        undoKeySets.push_back(newKeys);
    }
    QStringList keys;
    QVariantList oldValues;
    QVariantList newValues;
    std::vector<QSet<QString>> undoKeySets;
};

} // namespace

TEST(TSLTextCase, TransformsOnlyWhatIsDrawn)
{
    using tsltextlayout::transformedCase;
    EXPECT_EQ(transformedCase(QStringLiteral("hELLO wORLD"), 3), QStringLiteral("Hello World"));
    EXPECT_EQ(transformedCase(QStringLiteral("two\tWORDS\nnext LINE"), 3), QStringLiteral("Two\tWords\nNext Line"));
    EXPECT_EQ(transformedCase(QStringLiteral("Grüße"), 1), QStringLiteral("GRÜSSE"));
    EXPECT_EQ(transformedCase(QStringLiteral("ÀBC"), 2), QStringLiteral("àbc"));
    EXPECT_EQ(transformedCase(QStringLiteral("as Typed"), 0), QStringLiteral("as Typed"));
    EXPECT_EQ(transformedCase(QStringLiteral("as Typed"), 9), QStringLiteral("as Typed"));
    // A letter outside the basic plane (two UTF-16 units) is capitalised whole.
    EXPECT_EQ(transformedCase(QString::fromUtf8("\xF0\x90\x90\xA8\xF0\x90\x90\x80"), 3),
        QString::fromUtf8("\xF0\x90\x90\x80\xF0\x90\x90\xA8"));

    // Drawn with code 3, the mixed-case text looks exactly like the capitalised one; the stored text stays.
    auto mixed = textItem(QStringLiteral("hELLO wORLD"));
    mixed->text_transfrom_case = 3;
    auto typed = textItem(QStringLiteral("Hello World"));
    EXPECT_EQ(draw(*mixed), draw(*typed));
    EXPECT_EQ(mixed->Text_contents().string, QStringLiteral("hELLO wORLD"));
    keepPicture(draw(*mixed), QStringLiteral("text_capitalised"));

    auto upper = textItem(QStringLiteral("party"));
    upper->text_transfrom_case = 1;
    EXPECT_EQ(draw(*upper), draw(*textItem(QStringLiteral("PARTY"))));
    auto lower = textItem(QStringLiteral("PARTY"));
    lower->text_transfrom_case = 2;
    EXPECT_EQ(draw(*lower), draw(*textItem(QStringLiteral("party"))));
}

TEST(TSLTextDrawing, TrimsTheEndsButKeepsInnerEmptyLines)
{
    auto padded = textItem(QStringLiteral("  word\n"));
    EXPECT_EQ(draw(*padded), draw(*textItem(QStringLiteral("word"))));

    const QRectF twoLines = textInk(*textItem(QStringLiteral("a\nb"), { 10, 10, 200, 100 }));
    const QRectF gap = textInk(*textItem(QStringLiteral("a\n\nb"), { 10, 10, 200, 100 }));
    // The empty middle line pushes the last line down by one line height (20-point font: over 20 points).
    EXPECT_GT(gap.bottom() - twoLines.bottom(), 20.0);
    EXPECT_LT(gap.bottom() - twoLines.bottom(), 26.0);
}

TEST(TSLTextDrawing, BlankTextDrawsNothingAtAllAndAsksForNoRedraw)
{
    FakeEditor editor;
    auto blank = textItem(QStringLiteral("  \n \t\n"));
    blank->_isDrawingFill = true;
    blank->_fillColor = QColor(Qt::red);
    blank->_isDrawingStroke = true;
    EXPECT_EQ(inkBounds(draw(*blank)), QRect());
    EXPECT_EQ(editor.refreshes, 0);

    auto hidden = textItem(QStringLiteral("Hidden"));
    hidden->ctrl_is_visible = false;
    hidden->_isDrawingFill = true;
    EXPECT_EQ(inkBounds(draw(*hidden)), QRect());
    EXPECT_EQ(editor.refreshes, 0);

    draw(*textItem(QStringLiteral("Shown")));
    EXPECT_EQ(editor.refreshes, 1);
}

TEST(TSLTextDrawing, AlignmentCodesPlaceTheLine)
{
    const QRectF box(10, 10, 200, 60);
    auto inkFor = [&](const QString& text, int alignment) {
        auto item = textItem(text, box);
        item->text_alignmnet = alignment;
        keepPicture(draw(*item), QStringLiteral("text_align_%1").arg(alignment));
        return textInk(*item);
    };
    const QRectF left = inkFor(QStringLiteral("Invitation"), 0);
    const QRectF right = inkFor(QStringLiteral("Invitation"), 1);
    const QRectF centred = inkFor(QStringLiteral("Invitation"), 2);
    const QRectF natural = inkFor(QStringLiteral("Invitation"), 4);
    EXPECT_LT(left.left() - box.left(), 3.0);
    EXPECT_LT(box.right() - right.right(), 3.0);
    EXPECT_NEAR(centred.center().x(), box.center().x(), 1.5);
    EXPECT_NEAR(natural.left(), left.left(), 0.5); // left-to-right text starts at the left
    EXPECT_NEAR(right.width(), left.width(), 1.0);

    // Natural alignment follows right-to-left writing; plain left stays left.
    const QString hebrew = QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
    const QRectF hebrewNatural = inkFor(hebrew, 4);
    const QRectF hebrewLeft = inkFor(hebrew, 0);
    EXPECT_LT(box.right() - hebrewNatural.right(), 3.0);
    EXPECT_LT(hebrewLeft.left() - box.left(), 3.0);

    // Justified: a wrapped line is stretched to the full width, the last line is not.
    const QString wrapped = QStringLiteral("one two three four five six seven eight nine ten");
    auto justified = textItem(wrapped, box);
    justified->text_alignmnet = 3;
    auto plain = textItem(wrapped, box);
    const QImage justifiedPicture = draw(*justified);
    keepPicture(justifiedPicture, QStringLiteral("text_align_3"));
    const double scale = 2.0;
    const QRect firstLine(int(box.left() * scale), int(box.top() * scale), int(box.width() * scale), int(20 * scale));
    const QRect justifiedInk = inkBounds(justifiedPicture, firstLine);
    const QRect plainInk = inkBounds(draw(*plain), firstLine);
    EXPECT_LT(box.right() - justifiedInk.right() / scale, 2.0);
    EXPECT_GT(box.right() - plainInk.right() / scale, 5.0);
    const QRect lastLine(
        int(box.left() * scale), int((box.top() + 24) * scale), int(box.width() * scale), int(24 * scale));
    EXPECT_EQ(inkBounds(justifiedPicture, lastLine), inkBounds(draw(*plain), lastLine));
}

TEST(TSLTextDrawing, EveryScriptIsDrawnInsideTheBoxUprightOrInTheDefaultItalic)
{
    // Arabic, Hebrew, Arabic with Latin and digits, Devanagari, emoji.
    const char* rows[] = { "\u062D\u0641\u0644\u0629 \u0639\u064A\u062F \u0645\u064A\u0644\u0627\u062F",
        "\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD", "\u062D\u0641\u0644\u0629 Party 2026 \u0639\u064A\u062F",
        "\u091C\u0928\u094D\u092E\u0926\u093F\u0928", "\U0001F382\U0001F388" };
    const QRectF box(20, 20, 160, 40);
    for (const char* row : rows) {
        for (const bool italic : { false, true }) { // the default text font is an italic
            auto item = textItem(QString::fromUtf8(row), box);
            item->text_ctrl_font->setItalic(italic);
            const QRectF ink = textInk(*item);
            EXPECT_TRUE(box.contains(ink)) << row << italic;
            // About as wide as laid out: no run of the text went missing.
            EXPECT_GT(ink.width(), 0.6 * item->naturalSize().width()) << row << italic;
        }
    }
}

TEST(TSLTextDrawing, FontPointsAreCanvasPointsAtAnyResolution)
{
    // A 72-point capital H stands about two thirds of an inch tall: 72 canvas points are one inch.
    auto item = textItem(QStringLiteral("H"), { 0, 0, 200, 110 });
    item->text_ctrl_font = serif(72);
    const QRectF atScreen = textInk(*item, 1.0);
    const QRectF atPrint = textInk(*item, 300.0 / 72.0);
    EXPECT_GT(atScreen.height(), 42.0);
    EXPECT_LT(atScreen.height(), 52.0);
    EXPECT_NEAR(atPrint.height(), atScreen.height(), 1.5);
    EXPECT_NEAR(atPrint.width(), atScreen.width(), 1.5);

    // A picture that records 300 dpi itself (as a printed card does) gets the same size in points.
    const double scale = 300.0 / 72.0;
    QImage print(qCeil(200 * scale), qCeil(110 * scale), QImage::Format_ARGB32_Premultiplied);
    print.setDotsPerMeterX(11811);
    print.setDotsPerMeterY(11811);
    print.fill(Qt::white);
    QPainter painter(&print);
    painter.scale(scale, scale);
    TSLDrawingContext context;
    context.painter = &painter;
    item->drawContentsInView(context, false);
    painter.end();
    EXPECT_NEAR(inkBounds(print).height() / scale, atScreen.height(), 1.5);

    // The kerning is in points too.
    item->Text_contents().string = QStringLiteral("HH");
    const double tight = textInk(*item, 1.0).width();
    item->text_kerning = 20.0f;
    EXPECT_NEAR(textInk(*item, scale).width() - tight, 20.0, 1.5);
}

TEST(TSLTextDrawing, KerningSpreadsTheCharacters)
{
    auto tight = textItem(QStringLiteral("ABCDE"));
    auto spread = textItem(QStringLiteral("ABCDE"));
    spread->text_kerning = 10.0f;
    keepPicture(draw(*spread), QStringLiteral("text_kerning"));
    // Four gaps between five letters, each 10 points wider.
    EXPECT_NEAR(textInk(*spread).width() - textInk(*tight).width(), 40.0, 2.0);
}

TEST(TSLTextDrawing, TextWrapsAtTheWidthAndIsCutOffAtTheBottom)
{
    const QRectF box(10, 10, 80, 30);
    auto item = textItem(QStringLiteral("many words that cannot fit into this small box at all"), box);
    const QImage picture = draw(*item);
    keepPicture(picture, QStringLiteral("text_cut_off"));
    const QRectF ink = textInk(*item);
    EXPECT_GE(ink.left(), box.left() - 0.5);
    EXPECT_LE(ink.right(), box.right() + 0.5);
    EXPECT_LE(ink.bottom(), box.bottom() + 0.5);
    EXPECT_GT(ink.bottom(), box.bottom() - 6.0); // the second line is drawn, cut at the bottom edge
}

// A text cut by its box or the card's edge is marked in red on the canvas only, where it shows; cards keep the cut.
TEST(TSLTextDrawing, ATextCutByItsBoxIsMarkedOnTheCanvasOnly)
{
    const struct {
        const char* text;
        QRectF box;
        bool cut;
        QRectF card {}; // none: the box alone cuts
    } cases[] = {
        { "Cleo\nSecond line", { 10, 10, 120, 26 }, true }, // the second line falls below the box
        { "Cleo", { 10, 10, 120, 26 }, false },
        { "Cleo", { 10, 10, 120, 12 }, true }, // the one line is cut at the bottom
        { "Bartholomew", { 10, 10, 20, 60 }, true }, // wrapped anywhere, lines below the box
        { "Cleo", { 10, 100, 120, 26 }, true, { 0, 0, 240, 110 } }, // the line runs past the card's bottom
        { "Cleo", { 10, 80, 120, 40 }, false, { 0, 0, 240, 110 } }, // the box does, the line stays on the card
    };
    for (const auto& c : cases) {
        auto item = textItem(QString::fromUtf8(c.text), c.box);
        item->ctrl_is_visible = true;
        EXPECT_EQ(item->textIsCut(c.card), c.cut) << c.text;
        const QRectF shown = c.card.isEmpty() ? c.box : c.box.intersected(c.card);
        for (const bool canvas : { false, true }) {
            QImage image = blank(240, 120);
            QPainter painter(&image);
            item->drawContentsInView({ &painter, canvas, 1.0, c.card }, false);
            painter.end();
            const QColor corner = image.pixelColor(int(shown.right()) - 2, int(shown.bottom()) - 2);
            const bool red = corner.red() > 150 && corner.green() < 90 && corner.blue() < 90;
            EXPECT_EQ(red, canvas && c.cut) << c.text << (canvas ? " on the canvas" : " on a card");
        }
    }
}

TEST(TSLTextDrawing, FillBorderAndTextColourLayers)
{
    auto item = textItem(QStringLiteral("Gold"), { 10, 10, 200, 60 });
    item->txt_clr = QColor(Qt::blue);
    item->_isDrawingFill = true;
    item->_fill_type = QStringLiteral("H"); // no hatch for text: solid fill
    item->_fillColor = QColor(Qt::yellow);
    item->_isDrawingStroke = true;
    item->_strokeWidth = 4.0;
    item->_strokeColor = QColor(Qt::red);
    item->_stroke_border_type = QStringLiteral("DA");
    item->alpha_val_stroke = 100.0f;
    QImage picture = draw(*item);
    keepPicture(picture, QStringLiteral("text_fill_border"));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 150, 50 }, 2.0), Qt::yellow));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 14, 10 }, 2.0), Qt::red)); // a dash of the border
    EXPECT_TRUE(colorNear(pixelAt(picture, { 19, 10 }, 2.0), Qt::yellow, 60)); // a gap: fill shows
    EXPECT_GT(countPixels(picture, [](const QColor& c) { return near(c, Qt::blue, 40); }), 50);

    // The text colour is used as stored: the fill opacity does not touch it.
    item->alpha_val = 0.0f;
    picture = draw(*item);
    EXPECT_TRUE(isWhite(pixelAt(picture, { 150, 50 }, 2.0)));
    EXPECT_GT(countPixels(picture, [](const QColor& c) { return near(c, Qt::blue, 40); }), 50);

    item->alpha_val = 1.0f;
    item->_fill_type = QStringLiteral("G");
    item->_fill_Grad_clr1 = QColor(Qt::green);
    item->_fill_Grad_clr2 = QColor(Qt::white);
    item->_isDrawingStroke = false;
    picture = draw(*item);
    keepPicture(picture, QStringLiteral("text_gradient"));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 10.5, 50 }, 2.0), Qt::green, 20));

    // At 90 degrees the first colour runs along the top of the box, the second along its bottom.
    item->_fill_grad_angle = 90.0;
    picture = draw(*item);
    keepPicture(picture, QStringLiteral("text_gradient_90"));
    const QRectF box = item->bounds(); // probed at the right end, where the short text never reaches
    EXPECT_TRUE(colorNear(pixelAt(picture, { box.right() - 2.0, box.top() + 1.0 }, 2.0), Qt::green, 20));
    EXPECT_TRUE(colorNear(pixelAt(picture, { box.right() - 2.0, box.bottom() - 1.0 }, 2.0), Qt::white, 20));
}

TEST(TSLTextDrawing, WhileBeingCreatedOnlyAFrameIsDrawn)
{
    auto item = textItem(QStringLiteral("Text"), { 20, 20, 100, 40 });
    item->_isDrawingFill = true;
    item->_fillColor = QColor(Qt::red);
    const QImage picture = draw(*item, 4.0);
    const QImage frame = render(*item, { 240, 120 }, 4.0, true);
    EXPECT_NE(frame, picture);
    EXPECT_TRUE(isWhite(pixelAt(frame, { 70, 40 }, 4.0))); // no fill, no text inside
    EXPECT_FALSE(isWhite(pixelAt(frame, { 70, 19.5 }, 4.0))); // the frame around the bounds
    EXPECT_FALSE(isWhite(pixelAt(frame, { 120.5, 40 }, 4.0)));
    EXPECT_TRUE(isWhite(pixelAt(frame, { 70, 18.5 }, 4.0)));
}

TEST(TSLTextNaturalSize, MeasuresWhatIsDrawnWhetherOrNotItWasDrawn)
{
    auto item = textItem(QStringLiteral("Dear guests, you are invited to our garden party"), { 10, 10, 120, 30 });
    item->text_kerning = 1.5f;
    const QSizeF first = item->naturalSize();
    draw(*item);
    EXPECT_EQ(item->naturalSize(), first);
    EXPECT_LE(first.width(), 120.0);
    EXPECT_GT(first.height(), 2 * 20.0); // wrapped over several lines of a 20-point font

    item->makeNaturalSize();
    EXPECT_EQ(item->bounds(), QRectF(QPointF(10, 10), first));
    // At its natural size the whole text shows: the same ink as in a box with room to spare.
    const QRectF fitted = textInk(*item);
    auto roomy = textItem(item->Text_contents().string, { 10, 10, first.width(), 110 });
    roomy->text_kerning = 1.5f;
    EXPECT_EQ(fitted, textInk(*roomy));

    auto locked = textItem(QStringLiteral("Locked"), { 5, 5, 150, 90 });
    locked->ctrl_is_locked = true;
    locked->makeNaturalSize();
    EXPECT_EQ(locked->bounds(), QRectF(5, 5, 150, 90));
}

TEST(TSLTextDrawing, DrawingChangesNothingStoredAndWorksOnAWorkerThread)
{
    TSLText fresh; // no text storage yet: drawing shows the seed text without making one
    fresh._bounds = QRectF(0, 0, 200, 50);
    platform::KeyedArchive before;
    fresh.encodeWithCoder(before);
    const QImage here = draw(fresh);
    EXPECT_FALSE(fresh._Text_contents);
    platform::KeyedArchive after;
    fresh.encodeWithCoder(after);
    EXPECT_EQ(after.toBytes(), before.toBytes());
    EXPECT_NE(inkBounds(here), QRect());

    QImage there;
    std::thread worker([&] { there = draw(fresh); });
    worker.join();
    EXPECT_EQ(there, here);
    keepPicture(here, QStringLiteral("text_seed"));
}

TEST(TSLTextScripting, AScriptedChangeIsOneUndoableStepNamedText)
{
    auto item = textItem(QStringLiteral("Before"));
    item->Text_contents().font = serif(9);
    RecordingObserver observer;
    item->addObserver(&observer);
    EXPECT_FALSE(item->keysForValuesToObserveForUndo().contains(QStringLiteral("undoContents")));

    item->setScriptingContents(QStringLiteral("After"));
    EXPECT_EQ(item->Text_contents().string, QStringLiteral("After"));
    EXPECT_EQ(item->Text_contents().font, serif(9)); // a plain string keeps the storage's attributes
    ASSERT_EQ(observer.keys, QStringList { QStringLiteral("undoContents") });
    EXPECT_EQ(observer.oldValues.front().value<TSLTextStorage>().string, QStringLiteral("Before"));
    EXPECT_EQ(observer.newValues.front().value<TSLTextStorage>().string, QStringLiteral("After"));
    ASSERT_EQ(observer.undoKeySets.size(), 2u); // the key is watched only while the change runs
    EXPECT_TRUE(observer.undoKeySets[0].contains(QStringLiteral("undoContents")));
    EXPECT_FALSE(observer.undoKeySets[1].contains(QStringLiteral("undoContents")));
    EXPECT_EQ(item->presentablePropertyNameForKey(QStringLiteral("undoContents")), QStringLiteral("Text"));

    // Undo puts the saved copy back, itself as a scripted change (so redo is recorded).
    item->setValueForKey(QStringLiteral("undoContents"), observer.oldValues.front());
    EXPECT_EQ(item->Text_contents().string, QStringLiteral("Before"));
    EXPECT_EQ(observer.keys.size(), 2);

    // A script that edits the returned storage in place: one change, closed on the next event-loop pass.
    observer.keys.clear();
    observer.oldValues.clear();
    observer.newValues.clear();
    item->scriptingContents().string += QStringLiteral(" and after");
    item->scriptingContents().string += QStringLiteral("!");
    EXPECT_TRUE(item->_contentsBeingChangedByScripting);
    EXPECT_TRUE(observer.keys.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_FALSE(item->_contentsBeingChangedByScripting);
    ASSERT_EQ(observer.keys.size(), 1);
    EXPECT_EQ(observer.oldValues.front().value<TSLTextStorage>().string, QStringLiteral("Before"));
    EXPECT_EQ(observer.newValues.front().value<TSLTextStorage>().string, QStringLiteral("Before and after!"));
    item->removeObserver(&observer);

    // An item that goes before the change closes is left alone.
    {
        auto shortLived = textItem(QStringLiteral("x"));
        shortLived->scriptingContents();
    }
    QCoreApplication::processEvents();

    EXPECT_EQ(TSLText::coerceValueForScriptingContents(QStringLiteral("plain")).toString(), QStringLiteral("plain"));
    EXPECT_EQ(TSLText::coerceValueForScriptingContents(42).value<TSLTextStorage>().string, QStringLiteral("42"));
}
