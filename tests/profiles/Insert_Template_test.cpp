// The greeting-text picker worked through its own buttons: stepping wraps at both ends of the category's
// list, OK hands back the trimmed text shown (edited or not), and an empty text is refused.
#include "profiles/Greeting_Text_Catalogue.h"
#include "profiles/Insert_Template.h"
#include "profiles/Profiles_Globals.h"
#include "support/TestSupport.h"
#include "ui_Insert_Template.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class InsertTemplateTest : public testing::Test {
protected:
    testsupport::ScriptedResponder ui;
    Insert_Template* picker = Insert_Template::defaultInstance();
    QString savedEvent = Event_Type;

    void TearDown() override { Event_Type = savedEvent; }

    // Opens the picker on a category and runs `user` on the live window as its modal run.
    int open(const QString& category, const QString& mode, const std::function<int(Insert_Template&)>& user)
    {
        Event_Type = category;
        picker->title_or_msg = mode;
        ui.modalRuns.push_back([user](QDialog& dialog) {
            auto& window = static_cast<Insert_Template&>(dialog);
            window.show();
            return user(window);
        });
        return picker->Open_Template_Dialog();
    }
    static int press(QPushButton* button, const Insert_Template& window)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return window.isVisible() ? -1 : window.result();
    }
};

TEST_F(InsertTemplateTest, SteppingWrapsAtBothEndsOfTitlesAndMessages)
{
    struct Case {
        const char* mode;
        QStringList list;
    };
    const Case cases[] = { { "T", Greeting_Text_Catalogue::titles(QStringLiteral("5")) },
        { "M", Greeting_Text_Catalogue::messages(QStringLiteral("5")) } };
    for (const Case& c : cases) {
        ASSERT_GE(c.list.size(), 2);
        QStringList shown;
        open(QStringLiteral("5"), QLatin1String(c.mode), [&shown](Insert_Template& window) {
            shown << window.form().msg_value->toPlainText();
            QTest::mouseClick(window.form().back_btn, Qt::LeftButton);
            shown << window.form().msg_value->toPlainText();
            QTest::mouseClick(window.form().next_btn, Qt::LeftButton);
            shown << window.form().msg_value->toPlainText();
            QTest::mouseClick(window.form().next_btn, Qt::LeftButton);
            shown << window.form().msg_value->toPlainText();
            return press(window.form().cancel_btn, window);
        });
        EXPECT_EQ(shown, QStringList({ c.list.first(), c.list.last(), c.list.first(), c.list.at(1) })) << c.mode;
    }
}

TEST_F(InsertTemplateTest, OkReturnsTheShownOrEditedTextTrimmed)
{
    const QStringList titles = Greeting_Text_Catalogue::titles(QStringLiteral("3"));
    int code = open(QStringLiteral("3"), QStringLiteral("T"), [](Insert_Template& window) {
        QTest::mouseClick(window.form().next_btn, Qt::LeftButton);
        return press(window.form().ok_btn, window);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(Template_Msg_Val, titles.at(1).trimmed());

    code = open(QStringLiteral("3"), QStringLiteral("M"), [](Insert_Template& window) {
        window.form().msg_value->clear();
        QTest::keyClicks(window.form().msg_value, "  See you at the lake  ");
        QTest::keyClick(window.form().msg_value, Qt::Key_Return);
        return press(window.form().ok_btn, window);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(Template_Msg_Val, QStringLiteral("See you at the lake"));
}

TEST_F(InsertTemplateTest, BlankTextIsRefusedAndCancelReturnsNothing)
{
    int stillOpen = 0;
    const int code = open(QStringLiteral("1"), QStringLiteral("T"), [&stillOpen](Insert_Template& window) {
        window.form().msg_value->setPlainText(QStringLiteral("   \n  "));
        stillOpen = press(window.form().ok_btn, window);
        return press(window.form().cancel_btn, window);
    });
    EXPECT_EQ(stillOpen, -1) << "a blank text keeps the window open";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("Please select message."));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Template_Msg_Val.isEmpty());
}

TEST_F(InsertTemplateTest, AnUnknownCategoryShowsNothingAndStepsSafely)
{
    QStringList shown;
    const int code = open(QStringLiteral("13"), QStringLiteral("M"), [&shown](Insert_Template& window) {
        shown << window.form().msg_value->toPlainText();
        QTest::mouseClick(window.form().back_btn, Qt::LeftButton);
        QTest::mouseClick(window.form().next_btn, Qt::LeftButton);
        shown << window.form().msg_value->toPlainText();
        return press(window.form().ok_btn, window);
    });
    EXPECT_EQ(shown, QStringList({ QString(), QString() }));
    EXPECT_EQ(code, 0) << "OK with nothing to return keeps the window open until Cancel";
}

} // namespace
