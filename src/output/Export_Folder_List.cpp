#include "output/Export_Folder_List.h"

#include "platform/CheckedSave.h"
#include "platform/RegularFile.h"
#include "platform/UiSeam.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace Export_Folder_List {

namespace {

// The list's first line: a file without it was not written by the program.
const QByteArray heading = QByteArrayLiteral("Tessaline Card export list\n");
// Far more than two files for each of a million cards.
constexpr qint64 maximumListBytes = qint64(64) * 1024 * 1024;

// A regular file of this user, looked at without following a link.
bool ownFile(const QString& path)
{
    struct stat info { };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode)
        && info.st_uid == ::getuid();
}

// A name of a file in the folder itself, never of one elsewhere or of the list.
bool plainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0)) && name != fileName;
}

} // namespace

QStringList listedFiles(const QString& folder)
{
    const QDir dir(folder);
    const QString path = dir.filePath(fileName);
    if (!ownFile(path))
        return {};
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, maximumListBytes);
    if (!bytes || !bytes->startsWith(heading))
        return {};
    QStringList files;
    QSet<QString> seen;
    for (const QByteArray& line : bytes->mid(heading.size()).split('\n')) {
        const QString name = QString::fromUtf8(line);
        if (plainName(name) && !seen.contains(name) && ownFile(dir.filePath(name))) {
            seen.insert(name);
            files << name;
        }
    }
    return files;
}

QStringList leftBesides(const QString& folder, const QSet<QString>& written)
{
    QStringList left;
    for (const QString& name : listedFiles(folder)) {
        if (!written.contains(name))
            left << name;
    }
    return left;
}

int remove(const QString& folder, const QStringList& names)
{
    const QDir dir(folder);
    int removed = 0;
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        // unlink never follows a link: a link put there meanwhile would go, never what it names.
        if (plainName(name) && ownFile(path) && ::unlink(QFile::encodeName(path).constData()) == 0)
            ++removed;
    }
    return removed;
}

bool write(const QString& folder, const QStringList& names, QString* error)
{
    const QString path = QDir(folder).filePath(fileName);
    struct stat info { };
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && !ownFile(path)) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a file of the program's own").arg(path);
        return false;
    }
    QByteArray list = heading;
    for (const QString& name : names)
        list += name.toUtf8() + '\n';
    return platform::saveFileAtomically(
        path, [&list](QIODevice& device) { return device.write(list) == list.size(); }, error,
        platform::BesideLeftovers::Leave);
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
