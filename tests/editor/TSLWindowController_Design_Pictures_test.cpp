// Designs with pictures opened through the window's Open command: the pictures are read when the side
// shows them, once per file, and a picture changed on disk since the last open is the one shown.
#include "editor/EditorWindowTestSupport.h"

#include "canvas/TSLGraphicView.h"
#include "model/PictureCache.h"
#include "model/PictureFiles.h"
#include "model/TSLImage.h"

#include <QAction>
#include <QImage>
#include <QSaveFile>

using editortest::EditorWindowTest;

namespace {

using Kind = PictureCache::Kind;

quint64 decodes()
{
    return PictureCache::instance().counts().made[int(Kind::Source)];
}

void writePicture(const QString& path, const QImage& picture)
{
    QSaveFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(picture.save(&file, "PNG"));
    ASSERT_TRUE(file.commit());
}

QImage filled(int width, int height, const QColor& color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

} // namespace

class DesignPicturesTest : public EditorWindowTest {
protected:
    QString folder;
    QString design;

    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        folder = testsupport::makeTempFolder(QStringLiteral("design-pictures"));
        design = folder + QStringLiteral("/pictures.dcard");
        PictureCache::instance().clear();
    }
    void TearDown() override
    {
        EditorWindowTest::TearDown();
        PictureCache::instance().clear();
    }

    // Picture items on the front side, each 20 x 20 points in a row, showing the file.
    void addPictures(const QString& picture, int count)
    {
        for (int i = 0; i < count; ++i) {
            auto item = TSLImage::initWithPath({ 0, 0 }, picture);
            item->setBounds(QRectF(10 + (i % 10) * 20, 10 + (i / 10) * 20, 20, 20));
            item->_isDrawingStroke = false;
            addItem(item, TSLDocumentGraphicsKey);
        }
    }
    void save()
    {
        Project_File_Name = design;
        ASSERT_EQ(window->Save_project_file(false, false), TSLWindowController::SaveResult::Saved);
    }
    // Open as a person does: the Open command, No to saving the design on screen, the file in the panel.
    void openThroughTheOpenCommand()
    {
        ui.messageAnswers.push_back(0);
        ui.fileAnswers.push_back(design);
        window->Open_btn->trigger();
        ASSERT_EQ(Project_File_Name, design);
    }
    QImage shownFront()
    {
        TSLGraphicView* canvas = window->_graphicView;
        QImage image(canvas->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        canvas->render(&image);
        return image;
    }
    // The colour at a point of the card, in canvas points.
    QColor shownAt(const QImage& shown, QPointF point)
    {
        const double zoom = window->_graphicView->zoomFactor();
        return shown.pixelColor(int(point.x() * zoom), int(point.y() * zoom));
    }
};

TEST_F(DesignPicturesTest, OpeningDecodesNothingUntilTheSideIsShownAndThenEachFileOnce)
{
    const QString picture = folder + QStringLiteral("/photo.png");
    writePicture(picture, filled(1200, 800, Qt::darkRed));
    addPictures(picture, 30);
    save();
    PictureCache::instance().clear();

    openThroughTheOpenCommand();
    ASSERT_EQ(window->Get_Front_Control_Count(), 30);
    EXPECT_EQ(decodes(), 0u) << "opening reads no picture";
    const QImage shown = shownFront();
    EXPECT_EQ(decodes(), 1u) << "thirty items on one file, one decode";
    EXPECT_EQ(PictureCache::instance().counts().held[int(Kind::Source)], 1);
    EXPECT_EQ(shownAt(shown, { 20, 20 }), QColor(Qt::darkRed));
    EXPECT_EQ(shownAt(shown, { 200, 40 }), QColor(Qt::darkRed));
}

TEST_F(DesignPicturesTest, APictureEditedOnDiskIsSeenAfterTheDesignIsOpenedAgain)
{
    const QString picture = folder + QStringLiteral("/edited.png");
    writePicture(picture, filled(40, 40, Qt::red));
    addPictures(picture, 3);
    save();
    openThroughTheOpenCommand();
    EXPECT_EQ(shownAt(shownFront(), { 20, 20 }), QColor(Qt::red));

    writePicture(picture, filled(40, 40, Qt::blue)); // same name, same size
    openThroughTheOpenCommand();
    const QImage shown = shownFront();
    EXPECT_EQ(shownAt(shown, { 20, 20 }), QColor(Qt::blue));
    EXPECT_EQ(shownAt(shown, { 60, 20 }), QColor(Qt::blue));
}

TEST_F(DesignPicturesTest, PicturesThatAreRefusedAreNamedWhenTheDesignOpens)
{
    // Too large to decode, as their headers say: pictures (a long name shown by its start and end) and a background.
    const QString longName = QString(40, u'a') + QString(40, u'z') + QStringLiteral(".png");
    for (const QString& name : { QStringLiteral("huge.png"), longName, QStringLiteral("back.png") })
        ASSERT_TRUE(picturefiles::write(folder + u'/' + name, picturefiles::pngHeaderOnly(12000, 9000)));
    addPictures(folder + QStringLiteral("/huge.png"), 2);
    addPictures(folder + u'/' + longName, 1);
    Card_Property& card = window->Front_card_Prop;
    card.setCard_fill_chk(true), card.setCard_fill_style(QStringLiteral("I"));
    card.setCard_BG_Image_Path(folder + QStringLiteral("/back.png"));
    writePicture(folder + QStringLiteral("/fine.png"), filled(40, 40, Qt::red));
    addPictures(folder + QStringLiteral("/fine.png"), 1);
    save();
    openThroughTheOpenCommand();
    EXPECT_TRUE(editortest::messageTexts(ui).contains(
        QStringLiteral("3 pictures of this design cannot be used: \"huge.png\", \"%1\u2026%2.png\", \"back.png\". They "
                       "show nothing until others are chosen.")
            .arg(QString(39, u'a'), QString(36, u'z'))))
        << editortest::messageTexts(ui).join(u'|').toStdString();
    EXPECT_EQ(decodes(), 0u) << "opening still decodes no picture";
}
