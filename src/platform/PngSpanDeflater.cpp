#include "platform/PngSpanDeflater.h"

#include "platform/ByteSpans.h"
#include "platform/DeflateFixedCodes.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

namespace platform {

namespace {

using bytes::equalPrefix;
using deflate::kMinMatch;

// A span equal to the row above shorter than this goes in as literals: its reference would cost as much.
constexpr std::size_t kMinRowSpan = 8;

} // namespace

PngSpanDeflater::PngSpanDeflater(std::size_t rowLength, std::size_t pixelBytes)
    : rowLength_(rowLength)
    , pixelBytes_(std::max<std::size_t>(1, pixelBytes))
    , rowsReachable_(rowLength <= deflate::kWindow)
    , stream_(4096 + rowLength)
    , rowBack_(deflate::distanceCode(std::min(rowLength_, deflate::kWindow)))
    , pixelBack_(deflate::distanceCode(std::min(pixelBytes_, deflate::kWindow)))
    , lastRow_(rowLength)
{
}

void PngSpanDeflater::addRow(const std::uint8_t* row)
{
    const bool above = hasRow_ && rowsReachable_;
    const std::uint8_t* upper = lastRow_.data();
    std::size_t i = 0;
    while (i < rowLength_) {
        // The first byte decides most of the time: a photo's noisy rows rarely repeat even one.
        if (above && row[i] == upper[i]) {
            const std::size_t span = equalPrefix(row + i, upper + i, rowLength_ - i);
            if (span >= kMinRowSpan) {
                stream_.putCopy(span, rowBack_, row + i);
                i += span;
                continue;
            }
        }
        // The filter byte is never part of a pixel run.
        if (i > pixelBytes_ && row[i] == row[i - pixelBytes_]) {
            const std::size_t run = equalPrefix(row + i, row + i - pixelBytes_, rowLength_ - i);
            if (run >= kMinMatch) {
                stream_.putCopy(run, pixelBack_, row + i);
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
    stream_.putCopy(rowLength_, rowBack_, lastRow_.data());
    adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
    return true;
}

QByteArray PngSpanDeflater::finish()
{
    return stream_.finish(adler_);
}

} // namespace platform
