#pragma once

#include <QImage>

class QIODevice;

namespace platform {

// What reading a progressive JPEG's DC scans finds.
enum class JpegDcOutcome {
    Decoded,
    NotHandled, // not a progressive JPEG of one or three components: the general decoder reads it
    EndEarly, // the DC data stop before they cover the picture, or the file before its end marker
};

// A progressive JPEG at an eighth of its size, from its DC scans alone. At that size each block of 8 x 8
// pixels is one pixel, its DC value: the AC scans, which most of a progressive file's data and decoding time
// are, are passed over without being decoded, and no coefficient store of the whole picture is held, only
// one value a block. The work is the blocks of the DC scans, however many AC scans the file holds. Not
// turned by the file's orientation. Reads the device from where it stands, once.
QImage decodeJpegDcOnly(QIODevice& device, JpegDcOutcome* outcome);

} // namespace platform
