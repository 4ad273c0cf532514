// No click loses work: the save question before a design is replaced or the program ends, undo on the side
// shown, the card size window, the backgrounds strip, items kept on the card and the scratch side, each
// driven on the real window with the mouse and keys.
#include "editor/EditorScenarioFixture.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "output/Record_Fill.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest/qtestspontaneevent.h>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using editorscenario::EditorScenario;

namespace {

struct ReplacingCommand {
    const char* action;
    const char* question;
};

const ReplacingCommand replacingCommands[] = {
    { "Exit_btn", "Do you want to save changes before closing?" },
    { "New_btn", "Do you want to save changes before opening new document?" },
    { "Open_btn", "Do you want to save changes before opening document?" },
    { "menu_New_From_Template", "Do you want to save changes before opening new document?" },
};

struct SideRow {
    const char* button; // the side bar's button
    const char* key; // the document list the side shows
    const char* other; // the other printable side's list
};

const SideRow printableSides[] = {
    { "Front_Card_btn", "graphics", "graphics_back" },
    { "Back_Side_btn", "graphics_back", "graphics" },
};

// At least a little of the item (all of a small one) lies on the card.
bool partlyOnCard(const QRectF& item, const QSizeF& card)
{
    const QRectF b = item.normalized();
    const double keptX = std::min(12.0, b.width()) - 0.01;
    const double keptY = std::min(12.0, b.height()) - 0.01;
    return b.right() >= keptX && b.left() <= card.width() - keptX && b.bottom() >= keptY
        && b.top() <= card.height() - keptY;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The save question

TEST_F(EditorScenario, CancelAtTheSaveQuestionKeepsTheDesignForEveryCommandThatReplacesIt)
{
    // The card the wizard made, untouched, is as much to be kept as one drawn by hand.
    startWithWizard();
    ASSERT_TRUE(window->isWindowModified());
    const TSLGraphicList wizardCard = window->Get_Front_Controls_Array();
    ASSERT_FALSE(wizardCard.empty());
    for (const bool drawn : { false, true }) {
        TSLGraphicList design = wizardCard;
        if (drawn)
            design.push_back(addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(20, 20, 60, 40)));
        for (const ReplacingCommand& command : replacingCommands) {
            SCOPED_TRACE(std::string(command.action) + (drawn ? " after drawing" : " on the wizard's card"));
            ui.messages.clear();
            ui.dialogsRun.clear();
            ui.fileRequests.clear();
            ui.messageAnswers = { platform::SaveAnswerCancel };
            trigger(QLatin1String(command.action));
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].kind, platform::MessageRequest::Kind::SaveQuestion);
            EXPECT_EQ(ui.messages[0].text, QLatin1String(command.question));
            EXPECT_FALSE(window->hasEnded());
            EXPECT_TRUE(ui.dialogsRun.empty()) << "no gallery, start screen or review after Cancel";
            EXPECT_TRUE(ui.fileRequests.empty()) << "no file panel after Cancel";
            const TSLGraphicList& now = window->Get_Front_Controls_Array();
            EXPECT_TRUE(std::is_permutation(now.begin(), now.end(), design.begin(), design.end()));
        }
    }
    // Don't Save goes on: New from Template opens the gallery.
    ui.messageAnswers = { platform::SaveAnswerDontSave };
    trigger(QStringLiteral("menu_New_From_Template"));
    EXPECT_EQ(ui.dialogsRun.size(), 1u);
}

