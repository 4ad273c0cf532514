// Each control of the picture page writes its own value (border, adjustment, effect, path) into every
// selected item of the side being edited, resets the adjustments after asking, and loads a chosen picture into the
// current item.
#include "editor/ItemPanelTestSupport.h"

#include "model/TSLImage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineF>
#include <QSlider>

namespace {

using editortest::itemBytes;

class PicturePanelTest : public editortest::ItemPanelTest {
protected:
    // The window as a person sees it, so every control has its size on the page.
    void SetUp() override
    {
        ItemPanelTest::SetUp();
        startUpEmpty();
    }
    static void click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    TSLGraphicPtr addPicture(const QString& key = TSLDocumentGraphicsKey)
    {
        return addItem(QStringLiteral("TSLImage"), QRectF(20, 20, 50, 40), key);
    }
    void showPage(const TSLGraphicPtr& item)
    {
        window->_graphicView->setSelected_Graphic(item);
        window->Show_RHS_Properties(item);
        window->sett_tab->setCurrentWidget(window->image_tab);
    }
    QString writePicture(const QString& name, QColor colour, QSize size = QSize(12, 9))
    {
        const QString path = QDir(testsupport::makeTempFolder(QStringLiteral("picture-page"))).filePath(name);
        QImage picture(size, QImage::Format_ARGB32);
        picture.fill(colour);
        EXPECT_TRUE(picture.save(path));
        return path;
    }
};

TEST_F(PicturePanelTest, SliderAndEffectsGoIntoEverySelectedPictureAndNowhereElse)
{
    const TSLGraphicPtr first = addPicture();
    const TSLGraphicPtr unselected = addPicture();
    const TSLGraphicPtr third = addPicture();
    const TSLGraphicPtr back = addPicture(TSLDocumentGraphicsKey_back);
    select(window->_graphicView, { 0, 2 });
    showPage(first);
    first->_file_path = QStringLiteral("/pictures/first.png");
    third->_file_path = QStringLiteral("/pictures/third.png");
    window->Manual_image_path->setText(QStringLiteral("/pictures/shown.png"));
    const QByteArray unselectedBefore = itemBytes(*unselected);
    const QByteArray backBefore = itemBytes(*back);

    auto* blur = control<QSlider>("blr_slidr");
    QTest::keyClick(blur, Qt::Key_Right);
    QTest::keyClick(blur, Qt::Key_Right);
    click(control<QCheckBox>("Image_Sepia_chk"));
    click(control<QCheckBox>("Image_FIH_chk"));
    auto* contrast = control<QSlider>("Con_slidr");
    QTest::keyClick(contrast, Qt::Key_PageUp); // a page of hundredths: contrast grows by 0.1

    for (const TSLGraphicPtr& item : { first, third }) {
        EXPECT_FLOAT_EQ(item->blr_val, 2.0f);
        EXPECT_TRUE(item->Sepia);
        EXPECT_TRUE(item->_isFlippedHorizontally);
        EXPECT_FALSE(item->_isFlippedVertically);
        EXPECT_NEAR(item->con_val, 1.1f, 1e-6);
        EXPECT_FLOAT_EQ(item->img_trnsp_val, 100.0f);
    }
    // A slider writes its own value only: each picture keeps its own file.
    EXPECT_EQ(first->_file_path, QStringLiteral("/pictures/first.png"));
    EXPECT_EQ(third->_file_path, QStringLiteral("/pictures/third.png"));
    EXPECT_EQ(control<QLabel>("blr_slidr_val")->text(), QStringLiteral("2"));
    EXPECT_EQ(control<QLabel>("Con_slidr_val")->text(), QStringLiteral("1.1"));
    EXPECT_EQ(itemBytes(*unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*back), backBefore);
}

TEST_F(PicturePanelTest, BorderOffKeepsColourAndWidth)
{
    const TSLGraphicPtr item = addPicture();
    item->_isDrawingStroke = false;
    select(window->_graphicView, { 0 });
    showPage(item);
    click(control<QCheckBox>("Image_border_chk"));
    control<Color_Well>("Image_bordr_clr")->chooseColor(QColor(30, 40, 50));
    typeInto(control<Stepper_Field>("Image_bor_Stepper"), QStringLiteral("6"));
    control<QComboBox>("Image_border_style")->setCurrentIndex(4);
    EXPECT_TRUE(item->_isDrawingStroke);
    EXPECT_EQ(item->_strokeWidth, 6.0);
    EXPECT_EQ(item->_stroke_border_type, QStringLiteral("DDD"));

    click(control<QCheckBox>("Image_border_chk"));
    EXPECT_FALSE(item->_isDrawingStroke);
    EXPECT_EQ(item->_strokeColor, QColor(30, 40, 50));
    EXPECT_EQ(item->_strokeWidth, 6.0);
    EXPECT_FALSE(control<QWidget>("Image_Border_Box")->isEnabled());
}

TEST_F(PicturePanelTest, ShowingAPictureFillsThePageAndWritesNothingBack)
{
    const TSLGraphicPtr item = addPicture();
    item->con_val = 2.0f;
    item->Sepia = true;
    item->img_trnsp_val = 40.0f;
    item->rotate_image = 90.0f;
    item->_strokeWidth = 3.7;
    item->_file_path = QStringLiteral("/pictures/kept.png");
    select(window->_graphicView, { 0 });
    const QByteArray before = itemBytes(*item);
    showPage(item);

    EXPECT_EQ(itemBytes(*item), before);
    EXPECT_EQ(control<QSlider>("Con_slidr")->value(), 200);
    EXPECT_EQ(control<QLabel>("Con_slidr_val")->text(), QStringLiteral("2"));
    EXPECT_EQ(control<QLabel>("Trsp_slidr_val")->text(), QStringLiteral("40"));
    EXPECT_EQ(control<QSlider>("Rotate_slidr")->value(), 90);
    EXPECT_TRUE(control<QCheckBox>("Image_Sepia_chk")->isChecked());
    EXPECT_EQ(control<Stepper_Field>("Image_bor_Stepper")->value(), 3.0);
    EXPECT_EQ(window->Manual_image_path->text(), QStringLiteral("/pictures/kept.png"));
}

TEST_F(PicturePanelTest, ResetAsksFirstThenRestoresTheStartValuesInPageAndItem)
{
    const TSLGraphicPtr item = addPicture();
    item->con_val = 2.0f;
    item->Sepia = true;
    item->img_trnsp_val = 30.0f;
    select(window->_graphicView, { 0 });
    showPage(item);
    const QByteArray before = itemBytes(*item);

    ui.messageAnswers.push_back(0);
    click(control<QPushButton>("Image_reset_btn"));
    EXPECT_EQ(itemBytes(*item), before);
    EXPECT_TRUE(control<QCheckBox>("Image_Sepia_chk")->isChecked());

    ui.messageAnswers.push_back(1);
    click(control<QPushButton>("Image_reset_btn"));
    ASSERT_EQ(editortest::messageTexts(ui), QStringList(2, QStringLiteral("Are you sure you want to continue?")));
    EXPECT_FLOAT_EQ(item->con_val, 1.0f);
    EXPECT_FLOAT_EQ(item->img_trnsp_val, 100.0f);
    EXPECT_FLOAT_EQ(item->sat_val, 1.0f);
    EXPECT_FALSE(item->Sepia);
    EXPECT_EQ(control<QLabel>("Con_slidr_val")->text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLabel>("Trsp_slidr_val")->text(), QStringLiteral("100"));
    EXPECT_FALSE(control<QCheckBox>("Image_Sepia_chk")->isChecked());
}

TEST_F(PicturePanelTest, ChosenPictureLoadsIntoTheCurrentItemAndACancelKeepsIt)
{
    const TSLGraphicPtr item = addPicture();
    select(window->_graphicView, { 0 });
    showPage(item);
    const QString path = writePicture(QStringLiteral("first.png"), Qt::red);

    ui.fileAnswers.push_back(path);
    window->Manual_Image_Browse_Btn();
    auto picture = std::dynamic_pointer_cast<TSLImage>(item);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->_file_path, path);
    EXPECT_EQ(picture->contents().size(), QSize(12, 9));
    EXPECT_EQ(Library_Selected_Image, path);
    EXPECT_EQ(window->Manual_image_path->text(), path);

