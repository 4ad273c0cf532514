#include "WizardTestSupport.h"

#include "common/Common_Functions.h"
#include "model/PictureFiles.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Greeting_Text_Catalogue.h"

#include <QCloseEvent>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>

using wizardtest::WizardTest;

namespace {

std::vector<QString> sortedNames(const QList<Browser_Picture_Object>& pictures)
{
    std::vector<QString> names;
    for (const auto& picture : pictures)
        names.push_back(picture.image_Name);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST_F(WizardTest, OpeningStartsOverOnTheStartScreen)
{
    fillBackgroundFolder();
    Event_Type = QStringLiteral("7");
    const int result = open([this](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        EXPECT_EQ(Event_Type, QStringLiteral("1"));
        EXPECT_EQ(paneOf(form), QStringLiteral("Start_card_box"));
        EXPECT_EQ(w.next_counter(), 0);
        EXPECT_FALSE(form.button_box->isVisible());
        EXPECT_TRUE(form.Exit_btn->isVisible());
        EXPECT_TRUE(form.Help_btn_1->isVisible());
        ASSERT_TRUE(form.Contact_us_btn->isVisible());
        form.Contact_us_btn->click(); // the maker's support mail
        ASSERT_EQ(responder.urlsOpened.size(), 1u);
        EXPECT_EQ(responder.urlsOpened[0], QUrl(QStringLiteral("mailto:support@tessaline.example")));
        EXPECT_DOUBLE_EQ(form.width_Stepper->value(), 120.0);
        EXPECT_DOUBLE_EQ(form.height_Stepper->value(), 120.0);
        EXPECT_EQ(form.APP_path_label->text(), Resource_Path);
        // png and jpg in any case; not jpeg, not text, not a folder that merely looks like a picture.
        EXPECT_EQ(sortedNames(w.images()),
            (std::vector<QString> {
                QStringLiteral("Harbour.PNG"), QStringLiteral("Meadow.png"), QStringLiteral("Sunset.jpg") }));
        for (const auto& picture : w.images()) {
            EXPECT_EQ(picture.path, backgroundPath(picture.image_Name));
            EXPECT_EQ(picture.image_UID, picture.image_Name);
        }
        EXPECT_TRUE(w.selected_image().isEmpty());
    });
    EXPECT_EQ(result, kStillOpen);
}

TEST_F(WizardTest, ExitEndsTheRunWithoutGoingOnAndEmptiesTheChoice)
{
    Start_Card_Option = QStringLiteral("L");
    const int result = open([](Invitation_Wizard&, Ui::Invitation_Wizard& form) { form.Exit_btn->click(); });
    EXPECT_NE(result, 1);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Start_Card_Option.isEmpty());
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(host.openLogCalls, 0);
}

TEST_F(WizardTest, ClosingTheWindowLeavesItForTheEditorAndEscapeOnlyCancelsTheWizard)
{
    fillBackgroundFolder();
    const int result = open([this](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_FALSE(finishedWith.has_value());
        EXPECT_EQ(paneOf(form), QStringLiteral("Start_card_box"));
        EXPECT_TRUE(w.selected_image().isEmpty());

        // Escape on the start screen closes it as its close button does, never quitting the program.
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_EQ(result, Invitation_Wizard::kClosed) << "not Exit: the program goes on";
    EXPECT_TRUE(Start_Card_Option.isEmpty());

    // The program's own modal run hands back the same close code, closed by the window's close button.
    platform::setUiResponder(nullptr);
    QTimer closer;
    int tries = 0;
    QObject::connect(&closer, &QTimer::timeout, [this, &tries] {
        if (++tries > 2000)
            wizard->done(-1); // a window that does not close ends this test, not the whole run
        else if (wizard->isVisible())
            wizard->close();
    });
    closer.start(10);
    const int closed = wizard->Open_Wnd();
    platform::setUiResponder(&responder);
    EXPECT_EQ(closed, Invitation_Wizard::kClosed);
}

TEST_F(WizardTest, OpeningADesignClosesOnlyWhenTheMainWindowReadIt)
{
    host.openLogAnswers = { 0, 0, 1 };
    const int result = open([this](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        form.Open_Log_btn->click();
        EXPECT_EQ(host.openLogCalls, 1);
        EXPECT_FALSE(finishedWith.has_value());
        EXPECT_EQ(Start_Card_Option, QStringLiteral("L"));
        EXPECT_EQ(paneOf(form), QStringLiteral("Start_card_box"));
        EXPECT_EQ(w.next_counter(), 0);

        // After a cancelled panel the wizard can still be chosen.
        form.Using_Wizard_btn->click();
        EXPECT_EQ(Start_Card_Option, QStringLiteral("W"));
        EXPECT_EQ(paneOf(form), QStringLiteral("first_box"));
        EXPECT_EQ(host.openLogCalls, 1);
        form.Cancel_btn->click();

        form.Open_Log_btn->click();
        EXPECT_FALSE(finishedWith.has_value());
        form.Open_Log_btn->click();
        EXPECT_EQ(host.openLogCalls, 3);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Start_Card_Option, QStringLiteral("L"));
    EXPECT_FALSE(host.controlSize.has_value()) << "opening a design must not impose the wizard's size";
}

TEST_F(WizardTest, OpeningADesignWithoutAMainWindowKeepsTheStartScreen)
{
    wizard->setHost(nullptr);
    const int result = open([this](Invitation_Wizard&, Ui::Invitation_Wizard& form) {
        form.Open_Log_btn->click();
        EXPECT_FALSE(finishedWith.has_value());
        EXPECT_EQ(paneOf(form), QStringLiteral("Start_card_box"));
    });
    EXPECT_EQ(result, kStillOpen);
}

TEST_F(WizardTest, FivePanesPublishTheAnswersAndTheCardSize)
{
    fillBackgroundFolder();
    Card_Shape = 2;
    Invite_Venue = QStringLiteral("left over");
    QString firstPicture;
    const int result = open([&](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        form.Using_Wizard_btn->click();
        EXPECT_EQ(paneOf(form), QStringLiteral("first_box"));
        EXPECT_TRUE(form.button_box->isVisible());
        EXPECT_FALSE(form.Exit_btn->isVisible());
        EXPECT_FALSE(form.Help_btn_1->isVisible());
        EXPECT_FALSE(form.Contact_us_btn->isVisible());

        // A width typed into the field and a height set with the arrows both reach the card.
        form.width_Stepper->selectAll();
        QTest::keyClicks(form.width_Stepper, QStringLiteral("100"));
        form.height_Stepper->setValue(150.0);
        form.Next_btn->click();

        // Entering the background pane takes its first picture but stays there.
        EXPECT_EQ(paneOf(form), QStringLiteral("second_box"));
        ASSERT_FALSE(w.images().isEmpty());
        firstPicture = w.images().first().path;
        EXPECT_EQ(w.selected_image(), firstPicture);
        EXPECT_EQ(form.imageBrowser->selectionModel()->selectedIndexes().size(), 1);
        form.Next_btn->click();

        EXPECT_EQ(paneOf(form), QStringLiteral("event_box"));
        form.Him_btn->click();
        EXPECT_EQ(Event_Type, QStringLiteral("7"));
        EXPECT_EQ(paneOf(form), QStringLiteral("third_box"));
        // A suggestion replaces the typed message as one edit: Undo in the field brings the typing back.
        QTest::keyClicks(form.msg_value, QStringLiteral("My own words"));
        const QString typed = form.msg_value->toPlainText();
        form.msg_nxt_btn->click();
        QTest::keySequence(form.msg_value, QKeySequence::Undo);
        EXPECT_EQ(form.msg_value->toPlainText(), typed);
        QTest::keySequence(form.msg_value, QKeySequence::Redo);
        const QString message = Greeting_Text_Catalogue::messages(QStringLiteral("7")).at(1);
        EXPECT_EQ(form.msg_value->toPlainText(), message);
        form.msg_title->selectAll();
        QTest::keyClicks(form.msg_title, QStringLiteral("  Thank you, Dad  "));
        form.Next_btn->click();

        EXPECT_EQ(paneOf(form), QStringLiteral("fourth_box"));
        EXPECT_EQ(w.selected_title(), QStringLiteral("  Thank you, Dad  "));
        EXPECT_EQ(w.selected_msg(), message);
        for (QWidget* hidden : { static_cast<QWidget*>(form.venue_value), static_cast<QWidget*>(form.Date_picker),
                 static_cast<QWidget*>(form.Time_picker), static_cast<QWidget*>(form.venue_label) })
            EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
        QTest::keyClicks(form.from_value, QStringLiteral(" Mia\t"));
        QTest::keyClicks(form.to_value, QStringLiteral("Dad"));
        EXPECT_FALSE(finishedWith.has_value());
        form.Next_btn->click();
    });

    EXPECT_EQ(result, 1);
    EXPECT_EQ(Start_Card_Option, QStringLiteral("W"));
    EXPECT_EQ(Card_Shape, 0);
    EXPECT_EQ(Invite_Title, QStringLiteral("Thank you, Dad"));
    EXPECT_EQ(Invite_Message, Trim_Str(Greeting_Text_Catalogue::messages(QStringLiteral("7")).at(1)));
    EXPECT_EQ(Invite_From, QStringLiteral("Mia"));
    EXPECT_EQ(Invite_To, QStringLiteral("Dad"));
    EXPECT_TRUE(Invite_Venue.isEmpty());
    EXPECT_TRUE(Invite_Date.isEmpty());
    EXPECT_TRUE(Invite_Time.isEmpty());
    EXPECT_EQ(Invite_BG_IMG, firstPicture);

    ASSERT_TRUE(host.controlSize && host.documentSize && host.canvasSize);
    EXPECT_DOUBLE_EQ(host.controlSize->first, 100.0);
    EXPECT_DOUBLE_EQ(host.controlSize->second, 150.0);
    EXPECT_NEAR(host.documentSize->first, 283.4646, 1e-4);
    EXPECT_NEAR(host.documentSize->second, 425.1969, 1e-4);
    EXPECT_EQ(*host.canvasSize, *host.documentSize);
}

TEST_F(WizardTest, BackStepsOnePaneAndKeepsTheAnswersUntilTheStartScreen)
{
    fillBackgroundFolder();
    open([this](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        w.Back_Click(); // nothing to go back to
        EXPECT_EQ(w.next_counter(), 0);
        EXPECT_EQ(paneOf(form), QStringLiteral("Start_card_box"));

        walkToCategories(w, form);
        form.Back_Btn->click(); // a later picture than the one offered
        form.imageBrowser->doItemsLayout();
        const QModelIndex last = w.imageModel().index(int(w.images().size()) - 1, 0);
        QTest::mouseClick(
            form.imageBrowser->viewport(), Qt::LeftButton, {}, form.imageBrowser->visualRect(last).center());
        form.Next_btn->click();
        form.Sorry_btn->click();
        form.Next_btn->click();
        QTest::keyClicks(form.from_value, QStringLiteral("Noor"));
        QTest::keyClicks(form.to_value, QStringLiteral("Sam"));
        const QString picture = w.selected_image();
        ASSERT_EQ(picture, w.images().last().path);

        const char* expected[] = { "third_box", "event_box", "second_box", "first_box" };
        for (int step = 4; step >= 1; --step) {
            form.Back_Btn->click();
            EXPECT_EQ(w.next_counter(), step);
            EXPECT_EQ(paneOf(form), QLatin1String(expected[4 - step]));
            EXPECT_EQ(form.from_value->text(), QStringLiteral("Noor"));
            EXPECT_EQ(w.selected_image(), picture);
        }
        EXPECT_FALSE(w.selected_title().isEmpty());
        // Next through every pane again keeps each choice.
        for (int step = 2; step <= 5; ++step)
            form.Next_btn->click();
        EXPECT_EQ(w.selected_image(), picture) << "the picture chosen, not the first one";
        EXPECT_EQ(form.to_value->text(), QStringLiteral("Sam"));
        for (int step = 4; step >= 1; --step)
            form.Back_Btn->click();

        // Back from the size pane is the start screen with everything cleared.
        form.Back_Btn->click();
        EXPECT_EQ(w.next_counter(), 0);
        EXPECT_EQ(paneOf(form), QStringLiteral("Start_card_box"));
        EXPECT_TRUE(w.selected_image().isEmpty());
        EXPECT_TRUE(w.selected_title().isEmpty());
        EXPECT_TRUE(w.selected_msg().isEmpty());
        EXPECT_TRUE(form.from_value->text().isEmpty());
        EXPECT_TRUE(form.to_value->text().isEmpty());
        EXPECT_FALSE(form.clear_details_btn->isEnabled());
        EXPECT_TRUE(form.imageBrowser->selectionModel()->selectedIndexes().isEmpty());
        EXPECT_FALSE(finishedWith.has_value());
    });
}

TEST_F(WizardTest, CancelReturnsToAFreshStartScreenAndTheWizardRunsAgain)
{
    fillBackgroundFolder();
    const int result = open([this](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        form.Cute_btn->click();
        form.Cancel_btn->click();
        EXPECT_FALSE(finishedWith.has_value());
        EXPECT_EQ(paneOf(form), QStringLiteral("Start_card_box"));
        EXPECT_TRUE(w.selected_image().isEmpty());

        // The first picture is offered again, though the browser had it selected before.
        form.Using_Wizard_btn->click();
        form.Next_btn->click();
        EXPECT_EQ(w.selected_image(), w.images().first().path);
        form.Next_btn->click();
        EXPECT_EQ(w.next_counter(), 3);
    });
    EXPECT_EQ(result, kStillOpen);
}

TEST_F(WizardTest, AClickChoosesAPictureAndStaysWhileADoubleClickMovesOn)
{
    fillBackgroundFolder();
    open([this](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        form.Using_Wizard_btn->click();
        form.Next_btn->click();
        form.imageBrowser->doItemsLayout();
        const QModelIndex last = w.imageModel().index(int(w.images().size()) - 1, 0);
        const QRect rect = form.imageBrowser->visualRect(last);
        ASSERT_TRUE(rect.isValid());
        QTest::mouseClick(form.imageBrowser->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_EQ(w.selected_image(), w.images().last().path);
        EXPECT_EQ(paneOf(form), QStringLiteral("second_box")) << "a click only chooses";
        QTest::mouseDClick(form.imageBrowser->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_EQ(paneOf(form), QStringLiteral("event_box"));
        EXPECT_TRUE(responder.messages.empty());
    });
}

TEST_F(WizardTest, BackgroundMustBeChosenAndStillBeThere)
{
    // No pictures at all: the pane is empty and Next refuses.
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        form.Using_Wizard_btn->click();
        form.Next_btn->click();
        EXPECT_TRUE(w.images().isEmpty());
        EXPECT_TRUE(w.selected_image().isEmpty());
        form.Next_btn->click();
        EXPECT_EQ(w.next_counter(), 2);
        EXPECT_EQ(paneOf(form), QStringLiteral("second_box"));
    });
    EXPECT_EQ(messageTexts(), std::vector<QString> { QStringLiteral("\nPlease select background.") });

    // A photo with torn coded data is listed, its header being whole, and refused by name when chosen; the
    // chosen picture removed meanwhile is refused as well.
    fillBackgroundFolder();
    ASSERT_TRUE(picturefiles::write(backgroundPath(QStringLiteral("Torn.jpg")), picturefiles::tornJpeg()));
    responder.messages.clear();
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        form.Using_Wizard_btn->click();
        form.Next_btn->click();
        ASSERT_FALSE(w.selected_image().isEmpty());
        const int torn
            = int(std::ranges::find(w.images(), QStringLiteral("Torn.jpg"), &Browser_Picture_Object::image_Name)
                - w.images().begin());
        ASSERT_LT(torn, w.images().size());
        for (const int chosen : { torn, torn == 0 ? 1 : 0 }) {
            form.imageBrowser->setCurrentIndex(w.imageModel().index(chosen, 0));
            ASSERT_TRUE(chosen == torn || QFile::remove(w.selected_image()));
            form.Next_btn->click();
            EXPECT_EQ(w.next_counter(), 2);
        }
    });
    ASSERT_EQ(messageTexts().size(), 2u);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("Torn.jpg\" is not a picture that can be used")));
    EXPECT_EQ(messageTexts()[1], QStringLiteral("\nPlease select background."));
}

