#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::deflate {

// The bits of a zlib stream in the order the format reads them (the first bit lowest): the header on
// creation, codes as they come, and the padding and Adler-32 check at the end. The bits go four bytes at
// a time into a buffer that doubles when full, so a code costs a few instructions.
class BitOutput {
public:
    // Room for about `expectedBytes` of output is taken at once.
    explicit BitOutput(std::size_t expectedBytes);

    // At most 32 bits at a time.
    void putBits(std::uint32_t bits, int count)
    {
        bitBuffer_ |= static_cast<std::uint64_t>(bits) << bitCount_;
        bitCount_ += count;
        if (bitCount_ >= 32)
            flushWord();
    }

    // Pads the last byte and appends the check of the uncompressed bytes; the output is spent.
    QByteArray finish(unsigned long adler);

private:
    void flushWord()
    {
        // Four whole bytes at a time; fewer than 32 bits wait, so the buffer never overflows.
        if (used_ + 4 > out_.size())
            out_.resize(2 * out_.size());
        std::uint8_t* at = out_.data() + used_;
        for (int i = 0; i < 4; ++i)
            at[i] = static_cast<std::uint8_t>(bitBuffer_ >> (8 * i));
        used_ += 4;
        bitBuffer_ >>= 32;
        bitCount_ -= 32;
    }
    void putByte(std::uint8_t byte);

    std::vector<std::uint8_t> out_; // the stream so far: its first used_ bytes
    std::size_t used_ = 0;
    std::uint64_t bitBuffer_ = 0;
    int bitCount_ = 0;
};

} // namespace platform::deflate
