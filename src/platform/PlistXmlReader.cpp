#include "platform/PlistXmlReader.h"

#include <QDateTime>
#include <QRegularExpression>

namespace platform {

namespace {

// Builds the value inside the optional: a temporary moved into it trips GCC's uninitialised-use
// analysis in sanitizer builds.
template <typename... Args> std::optional<PlistValue> made(Args&&... args)
{
    return std::optional<PlistValue>(std::in_place, std::forward<Args>(args)...);
}

constexpr int kMaxDepth = 512;

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

} // namespace

PlistXmlReader::PlistXmlReader(const QByteArray& bytes)
    : xml_(bytes)
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

std::nullopt_t PlistXmlReader::fail(const QString& reason)
{
    if (error_.isEmpty()) {
        error_ = xml_.hasError() ? xml_.errorString() : reason;
        if (xml_.lineNumber() > 0)
            error_ += QStringLiteral(" (line %1)").arg(xml_.lineNumber());
    }
    return std::nullopt;
}

QXmlStreamReader::TokenType PlistXmlReader::nextToken()
{
    for (;;) {
        const QXmlStreamReader::TokenType token = xml_.readNext();
        switch (token) {
        case QXmlStreamReader::StartDocument:
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            continue;
        case QXmlStreamReader::Characters:
            if (xml_.isWhitespace())
                continue;
            return token;
        default:
            return token;
        }
    }
}

std::optional<PlistValue> PlistXmlReader::readDocument()
{
    if (nextToken() != QXmlStreamReader::StartElement)
        return fail(QStringLiteral("not an XML property list"));
    std::optional<PlistValue> root;
    if (xml_.name() == u"plist") {
        if (nextToken() != QXmlStreamReader::StartElement)
            return fail(QStringLiteral("the property list holds no value"));
        root = readValue(0);
        if (!root)
            return std::nullopt;
        if (nextToken() != QXmlStreamReader::EndElement)
            return fail(QStringLiteral("more than one value in the property list"));
    } else {
        root = readValue(0);
        if (!root)
            return std::nullopt;
    }
    if (nextToken() != QXmlStreamReader::EndDocument)
        return fail(QStringLiteral("content after the property list"));
    return root;
}

std::optional<QString> PlistXmlReader::readText()
{
    QString text;
    for (;;) {
        switch (xml_.readNext()) {
        case QXmlStreamReader::Characters:
            text += xml_.text();
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            break;
        case QXmlStreamReader::EndElement:
            return text.isNull() ? QStringLiteral("") : text;
        case QXmlStreamReader::StartElement:
            return fail(QStringLiteral("unexpected element <%1> inside a value").arg(xml_.name()));
        case QXmlStreamReader::EntityReference:
            return fail(QStringLiteral("unknown entity &%1;").arg(xml_.name()));
        default:
            return fail(QStringLiteral("malformed XML"));
        }
    }
}

std::optional<PlistValue> PlistXmlReader::readValue(int depth)
{
    enum class Kind { String, Integer, Real, True, False, Data, Date };
    if (depth > kMaxDepth)
        return fail(QStringLiteral("property list nested too deeply"));
    const QStringView name = xml_.name(); // valid until the next token
    Kind kind;
    if (name == u"string")
        kind = Kind::String;
    else if (name == u"dict")
        return readDict(depth);
    else if (name == u"array")
        return readArray(depth);
    else if (name == u"integer")
        kind = Kind::Integer;
    else if (name == u"real")
        kind = Kind::Real;
    else if (name == u"true")
        kind = Kind::True;
    else if (name == u"false")
        kind = Kind::False;
    else if (name == u"data")
        kind = Kind::Data;
    else if (name == u"date")
        kind = Kind::Date;
    else if (name == u"key")
        return fail(QStringLiteral("<key> outside a dictionary"));
    else
        return fail(QStringLiteral("unknown element <%1>").arg(name));

    const auto text = readText();
    if (!text)
        return std::nullopt;
    switch (kind) {
    case Kind::String:
        return made(*text);
    case Kind::Integer:
        if (const auto value = parseInteger(*text))
            return made(*value);
        return fail(QStringLiteral("invalid integer \"%1\"").arg(text->left(40)));
    case Kind::Real: {
        bool ok = false;
        const double value = text->trimmed().toDouble(&ok);
        if (ok)
            return made(value);
        return fail(QStringLiteral("invalid real \"%1\"").arg(text->left(40)));
    }
    case Kind::True:
    case Kind::False:
        if (!text->trimmed().isEmpty())
            return fail(QStringLiteral("text inside <%1/>").arg(kind == Kind::True ? u"true" : u"false"));
        return made(kind == Kind::True);
    case Kind::Data: {
        QByteArray encoded = text->toLatin1();
        encoded.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
        auto decoded = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return fail(QStringLiteral("invalid base64 in <data>"));
        return made(*decoded);
    }
    case Kind::Date:
        if (const auto value = parseDate(*text))
            return made(*value);
        return fail(QStringLiteral("invalid date \"%1\"").arg(text->left(40)));
    }
    return fail(QStringLiteral("malformed XML"));
}

std::optional<PlistValue> PlistXmlReader::readArray(int depth)
{
    PlistArray array;
    for (;;) {
        switch (nextToken()) {
        case QXmlStreamReader::StartElement: {
            auto element = readValue(depth + 1);
            if (!element)
                return std::nullopt;
            array.push_back(std::move(*element));
            break;
        }
        case QXmlStreamReader::EndElement:
            return made(std::move(array));
        case QXmlStreamReader::Characters:
            return fail(QStringLiteral("text inside <array>"));
        default:
            return fail(QStringLiteral("malformed XML"));
        }
    }
}

std::optional<PlistValue> PlistXmlReader::readDict(int depth)
{
    PlistDict dict;
    for (;;) {
        switch (nextToken()) {
        case QXmlStreamReader::StartElement: {
            if (xml_.name() != u"key")
                return fail(QStringLiteral("value without a key in <dict>"));
            const auto key = readText();
            if (!key)
                return std::nullopt;
            if (nextToken() != QXmlStreamReader::StartElement || xml_.name() == u"key")
                return fail(QStringLiteral("key \"%1\" without a value").arg(key->left(40)));
            auto value = readValue(depth + 1);
            if (!value)
                return std::nullopt;
            dict.insert(*key, std::move(*value));
            break;
        }
        case QXmlStreamReader::EndElement:
            return made(std::move(dict));
        case QXmlStreamReader::Characters:
            return fail(QStringLiteral("text inside <dict>"));
        default:
            return fail(QStringLiteral("malformed XML"));
        }
    }
}

} // namespace platform
