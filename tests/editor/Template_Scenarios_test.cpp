// Templates in a person's hands: the design saved as a template shows up among "My Templates" in the
// gallery, and choosing it there opens it as a new, unnamed design; a built-in template opens the same way.
// New Card from... offers the three starts: a template, the wizard, or a saved design.
#include "editor/EditorScenarioFixture.h"

#include "profiles/Browser_Picture_Model.h"
#include "profiles/Export_Template_Window.h"
#include "profiles/Invitation_Wizard.h"
#include "profiles/Picture_Grid_Panel.h"
#include "profiles/Profiles_Globals.h"
#include "profiles/Template_Wizard.h"
#include "ui_Template_Wizard.h"

#include "common/Common_Functions.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTableWidget>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using editorscenario::EditorScenario;

namespace {

class TemplateScenario : public EditorScenario {
protected:
    void SetUp() override
    {
        EditorScenario::SetUp();
        startWithWizard(QStringLiteral("Noor"));
    }
    // The gallery's run: shows the list, picks the preview whose name starts with `name`, presses OK.
    void answerGallery(int list, const QString& name)
    {
        ui.modalRuns.push_back([list, name](QDialog& dialog) {
            auto& gallery = static_cast<Template_Wizard&>(dialog);
            gallery.form().cat_cmbo_bx->setCurrentIndex(list);
            for (int row = 0; row < gallery.form().grid->images->rowCount(); ++row) {
                gallery.form().grid->selectRow(row);
                if (QFileInfo(gallery.form().grid->selectedPath()).fileName().startsWith(name))
                    break;
            }
            QTest::mouseClick(gallery.form().ok_btn, Qt::LeftButton);
            return gallery.result();
        });
    }
    // The start chooser's run: clicks one of its buttons.
    void answerChooser(const char* button)
    {
        ui.modalRuns.push_back([button](QDialog& dialog) {
            dialog.show();
            editorscenario::clickChild(dialog, button);
            return dialog.isVisible() ? -1 : dialog.result();
        });
    }
    bool frontHasText(const QString& text) const
    {
        for (const TSLGraphicPtr& item : window->Get_Front_Controls_Array())
            if (item->Text_Value == text)
                return true;
        return false;
    }
};

TEST_F(TemplateScenario, ASavedTemplateOpensFromTheGalleryAsANewDesign)
{
    const std::size_t items = window->Get_Front_Controls_Array().size();
    ASSERT_GT(items, 0u);
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& names = static_cast<Export_Template_Window&>(dialog);
        names.findChild<QLineEdit*>(QStringLiteral("template_name"))->setText(QStringLiteral("Noor's Party"));
        names.OK_Btn_Clicked();
        return names.result();
    });
    trigger(QStringLiteral("menu_Export_As_Template"));
    ASSERT_TRUE(QFile::exists(QDir(Resource_Path).filePath(QStringLiteral("Templates/User/Noor's Party.dcard"))));

    trigger(QStringLiteral("New_btn"));
    ASSERT_EQ(window->Get_Front_Controls_Array().size(), 0u);
    answerGallery(1, QStringLiteral("Noor's Party"));
    trigger(QStringLiteral("menu_New_From_Template"));
    EXPECT_EQ(window->Get_Front_Controls_Array().size(), items);
    EXPECT_TRUE(Project_File_Name.isEmpty()) << "a template is not the design's file";
}

TEST_F(TemplateScenario, ABuiltInTemplateOpensWithItsTexts)
{
    answerGallery(0, QStringLiteral("Thank You"));
    trigger(QStringLiteral("menu_New_From_Template"));
    bool found = false;
    for (const TSLGraphicPtr& item : window->Get_Front_Controls_Array())
        found |= item->Text_Value == QLatin1String("Thank You");
    EXPECT_TRUE(found);
}

TEST_F(TemplateScenario, NewCardFromATemplateOpensTheGallery)
{
    ui.dialogsRun.clear();
    answerChooser("Using_Template_btn");
    answerGallery(0, QStringLiteral("Thank You"));
    trigger(QStringLiteral("menu_New_Card_From"));
    EXPECT_EQ(ui.dialogsRun, (std::vector<QString> { QStringLiteral("Start_Card_Window"), QStringLiteral("Template_Wizard") }));
    EXPECT_EQ(Start_Card_Option, QStringLiteral("T"));
    EXPECT_TRUE(frontHasText(QStringLiteral("Thank You")));
}

