// Start-up of the main window: the inspector and lists it sets up, the start screen and what its answers
// make of the card, and quitting.
#include "editor/EditorWindowTestSupport.h"
#include "common/Common_Functions.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using editortest::EditorWindowTest;
using editortest::messageTexts;

namespace {

QStringList tabTitles(const QTabWidget* tabs)
{
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->widget(i)->objectName();
    return titles;
}

QStringList entries(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// The wizard from the start screen to its last pane, as a user clicks through it.
int runWizard(Invitation_Wizard& wizard, const QString& from, const QString& to)
{
    wizard.Using_Wizard_Click(); // card size (120 x 120 mm as it opens)
    wizard.OK_Click(); // background: the first picture is chosen
    wizard.OK_Click(); // category
    wizard.Cute_Click(); // title and message
    wizard.OK_Click(); // from and to
    wizard.findChild<QLineEdit*>(QStringLiteral("from_value"))->setText(from);
    wizard.findChild<QLineEdit*>(QStringLiteral("to_value"))->setText(to);
    wizard.OK_Click(); // finish
    return wizard.result();
}

TSLGraphicPtr itemWithID(const TSLGraphicList& items, const QString& id)
{
    for (const TSLGraphicPtr& item : items)
        if (item->control_ID == id)
            return item;
    return nullptr;
}

} // namespace

using StartupTest = EditorWindowTest;

TEST_F(StartupTest, CancelledStartScreenEndsTheProgramWithoutQuestions)
{
    startUp([](Invitation_Wizard&) { return 0; });
    EXPECT_TRUE(window->hasEnded());
    EXPECT_EQ(window->endStatus(), 0);
    EXPECT_TRUE(ui.messages.empty()) << "no save question, nothing saved";
    EXPECT_TRUE(ui.fileRequests.empty());
}

// Escape leaves the editor with a new card as large as its fields say, which the size window's OK keeps as it is.
TEST_F(StartupTest, ClosingTheStartScreenLeavesTheEditorWithANewCard)
{
    {
        editortest::RealSeamHand hand(ui,
            { [](QWidget& wizard) {
                 QTest::keyClick(&wizard, Qt::Key_Escape);
                 EXPECT_TRUE(wizard.isHidden());
                 wizard.close(); // as a person then would
             },
                [](QWidget& sizes) { sizes.findChild<QAbstractButton*>(QStringLiteral("ok_btn"))->click(); } });
        window->awakeFromNib();
        window->findChild<QAction*>(QStringLiteral("menu_Card_Wizard"))->trigger();
        EXPECT_EQ(hand.stepsLeft(), 0u);
    }
    EXPECT_FALSE(window->hasEnded()) << "only Exit quits the program";
    EXPECT_FALSE(window->isWindowModified()) << "an empty card has nothing to save";
    EXPECT_TRUE(window->Get_Front_Controls_Array().empty());
    EXPECT_EQ(window->frontCanvasBounds().size(), QSizeF(MM_to_Points_Convert(85.6f), MM_to_Points_Convert(54.1f)));
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("menu_Undo"))->isEnabled());
}

TEST_F(StartupTest, StartUpPreparesInspectorListsAndTheFrontSide)
{
    startUpEmpty();
    ASSERT_FALSE(window->hasEnded());
    EXPECT_EQ(Main_App_wnd, window.get());
    EXPECT_EQ(TSLWindowController::defaultInstance(), window.get());
    EXPECT_EQ(editorServices(), window.get());

    EXPECT_EQ(tabTitles(window->sett_tab),
        (QStringList {
            QStringLiteral("card_setting_tab"), QStringLiteral("card_bkgd_tab"), QStringLiteral("card_brdr_tab") }));

    EXPECT_EQ(entries(window->Text_Date_style),
        (QStringList { QStringLiteral("M-d-yyyy"), QStringLiteral("M-d-yy"), QStringLiteral("MM-dd-yy"),
            QStringLiteral("MM-dd-yyyy"), QStringLiteral("yy-MM-dd"), QStringLiteral("yyyy-MM-dd"),
            QStringLiteral("dd-MMM-yy"), QStringLiteral("dd-MM-yyyy"), QStringLiteral("d-M-yy") }));
    EXPECT_EQ(window->Text_Date_style->currentIndex(), 0);
    EXPECT_EQ(entries(window->Text_Time_style),
        (QStringList { QStringLiteral("h:mm:ss a"), QStringLiteral("hh:mm:ss a"), QStringLiteral("H:mm:ss"),
            QStringLiteral("HH:mm:ss") }));
    EXPECT_EQ(window->Text_Time_style->currentIndex(), 0);

    // The pattern lists hold the fill-style pictures of the data folder, without extensions.
    const QStringList patterns = TSLWindowController::Get_Files_Array_At_Path(
        QDir(Resource_Path).filePath(QStringLiteral("Fill_Style_Image")));
    ASSERT_FALSE(patterns.isEmpty());
    EXPECT_FALSE(patterns.first().contains(QLatin1Char('.')));
    EXPECT_EQ(entries(window->Card_hatch_style), patterns);
    EXPECT_EQ(entries(window->shape_hatch_style), patterns);
    EXPECT_EQ(window->Card_hatch_style->currentIndex(), 0);

    EXPECT_EQ(CARD_SIDE_STR, QStringLiteral("2"));
    EXPECT_EQ(Card_Front_Or_Back, 0);
    EXPECT_EQ(Data_Folder_Path, QDir(Resource_Path).filePath(QStringLiteral("DataSet")));
    EXPECT_EQ(window->windowTitle(), window->App_Name + QStringLiteral("[*]"));
    EXPECT_EQ(window->Selected_Control_Tool(), 0);
    // The card page was shown for the empty card: the record holds the canvas's size.
    EXPECT_EQ(window->Front_card_Prop.Card_Size(), QSizeF(MM_to_Points_Convert(85.6f), MM_to_Points_Convert(54.1f)));
}

