#include "data/Zip_Package.h"

#include "common/Common_Functions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <minizip/unzip.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kBlock = 64 * 1024;

std::atomic<std::int64_t> limit { Zip_Package::kDefaultSizeLimit };

void setError(Zip_Error* error, int code, const QString& description)
{
    if (error && error->code == 0) {
        error->code = code;
        error->description = description;
    }
}

// The system's words for the last call's failure ("No space left on device").
QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// An entry stored by a Unix zipper with the file type "symbolic link".
bool isLinkEntry(const unz_file_info64& info)
{
    const int host = int(info.version >> 8);
    const unsigned mode = unsigned(info.external_fa >> 16);
    return host == 3 && (mode & S_IFMT) == S_IFLNK;
}

// True when no part of `relative` below `root` is a symbolic link (existing parts only).
bool noLinkOnTheWay(const QString& root, const QString& relative)
{
    QString path = root;
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            return true; // nothing further exists yet
        if (S_ISLNK(st.st_mode))
            return false;
    }
    return true;
}

bool makeFolders(const QString& root, const QString& relative, Zip_Error* error)
{
    if (relative.isEmpty())
        return true;
    if (!noLinkOnTheWay(root, relative))
        return false;
    if (QDir(root).mkpath(relative))
        return true;
    setError(error, Zip_Package::WriteFailed, QStringLiteral("cannot create %1: %2").arg(relative, systemReason()));
    return false;
}

void setModificationTime(int fd, const tm_unz& date)
{
    const QDate day(int(date.tm_year), int(date.tm_mon) + 1, int(date.tm_mday));
    const QTime time(int(date.tm_hour), int(date.tm_min), int(date.tm_sec));
    if (!day.isValid() || !time.isValid())
        return;
    const qint64 seconds = QDateTime(day, time).toSecsSinceEpoch();
    struct timespec times[2];
    times[0].tv_sec = seconds;
    times[0].tv_nsec = 0;
    times[1] = times[0];
    ::futimens(fd, times);
}

// Copies the current entry into an open file, counting against the limits.
bool copyEntry(unzFile zip, int fd, std::int64_t& total, Zip_Error* error, const QString& name)
{
    QByteArray buffer(kBlock, Qt::Uninitialized);
    std::int64_t written = 0;
    for (;;) {
        const int got = unzReadCurrentFile(zip, buffer.data(), kBlock);
        if (got < 0) {
            setError(error, Zip_Package::Damaged, QStringLiteral("damaged entry %1").arg(name));
            return false;
        }
        if (got == 0)
            return true;
        written += got;
        total += got;
        if (written > Zip_Package::sizeLimit() || total > Zip_Package::sizeLimit()) {
            setError(error, Zip_Package::TooLarge, QStringLiteral("entry %1 inflates past the size limit").arg(name));
            return false;
        }
        const char* from = buffer.constData();
        for (int left = got; left > 0;) {
            const ssize_t n = ::write(fd, from, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                setError(
                    error, Zip_Package::WriteFailed, QStringLiteral("cannot write %1: %2").arg(name, systemReason()));
                return false;
            }
            from += n;
            left -= int(n);
        }
    }
}

// An archive of no entries: nothing but its end record. The zip library refuses to open one at all.
bool isEmptyArchive(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == 22 && file.read(4) == QByteArray("PK\x05\x06", 4);
}

struct EntryInfo {
    unz_file_info64 info {};
    QString name;
};

bool readEntryInfo(unzFile zip, EntryInfo& entry)
{
    QByteArray name(4096, '\0');
    if (unzGetCurrentFileInfo64(zip, &entry.info, name.data(), uLong(name.size()), nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    name.truncate(int(qMin<uLong>(entry.info.size_filename, uLong(name.size()))));
    entry.name = QString::fromUtf8(name);
    return true;
}

// Extracts the current, already opened entry. False stops the extraction.
bool extractEntry(unzFile zip, const EntryInfo& entry, const QString& destination, bool overwrite, std::int64_t& total,
    Zip_Error* error, bool& allWritten)
{
    const QString raw = entry.name;
    const bool isFolder = raw.endsWith(QLatin1Char('/')) || raw.endsWith(QLatin1Char('\\'));
    const QString name = Zip_Package::safeEntryName(raw);
    if (name.isEmpty() || isLinkEntry(entry.info)) {
        Show_NSLog_Message(QStringLiteral("zip entry refused: %1").arg(raw));
        setError(error, Zip_Package::UnsafeEntry, QStringLiteral("refused entry %1").arg(raw));
        allWritten = false;
        return true;
    }
    if (std::int64_t(entry.info.uncompressed_size) > Zip_Package::sizeLimit()
        || total + std::int64_t(entry.info.uncompressed_size) > Zip_Package::sizeLimit()) {
        setError(error, Zip_Package::TooLarge, QStringLiteral("entry %1 declares more than the size limit").arg(raw));
        return false;
    }
    if (isFolder) {
        if (!makeFolders(destination, name, error))
            allWritten = false;
        return true;
    }
    const int slash = int(name.lastIndexOf(QLatin1Char('/')));
    if (slash > 0 && !makeFolders(destination, name.left(slash), error)) {
        allWritten = false;
        return true;
    }
    const QString target = destination + QLatin1Char('/') + name;
    if (!overwrite && QFileInfo::exists(target))
        return true;
    if (!noLinkOnTheWay(destination, name)) {
        setError(error, Zip_Package::UnsafeEntry, QStringLiteral("refused entry %1 behind a link").arg(raw));
        allWritten = false;
        return true;
    }
    const int fd
        = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        setError(error, Zip_Package::WriteFailed, QStringLiteral("cannot create %1: %2").arg(name, systemReason()));
        allWritten = false;
        return true;
    }
    const bool copied = copyEntry(zip, fd, total, error, raw);
    if (copied && entry.info.dosDate != 0)
        setModificationTime(fd, entry.info.tmu_date);
    ::close(fd);
    if (!copied) {
        QFile::remove(target); // a part-written file is never left behind to be read as whole
        return false;
    }
    return true;
}

// The first entry name that the archive holds twice (after making it safe: "a//b" and "a/b" are one file);
// empty when every name is its own. Which of two such entries is meant cannot be known.
QString repeatedEntry(unzFile zip)
{
    QSet<QString> seen;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        EntryInfo entry;
        if (!readEntryInfo(zip, entry))
            break;
        const QString safe = Zip_Package::safeEntryName(entry.name);
        const QString key = safe.isEmpty() ? entry.name : safe;
        if (seen.contains(key))
            return entry.name;
        seen.insert(key);
        if (seen.size() > Zip_Package::kMaxEntries)
            break;
    }
    return {};
}

} // namespace

