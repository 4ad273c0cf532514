#include "data/Xml_Stream_Scanner.h"

#include "platform/XmlCharacterData.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// What each byte is to the scanner, looked up rather than compared in the loops over names and blanks.
enum : unsigned char { kBlank = 1, kNameChar = 2, kTagMark = 4 };
constexpr auto kByteClass = [] {
    std::array<unsigned char, 256> classes {};
    for (int c = 0; c < 256; ++c)
        classes[std::size_t(c)] = kNameChar;
    for (const unsigned char c : { ' ', '\t', '\n', '\r' })
        classes[c] = kBlank;
    // What ends a name as the quick path takes it (others send a tag the long way) ...
    for (const unsigned char c : { '=', '/' })
        classes[c] = 0;
    // ... and what ends a run of a tag's characters: its end, a quoted value, or a '<' that has no place there.
    for (const unsigned char c : { '>', '<', '"', '\'' })
        classes[c] = kTagMark;
    return classes;
}();

bool isBlank(char c)
{
    return kByteClass[static_cast<unsigned char>(c)] & kBlank;
}

// A character of a name as the quick path takes it.
bool isNameChar(char c)
{
    return kByteClass[static_cast<unsigned char>(c)] & kNameChar;
}

bool allBlank(std::string_view text)
{
    for (char c : text) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

std::string_view localName(std::string_view name)
{
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The character of a reference's name ("amp", "#65", "#x41"); 0 when it names none we decode.
char32_t referenceCharacter(std::string_view name)
{
    static constexpr struct {
        const char* name;
        char c;
    } named[] = { { "lt", '<' }, { "gt", '>' }, { "amp", '&' }, { "quot", '"' }, { "apos", '\'' } };
    for (const auto& entry : named) {
        if (name == entry.name)
            return char32_t(entry.c);
    }
    char32_t value = 0;
    if (!name.starts_with('#') || !platform::xmlchars::referenceCodePoint(name, value) || value == 0
        || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return value;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The code of an "_xHHHH_" escape starting at `at`; -1 when there is none.
int escapeAt(const QString& text, qsizetype at)
{
    if (at + 7 > text.size() || text.at(at) != QLatin1Char('_') || text.at(at + 1) != QLatin1Char('x')
        || text.at(at + 6) != QLatin1Char('_'))
        return -1;
    int code = 0;
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        const int digit = hexDigit(text.at(i));
        if (digit < 0)
            return -1;
        code = code * 16 + digit;
    }
    return code;
}

bool needsEscape(const QString& text, qsizetype i)
{
    const char16_t c = text.at(i).unicode();
    if (c < 0x20)
        return c != '\t' && c != '\n';
    if (c == 0xFFFE || c == 0xFFFF)
        return true;
    if (QChar::isHighSurrogate(c))
        return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    if (QChar::isLowSurrogate(c))
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return c == '_' && escapeAt(text, i) >= 0;
}

} // namespace

Xml_Stream_Scanner::Xml_Stream_Scanner(Xml_Stream_Handler& handler)
    : handler_(handler)
{
}

bool Xml_Stream_Scanner::fail(const QString& reason)
{
    failed_ = true;
    if (error_.isEmpty())
        error_ = reason;
    return false;
}

void Xml_Stream_Scanner::takeEncoding()
{
    bomChecked_ = true;
    const std::string_view head(pending_);
    // A UTF-8 byte-order mark (legal XML, common from some writers) is no text.
    if (head.starts_with("\xEF\xBB\xBF")) {
        pending_.erase(0, 3);
        return;
    }
    using namespace std::string_view_literals;
    if (head.starts_with("\xFF\xFE"sv) || head.starts_with("<\0?\0"sv))
        utf16_.emplace(QStringConverter::Utf16LE);
    else if (head.starts_with("\xFE\xFF"sv) || head.starts_with("\0<\0?"sv))
        utf16_.emplace(QStringConverter::Utf16BE);
    else
        return;
    // The decoder drops the byte-order mark and keeps a code unit split between blocks for the next one.
    const QByteArray text
        = QString(utf16_->decode(QByteArrayView(pending_.data(), qsizetype(pending_.size())))).toUtf8();
    pending_.assign(text.constData(), std::size_t(text.size()));
}

bool Xml_Stream_Scanner::feed(const char* data, std::size_t size)
{
    if (failed_)
        return false;
    if (!bomChecked_) {
        // The first four bytes tell the encoding.
        pending_.append(data, size);
        if (pending_.size() < 4)
            return true;
        takeEncoding();
        size = 0;
    } else if (utf16_) {
        transcoded_ = QString(utf16_->decode(QByteArrayView(data, qsizetype(size)))).toUtf8();
        data = transcoded_.constData();
        size = std::size_t(transcoded_.size());
    }
    bool failed = false;
    if (!pending_.empty()) {
        // The unfinished tail of the last block is mostly finished by the first '>' (a tag) or '<' (a text)
        // of this one: only that much is joined to it, and the rest of the block is scanned where it lies.
        const void* stop = size > 0 ? std::memchr(data, pending_.front() == '<' ? '>' : '<', size) : nullptr;
        const std::size_t piece
            = stop ? std::size_t(static_cast<const char*>(stop) - data) + (pending_.front() == '<') : size;
        pending_.append(data, piece);
        data += piece;
        size -= piece;
        const std::size_t used = scan(pending_, false, failed);
        pending_.erase(0, used);
        if (!pending_.empty() && !failed && size > 0) {
            // Still unfinished (a comment, a section, a '>' in a quoted value): the whole block joins it.
            pending_.append(data, size);
            size = 0;
            pending_.erase(0, scan(pending_, false, failed));
        }
    }
    if (pending_.empty() && !failed) {
        // Most blocks are scanned where they lie; only an unfinished tail is kept.
        const std::size_t used = scan(std::string_view(data, size), false, failed);
        pending_.assign(data + used, size - used);
    }
    if (failed)
        failed_ = true;
    return !failed_;
}

bool Xml_Stream_Scanner::finish()
{
    if (failed_)
        return false;
    if (!bomChecked_)
        takeEncoding();
    bool failed = false;
    const std::size_t used = scan(pending_, true, failed);
    if (failed)
        return !(failed_ = true);
    if (used < pending_.size() && !allBlank(std::string_view(pending_).substr(used)))
        return fail(QStringLiteral("unfinished markup at the end"));
    if (!rootSeen_)
        return fail(QStringLiteral("no element"));
    if (anyOpen())
        return fail(QStringLiteral("the element <%1> is never closed")
                        .arg(QString::fromUtf8(innermost().data(), qsizetype(innermost().size()))));
    return true;
}

std::size_t Xml_Stream_Scanner::scan(std::string_view text, bool last, bool& failed)
{
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] != '<') {
            const std::size_t end = textRun(text, at, last);
            if (failed_) {
                failed = true;
                return at;
            }
            if (end == at)
                return at;
            at = end;
            continue;
        }
        Step step = Step::Done;
        if (!quickTag(text, at, step))
            step = markup(text, at, last);
        if (step == Step::Failed) {
            failed = true;
            return at;
        }
        if (step == Step::NeedMore)
            return at;
    }
    return at;
}

