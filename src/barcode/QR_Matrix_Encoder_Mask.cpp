// The choice of mask: each of the eight scored on lines of bits made from the unmasked modules.
#include "barcode/QR_Matrix_Encoder.h"

#include "barcode/QR_Mask_Penalty.h"

#include <climits>
#include <memory>

namespace {

using Line = QR_Mask_Penalty::Line;

// Every mask repeats every 12 rows and every 12 columns, so the flips of a line are one of twelve: along
// row k (rows) or down column k (columns), for k the line's number modulo 12.
struct MaskLines {
    Line rows[8][12];
    Line columns[8][12];
};

const MaskLines& maskLines()
{
    static const MaskLines lines = [] {
        MaskLines made;
        for (int mask = 0; mask < 8; ++mask) {
            for (int k = 0; k < 12; ++k) {
                for (int n = 0; n < MAX_MODULESIZE; ++n) {
                    const auto bit = static_cast<std::size_t>(QR_Mask_Penalty::kOffset + n);
                    made.rows[mask][k][bit] = QR_Matrix_Encoder::maskFlips(mask, k, n);
                    made.columns[mask][k][bit] = QR_Matrix_Encoder::maskFlips(mask, n, k);
                }
            }
        }
        return made;
    }();
    return lines;
}

// One kind of module as rows and as columns.
struct Lines {
    Line rows[MAX_MODULESIZE];
    Line columns[MAX_MODULESIZE];

    void set(int x, int y)
    {
        rows[y][static_cast<std::size_t>(QR_Mask_Penalty::kOffset + x)] = true;
        columns[x][static_cast<std::size_t>(QR_Mask_Penalty::kOffset + y)] = true;
    }
};

} // namespace

bool QR_Matrix_Encoder::maskFlips(int mask, int i, int j)
{
    switch (mask) {
    case 0:
        return (i + j) % 2 == 0;
    case 1:
        return i % 2 == 0;
    case 2:
        return j % 3 == 0;
    case 3:
        return (i + j) % 3 == 0;
    case 4:
        return ((i / 2) + (j / 3)) % 2 == 0;
    case 5:
        return (i * j) % 2 + (i * j) % 3 == 0;
    case 6:
        return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default:
        return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
    }
}

int QR_Matrix_Encoder::chooseMask() const
{
    const int size = m_nSymbolSize;
    // Dark function modules (format information not yet in), data modules before masking, and the
    // modules a mask may flip.
    auto fixedDark = std::make_unique<Lines>();
    auto data = std::make_unique<Lines>();
    auto free = std::make_unique<Lines>();
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            const std::uint8_t module = m_byModuleData[x][y];
            if (module & 0x20) {
                if (module & 0x10)
                    fixedDark->set(x, y);
                continue;
            }
            free->set(x, y);
            if (module & 0x02)
                data->set(x, y);
        }
    }

    const MaskLines& flipped = maskLines();
    int chosen = 0;
    int lowest = INT_MAX;
    for (int mask = 0; mask < 8; ++mask) {
        QR_Mask_Penalty penalty(size);
        for (int n = 0; n < size; ++n) {
            penalty.row(n) = fixedDark->rows[n] | (data->rows[n] ^ (flipped.rows[mask][n % 12] & free->rows[n]));
            penalty.column(n)
                = fixedDark->columns[n] | (data->columns[n] ^ (flipped.columns[mask][n % 12] & free->columns[n]));
        }
        for (const FormatBit& module : formatModules(mask)) {
            if (module.dark) {
                penalty.row(module.y)[static_cast<std::size_t>(QR_Mask_Penalty::kOffset + module.x)] = true;
                penalty.column(module.x)[static_cast<std::size_t>(QR_Mask_Penalty::kOffset + module.y)] = true;
            }
        }
        // A mask is scored only until it reaches the lowest penalty so far: it cannot be chosen then.
        const int score = penalty.score(lowest);
        if (score < lowest) {
            lowest = score;
            chosen = mask;
        }
    }
    return chosen;
}
