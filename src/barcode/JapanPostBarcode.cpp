#include "barcode/JapanPostBarcode.h"

#include "barcode/Barcode_Gen.h"

#include <QList>

#include <algorithm>

namespace {

constexpr int kCodes = 20;
constexpr float kMillimetresPerPoint = 0.3527777777777777f;

} // namespace

std::uint16_t japanpost_characterDescriptor(char c)
{
    // '-' to '@': hyphen, control codes 7 and 8, the digits, control codes 1 to 6, and three timing
    // bars for '@'. 3 long, 2 upper, 1 lower, 0 timing.
    static const std::uint16_t descriptors[] = { 0x030, 0x003, 0x333, 0x300, 0x330, 0x312, 0x132, 0x321, 0x303, 0x123,
        0x231, 0x213, 0x033, 0x120, 0x102, 0x210, 0x012, 0x201, 0x021, 0x000 };
    if (c < '-' || c > '@')
        return 0;
    return descriptors[c - '-'];
}

int japanpost_barDescriptor(std::uint16_t descriptor, int offset, int bars)
{
    const int bar = offset / 2;
    if (bar < 0 || bar >= bars)
        return 0;
    return (descriptor >> (4 * (bars - 1 - bar))) & 0xF;
}

float japanpost_barTop(int group, float size)
{
    return (group & 2 ? 3.6f : 2.4f) * size / 10.0f;
}

float japanpost_barBottom(int group, float size)
{
    return group & 1 ? 0.0f : 1.2f * size / 10.0f;
}

bool JapanPostBarcode::initWithContent(const QString& content, bool, float, float height, float, qint8)
{
    if (content.isNull())
        return false;
    setContent(content);
    setHeight(height >= 8.0f && height <= 11.5f ? height : 10.0f);
    return true;
}

void JapanPostBarcode::setContent(const QString& content)
{
    const QString upper = content.toUpper();
    QString codes;
    QString readable;
    QList<int> codesPerCharacter;
    lossy_ = false;
    for (const QChar qc : upper) {
        const char16_t c = qc.unicode();
        const int before = static_cast<int>(codes.size());
        if (c >= u'A' && c <= u'J')
            codes += QLatin1Char(':') + QChar(u'0' + (c - u'A'));
        else if (c >= u'K' && c <= u'T')
            codes += QLatin1Char(';') + QChar(u'0' + (c - u'K'));
        else if (c >= u'U' && c <= u'Z')
            codes += QLatin1Char('<') + QChar(u'0' + (c - u'U'));
        else if (c == u'-' || (c >= u'0' && c <= u'9'))
            codes += qc;
        else {
            lossy_ = true;
            continue;
        }
        readable += qc;
        codesPerCharacter.append(static_cast<int>(codes.size()) - before);
    }
    if (codes.size() > kCodes) {
        // Keep the characters whose codes fit whole; a letter cut in half is dropped with its digit.
        int fitting = 0;
        int used = 0;
        while (fitting < codesPerCharacter.size() && used + codesPerCharacter.at(fitting) <= kCodes)
            used += codesPerCharacter.at(fitting++);
        codes.truncate(kCodes);
        readable.truncate(fitting);
        lossy_ = true;
    } else {
        codes += QString(kCodes - codes.size(), QLatin1Char('='));
    }
    japanpostContents_ = codes;
    BRCBarcode::setContent(readable);
    generateChecksum();
}

void JapanPostBarcode::setHeight(float height)
{
    height_ = height;
    size_ = std::clamp(height, 8.5f, 11.5f);
    barWidth_ = size_ / 6.0f;
    calculateWidth();
}

float JapanPostBarcode::textBands() const
{
    const Barcode_Gen& settings = Barcode_Settings();
    return (captionHeight_ + headerHeight_ + footerHeight_) * 72.0f + settings.value_margin + settings.header_margin
        + settings.footer_margin + 2.0f * settings.TB_margin;
}

float JapanPostBarcode::height() const
{
    // The long bars must stand inside the picture whatever height was asked for.
    return std::max(height_, textBands() + japanpost_barTop(2, size_) / kMillimetresPerPoint);
}

void JapanPostBarcode::setBarWidth(float barWidth)
{
    barWidth_ = std::clamp(barWidth, 4.0f / 3.0f, 23.0f / 12.0f);
    size_ = 6.0f * barWidth_;
    height_ = size_;
    calculateWidth();
}

void JapanPostBarcode::generateChecksum()
{
    int sum = 0;
    for (const QChar qc : japanpostContents_) {
        const char16_t c = qc.unicode();
        if (c >= u'0' && c <= u'9')
            sum += c - u'0';
        else if (c == u'-')
            sum += 10;
        else if (c >= u':' && c <= u'=')
            sum += 11 + (c - u':');
    }
    const int v = 19 - sum % 19;
    char check = '0';
    if (v <= 9)
        check = static_cast<char>('0' + v);
    else if (v == 10)
        check = '-';
    else if (v <= 16)
        check = static_cast<char>(':' + (v - 11));
    else if (v == 17)
        check = '.';
    else if (v == 18)
        check = '/';
    checkDigit_ = static_cast<qint8>(check);
}

bool JapanPostBarcode::isContentValid()
{
    if (lossy_ || content_.size() < 7)
        return false;
    for (int i = 0; i < 7; ++i) {
        if (content_.at(i) < QLatin1Char('0') || content_.at(i) > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString JapanPostBarcode::barcode() const
{
    QString modules;
    for (qsizetype i = 0; i < japanpostContents_.size(); ++i)
        modules += _encodeChar(static_cast<char>(japanpostContents_.at(i).unicode()));
    if (checkDigit_ != -1)
        modules += _encodeChar(static_cast<char>(checkDigit_));
    return modules;
}

int JapanPostBarcode::_barDescriptor(int index) const
{
    const int codes = static_cast<int>(japanpostContents_.size());
    const int dataEnd = 2 * kOpenBracketLength + (codes + 1) * 2 * kNumberLength;
    if (index < 2 * kOpenBracketLength)
        return japanpost_barDescriptor(kOpenBracket, index % 4, kOpenBracketLength);
    if (index < dataEnd) {
        const int i = index - 2 * kOpenBracketLength;
        const int character = i / (2 * kNumberLength);
        const char c = character < codes ? static_cast<char>(japanpostContents_.at(character).unicode())
                                         : static_cast<char>(checkDigit_);
        return japanpost_barDescriptor(japanpost_characterDescriptor(c), i % (2 * kNumberLength), kNumberLength);
    }
    return japanpost_barDescriptor(kCloseBracket, (index - dataEnd) % 3, kCloseBracketLength);
}

float JapanPostBarcode::barTop(int index) const
{
    return japanpost_barTop(_barDescriptor(index), size_) / kMillimetresPerPoint;
}

float JapanPostBarcode::barBottom(int index) const
{
    return japanpost_barBottom(_barDescriptor(index), size_) / kMillimetresPerPoint;
}
