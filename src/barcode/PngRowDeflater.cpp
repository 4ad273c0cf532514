#include "barcode/PngRowDeflater.h"

#include "platform/ByteSpans.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

using platform::bytes::equalPrefix;
using platform::bytes::runLength;
using platform::deflate::distanceCode;
using platform::deflate::kMinMatch;
using platform::deflate::kWindow;

PngRowDeflater::PngRowDeflater(std::size_t rowLength)
    : rowLength_(rowLength)
    , stream_(256 + rowLength)
    , rowBack_(distanceCode(std::min(rowLength, kWindow)))
    , byteBack_(distanceCode(1))
    , lastRow_(rowLength)
{
}

void PngRowDeflater::addRow(const std::uint8_t* row)
{
    // Rows of text change little from one to the next: bytes as in the row above go as one copy.
    const bool above = hasRow_ && rowLength_ <= kWindow;
    std::size_t i = 0;
    while (i < rowLength_) {
        if (above && row[i] == lastRow_[i]) {
            const std::size_t same = equalPrefix(row + i, lastRow_.data() + i, rowLength_ - i);
            if (same >= kMinMatch) {
                stream_.putCopy(same, rowBack_, row + i);
                i += same;
                continue;
            }
        }
        const std::uint8_t byte = row[i];
        stream_.putLiteral(byte);
        // Most bytes of a row that is not blank differ from the next one.
        if (i + 1 < rowLength_ && row[i + 1] != byte) {
            ++i;
            continue;
        }
        const std::size_t run = runLength(row + i + 1, rowLength_ - i - 1, byte);
        stream_.putCopy(run, byteBack_, row + i + 1);
        i += 1 + run;
    }
    std::memcpy(lastRow_.data(), row, rowLength_);
    adler_ = adler32(adler_, row, static_cast<uInt>(rowLength_));
    lastRowAdlerKnown_ = false;
    hasRow_ = true;
}

bool PngRowDeflater::repeatRow()
{
    if (!hasRow_)
        return false;
    if (rowLength_ > kWindow) {
        // Beyond the window's reach: the row's bytes again.
        const std::vector<std::uint8_t> row = lastRow_;
        addRow(row.data());
        return true;
    }
    stream_.putCopy(rowLength_, rowBack_, lastRow_.data());
    // The checksum of the row alone, worked out at its first repeat.
    if (!lastRowAdlerKnown_) {
        lastRowAdler_ = adler32(1L, lastRow_.data(), static_cast<uInt>(rowLength_));
        lastRowAdlerKnown_ = true;
    }
    adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
    return true;
}

QByteArray PngRowDeflater::finish()
{
    return stream_.finish(adler_);
}
