#include "model/FillStylePattern.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "platform/RegularFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

namespace {

struct CachedPattern {
    QDateTime modified;
    qint64 size = -1;
    QImage picture;
};

QMutex cacheMutex;
QHash<QString, CachedPattern> cache;
QSet<QString> reported;

void reportOnce(const QString& name, const QString& why)
{
    QMutexLocker lock(&cacheMutex);
    if (reported.contains(name))
        return;
    reported.insert(name);
    lock.unlock();
    Show_NSLog_Message(QStringLiteral("fill pattern \"%1\" %2").arg(name, why));
}

} // namespace

QImage fillStylePattern(const QString& name)
{
    if (!isSafeFileName(name)) {
        reportOnce(name, QStringLiteral("is not a plain file name"));
        return {};
    }
    const QString path = Resource_Path + QStringLiteral("/Fill_Style_Image/") + name + QStringLiteral(".png");
    const QFileInfo info(path);
    if (!info.isFile()) {
        reportOnce(name, QStringLiteral("is missing"));
        return {};
    }
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    {
        QMutexLocker lock(&cacheMutex);
        const auto it = cache.constFind(path);
        if (it != cache.constEnd() && it->modified == modified && it->size == size)
            return it->picture;
    }
    QString refusal;
    QImage picture = platform::readPictureFile(path, &refusal);
    if (picture.isNull()) {
        reportOnce(name, refusal);
        return {};
    }
    picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // One pattern pixel covers one point, whatever resolution the file records.
    picture.setDevicePixelRatio(1.0);
    QMutexLocker lock(&cacheMutex);
    cache.insert(path, CachedPattern { modified, size, picture });
    return picture;
}