std::size_t Xml_Stream_Scanner::textRun(std::string_view text, std::size_t at, bool last)
{
    const std::size_t lt = findByte(text, at, '<');
    std::size_t end = lt == std::string_view::npos ? text.size() : lt;
    if (lt == std::string_view::npos && !last) {
        // Hold back what the next block may complete: a reference or a line end split between blocks. Only
        // the last few bytes can begin a reference still to be decoded, so no more is held, and a text that
        // never ends its reference is handed on rather than scanned again with every block.
        const std::size_t tail = std::max(at, text.size() - std::min(text.size(), kMaxReferenceBytes));
        const std::size_t amp = text.substr(tail).rfind('&');
        if (amp != std::string_view::npos && text.find(';', tail + amp) == std::string_view::npos)
            end = tail + amp;
        if (end > at && text[end - 1] == '\r')
            --end;
    }
    const std::string_view run = text.substr(at, end - at);
    if (!anyOpen()) {
        if (!allBlank(run))
            fail(QStringLiteral("text outside the root element"));
    } else if (!run.empty()) {
        handler_.text(run, false);
    }
    return end;
}

Xml_Stream_Scanner::Step Xml_Stream_Scanner::markup(std::string_view text, std::size_t& at, bool last)
{
    const std::string_view rest = text.substr(at);
    auto closeOf = [&](std::string_view opener, std::string_view closer, std::size_t& end) {
        end = rest.find(closer, opener.size());
        if (end != std::string_view::npos)
            return Step::Done;
        if (last)
            return fail(QStringLiteral("unfinished markup at the end")), Step::Failed;
        if (rest.size() > kMaxTagBytes)
            return fail(QStringLiteral("a tag longer than %1 bytes").arg(kMaxTagBytes)), Step::Failed;
        return Step::NeedMore;
    };
    if (rest.size() >= 2 && rest[1] != '!' && rest[1] != '?')
        return tagAt(rest, at, last);
    if (rest.size() < 9 && !last && (rest.size() < 2 || rest[1] == '!'))
        return Step::NeedMore; // not yet known whether a comment, a CDATA section or a declaration starts
    std::size_t end = 0;
    Step step = Step::Done;
    if (rest.size() >= 2 && rest[1] == '?') {
        if ((step = closeOf("<?", "?>", end)) == Step::Done)
            at += end + 2;
        return step;
    }
    if (rest.substr(0, 4) == "<!--") {
        if ((step = closeOf("<!--", "-->", end)) == Step::Done)
            at += end + 3;
        return step;
    }
    if (rest.substr(0, 9) == "<![CDATA[") {
        if ((step = closeOf("<![CDATA[", "]]>", end)) != Step::Done)
            return step;
        if (!anyOpen())
            return fail(QStringLiteral("text outside the root element")), Step::Failed;
        handler_.text(rest.substr(9, end - 9), true);
        at += end + 3;
        return Step::Done;
    }
    if (rest.size() >= 2 && rest[1] == '!')
        return fail(QStringLiteral("document type declarations are not read")), Step::Failed;
    return tagAt(rest, at, last);
}

