#include "model/TSLDocument.h"
#include "model/TSLError.h"
#include "model/TSLText.h"
#include "platform/PropertyList.h"
#include "platform/UndoManager.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

TSLGraphicPtr boxAt(double x)
{
    auto g = std::make_shared<TSLGraphic>();
    g->setBounds(QRectF(x, 0, 10, 10));
    return g;
}

// Ends the event's undo group, as returning to the event loop does in the program.
void endEvent()
{
    QCoreApplication::processEvents();
}

} // namespace

TEST(TSLDocument, PropertyChangesOfOneGroupUndoInOneStepAndRedo)
{
    TSLDocument document;
    TSLGraphicPtr item = boxAt(0);
    document.insertGraphic(item, 0);
    endEvent();

    item->setFillColor(Qt::red);
    item->setFillColor(Qt::blue);
    item->setBounds(QRectF(5, 5, 20, 20));
    endEvent();

    document.undoManager().undo();
    EXPECT_EQ(item->_fillColor, QColor(Qt::white));
    EXPECT_EQ(item->bounds(), QRectF(0, 0, 10, 10));
    ASSERT_EQ(document.graphics().size(), 1u); // the insertion is a step of its own

    document.undoManager().redo();
    EXPECT_EQ(item->_fillColor, QColor(Qt::blue));
    EXPECT_EQ(item->bounds(), QRectF(5, 5, 20, 20));

    document.undoManager().undo();
    document.undoManager().undo();
    EXPECT_TRUE(document.graphics().empty());
}

TEST(TSLDocument, ChangesToAnItemInsertedInTheSameGroupAreNotRecorded)
{
    TSLDocument document;
    TSLGraphicPtr item = boxAt(0);
    document.insertGraphic(item, 0);
    item->setStrokeWidth(5.0);
    endEvent();
    document.undoManager().undo();
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_FALSE(document.undoManager().canUndo());
    document.undoManager().redo();
    ASSERT_EQ(document.graphics().size(), 1u);
    EXPECT_EQ(document.graphics()[0]->strokeWidth(), 5.0);
}

TEST(TSLDocument, EqualValuesRecordNothing)
{
    TSLDocument document;
    TSLGraphicPtr item = boxAt(0);
    document.insertGraphic(item, 0);
    endEvent();
    document.undoManager().undo(); // take the insertion away
    document.undoManager().redo();
    endEvent();
    const bool couldRedo = document.undoManager().canRedo();
    item->setBounds(item->bounds());
    item->setFillColor(item->_fillColor);
    endEvent();
    EXPECT_EQ(document.undoManager().canRedo(), couldRedo); // no new group cleared the redo side
    document.undoManager().undo();
    EXPECT_TRUE(document.graphics().empty()); // the one step left was the insertion
}

TEST(TSLDocument, RemovalUndoesBackToItsPlaceAndDisabledRegistrationRecordsNothing)
{
    TSLDocument document;
    document.insertGraphics({ boxAt(1), boxAt(2), boxAt(3) }, { 0, 1, 2 });
    endEvent();
    document.removeGraphicsAtIndexes({ 0, 2 });
    endEvent();
    ASSERT_EQ(document.graphics().size(), 1u);
    document.undoManager().undo();
    ASSERT_EQ(document.graphics().size(), 3u);
    EXPECT_EQ(document.graphics()[0]->bounds().x(), 1);
    EXPECT_EQ(document.graphics()[2]->bounds().x(), 3);

    document.Enable_Disable_Undo_Registraion(false);
    document.graphics()[1]->setBounds(QRectF(50, 50, 5, 5));
    document.Enable_Disable_Undo_Registraion(true);
    endEvent();
    document.undoManager().undo(); // undoes the insertion, not the unrecorded move
    EXPECT_TRUE(document.graphics().empty());
}

TEST(TSLDocument, ItemsLeavingTheFrontListAreNoLongerRecorded)
{
    TSLDocument document;
    TSLGraphicPtr item = boxAt(0);
    document.insertGraphic(item, 0);
    endEvent();
    document.removeGraphicAtIndex(0);
    endEvent();
    item->setBounds(QRectF(9, 9, 9, 9)); // not in the list any more
    endEvent();
    document.undoManager().undo();
    ASSERT_EQ(document.graphics().size(), 1u);
    EXPECT_EQ(document.graphics()[0]->bounds(), QRectF(9, 9, 9, 9));
}

TEST(TSLDocument, ClearAllUndoEmptiesTheFrontOnly)
{
    TSLDocument document;
    document.insertGraphic(boxAt(0), 0);
    document.insertGraphicsForKey(TSLDocumentGraphicsKey_back, { boxAt(1) }, { 0 });
    document.insertGraphicsForKey(TSLDocumentGraphicsKey_temp, { boxAt(2) }, { 0 });
    endEvent();
    document.Clear_All_Undo_Redo();
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_FALSE(document.undoManager().canUndo());
    EXPECT_FALSE(document.undoManager().canRedo());
    EXPECT_EQ(document.graphics_back().size(), 1u);
    EXPECT_EQ(document.graphics_temp().size(), 1u);
    for (const QString& key : { TSLDocumentGraphicsKey_back, TSLDocumentGraphicsKey_temp })
        EXPECT_FALSE(document.undoManagerForKey(key).canUndo()) << "every list's steps are forgotten";
}

TEST(TSLDocument, EachListKeepsItsOwnUndo)
{
    TSLDocument document;
    EXPECT_TRUE(document.graphics_back().empty());
    const TSLGraphicPtr front = boxAt(0);
    document.insertGraphic(front, 0);
    endEvent();
    for (const QString& key : { TSLDocumentGraphicsKey_back, TSLDocumentGraphicsKey_temp }) {
        const TSLGraphicPtr item = boxAt(1);
        document.insertGraphicsForKey(key, { item }, { 0 });
        endEvent();
        item->setBounds(QRectF(5, 5, 10, 10));
        endEvent();
        platform::UndoManager& undo = document.undoManagerForKey(key);
        undo.undo();
        EXPECT_EQ(item->bounds(), QRectF(1, 0, 10, 10));
        undo.undo();
        EXPECT_TRUE(document.graphicsForKey(key).empty());
        undo.redo();
        EXPECT_EQ(document.graphicsForKey(key), TSLGraphicList { item });
    }
    EXPECT_EQ(document.graphics(), TSLGraphicList { front }) << "the front's own step is still there";
    document.undoManager().undo();
    EXPECT_TRUE(document.graphics().empty());
}

TEST(TSLDocument, CanvasSizeAndOwnData)
{
    EXPECT_EQ(TSLDocument::canvasSize(false, { 100, 50 }), QSizeF(100, 50));
    EXPECT_EQ(TSLDocument::canvasSize(true, { 100, 50 }), QSizeF(243, 154));

    TSLDocument document;
    document.insertGraphic(std::make_shared<TSLText>(), 0);
    const auto data = document.dataOfType(TSLDocumentOldTypeName, nullptr);
    ASSERT_TRUE(data);
    const auto root = platform::PropertyList::fromBytes(*data);
    ASSERT_TRUE(root && root->isDict());
    EXPECT_EQ(root->toDict().find(QStringLiteral("version"))->toInteger(), 2);
    EXPECT_EQ(root->toDict().find(QStringLiteral("graphics"))->toArray().size(), 1u);
    EXPECT_TRUE(root->toDict().contains(QStringLiteral("printInfo")));
}
