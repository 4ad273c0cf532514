#pragma once

// Large pictures of our own making, written in a moment: every block of these JPEGs is flat grey and codes as
// zero bits, and the image data of the PNG are zeros run on far past its rows.
#include "model/PictureFiles.h"

#include <vector>

namespace picturefiles {

// A flat grey JPEG of one or three components, colour subsampled by `sampling` (2: 4:2:0, 1: 4:4:4), baseline or
// progressive with its first DC scan only. `refinements` repeats a last AC refinement scan of a one-component
// picture of a multiple of 16384 blocks, as a file made to hold a reader up does: runs of 16384 empty blocks.
inline QByteArray flatJpeg(QSize size, int components, int sampling, bool progressive, int refinements = 0)
{
    const auto be16 = [](qsizetype value) { return QByteArray(1, char(value >> 8)) + char(value & 0xFF); };
    const auto segment = [&](int marker, const QByteArray& body) {
        return QByteArray(1, char(0xFF)) + char(marker) + be16(body.size() + 2) + body;
    };
    const auto oneCodeTable = [](int tableClass, unsigned char symbol) { // its one code the bit 0
        return char(tableClass << 4) + QByteArray(1, char(1)) + QByteArray(15, '\0') + char(symbol);
    };
    const auto scan = [&](int count, int start, int end, int approximation, qint64 zeroBytes) {
        const QByteArray ids = QByteArray("\x01\x00\x02\x00\x03\x00", 6).left(2 * count); // components 1 to count
        const QByteArray header = char(count) + ids + char(start) + char(end) + char(approximation);
        return segment(0xDA, header) + QByteArray(zeroBytes, '\0');
    };
    const int most = components == 1 ? 1 : sampling, unit = 8 * most;
    const QByteArray frame = char(8) + be16(size.height()) + be16(size.width()) + char(components) + char(1)
        + char(most << 4 | most) + QByteArray("\0\x02\x11\0\x03\x11\0", 7).left(components * 3 - 2);
    // Blocks in units of the largest sampling: four luma blocks and two colour blocks in 4:2:0.
    const qint64 blocks = qint64(components == 1 ? 1 : most * most + 2) * ((size.width() + unit - 1) / unit)
        * ((size.height() + unit - 1) / unit);
    QByteArray jpeg = QByteArray("\xFF\xD8", 2) + segment(0xDB, QByteArray(1, '\0') + QByteArray(64, char(1)))
        + segment(progressive ? 0xC2 : 0xC0, frame)
        + segment(0xC4, oneCodeTable(0, 0x00) + oneCodeTable(1, refinements ? 0xE0 : 0x00))
        + scan(components, 0, progressive ? 0 : 63, 0, (blocks * (progressive ? 1 : 2) + 7) / 8); // DC 0, EOB
    for (int again = 0; refinements && again <= refinements; ++again) // of 15 bits a run
        jpeg += scan(1, 1, 63, again ? 0x10 : 0x01, (blocks / 16384 * 15 + 7) / 8);
    return jpeg + QByteArray("\xFF\xD9", 2);
}

// A black PNG in 8-bit colour whose image data go on as zeros until they inflate to `inflated` bytes: a fixed
// block of one literal zero, then a dynamic block coding length 258, end of block and distance 1 in a bit each.
inline QByteArray inflatingPng(QSize size, qint64 inflated, bool interlaced = false)
{
    QByteArray stream("\x78\x01", 2);
    quint64 bits = 0;
    int count = 0;
    const auto put = [&](quint32 value, int width) { // from the lowest bit of each byte
        for (bits |= quint64(value) << count, count += width; count >= 8; bits >>= 8, count -= 8)
            stream.append(char(bits & 0xFF));
    };
    put(0b010, 3), put(0b00001100, 8), put(0, 7); // not final, fixed: literal 0 (reversed), end of block
    put(0b101, 3), put((286 - 257) | (18 - 4) << 10, 14); // final, dynamic: 286 lengths, 1 distance, 18 lengths
    for (int symbol : { 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1 }) // only 18 and 1 of 1 bit
        put(symbol == 18 || symbol == 1 ? 1 : 0, 3);
    // 256 zeros, 256 of length 1, 28 zeros, 285 of length 1, then distance 0: 18 is the bit 1, length 1 the bit 0.
    const auto zeros = [&](int run) { put(1, 1), put(run - 11, 7); };
    zeros(138), zeros(118), put(0, 1), zeros(28), put(0, 1), put(0, 1);
    // 256 codes as 0 and 285 as 1: each copy is the bits 1, 0; two fill the byte begun, then four a byte.
    const qint64 copies = (inflated - 1) / 258, rest = (copies - 2) % 4;
    put(0b0101, 4);
    stream.append(QByteArray((copies - 2) / 4, char(0x55)));
    put(0x55 & ((1 << rest * 2) - 1), int(rest * 2));
    put(0, 1 + (15 - count) % 8); // end of block, and the last byte filled
    QByteArray check(4, '\0');
    qToBigEndian<quint32>(quint32((1 + copies * 258) % 65521) << 16 | 1, check.data()); // Adler-32 of zeros
    return pngHeader(size.width(), size.height(), 8, interlaced) + chunk("IDAT", stream + check) + chunk("IEND", {});
}

// A progressive picture of 12000 x 12000 grey pixels in exactly 100 scans: a DC scan and 99 AC refinements.
inline QByteArray hundredScanJpeg()
{
    return flatJpeg({ 12000, 12000 }, 1, 1, true, 98);
}

// A sound progressive photo of 70 million pixels in full colour (4:4:4): its coefficients alone take 420 MB.
inline QByteArray fullColourProgressiveJpeg()
{
    return flatJpeg({ 10248, 6832 }, 3, 1, true);
}

// Pictures made to hold a reader up or to pass its bounds, each with what its refusal says; every road a
// picture comes in by refuses them the same way.
struct Hostile_Picture {
    const char* name;
    QByteArray bytes;
    const char* says;
};
inline std::vector<Hostile_Picture> hostilePictures()
{
    const QByteArray large = flatJpeg({ 8400, 8400 }, 3, 1, true);
    return {
        { "scans.jpg", flatJpeg({ 4096, 4096 }, 1, 1, true, 1000), "more than 100 scans" },
        { "inflating.png", inflatingPng({ 100, 100 }, 5'000'000'000), "far past" },
        { "cutlarge.jpg", large.left(large.size() / 2) + "\xFF\xD9", "copied or downloaded" },
    };
}

} // namespace picturefiles