TEST_F(EditorScenario, EscapeAndClosingTheSaveQuestionAnswerCancel)
{
    const struct {
        const char* how;
        std::function<void(QMessageBox&)> answer;
        int expected;
    } rows[] = {
        { "Escape", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, platform::SaveAnswerCancel },
        { "close", [](QMessageBox& box) { box.close(); }, platform::SaveAnswerCancel },
        { "Enter", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, platform::SaveAnswerSave },
        { "Don't Save", [](QMessageBox& box) { box.button(QMessageBox::Discard)->click(); },
            platform::SaveAnswerDontSave },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        const std::unique_ptr<QMessageBox> box = platform::makeSaveQuestionBox(QStringLiteral("Save?"));
        EXPECT_EQ(box->button(QMessageBox::Discard)->text(), QStringLiteral("Don't Save"));
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
        row.answer(*box);
        QCoreApplication::processEvents();
        EXPECT_FALSE(box->isVisible());
        EXPECT_EQ(platform::saveAnswerOf(*box), row.expected);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Undo on the side shown

class WorkKept : public EditorScenario {
protected:
    void showSide(const char* button) { click(widget<QWidget>(QLatin1String(button))); }
    void pressKeys(Qt::Key key, int times) // each press an event of its own
    {
        for (int i = 0; i < times; ++i, QCoreApplication::processEvents())
            QTest::keyClick(canvas(), key);
    }
    // The step on top undoes and redoes under its own name.
    void undoesAs(const QString& name)
    {
        EXPECT_EQ(undoTitle(), QStringLiteral("Undo ") + name);
        trigger(QStringLiteral("menu_Undo"));
        EXPECT_EQ(redoTitle(), QStringLiteral("Redo ") + name);
        trigger(QStringLiteral("menu_Redo"));
    }
    const TSLGraphicList& listOf(const char* key) const { return document.graphicsForKey(QLatin1String(key)); }
    Card_Property& recordOf(const char* key) const
    {
        return QLatin1String(key) == TSLDocumentGraphicsKey_back ? window->Back_card_Prop : window->Front_card_Prop;
    }
    // The keys as a person presses them, with the window active so that its shortcuts answer.
    void press(const QKeySequence& keys)
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keySequence(window.get(), keys);
        QCoreApplication::processEvents();
    }
};

TEST_F(WorkKept, UndoAndRedoActOnTheSideShownForItemsAndTheCardPage)
{
    startEmpty();
    for (const SideRow& side : printableSides) {
        SCOPED_TRACE(side.key);
        showSide(side.button);
        const TSLGraphicList other = listOf(side.other);
        QWidget* shownView = window->myTargetView->currentWidget();

        // Create: one step, named.
        const TSLGraphicPtr shape = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(30, 30, 60, 40));
        ASSERT_TRUE(shape);
        ASSERT_EQ(listOf(side.key), TSLGraphicList { shape });

        // Move with the mouse; Ctrl+Z takes it back on this side, Ctrl+Shift+Z repeats it.
        dragOnCanvas(QPointF(60, 50), QPointF(100, 70));
        const QRectF moved = shape->bounds();
        ASSERT_NE(moved, QRectF(30, 30, 60, 40));
        EXPECT_EQ(undoTitle(), QStringLiteral("Undo Move"));
        press(QKeySequence(Qt::CTRL | Qt::Key_Z));
        EXPECT_EQ(shape->bounds(), QRectF(30, 30, 60, 40));
        EXPECT_EQ(window->myTargetView->currentWidget(), shownView) << "undo stays on the side shown";
        press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        EXPECT_EQ(shape->bounds(), moved);

        // Delete: the very item comes back.
        clickItem(shape);
        QTest::keyClick(canvas(), Qt::Key_Delete);
        QCoreApplication::processEvents();
        EXPECT_TRUE(listOf(side.key).empty());
        EXPECT_EQ(undoTitle(), QStringLiteral("Undo Delete Shape"));
        trigger(QStringLiteral("menu_Undo"));
        EXPECT_EQ(listOf(side.key), TSLGraphicList { shape });
        EXPECT_EQ(canvas()->selectedGraphics(), TSLGraphicList { shape });
        EXPECT_EQ(currentPageName(), QStringLiteral("shape_tab")) << "the inspector shows what is selected";

        // The card page: the border of this side.
        clickCanvas(QPointF(2, canvas()->canvasSize().height() - 2));
        Card_Property& record = recordOf(side.key);
        const bool border = record.Card_border_chk();
        showPage(QStringLiteral("card_brdr_tab"));
        tick(widget<QCheckBox>(QStringLiteral("Card_border_chk")));
        ASSERT_NE(record.Card_border_chk(), border);
        trigger(QStringLiteral("menu_Undo"));
        EXPECT_EQ(record.Card_border_chk(), border);

        // Back to before the item was made; the other side was never touched.
        while (action(QStringLiteral("menu_Undo"))->isEnabled())
            trigger(QStringLiteral("menu_Undo"));
        EXPECT_TRUE(listOf(side.key).empty());
        EXPECT_EQ(listOf(side.other), other);
        trigger(QStringLiteral("menu_Redo"));
        EXPECT_EQ(listOf(side.key), TSLGraphicList { shape });
    }

    // A card narrowed on one side moves the other's item: undone there, it leaves the first side's steps too.
    for (const SideRow& side : printableSides) {
        const char* otherButton = printableSides[side.key == printableSides[0].key ? 1 : 0].button;
        showSide(otherButton);
        const TSLGraphicPtr far = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(180, 100, 40, 30));
        showSide(side.button);
        typeInto(window->width_Stepper, QStringLiteral("50"));
        showSide(otherButton);
        trigger(QStringLiteral("menu_Undo"));
        EXPECT_EQ(far->bounds(), QRectF(180, 100, 40, 30)) << side.key;
        showSide(side.button);
        EXPECT_NE(undoTitle(), QStringLiteral("Undo Card Size")) << side.key;
        for (const char* on : { side.button, otherButton, side.button, otherButton }) {
            showSide(on);
            trigger(QStringLiteral("menu_Redo"));
            EXPECT_NE(far->bounds(), QRectF(180, 100, 40, 30)) << side.key << on;
            showSide(on == side.button ? otherButton : side.button);
            EXPECT_EQ(undoTitle(), QStringLiteral("Undo Card Size")) << side.key << on;
            trigger(QStringLiteral("menu_Undo"));
            EXPECT_EQ(far->bounds(), QRectF(180, 100, 40, 30)) << side.key << on;
        }
    }

    // The wheel scrolls the inspector past a box without the focus; the sides choice so made is one step.
    showSide("Front_Card_btn");
    showPage(QStringLiteral("card_setting_tab"));
    window->resize(window->width(), window->minimumSizeHint().height());
    QScrollBar* inspector = window->findChild<QScrollArea*>(QStringLiteral("sett_tab_scroll"))->verticalScrollBar();
    ASSERT_TRUE(QTest::qWaitFor([inspector] { return inspector->maximum() > 0; })) << "the inspector scrolls";
    const std::pair<QComboBox*, bool> wheels[] // the box under the wheel, and whether it has the focus
        = { { window->Preset_ComboBox, false }, { window->Sides_ComboBox, false }, { window->Sides_ComboBox, true } };
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (const auto& [box, focused] : wheels) {
        inspector->setValue(0);
        (focused ? static_cast<QWidget*>(box) : canvas())->setFocus(Qt::TabFocusReason);
        const QPointF at = box->rect().center();
        QWheelEvent notch(at, box->mapToGlobal(at), {}, { 0, -120 }, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&notch); // as the window system delivers it, free to go on to the parent
        QApplication::instance()->notify(box, &notch);
        QCoreApplication::processEvents();
        EXPECT_EQ(std::pair(box->currentIndex(), inspector->value() > 0), std::pair(focused ? 1 : 0, !focused))
            << box->objectName().toStdString() << focused; // the box's choice, and whether the inspector scrolled
    }
    EXPECT_FALSE(window->Back_Side_btn->isEnabled());
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Card Sides"));
    trigger(QStringLiteral("menu_Undo"));
    EXPECT_EQ(window->Sides_ComboBox->currentIndex(), 0);
    EXPECT_TRUE(window->Back_Side_btn->isEnabled());
}

