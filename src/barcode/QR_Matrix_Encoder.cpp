#include "barcode/QR_Matrix_Encoder.h"

#include <cstring>

namespace {

constexpr int MAX_BIT_STREAM = MAX_DATACODEWORD * 8;

int groupOfVersion(int version)
{
    return version >= 27 ? 2 : (version >= 10 ? 1 : 0);
}

int indicatorLength(int mode, int nVerGroup)
{
    switch (mode) {
    case QR_MODE_NUMERAL:
        return nIndicatorLenNumeral[nVerGroup];
    case QR_MODE_ALPHABET:
        return nIndicatorLenAlphabet[nVerGroup];
    case QR_MODE_8BIT:
        return nIndicatorLen8Bit[nVerGroup];
    default:
        return nIndicatorLenKanji[nVerGroup];
    }
}

} // namespace

bool QR_Matrix_Encoder::IsNumeralData(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool QR_Matrix_Encoder::IsAlphabetData(unsigned char c)
{
    if (IsNumeralData(c) || (c >= 'A' && c <= 'Z'))
        return true;
    return c == ' ' || c == '$' || c == '%' || c == '*' || c == '+' || c == '-' || c == '.' || c == '/' || c == ':';
}

bool QR_Matrix_Encoder::IsKanjiData(unsigned char c1, unsigned char c2)
{
    if (((c1 >= 0x81 && c1 <= 0x9F) || (c1 >= 0xE0 && c1 <= 0xEB)) && c2 >= 0x40) {
        if ((c1 == 0x9F && c2 > 0xFC) || (c1 == 0xEB && c2 > 0xBF))
            return false;
        return true;
    }
    return false;
}

unsigned char QR_Matrix_Encoder::AlphabetToBinaly(unsigned char c)
{
    if (IsNumeralData(c))
        return static_cast<unsigned char>(c - '0');
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c - 'A' + 10);
    switch (c) {
    case ' ':
        return 36;
    case '$':
        return 37;
    case '%':
        return 38;
    case '*':
        return 39;
    case '+':
        return 40;
    case '-':
        return 41;
    case '.':
        return 42;
    case '/':
        return 43;
    default:
        return 44; // ':'
    }
}

std::uint16_t QR_Matrix_Encoder::Kanji_To_Binary(std::uint16_t wc)
{
    int w = wc;
    if (w >= 0x8140 && w <= 0x9FFC)
        w -= 0x8140;
    else
        w -= 0xC140;
    return static_cast<std::uint16_t>(((w >> 8) * 0xC0) + (w & 0xFF));
}

int QR_Matrix_Encoder::byteClass(const unsigned char* src, int length, int i) const
{
    if (kanjiAllowed_ && i < length - 1 && IsKanjiData(src[i], src[i + 1]))
        return QR_MODE_KANJI;
    if (IsNumeralData(src[i]))
        return QR_MODE_NUMERAL;
    if (IsAlphabetData(src[i]))
        return QR_MODE_ALPHABET;
    return QR_MODE_8BIT;
}

int QR_Matrix_Encoder::Get_Encoding_Mode(const unsigned char* lpsSource, int ncLength) const
{
    if (ncLength <= 0)
        return QR_MODE_8BIT;
    bool seen[4] = { false, false, false, false };
    for (int i = 0; i < ncLength; ++i)
        seen[byteClass(lpsSource, ncLength, i)] = true;
    if (seen[QR_MODE_8BIT])
        return QR_MODE_8BIT;
    if (seen[QR_MODE_KANJI])
        return QR_MODE_KANJI;
    if (seen[QR_MODE_ALPHABET])
        return QR_MODE_ALPHABET;
    return QR_MODE_NUMERAL;
}

int QR_Matrix_Encoder::Get_Encoding_Mode_Test(
    const unsigned char* lpsSource, int ncLength, unsigned char byte_mode) const
{
    if (ncLength <= 0)
        return 0;
    for (int i = 0; i < ncLength; ++i) {
        if (byteClass(lpsSource, ncLength, i) != byte_mode)
            return QR_MODE_8BIT;
    }
    return byte_mode;
}

int QR_Matrix_Encoder::GetBitLength(int nMode, int ncData, int nVerGroup) const
{
    const int header = 4 + indicatorLength(nMode, nVerGroup);
    switch (nMode) {
    case QR_MODE_NUMERAL: {
        int bits = header + 10 * (ncData / 3);
        if (ncData % 3 == 1)
            bits += 4;
        else if (ncData % 3 == 2)
            bits += 7;
        return bits;
    }
    case QR_MODE_ALPHABET:
        return header + 11 * (ncData / 2) + 6 * (ncData % 2);
    case QR_MODE_8BIT:
        return header + 8 * ncData;
    default:
        return header + 13 * (ncData / 2);
    }
}

