#include "common/File_Functions.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "platform/DataFolder.h"
#include "platform/UiSeam.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

bool isSafeFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && name != QLatin1String(".") && name != QLatin1String("..");
}

void Delete_File(const QString& path)
{
    if (path.isEmpty() || QDir::fromNativeSeparators(path).split(QLatin1Char('/')).contains(QStringLiteral(".."))) {
        Show_NSLog_Message(QStringLiteral("Delete_File refused %1").arg(path));
        return;
    }
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    if (!QFileInfo(info.absolutePath()).isWritable())
        return;
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

void Open_Help_File()
{
    const QString path = Resource_Path + QStringLiteral("/Help.pdf");
    if (!QFileInfo::exists(path)) {
        Show_MessageBox(QStringLiteral("Help file does not exist!"));
        return;
    }
    platform::ui().openUrl(QUrl::fromLocalFile(path));
}

void Check_Path_And_Create_Files()
{
    // Before the data folder is known every folder below would land at the filesystem's root.
    if (Resource_Path.isEmpty() || Data_Folder_Path.isEmpty())
        return;
    const QStringList folders = {
        Data_Folder_Path,
        Resource_Path + QStringLiteral("/Background"),
        Resource_Path + QStringLiteral("/Fill_Style_Image"),
        Resource_Path + QStringLiteral("/LibraryImage"),
        Resource_Path + QStringLiteral("/Templates"),
        Resource_Path + QStringLiteral("/Templates/User"),
    };
    for (const QString& folder : folders) {
        if (folder.isEmpty() || QFileInfo::exists(folder))
            continue;
        if (!QDir().mkpath(folder))
            Show_NSLog_Message(QStringLiteral("cannot create %1").arg(folder));
    }
}

bool Prepare_Resource_Folder(QString* error)
{
    Resource_Path = platform::userDataDir();
    Data_Folder_Path = Resource_Path + QStringLiteral("/DataSet");
    if (!QDir().mkpath(Resource_Path)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(Resource_Path);
        return false;
    }
    QString seedError;
    if (!platform::seedMissingFiles(platform::installedResourceDir(), Resource_Path, &seedError))
        Show_NSLog_Message(seedError);
    return QFileInfo(Resource_Path).isDir() && QFileInfo(Resource_Path).isWritable();
}

QString Choose_Picture_File()
{
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Open;
    request.filter = QStringLiteral("Pictures (*.jpg *.jpeg *.jpe *.jfif *.gif *.bmp *.png *.tif *.tiff)");
    return platform::ui().chooseFile(request);
}
