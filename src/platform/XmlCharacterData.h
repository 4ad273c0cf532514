#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace platform::xmlchars {

// Appends XML character data to out with its references decoded: the five predefined entities and
// character references to characters XML may carry. Any other reference (an entity the document would
// have to declare) or a stray '&' fails with a reason, appending part of the text at most.
bool appendDecoded(const char* raw, std::string& out, QString* reason);

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF) made only
// of characters an XML document may hold.
bool isWellFormedText(std::string_view text, QString* reason);

// The code point a character reference names ("#65" or "#x41"), whether or not XML allows it there.
bool referenceCodePoint(std::string_view digits, char32_t& c);
void appendUtf8(char32_t c, std::string& out);

// Whether a code point may appear in an XML document.
bool isXmlChar(char32_t c);

} // namespace platform::xmlchars
