#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCRoyalMailBarcode.h"
#include "barcode/BarcodeTestSupport.h"

#include <gtest/gtest.h>

using namespace barcodetest;

namespace {

constexpr float kMillimetre = 72.0f / 25.4f;

std::unique_ptr<BRCRoyalMailBarcode> make(const QString& value)
{
    auto barcode = std::make_unique<BRCRoyalMailBarcode>();
    EXPECT_TRUE(barcode->initWithContent(value, true));
    return barcode;
}

// The bars' states in order: 'F' full, 'A' ascender, 'D' descender, 'T' tracker.
QString states(const BRCRoyalMailBarcode& barcode)
{
    QString text;
    const QString modules = barcode.completeBarcode();
    for (int i = 0; i < modules.size(); ++i) {
        if (modules.at(i) == QLatin1Char('1'))
            text += QLatin1Char("TDAF"[barcode._barDescriptor(i)]);
    }
    return text;
}

} // namespace

TEST(RoyalMail, CheckCharacterAndFrameBars)
{
    const auto royal = make(QStringLiteral("SN34RD1A"));
    EXPECT_TRUE(royal->isContentValid());
    EXPECT_EQ(royal->checkDigit(), 'K');
    EXPECT_EQ(royal->caption(), QStringLiteral("SN34RD1A"));
    // Start bar, four bars for each character and the check character, stop bar; two modules apart.
    EXPECT_EQ(royal->completeBarcode().size(), 2 + 9 * 8 + 1);
    EXPECT_FLOAT_EQ(royal->barWidth(), 0.5f * kMillimetre);
    EXPECT_NEAR(royal->height(), 14.3149605f, 1e-4);
    const QString bars = states(*royal);
    ASSERT_EQ(bars.size(), 38);
    EXPECT_EQ(bars.front(), QLatin1Char('A'));
    EXPECT_EQ(bars.back(), QLatin1Char('F'));
    // S is row 5, column 5 of the table (from 1): upper and lower parts on bars 1 and 3. The check
    // character K is row 4, column 3: upper parts on bars 1 and 4, lower parts on bars 2 and 3.
    EXPECT_EQ(bars.mid(1, 4), QStringLiteral("FTFT"));
    EXPECT_EQ(bars.mid(33, 4), QStringLiteral("ADDA"));

    EXPECT_EQ(royalmail_characterDescriptor('0'), 0x0033);
    EXPECT_EQ(royalmail_characterDescriptor('1'), 0x0123);
    EXPECT_EQ(royalmail_characterDescriptor('Z'), 0x3300);
    EXPECT_EQ(royalmail_characterDescriptor('a'), 0);
}

TEST(RoyalMail, LowerCaseIsUpperCasedAndOtherCharactersGiveNoSymbol)
{
    // Lower-case letters are the capitals the symbol carries: same bars, same check character.
    const auto lower = make(QStringLiteral("sn34rd1a"));
    EXPECT_TRUE(lower->isContentValid());
    EXPECT_EQ(lower->content(), QStringLiteral("SN34RD1A"));
    EXPECT_EQ(lower->checkDigit(), 'K');
    EXPECT_EQ(lower->completeBarcode(), make(QStringLiteral("SN34RD1A"))->completeBarcode());
    EXPECT_EQ(states(*lower), states(*make(QStringLiteral("SN34RD1A"))));
    // Spaces, hyphens and punctuation would be drawn as trackers, which read back as other data; an
    // empty value as no data at all.
    for (const char* value : { "SN34 RD1A", "SN34-RD1A", "SN34RD,1A", "" })
        EXPECT_FALSE(make(QLatin1String(value))->isContentValid()) << value;
    EXPECT_FALSE(make(QStringLiteral("SN3é"))->isContentValid());
}

TEST(RoyalMail, BarsStandAboutTheCentreLine)
{
    const auto royal = make(QStringLiteral("0")); // start, 0 = TTFF, check 0 = TTFF, stop
    ASSERT_EQ(states(*royal), QStringLiteral("ATTFFTTFFF"));
    const float full = 5.05f * kMillimetre;
    const float half = 3.15f * kMillimetre;
    // Tracker, ascender, full bar: tops and bottoms above the common bottom line.
    EXPECT_FLOAT_EQ(royal->barTop(2), half);
    EXPECT_FLOAT_EQ(royal->barBottom(2), full - half);
    EXPECT_FLOAT_EQ(royal->barTop(0), full);
    EXPECT_FLOAT_EQ(royal->barBottom(0), full - half);
    EXPECT_FLOAT_EQ(royal->barTop(6), full);
    EXPECT_FLOAT_EQ(royal->barBottom(6), 0.0f);
    EXPECT_FLOAT_EQ(royalmail_barTop(1), 3.15f);
    EXPECT_FLOAT_EQ(royalmail_barBottom(1), 0.0f);

    // Drawn: the tracker hangs in the middle of the full bar, the ascender reaches its top.
    Barcode_Gen& settings = freshSettings(2.0f);
    settings.bar_val_clr = Qt::white;
    Layout layout;
    layout.header = layout.footer = QString();
    prepare(*royal, layout);
    const BarcodePicture picture = imageFromBarcode(*royal, 720.0);
    ASSERT_FALSE(picture.isNull());
    const double left = (picture.size.width() - royal->completeBarcode().size() * royal->barWidth()) / 2.0;
    auto bar = [&](int module) {
        const double x = left + (module + 0.5) * royal->barWidth();
        return inkIn(picture, 0.0, picture.size.height(), x - 0.2, x + 0.2);
    };
    const Ink fullBar = bar(6);
    const Ink tracker = bar(2);
    const Ink ascender = bar(0);
    ASSERT_FALSE(fullBar.empty || tracker.empty || ascender.empty);
    EXPECT_NEAR(fullBar.high - fullBar.low, full, 0.2);
    EXPECT_NEAR(tracker.low - fullBar.low, full - half, 0.2);
    EXPECT_NEAR(tracker.high - fullBar.low, half, 0.2);
    EXPECT_NEAR(ascender.low, tracker.low, 0.2);
    EXPECT_NEAR(ascender.high, fullBar.high, 0.2);
}

TEST(RoyalMail, CaptionHeaderAndFooterAreAlwaysLaidOut)
{
    const auto royal = make(QStringLiteral("AB1"));
    royal->setPrintsCaption(false);
    royal->setPrintsHeader(false);
    royal->setPrintsFooter(false);
    EXPECT_TRUE(royal->printsCaption());
    EXPECT_TRUE(royal->printsHeader());
    EXPECT_TRUE(royal->printsFooter());
}

// With "hide" ticked the header and footer are still drawn, so the frame is sized for them.
TEST(RoyalMail, FrameHoldsTheHeaderAndFooterTheSymbolAlwaysDraws)
{
    for (const auto& [title, value] : { std::pair { "Royal Mail Barcode (RM4SCC / CBC)", "AB1" },
             std::pair { "Japan Post Barcode", "1234567" } }) {
        Barcode_Gen& gen = freshSettings();
        gen.barcodeTypePopup.selectText(QLatin1String(title));
        gen.hideHeaderCheckbox.state = 1;
        gen.hideFooterCheckbox.state = 1;
        const QString header(40, QLatin1Char('W'));
        const auto barcode = gen.Generate_Barcode_Variable(0, QLatin1String(value), header, QStringLiteral("F"));
        ASSERT_NE(barcode, nullptr) << title;
        EXPECT_GE(barcode->width(), barcode->headerWidth()) << title;
        EXPECT_GE(barcode->height(), (barcode->headerHeight() + barcode->footerHeight()) * 72.0f) << title;
    }
}
