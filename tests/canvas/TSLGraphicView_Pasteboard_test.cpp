// Copy, cut and paste through the real clipboard: our own item type with the cascade, PDF and TIFF for
// other programs, file names refused, and pictures from other programs kept as files of their own.
#include "CanvasTestSupport.h"

#include "canvas/RenderingFixtures.h"
#include "model/TSLError.h"
#include "model/TSLImage.h"
#include "platform/KeyedArchive.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

using canvastest::CanvasTest;

namespace {

QClipboard& clipboard()
{
    return *QGuiApplication::clipboard();
}

const QMimeData& clipboardData()
{
    static const QMimeData none;
    const QMimeData* data = clipboard().mimeData();
    return data ? *data : none;
}

// What another program puts on the clipboard.
void otherProgramWrites(QMimeData* data)
{
    clipboard().setMimeData(data);
}

QByteArray archived(const TSLGraphicList& items)
{
    return TSLGraphic::pasteboardDataWithGraphics(items);
}

QByteArray pngBytes(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

QImage twoColourPicture()
{
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(QColor(200, 30, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 20; x < 40; ++x)
            picture.setPixelColor(x, y, QColor(20, 40, 220));
    return picture;
}

QStringList libraryPictures()
{
    return QDir(Resource_Path + QStringLiteral("/LibraryImage")).entryList({ QStringLiteral("Pasted_*") }, QDir::Files);
}

} // namespace

class CanvasPasteboardTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        clipboard().clear();
    }
    void TearDown() override
    {
        clipboard().clear();
        CanvasTest::TearDown();
    }

    std::shared_ptr<Shape_Control> addSquare(const QRectF& bounds, const QColor& fill)
    {
        const auto item = addRect(bounds);
        item->Set_Shape_Type(QStringLiteral("R"));
        item->_isDrawingFill = true;
        item->_fillColor = fill;
        item->alpha_val = 1.0f;
        return item;
    }
};

TEST_F(CanvasPasteboardTest, CopyPutsOurItemsPdfAndTiffOnTheClipboard)
{
    const auto a = addSquare({ 20, 20, 30, 20 }, QColor(220, 0, 0));
    const auto b = addSquare({ 100, 60, 40, 40 }, QColor(0, 0, 220));
    addSquare({ 200, 100, 10, 10 }, Qt::green); // not selected
    view.changeSelectionIndexes({ 0, 1 });
    view.copy();

    const QMimeData& data = clipboardData();
    ASSERT_TRUE(data.hasFormat(TSLGraphicViewPasteboardType));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^[a-z]+/[a-z0-9.+-]+$")).match(TSLGraphicViewPasteboardType).hasMatch())
        << "a MIME type name other programs can take";
    EXPECT_TRUE(clipboardHoldsOurItems());
    EXPECT_EQ(data.data(TSLGraphicViewPasteboardType), archived({ a, b }));
    EXPECT_EQ(editor.pasteButtonCount, 1);
    EXPECT_EQ(view.pasteCascadeNumber(), 1);

    EXPECT_TRUE(data.data(QStringLiteral("application/pdf")).startsWith("%PDF"));

    // The TIFF holds the two items alone: from the first one's corner to the second one's far corner.
    const QImage tiff = QImage::fromData(data.data(QStringLiteral("image/tiff")), "TIFF");
    ASSERT_FALSE(tiff.isNull());
    const QRectF area = TSLGraphic::drawingBoundsOfGraphics({ a, b });
    EXPECT_EQ(tiff.size(), area.size().toSize());
    using renderingfixtures::near;
    EXPECT_TRUE(near(tiff.pixelColor((QPointF(30, 30) - area.topLeft()).toPoint()), QColor(220, 0, 0)));
    EXPECT_TRUE(near(tiff.pixelColor((QPointF(120, 80) - area.topLeft()).toPoint()), QColor(0, 0, 220)));
    EXPECT_EQ(tiff.pixelColor((QPointF(80, 30) - area.topLeft()).toPoint()).alpha(), 0);
    // The same picture as PNG, which most programs paste.
    const QImage png = QImage::fromData(data.data(QStringLiteral("image/png")), "PNG");
    EXPECT_EQ(png.convertToFormat(tiff.format()), tiff);
    EXPECT_EQ(undoSteps(), 0); // copying changes nothing
}