// Every way out of the wizard but Finish leaves the design as it was, still marked changed: Cancel and the
// start screen's X go back to it, Exit asks before anything is lost, and Cancel there keeps the program.
// The card the wizard makes is a new design nobody saved. All but the first run through the real seam.
TEST_F(TemplateScenario, NewCardWithTheWizardSkipsTheStartScreenAndKeepsTheDesignUntilItFinishes)
{
    using Step = editortest::RealSeamHand::Step;
    int stepShown = -1;
    QString asked;
    const auto answer = [&asked](QMessageBox::StandardButton button) -> Step {
        return [&asked, button](QWidget& w) {
            asked = static_cast<QMessageBox&>(w).text();
            static_cast<QMessageBox&>(w).button(button)->click();
        };
    };
    const auto inWizard = [&stepShown](std::vector<const char*> buttons, bool close) -> Step {
        return [&stepShown, buttons, close](QWidget& w) {
            stepShown = static_cast<Invitation_Wizard&>(w).next_counter();
            for (const char* button : buttons)
                editorscenario::clickChild(w, button);
            if (close)
                w.close();
        };
    };
    const Step chooseWizard = [](QWidget& w) { editorscenario::clickChild(w, "Using_Wizard_btn"); };
    const char* const askedForNew = "Do you want to save changes before opening new document?";
    const struct {
        const char* how;
        std::vector<Step> steps; // after the chooser and Don't Save: the wizard and what follows; none: test seam
        bool finished;
        const char* askedLast;
    } runs[] = {
        { "Cancel, then the X", {}, false, askedForNew },
        { "the X", { inWizard({}, true) }, false, askedForNew },
        { "Exit, then Cancel at the question", { inWizard({ "Exit_btn" }, false), answer(QMessageBox::Cancel) }, false,
            "Do you want to save changes before closing?" },
        { "Finish", { inWizard({ "Next_btn", "Next_btn", "Cute_btn", "Next_btn", "Next_btn" }, false) }, true,
            askedForNew },
    };
    EXPECT_TRUE(window->isWindowModified()) << "the wizard's card at start is not saved";
    for (const auto& run : runs) {
        SCOPED_TRACE(run.how);
        stepShown = -1;
        asked.clear();
        if (!run.steps.empty()) {
            std::vector<Step> steps { chooseWizard, answer(QMessageBox::Discard) };
            steps.insert(steps.end(), run.steps.begin(), run.steps.end());
            editortest::RealSeamHand hand(ui, steps);
            trigger(QStringLiteral("menu_New_Card_From"));
            EXPECT_EQ(hand.stepsLeft(), 0u);
        } else {
            answerChooser("Using_Wizard_btn");
            ui.messageAnswers.push_back(platform::SaveAnswerDontSave);
            ui.modalRuns.push_back([&](QDialog& dialog) {
                dialog.show();
                inWizard({ "Cancel_btn" }, true)(dialog);
                return dialog.result();
            });
            trigger(QStringLiteral("menu_New_Card_From"));
            ASSERT_FALSE(ui.messages.empty());
            asked = ui.messages.back().text;
        }
        EXPECT_EQ(stepShown, 1) << "the wizard opens at the card size";
        EXPECT_EQ(asked, QLatin1String(run.askedLast));
        EXPECT_EQ(frontHasText(QStringLiteral("Dear Noor,")), !run.finished);
        EXPECT_FALSE(window->hasEnded());
        EXPECT_TRUE(window->isWindowModified()) << "the design left or made is still to be saved";
    }
    EXPECT_EQ(Start_Card_Option, QStringLiteral("W"));
    EXPECT_FALSE(window->Get_Front_Controls_Array().empty());
}

TEST_F(TemplateScenario, NewCardFromASavedDesignOpensItAndCancelKeepsTheCard)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("start-card")) + QStringLiteral("/saved");
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    const std::size_t items = window->Get_Front_Controls_Array().size();
    window->_graphicView->delete_all_control();
    ASSERT_TRUE(window->Get_Front_Controls_Array().empty());

    answerChooser("Cancel_btn");
    trigger(QStringLiteral("menu_New_Card_From"));
    EXPECT_FALSE(window->hasEnded()) << "cancelling a menu's chooser never ends the program";
    EXPECT_TRUE(Start_Card_Option.isEmpty());

    answerChooser("Open_Log_btn");
    ui.messageAnswers.push_back(0); // no saving first
    ui.fileAnswers.push_back(path + QStringLiteral(".dcard"));
    trigger(QStringLiteral("menu_New_Card_From"));
    EXPECT_EQ(Start_Card_Option, QStringLiteral("L"));
    EXPECT_EQ(window->Get_Front_Controls_Array().size(), items);
    EXPECT_EQ(Project_File_Name, path + QStringLiteral(".dcard"));
}

