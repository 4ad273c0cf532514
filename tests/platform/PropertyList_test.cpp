#include "platform/PropertyList.h"

#include "platform/PlistSamples.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

using platform::PlistArray;
using platform::PlistDict;
using platform::PlistValue;
namespace PropertyList = platform::PropertyList;
using Format = PropertyList::Format;

namespace {

PlistValue readBack(const PlistValue& value, Format format)
{
    QString error;
    const auto back = PropertyList::fromBytes(PropertyList::toBytes(value, format), &error);
    EXPECT_TRUE(back.has_value()) << error.toStdString();
    return back.value_or(PlistValue());
}

std::vector<QString> keysOf(const PlistValue& value)
{
    return value.toDict().keys();
}

} // namespace

TEST(PropertyList, EveryTypeRoundTripsThroughBothFormats)
{
    const PlistValue sample = plistsamples::everyType();
    for (const Format format : { Format::Xml, Format::Binary }) {
        SCOPED_TRACE(format == Format::Xml ? "xml" : "binary");
        const PlistValue back = readBack(sample, format);
        EXPECT_EQ(back, sample);
        // Equality of QString does not tell an empty string from a null one; readers must give empty ones.
        EXPECT_FALSE(back.toDict().find(QStringLiteral("strings"))->toArray().at(1).toString().isNull());
        // Each scalar keeps its type: an integer never comes back as a real, nor a real as an integer.
        EXPECT_TRUE(back.toDict().find(QStringLiteral("integers"))->toArray().at(0).isInteger());
        EXPECT_TRUE(back.toDict().find(QStringLiteral("reals"))->toArray().at(0).isReal());
        EXPECT_TRUE(std::signbit(back.toDict().find(QStringLiteral("reals"))->toArray().at(1).toReal()));
    }
}

TEST(PropertyList, ScalarRootsAndNotANumberRoundTrip)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Format format : { Format::Xml, Format::Binary }) {
        EXPECT_EQ(readBack(PlistValue(true), format), PlistValue(true));
        EXPECT_EQ(readBack(PlistValue(QStringLiteral("only")), format), PlistValue(QStringLiteral("only")));
        EXPECT_EQ(readBack(PlistValue(qint64(-7)), format), PlistValue(qint64(-7)));
        EXPECT_TRUE(std::isnan(readBack(PlistValue(nan), format).toReal()));
    }
}

TEST(PropertyList, RealsRoundTripBitForBit)
{
    std::mt19937_64 random(20240229);
    PlistArray reals;
    while (reals.size() < 2000) {
        const quint64 bits = random();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d))
            reals.emplace_back(d);
    }
    for (const Format format : { Format::Xml, Format::Binary }) {
        const PlistArray back = readBack(reals, format).toArray();
        ASSERT_EQ(back.size(), reals.size());
        for (std::size_t i = 0; i < reals.size(); ++i) {
            const double want = reals[i].toReal();
            const double got = back[i].toReal();
            ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << "value " << want << " came back as " << got;
        }
    }
}

TEST(PropertyList, BinaryDatesKeepMillisecondsAndXmlDatesWholeSeconds)
{
    const QDateTime date(QDate(2023, 11, 5), QTime(8, 9, 10, 987), Qt::UTC);
    EXPECT_EQ(readBack(date, Format::Binary).toDate(), date);
    EXPECT_EQ(readBack(date, Format::Xml).toDate(), QDateTime(QDate(2023, 11, 5), QTime(8, 9, 10), Qt::UTC));
    // A date given in another zone is the same instant.
    const QDateTime offset(QDate(2023, 11, 5), QTime(10, 9, 10), Qt::OffsetFromUTC, 7200);
    EXPECT_EQ(readBack(offset, Format::Xml).toDate().toUTC(), QDateTime(QDate(2023, 11, 5), QTime(8, 9, 10), Qt::UTC));

    // Dates beyond four-digit years are written as the nearest date readers accept, never as an unreadable file.
    const QDateTime farFuture(QDate(12345, 6, 7), QTime(1, 2, 3), Qt::UTC);
    const QDateTime lastSecond(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
    for (const Format format : { Format::Xml, Format::Binary }) {
        EXPECT_EQ(readBack(farFuture, format).toDate(), lastSecond);
        EXPECT_EQ(readBack(QDateTime(QDate(-44, 3, 15), QTime(12, 0), Qt::UTC), format).toDate(),
            QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC));
    }
}

TEST(PropertyList, DictKeysKeepInsertionOrderInBothFormats)
{
    PlistDict small;
    for (const char* key : { "zeta", "alpha", "Mid", "beta", "_under", "10", "9" })
        small.insert(QString::fromUtf8(key), QString::fromUtf8(key).size());
    small.insert(QStringLiteral("alpha"), QStringLiteral("replaced")); // keeps its place
    const std::vector<QString> smallKeys = { "zeta", "alpha", "Mid", "beta", "_under", "10", "9" };
    ASSERT_EQ(small.keys(), smallKeys);
    EXPECT_EQ(small.find(QStringLiteral("alpha"))->toString(), QStringLiteral("replaced"));

    // Past the size where the dict keeps an index, order and replacement in place still hold.
    PlistDict large;
    std::vector<QString> largeKeys;
    for (int i = 0; i < 200; ++i) {
        largeKeys.push_back(QStringLiteral("k%1").arg((i * 37) % 200));
        large.insert(largeKeys.back(), i);
    }
    large.insert(QStringLiteral("k0"), QStringLiteral("replaced"));
    ASSERT_EQ(large.keys(), largeKeys);
    EXPECT_EQ(large.size(), 200u);
    EXPECT_EQ(large.find(QStringLiteral("k0"))->toString(), QStringLiteral("replaced"));
    EXPECT_EQ(large.find(QStringLiteral("k37"))->toInteger(), 1);
    EXPECT_EQ(large.find(QStringLiteral("k200")), nullptr);

    for (const Format format : { Format::Xml, Format::Binary }) {
        EXPECT_EQ(keysOf(readBack(small, format)), smallKeys);
        EXPECT_EQ(keysOf(readBack(large, format)), largeKeys);
    }
}

