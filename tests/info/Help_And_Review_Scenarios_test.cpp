// Help and leaving the program in a person's hands: the Help button opens the help and support window,
// whose links reach the desktop's programs and leave the window open; quitting shows the review request
// after the save question, whatever the answer, and then ends the program. The data-source page's help
// button explains the sources.
#include "editor/EditorScenarioFixture.h"

#include "info/Help_Support.h"
#include "info/Review_Form.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

using editorscenario::EditorScenario;

namespace {

class HelpAndReviewScenario : public EditorScenario {
protected:
    void SetUp() override
    {
        EditorScenario::SetUp();
        startEmpty();
    }
    QStringList opened() const
    {
        QStringList urls;
        for (const QUrl& url : ui.urlsOpened)
            urls << url.toString();
        return urls;
    }
};

TEST_F(HelpAndReviewScenario, TheDataSourcePagesHelpButtonExplainsTheSources)
{
    click(widget<QWidget>(QStringLiteral("Text_Tool_btn")));
    ui.dialogsRun.clear();
    QString title, text;
    ui.modalRuns.push_back([&](QDialog& dialog) {
        dialog.show();
        title = dialog.findChild<QLabel*>(QStringLiteral("_Msg_Title"))->text();
        text = dialog.findChild<QLabel*>(QStringLiteral("_Msg_Val"))->text();
        EXPECT_TRUE(dialog.findChild<QWidget*>(QStringLiteral("no_button"))->isHidden()) << "OK alone";
        editorscenario::clickChild(dialog, "yes_button");
        return dialog.result();
    });
    click(widget<QPushButton>(QStringLiteral("data_source_help_btn")));
    ASSERT_EQ(ui.dialogsRun.size(), 1u);
    EXPECT_EQ(title, QStringLiteral("Batch Processing Settings Help :"));
    EXPECT_EQ(text,
        QStringLiteral("Select Data Source as 'Manual' to enter value manually, Select 'Batch Processing Series' to "
                       "fetch the value from the list of existing Batch Processing Series."));
}

TEST_F(HelpAndReviewScenario, TheHelpWindowsLinksOpenTheirPagesAndKeepTheWindowOpen)
{
    const struct {
        const char* button;
        const char* opens;
    } links[] = { { "support_id", "mailto:support@tessaline.example" },
        { "support_id_2", "mailto:support@tessaline.example" }, { "website_1", "https://www.tessaline.example/" },
        { "reseller_1", "mailto:resellers@tessaline.example?subject=" },
        { "gplus_btn", "https://www.tessaline.example/share/googleplus" },
        { "facebook_btn", "https://www.tessaline.example/share/facebook?" },
        { "twitter_btn", "https://www.tessaline.example/share/twitter" },
        { "fb_like_btn", "https://www.tessaline.example/share/facebook-like" },
        { "comments_btn", "https://www.tessaline.example/comments" } };
    std::vector<bool> openAfter;
    ui.modalRuns.push_back([&](QDialog& dialog) {
        dialog.show();
        openAfter = editorscenario::clickEachButton(dialog, links);
        editorscenario::clickChild(dialog, "close_btn");
        return dialog.result();
    });
    QAction* help = action(QStringLiteral("Help_btn"));
    ASSERT_TRUE(help->isEnabled());
    help->trigger();

    ASSERT_EQ(ui.dialogsRun.back(), QStringLiteral("HelpWindow"));
    const QStringList urls = opened();
    ASSERT_EQ(urls.size(), int(std::size(links))) << "one page per click";
    for (std::size_t i = 0; i < std::size(links); ++i) {
        EXPECT_TRUE(urls[int(i)].startsWith(QLatin1String(links[i].opens))) << urls[int(i)].toStdString();
        EXPECT_TRUE(openAfter[i]) << links[i].button;
    }
    EXPECT_FALSE(Help_Support::defaultInstance()->isVisible());
}

TEST_F(HelpAndReviewScenario, TheGuideLinkOpensTheGuideOrSaysItIsMissing)
{
    const QString guide = QDir(Resource_Path).filePath(QStringLiteral("Help.pdf"));
    ASSERT_TRUE(QFile::exists(guide)) << "the data folder is seeded with the guide";
    bool stillOpen = false;
    const auto pressGuide = [&stillOpen](QDialog& dialog) {
        dialog.show();
        editorscenario::clickChild(dialog, "_Help_File_Label");
        stillOpen = dialog.isVisible();
        editorscenario::clickChild(dialog, "close_btn");
        return dialog.result();
    };
    ui.modalRuns.push_back(pressGuide);
    window->Help_Button();
    ASSERT_EQ(ui.urlsOpened.size(), 1u);
    EXPECT_EQ(ui.urlsOpened[0], QUrl::fromLocalFile(guide));

    const QString aside = guide + QStringLiteral(".aside");
    ASSERT_TRUE(QFile::rename(guide, aside));
    ui.modalRuns.push_back(pressGuide);
    window->Help_Button();
    QFile::rename(aside, guide);
    EXPECT_EQ(ui.urlsOpened.size(), 1u);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(editortest::messageTexts(ui).contains(QStringLiteral("Help file does not exist!")));

    ui.desktopOpens = false; // no PDF viewer installed: the person is told where the guide is
    ui.modalRuns.push_back(pressGuide);
    window->Help_Button();
    EXPECT_EQ(ui.urlsOpened.size(), 2u);
    EXPECT_TRUE(editortest::messageTexts(ui).last().contains(QDir::toNativeSeparators(guide)))
        << editortest::messageTexts(ui).last().toStdString();
}

TEST_F(HelpAndReviewScenario, QuittingAsksToSaveThenShowsTheReviewRequestAndEnds)
{
    // Enter presses the default button, which closes the window without opening the browser.
    const struct {
        const char* button;
        std::size_t pagesOpened;
    } rows[] = { { "review_btn", 1 }, { "ok_btn", 1 }, { "Enter", 0 }, { "close_btn", 0 } };
    for (const auto& [button, pagesOpened] : rows) {
        window->setDocument(&document);
        window->markChangedOutsideUndo(); // a change not yet saved
        ui.urlsOpened.clear();
        ui.messageAnswers.push_back(0); // do not save
        ui.modalRuns.push_back([button = button](QDialog& dialog) {
            dialog.show();
            if (QLatin1String(button) == QLatin1String("Enter"))
                QTest::keyClick(&dialog, Qt::Key_Return);
            else
                editorscenario::clickChild(dialog, button);
            return dialog.result();
        });
        const std::size_t before = ui.dialogsRun.size();
        window->Exit_App();
        ASSERT_EQ(ui.dialogsRun.size(), before + 1) << button;
        EXPECT_EQ(ui.dialogsRun.back(), QStringLiteral("Review_Window"));
        EXPECT_EQ(ui.messages.back().text.trimmed(), QStringLiteral("Do you want to save changes before closing?"));
        ASSERT_EQ(ui.urlsOpened.size(), pagesOpened) << button;
        if (pagesOpened) {
            EXPECT_EQ(ui.urlsOpened[0], QUrl(QStringLiteral("https://www.tessaline.example/review")));
        }
        EXPECT_FALSE(Review_Form::defaultInstance()->isVisible());
        EXPECT_TRUE(window->hasEnded());
        EXPECT_EQ(window->endStatus(), 0);
    }
}

} // namespace
