#include "profiles/Greeting_Text_Catalogue.h"

#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Expected_Category {
    const char* key;
    int titles;
    int messages;
    const char* firstTitle;
};

// The category table the wizard's buttons and the picker rely on: list lengths and the first title of each.
const Expected_Category Expected[] = {
    { "1", 9, 13, "Music of the Heart-Love!!!" },
    { "2", 9, 9, "I'm addicted to LOVE." },
    { "3", 9, 9, "Sending flowers to flower!!!" },
    { "4", 9, 22, "Good morning My Love." },
    { "5", 12, 19, "Good Night My Love!!!" },
    { "6", 9, 15, "I love you sweetie!!!" },
    { "7", 9, 17, "You Are My Sunshine!!!" },
    { "8", 10, 14, "I Love You My Soul!!!" },
    { "9", 8, 18, "I miss you girl." },
    { "10", 8, 12, "I'm Falling In Love  With You." },
    { "11", 9, 16, "I'm Sorry Sweetheart!!" },
    { "12", 12, 16, "You are the like of my love.  " },
};

QString keyOf(int n)
{
    return QString::number(n);
}

QStringList allTitles()
{
    QStringList all;
    for (int n = 1; n <= 12; ++n)
        all += Greeting_Text_Catalogue::titles(keyOf(n));
    return all;
}

QStringList allMessages()
{
    QStringList all;
    for (int n = 1; n <= 12; ++n)
        all += Greeting_Text_Catalogue::messages(keyOf(n));
    return all;
}

bool hasLineBreak(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == 0x0B || u == 0x0C || u == 0x85 || u == 0x2028 || u == 0x2029)
            return true;
    }
    return false;
}

bool hasNonAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return true;
    }
    return false;
}

} // namespace

TEST(GreetingTextCatalogue, EachCategoryHasItsListLengthsAndFirstTitle)
{
    for (const Expected_Category& expected : Expected) {
        const QString key = QString::fromLatin1(expected.key);
        const QStringList titles = Greeting_Text_Catalogue::titles(key);
        const QStringList messages = Greeting_Text_Catalogue::messages(key);
        EXPECT_EQ(titles.size(), expected.titles) << expected.key;
        EXPECT_EQ(messages.size(), expected.messages) << expected.key;
        ASSERT_FALSE(titles.isEmpty()) << expected.key;
        EXPECT_EQ(titles.first(), QString::fromUtf8(expected.firstTitle)) << expected.key;
    }
}

TEST(GreetingTextCatalogue, KeysMatchOnlyByExactText)
{
    for (const QString& key : { QStringLiteral("13"), QStringLiteral("0"), QStringLiteral("01"), QStringLiteral(""),
             QStringLiteral(" 1"), QStringLiteral("1 "), QStringLiteral("cute"), QString() }) {
        EXPECT_TRUE(Greeting_Text_Catalogue::titles(key).isEmpty()) << qPrintable(key);
        EXPECT_TRUE(Greeting_Text_Catalogue::messages(key).isEmpty()) << qPrintable(key);
    }
    // Keys that share a first digit still select their own category.
    EXPECT_NE(
        Greeting_Text_Catalogue::titles(QStringLiteral("1")), Greeting_Text_Catalogue::titles(QStringLiteral("11")));
    EXPECT_NE(
        Greeting_Text_Catalogue::titles(QStringLiteral("1")), Greeting_Text_Catalogue::titles(QStringLiteral("12")));
}

