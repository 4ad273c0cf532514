#include "data/Spreadsheet_Cells.h"

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

bool isSpreadsheetNumber(const QString& value)
{
    int i = 0;
    const int n = int(value.size());
    if (i < n && (value.at(i) == QLatin1Char('+') || value.at(i) == QLatin1Char('-')))
        ++i;
    int digits = 0;
    int significant = 0;
    bool point = false;
    bool leading = true;
    for (; i < n; ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('.')) {
            if (point)
                return false;
            point = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        ++digits;
        if (c != QLatin1Char('0'))
            leading = false;
        if (!leading)
            ++significant;
    }
    return digits > 0 && significant <= 15;
}
