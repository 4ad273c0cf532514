// Designs that open always save and reopen, no small design file can make opening take long or hold much
// memory, and saves leave nothing of their own beside the design.
#include "editor/DesignFileSamples.h"
#include "model/TSLError.h"
#include "model/TSLText.h"
#include "platform/CheckedSave.h"
#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include "platform/BinaryPlistBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pb = plistbuilder;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A text item's archive with one more value: two arrays of 250 references that expand to 62,500 values
// in a few hundred bytes. Each archive alone stays within what its own size would allow.
QByteArray expandingItemArchive()
{
    // {"$class": "TSLText", "$values": {"padding": [[x * 250] * 250]}}
    std::vector<QByteArray> objects = {
        pb::marker(0xD0, 2) + pb::bytes({ 1, 2, 3, 4 }), // root dict: keys 1, 2; values 3, 4
        pb::ascii("$class"),
        pb::ascii("$values"),
        pb::ascii("TSLText"),
        pb::marker(0xD0, 1) + pb::bytes({ 5, 6 }), // values dict: "padding" -> outer array
        pb::ascii("padding"),
        pb::arrayOf(250, 7),
        pb::arrayOf(250, 8),
        pb::ascii("x"),
    };
    return pb::assemble(objects);
}

} // namespace

TEST(DesignFileLimits, SharedReferencesAreBoundedForTheWholeDesign)
{
    const QByteArray archive = expandingItemArchive();
    ASSERT_TRUE(platform::KeyedArchive::fromBytes(archive).has_value()) << "one such item alone reads";

    platform::PlistArray elements
        = platform::PropertyList::fromBytes(encodeDesignFile(DesignFileContent {}))->toArray();
    const int items = 200;
    elements[61] = QString::number(items);
    for (int i = 0; i < items; ++i)
        elements.insert(elements.begin() + 62 + i, platform::PlistValue(archive));
    const QByteArray file = platform::PropertyList::toXml(elements);
    ASSERT_LT(file.size(), 400 * 1024);

    // 200 items of 62,500 values each would be 12.5 million values from some 200 KB.
    QString reason;
    EXPECT_FALSE(decodeDesignFile(file, &reason).has_value());
    EXPECT_TRUE(reason.contains(QLatin1String("beyond what its size allows"))) << reason.toStdString();

    // A few such items stay within the design's allowance.
    platform::PlistArray few = platform::PropertyList::fromBytes(encodeDesignFile(DesignFileContent {}))->toArray();
    few[61] = QStringLiteral("1");
    few.insert(few.begin() + 62, platform::PlistValue(archive));
    EXPECT_TRUE(decodeDesignFile(platform::PropertyList::toXml(few), &reason).has_value()) << reason.toStdString();
}

TEST(DesignFileLimits, ARealDesignStaysWellWithinItsAllowance)
{
    // The allowance must never refuse what the program writes: a design of many items of every kind.
    DesignFileContent content = designsamples::richDesign();
    const TSLGraphicList pattern = content.frontItems;
    for (int copy = 0; copy < 150; ++copy)
        content.frontItems.insert(content.frontItems.end(), pattern.begin(), pattern.end());
    const QByteArray file = encodeDesignFile(content);
    QString reason;
    const auto back = decodeDesignFile(file, &reason);
    ASSERT_TRUE(back.has_value()) << reason.toStdString();
    EXPECT_EQ(back->frontItems.size(), content.frontItems.size());
}

TEST(DesignFileLimits, TextWithALoneSurrogateSavesAndReopens)
{
    DesignFileContent content;
    auto text = std::make_shared<TSLText>();
    text->setBounds(QRectF(10, 10, 100, 30));
    text->Text_Value = QStringLiteral("Happy ") + QChar(char16_t(0xD83D)) + QStringLiteral(" day");
    content.frontItems.push_back(text);

    const QString path = testsupport::makeTempFolder(QStringLiteral("lone-surrogate")) + QStringLiteral("/card.dcard");
    ASSERT_TRUE(writeDesignFile(path, encodeDesignFile(content)));
    QString reason;
    const auto back = decodeDesignFile(readFile(path), &reason);
    ASSERT_TRUE(back.has_value()) << reason.toStdString();
    ASSERT_EQ(back->frontItems.size(), 1u);
    EXPECT_EQ(
        back->frontItems[0]->Text_Value, QStringLiteral("Happy ") + QChar(char16_t(0xFFFD)) + QStringLiteral(" day"));

    // Copy and paste of the same item.
    TSLError error;
    const auto pasted
        = TSLGraphic::graphicsWithPasteboardData(TSLGraphic::pasteboardDataWithGraphics(content.frontItems), &error);
    ASSERT_TRUE(pasted.has_value());
    ASSERT_EQ(pasted->size(), 1u);
    EXPECT_EQ((*pasted)[0]->Text_Value, back->frontItems[0]->Text_Value);
}

TEST(DesignFileLimits, OversizedClipboardContentIsRefusedUnread)
{
    const TSLGraphicList items = designsamples::richDesign().frontItems;
    QByteArray data = TSLGraphic::pasteboardDataWithGraphics(items);
    TSLError error;
    ASSERT_TRUE(TSLGraphic::graphicsWithPasteboardData(data, &error).has_value());
    // The same items after 130 MB of nothing the reader would look at.
    QByteArray padded(130 * 1024 * 1024, '\0');
    padded.replace(0, data.size() - 32, data.left(data.size() - 32));
    padded.replace(padded.size() - 32, 32, data.right(32));
    EXPECT_FALSE(TSLGraphic::graphicsWithPasteboardData(padded, &error).has_value());
    EXPECT_EQ(error.code, 2);
}

TEST(DesignFileLimits, SavesRemoveTheirOwnLeftoversAndNothingElse)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("leftovers"));
    const QString path = folder + QStringLiteral("/card.dcard");
    const QByteArray design = encodeDesignFile(designsamples::richDesign());
    struct Entry {
        const char* name;
        QByteArray content;
        bool removed;
    };
    const std::vector<Entry> entries = {
        { ".card.dcard.tessaline-77-0.part", design.left(design.size() / 3), true }, // a save killed while writing
        { ".other.dcard.tessaline-77-0.part", design, false }, // another file's: its own save clears it
        // Copies older versions left look as a person's copies do: a design, a part of one, nothing.
        { "card.dcard.HJvJDi", design, false },
        { "card.dcard.qWeRtY", design.left(design.size() / 3), false },
        { "card.dcard.AbCdEf", QByteArray(), false },
        { "card.dcard.backup", design, false },
        { "card.dcard.XyZwVu", QByteArray("notes of my own"), false },
    };
    for (const Entry& entry : entries)
        writeFile(folder + QLatin1Char('/') + QLatin1String(entry.name), entry.content);

    ASSERT_TRUE(writeDesignFile(path, design));
    for (const Entry& entry : entries) {
        const QString file = folder + QLatin1Char('/') + QLatin1String(entry.name);
        EXPECT_EQ(QFileInfo::exists(file), !entry.removed) << entry.name;
        EXPECT_TRUE(entry.removed || readFile(file) == entry.content) << entry.name;
    }
    EXPECT_EQ(readFile(path), design);
    EXPECT_TRUE(platform::syncFolder(folder));
    EXPECT_FALSE(platform::syncFolder(folder + QStringLiteral("/no-such-folder")));
}
