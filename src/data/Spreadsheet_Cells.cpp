#include "data/Spreadsheet_Cells.h"

#include <QDateTime>

#include <charconv>
#include <cmath>
#include <optional>

QString Get_Column_Char_Str(const QString& ref)
{
    int end = 0;
    while (end < ref.size() && !(ref.at(end) >= QLatin1Char('1') && ref.at(end) <= QLatin1Char('9')))
        ++end;
    return ref.left(end);
}

int Asc_Val(const QString& s)
{
    return s.isEmpty() ? 0 : (s.at(0).unicode() & 0xFF);
}

int Get_Col_index(const QString& letters, int base)
{
    if (letters.size() < 2)
        return Asc_Val(letters) - base;
    return (Asc_Val(letters) - 64) * 26 + Asc_Val(letters.right(1)) - base;
}

namespace {

char16_t unitOf(QChar c)
{
    return c.unicode();
}

char16_t unitOf(char c)
{
    return char16_t(static_cast<unsigned char>(c));
}

template <typename Text> int columnOfLetters(const Text& ref)
{
    int value = 0;
    int letters = 0;
    for (const auto c : ref) {
        const char16_t u = unitOf(c);
        const char16_t upper = (u >= 'a' && u <= 'z') ? char16_t(u - 32) : u;
        if (upper < 'A' || upper > 'Z')
            break;
        value = value * 26 + (upper - 'A' + 1);
        if (++letters > 3 || value > kMaxSheetColumns)
            return -1;
    }
    return letters == 0 ? -1 : value - 1;
}

} // namespace

int columnIndexOfReference(const QString& ref)
{
    return columnOfLetters(ref);
}

int columnIndexOfReference(std::string_view ref)
{
    return columnOfLetters(ref);
}

QString ColumnIndexToName(int column)
{
    QString name;
    for (int n = column; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(ushort('A' + (n - 1) % 26)));
    return name;
}

bool isShownAsStored(std::string_view stored)
{
    const auto digitsFrom = [&](std::size_t at) {
        std::size_t end = at;
        while (end < stored.size() && stored[end] >= '0' && stored[end] <= '9')
            ++end;
        return end - at;
    };
    const std::size_t whole = stored.starts_with('-') ? 1 : 0;
    const std::size_t wholeDigits = digitsFrom(whole);
    if (wholeDigits == 0 || wholeDigits > 15 || (wholeDigits > 1 && stored[whole] == '0'))
        return false;
    const bool zeroWhole = stored[whole] == '0';
    const std::size_t point = whole + wholeDigits;
    if (point == stored.size())
        return !(zeroWhole && whole == 1); // "-0" shows as "0"
    if (stored[point] != '.')
        return false;
    const std::size_t fraction = digitsFrom(point + 1);
    if (fraction == 0 || point + 1 + fraction != stored.size() || stored.back() == '0')
        return false;
    if (!zeroWhole)
        return wholeDigits + fraction <= 15;
    // 0.0001 is shown as it is, 0.00001 as 1E-05.
    const std::size_t leading = stored.substr(point + 1).find_first_not_of('0'); // the last digit is no 0
    return leading <= 3 && fraction - leading <= 15;
}

namespace {

// The text a spreadsheet shows for a number stored in the file's notation; none when it is not one.
std::optional<std::string> numberText(std::string_view stored)
{
    if (isShownAsStored(stored))
        return std::string(stored);
    double number = 0;
    const char* end = stored.data() + stored.size();
    const auto parsed = std::from_chars(stored.data(), end, number);
    if (stored.empty() || parsed.ec != std::errc() || parsed.ptr != end || !std::isfinite(number))
        return std::nullopt;
    if (number == 0)
        return std::string("0"); // also -0
    char text[40];
    const auto written = std::to_chars(text, text + sizeof text, number, std::chars_format::general, 15);
    std::string shown(text, written.ptr);
    for (char& c : shown) {
        if (c == 'e')
            c = 'E';
    }
    return shown;
}

} // namespace

std::string shownNumber(std::string_view stored)
{
    return numberText(stored).value_or(std::string(stored));
}

bool isSpreadsheetNumber(const QString& value)
{
    if (value.size() > 32)
        return false;
    const QByteArray text = value.toLatin1();
    return numberText(std::string_view(text.constData(), std::size_t(text.size()))) == text.toStdString();
}

QString shownDate(const QString& stored, bool from1904)
{
    bool number = false;
    const double serial = stored.trimmed().toDouble(&number);
    QDateTime moment;
    if (number && std::isfinite(serial) && serial >= 0 && serial < 2958466) { // up to 9999-12-31
        const qint64 days = qint64(std::floor(serial));
        const qint64 seconds = std::llround((serial - double(days)) * 86400.0);
        // The 1900 count has a 29 February 1900 that never was: serials from 61 on are a day late.
        const QDate start = from1904 ? QDate(1904, 1, 1) : days >= 61 ? QDate(1899, 12, 30) : QDate(1899, 12, 31);
        moment = QDateTime(start.addDays(days), QTime(0, 0)).addSecs(seconds);
        if (days == 0 && seconds > 0)
            return moment.time().toString(
                moment.time().second() ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    } else if (!number) {
        moment = QDateTime::fromString(stored.trimmed(), Qt::ISODate);
    }
    if (!moment.isValid())
        return stored;
    if (moment.time() == QTime(0, 0))
        return moment.date().toString(Qt::ISODate);
    return moment.toString(
        moment.time().second() ? QStringLiteral("yyyy-MM-dd HH:mm:ss") : QStringLiteral("yyyy-MM-dd HH:mm"));
}
