#include "barcode/DataMatrix_Symbol_Builder.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <mutex>

namespace {

using Size = DataMatrix_Symbol_Builder::Size;

// Rows, columns, data region rows and columns, data codewords, error-correction codewords, blocks.
const Size kSizes[] = {
    { 10, 10, 8, 8, 3, 5, 1 },
    { 12, 12, 10, 10, 5, 7, 1 },
    { 14, 14, 12, 12, 8, 10, 1 },
    { 16, 16, 14, 14, 12, 12, 1 },
    { 18, 18, 16, 16, 18, 14, 1 },
    { 20, 20, 18, 18, 22, 18, 1 },
    { 22, 22, 20, 20, 30, 20, 1 },
    { 24, 24, 22, 22, 36, 24, 1 },
    { 26, 26, 24, 24, 44, 28, 1 },
    { 32, 32, 14, 14, 62, 36, 1 },
    { 36, 36, 16, 16, 86, 42, 1 },
    { 40, 40, 18, 18, 114, 48, 1 },
    { 44, 44, 20, 20, 144, 56, 1 },
    { 48, 48, 22, 22, 174, 68, 1 },
    { 52, 52, 24, 24, 204, 84, 2 },
    { 64, 64, 14, 14, 280, 112, 2 },
    { 72, 72, 16, 16, 368, 144, 4 },
    { 80, 80, 18, 18, 456, 192, 4 },
    { 88, 88, 20, 20, 576, 224, 4 },
    { 96, 96, 22, 22, 696, 272, 4 },
    { 104, 104, 24, 24, 816, 336, 6 },
    { 120, 120, 18, 18, 1050, 408, 6 },
    { 132, 132, 20, 20, 1304, 496, 8 },
    { 144, 144, 22, 22, 1558, 620, 10 },
    { 8, 18, 6, 16, 5, 7, 1 },
    { 8, 32, 6, 14, 10, 11, 1 },
    { 12, 26, 10, 24, 16, 14, 1 },
    { 12, 36, 10, 16, 22, 18, 1 },
    { 16, 36, 14, 16, 32, 24, 1 },
    { 16, 48, 14, 22, 49, 28, 1 },
};

// Module placement of the codewords' bits in the mapping matrix (the data regions side by side, without
// finder patterns): each cell gets codeword number x 8 + bit (bit 0 the most significant), or -1 for the
// fixed corner pattern, -2 for unset.
class Placement {
public:
    Placement(int rows, int columns)
        : rows_(rows)
        , columns_(columns)
        , cells_(static_cast<size_t>(rows) * columns, -2)
    {
        int codeword = 0;
        int row = 4;
        int column = 0;
        do {
            if (row == rows_ && column == 0)
                corner({ { rows_ - 1, 0 }, { rows_ - 1, 1 }, { rows_ - 1, 2 }, { 0, columns_ - 2 }, { 0, columns_ - 1 },
                           { 1, columns_ - 1 }, { 2, columns_ - 1 }, { 3, columns_ - 1 } },
                    codeword++);
            if (row == rows_ - 2 && column == 0 && columns_ % 4 != 0)
                corner({ { rows_ - 3, 0 }, { rows_ - 2, 0 }, { rows_ - 1, 0 }, { 0, columns_ - 4 }, { 0, columns_ - 3 },
                           { 0, columns_ - 2 }, { 0, columns_ - 1 }, { 1, columns_ - 1 } },
                    codeword++);
            if (row == rows_ - 2 && column == 0 && columns_ % 8 == 4)
                corner({ { rows_ - 3, 0 }, { rows_ - 2, 0 }, { rows_ - 1, 0 }, { 0, columns_ - 2 }, { 0, columns_ - 1 },
                           { 1, columns_ - 1 }, { 2, columns_ - 1 }, { 3, columns_ - 1 } },
                    codeword++);
            if (row == rows_ + 4 && column == 2 && columns_ % 8 == 0)
                corner({ { rows_ - 1, 0 }, { rows_ - 1, columns_ - 1 }, { 0, columns_ - 3 }, { 0, columns_ - 2 },
                           { 0, columns_ - 1 }, { 1, columns_ - 3 }, { 1, columns_ - 2 }, { 1, columns_ - 1 } },
                    codeword++);
            do { // up and to the right
                if (row < rows_ && column >= 0 && cell(row, column) == -2)
                    utah(row, column, codeword++);
                row -= 2;
                column += 2;
            } while (row >= 0 && column < columns_);
            row += 1;
            column += 3;
            do { // down and to the left
                if (row >= 0 && column < columns_ && cell(row, column) == -2)
                    utah(row, column, codeword++);
                row += 2;
                column -= 2;
            } while (row < rows_ && column >= 0);
            row += 3;
            column += 1;
        } while (row < rows_ || column < columns_);
        // The lower right corner left over in some sizes takes a fixed pattern.
        if (cell(rows_ - 1, columns_ - 1) == -2) {
            cells_[static_cast<size_t>(rows_ - 1) * columns_ + columns_ - 1] = -1;
            cells_[static_cast<size_t>(rows_ - 2) * columns_ + columns_ - 2] = -1;
        }
    }

