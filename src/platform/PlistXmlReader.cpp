#include "platform/PlistXmlReader.h"

#include "platform/ReadBudget.h"
#include "platform/XmlCharacterData.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// Builds the value inside the optional: a temporary moved into it trips GCC's uninitialised-use
// analysis in sanitizer builds.
template <typename... Args> std::optional<PlistValue> made(Args&&... args)
{
    return std::optional<PlistValue>(std::in_place, std::forward<Args>(args)...);
}

constexpr int kMaxDepth = 512;
// What one '<' of the input can cost once parsed: a node of the parser and a value of ours.
constexpr quint64 kBytesPerMarkup = 64 + sizeof(PlistValue);

// Character data is kept raw (entities are decoded by us, never by the parser) and only a lone
// whitespace run keeps its node, so that <string> </string> reads as a blank.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_eol | pugi::parse_declaration | pugi::parse_doctype
    | pugi::parse_ws_pcdata_single;

std::optional<qint64> parseInteger(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    qint64 value = 0;
    QStringView digits(trimmed);
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+'))
        digits = digits.mid(1);
    if (digits.startsWith(u"0x", Qt::CaseInsensitive)) {
        const qulonglong magnitude = digits.mid(2).toULongLong(&ok, 16);
        if (!ok || magnitude > (negative ? 9223372036854775808ULL : 9223372036854775807ULL))
            return std::nullopt;
        value = negative ? static_cast<qint64>(0 - magnitude) : static_cast<qint64>(magnitude);
    } else {
        value = trimmed.toLongLong(&ok, 10);
        if (!ok)
            return std::nullopt;
    }
    return value;
}

std::optional<QDateTime> parseDate(const QString& text)
{
    // The year is required; later fields may be left out, as some writers do.
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4})(?:-(\\d{2})(?:-(\\d{2})(?:T(\\d{2})(?::(\\d{2})(?::(\\d{2})(?:\\.\\d+)?)?)?)?)?)?Z$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    auto field = [&match](int n, int fallback) {
        return match.capturedView(n).isEmpty() ? fallback : match.capturedView(n).toInt();
    };
    const QDate date(field(1, 1), field(2, 1), field(3, 1));
    const QTime time(field(4, 0), field(5, 0), field(6, 0));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isBlank(const char* text)
{
    for (; *text; ++text) {
        if (!isSpace(*text))
            return false;
    }
    return true;
}

bool isCharacterData(const pugi::xml_node& node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// The encodings the parser decodes itself; any other declared encoding would be read wrongly.
bool isSupportedEncoding(QString name)
{
    name = name.trimmed().toLower();
    return name.isEmpty() || name == u"utf-8" || name == u"utf8" || name == u"utf-16" || name == u"utf-16le"
        || name == u"utf-16be" || name == u"iso-8859-1" || name == u"latin1" || name == u"us-ascii" || name == u"ascii";
}

QString elementName(const pugi::xml_node& node)
{
    return QString::fromUtf8(node.name()).left(40);
}

} // namespace

PlistXmlReader::PlistXmlReader(const QByteArray& bytes)
    : bytes_(bytes)
{
}

std::optional<PlistValue> PlistXmlReader::read(const QByteArray& bytes, QString* error)
{
    PlistXmlReader reader(bytes);
    auto root = reader.readDocument();
    if (!root && error)
        *error = reader.error_;
    return root;
}

std::nullopt_t PlistXmlReader::fail(const QString& reason, std::ptrdiff_t offset)
{
    if (error_.isEmpty()) {
        error_ = reason;
        if (offset >= 0) {
            const auto end = bytes_.cbegin() + std::min<qsizetype>(offset, bytes_.size());
            error_ += QStringLiteral(" (line %1)").arg(std::count(bytes_.cbegin(), end, '\n') + 1);
        }
    }
    return std::nullopt;
}

std::nullopt_t PlistXmlReader::fail(const QString& reason, const pugi::xml_node& node)
{
    return fail(reason, node.offset_debug());
}

