// The record fields the inspector edits are observed and undone by key, as the drawing keys are.
#include "model/TSLDocument.h"
#include "model/TSLImage.h"
#include "model/TSLText.h"
#include "platform/UndoManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void endEvent()
{
    QCoreApplication::processEvents();
}

struct Fixture {
    TSLDocument document;
    TSLGraphicPtr item = std::make_shared<TSLText>();
    Fixture()
    {
        item->setBounds(QRectF(0, 0, 40, 20));
        document.insertGraphic(item, 0);
        endEvent();
    }
};

} // namespace

TEST(TSLGraphicRecordKeys, EachKindOfFieldIsSetUndoneAndRedoneByKey)
{
    QFont font(QStringLiteral("DejaVu Sans"), 17);
    QImage symbol(4, 3, QImage::Format_ARGB32);
    symbol.fill(Qt::black);
    const struct {
        const char* key;
        QVariant value;
        std::function<QVariant(const TSLGraphic&)> stored;
    } cases[] = {
        { "alpha_val", QVariant(0.35f), [](const TSLGraphic& g) { return QVariant(g.alpha_val); } },
        { "text_alignmnet", QVariant(2), [](const TSLGraphic& g) { return QVariant(g.text_alignmnet); } },
        { "_fill_grad_angle", QVariant(45.0), [](const TSLGraphic& g) { return QVariant(g._fill_grad_angle); } },
        { "_stroke_border_type", QVariant(QStringLiteral("DD")),
            [](const TSLGraphic& g) { return QVariant(g._stroke_border_type); } },
        { "_fill_Grad_clr1", QVariant(QColor(1, 2, 3)),
            [](const TSLGraphic& g) { return QVariant(g._fill_Grad_clr1); } },
        { "gray_Scale", QVariant(true), [](const TSLGraphic& g) { return QVariant(g.gray_Scale); } },
        { "flippedVertically", QVariant(true), [](const TSLGraphic& g) { return QVariant(g._isFlippedVertically); } },
        { "header_font_val", QVariant(font),
            [](const TSLGraphic& g) { return g.header_font_val ? QVariant(*g.header_font_val) : QVariant(); } },
        { "_barcode_image", QVariant(symbol), [](const TSLGraphic& g) { return QVariant(g._barcode_image); } },
    };
    for (const auto& change : cases) {
        SCOPED_TRACE(change.key);
        Fixture f;
        const QString key = QLatin1String(change.key);
        ASSERT_TRUE(f.item->keysForValuesToObserveForUndo().contains(key));
        EXPECT_FALSE(f.item->presentablePropertyNameForKey(key).isEmpty());
        const QVariant before = change.stored(*f.item);

        f.item->setValueForKey(key, change.value);
        endEvent();
        EXPECT_EQ(change.stored(*f.item), change.value);
        EXPECT_EQ(f.item->valueForKey(key), change.value);
        ASSERT_TRUE(f.document.undoManager().canUndo());

        f.document.undoManager().undo();
        EXPECT_EQ(change.stored(*f.item), before);
        f.document.undoManager().redo();
        EXPECT_EQ(change.stored(*f.item), change.value);
    }
}

TEST(TSLGraphicRecordKeys, AnEqualValueRecordsNothingAndUnknownKeysAreIgnored)
{
    Fixture f;
    f.item->alpha_val = 0.5f;
    f.item->setValueForKey(QStringLiteral("alpha_val"), 0.5f);
    f.item->setValueForKey(QStringLiteral("no_such_field"), 3);
    endEvent();
    // The one step to undo is the insertion.
    f.document.undoManager().undo();
    EXPECT_TRUE(f.document.graphics().empty());
    EXPECT_FALSE(f.document.undoManager().canUndo());
    EXPECT_FALSE(f.item->valueForKey(QStringLiteral("no_such_field")).isValid());
    // Fields no page edits stay outside the undo keys.
    EXPECT_FALSE(f.item->keysForValuesToObserveForUndo().contains(QStringLiteral("control_ID")));
}

TEST(TSLGraphicRecordKeys, FieldsWrittenDirectlyAreAnnouncedAsOneUndoStep)
{
    Fixture f;
    const QStringList keys { QStringLiteral("header_val"), QStringLiteral("qr_size_val"),
        QStringLiteral("barcode_clr_val") };
    const QVariantMap before = f.item->valuesForKeys(keys);
    f.item->header_val = QStringLiteral("Guests");
    f.item->qr_size_val = 9;
    f.item->barcode_clr_val = QColor(Qt::red);
    f.item->didChangeValuesFrom(before);
    endEvent();

    f.document.undoManager().undo();
    EXPECT_EQ(f.item->header_val, before.value(QStringLiteral("header_val")).toString());
    EXPECT_EQ(f.item->qr_size_val, before.value(QStringLiteral("qr_size_val")).toInt());
    EXPECT_EQ(f.item->barcode_clr_val, before.value(QStringLiteral("barcode_clr_val")).value<QColor>());
    EXPECT_EQ(f.document.graphics().size(), 1u) << "one step took back all three";
    f.document.undoManager().redo();
    EXPECT_EQ(f.item->header_val, QStringLiteral("Guests"));
    EXPECT_EQ(f.item->qr_size_val, 9);
}

TEST(TSLGraphicRecordKeys, UndoOfANewPictureFileBringsTheOldPictureBack)
{
    QTemporaryDir folder;
    const QString red = folder.filePath(QStringLiteral("red.png"));
    const QString blue = folder.filePath(QStringLiteral("blue.png"));
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(red));
    picture = QImage(3, 9, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(blue));

    TSLDocument document;
    auto item = TSLImage::initWithPath(QPointF(50, 50), red);
    document.insertGraphic(item, 0);
    endEvent();
    item->setFilePath(blue);
    item->flipHorizontally();
    endEvent();
    ASSERT_EQ(item->contents().size(), QSize(3, 9));
    ASSERT_TRUE(item->_isFlippedHorizontally);

    document.undoManager().undo();
    EXPECT_EQ(item->_file_path, red);
    EXPECT_EQ(item->contents().size(), QSize(6, 4));
    EXPECT_EQ(item->contents().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_FALSE(item->_isFlippedHorizontally);
    document.undoManager().redo();
    EXPECT_EQ(item->contents().size(), QSize(3, 9));
}