// ---------------------------------------------------------------------------------------------------------
// The card size and shape window

TEST_F(WorkKept, CardSizeWindowOpensOnTheCardAndItsChangeIsOneUndoStep)
{
    startEmpty();
    showPage(QStringLiteral("card_setting_tab"));
    // A typed size turns the orientation (1 vertical) and marks its row of the size list (-1 none) at once.
    const std::tuple<const char*, const char*, int, int> typed[]
        = { { "50", "54.1", 1, -1 }, { "54.1", "85.6", 1, 0 }, { "148", "105", 0, -1 } };
    for (const auto& [width, height, orientation, row] : typed) {
        typeInto(window->width_Stepper, QLatin1String(width));
        typeInto(window->height_Stepper, QLatin1String(height));
        EXPECT_EQ(window->Preset_ComboBox->currentIndex(), orientation) << width;
        const QList<QTableWidgetSelectionRange> marked = window->ColList->selectedRanges();
        EXPECT_EQ(marked.isEmpty() ? -1 : marked.first().topRow(), row) << width;
    }
    tick(window->matrix_card_shape->button(2));
    const QSizeF card = window->frontCanvasBounds().size();
    ASSERT_NEAR(card.width(), 148 * 2.834645669291, 0.01);
    ASSERT_EQ(Card_Shape, 2);
    const TSLGraphicPtr shape = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(300, 200, 60, 40));
    for (const double left : { 40.0, 219.0 }) // two barcodes side by side, meeting at an edge
        addWithTool(QStringLiteral("Barcode_Tool_btn"), QRectF(left, 120, 180, 50));

    TSLText probe; // a card as wide as one word at 17 pt and a little more: narrower than that and its margins
    probe.text_ctrl_font = QFont(probe.displayedFont().family(), 17);
    const auto word = tsltextlayout::layoutText(
        QStringLiteral("Sommernachtsfest"), probe.displayedFont(), probe.text_kerning, probe.text_alignmnet, 1e6);
    const double wordWide = (std::ceil(tsltextlayout::usedSize(*word).width()) + 2) / 2.834645669291;
    // What the window shows on opening, and what each way of closing it leaves.
    const struct {
        const char* how;
        int row; // size list row clicked, -1 none
        int outline; // outline clicked, -1 none
        QSizeF typed; // mm typed into the window, none when empty
        const char* button;
        double width; // card width in mm afterwards
        int shapeAfter;
        std::vector<const char*> texts = {}; // at 17 pt, on the card for this run only
        bool lettersKept = false; // the texts wrap where they may in their own letters
        std::function<void(const TSLGraphicList& texts)> between = {}; // a change made on the changed card
        std::vector<QSizeF> then = {}; // sizes typed after it, the last the card first changed from or to
        const char* tooSmallFor = ""; // the text the card is too small for, named in the message and cut
    } runs[] = {
        { "OK at once keeps the card", -1, -1, {}, "ok_btn", 148, 2 },
        { "Cancel changes nothing", 0, 0, {}, "cancel_btn", 148, 2 },
        { "60 x 40 keeps the barcodes apart", -1, -1, { 60, 40 }, "ok_btn", 60, 2 },
        { "20 x 40 breaks no word", -1, -1, { 20, 40 }, "ok_btn", 20, 2, { "Guest pass", "Table 7" } },
        { "a card one word wide", -1, -1, { wordWide, 105 }, "ok_btn", wordWide, 2,
            { "Sommernachtsfest im Garten, bei Anna und Ben, mit Musik und Tanz" }, true },
        { "turned, Japanese wraps", -1, -1, { 105, 148 }, "ok_btn", 105, 2,
            { "\u304A\u8A95\u751F\u65E5\u304A\u3081\u3067\u3068\u3046\u3054\u3056\u3044\u307E\u3059\u3002"
              "\u7D20\u6575\u306A\u4E00\u5E74\u3092" },
            true },
        { "20 x 40 is too small for a longer word", -1, -1, { 20, 40 }, "ok_btn", 20, 2,
            { "Donaudampfschifffahrtskapit\u00E4n" }, false, {}, {}, "text \"Donaudampfschifffahrtska\u2026\"" },
        { "CR80, a text nudged, back", -1, -1, { 85.6, 53.98 }, "ok_btn", 85.6, 2, { "Guest pass" }, false,
            [this](const TSLGraphicList& texts) { clickItem(texts[0]), pressKeys(Qt::Key_Right, 1); },
            { { 148, 105 } } },
        { "upright CR80, turned with room", -1, -1, { 53.98, 85.6 }, "ok_btn", 53.98, 2,
            { "Hochzeitseinladungskarte f\u00FCr Anna und Ben" }, true, {}, { { 85.6, 53.98 } } },
        { "CR80, the shape moved, turned, back", -1, -1, { 85.6, 53.98 }, "ok_btn", 85.6, 2, {}, false,
            [this](const TSLGraphicList&) { clickItem(canvas()->graphics().back()), pressKeys(Qt::Key_Right, 1); },
            { { 53.98, 85.6 }, { 85.6, 53.98 } } },
        { "CR80, a text added, back", -1, -1, { 85.6, 53.98 }, "ok_btn", 85.6, 2, {}, false,
            [this](const TSLGraphicList&) { addWithTool(QStringLiteral("Text_Tool_btn"), QRectF(150, 100, 80, 30)); },
            { { 148, 105 } } },
        { "CR80 rectangle", 0, 0, {}, "ok_btn", 85.6, 0 },
    };
    double shownWidth = 0, shownHeight = 0; // what the card size window shows on opening
    int shownShape = -1;
    const auto answer = [&](const auto& run) {
        shownWidth = shownHeight = 0, shownShape = -1; // until it opens
        ui.modalRuns.push_back([&](QDialog& dialog) {
            dialog.show();
            shownWidth = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("width_Stepper"))->value();
            shownHeight = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("height_Stepper"))->value();
            for (int id = 0; id < 3; ++id) {
                auto* radio = dialog.findChild<QAbstractButton*>(QStringLiteral("card_shape_%1").arg(id));
                if (radio && radio->isChecked())
                    shownShape = id;
            }
            if (run.row >= 0) {
                auto* list = dialog.findChild<QTableWidget*>(QStringLiteral("ColList"));
                QTest::mouseClick(
                    list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(run.row, 0)).center());
            }
            if (run.outline >= 0)
                tick(dialog.findChild<QAbstractButton*>(QStringLiteral("card_shape_%1").arg(run.outline)));
            if (!run.typed.isEmpty()) {
                dialog.findChild<QDoubleSpinBox*>(QStringLiteral("width_Stepper"))->setValue(run.typed.width());
                dialog.findChild<QDoubleSpinBox*>(QStringLiteral("height_Stepper"))->setValue(run.typed.height());
            }
            editorscenario::clickChild(dialog, run.button);
            return dialog.result();
        });
        trigger(QStringLiteral("menu_Card_Wizard"));
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.how);
        ui.messages.clear();
        const std::size_t items = canvas()->graphics().size();
        TSLGraphicList texts;
        for (const char* words : run.texts) {
            texts.push_back(addWithTool(QStringLiteral("Text_Tool_btn"),
                QRectF(10, 10 + 40 * double(canvas()->graphics().size() - items), 100, 30)));
            auto& text = static_cast<TSLText&>(*texts.back());
            text.setScriptingContents(QString::fromUtf8(words));
            text.text_ctrl_font = QFont(text.displayedFont().family(), 17);
            text.growToFitText(QRectF(QPointF(), canvas()->canvasSize() - QSizeF(10, 0))); // a line up to its margin
            QCoreApplication::processEvents(); // a step of its own
        }
        const auto layoutBefore = layoutOfBothSides();
        const QSizeF before = window->frontCanvasBounds().size();
        const int shapeBefore = Card_Shape;
        answer(run);
        EXPECT_NEAR(shownWidth, Points_to_MM_Convert(float(before.width())), 0.05);
        EXPECT_NEAR(shownHeight, Points_to_MM_Convert(float(before.height())), 0.05);
        EXPECT_EQ(shownShape, shapeBefore);
        EXPECT_NEAR(window->frontCanvasBounds().width(), run.width * 2.834645669291, 0.05);
        EXPECT_EQ(Card_Shape, run.shapeAfter);
        // The inspector shows what the card is.
        EXPECT_NEAR(window->width_Stepper->value(), run.width, 0.05);
        EXPECT_EQ(window->matrix_card_shape->checkedId(), run.shapeAfter);
        if (const QString cut = QString::fromUtf8(run.tooSmallFor); cut.isEmpty()) {
            expectKeptApart(layoutBefore, before);
        } else {
            const QString said = editortest::messageTexts(ui).join(QLatin1Char(' '));
            EXPECT_TRUE(said.contains(QLatin1String("too small for ") + cut)) << said.toStdString();
            EXPECT_FALSE(said.contains(QLatin1String("lie over")));
            EXPECT_EQ(Record_Fill::textsCut(window->Get_Front_Controls_Array(), window->frontCanvasBounds(), nullptr),
                QStringList { cut });
        }
        if (run.between)
            run.between(texts);
        const auto layoutBetween = layoutOfBothSides();
        for (const QSizeF& typed : run.then)
            answer(std::remove_cvref_t<decltype(run)> { "", -1, -1, typed, "ok_btn", 0, 0 });
        for (const Placed& was : layoutBefore)
            EXPECT_TRUE(
                !run.lettersKept || !std::ranges::count(texts, was.item) || was.item->text_ctrl_font == was.font);
        if (!run.then.empty()) {
            auto layoutBack = layoutOfBothSides();
            if (layoutBack.size() > layoutBefore.size()) { // an item added in between lies whole on the card
                EXPECT_TRUE(window->frontCanvasBounds().contains(layoutBack.front().at));
                layoutBack.erase(layoutBack.begin());
            }
            EXPECT_TRUE(run.then.back() != run.typed || layoutBack == layoutBetween);
            EXPECT_TRUE(run.then.back() != QSizeF(148, 105) || layoutBack == layoutBefore);
        } else if (!run.typed.isEmpty()) {
            trigger(QStringLiteral("menu_Undo"));
            EXPECT_EQ(layoutOfBothSides(), layoutBefore);
        }
        while ((!run.then.empty() && std::abs(window->frontCanvasBounds().width() - before.width()) > 0.01)
            || canvas()->graphics().size() > items)
            trigger(QStringLiteral("menu_Undo"));
    }
    EXPECT_EQ(window->Front_card_Prop.Card_Shape(), QStringLiteral("R"));
    EXPECT_EQ(window->Back_card_Prop.Card_Shape(), QStringLiteral("R"));
    EXPECT_TRUE(window->frontCanvasBounds().contains(shape->bounds())) << "the smaller card holds it whole";

    // One step takes back size and outline together.
    clickCanvas(QPointF(2, canvas()->canvasSize().height() - 2)); // nothing there: the card's pages
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Card Size"));
    trigger(QStringLiteral("menu_Undo"));
    EXPECT_NEAR(window->frontCanvasBounds().width(), card.width(), 0.01);
    EXPECT_NEAR(window->frontCanvasBounds().height(), card.height(), 0.01);
    EXPECT_EQ(Card_Shape, 2);
    EXPECT_EQ(window->matrix_card_shape->checkedId(), 2);
    EXPECT_NEAR(window->width_Stepper->value(), 148, 0.05);
    EXPECT_TRUE(window->ColList->selectedRanges().isEmpty()) << "148 x 105 is no stock size";
    EXPECT_EQ(window->Front_card_Prop.Card_Shape(), QStringLiteral("E"));
    EXPECT_EQ(shape->bounds(), QRectF(300, 200, 60, 40));
    // The items that moved with the card are no selection of the card's step: Delete leaves them.
    EXPECT_TRUE(canvas()->selectedGraphics().empty());
    EXPECT_EQ(currentPageName(), QStringLiteral("card_setting_tab"));
    const TSLGraphicList items = window->Get_Front_Controls_Array();
    QTest::keyClick(canvas(), Qt::Key_Delete);
    EXPECT_EQ(window->Get_Front_Controls_Array(), items);
    trigger(QStringLiteral("menu_Redo"));
    EXPECT_NEAR(window->frontCanvasBounds().width(), 85.6 * 2.834645669291, 0.05);
    EXPECT_EQ(Card_Shape, 0);
    EXPECT_TRUE(window->frontCanvasBounds().contains(shape->bounds()));
}