std::optional<PlistValue> PlistXmlReader::readDocument()
{
    // The whole document is parsed before it is read, so its memory is bounded before parsing starts.
    const auto markup = static_cast<quint64>(std::count(bytes_.cbegin(), bytes_.cend(), '<'));
    ReadBudget budget(static_cast<quint64>(bytes_.size()));
    if (!budget.spend(0, markup * kBytesPerMarkup))
        return fail(QStringLiteral("the document holds more elements than its size allows"), -1);
    const pugi::xml_parse_result parsed = document_.load_buffer(
        bytes_.constData(), static_cast<std::size_t>(bytes_.size()), kParseOptions, pugi::encoding_auto);
    if (parsed.status == pugi::status_no_document_element)
        return fail(QStringLiteral("not an XML property list"), -1);
    if (!parsed)
        return fail(QStringLiteral("malformed XML: %1").arg(QLatin1String(parsed.description())), parsed.offset);

    pugi::xml_node root;
    for (const pugi::xml_node& node : document_.children()) {
        if (node.type() == pugi::node_element) {
            if (root)
                return fail(QStringLiteral("content after the property list"), node);
            root = node;
        } else if (isCharacterData(node)) {
            if (!isBlank(node.value()))
                return fail(QStringLiteral("text outside the property list"), node);
        } else if (!checkProlog(node)) {
            return std::nullopt;
        }
    }
    if (!root)
        return fail(QStringLiteral("not an XML property list"), -1);
    if (std::strcmp(root.name(), "plist") != 0)
        return readValue(root, 0);

    std::optional<PlistValue> value;
    for (const pugi::xml_node& node : root.children()) {
        if (node.type() == pugi::node_element) {
            if (value)
                return fail(QStringLiteral("more than one value in the property list"), node);
            value = readValue(node, 0);
            if (!value)
                return std::nullopt;
        } else if (!isBlank(node.value())) {
            return fail(QStringLiteral("text inside <plist>"), node);
        }
    }
    if (!value)
        return fail(QStringLiteral("the property list holds no value"), root);
    return value;
}

bool PlistXmlReader::checkProlog(const pugi::xml_node& node)
{
    if (node.type() == pugi::node_declaration) {
        const QString encoding = QString::fromUtf8(node.attribute("encoding").value());
        if (!isSupportedEncoding(encoding)) {
            fail(QStringLiteral("unsupported encoding \"%1\"").arg(encoding.left(40)), node);
            return false;
        }
        return true;
    }
    if (node.type() == pugi::node_doctype) {
        // The document type is never loaded; entities it declares would change the text, so a document
        // that declares any is refused rather than read without them.
        const char* declaration = std::strstr(node.value(), "<!ENTITY");
        if (!declaration)
            return true;
        const bool external = std::strstr(declaration, "SYSTEM") || std::strstr(declaration, "PUBLIC");
        fail(external ? QStringLiteral("the document declares an external entity, which is not read")
                      : QStringLiteral("the document declares an entity, which is not expanded"),
            node);
        return false;
    }
    return true;
}

bool PlistXmlReader::readRawText(const pugi::xml_node& node, std::string& text)
{
    QString reason;
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_pcdata) {
            if (!xmlchars::appendDecoded(child.value(), text, &reason)) {
                fail(reason, child);
                return false;
            }
        } else if (child.type() == pugi::node_cdata) {
            text += child.value();
        } else if (child.type() == pugi::node_element) {
            fail(QStringLiteral("unexpected element <%1> inside a value").arg(elementName(child)), child);
            return false;
        }
    }
    return true;
}

std::optional<QString> PlistXmlReader::readText(const pugi::xml_node& node)
{
    std::string raw;
    if (!readRawText(node, raw))
        return std::nullopt;
    QString reason;
    if (!xmlchars::isWellFormedText(raw, &reason))
        return fail(reason, node);
    return raw.empty() ? QStringLiteral("") : QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
}

std::optional<PlistValue> PlistXmlReader::readValue(const pugi::xml_node& node, int depth)
{
    if (depth > kMaxDepth)
        return fail(QStringLiteral("property list nested too deeply"), node);
    const char* name = node.name();
    if (std::strcmp(name, "dict") == 0)
        return readDict(node, depth);
    if (std::strcmp(name, "array") == 0)
        return readArray(node, depth);
    if (std::strcmp(name, "key") == 0)
        return fail(QStringLiteral("<key> outside a dictionary"), node);
    return readScalar(node);
}