int QR_Matrix_Encoder::SetBitStream(int nIndex, std::uint16_t wData, int ncData)
{
    if (nIndex == -1 || nIndex + ncData > MAX_BIT_STREAM)
        return -1;
    for (int i = 0; i < ncData; ++i) {
        if (wData & (1 << (ncData - i - 1)))
            m_byDataCodeWord[(nIndex + i) / 8] |= static_cast<std::uint8_t>(1 << (7 - ((nIndex + i) % 8)));
    }
    return nIndex + ncData;
}

int QR_Matrix_Encoder::segmentCost(int i, int nVerGroup) const
{
    return GetBitLength(m_byBlockMode[i], m_nBlockLength[i], nVerGroup);
}

void QR_Matrix_Encoder::removeSegment(int i)
{
    m_byBlockMode.erase(m_byBlockMode.begin() + i);
    m_nBlockLength.erase(m_nBlockLength.begin() + i);
    --m_ncDataBlock;
}

void QR_Matrix_Encoder::scanSegments(const unsigned char* src, int length)
{
    m_byBlockMode.clear();
    m_nBlockLength.clear();
    m_ncDataBlock = 0;
    int i = 0;
    while (i < length) {
        const int mode = byteClass(src, length, i);
        const int step = mode == QR_MODE_KANJI ? 2 : 1;
        if (m_ncDataBlock == 0 || m_byBlockMode.back() != mode) {
            m_byBlockMode.push_back(static_cast<std::uint8_t>(mode));
            m_nBlockLength.push_back(0);
            ++m_ncDataBlock;
        }
        m_nBlockLength.back() += step;
        i += step;
    }
}

void QR_Matrix_Encoder::joinNumeralAndAlphabet(int nVerGroup)
{
    auto cost8 = [&](int n) { return GetBitLength(QR_MODE_8BIT, n, nVerGroup); };
    int i = 0;
    while (i < m_ncDataBlock - 1) {
        const int m0 = m_byBlockMode[i];
        const int m1 = m_byBlockMode[i + 1];
        const bool pair
            = (m0 == QR_MODE_NUMERAL && m1 == QR_MODE_ALPHABET) || (m0 == QR_MODE_ALPHABET && m1 == QR_MODE_NUMERAL);
        if (!pair) {
            ++i;
            continue;
        }
        const int joined = GetBitLength(QR_MODE_ALPHABET, m_nBlockLength[i] + m_nBlockLength[i + 1], nVerGroup);
        if (segmentCost(i, nVerGroup) + segmentCost(i + 1, nVerGroup) <= joined) {
            ++i;
            continue;
        }
        int prev = 0;
        if (i > 0 && m_byBlockMode[i - 1] == QR_MODE_8BIT) {
            prev = cost8(m_nBlockLength[i - 1] + m_nBlockLength[i]) + segmentCost(i + 1, nVerGroup);
            if (prev > cost8(m_nBlockLength[i - 1]) + joined)
                prev = 0;
        }
        int next = 0;
        if (i + 2 < m_ncDataBlock && m_byBlockMode[i + 2] == QR_MODE_8BIT) {
            next = segmentCost(i, nVerGroup) + cost8(m_nBlockLength[i + 1] + m_nBlockLength[i + 2]);
            if (next > joined + cost8(m_nBlockLength[i + 2]))
                next = 0;
        }
        const bool takePrev = prev != 0 && (next == 0 || prev < next);
        const bool takeNext = next != 0 && !takePrev;
        if (takePrev) {
            m_nBlockLength[i - 1] += m_nBlockLength[i];
            removeSegment(i);
        } else if (takeNext) {
            m_byBlockMode[i + 1] = QR_MODE_8BIT;
            m_nBlockLength[i + 1] += m_nBlockLength[i + 2];
            removeSegment(i + 2);
        } else {
            if (i + 2 < m_ncDataBlock && m_byBlockMode[i + 2] == QR_MODE_ALPHABET) {
                m_nBlockLength[i + 1] += m_nBlockLength[i + 2];
                removeSegment(i + 2);
            }
            m_byBlockMode[i] = QR_MODE_ALPHABET;
            m_nBlockLength[i] += m_nBlockLength[i + 1];
            removeSegment(i + 1);
            if (i > 0 && m_byBlockMode[i - 1] == QR_MODE_ALPHABET) {
                m_nBlockLength[i - 1] += m_nBlockLength[i];
                removeSegment(i);
            }
        }
    }
}

