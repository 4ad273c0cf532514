// The person's design on each card size is the document's: a card change fits place, size and letter size from
// it, undo and redo take it with the items, it is saved, and what each item draws lies on the card.
#include "editor/EditorScenarioFixture.h"

#include "output/Record_Fill.h"
#include "platform/Geometry.h"

#include <QDir>
#include <QPlainTextEdit>

#include <array>
#include <random>
#include <set>

namespace {

const QSizeF a6(148, 105), a6Upright(105, 148), cr80(85.6, 53.98), cr80Upright(53.98, 85.6);

class CardDesigns : public editorscenario::EditorScenario {
protected:
    void SetUp() override
    {
        EditorScenario::SetUp();
        startEmpty();
        cardTo(a6);
    }
    void cardTo(const QSizeF& mm) // typed into the card size window and confirmed
    {
        ui.modalRuns.push_back([mm](QDialog& dialog) {
            dialog.findChild<QDoubleSpinBox*>(QStringLiteral("width_Stepper"))->setValue(mm.width());
            dialog.findChild<QDoubleSpinBox*>(QStringLiteral("height_Stepper"))->setValue(mm.height());
            editorscenario::clickChild(dialog, "ok_btn");
            return dialog.result();
        });
        trigger(QStringLiteral("menu_Card_Wizard"));
    }
    QRectF card() const { return QRectF(QPointF(), canvas()->canvasSize()); }
    std::shared_ptr<TSLText> addText(const QString& words, const QRectF& at, int points)
    {
        auto text = std::dynamic_pointer_cast<TSLText>(addWithTool(QStringLiteral("Text_Tool_btn"), at));
        canvas()->stopEditing(); // the box a new text opens with
        text->setScriptingContents(words);
        text->text_ctrl_font = QFont(text->displayedFont().family(), points);
        QCoreApplication::processEvents(); // a step of its own
        return text;
    }
    // What an item draws: a barcode its symbol in proportion, centred in its box; the rest their box.
    static QRectF drawn(const TSLGraphic& item)
    {
        const QSizeF symbol = item._barcode_image.deviceIndependentSize();
        const bool code = item.className() == QLatin1String("TSLBarcode") && !symbol.isEmpty();
        return code ? platform::fittedRect(symbol, item.bounds().normalized()) : item.bounds().normalized();
    }
    bool onCard(const TSLGraphic& item) const { return card().adjusted(0, 0, 0.01, 0.01).contains(drawn(item)); }
    static bool over(const TSLGraphic& a, const TSLGraphic& b)
    {
        const QRectF common = drawn(a).intersected(drawn(b));
        return common.width() > 0.5 && common.height() > 0.5;
    }
    void typeAtEnd(const TSLGraphicPtr& text, const QString& words) // in the box on the card
    {
        canvas()->startEditingGraphic(text);
        canvas()->editingView()->moveCursor(QTextCursor::End);
        canvas()->editingView()->insertPlainText(words);
        canvas()->stopEditing();
    }
    void nudge(const TSLGraphicPtr& item, Qt::Key key, int times)
    {
        clickItem(item);
        for (int i = 0; i < times; ++i, QCoreApplication::processEvents())
            QTest::keyClick(canvas(), key);
    }
    void show(const char* side) { click(widget<QWidget>(QLatin1String(side))); }
    TSLGraphicPtr addQR(const QRectF& box) // as a design file brings it back: a square symbol in a wider box
    {
        const TSLGraphicPtr qr = addWithTool(QStringLiteral("Barcode_Tool_btn"), box);
        QImage symbol(210, 210, QImage::Format_Mono);
        symbol.fill(1);
        qr->Set_Barcode_image(symbol);
        return qr;
    }
};

TEST_F(CardDesigns, QRNearTheEdgeTurned)
{
    const TSLGraphicPtr qr = addQR(QRectF(325, 120, 120, 60)); // the box past the edge, the code on
    ASSERT_TRUE(drawn(*qr).width() < 61 && onCard(*qr));
    for (const QSizeF& size : { a6Upright, cr80 }) {
        cardTo(size);
        EXPECT_TRUE(onCard(*qr)) << platform::stringFromRect(drawn(*qr)).toStdString();
    }
}

TEST_F(CardDesigns, TextLengthenedOnCR80ThenA6)
{
    const TSLGraphicList texts = { addText(QStringLiteral("Summer party"), QRectF(40, 20, 300, 40), 24),
        addText(QStringLiteral("Come and dance"), QRectF(40, 120, 300, 30), 16),
        addText(QStringLiteral("Garden gate"), QRectF(40, 160, 300, 30), 16),
        addText(QStringLiteral("RSVP"), QRectF(40, 255, 300, 30), 16) };
    cardTo(cr80);
    for (const TSLGraphicPtr& lengthened : { texts[1], texts[3] })
        typeAtEnd(lengthened,
            QStringLiteral(" under the old lime trees until the morning comes, with music, a "
                           "fire, lanterns in the branches and a long table of summer food"));
    cardTo(a6);
    for (const TSLGraphicPtr& text : texts) {
        EXPECT_TRUE(onCard(*text) && !static_cast<TSLText&>(*text).textIsCut(card()));
        EXPECT_EQ(std::ranges::count_if(texts, [&](const auto& other) { return over(*text, *other); }), 1);
    }
}

TEST_F(CardDesigns, MoveUndoRevisit)
{
    const auto title = addText(QStringLiteral("Summer party"), QRectF(40, 20, 300, 40), 24);
    const TSLGraphicPtr frame = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(60, 180, 90, 60));
    cardTo(cr80);
    const QRectF fitted = frame->bounds();
    dragOnCanvas(frame->bounds().center(), title->bounds().center());
    cardTo(a6);
    trigger(QStringLiteral("menu_Undo")), trigger(QStringLiteral("menu_Undo")); // the card, the drag
    cardTo(a6), cardTo(cr80);
    EXPECT_EQ(frame->bounds(), fitted) << "the drag undone is no design";
}

