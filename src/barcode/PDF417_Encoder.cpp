#include "barcode/PDF417_Encoder.h"

#include "barcode/PDF417_Tables.h"

#include <cmath>
#include <cstring>

void PDF417_Init(PDF417_Param* p)
{
    p->outBits.clear();
    p->lenBits = 0;
    p->options = 0;
    p->error = 0;
    p->lenText = -1;
    p->text = "";
    p->yHeight = 3.0f;
    p->aspectRatio = 0.5f;
}

void PDF417_Free(PDF417_Param* p)
{
    p->outBits.clear();
    p->outBits.shrink_to_fit();
}

int maxPossibleErrorLevel(int n)
{
    for (int level = 8; level > 0; --level) {
        if ((2 << level) <= n)
            return level;
    }
    return 0;
}

int getMaxSquare(PDF417_Param* p)
{
    if (p->codeColumns < 22) {
        p->codeColumns = 16;
        p->codeRows = 58;
    } else {
        p->codeColumns = 29;
        p->codeRows = 32;
    }
    return 928;
}

void calculateErrorCorrection(PDF417_Cursor* cursor, int dest)
{
    PDF417_Param* p = cursor->param;
    if (p->errorLevel < 0 || p->errorLevel > 8)
        p->errorLevel = 0;
    const int* A = ERROR_LEVEL[p->errorLevel];
    const int k = 2 << p->errorLevel;
    int* e = p->codewords + dest;
    std::memset(e, 0, sizeof(int) * static_cast<size_t>(k));
    for (int n = 0; n < p->lenCodewords; ++n) {
        const int t = p->codewords[n] + e[0];
        for (int j = 0; j < k; ++j) {
            const int next = j + 1 < k ? e[j + 1] : 0;
            e[j] = (next + 929 - (t * A[k - 1 - j]) % 929) % 929;
        }
    }
    for (int j = 0; j < k; ++j)
        e[j] = (929 - e[j]) % 929;
}

namespace {

void outBitsValue(PDF417_Cursor* cursor, int value, int count)
{
    unsigned char* bits = cursor->param->outBits.data();
    for (int i = count - 1; i >= 0; --i, ++cursor->bitIndex) {
        if (value & (1 << i))
            bits[cursor->bitIndex / 8] |= static_cast<unsigned char>(0x80 >> (cursor->bitIndex % 8));
    }
}

} // namespace

void outCodeword17(PDF417_Cursor* cursor, int codeword)
{
    outBitsValue(cursor, codeword, 17);
}
void outCodeword18(PDF417_Cursor* cursor, int codeword)
{
    outBitsValue(cursor, codeword, 18);
}
void outCodeword(PDF417_Cursor* cursor, int codeword)
{
    outCodeword17(cursor, codeword);
}
void outStartPattern(PDF417_Cursor* cursor)
{
    outCodeword17(cursor, START_PATTERN);
}
void outStopPattern(PDF417_Cursor* cursor)
{
    outCodeword18(cursor, STOP_PATTERN);
}

void outPaintCode(PDF417_Cursor* cursor)
{
    PDF417_Param* p = cursor->param;
    p->bitColumns = 17 * (p->codeColumns + 3) + 18;
    const int bytesPerRow = (p->bitColumns - 1) / 8 + 1;
    p->lenBits = bytesPerRow * p->codeRows;
    p->outBits.assign(static_cast<size_t>(p->lenBits), 0);
    int codeword = 0;
    for (int row = 0; row < p->codeRows; ++row) {
        cursor->bitIndex = row * bytesPerRow * 8;
        const int cluster = row % 3;
        const int x = (row / 3) * 30;
        int left = 0;
        int right = 0;
        switch (cluster) {
        case 0:
            left = x + (p->codeRows - 1) / 3;
            right = x + p->codeColumns - 1;
            break;
        case 1:
            left = x + p->errorLevel * 3 + (p->codeRows - 1) % 3;
            right = x + (p->codeRows - 1) / 3;
            break;
        default:
            left = x + p->codeColumns - 1;
            right = x + p->errorLevel * 3 + (p->codeRows - 1) % 3;
            break;
        }
        const int* patterns = CLUSTERS[cluster];
        outStartPattern(cursor);
        outCodeword(cursor, patterns[left]);
        for (int column = 0; column < p->codeColumns; ++column)
            outCodeword(cursor, patterns[p->codewords[codeword++]]);
        outCodeword(cursor, patterns[right]);
        outStopPattern(cursor);
    }
    if (p->options & optInvertBits) {
        for (unsigned char& byte : p->outBits)
            byte = static_cast<unsigned char>(~byte);
    }
}

