// What a hostile or damaged property list can make the readers do: decoded values and memory are
// bounded by the input, shared by every list read from one input, and text read is text written back.
#include "platform/PropertyList.h"
#include "platform/ReadBudget.h"

#include "platform/BinaryPlistBuilder.h"

#include <gtest/gtest.h>

using platform::PlistArray;
using platform::PlistValue;
using platform::ReadBudget;
namespace PropertyList = platform::PropertyList;
namespace pb = plistbuilder;

namespace {

QString reasonFor(const QByteArray& file, ReadBudget* budget = nullptr)
{
    QString error;
    const auto value = PropertyList::fromBytes(file, &error, budget);
    return value ? QString() : error;
}

QByteArray utf16Document(const QString& body)
{
    const QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<plist version=\"1.0\">") + body
        + QStringLiteral("</plist>\n");
    QByteArray out("\xFF\xFE", 2);
    out.append(reinterpret_cast<const char*>(xml.utf16()), xml.size() * 2);
    return out;
}

bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

} // namespace

TEST(ReadBudget, IsSharedByEveryListOfOneInput)
{
    // A few hundred bytes that expand to 62,500 values: within a list's own allowance, so one alone reads.
    const QByteArray expansion = pb::sharedExpansion(250);
    ASSERT_LT(expansion.size(), 1000);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(PropertyList::fromBinary(expansion).has_value());

    // Read as the parts of one 10 KB input, the second one already goes beyond what the input allows.
    ReadBudget budget(10000);
    EXPECT_EQ(reasonFor(expansion, &budget), QString());
    EXPECT_TRUE(reasonFor(expansion, &budget).contains(QLatin1String("too many values")));
    EXPECT_TRUE(budget.exhausted());

    // A larger input allows more, in proportion.
    ReadBudget larger(200000);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(reasonFor(expansion, &larger), QString()) << i;
}

TEST(ReadBudget, SaturatesInsteadOfOverflowing)
{
    ReadBudget huge(~quint64(0));
    EXPECT_EQ(huge.valuesLeft(), ~quint64(0));
    EXPECT_EQ(huge.bytesLeft(), ~quint64(0));
    ReadBudget small(10);
    EXPECT_TRUE(small.spend(10 + ReadBudget::extraValues, 0));
    EXPECT_FALSE(small.spend(1, 0));
    EXPECT_EQ(small.valuesLeft(), 0u);
}

TEST(PlistBinaryReader, MemoryStaysWithinASmallMultipleOfTheInput)
{
    struct Case {
        const char* what;
        QByteArray file;
    };
    // 4 MB of references to one string would become 4 million values of some 40 bytes each.
    const quint64 refs = 4 * 1024 * 1024;
    // Arrays nested 64 deep, each declaring 64 Ki references (the first to the next array, the rest to a
    // string): every level would reserve its slots before reading its first element.
    std::vector<QByteArray> nested;
    const int levels = 64;
    for (int level = 0; level < levels; ++level) {
        QByteArray array = pb::marker(0xA0, 65536);
        array.append(char(level + 1));
        array.append(QByteArray(65535, char(levels)));
        nested.push_back(array);
    }
    nested.push_back(pb::ascii("x"));
    const std::vector<Case> cases = {
        { "references to one string", pb::assemble({ pb::arrayOf(refs, 1), pb::ascii("shared") }) },
        { "nested long arrays", pb::assemble(nested) },
    };
    for (const Case& c : cases) {
        ReadBudget budget(quint64(c.file.size()));
        const quint64 allowed = budget.bytesLeft();
        EXPECT_TRUE(reasonFor(c.file, &budget).contains(QLatin1String("memory"))) << c.what;
        EXPECT_LE(allowed, quint64(c.file.size()) * ReadBudget::bytesPerInputByte + ReadBudget::extraBytes);
        EXPECT_TRUE(reasonFor(c.file).contains(QLatin1String("memory"))) << c.what << " read on its own";
    }
}