TEST_F(CardDesigns, FrontUndoBackNudgeFrontRedo)
{
    show("Back_Side_btn");
    const auto note = addText(QStringLiteral("Map on the back"), QRectF(240, 200, 170, 30), 16);
    show("Front_Card_btn");
    cardTo(cr80);
    trigger(QStringLiteral("menu_Undo"));
    show("Back_Side_btn"), nudge(note, Qt::Key_Right, 1), show("Front_Card_btn");
    trigger(QStringLiteral("menu_Redo"));
    EXPECT_TRUE(onCard(*note)) << platform::stringFromRect(note->bounds()).toStdString();
    trigger(QStringLiteral("menu_Undo"));
    EXPECT_EQ(note->bounds().topLeft(), QPointF(241, 200)) << "the nudge stays on the first card";
}

TEST_F(CardDesigns, FaceChangedOnCR80SavedReopenedBackToA6)
{
    for (int line = 0; line < 5; ++line)
        addText(QStringLiteral("Line %1 of the invitation to our party").arg(line), QRectF(30, 20 + 50 * line, 360, 40),
            20);
    const auto before = layoutOfBothSides();
    const TSLGraphicPtr title = window->Get_Front_Controls_Array().front();
    title->text_ctrl_font->setItalic(true); // Italic on A6, Bold on CR80
    cardTo(cr80);
    ASSERT_LT(title->text_ctrl_font->pointSizeF(), 20);
    title->text_ctrl_font->setItalic(false), title->text_ctrl_font->setBold(true);
    const QString path = QDir(testsupport::makeTempFolder(QStringLiteral("designs"))).filePath("d.dcard");
    ui.fileAnswers = { path, path }; // Save As, then Open
    ui.messageAnswers = { platform::SaveAnswerDontSave };
    trigger(QStringLiteral("SaveAs_btn")), trigger(QStringLiteral("Open_btn")), cardTo(a6);
    for (std::size_t i = 0; i < before.size(); ++i) {
        const TSLGraphicPtr& item = window->Get_Front_Controls_Array().at(i);
        EXPECT_TRUE(item->text_ctrl_font->pointSizeF() == 20 && item->bounds() == before[i].at) << i;
        EXPECT_TRUE(item->text_ctrl_font->bold() == (i == 0) && !item->text_ctrl_font->italic()) << "its own face";
    }
}

