// The picture library and template folders, built from the input: each record gives an entry's kind
// (picture file, folder, link to a device, pipe or link out of the library), name and content. Listing
// the folders and making every listed picture's thumbnail ends, lists only regular files, and never
// crashes.
#include "FuzzSupport.h"

#include "profiles/Browser_Picture_Model.h"
#include "profiles/Picture_Folder.h"

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

void buildEntry(const QString& root, const QByteArray& record)
{
    if (record.size() < 2)
        return;
    const char kind = record.at(0);
    // A name ends at NUL; what follows is a picture file's bytes. Names never climb out of the library.
    const qsizetype end = record.indexOf('\0', 1);
    QString name = QString::fromUtf8(record.mid(1, end < 0 ? 40 : std::min<qsizetype>(end - 1, 40)))
                       .replace(QStringLiteral(".."), QStringLiteral("_"));
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return;
    const QString path = root + QLatin1Char('/') + name;
    // Each name is made once: writing into a pipe made before would wait for a reader for ever, and writing
    // through a link made before would change the file it leads to.
    struct stat existing { };
    if (::lstat(QFile::encodeName(path).constData(), &existing) == 0)
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    switch (kind % 5) {
    case 0:
        fuzzsupport::writeFile(path, end < 0 ? QByteArray() : record.mid(end + 1));
        break;
    case 1:
        QDir().mkpath(path);
        break;
    case 2:
        QFile::link(QStringLiteral("/dev/zero"), path);
        break;
    case 3:
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
        break;
    default:
        // A file beside the library, never one of the system's: nothing written here can reach outside the box.
        QFile::link(QFileInfo(root).absolutePath() + QStringLiteral("/outside.txt"), path);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir box;
    const QString root = box.path() + QStringLiteral("/library");
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    fuzzsupport::writeFile(box.path() + QStringLiteral("/outside.txt"), QByteArrayLiteral("not in the library"));
    for (const QByteArray& record : fuzzsupport::pieces(fuzzsupport::bytesOf(data, size), 16))
        buildEntry(root, record);
    QStringList folders { root };
    for (const QString& sub : Picture_Folder::subFolderNames(root))
        folders.append(root + QLatin1Char('/') + sub);
    Browser_Picture_Model model;
    for (const QString& folder : folders) {
        for (const QString& name : Picture_Folder::pictureNames(folder)) {
            const QString path = folder + QLatin1Char('/') + name;
            struct stat st { };
            if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
                fuzzsupport::finding(qPrintable(QStringLiteral("listed a picture that is no regular file: ") + path));
            Browser_Picture_Object item;
            item.path = path;
            model.append(item);
        }
    }
    for (int row = 0; row < model.rowCount(); ++row)
        model.data(model.index(row), Qt::DecorationRole);
    return 0;
}
