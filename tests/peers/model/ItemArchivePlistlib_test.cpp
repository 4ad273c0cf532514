// Python's own plistlib reads the item pasteboard data and the XML form of item archives we write, and
// we read item archives that plistlib writes.
#include "model/TSLGraphic.h"
#include "model/TSLText.h"
#include "platform/KeyedArchive.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

QString writeTemp(const QString& name, const QByteArray& bytes)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("plistlib")) + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// Prints, for each element of the root array: class, key count, the keys joined by commas.
const char* describeItems = R"PY(
import plistlib, sys
with open(sys.argv[1], 'rb') as f:
    root = plistlib.load(f)
assert isinstance(root, list), type(root)
for element in root:
    values = element['$values']
    print(element['$class'], len(values), ','.join(values.keys()))
    print('bounds', values['_bounds'], 'text', values['Text_Value'], 'visible', values['ctrl_is_visible'])
)PY";

} // namespace

TEST(ItemArchivePeer, PlistlibReadsOurItemsWithEveryKeyInOrder)
{
    ASSERT_TRUE(testsupport::havePeer(python)) << "tools/deps.sh installs python3";
    auto text = std::make_shared<TSLText>();
    text->_bounds = QRectF(10, 20, 150, 40);
    text->Text_Value = QString::fromUtf8("Grüße");
    TSLGraphicList items = { text, TSLGraphic::newGraphicOfClass(QStringLiteral("TSLBarcode")) };

    const QString expectedKeys = TSLGraphic::archiveKeys().join(QLatin1Char(','));
    const QByteArray binary = TSLGraphic::pasteboardDataWithGraphics(items);
    platform::PlistArray array;
    for (const auto& archive : TSLGraphic::propertiesWithGraphics(items))
        array.push_back(archive.toPlist());
    const QByteArray xml = platform::PropertyList::toXml(array);

    for (const QByteArray& bytes : { binary, xml }) {
        const QString path = writeTemp(QStringLiteral("items.plist"), bytes);
        ASSERT_FALSE(path.isEmpty());
        QString out, err;
        ASSERT_EQ(testsupport::runProgram(python, { QStringLiteral("-c"), QString::fromUtf8(describeItems), path }, &out, &err), 0)
            << err.toStdString();
        const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 4);
        EXPECT_EQ(lines[0], QStringLiteral("TSLText 93 ") + expectedKeys);
        EXPECT_EQ(lines[1], QString::fromUtf8("bounds [10.0, 20.0, 150.0, 40.0] text Grüße visible True"));
        EXPECT_EQ(lines[2], QStringLiteral("TSLBarcode 93 ") + expectedKeys);
    }
}

TEST(ItemArchivePeer, WeReadItemsThatPlistlibWrites)
{
    ASSERT_TRUE(testsupport::havePeer(python));
    const QString path = testsupport::makeTempFolder(QStringLiteral("plistlib-out")) + QStringLiteral("/items.plist");
    const char* script = R"PY(
import plistlib, sys
item = {'$class': 'Shape_Control', '$values': {
    '_bounds': [5.0, 6.0, 70.0, 30.0], '_shape_type': 'S', 'ctrl_is_visible': True,
    '_fillColor': {'$type': 'color', 'rgba': [1.0, 0.0, 0.0, 1.0]}, 'polygon_type': 3}}
with open(sys.argv[1], 'wb') as f:
    plistlib.dump([item, 'not an item'], f, fmt=plistlib.FMT_BINARY)
)PY";
    QString err;
    ASSERT_EQ(testsupport::runProgram(python, { QStringLiteral("-c"), QString::fromUtf8(script), path }, nullptr, &err), 0)
        << err.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    TSLError* noError = nullptr;
    const auto items = TSLGraphic::graphicsWithPasteboardData(file.readAll(), noError);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 1u);
    const TSLGraphic& shape = *items->front();
    EXPECT_EQ(shape.className(), QStringLiteral("Shape_Control"));
    EXPECT_EQ(shape._bounds, QRectF(5, 6, 70, 30));
    EXPECT_EQ(shape._shape_type, QStringLiteral("S"));
    EXPECT_EQ(shape._fillColor, QColor(Qt::red));
    EXPECT_EQ(shape.polygon_type, 3);
    EXPECT_TRUE(shape.ctrl_is_visible);
    EXPECT_EQ(shape.double_star_type, 0); // missing: zero, not the new-item 1
}
