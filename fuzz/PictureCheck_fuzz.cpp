// A picture file brought in through the picture tools: the chooser's look at it, the check every picture
// passes (with its walk through JPEG markers and PNG chunks and its read of the JPEG's coded data), and the
// decode of a profile photo and a thumbnail at a small size. Each ends within its time and memory bounds and never
// crashes; a picture the check passes has a size, and a refusal names the file.
#include "FuzzSupport.h"

#include "common/File_Functions.h"
#include "model/PictureCache.h"
#include "model/PictureSource.h"
#include "platform/PictureDecode.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::startApplication();
    static QTemporaryDir box;
    const QString path = box.path() + QStringLiteral("/picture");
    if (!fuzzsupport::writeFile(path, fuzzsupport::bytesOf(data, size)))
        return 0;
    PictureCache::instance().clear();
    (void)pictureFileRefusal(path);
    const PictureSource::Check check = PictureSource::check(path);
    if (check.usable() && check.pixels.isEmpty())
        fuzzsupport::finding("a picture was passed without a size");
    if (!check.usable() && !check.refusal.contains(path))
        fuzzsupport::finding(qPrintable(QStringLiteral("a refusal does not name the file: ") + check.refusal));
    (void)platform::readPictureFileAt(path, QSize(96, 96));
    // At an eighth of its size, as a photo's thumbnail and working copy are read: from its DC scans alone.
    const QSize pixels = platform::readPictureHeader(path).pixels;
    if (!pixels.isEmpty())
        (void)platform::readPictureFileAt(path, pixels / 8);
    return 0;
}