TEST_F(WizardTest, MissingBackgroundFolderLeavesThePaneEmpty)
{
    fillBackgroundFolder();
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard&) { EXPECT_EQ(w.images().size(), 3); });
    ASSERT_TRUE(QDir(Resource_Path + QStringLiteral("/Background")).removeRecursively());
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        EXPECT_TRUE(w.images().isEmpty()) << "pictures of the previous opening must not linger";
        form.Using_Wizard_btn->click();
        form.Next_btn->click();
        EXPECT_TRUE(w.selected_image().isEmpty());
    });
}

TEST_F(WizardTest, EachOpeningStartsOverWhileTheLastAnswersStayPublished)
{
    fillBackgroundFolder();
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        form.width_Stepper->setValue(90);
        walkToCategories(w, form);
        form.Flirty_btn->click();
        form.Next_btn->click();
        QTest::keyClicks(form.from_value, QStringLiteral("Ola"));
        form.Next_btn->click();
    });
    ASSERT_EQ(Invite_From, QStringLiteral("Ola"));
    ASSERT_EQ(Event_Type, QStringLiteral("12"));
    const QString title = Invite_Title;

    const int result = open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        EXPECT_EQ(Event_Type, QStringLiteral("1"));
        EXPECT_DOUBLE_EQ(form.width_Stepper->value(), 120.0);
        EXPECT_EQ(w.next_counter(), 0);
        EXPECT_TRUE(form.from_value->text().isEmpty());
        EXPECT_TRUE(w.selected_title().isEmpty());
        form.Exit_btn->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Invite_From, QStringLiteral("Ola"));
    EXPECT_EQ(Invite_Title, title);
}

