#include "platform/StringsTable.h"

#include <QFile>
#include <QMutex>

namespace platform {

namespace {

// Reads one quoted string starting at pos (which points at the opening quote); handles \" \\ \n \t.
bool readQuoted(const QString& text, qsizetype& pos, QString& out)
{
    if (pos >= text.size() || text[pos] != QLatin1Char('"'))
        return false;
    ++pos;
    out.clear();
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c == QLatin1Char('"'))
            return true;
        if (c == QLatin1Char('\\') && pos < text.size()) {
            const QChar e = text[pos++];
            out += e == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : e == QLatin1Char('t') ? QChar(QLatin1Char('\t')) : e;
        } else {
            out += c;
        }
    }
    return false;
}

void skipSpaceAndComments(const QString& text, qsizetype& pos)
{
    while (pos < text.size()) {
        if (text[pos].isSpace()) {
            ++pos;
        } else if (text.mid(pos, 2) == QLatin1String("//")) {
            pos = text.indexOf(QLatin1Char('\n'), pos);
            if (pos < 0)
                pos = text.size();
        } else if (text.mid(pos, 2) == QLatin1String("/*")) {
            pos = text.indexOf(QLatin1String("*/"), pos + 2);
            pos = pos < 0 ? text.size() : pos + 2;
        } else {
            return;
        }
    }
}

} // namespace

QHash<QString, QString> parseStringsTable(const QString& text)
{
    QHash<QString, QString> table;
    qsizetype pos = 0;
    while (true) {
        skipSpaceAndComments(text, pos);
        if (pos >= text.size())
            break;
        QString key, value;
        bool ok = readQuoted(text, pos, key);
        if (ok) {
            skipSpaceAndComments(text, pos);
            ok = pos < text.size() && text[pos] == QLatin1Char('=');
            ++pos;
            skipSpaceAndComments(text, pos);
            ok = ok && readQuoted(text, pos, value);
            skipSpaceAndComments(text, pos);
            ok = ok && pos < text.size() && text[pos] == QLatin1Char(';');
        }
        if (ok) {
            table.insert(key, value);
            ++pos;
        } else {
            // Skip to the end of the broken line and go on with the next entry.
            pos = text.indexOf(QLatin1Char('\n'), pos);
            if (pos < 0)
                break;
        }
    }
    return table;
}

QString localizedString(const QString& table, const QString& key)
{
    static QMutex mutex;
    static QHash<QString, QHash<QString, QString>> tables;
    QMutexLocker lock(&mutex);
    auto it = tables.find(table);
    if (it == tables.end()) {
        QFile file(QStringLiteral(":/strings/%1.strings").arg(table));
        QHash<QString, QString> entries;
        if (file.open(QIODevice::ReadOnly))
            entries = parseStringsTable(QString::fromUtf8(file.readAll()));
        it = tables.insert(table, entries);
    }
    return it->value(key, key);
}

} // namespace platform
