// Symbols per second of the 2-D roads: encode, draw the picture at the output resolution, write PNG bytes.
#include "barcode/BRCDataMatrix.h"
#include "barcode/PDF417_View.h"
#include "barcode/QR_Picture_Encoder.h"

#include <QBuffer>
#include <QByteArray>

#include <benchmark/benchmark.h>

namespace {

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString sampleText(int length)
{
    const QString base = QStringLiteral("Tessaline party invitation, table 12, Grüße! ");
    QString text;
    while (text.size() < length)
        text += base;
    return text.left(length);
}

void BM_QRCodeSymbol(benchmark::State& state)
{
    const QString text = sampleText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto matrix = QR_Picture_Encoder::encodeWithECLevel(1, 0, text);
        const BarcodePicture picture = QR_Picture_Encoder::renderDataMatrix(*matrix, 120, 300);
        benchmark::DoNotOptimize(pngBytes(picture.image));
    }
    state.counters["symbols/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_QRCodeSymbol)->Arg(20)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

// The encoder alone (segments, Reed-Solomon, placement, eight mask penalties), for comparison.
void BM_QRCodeEncodeOnly(benchmark::State& state)
{
    const QString text = sampleText(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(QR_Picture_Encoder::encodeWithECLevel(1, 0, text));
    state.counters["symbols/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_QRCodeEncodeOnly)->Arg(20)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_PDF417Symbol(benchmark::State& state)
{
    const QString text = sampleText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PDF417_View view(QSizeF(200, 60), 2);
        view.setResolution(300);
        view.drawWithText(text);
        benchmark::DoNotOptimize(pngBytes(view.getImage().image));
    }
    state.counters["symbols/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PDF417Symbol)->Arg(20)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_DataMatrixSymbol(benchmark::State& state)
{
    const QByteArray data = sampleText(static_cast<int>(state.range(0))).toUtf8();
    for (auto _ : state) {
        const auto symbol = BRCDataMatrix::encode(data, 0, 0, {});
        const BarcodePicture picture = BRCDataMatrix::makePicture(*symbol, 2, 300);
        benchmark::DoNotOptimize(pngBytes(picture.image));
    }
    state.counters["symbols/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DataMatrixSymbol)->Arg(20)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

// The codewords and modules of a symbol alone, with the encodations chosen by the library (1), whose one
// call per symbol is taken in turns by all threads, or given as ASCII (0): the difference is the time a
// symbol holds the library's lock. On all threads, the symbols per second show what the turns cost.
void BM_DataMatrixEncode(benchmark::State& state)
{
    const QByteArray data = sampleText(static_cast<int>(state.range(0))).toUtf8();
    const QByteArray letters = state.range(1) ? QByteArray() : QByteArray(data.size(), 'A');
    for (auto _ : state)
        benchmark::DoNotOptimize(BRCDataMatrix::encode(data, 0, 0, letters));
    state.counters["symbols/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DataMatrixEncode)->ArgsProduct({ { 20, 200 }, { 0, 1 } })->Threads(1)->Threads(8)->UseRealTime();

} // namespace
