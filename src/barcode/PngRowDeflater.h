#pragma once

#include "platform/FixedCodeStream.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

// The zlib stream of a PNG picture's filtered rows, made for pictures of long runs and repeated rows:
// fixed Huffman codes, a run of equal bytes as a reference one byte back, bytes as in the row above as a
// reference to that row, and a row equal to the one above as a reference to that row, so that a repeated
// row costs a few bits and no scan of its bytes.
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
    std::size_t rowLength_;
    platform::deflate::FixedCodeStream stream_;
    platform::deflate::Code rowBack_; // the distance one row back
    platform::deflate::Code byteBack_; // the distance one byte back
    std::vector<std::uint8_t> lastRow_;
    unsigned long adler_ = 1;
    unsigned long lastRowAdler_ = 1;
    bool lastRowAdlerKnown_ = false;
    bool hasRow_ = false;
};
