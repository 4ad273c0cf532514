#include "platform/PropertyList.h"

#include "platform/BinaryPlistBuilder.h"

#include <gtest/gtest.h>

using platform::PlistArray;
using platform::PlistValue;
namespace PropertyList = platform::PropertyList;

namespace {

using plistbuilder::assemble;
using plistbuilder::bytes;

// Reads, expecting a failure whose reason mentions the given words.
void expectRefused(const QByteArray& file, const char* reasonPart)
{
    QString error;
    const auto value = PropertyList::fromBinary(file, &error);
    EXPECT_FALSE(value.has_value());
    EXPECT_TRUE(error.contains(QLatin1String(reasonPart))) << "reason was: " << error.toStdString();
}

} // namespace

TEST(PlistBinaryReader, ReadsObjectKindsOtherWritersUse)
{
    // UIDs read as integers, 4-byte reals widen, null and fill bytes hold their place as invalid values,
    // and a 16-byte integer is accepted when its value fits 64 bits.
    const QByteArray file = assemble({
        bytes({ 0xA7, 1, 2, 3, 4, 5, 6, 7 }),
        bytes({ 0x80, 0x2A }),
        bytes({ 0x83, 0x00, 0x01, 0x00, 0x00 }),
        bytes({ 0x22, 0x3F, 0xC0, 0x00, 0x00 }),
        bytes({ 0x00 }),
        bytes({ 0x0F }),
        bytes({ 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE }),
        bytes({ 0x5F, 0x10, 0x03, 'a', 'b', 'c' }),
    });
    QString error;
    const auto value = PropertyList::fromBinary(file, &error);
    ASSERT_TRUE(value.has_value()) << error.toStdString();
    const PlistArray& array = value->toArray();
    ASSERT_EQ(array.size(), 7u);
    EXPECT_EQ(array[0], PlistValue(42));
    EXPECT_EQ(array[1], PlistValue(65536));
    EXPECT_EQ(array[2], PlistValue(1.5));
    EXPECT_FALSE(array[3].isValid());
    EXPECT_FALSE(array[4].isValid());
    EXPECT_EQ(array[5], PlistValue(-2));
    EXPECT_EQ(array[6], PlistValue(QStringLiteral("abc")));
}

TEST(PlistBinaryReader, RefusesValuesItCannotRepresent)
{
    // 2^64 - 1 does not fit a signed 64-bit integer: refused rather than read as another number.
    expectRefused(assemble({ bytes({ 0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF }) }),
        "too large");
    expectRefused(assemble({ bytes({ 0x52, 'a', 0xE9 }) }), "ASCII");
    expectRefused(assemble({ bytes({ 0x61, 0xD8, 0x3D }) }), "UTF-16"); // lone high surrogate
    expectRefused(assemble({ bytes({ 0x62, 0xDE, 0x00, 0x00, 0x41 }) }), "UTF-16"); // low before high
    expectRefused(assemble({ bytes({ 0x33, 0x7F, 0xF0, 0, 0, 0, 0, 0, 0 }) }), "date");
    expectRefused(assemble({ bytes({ 0xC1, 0x01 }), bytes({ 0x09 }) }), "unsupported");
    expectRefused(assemble({ bytes({ 0xD1, 0x01, 0x01 }), bytes({ 0x10, 0x05 }) }), "key");
    expectRefused(assemble({ bytes({ 0x00 }) }), "no value");
}

TEST(PlistBinaryReader, RefusesCyclesAndBadReferences)
{
    expectRefused(assemble({ bytes({ 0xA1, 0x00 }) }), "itself");
    // dict -> array -> dict
    expectRefused(assemble({ bytes({ 0xD1, 0x01, 0x02 }), bytes({ 0x51, 'k' }), bytes({ 0xA1, 0x00 }) }), "itself");
    expectRefused(assemble({ bytes({ 0xA1, 0x05 }) }), "reference");
    expectRefused(assemble({ bytes({ 0x09 }) }, 3), "top object");

    // Sharing without a cycle is fine: the same string twice.
    const auto shared = PropertyList::fromBinary(assemble({ bytes({ 0xA2, 0x01, 0x01 }), bytes({ 0x51, 's' }) }));
    ASSERT_TRUE(shared.has_value());
    EXPECT_EQ(*shared, PlistValue(PlistArray { QStringLiteral("s"), QStringLiteral("s") }));
}

TEST(PlistBinaryReader, RefusesCountsAndOffsetsBeyondTheFile)
{
    expectRefused(assemble({ bytes({ 0x5F, 0x13, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF }) }), "length");
    expectRefused(assemble({ bytes({ 0xAF, 0x10, 0x20, 0x00 }) }), "array");
    expectRefused(assemble({ bytes({ 0xDF, 0x10, 0x20, 0x00, 0x00 }) }), "dictionary");
    expectRefused(assemble({ bytes({ 0x4F, 0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0 }) }), "length");
    expectRefused(assemble({ bytes({ 0x6A, 0x00, 0x41 }) }), "truncated");
    expectRefused(assemble({ bytes({ 0x13, 0x00, 0x00 }) }), "truncated");

    const QByteArray valid = assemble({ bytes({ 0xA1, 0x01 }), bytes({ 0x09 }) });
    const qsizetype trailer = valid.size() - 32;
    QByteArray hugeCount = valid;
    hugeCount.replace(trailer + 8, 8, bytes({ 0x10, 0, 0, 0, 0, 0, 0, 0 }));
    expectRefused(hugeCount, "offset table");
    QByteArray badOffset = valid;
    badOffset[trailer - 1] = '\x7F';
    expectRefused(badOffset, "offset");
    QByteArray badTable = valid;
    badTable.replace(trailer + 24, 8, bytes({ 0, 0, 0, 0, 0, 0, 0x10, 0 }));
    expectRefused(badTable, "offset table");
    QByteArray badWidth = valid;
    badWidth[trailer + 7] = '\x09';
    expectRefused(badWidth, "size");
}

TEST(PlistBinaryReader, LimitsNestingDepth)
{
    auto nested = [](int levels) {
        std::vector<QByteArray> objects;
        for (int i = 0; i < levels; ++i)
            objects.push_back(bytes({ 0xA1, (i + 1) >> 8, (i + 1) & 0xFF }));
        objects.push_back(bytes({ 0x09 }));
        return assemble(objects, 0, 2);
    };
    EXPECT_TRUE(PropertyList::fromBinary(nested(500)).has_value());
    expectRefused(nested(600), "deeply");
}

TEST(PlistBinaryReader, SharedObjectsCannotMultiplyWithoutBound)
{
    // Each array holds the next one twice: 2^60 values if expanded. The reader gives up quickly.
    std::vector<QByteArray> objects;
    for (int i = 0; i < 60; ++i)
        objects.push_back(bytes({ 0xA2, i + 1, i + 1 }));
    objects.push_back(bytes({ 0x51, 'x' }));
    expectRefused(assemble(objects), "too many");
}
