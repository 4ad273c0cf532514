#include "barcode/PngRowDeflater.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include <zlib.h>

namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr std::size_t kWindow = 32768;

// A code with its bits in the order they go into the stream (the first bit lowest).
struct Code {
    std::uint32_t bits = 0;
    int count = 0;
};

std::uint32_t reversed(std::uint32_t code, int count)
{
    std::uint32_t result = 0;
    for (int i = 0; i < count; ++i)
        result |= ((code >> i) & 1u) << (count - 1 - i);
    return result;
}

// The fixed literal/length code of a symbol 0..287.
Code fixedSymbol(unsigned symbol)
{
    if (symbol < 144)
        return { reversed(0x30 + symbol, 8), 8 };
    if (symbol < 256)
        return { reversed(0x190 + symbol - 144, 9), 9 };
    if (symbol < 280)
        return { reversed(symbol - 256, 7), 7 };
    return { reversed(0xc0 + symbol - 280, 8), 8 };
}

constexpr std::array<std::uint16_t, 29> kLengthBase { 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43,
    51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258 };
constexpr std::array<std::uint8_t, 29> kLengthExtra { 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4,
    4, 4, 5, 5, 5, 5, 0 };
constexpr std::array<std::uint16_t, 30> kDistanceBase { 1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257,
    385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577 };
constexpr std::array<std::uint8_t, 30> kDistanceExtra { 0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9,
    9, 10, 10, 11, 11, 12, 12, 13, 13 };

// How many bytes from `from` to `length` are as in `other`: eight a step, the first that differs found
// from the lowest differing bit on little-endian machines.
std::size_t sameBytes(const std::uint8_t* row, const std::uint8_t* other, std::size_t from, std::size_t length)
{
    std::size_t end = from;
    while (end + 8 <= length) {
        std::uint64_t here = 0;
        std::uint64_t there = 0;
        std::memcpy(&here, row + end, 8);
        std::memcpy(&there, other + end, 8);
        const std::uint64_t differ = here ^ there;
        if (differ != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return end + static_cast<std::size_t>(std::countr_zero(differ) / 8) - from;
            break;
        }
        end += 8;
    }
    while (end < length && row[end] == other[end])
        ++end;
    return end - from;
}

// The first position from `from` whose byte is not `byte`.
std::size_t runEnd(const std::uint8_t* row, std::size_t from, std::size_t length, std::uint8_t byte)
{
    std::size_t end = from;
    const std::uint64_t eight = 0x0101010101010101ULL * byte;
    while (end + 8 <= length) {
        std::uint64_t next = 0;
        std::memcpy(&next, row + end, 8);
        const std::uint64_t differ = next ^ eight;
        if (differ != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return end + static_cast<std::size_t>(std::countr_zero(differ) / 8);
            break;
        }
        end += 8;
    }
    while (end < length && row[end] == byte)
        ++end;
    return end;
}

} // namespace

struct PngRowDeflater::Tables {
    std::array<Code, 256> literal;
    std::array<Code, kMaxMatch + 1> length; // symbol and extra bits of every match length
    Code end;
};

namespace {

const PngRowDeflater::Tables& tables()
{
    static const PngRowDeflater::Tables built = [] {
        PngRowDeflater::Tables t;
        for (unsigned b = 0; b < 256; ++b)
            t.literal[b] = fixedSymbol(b);
        for (std::size_t length = kMinMatch; length <= kMaxMatch; ++length) {
            std::size_t i = kLengthBase.size() - 1;
            while (kLengthBase[i] > length)
                --i;
            const Code symbol = fixedSymbol(257 + static_cast<unsigned>(i));
            const auto extra = static_cast<std::uint32_t>(length - kLengthBase[i]);
            t.length[length] = { symbol.bits | extra << symbol.count, symbol.count + kLengthExtra[i] };
        }
        t.end = fixedSymbol(256);
        return t;
    }();
    return built;
}

Code distanceCode(std::size_t distance)
{
    std::size_t i = kDistanceBase.size() - 1;
    while (kDistanceBase[i] > distance)
        --i;
    const auto extra = static_cast<std::uint32_t>(distance - kDistanceBase[i]);
    return { reversed(static_cast<std::uint32_t>(i), 5) | extra << 5, 5 + kDistanceExtra[i] };
}

} // namespace

