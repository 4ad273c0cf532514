#include "model/PictureSource.h"

#include "common/File_Functions.h"
#include "model/CraftedPictures.h"
#include "model/ImageProcesser.h"
#include "model/Image_Geometry.h"
#include "platform/PictureDecode.h"

#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

bool near(QRgb pixel, QColor expected, int tolerance = 40)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance
        && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

// Every picture a person brings in passes one gate: it is used upright, as its file says, or refused by name.
TEST(PictureSourceCheck, GivesTheUprightSizeOfEveryPictureAndRefusesDamagedFilesByName)
{
    QTemporaryDir folder;
    const auto paletted = [](QImage::Format format) { // red, of a palette of 256 colours or of two
        QImage picture(6, 4, format);
        picture.setColorTable({ qRgb(255, 0, 0), qRgb(0, 0, 255) });
        picture.fill(0);
        return picturefiles::encoded(picture, "PNG");
    };
    QByteArray claims = picturefiles::redAndBlue("JPG", { 16, 16 }); // 16 x 16, its frame header claims more
    qToBigEndian<quint32>(65000u << 16 | 65000u, claims.data() + claims.indexOf("\xFF\xC0") + 5); // its height, width
    const QByteArray cutLarge = picturefiles::flatJpeg({ 8400, 8400 }, 3, 1, true); // 4:4:4, 423 MB of coefficients
    const QSize bigWorking = imagefilters::fittedSize({ 10248, 6832 }, ImageProcesser::kMaximumSize);
    const struct {
        QString name;
        QByteArray bytes;
        QSize pixels; // empty: refused
        QColor topLeft;
        QSize working = {}; // empty: the pixels
        const char* says = nullptr; // what the refusal says besides the file's name
    } rows[] = {
        { "o1.jpg", picturefiles::jpegWithOrientation(1), { 40, 20 }, Qt::red },
        { "o2.jpg", picturefiles::jpegWithOrientation(2), { 40, 20 }, Qt::blue },
        { "o3.jpg", picturefiles::jpegWithOrientation(3), { 40, 20 }, Qt::blue },
        { "o4.jpg", picturefiles::jpegWithOrientation(4), { 40, 20 }, Qt::red },
        { "o5.jpg", picturefiles::jpegWithOrientation(5), { 20, 40 }, Qt::red },
        { "o6.jpg", picturefiles::jpegWithOrientation(6), { 20, 40 }, Qt::red },
        { "o7.jpg", picturefiles::jpegWithOrientation(7), { 20, 40 }, Qt::blue },
        { "o8.jpg", picturefiles::jpegWithOrientation(8), { 20, 40 }, Qt::blue },
        { "deep.png", picturefiles::sixteenBitPngWithTransparentColour(), { 4, 2 }, QColor(0x80, 0x40, 0xFF) },
        { "palette.png", paletted(QImage::Format_Indexed8), { 6, 4 }, Qt::red },
        { "two.png", paletted(QImage::Format_Mono), { 6, 4 }, Qt::red },
        { "damaged.png", picturefiles::damagedPng(), {}, {} },
        { "notes.png", "not a picture at all", {}, {} },
        { "cut.jpg", picturefiles::jpegWithOrientation(1).left(200), {}, {} },
        { "half.jpg", picturefiles::jpegWithOrientation(1, { 800, 600 }).chopped(400), {}, {} }, // decodes half grey
        { "ended.jpg", picturefiles::tornJpeg(), {}, {} },
        { "claims.jpeg", claims, {}, {}, {}, "(65000 x 65000 pixels). Pictures of up to 400 million" }, // by its header
        // Phone photos of 48 million pixels are reduced once, on loading, to the size the card works at.
        { "phone.jpg", picturefiles::jpegWithOrientation(1, { 8000, 6000 }), { 8000, 6000 }, Qt::red, { 624, 468 } },
        { "phone6.jpg", picturefiles::jpegWithOrientation(6, { 8000, 6000 }), { 6000, 8000 }, Qt::red, { 351, 468 } },
        { "phone.png", picturefiles::redAndBlue("PNG", { 8000, 6000 }), { 8000, 6000 }, Qt::red, { 624, 468 } },
        { "huge.png", picturefiles::pngHeaderOnly(12000, 9000), {}, {} }, // beyond the memory bound
        // A JPEG whose whole decode passes the memory bound is decoded at an eighth of its size.
        { "huge.jpg",
            [] {
                QImage grey(9000, 9000, QImage::Format_Grayscale8);
                grey.fill(90);
                return picturefiles::encoded(grey, "JPG");
            }(),
            { 9000, 9000 }, QColor(90, 90, 90), { 468, 468 } },
        // Its seven passes need 18,003,750 bytes of image data; seven more are read past with a warning.
        { "interlaced.png", picturefiles::inflatingPng({ 3000, 2000 }, 18'004'000, true), { 3000, 2000 }, Qt::black,
            { 702, 468 } },
        // Files that would hold the decoder up for many seconds are judged from their first bytes.
        { "scans.jpeg", picturefiles::flatJpeg({ 4096, 4096 }, 1, 1, true, 1000), {}, {}, {}, "more than 100 scans" },
        { "inflating.png", picturefiles::inflatingPng({ 100, 100 }, 5'000'000'000), {}, {}, {}, "far past" },
        // Its DC scan stops halfway: at the size it is shown, nothing but its DC scans is read.
        { "cutlarge.jpg", cutLarge.left(cutLarge.size() / 2) + "\xFF\xD9", {}, {} },
        // Read from their DC scans at an eighth of their size, whatever their other scans hold.
        { "scans100.jpeg", picturefiles::hundredScanJpeg(), { 12000, 12000 }, QColor(128, 128, 128), { 468, 468 } },
        { "colour70.jpeg", picturefiles::fullColourProgressiveJpeg(), { 10248, 6832 }, QColor(128, 128, 128),
            bigWorking },
        { "header.jpg", picturefiles::flatJpeg({ 40, 20 }, 3, 2, false).left(30), {}, {} },
        { "camera.jpg", picturefiles::flatJpeg({ 11648, 8736 }, 3, 2, false), { 11648, 8736 }, QColor(128, 128, 128),
            { 624, 468 } },
    };
    const int qtLimit = QImageReader::allocationLimit();
    for (const auto& row : rows) {
        const QString path = folder.filePath(row.name);
        ASSERT_TRUE(picturefiles::write(path, row.bytes));
        const PictureSource::Check check = PictureSource::check(path);
        EXPECT_EQ(check.pixels, row.pixels) << row.name.toStdString();
        if (row.pixels.isEmpty()) {
            EXPECT_TRUE(check.refusal.contains(row.name)) << check.refusal.toStdString();
            EXPECT_EQ(
                check.refusal.contains("12000 x 9000 pixels). Pictures of up to 100 million"), row.name == "huge.png")
                << check.refusal.toStdString();
            EXPECT_EQ(check.refusal.contains("while it was copied or downloaded."), row.name.endsWith(".jpg"))
                << check.refusal.toStdString();
            // The picture chooser names only what is of no picture kind; the check says what is wrong with the rest.
            EXPECT_EQ(pictureFileRefusal(path).isEmpty(), row.name != "notes.png") << row.name.toStdString();
            EXPECT_TRUE(!row.says || check.refusal.contains(row.says)) << check.refusal.toStdString();
            continue;
        }
        EXPECT_TRUE(check.usable()) << check.refusal.toStdString();
        const QImage shown = PictureSource::forFile(path).working();
        EXPECT_EQ(shown.size(), row.working.isEmpty() ? row.pixels : row.working) << row.name.toStdString();
        EXPECT_GE(shown.depth(), 32) << row.name.toStdString() << ": worked on in full colour";
        EXPECT_TRUE(near(shown.pixel(0, 0), row.topLeft)) << row.name.toStdString();
    }
    EXPECT_EQ(QImageReader::allocationLimit(), qtLimit); // raised only while a large picture is decoded
    ASSERT_FALSE(PictureSource::check(folder.filePath(QStringLiteral("missing.png"))).usable());
}

TEST(PictureDecodeBounds, AJpegIsDecodedAtTheSizeShownOrRefusedByWhatItsScansPromise)
{
    QTemporaryDir folder;
    const struct {
        const char* name;
        QByteArray bytes;
        QSize shown, decoded; // shown invalid: whole; decoded empty: refused
        const char* says;
    } rows[] = {
        { "scans100.jpg", picturefiles::hundredScanJpeg(), { 3000, 3000 }, {}, "225.0 million blocks" },
        { "scans100.jpg", picturefiles::hundredScanJpeg(), { 1500, 1500 }, { 1500, 1500 }, "" },
        // Its whole decode holds 420 MB of coefficients; at an eighth, two bytes a block.
        { "colour70.jpg", picturefiles::fullColourProgressiveJpeg(), {}, {}, "more memory" },
        { "colour70.jpg", picturefiles::fullColourProgressiveJpeg(), { 1281, 854 }, { 1281, 854 }, "" },
        { "colour70.jpg", picturefiles::fullColourProgressiveJpeg(), { 2562, 1708 }, {}, "more memory" },
    };
    for (const auto& row : rows) {
        const QString path = folder.filePath(QLatin1String(row.name));
        ASSERT_TRUE(picturefiles::write(path, row.bytes));
        QString error;
        const QImage picture = platform::readPictureFileAt(path, row.shown, &error);
        EXPECT_EQ(picture.isNull() ? QSize() : picture.size(), row.decoded) << row.name << " at " << row.shown.width();
        EXPECT_TRUE(error.contains(QLatin1String(row.says))) << error.toStdString();
        EXPECT_TRUE(picture.isNull() || qGray(picture.pixel(picture.width() - 1, picture.height() - 1)) == 128)
            << row.name;
    }
    // A progressive photo with colour at half its size looks at an eighth as Qt's own decoder draws it there.
    QImage photo(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 255 / 800, y * 255 / 600, 255 - (x + y) * 255 / 1400));
    const QString path = folder.filePath(QStringLiteral("photo.jpg"));
    QImageWriter writer(path, "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(photo));
    const QImage ours = platform::readPictureFileAt(path, { 100, 75 }).convertToFormat(QImage::Format_RGB32);
    QImageReader reader(path);
    reader.setScaledSize({ 100, 75 });
    const QImage theirs = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(ours.size(), theirs.size());
    qint64 difference = 0; // the alpha bytes, all 255, add nothing
    for (qsizetype i = 0; i < ours.sizeInBytes(); ++i)
        difference += std::abs(int(ours.constBits()[i]) - int(theirs.constBits()[i]));
    EXPECT_LT(double(difference) / (ours.width() * ours.height() * 3), 4.0);
}

// Qt's own reader washes these out and clears the wrong pixels.
TEST(PictureSourceCheck, SixteenBitColourWithATransparentColourKeepsItsColoursAndClearsOnlyThatColour)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("deep.png"));
    ASSERT_TRUE(picturefiles::write(path, picturefiles::sixteenBitPngWithTransparentColour()));
    const QImage picture = PictureSource::forFile(path).working().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(picture.pixel(1, y), qRgba(0x80, 0x40, 0xFF, 255)) << y;
        EXPECT_EQ(qAlpha(picture.pixel(2, y)), 0) << y;
        EXPECT_EQ(qAlpha(picture.pixel(3, y)), 0) << y;
    }
}

} // namespace
