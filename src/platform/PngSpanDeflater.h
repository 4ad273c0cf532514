#pragma once

#include "platform/FixedCodeStream.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// The zlib stream of a colour picture's PNG rows, made in one pass with no search: each byte is either
// part of a span equal to the row above (a reference one row back), part of a run of the pixel before (a
// reference one pixel back) or a literal, all in the fixed Huffman codes. Flat areas, repeated rows and
// the white around texts cost a few bits; a photograph's pixels go in about as large as they are. Rows
// are added top to bottom, each with its filter byte (0) first.
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
    std::size_t rowLength_;
    std::size_t pixelBytes_;
    bool rowsReachable_; // the row above lies within the format's window
    deflate::FixedCodeStream stream_;
    deflate::Code rowBack_; // the distance one row back
    deflate::Code pixelBack_; // the distance one pixel back
    std::vector<std::uint8_t> lastRow_;
    unsigned long adler_ = 1;
    unsigned long lastRowAdler_ = 1;
    bool hasRow_ = false;
};

} // namespace platform
