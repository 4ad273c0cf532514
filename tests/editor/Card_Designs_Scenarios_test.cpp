// The person's design on each card size is the document's: a card change fits place, size and letter size
// from it, undo and redo take it with the items, it is saved with the design, and what every item draws
// lies on the card after each change; driven on the real window.
#include "editor/EditorScenarioFixture.h"

#include "model/TSLBarcode_Drawing.h"
#include "output/Record_Fill.h"
#include "platform/Geometry.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>

#include <random>
#include <set>

using editorscenario::EditorScenario;

namespace {

constexpr double mmToPoints = 2.834645669291;
const QSizeF a6(148, 105), a6Upright(105, 148), cr80(85.6, 53.98), cr80Upright(53.98, 85.6);

class CardDesigns : public EditorScenario {
protected:
    // Through the card size window, as a person types a size and confirms it.
    void cardTo(const QSizeF& mm)
    {
        ui.modalRuns.push_back([mm](QDialog& dialog) {
            dialog.findChild<QDoubleSpinBox*>(QStringLiteral("width_Stepper"))->setValue(mm.width());
            dialog.findChild<QDoubleSpinBox*>(QStringLiteral("height_Stepper"))->setValue(mm.height());
            editorscenario::clickChild(dialog, "ok_btn");
            return dialog.result();
        });
        trigger(QStringLiteral("menu_Card_Wizard"));
        ASSERT_NEAR(canvas()->canvasSize().width(), mm.width() * mmToPoints, 0.05);
    }
    QSizeF card() const { return canvas()->canvasSize(); }
    std::shared_ptr<TSLText> addText(const QString& words, const QRectF& at, double points)
    {
        auto text = std::dynamic_pointer_cast<TSLText>(addWithTool(QStringLiteral("Text_Tool_btn"), at));
        canvas()->stopEditing(); // the box a new text opens with, closed before the words are set
        text->setScriptingContents(words);
        text->text_ctrl_font = QFont(text->displayedFont().family(), int(points));
        QCoreApplication::processEvents(); // a step of its own
        return text;
    }
    // What an item draws: a barcode its symbol in proportion, centred in its box; the rest their box.
    static QRectF drawn(const TSLGraphic& item)
    {
        const TSLBarcode_Drawing* drawing = item.Barcode_drawing();
        const QSizeF symbol = drawing ? drawing->size() : item._barcode_image.deviceIndependentSize();
        return item.className() == QLatin1String("TSLBarcode") && !symbol.isEmpty()
            ? platform::fittedRect(symbol, item.bounds().normalized())
            : item.bounds().normalized();
    }
    bool onCard(const TSLGraphic& item) const
    {
        return QRectF(QPointF(), card() + QSizeF(0.01, 0.01)).contains(drawn(item));
    }
    static bool over(const TSLGraphic& a, const TSLGraphic& b)
    {
        const QRectF common = drawn(a).intersected(drawn(b));
        return common.width() > 0.5 && common.height() > 0.5;
    }
    // Typed into the box on the card, as a person edits a text.
    void typeAtEnd(const TSLGraphicPtr& text, const QString& words)
    {
        canvas()->startEditingGraphic(text);
        QPlainTextEdit* box = canvas()->editingView();
        ASSERT_NE(box, nullptr);
        box->moveCursor(QTextCursor::End);
        box->insertPlainText(words);
        canvas()->stopEditing();
        QCoreApplication::processEvents();
    }
    void nudge(const TSLGraphicPtr& item, Qt::Key key, int times)
    {
        clickItem(item);
        for (int i = 0; i < times; ++i, QCoreApplication::processEvents())
            QTest::keyClick(canvas(), key);
    }
    void saveAndReopen()
    {
        const QString path = QDir(testsupport::makeTempFolder(QStringLiteral("designs"))).filePath("d.dcard");
        ui.fileAnswers = { path, path }; // Save As, then Open
        trigger(QStringLiteral("SaveAs_btn"));
        ui.messageAnswers = { platform::SaveAnswerDontSave };
        trigger(QStringLiteral("Open_btn"));
    }
    // A QR code, its symbol drawn square in the middle of a wider box.
    TSLGraphicPtr addQR(const QRectF& box)
    {
        const TSLGraphicPtr qr = addWithTool(QStringLiteral("Barcode_Tool_btn"), box);
        clickItem(qr);
        ui.modalRuns.push_back([](QDialog& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("barcodeTypePopup"))->setCurrentText(QStringLiteral("QR Code"));
            dialog.findChild<QPlainTextEdit*>(QStringLiteral("dataText_2D"))->setPlainText(QStringLiteral("RSVP Anna"));
            return 1;
        });
        click(widget<QWidget>(QStringLiteral("View_barcode_prop_btn")));
        qr->setBounds(box);
        QCoreApplication::processEvents();
        return qr;
    }
};

