#include "barcode/BRCCode128Barcode.h"

#include "common/Common_Functions.h"

#include <array>
#include <iterator>

namespace {

constexpr int kShift = 98;
constexpr int kStartA = 103;

// Bar and space widths of each symbol, bar first.
const char* const kWidths[] = { "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",
    "132212", "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211",
    "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113",
    "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113",
    "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112",
    "142211", "241211", "221114", "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112",
    "124211", "411212", "421112", "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113",
    "114311", "411113", "411311", "113141", "114131", "311141", "411131", "211412", "211214", "211232", "233111" };
static_assert(std::size(kWidths) == 107);

} // namespace

QString BRCCode128Barcode::symbolPattern(int value)
{
    // Built once: every symbol of every picture comes through here.
    static const std::array<QString, std::size(kWidths)> patterns = [] {
        std::array<QString, std::size(kWidths)> built;
        for (size_t i = 0; i < built.size(); ++i) {
            bool bar = true;
            for (const char* width = kWidths[i]; *width; ++width) {
                built[i] += QString(*width - '0', QLatin1Char(bar ? '1' : '0'));
                bar = !bar;
            }
        }
        return built;
    }();
    if (value < 0 || value >= static_cast<int>(patterns.size()))
        return QString();
    return patterns[static_cast<size_t>(value)];
}

std::unique_ptr<BRCBarcode> BRCCode128Barcode::newInstance() const
{
    auto twin = std::make_unique<BRCCode128Barcode>();
    twin->setCodeSet(codeSet_);
    return twin;
}

bool BRCCode128Barcode::initWithContent(const QString& content, bool printsCaption)
{
    if (content.isNull())
        return false;
    // Chosen before the base initialiser works out a width, so that it never meets a set it has no
    // start symbol for.
    if (codeSet_ == SetChosen) {
        setContent(content);
        codeSet_ = _bestCodeSetForContent();
    }
    if (!BRCBarcode::initWithContent(content, printsCaption))
        return false;
    generateChecksum();
    calculateWidth();
    return true;
}

int BRCCode128Barcode::valueInSet(char c, int set)
{
    const int code = static_cast<unsigned char>(c);
    if (set == SetA) {
        if (code < 32)
            return code + 64;
        if (code < 96)
            return code - 32;
    } else if (set == SetB) {
        if (code >= 32 && code < 128)
            return code - 32;
    }
    return -1;
}

bool BRCCode128Barcode::_canEncodeChar(char c, int set) const
{
    return !_encodeChar(c, set).isEmpty();
}

QString BRCCode128Barcode::_encodeChar(char c, int set) const
{
    if (set == SetC)
        return c >= '0' && c <= '9' ? _encodeChar(c, SetA) : QString();
    return symbolPattern(valueInSet(c, set));
}

QString BRCCode128Barcode::_shiftCharacterForSet(int set) const
{
    return set == SetA || set == SetB ? symbolPattern(kShift) : QString();
}

QString BRCCode128Barcode::_encodeChar(char c) const
{
    if (codeSet_ == SetC)
        return _encodeChar(c, SetC);
    if (codeSet_ != SetA && codeSet_ != SetB)
        return QString();
    const QString own = _encodeChar(c, codeSet_);
    if (!own.isEmpty())
        return own;
    const QString other = _encodeChar(c, codeSet_ == SetA ? SetB : SetA);
    return other.isEmpty() ? QString() : _shiftCharacterForSet(codeSet_) + other;
}

int BRCCode128Barcode::_bestCodeSetForContent() const
{
    const QByteArray ascii = asciiContent();
    int controls = 0;
    int lowerCase = 0;
    bool digitsOnly = true;
    for (const char c : ascii) {
        const int code = static_cast<unsigned char>(c);
        if (code < '0' || code > '9')
            digitsOnly = false;
        if (code < 32 || code >= 127)
            ++controls;
        else if (code >= 'a' && code <= 'z')
            ++lowerCase;
    }
    // An odd count of digits would need a leading zero in set C, which a scanner reads as data.
    if (digitsOnly && ascii.size() % 2 == 0)
        return SetC;
    return controls > lowerCase ? SetA : SetB;
}

QString BRCCode128Barcode::_encodeNumberPair(const QString& number) const
{
    bool ok = false;
    const int value = number.toInt(&ok);
    return ok && value >= 0 && value <= 102 ? symbolPattern(value) : QString();
}

bool BRCCode128Barcode::symbolValues(std::vector<int>* values) const
{
    QByteArray ascii;
    if (!asciiForm(content_, &ascii))
        return false;
    values->clear();
    if (codeSet_ == SetC) {
        if (ascii.size() % 2 == 1)
            ascii.prepend('0');
        for (qsizetype i = 0; i < ascii.size(); i += 2) {
            const char high = ascii.at(i);
            const char low = ascii.at(i + 1);
            if (high < '0' || high > '9' || low < '0' || low > '9')
                return false;
            values->push_back((high - '0') * 10 + (low - '0'));
        }
        return true;
    }
    if (codeSet_ != SetA && codeSet_ != SetB)
        return false;
    const int otherSet = codeSet_ == SetA ? SetB : SetA;
    for (const char c : ascii) {
        const int own = valueInSet(c, codeSet_);
        if (own >= 0) {
            values->push_back(own);
            continue;
        }
        const int other = valueInSet(c, otherSet);
        if (other < 0)
            return false;
        values->push_back(kShift);
        values->push_back(other);
    }
    return true;
}

void BRCCode128Barcode::generateChecksum()
{
    if (codeSet_ < SetA || codeSet_ > SetC)
        return;
    std::vector<int> values;
    if (!symbolValues(&values))
        values.clear();
    int sum = kStartA + codeSet_;
    for (size_t i = 0; i < values.size(); ++i)
        sum = (sum + static_cast<int>(i + 1) * values[i]) % 103;
    checkDigit_ = static_cast<qint8>(sum);
}

QString BRCCode128Barcode::initiator() const
{
    if (codeSet_ < SetA || codeSet_ > SetC) {
        Show_NSLog_Message(QStringLiteral("Invalid codeSet value: %1").arg(QChar(static_cast<char16_t>(codeSet_))));
        return QString();
    }
    return symbolPattern(kStartA + codeSet_);
}

QString BRCCode128Barcode::barcode() const
{
    std::vector<int> values;
    if (!symbolValues(&values))
        return QString();
    QString modules;
    modules.reserve(static_cast<qsizetype>(values.size() + 1) * 11);
    for (const int value : values)
        modules += symbolPattern(value);
    return modules + _encodeNumberPair(QString::number(checkDigit_));
}

bool BRCCode128Barcode::isContentValid()
{
    std::vector<int> values;
    return !content_.isEmpty() && symbolValues(&values);
}
