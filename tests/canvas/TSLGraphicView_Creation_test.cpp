// Creating items on the canvas: by dragging with each tool, and for callers that pass a rectangle.
#include "CanvasTestSupport.h"

#include "canvas/TSLGrid.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLSignature.h"
#include "support/TestSupport.h"

#include <QImage>

using canvastest::CanvasTest;

namespace {

struct ToolCase {
    int tool;
    const char* className;
    const char* shapeCode; // for shapes; empty otherwise
};

} // namespace

TEST_F(CanvasTest, DraggingWithEachToolCreatesItsKindOfItemSpanningTheDrag)
{
    const std::vector<ToolCase> cases
        = { { 1, "TSLLine", "" }, { 2, "TSLText", "" }, { 3, "Shape_Control", "R" }, { 4, "Shape_Control", "C" },
              { 5, "Shape_Control", "RR" }, { 6, "Shape_Control", "T" }, { 7, "Shape_Control", "D" },
              { 8, "TSLImage", "" }, { 9, "TSLImage", "" }, { 10, "TSLBarcode", "" }, { 11, "TSLSignature", "" },
              { 13, "Shape_Control", "S" }, { 14, "Shape_Control", "DS" }, { 15, "Shape_Control", "P" } };
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.tool);
        editor.tool = c.tool;
        const std::size_t before = document.graphics().size();
        drag({ 20, 20 }, { 80, 60 });
        ASSERT_EQ(document.graphics().size(), before + 1);
        const TSLGraphicPtr item = document.graphics().front();
        EXPECT_EQ(item->className(), QString::fromLatin1(c.className));
        EXPECT_EQ(item->bounds(), QRectF(20, 20, 60, 40));
        if (*c.shapeCode) {
            EXPECT_EQ(item->Get_shape_type(), QString::fromLatin1(c.shapeCode));
        }
        EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
        EXPECT_TRUE(item->control_ID.isEmpty());
    }
    EXPECT_EQ(view.graphics().size(), 14u);
    EXPECT_EQ(undoSteps(), 14);

    // The signature tool makes a signature, not a fingerprint.
    const auto signature = std::dynamic_pointer_cast<TSLSignature>(document.graphics()[3]);
    ASSERT_TRUE(signature);
    EXPECT_EQ(signature->Sign_Or_FP_Val(), QStringLiteral("S"));
}

TEST_F(CanvasTest, ArrowToolSelectsInsteadOfCreating)
{
    const auto item = addRect({ 10, 10, 40, 40 });
    editor.tool = 0;
    drag({ 100, 100 }, { 150, 140 });
    EXPECT_EQ(document.graphics().size(), 1u);
    click({ 20, 20 });
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
    EXPECT_FALSE(document.undoManager().canUndo());
}

TEST_F(CanvasTest, FingerprintToolDrawsAFingerprintItem)
{
    editor.tool = 12;
    drag({ 100, 100 }, { 150, 140 });
    ASSERT_EQ(document.graphics().size(), 1u);
    const auto fingerprint = std::dynamic_pointer_cast<TSLSignature>(document.graphics().front());
    ASSERT_TRUE(fingerprint);
    EXPECT_EQ(fingerprint->Sign_Or_FP_Val(), QStringLiteral("F"));
    EXPECT_EQ(fingerprint->bounds(), QRectF(100, 100, 50, 40));
    EXPECT_TRUE(document.undoManager().canUndo());
}

