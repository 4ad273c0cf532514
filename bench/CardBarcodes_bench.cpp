// Cards exported per second with a Code 128, a QR Code and a PDF417 filled from each record, with a Code 128
// and its value text alone, and the same card without barcodes: PNG files at 300 dpi, on one thread and on
// every core.
#include "../tests/output/BatchTestSupport.h"

#include "barcode/Barcode_Entries.h"
#include "output/Batch_Export.h"

#include "BenchGuestList.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 500;

std::shared_ptr<TSLBarcode> boundBarcode(const QString& title, const QRectF& bounds)
{
    auto item = std::make_shared<TSLBarcode>();
    Barcode_Gen settings;
    settings.barcodeTypePopup.select(int(Barcode_Type_Titles().indexOf(title)));
    settings.liner_or_2D_font = Barcode_Type_Is_2D(title) ? 1 : 0;
    settings.hideHeaderCheckbox.state = 1;
    settings.hideFooterCheckbox.state = 1;
    settings.Store_Barcode_Prop_In_Item(*item);
    item->ctrl_is_visible = true;
    item->_bounds = bounds;
    item->data_source_type = 1;
    item->batch_list_name = QStringLiteral("codes");
    return item;
}

enum Barcodes { None, Three, Code128Alone };

std::shared_ptr<const Batch_Snapshot> cards(int barcodes)
{
    const Record_Source source = benchguests::records(kRecords);
    Batch_Snapshot::Side front { { batchtest::boundText(1, QStringLiteral("names"), 0, QRectF(10, 8, 170, 24)) },
        batchtest::creditCardSide(0) };
    if (barcodes != None)
        front.items.push_back(boundBarcode(QStringLiteral("Code 128"), QRectF(8, 36, 130, 50)));
    if (barcodes == Three) {
        front.items.push_back(boundBarcode(QStringLiteral("QR Code"), QRectF(160, 36, 70, 70)));
        front.items.push_back(boundBarcode(QStringLiteral("PDF417"), QRectF(8, 100, 140, 45)));
    }
    return Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
}

// Arguments: barcodes (0 none, 1 three, 2 a Code 128 with its value text), threads (0 every core).
void BM_CardExportWithBarcodes(benchmark::State& state)
{
    const auto snapshot = cards(int(state.range(0)));
    for (auto _ : state) {
        QTemporaryDir folder;
        std::atomic<bool> stop { false };
        const Batch_Export_Result result = Batch_Export(stop).run(
            { snapshot, folder.path(), QStringLiteral("png"), QStringLiteral("F"), false, 300, int(state.range(1)) });
        if (result.written != kRecords)
            state.SkipWithError("the cards were not all written");
    }
    state.counters["cards_per_s"]
        = benchmark::Counter(double(kRecords) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CardExportWithBarcodes)
    ->Args({ 0, 1 })
    ->Args({ 1, 1 })
    ->Args({ 2, 1 })
    ->Args({ 0, 0 })
    ->Args({ 1, 0 })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
