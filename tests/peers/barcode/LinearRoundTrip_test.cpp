// Code 39, Code 128, Codabar and 2 of 5 symbols drawn by our renderer and read back by real scanners'
// decoders; and the modules of every linear symbology compared with an independent encoder.
#include "LinearPeers.h"

#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCCodabarBarcode.h"
#include "barcode/BRCCode128Barcode.h"
#include "barcode/BRCCode39Barcode.h"
#include "barcode/BRCExtendedCode39Barcode.h"
#include "barcode/BRCIndustrialTwoOfFiveBarcode.h"
#include "barcode/BRCInterleavedTwoOfFiveBarcode.h"
#include "barcode/BRCModifiedPlesseyBarcode.h"
#include "barcode/BarcodePngWriter.h"
#include "barcode/BarcodeTestSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <functional>
#include <memory>
#include <random>

#include <gtest/gtest.h>

namespace {

constexpr int kValues = 1000;

// A random text of length minLength to maxLength over the alphabet.
QByteArray randomText(std::mt19937& random, const QByteArray& alphabet, int minLength, int maxLength)
{
    const int length = std::uniform_int_distribution<int>(minLength, maxLength)(random);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(pick(random));
    return text;
}

QByteArray range(int first, int last)
{
    QByteArray characters;
    for (int c = first; c <= last; ++c)
        characters += static_cast<char>(c);
    return characters;
}

const QByteArray kDigits = range('0', '9');
const QByteArray kPrintable = range(' ', '~');
const QByteArray kControls = range(0, 31) + char(127);

// Mostly characters of one alphabet, now and then one of another (which Code 128 writes with SHIFT).
QByteArray mostlyFrom(std::mt19937& random, const QByteArray& main, const QByteArray& other, int maxLength)
{
    QByteArray text = randomText(random, main, 1, maxLength);
    if (std::uniform_int_distribution<int>(0, 2)(random) == 0)
        text.insert(std::uniform_int_distribution<int>(0, static_cast<int>(text.size()))(random),
            randomText(random, other, 1, 2));
    return text;
}

// The full-ASCII reading of Code 39 text: a "$", "%", "/" or "+" and the letter after it stand for
// one character.
QByteArray fullAscii(const QByteArray& code39)
{
    QByteArray text;
    for (qsizetype i = 0; i < code39.size(); ++i) {
        const char c = code39.at(i);
        const char next = i + 1 < code39.size() ? code39.at(i + 1) : '\0';
        if (!QByteArray("$%/+").contains(c) || next < 'A' || next > 'Z') {
            text += c;
            continue;
        }
        ++i;
        const int k = next - 'A';
        if (c == '$')
            text += static_cast<char>(k + 1);
        else if (c == '+')
            text += static_cast<char>('a' + k);
        else if (c == '/')
            text += next == 'Z' ? ':' : static_cast<char>('!' + k);
        else if (next <= 'E')
            text += static_cast<char>(27 + k);
        else if (next <= 'J')
            text += static_cast<char>(';' + k - 5);
        else if (next <= 'O')
            text += static_cast<char>('[' + k - 10);
        else if (next <= 'T')
            text += static_cast<char>('{' + k - 15);
        else
            text += "\0@`\x7f\x7f\x7f"[k - 20];
    }
    return text;
}

QByteArray evenDigits(const QByteArray& digits)
{
    return digits.size() % 2 == 1 ? '0' + digits : digits;
}

struct Symbology {
    const char* name;
    std::function<std::unique_ptr<BRCBarcode>()> make;
    std::function<QByteArray(std::mt19937&)> value; // a random valid value as a user would type it
    const char* zxingFormat;
    const char* zbarSymbology;
    // What a decoder must report for the symbol's content: ZXing (true) or zbar (false).
    std::function<QByteArray(const QByteArray& content, bool zxing)> expected;
    // How the decoded text reads back (full ASCII for Extended Code 39).
    std::function<QByteArray(const QByteArray&)> interpret;
};

std::unique_ptr<BRCBarcode> code128(int set)
{
    auto barcode = std::make_unique<BRCCode128Barcode>();
    barcode->setCodeSet(set);
    return barcode;
}

QByteArray asContent(const QByteArray& content, bool)
{
    return content;
}

QByteArray asRead(const QByteArray& text)
{
    return text;
}

const Symbology kRoundTrips[] = {
    { "Code39", [] { return std::make_unique<BRCCode39Barcode>(); },
        [](std::mt19937& r) { return randomText(r, kDigits + range('A', 'Z') + range('a', 'z') + " -.$/+%", 1, 16); },
        "Code39", "code39", asContent, asRead },
    { "ExtendedCode39", [] { return std::make_unique<BRCExtendedCode39Barcode>(); },
        [](std::mt19937& r) { return randomText(r, kPrintable + '\t', 1, 12); }, "Code39", "code39", asContent,
        fullAscii },
    { "Code128", [] { return code128(BRCCode128Barcode::SetChosen); },
        [](std::mt19937& r) {
            switch (std::uniform_int_distribution<int>(0, 3)(r)) {
            case 0:
                return randomText(r, kDigits, 1, 24);
            case 1:
                return mostlyFrom(r, range('A', '_'), kControls, 20);
            default:
                return mostlyFrom(r, kPrintable, kControls, 20);
            }
        },
        "Code128", "code128", asContent, asRead },
    { "Code128SetA", [] { return code128(BRCCode128Barcode::SetA); },
        [](std::mt19937& r) { return mostlyFrom(r, range(0, 95), range(96, 127), 20); }, "Code128", "code128",
        asContent, asRead },
    { "Code128SetB", [] { return code128(BRCCode128Barcode::SetB); },
        [](std::mt19937& r) { return mostlyFrom(r, range(32, 127), range(0, 31), 20); }, "Code128", "code128",
        asContent, asRead },
    { "Code128SetC", [] { return code128(BRCCode128Barcode::SetC); },
        [](std::mt19937& r) { return randomText(r, kDigits, 1, 30); }, "Code128", "code128",
        [](const QByteArray& content, bool) { return evenDigits(content); }, asRead },
    { "Codabar", [] { return std::make_unique<BRCCodabarBarcode>(); },
        [](std::mt19937& r) {
            // Both decoders want at least two characters between the start and stop letters.
            return randomText(r, "ABCD", 1, 1) + randomText(r, kDigits + "-$:/.+", 2, 16) + randomText(r, "ABCD", 1, 1);
        },
        "Codabar", "codabar",
        // ZXing leaves the start and stop letters out.
        [](const QByteArray& content, bool zxing) { return zxing ? content.mid(1, content.size() - 2) : content; },
        asRead },
    { "Interleaved2of5", [] { return std::make_unique<BRCInterleavedTwoOfFiveBarcode>(); },
        [](std::mt19937& r) { return randomText(r, kDigits, 6, 24); }, "ITF", "i25",
        [](const QByteArray& content, bool) { return evenDigits(content); }, asRead },
};

struct Case {
    QByteArray value; // as typed
    QByteArray expectedZxing;
    QByteArray expectedZbar;
    QString path;
    int modulePixels = 0;
};

QString printable(const QByteArray& bytes)
{
    QString text;
    for (const char c : bytes)
        text += c >= ' ' && c < 127 ? QString(QLatin1Char(c)) : QStringLiteral("<%1>").arg(int(c));
    return text;
}

class LinearRoundTrip : public testing::TestWithParam<int> {
protected:
    const Symbology& symbology() const { return kRoundTrips[GetParam()]; }

