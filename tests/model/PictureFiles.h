#pragma once

// Picture files of our own making, byte by byte where Qt cannot write them: JPEGs that say how they are to be
// turned, a damaged PNG and a 16-bit colour PNG with one transparent colour.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <zlib.h>

namespace picturefiles {

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes;
}

// The left half red and the right half blue (40 x 20 pixels unless said), in the format given.
inline QByteArray redAndBlue(const char* format, QSize size = { 40, 20 })
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, size.width() / 2, size.height(), Qt::red);
    return encoded(picture, format);
}

// A red and blue JPEG stored with the EXIF orientation (1 to 8).
inline QByteArray jpegWithOrientation(int orientation, QSize size = { 40, 20 })
{
    QByteArray jpeg = redAndBlue("JPG", size);
    // APP1 "Exif": a big-endian TIFF header and one IFD entry, tag 0x0112 (orientation) of one SHORT.
    QByteArray exif = QByteArray::fromRawData("\xFF\xE1\x00\x22"
                                              "Exif\0\0"
                                              "MM\0\x2A\0\0\0\x08"
                                              "\0\x01"
                                              "\x01\x12\0\x03\0\0\0\x01",
        28);
    exif.append(char(0)).append(char(orientation)).append(QByteArray(2 + 4, '\0'));
    return jpeg.insert(2, exif);
}

inline QByteArray chunk(const char* type, const QByteArray& data)
{
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    const QByteArray body = QByteArray(type, 4) + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(
        quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))), crc.data());
    return out + body + crc;
}

// The signature and the header chunk of a PNG in colour of the depth given.
inline QByteArray pngHeader(quint32 width, quint32 height, char depth, bool interlaced = false)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = depth;
    header[9] = 2; // colour
    header[12] = interlaced ? 1 : 0;
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header);
}

// 4 x 2 pixels of 16-bit colour: the left two columns (0x8080, 0x4040, 0xFFFF), the right two the colour
// that the tRNS chunk names transparent.
inline QByteArray sixteenBitPngWithTransparentColour()
{
    const auto sample = [](quint16 value) {
        QByteArray bytes(2, '\0');
        qToBigEndian<quint16>(value, bytes.data());
        return bytes;
    };
    const QByteArray opaque = sample(0x8080) + sample(0x4040) + sample(0xFFFF);
    const QByteArray clear = sample(0x1234) + sample(0x5678) + sample(0x9ABC);
    QByteArray rows;
    for (int y = 0; y < 2; ++y)
        rows += QByteArray(1, '\0') + opaque + opaque + clear + clear;
    return pngHeader(4, 2, 16) + chunk("tRNS", clear) + chunk("IDAT", qCompress(rows).mid(4)) + chunk("IEND", {});
}

// A PNG that only says how large it is: its header, and one row of picture data.
inline QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    return pngHeader(width, height, 8) + chunk("IDAT", qCompress(QByteArray(1, '\0')).mid(4)) + chunk("IEND", {});
}

// A photo cut in half and given its end marker again: its header and markers are whole, its coded data not.
inline QByteArray tornJpeg()
{
    const QByteArray jpeg = jpegWithOrientation(1, { 800, 600 });
    return jpeg.left(jpeg.size() / 2) + QByteArray("\xFF\xD9", 2);
}

// A PNG whose picture data no longer match their checksum.
inline QByteArray damagedPng()
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QByteArray png = encoded(picture, "PNG");
    png[png.indexOf("IDAT") + 6] = char(png[png.indexOf("IDAT") + 6] ^ 0x55);
    return png;
}

} // namespace picturefiles