    window->Manual_Image_Browse_Btn(); // cancelled
    EXPECT_EQ(picture->_file_path, path);
    EXPECT_EQ(picture->contents().size(), QSize(12, 9));
    EXPECT_TRUE(Library_Selected_Image.isEmpty());
}

TEST_F(PicturePanelTest, AReplacedPictureKeepsItsOwnProportionsInTheOldFrameInOneUndoStep)
{
    const struct {
        QSize pixels; // a photo, a banner, a round sun, a tower
        QRectF bounds; // in the old frame (20, 20, 50, 40), centred
    } rows[] = { { { 860, 540 }, { 20, 24.3023, 50, 31.3953 } }, { { 40, 10 }, { 20, 33.75, 50, 12.5 } },
        { { 20, 20 }, { 25, 20, 40, 40 } }, { { 10, 40 }, { 40, 20, 10, 40 } } };
    for (const auto& row : rows) {
        const TSLGraphicPtr item = addPicture();
        select(window->_graphicView, { int(window->Get_Front_Controls_Array().size()) - 1 });
        showPage(item);
        QCoreApplication::processEvents(); // adding the item is a step of its own
        const QString oldPath = item->_file_path;
        ui.fileAnswers.push_back(writePicture(QStringLiteral("new.png"), Qt::red, row.pixels));
        window->Manual_Image_Browse_Btn();
        // A large photo is drawn from its copy at the working size, whose proportions are rounded.
        const QLineF corners[] = { { item->bounds().topLeft(), row.bounds.topLeft() },
            { item->bounds().bottomRight(), row.bounds.bottomRight() } };
        EXPECT_LT(std::max(corners[0].length(), corners[1].length()), 0.05) << row.pixels.width();
        QCoreApplication::processEvents();
        window->Undo_Clicked();
        EXPECT_EQ(item->bounds(), QRectF(20, 20, 50, 40)) << "one step undoes the frame and the picture";
        EXPECT_EQ(item->_file_path, oldPath);
    }
}

} // namespace