bool PlistXmlReader::onlySpaceInside(const pugi::xml_node& node, const char* element)
{
    std::string raw;
    if (!readRawText(node, raw))
        return false;
    if (std::all_of(raw.cbegin(), raw.cend(), isSpace))
        return true;
    fail(QStringLiteral("text inside <%1/>").arg(QLatin1String(element)), node);
    return false;
}

std::optional<PlistValue> PlistXmlReader::readScalar(const pugi::xml_node& node)
{
    const char* name = node.name();
    if (std::strcmp(name, "string") == 0) {
        auto text = readText(node);
        return text ? made(std::move(*text)) : std::nullopt;
    }
    if (std::strcmp(name, "true") == 0 || std::strcmp(name, "false") == 0) {
        if (!onlySpaceInside(node, name))
            return std::nullopt;
        return made(name[0] == 't');
    }
    if (std::strcmp(name, "data") == 0) {
        std::string raw;
        if (!readRawText(node, raw))
            return std::nullopt;
        raw.erase(std::remove_if(raw.begin(), raw.end(), isSpace), raw.end());
        auto decoded
            = QByteArray::fromBase64Encoding(QByteArray::fromRawData(raw.data(), static_cast<qsizetype>(raw.size())),
                QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return fail(QStringLiteral("invalid base64 in <data>"), node);
        return made(QByteArray(*decoded)); // a copy that owns its bytes, not the parser's
    }
    const bool integer = std::strcmp(name, "integer") == 0;
    const bool real = std::strcmp(name, "real") == 0;
    const bool date = std::strcmp(name, "date") == 0;
    if (!integer && !real && !date)
        return fail(QStringLiteral("unknown element <%1>").arg(elementName(node)), node);
    const auto text = readText(node);
    if (!text)
        return std::nullopt;
    if (integer) {
        if (const auto value = parseInteger(*text))
            return made(*value);
        return fail(QStringLiteral("invalid integer \"%1\"").arg(text->left(40)), node);
    }
    if (real) {
        bool ok = false;
        const double value = text->trimmed().toDouble(&ok);
        if (ok)
            return made(value);
        return fail(QStringLiteral("invalid real \"%1\"").arg(text->left(40)), node);
    }
    if (const auto value = parseDate(*text))
        return made(*value);
    return fail(QStringLiteral("invalid date \"%1\"").arg(text->left(40)), node);
}

std::optional<PlistValue> PlistXmlReader::readArray(const pugi::xml_node& node, int depth)
{
    PlistArray array;
    std::size_t elements = 0;
    for (const pugi::xml_node& child : node.children())
        elements += child.type() == pugi::node_element ? 1 : 0;
    array.reserve(elements);
    for (const pugi::xml_node& child : node.children()) {
        if (isCharacterData(child)) {
            if (!isBlank(child.value()))
                return fail(QStringLiteral("text inside <array>"), child);
            continue;
        }
        if (child.type() != pugi::node_element)
            continue;
        auto element = readValue(child, depth + 1);
        if (!element)
            return std::nullopt;
        array.push_back(std::move(*element));
    }
    return made(std::move(array));
}

std::optional<PlistValue> PlistXmlReader::readDict(const pugi::xml_node& node, int depth)
{
    PlistDict dict;
    std::optional<QString> key;
    for (const pugi::xml_node& child : node.children()) {
        if (isCharacterData(child)) {
            if (!isBlank(child.value()))
                return fail(QStringLiteral("text inside <dict>"), child);
            continue;
        }
        if (child.type() != pugi::node_element)
            continue;
        const bool isKey = std::strcmp(child.name(), "key") == 0;
        if (!key) {
            if (!isKey)
                return fail(QStringLiteral("value without a key in <dict>"), child);
            key = readText(child);
            if (!key)
                return std::nullopt;
            continue;
        }
        if (isKey)
            return fail(QStringLiteral("key \"%1\" without a value").arg(key->left(40)), child);
        auto value = readValue(child, depth + 1);
        if (!value)
            return std::nullopt;
        dict.insert(*key, std::move(*value));
        key.reset();
    }
    if (key)
        return fail(QStringLiteral("key \"%1\" without a value").arg(key->left(40)), node);
    return made(std::move(dict));
}

} // namespace platform
