// Painting a card side of 100 items on the canvas at the zoom levels people use.
#include "canvas/TSLGraphicView.h"
#include "model/TSLDocument.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

// Shapes of every outline, lines and texts spread over a business card, some of them selected.
void fillSide(TSLDocument& document)
{
    static const char* shapes[] = { "R", "C", "RR", "T", "D", "S", "DS", "P" };
    TSLGraphicList items;
    std::vector<int> indexes;
    for (int i = 0; i < 100; ++i) {
        const char* kind = i % 5 == 3 ? "TSLLine" : i % 5 == 4 ? "TSLText" : "Shape_Control";
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QString::fromLatin1(kind));
        item->_bounds = QRectF((i * 37) % 200, (i * 23) % 120, 20 + i % 25, 12 + i % 18);
        item->Set_Shape_Type(QString::fromLatin1(shapes[i % 8]));
        item->_fillColor = QColor::fromHsv((i * 29) % 360, 160, 230);
        item->Text_Value = QStringLiteral("Guest %1").arg(i);
        items.push_back(item);
        indexes.push_back(i);
    }
    document.insertGraphicsForKey(TSLDocumentGraphicsKey_back, items, indexes);
}

void BM_CanvasPaintHundredItems(benchmark::State& state)
{
    const double zoom = double(state.range(0));
    TSLDocument document;
    fillSide(document);
    TSLGraphicView view;
    view.setCanvasSize(QSizeF(243, 154));
    view.setZoomFactor(zoom);
    view.bindGraphics(&document, TSLDocumentGraphicsKey_back);
    view.changeSelectionIndexes({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 });
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pixels"] = double(image.width()) * image.height();
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_CanvasPaintHundredItems)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace
