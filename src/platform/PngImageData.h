#pragma once

class QIODevice;

namespace platform {

// True when a PNG's image data inflate to far more than its header's size needs: the decoder would inflate
// them all, gigabytes from a few megabytes, only to throw the excess away. The data are inflated up to what
// the size needs and a margin, never further, and nothing of them is kept. False for a file that is not a PNG
// or whose data are whole, short or damaged: the picture's reader judges those. Reads the device from where
// it stands.
bool pngImageDataPastSize(QIODevice& device);

} // namespace platform
