// The user guide made at build time, read by poppler's tools as a reader's PDF viewer would: every
// section is there as text, the pages carry the pictures, and the document is titled.
#include "support/TestSupport.h"

#include "platform/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString guidePath()
{
    return QDir(platform::installedResourceDir()).filePath(QStringLiteral("Help.pdf"));
}

TEST(HelpGuidePeer, PopplerReadsEverySectionOfTheGuide)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdftotext"))) << "poppler-utils is missing";
    ASSERT_TRUE(QFileInfo::exists(guidePath())) << guidePath().toStdString();
    QString text;
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftotext"), { guidePath(), QStringLiteral("-") }, &text), 0);
    for (const char* heading : { "1. The start screen", "2. The editor", "3. Items on the card", "4. Data sources",
             "5. Printing", "6. Export", "7. E-mail", "8. Help and support" })
        EXPECT_TRUE(text.contains(QLatin1String(heading))) << heading;
    // What the editor does, and none of what it no longer does.
    text = text.simplified();
    for (const char* said : { "Only then, before a design is replaced", "one Move step of its own",
             "The card has one size and one outline for both sides", "button on the Image Source page",
             "The preview shows copies of the side you are editing" })
        EXPECT_TRUE(text.contains(QLatin1String(said))) << said;
    for (const char* gone :
        { "The picture page's Library", "the card's size and outline, and", "add or delete items there as you like" })
        EXPECT_FALSE(text.contains(QLatin1String(gone))) << gone;
}

TEST(HelpGuidePeer, TheGuideIsTitledAndRunsOverSeveralPages)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdfinfo")));
    QString info;
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdfinfo"), { guidePath() }, &info), 0);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Tessaline Card - User Guide"))));
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(pages.hasMatch());
    EXPECT_GE(pages.captured(1).toInt(), 2);
}

TEST(HelpGuidePeer, TheFirstPageShowsAPictureOfTheStartScreen)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdftoppm")));
    const QString folder = testsupport::makeTempFolder(QStringLiteral("guide"));
    const QString prefix = QDir(folder).filePath(QStringLiteral("page"));
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftoppm"),
                  { QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), QStringLiteral("-f"),
                      QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), guidePath(), prefix }),
        0);
    const QStringList pages = QDir(folder).entryList({ QStringLiteral("page*.png") });
    ASSERT_EQ(pages.size(), 1);
    const QImage page(QDir(folder).filePath(pages.first()));
    ASSERT_FALSE(page.isNull());
    // The start screen's wizard button is the one strong blue area of the first page.
    int blue = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 110 && c.green() < 150)
                ++blue;
        }
    EXPECT_GT(blue, 100);
}

} // namespace
