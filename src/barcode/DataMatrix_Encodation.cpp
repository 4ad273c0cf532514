#include "barcode/DataMatrix_Encodation.h"

#include <vector>

namespace {

constexpr int kLatchC40 = 230;
constexpr int kLatchBase256 = 231;
constexpr int kUpperShift = 235;
constexpr int kLatchX12 = 238;
constexpr int kLatchText = 239;
constexpr int kLatchEdifact = 240;
constexpr int kUnlatch = 254;
constexpr int kEdifactUnlatch = 31;

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

void appendAscii(QByteArray& out, const QByteArray& bytes)
{
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const auto c = static_cast<unsigned char>(bytes[k]);
        if (isDigit(c) && k + 1 < bytes.size() && isDigit(static_cast<unsigned char>(bytes[k + 1]))) {
            out += static_cast<char>(130 + (c - '0') * 10 + (bytes[k + 1] - '0'));
            ++k;
        } else if (c >= 128) {
            out += static_cast<char>(kUpperShift);
            out += static_cast<char>(c - 128 + 1);
        } else {
            out += static_cast<char>(c + 1);
        }
    }
}

// The values of one byte in C40, Text or X12: the basic set takes one, the shift sets two.
std::vector<int> tripletValues(char letter, unsigned char c)
{
    if (letter == 'X') {
        if (c == '\r')
            return { 0 };
        if (c == '*')
            return { 1 };
        if (c == '>')
            return { 2 };
    }
    if (c == ' ')
        return { 3 };
    if (isDigit(c))
        return { 4 + c - '0' };
    const bool text = letter == 'T';
    if (c >= 'A' && c <= 'Z')
        return text ? std::vector<int> { 2, 1 + c - 'A' } : std::vector<int> { 14 + c - 'A' };
    if (c >= 'a' && c <= 'z')
        return text ? std::vector<int> { 14 + c - 'a' } : std::vector<int> { 2, 1 + c - 'a' };
    if (c < 32)
        return { 0, c };
    if (c <= 47)
        return { 1, c - 33 };
    if (c <= 64)
        return { 1, c - 58 + 15 };
    if (c <= 95)
        return { 1, c - 91 + 22 };
    // 96 ` and 123..127: the third shift set, whose letters are the other case's.
    if (c == 96)
        return { 2, 0 };
    return { 2, c - 123 + 27 };
}

void appendTriplet(QByteArray& out, int a, int b, int c)
{
    const int value = 1600 * a + 40 * b + c + 1;
    out += static_cast<char>(value / 256);
    out += static_cast<char>(value % 256);
}

// A C40, Text or X12 segment: whole triplets, then the last one or two characters by the room left.
void appendTriplets(QByteArray& out, char letter, const QByteArray& bytes, bool last, int capacity)
{
    std::vector<std::vector<int>> values;
    int total = 0;
    for (const char c : bytes) {
        values.push_back(tripletValues(letter, static_cast<unsigned char>(c)));
        total += static_cast<int>(values.back().size());
    }
    // The characters of a part triplet at the end are taken out whole, never a shift without its character.
    size_t whole = values.size();
    while (total % 3 != 0)
        total -= static_cast<int>(values[--whole].size());
    std::vector<int> flat;
    std::vector<int> tailValues;
    for (size_t k = 0; k < values.size(); ++k)
        (k < whole ? flat : tailValues).insert((k < whole ? flat : tailValues).end(), values[k].begin(), values[k].end());
    // A run too short for one triplet goes in ASCII: a latch followed by an unlatch upsets readers.
    if (flat.empty()) {
        appendAscii(out, bytes);
        return;
    }
    out += static_cast<char>(letter == 'C' ? kLatchC40 : letter == 'T' ? kLatchText : kLatchX12);
    for (size_t k = 0; k < flat.size(); k += 3)
        appendTriplet(out, flat[k], flat[k + 1], flat[k + 2]);
    const QByteArray tail = bytes.mid(static_cast<qsizetype>(whole));
    const auto room = capacity - static_cast<int>(out.size());
    if (last && letter != 'X' && room == 2 && tailValues.size() == 2) {
        // Two values fill the symbol's last two codewords with a first shift as the third value (X12 has no
        // shift: its zero is a character).
        appendTriplet(out, tailValues[0], tailValues[1], 0);
        return;
    }
    QByteArray asciiTail;
    appendAscii(asciiTail, tail);
    // With one codeword left readers are back in ASCII without an unlatch.
    if (last && room <= 1 && asciiTail.size() <= room) {
        out += asciiTail;
        return;
    }
    out += static_cast<char>(kUnlatch);
    out += asciiTail;
}