// The size chosen in the gallery's size list is the size of the card made from the template, which holds every
// item whole, turned or not.
TEST_F(TemplateScenario, TheSizeChosenInTheGalleryIsTheCardsSize)
{
    const auto bounds = [this] { // of both printable sides' items, each expected whole on the card
        std::vector<QRectF> all;
        for (const TSLGraphicList* side : { &window->Get_Front_Controls_Array(), &window->Get_Back_Controls_Array() })
            for (const TSLGraphicPtr& item : *side) {
                all.push_back(item->bounds());
                EXPECT_TRUE(QRectF(QPointF(), canvas()->canvasSize() + QSizeF(0.01, 0.01)).contains(all.back()));
            }
        return all;
    };
    constexpr int highlighted = -2; // a click on the row highlighted at opening
    int previous = -1;
    for (const int pick : { 1, 3, highlighted, 6, -1 }) { // -1: the list is left as it opened
        SCOPED_TRACE(pick);
        QSizeF chosen;
        int opened = -1;
        ui.modalRuns.push_back([pick, &chosen, &opened](QDialog& dialog) {
            auto& gallery = static_cast<Template_Wizard&>(dialog);
            auto* sizes = gallery.findChild<QTableWidget*>(QStringLiteral("ColList"));
            if (!sizes || sizes->rowCount() <= pick)
                return 0;
            opened = sizes->selectedRanges().isEmpty() ? -1 : sizes->selectedRanges().first().topRow();
            if (pick == highlighted && opened >= 0)
                QTest::mouseClick(
                    sizes->viewport(), Qt::LeftButton, {}, sizes->visualItemRect(sizes->item(opened, 0)).center());
            if (pick >= 0)
                QTest::mouseClick(
                    sizes->viewport(), Qt::LeftButton, {}, sizes->visualItemRect(sizes->item(pick, 0)).center());
            chosen = QSizeF(gallery.findChild<QDoubleSpinBox*>(QStringLiteral("width_Stepper"))->value(),
                gallery.findChild<QDoubleSpinBox*>(QStringLiteral("height_Stepper"))->value());
            gallery.form().grid->selectRow(0);
            QTest::mouseClick(gallery.form().ok_btn, Qt::LeftButton);
            return gallery.result();
        });
        trigger(QStringLiteral("menu_New_From_Template"));
        ASSERT_TRUE(chosen.isValid());
        // Turned, the card holds every item whole and both sides say so; one step takes it all back.
        const std::vector<QRectF> before = bounds();
        const auto unturned = layoutOfBothSides();
        showPage(QStringLiteral("card_setting_tab"));
        const bool upright = window->Preset_ComboBox->currentIndex() == 0;
        QTest::keyClick(window->Preset_ComboBox, upright ? Qt::Key_Down : Qt::Key_Up);
        expectKeptApart(unturned, canvas()->canvasSize().transposed());
        click(widget<QWidget>(QStringLiteral("Back_Side_btn")));
        EXPECT_EQ(window->presetCode(), upright ? QStringLiteral("V") : QStringLiteral("H"));
        click(widget<QWidget>(QStringLiteral("Front_Card_btn")));
        trigger(QStringLiteral("menu_Undo"));
        EXPECT_EQ(bounds(), before);
        if (previous >= 0) {
            EXPECT_EQ(opened, previous) << "the list opens on the card's own size";
        }
        previous = pick == highlighted ? opened : pick;
        if (pick == -1) {
            // The template keeps its own size: the same as the template read on its own.
            const QSizeF made = window->Front_card_Prop.Card_Size();
            ASSERT_EQ(window->Read_and_load_design_Log(Selected_Template_Path, QStringLiteral("T")), 1);
            EXPECT_EQ(made, window->Front_card_Prop.Card_Size());
            continue;
        }
        const QSizeF card = window->Front_card_Prop.Card_Size() / kPointsPerMillimetre;
        EXPECT_NEAR(card.width(), chosen.width(), 0.05);
        EXPECT_NEAR(card.height(), chosen.height(), 0.05);
        EXPECT_EQ(canvas()->canvasSize(), window->Front_card_Prop.Card_Size());
        if (pick == 6) {
            // A smaller size and the items it brought onto the card are one step.
            EXPECT_EQ(undoTitle(), QStringLiteral("Undo Card Size"));
            trigger(QStringLiteral("menu_Undo"));
            EXPECT_FALSE(action(QStringLiteral("menu_Undo"))->isEnabled()) << "one step: the template as it opens";
            previous = -1; // undone: the card is back at the template's own size
        }
    }
}

} // namespace
