#include "platform/DeflateBitOutput.h"

#include <algorithm>

namespace platform::deflate {

BitOutput::BitOutput(std::size_t expectedBytes)
    : out_(std::max<std::size_t>(expectedBytes, 16))
{
    putByte(0x78); // deflate, 32 KB window
    putByte(0x01); // no dictionary; header check
}

void BitOutput::putByte(std::uint8_t byte)
{
    if (used_ + 1 > out_.size())
        out_.resize(2 * out_.size());
    out_[used_++] = byte;
}

QByteArray BitOutput::finish(unsigned long adler)
{
    while (bitCount_ > 0) {
        putByte(static_cast<std::uint8_t>(bitBuffer_));
        bitBuffer_ >>= 8;
        bitCount_ = std::max(0, bitCount_ - 8);
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        putByte(static_cast<std::uint8_t>(adler >> shift));
    return QByteArray(reinterpret_cast<const char*>(out_.data()), static_cast<qsizetype>(used_));
}

} // namespace platform::deflate
