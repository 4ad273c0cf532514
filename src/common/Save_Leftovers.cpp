#include "common/Save_Leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool isTemporaryName(const QString& name, const QString& target)
{
    if (name.size() != target.size() + 7 || !name.startsWith(target) || name[target.size()] != QLatin1Char('.'))
        return false;
    bool upper = false;
    bool lower = false;
    for (const QChar c : QStringView(name).mid(target.size() + 1)) {
        if (c >= u'A' && c <= u'Z')
            upper = true;
        else if (c >= u'a' && c <= u'z')
            lower = true;
        else
            return false;
    }
    return upper && lower;
}

bool beginsAs(const QString& path, const QByteArray& start)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(start.size());
    return start.startsWith(head);
}

} // namespace

QStringList strayCopiesOf(const QString& path, const QByteArray& start)
{
    const QFileInfo target(path);
    const QString name = target.fileName();
    QStringList copies;
    const QDir folder = target.absoluteDir();
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.isSymLink() || !entry.isFile() || !isTemporaryName(entry.fileName(), name))
            continue;
        if (beginsAs(entry.absoluteFilePath(), start))
            copies << entry.absoluteFilePath();
    }
    return copies;
}

int removeStrayCopiesOf(const QString& path, const QByteArray& start)
{
    int removed = 0;
    for (const QString& copy : strayCopiesOf(path, start))
        removed += QFile::remove(copy) ? 1 : 0;
    return removed;
}
