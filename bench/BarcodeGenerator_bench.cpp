// Pictures per second of the barcode generator's batch road, per symbology, at 300 dpi: what one bound
// barcode costs per card when cards are made one per record.
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"

#include <benchmark/benchmark.h>

namespace {

// A value each symbology encodes, in the order of the dialog's list.
const char* const kValues[] = { "TESSA-42", "Party 8", "12345678", "03600029145", "12345", "12345", "09AF", "1234",
    "400638133393", "Party-2026", "PARTY", "Party", "123456", "A1234B", "0123456", "9638507", "SN34RD1A",
    "12345678901", "2630023", "Party at eight, table 12", "Table 12, row 3", "RSVP 2026-12-24" };

void BM_GeneratorPicture(benchmark::State& state)
{
    const int index = static_cast<int>(state.range(0));
    const QString title = Barcode_Type_Titles().at(index);
    const QString value = QString::fromLatin1(kValues[index]);
    Barcode_Gen& gen = *Barcode_Gen::defaultInstance();
    gen = Barcode_Gen();
    gen.barcodeTypePopup.select(index);
    gen.liner_or_2D_font = Barcode_Type_Is_2D(title) ? 1 : 0;
    USED_DPI_VALUE = 300;
    for (auto _ : state) {
        const BarcodePicture picture = gen.Get_Image_From_Val(value, QStringLiteral("HEADER"), QStringLiteral("FOOTER"));
        if (picture.isNull())
            state.SkipWithError("no picture");
        benchmark::DoNotOptimize(picture.image.constBits());
    }
    state.SetLabel(title.toStdString());
    state.counters["pictures/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    USED_DPI_VALUE = 600;
}
BENCHMARK(BM_GeneratorPicture)->DenseRange(0, 21)->Unit(benchmark::kMillisecond);

} // namespace