    // One value drawn into its own PNG file as the program frames and writes it, read as it is: modules
    // of 1, 2 and 3 pixels and of a random fraction between, at the linear pictures' 600 dpi.
    Case draw(std::mt19937& random, int i, const QString& folder) const
    {
        Case c;
        c.value = symbology().value(random);
        auto barcode = symbology().make();
        EXPECT_TRUE(barcode->initWithContent(QString::fromLatin1(c.value), true));
        EXPECT_TRUE(barcode->isContentValid()) << printable(c.value).toStdString();
        barcodetest::Layout layout;
        layout.barWidth = barcodetest::sweepModulePoints(random, i);
        layout.barHeight = 24.0f;
        barcodetest::prepare(*barcode, layout);
        barcodetest::frameLikeTheGenerator(*barcode);
        c.modulePixels = barcodetest::drawnModulePixels(layout.barWidth);
        const QByteArray content = barcode->content().toLatin1();
        c.expectedZxing = symbology().expected(content, true);
        c.expectedZbar = symbology().expected(content, false);
        const BarcodePicture picture = imageFromBarcode(*barcode);
        c.path = QStringLiteral("%1/%2.png").arg(folder).arg(i, 4, 10, QLatin1Char('0'));
        EXPECT_TRUE(BarcodePngWriter::write(picture.image, c.path));
        return c;
    }

