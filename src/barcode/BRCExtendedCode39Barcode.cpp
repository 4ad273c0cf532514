#include "barcode/BRCExtendedCode39Barcode.h"

namespace {

// The pair of basic characters for a character from '!' to '~' that is not written as itself.
const char* pairFor(char c)
{
    // '!' to ':' (the digits, '-' and '.' are written as themselves).
    static const char* const punctuation[]
        = { "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "/M", "/N", "/O" };
    if (c >= '!' && c <= '/')
        return punctuation[c - '!'];
    switch (c) {
    case ':':
        return "/Z";
    case ';':
        return "%F";
    case '<':
        return "%G";
    case '=':
        return "%H";
    case '>':
        return "%I";
    case '?':
        return "%J";
    case '@':
        return "%V";
    case '[':
        return "%K";
    case '\\':
        return "%L";
    case ']':
        return "%M";
    case '^':
        return "%N";
    case '_':
        return "%O";
    case '`':
        return "%W";
    case '{':
        return "%P";
    case '|':
        return "%Q";
    case '}':
        return "%R";
    case '~':
        return "%S";
    case '\t':
        return "$I";
    default:
        return nullptr;
    }
}

} // namespace

bool BRCExtendedCode39Barcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!BRCCode39Barcode::initWithContent(content, printsCaption))
        return false;
    setContent(content);
    calculateWidth();
    return true;
}

QString BRCExtendedCode39Barcode::_encodeChar(char c) const
{
    const bool shiftCharacter = c == '$' || c == '%' || c == '+' || c == '/' || c == '*';
    if (!shiftCharacter) {
        const QString direct = basicPattern(c);
        if (!direct.isEmpty())
            return direct;
    }
    if (c >= 'a' && c <= 'z')
        return basicPattern('+') + basicPattern(static_cast<char>(c - 'a' + 'A'));
    const char* pair = pairFor(c);
    if (!pair)
        return QString();
    return basicPattern(pair[0]) + basicPattern(pair[1]);
}
