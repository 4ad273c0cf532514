#include "platform/PictureDecode.h"

#include "platform/JpegCodedData.h"
#include "platform/JpegDcPicture.h"
#include "platform/PngImageData.h"
#include "platform/Png_Transparent_Colour.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>

#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>
#include <shared_mutex>
#include <vector>

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
    QByteArray read(qint64 count)
    {
        QByteArray taken;
        while (taken.size() < count) {
            if (at_ == block_.size() && !refill())
                break;
            const qint64 step = std::min<qint64>(count - taken.size(), block_.size() - at_);
            taken.append(block_.constData() + at_, step);
            at_ += step;
        }
        return taken;
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

// What a JPEG's markers promise of the work of decoding it, read before any scan is decoded.
struct Jpeg_Walk {
    Jpeg_Markers markers = Jpeg_Markers::Whole;
    bool progressive = false;
    qint64 scanBlocks = 0; // blocks read over all its scans: what a decode that reads every scan does
    qint64 dcScanBlocks = 0; // those of its DC scans alone, what an eighth of a progressive picture takes
    qint64 coefficientBytes = 0; // a progressive decode holds every coefficient of the picture at once
};

struct Frame_Component {
    int id = 0, h = 1, v = 1;
};

// Blocks of the frame's components that a scan of `ids` reads: a scan of one component its own blocks, one
// of several whole coding units of each.
qint64 scanBlocks(const QByteArray& frame, const QByteArray& ids)
{
    if (frame.size() < 6)
        return 0;
    const auto byte = [&frame](int at) { return at < frame.size() ? static_cast<unsigned char>(frame[at]) : 0; };
    const qint64 height = byte(1) << 8 | byte(2), width = byte(3) << 8 | byte(4);
    std::vector<Frame_Component> components;
    int hmax = 1, vmax = 1;
    for (int i = 0, count = byte(5); i < count; ++i) {
        const Frame_Component component { byte(6 + 3 * i), std::max(1, byte(7 + 3 * i) >> 4),
            std::max(1, byte(7 + 3 * i) & 0x0F) };
        hmax = std::max(hmax, component.h);
        vmax = std::max(vmax, component.v);
        components.push_back(component);
    }
    qint64 blocks = 0;
    for (const char id : ids) {
        for (const Frame_Component& component : components) {
            if (component.id != static_cast<unsigned char>(id))
                continue;
            if (ids.size() == 1)
                blocks += (((width * component.h + hmax - 1) / hmax + 7) / 8)
                    * (((height * component.v + vmax - 1) / vmax + 7) / 8);
            else
                blocks += (width + 8 * hmax - 1) / (8 * hmax) * component.h * ((height + 8 * vmax - 1) / (8 * vmax))
                    * component.v;
        }
    }
    return blocks;
}

// Whether a JPEG's data end before its end-of-image marker, where the decoder would only warn and fill the
// rest with grey, or hold more scans than cameras and picture programs write, each of which the decoder
// reads over the whole picture; and the blocks its scans promise. Segments are skipped by their lengths and
// the coded data scanned for the next marker; whatever follows the end marker is not looked at. Whole for a
// file that is not a JPEG: its own reader judges it.
Jpeg_Walk walkJpegMarkers(QIODevice& device)
{
    Forward_Bytes bytes(device);
    Jpeg_Walk walk;
    if (bytes.next() != 0xFF || bytes.next() != 0xD8)
        return walk;
    walk.markers = Jpeg_Markers::EndEarly;
    QByteArray frame;
    int marker = -1;
    int scans = 0;
    for (;;) {
        if (marker < 0) {
            if (bytes.next() != 0xFF)
                return walk;
            do
                marker = bytes.next();
            while (marker == 0xFF);
        }
        if (marker < 0)
            return walk;
        if (marker == 0xD9) {
            walk.markers = Jpeg_Markers::Whole;
            return walk;
        }
        const int current = marker;
        marker = -1;
        if (current == 0x01 || (current >= 0xD0 && current <= 0xD7))
            continue;
        const int high = bytes.next();
        const int low = bytes.next();
        const qint64 length = qint64((high << 8) | low) - 2;
        if (low < 0 || length < 0)
            return walk;
        const bool frameMarker
            = current >= 0xC0 && current <= 0xCF && current != 0xC4 && current != 0xC8 && current != 0xCC;
        QByteArray body;
        if (frameMarker || current == 0xDA) {
            body = bytes.read(length);
            if (body.size() < length)
                return walk;
            if (frameMarker) {
                // Several frames are refused by the decoder; the work is counted over the last one.
                frame = body;
                walk.progressive = current == 0xC2 || current == 0xC6 || current == 0xCA || current == 0xCE;
                QByteArray all;
                for (int i = 0; i < (body.size() > 5 ? static_cast<unsigned char>(body[5]) : 0); ++i)
                    all.append(6 + 3 * i < body.size() ? body[6 + 3 * i] : '\0');
                walk.coefficientBytes = walk.progressive ? scanBlocks(frame, all) * 64 * 2 : 0;
            }
        } else if (!bytes.skip(length)) {
            return walk;
        }
        if (current != 0xDA)
            continue;
        if (++scans > maximumJpegScans) {
            walk.markers = Jpeg_Markers::TooManyScans;
            return walk;
        }
        // What the scan reads: its components' blocks, as its header names them.
        {
            const int count = body.isEmpty() ? 0 : static_cast<unsigned char>(body[0]);
            QByteArray ids;
            for (int i = 0; i < count && 1 + 2 * i < body.size(); ++i)
                ids.append(body[1 + 2 * i]);
            const qint64 blocks = scanBlocks(frame, ids);
            walk.scanBlocks += blocks;
            if (body.size() >= 3 && body[body.size() - 3] == 0)
                walk.dcScanBlocks += blocks;
        }
        // Coded data: a 0xFF is a marker unless a zero (a stuffed byte) or a restart follows it.
        while (marker < 0) {
            if (!bytes.toMarkByte())
                return walk;
            int after = bytes.next();
            while (after == 0xFF)
                after = bytes.next();
            if (after < 0)
                return walk;
            if (after != 0x00 && !(after >= 0xD0 && after <= 0xD7))
                marker = after;
        }
    }
}

QString workRefusal(const QString& path, qint64 blocks)
{
    return cannotRead(path,
        QStringLiteral("its scans would take reading %1 million blocks of 8 x 8 pixels, more than one picture may "
                       "take (%2 million); save it again as a baseline JPEG, or smaller.")
            .arg(double(blocks) / 1e6, 0, 'f', 1)
            .arg(maximumJpegScanBlocks / 1000000));
}

QString memoryRefusal(const QString& path)
{
    return cannotRead(path,
        QStringLiteral("it is stored in several scans at a size whose decode would take more memory than one "
                       "picture may use; save it again as a baseline JPEG, or smaller."));
}

// Why a JPEG's markers show it cannot be decoded within bounds: data that end early, or too many scans.
// Empty for any other file, the device back at its start.
QString jpegMarkersRefusal(QFile& file, const QString& path, Jpeg_Walk* walked = nullptr)
{
    const Jpeg_Walk walk = walkJpegMarkers(file);
    if (walked)
        *walked = walk;
    if (walk.markers == Jpeg_Markers::EndEarly)
        return endsEarly(path);
    if (walk.markers == Jpeg_Markers::TooManyScans)
        return cannotRead(path,
            QStringLiteral("it is stored in more than %1 scans, more than cameras and picture programs write.")
                .arg(maximumJpegScans));
    return file.seek(0) ? QString() : cannotRead(path, file.errorString());
}

// Why the file's data cannot be decoded within bounds, before a decoder reads them: besides what the JPEG's
// markers show, a PNG whose image data inflate far past its size. Empty when none of these.
QString dataRefusal(QFile& file, const QString& path, Jpeg_Walk* walk)
{
    if (QString refusal = jpegMarkersRefusal(file, path, walk); !refusal.isEmpty())
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

namespace {

// The JPEG's refusal when the decode that gives it at `divisor` would read more blocks or hold more memory
// than one picture may: a progressive one at an eighth is read from its DC scans, any other reads every scan
// and, progressive, holds every coefficient. Empty when it may be decoded.
QString jpegWorkRefusal(const QString& path, const Jpeg_Walk& walk, int divisor, qint64 outputBytes)
{
    const bool dcOnly = walk.progressive && divisor == 8;
    const qint64 blocks = dcOnly ? walk.dcScanBlocks : walk.scanBlocks;
    if (blocks > maximumJpegScanBlocks)
        return workRefusal(path, blocks);
    // The DC decode holds two bytes a block.
    const qint64 held = dcOnly ? walk.coefficientBytes / 64 : walk.coefficientBytes;
    return held + outputBytes > maximumPictureDecodeBytes ? memoryRefusal(path) : QString();
}

void turn(QImage& picture, QImageIOHandler::Transformations turning)
{
    if (turning == QImageIOHandler::TransformationNone || picture.isNull())
        return;
    picture = std::move(picture).mirrored(
        turning & QImageIOHandler::TransformationMirror, turning & QImageIOHandler::TransformationFlip);
    if (turning & QImageIOHandler::TransformationRotate90)
        picture = picture.transformed(QTransform().rotate(90));
}

} // namespace

QImage readPictureFileAt(const QString& path, const QSize& shown, QString* error)
{
    QFile file;
    if (!openRegularFile(file, path, maximumPictureFileBytes, error))
        return {};
    const auto refuse = [error](const QString& refusal) {
        if (error)
            *error = refusal;
        return QImage();
    };
    // A cut-short JPEG decodes without an error, its lower part grey, and data that hold the decoder up are
    // read to their end: both are refused before they are decoded.
    Jpeg_Walk walk;
    if (const QString refusal = dataRefusal(file, path, &walk); !refusal.isEmpty())
        return refuse(refusal);
    // The PNG's first chunks tell whether Qt's reader can be trusted with it.
    const bool throughLibpng = isSixteenBitColourPngWithTransparentColour(file.peek(64 * 1024));
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const PictureHeader header = headerOf(reader);
    const qint64 bytes = header.decodeBytesAt(shown);
    if (!header.fitsAt(shown)) {
        return refuse(cannotRead(path,
            QStringLiteral("it is too large (%1 x %2 pixels; pictures of up to %3 million pixels can be read)")
                .arg(header.pixels.width())
                .arg(header.pixels.height())
                .arg(header.maximumPixels / 1000000)));
    }
    const bool jpeg = reader.format() == "jpeg";
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const int divisor = jpeg ? jpegDivisor(header.pixels, shown) : 1; // the same turned or not
    if (jpeg)
        if (const QString refusal = jpegWorkRefusal(path, walk, divisor, bytes); !refusal.isEmpty())
            return refuse(refusal);
    QString reason;
    const QImage picture = decodeWithin(bytes, [&] {
        if (throughLibpng)
            return file.seek(0) ? readPngThroughLibpng(file.readAll(), &reason) : QImage();
        if (jpeg && walk.progressive && divisor == 8) {
            const QImageIOHandler::Transformations turning = reader.transformation();
            JpegDcOutcome outcome = JpegDcOutcome::NotHandled;
            QImage decoded = file.seek(0) ? decodeJpegDcOnly(file, &outcome) : QImage();
            if (outcome == JpegDcOutcome::EndEarly)
                reason = endsEarly(path);
            if (outcome != JpegDcOutcome::NotHandled) {
                turn(decoded, turning);
                return decoded;
            }
            // Another layout of components is read by the general decoder, within the same bounds.
            if (!file.seek(0))
                return QImage();
            reader.setDevice(nullptr);
            reader.setDevice(&file);
        }
        if (jpeg && shown.isValid() && shown.width() < header.pixels.width()
            && shown.height() < header.pixels.height()) {
            // The scaled size is given as the file stores the picture, before it is turned.
            reader.setScaledSize(turned ? shown.transposed() : shown);
        }
        QImage decoded = reader.read();
        if (decoded.isNull())
            reason = reader.errorString();
        return decoded;
    });
    if (picture.isNull() && error)
        *error = reason.startsWith(QLatin1Char('"')) ? reason : cannotRead(path, reason);
    return picture;
}

bool pictureDataWhole(const QString& path, QString* error)
{
    QFile file;
    if (!openRegularFile(file, path, maximumPictureFileBytes, error))
        return false;
    // A PNG's image data are bounded by the decode that follows the check, which inflates them anyway.
    Jpeg_Walk walk;
    QString refusal = jpegMarkersRefusal(file, path, &walk);
    QString reason;
    // A progressive picture is checked as it is shown, from its DC scans: what the others hold refines it.
    JpegDcOutcome outcome = JpegDcOutcome::NotHandled;
    if (refusal.isEmpty() && walk.progressive && walk.dcScanBlocks <= maximumJpegScanBlocks) {
        decodeJpegDcOnly(file, &outcome);
        if (outcome == JpegDcOutcome::Decoded)
            return true;
        if (outcome == JpegDcOutcome::EndEarly)
            refusal = endsEarly(path);
        else if (!file.seek(0))
            refusal = cannotRead(path, file.errorString());
    }
    if (refusal.isEmpty() && walk.scanBlocks > maximumJpegScanBlocks)
        refusal = workRefusal(path, walk.scanBlocks);
    if (refusal.isEmpty()) {
        switch (jpegCodedData(file, &reason)) {
        case JpegCodedData::Whole:
            return true;
        case JpegCodedData::EndEarly:
            refusal = endsEarly(path);
            break;
        case JpegCodedData::BeyondMemory:
            refusal = memoryRefusal(path);
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