// Each case a person met on an A6 card: the steps on the real window, then what must hold.
class CardDesignCase : public CardDesigns, public ::testing::WithParamInterface<std::size_t> {
public:
    struct Case {
        const char* how;
        std::function<void(CardDesignCase&)> run;
    };
    static const std::vector<Case>& cases();
};

const std::vector<CardDesignCase::Case>& CardDesignCase::cases()
{
    static const std::vector<Case> all = {
        { "a QR near the edge, turned",
            [](CardDesignCase& t) {
                const TSLGraphicPtr qr = t.addQR(QRectF(325, 120, 120, 60)); // the box past the edge, the code on
                ASSERT_LT(drawn(*qr).width(), 61) << "the code is smaller than its box";
                ASSERT_TRUE(t.onCard(*qr));
                t.cardTo(a6Upright);
                EXPECT_TRUE(t.onCard(*qr)) << platform::stringFromRect(drawn(*qr)).toStdString();
                t.cardTo(cr80);
                EXPECT_TRUE(t.onCard(*qr)) << platform::stringFromRect(drawn(*qr)).toStdString();
            } },
        { "a face changed on another size",
            [](CardDesignCase& t) {
                const auto title = t.addText(QStringLiteral("Summer party"), QRectF(40, 30, 200, 40), 24);
                QFont serif(QStringLiteral("Liberation Serif"), 24);
                serif.setItalic(true);
                title->text_ctrl_font = serif;
                t.cardTo(cr80);
                QFont sans(QStringLiteral("DejaVu Sans"));
                sans.setPointSizeF(title->displayedFont().pointSizeF());
                sans.setBold(true);
                title->text_ctrl_font = sans;
                t.cardTo(a6);
                EXPECT_EQ(title->displayedFont().family(), QStringLiteral("DejaVu Sans"));
                EXPECT_TRUE(title->displayedFont().bold() && !title->displayedFont().italic());
                EXPECT_EQ(title->displayedFont().pointSizeF(), 24) << "the letters of the design on this size";
                t.cardTo(cr80);
                EXPECT_EQ(title->displayedFont().family(), QStringLiteral("DejaVu Sans"));
            } },
        { "a text lengthened on CR80, then A6",
            [](CardDesignCase& t) {
                const auto title = t.addText(QStringLiteral("Summer party"), QRectF(40, 20, 300, 40), 24);
                const auto body = t.addText(QStringLiteral("Come and dance"), QRectF(40, 120, 300, 30), 16);
                const auto below = t.addText(QStringLiteral("Garden gate"), QRectF(40, 160, 300, 30), 16);
                const auto rsvp = t.addText(QStringLiteral("RSVP"), QRectF(40, 255, 300, 30), 16);
                t.cardTo(cr80);
                t.typeAtEnd(body,
                    QStringLiteral(" under the old lime trees until the morning comes, with music, a fire, "
                                   "lanterns in the branches and a long table of summer food"));
                t.typeAtEnd(rsvp,
                    QStringLiteral(
                        " to Anna and Ben by the first of June, with your song wish and who comes with you"));
                t.cardTo(a6);
                for (const auto& text : { title, body, below, rsvp }) {
                    EXPECT_TRUE(t.onCard(*text)) << text->displayedText().toStdString();
                    EXPECT_FALSE(text->textIsCut(QRectF(QPointF(), t.card()))) << text->displayedText().toStdString();
                    for (const auto& other : { title, body, below, rsvp })
                        EXPECT_TRUE(text == other || !over(*text, *other)) << text->displayedText().toStdString();
                }
            } },
        { "move, undo, revisit",
            [](CardDesignCase& t) {
                const auto title = t.addText(QStringLiteral("Summer party"), QRectF(40, 20, 300, 40), 24);
                const TSLGraphicPtr frame = t.addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(60, 180, 90, 60));
                t.cardTo(cr80);
                const QRectF fitted = frame->bounds();
                t.dragOnCanvas(frame->bounds().center(), title->bounds().center());
                ASSERT_TRUE(over(*frame, *title));
                t.cardTo(a6);
                t.trigger(QStringLiteral("menu_Undo")); // the card
                t.trigger(QStringLiteral("menu_Undo")); // the drag
                ASSERT_FALSE(over(*frame, *title));
                t.cardTo(a6);
                t.cardTo(cr80);
                EXPECT_FALSE(over(*frame, *title));
                EXPECT_EQ(frame->bounds(), fitted) << "the drag undone is no design";
            } },
        { "front undo, back nudge, front redo",
            [](CardDesignCase& t) {
                t.addText(QStringLiteral("Summer party"), QRectF(40, 20, 300, 40), 24);
                t.click(t.widget<QWidget>(QStringLiteral("Back_Side_btn")));
                const auto note = t.addText(QStringLiteral("Map on the back"), QRectF(240, 200, 170, 30), 16);
                t.click(t.widget<QWidget>(QStringLiteral("Front_Card_btn")));
                t.cardTo(cr80);
                t.trigger(QStringLiteral("menu_Undo"));
                t.click(t.widget<QWidget>(QStringLiteral("Back_Side_btn")));
                t.nudge(note, Qt::Key_Right, 1);
                t.click(t.widget<QWidget>(QStringLiteral("Front_Card_btn")));
                t.trigger(QStringLiteral("menu_Redo"));
                EXPECT_TRUE(t.onCard(*note)) << platform::stringFromRect(note->bounds()).toStdString();
                t.trigger(QStringLiteral("menu_Undo"));
                EXPECT_EQ(note->bounds().topLeft(), QPointF(241, 200)) << "the nudge stays on the first card";
            } },
        { "saved on CR80, reopened, back to A6",
            [](CardDesignCase& t) {
                for (int line = 0; line < 5; ++line)
                    t.addText(QStringLiteral("Line %1 of the invitation to our party").arg(line),
                        QRectF(30, 20 + 50 * line, 360, 40), 20);
                const auto before = t.layoutOfBothSides();
                t.cardTo(cr80);
                ASSERT_LT(t.window->Get_Front_Controls_Array().front()->text_ctrl_font->pointSizeF(), 20);
                t.saveAndReopen();
                t.cardTo(a6);
                const TSLGraphicList& items = t.window->Get_Front_Controls_Array();
                ASSERT_EQ(items.size(), before.size());
                for (std::size_t i = 0; i < items.size(); ++i) {
                    EXPECT_EQ(items[i]->text_ctrl_font->pointSizeF(), 20) << i;
                    EXPECT_EQ(items[i]->bounds(), before[i].at) << i;
                }
            } },
        { "a tall text turned",
            [](CardDesignCase& t) {
                t.cardTo(a6Upright);
                QString words;
                for (int line = 0; line < 18; ++line)
                    words += QStringLiteral("Dancing %1 ").arg(line);
                const auto tall = t.addText(words, QRectF(90, 20, 110, 30), 17);
                tall->setBounds(QRectF(90, 20, 110, tall->naturalSize().height())); // as typed in a narrow box
                ASSERT_GT(tall->bounds().height(), 300) << "deeper than the turned card";
                t.cardTo(a6);
                EXPECT_EQ(tall->displayedFont().pointSizeF(), 17) << "letters kept where the card has room";
                EXPECT_TRUE(t.onCard(*tall));
                EXPECT_FALSE(tall->textIsCut(QRectF(QPointF(), t.card())));
            } },
    };
    return all;
}

