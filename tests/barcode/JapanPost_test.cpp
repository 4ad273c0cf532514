#include "barcode/JapanPostBarcode.h"

#include <gtest/gtest.h>

namespace {

constexpr float kMillimetre = 1.0f / 0.3527777777777777f;

std::unique_ptr<JapanPostBarcode> make(const QString& value)
{
    auto barcode = std::make_unique<JapanPostBarcode>();
    EXPECT_TRUE(barcode->initWithContent(value, true));
    return barcode;
}

// The bars' states in order: 'F' long, 'A' upper, 'D' lower, 'T' timing.
QString states(const JapanPostBarcode& barcode)
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

TEST(JapanPost, PostalCodeIsPaddedToTwentyCodesWithItsCheckCharacter)
{
    const auto japan = make(QStringLiteral("1234567"));
    EXPECT_TRUE(japan->isContentValid());
    EXPECT_EQ(japan->japanpostContents(), QStringLiteral("1234567") + QString(13, QLatin1Char('=')));
    EXPECT_EQ(japan->content(), QStringLiteral("1234567"));
    // 28 + 13 x 14 = 210 = 1 mod 19: check value 18, control code 8.
    EXPECT_EQ(japan->checkDigit(), '/');
    EXPECT_EQ(japan->completeBarcode().size(), 133);
    const QString bars = states(*japan);
    ASSERT_EQ(bars.size(), 67);
    // Start long and lower; 1 = long, long, timing; ...; check = three long; stop lower and long.
    EXPECT_EQ(bars.left(5), QStringLiteral("FDFFT"));
    EXPECT_EQ(bars.right(5), QStringLiteral("FFFDF"));
}

TEST(JapanPost, LettersBecomeAControlCodeAndADigit)
{
    const auto japan = make(QStringLiteral("1234567b-z"));
    EXPECT_EQ(japan->content(), QStringLiteral("1234567B-Z"));
    EXPECT_EQ(japan->japanpostContents(), QStringLiteral("1234567:1-<5") + QString(8, QLatin1Char('=')));
    EXPECT_TRUE(japan->isContentValid());

    // Past twenty codes the rest is cut, and the caption loses the characters whose digits were cut;
    // such a symbol would read back as another value, so it is refused.
    const auto cut = make(QStringLiteral("1234567ABCDEFGHIJ"));
    EXPECT_EQ(cut->japanpostContents(), QStringLiteral("1234567:0:1:2:3:4:5:"));
    EXPECT_EQ(cut->content(), QStringLiteral("1234567ABCDEF"));
    EXPECT_FALSE(cut->isContentValid());

    // Characters without a code are dropped from the codes, and the value is refused.
    const auto dropped = make(QStringLiteral("123 4567 é#"));
    EXPECT_EQ(dropped->content(), QStringLiteral("1234567"));
    EXPECT_FALSE(dropped->isContentValid());
    // Twenty codes exactly are kept whole.
    EXPECT_TRUE(make(QStringLiteral("1234567ABCDEF1"))->isContentValid());
}

TEST(JapanPost, SevenLeadingDigitsMakeASymbol)
{
    EXPECT_TRUE(make(QStringLiteral("2630023"))->isContentValid());
    EXPECT_TRUE(make(QStringLiteral("26300231-2-3"))->isContentValid());
    for (const char* value : { "", "123456", "263-0023", "A234567" })
        EXPECT_FALSE(make(QLatin1String(value))->isContentValid()) << value;
}

TEST(JapanPost, SizeAndBarWidthFollowEachOther)
{
    const auto japan = make(QStringLiteral("1234567"));
    EXPECT_FLOAT_EQ(japan->size(), 10.0f);
    EXPECT_FLOAT_EQ(japan->barWidth(), 10.0f / 6.0f);
    EXPECT_FLOAT_EQ(japan->width(), 133 * 10.0f / 6.0f);

    japan->setHeight(5.0f);
    EXPECT_FLOAT_EQ(japan->size(), 8.5f);
    EXPECT_NEAR(japan->barWidth(), 1.4167f, 1e-4);
    japan->setBarWidth(3.0f);
    EXPECT_FLOAT_EQ(japan->barWidth(), 1.9166666f);
    EXPECT_FLOAT_EQ(japan->size(), 11.5f);
    EXPECT_FLOAT_EQ(japan->width(), 133 * 1.9166666f);
    japan->setBarWidth(0.5f);
    EXPECT_FLOAT_EQ(japan->size(), 8.0f);

    auto given = std::make_unique<JapanPostBarcode>();
    ASSERT_TRUE(given->initWithContent(QStringLiteral("1234567"), true, 1.0f, 9.0f, 6.0f, -1));
    EXPECT_FLOAT_EQ(given->size(), 9.0f);
    EXPECT_FALSE(JapanPostBarcode().initWithContent(QString(), true));
}

TEST(JapanPost, PictureHeightIsTheAskedOneAndHoldsTheLongBars)
{
    const auto japan = make(QStringLiteral("1234567"));
    // A tall picture keeps the height asked for, while the bars keep the largest symbol size.
    japan->setHeight(60.0f);
    EXPECT_FLOAT_EQ(japan->height(), 60.0f);
    EXPECT_FLOAT_EQ(japan->size(), 11.5f);
    // A low one grows until the long bar and the text bands fit.
    japan->setCaptionHeight(0.2f);
    japan->setHeight(9.0f);
    const float longBar = japan->barTop(0);
    EXPECT_GE(japan->height(), longBar + 0.2f * 72.0f);
}

TEST(JapanPost, BarsStandAboutTheCentreLine)
{
    const auto japan = make(QStringLiteral("1234567"));
    japan->setHeight(10.0f);
    // Start: long bar then lower bar; the first code 1 ends with a timing bar.
    EXPECT_FLOAT_EQ(japan->barTop(0), 3.6f * kMillimetre);
    EXPECT_FLOAT_EQ(japan->barBottom(0), 0.0f);
    EXPECT_FLOAT_EQ(japan->barTop(2), 2.4f * kMillimetre);
    EXPECT_FLOAT_EQ(japan->barBottom(2), 0.0f);
    EXPECT_FLOAT_EQ(japan->barTop(8), 2.4f * kMillimetre);
    EXPECT_FLOAT_EQ(japan->barBottom(8), 1.2f * kMillimetre);
    // Code 4 (long, upper, lower): the upper bar reaches the top from the timing band.
    EXPECT_FLOAT_EQ(japan->barTop(24), 3.6f * kMillimetre);
    EXPECT_FLOAT_EQ(japan->barBottom(24), 1.2f * kMillimetre);
    // The sizes scale with the symbol size.
    japan->setHeight(11.5f);
    EXPECT_FLOAT_EQ(japan->barTop(0), 3.6f * 1.15f * kMillimetre);
    EXPECT_FLOAT_EQ(japan->barBottom(8), 1.2f * 1.15f * kMillimetre);
}
