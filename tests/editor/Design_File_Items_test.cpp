// A design of many items reads back whole and in order, and a damaged one is refused for its first bad
// item in file order, however the items are shared out among threads while reading.
#include "editor/DesignFileSamples.h"
#include "editor/Design_File_Format.h"
#include "model/TSLBarcode.h"
#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int firstItemElement = 62; // after the fixed elements and the front count

// Many items, each told apart by its position and size.
DesignFileContent manyItems(int count)
{
    DesignFileContent content = designsamples::richDesign();
    const TSLGraphicList pattern = content.frontItems;
    content.frontItems.clear();
    for (int i = 0; i < count; ++i) {
        TSLGraphicPtr item = pattern[std::size_t(i) % pattern.size()]->copyWithZone();
        item->_bounds = QRectF(i % 200, i / 200, 10 + i % 17, 5 + i % 13);
        content.frontItems.push_back(item);
    }
    return content;
}

} // namespace

TEST(DesignFileItems, ManyItemsComeBackInTheirOrder)
{
    const DesignFileContent content = manyItems(1500);
    QString reason;
    const auto back = decodeDesignFile(encodeDesignFile(content), &reason);
    ASSERT_TRUE(back) << reason.toStdString();
    ASSERT_EQ(back->frontItems.size(), content.frontItems.size());
    for (std::size_t i = 0; i < content.frontItems.size(); ++i) {
        ASSERT_EQ(back->frontItems[i]->className(), content.frontItems[i]->className()) << i;
        ASSERT_EQ(back->frontItems[i]->bounds(), content.frontItems[i]->bounds()) << i;
    }
    EXPECT_EQ(encodeDesignFile(*back), encodeDesignFile(content)); // saved again, the same file
}

TEST(DesignFileItems, TheFirstDamagedItemInFileOrderIsNamed)
{
    const QByteArray good = encodeDesignFile(manyItems(1000));
    const platform::PlistArray elements = platform::PropertyList::fromBytes(good)->toArray();
    const struct {
        std::vector<int> damaged;
        const char* named;
    } cases[] = {
        { { 900 }, "item 900 " },
        { { 40, 910 }, "item 40 " },
        { { 999, 500, 130 }, "item 130 " },
        { { 0 }, "item 0 " },
    };
    for (const auto& entry : cases) {
        platform::PlistArray damaged = elements;
        for (int item : entry.damaged)
            damaged[std::size_t(firstItemElement + item)]
                = platform::KeyedArchive(QStringLiteral("NSWindow")).toBytes();
        QString reason;
        EXPECT_FALSE(decodeDesignFile(platform::PropertyList::toXml(damaged), &reason).has_value());
        EXPECT_TRUE(reason.startsWith(QLatin1String(entry.named))) << reason.toStdString();
    }

    platform::PlistArray notAnArchive = elements;
    notAnArchive[firstItemElement + 700] = QStringLiteral("text where an item belongs");
    QString reason;
    EXPECT_FALSE(decodeDesignFile(platform::PropertyList::toXml(notAnArchive), &reason).has_value());
    EXPECT_EQ(reason, QStringLiteral("an item is not an archive"));
}

TEST(DesignFileItems, ABarcodeWithASizeOf0IsRefused)
{
    const std::pair<const char*, std::function<void(TSLGraphic&)>> cases[] = {
        { "none", [](TSLGraphic&) { } },
        { "bar width", [](TSLGraphic& g) { g.linear_width_val = 0.0f; } },
        { "bar height", [](TSLGraphic& g) { g.linear_height_val = 0.0f; } },
        { "QR side", [](TSLGraphic& g) { g.qr_size_val = 0; } },
        { "PDF417 width", [](TSLGraphic& g) { g.pdf_wdt_val = -5; } },
        { "DataMatrix module", [](TSLGraphic& g) { g.dm_module_val = 0; } },
    };
    for (const auto& [name, damage] : cases) {
        DesignFileContent content = designsamples::richDesign();
        auto barcode = std::make_shared<TSLBarcode>();
        barcode->_bounds = QRectF(10, 10, 100, 40);
        damage(*barcode);
        content.frontItems = { barcode };
        QString reason;
        const bool read = decodeDesignFile(encodeDesignFile(content), &reason).has_value();
        EXPECT_EQ(read, QLatin1String(name) == QLatin1String("none")) << name;
        if (!read) {
            EXPECT_EQ(reason, QStringLiteral("item 0 is a barcode with a size of 0")) << name;
        }
    }
}
