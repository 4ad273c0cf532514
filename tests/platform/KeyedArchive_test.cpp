#include "platform/KeyedArchive.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using platform::KeyedArchive;
using platform::PlistArray;
using platform::PlistDict;
using platform::PlistValue;
namespace PropertyList = platform::PropertyList;

namespace {

QImage samplePicture()
{
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(0, 0, 20, 20, QColor(200, 30, 40));
    painter.fillRect(20, 10, 20, 10, QColor(10, 20, 250, 128));
    return image;
}

QFont sampleFont()
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSizeF(13.5);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setUnderline(true);
    return font;
}

KeyedArchive fullArchive()
{
    KeyedArchive child(QStringLiteral("Child"));
    child.encodeInt32(QStringLiteral("depth"), 2);

    KeyedArchive archive(QStringLiteral("TSLSample"));
    archive.encodeRect(QStringLiteral("_bounds"), QRectF(10.25, -3.5, 200.125, 0.1));
    archive.encodeBool(QStringLiteral("locked"), true);
    archive.encodeInt32(QStringLiteral("min32"), std::numeric_limits<qint32>::min());
    archive.encodeInt32(QStringLiteral("max32"), std::numeric_limits<qint32>::max());
    archive.encodeInt64(QStringLiteral("big"), 1LL << 40);
    archive.encodeFloat(QStringLiteral("alpha"), 0.1f);
    archive.encodeDouble(QStringLiteral("angle"), 0.1);
    archive.encodePoint(QStringLiteral("origin"), QPointF(-1.5, 2.25));
    archive.encodeSize(QStringLiteral("size"), QSizeF(242.65, 153.07));
    archive.encodeString(QStringLiteral("text"), QString::fromUtf8("Grüße, Привет, 😀"));
    archive.encodeString(QStringLiteral("empty"), QStringLiteral(""));
    archive.encodeString(QStringLiteral("absent"), QString());
    archive.encodeColor(QStringLiteral("fill"), QColor::fromRgbF(0.2f, 0.4f, 0.6f, 0.5f));
    archive.encodeColor(QStringLiteral("noColour"), QColor());
    archive.encodeFont(QStringLiteral("font"), sampleFont());
    archive.encodeFont(QStringLiteral("noFont"), std::nullopt);
    archive.encodeImage(QStringLiteral("picture"), samplePicture(), QSizeF(20, 10));
    archive.encodeImage(QStringLiteral("noPicture"), QImage());
    archive.encodeArchive(QStringLiteral("child"), child);
    archive.encodeNull(QStringLiteral("nothing"));
    archive.encodeValue(QStringLiteral("raw"), PlistArray { 1, QStringLiteral("two") });
    return archive;
}

} // namespace

TEST(KeyedArchive, EveryEncodingRoundTripsThroughBothFormats)
{
    const KeyedArchive original = fullArchive();
    std::vector<KeyedArchive> copies;
    copies.push_back(KeyedArchive::fromBytes(original.toBytes()).value());
    copies.push_back(KeyedArchive::fromBytes(PropertyList::toXml(original.toPlist())).value());
    for (const KeyedArchive& back : copies) {
        EXPECT_EQ(back.className(), QStringLiteral("TSLSample"));
        EXPECT_EQ(back.keys(), original.keys());
        EXPECT_EQ(back.decodeRect(QStringLiteral("_bounds")), QRectF(10.25, -3.5, 200.125, 0.1));
        EXPECT_TRUE(back.decodeBool(QStringLiteral("locked")));
        EXPECT_EQ(back.decodeInt32(QStringLiteral("min32")), std::numeric_limits<qint32>::min());
        EXPECT_EQ(back.decodeInt32(QStringLiteral("max32")), std::numeric_limits<qint32>::max());
        EXPECT_EQ(back.decodeInt64(QStringLiteral("big")), 1LL << 40);
        EXPECT_EQ(back.decodeFloat(QStringLiteral("alpha")), 0.1f);
        EXPECT_EQ(back.decodeDouble(QStringLiteral("alpha")), static_cast<double>(0.1f)); // stored as a real
        EXPECT_EQ(back.decodeDouble(QStringLiteral("angle")), 0.1);
        EXPECT_EQ(back.decodePoint(QStringLiteral("origin")), QPointF(-1.5, 2.25));
        EXPECT_EQ(back.decodeSize(QStringLiteral("size")), QSizeF(242.65, 153.07));
        EXPECT_EQ(back.decodeString(QStringLiteral("text")), QString::fromUtf8("Grüße, Привет, 😀"));

        const QColor fill = back.decodeColor(QStringLiteral("fill"));
        EXPECT_EQ(fill, QColor::fromRgbF(0.2f, 0.4f, 0.6f, 0.5f));
        EXPECT_FALSE(back.decodeColor(QStringLiteral("noColour")).isValid());

        const auto font = back.decodeFont(QStringLiteral("font"));
        ASSERT_TRUE(font.has_value());
        EXPECT_EQ(*font, sampleFont());
        EXPECT_FALSE(back.decodeFont(QStringLiteral("noFont")).has_value());

        QSizeF points;
        const QImage picture = back.decodeImage(QStringLiteral("picture"), &points);
        ASSERT_EQ(picture.size(), QSize(40, 20));
        EXPECT_EQ(points, QSizeF(20, 10));
        EXPECT_EQ(picture.pixel(5, 5), qRgb(200, 30, 40));
        EXPECT_EQ(qAlpha(picture.pixel(30, 15)), 128);
        EXPECT_EQ(qAlpha(picture.pixel(30, 5)), 0);
        EXPECT_TRUE(back.decodeImage(QStringLiteral("noPicture")).isNull());

        const auto child = back.decodeArchive(QStringLiteral("child"));
        ASSERT_TRUE(child.has_value());
        EXPECT_EQ(child->className(), QStringLiteral("Child"));
        EXPECT_EQ(child->decodeInt32(QStringLiteral("depth")), 2);
        EXPECT_TRUE(back.containsValueForKey(QStringLiteral("nothing")));
        EXPECT_EQ(back.decodeValue(QStringLiteral("raw")), PlistValue(PlistArray { 1, QStringLiteral("two") }));
        EXPECT_EQ(back, original);
    }
}

