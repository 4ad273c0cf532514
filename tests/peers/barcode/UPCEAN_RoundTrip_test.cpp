// Retail symbols drawn by our renderer, read back by real scanners' decoders, and compared module for
// module with an independent encoder.
#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCEAN13Barcode.h"
#include "barcode/BRCEAN8Barcode.h"
#include "barcode/BRCUPCABarcode.h"
#include "barcode/BRCUPCEBarcode.h"
#include "barcode/BarcodePngWriter.h"
#include "barcode/BarcodeTestSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>

#include <functional>
#include <memory>
#include <random>

#include <gtest/gtest.h>

namespace {

constexpr int kValuesPerSymbology = 1000;

struct Symbology {
    const char* name;
    std::function<std::unique_ptr<BRCBarcode>()> make;
    std::function<QString(std::mt19937&)> value; // a random valid value as a user would type it
    const char* zxingFormat;
    const char* zbarType;
    const char* zintType;
    int modules;
    int quietZone; // the wider of the two quiet zones the standard asks for, in modules
};

QString digits(std::mt19937& random, int count)
{
    std::uniform_int_distribution<int> digit(0, 9);
    QString text;
    for (int i = 0; i < count; ++i)
        text += QLatin1Char(static_cast<char>('0' + digit(random)));
    return text;
}

// Every fourth value comes with its check digit typed in, as an item may hold it.
QString withOrWithoutCheck(std::mt19937& random, BRCBarcode&& probe, const QString& value)
{
    if (std::uniform_int_distribution<int>(0, 3)(random) != 0)
        return value;
    probe.initWithContent(value, true);
    return value + QLatin1Char(static_cast<char>(probe.checkDigit()));
}

const Symbology kSymbologies[] = {
    { "EAN-13", [] { return std::make_unique<BRCEAN13Barcode>(); },
        [](std::mt19937& r) { return withOrWithoutCheck(r, BRCEAN13Barcode(), digits(r, 12)); }, "EAN-13", "EAN-13",
        "13", 95, 11 },
    { "EAN-8", [] { return std::make_unique<BRCEAN8Barcode>(); },
        [](std::mt19937& r) { return withOrWithoutCheck(r, BRCEAN8Barcode(), digits(r, 7)); }, "EAN-8", "EAN-8", "13",
        67, 7 },
    { "UPC-A", [] { return std::make_unique<BRCUPCABarcode>(); },
        [](std::mt19937& r) { return withOrWithoutCheck(r, BRCUPCABarcode(), digits(r, 11)); }, "UPC-A", "UPC-A", "34",
        95, 9 },
    { "UPC-E", [] { return std::make_unique<BRCUPCEBarcode>(); },
        [](std::mt19937& r) {
            const QString value = QLatin1Char(std::uniform_int_distribution<int>(0, 1)(r) ? '1' : '0') + digits(r, 6);
            // Some values come as the eleven digits of the UPC-A number they stand for.
            if (std::uniform_int_distribution<int>(0, 4)(r) == 0)
                return QString::fromLatin1(BRCUPCEBarcode::UPCEToUPCA(value.toLatin1()));
            return withOrWithoutCheck(r, BRCUPCEBarcode(), value);
        },
        "UPC-E", "UPC-E", "37", 51, 9 },
};

// The independent encoder takes UPC-E only in the one zero-suppressed form the standard allows for each
// number (last digit 3: third digit 3 or more; 4: fourth digit not 0; 5 to 9: fifth digit not 0).
// Decoders read the other forms too, so only this comparison leaves them out.
bool independentEncoderAccepts(const Symbology& symbology, const QString& content)
{
    if (QLatin1String(symbology.name) != QLatin1String("UPC-E"))
        return true;
    const QChar last = content.at(6);
    if (last == QLatin1Char('3'))
        return content.at(3) >= QLatin1Char('3');
    if (last == QLatin1Char('4'))
        return content.at(4) != QLatin1Char('0');
    if (last >= QLatin1Char('5'))
        return content.at(5) != QLatin1Char('0');
    return true;
}

struct Case {
    QString value; // as given to the symbol
    QString expected; // digits a decoder must report
    QString modules; // our module string
    QString path;
    int modulePixels = 0;
};

class RetailRoundTrip : public testing::TestWithParam<int> {
protected:
    const Symbology& symbology() const { return kSymbologies[GetParam()]; }