Xml_Stream_Scanner::Step Xml_Stream_Scanner::tagAt(std::string_view rest, std::size_t& at, bool last)
{
    // A tag: its end is the first '>' outside a quoted attribute value.
    std::size_t close = std::string_view::npos;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        i = std::find_if(rest.begin() + i, rest.end(), [](char c) {
            return kByteClass[static_cast<unsigned char>(c)] & kTagMark;
        }) - rest.begin();
        if (i == rest.size())
            break;
        const char c = rest[i];
        if (c == '>') {
            close = i;
            break;
        }
        if (c == '<')
            return fail(QStringLiteral("'<' inside a tag")), Step::Failed;
        const std::size_t closing = rest.find(c, i + 1); // a quoted value
        if (closing == std::string_view::npos)
            break;
        i = closing;
    }
    if (close == std::string_view::npos) {
        if (last)
            return fail(QStringLiteral("unfinished tag at the end")), Step::Failed;
        if (rest.size() > kMaxTagBytes)
            return fail(QStringLiteral("a tag longer than %1 bytes").arg(kMaxTagBytes)), Step::Failed;
        return Step::NeedMore;
    }
    const std::string_view inside = rest.substr(1, close - 1);
    const Step step = !inside.empty() && inside[0] == '/' ? endTag(inside.substr(1)) : startTag(inside);
    if (step == Step::Done)
        at += close + 1;
    return step;
}

Xml_Stream_Scanner::Step Xml_Stream_Scanner::startTag(std::string_view tag)
{
    const bool empty = !tag.empty() && tag.back() == '/';
    if (empty)
        tag.remove_suffix(1);
    std::size_t i = 0;
    while (i < tag.size() && !isBlank(tag[i]))
        ++i;
    const std::string_view name = tag.substr(0, i);
    if (name.empty()
        || std::any_of(name.begin(), name.end(), [](char c) { return c == '=' || c == '"' || c == '\'' || c == '/'; }))
        return fail(QStringLiteral("a tag without a name")), Step::Failed;
    attributes_.clear();
    for (;;) {
        while (i < tag.size() && isBlank(tag[i]))
            ++i;
        if (i >= tag.size())
            break;
        const std::size_t nameStart = i;
        while (i < tag.size() && tag[i] != '=' && !isBlank(tag[i]))
            ++i;
        const std::string_view attribute = tag.substr(nameStart, i - nameStart);
        while (i < tag.size() && isBlank(tag[i]))
            ++i;
        if (attribute.empty() || i >= tag.size() || tag[i] != '=')
            return fail(QStringLiteral("an attribute without a value in <%1>").arg(QLatin1String(name))), Step::Failed;
        ++i;
        while (i < tag.size() && isBlank(tag[i]))
            ++i;
        if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\''))
            return fail(QStringLiteral("an unquoted attribute in <%1>").arg(QLatin1String(name))), Step::Failed;
        const char quote = tag[i++];
        const std::size_t valueEnd = findByte(tag, i, quote);
        if (valueEnd == std::string_view::npos)
            return fail(QStringLiteral("an unclosed attribute in <%1>").arg(QLatin1String(name))), Step::Failed;
        attributes_.push_back({ localName(attribute), tag.substr(i, valueEnd - i) });
        i = valueEnd + 1;
    }
    return openElement(name, empty);
}

Xml_Stream_Scanner::Step Xml_Stream_Scanner::openElement(std::string_view name, bool empty)
{
    if (!anyOpen() && rootSeen_)
        return fail(QStringLiteral("a second root element")), Step::Failed;
    if (openStarts_.size() >= kMaxDepth)
        return fail(QStringLiteral("elements nested deeper than %1").arg(kMaxDepth)), Step::Failed;
    rootSeen_ = true;
    const std::string_view local = localName(name);
    if (!handler_.startElement(local, attributes_))
        return failed_ = true, Step::Failed;
    if (empty)
        handler_.endElement(local);
    else {
        openStarts_.push_back(std::uint32_t(openNames_.size()));
        openNames_.append(name);
    }
    return Step::Done;
}