TEST(KeyedArchive, NullStringAndEmptyStringStayDistinct)
{
    const KeyedArchive original = fullArchive();
    for (const auto& back : { KeyedArchive::fromBytes(original.toBytes()).value(),
             KeyedArchive::fromBytes(PropertyList::toXml(original.toPlist())).value() }) {
        const QString empty = back.decodeString(QStringLiteral("empty"));
        EXPECT_TRUE(empty.isEmpty());
        EXPECT_FALSE(empty.isNull());
        EXPECT_TRUE(back.containsValueForKey(QStringLiteral("absent")));
        EXPECT_TRUE(back.decodeString(QStringLiteral("absent")).isNull());
        EXPECT_TRUE(back.decodeString(QStringLiteral("never written")).isNull());
    }
}

TEST(KeyedArchive, MissingKeysAndOtherTypesReadAsZero)
{
    KeyedArchive archive(QStringLiteral("Mixed"));
    archive.encodeString(QStringLiteral("s"), QStringLiteral("12"));
    archive.encodeInt64(QStringLiteral("huge"), 1LL << 40);
    archive.encodeDouble(QStringLiteral("beyondFloat"), 1e300);
    archive.encodeValue(QStringLiteral("shortArray"), PlistArray { 1.0, 2.0, 3.0 });
    archive.encodeValue(QStringLiteral("textArray"), PlistArray { QStringLiteral("1"), QStringLiteral("2") });
    archive.encodeValue(QStringLiteral("colourLike"), PlistDict {});
    const KeyedArchive back = KeyedArchive::fromBytes(archive.toBytes()).value();

    for (const QString& key : { QStringLiteral("missing"), QStringLiteral("s") }) {
        EXPECT_FALSE(back.decodeBool(key));
        EXPECT_EQ(back.decodeInt32(key), 0);
        EXPECT_EQ(back.decodeInt64(key), 0);
        EXPECT_EQ(back.decodeFloat(key), 0.0f);
        EXPECT_EQ(back.decodeDouble(key), 0.0);
        EXPECT_EQ(back.decodeRect(key), QRectF());
        EXPECT_EQ(back.decodePoint(key), QPointF());
        EXPECT_EQ(back.decodeSize(key), QSizeF(0, 0));
        EXPECT_FALSE(back.decodeColor(key).isValid());
        EXPECT_FALSE(back.decodeFont(key).has_value());
        EXPECT_TRUE(back.decodeImage(key).isNull());
        EXPECT_FALSE(back.decodeArchive(key).has_value());
    }
    EXPECT_TRUE(back.decodeString(QStringLiteral("missing")).isNull());
    EXPECT_FALSE(back.decodeValue(QStringLiteral("missing")).isValid());
    EXPECT_TRUE(back.decodeString(QStringLiteral("huge")).isNull());
    EXPECT_EQ(back.decodeInt32(QStringLiteral("huge")), 0); // does not fit: not a wrapped number
    EXPECT_TRUE(std::isinf(back.decodeFloat(QStringLiteral("beyondFloat"))));
    EXPECT_EQ(back.decodeRect(QStringLiteral("shortArray")), QRectF());
    EXPECT_EQ(back.decodePoint(QStringLiteral("textArray")), QPointF());
    EXPECT_FALSE(back.decodeColor(QStringLiteral("colourLike")).isValid());
    EXPECT_FALSE(back.decodeFont(QStringLiteral("colourLike")).has_value());
    EXPECT_TRUE(back.decodeImage(QStringLiteral("colourLike")).isNull());
}

