#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QtGlobal>

namespace platform {

// The most memory one picture's whole decode may take: a 48-megapixel phone photo (8000 x 6000) takes 192 MB
// at 4 bytes a pixel, and pictures of up to about 100 million such pixels fit. Only one decode above Qt's own
// allocation limit runs at a time, so that a batch or several threads cannot multiply it.
inline constexpr qint64 maximumPictureDecodeBytes = qint64(384) * 1024 * 1024;

// What a picture file's header says, read without decoding it.
struct PictureHeader {
    QSize pixels; // as shown, turned as the file says; invalid when the header cannot be read
    qint64 decodeBytes = 0; // memory its whole decode takes, with the 32-bit copy that scaling may make
    qint64 maximumPixels = 0; // the most pixels a picture of its depth may have
    bool reducible = false; // a JPEG: decoded at a half, quarter or eighth of its size when less is shown
    bool fits() const { return decodeBytes <= maximumPictureDecodeBytes; }
    // What decoding it to be shown at `shown` takes: a JPEG's reduced decode and its scaled copy, the whole
    // decode for other formats or an invalid size.
    qint64 decodeBytesAt(const QSize& shown) const;
    bool fitsAt(const QSize& shown) const { return decodeBytesAt(shown) <= maximumPictureDecodeBytes; }
};
PictureHeader readPictureHeader(const QString& path);

// The picture in the file, turned as the file says. A JPEG is decoded straight at `shown` (its size as shown,
// smaller than its own), which takes a fraction of the memory; other formats, and an invalid `shown`, give the
// whole picture, which the caller reduces. Null with *error set when the file is refused, unreadable or what
// must be decoded for it would pass maximumPictureDecodeBytes. The file is only read.
QImage readPictureFileAt(const QString& path, const QSize& shown, QString* error = nullptr);

} // namespace platform
