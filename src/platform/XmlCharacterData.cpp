#include "platform/XmlCharacterData.h"

#include <cstring>

namespace platform::xmlchars {

namespace {

constexpr std::size_t kLongestReference = 12; // "&#x0010FFFF;" and a little more

bool characterReference(std::string_view digits, char32_t& c)
{
    return referenceCodePoint(digits, c) && isXmlChar(c);
}

bool failWith(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}

} // namespace

void appendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool referenceCodePoint(std::string_view digits, char32_t& c)
{
    const bool hex = digits.size() > 1 && digits[1] == 'x';
    digits.remove_prefix(hex ? 2 : 1);
    if (digits.empty())
        return false;
    char32_t value = 0;
    for (const char d : digits) {
        int digit;
        if (d >= '0' && d <= '9')
            digit = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            digit = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            digit = d - 'A' + 10;
        else
            return false;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        if (value > 0x10FFFF)
            return false;
    }
    c = value;
    return true;
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

bool appendDecoded(const char* raw, std::string& out, QString* reason)
{
    for (;;) {
        const char* amp = std::strchr(raw, '&');
        if (!amp) {
            out += raw;
            return true;
        }
        out.append(raw, static_cast<std::size_t>(amp - raw));
        const char* end = amp + 1;
        while (*end && *end != ';' && static_cast<std::size_t>(end - amp) <= kLongestReference)
            ++end;
        if (*end != ';')
            return failWith(reason, QStringLiteral("a '&' that starts no reference"));
        const std::string_view name(amp + 1, static_cast<std::size_t>(end - amp - 1));
        char32_t c = 0;
        if (name == "amp")
            out += '&';
        else if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (name.starts_with('#') && characterReference(name, c))
            appendUtf8(c, out);
        else if (name.starts_with('#'))
            return failWith(reason, QStringLiteral("invalid character reference &%1;").arg(QLatin1String(name)));
        else
            return failWith(reason,
                QStringLiteral("undeclared entity &%1;").arg(QString::fromUtf8(name.data(), qsizetype(name.size()))));
        raw = end + 1;
    }
}

bool isWellFormedText(std::string_view text, QString* reason)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            if (lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r')
                return failWith(
                    reason, QStringLiteral("character U+%1 is not allowed in XML").arg(lead, 4, 16, QLatin1Char('0')));
            ++p;
            continue;
        }
        int length;
        char32_t c;
        char32_t least;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, least = 0x10000;
        } else {
            return failWith(reason, QStringLiteral("text is not valid UTF-8"));
        }
        if (end - p < length)
            return failWith(reason, QStringLiteral("text is not valid UTF-8"));
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return failWith(reason, QStringLiteral("text is not valid UTF-8"));
            c = (c << 6) | (p[i] & 0x3F);
        }
        if (c < least || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return failWith(reason, QStringLiteral("text is not valid UTF-8"));
        if (!isXmlChar(c))
            return failWith(reason,
                QStringLiteral("character U+%1 is not allowed in XML").arg(quint32(c), 4, 16, QLatin1Char('0')));
        p += length;
    }
    return true;
}

} // namespace platform::xmlchars