TEST(KeyedArchive, ReencodingAKeyReplacesItInPlace)
{
    KeyedArchive archive;
    archive.encodeInt32(QStringLiteral("first"), 1);
    archive.encodeInt32(QStringLiteral("second"), 2);
    archive.encodeString(QStringLiteral("first"), QStringLiteral("again"));
    EXPECT_EQ(archive.keys(), (std::vector<QString> { QStringLiteral("first"), QStringLiteral("second") }));
    EXPECT_EQ(archive.decodeString(QStringLiteral("first")), QStringLiteral("again"));
}

TEST(KeyedArchive, ColoursKeepTheirComponents)
{
    const std::vector<QColor> colours
        = { QColor(0, 0, 0), QColor(255, 255, 255, 0), QColor(1, 2, 3, 4), QColor::fromHsvF(0.3f, 0.7f, 0.9f),
              QColor::fromCmykF(0.1f, 0.2f, 0.3f, 0.4f), QColor::fromRgbF(1.5f, -0.25f, 0.5f, 1.0f) };
    for (const QColor& colour : colours) {
        const QColor back = KeyedArchive::colorFromValue(
            PropertyList::fromBinary(PropertyList::toBinary(KeyedArchive::colorValue(colour))).value());
        const QColor want = colour.spec() == QColor::ExtendedRgb ? colour : colour.toRgb();
        EXPECT_EQ(back.rgba64(), want.rgba64()) << colour.name(QColor::HexArgb).toStdString();
        EXPECT_FLOAT_EQ(back.redF(), want.redF());
        EXPECT_FLOAT_EQ(back.greenF(), want.greenF());
    }
}

TEST(KeyedArchive, FontFallsBackToFamilyAndSizeWithoutAUsableDescription)
{
    PlistDict stored;
    stored.insert(QStringLiteral("$type"), QStringLiteral("font"));
    stored.insert(QStringLiteral("family"), QStringLiteral("DejaVu Sans"));
    stored.insert(QStringLiteral("pointSize"), 17.5);
    stored.insert(QStringLiteral("weight"), 700);
    stored.insert(QStringLiteral("italic"), true);
    for (const PlistValue& qt : { PlistValue(), PlistValue(QStringLiteral("not,a")), PlistValue(12) }) {
        PlistDict value = stored;
        if (qt.isValid())
            value.insert(QStringLiteral("qt"), qt);
        const auto font = KeyedArchive::fontFromValue(value);
        ASSERT_TRUE(font.has_value());
        EXPECT_EQ(font->family(), QStringLiteral("DejaVu Sans"));
        EXPECT_EQ(font->pointSizeF(), 17.5);
        EXPECT_EQ(font->weight(), QFont::Bold);
        EXPECT_TRUE(font->italic());
    }
    PlistDict noFamily;
    noFamily.insert(QStringLiteral("$type"), QStringLiteral("font"));
    EXPECT_FALSE(KeyedArchive::fontFromValue(noFamily).has_value());
}

TEST(KeyedArchive, FontReadFromItsFieldsSavesAndReopensUnchanged)
{
    // A point size finer than the description keeps, a weight between the named ones.
    for (const double size : { 10.00000002339948, 17.5, 9.123456789 }) {
        PlistDict stored;
        stored.insert(QStringLiteral("$type"), QStringLiteral("font"));
        stored.insert(QStringLiteral("family"), QStringLiteral("DejaVu Sans"));
        stored.insert(QStringLiteral("pointSize"), size);
        stored.insert(QStringLiteral("weight"), 550);
        const auto first = KeyedArchive::fontFromValue(stored);
        ASSERT_TRUE(first.has_value());
        EXPECT_NEAR(first->pointSizeF(), size, 1e-3);
        const auto again = KeyedArchive::fontFromValue(KeyedArchive::fontValue(*first));
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(KeyedArchive::fontValue(*again), KeyedArchive::fontValue(*first)) << size;
    }
}