TEST_F(WizardTest, BlankTitleAndMessageComeOutEmpty)
{
    fillBackgroundFolder();
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        form.Gifts_btn->click();
        form.msg_title->selectAll();
        QTest::keyClicks(form.msg_title, QStringLiteral("    "));
        form.msg_value->selectAll();
        QTest::keyClicks(form.msg_value, QStringLiteral("  "));
        QTest::keyClick(form.msg_value, Qt::Key_Return);
        form.Next_btn->click();
        form.Next_btn->click();
    });
    EXPECT_TRUE(Invite_Title.isEmpty());
    EXPECT_TRUE(Invite_Message.isEmpty());
    EXPECT_TRUE(Invite_From.isEmpty());
    EXPECT_TRUE(Invite_To.isEmpty());
}

TEST_F(WizardTest, ACardTooSmallForTheTextsIsSaidBeforeFinishing)
{
    fillBackgroundFolder();
    for (const double width : { 20.0, 15.0, 148.0 }) { // millimetres, 0.7 as high: the last card holds the texts
        const bool asked = width < 100;
        responder.messages.clear();
        responder.messageAnswers = { 0, 1 }; // "No": the wizard stays; then "Yes": finish anyway
        bool stayed = false;
        const int result = open([&](Invitation_Wizard&, Ui::Invitation_Wizard& form) {
            form.Using_Wizard_btn->click();
            form.width_Stepper->setValue(width);
            form.height_Stepper->setValue(width * 0.7);
            form.Next_btn->click();
            form.Next_btn->click();
            form.Him_btn->click();
            form.Next_btn->click();
            QTest::keyClicks(form.from_value, QStringLiteral("Mia and Tom"));
            form.Next_btn->click();
            if ((stayed = !finishedWith.has_value()))
                form.Next_btn->click();
        });
        EXPECT_EQ(result, 1) << width;
        EXPECT_EQ(stayed, asked) << width;
        ASSERT_EQ(responder.messages.size(), asked ? 2u : 0u) << width;
        EXPECT_TRUE(!asked || responder.messages.front().text.contains(QStringLiteral("do not fit"))) << width;
    }
}
