#pragma once

#include <vector>

// PDF417 encoding as plain functions over one parameter record: the text is broken into text, numeric and
// byte pieces, compacted into codewords, sized into rows and columns, protected by Reed-Solomon codewords and
// painted as rows of packed bits. No state outside the record and read-only tables, so records can be encoded
// on any thread.

constexpr int optGivenSize = 1;
constexpr int optGivenColumns = 2;
constexpr int optGivenRows = 4;
constexpr int optGivenErrorLevel = 16;
constexpr int optGivenCodewords = 64;
constexpr int optInvertBits = 128;

constexpr int PDF417_ERROR_TEXT_TOO_LONG = 1;
constexpr int PDF417_ERROR_INVALID_CODEWORDS = 2;
constexpr int PDF417_MAX_TEXT = 5420;

struct PDF417_Param {
    std::vector<unsigned char> outBits; // codeRows rows of packed bits, each row starting on a byte boundary
    int lenBits = 0;
    int bitColumns = 0;
    int codeRows = 0;
    int codeColumns = 0;
    int codewords[928] {};
    int lenCodewords = 0;
    int errorLevel = 0;
    const char* text = "";
    int lenText = -1; // negative: text is zero-terminated
    int options = 0;
    float aspectRatio = 0.5f;
    float yHeight = 3.0f;
    int error = 0;
};

struct PDF417_Cursor {
    int bitIndex = 0;
    int codewordIndex = 0;
    PDF417_Param* param = nullptr;
};

struct PDF417_Segment {
    char type; // 'T' text, 'N' numeric, 'B' byte
    int start;
    int end; // one past the last byte
};

struct PDF417_Segment_List {
    std::vector<PDF417_Segment> items;
    int count = 0;
    int capacity = 0;
};

void PDF417_Init(PDF417_Param* p);
void PDF417_Free(PDF417_Param* p);
void PDF417_Paint_Code(PDF417_Param* p);

void breakString(PDF417_Cursor* cursor, PDF417_Segment_List* list);
void assemble(PDF417_Cursor* cursor, PDF417_Segment_List* list);
void textCompaction(PDF417_Cursor* cursor, int start, int length);
void numberCompaction(PDF417_Cursor* cursor, int start, int length);
void byteCompaction(PDF417_Cursor* cursor, int start, int length);
void basicNumberCompaction(PDF417_Cursor* cursor, int start, int length);
void byteCompaction6(PDF417_Cursor* cursor, int start);
int getTextTypeAndValue(const char* text, int end, int index);
int maxPossibleErrorLevel(int n);
int getMaxSquare(PDF417_Param* p);
void calculateErrorCorrection(PDF417_Cursor* cursor, int dest);
void outPaintCode(PDF417_Cursor* cursor);
void outStartPattern(PDF417_Cursor* cursor);
void outStopPattern(PDF417_Cursor* cursor);
void outCodeword(PDF417_Cursor* cursor, int codeword);
void outCodeword17(PDF417_Cursor* cursor, int codeword);
void outCodeword18(PDF417_Cursor* cursor, int codeword);

void listInit(PDF417_Segment_List* list);
void listAdd(PDF417_Segment_List* list, char type, int start, int end);
PDF417_Segment* listGet(PDF417_Segment_List* list, int index);
void listRemove(PDF417_Segment_List* list, int index);
void listFree(PDF417_Segment_List* list);
bool checkElementType(const PDF417_Segment* segment, char type);
int getElementLength(const PDF417_Segment* segment);
