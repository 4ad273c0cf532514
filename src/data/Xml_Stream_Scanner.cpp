#include "data/Xml_Stream_Scanner.h"

#include "platform/XmlCharacterData.h"

#include <cstring>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
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
    if (pending_.empty()) {
        // Most blocks are scanned where they lie; only an unfinished tail is kept.
        const std::size_t used = scan(std::string_view(data, size), false, failed);
        pending_.assign(data + used, size - used);
    } else {
        pending_.append(data, size);
        const std::size_t used = scan(pending_, false, failed);
        pending_.erase(0, used);
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
    if (!open_.empty())
        return fail(QStringLiteral("the element <%1> is never closed").arg(QString::fromStdString(open_.back())));
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
        const Step step = markup(text, at, last);
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
    const std::size_t lt = text.find('<', at);
    std::size_t end = lt == std::string_view::npos ? text.size() : lt;
    if (lt == std::string_view::npos && !last) {
        // Hold back what the next block may complete: a reference or a line end split between blocks.
        const std::size_t amp = text.rfind('&');
        if (amp != std::string_view::npos && amp >= at && text.find(';', amp) == std::string_view::npos)
            end = amp;
        if (end > at && text[end - 1] == '\r')
            --end;
    }
    const std::string_view run = text.substr(at, end - at);
    if (open_.empty()) {
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
        if (open_.empty())
            return fail(QStringLiteral("text outside the root element")), Step::Failed;
        handler_.text(rest.substr(9, end - 9), true);
        at += end + 3;
        return Step::Done;
    }
    if (rest.size() >= 2 && rest[1] == '!')
        return fail(QStringLiteral("document type declarations are not read")), Step::Failed;
    // A tag: its end is the first '>' outside a quoted attribute value.
    char quote = 0;
    std::size_t close = std::string_view::npos;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        const char c = rest[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            close = i;
            break;
        } else if (c == '<') {
            return fail(QStringLiteral("'<' inside a tag")), Step::Failed;
        }
    }
    if (close == std::string_view::npos) {
        if (last)
            return fail(QStringLiteral("unfinished tag at the end")), Step::Failed;
        if (rest.size() > kMaxTagBytes)
            return fail(QStringLiteral("a tag longer than %1 bytes").arg(kMaxTagBytes)), Step::Failed;
        return Step::NeedMore;
    }
    const std::string_view tag = rest.substr(1, close - 1);
    step = tag.size() >= 1 && tag[0] == '/' ? endTag(tag.substr(1)) : startTag(tag);
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
    if (name.empty() || name.find_first_of("=\"'/") != std::string_view::npos)
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
        const std::size_t valueEnd = tag.find(quote, i);
        if (valueEnd == std::string_view::npos)
            return fail(QStringLiteral("an unclosed attribute in <%1>").arg(QLatin1String(name))), Step::Failed;
        attributes_.push_back({ localName(attribute), tag.substr(i, valueEnd - i) });
        i = valueEnd + 1;
    }
    if (open_.empty() && rootSeen_)
        return fail(QStringLiteral("a second root element")), Step::Failed;
    if (open_.size() >= kMaxDepth)
        return fail(QStringLiteral("elements nested deeper than %1").arg(kMaxDepth)), Step::Failed;
    rootSeen_ = true;
    const std::string_view local = localName(name);
    if (!handler_.startElement(local, attributes_))
        return failed_ = true, Step::Failed;
    if (empty)
        handler_.endElement(local);
    else
        open_.emplace_back(name);
    return Step::Done;
}

Xml_Stream_Scanner::Step Xml_Stream_Scanner::endTag(std::string_view tag)
{
    while (!tag.empty() && isBlank(tag.back()))
        tag.remove_suffix(1);
    if (open_.empty() || open_.back() != tag)
        return fail(QStringLiteral("the end tag </%1> closes no open element").arg(QLatin1String(tag.substr(0, 64)))),
               Step::Failed;
    open_.pop_back();
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
        const std::size_t semicolon = raw.find(';', next);
        const char32_t c = semicolon == std::string_view::npos || semicolon - next > 12
            ? 0
            : referenceCharacter(raw.substr(next + 1, semicolon - next - 1));
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
