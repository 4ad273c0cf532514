#include "platform/Png_Transparent_Colour.h"

#include <QImageReader>
#include <QtEndian>

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform {

namespace {

const QByteArray pngSignature = QByteArray::fromRawData("\x89PNG\r\n\x1a\n", 8);

} // namespace

bool isSixteenBitColourPngWithTransparentColour(const QByteArray& data)
{
    // IHDR comes first: width, height, then bit depth and colour type at bytes 24 and 25 of the file.
    if (!data.startsWith(pngSignature) || data.size() < 33 || data.mid(12, 4) != "IHDR")
        return false;
    if (quint8(data[24]) != 16 || quint8(data[25]) != 2)
        return false;
    // The transparent colour comes before the first picture data.
    qsizetype at = 8;
    while (at + 8 <= data.size()) {
        const quint32 length = qFromBigEndian<quint32>(data.constData() + at);
        const QByteArray type = data.mid(at + 4, 4);
        if (type == "tRNS")
            return true;
        if (type == "IDAT" || type == "IEND" || length > quint32(data.size()))
            return false;
        at += 12 + qsizetype(length);
    }
    return false;
}

namespace {

struct MemoryReader {
    const QByteArray* data;
    qsizetype at = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->at + qsizetype(length) > reader->data->size())
        png_error(png, "the file ends inside the picture");
    std::memcpy(out, reader->data->constData() + reader->at, length);
    reader->at += qsizetype(length);
}

void failWithMessage(png_structp png, png_const_charp message)
{
    auto* error = static_cast<QString*>(png_get_error_ptr(png));
    if (error && error->isEmpty())
        *error = QString::fromUtf8(message);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp)
{
}

// The rows as the file holds them, 8 bits a sample, the transparent colour made alpha. No gamma is applied:
// the samples are shown as they are stored, as Qt shows every other PNG. Nothing with a destructor lives
// between setjmp and the rows, so libpng's long jump on an error skips nothing.
bool decodeRows(const QByteArray& data, QImage& picture, QString* error)
{
    MemoryReader reader { &data };
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, error, failWithMessage, ignoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    png_bytep* volatile rows = nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        std::free(rows);
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && qint64(width) * height * 4 > limit)
        png_error(png, "the picture is too large");
    png_set_strip_16(png);
    png_set_tRNS_to_alpha(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    picture = QImage(int(width), int(height), QImage::Format_RGBA8888);
    if (picture.isNull())
        png_error(png, "the picture is too large");
    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (!rows)
        png_error(png, "out of memory");
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = picture.scanLine(int(y));
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    std::free(rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

QImage readPngThroughLibpng(const QByteArray& data, QString* error)
{
    QString reason;
    QImage picture;
    if (!decodeRows(data, picture, &reason)) {
        if (error)
            *error = reason.isEmpty() ? QStringLiteral("the PNG cannot be decoded") : reason;
        return {};
    }
    return std::move(picture).convertToFormat(QImage::Format_ARGB32); // in place: the same depth
}

} // namespace platform