TEST(PropertyList, BinaryWriterStoresRepeatedValuesOnce)
{
    const QString longText(1000, QChar(u'q'));
    PlistArray repeated;
    for (int i = 0; i < 500; ++i) {
        PlistDict entry;
        entry.insert(QStringLiteral("a rather long key name"), longText);
        entry.insert(QStringLiteral("number"), 123456789);
        repeated.emplace_back(entry);
    }
    const QByteArray bytes = PropertyList::toBinary(repeated);
    EXPECT_LT(bytes.size(), 10000);
    EXPECT_EQ(PropertyList::fromBinary(bytes), PlistValue(repeated));
}

TEST(PropertyList, FromBytesDetectsTheFormat)
{
    const PlistValue value = PlistArray { 1, QStringLiteral("two") };
    EXPECT_EQ(PropertyList::fromBytes(PropertyList::toXml(value)), value);
    EXPECT_EQ(PropertyList::fromBytes(PropertyList::toBinary(value)), value);
    EXPECT_FALSE(PropertyList::fromXml(PropertyList::toBinary(value)).has_value());
    EXPECT_FALSE(PropertyList::fromBinary(PropertyList::toXml(value)).has_value());

    QString error;
    QByteArray otherVersion = PropertyList::toBinary(value);
    otherVersion.replace(0, 8, "bplist15");
    EXPECT_FALSE(PropertyList::fromBytes(otherVersion, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("version"))) << error.toStdString();
    error.clear();
    EXPECT_FALSE(PropertyList::fromBytes(QByteArray(), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

TEST(PropertyList, ValueReadersGiveZeroForOtherTypesAndConvertNumbers)
{
    const PlistValue text(QStringLiteral("12"));
    EXPECT_EQ(text.toInteger(), 0);
    EXPECT_EQ(text.toReal(), 0.0);
    EXPECT_FALSE(text.toBool());
    EXPECT_TRUE(text.toArray().empty());
    EXPECT_TRUE(text.toDict().empty());
    EXPECT_TRUE(PlistValue(12).toString().isNull());
    EXPECT_FALSE(PlistValue(12).toDate().isValid());

    EXPECT_EQ(PlistValue(2.9).toInteger(), 2);
    EXPECT_EQ(PlistValue(-2.9).toInteger(), -2);
    EXPECT_EQ(PlistValue(qint64(7)).toReal(), 7.0);
    EXPECT_EQ(PlistValue(true).toInteger(), 1);
    EXPECT_TRUE(PlistValue(qint64(2)).toBool());
    EXPECT_FALSE(PlistValue(0.0).toBool());
    // Reals beyond the integer range clamp instead of overflowing.
    EXPECT_EQ(PlistValue(1e300).toInteger(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(PlistValue(-1e300).toInteger(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(PlistValue(std::numeric_limits<double>::quiet_NaN()).toInteger(), 0);
}

// Damaged copies of valid files: every truncation and many random byte changes. Whatever the reader
// accepts must be a property list that writes and reads back the same.
TEST(PropertyList, DamagedFilesNeverCrashTheReaders)
{
    const PlistValue sample = [] {
        PlistDict dict = plistsamples::everyType().toDict();
        // Keep the files small enough to try every truncation.
        dict.insert(QStringLiteral("data"), PlistArray { QByteArray("\x01\x02\x03", 3) });
        dict.insert(QStringLiteral("many"), PlistArray { QStringLiteral("one"), QStringLiteral("two") });
        return PlistValue(dict);
    }();
    QRandomGenerator random(4242);
    for (const Format format : { Format::Binary, Format::Xml }) {
        SCOPED_TRACE(format == Format::Xml ? "xml" : "binary");
        const QByteArray valid = PropertyList::toBytes(sample, format);
        auto check = [&](const QByteArray& bytes) {
            QString error;
            const auto value = PropertyList::fromBytes(bytes, &error);
            if (!value) {
                ASSERT_FALSE(error.isEmpty());
                return;
            }
            const QByteArray again = PropertyList::toBinary(*value);
            const auto reread = PropertyList::fromBinary(again);
            ASSERT_TRUE(reread.has_value());
            ASSERT_EQ(PropertyList::toBinary(*reread), again);
        };
        for (qsizetype length = 0; length < valid.size(); ++length) {
            check(valid.left(length));
            if (testing::Test::HasFatalFailure())
                return;
        }
        for (int round = 0; round < 6000; ++round) {
            QByteArray damaged = valid;
            const int changes = 1 + static_cast<int>(random.bounded(4));
            for (int c = 0; c < changes; ++c) {
                const auto at = static_cast<qsizetype>(random.bounded(static_cast<quint32>(damaged.size())));
                damaged[at] = static_cast<char>(random.bounded(256));
            }
            check(damaged);
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
    for (int round = 0; round < 2000; ++round) {
        QByteArray noise("bplist00");
        const int length = static_cast<int>(random.bounded(200));
        for (int i = 0; i < length; ++i)
            noise.append(static_cast<char>(random.bounded(256)));
        PropertyList::fromBytes(noise);
    }
}