TEST_F(CanvasTest, ClickWithAShapeToolAndNoDragLeavesNothingNotEvenAnUndoStep)
{
    editor.tool = 3;
    click({ 50, 50 });
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_FALSE(document.undoManager().canUndo());
    EXPECT_FALSE(document.undoManager().canRedo());
    EXPECT_FALSE(view.Selected_Graphic());

    // With an earlier step on the stack, that step stays the one undo takes back.
    drag({ 20, 20 }, { 60, 60 });
    ASSERT_EQ(document.graphics().size(), 1u);
    click({ 100, 100 });
    EXPECT_EQ(document.graphics().size(), 1u);
    EXPECT_EQ(undoSteps(), 1);
    view.undo();
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_FALSE(document.undoManager().canUndo());

    // A press and a drag back to the same point makes no item either, and the group-by-event setting returns.
    press({ 70, 70 });
    moveTo({ 90, 90 });
    release({ 70, 70 });
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_TRUE(document.undoManager().groupsByEvent());
}

TEST_F(CanvasTest, ClickWithAToolOnTheBackCanvasLeavesTheBackListAndTheUndoStackAlone)
{
    // An earlier front step must not be undone by taking back the back canvas's empty item.
    editor.tool = 3;
    drag({ 20, 20 }, { 60, 60 });
    ASSERT_EQ(document.graphics().size(), 1u);

    TSLGraphicView back;
    back.setZoomFactor(canvastest::testZoom);
    back.bindGraphics(&document, TSLDocumentGraphicsKey_back);
    addRect({ 100, 10, 20, 20 }, TSLDocumentGraphicsKey_back);
    settle(); // placing it was a step of its own on the back
    Card_Front_Or_Back = 1;
    QTest::mouseClick(&back, Qt::LeftButton, {}, px({ 50, 50 }));
    settle();
    EXPECT_EQ(document.graphics_back().size(), 1u);
    EXPECT_EQ(document.graphics().size(), 1u);
    EXPECT_EQ(undoSteps(), 1);

    // A real drag there creates an item as a step of the back's own undo; the front's steps stay.
    QTest::mousePress(&back, Qt::LeftButton, {}, px({ 30, 30 }));
    QTest::mouseMove(&back, px({ 70, 60 }));
    QTest::mouseRelease(&back, Qt::LeftButton, {}, px({ 70, 60 }));
    settle();
    ASSERT_EQ(document.graphics_back().size(), 2u);
    EXPECT_EQ(document.graphics_back().front()->bounds(), QRectF(30, 30, 40, 30));
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_EQ(undoSteps(TSLDocumentGraphicsKey_back), 2);
    back.unbindGraphics();
}

TEST_F(CanvasTest, MouseCreationShowsTheCardThenTheNewItemBecomesCurrentWhenDrawn)
{
    view.hide(); // no redraw until the test asks for one
    editor.tool = 4;
    drag({ 20, 20 }, { 60, 50 });
    ASSERT_EQ(document.graphics().size(), 1u);
    EXPECT_FALSE(view.Selected_Graphic());
    ASSERT_FALSE(editor.shown.empty());
    EXPECT_FALSE(editor.shown.back().lock());

    QImage image(view.size(), QImage::Format_ARGB32);
    view.render(&image);
    EXPECT_EQ(view.Selected_Graphic(), document.graphics().front());
}

TEST_F(CanvasTest, UndoAndRedoOfACreationRemoveAndRestoreTheItemAndSelectIt)
{
    editor.tool = 3;
    drag({ 20, 20 }, { 60, 60 });
    const TSLGraphicPtr created = document.graphics().front();
    view.deselectAll();
    view.undo();
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_TRUE(view.selectionIndexes().empty());
    view.redo();
    ASSERT_EQ(document.graphics().size(), 1u);
    EXPECT_EQ(document.graphics().front(), created);
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
    EXPECT_GE(editor.undoButtonCount, 2);
}

TEST_F(CanvasTest, CreationByGridSnapsTheOriginAndTheDraggedCorner)
{
    TSLGrid grid;
    grid.setConstraining(true);
    view.setGrid(&grid);
    editor.tool = 3;
    drag({ 13.4, 4.5 }, { 40, 40 });
    ASSERT_EQ(document.graphics().size(), 1u);
    EXPECT_EQ(document.graphics().front()->bounds(), QRectF(9, 9, 27, 27));
}

