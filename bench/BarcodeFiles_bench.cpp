// Barcode PNG files per second, per symbology: 1,000 values, modules of 4 pixels, each symbol encoded,
// drawn and written as a PNG file. When zint is installed, the same values go through zint --batch with
// 4-pixel modules once per benchmark, timed the same way, and its rate is reported beside ours
// ("zint_per_s"). The argument is how files are written: 1 as batch output (renamed into place without
// waiting for the disk), 0 through QSaveFile as a design is.
#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCCode128Barcode.h"
#include "barcode/BRCDataMatrix.h"
#include "barcode/BRCEAN13Barcode.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/BarcodePngWriter.h"
#include "barcode/PDF417_View.h"
#include "barcode/QR_Picture_Encoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <functional>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int kValues = 1000;
constexpr double kDpi = 600.0;
constexpr float kModulePoints = 4.0f * 72.0f / 600.0f; // four pixels at 600 dpi
constexpr double kTwoDDpi = 4.0 * 72.0; // one-pixel modules re-sampled to four

std::vector<QByteArray> randomValues(quint32 seed, const QByteArray& alphabet, int minLength, int maxLength)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(minLength, maxLength);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    std::vector<QByteArray> values;
    for (int i = 0; i < kValues; ++i) {
        QByteArray value;
        for (int n = length(random); n > 0; --n)
            value += alphabet.at(pick(random));
        values.push_back(value);
    }
    return values;
}

const QByteArray kDigits("0123456789");
const QByteArray kText("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -.,:/+");

// Files go to memory when the system offers a folder there, so that both sides are timed on their work
// rather than on a busy disk.
QString folderBase()
{
    const QString memory = QStringLiteral("/dev/shm");
    return QFileInfo(memory).isWritable() ? memory + QStringLiteral("/tessaline-bench-XXXXXX") : QString();
}

double childSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Symbols per second of zint --batch over the values (one process, one core) in processor time, as the
// benchmark counts ours; 0 when zint is missing.
double zintRate(const std::vector<QByteArray>& values, const QStringList& symbology)
{
    if (QStandardPaths::findExecutable(QStringLiteral("zint")).isEmpty())
        return 0.0;
    QTemporaryDir folder(folderBase());
    QFile input(folder.filePath(QStringLiteral("values.txt")));
    if (!input.open(QIODevice::WriteOnly))
        return 0.0;
    for (const QByteArray& value : values)
        input.write(value + '\n');
    input.close();
    QProcess zint;
    const double before = childSeconds();
    zint.start(QStringLiteral("zint"),
        QStringList { QStringLiteral("--batch"), QStringLiteral("--scale=2"), QStringLiteral("--filetype=png"),
            QStringLiteral("-o"), folder.filePath(QStringLiteral("~~~~.png")), QStringLiteral("-i"), input.fileName() }
            + symbology);
    if (!zint.waitForFinished(600000) || zint.exitCode() != 0)
        return 0.0;
    return static_cast<double>(values.size()) / std::max(1e-6, childSeconds() - before);
}

void prepareSettings()
{
    Barcode_Gen& settings = *Barcode_Gen::defaultInstance();
    settings = Barcode_Gen();
    const float margin = static_cast<float>(0.1 * 0.393701 * 72.0);
    settings.value_margin = margin;
    settings.header_margin = 0.0f;
    settings.footer_margin = 0.0f;
    settings.TB_margin = margin;
    settings.LR_margin = margin;
}

// A linear symbol set up as the generator does: value text shown, no header or footer, 0.6 cm bars,
// framed with the side margins.
bool configureLinear(BRCBarcode& barcode, const QString& value)
{
    if (!barcode.initWithContent(value, true) || !barcode.isContentValid())
        return false;
    const Barcode_Gen& settings = Barcode_Settings();
    barcode.setHeader(QString(QLatin1String("")));
    barcode.setFooter(QString(QLatin1String("")));
    barcode.setPrintsCaption(true);
    barcode.setPrintsHeader(false);
    barcode.setPrintsFooter(false);
    barcode.setBarWidth(kModulePoints);
    barcode.setCaptionFontSize(static_cast<float>(settings.value_font.pointSizeF()));
    barcode.setHeaderFontSize(static_cast<float>(settings.header_font.pointSizeF()));
    barcode.setFooterFontSize(static_cast<float>(settings.footer_font.pointSizeF()));
    barcode.setHeight(17.007883f + barcode.captionHeight() * 72.0f + settings.value_margin + 2.0f * settings.TB_margin);
    barcode.calculateWidth();
    barcode.setWidth(barcode.width() + 2.0f * settings.LR_margin + 15.0f);
    return true;
}

// One symbol's picture, null when the value gives none.
using MakePicture = std::function<QImage(const QByteArray&)>;

