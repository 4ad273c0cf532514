#include "common/File_Functions.h"
#include "editor/DesignFileSamples.h"
#include "model/TSLDocument.h"
#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QIODevice>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QByteArray itemBytes(const TSLGraphic& item)
{
    platform::KeyedArchive archive;
    item.encodeWithCoder(archive);
    return archive.toBytes();
}

void expectSameItems(const TSLGraphicList& a, const TSLGraphicList& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i]->className(), b[i]->className());
        EXPECT_EQ(itemBytes(*a[i]), itemBytes(*b[i])) << i; // every one of the item's values
    }
}

} // namespace

TEST(DesignFile, SavesAndReopensEqualValueByValue)
{
    DesignFileContent content = designsamples::richDesign();
    content.workbookSheet = QStringLiteral("Sunday");
    content.columnTitles[0] = QStringLiteral("#@3{A,C}"); // the titles the person took from row 3, and the columns
    content.designIdentity = TSLDocument::newDesignIdentity();
    const Card_Design onA6 { QSizeF(419.5, 297.6), QRectF(20, 250.5, 200, 30), 14, QStringLiteral("RSVP") };
    const Item_Card_Designs designs { { onA6, { QSizeF(242.6, 153), QRectF(8, 120, 110, 24), 8.6, {} } }, { onA6 } };
    content.designs.set(content.backItems[0], designs); // the person's design on two card sizes
    const QByteArray bytes = encodeDesignFile(content);
    EXPECT_TRUE(bytes.startsWith("<?xml"));
    QString reason;
    const auto back = decodeDesignFile(bytes, &reason);
    ASSERT_TRUE(back) << reason.toStdString();
    // The opacity is stored with two decimals, so compare records after that rounding.
    EXPECT_EQ(back->front, content.front);
    EXPECT_EQ(back->back, content.back);
    EXPECT_TRUE(back->excelBindingUse);
    EXPECT_EQ(back->excelSourcePath, content.excelSourcePath);
    EXPECT_EQ(back->columnTitles, content.columnTitles);
    EXPECT_EQ(back->workbookSheet, content.workbookSheet);
    EXPECT_EQ(back->designIdentity, content.designIdentity) << "before the titles and the sheet's name";
    Spreadsheet_Binding_Table reopened;
    reopened.setStoredTitles(back->columnTitles);
    EXPECT_EQ(reopened.titleRow(), Title_Row_Choice::sheetRow(3)) << "beside the sheet's name";
    EXPECT_EQ(back->rows, content.rows);
    expectSameItems(back->frontItems, content.frontItems);
    expectSameItems(back->backItems, content.backItems);
    ASSERT_TRUE(back->designs.find(*back->backItems[0]) && !back->designs.find(*back->frontItems[0]));
    EXPECT_EQ(*back->designs.find(*back->backItems[0]), designs);
    EXPECT_EQ(encodeDesignFile(*back), bytes); // saving twice gives the same file
    const Card_Design damaged[]
        = { { QSizeF(0, 9), {}, 14, {} }, { onA6.card, { 2e6, 0, 1, 1 }, 14, {} }, { onA6.card, {}, -1, {} } };
    for (const Card_Design& one : damaged) { // refused, naming the item
        content.designs.set(content.backItems[0], { { one }, {} });
        EXPECT_FALSE(decodeDesignFile(encodeDesignFile(content), &reason));
        EXPECT_TRUE(reason.contains(QStringLiteral("item 0 has a damaged design"))) << reason.toStdString();
    }
}

TEST(DesignFile, EmptyDesignHasSixtyThreeElementsWithZeroCounts)
{
    DesignFileContent content;
    const auto root = platform::PropertyList::fromBytes(encodeDesignFile(content));
    ASSERT_TRUE(root && root->isArray());
    const platform::PlistArray& elements = root->toArray();
    ASSERT_EQ(elements.size(), 63u);
    EXPECT_EQ(elements[0].toString(), QStringLiteral("MORVENTALISPRENQUADEX"));
    EXPECT_EQ(elements[13].toString(), QStringLiteral("1.00")); // opacity with two decimals
    EXPECT_EQ(elements[19].toString(), QStringLiteral("{0, 0}"));
    EXPECT_EQ(elements[57].toString(), QStringLiteral("N"));
    EXPECT_EQ(elements[61].toString(), QStringLiteral("0"));
    EXPECT_EQ(elements[62].toString(), QStringLiteral("0"));
}

