// The picture library worked through its own controls on a data folder of our making: categories come
// from the sub-folders (shown capitalised, found by their stored names), only png and jpg files are
// listed, and OK returns a picture that still exists.
#include "common/Globals.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Image_Library.h"
#include "profiles/Picture_Browser_View.h"
#include "profiles/Picture_Grid_Panel.h"
#include "support/TestSupport.h"
#include "ui_Image_Library.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class ImageLibraryTest : public testing::Test {
protected:
    testsupport::ScriptedResponder ui;
    Image_Library* library = Image_Library::defaultInstance();
    QString savedResource = Resource_Path;

    void SetUp() override
    {
        Resource_Path = testsupport::makeTempFolder(QStringLiteral("library"));
        library->selected_image.clear();
    }
    void TearDown() override { Resource_Path = savedResource; }

    static void picture(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).path());
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(path, "PNG")) << path.toStdString();
    }
    static QString lib(const QString& rest) { return Resource_Path + QStringLiteral("/LibraryImage/") + rest; }

    int open(const QString& mode, const std::function<int(Image_Library&)>& user)
    {
        library->control_or_BG = mode;
        ui.modalRuns.push_back([user](QDialog& dialog) {
            auto& window = static_cast<Image_Library&>(dialog);
            window.show();
            return user(window);
        });
        return library->Open_Library_Window();
    }
    static QStringList names(const Image_Library& window)
    {
        QStringList shown;
        for (const Browser_Picture_Object& item : window.form().grid->images->items())
            shown << item.image_Name;
        shown.sort();
        return shown;
    }
    static int press(QPushButton* button, const Image_Library& window)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return window.isVisible() ? -1 : window.result();
    }
};

TEST_F(ImageLibraryTest, CategoriesAreShownCapitalisedAndListOnlyPngAndJpg)
{
    for (const char* name : { "flowers/a.PNG", "flowers/b.jpg", "flowers/c.JpG", "flowers/d.jpeg", "flowers/e.tif",
             "flowers/f.gif", "new year/g.png" })
        picture(lib(QLatin1String(name)));
    picture(lib(QStringLiteral("loose.png")));

    QStringList categories, first, second;
    open(QStringLiteral("C"), [&](Image_Library& window) {
        for (int i = 0; i < window.form().cat_cmbo_bx->count(); ++i)
            categories << window.form().cat_cmbo_bx->itemText(i);
        window.form().cat_cmbo_bx->setCurrentIndex(window.form().cat_cmbo_bx->findText(QStringLiteral("Flowers")));
        first = names(window);
        window.form().cat_cmbo_bx->setCurrentIndex(window.form().cat_cmbo_bx->findText(QStringLiteral("New Year")));
        second = names(window);
        return press(window.form().cancel_btn, window);
    });
    categories.sort();
    EXPECT_EQ(categories, QStringList({ QStringLiteral("Flowers"), QStringLiteral("New Year") }));
    EXPECT_EQ(first, QStringList({ QStringLiteral("a.PNG"), QStringLiteral("b.jpg"), QStringLiteral("c.JpG") }))
        << "lower-case folders are found on a case-sensitive file system";
    EXPECT_EQ(second, QStringList({ QStringLiteral("g.png") }));
    EXPECT_EQ(library->windowTitle(), QStringLiteral("Image Library"));
}

