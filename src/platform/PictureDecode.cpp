#include "platform/PictureDecode.h"

#include "platform/JpegCodedData.h"
#include "platform/PngImageData.h"
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
    header.maximumPixels = header.reducible ? maximumJpegPixels : maximumPictureDecodeBytes / perPixel;
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
        QStringLiteral("its data ends early; the file may have been cut short while it was copied or downloaded."));
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

enum class Jpeg_Markers { Whole, EndEarly, TooManyScans };

// Whether a JPEG's data end before its end-of-image marker, where the decoder would only warn and fill the
// rest with grey, or hold more scans than cameras and picture programs write, each of which the decoder
// reads over the whole picture. Segments are skipped by their lengths and the coded data scanned for the
// next marker; whatever follows the end marker is not looked at. Whole for a file that is not a JPEG: its
// own reader judges it.
Jpeg_Markers walkJpegMarkers(QIODevice& device)
{
    Forward_Bytes bytes(device);
    if (bytes.next() != 0xFF || bytes.next() != 0xD8)
        return Jpeg_Markers::Whole;
    int marker = -1;
    int scans = 0;
    for (;;) {
        if (marker < 0) {
            if (bytes.next() != 0xFF)
                return Jpeg_Markers::EndEarly;
            do
                marker = bytes.next();
            while (marker == 0xFF);
        }
        if (marker < 0)
            return Jpeg_Markers::EndEarly;
        if (marker == 0xD9)
            return Jpeg_Markers::Whole;
        const int current = marker;
        marker = -1;
        if (current == 0x01 || (current >= 0xD0 && current <= 0xD7))
            continue;
        const int high = bytes.next();
        const int low = bytes.next();
        if (low < 0 || !bytes.skip(qint64((high << 8) | low) - 2))
            return Jpeg_Markers::EndEarly;
        if (current != 0xDA)
            continue;
        if (++scans > maximumJpegScans)
            return Jpeg_Markers::TooManyScans;
        // Coded data: a 0xFF is a marker unless a zero (a stuffed byte) or a restart follows it.
        while (marker < 0) {
            if (!bytes.toMarkByte())
                return Jpeg_Markers::EndEarly;
            int after = bytes.next();
            while (after == 0xFF)
                after = bytes.next();
            if (after < 0)
                return Jpeg_Markers::EndEarly;
            if (after != 0x00 && !(after >= 0xD0 && after <= 0xD7))
                marker = after;
        }
    }
}

// Why a JPEG's markers show it cannot be decoded within bounds: data that end early, or too many scans.
// Empty for any other file, the device back at its start.
QString jpegMarkersRefusal(QFile& file, const QString& path)
{
    const Jpeg_Markers markers = walkJpegMarkers(file);
    if (markers == Jpeg_Markers::EndEarly)
        return endsEarly(path);
    if (markers == Jpeg_Markers::TooManyScans)
        return cannotRead(path,
            QStringLiteral("it is stored in more than %1 scans, more than cameras and picture programs write.")
                .arg(maximumJpegScans));
    return file.seek(0) ? QString() : cannotRead(path, file.errorString());
}

// Why the file's data cannot be decoded within bounds, before a decoder reads them: besides what the JPEG's
// markers show, a PNG whose image data inflate far past its size. Empty when none of these.
QString dataRefusal(QFile& file, const QString& path)
{
    if (QString refusal = jpegMarkersRefusal(file, path); !refusal.isEmpty())
        return refusal;
    if (pngImageDataPastSize(file))
        return cannotRead(path, QStringLiteral("its image data go on far past what its size of pixels needs."));
    return file.seek(0) ? QString() : cannotRead(path, file.errorString());
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
    // A cut-short JPEG decodes without an error, its lower part grey, and data that hold the decoder up are
    // read to their end: both are refused before they are decoded.
    if (const QString refusal = dataRefusal(file, path); !refusal.isEmpty()) {
        if (error)
            *error = refusal;
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
    // A PNG's image data are bounded by the decode that follows the check, which inflates them anyway.
    QString refusal = jpegMarkersRefusal(file, path);
    QString reason;
    if (refusal.isEmpty()) {
        switch (jpegCodedData(file, &reason)) {
        case JpegCodedData::Whole:
            return true;
        case JpegCodedData::EndEarly:
            refusal = endsEarly(path);
            break;
        case JpegCodedData::BeyondMemory:
            refusal = cannotRead(path,
                QStringLiteral("it is stored in several scans at a size whose check would take more memory than one "
                               "picture may use; save it again as a baseline JPEG, or smaller."));
            break;
        case JpegCodedData::Refused:
            refusal = cannotRead(path, reason);
            break;
        }
    }
    if (error)
        *error = refusal;
    return false;
}

} // namespace platform
