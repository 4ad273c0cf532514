#include "platform/PngSpanDeflater.h"

#include "platform/ByteSpans.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

namespace platform {

namespace {

using bytes::equalPrefix;
using deflate::kMinMatch;

// A span equal to the row above shorter than this goes in as literals: its reference would cost as much.
constexpr std::size_t kMinRowSpan = 8;
// Spans a pixel aside in the row above, and spans found again earlier in the row, from this length: their
// distances cost more bits than the row above's.
constexpr std::size_t kMinShiftedSpan = 6;
constexpr std::size_t kMinSeenSpan = 6;
// Bits of the hash that finds four bytes seen earlier in the row.
constexpr int kSeenBits = 12;

// The PNG filter types written.
constexpr std::uint8_t kFilterSub = 1;

} // namespace

PngSpanDeflater::PngSpanDeflater(std::size_t rowLength, std::size_t pixelBytes)
    : rowLength_(rowLength)
    , pixelBytes_(std::max<std::size_t>(1, pixelBytes))
    , rowsReachable_(rowLength <= deflate::kWindow)
    , stream_(4096 + rowLength)
    , rowBack_(std::min(rowLength_, deflate::kWindow))
    , pixelBack_(std::min(pixelBytes_, deflate::kWindow))
    , lastRow_(rowLength)
    , filtered_(rowLength)
    , seen_(std::size_t(1) << kSeenBits, 0)
{
}

template <typename Literal, typename Copy>
void PngSpanDeflater::scan(const std::uint8_t* row, Literal&& literal, Copy&& copy)
{
    const bool above = hasRow_ && rowsReachable_;
    const std::uint8_t* upper = lastRow_.data();
    std::uint32_t* seen = seen_.data();
    std::size_t i = 0;
    while (i < rowLength_) {
        // The first byte decides most of the time: a photo's noisy rows rarely repeat even one.
        if (above && row[i] == upper[i]) {
            const std::size_t span = equalPrefix(row + i, upper + i, rowLength_ - i);
            if (span >= kMinRowSpan) {
                if (!copy(i, span, rowBack_))
                    return;
                i += span;
                continue;
            }
        }
        // The filter byte is never part of a pixel run.
        if (i > pixelBytes_ && row[i] == row[i - pixelBytes_]) {
            const std::size_t run = equalPrefix(row + i, row + i - pixelBytes_, rowLength_ - i);
            if (run >= kMinMatch) {
                if (!copy(i, run, pixelBack_))
                    return;
                i += run;
                continue;
            }
        }
        // Slanting and curved edges: the row above, a pixel to either side.
        if (above) {
            std::size_t best = 0, bestDistance = 0;
            if (i + pixelBytes_ < rowLength_ && row[i] == upper[i + pixelBytes_]) {
                best = equalPrefix(row + i, upper + i + pixelBytes_, rowLength_ - i - pixelBytes_);
                bestDistance = rowBack_ - pixelBytes_;
            }
            if (i >= pixelBytes_ && rowBack_ + pixelBytes_ <= deflate::kWindow && row[i] == upper[i - pixelBytes_]) {
                const std::size_t span = equalPrefix(row + i, upper + i - pixelBytes_, rowLength_ - i);
                if (span > best) {
                    best = span;
                    bestDistance = rowBack_ + pixelBytes_;
                }
            }
            if (best >= kMinShiftedSpan) {
                if (!copy(i, best, bestDistance))
                    return;
                i += best;
                continue;
            }
        }
        // The same pixels earlier in the row: a letter or a bar drawn again.
        if (rowsReachable_ && i + 4 <= rowLength_) {
            std::uint32_t key;
            std::memcpy(&key, row + i, 4);
            std::uint32_t& slot = seen[(key * 2654435761u) >> (32 - kSeenBits)];
            const std::size_t earlier = slot;
            slot = static_cast<std::uint32_t>(i);
            if (earlier < i && std::memcmp(row + earlier, row + i, 4) == 0) {
                const std::size_t span = equalPrefix(row + i, row + earlier, rowLength_ - i);
                if (span >= kMinSeenSpan) {
                    if (!copy(i, span, i - earlier))
                        return;
                    i += span;
                    continue;
                }
            }
        }
        if (!literal(i))
            return;
        ++i;
    }
}

void PngSpanDeflater::addRow(const std::uint8_t* row)
{
    // Rows that the row above and runs of a pixel mostly cover go as they are: flat areas, white around
    // texts and bars. Rows of shades (a photograph) go as differences from the pixel to the left, small
    // numbers that the block's codes write in a few bits each. Once in shades, rows stay there until one
    // is covered whole but for its first pixel, which has none to its left: a row written as it is below
    // one of differences finds nothing to copy above it, and a picture whose rows change back and forth
    // gets neither kind cheap. A row's bytes are looked at only until it is clear that it is of shades.
    const std::size_t literalLimit = lastShades_ ? pixelBytes_ + 1 : rowLength_ * 3 / 32;
    std::size_t literals = 0;
    pending_.clear();
    scan(
        row,
        [&](std::size_t i) {
            if (++literals > literalLimit)
                return false;
            if (!pending_.empty() && pending_.back().distance == 0 && pending_.back().at + pending_.back().length == i)
                ++pending_.back().length;
            else
                pending_.push_back({ i, 1, 0 });
            return true;
        },
        [&](std::size_t i, std::size_t length, std::size_t distance) {
            pending_.push_back({ i, length, distance });
            return true;
        });
    const std::uint8_t* emitted = row;
    lastShades_ = literals > literalLimit;
    if (lastShades_) {
        emitted = filtered_.data();
        addShades(row);
    } else {
        for (const Piece& piece : pending_) {
            if (piece.distance == 0)
                stream_.putLiterals(row + piece.at, piece.length);
            else
                stream_.putCopy(piece.length, piece.distance, row + piece.at);
        }
    }
    std::memcpy(lastRow_.data(), emitted, rowLength_);
    lastRowAdler_ = adler32(1L, emitted, static_cast<uInt>(rowLength_));
    adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
    hasRow_ = true;
}

void PngSpanDeflater::addShades(const std::uint8_t* row)
{
    // The sizes are held in locals: the bytes written might otherwise be the members, read again each time.
    const std::size_t rowLength = rowLength_;
    const std::size_t pixelBytes = pixelBytes_;
    std::uint8_t* out = filtered_.data();
    out[0] = kFilterSub;
    const std::size_t first = std::min(rowLength, pixelBytes + 1);
    std::memcpy(out + 1, row + 1, first - 1);
    std::size_t i = first;
    for (; i + 8 <= rowLength; i += 8) {
        std::uint64_t here = 0;
        std::uint64_t left = 0;
        std::memcpy(&here, row + i, 8);
        std::memcpy(&left, row + i - pixelBytes, 8);
        const std::uint64_t difference = bytes::eachByteLess(here, left);
        std::memcpy(out + i, &difference, 8);
    }
    for (; i < rowLength; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - row[i - pixelBytes]);
    // Differences repeat only where the colour runs flat or changes evenly: runs of a pixel are all that
    // is looked for, three bytes at a time before a run is measured.
    std::size_t written = 0;
    for (std::size_t i = bytes::nextRepeat(out, first, rowLength_, pixelBytes_); i + kMinMatch <= rowLength_;
         i = bytes::nextRepeat(out, i, rowLength_, pixelBytes_)) {
        const std::size_t run = equalPrefix(out + i, out + i - pixelBytes_, rowLength_ - i);
        stream_.putLiterals(out + written, i - written);
        stream_.putCopy(run, pixelBack_, out + i);
        i += run;
        written = i;
    }
    stream_.putLiterals(out + written, rowLength_ - written);
}

bool PngSpanDeflater::repeatRow()
{
    // Both filters written depend on the row alone, so the row's bytes stand for the same pixels again.
    if (!hasRow_)
        return false;
    if (!rowsReachable_) {
        const std::vector<std::uint8_t> row = lastRow_;
        scan(
            row.data(),
            [&](std::size_t i) {
                stream_.putLiteral(row[i]);
                return true;
            },
            [&](std::size_t i, std::size_t length, std::size_t distance) {
                stream_.putCopy(length, distance, row.data() + i);
                return true;
            });
        adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
        return true;
    }
    stream_.putCopy(rowLength_, rowBack_, lastRow_.data());
    adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
    return true;
}

QByteArray PngSpanDeflater::finish()
{
    return stream_.finish(adler_);
}

} // namespace platform