TEST_F(ImageLibraryTest, ChoosingAndOkReturnTheChosenPictureAndTheChoiceSurvivesAReopening)
{
    picture(lib(QStringLiteral("party/one.png")));
    picture(lib(QStringLiteral("party/two.png")));
    int code = open(QStringLiteral("C"), [](Image_Library& window) {
        const int row = window.form().grid->images->items().at(0).image_Name == QLatin1String("two.png") ? 0 : 1;
        window.form().grid->selectRow(row);
        return press(window.form().ok_btn, window);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(library->selected_image, lib(QStringLiteral("party/two.png")));

    code = open(QStringLiteral("C"), [](Image_Library& window) { return press(window.form().ok_btn, window); });
    EXPECT_EQ(code, 1) << "the earlier choice still exists";
    EXPECT_EQ(library->selected_image, lib(QStringLiteral("party/two.png")));
}

TEST_F(ImageLibraryTest, CancelForgetsTheChoiceAndOkWithoutOneAsksForAPicture)
{
    picture(lib(QStringLiteral("party/one.png")));
    library->selected_image = lib(QStringLiteral("party/one.png"));
    int code = open(QStringLiteral("C"), [](Image_Library& window) { return press(window.form().cancel_btn, window); });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(library->selected_image.isEmpty());

    int stillOpen = 0;
    code = open(QStringLiteral("C"), [&stillOpen](Image_Library& window) {
        stillOpen = press(window.form().ok_btn, window);
        return press(window.form().cancel_btn, window);
    });
    EXPECT_EQ(stillOpen, -1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("Please select image."));

    // A chosen file deleted before OK is no choice either.
    code = open(QStringLiteral("C"), [&stillOpen](Image_Library& window) {
        window.form().grid->selectRow(0);
        QFile::remove(lib(QStringLiteral("party/one.png")));
        stillOpen = press(window.form().ok_btn, window);
        return press(window.form().cancel_btn, window);
    });
    EXPECT_EQ(stillOpen, -1);
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(ImageLibraryTest, BackgroundModeShowsTheBackgroundsWithoutCategories)
{
    picture(Resource_Path + QStringLiteral("/Background/sky.jpg"));
    picture(lib(QStringLiteral("party/one.png")));
    QStringList shown;
    bool comboHidden = false;
    for (const char* mode : { "B", "X" }) {
        open(QLatin1String(mode), [&](Image_Library& window) {
            shown = names(window);
            comboHidden = window.form().cat_cmbo_bx->isHidden();
            return press(window.form().cancel_btn, window);
        });
        EXPECT_EQ(library->windowTitle(), QStringLiteral("Background Image Library")) << mode;
        EXPECT_TRUE(comboHidden) << mode;
        EXPECT_EQ(shown, QStringList({ QStringLiteral("sky.jpg") })) << mode;
    }
}

TEST_F(ImageLibraryTest, TheZoomSliderScalesTheThumbnailsAndEachOpeningStartsAtTheNaturalSize)
{
    picture(lib(QStringLiteral("party/one.png")));
    QSize zoomed;
    int greenAtSmallest = 0; // the 40 x 30 picture's pixels drawn at the smallest zoom
    bool thumbnailShown = false;
    open(QStringLiteral("C"), [&](Image_Library& window) {
        window.form().grid->_zoom_slider->setValue(10);
        // The thumbnail is read away from the window; the grid shows it when it is there.
        const QModelIndex first = window.form().grid->images->index(0, 0);
        thumbnailShown = QTest::qWaitFor([&first] { return !first.data(Qt::DecorationRole).isNull(); }, 20000);
        const QImage shot = window.form().grid->imageBrowser->viewport()->grab().toImage();
        for (int at = 0; at < shot.width() * shot.height(); ++at)
            greenAtSmallest += shot.pixelColor(at % shot.width(), at / shot.width()) == QColor(Qt::darkGreen);
        window.form().grid->_zoom_slider->setValue(80);
        zoomed = window.form().grid->imageBrowser->iconSize();
        return press(window.form().cancel_btn, window);
    });
    EXPECT_EQ(zoomed, Browser_Picture_Model::thumbnailSize() * 2);
    EXPECT_TRUE(thumbnailShown);
    EXPECT_TRUE(greenAtSmallest > 0 && greenAtSmallest <= 32 * 24) << greenAtSmallest << " pixels, not in 32 x 24";
    QSize reopened;
    open(QStringLiteral("C"), [&reopened](Image_Library& window) {
        reopened = window.form().grid->imageBrowser->iconSize();
        return press(window.form().cancel_btn, window);
    });
    EXPECT_EQ(reopened, Browser_Picture_Model::thumbnailSize());
}

} // namespace
