// Card picture files: which files one card becomes for each side choice, and the format and resolution
// each file holds by its extension.
#include "output/Card_Image_File.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QImageReader>

#include <gtest/gtest.h>

TEST(CardImageFile, EachSideChoiceNamesItsFiles)
{
    const struct {
        const char* side;
        bool combined;
        const char* front;
        const char* back;
        const char* both;
    } cases[] = {
        { "F", false, "/out/Party.png", "", "" },
        { "F", true, "/out/Party.png", "", "" }, // the combined box counts only for both sides
        { "B", false, "", "/out/Party_Back.png", "" },
        { "BOTH", false, "/out/Party.png", "/out/Party_Back.png", "" },
        { "BOTH", true, "", "", "/out/Party.png" },
    };
    for (const auto& c : cases) {
        const Card_Image_File::Targets targets
            = Card_Image_File::targets(QStringLiteral("/out/Party.png"), QLatin1String(c.side), c.combined);
        EXPECT_EQ(targets.front, QLatin1String(c.front)) << c.side << c.combined;
        EXPECT_EQ(targets.back, QLatin1String(c.back)) << c.side << c.combined;
        EXPECT_EQ(targets.combined, QLatin1String(c.both)) << c.side << c.combined;
    }
    EXPECT_EQ(Card_Image_File::backPath(QStringLiteral("/a.b/card.v2.TIFF")), QStringLiteral("/a.b/card.v2_Back.TIFF"));
    EXPECT_EQ(Card_Image_File::recordPath(QStringLiteral("/out"), 11, QStringLiteral("JPG")),
        QStringLiteral("/out/Card_12.JPG"));
}

TEST(CardImageFile, TheExtensionChoosesTheFormatAndTheResolutionIsRecorded)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("card-image-formats"));
    QImage card(120, 80, QImage::Format_ARGB32_Premultiplied);
    card.fill(QColor(20, 120, 200));
    const struct {
        const char* name;
        const char* format;
    } cases[] = { { "c.png", "png" }, { "c.JPG", "jpeg" }, { "c.jfif", "jpeg" }, { "c.tif", "tiff" },
        { "c.TIFF", "tiff" }, { "c.bmp", "bmp" }, { "c.card", "png" } };
    for (const auto& c : cases) {
        const QString path = QDir(folder).filePath(QLatin1String(c.name));
        EXPECT_EQ(Card_Image_File::formatForPath(path), QByteArray(c.format)) << c.name;
        ASSERT_TRUE(Card_Image_File::write(card, path, nullptr, 300)) << c.name;
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), QByteArray(c.format)) << c.name;
        const QImage back = reader.read();
        EXPECT_EQ(back.size(), card.size()) << c.name;
        EXPECT_NEAR(back.dotsPerMeterX() * 0.0254, 300.0, 0.5) << c.name;
    }
    QString error;
    EXPECT_FALSE(Card_Image_File::write(QImage(), QDir(folder).filePath(QStringLiteral("none.png")), &error));
    EXPECT_FALSE(error.isEmpty());
}
