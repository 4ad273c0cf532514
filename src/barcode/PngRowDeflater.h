#pragma once

#include "platform/FixedCodeStream.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

// The zlib stream of a PNG picture's filtered rows, made for pictures of long runs and repeated rows:
// fixed Huffman codes, a run of equal bytes as a reference one byte back, and a row equal to the one
// above as a reference to that row, so that a repeated row costs a few bits and no scan of its bytes.
// Rows are added top to bottom, each with its filter byte first.
class PngRowDeflater {
public:
    explicit PngRowDeflater(std::size_t rowLength);

    // A row of rowLength bytes.
    void addRow(const std::uint8_t* row);
    // A row equal to the last row added; the first row has none above and is refused by returning false.
    bool repeatRow();
    // The finished stream; the deflater is spent afterwards.
    QByteArray finish();

private:
    void putMatch(std::size_t length, std::size_t distance);
    void putRepeat(std::size_t length, std::size_t distance);

    std::size_t rowLength_;
    platform::deflate::FixedCodeStream stream_;
    std::vector<std::uint8_t> lastRow_;
    unsigned long adler_ = 1;
    unsigned long lastRowAdler_ = 1;
    bool hasRow_ = false;
    std::size_t rowDistanceOf_ = 0;
    std::uint32_t rowDistanceBits_ = 0;
    int rowDistanceCount_ = 0;
};