TEST_P(CardDesignCase, ACardChangeFitsOnlyPlaceSizeAndLettersFromTheDesignKeptWithTheDocument)
{
    startEmpty();
    cardTo(a6);
    cases()[GetParam()].run(*this);
}

INSTANTIATE_TEST_SUITE_P(PersonsCases, CardDesignCase, ::testing::Range(std::size_t(0), CardDesignCase::cases().size()),
    [](const ::testing::TestParamInfo<std::size_t>& info) {
        std::string name = CardDesignCase::cases()[info.param].how;
        std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
        return name;
    });

// People change cards, nudge, add, type, undo and redo in any order: after every card change each item draws
// on the card, over none it was clear of, unless the card was said too small or the text is named as cut; undo
// and redo bring back only what was.
TEST_F(CardDesigns, ARandomRunOfChangesLeavesNoItemOverAnotherOrOffTheCardUnsaid)
{
    startEmpty();
    cardTo(a6);
    TSLGraphicList texts;
    for (int line = 0; line < 3; ++line)
        texts.push_back(addText(QStringLiteral("Line %1").arg(line), QRectF(30, 20 + 45 * line, 150, 30), 16));
    addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(260, 30, 80, 50));
    addQR(QRectF(250, 170, 120, 60));
    const QSizeF sizes[] = { a6, a6Upright, cr80, cr80Upright, QSizeF(127, 88.9) };
    std::mt19937 random(20261209);
    const auto pick = [&random](int count) { return int(random() % unsigned(count)); };
    const TSLGraphicList& items = window->Get_Front_Controls_Array();
    using Pairs = std::set<std::pair<const TSLGraphic*, const TSLGraphic*>>;
    const auto overlapping = [&items] {
        Pairs pairs;
        for (const TSLGraphicPtr& a : items)
            for (const TSLGraphicPtr& b : items)
                if (a.get() < b.get() && over(*a, *b))
                    pairs.insert({ a.get(), b.get() });
        return pairs;
    };
    Pairs seen; // every pair a person's typing left over each other
    int redosToRejected = 0; // a move or addition taken back here is never redone: the redos until it, 0 for none
    for (int step = 0; step < 150; ++step) {
        ui.messages.clear();
        const Pairs before = overlapping();
        const int what = pick(6);
        std::string did;
        if (what == 0) {
            const QSizeF size = sizes[pick(5)];
            did = "card " + std::to_string(size.width()) + " x " + std::to_string(size.height());
            cardTo(size);
            redosToRejected = 0;
        } else if (what == 3) {
            const TSLGraphicPtr& text = texts[std::size_t(pick(int(texts.size())))];
            if (static_cast<const TSLText&>(*text).displayedText().size() < 48) { // a line or two, as on a card
                did = "type";
                typeAtEnd(text, QStringLiteral(" and more words"));
                const Pairs now = overlapping();
                seen.insert(now.begin(), now.end());
                redosToRejected = 0;
            }
        } else if (what <= 2) { // taken back when it put one item over another or off the card
            if (what == 1) {
                did = "nudge";
                const Qt::Key keys[] = { Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down };
                nudge(items[std::size_t(pick(int(items.size())))], keys[pick(4)], 1 + pick(4));
            } else if (items.size() < 8) {
                did = "add";
                addWithTool(QStringLiteral("Rect_Tool_btn"),
                    QRectF(pick(int(card().width()) - 30), pick(int(card().height()) - 20), 24, 16));
            }
            redosToRejected = did.empty() ? redosToRejected : 0;
            const bool onTheCard
                = std::all_of(items.begin(), items.end(), [this](const auto& i) { return onCard(*i); });
            if (!did.empty() && (overlapping() != before || !onTheCard)
                && action(QStringLiteral("menu_Undo"))->isEnabled()) {
                trigger(QStringLiteral("menu_Undo"));
                redosToRejected = 1;
            }
        } else if (const QString command = what == 4 ? QStringLiteral("menu_Undo") : QStringLiteral("menu_Redo");
                   action(command)->isEnabled() && (what == 4 || redosToRejected != 1)) {
            did = command.toStdString();
            trigger(command);
            if (redosToRejected > 0)
                redosToRejected += what == 4 ? 1 : -1;
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + did);
        const bool saidTooSmall
            = editortest::messageTexts(ui).join(QLatin1Char(' ')).contains(QLatin1String("too small"));
        const QStringList named = Record_Fill::textsCut(items, QRectF(QPointF(), card()), nullptr);
        for (const TSLGraphicPtr& item : items)
            EXPECT_TRUE(onCard(*item) || saidTooSmall || named.contains(Record_Fill::itemName(*item, nullptr)))
                << item->className().toStdString() << " " << platform::stringFromRect(item->bounds()).toStdString();
        for (const auto& pair : overlapping())
            EXPECT_TRUE(
                saidTooSmall || (what == 0 ? before.contains(pair) : seen.contains(pair) || before.contains(pair)))
                << pair.first->className().toStdString() << " over " << pair.second->className().toStdString();
        if (HasFailure())
            return;
    }
}

} // namespace
