#include "platform/PictureDecode.h"

#include "platform/Png_Transparent_Colour.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>
#include <functional>
#include <mutex>
#include <shared_mutex>

namespace platform {

namespace {

// Decodes within Qt's allocation limit share the gate; one above it holds the gate alone while the limit is
// raised, so that no decode reads the limit while it changes and no two large decodes overlap.
std::shared_mutex& decodeGate()
{
    static std::shared_mutex gate;
    return gate;
}

qint64 bytesPerPixel(QImage::Format format)
{
    const int bits = format == QImage::Format_Invalid ? 32 : int(QImage::toPixelFormat(format).bitsPerPixel());
    // A picture of any other depth is put in 32-bit form before it is reduced.
    return std::max(bits, 8) / 8 + (bits == 32 ? 0 : 4);
}

PictureHeader headerOf(QImageReader& reader)
{
    PictureHeader header;
    QSize size = reader.size();
    if (!size.isValid())
        return header;
    const qint64 perPixel = bytesPerPixel(reader.imageFormat());
    header.decodeBytes = qint64(size.width()) * size.height() * perPixel;
    header.maximumPixels = maximumPictureDecodeBytes / perPixel;
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    header.pixels = size;
    return header;
}

QImage decodeWithin(qint64 bytes, const std::function<QImage()>& decode)
{
    const int limit = QImageReader::allocationLimit();
    if (limit <= 0 || bytes <= qint64(limit) * 1024 * 1024) {
        const std::shared_lock<std::shared_mutex> shared(decodeGate());
        return decode();
    }
    const std::unique_lock<std::shared_mutex> alone(decodeGate());
    QImageReader::setAllocationLimit(int(maximumPictureDecodeBytes / (1024 * 1024)));
    struct Restore {
        int limit;
        ~Restore() { QImageReader::setAllocationLimit(limit); }
    } restore { limit };
    return decode();
}

QString cannotRead(const QString& path, const QString& reason)
{
    return QStringLiteral("\"%1\" cannot be read as a picture: %2").arg(path, reason);
}

} // namespace

PictureHeader readPictureHeader(const QString& path)
{
    QFile file;
    if (!openRegularFile(file, path, maximumPictureFileBytes))
        return {};
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    return headerOf(reader);
}

QImage readPictureFileAt(const QString& path, const QSize& shown, QString* error)
{
    QFile file;
    if (!openRegularFile(file, path, maximumPictureFileBytes, error))
        return {};
    // The PNG's first chunks tell whether Qt's reader can be trusted with it.
    const bool throughLibpng = isSixteenBitColourPngWithTransparentColour(file.peek(64 * 1024));
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const PictureHeader header = headerOf(reader);
    if (!header.fits()) {
        if (error)
            *error = cannotRead(path,
                QStringLiteral("it is too large (%1 x %2 pixels)")
                    .arg(header.pixels.width())
                    .arg(header.pixels.height()));
        return {};
    }
    QString reason;
    const QImage picture = decodeWithin(header.decodeBytes, [&] {
        if (throughLibpng)
            return file.seek(0) ? readPngThroughLibpng(file.readAll(), &reason) : QImage();
        if (reader.format() == "jpeg" && shown.isValid() && shown.width() < header.pixels.width()
            && shown.height() < header.pixels.height()) {
            // The scaled size is given as the file stores the picture, before it is turned.
            reader.setScaledSize(
                reader.transformation() & QImageIOHandler::TransformationRotate90 ? shown.transposed() : shown);
        }
        QImage decoded = reader.read();
        if (decoded.isNull())
            reason = reader.errorString();
        return decoded;
    });
    if (picture.isNull() && error)
        *error = cannotRead(path, reason);
    return picture;
}

} // namespace platform
