// Breaking the text into pieces and compacting the pieces into codewords.
#include "barcode/PDF417_Encoder.h"

#include "barcode/PDF417_Tables.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int ALPHA = 0x10000;
constexpr int LOWER = 0x20000;
constexpr int MIXED = 0x40000;
constexpr int PUNCTUATION = 0x80000;
constexpr int ISBYTE = 0x100000;

bool isTextByte(unsigned char c)
{
    return (c >= 32 && c <= 126) || c == 13 || c == 10 || c == 9;
}
bool isDigitByte(unsigned char c)
{
    return c >= '0' && c <= '9';
}

unsigned char byteAt(const PDF417_Cursor* cursor, int index)
{
    return static_cast<unsigned char>(cursor->param->text[index]);
}

// Cuts a stretch at every change between text and non-text bytes.
void flushStretch(PDF417_Cursor* cursor, PDF417_Segment_List* list, int start, int end)
{
    int pieceStart = start;
    for (int k = start + 1; k <= end; ++k) {
        if (k == end || isTextByte(byteAt(cursor, k)) != isTextByte(byteAt(cursor, pieceStart))) {
            listAdd(list, isTextByte(byteAt(cursor, pieceStart)) ? 'T' : 'B', pieceStart, k);
            pieceStart = k;
        }
    }
}

void writeCodeword(PDF417_Cursor* cursor, int value)
{
    cursor->param->codewords[cursor->codewordIndex++] = value;
}

bool mergeSingleBytesBetweenTexts(PDF417_Segment_List* list)
{
    for (int k = 0; k < list->count; ++k) {
        PDF417_Segment* v = listGet(list, k);
        PDF417_Segment* prev = listGet(list, k - 1);
        PDF417_Segment* next = listGet(list, k + 1);
        if (checkElementType(v, 'B') && getElementLength(v) == 1 && checkElementType(prev, 'T')
            && checkElementType(next, 'T') && getElementLength(prev) + getElementLength(next) >= 3) {
            prev->end = next->end;
            listRemove(list, k);
            listRemove(list, k);
            return true;
        }
    }
    return false;
}

bool mergeIntoLongTexts(PDF417_Segment_List* list)
{
    for (int k = 0; k < list->count; ++k) {
        PDF417_Segment* v = listGet(list, k);
        if (!checkElementType(v, 'T') || getElementLength(v) < 5)
            continue;
        bool absorbed = false;
        PDF417_Segment* prev = listGet(list, k - 1);
        if (checkElementType(prev, 'T') || (checkElementType(prev, 'B') && getElementLength(prev) == 1)) {
            v->start = prev->start;
            listRemove(list, k - 1);
            --k;
            v = listGet(list, k);
            absorbed = true;
        }
        PDF417_Segment* next = listGet(list, k + 1);
        if (checkElementType(next, 'T') || (checkElementType(next, 'B') && getElementLength(next) == 1)) {
            v->end = next->end;
            listRemove(list, k + 1);
            absorbed = true;
        }
        if (absorbed)
            return true;
    }
    return false;
}

bool mergeIntoBytes(PDF417_Segment_List* list)
{
    for (int k = 0; k < list->count; ++k) {
        PDF417_Segment* v = listGet(list, k);
        if (!checkElementType(v, 'B'))
            continue;
        bool absorbed = false;
        PDF417_Segment* prev = listGet(list, k - 1);
        if ((checkElementType(prev, 'T') && getElementLength(prev) < 5) || checkElementType(prev, 'B')) {
            v->start = prev->start;
            listRemove(list, k - 1);
            --k;
            v = listGet(list, k);
            absorbed = true;
        }
        PDF417_Segment* next = listGet(list, k + 1);
        if ((checkElementType(next, 'T') && getElementLength(next) < 5) || checkElementType(next, 'B')) {
            v->end = next->end;
            listRemove(list, k + 1);
            absorbed = true;
        }
        if (absorbed)
            return true;
    }
    return false;
}

} // namespace

