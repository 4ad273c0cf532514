#pragma once

// Large pictures of our own making, written byte by byte in a moment: every coded block of these JPEGs is flat
// grey and codes as zero bits, so that a picture of a hundred million pixels takes a few hundred kilobytes, and
// the image data of the PNG are zeros run on far past its rows.
#include "model/PictureFiles.h"

#include <QList>

namespace picturefiles {

// A flat grey JPEG of the size, of one or three components; colour is subsampled by `sampling` (2: 4:2:0,
// 1: 4:4:4). Baseline, or progressive with its first DC scan only. `refinements` repeats a last AC refinement
// scan of a one-component progressive picture, as a file made to hold a reader up does: its count of blocks
// must be a multiple of 16384, so that each scan codes as runs of 16384 empty blocks of 15 bits each.
inline QByteArray flatJpeg(QSize size, int components, int sampling, bool progressive, int refinements = 0)
{
    const auto be16 = [](qsizetype value) { return QByteArray(1, char(value >> 8)) + char(value & 0xFF); };
    const auto segment = [&](int marker, const QByteArray& body) {
        return QByteArray(1, char(0xFF)) + char(marker) + be16(body.size() + 2) + body;
    };
    // A Huffman table of one code, the single bit 0, for the symbol given.
    const auto oneCodeTable = [](int tableClass, unsigned char symbol) {
        return char(tableClass << 4) + QByteArray(1, char(1)) + QByteArray(15, '\0') + char(symbol);
    };
    const auto scan = [&](const QList<int>& ids, int start, int end, int high, int low, qint64 zeroBytes) {
        QByteArray header(1, char(ids.size()));
        for (int component : ids)
            header.append(char(component)).append(char(0x00));
        header.append(char(start)).append(char(end)).append(char(high << 4 | low));
        return segment(0xDA, header) + QByteArray(zeroBytes, '\0');
    };
    const int most = components == 1 ? 1 : sampling;
    QByteArray frame = char(8) + be16(size.height()) + be16(size.width()) + char(components);
    for (int c = 1; c <= components; ++c)
        frame.append(char(c)).append(char(c == 1 ? most << 4 | most : 0x11)).append(char(0));
    QByteArray jpeg = QByteArray("\xFF\xD8", 2) + segment(0xDB, QByteArray(1, '\0') + QByteArray(64, char(1)))
        + segment(progressive ? 0xC2 : 0xC0, frame)
        + segment(0xC4, oneCodeTable(0, 0x00) + oneCodeTable(1, refinements ? 0xE0 : 0x00));
    // Blocks in units of the largest sampling: four luma blocks and two colour blocks in 4:2:0.
    const int unit = 8 * most;
    const qint64 blocks = qint64(components == 1 ? 1 : most * most + 2) * ((size.width() + unit - 1) / unit)
        * ((size.height() + unit - 1) / unit);
    const QList<int> all = components == 1 ? QList<int> { 1 } : QList<int> { 1, 2, 3 };
    const int bitsPerBlock = progressive ? 1 : 2; // a zero DC difference, and a baseline's end of block
    jpeg += scan(all, 0, progressive ? 0 : 63, 0, 0, (blocks * bitsPerBlock + 7) / 8);
    if (refinements) {
        const qint64 runBytes = (blocks / 16384 * 15 + 7) / 8;
        jpeg += scan({ 1 }, 1, 63, 0, 1, runBytes);
        for (int again = 0; again < refinements; ++again)
            jpeg += scan({ 1 }, 1, 63, 1, 0, runBytes);
    }
    return jpeg + QByteArray("\xFF\xD9", 2);
}

// A PNG of the size, black, in 8-bit colour, whose image data go on as zeros until they inflate to `inflated`
// bytes: its one deflate block codes a copy of 258 bytes in two bits.
inline QByteArray inflatingPng(QSize size, qint64 inflated, bool interlaced = false)
{
    // A fixed-code block with one literal zero, then a dynamic block whose codes are: length 258 and end of
    // block of one bit each, and distance 1 of one bit. Bits are written from the lowest of each byte.
    QByteArray stream("\x78\x01", 2);
    quint64 bits = 0;
    int count = 0;
    const auto put = [&](quint32 value, int width) {
        bits |= quint64(value) << count;
        count += width;
        while (count >= 8) {
            stream.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    put(0b010, 3); // not final, fixed codes
    put(0b00001100, 8); // literal 0, its code reversed
    put(0, 7); // end of block
    put(0b101, 3); // final, dynamic codes
    put((286 - 257) | (1 - 1) << 5 | (18 - 4) << 10, 14); // lengths, distances and code length codes given
    // Code length code lengths in their fixed order 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1 15: 18 and 1
    // of one bit each, every other length absent.
    const int order[] = { 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1 };
    for (int symbol : order)
        put(symbol == 18 || symbol == 1 ? 1 : 0, 3);
    // Literal and length lengths: 256 zeros, 256 of length 1, 28 zeros, 285 of length 1; then distance 0.
    const auto zeros = [&](int run) { put(1, 1), put(run - 11, 7); }; // symbol 18 is the bit 1, symbol 1 the bit 0
    zeros(138);
    zeros(118);
    put(0, 1);
    zeros(28);
    put(0, 1);
    put(0, 1);
    // Codes: 256 is 0 and 285 is 1; the one distance code is 0. Each copy is the two bits 1, 0.
    const qint64 copies = (inflated - 1) / 258;
    qint64 written = 0;
    for (; count != 0 && written < copies; ++written)
        put(0b01, 2);
    stream.append(QByteArray((copies - written) / 4, char(0x55))); // four copies a byte
    for (written += (copies - written) / 4 * 4; written < copies; ++written)
        put(0b01, 2);
    put(0, 1 + (15 - count) % 8); // end of block, and the last byte filled
    QByteArray check(4, '\0');
    qToBigEndian<quint32>(quint32((1 + copies * 258) % 65521) << 16 | 1, check.data()); // Adler-32 of zeros
    return pngHeader(size.width(), size.height(), 8, interlaced) + chunk("IDAT", stream + check) + chunk("IEND", {});
}

} // namespace picturefiles
