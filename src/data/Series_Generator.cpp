#include "data/Series_Generator.h"

#include "data/Series_File.h"

#include <QRandomGenerator>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>

Series_Generator::Series_Generator(const Settings& settings)
    : settings_(settings)
{
    switch (settings_.mode) {
    case Mode::Sequential: {
        first_ = intValue(settings_.from);
        const qint64 last = intValue(settings_.to);
        total_ = last >= first_ ? last - first_ + 1 : 0;
        padLength_ = int(std::max(settings_.from.size(), settings_.to.size()));
        break;
    }
    case Mode::Constant:
        total_ = std::max(0, intValue(settings_.count));
        break;
    case Mode::Random:
        total_ = std::max(0, intValue(settings_.randomCount));
        break;
    }
}

QString Series_Generator::validate(const Settings& settings, QString* field)
{
    auto refuse = [field](const auto& message, const char* name) {
        if (field)
            *field = QLatin1String(name);
        return QString(message);
    };
    switch (settings.mode) {
    case Mode::Sequential:
        if (settings.from.isEmpty())
            return refuse("Please enter valid 'From' value.", "from");
        if (settings.to.isEmpty())
            return refuse("Please enter valid 'To' value.", "to");
        // A bound past what a value can hold would silently become another number.
        if (!fitsInt(settings.from))
            return refuse("'From' value must lie between -2147483648 and 2147483647.", "from");
        if (!fitsInt(settings.to))
            return refuse("'To' value must lie between -2147483648 and 2147483647.", "to");
        if (intValue(settings.to) <= intValue(settings.from))
            return refuse("'From' value must be smaller than 'To' value.", "from");
        break;
    case Mode::Constant:
        if (settings.value.isEmpty())
            return refuse("Please enter valid 'Value'.", "value");
        if (settings.count.isEmpty())
            return refuse("Please enter valid 'Count' value.", "count");
        if (!fitsInt(settings.count))
            return refuse("'Count' value must be at most 2147483647.", "count");
        break;
    case Mode::Random:
        if (settings.randomCount.isEmpty())
            return refuse("Please enter valid 'Count' value.", "count");
        if (!fitsInt(settings.randomCount))
            return refuse("'Count' value must be at most 2147483647.", "count");
        if (settings.length.isEmpty())
            return refuse("Please enter valid 'Length' value.", "length");
        break;
    }
    // Every reader refuses a larger file: it is never written, so that no run meets it half made.
    const Series_Generator generator(settings);
    const char* const tooMany = settings.mode == Mode::Sequential ? "to" : "count";
    if (generator.total() > Series_File::kMaxValues)
        return refuse(QStringLiteral("A series can hold at most %1 values, and these settings make %2. Please make "
                                     "fewer values, or split them into smaller series.")
                          .arg(Series_File::kMaxValues)
                          .arg(generator.total()),
            tooMany);
    const auto megabytes = [](qint64 bytes) { return QString::number(double(bytes) / (1024 * 1024), 'f', 1); };
    if (generator.fileBytes() > Series_File::kMaxBytes)
        return refuse(QStringLiteral("A series file can be at most %1 MB, and these values would make one of %2 MB. "
                                     "Please make fewer or shorter values.")
                          .arg(megabytes(Series_File::kMaxBytes), megabytes(generator.fileBytes())),
            tooMany);
    if (field)
        field->clear();
    return QString();
}

qint64 Series_Generator::fileBytes() const
{
    const auto bytes = [](const QString& text) { return qint64(Series_File::oneLine(text).toUtf8().size()); };
    switch (settings_.mode) {
    case Mode::Sequential:
        return total_ * (bytes(settings_.prefix) + bytes(settings_.suffix) + 1) + numberCharacters();
    case Mode::Constant:
        return total_ * (bytes(settings_.value) + 1);
    case Mode::Random: {
        // A length the table does not know repeats the number before, 0 at first: one digit.
        quint32 min = 0, max = 0;
        const qint64 digits = rangeOfLength(settings_.length, &min, &max) ? settings_.length.toInt() : 1;
        return total_ * (bytes(settings_.randomPrefix) + bytes(settings_.randomSuffix) + digits + 1);
    }
    }
    return 0;
}

qint64 Series_Generator::numberCharacters() const
{
    if (total_ <= 0)
        return 0;
    const qint64 last = first_ + total_ - 1;
    const qint64 pad = settings_.padWithZeros ? padLength_ : 0;
    qint64 characters = 0;
    // Numbers of k digits lie in [low, high] and, below zero, in [-high, -low] with one more character.
    for (qint64 k = 1, low = 0, high = 9; k <= 10; ++k, low = high + 1, high = high * 10 + 9) {
        const auto add = [&](qint64 from, qint64 to, qint64 length) {
            const qint64 count = std::min(to, last) - std::max(from, first_) + 1;
            if (count > 0)
                characters += count * std::max(length, pad);
        };
        add(low, high, k);
        add(-high, -std::max<qint64>(low, 1), k + 1);
    }
    return characters;
}

QString Series_Generator::next()
{
    const qint64 index = made_++;
    switch (settings_.mode) {
    case Mode::Sequential: {
        // Built in one string: a million values are made in the time a million allocations take.
        char digits[24];
        const auto written = std::to_chars(std::begin(digits), std::end(digits), first_ + index);
        const int length = int(written.ptr - digits);
        const int zeros = settings_.padWithZeros ? std::max(0, padLength_ - length) : 0;
        QString value;
        value.reserve(settings_.prefix.size() + zeros + length + settings_.suffix.size());
        value.append(settings_.prefix);
        for (int i = 0; i < zeros; ++i)
            value.append(QLatin1Char('0'));
        value.append(QLatin1String(digits, length));
        value.append(settings_.suffix);
        return value;
    }
    case Mode::Constant:
        return settings_.value;
    case Mode::Random: {
        quint32 min = 0, max = 0;
        if (rangeOfLength(settings_.length, &min, &max))
            lastRandom_ = getRandomNumberBetweenMin(min, max);
        return settings_.randomPrefix + QString::number(lastRandom_) + settings_.randomSuffix;
    }
    }
    return QString();
}

int Series_Generator::intValue(const QString& text)
{
    return int(std::clamp<qint64>(wideValue(text), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool Series_Generator::fitsInt(const QString& text)
{
    const qint64 value = wideValue(text);
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

qint64 Series_Generator::wideValue(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size()
        && (text[i] == QLatin1Char(' ') || (text[i] >= QLatin1Char('\t') && text[i] <= QLatin1Char('\r'))))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    qint64 value = 0;
    constexpr qint64 limit = qint64(1) << 40; // far past every 32-bit bound, never overflowing
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min(limit, value * 10 + (text[i].unicode() - '0'));
    return negative ? -value : value;
}

QString Series_Generator::PadZero(const QString& text, int length)
{
    if (text.size() >= length)
        return text;
    return QString(length - text.size(), QLatin1Char('0')) + text;
}

quint32 Series_Generator::getRandomNumberBetweenMin(quint32 min, quint32 max)
{
    const quint32 span = max - min + 1;
    const quint32 draw = QRandomGenerator::global()->generate();
    return span == 0 ? draw : draw % span + min;
}

bool Series_Generator::rangeOfLength(const QString& length, quint32* min, quint32* max)
{
    static const quint32 lows[] = { 1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000 };
    if (length.size() != 1 || length[0] < QLatin1Char('1') || length[0] > QLatin1Char('9'))
        return false;
    const int digits = length[0].unicode() - '0';
    *min = lows[digits - 1];
    *max = lows[digits - 1] * 10 - 1;
    return true;
}
