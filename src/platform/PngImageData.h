#pragma once

#include <QtGlobal>

class QIODevice;

namespace platform {

// True when a PNG's image data inflate to far more than its header's size needs: the decoder would inflate
// them all, gigabytes from a few megabytes, only to throw the excess away. The data are inflated up to what
// the size needs and a margin, never further, and nothing of them is kept. False for a file that is not a PNG
// or whose data are whole, short or damaged: the picture's reader judges those. Reads the device from where
// it stands.
bool pngImageDataPastSize(QIODevice& device);

// What a PNG's rows take once inflated, each with its filter byte, over its seven passes when interlaced.
quint64 pngImageDataBytes(quint32 width, quint32 height, int bitsPerPixel, bool interlaced);

} // namespace platform