PngRowDeflater::PngRowDeflater(std::size_t rowLength)
    : tables_(tables())
    , rowLength_(rowLength)
    , lastRow_(rowLength)
{
    out_.resize(256 + rowLength);
    putByte(0x78); // deflate, 32 KB window
    putByte(0x01); // no dictionary; header check
    putBits(1, 1); // the last block
    putBits(1, 2); // fixed codes
}

void PngRowDeflater::putBits(std::uint32_t bits, int count)
{
    bitBuffer_ |= static_cast<std::uint64_t>(bits) << bitCount_;
    bitCount_ += count;
    if (bitCount_ < 32)
        return;
    // Four whole bytes at a time; a code is at most 31 bits, so the buffer never overflows.
    if (used_ + 4 > out_.size())
        out_.resize(2 * out_.size());
    std::uint8_t* at = out_.data() + used_;
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(bitBuffer_ >> (8 * i));
    used_ += 4;
    bitBuffer_ >>= 32;
    bitCount_ -= 32;
}

void PngRowDeflater::putByte(std::uint8_t byte)
{
    if (used_ + 1 > out_.size())
        out_.resize(2 * out_.size());
    out_[used_++] = byte;
}

void PngRowDeflater::putLiteral(unsigned byte)
{
    const Code& code = tables_.literal[byte];
    putBits(code.bits, code.count);
}

void PngRowDeflater::putMatch(std::size_t length, std::size_t distance)
{
    const Code& symbol = tables_.length[length];
    putBits(symbol.bits, symbol.count);
    // The distance one row back comes again and again: worked out once.
    if (distance != rowDistanceOf_) {
        const Code where = distanceCode(distance);
        rowDistanceOf_ = distance;
        rowDistanceBits_ = where.bits;
        rowDistanceCount_ = where.count;
    }
    putBits(rowDistanceBits_, rowDistanceCount_);
}

// A copy of length bytes from distance back, cut into matches of at most the longest length; bytes are
// the ones copied, for a tail too short for a match.
void PngRowDeflater::putRepeat(std::size_t length, std::size_t distance, const std::uint8_t* bytes)
{
    const std::size_t total = length;
    while (length >= kMinMatch) {
        std::size_t take = std::min(length, kMaxMatch);
        if (length - take > 0 && length - take < kMinMatch)
            take = length - kMinMatch;
        putMatch(take, distance);
        length -= take;
    }
    // Fewer than three bytes left: as literals.
    for (std::size_t i = 0; i < length; ++i)
        putLiteral(bytes[total - length + i]);
}

void PngRowDeflater::addRow(const std::uint8_t* row)
{
    // Rows of text change little from one to the next: bytes as in the row above go as one copy.
    const bool above = hasRow_ && rowLength_ <= kWindow;
    std::size_t i = 0;
    while (i < rowLength_) {
        if (above && row[i] == lastRow_[i]) {
            const std::size_t same = sameBytes(row, lastRow_.data(), i, rowLength_);
            if (same >= kMinMatch) {
                putRepeat(same, rowLength_, row + i);
                i += same;
                continue;
            }
        }
        const std::uint8_t byte = row[i];
        putLiteral(byte);
        // Most bytes of a row that is not blank differ from the next one.
        if (i + 1 < rowLength_ && row[i + 1] != byte) {
            ++i;
            continue;
        }
        const std::size_t end = runEnd(row, i + 1, rowLength_, byte);
        std::size_t run = end - i - 1;
        while (run >= kMinMatch) {
            std::size_t take = std::min(run, kMaxMatch);
            if (run - take > 0 && run - take < kMinMatch)
                take = run - kMinMatch;
            putBits(tables_.length[take].bits, tables_.length[take].count);
            putBits(0, 5); // one byte back
            run -= take;
        }
        for (; run > 0; --run)
            putLiteral(byte);
        i = end;
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
    putRepeat(rowLength_, rowLength_, lastRow_.data());
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
    const Code& end = tables_.end;
    putBits(end.bits, end.count);
    while (bitCount_ > 0) {
        putByte(static_cast<std::uint8_t>(bitBuffer_));
        bitBuffer_ >>= 8;
        bitCount_ -= 8;
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        putByte(static_cast<std::uint8_t>(adler_ >> shift));
    return QByteArray(reinterpret_cast<const char*>(out_.data()), static_cast<qsizetype>(used_));
}
