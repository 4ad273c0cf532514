// The postal symbols' bars, as our model sets them and as our renderer draws them, compared bar for
// bar with an independent encoder: full and half bars (POSTNET, PLANET) and the four bar states (Royal
// Mail, Japan Post). No installed decoder reads these symbols.
#include "LinearPeers.h"

#include "barcode/BRCBarcodeOffscreenView.h"
#include "barcode/BRCPlanetBarcode.h"
#include "barcode/BRCPostnetBarcode.h"
#include "barcode/BRCRoyalMailBarcode.h"
#include "barcode/BarcodeTestSupport.h"
#include "barcode/JapanPostBarcode.h"
#include "support/TestSupport.h"

#include <QPainter>

#include <functional>
#include <memory>
#include <random>

#include <gtest/gtest.h>

namespace {

constexpr int kValues = 1000;
constexpr double kDpi = 600.0;
constexpr double kRoom = 60.0; // points above the picture, where bars may reach when the texts take room

// A bar's state: "F" full, "A" ascender (upper part only), "D" descender (lower part only), "T" tracker;
// POSTNET and PLANET bars are full or, standing on the bottom line, descenders.
QString state(bool upper, bool lower)
{
    return QString(QLatin1Char(upper ? (lower ? 'F' : 'A') : (lower ? 'D' : 'T')));
}

// From the bottom and top of each bar above a common line, judged against the tallest bar: an upper
// part reaches the top quarter, a lower part the bottom quarter.
QString statesOf(const std::vector<std::pair<double, double>>& bars)
{
    double low = 1e9;
    double high = -1e9;
    for (const auto& [bottom, top] : bars) {
        low = std::min(low, bottom);
        high = std::max(high, top);
    }
    const double full = high - low;
    QString states;
    for (const auto& [bottom, top] : bars)
        states += state(top > low + 0.75 * full, bottom < low + 0.25 * full);
    return states;
}

// The bars as the model sets them: one per run of bar modules.
QString modelStates(const BRCBarcode& barcode)
{
    const QString modules = barcode.completeBarcode();
    std::vector<std::pair<double, double>> bars;
    for (int i = 0; i < modules.size(); ++i) {
        if (modules.at(i) == QLatin1Char('1') && (i + 1 == modules.size() || modules.at(i + 1) != QLatin1Char('1')))
            bars.emplace_back(barcode.barBottom(i), barcode.barTop(i));
    }
    return statesOf(bars);
}

// The bars as drawn: the picture read column by column, each run of dark columns one bar with the
// extent of its dark pixels. The texts are drawn in white, so only bars are dark.
QString drawnStates(const BRCBarcode& barcode)
{
    BRCBarcodeOffscreenView view;
    view.initWithBarcode(barcode);
    const double scale = kDpi / 72.0;
    QImage image(
        qCeil(view.frame().width() * scale), qCeil((view.frame().height() + kRoom) * scale), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        painter.translate(0.0, kRoom);
        view.drawRect(painter);
    }
    std::vector<std::pair<double, double>> bars;
    bool inBar = false;
    for (int x = 0; x < image.width(); ++x) {
        int first = -1;
        int last = -1;
        for (int y = 0; y < image.height(); ++y) {
            if (barcodetest::isDark(image.pixel(x, y))) {
                if (first < 0)
                    first = y;
                last = y;
            }
        }
        if (first < 0) {
            inBar = false;
            continue;
        }
        const std::pair<double, double> extent(image.height() - last - 1, image.height() - first);
        if (!inBar)
            bars.push_back(extent);
        else
            bars.back() = { std::min(bars.back().first, extent.first), std::max(bars.back().second, extent.second) };
        inBar = true;
    }
    return statesOf(bars);
}

// The independent encoder's bars: two rows (upper parts; all bars) or three (upper parts; the tracker
// band that every bar crosses; lower parts), one bar every two columns.
QString zintStates(const QStringList& rows)
{
    QString states;
    const QString& every = rows.at(1);
    for (int x = 0; x < every.size(); ++x) {
        if (every.at(x) != QLatin1Char('1'))
            continue;
        const bool upper = rows.at(0).at(x) == QLatin1Char('1');
        const bool lower = rows.size() == 2 || rows.at(2).at(x) == QLatin1Char('1');
        states += state(upper, lower);
    }
    return states;
}

QByteArray randomText(std::mt19937& random, const char* alphabet, int minLength, int maxLength)
{
    const QByteArray characters(alphabet);
    const int length = std::uniform_int_distribution<int>(minLength, maxLength)(random);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(characters.size()) - 1);
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text += characters.at(pick(random));
    return text;
}

