// Finding, refilling, hiding and creating the items the program places under a control ID.
#include "CanvasTestSupport.h"

#include "model/TSLBarcode.h"
#include "model/TSLImage.h"
#include "model/TSLText.h"
#include "support/TestSupport.h"

using canvastest::CanvasTest;

namespace {

template <typename T> std::shared_ptr<T> itemWithID(const QString& id, const QRectF& bounds)
{
    auto item = std::make_shared<T>();
    item->control_ID = id;
    item->setBounds(bounds);
    return item;
}

} // namespace

class ControlIDTest : public CanvasTest {
protected:
    void append(const TSLGraphicPtr& item)
    {
        document.undoManager().disableUndoRegistration();
        document.addInGraphics(item);
        document.undoManager().enableUndoRegistration();
    }
};

TEST_F(ControlIDTest, LookupFindsTheFrontMostTextOrPictureWithExactlyThatID)
{
    append(itemWithID<TSLBarcode>(QStringLiteral("Fup_Name"), { 0, 0, 10, 10 }));
    append(itemWithID<Shape_Control>(QStringLiteral("Fup_Name"), { 0, 0, 10, 10 }));
    const auto first = itemWithID<TSLText>(QStringLiteral("Fup_Name"), { 0, 0, 10, 10 });
    append(first);
    append(itemWithID<TSLImage>(QStringLiteral("Fup_Photo"), { 0, 0, 10, 10 }));
    append(itemWithID<TSLText>(QStringLiteral("Fup_Name"), { 0, 0, 10, 10 }));
    EXPECT_EQ(view.Selcect_Ctrl_With_ID(QStringLiteral("Fup_Name")), first);
    EXPECT_EQ(view.Selcect_Ctrl_With_ID(QStringLiteral("Fup_Photo")), document.graphics()[3]);
    EXPECT_FALSE(view.Selcect_Ctrl_With_ID(QStringLiteral("fup_name")));
    EXPECT_FALSE(view.Selcect_Ctrl_With_ID(QStringLiteral("Fup_Title")));
}

TEST_F(ControlIDTest, HidingTouchesOnlyProfileTextsAndPictures)
{
    const auto name = itemWithID<TSLText>(QStringLiteral("Fup_Company"), { 0, 0, 10, 10 });
    const auto photo = itemWithID<TSLImage>(QStringLiteral("Fup_Photo"), { 0, 0, 10, 10 });
    const auto barcode = itemWithID<TSLBarcode>(QStringLiteral("Fup_Name"), { 0, 0, 10, 10 });
    const auto party = itemWithID<TSLText>(QStringLiteral("PARTY_TITLE"), { 0, 0, 10, 10 });
    for (const TSLGraphicPtr& item : TSLGraphicList { name, photo, barcode, party })
        append(item);
    view.Hide_all_Text_control_FUP_Control();
    EXPECT_FALSE(name->ctrl_is_visible); // index 0 included
    EXPECT_FALSE(photo->ctrl_is_visible);
    EXPECT_TRUE(barcode->ctrl_is_visible);
    EXPECT_TRUE(party->ctrl_is_visible);
    EXPECT_EQ(document.graphics().size(), 4u);
}

TEST_F(ControlIDTest, RefillingATextKeepsItsPlaceAndShowsItAgain)
{
    const auto text = itemWithID<TSLText>(QStringLiteral("Fup_Name"), { 15, 25, 90, 20 });
    text->text_alignmnet = 1;
    text->Text_contents(); // the storage exists: it takes the new characters too
    append(itemWithID<TSLText>(QStringLiteral("Other"), { 0, 0, 10, 10 }));
    append(text);
    view.Hide_all_Text_control_FUP_Control();

    // An empty value changes nothing: the item stays hidden.
    view.ReplaceGraphicText(QStringLiteral("TSLText"), true, QRectF(0, 0, 50, 50), QStringLiteral("F"), QString(),
        QStringLiteral("Fup_Name"));
    EXPECT_FALSE(text->ctrl_is_visible);
    EXPECT_EQ(view.Selected_Graphic(), text);

    view.ReplaceGraphicText(QStringLiteral("TSLText"), true, QRectF(0, 0, 50, 50), QStringLiteral("F"),
        QStringLiteral("Ada Lovelace"), QStringLiteral("Fup_Name"));
    EXPECT_TRUE(text->ctrl_is_visible);
    EXPECT_EQ(text->Text_Value, QStringLiteral("Ada Lovelace"));
    EXPECT_EQ(text->Text_contents().string, QStringLiteral("Ada Lovelace"));
    EXPECT_FALSE(text->_isDrawingFill);
    EXPECT_FALSE(text->_isDrawingStroke);
    EXPECT_EQ(text->bounds(), QRectF(15, 25, 90, 20));
    EXPECT_EQ(text->text_alignmnet, 1);
    EXPECT_EQ(view.Selected_Graphic(), text);
    EXPECT_EQ(document.graphics().size(), 2u);
    EXPECT_FALSE(document.undoManager().canUndo());
}

