// Unpacking zip archives: whatever an archive holds, nothing lands outside the destination, no link is
// made or followed, and the files beside the destination stay as they were.
#include "FuzzSupport.h"

#include "data/Zip_Package.h"

#include <QDirIterator>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

// Every entry below root, links included and never followed, with its kind.
QStringList treeOf(const QString& root)
{
    QStringList entries;
    QDirIterator it(
        root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st { };
        ::lstat(QFile::encodeName(path).constData(), &st);
        entries.append(path.mid(root.size()) + (S_ISLNK(st.st_mode) ? QStringLiteral(" link") : QString()));
    }
    entries.sort();
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The destination lies two folders down, so that an entry climbing out of it lands where it is seen.
    static QTemporaryDir box;
    const QString root = box.path() + QStringLiteral("/run");
    QDir(root).removeRecursively();
    const QString destination = root + QStringLiteral("/a/b/out");
    QDir().mkpath(destination);
    const QString archive = root + QStringLiteral("/a/b/in.zip");
    if (!fuzzsupport::writeFile(archive, fuzzsupport::bytesOf(data, size))
        || !fuzzsupport::writeFile(root + QStringLiteral("/a/keep"), "keep"))
        return 0;
    const QStringList before = treeOf(root);
    Zip_Error error;
    Zip_Package::unzipFileAtPath(archive, destination, true, QString(), &error);
    for (const QString& entry : treeOf(root)) {
        if (before.contains(entry))
            continue;
        if (!entry.startsWith(QStringLiteral("/a/b/out/")))
            fuzzsupport::finding(qPrintable(QStringLiteral("unpacked outside the destination: ") + entry));
        if (entry.endsWith(QStringLiteral(" link")))
            fuzzsupport::finding(qPrintable(QStringLiteral("unpacked a link: ") + entry));
    }
    QFile keep(root + QStringLiteral("/a/keep"));
    if (!keep.open(QIODevice::ReadOnly) || keep.readAll() != "keep")
        fuzzsupport::finding("a file beside the destination changed");
    return 0;
}
