#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

// Qt's PNG reader turns 16-bit colour pictures that name one transparent colour (a "tRNS" chunk on colour
// type 2) into washed-out stripes with the wrong pixels transparent. Such files are recognised from their
// chunks and read through libpng instead; every other picture takes Qt's road.
bool isSixteenBitColourPngWithTransparentColour(const QByteArray& data);
// The picture as 8-bit colour with alpha, the transparent colour fully transparent; null with *error set
// when libpng refuses the file or the picture is larger than the decoder's allocation limit.
QImage readPngThroughLibpng(const QByteArray& data, QString* error);

} // namespace platform
