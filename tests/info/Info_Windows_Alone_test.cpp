// The information windows stand on their own: with no main window in the program, their links still
// reach the desktop and the promotion picture still sits on the installed pattern.
#include "info/Help_Support.h"
#include "info/Promotion_Pattern.h"
#include "info/Share_It_Dlg.h"
#include "platform/DataFolder.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QDir>
#include <QImageReader>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Clicks each named button of the window shown by the seam and returns the pages handed to the desktop.
QStringList pagesOpenedBy(QDialog& window, const std::vector<const char*>& buttons)
{
    testsupport::ScriptedResponder ui;
    ui.modalRuns.push_back([&buttons](QDialog& dialog) {
        dialog.show();
        for (const char* name : buttons)
            QTest::mouseClick(dialog.findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
        dialog.hide();
        return 1;
    });
    platform::ui().runModal(window);
    QStringList pages;
    for (const QUrl& url : ui.urlsOpened)
        pages << url.toString(QUrl::RemoveQuery);
    return pages;
}

TEST(InfoWindowsAlone, NetworkAndSupportButtonsOpenTheirPagesWithoutAMainWindow)
{
    const QStringList networks { "https://www.tessaline.example/share/googleplus",
        "https://www.tessaline.example/share/facebook", "https://www.tessaline.example/share/twitter",
        "https://www.tessaline.example/share/facebook-like" };
    EXPECT_EQ(
        pagesOpenedBy(*Share_It_Dlg::defaultInstance(), { "gplus_btn", "facebook_btn", "twitter_btn", "fb_like_btn" }),
        networks);
    EXPECT_EQ(pagesOpenedBy(*Help_Support::defaultInstance(),
                  { "support_id", "website_1", "reseller_1", "gplus_btn", "fb_like_btn" }),
        (QStringList { "mailto:support@tessaline.example", "https://www.tessaline.example/",
            "mailto:resellers@tessaline.example", networks[0], networks[3] }));
}

TEST(InfoWindowsAlone, ThePromotionPatternIsTheInstalledPicture)
{
    const QImage installed
        = QImageReader(QDir(platform::installedResourceDir()).filePath(QStringLiteral("pattern_1.jpg"))).read();
    ASSERT_FALSE(installed.isNull()) << "pattern_1 is installed";
    EXPECT_EQ(Promotion_Pattern::pattern(), installed);
}

} // namespace
