#include "output/Send_Mail_Record.h"

#include "common/Globals.h"
#include "output/Batch_Snapshot.h"
#include "output/Record_Fill.h"
#include "platform/CheckedAppend.h"
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
const QByteArray byteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");
// Each line: design, card, guest, "taken" or "maybe", subject and message digests; tab-separated, each field
// percent-encoded so that no tab or line break of a name can split it.
constexpr int fieldCount = 6;
constexpr int digestLength = 32;
// A line is a few hundred bytes: the bound keeps well above maxEntries of them.
constexpr qint64 maxFileBytes = qint64(64) * 1024 * 1024;

QByteArray field(const QString& text)
{
    return QUrl::toPercentEncoding(text);
}

// Whether the field is one the program writes: percent-encoded, or a digest.
bool isEncoded(const QByteArray& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.'
            || c == '_' || c == '~' || c == '%';
    });
}

bool isDigest(const QByteArray& text)
{
    return text.size() == digestLength && std::all_of(text.cbegin(), text.cend(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
}

QByteArray lineOf(const QString& key, const Send_Mail_Record::Entry& entry)
{
    return key.toLatin1() + (entry.taken ? "\ttaken\t" : "\tmaybe\t") + entry.subject + '\t' + entry.body + '\n';
}

// The damaged lines as a reason names them: "line 7 is", "lines 3, 7 and 9 are".
QString damagedLines(const QList<qint64>& numbers)
{
    constexpr int named = 5;
    QStringList listed;
    for (const qint64 number : numbers.mid(0, named))
        listed << QString::number(number);
    if (numbers.size() > named)
        listed << QStringLiteral("%1 more").arg(numbers.size() - named);
    const QString last = listed.takeLast();
    return numbers.size() == 1 ? QStringLiteral("line %1 is").arg(last)
                               : QStringLiteral("lines %1 and %2 are").arg(listed.join(QStringLiteral(", ")), last);
}

} // namespace

QString Send_Mail_Record::path()
{
    return QDir(Resource_Path).filePath(QStringLiteral("Mail Logs/Mails sent.txt"));
}

QByteArray Send_Mail_Record::digest(const QString& text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(digestLength);
}

QString Send_Mail_Record::cardOf(
    const Batch_Snapshot& snapshot, int record, const QString& cardSide, const QString& pictureName)
{
    QStringList values;
    const QStringList sides = cardSide == QLatin1String("BOTH")
        ? QStringList { QStringLiteral("B"), QStringLiteral("F") }
        : QStringList { cardSide };
    for (const QString& side : sides) {
        for (const TSLGraphicPtr& item : snapshot.side(side).items) {
            if (!item || !item->ctrl_is_visible || item->print_object != 0 || !Record_Fill::takesData(*item))
                continue;
            if (const std::optional<QString> value = Record_Fill::valueFor(*item, record, snapshot.source(), nullptr))
                values << Record_Fill::itemName(*item, &snapshot.source()) + QLatin1Char('=') + *value;
        }
    }
    values.sort();
    values.removeDuplicates();
    values.prepend(cardSide + QLatin1Char('\n') + pictureName);
    return QStringLiteral("card ") + QString::fromLatin1(digest(values.join(QLatin1Char('\n'))));
}

QString Send_Mail_Record::keyOf(const Mail& mail)
{
    return QString::fromLatin1(field(mail.design) + '\t' + field(mail.card) + '\t' + field(mail.guest));
}

void Send_Mail_Record::merge(const QString& key, Entry entry)
{
    const auto old = entries_.constFind(key);
    entry.taken = entry.taken || (old != entries_.cend() && old->taken);
    entry.order = next_++;
    entries_.insert(key, entry);
}

bool Send_Mail_Record::load(QString* error)
{
    entries_.clear();
    next_ = 0;
    lines_ = 0;
    appendable_ = true;
    const QString file = path();
    if (!QFileInfo::exists(file) && !QFileInfo(file).isSymLink())
        return true;
    appendable_ = false;
    const std::optional<QByteArray> bytes = platform::readRegularFile(file, maxFileBytes, error);
    if (!bytes)
        return false;
    // A text editor may have put a byte-order mark before the heading.
    const qsizetype start = bytes->startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    if (bytes->mid(start, heading.size()) != heading) {
        if (error)
            *error = QStringLiteral("%1 is not a record of mails sent by this program").arg(file);
        return false;
    }
    appendable_ = true;
    QList<qint64> damaged;
    const QList<QByteArray> lines = bytes->mid(start + heading.size()).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue; // names nothing: the end of the last line, or a blank line
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() != fieldCount || (fields[3] != "taken" && fields[3] != "maybe") || !isEncoded(fields[0])
            || fields[1].isEmpty() || !isEncoded(fields[1]) || fields[2].isEmpty() || !isEncoded(fields[2])
            || !isDigest(fields[4]) || !isDigest(fields[5])) {
            damaged << i + 2; // the heading is line 1
            continue;
        }
        ++lines_;
        merge(QString::fromLatin1(fields[0] + '\t' + fields[1] + '\t' + fields[2]),
            Entry { fields[3] == "taken", fields[4], fields[5] });
    }
    if (damaged.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("%1: %2 damaged, and the mails written there cannot be read")
                     .arg(file, damagedLines(damaged));
    return false;
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
        bytes += lineOf(key, entry);
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

bool Send_Mail_Record::append(const Mail& mail, bool taken, const QString& subject, const QString& body, QString* error)
{
    return platform::makePrivateFolder(QFileInfo(path()).absolutePath(), error)
        && platform::appendLinesPrivately(
            path(), heading, lineOf(keyOf(mail), Entry { taken, digest(subject), digest(body) }), error);
}