TEST_F(CanvasPasteboardTest, RepeatedPastesGoToSuccessiveCascadePoints)
{
    addSquare({ 5, 6, 30, 20 }, Qt::red);
    addSquare({ 60, 70, 10, 10 }, Qt::blue);
    view.changeSelectionIndexes({ 0, 1 });
    view.copy();
    settle();

    view.paste();
    settle();
    ASSERT_EQ(view.graphics().size(), 4u);
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1 }));
    EXPECT_EQ(view.graphics()[0]->bounds(), QRectF(30, 30, 30, 20)); // pasteboard order: first is front-most
    EXPECT_EQ(view.graphics()[1]->bounds(), QRectF(50, 50, 10, 10));
    EXPECT_EQ(undoSteps(), 1);

    view.paste();
    settle();
    ASSERT_EQ(view.graphics().size(), 6u);
    EXPECT_EQ(view.graphics()[0]->bounds(), QRectF(70, 70, 30, 20));
    EXPECT_EQ(view.graphics()[1]->bounds(), QRectF(90, 90, 10, 10));
    EXPECT_EQ(editor.cascadeSides, (std::vector<QString>(4, QStringLiteral("F"))));
    EXPECT_EQ(view.pasteCascadeNumber(), 3);
    EXPECT_EQ(undoSteps(), 2);

    view.undo();
    EXPECT_EQ(view.graphics().size(), 4u);

    // On the back side the cascade asks for the back's points.
    Card_Front_Or_Back = 1;
    view.paste();
    Card_Front_Or_Back = 0;
    EXPECT_EQ(editor.cascadeSides.back(), QStringLiteral("B"));
}

TEST_F(CanvasPasteboardTest, ContentsWrittenByAnotherProgramKeepTheirPositionsTheFirstTime)
{
    const auto original = addSquare({ 11, 12, 30, 20 }, Qt::red);
    view.changeSelectionIndexes({ 0 });
    view.copy();

    // Under our type name, and under the name earlier versions wrote.
    for (const QString& type : { TSLGraphicViewPasteboardType, TSLGraphicViewOldPasteboardType }) {
        auto* data = new QMimeData;
        data->setData(type, archived({ original }));
        otherProgramWrites(data);
        editor.cascade = QPointF(30, 30);
        editor.cascadeSides.clear();

        view.paste();
        settle();
        EXPECT_EQ(view.graphics()[0]->bounds(), QRectF(11, 12, 30, 20)) << type.toStdString();
        EXPECT_TRUE(editor.cascadeSides.empty());
        view.paste();
        settle();
        EXPECT_EQ(view.graphics()[0]->bounds(), QRectF(30, 30, 30, 20)) << type.toStdString();
    }
}

TEST_F(CanvasPasteboardTest, ItemsPastedIntoASecondDocumentEqualTheCopiedOnes)
{
    const auto a = addSquare({ 20, 20, 30, 20 }, QColor(220, 0, 0));
    a->control_ID = QStringLiteral("Fup_Name");
    a->print_object = 1;
    a->ctrl_is_locked = false;
    const auto b = addSquare({ 100, 60, 40, 40 }, QColor(0, 0, 220));
    view.changeSelectionIndexes({ 0, 1 });
    view.copy();

    TSLDocument second;
    TSLGraphicView other;
    other.bindGraphics(&second, TSLDocumentGraphicsKey);
    other.paste();
    ASSERT_EQ(second.graphics().size(), 2u);
    EXPECT_EQ(archived(second.graphics()), archived({ a, b })); // every archived field, positions included
    EXPECT_NE(second.graphics()[0].get(), a.get());
    EXPECT_EQ(other.selectionIndexes(), (TSLIndexSet { 0, 1 }));
    other.unbindGraphics();
}