TEST(GreetingTextCatalogue, TotalsDistinctTextsAndSharedTexts)
{
    const QStringList titles = allTitles();
    const QStringList messages = allMessages();
    EXPECT_EQ(titles.size(), 113);
    EXPECT_EQ(messages.size(), 180);

    const QSet<QString> distinctTitles(titles.begin(), titles.end());
    const QSet<QString> distinctMessages(messages.begin(), messages.end());
    EXPECT_EQ(distinctTitles.size(), 108);
    EXPECT_EQ(distinctMessages.size(), 162);
    EXPECT_FALSE(distinctTitles.intersects(distinctMessages));
    EXPECT_EQ((distinctTitles + distinctMessages).size(), 270);

    // In how many categories each text stands; a list never holds a text twice.
    QHash<QString, int> categoriesOf;
    for (int n = 1; n <= 12; ++n) {
        for (const QStringList& list :
            { Greeting_Text_Catalogue::titles(keyOf(n)), Greeting_Text_Catalogue::messages(keyOf(n)) }) {
            const QSet<QString> once(list.begin(), list.end());
            EXPECT_EQ(once.size(), list.size()) << "category " << n;
            for (const QString& text : once)
                ++categoriesOf[text];
        }
    }
    int inTwo = 0;
    int inThree = 0;
    for (const int count : std::as_const(categoriesOf)) {
        EXPECT_LE(count, 3);
        inTwo += count == 2;
        inThree += count == 3;
    }
    EXPECT_EQ(inTwo + inThree, 21);
    EXPECT_EQ(inTwo + 2 * inThree, 23); // the entries beyond the first of each shared text
}

TEST(GreetingTextCatalogue, TextsFitTheWizardFieldsOnOneLine)
{
    for (const QString& title : allTitles()) {
        EXPECT_LE(title.size(), 58) << qPrintable(title);
        EXPECT_FALSE(title.trimmed().isEmpty());
        EXPECT_FALSE(hasLineBreak(title)) << qPrintable(title);
        EXPECT_FALSE(hasNonAscii(title)) << qPrintable(title);
    }
    for (const QString& message : allMessages()) {
        EXPECT_LE(message.size(), 196) << qPrintable(message);
        EXPECT_FALSE(message.trimmed().isEmpty());
        EXPECT_FALSE(hasLineBreak(message)) << qPrintable(message);
    }
}

TEST(GreetingTextCatalogue, FourteenMessagesUseTypographicQuotesOrEllipsisOnly)
{
    const QSet<char16_t> typographic { 0x2018, 0x2019, 0x2026 };
    int typographicMessages = 0;
    for (const QString& message : allMessages()) {
        bool beyondAscii = false;
        for (const QChar c : message) {
            if (c.unicode() <= 0x7F)
                continue;
            beyondAscii = true;
            EXPECT_TRUE(typographic.contains(c.unicode())) << qPrintable(message);
        }
        typographicMessages += beyondAscii;
    }
    EXPECT_EQ(typographicMessages, 14);
}

TEST(GreetingTextCatalogue, OnlyFlirtyTextsCarryTrailingBlanks)
{
    const auto endsInTwoBlanks = [](const QString& text) { return text.endsWith(QStringLiteral("  ")); };
    const QStringList flirtyTitles = Greeting_Text_Catalogue::titles(QStringLiteral("12"));
    const QStringList flirtyMessages = Greeting_Text_Catalogue::messages(QStringLiteral("12"));
    EXPECT_EQ(std::count_if(flirtyTitles.begin(), flirtyTitles.end(), endsInTwoBlanks), 8);
    EXPECT_EQ(std::count_if(flirtyMessages.begin(), flirtyMessages.end(), endsInTwoBlanks), 16);
    for (const QString& text : flirtyTitles + flirtyMessages) {
        // Exactly two blanks or none: one or three would be a typing slip.
        if (endsInTwoBlanks(text))
            EXPECT_FALSE(text.chopped(2).endsWith(QLatin1Char(' '))) << qPrintable(text);
        else
            EXPECT_FALSE(text.endsWith(QLatin1Char(' '))) << qPrintable(text);
    }

    for (int n = 1; n <= 11; ++n) {
        for (const QString& text :
            Greeting_Text_Catalogue::titles(keyOf(n)) + Greeting_Text_Catalogue::messages(keyOf(n)))
            EXPECT_EQ(text, text.trimmed()) << "category " << n << ": " << qPrintable(text);
    }
}