TEST(DesignFile, BackgroundPathSurvivesOnlyWithThePictureFill)
{
    Card_Property side;
    side.setCard_BG_Image_Path(QStringLiteral("/pictures/beach.jpg"));
    side.setCard_fill_style(QStringLiteral("I"));
    clearUnusedBackgroundPath(side);
    EXPECT_EQ(side.Card_BG_Image_Path(), QStringLiteral("/pictures/beach.jpg"));
    side.setCard_fill_style(QStringLiteral("S"));
    clearUnusedBackgroundPath(side);
    EXPECT_EQ(side.Card_BG_Image_Path(), QStringLiteral(""));
}

TEST(DesignFile, RefusesDamagedFiles)
{
    const QByteArray good = encodeDesignFile(designsamples::richDesign());
    const auto root = platform::PropertyList::fromBytes(good);
    ASSERT_TRUE(root);
    const platform::PlistArray elements = root->toArray();
    auto refused = [](const platform::PlistArray& array) {
        return !decodeDesignFile(platform::PropertyList::toXml(array)).has_value();
    };

    EXPECT_FALSE(decodeDesignFile(QByteArray("plain text, not a design")).has_value());
    EXPECT_FALSE(decodeDesignFile(QByteArray()).has_value());
    EXPECT_TRUE(refused({}));
    EXPECT_TRUE(refused({ platform::PlistValue(42) }));

    platform::PlistArray wrongSignature = elements;
    wrongSignature[0] = QStringLiteral("MORVENTALISPRENQUADEY");
    EXPECT_TRUE(refused(wrongSignature));

    platform::PlistArray truncated(elements.begin(), elements.end() - 1);
    EXPECT_TRUE(refused(truncated));

    platform::PlistArray extra = elements;
    extra.push_back(QStringLiteral("stray"));
    EXPECT_TRUE(refused(extra));

    platform::PlistArray reordered = elements;
    std::swap(reordered[2], reordered[3]); // a colour where a number belongs
    EXPECT_TRUE(refused(reordered));

    platform::PlistArray hugeCount = elements;
    hugeCount[61] = QStringLiteral("4000000000");
    EXPECT_TRUE(refused(hugeCount));
    hugeCount[61] = QStringLiteral("-1");
    EXPECT_TRUE(refused(hugeCount));

    platform::PlistArray badSize = elements;
    badSize[19] = QStringLiteral("{nan, 5}");
    EXPECT_TRUE(refused(badSize));
    badSize[19] = QStringLiteral("{1e300, 5}");
    EXPECT_TRUE(refused(badSize));

    platform::PlistArray badRows = elements;
    badRows[60] = platform::PlistArray { QStringLiteral("not a row") };
    EXPECT_TRUE(refused(badRows));

    platform::PlistArray unknownItem = elements;
    unknownItem[62] = platform::KeyedArchive(QStringLiteral("NSWindow")).toBytes();
    EXPECT_TRUE(refused(unknownItem));
}