    // Dark or light for the codeword bits.
    bool dark(int row, int column, const QByteArray& codewords) const
    {
        const int value = cell(row, column);
        if (value == -1)
            return true;
        if (value < 0)
            return false;
        const auto byte = static_cast<unsigned char>(codewords.at(value / 8));
        return (byte >> (7 - value % 8)) & 1;
    }

private:
    struct At {
        int row;
        int column;
    };

    int cell(int row, int column) const { return cells_[static_cast<size_t>(row) * columns_ + column]; }

    void module(int row, int column, int codeword, int bit)
    {
        if (row < 0) {
            row += rows_;
            column += 4 - ((rows_ + 4) % 8);
        }
        if (column < 0) {
            column += columns_;
            row += 4 - ((columns_ + 4) % 8);
        }
        cells_[static_cast<size_t>(row) * columns_ + column] = codeword * 8 + bit;
    }

    void utah(int row, int column, int codeword)
    {
        const At at[] = { { row - 2, column - 2 }, { row - 2, column - 1 }, { row - 1, column - 2 },
            { row - 1, column - 1 }, { row - 1, column }, { row, column - 2 }, { row, column - 1 }, { row, column } };
        for (int bit = 0; bit < 8; ++bit)
            module(at[bit].row, at[bit].column, codeword, bit);
    }

    void corner(std::initializer_list<At> at, int codeword)
    {
        int bit = 0;
        for (const At& a : at)
            module(a.row, a.column, codeword, bit++);
    }

    int rows_;
    int columns_;
    std::vector<int> cells_;
};

// Arithmetic in the field of 256 elements the symbols' error correction is made in (the polynomial
// x^8 + x^5 + x^3 + x^2 + 1), by tables made once; read-only afterwards, so any thread may code at once.
struct Field {
    std::array<unsigned char, 512> exp {}; // twice over, so that a sum of two logarithms needs no modulo
    std::array<int, 256> log {};

    Field()
    {
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            exp[i] = exp[i + 255] = static_cast<unsigned char>(x);
            log[x] = i;
            x <<= 1;
            if (x & 0x100)
                x ^= 0x12d;
        }
    }
    unsigned char times(unsigned char a, unsigned char b) const { return a && b ? exp[log[a] + log[b]] : 0; }
};

const Field& field()
{
    static const Field built;
    return built;
}

// The error-correction codewords of one block, first written first: the remainder of the data, shifted
// by their count, divided by the generator whose roots are the field's 2^1 .. 2^count.
std::vector<unsigned char> reedSolomon(const std::vector<unsigned char>& data, int count)
{
    const Field& f = field();
    std::vector<unsigned char> generator(static_cast<size_t>(count) + 1, 0); // highest power first
    generator[0] = 1;
    for (int root = 1; root <= count; ++root) {
        for (int i = root; i > 0; --i)
            generator[size_t(i)] ^= f.times(generator[size_t(i - 1)], f.exp[size_t(root)]);
    }
    std::vector<unsigned char> remainder(static_cast<size_t>(count), 0);
    for (const unsigned char byte : data) {
        const unsigned char lead = byte ^ remainder[0];
        std::rotate(remainder.begin(), remainder.begin() + 1, remainder.end());
        remainder.back() = 0;
        for (int i = 0; i < count; ++i)
            remainder[size_t(i)] ^= f.times(lead, generator[size_t(i) + 1]);
    }
    return remainder;
}

