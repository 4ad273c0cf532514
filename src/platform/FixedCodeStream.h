#pragma once

#include "platform/DeflateBitOutput.h"
#include "platform/DeflateFixedCodes.h"

#include <QByteArray>

#include <algorithm>
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

    void putBits(std::uint32_t bits, int count) { out_.putBits(bits, count); }
    void putCode(const Code& code) { putBits(code.bits, code.count); }
    void putLiteral(unsigned byte) { putCode(tables_.literal[byte & 0xffu]); }

    // References of `length` bytes a distance back (its code given), cut into lengths the format allows;
    // a tail too short for a reference goes as literals of `copied`, the bytes the references stand for.
    void putCopy(std::size_t length, const Code& distance, const std::uint8_t* copied)
    {
        std::size_t done = 0;
        while (length - done >= kMinMatch) {
            const std::size_t take = copyPiece(length - done);
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
    const FixedTables& tables_;
    BitOutput out_;
};

} // namespace platform::deflate
