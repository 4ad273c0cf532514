#pragma once

#include "platform/HuffmanBlockStream.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// The zlib stream of a colour picture's PNG rows, made in one pass with no search: each byte is either
// part of a span equal to the row above (a reference one row back), part of a run of the pixel before (a
// reference one pixel back) or a literal, in codes made for the picture's own bytes. Flat areas, repeated
// rows and the white around texts cost a few bits; rows of shades, as in a photograph, are written as
// differences from the pixel on the left (the Sub filter), which take fewer bits than the pixels. Rows
// are added top to bottom, each with its filter byte (0) first; the deflater picks the filter.
class PngSpanDeflater {
public:
    PngSpanDeflater(std::size_t rowLength, std::size_t pixelBytes);

    // A row of rowLength bytes.
    void addRow(const std::uint8_t* row);
    // A row equal to the last row added; false for the first row, which has none above.
    bool repeatRow();
    // The finished stream; the deflater is spent afterwards.
    QByteArray finish();

private:
    // Walks the row's bytes as they go into the stream: literal(i) for a byte, copy(i, length, distance)
    // for a reference; either returning false ends the walk.
    template <typename Literal, typename Copy> void scan(const std::uint8_t* row, Literal&& literal, Copy&& copy);

    // Writes the row Sub-filtered (into filtered_), as literals and runs of a pixel.
    void addShades(const std::uint8_t* row);

    std::size_t rowLength_;
    std::size_t pixelBytes_;
    bool rowsReachable_; // the row above lies within the format's window
    deflate::HuffmanBlockStream stream_;
    std::size_t rowBack_; // the distance one row back
    std::size_t pixelBack_; // the distance one pixel back
    std::vector<std::uint8_t> lastRow_; // the last row's bytes as written, filter byte first
    std::vector<std::uint8_t> filtered_;
    std::vector<std::uint32_t> seen_; // where in its row a four-byte sequence was last seen, by its hash
    // The row's literals and references as found, written once the row is known not to be of shades.
    struct Piece {
        std::size_t at;
        std::size_t length;
        std::size_t distance; // 0 for literals
    };
    std::vector<Piece> pending_;
    unsigned long adler_ = 1;
    unsigned long lastRowAdler_ = 1;
    bool hasRow_ = false;
    bool lastShades_ = false; // the last row was written as differences
};

} // namespace platform
