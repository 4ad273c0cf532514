#pragma once

#include "barcode/QR_Tables.h"

#include <array>
#include <cstdint>
#include <vector>

// Turns a byte string into the module matrix of one QR Code symbol (model 2): mode segmentation, version
// choice, Reed-Solomon coding, module placement and mask choice. One object serves one symbol; callers read
// the public results after EncodeData.
class QR_Matrix_Encoder {
public:
    // Returns true when a symbol was made. ncSource below 1 means up to the first zero byte.
    bool EncodeData(
        int nLevel, int nVersion, bool bAutoExtent, int nMaskingNo, const unsigned char* lpsSource, int ncSource);

    int GetEncodeVersion(int nVersion, const unsigned char* lpsSource, int ncLength);
    bool EncodeSourceData(const unsigned char* lpsSource, int ncLength, int nVerGroup);
    int GetBitLength(int nMode, int ncData, int nVerGroup) const;
    int SetBitStream(int nIndex, std::uint16_t wData, int ncData);

    static bool IsNumeralData(unsigned char c);
    static bool IsAlphabetData(unsigned char c);
    static bool IsKanjiData(unsigned char c1, unsigned char c2);
    static unsigned char AlphabetToBinaly(unsigned char c);
    static std::uint16_t Kanji_To_Binary(std::uint16_t wc);

    void GetRSCodeWord(unsigned char* lpbyRSWork, int ncDataCodeWord, int ncRSCodeWord) const;

    void FormatModule();
    void SetFunctionModule();
    void SetFinderPattern(int x, int y);
    void SetAlignmentPattern(int x, int y);
    void SetVersionPattern();
    void SetCodeWordPattern();
    void SetMaskingPattern(int nPatternNo);
    // Whether a mask flips the module in row i, column j.
    static bool maskFlips(int mask, int i, int j);
    void SetFormatInfoPattern(int nPatternNo);
    int CountPenalty() const;

    int Get_Encoding_Mode(const unsigned char* lpsSource, int ncLength) const;
    int Get_Encoding_Mode_Test(const unsigned char* lpsSource, int ncLength, unsigned char byte_mode) const;
    static int min(int a, int b) { return a < b ? a : b; }

    // Shift JIS double-byte characters go into Kanji mode only while this is on. Text that is not Shift JIS
    // (UTF-8, cipher bytes) must turn it off, or its byte pairs would be read back as other characters.
    void setKanjiAllowed(bool on) { kanjiAllowed_ = on; }
    bool kanjiAllowed() const { return kanjiAllowed_; }
    // UTF-8 text beyond ASCII opens with the designator of the UTF-8 character set, so that readers do not
    // guess another one.
    void setUtf8Designator(bool on) { utf8Designator_ = on; }

    int m_nLevel = 0;
    int m_nVersion = 0;
    int m_nVersion_pass = 0;
    int m_nMaskingNo = 0;
    int m_nSymbolSize = 0;
    std::uint8_t m_byModuleData[MAX_MODULESIZE][MAX_MODULESIZE] {}; // [x][y]

    int m_ncDataCodeWordBit = 0;
    std::uint8_t m_byDataCodeWord[MAX_DATACODEWORD] {};

    // The segment list grows with the text: alternating digits and capitals can make more segments than any
    // fixed list would hold.
    int m_ncDataBlock = 0;
    std::vector<std::uint8_t> m_byBlockMode;
    std::vector<int> m_nBlockLength;

    int m_ncAllCodeWord = 0;
    std::uint8_t m_byAllCodeWord[MAX_ALLCODEWORD] {};
    std::uint8_t m_byRSWork[MAX_CODEBLOCK] {};

private:
    int byteClass(const unsigned char* src, int length, int i) const;
    int segmentCost(int i, int nVerGroup) const;
    void removeSegment(int i);
    void scanSegments(const unsigned char* src, int length);
    void joinNumeralAndAlphabet(int nVerGroup);
    void joinInto8Bit(int nVerGroup);
    bool writeBitStream(const unsigned char* src, int nVerGroup);
    // The penalty of the modules as they are, or a value of at least stopAt once it reaches that.
    int penaltyBelow(int stopAt) const;
    // The format information modules of a mask at the current level, the always-dark module last.
    struct FormatBit {
        int x;
        int y;
        bool dark;
    };
    std::array<FormatBit, 31> formatModules(int nPatternNo) const;
    // The first mask of the lowest penalty, for modules placed but not yet masked.
    int chooseMask() const;
    bool isDark(int x, int y) const { return (m_byModuleData[x][y] & 0x11) != 0; }

    bool kanjiAllowed_ = true;
    bool utf8Designator_ = false;
};
