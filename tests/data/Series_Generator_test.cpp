#include "data/Series_Generator.h"

#include "data/Series_File.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using Mode = Series_Generator::Mode;

QStringList all(const Series_Generator::Settings& settings)
{
    Series_Generator generator(settings);
    QStringList values;
    while (!generator.atEnd())
        values << generator.next();
    return values;
}

Series_Generator::Settings sequential(
    const char* from, const char* to, bool pad, const char* prefix = "", const char* suffix = "")
{
    Series_Generator::Settings s;
    s.mode = Mode::Sequential;
    s.from = QString::fromUtf8(from);
    s.to = QString::fromUtf8(to);
    s.padWithZeros = pad;
    s.prefix = QString::fromUtf8(prefix);
    s.suffix = QString::fromUtf8(suffix);
    return s;
}

} // namespace

TEST(SeriesGenerator, SequentialWorkedCases)
{
    const struct {
        Series_Generator::Settings settings;
        qint64 count;
        const char* first;
        const char* last;
    } cases[] = {
        { sequential("1", "10", true, "A-"), 10, "A-01", "A-10" },
        { sequential("001", "00200", true), 200, "00001", "00200" },
        { sequential("001", "00200", false), 200, "1", "200" },
        { sequential("7", "9", false, "", " 🎂"), 3, "7 🎂", "9 🎂" },
        { sequential("-120", "1005", true, "\r\n"), 1126, "\r\n-120", "\r\n1005" },
    };
    for (const auto& c : cases) {
        const QStringList values = all(c.settings);
        ASSERT_EQ(values.size(), c.count);
        EXPECT_EQ(values.first(), QString::fromUtf8(c.first));
        EXPECT_EQ(values.last(), QString::fromUtf8(c.last));
        qint64 bytes = 0; // the file's size, known before a value is made
        for (const QString& value : values)
            bytes += Series_File::oneLine(value).toUtf8().size() + 1;
        EXPECT_EQ(Series_Generator(c.settings).fileBytes(), bytes) << c.first;
    }
    EXPECT_EQ(all(sequential("-2", "2", true)), QStringList({ "-2", "-1", "00", "01", "02" }));
    EXPECT_EQ(all(sequential("001", "00200", true)).at(10), QStringLiteral("00011"));
}

TEST(SeriesGenerator, ValidationRefusesWithTheWindowsMessages)
{
    auto s = sequential("5", "5", false);
    QString field;
    EXPECT_EQ(Series_Generator::validate(s, &field), QStringLiteral("'From' value must be smaller than 'To' value."));
    EXPECT_EQ(field, QStringLiteral("from"));
    EXPECT_EQ(Series_Generator::validate(sequential("", "5", false), &field),
        QStringLiteral("Please enter valid 'From' value."));
    EXPECT_EQ(Series_Generator::validate(sequential("1", "", false), &field),
        QStringLiteral("Please enter valid 'To' value."));
    EXPECT_EQ(field, QStringLiteral("to"));
    EXPECT_EQ(Series_Generator::validate(sequential("1", "2", false), &field), QString());
    // Bounds past what a value holds are refused, never capped into fewer values than asked for.
    EXPECT_EQ(Series_Generator::validate(sequential("2147483646", "2147483648", false), &field),
        QStringLiteral("'To' value must lie between -2147483648 and 2147483647."));
    EXPECT_EQ(field, QStringLiteral("to"));
    EXPECT_EQ(Series_Generator::validate(sequential("-2147483649", "0", false), &field),
        QStringLiteral("'From' value must lie between -2147483648 and 2147483647."));

    Series_Generator::Settings constant;
    constant.mode = Mode::Constant;
    constant.count = QStringLiteral("3");
    EXPECT_EQ(Series_Generator::validate(constant), QStringLiteral("Please enter valid 'Value'."));
    constant.value = QStringLiteral(" x ");
    constant.count.clear();
    EXPECT_EQ(Series_Generator::validate(constant), QStringLiteral("Please enter valid 'Count' value."));
    constant.count = QStringLiteral("2147483648");
    EXPECT_EQ(Series_Generator::validate(constant), QStringLiteral("'Count' value must be at most 2147483647."));
    // No larger a file than every series reader takes.
    EXPECT_EQ(Series_Generator::validate(sequential("1", "8000000", false, "Seat "), &field),
        QStringLiteral("A series file can be at most 64.0 MB, and these values would make one of 98.1 MB. Please make "
                       "fewer or shorter values."));

    Series_Generator::Settings random;
    random.mode = Mode::Random;
    random.length = QStringLiteral("3");
    EXPECT_EQ(Series_Generator::validate(random), QStringLiteral("Please enter valid 'Count' value."));
    random.randomCount = QStringLiteral("3");
    random.length.clear();
    EXPECT_EQ(Series_Generator::validate(random), QStringLiteral("Please enter valid 'Length' value."));
}