TEST_F(CardDesigns, TallTextTurned)
{
    cardTo(a6Upright);
    QString words;
    for (int line = 0; line < 18; ++line)
        words += QStringLiteral("Dancing %1 ").arg(line);
    const auto tall = addText(words, QRectF(90, 20, 110, 30), 17);
    tall->setBounds(QRectF(90, 20, 110, tall->naturalSize().height())); // typed in a narrow box
    ASSERT_GT(tall->bounds().height(), 300) << "deeper than the turned card";
    cardTo(a6);
    EXPECT_EQ(tall->displayedFont().pointSizeF(), 17) << "letters kept where the card has room";
    EXPECT_TRUE(onCard(*tall) && !tall->textIsCut(card()));
}

TEST_F(CardDesigns, ARandomRunLeavesNoItemOverAnotherOrOffTheCardUnsaid)
{
    TSLGraphicList texts;
    for (int line = 0; line < 3; ++line)
        texts.push_back(addText(QStringLiteral("Line %1").arg(line), QRectF(30, 20 + 45 * line, 150, 30), 16));
    addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(260, 30, 80, 50));
    addQR(QRectF(250, 170, 120, 60));
    document.undoManager().removeAllActions(); // the design the run starts from, as opened
    const QSizeF sizes[] = { a6, a6Upright, cr80, cr80Upright, QSizeF(127, 88.9) };
    std::mt19937 random(20261209);
    const auto pick = [&random](std::size_t count) { return std::size_t(random() % count); };
    const TSLGraphicList& items = window->Get_Front_Controls_Array();
    using Pairs = std::set<std::pair<const TSLGraphic*, const TSLGraphic*>>;
    const auto overlapping = [&items] {
        Pairs pairs;
        for (const TSLGraphicPtr& a : items)
            for (const TSLGraphicPtr& b : items)
                a.get() < b.get() && over(*a, *b) ? void(pairs.insert({ a.get(), b.get() })) : void();
        return pairs;
    };
    Pairs seen; // pairs that were over each other, which undo or redo may bring back
    int redosToTakenBack = 0; // a move or addition taken back is never redone: the redos until it, 0 for none
    for (int step = 0; step < 150; ++step) {
        ui.messages.clear();
        const Pairs before = overlapping();
        const std::size_t what = pick(6);
        const QString command = what == 4 ? QStringLiteral("menu_Undo") : QStringLiteral("menu_Redo");
        const bool shortText = static_cast<const TSLText&>(*texts[step % 3]).displayedText().size() < 48; // a line
        if (what == 0) {
            cardTo(sizes[pick(5)]);
        } else if (what == 1 || (what == 2 && items.size() < 8) || (what == 3 && shortText)) {
            if (what == 1)
                nudge(items[pick(items.size())],
                    std::array { Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down }[pick(4)], 3);
            else if (what == 2)
                addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(pick(330), pick(230), 24, 16));
            else
                typeAtEnd(texts[step % 3], QStringLiteral(" and more words"));
            redosToTakenBack = 0; // typing may put one text over another; a move or addition is taken back
            const bool off = !std::ranges::all_of(items, [this](const auto& i) { return onCard(*i); });
            if (what != 3 && (overlapping() != before || off))
                trigger(QStringLiteral("menu_Undo")), redosToTakenBack = 1;
        } else if (what >= 4 && action(command)->isEnabled() && (what == 4 || redosToTakenBack != 1)) {
            trigger(command);
            redosToTakenBack += redosToTakenBack > 0 ? (what == 4 ? 1 : -1) : 0;
        }
        SCOPED_TRACE("step " + std::to_string(step) + ", " + std::to_string(what));
        const bool said = editortest::messageTexts(ui).join(QLatin1Char(' ')).contains(QLatin1String("too small"));
        const QStringList named = Record_Fill::textsCut(items, card(), nullptr);
        for (const TSLGraphicPtr& item : items)
            EXPECT_TRUE(onCard(*item) || said || named.contains(Record_Fill::itemName(*item, nullptr)));
        for (const auto& pair : overlapping())
            EXPECT_TRUE(said || before.contains(pair) || (what != 0 && (what == 3 || seen.contains(pair))));
        seen.merge(overlapping());
        ASSERT_FALSE(HasFailure()) << "the run stops at its first fault";
    }
}

} // namespace