    // Draws every value into its own PNG file as the program frames and writes it, read as it is: modules
    // of 1, 2 and 3 pixels and of a random fraction between, at the linear pictures' 600 dpi.
    std::vector<Case> drawAll(const QString& folder)
    {
        barcodetest::freshSettings(2.0f);
        std::mt19937 random(20240601u + static_cast<unsigned>(GetParam()));
        std::vector<Case> cases;
        for (int i = 0; i < kValuesPerSymbology; ++i) {
            Case c;
            c.value = symbology().value(random);
            auto barcode = symbology().make();
            EXPECT_TRUE(barcode->initWithContent(c.value, true));
            EXPECT_TRUE(barcode->isContentValid()) << c.value.toStdString();
            barcodetest::Layout layout;
            layout.barWidth = barcodetest::sweepModulePoints(random, i);
            barcodetest::prepare(*barcode, layout);
            barcodetest::frameLikeTheGenerator(*barcode);
            c.expected = barcode->content() + QLatin1Char(static_cast<char>(barcode->checkDigit()));
            c.modules = barcode->completeBarcode();
            c.modulePixels = barcodetest::drawnModulePixels(layout.barWidth);
            const BarcodePicture picture = imageFromBarcode(*barcode);
            c.path = QStringLiteral("%1/%2.png").arg(folder).arg(i, 4, 10, QLatin1Char('0'));
            EXPECT_TRUE(BarcodePngWriter::write(picture.image, c.path));
            cases.push_back(c);
        }
        return cases;
    }

    static QStringList paths(const std::vector<Case>& cases)
    {
        QStringList list;
        for (const Case& c : cases)
            list << c.path;
        return list;
    }
};

} // namespace

