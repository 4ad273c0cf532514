#pragma once

#include <QByteArray>

#include <mutex>
#include <optional>
#include <vector>

// ECC200 symbols from data codewords: error correction through the iec16022 library's Reed-Solomon coder,
// block interleaving, module placement and finder patterns. Every symbol is built here: the library's own
// road refuses Base256, interleaves the 144 x 144 size's blocks in a way readers do not follow, and ends
// EDIFACT and X12 data where readers have already returned to ASCII.
class DataMatrix_Symbol_Builder {
public:
    struct Size {
        int rows = 0; // whole symbol, modules
        int columns = 0;
        int regionRows = 0; // one data region, without its finder pattern
        int regionColumns = 0;
        int dataCodewords = 0;
        int eccCodewords = 0; // all blocks together
        int blocks = 0;
    };
    struct Grid {
        int columns = 0;
        int rows = 0;
        std::vector<unsigned char> modules; // columns x rows, row 0 at the top; 1 = dark
        int dataCodewords = 0; // used by the data, padding excluded
        int capacity = 0;
        int eccCodewords = 0;
    };

    // Taken around every call into the library, whose coder keeps its tables in globals.
    static std::mutex& libraryLock();

    // The ECC200 size with that many rows and columns; none for a size the standard does not have.
    static std::optional<Size> sizeOf(int rows, int columns);
    // The smallest square size holding that many data codewords; none when none does.
    static std::optional<Size> smallestFor(int dataCodewords);

    // Every size, fewest data codewords first (a square before a rectangle of the same capacity).
    static const std::vector<Size>& sizesByCapacity();

    // The size's data codewords followed by each block's error correction, interleaved.
    static QByteArray withErrorCorrection(const QByteArray& data, const Size& size);
    // The codewords padded to the size's capacity, error correction added, placed; none when they do not fit.
    static std::optional<Grid> build(const QByteArray& codewords, const Size& size);
};