// The outline chosen on either side is the card's: saved and reopened, the card shows it again.
TEST_F(WorkKept, TheOutlineChosenOnEitherSideReopensWithTheDesign)
{
    startEmpty();
    const QString path
        = QDir(testsupport::makeTempFolder(QStringLiteral("outline"))).filePath(QStringLiteral("o.dcard"));
    for (const auto& [side, outline] :
        { std::pair { printableSides[0], 1 }, { printableSides[1], 1 }, { printableSides[1], 2 } }) {
        SCOPED_TRACE(side.key);
        showSide(side.button);
        showPage(QStringLiteral("card_setting_tab"));
        tick(window->matrix_card_shape->button(outline));
        ui.fileAnswers = { path, path }; // Save As, then Open
        trigger(QStringLiteral("SaveAs_btn"));
        tick(window->matrix_card_shape->button(0));
        ui.messageAnswers = { platform::SaveAnswerDontSave };
        trigger(QStringLiteral("Open_btn"));
        EXPECT_EQ(Card_Shape, outline) << "the card shows the outline it was saved with";
        EXPECT_EQ(window->Back_card_Prop.Card_Shape(), window->Front_card_Prop.Card_Shape());
    }
}

// ---------------------------------------------------------------------------------------------------------
// Background pictures: the strip and Browse… act on the side shown, as one step, and the inspector stays put

