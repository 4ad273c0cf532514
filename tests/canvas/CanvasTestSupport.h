#pragma once

// A canvas bound to a document's list, with a scripted stand-in for the main window, and helpers that drive
// it with real mouse and key events at a zoom where whole pixels give tenths of a point.
#include "canvas/TSLGraphicView.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/Shape_Control.h"
#include "model/TSLDocument.h"
#include "platform/UndoManager.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace canvastest {

// The main window as the canvas sees it: the palette's tool, the cascade, the inspector and the buttons.
class FakeEditor : public CardEditorServices {
public:
    int tool = 0;
    QPointF cascade { 30, 30 };
    std::vector<QString> cascadeSides;
    std::vector<std::weak_ptr<TSLGraphic>> shown; // what the inspector was asked to show; empty = the card
    int shownCount = 0;
    int refreshCount = 0;
    int barcodeWindowCount = 0;
    int undoButtonCount = 0;
    int pasteButtonCount = 0;
    bool sameSizeEnabled = false;
    QImage banner;

    QFont defaultTextFont() const override { return builtInTextFont(); }
    QColor defaultTextColor() const override { return Qt::black; }
    QPointF nextCascadePoint(const QString& side) override
    {
        cascadeSides.push_back(side);
        const QPointF point = cascade;
        cascade += QPointF(20, 20);
        return point;
    }
    QRectF frontCanvasBounds() const override { return QRectF(0, 0, 243, 154); }
    void refreshCanvas() override { ++refreshCount; }
    int Selected_Control_Tool() const override { return tool; }
    QString currentGraphicClass() const override
    {
        return graphicClassForTool(tool);
    }
    void Show_RHS_Properties(const std::shared_ptr<TSLGraphic>& item) override
    {
        shown.push_back(item);
        ++shownCount;
    }
    void Open_Barcode_Window() override { ++barcodeWindowCount; }
    void Undo_Redo_Button_state() override { ++undoButtonCount; }
    void Set_Paste_Button_Status() override { ++pasteButtonCount; }
    QImage bannerImage() const override { return banner; }
    void setSameSizeButtonsEnabled(bool enabled) override { sameSizeEnabled = enabled; }
};

// Ten pixels per point: a pixel step of the test mouse is a tenth of a point.
constexpr double testZoom = 10.0;

class CanvasTest : public ::testing::Test {
protected:
    FakeEditor editor;
    TSLDocument document;
    TSLGraphicView view;

    void SetUp() override
    {
        setEditorServices(&editor);
        Card_Front_Or_Back = 0;
        Library_Selected_Image.clear();
        view.setCanvasSize(QSizeF(243, 154));
        view.setZoomFactor(testZoom);
        view.bindGraphics(&document, TSLDocumentGraphicsKey);
        view.show();
    }
    void TearDown() override
    {
        view.unbindGraphics();
        setEditorServices(nullptr);
    }

    // Items put on the list as a finished design would be: without an undo step.
    std::shared_ptr<Shape_Control> addRect(const QRectF& bounds, const QString& key = TSLDocumentGraphicsKey)
    {
        auto item = std::make_shared<Shape_Control>();
        item->setBounds(bounds);
        document.undoManager().disableUndoRegistration();
        document.insertGraphicsForKey(key, { item }, { int(document.graphicsForKey(key).size()) });
        document.undoManager().enableUndoRegistration();
        return item;
    }

    static QPoint px(const QPointF& point) { return (point * testZoom).toPoint(); }

    // Control returns to the event loop, as between two user actions: the undo group of the last one closes.
    static void settle() { QCoreApplication::processEvents(); }

    void press(const QPointF& at, Qt::KeyboardModifiers mods = {})
    {
        QTest::mousePress(&view, Qt::LeftButton, mods, px(at));
    }
    void moveTo(const QPointF& at) { QTest::mouseMove(&view, px(at)); }
    void release(const QPointF& at, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseRelease(&view, Qt::LeftButton, mods, px(at));
        settle();
    }
    void click(const QPointF& at, Qt::KeyboardModifiers mods = {})
    {
        press(at, mods);
        release(at, mods);
    }
    // Press, one drag step to the end point, release there.
    void drag(const QPointF& from, const QPointF& to, Qt::KeyboardModifiers mods = {})
    {
        press(from, mods);
        moveTo(to);
        release(to, mods);
    }

    int undoSteps(const QString& key = TSLDocumentGraphicsKey)
    {
        // Counts by undoing everything and redoing it again; leaves the document as it was.
        platform::UndoManager& undo = document.undoManagerForKey(key);
        int steps = 0;
        while (undo.canUndo() && steps < 1000) {
            undo.undo();
            ++steps;
        }
        for (int i = 0; i < steps; ++i)
            undo.redo();
        return steps;
    }
};

} // namespace canvastest
