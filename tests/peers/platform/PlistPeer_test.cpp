// Our property lists against Python's plistlib: it must read what we write, and we must read what it
// writes, values, types and key order alike.
#include "platform/PropertyList.h"

#include "platform/PlistSamples.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <gtest/gtest.h>

#include <cstring>

using platform::PlistArray;
using platform::PlistDict;
using platform::PlistValue;
namespace PropertyList = platform::PropertyList;

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

// Prints a property list as tagged JSON that keeps types, exact numbers and key order.
// "load PATH FORMAT" reads a file; "dump XML BINARY" writes a sample of plistlib's own in both formats
// (keys unsorted) and prints that sample.
const char* const kScript = R"PY(
import base64, datetime, json, math, plistlib, struct, sys

def tagged(v):
    if isinstance(v, bool): return ["bool", v]
    if isinstance(v, int): return ["integer", str(v)]
    if isinstance(v, float): return ["real", struct.pack(">d", v).hex()]
    if isinstance(v, str): return ["string", v]
    if isinstance(v, bytes): return ["data", base64.b64encode(v).decode()]
    if isinstance(v, datetime.datetime):
        return ["date", str((v - datetime.datetime(1970, 1, 1)) // datetime.timedelta(milliseconds=1))]
    if isinstance(v, list): return ["array", [tagged(x) for x in v]]
    if isinstance(v, dict): return ["dict", [[k, tagged(x)] for k, x in v.items()]]
    if isinstance(v, plistlib.UID): return ["integer", str(v.data)]
    raise TypeError(type(v))

if sys.argv[1] == "load":
    fmt = plistlib.FMT_XML if sys.argv[3] == "xml" else plistlib.FMT_BINARY
    with open(sys.argv[2], "rb") as f:
        value = plistlib.load(f, fmt=fmt)
else:
    # No -0.0: plistlib's binary writer stores it as the equal 0.0 it already has.
    shared = "shared text value"
    value = {
        "zeta": 1, "alpha": 2, "Mid": 3, "ёж": 4, "😀 key": 5,
        "integers": [0, 1, 255, 256, 65535, 65536, 2**32 - 1, 2**32, 2**40, -1, -2**63, 2**63 - 1],
        "reals": [0.0, 0.1, math.pi, 1e300, 5e-324, float("inf"), -float("inf"), -2.5],
        "strings": ["Grüße, Привет, 😀", "", "a < b & c", "x" * 1000, shared, shared, shared],
        "data": [b"", bytes(range(256)), b"\0" * 70000],
        "dates": [datetime.datetime(2024, 2, 29, 13, 14, 15), datetime.datetime(1969, 7, 20, 20, 17, 40),
                  datetime.datetime(2001, 1, 1)],
        "booleans": [True, False],
        "nested": {"empty list": [], "empty dict": {}, "deep": [[[{"b": "z", "a": "y"}]]]},
        "wide": {"k%03d" % ((i * 37) % 100): i for i in range(100)},
        "long array": list(range(300)),
    }
    with open(sys.argv[2], "wb") as f:
        plistlib.dump(value, f, fmt=plistlib.FMT_XML, sort_keys=False)
    with open(sys.argv[3], "wb") as f:
        plistlib.dump(value, f, fmt=plistlib.FMT_BINARY, sort_keys=False)
print(json.dumps(tagged(value), ensure_ascii=True))
)PY";

QJsonValue tagged(const PlistValue& value)
{
    auto pair = [](const char* tag, const QJsonValue& v) { return QJsonArray { QString::fromLatin1(tag), v }; };
    switch (value.type()) {
    case PlistValue::Type::Boolean:
        return pair("bool", value.toBool());
    case PlistValue::Type::Integer:
        return pair("integer", QString::number(value.toInteger()));
    case PlistValue::Type::Real: {
        const double d = value.toReal();
        quint64 bits;
        std::memcpy(&bits, &d, sizeof bits);
        return pair("real", QStringLiteral("%1").arg(bits, 16, 16, QLatin1Char('0')));
    }
    case PlistValue::Type::String:
        return pair("string", value.toString());
    case PlistValue::Type::Data:
        return pair("data", QString::fromLatin1(value.toData().toBase64()));
    case PlistValue::Type::Date:
        return pair("date", QString::number(value.toDate().toMSecsSinceEpoch()));
    case PlistValue::Type::Array: {
        QJsonArray elements;
        for (const PlistValue& element : value.toArray())
            elements.append(tagged(element));
        return pair("array", elements);
    }
    case PlistValue::Type::Dict: {
        QJsonArray entries;
        for (const auto& [key, element] : value.toDict())
            entries.append(QJsonArray { key, tagged(element) });
        return pair("dict", entries);
    }
    case PlistValue::Type::Invalid:
        break;
    }
    return QJsonValue();
}

// Compact JSON text of both sides; on a mismatch, where they first differ, with a little context.
testing::AssertionResult sameJson(const QJsonValue& seen, const QJsonValue& expected)
{
    const QByteArray a = QJsonDocument(seen.toArray()).toJson(QJsonDocument::Compact);
    const QByteArray b = QJsonDocument(expected.toArray()).toJson(QJsonDocument::Compact);
    if (a == b)
        return testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const qsizetype from = std::max<qsizetype>(0, at - 80);
    return testing::AssertionFailure() << "first difference at " << at << "\n  got:      ..."
                                       << a.mid(from, 160).toStdString() << "\n  expected: ..."
                                       << b.mid(from, 160).toStdString();
}

class PlistPeer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(kPython).isExecutable())
            << "/usr/bin/python3 with plistlib is needed for this test (tools/deps.sh installs it)";
        folder_ = testsupport::makeTempFolder(QStringLiteral("plist-peer"));
    }

    // Runs the script and returns its JSON output, failing the test when it does not run cleanly.
    QJsonValue python(const QStringList& arguments)
    {
        QString out, err;
        const int code = testsupport::runProgram(
            kPython, QStringList { QStringLiteral("-c"), QString::fromUtf8(kScript) } + arguments, &out, &err);
        EXPECT_EQ(code, 0) << err.toStdString();
        QJsonParseError parseError;
        const QJsonDocument json = QJsonDocument::fromJson(out.toUtf8(), &parseError);
        EXPECT_EQ(parseError.error, QJsonParseError::NoError) << out.toStdString();
        return json.array();
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder_ + QLatin1Char('/') + name;
        QSaveFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit());
        return path;
    }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString folder_;
};

} // namespace