TEST(KeyedArchive, ColourReadOnceSavesAndReadsBackTheSame)
{
    // Components that narrow to zero, negative zeros, and an extended colour beside them.
    const std::vector<std::array<double, 4>> stored = {
        { -1e-50, -0.0, -0.0, 1.0 },
        { -1.240252519758042e-11, -1.240252519758042e-11, -1.240252519758042e-11, 1.0 },
        { 1.00001, 0.5, 0.5, 1.0 },
        { -0.0, 0.5, 1.0, 1.0 },
        { 1.00000000001, 0.25, -0.0, 1.0 },
        { 2.0, -0.0, -0.5, 0.75 },
    };
    for (const auto& rgba : stored) {
        PlistDict value;
        value.insert(QStringLiteral("$type"), QStringLiteral("color"));
        value.insert(QStringLiteral("rgba"), PlistArray { rgba[0], rgba[1], rgba[2], rgba[3] });
        const QColor first = KeyedArchive::colorFromValue(value);
        ASSERT_TRUE(first.isValid());
        const PlistValue written = KeyedArchive::colorValue(first);
        const QColor again = KeyedArchive::colorFromValue(written);
        EXPECT_EQ(PropertyList::toBinary(KeyedArchive::colorValue(again)), PropertyList::toBinary(written))
            << rgba[0] << " " << rgba[1] << " " << rgba[2] << " " << rgba[3];
    }
}

TEST(KeyedArchive, ColourBeyondHalfPrecisionIsRefusedNotReadAsInfinity)
{
    // An extended colour keeps components in half precision, whose largest value is 65504: a component
    // beyond it would become infinity and the colour would save as nothing.
    const struct {
        double component;
        bool reads;
    } cases[] = { { 65504.0, true }, { -65504.0, true }, { 65519.0, true }, { 65520.0, false }, { 131072.0, false },
        { -131072.0, false } };
    for (const auto& c : cases) {
        PlistDict value;
        value.insert(QStringLiteral("$type"), QStringLiteral("color"));
        value.insert(QStringLiteral("rgba"), PlistArray { c.component, 0.5, 0.5, 1.0 });
        const QColor first = KeyedArchive::colorFromValue(value);
        EXPECT_EQ(first.isValid(), c.reads) << c.component;
        if (!first.isValid())
            continue;
        const QColor again = KeyedArchive::colorFromValue(KeyedArchive::colorValue(first));
        EXPECT_TRUE(again.isValid()) << c.component;
        EXPECT_EQ(again.redF(), first.redF()) << c.component;
    }
}

TEST(KeyedArchive, PictureWithoutAGivenSizeMeasuresItsPixels)
{
    KeyedArchive archive;
    archive.encodeImage(QStringLiteral("p"), samplePicture());
    QSizeF points;
    EXPECT_EQ(archive.decodeImage(QStringLiteral("p"), &points).size(), QSize(40, 20));
    EXPECT_EQ(points, QSizeF(40, 20));

    // Damaged picture bytes read as no picture.
    PlistDict damaged = archive.decodeValue(QStringLiteral("p")).toDict();
    damaged.insert(QStringLiteral("png"), QByteArray("\x89PNG\r\n\x1a\n garbage"));
    archive.encodeValue(QStringLiteral("p"), damaged);
    EXPECT_TRUE(archive.decodeImage(QStringLiteral("p"), &points).isNull());
}

TEST(KeyedArchive, FromBytesRefusesOtherShapes)
{
    PlistDict noClass;
    noClass.insert(QStringLiteral("$values"), PlistDict {});
    PlistDict valuesNotDict;
    valuesNotDict.insert(QStringLiteral("$class"), QStringLiteral("X"));
    valuesNotDict.insert(QStringLiteral("$values"), PlistArray {});
    PlistDict classNotString;
    classNotString.insert(QStringLiteral("$class"), 3);
    classNotString.insert(QStringLiteral("$values"), PlistDict {});
    for (const PlistValue& value : { PlistValue(PlistArray {}), PlistValue(noClass), PlistValue(valuesNotDict),
             PlistValue(classNotString), PlistValue(QStringLiteral("X")) }) {
        EXPECT_FALSE(KeyedArchive::fromPlist(value).has_value());
        EXPECT_FALSE(KeyedArchive::fromBytes(PropertyList::toBinary(value)).has_value());
    }
    QByteArray truncated = fullArchive().toBytes();
    truncated.chop(1);
    EXPECT_FALSE(KeyedArchive::fromBytes(truncated).has_value());
    EXPECT_FALSE(KeyedArchive::fromBytes("<plist><dict></dict></plist>").has_value());
}
