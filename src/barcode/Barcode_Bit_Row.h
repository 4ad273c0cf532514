#pragma once

#include <QtGlobal>

#include <cstring>

// Pixels [x0, x1) of a row of a one-bit picture (the first pixel in the highest bit of a byte, as a mono
// QImage and a PNG file keep them) set to on or off: whole bytes at once, the bits at either end masked.
inline void Barcode_Fill_Bits(uchar* line, int x0, int x1, bool on)
{
    if (x0 >= x1)
        return;
    const int first = x0 / 8;
    const int last = (x1 - 1) / 8;
    const auto head = static_cast<uchar>(0xffu >> (x0 % 8));
    const auto tail = static_cast<uchar>(0xffu << (7 - (x1 - 1) % 8));
    auto put = [&](int at, uchar mask) { line[at] = static_cast<uchar>(on ? (line[at] | mask) : (line[at] & ~mask)); };
    if (first == last) {
        put(first, static_cast<uchar>(head & tail));
        return;
    }
    put(first, head);
    if (last > first + 1)
        std::memset(line + first + 1, on ? 0xff : 0x00, static_cast<std::size_t>(last - first - 1));
    put(last, tail);
}