// The common tags in one pass: a start tag of a name and quoted attributes ending in '>' or "/>", or an end
// tag of a plain name. Anything else (a block that ends inside the tag, a comment, a malformed tag) is left
// to markup(), which tells what is wrong; nothing is reported before a tag is known to be one of these.
bool Xml_Stream_Scanner::quickTag(std::string_view text, std::size_t& at, Step& step)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin + at + 1;
    if (p < end && *p == '/') {
        const char* const nameStart = ++p;
        while (p < end && isNameChar(*p))
            ++p;
        const char* const nameEnd = p;
        while (p < end && isBlank(*p))
            ++p;
        if (p >= end || *p != '>')
            return false;
        const std::string_view name(nameStart, std::size_t(nameEnd - nameStart));
        if (!anyOpen() || innermost() != name)
            return false;
        openNames_.resize(openStarts_.back());
        openStarts_.pop_back();
        handler_.endElement(localName(name));
        at = std::size_t(p + 1 - begin);
        step = Step::Done;
        return true;
    }
    const char* const nameStart = p;
    while (p < end && isNameChar(*p))
        ++p;
    if (p == nameStart)
        return false;
    const std::string_view name(nameStart, std::size_t(p - nameStart));
    attributes_.clear();
    bool empty = false;
    for (bool first = true;; first = false) {
        const char* const blanks = p;
        while (p < end && isBlank(*p))
            ++p;
        if (p >= end)
            return false;
        if (*p == '>' || *p == '/') {
            empty = *p == '/';
            if (empty && (p + 1 >= end || p[1] != '>'))
                return false;
            p += empty ? 2 : 1;
            break;
        }
        if (first && p == blanks)
            return false; // the name does not end where a name may
        const char* const attributeStart = p;
        while (p < end && isNameChar(*p))
            ++p;
        const std::string_view attribute(attributeStart, std::size_t(p - attributeStart));
        while (p < end && isBlank(*p))
            ++p;
        if (attribute.empty() || p >= end || *p != '=')
            return false;
        ++p;
        while (p < end && isBlank(*p))
            ++p;
        if (p >= end || (*p != '"' && *p != '\''))
            return false;
        const std::size_t valueStart = std::size_t(p + 1 - begin);
        const std::size_t valueEnd = findByte(text, valueStart, *p);
        if (valueEnd == std::string_view::npos)
            return false;
        attributes_.push_back({ localName(attribute), text.substr(valueStart, valueEnd - valueStart) });
        p = begin + valueEnd + 1;
    }
    at = std::size_t(p - begin);
    step = openElement(name, empty);
    return true;
}

Xml_Stream_Scanner::Step Xml_Stream_Scanner::endTag(std::string_view tag)
{
    while (!tag.empty() && isBlank(tag.back()))
        tag.remove_suffix(1);
    if (!anyOpen() || innermost() != tag)
        return fail(QStringLiteral("the end tag </%1> closes no open element").arg(QLatin1String(tag.substr(0, 64)))),
               Step::Failed;
    openNames_.resize(openStarts_.back());
    openStarts_.pop_back();
    handler_.endElement(localName(tag));
    return Step::Done;
}

void appendXmlText(std::string& out, std::string_view raw)
{
    std::size_t at = 0;
    while (at < raw.size()) {
        std::size_t next = at;
        while (next < raw.size() && raw[next] != '&' && raw[next] != '\r')
            ++next;
        out.append(raw.data() + at, next - at);
        if (next >= raw.size())
            return;
        if (raw[next] == '\r') {
            out += '\n';
            at = next + 1;
            if (at < raw.size() && raw[at] == '\n')
                ++at;
            continue;
        }
        const std::size_t semicolon = raw.substr(0, next + kMaxReferenceBytes).find(';', next);
        const char32_t c
            = semicolon == std::string_view::npos ? 0 : referenceCharacter(raw.substr(next + 1, semicolon - next - 1));
        if (c == 0) {
            out += '&';
            at = next + 1;
        } else {
            platform::xmlchars::appendUtf8(c, out);
            at = semicolon + 1;
        }
    }
}

QString decodeSpreadsheetEscapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const int code = text.at(i) == QLatin1Char('_') ? escapeAt(text, i) : -1;
        if (code >= 0) {
            out += QChar(char16_t(code));
            i += 7;
        } else {
            out += text.at(i++);
        }
    }
    return out;
}

QString encodeSpreadsheetEscapes(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && !needsEscape(text, i))
        ++i;
    if (i == text.size())
        return text;
    QString out = text.left(i);
    for (; i < text.size(); ++i) {
        if (needsEscape(text, i))
            out += QStringLiteral("_x")
                + QString::number(text.at(i).unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper()
                + QLatin1Char('_');
        else
            out += text.at(i);
    }
    return out;
}
