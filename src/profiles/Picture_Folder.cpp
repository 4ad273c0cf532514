#include "profiles/Picture_Folder.h"

#include "common/Common_Functions.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>

namespace Picture_Folder {

QStringList pictureNames(const QString& folder)
{
    QStringList names;
    const QFileInfo info(folder);
    if (!info.isDir())
        return names;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        const QString extension = entry.suffix().toLower();
        if (extension != QLatin1String("png") && extension != QLatin1String("jpg"))
            continue;
        // A link to a FIFO or device would freeze the thumbnails that read it.
        QString refusal;
        if (platform::isRegularFileWithin(entry.filePath(), platform::maximumPictureFileBytes, &refusal))
            names << entry.fileName();
        else
            Show_NSLog_Message(refusal);
    }
    return names;
}

QStringList subFolderNames(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return {};
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
}

QString capitalised(const QString& name)
{
    QString result = name.toLower();
    bool wordStart = true;
    for (QChar& c : result) {
        if (wordStart && c.isLetter())
            c = c.toUpper();
        wordStart = c.isSpace();
    }
    return result;
}

} // namespace Picture_Folder
