#include "platform/PropertyList.h"

#include <gtest/gtest.h>

using platform::PlistArray;
using platform::PlistDict;
using platform::PlistValue;
namespace PropertyList = platform::PropertyList;

namespace {

QByteArray document(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n"
        + body + "\n</plist>\n";
}

std::optional<PlistValue> readXml(const QByteArray& xml, QString* error = nullptr)
{
    return PropertyList::fromXml(xml, error);
}

} // namespace

TEST(PlistXmlReader, AcceptsTheVariantsOtherWritersProduce)
{
    PlistDict expected;
    expected.insert(QStringLiteral("hex"), 255);
    expected.insert(QStringLiteral("spaced"), -42);
    expected.insert(QStringLiteral("big"), qint64(123456789012345LL));
    expected.insert(QStringLiteral("inf"), std::numeric_limits<double>::infinity());
    expected.insert(QStringLiteral("exp"), 1.5e-7);
    expected.insert(QStringLiteral("wrapped data"), QByteArray("Hello, property lists!"));
    expected.insert(QStringLiteral("day only"), QDateTime(QDate(2020, 5, 6), QTime(0, 0), Qt::UTC));
    expected.insert(QStringLiteral("fraction"), QDateTime(QDate(2020, 5, 6), QTime(7, 8, 9), Qt::UTC));
    expected.insert(QStringLiteral("entities"), QString::fromUtf8("<&>\"' é\r"));
    expected.insert(QStringLiteral("cdata"), QStringLiteral("a <b> c"));
    expected.insert(QStringLiteral("empty"), QStringLiteral(""));
    const QByteArray xml = document("<dict>\n"
                                    "  <!-- a comment between entries -->\n"
                                    "  <key>hex</key><integer>0xFF</integer>\n"
                                    "  <key>spaced</key><integer> -42 </integer>\n"
                                    "  <key>big</key><integer>123456789012345</integer>\n"
                                    "  <key>inf</key><real>+inf</real>\n"
                                    "  <key>exp</key><real>1.5E-7</real>\n"
                                    "  <key>wrapped data</key><data>\n\tSGVsbG8sIHByb3Bl\n\tcnR5IGxpc3RzIQ==\n</data>\n"
                                    "  <key>day only</key><date>2020-05-06Z</date>\n"
                                    "  <key>fraction</key><date>2020-05-06T07:08:09.75Z</date>\n"
                                    "  <key>entities</key><string>&lt;&amp;&gt;&quot;&apos; &#xE9;&#13;</string>\n"
                                    "  <key>cdata</key><string><![CDATA[a <b> c]]></string>\n"
                                    "  <key>empty</key><string/>\n"
                                    "</dict>");
    QString error;
    const auto value = readXml(xml, &error);
    ASSERT_TRUE(value.has_value()) << error.toStdString();
    EXPECT_EQ(*value, PlistValue(expected));
    EXPECT_FALSE(value->toDict().find(QStringLiteral("empty"))->toString().isNull());

    // A document whose root element is the value itself.
    EXPECT_EQ(readXml("<array><true/><false/></array>"), PlistValue(PlistArray { true, false }));
}

TEST(PlistXmlReader, RefusesDocumentsOutsideTheFormat)
{
    const std::vector<std::pair<QByteArray, const char*>> cases = {
        { document("<key>lonely</key>"), "outside" },
        { document("<array><key>k</key></array>"), "outside" },
        { document("<dict><key>a</key></dict>"), "without a value" },
        { document("<dict><key>a</key><key>b</key><string>x</string></dict>"), "without a value" },
        { document("<dict><string>no key</string></dict>"), "without a key" },
        { document("<dict><key>a</key><string>1</string><string>2</string></dict>"), "without a key" },
        { document("<array><blob/></array>"), "unknown element" },
        { document("<blob><string>inside</string></blob>"), "unknown element" },
        { document("<array>loose text</array>"), "text inside" },
        { document("<dict>loose text</dict>"), "text inside" },
        { document("<true>yes</true>"), "text inside" },
        { document("<string>a<b/>c</string>"), "unexpected element" },
        { document("<key>k</key><string>1</string>"), "outside" },
        { document("<integer>12abc</integer>"), "integer" },
        { document("<integer>9223372036854775808</integer>"), "integer" },
        { document("<integer>0x10000000000000000</integer>"), "integer" },
        { document("<integer></integer>"), "integer" },
        { document("<real>1.2.3</real>"), "real" },
        { document("<data>not base64!</data>"), "base64" },
        { document("<date>2024-13-01T00:00:00Z</date>"), "date" },
        { document("<date>2024-01-01T00:00:00</date>"), "date" },
        { document("<string>one</string><string>two</string>"), "more than one" },
        { document(""), "no value" },
        { document("<string>&undeclared;</string>"), "ndeclared" },
        { "<plist><string>never closed</plist>", "" },
        { "<plist><string>bad \xC3\x28 utf-8</string></plist>", "" },
        { "<plist><string>control &#1; reference</string></plist>", "" },
        { "", "" },
        { "just text", "" },
    };
    for (const auto& [xml, reasonPart] : cases) {
        QString error;
        EXPECT_FALSE(readXml(xml, &error).has_value()) << xml.toStdString();
        EXPECT_FALSE(error.isEmpty()) << xml.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(reasonPart), Qt::CaseInsensitive))
            << xml.toStdString() << " gave: " << error.toStdString();
    }
}

TEST(PlistXmlReader, ExpandsNoEntityBombAndLimitsNesting)
{
    QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [\n<!ENTITY a0 \"0123456789abcdef\">\n";
    for (int i = 1; i < 12; ++i)
        bomb += QStringLiteral("<!ENTITY a%1 \"%2\">\n")
                    .arg(i)
                    .arg(QStringLiteral("&a%1;").arg(i - 1).repeated(10))
                    .toLatin1();
    bomb += "]>\n<plist><string>&a11;</string></plist>";
    EXPECT_FALSE(readXml(bomb).has_value());

    auto nested = [](int levels) {
        return document(QByteArray("<array>").repeated(levels) + QByteArray("</array>").repeated(levels));
    };
    QString error;
    EXPECT_TRUE(readXml(nested(500), &error).has_value()) << error.toStdString();
    EXPECT_FALSE(readXml(nested(600), &error).has_value());
    EXPECT_TRUE(error.contains(QLatin1String("deeply"))) << error.toStdString();
}

TEST(PlistXmlReader, WriterKeepsCarriageReturnsAndReplacesCharactersXmlCannotHold)
{
    const QString text = QString::fromUtf8("a\r\nb\rc\td") + QChar(0x0001) + QChar(0xD800) + QStringLiteral("e");
    const QByteArray xml = PropertyList::toXml(PlistValue(text));
    const auto back = readXml(xml);
    ASSERT_TRUE(back.has_value()) << xml.toStdString();
    EXPECT_EQ(
        back->toString(), QString::fromUtf8("a\r\nb\rc\td") + QChar(0xFFFD) + QChar(0xFFFD) + QStringLiteral("e"));
}
