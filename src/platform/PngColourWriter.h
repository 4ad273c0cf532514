#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform/OpenFolder.h"

namespace platform {

// PNG files of pictures of any colours, made for speed over size: 8-bit RGB when every pixel is opaque,
// else 8-bit RGBA with straight (not premultiplied) colours, rows unfiltered and compressed in one pass
// by PngSpanDeflater. A card picture of a thousand by six hundred pixels takes about a millisecond. The
// picture's resolution goes into the file. Safe on any thread.
class PngColourWriter {
public:
    // The PNG bytes of a picture; empty for a null picture.
    static QByteArray pngData(const QImage& image);
    // Whether the file needs an alpha channel: some pixel is not wholly opaque.
    static bool needsAlpha(const QImage& image);
    // The zlib stream of the picture's rows, RGB or RGBA; the picture is ARGB32, premultiplied or not, or
    // RGB32.
    static QByteArray compressedRows(const QImage& image, bool alpha);
    // Writes the PNG under the path without waiting for the disk (see replaceFileUnsynced): for one of
    // many pictures written in a row. False with the reason on failure; `written`, when given, gets what
    // shows the file is the one written.
    static bool writeBatch(
        const QImage& image, const FilePlace& path, QString* error = nullptr, FileIdentity* written = nullptr);
};

// Pieces of a PNG file.
namespace png {

// The signature every PNG file starts with.
QByteArray signature();
// Appends a chunk: its length, type, data and check.
void appendChunk(QByteArray& out, const char* type, const QByteArray& data);
// The IHDR chunk's data.
QByteArray imageHeader(int width, int height, int bitDepth, int colourType);
// The pHYs chunk's data for a resolution in dots per metre.
QByteArray physicalSize(int dotsPerMeterX, int dotsPerMeterY);
// Writes a PNG file's bytes without waiting for the disk (see replaceFileUnsynced); empty bytes are a
// picture that could not be encoded. False with the reason on failure.
bool writeUnsynced(const QByteArray& png, const FilePlace& path, QString* error, FileIdentity* written = nullptr);

} // namespace png

} // namespace platform