// An EDIFACT segment: four values in three codewords; the unlatch value ends it unless the symbol's last
// one or two codewords are reached, where readers are back in ASCII on their own.
void appendEdifact(QByteArray& out, const QByteArray& bytes, int capacity)
{
    const qsizetype whole = bytes.size() / 4 * 4;
    // Fewer than four characters take no more codewords in ASCII than latch, values and unlatch.
    if (whole == 0) {
        appendAscii(out, bytes);
        return;
    }
    out += static_cast<char>(kLatchEdifact);
    auto pack = [&out](const int* v, int count) {
        const quint32 bits = (quint32(v[0]) << 18) | (quint32(v[1]) << 12) | (quint32(v[2]) << 6) | quint32(v[3]);
        const int bytesUsed = (count * 6 + 7) / 8;
        for (int k = 0; k < bytesUsed; ++k)
            out += static_cast<char>((bits >> (16 - 8 * k)) & 0xFF);
    };
    for (qsizetype k = 0; k < whole; k += 4) {
        int v[4];
        for (int j = 0; j < 4; ++j)
            v[j] = static_cast<unsigned char>(bytes[k + j]) & 0x3F;
        pack(v, 4);
    }
    const QByteArray tail = bytes.mid(whole);
    const auto room = capacity - static_cast<int>(out.size());
    if (room <= 2) {
        appendAscii(out, tail);
        return;
    }
    int v[4] = { 0, 0, 0, 0 };
    for (qsizetype j = 0; j < tail.size(); ++j)
        v[j] = static_cast<unsigned char>(tail[j]) & 0x3F;
    v[tail.size()] = kEdifactUnlatch;
    pack(v, static_cast<int>(tail.size()) + 1);
}

unsigned char randomised255(int value, int position)
{
    const int sum = value + ((149 * position) % 255) + 1;
    return static_cast<unsigned char>(sum <= 255 ? sum : sum - 256);
}

void appendBase256(QByteArray& out, const QByteArray& bytes)
{
    out += static_cast<char>(kLatchBase256);
    QByteArray field;
    const auto n = static_cast<int>(bytes.size());
    if (n <= 249) {
        field += static_cast<char>(n);
    } else {
        field += static_cast<char>(n / 250 + 249);
        field += static_cast<char>(n % 250);
    }
    field += bytes;
    for (const char c : field)
        out += static_cast<char>(randomised255(static_cast<unsigned char>(c), static_cast<int>(out.size() + 1)));
}

} // namespace

bool DataMatrix_Encodation::carries(char letter, unsigned char byte)
{
    switch (letter) {
    case 'C':
    case 'T':
        return byte < 128;
    case 'X':
        return byte == '\r' || byte == '*' || byte == '>' || byte == ' ' || isDigit(byte) || (byte >= 'A' && byte <= 'Z');
    case 'E':
        return byte >= 32 && byte <= 94;
    default:
        return true;
    }
}

std::optional<QByteArray> DataMatrix_Encodation::codewords(const QByteArray& data, const QByteArray& letters, int capacity)
{
    if (data.isEmpty() || letters.size() != data.size())
        return std::nullopt;
    QByteArray out;
    qsizetype start = 0;
    while (start < data.size()) {
        const char letter = letters[start];
        qsizetype end = start;
        while (end < data.size() && letters[end] == letter)
            ++end;
        const QByteArray segment = data.mid(start, end - start);
        const bool last = end == data.size();
        for (const char c : segment) {
            if (!carries(letter, static_cast<unsigned char>(c)))
                return std::nullopt;
        }
        if (letter == 'C' || letter == 'T' || letter == 'X')
            appendTriplets(out, letter, segment, last, capacity);
        else if (letter == 'E')
            appendEdifact(out, segment, capacity);
        else if (letter == 'B')
            appendBase256(out, segment);
        else
            appendAscii(out, segment);
        if (out.size() > capacity)
            return std::nullopt;
        start = end;
    }
    return out;
}