unsigned char randomised253(int value, int position)
{
    const int pseudo = ((149 * position) % 253) + 1;
    const int sum = value + pseudo;
    return static_cast<unsigned char>(sum <= 254 ? sum : sum - 254);
}

} // namespace

QByteArray DataMatrix_Symbol_Builder::withErrorCorrection(const QByteArray& data, const Size& size)
{
    const int perBlock = size.eccCodewords / size.blocks;
    QByteArray all = data + QByteArray(size.eccCodewords, '\0');
    for (int block = 0; block < size.blocks; ++block) {
        std::vector<unsigned char> buffer;
        for (int i = block; i < size.dataCodewords; i += size.blocks)
            buffer.push_back(static_cast<unsigned char>(data[i]));
        const std::vector<unsigned char> ecc = reedSolomon(buffer, perBlock);
        // In the 144 x 144 size the two shorter blocks come first in each round of error-correction
        // codewords, as readers take them.
        const int slot = size.rows == 144 ? (block + 2) % size.blocks : block;
        for (int j = 0; j < perBlock; ++j)
            all[size.dataCodewords + j * size.blocks + slot] = static_cast<char>(ecc[static_cast<size_t>(j)]);
    }
    return all;
}

std::mutex& DataMatrix_Symbol_Builder::libraryLock()
{
    static std::mutex lock;
    return lock;
}

std::optional<DataMatrix_Symbol_Builder::Size> DataMatrix_Symbol_Builder::sizeOf(int rows, int columns)
{
    for (const Size& size : kSizes) {
        if (size.rows == rows && size.columns == columns)
            return size;
    }
    return std::nullopt;
}

std::optional<DataMatrix_Symbol_Builder::Size> DataMatrix_Symbol_Builder::smallestFor(int dataCodewords)
{
    for (const Size& size : kSizes) {
        if (size.rows == size.columns && size.dataCodewords >= dataCodewords)
            return size;
    }
    return std::nullopt;
}

std::optional<DataMatrix_Symbol_Builder::Grid> DataMatrix_Symbol_Builder::build(
    const QByteArray& codewords, const Size& size)
{
    if (codewords.size() > size.dataCodewords)
        return std::nullopt;
    QByteArray data = codewords;
    if (data.size() < size.dataCodewords)
        data += static_cast<char>(129); // the first pad is plain
    while (data.size() < size.dataCodewords)
        data += static_cast<char>(randomised253(129, static_cast<int>(data.size() + 1)));
    const QByteArray all = withErrorCorrection(data, size);

    const int blockRows = size.regionRows + 2;
    const int blockColumns = size.regionColumns + 2;
    const Placement placement(
        size.rows / blockRows * size.regionRows, size.columns / blockColumns * size.regionColumns);

    Grid grid;
    grid.columns = size.columns;
    grid.rows = size.rows;
    grid.modules.assign(static_cast<size_t>(size.rows) * size.columns, 0);
    grid.dataCodewords = static_cast<int>(codewords.size());
    grid.capacity = size.dataCodewords;
    grid.eccCodewords = size.eccCodewords;
    for (int y = 0; y < size.rows; ++y) {
        for (int x = 0; x < size.columns; ++x) {
            const int ry = y % blockRows; // within the region with its finder, from the top
            const int rx = x % blockColumns;
            bool dark;
            if (rx == 0 || ry == blockRows - 1)
                dark = true; // solid left and bottom edges
            else if (ry == 0)
                dark = rx % 2 == 0; // dotted top edge
            else if (rx == blockColumns - 1)
                dark = ry % 2 == 1; // dotted right edge
            else
                dark = placement.dark(
                    (y / blockRows) * size.regionRows + ry - 1, (x / blockColumns) * size.regionColumns + rx - 1, all);
            grid.modules[static_cast<size_t>(y) * size.columns + x] = dark ? 1 : 0;
        }
    }
    return grid;
}

const std::vector<DataMatrix_Symbol_Builder::Size>& DataMatrix_Symbol_Builder::sizesByCapacity()
{
    static const std::vector<Size> sizes = [] {
        std::vector<Size> sorted(std::begin(kSizes), std::end(kSizes));
        std::stable_sort(sorted.begin(), sorted.end(),
            [](const Size& a, const Size& b) { return a.dataCodewords < b.dataCodewords; });
        return sorted;
    }();
    return sizes;
}
