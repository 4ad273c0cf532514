#include "WizardTestSupport.h"

#include "common/Common_Functions.h"
#include "profiles/Greeting_Text_Catalogue.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QTest>

using wizardtest::WizardTest;

TEST_F(WizardTest, EveryCategoryButtonChoosesItsTextsAndMovesOn)
{
    fillBackgroundFolder();
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        const std::pair<QPushButton*, const char*> buttons[] = {
            { form.Cute_btn, "1" },
            { form.Funny_btn, "2" },
            { form.Gifts_btn, "3" },
            { form.Gud_Mrng_btn, "4" },
            { form.Gud_Nite_btn, "5" },
            { form.Her_btn, "6" },
            { form.Him_btn, "7" },
            { form.Love_U_btn, "8" },
            { form.Miss_U_btn, "9" },
            { form.Proposal_btn, "10" },
            { form.Sorry_btn, "11" },
            { form.Flirty_btn, "12" },
        };
        for (const auto& [button, key] : buttons) {
            SCOPED_TRACE(key);
            ASSERT_EQ(w.next_counter(), 3);
            button->click();
            const QString category = QString::fromLatin1(key);
            EXPECT_EQ(Event_Type, category);
            EXPECT_EQ(w.next_counter(), 4);
            EXPECT_EQ(w.texts().Title_Array, Greeting_Text_Catalogue::titles(category));
            EXPECT_EQ(w.texts().Message_Array, Greeting_Text_Catalogue::messages(category));
            EXPECT_EQ(form.msg_title->text(), Greeting_Text_Catalogue::titles(category).first());
            EXPECT_EQ(form.msg_value->toPlainText(), Greeting_Text_Catalogue::messages(category).first());
            form.Back_Btn->click();
        }
    });
}

TEST_F(WizardTest, TitleAndMessageArrowsWrapAtBothEnds)
{
    fillBackgroundFolder();
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        form.Gud_Mrng_btn->click();
        const QStringList titles = Greeting_Text_Catalogue::titles(QStringLiteral("4"));
        const QStringList messages = Greeting_Text_Catalogue::messages(QStringLiteral("4"));

        form.title_bk_btn->click();
        EXPECT_EQ(w.texts().title_index, titles.size() - 1);
        EXPECT_EQ(form.msg_title->text(), titles.last());
        form.title_nxt_btn->click();
        EXPECT_EQ(form.msg_title->text(), titles.first());
        for (qsizetype i = 0; i < titles.size(); ++i)
            form.title_nxt_btn->click();
        EXPECT_EQ(w.texts().title_index, 0);

        form.msg_nxt_btn->click();
        form.msg_nxt_btn->click();
        EXPECT_EQ(form.msg_value->toPlainText(), messages.at(2));
        form.msg_bk_btn->click();
        EXPECT_EQ(form.msg_value->toPlainText(), messages.at(1));
        form.msg_bk_btn->click();
        form.msg_bk_btn->click();
        EXPECT_EQ(w.texts().message_index, messages.size() - 1);
        EXPECT_EQ(form.msg_value->toPlainText(), messages.last());
        // The title arrows never move the message, nor the other way round.
        EXPECT_EQ(form.msg_title->text(), titles.first());
    });
}

TEST_F(WizardTest, StartScreenHoldsTheFileListsUncutAndEmptyListsStepToNothing)
{
    const QString longTitle(150, QLatin1Char('t'));
    writeText(QStringLiteral("Title.txt"), longTitle.toUtf8() + "\nsecond\n");
    open([&](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        // Texts the wizard puts in the fields itself are not held to the typing limits.
        EXPECT_EQ(form.msg_title->text(), longTitle);
        EXPECT_EQ(w.texts().title_count, 2);
        // Message.txt is missing: no list, an empty text, and stepping stays empty and in range.
        EXPECT_EQ(w.texts().message_count, 0);
        EXPECT_TRUE(form.msg_value->toPlainText().isEmpty());
        w.Msg_Back_Click();
        EXPECT_TRUE(form.msg_value->toPlainText().isEmpty());
        EXPECT_EQ(w.texts().message_index, 0);
        w.Msg_Next_Click();
        EXPECT_TRUE(form.msg_value->toPlainText().isEmpty());
        EXPECT_EQ(w.texts().message_index, 0);
    });
}

TEST_F(WizardTest, ForwardFromTheCategoryPaneKeepsTypedTextsUntilAnotherOccasionIsChosen)
{
    fillBackgroundFolder();
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        form.Love_U_btn->click();
        form.title_nxt_btn->click();
        form.msg_title->selectAll();
        QTest::keyClicks(form.msg_title, QStringLiteral("My own words"));
        form.Back_Btn->click();
        form.Next_btn->click(); // the same category again, by Next: the typing stays
        EXPECT_EQ(w.next_counter(), 4);
        EXPECT_EQ(form.msg_title->text(), QStringLiteral("My own words"));
        form.Back_Btn->click();
        form.Him_btn->click(); // another occasion: its texts, as one edit that Undo takes back
        EXPECT_EQ(form.msg_title->text(), Greeting_Text_Catalogue::titles(QStringLiteral("7")).first());
        EXPECT_EQ(w.texts().title_index, 0);
        QTest::keySequence(form.msg_title, QKeySequence::Undo);
        EXPECT_EQ(form.msg_title->text(), QStringLiteral("My own words"));
    });
}

