#include "platform/PngSpanDeflater.h"

#include "platform/DeflateFixedCodes.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

namespace platform {

namespace {

using deflate::kMaxMatch;
using deflate::kMinMatch;

// A span equal to the row above shorter than this goes in as literals: its reference would cost as much.
constexpr std::size_t kMinRowSpan = 8;

// How many of the first `limit` bytes of a and b are equal, eight at a time.
std::size_t equalPrefix(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit)
{
    std::size_t n = 0;
    while (n + 8 <= limit) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y)
            break;
        n += 8;
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

} // namespace

PngSpanDeflater::PngSpanDeflater(std::size_t rowLength, std::size_t pixelBytes)
    : rowLength_(rowLength)
    , pixelBytes_(std::max<std::size_t>(1, pixelBytes))
    , rowsReachable_(rowLength <= deflate::kWindow)
    , stream_(4096 + rowLength)
    , lastRow_(rowLength)
{
    const deflate::Code row = deflate::distanceCode(std::min(rowLength_, deflate::kWindow));
    rowDistanceBits_ = row.bits;
    rowDistanceCount_ = row.count;
    const deflate::Code pixel = deflate::distanceCode(std::min(pixelBytes_, deflate::kWindow));
    pixelDistanceBits_ = pixel.bits;
    pixelDistanceCount_ = pixel.count;
}

void PngSpanDeflater::putCopy(std::size_t length, std::size_t distance, const std::uint8_t* copied)
{
    const bool rowBack = distance == rowLength_;
    const std::uint32_t distanceBits = rowBack ? rowDistanceBits_ : pixelDistanceBits_;
    const int distanceCount = rowBack ? rowDistanceCount_ : pixelDistanceCount_;
    std::size_t done = 0;
    while (length - done >= kMinMatch) {
        std::size_t take = std::min(length - done, kMaxMatch);
        // Never leave a tail too short for a reference of its own.
        const std::size_t rest = length - done - take;
        if (rest > 0 && rest < kMinMatch)
            take -= kMinMatch - rest;
        stream_.putCode(deflate::lengthCode(take));
        stream_.putBits(distanceBits, distanceCount);
        done += take;
    }
    for (; done < length; ++done)
        stream_.putLiteral(copied[done]);
}

void PngSpanDeflater::addRow(const std::uint8_t* row)
{
    const bool above = hasRow_ && rowsReachable_;
    const std::uint8_t* upper = lastRow_.data();
    std::size_t i = 0;
    while (i < rowLength_) {
        if (above) {
            const std::size_t span = equalPrefix(row + i, upper + i, rowLength_ - i);
            if (span >= kMinRowSpan) {
                putCopy(span, rowLength_, row + i);
                i += span;
                continue;
            }
        }
        // The filter byte is never part of a pixel run.
        if (i > pixelBytes_) {
            const std::size_t run = equalPrefix(row + i, row + i - pixelBytes_, rowLength_ - i);
            if (run >= kMinMatch) {
                putCopy(run, pixelBytes_, row + i);
                i += run;
                continue;
            }
        }
        stream_.putLiteral(row[i]);
        ++i;
    }
    std::memcpy(lastRow_.data(), row, rowLength_);
    lastRowAdler_ = adler32(1L, row, static_cast<uInt>(rowLength_));
    adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
    hasRow_ = true;
}

bool PngSpanDeflater::repeatRow()
{
    if (!hasRow_)
        return false;
    if (!rowsReachable_) {
        const std::vector<std::uint8_t> row = lastRow_;
        addRow(row.data());
        return true;
    }
    putCopy(rowLength_, rowLength_, lastRow_.data());
    adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
    return true;
}

QByteArray PngSpanDeflater::finish()
{
    return stream_.finish(adler_);
}

} // namespace platform
