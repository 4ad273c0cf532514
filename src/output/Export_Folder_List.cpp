#include "output/Export_Folder_List.h"

#include "platform/CheckedSave.h"
#include "platform/RegularFile.h"
#include "platform/UiSeam.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Export_Folder_List {

namespace {

// The list's first line: a file without it was not written by the program. Each line after it holds a file's
// device, number, size and time of change ("seconds.nanoseconds"), then its name, separated by tabs.
const QByteArray heading = QByteArrayLiteral("Tessaline Card export list, each file with its proof\n");
// The first line of an older version's list, which named the files alone: none of them can be proven ours.
const QByteArray namesOnlyHeading = QByteArrayLiteral("Tessaline Card export list\n");
// Far more than two files for each of a million cards.
constexpr qint64 maximumListBytes = qint64(256) * 1024 * 1024;

// A name of a file in the folder itself, never of one elsewhere or of the list.
bool plainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0)) && name != fileName;
}

bool ownRegular(const struct stat& info)
{
    return S_ISREG(info.st_mode) && info.st_uid == ::getuid();
}

// The file at the name in the folder is still the one the entry was written for.
bool stillAsWritten(const platform::OpenFolder& folder, const Entry& entry)
{
    struct stat info { };
    return folder.place(entry.name).look(info) && ownRegular(info)
        && platform::FileIdentity::of(info) == entry.identity;
}

// The file at the place is a list of the program's own, by its first line.
bool startsAsList(const platform::FilePlace& place)
{
    const auto file = platform::ownFileStart(place, std::max(heading.size(), namesOnlyHeading.size()));
    return file && (file->start.startsWith(heading) || file->start.startsWith(namesOnlyHeading));
}

QByteArray lineOf(const Entry& entry)
{
    const platform::FileIdentity& id = entry.identity;
    QByteArray line;
    line.reserve(64 + entry.name.size());
    line += QByteArray::number(quint64(id.device)) + '\t' + QByteArray::number(quint64(id.inode)) + '\t'
        + QByteArray::number(id.size) + '\t' + QByteArray::number(id.modifiedSeconds) + '.'
        + QByteArray::number(id.modifiedNanoseconds).rightJustified(9, '0') + '\t' + entry.name.toUtf8() + '\n';
    return line;
}

// A line's proof and name; no proof when the line holds a name alone (or something not of the program).
std::pair<QString, std::optional<platform::FileIdentity>> parseLine(const QByteArray& line)
{
    qsizetype at = 0;
    quint64 fields[4] = {};
    qint64 nanoseconds = 0;
    bool ok = true;
    for (int field = 0; field < 4 && ok; ++field) {
        const qsizetype tab = line.indexOf('\t', at);
        if (tab < 0)
            return { QString::fromUtf8(line), std::nullopt };
        QByteArray text = line.mid(at, tab - at);
        if (field == 3) {
            const qsizetype dot = text.indexOf('.');
            ok = dot > 0 && text.size() - dot - 1 == 9;
            nanoseconds = ok ? text.mid(dot + 1).toLongLong(&ok) : 0;
            text.truncate(dot);
        }
        if (ok)
            fields[field] = text.toULongLong(&ok);
        at = tab + 1;
    }
    if (!ok)
        return { QString::fromUtf8(line), std::nullopt };
    return { QString::fromUtf8(line.mid(at)),
        platform::FileIdentity {
            dev_t(fields[0]), ino_t(fields[1]), qint64(fields[2]), qint64(fields[3]), nanoseconds } };
}

} // namespace

Look look(const platform::OpenFolder& folder)
{
    Look result;
    const platform::FilePlace list = folder.place(fileName);
    struct stat info { };
    if (!list.look(info))
        return result;
    const std::optional<QByteArray> bytes
        = ownRegular(info) ? platform::readRegularFileAt(list, maximumListBytes) : std::nullopt;
    const bool proofs = bytes && bytes->startsWith(heading);
    if (!proofs && !(bytes && bytes->startsWith(namesOnlyHeading))) {
        result.listTaken = true;
        return result;
    }
    result.listed = true;
    // A name written twice (a card written again by a later run) counts by its last line.
    std::vector<std::pair<QString, std::optional<platform::FileIdentity>>> named;
    QHash<QString, size_t> index;
    const qsizetype start = (proofs ? heading : namesOnlyHeading).size();
    for (const QByteArray& line : bytes->mid(start).split('\n')) {
        auto parsed = proofs ? parseLine(line) : std::pair { QString::fromUtf8(line), std::nullopt };
        if (!plainName(parsed.first))
            continue;
        if (const auto known = index.constFind(parsed.first); known != index.constEnd()) {
            named[*known].second = parsed.second;
        } else {
            index.insert(parsed.first, named.size());
            named.push_back(std::move(parsed));
        }
    }
    for (const auto& [name, identity] : named) {
        struct stat file { };
        if (!folder.place(name).look(file))
            continue;
        if (identity && ownRegular(file) && platform::FileIdentity::of(file) == *identity)
            result.files.push_back({ name, *identity });
        else if (identity)
            result.changed << name;
        else
            result.unproven << name;
    }
    return result;
}

std::vector<Entry> leftBesides(const Look& look, const QSet<QString>& written)
{
    std::vector<Entry> left;
    for (const Entry& entry : look.files) {
        if (!written.contains(entry.name))
            left.push_back(entry);
    }
    return left;
}