constexpr const char* kDigits = "0123456789";
constexpr const char* kTableCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

QByteArray postalCode(std::mt19937& random)
{
    const int lengths[] = { 5, 9, 11 };
    const int length = lengths[std::uniform_int_distribution<int>(0, 2)(random)];
    return randomText(random, kDigits, length, length);
}

// A postal code and an address part that fits the 20 code characters (a letter takes two).
QByteArray japaneseAddress(std::mt19937& random)
{
    QByteArray value = randomText(random, kDigits, 7, 7);
    int codes = 7;
    const int extra = std::uniform_int_distribution<int>(0, 10)(random);
    for (int i = 0; i < extra; ++i) {
        const QByteArray c = randomText(random, "0123456789-ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, 1);
        const int cost = c.at(0) >= 'A' ? 2 : 1;
        if (codes + cost > 20)
            break;
        codes += cost;
        value += c;
    }
    return value;
}

struct Postal {
    const char* name;
    std::function<std::unique_ptr<BRCBarcode>()> make;
    std::function<QByteArray(std::mt19937&)> value;
    QStringList zintArguments;
    int rows;
};

const Postal kPostals[] = {
    { "POSTNET", [] { return std::make_unique<BRCPostnetBarcode>(); }, postalCode,
        { QStringLiteral("-b"), QStringLiteral("40") }, 2 },
    // The independent encoder takes PLANET with 11 digits only.
    { "PLANET", [] { return std::make_unique<BRCPlanetBarcode>(); },
        [](std::mt19937& r) { return randomText(r, kDigits, 11, 11); }, { QStringLiteral("-b"), QStringLiteral("82") },
        2 },
    { "RoyalMail", [] { return std::make_unique<BRCRoyalMailBarcode>(); },
        [](std::mt19937& r) { return randomText(r, kTableCharacters, 1, 12); },
        { QStringLiteral("-b"), QStringLiteral("70") }, 3 },
    { "JapanPost", [] { return std::make_unique<JapanPostBarcode>(); }, japaneseAddress,
        { QStringLiteral("-b"), QStringLiteral("76") }, 3 },
};

class PostalReference : public testing::TestWithParam<int> { };

} // namespace

TEST_P(PostalReference, BarsMatchAnIndependentEncoder)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zint"))) << "zint is missing";
    const Postal& postal = kPostals[GetParam()];
    Barcode_Gen& settings = barcodetest::freshSettings(2.0f);
    settings.bar_val_clr = Qt::white;
    std::mt19937 random(8200u + static_cast<unsigned>(GetParam()));

    QList<QByteArray> values;
    QStringList model;
    QStringList drawn;
    for (int i = 0; i < kValues; ++i) {
        const QByteArray value = postal.value(random);
        auto barcode = postal.make();
        ASSERT_TRUE(barcode->initWithContent(QString::fromLatin1(value), true));
        ASSERT_TRUE(barcode->isContentValid()) << value.toStdString();
        barcode->setHeader(QString());
        barcode->setFooter(QString());
        barcode->setCaptionFontSize(static_cast<float>(settings.value_font.pointSizeF()));
        barcode->setHeaderFontSize(static_cast<float>(settings.header_font.pointSizeF()));
        barcode->setFooterFontSize(static_cast<float>(settings.footer_font.pointSizeF()));
        values << value;
        model << modelStates(*barcode);
        // Drawing and reading pixels is the slow part: every tenth value is enough for the renderer.
        drawn << (i % 10 == 0 ? drawnStates(*barcode) : QString());
    }

    QString error;
    const QList<QStringList> symbols = linearpeers::zintRows(postal.zintArguments, values, postal.rows, &error);
    ASSERT_EQ(symbols.size(), values.size()) << error.toStdString();
    int misses = 0;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString expected = zintStates(symbols.at(i));
        const bool drawnMatches = drawn.at(i).isEmpty() || drawn.at(i) == expected;
        if ((model.at(i) != expected || !drawnMatches) && ++misses <= 5)
            ADD_FAILURE() << postal.name << " " << values.at(i).toStdString() << "\n zint  " << expected.toStdString()
                          << "\n model " << model.at(i).toStdString() << "\n drawn " << drawn.at(i).toStdString();
    }
    EXPECT_EQ(misses, 0);
}

INSTANTIATE_TEST_SUITE_P(Symbologies, PostalReference, testing::Range(0, static_cast<int>(std::size(kPostals))),
    [](const testing::TestParamInfo<int>& info) { return std::string(kPostals[info.param].name); });
