// Code 128 symbols per second: values encoded in the automatic code set (model only), and encoded and
// drawn into pictures with value text, header and footer as a batch export does for one item.
#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCCode128Barcode.h"
#include "barcode/Barcode_Gen.h"

#include <random>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int kValues = 10000;

// Order numbers, names with lower case, and digit runs, as card items hold them.
std::vector<QString> values(int length)
{
    std::mt19937 random(128);
    const QByteArray text = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -./";
    std::uniform_int_distribution<int> pick(0, static_cast<int>(text.size()) - 1);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<QString> list;
    for (int i = 0; i < kValues; ++i) {
        QString value;
        for (int c = 0; c < length; ++c)
            value += QLatin1Char(i % 3 == 0 ? static_cast<char>('0' + digit(random)) : text.at(pick(random)));
        list.push_back(value);
    }
    return list;
}

bool encode(BRCCode128Barcode& code128, const QString& value)
{
    code128.setCodeSet(BRCCode128Barcode::SetChosen);
    return code128.initWithContent(value, true) && code128.isContentValid();
}

void BM_Code128_Encode(benchmark::State& state)
{
    const std::vector<QString> list = values(static_cast<int>(state.range(0)));
    size_t next = 0;
    for (auto _ : state) {
        BRCCode128Barcode code128;
        if (!encode(code128, list[next++ % list.size()])) {
            state.SkipWithError("invalid Code 128 value");
            break;
        }
        benchmark::DoNotOptimize(code128.completeBarcode());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Code128_Encode)->Arg(12)->Arg(40)->Unit(benchmark::kMicrosecond);

// The settings' start values with margins of 0.1 cm, 20-mil modules and 0.6 cm bars.
void BM_Code128_Picture(benchmark::State& state)
{
    Barcode_Gen& settings = *Barcode_Gen::defaultInstance();
    settings = Barcode_Gen();
    const float margin = static_cast<float>(0.1 * 0.393701 * 72.0);
    settings.value_margin = settings.header_margin = settings.footer_margin = margin;
    settings.TB_margin = settings.LR_margin = margin;
    const std::vector<QString> list = values(12);
    size_t next = 0;
    for (auto _ : state) {
        BRCCode128Barcode code128;
        if (!encode(code128, list[next++ % list.size()])) {
            state.SkipWithError("invalid Code 128 value");
            break;
        }
        code128.setHeader(QStringLiteral("HEADER"));
        code128.setFooter(QStringLiteral("FOOTER"));
        code128.setPrintsCaption(true);
        code128.setPrintsHeader(true);
        code128.setPrintsFooter(true);
        code128.setBarWidth(20.0f / 1000.0f * 72.0f);
        code128.setCaptionFontSize(static_cast<float>(settings.value_font.pointSizeF()));
        code128.setHeaderFontSize(static_cast<float>(settings.header_font.pointSizeF()));
        code128.setFooterFontSize(static_cast<float>(settings.footer_font.pointSizeF()));
        code128.setHeight(17.007883f
            + (code128.captionHeight() + code128.headerHeight() + code128.footerHeight()) * 72.0f + 5.0f * margin);
        code128.calculateWidth();
        code128.setWidth(code128.width() + 2.0f * margin + 15.0f);
        const BarcodePicture picture = imageFromBarcode(code128, static_cast<double>(state.range(0)));
        benchmark::DoNotOptimize(picture.image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Code128_Picture)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond);

} // namespace