std::int64_t Zip_Package::sizeLimit()
{
    return limit.load();
}

void Zip_Package::setSizeLimit(std::int64_t bytes)
{
    limit.store(bytes > 0 ? bytes : kDefaultSizeLimit);
}

QString Zip_Package::safeEntryName(const QString& name)
{
    QString text = name;
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (text.isEmpty() || text.startsWith(QLatin1Char('/')) || text.contains(QChar(0)))
        return {};
    if (text.size() >= 2 && text.at(1) == QLatin1Char(':') && text.at(0).isLetter())
        return {};
    QStringList kept;
    for (const QString& part : text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return {};
        kept.append(part);
    }
    return kept.join(QLatin1Char('/'));
}

bool Zip_Package::unzipFileAtPath(
    const QString& path, const QString& destination, bool overwrite, const QString& password, Zip_Error* error)
{
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip) {
        if (isEmptyArchive(path))
            setError(error, FirstFileFailed, QStringLiteral("failed to open first file in zip file"));
        else
            setError(error, OpenFailed, QStringLiteral("failed to open zip file"));
        return false;
    }
    unz_global_info64 global {};
    unzGetGlobalInfo64(zip, &global);
    if (unzGoToFirstFile(zip) != UNZ_OK) {
        unzClose(zip);
        setError(error, FirstFileFailed, QStringLiteral("failed to open first file in zip file"));
        return false;
    }
    if (global.number_entry > ZPOS64_T(kMaxEntries)) {
        unzClose(zip);
        setError(error, TooLarge, QStringLiteral("more than %1 entries").arg(kMaxEntries));
        return false;
    }
    const QString repeated = repeatedEntry(zip);
    if (!repeated.isEmpty() || unzGoToFirstFile(zip) != UNZ_OK) {
        unzClose(zip);
        setError(error, repeated.isEmpty() ? Damaged : DuplicateEntry,
            repeated.isEmpty() ? QStringLiteral("the archive's directory is damaged")
                               : QStringLiteral("the archive holds two entries named %1").arg(repeated));
        return false;
    }
    QDir().mkpath(destination);
    const QString root = QFileInfo(destination).absoluteFilePath();
    const QByteArray secret = password.toLatin1();
    bool result = true;
    std::int64_t total = 0;
    for (int count = 0;; ++count) {
        if (count >= kMaxEntries) {
            setError(error, TooLarge, QStringLiteral("more than %1 entries").arg(kMaxEntries));
            result = false;
            break;
        }
        const int opened
            = secret.isEmpty() ? unzOpenCurrentFile(zip) : unzOpenCurrentFilePassword(zip, secret.constData());
        if (opened != UNZ_OK) {
            setError(error, Damaged, QStringLiteral("cannot open an entry"));
            result = false;
            break;
        }
        EntryInfo entry;
        if (!readEntryInfo(zip, entry)) {
            unzCloseCurrentFile(zip);
            setError(error, Damaged, QStringLiteral("cannot read an entry's information"));
            result = false;
            break;
        }
        bool allWritten = true;
        const bool goOn = extractEntry(zip, entry, root, overwrite, total, error, allWritten);
        // Closing checks the entry's CRC: a damaged entry fails here even when every read succeeded.
        const int closed = unzCloseCurrentFile(zip);
        if (closed != UNZ_OK && goOn) {
            setError(error, Damaged, QStringLiteral("damaged entry %1").arg(entry.name));
            QFile::remove(root + QLatin1Char('/') + safeEntryName(entry.name));
            result = false;
            break;
        }
        if (!goOn || !allWritten)
            result = false;
        if (!goOn)
            break;
        const int next = unzGoToNextFile(zip);
        if (next == UNZ_END_OF_LIST_OF_FILE)
            break;
        if (next != UNZ_OK) {
            setError(error, Damaged, QStringLiteral("the archive's directory is damaged"));
            result = false;
            break;
        }
    }
    unzClose(zip);
    return result;
}

bool Zip_Package::unzipFileAtPath(const QString& path, const QString& destination)
{
    return unzipFileAtPath(path, destination, true, QString(), nullptr);
}

QDateTime Zip_Package::_dateFor1980()
{
    return QDateTime(QDate(1980, 1, 1), QTime(0, 0));
}