TEST_F(WorkKept, BackgroundPicturesGoToTheSideShownAsOneStepAndTheInspectorStays)
{
    startEmpty();
    QDir strip(QDir(Resource_Path).filePath(QStringLiteral("Background")));
    const auto shipped = qScopeGuard([&strip] { // the program's own pictures are laid out again afterwards
        strip.removeRecursively();
        Prepare_Resource_Folder();
    });
    strip.removeRecursively();
    ASSERT_TRUE(QDir().mkpath(strip.path()));
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(QColor(20, 120, 40));
    ASSERT_TRUE(picture.save(strip.filePath(QStringLiteral("green.png")), "PNG"));
    window->Load_and_fill_backgrounds();
    const QString browsed
        = QDir(testsupport::makeTempFolder(QStringLiteral("browse"))).filePath(QStringLiteral("b.png"));
    ASSERT_TRUE(picture.save(browsed, "PNG"));

    const struct {
        const char* how;
        std::function<void()> choose;
        QString path;
    } ways[] = {
        { "strip",
            [this] {
                QListView* list = window->imageBrowser;
                QTest::mouseClick(
                    list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
                QCoreApplication::processEvents();
            },
            strip.filePath(QStringLiteral("green.png")) },
        { "Browse",
            [this, browsed] {
                tick(window->Card_Image_fill_rd);
                ui.fileAnswers.push_back(browsed);
                click(widget<QPushButton>(QStringLiteral("Card_Image_Browse_btn")));
            },
            browsed },
    };
    for (const SideRow& side : printableSides) {
        for (const auto& way : ways) {
            SCOPED_TRACE(std::string(side.key) + " " + way.how);
            showSide(side.button);
            showPage(QStringLiteral("card_bkgd_tab"));
            const Card_Property other = recordOf(side.other);
            const QString pathBefore = recordOf(side.key).Card_BG_Image_Path();
            way.choose();
            EXPECT_EQ(recordOf(side.key).Card_BG_Image_Path(), way.path);
            EXPECT_FALSE(recordOf(side.key).Card_BG_Image().isNull());
            EXPECT_TRUE(recordOf(side.other) == other) << "the other side keeps its background";
            EXPECT_EQ(currentPageName(), QStringLiteral("card_bkgd_tab")) << "the inspector stays where it was";
            EXPECT_EQ(undoTitle(), QStringLiteral("Undo Background"));
            trigger(QStringLiteral("menu_Undo"));
            EXPECT_EQ(recordOf(side.key).Card_BG_Image_Path(), pathBefore);
            trigger(QStringLiteral("menu_Redo"));
            EXPECT_EQ(recordOf(side.key).Card_BG_Image_Path(), way.path);
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Items are never lost off the card

TEST_F(WorkKept, DraggingOrResizingPastTheEdgeKeepsTheItemOnTheCardAndSelectAllShowsEveryItem)
{
    startEmpty();
    const QSizeF card = window->frontCanvasBounds().size();
    const QRectF start(40, 40, 60, 40);
    const struct {
        const char* how;
        QPointF from; // relative to the item's top left
        QPointF to; // on the card
    } gestures[] = {
        { "move far right", QPointF(30, 20), QPointF(card.width() + 400, 60) },
        { "move far up and left", QPointF(30, 20), QPointF(-300, -300) },
        { "move far down", QPointF(30, 20), QPointF(60, card.height() + 500) },
        { "resize far past the right bottom", QPointF(60, 40), QPointF(card.width() + 300, card.height() + 300) },
        { "resize far past the top left", QPointF(0, 0), QPointF(-300, -300) },
    };
    for (const auto& gesture : gestures) {
        SCOPED_TRACE(gesture.how);
        const TSLGraphicPtr shape = addWithTool(QStringLiteral("Rect_Tool_btn"), start);
        clickItem(shape);
        dragOnCanvas(start.topLeft() + gesture.from, gesture.to);
        EXPECT_NE(shape->bounds(), start) << "the gesture did something";
        EXPECT_TRUE(partlyOnCard(shape->bounds(), card)) << shape->bounds().x() << "," << shape->bounds().y();
        trigger(QStringLiteral("menu_Delete"));
    }
    // Arrow keys stop at the edge as well.
    const TSLGraphicPtr nudged = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(5, 5, 20, 20));
    clickItem(nudged);
    for (int i = 0; i < 60; ++i)
        QTest::keyClick(canvas(), Qt::Key_Left);
    EXPECT_TRUE(partlyOnCard(nudged->bounds(), card));

    // An item an older design left wholly off the card comes back when everything is selected.
    const TSLGraphicPtr lost = addShape(QRectF(card.width() + 80, card.height() + 40, 30, 30));
    trigger(QStringLiteral("menu_Select_All"));
    EXPECT_TRUE(partlyOnCard(lost->bounds(), card));
    const TSLGraphicList selected = canvas()->selectedGraphics();
    EXPECT_NE(std::find(selected.begin(), selected.end(), lost), selected.end());
    EXPECT_EQ(selected.size(), window->Get_Front_Controls_Array().size());
}

// ---------------------------------------------------------------------------------------------------------
// The scratch side: copies to try things on, and the tools make items there

TEST_F(WorkKept, TheScratchSideShowsCopiesAndToolsCreateItemsOnIt)
{
    startEmpty();
    for (const SideRow& side : printableSides) {
        SCOPED_TRACE(side.key);
        showSide(side.button);
        const TSLGraphicPtr real = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(40, 40, 60, 40));
        const QByteArray realBytes = editortest::itemBytes(*real);
        const TSLGraphicList front = window->Get_Front_Controls_Array();
        const TSLGraphicList back = window->Get_Back_Controls_Array();

        window->statusBar()->clearMessage();
        showSide("Temp_Card_btn");
        ASSERT_EQ(canvas(), window->_graphicView_TEMP);
        // It says what it is: a preview of the side edited, refilled at each visit.
        EXPECT_TRUE(window->Front_back_label->text().startsWith(QStringLiteral("Preview of the ")));
        EXPECT_TRUE(window->Temp_Card_btn->toolTip().contains(QStringLiteral("preview of the side being edited")));
        EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty()) << "the refill is no addition";
        ASSERT_EQ(canvas()->graphics().size(), listOf(side.key).size());
        const TSLGraphicPtr copy = canvas()->graphics().front();
        EXPECT_NE(copy, real) << "a copy, not the card's own item";
        EXPECT_EQ(copy->bounds(), real->bounds());

        // Moving, deleting and drawing there leave both printable sides as they were.
        clickItem(copy);
        dragOnCanvas(copy->bounds().center(), copy->bounds().center() + QPointF(30, 30));
        EXPECT_NE(copy->bounds(), real->bounds());
        const TSLGraphicPtr tried = addWithTool(QStringLiteral("Circle_Tool_btn"), QRectF(10, 10, 30, 30));
        ASSERT_TRUE(tried);
        EXPECT_EQ(canvas()->graphics().front(), tried) << "the tool made its item on the side shown";
        EXPECT_EQ(window->statusBar()->currentMessage(),
            QStringLiteral("The preview is not kept: it is filled again from the side being edited at the next visit."));
        trigger(QStringLiteral("menu_Undo"));
        trigger(QStringLiteral("menu_Undo"));
        // The card page there changes the scratch side's own look.
        const Card_Property frontRecord = window->Front_card_Prop, backRecord = window->Back_card_Prop;
        showPage(QStringLiteral("card_brdr_tab"));
        tick(widget<QCheckBox>(QStringLiteral("Card_border_chk")));
        EXPECT_NE(window->Temp_card_Prop.Card_border_chk(), recordOf(side.key).Card_border_chk());
        EXPECT_TRUE(window->Front_card_Prop == frontRecord && window->Back_card_Prop == backRecord);
        EXPECT_EQ(editortest::itemBytes(*real), realBytes);
        EXPECT_EQ(window->Get_Front_Controls_Array(), front);
        EXPECT_EQ(window->Get_Back_Controls_Array(), back);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Desktop habits: the title marks unsaved changes, Ctrl+Y redoes, Ctrl+= zooms in

TEST_F(WorkKept, TitleMarksUnsavedChangesAndCtrlYRedoesAndCtrlEqualsZoomsIn)
{
    startEmpty();
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("[*]")));
    EXPECT_FALSE(window->isWindowModified()) << "a new card has nothing to save";
    ui.messageAnswers = { platform::SaveAnswerSave }; // a question would save
    trigger(QStringLiteral("Open_btn")); // then the panel is cancelled
    EXPECT_TRUE(ui.messages.empty()) << "nothing to save, nothing asked";
    showPage(QStringLiteral("card_setting_tab"));
    tick(window->matrix_card_shape->button(1)); // a rounded card
    const TSLGraphicPtr shape = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(30, 30, 40, 40));
    EXPECT_TRUE(window->isWindowModified());

    const QString path = QDir(testsupport::makeTempFolder(QStringLiteral("title"))).filePath(QStringLiteral("t.dcard"));
    ui.fileAnswers.push_back(path);
    trigger(QStringLiteral("Save_btn"));
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(window->isWindowModified()) << "saved";
    EXPECT_TRUE(ui.messages.empty()) << "the saved notice is no box to answer";
    EXPECT_EQ(
        window->statusBar()->currentMessage(), QStringLiteral("Greeting Card Design Log has been saved successfully."));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("%1 (t.dcard)[*]").arg(window->App_Name));
    // Moved, then undone back to the saved state: nothing to save, nothing asked.
    clickItem(shape);
    pressKeys(Qt::Key_Right, 3);
    EXPECT_TRUE(window->isWindowModified());
    trigger(QStringLiteral("menu_Undo"));
    EXPECT_FALSE(window->isWindowModified());
    for (const char* command : { "Open_btn", "menu_New_From_Template" }) {
        ui.modalRuns = { [](QDialog& gallery) { // Cancel, where the window has one
            if (auto* cancel = gallery.findChild<QPushButton*>(QStringLiteral("cancel_btn")))
                QTest::mouseClick(cancel, Qt::LeftButton);
            return gallery.result();
        } };
        trigger(QLatin1String(command)); // the panel and the gallery are cancelled
        EXPECT_TRUE(ui.messages.empty()) << command;
        EXPECT_EQ(Card_Shape, 1) << command << ": the card keeps its outline";
    }

    // A change on the back marks it too.
    showSide("Back_Side_btn");
    showPage(QStringLiteral("card_brdr_tab"));
    tick(widget<QCheckBox>(QStringLiteral("Card_border_chk")));
    EXPECT_TRUE(window->isWindowModified());

    showSide("Front_Card_btn");
    trigger(QStringLiteral("menu_Undo"));
    const QRectF undone = shape->bounds();
    press(QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(shape->bounds(), QRectF(30, 30, 40, 40)) << "Ctrl+Y redid the placing";
    EXPECT_NE(undone, shape->bounds());

    const double zoom = canvas()->zoomFactor();
    press(QKeySequence(Qt::CTRL | Qt::Key_Equal));
    EXPECT_GT(canvas()->zoomFactor(), zoom);
}