void PDF417_Paint_Code(PDF417_Param* p)
{
    PDF417_Cursor cursor;
    cursor.param = p;
    p->error = 0;
    if (p->options & optGivenCodewords) {
        if (p->lenCodewords > 926 || p->lenCodewords < 1 || p->lenCodewords != p->codewords[0]) {
            p->error = PDF417_ERROR_INVALID_CODEWORDS;
            return;
        }
    } else {
        if (p->lenText < 0)
            p->lenText = static_cast<int>(std::strlen(p->text));
        if (p->lenText > PDF417_MAX_TEXT) {
            p->error = PDF417_ERROR_TEXT_TOO_LONG;
            return;
        }
        PDF417_Segment_List list;
        listInit(&list);
        breakString(&cursor, &list);
        assemble(&cursor, &list);
        listFree(&list);
        if (p->error)
            return;
        // An empty text makes a symbol of the length descriptor alone.
        if (cursor.codewordIndex == 0)
            cursor.codewordIndex = 1;
        p->lenCodewords = p->codewords[0] = cursor.codewordIndex;
    }

    const int maxErr = maxPossibleErrorLevel(928 - p->lenCodewords);
    if (!(p->options & optGivenErrorLevel)) {
        if (p->lenCodewords < 41)
            p->errorLevel = 2;
        else if (p->lenCodewords < 161)
            p->errorLevel = 3;
        else if (p->lenCodewords < 321)
            p->errorLevel = 4;
        else
            p->errorLevel = 5;
    }
    if (p->errorLevel < 0)
        p->errorLevel = 0;
    else if (p->errorLevel > maxErr)
        p->errorLevel = maxErr;
    if (p->codeColumns < 1)
        p->codeColumns = 1;
    else if (p->codeColumns > 30)
        p->codeColumns = 30;
    if (p->codeRows < 3)
        p->codeRows = 3;
    else if (p->codeRows > 90)
        p->codeRows = 90;

    int ecc = 2 << p->errorLevel;
    int tot = p->lenCodewords + ecc;
    bool byRows = (p->options & optGivenRows) != 0;
    bool sizeGiven = false;
    if (p->options & optGivenSize) {
        tot = p->codeColumns * p->codeRows;
        if (tot > 928)
            tot = getMaxSquare(p);
        if (tot < p->lenCodewords + ecc)
            tot = p->lenCodewords + ecc;
        else
            sizeGiven = true;
    } else if (!(p->options & (optGivenColumns | optGivenRows))) {
        byRows = false;
        if (p->aspectRatio < 0.001f)
            p->aspectRatio = 0.001f;
        else if (p->aspectRatio > 1000.0f)
            p->aspectRatio = 1000.0f;
        const float r = p->aspectRatio;
        const float b = 73.0f * r - 4.0f;
        const float y = 68.0f * r * static_cast<float>(tot) * p->yHeight;
        const float d = 34.0f * r;
        const double c = (-static_cast<double>(b) + std::sqrt(static_cast<double>(b) * b + y)) / d;
        p->codeColumns = static_cast<int>(c + 0.5);
        if (p->codeColumns < 1)
            p->codeColumns = 1;
        else if (p->codeColumns > 30)
            p->codeColumns = 30;
    }
    if (!sizeGiven) {
        if (!byRows) {
            p->codeRows = (tot - 1) / p->codeColumns + 1;
            if (p->codeRows < 3) {
                p->codeRows = 3;
            } else if (p->codeRows > 90) {
                p->codeRows = 90;
                p->codeColumns = (tot - 1) / 90 + 1;
            }
        } else {
            p->codeColumns = (tot - 1) / p->codeRows + 1;
            if (p->codeColumns > 30) {
                p->codeColumns = 30;
                p->codeRows = (tot - 1) / 30 + 1;
            }
        }
        tot = p->codeRows * p->codeColumns;
    }
    if (tot > 928)
        tot = getMaxSquare(p);

    p->errorLevel = maxPossibleErrorLevel(tot - p->lenCodewords);
    ecc = 2 << p->errorLevel;
    const int pad = tot - ecc - p->lenCodewords;
    for (int k = 0; k < pad; ++k)
        p->codewords[p->lenCodewords++] = 900;
    p->codewords[0] = p->lenCodewords;
    calculateErrorCorrection(&cursor, p->lenCodewords);
    p->lenCodewords = tot;
    outPaintCode(&cursor);
}

void listInit(PDF417_Segment_List* list)
{
    list->items.clear();
    list->items.reserve(20);
    list->count = 0;
    list->capacity = 20;
}

void listAdd(PDF417_Segment_List* list, char type, int start, int end)
{
    if (list->count == list->capacity) {
        list->capacity *= 2;
        list->items.reserve(static_cast<size_t>(list->capacity));
    }
    list->items.push_back({ type, start, end });
    ++list->count;
}

PDF417_Segment* listGet(PDF417_Segment_List* list, int index)
{
    if (index < 0 || index >= list->count)
        return nullptr;
    return &list->items[static_cast<size_t>(index)];
}

void listRemove(PDF417_Segment_List* list, int index)
{
    if (index < 0 || index >= list->count)
        return;
    list->items.erase(list->items.begin() + index);
    --list->count;
}

void listFree(PDF417_Segment_List* list)
{
    list->items.clear();
    list->items.shrink_to_fit();
    list->count = 0;
    list->capacity = 0;
}

bool checkElementType(const PDF417_Segment* segment, char type)
{
    return segment && segment->type == type;
}

int getElementLength(const PDF417_Segment* segment)
{
    return segment ? segment->end - segment->start : 0;
}