TEST_F(CanvasPasteboardTest, LockedItemsKeepTheirStoredPositionOnPaste)
{
    const auto locked = addSquare({ 11, 12, 30, 20 }, Qt::red);
    locked->ctrl_is_locked = true;
    const auto movable = addSquare({ 50, 50, 10, 10 }, Qt::blue);
    // Copy refuses locked items, so the locked item comes from another program's copy of our type.
    auto* data = new QMimeData;
    data->setData(TSLGraphicViewPasteboardType, archived({ movable, locked }));
    otherProgramWrites(data);
    view.paste();
    view.paste(); // the second paste cascades
    EXPECT_EQ(view.graphics()[0]->bounds(), QRectF(30, 30, 10, 10));
    EXPECT_EQ(view.graphics()[1]->bounds(), QRectF(11, 12, 30, 20));
}

TEST_F(CanvasPasteboardTest, CutCopiesThenDeletesAndUndoesInOneStep)
{
    const auto a = addSquare({ 20, 20, 30, 20 }, Qt::red);
    const auto b = addSquare({ 60, 20, 30, 20 }, Qt::blue);
    view.changeSelectionIndexes({ 1 });
    view.cut();
    settle();
    ASSERT_EQ(view.graphics().size(), 1u);
    EXPECT_EQ(view.graphics()[0], a);
    EXPECT_EQ(clipboardData().data(TSLGraphicViewPasteboardType), archived({ b }));
    EXPECT_EQ(undoSteps(), 1);
    view.undo();
    EXPECT_EQ(view.graphics().size(), 2u);
}

TEST_F(CanvasPasteboardTest, CutAndCopyWithALockedItemLeaveTheClipboardAlone)
{
    testsupport::ScriptedResponder responder;
    clipboard().setText(QStringLiteral("the user's text"));
    addSquare({ 20, 20, 30, 20 }, Qt::red);
    const auto locked = addSquare({ 60, 20, 30, 20 }, Qt::blue);
    locked->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 0, 1 });
    view.cut();
    view.copy();
    settle();
    EXPECT_EQ(clipboard().text(), QStringLiteral("the user's text"));
    EXPECT_FALSE(clipboardHoldsOurItems());
    EXPECT_EQ(view.graphics().size(), 2u);
    ASSERT_EQ(responder.messages.size(), 2u);
    EXPECT_EQ(responder.messages[0].text, QStringLiteral("\nSelected control is locked."));
    EXPECT_EQ(editor.pasteButtonCount, 0);
}

TEST_F(CanvasPasteboardTest, FileNamesOnTheClipboardPasteNothing)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("paste-files"));
    const QString file = folder + QStringLiteral("/picture.png");
    ASSERT_TRUE(twoColourPicture().save(file));

    auto* data = new QMimeData;
    data->setUrls({ QUrl::fromLocalFile(file) });
    data->setImageData(twoColourPicture()); // picture data beside file names is not taken either
    otherProgramWrites(data);
    const QStringList before = libraryPictures();
    view.paste();
    settle();
    EXPECT_TRUE(view.graphics().empty());
    EXPECT_EQ(libraryPictures(), before);
    EXPECT_EQ(undoSteps(), 0);

    // Our own type comes first even when file names are there too.
    const auto item = addSquare({ 1, 2, 3, 4 }, Qt::red);
    auto* both = new QMimeData;
    both->setUrls({ QUrl::fromLocalFile(file) });
    both->setData(TSLGraphicViewPasteboardType, archived({ item }));
    otherProgramWrites(both);
    view.paste();
    EXPECT_EQ(view.graphics().size(), 2u);
}