TEST_F(CanvasTest, CreationWithARectanglePlacesByControlID)
{
    editor.tool = 3;
    view.createGraphicOfClass(QStringLiteral("Shape_Control"), nullptr, true, QRectF(0, 0, 120, 60),
        QStringLiteral("F"), QString(), QString());
    ASSERT_EQ(document.graphics().size(), 1u);
    EXPECT_EQ(document.graphics().front()->bounds(), QRectF(30, 30, 120, 60));
    EXPECT_EQ(editor.cascadeSides, std::vector<QString> { QStringLiteral("F") });
    EXPECT_EQ(view.Selected_Graphic(), document.graphics().front());
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });

    // With a control ID the rectangle is kept exactly.
    editor.tool = 2;
    view.createGraphicOfClass(QStringLiteral("TSLText"), nullptr, true, QRectF(0, 0, 120, 60), QStringLiteral("F"),
        QStringLiteral("Our Wedding"), QStringLiteral("PARTY_TITLE"));
    ASSERT_EQ(document.graphics().size(), 2u);
    const TSLGraphicPtr title = document.graphics().front();
    EXPECT_EQ(title->bounds(), QRectF(0, 0, 120, 60));
    EXPECT_EQ(title->control_ID, QStringLiteral("PARTY_TITLE"));
    EXPECT_EQ(editor.cascadeSides.size(), 1u);

    // Without the flag: the next position at 50 x 50.
    editor.tool = 5;
    view.createGraphicOfClass(QStringLiteral("Shape_Control"), nullptr, false, QRectF(0, 0, 120, 60),
        QStringLiteral("B"), QString(), QStringLiteral("ID"));
    EXPECT_EQ(document.graphics().front()->bounds(), QRectF(50, 50, 50, 50));
    EXPECT_EQ(editor.cascadeSides.back(), QStringLiteral("B"));
    EXPECT_EQ(undoSteps(), 3);
}

TEST_F(CanvasTest, InvitationTextsTakeAlignmentAndFontByControlID)
{
    editor.tool = 2;
    const auto make = [&](const QString& value, const QString& id) {
        view.createGraphicOfClass(
            QStringLiteral("TSLText"), nullptr, true, QRectF(5, 5, 100, 20), QStringLiteral("F"), value, id);
        return document.graphics().front();
    };
    const TSLGraphicPtr plain = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));

    const TSLGraphicPtr title = make(QStringLiteral("Party!"), QStringLiteral("PARTY_TITLE"));
    EXPECT_EQ(title->Text_Value, QStringLiteral("Party!"));
    EXPECT_FALSE(title->_isDrawingFill);
    EXPECT_FALSE(title->_isDrawingStroke);
    EXPECT_EQ(title->text_alignmnet, 2);
    ASSERT_TRUE(title->text_ctrl_font);
    EXPECT_EQ(title->text_ctrl_font->pointSizeF(), 18.0);
    EXPECT_TRUE(title->text_ctrl_font->bold());
    EXPECT_TRUE(title->text_ctrl_font->italic());

    for (const char* id : { "PARTY_DATE", "PARTY_TIME", "PARTY_VENUE" }) {
        const TSLGraphicPtr item = make(QStringLiteral("x"), QString::fromLatin1(id));
        EXPECT_EQ(item->text_alignmnet, 2) << id;
        EXPECT_EQ(item->text_ctrl_font, plain->text_ctrl_font) << id;
    }
    const TSLGraphicPtr marriage = make(QStringLiteral("x"), QStringLiteral("PARTY_MARRINGE_INFO"));
    EXPECT_EQ(marriage->text_alignmnet, 2);
    EXPECT_EQ(marriage->text_ctrl_font, title->text_ctrl_font);
    EXPECT_EQ(make(QStringLiteral("x"), QStringLiteral("PARTY_FROM"))->text_alignmnet, 1);
    const TSLGraphicPtr to = make(QStringLiteral("x"), QStringLiteral("PARTY_TO"));
    EXPECT_EQ(to->text_alignmnet, plain->text_alignmnet);
    EXPECT_EQ(to->text_ctrl_font, plain->text_ctrl_font);

    // An empty text keeps every default, whatever the ID.
    const TSLGraphicPtr empty = make(QString(), QStringLiteral("PARTY_TITLE"));
    EXPECT_EQ(empty->Text_Value, plain->Text_Value);
    EXPECT_EQ(empty->_isDrawingFill, plain->_isDrawingFill);
    EXPECT_EQ(empty->_isDrawingStroke, plain->_isDrawingStroke);
    EXPECT_EQ(empty->text_alignmnet, plain->text_alignmnet);
    EXPECT_EQ(empty->text_ctrl_font, plain->text_ctrl_font);
}

