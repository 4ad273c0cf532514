#include "platform/FixedCodeStream.h"

namespace platform::deflate {

FixedCodeStream::FixedCodeStream(std::size_t expectedBytes)
    : tables_(fixedTables())
    , out_(std::max<std::size_t>(expectedBytes, 16))
{
    putByte(0x78); // deflate, 32 KB window
    putByte(0x01); // no dictionary; header check
    putBits(1, 1); // the last block
    putBits(1, 2); // fixed codes
}

void FixedCodeStream::grow()
{
    out_.resize(2 * out_.size());
}

void FixedCodeStream::putByte(std::uint8_t byte)
{
    if (used_ + 1 > out_.size())
        grow();
    out_[used_++] = byte;
}

QByteArray FixedCodeStream::finish(unsigned long adler)
{
    putCode(tables_.end);
    while (bitCount_ > 0) {
        putByte(static_cast<std::uint8_t>(bitBuffer_));
        bitBuffer_ >>= 8;
        bitCount_ -= 8;
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        putByte(static_cast<std::uint8_t>(adler >> shift));
    return QByteArray(reinterpret_cast<const char*>(out_.data()), static_cast<qsizetype>(used_));
}

} // namespace platform::deflate
