#pragma once

#include "platform/DeflateFixedCodes.h"

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::deflate {

// A zlib stream of one deflate block in the fixed codes, written code by code: the compressors of PNG
// rows decide what goes in, this puts the bits in order and closes the stream. The bits go four bytes at
// a time into a buffer that doubles when full, so a code costs a few instructions.
class FixedCodeStream {
public:
    // Room for about `expectedBytes` of output is taken at once.
    explicit FixedCodeStream(std::size_t expectedBytes);

    void putBits(std::uint32_t bits, int count)
    {
        bitBuffer_ |= static_cast<std::uint64_t>(bits) << bitCount_;
        bitCount_ += count;
        if (bitCount_ >= 32)
            flushWord();
    }
    void putCode(const Code& code) { putBits(code.bits, code.count); }
    void putLiteral(unsigned byte) { putCode(tables_.literal[byte & 0xffu]); }

    // References of `length` bytes a distance back (its code given), cut into lengths the format allows;
    // a tail too short for a reference goes as literals of `copied`, the bytes the references stand for.
    void putCopy(std::size_t length, const Code& distance, const std::uint8_t* copied)
    {
        std::size_t done = 0;
        while (length - done >= kMinMatch) {
            std::size_t take = std::min(length - done, kMaxMatch);
            // Never leave a tail too short for a reference of its own.
            const std::size_t rest = length - done - take;
            if (rest > 0 && rest < kMinMatch)
                take -= kMinMatch - rest;
            putCode(tables_.length[take]);
            putCode(distance);
            done += take;
        }
        for (; done < length; ++done)
            putLiteral(copied[done]);
    }

    // Ends the block and appends the Adler-32 check of the uncompressed bytes; the stream is spent.
    QByteArray finish(unsigned long adler);

private:
    void flushWord()
    {
        // Four whole bytes at a time; a code is at most 31 bits, so the bit buffer never overflows.
        if (used_ + 4 > out_.size())
            grow();
        std::uint8_t* at = out_.data() + used_;
        for (int i = 0; i < 4; ++i)
            at[i] = static_cast<std::uint8_t>(bitBuffer_ >> (8 * i));
        used_ += 4;
        bitBuffer_ >>= 32;
        bitCount_ -= 32;
    }
    void putByte(std::uint8_t byte);
    void grow();

    const FixedTables& tables_;
    std::vector<std::uint8_t> out_; // the stream so far: its first used_ bytes
    std::size_t used_ = 0;
    std::uint64_t bitBuffer_ = 0;
    int bitCount_ = 0;
};

} // namespace platform::deflate
