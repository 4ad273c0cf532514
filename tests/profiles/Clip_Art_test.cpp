// The clip-art drawn at build time: every category has pictures that read back at their full size with
// something drawn on them, and the categories are stored in lower case as a user's own folders may be.
#include "profiles/Picture_Folder.h"

#include "platform/DataFolder.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(ClipArt, EveryCategoryHoldsDrawnPictures)
{
    const QString root = QDir(platform::installedResourceDir()).filePath(QStringLiteral("LibraryImage"));
    const QStringList categories = Picture_Folder::subFolderNames(root);
    ASSERT_GE(categories.size(), 4);
    for (const QString& category : categories) {
        EXPECT_EQ(category, category.toLower());
        const QString folder = QDir(root).filePath(category);
        const QStringList pictures = Picture_Folder::pictureNames(folder);
        EXPECT_GE(pictures.size(), 2) << category.toStdString();
        for (const QString& name : pictures) {
            const QImage picture(QDir(folder).filePath(name));
            ASSERT_EQ(picture.size(), QSize(256, 256)) << name.toStdString();
            int drawn = 0;
            for (int y = 0; y < 256; y += 4)
                for (int x = 0; x < 256; x += 4)
                    drawn += qAlpha(picture.pixel(x, y)) > 0;
            EXPECT_GT(drawn, 200) << name.toStdString();
        }
    }
}

TEST(PictureFolder, NamesAreCapitalisedWordByWord)
{
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = { { "birthday cards", "Birthday Cards" }, { "NEW YEAR", "New Year" }, { "love", "Love" }, { "", "" } };
    for (const auto& c : cases)
        EXPECT_EQ(Picture_Folder::capitalised(QLatin1String(c.stored)), QLatin1String(c.shown)) << c.stored;
}

} // namespace
