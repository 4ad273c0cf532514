#include "barcode/BRCCode39Barcode.h"
#include "barcode/BRCExtendedCode39Barcode.h"

#include <gtest/gtest.h>

namespace {

template <typename T> std::unique_ptr<T> make(const QString& value)
{
    auto barcode = std::make_unique<T>();
    EXPECT_TRUE(barcode->initWithContent(value, true));
    barcode->setBarWidth(1.0f);
    barcode->calculateWidth();
    return barcode;
}

// The modules of a run of basic Code 39 characters between the asterisks.
QString framed(const char* characters)
{
    BRCCode39Barcode code39;
    QString modules = code39._encodeChar('*');
    for (const char* c = characters; *c; ++c)
        modules += code39._encodeChar(*c);
    return modules + code39._encodeChar('*');
}

} // namespace

TEST(Code39, LowerCaseIsUpperCasedAndFramedByAsterisks)
{
    const auto code39 = make<BRCCode39Barcode>(QStringLiteral("abc"));
    EXPECT_TRUE(code39->isContentValid());
    EXPECT_EQ(code39->content(), QStringLiteral("ABC"));
    EXPECT_EQ(code39->caption(), QStringLiteral("ABC"));
    EXPECT_EQ(code39->checkDigit(), -1);
    EXPECT_EQ(code39->completeBarcode(), framed("ABC"));
    EXPECT_FLOAT_EQ(code39->width(), 5 * 13.0f);

    // Wide elements two modules, narrow one, and a gap module after each character.
    EXPECT_EQ(code39->_encodeChar('0'), QStringLiteral("1010011011010"));
    EXPECT_EQ(code39->_encodeChar('*'), QStringLiteral("1001011011010"));
    EXPECT_EQ(code39->initiator(), QStringLiteral("1001011011010"));
    EXPECT_EQ(code39->terminator(), QStringLiteral("1001011011010"));
}

TEST(Code39, AsteriskAndCharactersOutsideTheSetGiveNoSymbol)
{
    EXPECT_TRUE(make<BRCCode39Barcode>(QStringLiteral("A-B. $/+%09"))->isContentValid());
    EXPECT_FALSE(make<BRCCode39Barcode>(QStringLiteral(""))->isContentValid());
    EXPECT_FALSE(make<BRCExtendedCode39Barcode>(QStringLiteral(""))->isContentValid());
    // An asterisk in the data would read as the end of the symbol.
    for (const char* value : { "A*B", "*", "A#B", "A_B", "A\tB" })
        EXPECT_FALSE(make<BRCCode39Barcode>(QLatin1String(value))->isContentValid()) << value;
    EXPECT_FALSE(make<BRCCode39Barcode>(QStringLiteral("AÄB"))->isContentValid());
}

TEST(ExtendedCode39, KeepsLowerCaseAndWritesItAsPairs)
{
    const auto extended = make<BRCExtendedCode39Barcode>(QStringLiteral("a-b"));
    EXPECT_TRUE(extended->isContentValid());
    EXPECT_EQ(extended->content(), QStringLiteral("a-b"));
    EXPECT_EQ(extended->caption(), QStringLiteral("a-b"));
    EXPECT_EQ(extended->completeBarcode(), framed("+A-+B"));
    EXPECT_FLOAT_EQ(extended->width(), 7 * 13.0f);
}

TEST(ExtendedCode39, ShiftCharactersAndPunctuationTakeTheirFullAsciiPairs)
{
    // The frame stays the bare asterisk; an asterisk in the data gets its pair, so it is valid here.
    const auto star = make<BRCExtendedCode39Barcode>(QStringLiteral("*"));
    EXPECT_TRUE(star->isContentValid());
    EXPECT_EQ(star->completeBarcode(), framed("/J"));

    const struct {
        const char* value;
        const char* pairs;
    } cases[] = { { "$", "/D" }, { "/", "/O" }, { "+", "/K" }, { "%", "/E" }, { "!", "/A" }, { ":", "/Z" },
        { ";", "%F" }, { "?", "%J" }, { "@", "%V" }, { "[", "%K" }, { "_", "%O" }, { "`", "%W" }, { "{", "%P" },
        { "~", "%S" }, { "\t", "$I" }, { "z", "+Z" }, { "Z9 .-", "Z9 .-" } };
    for (const auto& c : cases) {
        const auto extended = make<BRCExtendedCode39Barcode>(QLatin1String(c.value));
        EXPECT_TRUE(extended->isContentValid()) << c.value;
        EXPECT_EQ(extended->completeBarcode(), framed(c.pairs)) << c.value;
    }
}

TEST(ExtendedCode39, OtherControlCharactersGiveNoSymbol)
{
    EXPECT_TRUE(make<BRCExtendedCode39Barcode>(QStringLiteral("Hello, World! (1+1=2)"))->isContentValid());
    for (const char* value : { "a\nb", "\x01", "\r", "\x7f" })
        EXPECT_FALSE(make<BRCExtendedCode39Barcode>(QLatin1String(value))->isContentValid());
    EXPECT_FALSE(make<BRCExtendedCode39Barcode>(QStringLiteral("é"))->isContentValid());
}