TEST_F(WizardTest, TypingIsCutToEachFieldsLimit)
{
    fillBackgroundFolder();
    open([this](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        form.Cute_btn->click();

        // A 101st character typed into the title is dropped; an emoji that would straddle the limit
        // goes whole, never half a surrogate pair.
        form.msg_title->clear();
        QTest::keyClicks(form.msg_title, QString(101, QLatin1Char('a')));
        EXPECT_EQ(form.msg_title->text(), QString(100, QLatin1Char('a')));
        form.msg_title->clear();
        form.msg_title->insert(QString(99, QLatin1Char('b')) + QString::fromUtf8("\xF0\x9F\x8E\x89"));
        EXPECT_EQ(form.msg_title->text(), QString(99, QLatin1Char('b')));

        // Pasting 300 characters into the message leaves the first 250.
        QString pasted;
        for (int i = 0; i < 300; ++i)
            pasted += QChar(u'a' + i % 26);
        form.msg_value->clear();
        QGuiApplication::clipboard()->setText(pasted);
        responder.messages.clear();
        form.msg_value->paste();
        EXPECT_EQ(form.msg_value->toPlainText(), pasted.left(250));
        ASSERT_EQ(responder.messages.size(), 1u) << "the cut is said";
        EXPECT_EQ(responder.messages[0].text.trimmed(),
            QStringLiteral("A message can have at most 250 characters: the last 50 were left out."));

        form.Next_btn->click();
        EXPECT_EQ(w.selected_msg(), pasted.left(250));
        EXPECT_FALSE(form.clear_details_btn->isEnabled());
        QTest::keyClicks(form.from_value, QString(41, QLatin1Char('f')));
        EXPECT_EQ(form.from_value->text(), QString(40, QLatin1Char('f')));
        EXPECT_TRUE(form.clear_details_btn->isEnabled());
        QTest::keyClicks(form.to_value, QString(45, QLatin1Char('t')));
        EXPECT_EQ(form.to_value->text().size(), 40);
        QTest::keyClicks(form.venue_value, QString(120, QLatin1Char('v')));
        EXPECT_EQ(form.venue_value->text().size(), 100);
    });
}

TEST_F(WizardTest, ClearAsksFirstAndEmptiesEveryDetail)
{
    fillBackgroundFolder();
    responder.messageAnswers = { 0, 1 };
    open([](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        form.Proposal_btn->click();
        form.Next_btn->click();
        QTest::keyClicks(form.from_value, QStringLiteral("Jo"));
        QTest::keyClicks(form.to_value, QStringLiteral("Kim"));
        form.Date_picker->setDate(QDate(2031, 6, 14));
        form.Time_picker->setTime(QTime(19, 30));

        form.clear_details_btn->click(); // answered No
        EXPECT_EQ(form.from_value->text(), QStringLiteral("Jo"));
        EXPECT_FALSE(w.selected_date().isEmpty());

        form.clear_details_btn->click(); // answered Yes
        EXPECT_TRUE(form.from_value->text().isEmpty());
        EXPECT_TRUE(form.to_value->text().isEmpty());
        EXPECT_TRUE(form.Date_ctrl_value->text().isEmpty());
        EXPECT_TRUE(form.Time_ctrl_value->text().isEmpty());
        EXPECT_TRUE(w.selected_date().isEmpty());
        EXPECT_TRUE(w.selected_time().isEmpty());
        EXPECT_FALSE(form.clear_details_btn->isEnabled());
        EXPECT_EQ(form.Date_picker->date(), QDate::currentDate());
        form.Next_btn->click();
    });
    ASSERT_EQ(responder.messages.size(), 2u);
    EXPECT_EQ(responder.messages[0].text, QStringLiteral("Are you sure you want to clear details?"));
    EXPECT_EQ(responder.messages[0].kind, platform::MessageRequest::Kind::YesNo);
    EXPECT_TRUE(Invite_Date.isEmpty());
    EXPECT_TRUE(Invite_Time.isEmpty());
    EXPECT_TRUE(Invite_From.isEmpty());
}

TEST_F(WizardTest, PickedDateAndTimeAreShownAndPublished)
{
    fillBackgroundFolder();
    const QDate date(2031, 6, 14);
    open([&](Invitation_Wizard& w, Ui::Invitation_Wizard& form) {
        walkToCategories(w, form);
        form.Miss_U_btn->click();
        form.Next_btn->click();
        form.Date_picker->setDate(date);
        form.Time_picker->setTime(QTime(19, 5));
        EXPECT_EQ(form.Time_ctrl_value->text(), QStringLiteral("7:05 PM"));
        EXPECT_TRUE(form.Date_ctrl_value->text().contains(QStringLiteral("2031")));
        EXPECT_TRUE(form.clear_details_btn->isEnabled());
        QTest::keyClicks(form.venue_value, QStringLiteral(" Town hall "));
        form.Next_btn->click();
    });
    EXPECT_EQ(Invite_Date, QLocale().toString(date, QLocale::LongFormat));
    EXPECT_EQ(Invite_Time, QStringLiteral("7:05 PM"));
    EXPECT_EQ(Invite_Venue, QStringLiteral("Town hall"));
}
