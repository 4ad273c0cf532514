#pragma once

class QIODevice;

namespace platform {

// True when a JPEG's coded data end before they cover the whole picture: a file cut short and given an end
// marker again passes every look at its markers, and the decoder fills what is missing with grey, warning
// only. The coded data are decoded at an eighth of the picture's size, which costs the reading of the data,
// not the picture, and the decoder's own report of a premature end is taken. False for a file that is not a
// JPEG or that the decoder refuses outright: the picture's reader judges those. Reads the device from where
// it stands.
bool jpegCodedDataEndEarly(QIODevice& device);

} // namespace platform
