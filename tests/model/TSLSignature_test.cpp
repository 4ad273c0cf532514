#include "model/PictureProbes.h"

#include "common/Globals.h"
#include "model/TSLSignature.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

using namespace pictureprobes;

namespace {

QImage resourcePicture(const QString& name)
{
    return QImageReader(Resource_Path + QLatin1Char('/') + name).read();
}

} // namespace

TEST(TSLSignature, KindChoosesTheSamplePictureAndDefaultResolvesToIt)
{
    FakeEditor editor;
    const QImage fingerprint = resourcePicture(QStringLiteral("fingerprints.png"));
    ASSERT_FALSE(fingerprint.isNull());

    auto print = TSLSignature::initWithPosition({ 100, 100 }, fingerprint, QStringLiteral("F"));
    EXPECT_EQ(print->_file_path, Resource_Path + QStringLiteral("/fingerprints.png"));
    EXPECT_EQ(print->bounds(),
        QRectF(100 - fingerprint.width() / 2.0, 100 - fingerprint.height() / 2.0, fingerprint.width(),
            fingerprint.height()));
    EXPECT_EQ(editor.controlResets, 1);
    print->setFilePath(QStringLiteral("Default"));
    EXPECT_EQ(print->file_path, Resource_Path + QStringLiteral("/fingerprints.png"));
    EXPECT_TRUE(samePixels(print->_contents_img, fingerprint));

    auto signature = TSLSignature::initWithPosition({ 100, 100 }, QImage(), QStringLiteral("S"));
    signature->setFilePath(QStringLiteral("Default"));
    EXPECT_EQ(signature->_file_path, Resource_Path + QStringLiteral("/sign_sample.png"));
    EXPECT_TRUE(samePixels(signature->_contents_img, resourcePicture(QStringLiteral("sign_sample.png"))));

    // A new signature has the record's border: on, black, 1 point, solid.
    EXPECT_TRUE(signature->isDrawingStroke());
    EXPECT_FALSE(signature->isDrawingFill());
    EXPECT_EQ(signature->_strokeWidth, 1.0);
    EXPECT_EQ(signature->_stroke_border_type, QStringLiteral("S"));
}

TEST(TSLSignature, DrawingFollowsTheRecordPathAndStretchesThePictureOverTheBorder)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("signatures"));
    auto item = TSLSignature::initWithPosition(
        { 60, 30 }, resourcePicture(QStringLiteral("sign_sample.png")), QStringLiteral("S"));
    item->_bounds = QRectF(10, 10, 100, 40);
    item->_strokeWidth = 4;

    QImage first = blank(120, 60);
    draw(*item, first);
    keepPicture(first, QStringLiteral("signature_item_sample"));

    // The panel writes only the record's path; the next drawing shows that picture squeezed to the bounds.
    item->_file_path = writePicture(quarters(200, 200), folder, QStringLiteral("square.png"));
    QImage image = blank(120, 60);
    draw(*item, image);
    keepPicture(image, QStringLiteral("signature_item_stretched"));
    EXPECT_TRUE(near(at(image, 12, 12), Qt::red));
    EXPECT_TRUE(near(at(image, 107, 12), Qt::green));
    EXPECT_TRUE(near(at(image, 12, 47), Qt::blue));
    EXPECT_TRUE(near(at(image, 107, 47), Qt::yellow));
    EXPECT_TRUE(near(at(image, 9, 30), Qt::black)); // the border's outer half
    EXPECT_TRUE(near(at(image, 111, 30), Qt::black));

    // "Default" written by the panel shows the kind's sample, and stays "Default" in the record.
    item->_file_path = QStringLiteral("Default");
    draw(*item, image);
    EXPECT_EQ(item->_file_path, QStringLiteral("Default"));
    EXPECT_TRUE(samePixels(item->_contents_img, resourcePicture(QStringLiteral("sign_sample.png"))));
}

TEST(TSLSignature, UnreadablePictureDrawsTheBorderOnlyAndIsNotRetriedUntilThePathChanges)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("late-signature"));
    const QString path = folder + QStringLiteral("/late.png");
    auto item = TSLSignature::initWithPosition({ 0, 0 }, QImage(), QStringLiteral("S"));
    item->_bounds = QRectF(10, 10, 40, 40);
    item->_strokeWidth = 4;
    item->alpha_val_stroke = 0.5f;
    item->_file_path = path;

    QImage image = blank(60, 60);
    draw(*item, image);
    keepPicture(image, QStringLiteral("signature_item_missing_file"));
    EXPECT_TRUE(near(at(image, 9, 30), QColor(128, 128, 128), 3)); // half-opaque black over white
    EXPECT_TRUE(near(at(image, 30, 30), Qt::white));
    EXPECT_EQ(item->_strokeColor.alpha(), 255); // the opacity was applied, not stored

    writePicture(blank(10, 10, Qt::red), folder, QStringLiteral("late.png"));
    image = blank(60, 60);
    draw(*item, image);
    EXPECT_TRUE(near(at(image, 30, 30), Qt::white));

    item->_file_path = folder + QStringLiteral("/./late.png");
    draw(*item, image);
    EXPECT_TRUE(near(at(image, 30, 30), Qt::red));

    item->_file_path = QString();
    image = blank(60, 60);
    draw(*item, image);
    EXPECT_TRUE(item->_contents_img.isNull());
    EXPECT_TRUE(near(at(image, 9, 30), QColor(128, 128, 128), 3));
}

TEST(TSLSignature, HiddenItemDrawsNothingNotEvenItsBorder)
{
    FakeEditor editor;
    auto item = TSLSignature::initWithPosition({ 30, 30 }, blank(20, 20, Qt::red), QStringLiteral("F"));
    item->ctrl_is_visible = false;
    QImage image = blank(60, 60);
    draw(*item, image);
    EXPECT_TRUE(samePixels(image, blank(60, 60)));
    EXPECT_EQ(editor.refreshes, 0);
}
