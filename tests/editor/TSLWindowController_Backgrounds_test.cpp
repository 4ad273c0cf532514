// The background browser lists the png and jpg pictures of the data folder, and choosing one sets the
// background of the side being edited.
#include "editor/EditorWindowTestSupport.h"

#include "profiles/Browser_Picture_Model.h"

#include <QDir>
#include <QFile>
#include <QImage>

using editortest::EditorWindowTest;

using BackgroundsTest = EditorWindowTest;

TEST_F(BackgroundsTest, ListsPngAndJpgOnlyAndChoosingSetsTheEditedSidesBackground)
{
    startUpEmpty();
    QDir folder(QDir(Resource_Path).filePath(QStringLiteral("Background")));
    folder.removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder.path()));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("a.png")), "PNG"));
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("B.JPG")), "JPG"));
    for (const char* other : { "c.jpeg", "d.txt", ".hidden" }) {
        QFile file(folder.filePath(QLatin1String(other)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    window->Load_and_fill_backgrounds();
    QStringList names;
    for (const Browser_Picture_Object& item : window->images->items())
        names << item.imageTitle();
    names.sort();
    EXPECT_EQ(names, (QStringList { QStringLiteral("B.JPG"), QStringLiteral("a.png") }));

    window->Select_back_side();
    const int row = window->images->items().at(0).imageTitle() == QLatin1String("a.png") ? 0 : 1;
    window->imageBrowserSelectionDidChange(row);
    EXPECT_EQ(window->selected_image, folder.filePath(QStringLiteral("a.png")));
    EXPECT_EQ(window->Back_card_Prop.Card_BG_Image().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_TRUE(window->Front_card_Prop.Card_BG_Image().isNull());
}
