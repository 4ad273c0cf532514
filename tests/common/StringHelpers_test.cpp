#include "common/Common_Functions.h"
#include "common/File_Functions.h"

#include <gtest/gtest.h>

#include <random>

TEST(TrimStr, TrimsWhiteSpaceLineBreaksAndControlCharacters)
{
    EXPECT_EQ(Trim_Str(QStringLiteral("  abc \n")), QStringLiteral("abc"));
    EXPECT_EQ(Trim_Str(QStringLiteral("     ")), QStringLiteral(""));
    // A control character in front of a space takes the space with it.
    EXPECT_EQ(Trim_Str(QStringLiteral("\x01 abc \x7f\u200b ")), QStringLiteral("abc"));
    EXPECT_EQ(Trim_Str(QString::fromUtf8("\u00a0\u2028abc\u2029\u3000")), QStringLiteral("abc"));
    EXPECT_EQ(Trim_Str(QString::fromUtf8("\u200babc")), QStringLiteral("abc")); // a format character is trimmed
}

TEST(TrimStr, ASecondTrimChangesNothingPropertyOverRandomStrings)
{
    // Blanks, line breaks, control and format characters, letters, a pair and lone surrogates, mixed.
    const char16_t alphabet[] = { u' ', u'\t', u'\n', u'\r', 0x01, 0x7f, 0x85, 0xa0, 0x200b, 0x2028, 0x3000, 0xfeff,
        u'a', u'b', 0xd83c, 0xdf89, 0xdc00 };
    std::mt19937 random(28);
    std::uniform_int_distribution<int> letter(0, int(std::size(alphabet)) - 1);
    std::uniform_int_distribution<int> length(0, 10);
    for (int i = 0; i < 50000; ++i) {
        QString s;
        for (int n = length(random); n > 0; --n)
            s.append(QChar(alphabet[letter(random)]));
        const QString once = Trim_Str(s);
        ASSERT_EQ(Trim_Str(once), once) << "from " << i;
        ASSERT_TRUE(s.contains(once));
    }
}

TEST(RemoveReserveChar, TrimsReservedCharactersAtTheEndsOnly)
{
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("*a/b?")), QStringLiteral("a/b"));
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("<\"|%  Party  \\/>")), QStringLiteral("Party"));
}

TEST(SafeFileName, RefusesNamesThatReachOutsideTheirFolder)
{
    EXPECT_TRUE(isSafeFileName(QStringLiteral("Birthday 2026")));
    EXPECT_TRUE(isSafeFileName(QStringLiteral("..hidden")));
    EXPECT_FALSE(isSafeFileName(QStringLiteral("a/b")));
    EXPECT_FALSE(isSafeFileName(QStringLiteral("a\\b")));
    EXPECT_FALSE(isSafeFileName(QStringLiteral(".")));
    EXPECT_FALSE(isSafeFileName(QStringLiteral("..")));
    EXPECT_FALSE(isSafeFileName(QString()));
    // The cleaning function keeps an inner slash, so the check after it is what stops "../x".
    EXPECT_FALSE(isSafeFileName(Remove_Reserve_Char_In_File_Name(QStringLiteral("*../../etc/x?"))));
}

TEST(Substrings, FollowTheIndexRules)
{
    EXPECT_EQ(Left_Str_substringToIndex(QStringLiteral("abc"), 5), QStringLiteral("abc"));
    EXPECT_EQ(Left_Str_substringToIndex(QStringLiteral("abc"), -2), QStringLiteral(""));
    EXPECT_EQ(Left_Str_substringToIndex(QStringLiteral("abc"), 2), QStringLiteral("ab"));
    EXPECT_EQ(Right_Str_substringFromIndex(QStringLiteral("abcdef"), 2), QStringLiteral("ef"));
    EXPECT_EQ(Right_Str_substringFromIndex(QStringLiteral("abc"), 9), QStringLiteral("abc"));
    EXPECT_EQ(Right_Str_substringFromIndex(QStringLiteral("abc"), -1), QStringLiteral(""));
    for (int i : { 3, 4, -1 })
        EXPECT_EQ(Read_Str_FromIndex(QStringLiteral("abc"), i), QStringLiteral("")) << i;
    EXPECT_EQ(Read_Str_FromIndex(QStringLiteral("abc"), 1), QStringLiteral("bc"));
    EXPECT_EQ(Read_Str_Upto_Index(QStringLiteral("abc"), 3), QStringLiteral("abc"));
    EXPECT_EQ(Read_Str_Upto_Index(QStringLiteral("abc"), 4), QStringLiteral(""));
    EXPECT_EQ(Read_Str_Upto_Index(QStringLiteral("abc"), -1), QStringLiteral(""));
}

TEST(Substrings, NeverSplitASurrogatePair)
{
    const QString text = QString::fromUtf8("ab\U0001F600cd"); // a, b, high, low, c, d
    ASSERT_EQ(text.size(), 6);
    EXPECT_EQ(Left_Str_substringToIndex(text, 3), QStringLiteral("ab"));
    EXPECT_EQ(Read_Str_Upto_Index(text, 3), QStringLiteral("ab"));
    EXPECT_EQ(Right_Str_substringFromIndex(text, 3), QStringLiteral("cd"));
    EXPECT_EQ(Read_Str_FromIndex(text, 3), QStringLiteral("cd"));
    EXPECT_EQ(Left_Str_substringToIndex(text, 4), QString::fromUtf8("ab\U0001F600"));
    EXPECT_EQ(truncatedAtCharacterBoundary(text, 3).size(), 2);
    for (int n = 0; n <= text.size(); ++n) {
        const QString cut = truncatedAtCharacterBoundary(text, n);
        EXPECT_FALSE(!cut.isEmpty() && cut.back().isHighSurrogate()) << n;
    }
}

TEST(ReplaceAndFind, AreLiteralAndCaseRulesHold)
{
    EXPECT_EQ(Replace_char_in_string(QStringLiteral("a.b.c"), QStringLiteral("."), QStringLiteral("::")),
              QStringLiteral("a::b::c"));
    EXPECT_EQ(Replace_char_in_string(QStringLiteral("aAa"), QStringLiteral("a"), QStringLiteral("x")), QStringLiteral("xAx"));
    EXPECT_EQ(Find_Str(QStringLiteral("Card"), QStringLiteral("")), 0);
    EXPECT_EQ(Find_Str(QStringLiteral("Card"), QStringLiteral("card")), 0);
    EXPECT_EQ(Find_Str(QStringLiteral("Card"), QStringLiteral("ar")), 1);
    EXPECT_EQ(Find_Str_Case_Insensitive(QStringLiteral("Card"), QStringLiteral("card")), 1);
    EXPECT_EQ(Find_Str_Case_Insensitive(QString(), QStringLiteral("card")), 0);
}
