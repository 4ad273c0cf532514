#include "platform/PngColourWriter.h"

#include "platform/PngSpanDeflater.h"
#include "platform/QuickFileReplace.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <zlib.h>

namespace platform {

namespace png {

namespace {

void appendUint32(QByteArray& out, quint32 value)
{
    const char bytes[4] = { static_cast<char>(value >> 24), static_cast<char>(value >> 16),
        static_cast<char>(value >> 8), static_cast<char>(value) };
    out.append(bytes, 4);
}

} // namespace

QByteArray signature()
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8);
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& data)
{
    appendUint32(out, static_cast<quint32>(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* bytes = reinterpret_cast<const Bytef*>(out.constData() + start);
    appendUint32(out, static_cast<quint32>(crc32(0L, bytes, static_cast<uInt>(out.size() - start))));
}

QByteArray imageHeader(int width, int height, int bitDepth, int colourType)
{
    QByteArray data;
    appendUint32(data, static_cast<quint32>(width));
    appendUint32(data, static_cast<quint32>(height));
    const char rest[5] = { static_cast<char>(bitDepth), static_cast<char>(colourType), 0, 0, 0 };
    data.append(rest, 5);
    return data;
}

QByteArray physicalSize(int dotsPerMeterX, int dotsPerMeterY)
{
    QByteArray data;
    appendUint32(data, static_cast<quint32>(std::max(0, dotsPerMeterX)));
    appendUint32(data, static_cast<quint32>(std::max(0, dotsPerMeterY)));
    data.append('\1'); // metres
    return data;
}

bool writeUnsynced(const QByteArray& png, const FilePlace& path, QString* error, FileIdentity* written)
{
    if (png.isEmpty()) {
        if (error)
            *error = QStringLiteral("the picture could not be encoded");
        return false;
    }
    return replaceFileUnsynced(path, png, error, written);
}

} // namespace png

namespace {

bool isDirect(QImage::Format format)
{
    return format == QImage::Format_ARGB32 || format == QImage::Format_ARGB32_Premultiplied
        || format == QImage::Format_RGB32;
}

// One row of pixels as the file's bytes after the filter byte. Without alpha every pixel is opaque, the
// same premultiplied or not: each goes as four bytes, red first, whose fourth the next pixel overwrites, so
// the target has a byte to spare after the row.
void packRow(const QRgb* line, int width, bool premultiplied, bool alpha, std::uint8_t* target)
{
    if (!alpha) {
        for (int x = 0; x < width; ++x) {
            const QRgb colour = line[x];
            const std::uint8_t bytes[4] = { static_cast<std::uint8_t>(qRed(colour)),
                static_cast<std::uint8_t>(qGreen(colour)), static_cast<std::uint8_t>(qBlue(colour)), 0 };
            std::memcpy(target + 3 * static_cast<std::size_t>(x), bytes, 4);
        }
        return;
    }
    for (int x = 0; x < width; ++x) {
        QRgb colour = line[x];
        // Opaque pixels, most of a card, are the same premultiplied or not.
        if (premultiplied && qAlpha(colour) != 255)
            colour = qUnpremultiply(colour);
        target[0] = static_cast<std::uint8_t>(qRed(colour));
        target[1] = static_cast<std::uint8_t>(qGreen(colour));
        target[2] = static_cast<std::uint8_t>(qBlue(colour));
        if (alpha) {
            target[3] = static_cast<std::uint8_t>(qAlpha(colour));
            target += 4;
        } else {
            target += 3;
        }
    }
}

} // namespace

bool PngColourWriter::needsAlpha(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return false;
    if (!isDirect(image.format()))
        return needsAlpha(image.convertToFormat(QImage::Format_ARGB32));
    // The sizes are read once: QImage's accessors are calls the compiler cannot lift out of the loop.
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        // All alpha bytes together: one not 255 shows in the combined value.
        QRgb all = 0xffffffffu;
        for (int x = 0; x < width; ++x)
            all &= line[x];
        if (qAlpha(all) != 255)
            return true;
    }
    return false;
}

QByteArray PngColourWriter::compressedRows(const QImage& picture, bool alpha)
{
    const QImage image = isDirect(picture.format()) ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    const std::size_t channels = alpha ? 4 : 3;
    const int width = image.width();
    const std::size_t rowLength = static_cast<std::size_t>(width) * channels + 1;
    const auto sourceBytes = static_cast<std::size_t>(width) * 4;
    PngSpanDeflater deflater(rowLength, channels);
    std::vector<std::uint8_t> row(rowLength + 1, 0);
    for (int y = 0; y < image.height(); ++y) {
        // A row of the same pixels as the one above is not looked at again.
        if (y > 0 && std::memcmp(image.constScanLine(y), image.constScanLine(y - 1), sourceBytes) == 0
            && deflater.repeatRow())
            continue;
        packRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), width, premultiplied, alpha, row.data() + 1);
        deflater.addRow(row.data());
    }
    return deflater.finish();
}

QByteArray PngColourWriter::pngData(const QImage& image)
{
    if (image.isNull())
        return {};
    const bool alpha = image.format() != QImage::Format_RGB32 && needsAlpha(image);
    QByteArray png = png::signature();
    png::appendChunk(png, "IHDR", png::imageHeader(image.width(), image.height(), 8, alpha ? 6 : 2));
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        png::appendChunk(png, "pHYs", png::physicalSize(image.dotsPerMeterX(), image.dotsPerMeterY()));
    png::appendChunk(png, "IDAT", compressedRows(image, alpha));
    png::appendChunk(png, "IEND", {});
    return png;
}

bool PngColourWriter::writeBatch(const QImage& image, const FilePlace& path, QString* error, FileIdentity* written)
{
    return png::writeUnsynced(pngData(image), path, error, written);
}

} // namespace platform