int getTextTypeAndValue(const char* text, int end, int index)
{
    if (index >= end)
        return 0;
    const auto c = static_cast<unsigned char>(text[index]);
    if (c >= 'A' && c <= 'Z')
        return ALPHA | (c - 'A');
    if (c >= 'a' && c <= 'z')
        return LOWER | (c - 'a');
    if (c == ' ')
        return ALPHA | LOWER | MIXED | 26;
    // strchr would find the terminator for the zero byte, which is not in either set.
    const char* mixed = c != 0 ? std::strchr(MIXED_SET, c) : nullptr;
    const char* punctuation = c != 0 ? std::strchr(PUNCTUATION_SET, c) : nullptr;
    const int ms = mixed ? static_cast<int>(mixed - MIXED_SET) : -1;
    const int ps = punctuation ? static_cast<int>(punctuation - PUNCTUATION_SET) : -1;
    if (ms >= 0 && ms == ps)
        return MIXED | PUNCTUATION | ms;
    if (ms >= 0)
        return MIXED | ms;
    if (ps >= 0)
        return PUNCTUATION | ps;
    return ISBYTE | c;
}

void textCompaction(PDF417_Cursor* cursor, int start, int length)
{
    const char* text = cursor->param->text;
    const int end = start + length;
    std::vector<int> dest;
    dest.reserve(static_cast<size_t>(2 * length + 2));
    int byteShifts = 0;
    int mode = ALPHA;
    auto lookahead = [&](int k, int flag) {
        return (getTextTypeAndValue(text, end, k + 1) & getTextTypeAndValue(text, end, k + 2) & flag) != 0;
    };
    for (int k = start; k < end; ++k) {
        const int v = getTextTypeAndValue(text, end, k);
        const int value = v & 0xFF;
        if (v & mode) {
            dest.push_back(value);
            continue;
        }
        if (v & ISBYTE) {
            if (dest.size() & 1) {
                dest.push_back(29);
                if (mode == PUNCTUATION)
                    mode = ALPHA;
            }
            dest.push_back(913);
            dest.push_back(value);
            ++byteShifts;
            continue;
        }
        switch (mode) {
        case ALPHA:
            if (v & LOWER) {
                dest.insert(dest.end(), { 27, value });
                mode = LOWER;
            } else if (v & MIXED) {
                dest.insert(dest.end(), { 28, value });
                mode = MIXED;
            } else if (lookahead(k, PUNCTUATION)) {
                dest.insert(dest.end(), { 28, 25, value });
                mode = PUNCTUATION;
            } else {
                dest.insert(dest.end(), { 29, value });
            }
            break;
        case LOWER:
            if (v & ALPHA) {
                if (lookahead(k, ALPHA)) {
                    dest.insert(dest.end(), { 28, 28, value });
                    mode = ALPHA;
                } else {
                    dest.insert(dest.end(), { 27, value });
                }
            } else if (v & MIXED) {
                dest.insert(dest.end(), { 28, value });
                mode = MIXED;
            } else if (lookahead(k, PUNCTUATION)) {
                dest.insert(dest.end(), { 28, 25, value });
                mode = PUNCTUATION;
            } else {
                dest.insert(dest.end(), { 29, value });
            }
            break;
        case MIXED:
            if (v & LOWER) {
                dest.insert(dest.end(), { 27, value });
                mode = LOWER;
            } else if (v & ALPHA) {
                dest.insert(dest.end(), { 28, value });
                mode = ALPHA;
            } else if (lookahead(k, PUNCTUATION)) {
                dest.insert(dest.end(), { 25, value });
                mode = PUNCTUATION;
            } else {
                dest.insert(dest.end(), { 29, value });
            }
            break;
        default: // Punctuation: back to Alpha, then this byte again
            dest.push_back(29);
            mode = ALPHA;
            --k;
            break;
        }
    }
    if (dest.size() & 1)
        dest.push_back(29);
    const int size = (static_cast<int>(dest.size()) + 2 * byteShifts) / 2;
    if (cursor->codewordIndex + size >= 927) {
        cursor->param->error = PDF417_ERROR_TEXT_TOO_LONG;
        return;
    }
    for (size_t k = 0; k < dest.size();) {
        if (dest[k] == 913) {
            writeCodeword(cursor, 913);
            writeCodeword(cursor, dest[k + 1]);
        } else {
            writeCodeword(cursor, dest[k] * 30 + dest[k + 1]);
        }
        k += 2;
    }
}