TEST(PropertyList, TextWithLoneSurrogatesIsWrittenAsTextThatReadsBack)
{
    const QChar high(char16_t(0xD83D));
    const QChar low(char16_t(0xDE00));
    const QChar replacement(char16_t(0xFFFD));
    struct Case {
        QString held;
        QString readBack;
    };
    const std::vector<Case> cases = {
        { QStringLiteral("a") + QChar(char16_t(0xDC05)) + QStringLiteral("b"),
            QStringLiteral("a") + replacement + QStringLiteral("b") },
        { QStringLiteral("end") + high, QStringLiteral("end") + replacement },
        { QString(low) + high, QString(replacement) + replacement },
        { QStringLiteral("pair ") + high + low, QStringLiteral("pair ") + high + low },
        { QString(high) + high + low, QString(replacement) + high + low },
    };
    for (const Case& c : cases) {
        for (const auto format : { PropertyList::Format::Binary, PropertyList::Format::Xml }) {
            platform::PlistDict dict;
            dict.insert(c.held, c.held); // as a key and as a value
            QString error;
            const auto back = PropertyList::fromBytes(PropertyList::toBytes(dict, format), &error);
            ASSERT_TRUE(back.has_value()) << error.toStdString();
            ASSERT_EQ(back->toDict().size(), 1u);
            EXPECT_EQ(back->toDict().begin()->first, c.readBack);
            EXPECT_EQ(back->toDict().begin()->second.toString(), c.readBack);
        }
    }
}

TEST(PlistXmlReader, DocumentsInOtherEncodingsNeverYieldLoneSurrogates)
{
    // Declared UTF-7, whose "+3AU-" would decode to a lone low surrogate: an encoding this reader refuses.
    const QByteArray utf7 = "<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n<plist><string>a+3AU-b</string></plist>";
    EXPECT_TRUE(reasonFor(utf7).contains(QLatin1String("encoding"))) << reasonFor(utf7).toStdString();

    // UTF-16 is read, but a surrogate without its partner never reaches the program as such.
    const QString lone = QStringLiteral("<string>a") + QChar(char16_t(0xDC05)) + QStringLiteral("b</string>");
    QString error;
    const auto value = PropertyList::fromXml(utf16Document(lone), &error);
    if (value) {
        EXPECT_FALSE(hasLoneSurrogate(value->toString()));
        const auto binary = PropertyList::fromBinary(PropertyList::toBinary(*value));
        ASSERT_TRUE(binary.has_value());
        EXPECT_EQ(*binary, *value);
    } else {
        EXPECT_FALSE(error.isEmpty());
    }

    // Well-formed UTF-16 and Latin-1 documents read as before.
    const auto good = PropertyList::fromXml(utf16Document(QString::fromUtf8("<string>Grüße 😀</string>")), &error);
    ASSERT_TRUE(good.has_value()) << error.toStdString();
    EXPECT_EQ(good->toString(), QString::fromUtf8("Grüße 😀"));
    const auto latin1 = PropertyList::fromXml("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><plist><string>Gr\xFC\xDF"
                                              "e</string></plist>",
        &error);
    ASSERT_TRUE(latin1.has_value()) << error.toStdString();
    EXPECT_EQ(latin1->toString(), QString::fromUtf8("Grüße"));
}

TEST(PlistXmlReader, DeclaredEntitiesEndTheRead)
{
    struct Case {
        QByteArray xml;
        const char* reasonPart;
    };
    const std::vector<Case> cases = {
        { "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [\n<!ENTITY ext SYSTEM \"file:///etc/hostname\">\n]>\n"
          "<plist><string>before&ext;after</string></plist>",
            "external entity" },
        { "<!DOCTYPE plist [<!ENTITY pub PUBLIC \"-//x//y\" \"http://example.invalid/e\">]>"
          "<plist><string>&pub;</string></plist>",
            "external entity" },
        { "<!DOCTYPE plist [<!ENTITY inner \"text\">]><plist><string>&inner;</string></plist>", "entity" },
        { "<plist><string>before&ext;after</string></plist>", "undeclared entity &ext;" },
        { "<plist><string>a & b</string></plist>", "'&'" },
        { "<plist><string>&#xD800;</string></plist>", "character reference" },
    };
    for (const Case& c : cases) {
        const QString reason = reasonFor(c.xml);
        EXPECT_TRUE(reason.contains(QLatin1String(c.reasonPart)))
            << c.xml.toStdString() << " gave: " << reason.toStdString();
    }
}

TEST(PlistXmlReader, MarkupDenserThanTheInputAllowsIsRefusedBeforeParsing)
{
    auto booleans
        = [](int count) { return "<plist><array>" + QByteArray("<true/>").repeated(count) + "</array></plist>"; };
    // Every element costs a parsed node and a value, some hundred bytes for seven of input.
    QString error;
    const auto small = PropertyList::fromXml(booleans(100000), &error);
    ASSERT_TRUE(small.has_value()) << error.toStdString();
    EXPECT_EQ(small->toArray().size(), 100000u);
    EXPECT_TRUE(reasonFor(booleans(4000000)).contains(QLatin1String("more elements than its size allows")));
}