TEST_F(PlistPeer, PlistlibReadsOurFilesWithTypesAndKeyOrder)
{
    PlistDict value = plistsamples::everyType().toDict();
    // Many distinct objects and a large blob: two-byte references and four-byte offsets in the binary form.
    PlistArray manyNumbers;
    for (int i = 0; i < 1000; ++i)
        manyNumbers.emplace_back(qint64(i) * 1000003);
    value.insert(QStringLiteral("many numbers"), manyNumbers);
    const QJsonValue expected = tagged(value);

    for (const auto& [format, name] :
        { std::pair { PropertyList::Format::Xml, "xml" }, std::pair { PropertyList::Format::Binary, "binary" } }) {
        SCOPED_TRACE(name);
        const QString path
            = write(QStringLiteral("ours.%1").arg(QLatin1String(name)), PropertyList::toBytes(value, format));
        const QJsonValue seen = python({ QStringLiteral("load"), path, QString::fromLatin1(name) });
        EXPECT_TRUE(sameJson(seen, expected));
        // Spot checks that do not depend on both sides agreeing on the tagging.
        const QJsonArray entries = seen.toArray().at(1).toArray();
        ASSERT_GE(entries.size(), 3);
        EXPECT_EQ(entries.at(0).toArray().at(0).toString(), QStringLiteral("strings"));
        EXPECT_EQ(entries.at(1).toArray().at(0).toString(), QStringLiteral("integers"));
        EXPECT_EQ(entries.at(0).toArray().at(1).toArray().at(1).toArray().at(2).toArray().at(1).toString(),
            QString::fromUtf8("Grüße, Привет, 😀"));
    }
}

