#include "platform/PlistXmlWriter.h"

#include "platform/XmlCharacterData.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr qsizetype kBase64LineLength = 68;

QByteArray dateText(const QDateTime& value)
{
    // Four-digit years only, as readers expect; an invalid date is written as the reference date.
    static const QDateTime earliest(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    static const QDateTime latest(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
    const QDateTime utc = !value.isValid() ? QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)
        : value < earliest                 ? earliest
        : value > latest                   ? latest
                                           : value.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    return QString::asprintf(
        "%04d-%02d-%02dT%02d:%02d:%02dZ", d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second())
        .toLatin1();
}

// The shortest text that reads back as the same double; Qt drops the sign of negative zero.
QByteArray realText(double value)
{
    if (value == 0.0 && std::signbit(value))
        return QByteArrayLiteral("-0");
    return QString::number(value, 'g', QLocale::FloatingPointShortest).toLatin1();
}

} // namespace

QByteArray PlistXmlWriter::write(const PlistValue& root)
{
    PlistXmlWriter writer;
    writer.out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                  "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                  "<plist version=\"1.0\">\n";
    writer.writeValue(root, 0);
    writer.out_.append("</plist>\n");
    return writer.out_;
}

void PlistXmlWriter::writeIndent(int depth)
{
    out_.append(depth, '\t');
}

void PlistXmlWriter::writeEscaped(const QString& text)
{
    bool plain = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == '&' || u == '<' || u == '>' || c.isSurrogate() || u >= 0xFFFE) {
            plain = false;
            break;
        }
    }
    if (plain) {
        out_.append(text.toUtf8());
        return;
    }
    QString escaped;
    escaped.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            escaped.append(text[i]);
            escaped.append(text[++i]);
            continue;
        }
        if (text[i].isSurrogate() || !xmlchars::isXmlChar(c))
            c = 0xFFFD;
        switch (c) {
        case '&':
            escaped.append(QLatin1String("&amp;"));
            break;
        case '<':
            escaped.append(QLatin1String("&lt;"));
            break;
        case '>':
            escaped.append(QLatin1String("&gt;"));
            break;
        case '\r':
            escaped.append(QLatin1String("&#13;"));
            break;
        default:
            escaped.append(QChar(static_cast<char16_t>(c)));
        }
    }
    out_.append(escaped.toUtf8());
}

void PlistXmlWriter::writeData(const QByteArray& data, int depth)
{
    if (data.isEmpty()) {
        out_.append("<data></data>\n");
        return;
    }
    out_.append("<data>\n");
    const QByteArray encoded = data.toBase64();
    for (qsizetype at = 0; at < encoded.size(); at += kBase64LineLength) {
        writeIndent(depth);
        out_.append(encoded.constData() + at, std::min(kBase64LineLength, encoded.size() - at));
        out_.append('\n');
    }
    writeIndent(depth);
    out_.append("</data>\n");
}

void PlistXmlWriter::writeValue(const PlistValue& value, int depth)
{
    if (!value.isValid())
        return;
    writeIndent(depth);
    switch (value.type()) {
    case PlistValue::Type::Invalid:
        break;
    case PlistValue::Type::Boolean:
        out_.append(value.toBool() ? "<true/>\n" : "<false/>\n");
        break;
    case PlistValue::Type::Integer:
        out_.append("<integer>").append(QByteArray::number(value.toInteger())).append("</integer>\n");
        break;
    case PlistValue::Type::Real:
        out_.append("<real>").append(realText(value.toReal())).append("</real>\n");
        break;
    case PlistValue::Type::String:
        out_.append("<string>");
        writeEscaped(value.toString());
        out_.append("</string>\n");
        break;
    case PlistValue::Type::Data:
        writeData(value.toData(), depth);
        break;
    case PlistValue::Type::Date:
        out_.append("<date>").append(dateText(value.toDate())).append("</date>\n");
        break;
    case PlistValue::Type::Array:
        if (value.toArray().empty()) {
            out_.append("<array/>\n");
            break;
        }
        out_.append("<array>\n");
        for (const PlistValue& element : value.toArray())
            writeValue(element, depth + 1);
        writeIndent(depth);
        out_.append("</array>\n");
        break;
    case PlistValue::Type::Dict:
        if (value.toDict().empty()) {
            out_.append("<dict/>\n");
            break;
        }
        out_.append("<dict>\n");
        for (const auto& [key, element] : value.toDict()) {
            if (!element.isValid())
                continue;
            writeIndent(depth + 1);
            out_.append("<key>");
            writeEscaped(key);
            out_.append("</key>\n");
            writeValue(element, depth + 1);
        }
        writeIndent(depth);
        out_.append("</dict>\n");
        break;
    }
}

} // namespace platform
