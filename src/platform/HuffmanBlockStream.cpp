#include "platform/HuffmanBlockStream.h"

#include <algorithm>
#include <numeric>

namespace platform::deflate {

namespace {

// The order in which the lengths of the code-length code are written.
constexpr std::array<std::uint8_t, 19> kLengthCodeOrder { 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1,
    15 };

struct Tables {
    std::array<std::uint8_t, kMaxMatch + 1> lengthSymbol {}; // 0..28 for lengths 3..258
    std::array<std::uint8_t, 512> distanceSymbol {}; // distance - 1 below 256, else 256 + ((distance - 1) >> 7)
};

const Tables& tables()
{
    static const Tables built = [] {
        Tables t;
        for (std::size_t length = kMinMatch; length <= kMaxMatch; ++length) {
            std::uint8_t i = kLengthBase.size() - 1;
            while (kLengthBase[i] > length)
                --i;
            t.lengthSymbol[length] = i;
        }
        for (std::uint8_t i = 0; i < kDistanceBase.size(); ++i) {
            const unsigned first = kDistanceBase[i] - 1u;
            const unsigned last = first + (1u << kDistanceExtra[i]);
            for (unsigned d = first; d < last; ++d)
                t.distanceSymbol[d < 256 ? d : 256 + (d >> 7)] = i;
        }
        return t;
    }();
    return built;
}

unsigned distanceSymbol(std::uint32_t distanceLess1)
{
    return tables().distanceSymbol[distanceLess1 < 256 ? distanceLess1 : 256 + (distanceLess1 >> 7)];
}

std::uint32_t reversed(std::uint32_t code, int count)
{
    std::uint32_t result = 0;
    for (int i = 0; i < count; ++i)
        result |= ((code >> i) & 1u) << (count - 1 - i);
    return result;
}

// The canonical codes of the lengths, bits in stream order.
template <std::size_t N> std::array<std::uint32_t, N> canonicalCodes(const std::array<std::uint8_t, N>& lengths)
{
    std::array<std::uint32_t, 17> perLength {};
    for (std::uint8_t length : lengths)
        ++perLength[length];
    perLength[0] = 0;
    std::array<std::uint32_t, 17> next {};
    std::uint32_t code = 0;
    for (int bits = 1; bits <= 16; ++bits) {
        code = (code + perLength[bits - 1]) << 1;
        next[bits] = code;
    }
    std::array<std::uint32_t, N> codes {};
    for (std::size_t s = 0; s < N; ++s)
        if (lengths[s] != 0)
            codes[s] = reversed(next[lengths[s]]++, lengths[s]);
    return codes;
}

} // namespace

void codeLengths(const std::uint32_t* counts, int symbols, int limit, std::uint8_t* lengths)
{
    std::fill(lengths, lengths + symbols, std::uint8_t(0));
    std::vector<int> used;
    for (int s = 0; s < symbols; ++s)
        if (counts[s] != 0)
            used.push_back(s);
    for (int s = 0; used.size() < 2 && s < symbols; ++s)
        if (counts[s] == 0)
            used.push_back(s); // a symbol never written, so that the code is whole
    std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return counts[a] < counts[b]; });

    // Huffman's merging of the two least frequent, from two queues: the leaves sorted, and the merged
    // nodes, which come out in order of weight.
    const std::size_t leaves = used.size();
    std::vector<std::uint64_t> weight(2 * leaves);
    std::vector<std::size_t> parent(2 * leaves, 0);
    for (std::size_t i = 0; i < leaves; ++i)
        weight[i] = counts[used[i]];
    std::size_t leaf = 0, merged = leaves, made = leaves;
    auto lightest
        = [&] { return leaf < leaves && (merged == made || weight[leaf] <= weight[merged]) ? leaf++ : merged++; };
    while (made < 2 * leaves - 1) {
        const std::size_t a = lightest();
        const std::size_t b = lightest();
        weight[made] = weight[a] + weight[b];
        parent[a] = parent[b] = made++;
    }
    // Depths from the root down (parents come after their children), clamped to the limit; the code is
    // then mended to fit the limit while keeping the number of codes of each length whole.
    std::vector<int> depth(2 * leaves - 1, 0);
    std::array<int, 64> perLength {};
    for (std::size_t n = 2 * leaves - 2; n-- > 0;)
        depth[n] = depth[parent[n]] + 1;
    for (std::size_t i = 0; i < leaves; ++i)
        ++perLength[std::min(depth[i], limit)];
    long long total = 0;
    for (int bits = 1; bits <= limit; ++bits)
        total += static_cast<long long>(perLength[bits]) << (limit - bits);
    while (total > (1LL << limit)) {
        --perLength[limit];
        for (int bits = limit - 1; bits > 0; --bits) {
            if (perLength[bits] != 0) {
                --perLength[bits];
                perLength[bits + 1] += 2;
                break;
            }
        }
        --total;
    }
    // The least frequent take the longest codes.
    std::size_t i = 0;
    for (int bits = limit; bits > 0; --bits)
        for (int k = 0; k < perLength[bits]; ++k)
            lengths[used[i++]] = static_cast<std::uint8_t>(bits);
}

HuffmanBlockStream::HuffmanBlockStream(std::size_t expectedBytes)
    : symbols_(kBlockSymbols)
    , out_(expectedBytes)
{
}

