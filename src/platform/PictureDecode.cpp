#include "platform/PictureDecode.h"

#include "platform/JpegCodedData.h"
#include "platform/Png_Transparent_Colour.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>
#include <cstring>
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
    header.reducible = reader.format() == "jpeg";
    header.maximumPixels = maximumPictureDecodeBytes / (header.reducible ? 4 : perPixel);
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

QString endsEarly(const QString& path)
{
    return cannotRead(path,
        QStringLiteral("its data ends early; the file may have been cut short while it was copied or downloaded"));
}

// Reads a device forward in blocks, byte by byte or up to the next 0xFF, without holding the file.
class Forward_Bytes {
public:
    explicit Forward_Bytes(QIODevice& device)
        : device_(device)
    {
    }
    // The next byte; -1 at the end.
    int next()
    {
        if (at_ == block_.size() && !refill())
            return -1;
        return static_cast<unsigned char>(block_[at_++]);
    }
    bool skip(qint64 count)
    {
        while (count > 0) {
            if (at_ == block_.size() && !refill())
                return false;
            const qint64 step = std::min<qint64>(count, block_.size() - at_);
            at_ += step;
            count -= step;
        }
        return true;
    }
    // Moves to the next 0xFF and takes it; false at the end.
    bool toMarkByte()
    {
        for (;;) {
            if (at_ == block_.size() && !refill())
                return false;
            const void* found = std::memchr(block_.constData() + at_, 0xFF, std::size_t(block_.size() - at_));
            if (found) {
                at_ = static_cast<const char*>(found) - block_.constData() + 1;
                return true;
            }
            at_ = block_.size();
        }
    }

private:
    bool refill()
    {
        block_ = device_.read(1 << 20);
        at_ = 0;
        return !block_.isEmpty();
    }
    QIODevice& device_;
    QByteArray block_;
    qsizetype at_ = 0;
};

// True when a JPEG's data ends before its end-of-image marker: the decoder would only warn and fill the
// rest with grey. Segments are skipped by their lengths and the coded data scanned for the next marker;
// whatever follows the end marker is not looked at.
bool jpegEndsEarly(QIODevice& device)
{
    Forward_Bytes bytes(device);
    if (bytes.next() != 0xFF || bytes.next() != 0xD8)
        return false; // not a JPEG: its own reader judges it
    int marker = -1;
    for (;;) {
        if (marker < 0) {
            if (bytes.next() != 0xFF)
                return true;
            do
                marker = bytes.next();
            while (marker == 0xFF);
        }
        if (marker < 0)
            return true;
        if (marker == 0xD9)
            return false;
        const int current = marker;
        marker = -1;
        if (current == 0x01 || (current >= 0xD0 && current <= 0xD7))
            continue;
        const int high = bytes.next();
        const int low = bytes.next();
        if (low < 0 || !bytes.skip(qint64((high << 8) | low) - 2))
            return true;
        if (current != 0xDA)
            continue;
        // Coded data: a 0xFF is a marker unless a zero (a stuffed byte) or a restart follows it.
        while (marker < 0) {
            if (!bytes.toMarkByte())
                return true;
            int after = bytes.next();
            while (after == 0xFF)
                after = bytes.next();
            if (after < 0)
                return true;
            if (after != 0x00 && !(after >= 0xD0 && after <= 0xD7))
                marker = after;
        }
    }
}

} // namespace

// The divisor of a JPEG decoded to be shown at `shown`: the largest of 1, 2, 4 and 8 that still gives at
// least that size, as the decoder chooses it. Both sizes as the file stores the picture.
int jpegDivisor(const QSize& stored, const QSize& shown)
{
    if (!shown.isValid() || shown.isEmpty() || shown.width() >= stored.width() || shown.height() >= stored.height())
        return 1;
    const int ratio = std::min(stored.width() / shown.width(), stored.height() / shown.height());
    return ratio >= 8 ? 8 : ratio >= 4 ? 4 : ratio >= 2 ? 2 : 1;
}

qint64 PictureHeader::decodeBytesAt(const QSize& shown) const
{
    const int divisor = reducible ? jpegDivisor(pixels, shown) : 1;
    if (divisor == 1)
        return decodeBytes;
    const qint64 perPixel = decodeBytes / (qint64(pixels.width()) * pixels.height());
    const qint64 reduced
        = qint64((pixels.width() + divisor - 1) / divisor) * ((pixels.height() + divisor - 1) / divisor);
    return (reduced + qint64(shown.width()) * shown.height()) * perPixel;
}

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
    // A cut-short JPEG decodes without an error, its lower part grey: it is refused before it is decoded.
    const bool cut = jpegEndsEarly(file);
    if (cut || !file.seek(0)) {
        if (error)
            *error = cut ? endsEarly(path) : cannotRead(path, file.errorString());
        return {};
    }
    // The PNG's first chunks tell whether Qt's reader can be trusted with it.
    const bool throughLibpng = isSixteenBitColourPngWithTransparentColour(file.peek(64 * 1024));
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const PictureHeader header = headerOf(reader);
    const qint64 bytes = header.decodeBytesAt(shown);
    if (!header.fitsAt(shown)) {
        if (error)
            *error = cannotRead(path,
                QStringLiteral("it is too large (%1 x %2 pixels; pictures of up to %3 million pixels can be read)")
                    .arg(header.pixels.width())
                    .arg(header.pixels.height())
                    .arg(header.maximumPixels / 1000000));
        return {};
    }
    QString reason;
    const QImage picture = decodeWithin(bytes, [&] {
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

bool pictureDataWhole(const QString& path, QString* error)
{
    QFile file;
    if (!openRegularFile(file, path, maximumPictureFileBytes, error))
        return false;
    if (!jpegEndsEarly(file) && file.seek(0) && !jpegCodedDataEndEarly(file))
        return true;
    if (error)
        *error = endsEarly(path);
    return false;
}

} // namespace platform