TEST_F(CanvasPasteboardTest, APictureFromAnotherProgramBecomesAPictureItemKeptInTheLibraryFolder)
{
    const QImage picture = twoColourPicture();
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), pngBytes(picture)); // as another program offers it
    otherProgramWrites(data);
    addSquare({ 150, 100, 10, 10 }, Qt::green);
    const QStringList before = libraryPictures();

    view.paste();
    settle();
    ASSERT_EQ(view.graphics().size(), 2u);
    const auto item = std::dynamic_pointer_cast<TSLImage>(view.graphics()[0]);
    ASSERT_TRUE(item);
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0 }));
    // At the next placement point on the card, at the picture's size, selected as the current item.
    EXPECT_EQ(item->bounds(), QRectF(30, 30, 40, 30));
    EXPECT_EQ(view.Selected_Graphic(), item);
    EXPECT_EQ(undoSteps(), 1);

    // The item's file is a new PNG of the library folder with the pasted pixels, so it survives a reopen.
    const QStringList after = libraryPictures();
    ASSERT_EQ(after.size(), before.size() + 1);
    const QFileInfo file(item->_file_path);
    EXPECT_EQ(file.absolutePath(), QFileInfo(Resource_Path + QStringLiteral("/LibraryImage")).absoluteFilePath());
    QImageReader reader(item->_file_path);
    EXPECT_EQ(reader.format(), QByteArray("png"));
    const QImage back = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.pixelColor(5, 5), QColor(200, 30, 30));
    EXPECT_EQ(back.pixelColor(30, 20), QColor(20, 40, 220));
    const auto reopened = TSLGraphic::graphicsWithProperties(TSLGraphic::propertiesWithGraphics({ item }));
    ASSERT_EQ(reopened.size(), 1u);
    EXPECT_FALSE(std::static_pointer_cast<TSLImage>(reopened[0])->contents().isNull());

    // A second paste makes a second file, not the same name.
    view.paste();
    EXPECT_EQ(libraryPictures().size(), before.size() + 2);
    EXPECT_NE(std::static_pointer_cast<TSLImage>(view.graphics()[0])->_file_path, item->_file_path);
}

TEST_F(CanvasPasteboardTest, NothingUsableOnTheClipboardPastesNothing)
{
    testsupport::ScriptedResponder responder;
    clipboard().setText(QStringLiteral("just text"));
    view.paste();
    auto* broken = new QMimeData;
    broken->setData(QStringLiteral("image/png"), QByteArray("not a picture"));
    otherProgramWrites(broken);
    view.paste();
    EXPECT_TRUE(view.graphics().empty());
    EXPECT_TRUE(responder.messages.empty()); // unreadable picture data is ignored silently

    // Our type holding something that is not a list of items: the error is shown, the list stays.
    addSquare({ 1, 2, 3, 4 }, Qt::red);
    auto* wrong = new QMimeData;
    wrong->setData(TSLGraphicViewPasteboardType, QByteArray("garbage"));
    otherProgramWrites(wrong);
    view.paste();
    EXPECT_EQ(view.graphics().size(), 1u);
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(responder.messages[0].text.contains(TSLErrorWithCode(2).localizedDescription));
}

TEST_F(CanvasPasteboardTest, NewAndOpenClearTheClipboardOnlyOfOurItems)
{
    clipboard().setText(QStringLiteral("from another program"));
    clearClipboardIfItHoldsOurItems();
    EXPECT_EQ(clipboard().text(), QStringLiteral("from another program"));

    addSquare({ 1, 2, 3, 4 }, Qt::red);
    view.selectAll();
    view.copy();
    ASSERT_TRUE(clipboardHoldsOurItems());
    clearClipboardIfItHoldsOurItems();
    EXPECT_FALSE(clipboardHoldsOurItems());
    view.paste();
    EXPECT_EQ(view.graphics().size(), 1u);
}

TEST_F(CanvasPasteboardTest, EveryClipboardChangeIsCounted)
{
    const quint64 start = TSLGraphicView::pasteboardChangeCount();
    clipboard().setText(QStringLiteral("one"));
    clipboard().setText(QStringLiteral("two"));
    EXPECT_EQ(TSLGraphicView::pasteboardChangeCount(), start + 2);
}
