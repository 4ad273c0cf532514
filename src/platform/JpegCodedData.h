#pragma once

class QIODevice;
class QString;

namespace platform {

// What reading a JPEG's coded data through finds.
enum class JpegCodedData {
    Whole, // or not a JPEG: the picture's reader judges it
    EndEarly, // before they cover the whole picture
    BeyondMemory, // a picture of several scans whose coefficients alone pass the memory bound: not checked
    Refused, // the decoder refused the file; *reason says why
};

// Whether a JPEG's coded data end before they cover the whole picture: a file cut short and given an end
// marker again passes every look at its markers, and the decoder fills what is missing with grey, warning
// only. The coded data are decoded at an eighth of the picture's size, which costs the reading of the data,
// not the picture, and the decoder's own report of a premature end is taken. A picture of several scans (a
// progressive one) is held whole in coefficients while they are read: one too large for the memory bound
// cannot be checked, and is not passed. Reads the device from where it stands.
JpegCodedData jpegCodedData(QIODevice& device, QString* reason);

} // namespace platform