void QR_Matrix_Encoder::joinInto8Bit(int nVerGroup)
{
    const int neighbourSaving = nIndicatorLen8Bit[nVerGroup] + 4;
    int i = 0;
    while (i < m_ncDataBlock - 1) {
        const int separate = segmentCost(i, nVerGroup) + segmentCost(i + 1, nVerGroup);
        int joined = GetBitLength(QR_MODE_8BIT, m_nBlockLength[i] + m_nBlockLength[i + 1], nVerGroup);
        if (i > 0 && m_byBlockMode[i - 1] == QR_MODE_8BIT)
            joined -= neighbourSaving;
        if (i + 2 < m_ncDataBlock && m_byBlockMode[i + 2] == QR_MODE_8BIT)
            joined -= neighbourSaving;
        if (separate <= joined) {
            ++i;
            continue;
        }
        if (i > 0 && m_byBlockMode[i - 1] == QR_MODE_8BIT) {
            m_nBlockLength[i - 1] += m_nBlockLength[i];
            removeSegment(i);
            --i;
        }
        if (i + 2 < m_ncDataBlock && m_byBlockMode[i + 2] == QR_MODE_8BIT) {
            m_nBlockLength[i + 1] += m_nBlockLength[i + 2];
            removeSegment(i + 2);
        }
        m_byBlockMode[i] = QR_MODE_8BIT;
        m_nBlockLength[i] += m_nBlockLength[i + 1];
        removeSegment(i + 1);
        if (i >= 1)
            --i;
    }
}

bool QR_Matrix_Encoder::writeBitStream(const unsigned char* src, int nVerGroup)
{
    int bit = 0;
    int pos = 0;
    if (utf8Designator_) {
        constexpr std::uint16_t kEciMode = 0x7;
        constexpr std::uint16_t kUtf8Assignment = 26;
        bit = SetBitStream(bit, kEciMode, 4);
        bit = SetBitStream(bit, kUtf8Assignment, 8);
    }
    for (int b = 0; b < m_ncDataBlock && bit != -1; ++b) {
        const int mode = m_byBlockMode[b];
        const int length = m_nBlockLength[b];
        const int count = mode == QR_MODE_KANJI ? length / 2 : length;
        const int countBits = indicatorLength(mode, nVerGroup);
        if (count >= (1 << countBits))
            return false; // the count does not fit its indicator in this version group
        bit = SetBitStream(bit, static_cast<std::uint16_t>(1 << mode), 4);
        bit = SetBitStream(bit, static_cast<std::uint16_t>(count), countBits);
        const unsigned char* p = src + pos;
        switch (mode) {
        case QR_MODE_NUMERAL:
            for (int k = 0; k < length && bit != -1; k += 3) {
                const int n = min(3, length - k);
                int value = 0;
                for (int d = 0; d < n; ++d)
                    value = value * 10 + (p[k + d] - '0');
                bit = SetBitStream(bit, static_cast<std::uint16_t>(value), n == 3 ? 10 : (n == 2 ? 7 : 4));
            }
            break;
        case QR_MODE_ALPHABET:
            for (int k = 0; k < length && bit != -1; k += 2) {
                if (k + 1 < length) {
                    const int value = AlphabetToBinaly(p[k]) * 45 + AlphabetToBinaly(p[k + 1]);
                    bit = SetBitStream(bit, static_cast<std::uint16_t>(value), 11);
                } else {
                    bit = SetBitStream(bit, AlphabetToBinaly(p[k]), 6);
                }
            }
            break;
        case QR_MODE_8BIT:
            for (int k = 0; k < length && bit != -1; ++k)
                bit = SetBitStream(bit, p[k], 8);
            break;
        default:
            for (int k = 0; k + 1 < length && bit != -1; k += 2) {
                const auto code = static_cast<std::uint16_t>((p[k] << 8) | p[k + 1]);
                bit = SetBitStream(bit, Kanji_To_Binary(code), 13);
            }
            break;
        }
        pos += length;
    }
    m_ncDataCodeWordBit = bit;
    return bit != -1;
}

bool QR_Matrix_Encoder::EncodeSourceData(const unsigned char* lpsSource, int ncLength, int nVerGroup)
{
    std::memset(m_byDataCodeWord, 0, sizeof m_byDataCodeWord);
    m_ncDataCodeWordBit = 0;
    scanSegments(lpsSource, ncLength);
    joinNumeralAndAlphabet(nVerGroup);
    joinInto8Bit(nVerGroup);
    return writeBitStream(lpsSource, nVerGroup);
}

int QR_Matrix_Encoder::GetEncodeVersion(int nVersion, const unsigned char* lpsSource, int ncLength)
{
    static const int firstVersion[3] = { 1, 10, 27 };
    static const int lastVersion[3] = { 9, 26, 40 };
    for (int group = groupOfVersion(nVersion); group <= 2; ++group) {
        if (!EncodeSourceData(lpsSource, ncLength, group))
            continue;
        const int needed = (m_ncDataCodeWordBit + 7) / 8;
        for (int v = firstVersion[group]; v <= lastVersion[group]; ++v) {
            if (QR_Version_Info[v].ncDataCodeWord[m_nLevel] >= needed)
                return v;
        }
    }
    return 0;
}

