#include "barcode/PngRowDeflater.h"

#include "platform/DeflateFixedCodes.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

using platform::deflate::Code;
using platform::deflate::distanceCode;
using platform::deflate::kMaxMatch;
using platform::deflate::kMinMatch;
using platform::deflate::kWindow;
using platform::deflate::lengthCode;

PngRowDeflater::PngRowDeflater(std::size_t rowLength)
    : rowLength_(rowLength)
    , stream_(256 + rowLength)
    , lastRow_(rowLength)
{
}

void PngRowDeflater::putMatch(std::size_t length, std::size_t distance)
{
    const Code& symbol = lengthCode(length);
    stream_.putBits(symbol.bits, symbol.count);
    // The distance one row back comes again and again: worked out once.
    if (distance != rowDistanceOf_) {
        const Code where = distanceCode(distance);
        rowDistanceOf_ = distance;
        rowDistanceBits_ = where.bits;
        rowDistanceCount_ = where.count;
    }
    stream_.putBits(rowDistanceBits_, rowDistanceCount_);
}

// A copy of length bytes from distance back, cut into matches of at most the longest length.
void PngRowDeflater::putRepeat(std::size_t length, std::size_t distance)
{
    while (length >= kMinMatch) {
        std::size_t take = std::min(length, kMaxMatch);
        if (length - take > 0 && length - take < kMinMatch)
            take = length - kMinMatch;
        putMatch(take, distance);
        length -= take;
    }
    // Fewer than three bytes left: as literals of the bytes they copy.
    for (std::size_t i = 0; i < length; ++i)
        stream_.putLiteral(lastRow_[rowLength_ - length + i]);
}

void PngRowDeflater::addRow(const std::uint8_t* row)
{
    std::size_t i = 0;
    while (i < rowLength_) {
        const std::uint8_t byte = row[i];
        stream_.putLiteral(byte);
        std::size_t end = i + 1;
        while (end < rowLength_ && row[end] == byte)
            ++end;
        std::size_t run = end - i - 1;
        while (run >= kMinMatch) {
            std::size_t take = std::min(run, kMaxMatch);
            if (run - take > 0 && run - take < kMinMatch)
                take = run - kMinMatch;
            stream_.putBits(lengthCode(take).bits, lengthCode(take).count);
            stream_.putBits(0, 5); // one byte back
            run -= take;
        }
        for (; run > 0; --run)
            stream_.putLiteral(byte);
        i = end;
    }
    std::memcpy(lastRow_.data(), row, rowLength_);
    lastRowAdler_ = adler32(1L, row, static_cast<uInt>(rowLength_));
    adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
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
    putRepeat(rowLength_, rowLength_);
    adler_ = adler32_combine(adler_, lastRowAdler_, static_cast<z_off_t>(rowLength_));
    return true;
}

QByteArray PngRowDeflater::finish()
{
    return stream_.finish(adler_);
}