TEST_F(ControlIDTest, RefillingAPhotoNeedsAnExistingFile)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("canvas-photo"));
    QImage green(12, 8, QImage::Format_ARGB32);
    green.fill(Qt::green);
    const QString path = folder + QStringLiteral("/photo.png");
    ASSERT_TRUE(green.save(path));

    const auto photo = itemWithID<TSLImage>(QStringLiteral("Fup_Photo"), { 5, 5, 40, 40 });
    append(photo);
    view.Hide_all_Text_control_FUP_Control();
    view.ReplaceGraphicText(QStringLiteral("TSLImage"), true, QRectF(), QStringLiteral("F"),
        folder + QStringLiteral("/missing.png"), QStringLiteral("Fup_Photo"));
    EXPECT_FALSE(photo->ctrl_is_visible);
    EXPECT_TRUE(photo->contents().isNull());

    view.ReplaceGraphicText(
        QStringLiteral("TSLImage"), true, QRectF(), QStringLiteral("F"), path, QStringLiteral("Fup_Photo"));
    EXPECT_TRUE(photo->ctrl_is_visible);
    EXPECT_EQ(photo->contents().pixelColor(3, 3), QColor(Qt::green));
    EXPECT_EQ(photo->bounds(), QRectF(5, 5, 40, 40));
}

TEST_F(ControlIDTest, AMissingItemIsCreatedAtExactlyTheRectangleGiven)
{
    editor.tool = 2;
    append(itemWithID<TSLBarcode>(QStringLiteral("Fup_Name"), { 0, 0, 10, 10 }));
    view.ReplaceGraphicText(QStringLiteral("TSLText"), true, QRectF(12, 34, 100, 20), QStringLiteral("F"),
        QStringLiteral("Ada"), QStringLiteral("Fup_Name"));
    ASSERT_EQ(document.graphics().size(), 2u);
    const TSLGraphicPtr created = document.graphics().front();
    EXPECT_EQ(created->className(), QStringLiteral("TSLText"));
    EXPECT_EQ(created->bounds(), QRectF(12, 34, 100, 20));
    EXPECT_EQ(created->Text_Value, QStringLiteral("Ada"));
    EXPECT_EQ(created->control_ID, QStringLiteral("Fup_Name"));
    EXPECT_EQ(view.Selected_Graphic(), created);
    EXPECT_TRUE(editor.cascadeSides.empty());
    EXPECT_EQ(undoSteps(), 1);
}

TEST_F(ControlIDTest, DeletingAllControlsEmptiesTheCanvas)
{
    view.delete_all_control();
    EXPECT_FALSE(document.undoManager().canUndo());
    append(itemWithID<TSLText>(QStringLiteral("a"), { 0, 0, 10, 10 }));
    append(itemWithID<TSLText>(QStringLiteral("b"), { 0, 0, 10, 10 }));
    view.selectAll();
    click({ 5, 5 });
    view.delete_all_control();
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_TRUE(view.selectionIndexes().empty());
    EXPECT_FALSE(view.Selected_Graphic());

    // The emptied canvas shows the card in the inspector when it is next drawn.
    editor.shown.clear();
    QImage image(view.size(), QImage::Format_ARGB32);
    view.render(&image);
    ASSERT_EQ(editor.shown.size(), 1u);
    EXPECT_FALSE(editor.shown.front().lock());
}