TEST_F(CanvasTest, TheToolDecidesTheKindBeforeTheClass)
{
    // Picture tool with a missing file: a picture item showing the placeholder, at the size asked for.
    editor.tool = 8;
    Library_Selected_Image = QStringLiteral("/nonexistent/picture.png");
    view.createGraphicOfClass(QStringLiteral("TSLText"), nullptr, true, QRectF(10, 10, 80, 40), QStringLiteral("F"),
        QStringLiteral("text"), QStringLiteral("X"));
    auto picture = std::dynamic_pointer_cast<TSLImage>(document.graphics().front());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->bounds(), QRectF(10, 10, 80, 40));
    EXPECT_FALSE(picture->contents().isNull());

    // With an existing file the item shows that file.
    const QString folder = testsupport::makeTempFolder(QStringLiteral("canvas-pictures"));
    QImage red(30, 20, QImage::Format_ARGB32);
    red.fill(Qt::red);
    Library_Selected_Image = folder + QStringLiteral("/red.png");
    ASSERT_TRUE(red.save(Library_Selected_Image));
    view.createGraphicOfClass(QStringLiteral("TSLImage"), nullptr, true, QRectF(10, 10, 80, 40), QStringLiteral("F"),
        QString(), QStringLiteral("X"));
    picture = std::dynamic_pointer_cast<TSLImage>(document.graphics().front());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->contents().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(picture->bounds(), QRectF(10, 10, 80, 40));

    // The fingerprint row serves a caller that passes a class while tool 12 is current.
    editor.tool = 12;
    view.createGraphicOfClass(
        QStringLiteral("TSLSignature"), nullptr, false, QRectF(), QStringLiteral("F"), QString(), QString());
    const auto fingerprint = std::dynamic_pointer_cast<TSLSignature>(document.graphics().front());
    ASSERT_TRUE(fingerprint);
    EXPECT_EQ(fingerprint->Sign_Or_FP_Val(), QStringLiteral("F"));
    EXPECT_EQ(fingerprint->bounds().size(), QSizeF(50, 50));
}

TEST_F(CanvasTest, CreationWithAGridSnapsBothCornersOfTheRectangle)
{
    TSLGrid grid;
    grid.setConstraining(true);
    view.setGrid(&grid);
    editor.tool = 3;
    view.createGraphicOfClass(QStringLiteral("Shape_Control"), nullptr, true, QRectF(10, 10, 50, 50),
        QStringLiteral("F"), QString(), QStringLiteral("ID"));
    EXPECT_EQ(document.graphics().front()->bounds(), QRectF(9, 9, 54, 54));
}

TEST_F(CanvasTest, LineCreationDragsTheEndPoint)
{
    editor.tool = 1;
    drag({ 80, 20 }, { 30, 70 }); // up-right to down-left
    const auto line = std::dynamic_pointer_cast<TSLLine>(document.graphics().front());
    ASSERT_TRUE(line);
    EXPECT_EQ(line->beginPoint(), QPointF(80, 20));
    EXPECT_EQ(line->endPoint(), QPointF(30, 70));
}
