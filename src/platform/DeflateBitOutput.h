#pragma once

#include <QByteArray>

#include <algorithm>
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

    // Many codes in a row with the bits kept in registers: room for `maxBytes` more is made first, so no
    // code checks for it, and the bits go back to the output when the run ends.
    class Run {
    public:
        explicit Run(BitOutput& output, std::size_t maxBytes)
            : output_(output)
        {
            if (output.used_ + maxBytes + 8 > output.out_.size())
                output.out_.resize(std::max(2 * output.out_.size(), output.used_ + maxBytes + 8));
            at_ = output.out_.data() + output.used_;
            buffer_ = output.bitBuffer_;
            count_ = output.bitCount_;
        }
        ~Run()
        {
            output_.used_ = static_cast<std::size_t>(at_ - output_.out_.data());
            output_.bitBuffer_ = buffer_;
            output_.bitCount_ = count_;
        }
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;

        void putBits(std::uint32_t bits, int count)
        {
            buffer_ |= static_cast<std::uint64_t>(bits) << count_;
            count_ += count;
            if (count_ >= 32) {
                for (int i = 0; i < 4; ++i)
                    at_[i] = static_cast<std::uint8_t>(buffer_ >> (8 * i));
                at_ += 4;
                buffer_ >>= 32;
                count_ -= 32;
            }
        }

    private:
        BitOutput& output_;
        std::uint8_t* at_;
        std::uint64_t buffer_;
        int count_;
    };

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
