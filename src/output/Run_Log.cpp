#include "output/Run_Log.h"

#include "common/Globals.h"
#include "output/Batch_Snapshot.h"
#include "output/Export_Folder_List.h"
#include "platform/CheckedSave.h"
#include "platform/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace Run_Log {

QString besideFile(const QString& path)
{
    const QFileInfo file(path);
    return file.dir().filePath(QStringLiteral("%1 (Tessaline Card notes).log").arg(file.completeBaseName()));
}

QString inPrintLogs()
{
    return timedName(QDir(Resource_Path).filePath(QStringLiteral("Print Logs")), QStringLiteral("Print run"),
        QDateTime::currentDateTime());
}

QString inMailLogs()
{
    return timedName(QDir(Resource_Path).filePath(QStringLiteral("Mail Logs")), QStringLiteral("Mail notes"),
        QDateTime::currentDateTime());
}

QString timedName(const QDir& folder, const QString& kind, const QDateTime& when)
{
    const QString stem = kind + when.toString(QStringLiteral("' 'yyyy-MM-dd hh-mm-ss"));
    QString path = folder.filePath(stem + QStringLiteral(".log"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1 (%2).log").arg(stem).arg(n));
    return path;
}

namespace {

QByteArray listOf(const Batch_Snapshot& snapshot)
{
    const TSLGraphicList& front = snapshot.side(QStringLiteral("F")).items;
    const TSLGraphicList& back = snapshot.side(QStringLiteral("B")).items;
    return snapshot.fillLog().recordList([&](int record) {
        return Record_Fill::firstValue({ &front, &back }, record, snapshot.source());
    });
}

} // namespace

bool needed(const Batch_Snapshot& snapshot)
{
    return !snapshot.fillLog().whole();
}

bool write(
    const Batch_Snapshot& snapshot, const platform::FilePlace& path, QString* error, platform::FileIdentity* written)
{
    const QByteArray list = listOf(snapshot);
    if (list.isEmpty())
        return true;
    // The logs name the guests: a folder of logs made for them is born readable by its owner alone.
    const QFileInfo file(path.name);
    if (!path.inOpenFolder() && !file.dir().exists()
        && !QDir().mkdir(file.dir().path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        if (error)
            *error = QStringLiteral("the folder cannot be made");
        return false;
    }
    return platform::saveFilePrivately(
        path, [&list](QIODevice& device) { return device.write(list) == list.size(); }, error, written);
}

QString note(const QString& path)
{
    return QStringLiteral("Every card that is not whole is listed in %1").arg(path);
}

QString writeAndNote(const Batch_Snapshot& snapshot, const QString& path)
{
    QString reason;
    return write(snapshot, path, &reason)
        ? note(path)
        : QStringLiteral("The list of every card not whole could not be written to %1: %2").arg(path, reason);
}

bool removeBeside(const QString& path)
{
    const QFileInfo log(besideFile(path));
    const std::shared_ptr<const platform::OpenFolder> folder = platform::OpenFolder::open(log.path());
    const QByteArray heading = Record_Fill_Log::recordListHeading();
    const auto file = folder ? platform::ownFileStart(folder->place(log.fileName()), heading.size()) : std::nullopt;
    // Only a list of the program's own is removed, and only while it is still the very file read here.
    return file && file->start == heading
        && Export_Folder_List::remove(*folder, { { log.fileName(), file->identity } }).size() == 1;
}

} // namespace Run_Log