TEST_F(StartupTest, WizardPutsTheInvitationOnTheFrontWithoutUndoSteps)
{
    startUp(
        [](Invitation_Wizard& wizard) { return runWizard(wizard, QStringLiteral("Ada"), QStringLiteral("Grace")); });
    ASSERT_FALSE(window->hasEnded());
    EXPECT_EQ(Start_Card_Option, QStringLiteral("W"));

    // 120 mm square, in points, on every canvas and in the record.
    const double side = 120 * 2.834645669291;
    EXPECT_NEAR(window->_graphicView->canvasSize().width(), side, 1e-3);
    EXPECT_NEAR(window->_graphicView_BACK->canvasSize().height(), side, 1e-3);
    EXPECT_NEAR(window->Front_card_Prop.Card_Size().width(), side, 1e-3);

    const TSLGraphicList& front = window->Get_Front_Controls_Array();
    const TSLGraphicPtr title = itemWithID(front, QStringLiteral("PARTY_TITLE"));
    const TSLGraphicPtr to = itemWithID(front, QStringLiteral("PARTY_TO"));
    const TSLGraphicPtr message = itemWithID(front, QStringLiteral("PARTY_MSG"));
    const TSLGraphicPtr from = itemWithID(front, QStringLiteral("PARTY_FROM"));
    ASSERT_TRUE(title && to && message && from);
    EXPECT_EQ(front.size(), 4u) << "no date, time or venue were given";
    EXPECT_EQ(title->Text_Value, Invite_Title);
    EXPECT_FALSE(Invite_Title.isEmpty());
    EXPECT_EQ(to->Text_Value, QStringLiteral("Dear Grace,"));
    EXPECT_EQ(from->Text_Value, QStringLiteral("From:\nAda"));
    EXPECT_EQ(message->Text_Value, Invite_Message);
    // A column across the card inside a margin of 6% of its side (at most 20 points), stacked, all of it on
    // the card.
    const double width = window->Front_card_Prop.Card_Size().width() - 40;
    EXPECT_NEAR(title->bounds().x(), 20, 1e-3);
    EXPECT_NEAR(title->bounds().width(), width, 1e-3);
    const TSLGraphicPtr column[] = { title, to, message, from };
    for (std::size_t i = 1; i < std::size(column); ++i)
        EXPECT_GE(column[i]->bounds().top(), column[i - 1]->bounds().bottom()) << i;
    EXPECT_LE(from->bounds().bottom(), window->Front_card_Prop.Card_Size().height());
    EXPECT_EQ(window->Get_Back_Control_Count(), 0);

    // The chosen background is the front's picture fill.
    EXPECT_EQ(window->Front_card_Prop.Card_fill_style(), QStringLiteral("I"));
    EXPECT_TRUE(window->Front_card_Prop.Card_fill_chk());
    EXPECT_EQ(window->Front_card_Prop.Card_BG_Image_Path(), Invite_BG_IMG);
    EXPECT_FALSE(window->Front_card_Prop.Card_BG_Image().isNull());

    // The texts are the new card itself: the first undo does not take them away.
    EXPECT_FALSE(document.undoManager().canUndo());
    EXPECT_TRUE(document.undoManager().isUndoRegistrationEnabled());
    EXPECT_EQ(window->Selected_Control_Tool(), 0);
}

TEST_F(StartupTest, StartScreenOpensASavedDesign)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("startup-open")) + QStringLiteral("/saved.dcard");
    addShape(QRectF(10, 10, 40, 20));
    addShape(QRectF(60, 10, 40, 20), TSLDocumentGraphicsKey_back);
    window->Front_card_Prop.setCard_Size(QSizeF(200, 100));
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);

    ui.fileAnswers.push_back(path);
    startUp([](Invitation_Wizard& wizard) {
        wizard.Open_Log_Click();
        return wizard.result();
    });
    ASSERT_FALSE(window->hasEnded());
    EXPECT_EQ(Start_Card_Option, QStringLiteral("L"));
    EXPECT_EQ(Project_File_Name, path);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("%1 (saved.dcard)[*]").arg(window->App_Name));
    EXPECT_EQ(window->Get_Front_Control_Count(), 1);
    EXPECT_EQ(window->Get_Back_Control_Count(), 1);
    EXPECT_EQ(window->_graphicView->canvasSize(), QSizeF(200, 100));
}

TEST_F(StartupTest, QuittingWithNoEndsWithoutSaving)
{
    startUpEmpty();
    window->markChangedOutsideUndo(); // a change not yet saved
    ui.messageAnswers.push_back(0);
    window->Exit_Btn_Clicked();
    EXPECT_EQ(messageTexts(ui), QStringList { QStringLiteral("Do you want to save changes before closing?") });
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_TRUE(window->hasEnded());
    EXPECT_EQ(window->endStatus(), 0);
}

TEST_F(StartupTest, ASecondWindowDoesNotReplaceTheFirst)
{
    {
        TSLWindowController second;
        EXPECT_EQ(Main_App_wnd, window.get());
        EXPECT_EQ(TSLWindowController::defaultInstance(), window.get());
        EXPECT_EQ(editorServices(), window.get());
    }
    EXPECT_EQ(Main_App_wnd, window.get()) << "the second one going away leaves the first in place";
}