TEST(DesignFile, RefusesItemSizesNoCardCanHoldAndRowsOfUnknownColumns)
{
    const DesignFileContent good = designsamples::richDesign();
    ASSERT_TRUE(decodeDesignFile(encodeDesignFile(good)).has_value());

    const struct {
        const char* what;
        QRectF bounds;
        bool accepted;
    } sizes[] = {
        { "negative width", QRectF(10, 10, -5, 30), false },
        { "negative height", QRectF(10, 10, 40, -0.5), false },
        { "width past a million points", QRectF(0, 0, 1000000.5, 30), false },
        { "height past a million points", QRectF(0, 0, 30, 2e9), false },
        { "flat line", QRectF(10, 10, 80, 0), true },
        { "a million points exactly", QRectF(0, 0, 1000000, 1000000), true },
    };
    for (const auto& entry : sizes) {
        for (bool front : { true, false }) {
            DesignFileContent changed = designsamples::richDesign();
            TSLGraphicList& items = front ? changed.frontItems : changed.backItems;
            items[2]->_bounds = entry.bounds;
            QString reason;
            const auto read = decodeDesignFile(encodeDesignFile(changed), &reason);
            EXPECT_EQ(read.has_value(), entry.accepted) << entry.what << (front ? " (front)" : " (back)");
            if (!entry.accepted) {
                EXPECT_TRUE(reason.contains(QStringLiteral("width or height"))) << reason.toStdString();
            }
        }
    }

    // Three titles give the data columns Column1 and Column2; any other key matches no column.
    const struct {
        const char* what;
        QString key;
        bool accepted;
    } keys[] = {
        { "last data column", QStringLiteral("Column2"), true },
        { "column past the titles", QStringLiteral("Column3"), false },
        { "the first column by number", QStringLiteral("Column0"), false },
        { "lower case", QStringLiteral("column1"), false },
        { "a title instead of an identifier", QStringLiteral("Name"), false },
        { "empty key", QString(), false },
    };
    for (const auto& entry : keys) {
        DesignFileContent changed = designsamples::richDesign();
        changed.rows[1].insert(entry.key, QStringLiteral("x"));
        EXPECT_EQ(decodeDesignFile(encodeDesignFile(changed)).has_value(), entry.accepted) << entry.what;
    }
    DesignFileContent noTitles = designsamples::richDesign();
    noTitles.columnTitles.clear(); // rows with data columns but no titles name nothing
    EXPECT_FALSE(decodeDesignFile(encodeDesignFile(noTitles)).has_value());
    noTitles.rows = { { { QStringLiteral("Extension"), QStringLiteral("1") } } };
    EXPECT_TRUE(decodeDesignFile(encodeDesignFile(noTitles)).has_value());
}

TEST(DesignFile, RandomDamageNeverCrashesAndIsRefusedOrReadWhole)
{
    const QByteArray good = encodeDesignFile(designsamples::richDesign());
    QRandomGenerator random(20261207);
    int refusedCount = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = good;
        const int edits = 1 + int(random.bounded(8));
        for (int e = 0; e < edits; ++e)
            damaged[int(random.bounded(damaged.size()))] = char(random.bounded(256));
        if (round % 10 == 0)
            damaged.truncate(int(random.bounded(damaged.size())));
        const auto read = decodeDesignFile(damaged);
        if (!read) {
            ++refusedCount;
            continue;
        }
        // Whatever is accepted is a whole design that saves again.
        EXPECT_FALSE(encodeDesignFile(*read).isEmpty());
    }
    EXPECT_GT(refusedCount, 0);
}

TEST(DesignFile, InterruptedSaveLeavesTheOldFileReadable)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("design-save")) + QStringLiteral("/card.dcard");
    const QByteArray first = encodeDesignFile(designsamples::richDesign());
    ASSERT_TRUE(writeDesignFile(path, first));

    // The second save stops half-way through its bytes.
    const QByteArray second = encodeDesignFile(DesignFileContent {});
    QString error;
    EXPECT_FALSE(saveFileAtomically(
        path, [&](QIODevice& file) { return file.write(second.left(second.size() / 2)) > 0 && false; }, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray onDisk = file.readAll();
    EXPECT_EQ(onDisk, first);
    EXPECT_TRUE(decodeDesignFile(onDisk).has_value());
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).size(), 1); // no temporary left

    // A save into a folder that does not exist fails and says so.
    EXPECT_FALSE(writeDesignFile(path + QStringLiteral(".missing/x.dcard"), first, &error));
}

TEST(DesignFile, PointAndSizeTextForms)
{
    EXPECT_EQ(stringFromSize(QSizeF(242.65, 153.07)), QStringLiteral("{242.65000000000001, 153.06999999999999}"));
    EXPECT_EQ(sizeFromString(QStringLiteral("{242.65, 153.07}")), QSizeF(242.65, 153.07));
    EXPECT_EQ(pointFromString(QStringLiteral(" { -3 , 4.5 } ")), QPointF(-3, 4.5));
    EXPECT_FALSE(pointFromString(QStringLiteral("{1, 2, 3}")));
    EXPECT_FALSE(pointFromString(QStringLiteral("1, 2")));
}
