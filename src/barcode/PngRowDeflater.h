#pragma once

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

    // The fixed codes, made once.
    struct Tables;

private:
    void putByte(std::uint8_t byte);
    void putBits(std::uint32_t bits, int count);
    void putLiteral(unsigned byte);
    void putMatch(std::size_t length, std::size_t distance);
    void putRepeat(std::size_t length, std::size_t distance, const std::uint8_t* bytes);

    const Tables& tables_;
    std::size_t rowLength_;
    std::vector<std::uint8_t> out_; // the stream so far: its first used_ bytes
    std::size_t used_ = 0;
    std::vector<std::uint8_t> lastRow_;
    std::uint64_t bitBuffer_ = 0;
    int bitCount_ = 0;
    unsigned long adler_ = 1;
    unsigned long lastRowAdler_ = 1;
    bool lastRowAdlerKnown_ = false;
    bool hasRow_ = false;
    std::size_t rowDistanceOf_ = 0;
    std::uint32_t rowDistanceBits_ = 0;
    int rowDistanceCount_ = 0;
};
