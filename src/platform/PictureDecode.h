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

// The most scans a JPEG may hold. Progressive encoders write about ten; each scan is read over the whole
// picture, so that a file of the same scan repeated a thousand times holds the decoder up for a minute.
inline constexpr int maximumJpegScans = 100;

// The most blocks of 8 x 8 pixels a JPEG's decode may read, summed over its scans: a decoder reads every block
// of the components a scan names, so a file of a hundred scans over a large picture costs a hundred times its
// blocks, whatever its size on disk. A 400-megapixel camera photo's one scan reads about 9.4 million; a
// progressive 100-megapixel photo's ten scans about 12.5 million. A progressive picture wanted at an eighth of
// its size is read from its DC scans alone, whose blocks are counted against the same bound.
inline constexpr qint64 maximumJpegScanBlocks = qint64(24) * 1000 * 1000;

// The most pixels a JPEG may have: medium-format cameras make up to 400 million. It is decoded at a fraction
// of its size, but its coded data are read whole, at a cost that grows with every pixel.
inline constexpr qint64 maximumJpegPixels = qint64(400) * 1000 * 1000;

// What a picture file's header says, read without decoding it.
struct PictureHeader {
    QSize pixels; // as shown, turned as the file says; invalid when the header cannot be read
    qint64 decodeBytes = 0; // memory its whole decode takes, with the 32-bit copy that scaling may make
    // The most pixels a picture of its depth may have: those of its whole decode, or maximumJpegPixels.
    qint64 maximumPixels = 0;
    bool reducible = false; // a JPEG: decoded at a half, quarter or eighth of its size when less is shown
    bool fits() const { return decodeBytes <= maximumPictureDecodeBytes; }
    // What decoding it to be shown at `shown` takes: a JPEG's reduced decode and its scaled copy, the whole
    // decode for other formats or an invalid size.
    qint64 decodeBytesAt(const QSize& shown) const;
    bool fitsAt(const QSize& shown) const
    {
        return (pixels.isEmpty() || qint64(pixels.width()) * pixels.height() <= maximumPixels)
            && decodeBytesAt(shown) <= maximumPictureDecodeBytes;
    }
};
PictureHeader readPictureHeader(const QString& path);

// The picture in the file, turned as the file says. A JPEG is decoded straight at `shown` (its size as shown,
// smaller than its own), which takes a fraction of the memory; other formats, and an invalid `shown`, give the
// whole picture, which the caller reduces. A progressive JPEG shown at an eighth of its size or less is read
// from its DC scans alone. Null with *error set when the file is refused, unreadable or what must be decoded
// for it would pass maximumPictureDecodeBytes (a progressive JPEG's coefficients included), or when its data
// would hold the decoder up: a JPEG of more than maximumJpegScans or whose scans read more than
// maximumJpegScanBlocks, a PNG whose image data inflate far past its size; all judged before any scan or
// image data are decoded. The file is only read.
QImage readPictureFileAt(const QString& path, const QSize& shown, QString* error = nullptr);

// Reads the file's coded data through without keeping the picture: false with *error when they end before
// the picture does, as those of a JPEG cut short do even when it was given its end marker again, or when they
// could not be read through within the memory bound. A deeper look than every decode takes, for the check each
// picture passes once when it is brought in. A JPEG's scans are bounded first, as before every decode; a
// progressive one is read as it is shown, from its DC scans, which its other scans only refine; a PNG's image
// data are bounded by the decode.
bool pictureDataWhole(const QString& path, QString* error);

} // namespace platform
