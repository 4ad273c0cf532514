#include "common/File_Functions.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "platform/DataFolder.h"
#include "platform/PrivateFolder.h"
#include "platform/UiSeam.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
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
    Open_File_With_Desktop(path);
}

void Open_File_With_Desktop(const QString& path)
{
    if (platform::ui().openUrl(QUrl::fromLocalFile(path)))
        return;
    Show_MessageBox(QStringLiteral("No program to open \"%1\" is installed on this computer. The file is at:\n%2")
                        .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
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
        QString error;
        if (!platform::makePrivateFolder(folder, &error))
            Show_NSLog_Message(error);
    }
}

bool Prepare_Resource_Folder(QString* error)
{
    Resource_Path = platform::userDataDir();
    Data_Folder_Path = Resource_Path + QStringLiteral("/DataSet");
    // A new data folder is its owner's alone; one the user made is left as it is.
    if (!platform::makePrivateFolder(Resource_Path, error))
        return false;
    QString seedError;
    if (!platform::seedMissingFiles(platform::installedResourceDir(), Resource_Path, &seedError))
        Show_NSLog_Message(seedError);
    return QFileInfo(Resource_Path).isDir() && QFileInfo(Resource_Path).isWritable();
}

QString templateNameRefusal(const QString& typed)
{
    const QString name = Trim_Str(typed);
    if (name.isEmpty())
        return QStringLiteral("Please enter template name.");
    if (isSafeFileName(Remove_Reserve_Char_In_File_Name(name)))
        return QString();
    return QStringLiteral("The template name \"%1\" cannot be used: a name may not contain \"/\" or \"\\\" and may not "
                          "be \".\" or \"..\".")
        .arg(name);
}

QString pictureFileRefusal(const QString& path)
{
    const QFileInfo file(path);
    // Only a regular file is read: a pipe or device would block the window, a folder holds no picture. A
    // file of a picture kind whose header is damaged or cut is left to the picture check, which says so.
    QImageReader reader;
    if (file.isFile())
        reader.setFileName(path);
    if (file.isFile() && reader.canRead())
        return QString();
    return QStringLiteral("The file \"%1\" is not a picture that can be used. Please choose a JPEG, PNG, GIF, BMP or "
                          "TIFF picture file.")
        .arg(QDir::toNativeSeparators(path));
}

QString Choose_Picture_File()
{
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Open;
    request.filter = QStringLiteral("Pictures (*.jpg *.jpeg *.jpe *.jfif *.gif *.bmp *.png *.tif *.tiff)");
    const QString path = platform::ui().chooseFile(request);
    if (path.isEmpty())
        return path;
    if (const QString refusal = pictureFileRefusal(path); !refusal.isEmpty()) {
        Show_MessageBox(refusal);
        return QString();
    }
    return path;
}