QStringList keptBesides(const QStringList& files, const QSet<QString>& written)
{
    QStringList kept;
    for (const QString& name : files) {
        if (!written.contains(name))
            kept << name;
    }
    return kept;
}

QSet<QString> remove(const platform::OpenFolder& folder, const std::vector<Entry>& files)
{
    QSet<QString> removed;
    for (const Entry& entry : files) {
        // unlinkat never follows a link, and a file no longer as written stays.
        if (plainName(entry.name) && stillAsWritten(folder, entry)
            && ::unlinkat(folder.handle(), QFile::encodeName(entry.name).constData(), 0) == 0)
            removed.insert(entry.name);
    }
    return removed;
}

QString keptNote(const QStringList& changed, const QStringList& unproven)
{
    QStringList sentences;
    if (changed.size() == 1)
        sentences << QStringLiteral("1 file listed by the earlier export was changed since and is kept.");
    else if (!changed.isEmpty())
        sentences << QStringLiteral("%1 files listed by the earlier export were changed since and are kept.")
                         .arg(changed.size());
    if (unproven.size() == 1)
        sentences << QStringLiteral("1 file named by the earlier export's list cannot be shown to be one of its "
                                    "cards and is kept.");
    else if (!unproven.isEmpty())
        sentences << QStringLiteral("%1 files named by the earlier export's list cannot be shown to be its cards "
                                    "and are kept.")
                         .arg(unproven.size());
    return sentences.join(QLatin1Char(' '));
}

QString noListNote(const QString& folder)
{
    return QStringLiteral("The folder keeps no list of this export's cards: \"%1\" in it is not a file of the "
                          "program's own. A later export into it cannot tell these cards from files of yours.")
        .arg(QDir(folder).filePath(fileName));
}

Writer::Writer(std::shared_ptr<const platform::OpenFolder> folder, std::vector<Entry> carried)
    : folder_(std::move(folder))
    , carried_(std::move(carried))
{
}

Writer::~Writer()
{
    if (handle_ >= 0)
        ::close(handle_);
}

bool Writer::begin(QString* error)
{
    const std::lock_guard<std::mutex> guard(lock_);
    return beginLocked(error);
}

bool Writer::beginLocked(QString* error)
{
    if (begun_)
        return true;
    begun_ = true;
    // Only a list of the program's own is written over: a link, a pipe, another's file or a file of the
    // person's that happens to bear the list's name stays as it is, and the run keeps no list.
    const platform::FilePlace place = folder_->place(fileName);
    struct stat info { };
    if (place.look(info) && !startsAsList(place)) {
        taken_ = true;
        return true;
    }
    QByteArray list = heading;
    for (const Entry& entry : carried_)
        list += lineOf(entry);
    platform::CheckedSave save(place);
    int handle = -1;
    if (!save.open() || !save.write(list) || !save.commit(&handle)) {
        if (error)
            *error = save.errorString();
        return false;
    }
    const int flags = ::fcntl(handle, F_GETFL);
    if (flags == -1 || ::fcntl(handle, F_SETFL, flags | O_APPEND) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(handle);
        return false;
    }
    handle_ = handle;
    return true;
}

bool Writer::add(const std::vector<Entry>& files, QString* error)
{
    if (files.empty())
        return true; // a run that wrote nothing into a folder without a list leaves none
    QByteArray lines;
    for (const Entry& entry : files)
        lines += lineOf(entry);
    const std::lock_guard<std::mutex> guard(lock_);
    if (!beginLocked(error))
        return false;
    if (taken_)
        return true;
    if (handle_ < 0) {
        if (error)
            *error = QStringLiteral("the list could not be opened");
        return false;
    }
    qsizetype done = 0;
    while (done < lines.size()) {
        const ssize_t written = ::write(handle_, lines.constData() + done, size_t(lines.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (error)
                *error = QString::fromLocal8Bit(std::strerror(written == 0 ? EIO : errno));
            return false;
        }
        done += written;
    }
    return true;
}

bool Writer::finish(QString* error)
{
    const std::lock_guard<std::mutex> guard(lock_);
    if (handle_ < 0)
        return true;
    const bool synced = ::fsync(handle_) == 0;
    if (!synced && error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    ::close(handle_);
    handle_ = -1;
    return synced;
}

Earlier ask(const QString& folder, int files)
{
    const QString text = (files == 1 ? QStringLiteral("The folder \"%1\" holds 1 card picture of an earlier export "
                                                      "that this export will not replace.")
                                           .arg(folder)
                                     : QStringLiteral("The folder \"%1\" holds %2 card pictures of an earlier export "
                                                      "that this export will not replace.")
                                           .arg(folder, QString::number(files)))
        + QStringLiteral("\n\nRemove them, or keep them beside the new cards? Nothing else in the folder is touched.");
    const platform::MessageRequest question { platform::MessageRequest::Kind::Choice, text,
        { QStringLiteral("Cancel"), QStringLiteral("Remove"), QStringLiteral("Keep") } };
    switch (platform::ui().showMessage(question)) {
    case 1:
        return Earlier::Remove;
    case 2:
        return Earlier::Keep;
    default:
        return Earlier::Cancel;
    }
}

} // namespace Export_Folder_List