    int misses(
        const char* decoder, const std::vector<Case>& cases, const QHash<QString, QByteArray>& read, bool zxing) const
    {
        int count = 0;
        for (const Case& c : cases) {
            const auto found = read.find(c.path);
            // zbar finds few symbols of one-pixel modules (nor those its peers draw): there it must not
            // misread, while a symbol it does not find is not counted.
            if (!zxing && c.modulePixels == 1 && found == read.end())
                continue;
            const QByteArray expected = zxing ? c.expectedZxing : c.expectedZbar;
            if (found != read.end() && symbology().interpret(*found) == expected)
                continue;
            if (++count <= 5)
                ADD_FAILURE() << decoder << ": " << symbology().name << " " << printable(c.value).toStdString()
                              << (found == read.end() ? QStringLiteral(" not read")
                                                      : QStringLiteral(" read as ") + printable(*found))
                                     .toStdString()
                              << ", expected " << printable(expected).toStdString() << " in "
                              << QFileInfo(c.path).fileName().toStdString();
        }
        return count;
    }
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_P(LinearRoundTrip, ScannersReadEveryValueBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader"))) << "ZXingReader (zxing-cpp-tools) is missing";
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zbarimg"))) << "zbarimg (zbar-tools) is missing";
    barcodetest::freshSettings(2.0f);
    const QString folder = testsupport::makeTempFolder(QStringLiteral("linear"));
    std::mt19937 random(9100u + static_cast<unsigned>(GetParam()));

    // The decoders read one batch of files while the next batch is drawn.
    constexpr int kBatches = 4;
    std::vector<Case> cases;
    std::vector<std::unique_ptr<QProcess>> decoders;
    for (int batch = 0; batch < kBatches; ++batch) {
        QStringList paths;
        for (int i = batch * kValues / kBatches; i < (batch + 1) * kValues / kBatches; ++i) {
            cases.push_back(draw(random, i, folder));
            paths << cases.back().path;
        }
        decoders.push_back(std::make_unique<QProcess>());
        linearpeers::startZxing(*decoders.back(), paths, QLatin1String(symbology().zxingFormat),
            QStringLiteral("%1/zxing%2.txt").arg(folder).arg(batch));
        decoders.push_back(std::make_unique<QProcess>());
        linearpeers::startZbar(*decoders.back(), paths, QLatin1String(symbology().zbarSymbology),
            QStringLiteral("%1/zbar%2.txt").arg(folder).arg(batch));
    }
    for (const auto& decoder : decoders) {
        ASSERT_TRUE(decoder->waitForFinished(120000)) << decoder->program().toStdString();
        // zbarimg ends with 4 when some file held no symbol: the comparison below names them.
        ASSERT_TRUE(
            decoder->exitCode() == 0 || (decoder->program() == QLatin1String("zbarimg") && decoder->exitCode() == 4))
            << decoder->program().toStdString() << ": " << decoder->readAllStandardError().toStdString();
    }

    QHash<QString, QByteArray> byZxing;
    QHash<QString, QByteArray> byZbar;
    for (int batch = 0; batch < kBatches; ++batch) {
        byZxing.insert(linearpeers::zxingResults(readAll(QStringLiteral("%1/zxing%2.txt").arg(folder).arg(batch))));
        byZbar.insert(linearpeers::zbarResults(readAll(QStringLiteral("%1/zbar%2.txt").arg(folder).arg(batch))));
    }
    EXPECT_EQ(misses("ZXingReader", cases, byZxing, true), 0);
    EXPECT_EQ(misses("zbarimg", cases, byZbar, false), 0);
    QDir(folder).removeRecursively();
}

INSTANTIATE_TEST_SUITE_P(Sweep, LinearRoundTrip, testing::Range(0, static_cast<int>(std::size(kRoundTrips))),
    [](const testing::TestParamInfo<int>& info) { return std::string(kRoundTrips[info.param].name); });

namespace {

struct Encoder {
    const char* name;
    std::function<std::unique_ptr<BRCBarcode>()> make;
    std::function<QByteArray(std::mt19937&)> value;
    QStringList zintArguments;
};

const Encoder kEncoders[] = {
    { "Code39", [] { return std::make_unique<BRCCode39Barcode>(); },
        [](std::mt19937& r) { return randomText(r, kDigits + range('A', 'Z') + " -.$/+%", 1, 20); },
        { QStringLiteral("-b"), QStringLiteral("8") } },
    { "ExtendedCode39", [] { return std::make_unique<BRCExtendedCode39Barcode>(); },
        [](std::mt19937& r) { return randomText(r, kPrintable + '\t', 1, 20); },
        { QStringLiteral("-b"), QStringLiteral("9") } },
    { "Code128SetB", [] { return code128(BRCCode128Barcode::SetB); },
        [](std::mt19937& r) { return randomText(r, kPrintable, 1, 20); },
        { QStringLiteral("-b"), QStringLiteral("60") } },
    { "Codabar", [] { return std::make_unique<BRCCodabarBarcode>(); },
        [](std::mt19937& r) {
            return randomText(r, "ABCD", 1, 1) + randomText(r, kDigits + "-$:/.+", 1, 20) + randomText(r, "ABCD", 1, 1);
        },
        { QStringLiteral("-b"), QStringLiteral("18") } },
    { "Interleaved2of5", [] { return std::make_unique<BRCInterleavedTwoOfFiveBarcode>(); },
        [](std::mt19937& r) { return randomText(r, kDigits, 1, 30); }, { QStringLiteral("-b"), QStringLiteral("3") } },
    { "Industrial2of5", [] { return std::make_unique<BRCIndustrialTwoOfFiveBarcode>(); },
        [](std::mt19937& r) { return randomText(r, kDigits, 1, 30); }, { QStringLiteral("-b"), QStringLiteral("7") } },
    // With its mod 10 check digit.
    { "ModifiedPlessey", [] { return std::make_unique<BRCModifiedPlesseyBarcode>(); },
        [](std::mt19937& r) { return randomText(r, kDigits, 1, 30); },
        { QStringLiteral("-b"), QStringLiteral("47"), QStringLiteral("--vers=1") } },
};

QString withoutTrailingSpace(QString modules)
{
    while (modules.endsWith(QLatin1Char('0')))
        modules.chop(1);
    return modules;
}

class LinearModules : public testing::TestWithParam<int> { };

} // namespace

TEST_P(LinearModules, MatchAnIndependentEncoder)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zint"))) << "zint is missing";
    const Encoder& encoder = kEncoders[GetParam()];
    std::mt19937 random(4700u + static_cast<unsigned>(GetParam()));
    QList<QByteArray> values;
    QStringList modules;
    for (int i = 0; i < kValues; ++i) {
        auto barcode = encoder.make();
        ASSERT_TRUE(barcode->initWithContent(QString::fromLatin1(encoder.value(random)), true));
        ASSERT_TRUE(barcode->isContentValid()) << barcode->content().toStdString();
        values << barcode->content().toLatin1();
        modules << withoutTrailingSpace(barcode->completeBarcode());
    }
    QString error;
    const QList<QStringList> symbols = linearpeers::zintRows(encoder.zintArguments, values, 1, &error);
    ASSERT_EQ(symbols.size(), values.size()) << error.toStdString();
    int misses = 0;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (modules.at(i) != withoutTrailingSpace(symbols.at(i).at(0)) && ++misses <= 5)
            ADD_FAILURE() << encoder.name << " " << printable(values.at(i)).toStdString() << "\n ours "
                          << modules.at(i).toStdString() << "\n zint " << symbols.at(i).at(0).toStdString();
    }
    EXPECT_EQ(misses, 0);
}

INSTANTIATE_TEST_SUITE_P(Symbologies, LinearModules, testing::Range(0, static_cast<int>(std::size(kEncoders))),
    [](const testing::TestParamInfo<int>& info) { return std::string(kEncoders[info.param].name); });