TEST_F(PlistPeer, WeReadPlistlibFilesWithTypesAndKeyOrder)
{
    const QString xmlPath = folder_ + QStringLiteral("/theirs.xml");
    const QString binaryPath = folder_ + QStringLiteral("/theirs.bin");
    const QJsonValue expected = python({ QStringLiteral("dump"), xmlPath, binaryPath });
    for (const QString& path : { xmlPath, binaryPath }) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        const auto value = PropertyList::fromBytes(read(path), &error);
        ASSERT_TRUE(value.has_value()) << error.toStdString();
        EXPECT_TRUE(sameJson(tagged(*value), expected));

        const PlistDict& dict = value->toDict();
        const std::vector<QString> keys = dict.keys();
        ASSERT_GE(keys.size(), 5u);
        const std::vector<QString> firstKeys(keys.begin(), keys.begin() + 5);
        EXPECT_EQ(firstKeys,
            (std::vector<QString> { QStringLiteral("zeta"), QStringLiteral("alpha"), QStringLiteral("Mid"),
                QString::fromUtf8("ёж"), QString::fromUtf8("😀 key") }));
        EXPECT_EQ(
            dict.find(QStringLiteral("strings"))->toArray().at(0).toString(), QString::fromUtf8("Grüße, Привет, 😀"));
        EXPECT_EQ(
            dict.find(QStringLiteral("integers"))->toArray().at(10).toInteger(), std::numeric_limits<qint64>::min());
        EXPECT_EQ(dict.find(QStringLiteral("dates"))->toArray().at(0).toDate(),
            QDateTime(QDate(2024, 2, 29), QTime(13, 14, 15), Qt::UTC));
    }
}

TEST_F(PlistPeer, NumbersBeyondSixtyFourBitsAreRefusedAndIdentifiersRead)
{
    const QString script = QStringLiteral(
        "import plistlib, sys\n"
        "open(sys.argv[1], 'wb').write(plistlib.dumps([2**64 - 1], fmt=plistlib.FMT_XML))\n"
        "open(sys.argv[2], 'wb').write(plistlib.dumps([2**64 - 1], fmt=plistlib.FMT_BINARY))\n"
        "open(sys.argv[3], 'wb').write(plistlib.dumps({'$top': plistlib.UID(300)}, fmt=plistlib.FMT_BINARY))\n");
    const QString big1 = folder_ + QStringLiteral("/big.xml"), big2 = folder_ + QStringLiteral("/big.bin");
    const QString uid = folder_ + QStringLiteral("/uid.bin");
    QString err;
    ASSERT_EQ(testsupport::runProgram(kPython, { QStringLiteral("-c"), script, big1, big2, uid }, nullptr, &err), 0)
        << err.toStdString();
    for (const QString& path : { big1, big2 }) {
        QString error;
        EXPECT_FALSE(PropertyList::fromBytes(read(path), &error).has_value()) << path.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    const auto identifiers = PropertyList::fromBytes(read(uid));
    ASSERT_TRUE(identifiers.has_value());
    EXPECT_EQ(identifiers->toDict().find(QStringLiteral("$top"))->toInteger(), 300);
}

TEST_F(PlistPeer, CarriageReturnsSurviveOurXmlInPlistlib)
{
    const QString path = write(QStringLiteral("cr.xml"), PropertyList::toXml(PlistValue(QStringLiteral("a\r\nb\rc"))));
    EXPECT_TRUE(sameJson(python({ QStringLiteral("load"), path, QStringLiteral("xml") }),
        QJsonArray { QStringLiteral("string"), QStringLiteral("a\r\nb\rc") }));
}