void basicNumberCompaction(PDF417_Cursor* cursor, int start, int length)
{
    // The decimal number "1" followed by the digits, turned into base 900 by repeated long division.
    int digits[45];
    int n = 0;
    digits[n++] = 1;
    for (int k = 0; k < length; ++k)
        digits[n++] = byteAt(cursor, start + k) - '0';
    const int size = length / 3 + 1;
    int out[15] = {};
    for (int position = size - 1; position >= 0; --position) {
        int remainder = 0;
        for (int k = 0; k < n; ++k) {
            const int value = remainder * 10 + digits[k];
            digits[k] = value / 900;
            remainder = value % 900;
        }
        out[position] = remainder;
    }
    for (int k = 0; k < size; ++k)
        writeCodeword(cursor, out[k]);
}

void numberCompaction(PDF417_Cursor* cursor, int start, int length)
{
    const int rest = length % 44;
    const int size = (length / 44) * 15 + (rest > 0 ? rest / 3 + 1 : 0);
    if (cursor->codewordIndex + size >= 927) {
        cursor->param->error = PDF417_ERROR_TEXT_TOO_LONG;
        return;
    }
    for (int k = 0; k < length; k += 44)
        basicNumberCompaction(cursor, start + k, length - k < 44 ? length - k : 44);
}

void byteCompaction6(PDF417_Cursor* cursor, int start)
{
    std::uint64_t value = 0;
    for (int k = 0; k < 6; ++k)
        value = (value << 8) | byteAt(cursor, start + k);
    int out[5];
    for (int k = 4; k >= 0; --k) {
        out[k] = static_cast<int>(value % 900);
        value /= 900;
    }
    for (int k = 0; k < 5; ++k)
        writeCodeword(cursor, out[k]);
}

void byteCompaction(PDF417_Cursor* cursor, int start, int length)
{
    const int size = (length / 6) * 5 + length % 6;
    if (cursor->codewordIndex + size >= 927) {
        cursor->param->error = PDF417_ERROR_TEXT_TOO_LONG;
        return;
    }
    const int groupsEnd = start + (length / 6) * 6;
    for (int k = start; k < groupsEnd; k += 6)
        byteCompaction6(cursor, k);
    for (int k = groupsEnd; k < start + length; ++k)
        writeCodeword(cursor, byteAt(cursor, k));
}

void breakString(PDF417_Cursor* cursor, PDF417_Segment_List* list)
{
    const int textLength = cursor->param->lenText;
    int lastP = 0;
    int startN = 0;
    int nd = 0;
    for (int k = 0; k < textLength; ++k) {
        if (isDigitByte(byteAt(cursor, k))) {
            if (nd == 0)
                startN = k;
            ++nd;
            continue;
        }
        if (nd >= 13) {
            if (lastP != startN)
                flushStretch(cursor, list, lastP, startN);
            listAdd(list, 'N', startN, k);
            lastP = k;
        }
        nd = 0;
    }
    if (nd >= 13) {
        if (lastP != startN)
            flushStretch(cursor, list, lastP, startN);
        listAdd(list, 'N', startN, textLength);
    } else if (lastP != textLength) {
        flushStretch(cursor, list, lastP, textLength);
    }

    while (mergeSingleBytesBetweenTexts(list)) { }
    while (mergeIntoLongTexts(list)) { }
    while (mergeIntoBytes(list)) { }

    if (list->count == 1) {
        PDF417_Segment* only = listGet(list, 0);
        if (checkElementType(only, 'T') && getElementLength(only) >= 8) {
            bool allDigits = true;
            for (int k = only->start; k < only->end && allDigits; ++k)
                allDigits = isDigitByte(byteAt(cursor, k));
            if (allDigits)
                only->type = 'N';
        }
    }
}

void assemble(PDF417_Cursor* cursor, PDF417_Segment_List* list)
{
    if (list->count == 0)
        return;
    cursor->codewordIndex = 1;
    for (int k = 0; k < list->count; ++k) {
        const PDF417_Segment* v = listGet(list, k);
        const int length = getElementLength(v);
        switch (v->type) {
        case 'T':
            if (k != 0)
                writeCodeword(cursor, 900);
            textCompaction(cursor, v->start, length);
            break;
        case 'N':
            writeCodeword(cursor, 902);
            numberCompaction(cursor, v->start, length);
            break;
        default:
            writeCodeword(cursor, length % 6 ? 901 : 924);
            byteCompaction(cursor, v->start, length);
            break;
        }
        if (cursor->param->error)
            return;
    }
}