TEST_P(RetailRoundTrip, ScannersReadEveryValueBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader"))) << "ZXingReader (zxing-cpp-tools) is missing";
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zbarimg"))) << "zbarimg (zbar-tools) is missing";
    const QString folder = testsupport::makeTempFolder(QStringLiteral("retail"));
    const std::vector<Case> cases = drawAll(folder);

    // zbar reads UPC-E of number system 0 only; ZXing reads both.
    std::vector<Case> zbarCases;
    for (const Case& c : cases) {
        if (QLatin1String(symbology().name) != QLatin1String("UPC-E") || c.expected.startsWith(QLatin1Char('0')))
            zbarCases.push_back(c);
    }
    ASSERT_GT(zbarCases.size(), cases.size() / 3);

    // Both decoders at once, each over all files in one run.
    QProcess zxing;
    // The reader's pass over downscaled copies stops on an internal assertion for some pictures of
    // 3-pixel modules: full scale only.
    zxing.start(QStringLiteral("ZXingReader"),
        QStringList { QStringLiteral("-1"), QStringLiteral("-noscale"), QStringLiteral("-format"),
            QLatin1String(symbology().zxingFormat) }
            + paths(cases));
    // Only the symbology under test, reported as itself rather than folded into EAN-13.
    const QString type = QString::fromLatin1(symbology().zbarType).toLower().remove(QLatin1Char('-'));
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"),
        QStringList { QStringLiteral("--nodbus"), QStringLiteral("--xml"), QStringLiteral("-Sdisable"),
            QStringLiteral("-Sean13.enable"), QStringLiteral("-S%1.enable").arg(type) }
            + paths(zbarCases));
    ASSERT_TRUE(zxing.waitForFinished(120000) && zbar.waitForFinished(120000));
    ASSERT_EQ(zxing.exitCode(), 0) << zxing.readAllStandardError().toStdString();
    ASSERT_TRUE(zbar.exitCode() == 0 || zbar.exitCode() == 4) << zbar.readAllStandardError().toStdString();

    // ZXingReader: one line per file, the path, the format and the text in quotes.
    QHash<QString, QString> byZxing;
    const QRegularExpression line(QStringLiteral("^(\\S+) (\\S+) \"([^\"]*)\"$"));
    for (const QString& text : QString::fromUtf8(zxing.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const auto match = line.match(text);
        if (match.hasMatch())
            byZxing.insert(match.captured(1), match.captured(3));
    }
    // zbarimg: one source element per file, with the symbol found in it.
    QHash<QString, QString> byZbar;
    const QRegularExpression source(QStringLiteral("<source href='([^']*)'>\\s*(?:<index[^>]*>\\s*<symbol "
                                                   "type='([^']*)'[^>]*><data><!\\[CDATA\\[([^\\]]*)\\]\\]>)?"));
    auto it = source.globalMatch(QString::fromUtf8(zbar.readAllStandardOutput()));
    while (it.hasNext()) {
        const auto match = it.next();
        if (match.captured(2) == QLatin1String(symbology().zbarType))
            byZbar.insert(match.captured(1), match.captured(3));
    }

    // zbar finds few symbols of one-pixel modules (nor those its peers draw): there it must not misread,
    // while a symbol it does not find is not counted.
    auto count = [this](const char* decoder, const std::vector<Case>& list, const QHash<QString, QString>& read,
                     bool findsOnePixel) {
        int misses = 0;
        for (const Case& c : list) {
            if (!findsOnePixel && c.modulePixels == 1 && !read.contains(c.path))
                continue;
            if (read.value(c.path) != c.expected && ++misses <= 5)
                ADD_FAILURE() << decoder << ": " << symbology().name << " " << c.value.toStdString() << " read as \""
                              << read.value(c.path).toStdString() << "\", expected " << c.expected.toStdString();
        }
        return misses;
    };
    EXPECT_EQ(count("ZXingReader", cases, byZxing, true), 0);
    EXPECT_EQ(count("zbarimg", zbarCases, byZbar, false), 0);
    QDir(folder).removeRecursively();
}

TEST_P(RetailRoundTrip, ModulesMatchAnIndependentEncoder)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zint"))) << "zint is missing";
    std::mt19937 random(77u + static_cast<unsigned>(GetParam()));
    QStringList values;
    QStringList modules;
    while (values.size() < kValuesPerSymbology) {
        auto barcode = symbology().make();
        ASSERT_TRUE(barcode->initWithContent(symbology().value(random), true));
        if (!independentEncoderAccepts(symbology(), barcode->content()))
            continue;
        barcode->setBarWidth(1.0f);
        values << barcode->content();
        modules << barcode->completeBarcode();
    }
    const QString folder = testsupport::makeTempFolder(QStringLiteral("zint"));
    const QString input = folder + QStringLiteral("/values.txt");
    QFile file(input);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((values.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1());
    file.close();

    QString out, err;
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("zint"),
                  { QStringLiteral("--batch"), QStringLiteral("--dump"), QStringLiteral("-b"),
                      QLatin1String(symbology().zintType), QStringLiteral("-i"), input },
                  &out, &err),
        0)
        << err.toStdString();
    const QStringList rows = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), values.size()) << err.toStdString();
    for (int i = 0; i < rows.size(); ++i) {
        QString bits;
        for (const QString& group : rows.at(i).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            bits += QStringLiteral("%1").arg(group.toUInt(nullptr, 16), group.size() * 4, 2, QLatin1Char('0'));
        ASSERT_EQ(modules.at(i), bits.left(symbology().modules)) << values.at(i).toStdString();
    }
    QDir(folder).removeRecursively();
}

INSTANTIATE_TEST_SUITE_P(Sweep, RetailRoundTrip, testing::Range(0, 4), [](const testing::TestParamInfo<int>& info) {
    return QString::fromLatin1(kSymbologies[info.param].name).remove(QLatin1Char('-')).toStdString();
});
