// Copying 50 items to the clipboard (item list, PDF and TIFF) and pasting them back, and reordering and
// aligning half of a 400-item front list, each with its undo recording.
#include "canvas/TSLGraphicView.h"
#include "model/TSLDocument.h"
#include "platform/UndoManager.h"

#include <QClipboard>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

void fillFront(TSLDocument& document, int count)
{
    static const char* shapes[] = { "R", "C", "RR", "T", "D", "S", "DS", "P" };
    TSLGraphicList items;
    std::vector<int> indexes;
    for (int i = 0; i < count; ++i) {
        const char* kind = i % 5 == 3 ? "TSLLine" : i % 5 == 4 ? "TSLText" : "Shape_Control";
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QString::fromLatin1(kind));
        item->_bounds = QRectF((i * 37) % 200, (i * 23) % 120, 20 + i % 25, 12 + i % 18);
        item->Set_Shape_Type(QString::fromLatin1(shapes[i % 8]));
        item->_isDrawingFill = true;
        item->_fillColor = QColor::fromHsv((i * 29) % 360, 160, 230);
        item->Text_Value = QStringLiteral("Guest %1").arg(i);
        items.push_back(item);
        indexes.push_back(i);
    }
    document.undoManager().disableUndoRegistration();
    document.insertGraphics(items, indexes);
    document.undoManager().enableUndoRegistration();
}

TSLIndexSet everyOther(int count)
{
    TSLIndexSet indexes;
    for (int i = 0; i < count; i += 2)
        indexes.insert(i);
    return indexes;
}

void BM_CopyAndPasteFiftyItems(benchmark::State& state)
{
    TSLDocument document;
    fillFront(document, 50);
    TSLGraphicView view;
    view.bindGraphics(&document, TSLDocumentGraphicsKey);
    for (auto _ : state) {
        view.selectAll();
        view.copy();
        view.paste();
        state.PauseTiming();
        view.changeSelectionIndexes({});
        document.undoManager().undo(); // takes the pasted items out again
        state.ResumeTiming();
    }
    QGuiApplication::clipboard()->clear();
    state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(BM_CopyAndPasteFiftyItems)->Unit(benchmark::kMillisecond);

void BM_BringHalfOfFourHundredToFront(benchmark::State& state)
{
    TSLDocument document;
    fillFront(document, 400);
    TSLGraphicView view;
    view.bindGraphics(&document, TSLDocumentGraphicsKey);
    for (auto _ : state) {
        view.changeSelectionIndexes(everyOther(400));
        view.bringToFront();
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_BringHalfOfFourHundredToFront)->Unit(benchmark::kMicrosecond);

void BM_AlignHalfOfFourHundred(benchmark::State& state)
{
    TSLDocument document;
    fillFront(document, 400);
    TSLGraphicView view;
    view.bindGraphics(&document, TSLDocumentGraphicsKey);
    view.changeSelectionIndexes(everyOther(400));
    bool right = false;
    for (auto _ : state) {
        if (right)
            view.alignRightEdges();
        else
            view.alignLeftEdges();
        right = !right;
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_AlignHalfOfFourHundred)->Unit(benchmark::kMicrosecond);

} // namespace
