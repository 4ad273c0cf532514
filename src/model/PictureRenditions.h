#pragma once

#include "model/ImageProcesser.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

class PictureSource;

// The pictures that a picture item draws, made from its source and kept in the shared picture cache: the
// adjustment chain's result for the item's values (made again only when a value or the source changes),
// and copies of it scaled to the size the screen shows them at. Items with the same source and values
// share them. Any thread may ask.
namespace picturerenditions {

// The adjusted picture at the chain's full resolution; null when there is no picture or the chain gives
// none.
QImage adjusted(const PictureSource& source, const ImageAdjustments& values);

// True when the adjusted picture is held by the cache now.
bool isHeld(const PictureSource& source, const ImageAdjustments& values);

// The size in pixels of the adjusted picture, known without making it: the source's size capped and
// turned as the chain does. Empty when there is no picture.
QSize adjustedSize(const PictureSource& source, const ImageAdjustments& values);

// The adjusted picture scaled smoothly to a size in device pixels, for painting on screen without
// resampling at every paint. The adjusted picture itself when that size is not smaller than it.
QImage forDevice(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels);

// True when a picture drawn at that size in device pixels is painted from a copy scaled for it, rather
// than from the adjusted picture itself.
bool needsDeviceCopy(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels);
// True when that scaled copy is held by the cache now.
bool isDeviceCopyHeld(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels);

// What an output that draws a picture with more pixels than the screen takes in place of the working picture.
struct Output {
    QImage picture; // null when the working picture has the pixels the output needs already
    // The file could not be read again, or gives no working picture either: the working adjusted picture
    // stands in, or nothing when there is none.
    bool fellBack = false;
    bool tooLarge = false; // why it fell back: decoding the file at the output's size would pass the bound
};

// The size, before the chain's turn, that the file is read again at for an output that draws the adjusted
// picture over `devicePixels`: the pixels those need, never more than the file holds. Empty when the
// working picture has them already, or the picture is no file.
QSize outputReadSize(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels);

// The adjusted picture for an output (an exported, mailed or printed card) that draws it over `devicePixels`:
// the file read again at outputReadSize and put through the chain with the same values, those measured in
// pixels grown with it. It is kept in the picture cache, so that a run makes it once for all the cards that
// show it and a printed file holds it once. See Output for what stands in when it is not made, also when the
// working picture is what the output draws.
Output forOutput(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels);

// The values as bytes: equal bytes, equal results of the chain.
QByteArray keyOf(const ImageAdjustments& values);
// Names the adjusted picture of a source with values.
QByteArray adjustedKey(const PictureSource& source, const ImageAdjustments& values);
// Names the copy of the adjusted picture scaled to a size in device pixels.
QByteArray deviceCopyKey(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels);

} // namespace picturerenditions
