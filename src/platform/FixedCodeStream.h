#pragma once

#include "platform/DeflateFixedCodes.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::deflate {

// A zlib stream of one deflate block in the fixed codes, written code by code: the compressors of PNG
// rows decide what goes in, this puts the bits in order and closes the stream.
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
    void putLiteral(unsigned byte) { putCode(literalCode(byte)); }

    // Ends the block and appends the Adler-32 check of the uncompressed bytes; the stream is spent.
    QByteArray finish(unsigned long adler);

private:
    void flushWord();

    std::vector<std::uint8_t> out_;
    std::uint64_t bitBuffer_ = 0;
    int bitCount_ = 0;
};

} // namespace platform::deflate
