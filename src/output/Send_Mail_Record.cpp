#include "output/Send_Mail_Record.h"

#include "common/Globals.h"
#include "output/Record_Source.h"
#include "platform/CheckedSave.h"
#include "platform/PrivateFolder.h"
#include "platform/RegularFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <vector>

namespace {

const QByteArray heading = QByteArrayLiteral("Tessaline mails sent\t1\n");
// Each line: design, card, guest, "taken" or "maybe", subject and message digests; tab-separated, each field
// percent-encoded so that no tab or line break of a path or name can split it.
constexpr int fieldCount = 6;
// A line is a few hundred bytes: the bound keeps well above maxEntries of them.
constexpr qint64 maxFileBytes = qint64(64) * 1024 * 1024;

QByteArray field(const QString& text)
{
    return QUrl::toPercentEncoding(text);
}

} // namespace

QString Send_Mail_Record::path()
{
    return QDir(Resource_Path).filePath(QStringLiteral("Mail Logs/Mails sent.txt"));
}

QByteArray Send_Mail_Record::digest(const QString& text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
}

QString Send_Mail_Record::cardOf(const Record_Source& source, int record)
{
    QStringList values;
    QStringList names = source.series.keys();
    names.sort();
    for (const QString& name : names)
        values << name + QLatin1Char('=') + source.seriesValue(record, name);
    if (source.useSpreadsheet && record < source.rows.size()) {
        const Spreadsheet_Binding_Table::Row& row = source.rows.at(record);
        // The row's number is its place, which sorting changes; the card is its values.
        for (auto it = row.cbegin(); it != row.cend(); ++it) {
            if (it.key() != Spreadsheet_Binding_Table::keyOfColumn(0))
                values << it.key() + QLatin1Char('=') + it.value();
        }
    }
    return QStringLiteral("record ") + QString::fromLatin1(digest(values.join(QLatin1Char('\n'))));
}

QString Send_Mail_Record::keyOf(const Mail& mail)
{
    return QString::fromLatin1(field(mail.design) + '\t' + field(mail.card) + '\t' + field(mail.guest));
}

bool Send_Mail_Record::load(QString* error)
{
    entries_.clear();
    next_ = 0;
    const QString file = path();
    if (!QFileInfo::exists(file) && !QFileInfo(file).isSymLink())
        return true;
    const std::optional<QByteArray> bytes = platform::readRegularFile(file, maxFileBytes, error);
    if (!bytes)
        return false;
    if (!bytes->startsWith(heading)) {
        if (error)
            *error = QStringLiteral("%1 is not a record of mails sent by this program").arg(file);
        return false;
    }
    const QList<QByteArray> lines = bytes->mid(heading.size()).split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != fieldCount || (fields[3] != "taken" && fields[3] != "maybe"))
            continue; // a line cut short by a crash names no mail
        Entry entry { fields[3] == "taken", fields[4], fields[5], next_++ };
        entries_.insert(QString::fromLatin1(fields[0] + '\t' + fields[1] + '\t' + fields[2]), entry);
    }
    return true;
}

bool Send_Mail_Record::save(QString* error) const
{
    if (!platform::makePrivateFolder(QFileInfo(path()).absolutePath(), error))
        return false;
    std::vector<std::pair<QString, Entry>> kept;
    kept.reserve(entries_.size());
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it)
        kept.emplace_back(it.key(), it.value());
    std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.second.order < b.second.order; });
    if (kept.size() > size_t(maxEntries))
        kept.erase(kept.begin(), kept.end() - maxEntries);
    QByteArray bytes = heading;
    for (const auto& [key, entry] : kept)
        bytes += key.toLatin1() + (entry.taken ? "\ttaken\t" : "\tmaybe\t") + entry.subject + '\t' + entry.body + '\n';
    return platform::saveFilePrivately(
        path(), [&bytes](QIODevice& device) { return platform::writeAll(device, bytes); }, error);
}

std::optional<Send_Mail_Record::Entry> Send_Mail_Record::find(const Mail& mail) const
{
    const auto found = entries_.constFind(keyOf(mail));
    if (found == entries_.cend())
        return std::nullopt;
    return *found;
}

void Send_Mail_Record::add(const Mail& mail, bool taken, const QString& subject, const QString& body)
{
    const QString key = keyOf(mail);
    const auto old = entries_.constFind(key);
    const bool wasTaken = old != entries_.cend() && old->taken;
    entries_.insert(key, Entry { taken || wasTaken, digest(subject), digest(body), next_++ });
}