// Tab and the arrow keys reach the tools and make nothing; Space on a tool chooses it, as a click does.
TEST_F(WorkKept, KeyboardFocusOnAToolCreatesNothingAndSpaceChoosesIt)
{
    startEmpty();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (const auto& [from, key] : { std::pair { "Arrow_Tool_btn", Qt::Key_Tab }, { "Arrow_Tool_btn", Qt::Key_Right },
             { "Polygon_Tool_btn", Qt::Key_Up }, { "Polygon_Tool_btn", Qt::Key_Backtab } }) {
        widget<QWidget>(QLatin1String(from))->setFocus(Qt::TabFocusReason);
        for (int press = 0; press < 15 && QApplication::focusWidget() != widget<QWidget>("Line_Tool_btn"); ++press)
            QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(QApplication::focusWidget(), widget<QWidget>("Line_Tool_btn")) << from << " " << key;
        EXPECT_EQ(undoTitle(), QStringLiteral("Undo")) << from << " " << key << ": nothing was made";
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Create Line"));
}

// Every undo step has its own name; a run of arrow presses is one Move, never part of the item's creation.
TEST_F(WorkKept, EveryStepIsNamedAndArrowPressesAreOneMoveOfTheirOwn)
{
    startEmpty();
    click(widget<QWidget>(QStringLiteral("Line_Tool_btn")));
    const TSLGraphicPtr line = canvas()->graphics().front();
    const QRectF drawn = line->bounds();
    pressKeys(Qt::Key_Right, 20);
    const QRectF moved = line->bounds();
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Move"));
    trigger(QStringLiteral("menu_Undo"));
    EXPECT_EQ(line->bounds(), drawn);
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Create Line")) << "the line is still there";
    trigger(QStringLiteral("menu_Redo"));
    EXPECT_EQ(line->bounds(), moved);

    const TSLGraphicPtr wide = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(150, 10, 60, 40));
    addWithTool(QStringLiteral("Circle_Tool_btn"), QRectF(160, 70, 30, 70));
    const struct {
        const char* name;
        const char* command;
    } commands[] = { { "Align Left Edges", "menu_Align_Left" }, { "Align Right Edges", "menu_Align_Right" },
        { "Align Top Edges", "menu_Align_Top" }, { "Align Bottom Edges", "menu_Align_Bottom" },
        { "Align Horizontal Centres", "menu_Align_Horz" }, { "Align Vertical Centres", "menu_Align_Vert" },
        { "Bring to Front", "menu_Bring_To_Front" }, { "Send to Back", "menu_Send_To_Back" } };
    for (const auto& row : commands) {
        SCOPED_TRACE(row.name);
        if (QLatin1String(row.name).startsWith(QLatin1String("Align")))
            trigger(QStringLiteral("menu_Select_All"));
        else
            clickItem(wide);
        trigger(QLatin1String(row.command));
        undoesAs(QLatin1String(row.name));
    }
    clickItem(wide);
    pressKeys(Qt::Key_Down, 5);
    undoesAs(QStringLiteral("Move"));
    clickItem(line);
    typeInto(widget<Stepper_Field>(QStringLiteral("Line_Wdt_Stepper")), QStringLiteral("6"));
    undoesAs(QStringLiteral("Line Width"));
    clickCanvas(QPointF(2, canvas()->canvasSize().height() - 2)); // nothing there: the card's pages
    showPage(QStringLiteral("card_setting_tab"));
    QTest::keyClick(window->Preset_ComboBox, window->Preset_ComboBox->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
    QCoreApplication::processEvents();
    undoesAs(QStringLiteral("Orientation"));
    tick(window->matrix_card_shape->button(1));
    undoesAs(QStringLiteral("Card Outline"));
}