void QR_Matrix_Encoder::GetRSCodeWord(unsigned char* lpbyRSWork, int ncDataCodeWord, int ncRSCodeWord) const
{
    const int total = ncDataCodeWord + ncRSCodeWord;
    for (int i = 0; i < ncDataCodeWord; ++i) {
        const unsigned char first = lpbyRSWork[0];
        std::memmove(lpbyRSWork, lpbyRSWork + 1, static_cast<size_t>(total - 1));
        lpbyRSWork[total - 1] = 0;
        if (first == 0)
            continue;
        const int firstExp = byIntToExp[first];
        for (int j = 0; j < ncRSCodeWord; ++j)
            lpbyRSWork[j] ^= byExpToInt[(byRSExp[ncRSCodeWord][j] + firstExp) % 255];
    }
}

bool QR_Matrix_Encoder::EncodeData(
    int nLevel, int nVersion, bool bAutoExtent, int nMaskingNo, const unsigned char* lpsSource, int ncSource)
{
    if (nLevel < 0 || nLevel > 3 || nVersion < 0 || nVersion > QR_VERSION_MAX || nMaskingNo < -1 || nMaskingNo > 7
        || lpsSource == nullptr)
        return false;
    m_nLevel = nLevel;
    m_nVersion_pass = nVersion == 0 ? 1 : nVersion;
    m_nMaskingNo = nMaskingNo;

    const int ncLength
        = ncSource > 0 ? ncSource : static_cast<int>(std::strlen(reinterpret_cast<const char*>(lpsSource)));
    if (ncLength == 0)
        return false;

    const int nEncodeVersion = GetEncodeVersion(nVersion, lpsSource, ncLength);
    if (nEncodeVersion == 0)
        return false;
    int version = nVersion;
    if (nVersion == 0 || nEncodeVersion > nVersion) {
        if (nVersion != 0 && !bAutoExtent)
            return false;
        version = nEncodeVersion;
    }

    // Acceptance: the finished bit stream must fit the data capacity of the version it goes into.
    const int ncDataCodeWord = QR_Version_Info[version].ncDataCodeWord[nLevel];
    const int capacityBits = ncDataCodeWord * 8;
    if (m_ncDataCodeWordBit > capacityBits)
        return false;
    m_nVersion = version;

    const int ncTerminator = min(4, capacityBits - m_ncDataCodeWordBit);
    if (ncTerminator > 0)
        m_ncDataCodeWordBit = SetBitStream(m_ncDataCodeWordBit, 0, ncTerminator);
    bool pad = true;
    for (int i = (m_ncDataCodeWordBit + 7) / 8; i < ncDataCodeWord; ++i) {
        m_byDataCodeWord[i] = pad ? 0xEC : 0x11;
        pad = !pad;
    }

    const QR_VERSIONINFO& info = QR_Version_Info[version];
    m_ncAllCodeWord = info.ncAllCodeWord;
    std::memset(m_byAllCodeWord, 0, sizeof m_byAllCodeWord);
    const QR_RS_Block& group1 = info.RS_BlockInfo1[nLevel];
    const QR_RS_Block& group2 = info.RS_BlockInfo2[nLevel];
    const int ncBlockSum = group1.ncRSBlock + group2.ncRSBlock;
    int dataIndex = 0;
    int blockNo = 0;
    for (int g = 0; g < 2; ++g) {
        const QR_RS_Block& group = g == 0 ? group1 : group2;
        const int ncDataCw = group.ncDataCodeWord;
        const int ncRSCw = group.ncAllCodeWord - group.ncDataCodeWord;
        for (int b = 0; b < group.ncRSBlock; ++b, ++blockNo) {
            for (int k = 0; k < ncDataCw; ++k) {
                const int position = k < group1.ncDataCodeWord
                    ? k * ncBlockSum + blockNo
                    : ncBlockSum * group1.ncDataCodeWord + (blockNo - group1.ncRSBlock);
                m_byAllCodeWord[position] = m_byDataCodeWord[dataIndex + k];
            }
            std::memset(m_byRSWork, 0, sizeof m_byRSWork);
            std::memcpy(m_byRSWork, m_byDataCodeWord + dataIndex, static_cast<size_t>(ncDataCw));
            GetRSCodeWord(m_byRSWork, ncDataCw, ncRSCw);
            for (int k = 0; k < ncRSCw; ++k)
                m_byAllCodeWord[ncDataCodeWord + k * ncBlockSum + blockNo] = m_byRSWork[k];
            dataIndex += ncDataCw;
        }
    }

    m_nSymbolSize = version * 4 + 17;
    FormatModule();
    return true;
}
