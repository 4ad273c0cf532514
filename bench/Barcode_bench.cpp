// Linear barcode pictures: EAN-13 values encoded, drawn with value text, header and footer, and
// compressed to PNG, as a batch export of 10,000 cards does for one barcode item.
#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCEAN13Barcode.h"
#include "barcode/Barcode_Gen.h"

#include <QBuffer>

#include <random>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPictures = 10000;

std::vector<QString> eanValues()
{
    std::mt19937 random(13);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<QString> values;
    for (int i = 0; i < kPictures; ++i) {
        QString value;
        for (int d = 0; d < 12; ++d)
            value += QLatin1Char(static_cast<char>('0' + digit(random)));
        values.push_back(value);
    }
    return values;
}

// The settings' start values with margins of 0.1 cm in points, and a symbol set up in the generator's
// order: 20-mil modules, 0.6 cm bars.
bool configure(BRCEAN13Barcode& ean, const QString& value)
{
    if (!ean.initWithContent(value, true) || !ean.isContentValid())
        return false;
    const Barcode_Gen& settings = Barcode_Settings();
    ean.setHeader(QStringLiteral("HEADER"));
    ean.setFooter(QStringLiteral("FOOTER"));
    ean.setPrintsCaption(true);
    ean.setPrintsHeader(true);
    ean.setPrintsFooter(true);
    ean.setBarWidth(20.0f / 1000.0f * 72.0f);
    ean.setCaptionFontSize(static_cast<float>(settings.value_font.pointSizeF()));
    ean.setHeaderFontSize(static_cast<float>(settings.header_font.pointSizeF()));
    ean.setFooterFontSize(static_cast<float>(settings.footer_font.pointSizeF()));
    const float margin = settings.value_margin;
    ean.setHeight(17.007883f + (ean.captionHeight() + ean.headerHeight() + ean.footerHeight()) * 72.0f + 5.0f * margin);
    ean.calculateWidth();
    ean.setWidth(ean.width() + 2.0f * settings.LR_margin + 15.0f);
    return true;
}

void prepareSettings()
{
    Barcode_Gen& settings = *Barcode_Gen::defaultInstance();
    settings = Barcode_Gen();
    const float margin = static_cast<float>(0.1 * 0.393701 * 72.0);
    settings.value_margin = settings.header_margin = settings.footer_margin = margin;
    settings.TB_margin = settings.LR_margin = margin;
}

void BM_EAN13_Picture_PNG(benchmark::State& state)
{
    prepareSettings();
    const std::vector<QString> values = eanValues();
    const double dpi = static_cast<double>(state.range(0));
    size_t next = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        BRCEAN13Barcode ean;
        if (!configure(ean, values[next++ % values.size()])) {
            state.SkipWithError("invalid EAN-13 value");
            break;
        }
        const BarcodePicture picture = imageFromBarcode(ean, dpi);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.image.save(&buffer, "PNG");
        bytes += png.size();
        benchmark::DoNotOptimize(png.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["PNG_bytes_per_symbol"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_EAN13_Picture_PNG)->Arg(600)->Arg(300)->Iterations(kPictures)->Unit(benchmark::kMillisecond);

// The symbol and its picture without compression, to show where the time goes.
void BM_EAN13_Picture(benchmark::State& state)
{
    prepareSettings();
    const std::vector<QString> values = eanValues();
    size_t next = 0;
    for (auto _ : state) {
        BRCEAN13Barcode ean;
        configure(ean, values[next++ % values.size()]);
        const BarcodePicture picture = imageFromBarcode(ean, 600.0);
        benchmark::DoNotOptimize(picture.image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EAN13_Picture)->Iterations(kPictures)->Unit(benchmark::kMillisecond);

void BM_EAN13_Encode(benchmark::State& state)
{
    prepareSettings();
    const std::vector<QString> values = eanValues();
    size_t next = 0;
    for (auto _ : state) {
        BRCEAN13Barcode ean;
        configure(ean, values[next++ % values.size()]);
        benchmark::DoNotOptimize(ean.completeBarcode());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EAN13_Encode)->Iterations(kPictures)->Unit(benchmark::kMillisecond);

} // namespace