TEST(SeriesGenerator, ConstantRepeatsTheValueAsTyped)
{
    Series_Generator::Settings s;
    s.mode = Mode::Constant;
    s.value = QStringLiteral(" a b ");
    s.count = QStringLiteral("2");
    EXPECT_EQ(all(s), QStringList({ " a b ", " a b " }));
    s.count = QStringLiteral("-4");
    EXPECT_EQ(all(s), QStringList());
}

TEST(SeriesGenerator, RandomNumbersHaveExactlyTheChosenDigits)
{
    for (int digits = 1; digits <= 9; ++digits) {
        Series_Generator::Settings s;
        s.mode = Mode::Random;
        s.randomPrefix = QStringLiteral("P");
        s.randomSuffix = QStringLiteral("S");
        s.length = QString::number(digits);
        s.randomCount = QStringLiteral("300");
        const QStringList values = all(s);
        ASSERT_EQ(values.size(), 300);
        for (const QString& v : values) {
            ASSERT_TRUE(v.startsWith(QLatin1Char('P')) && v.endsWith(QLatin1Char('S'))) << v.toStdString();
            const QString number = v.mid(1, v.size() - 2);
            EXPECT_EQ(number.size(), digits) << v.toStdString();
            EXPECT_NE(number.front(), QLatin1Char('0')) << v.toStdString();
        }
    }
    // A length the table does not know keeps the number before: 0 for the first value.
    Series_Generator::Settings odd;
    odd.mode = Mode::Random;
    odd.length = QStringLiteral("x");
    odd.randomCount = QStringLiteral("2");
    EXPECT_EQ(all(odd), QStringList({ "0", "0" }));
}

TEST(SeriesGenerator, WidestBoundsCountInSixtyFourBitsAndEnd)
{
    Series_Generator whole(sequential("-2147483648", "2147483647", false));
    EXPECT_EQ(whole.total(), qint64(4294967296));
    EXPECT_EQ(whole.next(), QStringLiteral("-2147483648"));
    // Bounds past 32 bits stop at the 32-bit limits instead of wrapping round.
    Series_Generator beyond(sequential("2147483646", "99999999999", false));
    EXPECT_EQ(beyond.total(), 2);
    EXPECT_EQ(all(sequential("2147483646", "99999999999", false)), QStringList({ "2147483646", "2147483647" }));
}

TEST(SeriesGenerator, IntegerReadingAndPadding)
{
    const struct {
        const char* text;
        int value;
    } cases[] = { { "  42abc", 42 }, { "-7", -7 }, { "+8", 8 }, { "abc", 0 }, { "", 0 }, { "99999999999", 2147483647 },
        { "-99999999999", -2147483647 - 1 } };
    for (const auto& c : cases)
        EXPECT_EQ(Series_Generator::intValue(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_EQ(Series_Generator::PadZero(QStringLiteral("7"), 3), QStringLiteral("007"));
    EXPECT_EQ(Series_Generator::PadZero(QStringLiteral("1234"), 3), QStringLiteral("1234"));
    quint32 min = 0, max = 0;
    ASSERT_TRUE(Series_Generator::rangeOfLength(QStringLiteral("9"), &min, &max));
    EXPECT_EQ(min, 100000000u);
    EXPECT_EQ(max, 999999999u);
    EXPECT_FALSE(Series_Generator::rangeOfLength(QStringLiteral("10"), &min, &max));
    EXPECT_FALSE(Series_Generator::rangeOfLength(QStringLiteral("0"), &min, &max));
}
