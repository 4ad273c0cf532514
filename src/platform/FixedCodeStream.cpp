#include "platform/FixedCodeStream.h"

namespace platform::deflate {

FixedCodeStream::FixedCodeStream(std::size_t expectedBytes)
{
    out_.reserve(expectedBytes + 16);
    out_.push_back(0x78); // deflate, 32 KB window
    out_.push_back(0x01); // no dictionary; header check
    putBits(1, 1); // the last block
    putBits(1, 2); // fixed codes
}

void FixedCodeStream::flushWord()
{
    // Four whole bytes at a time; a code is at most 31 bits, so the buffer never overflows.
    const std::size_t at = out_.size();
    out_.resize(at + 4);
    for (int i = 0; i < 4; ++i)
        out_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bitBuffer_ >> (8 * i));
    bitBuffer_ >>= 32;
    bitCount_ -= 32;
}

QByteArray FixedCodeStream::finish(unsigned long adler)
{
    putCode(endCode());
    while (bitCount_ > 0) {
        out_.push_back(static_cast<std::uint8_t>(bitBuffer_));
        bitBuffer_ >>= 8;
        bitCount_ -= 8;
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        out_.push_back(static_cast<std::uint8_t>(adler >> shift));
    return QByteArray(reinterpret_cast<const char*>(out_.data()), static_cast<qsizetype>(out_.size()));
}

} // namespace platform::deflate