void HuffmanBlockStream::putReference(std::size_t length, std::size_t distance)
{
    const auto back = static_cast<std::uint32_t>(distance - 1);
    if (count_ == symbols_.size())
        writeBlock(false);
    ++literalCounts_[257 + tables().lengthSymbol[length]];
    ++distanceCounts_[distanceSymbol(back)];
    symbols_[count_++] = kReference | static_cast<std::uint32_t>(length) << 16 | back;
}

void HuffmanBlockStream::writeBlock(bool last)
{
    for (std::size_t b = 0; b < pairCounts_.size(); ++b)
        literalCounts_[b] += pairCounts_[b];
    pairCounts_.fill(0);
    literalCounts_[256] = 1; // the end of the block
    std::array<std::uint8_t, 286> literalLengths {};
    std::array<std::uint8_t, 30> distanceLengths {};
    codeLengths(literalCounts_.data(), 286, 15, literalLengths.data());
    codeLengths(distanceCounts_.data(), 30, 15, distanceLengths.data());
    int literalsWritten = 286, distancesWritten = 30;
    while (literalsWritten > 257 && literalLengths[literalsWritten - 1] == 0)
        --literalsWritten;
    while (distancesWritten > 1 && distanceLengths[distancesWritten - 1] == 0)
        --distancesWritten;

    // Both codes' lengths in one sequence, runs shortened: 16 repeats the last length 3 to 6 times, 17 and
    // 18 stand for 3 to 10 and 11 to 138 zeros.
    std::vector<std::uint8_t> all(literalLengths.begin(), literalLengths.begin() + literalsWritten);
    all.insert(all.end(), distanceLengths.begin(), distanceLengths.begin() + distancesWritten);
    struct Item {
        std::uint8_t symbol;
        std::uint8_t extra;
    };
    std::vector<Item> items;
    std::array<std::uint32_t, 19> lengthCounts {};
    auto item = [&](std::uint8_t symbol, std::uint8_t extra) {
        items.push_back({ symbol, extra });
        ++lengthCounts[symbol];
    };
    for (std::size_t i = 0; i < all.size();) {
        const std::uint8_t value = all[i];
        std::size_t run = 1;
        while (i + run < all.size() && all[i + run] == value)
            ++run;
        i += run;
        if (value == 0) {
            for (; run >= 11; run -= std::min<std::size_t>(run, 138))
                item(18, static_cast<std::uint8_t>(std::min<std::size_t>(run, 138) - 11));
            if (run >= 3) {
                item(17, static_cast<std::uint8_t>(run - 3));
                run = 0;
            }
        } else {
            item(value, 0);
            for (--run; run >= 3; run -= std::min<std::size_t>(run, 6))
                item(16, static_cast<std::uint8_t>(std::min<std::size_t>(run, 6) - 3));
        }
        for (; run > 0; --run)
            item(value, 0);
    }
    std::array<std::uint8_t, 19> lengthLengths {};
    codeLengths(lengthCounts.data(), 19, 7, lengthLengths.data());
    int lengthsWritten = 19;
    while (lengthsWritten > 4 && lengthLengths[kLengthCodeOrder[lengthsWritten - 1]] == 0)
        --lengthsWritten;

    putBits(last ? 1 : 0, 1);
    putBits(2, 2); // codes of its own
    putBits(static_cast<std::uint32_t>(literalsWritten - 257), 5);
    putBits(static_cast<std::uint32_t>(distancesWritten - 1), 5);
    putBits(static_cast<std::uint32_t>(lengthsWritten - 4), 4);
    for (int i = 0; i < lengthsWritten; ++i)
        putBits(lengthLengths[kLengthCodeOrder[i]], 3);
    const auto lengthCodes = canonicalCodes(lengthLengths);
    static constexpr int kItemExtra[19] = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7 };
    for (const Item& it : items) {
        putBits(lengthCodes[it.symbol], lengthLengths[it.symbol]);
        if (kItemExtra[it.symbol])
            putBits(it.extra, kItemExtra[it.symbol]);
    }

    const auto literalCodes = canonicalCodes(literalLengths);
    const auto distanceCodes = canonicalCodes(distanceLengths);
    const Tables& t = tables();
    {
        // A symbol takes at most 48 bits: a length code and a distance code, each with its extra bits.
        BitOutput::Run run(out_, count_ * 6 + 8);
        for (std::size_t i = 0; i < count_; ++i) {
            const std::uint32_t symbol = symbols_[i];
            if (!(symbol & kReference)) {
                run.putBits(literalCodes[symbol], literalLengths[symbol]);
                continue;
            }
            const std::uint32_t length = (symbol >> 16) & 0x1ffu;
            const std::uint32_t back = symbol & 0xffffu;
            const unsigned ls = t.lengthSymbol[length];
            run.putBits(literalCodes[257 + ls], literalLengths[257 + ls]);
            if (kLengthExtra[ls])
                run.putBits(length - kLengthBase[ls], kLengthExtra[ls]);
            const unsigned ds = distanceSymbol(back);
            run.putBits(distanceCodes[ds], distanceLengths[ds]);
            if (kDistanceExtra[ds])
                run.putBits(back + 1 - kDistanceBase[ds], kDistanceExtra[ds]);
        }
        run.putBits(literalCodes[256], literalLengths[256]);
    }
    count_ = 0;
    literalCounts_.fill(0);
    distanceCounts_.fill(0);
}

QByteArray HuffmanBlockStream::finish(unsigned long adler)
{
    writeBlock(true);
    return out_.finish(adler);
}

} // namespace platform::deflate
