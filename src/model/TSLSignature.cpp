#include "model/TSLSignature.h"

#include "common/Globals.h"

#include <QDir>
#include <QImageReader>

void TSLSignature::setFilePath(const QString& path)
{
    if (path == QLatin1String("Default")) {
        const bool signature = sign_or_fingureprint == QLatin1String("S");
        file_path = Resource_Path + (signature ? QStringLiteral("/sign_sample.png") : QStringLiteral("/fingerprints.png"));
    } else {
        file_path = path;
    }
    Set_Control_File_path(file_path);
    QImageReader reader(QDir::cleanPath(file_path));
    _contents_img = file_path.isEmpty() ? QImage() : reader.read();
}
