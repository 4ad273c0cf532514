#include "model/TSLGraphic.h"
#include "model/TSLText.h"
#include "platform/KeyedArchive.h"

#include <benchmark/benchmark.h>

namespace {

TSLGraphicList mixedItems(int count)
{
    static const char* kinds[] = { "Shape_Control", "TSLLine", "TSLText", "TSLImage", "TSLBarcode", "TSLSignature" };
    TSLGraphicList items;
    for (int i = 0; i < count; ++i) {
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QString::fromLatin1(kinds[i % 6]));
        item->_bounds = QRectF(i % 200, i % 120, 40 + i % 30, 20 + i % 15);
        item->Text_Value = QStringLiteral("Guest %1").arg(i);
        if (i % 6 == 2)
            item->Text_contents();
        items.push_back(item);
    }
    return items;
}

void BM_ArchiveThousandItems(benchmark::State& state)
{
    const TSLGraphicList items = mixedItems(1000);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray data = TSLGraphic::pasteboardDataWithGraphics(items);
        bytes = data.size();
        benchmark::DoNotOptimize(data.constData());
    }
    state.counters["bytes"] = double(bytes);
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ArchiveThousandItems)->Unit(benchmark::kMillisecond);

void BM_UnarchiveThousandItems(benchmark::State& state)
{
    const QByteArray data = TSLGraphic::pasteboardDataWithGraphics(mixedItems(1000));
    for (auto _ : state) {
        auto items = TSLGraphic::graphicsWithPasteboardData(data, nullptr);
        benchmark::DoNotOptimize(items->size());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_UnarchiveThousandItems)->Unit(benchmark::kMillisecond);

} // namespace
