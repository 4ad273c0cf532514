#pragma once

#include "platform/DeflateBitOutput.h"
#include "platform/DeflateFixedCodes.h"

#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::deflate {

// A zlib stream in deflate blocks with codes of their own: the compressors of PNG rows decide what goes
// in (literals and references), this keeps each block's symbols, counts them, gives the frequent ones the
// short codes and writes the block. A picture's bytes are far from evenly spread (white, a few greys of
// text edges, small differences between neighbours), so its literals cost a few bits each instead of
// eight or nine, without any search for repeats.
class HuffmanBlockStream {
public:
    // Room for about `expectedBytes` of output is taken at once.
    explicit HuffmanBlockStream(std::size_t expectedBytes);

    void putLiteral(unsigned byte)
    {
        if (count_ == symbols_.size())
            writeBlock(false);
        byte &= 0xffu;
        ++literalCounts_[byte];
        symbols_[count_++] = byte;
    }
    // Bytes as literals, one after the other.
    void putLiterals(const std::uint8_t* bytes, std::size_t length)
    {
        while (length > 0) {
            if (count_ == symbols_.size())
                writeBlock(false);
            const std::size_t take = std::min(length, symbols_.size() - count_);
            std::uint32_t* out = symbols_.data() + count_;
            // Neighbouring bytes are often alike: every other one is counted apart, so that adding to
            // one count does not wait for the last addition to it.
            std::size_t i = 0;
            for (; i + 2 <= take; i += 2) {
                const std::uint8_t a = bytes[i];
                const std::uint8_t b = bytes[i + 1];
                ++literalCounts_[a];
                ++pairCounts_[b];
                out[i] = a;
                out[i + 1] = b;
            }
            if (i < take) {
                const std::uint8_t a = bytes[i];
                ++literalCounts_[a];
                out[i] = a;
            }
            count_ += take;
            bytes += take;
            length -= take;
        }
    }

    // References of `length` bytes `distance` back (1 to kWindow), cut into lengths the format allows; a
    // tail too short for a reference goes as literals of `copied`, the bytes the references stand for.
    void putCopy(std::size_t length, std::size_t distance, const std::uint8_t* copied)
    {
        std::size_t done = 0;
        while (length - done >= kMinMatch) {
            const std::size_t take = copyPiece(length - done);
            putReference(take, distance);
            done += take;
        }
        for (; done < length; ++done)
            putLiteral(copied[done]);
    }

    // Ends the last block and appends the Adler-32 check of the uncompressed bytes; the stream is spent.
    QByteArray finish(unsigned long adler);

    // Symbols a block gathers before it is written.
    static constexpr std::size_t kBlockSymbols = 1 << 15;

private:
    static constexpr std::uint32_t kReference = 1u << 31;

    void putReference(std::size_t length, std::size_t distance);
    void writeBlock(bool last);
    void putBits(std::uint32_t bits, int count) { out_.putBits(bits, count); }

    // The block's symbols so far, its first count_: a literal's byte, or kReference | length << 16 |
    // distance - 1.
    std::vector<std::uint32_t> symbols_;
    std::size_t count_ = 0;
    std::array<std::uint32_t, 286> literalCounts_ {};
    std::array<std::uint32_t, 30> distanceCounts_ {};
    std::array<std::uint32_t, 256> pairCounts_ {}; // literals counted apart, added to literalCounts_ per block
    BitOutput out_;
};

// Code lengths of at most `limit` bits for symbols counted `counts` times (0: not used), shortest for the
// most frequent; at least two symbols get a code, so that every code is whole.
void codeLengths(const std::uint32_t* counts, int symbols, int limit, std::uint8_t* lengths);

} // namespace platform::deflate
