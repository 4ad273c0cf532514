#pragma once

#include <QImage>

// A picture stretched to a size by taking, for each pixel, the source pixel under its centre, so that
// module edges stay sharp. A picture of a colour table (one bit or one byte a pixel) stays one of one
// byte a pixel with the same table, a quarter of the memory of a 32-bit one; any other picture becomes
// 32-bit premultiplied. Null when the source is null, the size is empty or memory runs out.
QImage Barcode_Nearest_Resample(const QImage& source, int width, int height);