void runFiles(benchmark::State& state, const std::vector<QByteArray>& values, const MakePicture& make,
    const QStringList& zintSymbology)
{
    prepareSettings();
    QTemporaryDir folder(folderBase());
    size_t next = 0;
    for (auto _ : state) {
        const QByteArray& value = values[next % values.size()];
        const QImage picture = make(value);
        const QString path = folder.filePath(QStringLiteral("%1.png").arg(next % values.size()));
        ++next;
        const bool written = state.range(0) != 0 ? BarcodePngWriter::writeBatch(picture, path)
                                                 : BarcodePngWriter::write(picture, path);
        if (picture.isNull() || !written) {
            state.SkipWithError("no picture");
            break;
        }
    }
    // Sizes are read afterwards, as zint's run reads none.
    qint64 bytes = 0;
    for (const QFileInfo& file : QDir(folder.path()).entryInfoList(QDir::Files))
        bytes += file.size();
    state.SetItemsProcessed(state.iterations());
    state.counters["PNG_bytes"]
        = static_cast<double>(bytes) / static_cast<double>(std::max<int64_t>(1, state.iterations()));
    state.counters["zint_per_s"] = zintRate(values, zintSymbology);
}

QImage linearPicture(BRCBarcode&& barcode, const QByteArray& value)
{
    if (!configureLinear(barcode, QString::fromLatin1(value)))
        return {};
    return imageFromBarcode(barcode, kDpi).image;
}

void BM_Files_Code128(benchmark::State& state)
{
    const auto values = randomValues(128, kText, 6, 20);
    runFiles(state, values,
        [](const QByteArray& value) {
            BRCCode128Barcode barcode;
            barcode.setCodeSet(BRCCode128Barcode::SetChosen);
            return linearPicture(std::move(barcode), value);
        },
        { QStringLiteral("-b"), QStringLiteral("20") });
}
BENCHMARK(BM_Files_Code128)->Arg(1)->Arg(0)->Iterations(kValues)->Unit(benchmark::kMicrosecond);

void BM_Files_EAN13(benchmark::State& state)
{
    const auto values = randomValues(13, kDigits, 12, 12);
    runFiles(state, values, [](const QByteArray& value) { return linearPicture(BRCEAN13Barcode(), value); },
        { QStringLiteral("-b"), QStringLiteral("13") });
}
BENCHMARK(BM_Files_EAN13)->Arg(1)->Arg(0)->Iterations(kValues)->Unit(benchmark::kMicrosecond);

void BM_Files_QRCode(benchmark::State& state)
{
    const auto values = randomValues(58, kText, 10, 80);
    runFiles(state, values,
        [](const QByteArray& value) {
            const auto matrix = QR_Picture_Encoder::encodeWithECLevel(0, 0, QString::fromLatin1(value));
            if (!matrix)
                return QImage();
            return QR_Picture_Encoder::renderDataMatrix(
                *matrix, static_cast<int>(matrix->dimension()), static_cast<int>(kTwoDDpi))
                .image;
        },
        { QStringLiteral("-b"), QStringLiteral("58"), QStringLiteral("--secure=1") });
}
BENCHMARK(BM_Files_QRCode)->Arg(1)->Arg(0)->Iterations(kValues)->Unit(benchmark::kMicrosecond);

void BM_Files_DataMatrix(benchmark::State& state)
{
    const auto values = randomValues(71, kText, 10, 80);
    runFiles(state, values,
        [](const QByteArray& value) {
            const auto symbol = BRCDataMatrix::encode(value, 0, 0, {});
            if (!symbol)
                return QImage();
            return BRCDataMatrix::makePicture(*symbol, 1, static_cast<int>(kTwoDDpi)).image;
        },
        { QStringLiteral("-b"), QStringLiteral("71") });
}
BENCHMARK(BM_Files_DataMatrix)->Arg(1)->Arg(0)->Iterations(kValues)->Unit(benchmark::kMicrosecond);

void BM_Files_PDF417(benchmark::State& state)
{
    const auto values = randomValues(55, kText, 10, 80);
    runFiles(state, values,
        [](const QByteArray& value) {
            // A view of 200 x 60 points at 4 pixels a point: 800 x 240 pixels, near zint's size.
            PDF417_View view(QSizeF(200, 60), 2);
            view.setResolution(static_cast<int>(kTwoDDpi));
            if (view.drawWithText(QString::fromLatin1(value)) != PDF417_View::PictureReady)
                return QImage();
            return view.getImage().image;
        },
        { QStringLiteral("-b"), QStringLiteral("55"), QStringLiteral("--secure=2") });
}
BENCHMARK(BM_Files_PDF417)->Arg(1)->Arg(0)->Iterations(kValues)->Unit(benchmark::kMicrosecond);

// The PNG encoding alone, of pictures made beforehand, to show its share of a file's time.
void BM_Png_Code128(benchmark::State& state)
{
    prepareSettings();
    const auto values = randomValues(128, kText, 6, 20);
    std::vector<QImage> pictures;
    for (std::size_t i = 0; i < 100; ++i) {
        BRCCode128Barcode barcode;
        barcode.setCodeSet(BRCCode128Barcode::SetChosen);
        pictures.push_back(linearPicture(std::move(barcode), values[i]));
    }
    std::size_t next = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(BarcodePngWriter::pngData(pictures[next++ % pictures.size()]).size());
    state.SetItemsProcessed(state.iterations());
    state.counters["pixels"] = static_cast<double>(pictures[0].width() * pictures[0].height());
}
BENCHMARK(BM_Png_Code128)->Unit(benchmark::kMicrosecond);

} // namespace
