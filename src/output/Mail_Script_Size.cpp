// What a mail weighs as the mail script builds it: the message as the server receives it, so that the
// person reads the size each guest's mailbox takes, not that of the pictures alone.
#include "output/Mail_Script.h"

#include "common/Common_Functions.h"
#include "output/Mail_Globals.h"

#include <QRegularExpression>
#include <QSysInfo>

#include <algorithm>
#include <string>
#include <utility>

namespace {

constexpr qint64 crlf = 2;
constexpr qint64 maxHeaderLine = 76; // the script's longest header line
constexpr qint64 maxBodyLine = 78; // longer lines of text go quoted-printable or base64
constexpr qint64 boundary = 36; // "=" x 15, 19 digits, "=="
constexpr qint64 base64LineBytes = 57; // bytes a base64 line of 76 characters carries

qint64 base64Length(qint64 bytes)
{
    return (bytes + 2) / 3 * 4;
}

// Base64 in lines of 76 characters, each ended by a line break.
qint64 base64Lines(qint64 bytes)
{
    const qint64 rest = bytes % base64LineBytes;
    return bytes / base64LineBytes * (76 + crlf) + (rest ? base64Length(rest) + crlf : 0);
}

qint64 utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// The script's encoded-words for a text: base64 UTF-8 words of whole characters of at most `size` bytes, a
// word ending after the last blank inside it; the length of each.
QList<qint64> encodedWords(const QString& text, qint64 size)
{
    QList<qint64> words;
    std::u32string chunk;
    qint64 chunkBytes = 0;
    const auto add = [&words](qint64 bytes) { words << 12 + base64Length(bytes); };
    for (const char32_t c : text.toStdU32String()) {
        if (!chunk.empty() && chunkBytes + utf8Length(c) > size) {
            const size_t blank = chunk.rfind(U' ');
            const size_t cut = blank == std::u32string::npos ? chunk.size() : blank + 1;
            qint64 bytes = 0;
            for (size_t i = 0; i < cut; ++i)
                bytes += utf8Length(chunk[i]);
            add(bytes);
            chunk.erase(0, cut);
            chunkBytes -= bytes;
        }
        chunk += c;
        chunkBytes += utf8Length(c);
    }
    add(chunkBytes);
    return words;
}

// A header the script folds itself: its tokens on lines of at most 76 characters with the name.
qint64 foldedHeader(qint64 nameLength, const QList<qint64>& tokens)
{
    if (tokens.isEmpty())
        return nameLength + 2 + crlf; // the name, a colon and a blank
    qint64 line = nameLength + 1;
    qint64 total = line + crlf;
    for (const qint64 token : tokens) {
        if (line + 1 + token > maxHeaderLine) {
            total += crlf;
            line = 0;
        }
        line += 1 + token;
        total += 1 + token;
    }
    return total;
}

QList<qint64> subjectTokens(const QString& subject)
{
    static const QRegularExpression plain(QStringLiteral("\\A(?!.*=\\?)[!-~]{1,75}\\z"));
    if (subject.isEmpty())
        return {};
    const QStringList words = subject.split(QLatin1Char(' '));
    if (std::all_of(words.cbegin(), words.cend(), [](const QString& word) { return plain.match(word).hasMatch(); })) {
        QList<qint64> tokens;
        for (const QString& word : words)
            tokens << word.size();
        return tokens;
    }
    return encodedWords(subject, 39);
}

QList<qint64> nameTokens(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("\\A[A-Za-z0-9!#$%&'*+\\-/^_`{|}~]{1,75}\\z"));
    QList<qint64> tokens;
    QStringList pending;
    const auto flush = [&] {
        if (!pending.isEmpty())
            tokens << encodedWords(pending.join(QLatin1Char(' ')), 45);
        pending.clear();
    };
    for (const QString& word : name.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (plain.match(word).hasMatch() && !word.contains(QLatin1String("=?"))) {
            flush();
            tokens << word.size();
        } else {
            pending << word;
        }
    }
    flush();
    return tokens;
}

// The text part's body and the name of its encoding: as typed in lines of at most 78 bytes, else the shorter
// of quoted-printable and base64.
std::pair<qint64, QString> textBody(const QString& text)
{
    QList<QByteArray> lines = text.toUtf8().replace("\r\n", "\n").replace('\r', '\n').split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    qint64 asTyped = 0;
    qint64 longest = 0;
    for (const QByteArray& line : lines) {
        asTyped += line.size() + crlf;
        longest = std::max<qint64>(longest, line.size());
    }
    const qint64 base64 = base64Lines(asTyped - qint64(lines.size())); // encoded with bare line feeds
    if (longest <= maxBodyLine)
        return { std::max(asTyped, crlf), QStringLiteral("8bit") };
    qint64 quoted = 0;
    for (const QByteArray& line : lines) {
        qint64 encoded = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const uchar c = uchar(line.at(i));
            const bool blank = c == ' ' || c == '\t';
            encoded += (c >= 33 && c <= 126 && c != '=') || (blank && i + 1 < line.size()) ? 1 : 3;
        }
        // Soft line breaks ("=" and a line break) keep each line within 78 characters.
        const qint64 softBreaks = encoded > 0 ? std::max<qint64>(0, (encoded - 2) / (maxBodyLine - 1)) : 0;
        quoted += encoded + crlf + 3 * softBreaks;
    }
    return quoted <= base64 ? std::pair { quoted, QStringLiteral("quoted-printable") }
                            : std::pair { base64, QStringLiteral("base64") };
}

} // namespace

qint64 Mail_Script::messageBytes(const Mail_Message& mail, const QList<Mail_File>& files)
{
    const auto line = [](qint64 characters) { return characters + crlf; };
    const Mail_Address to = parseMailAddress(mail.toAddress).value_or(Mail_Address { {}, mail.toAddress });
    const QString name = Trim_Str(to.displayName);
    const qint64 address = Trim_Str(to.addrSpec).toUtf8().size();
    qint64 bytes = line(6 + Trim_Str(mail.sender).toUtf8().size()); // "From: "
    bytes += name.isEmpty() ? line(4 + address) : foldedHeader(2, nameTokens(name) << address + 2);
    bytes += foldedHeader(7, subjectTokens(mail.subject));
    bytes += line(37); // "Date: " and the date with its zone
    // "Message-ID: <", centiseconds since 1970, the script's process, a random number, "@", the host
    bytes += line(13 + 12 + 1 + 6 + 1 + 20 + 1 + QSysInfo::machineHostName().size() + 1);
    bytes += line(17); // "MIME-Version: 1.0"
    const auto [body, encoding] = textBody(mail.body);
    const qint64 textHeaders = line(41) + line(27 + encoding.size()); // its type and encoding
    if (files.isEmpty())
        return bytes + textHeaders + crlf + body;
    bytes += line(41 + boundary + 1) + crlf; // the multipart type with its boundary, then a blank line
    const qint64 partStart = line(2 + boundary);
    bytes += partStart + textHeaders + crlf + body + crlf;
    for (const Mail_File& file : files) {
        const qint64 type = file.name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? 9 : 24;
        bytes += partStart + line(14 + type) + line(33) + line(44 + file.name.toUtf8().size()) + line(17) + crlf
            + base64Lines(file.bytes) + crlf;
    }
    return bytes + line(2 + boundary + 2);
}
