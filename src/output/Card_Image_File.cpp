#include "output/Card_Image_File.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "platform/PngColourWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>

Card_Image_File::Targets Card_Image_File::targets(const QString& path, const QString& cardSide, bool combined)
{
    Targets targets;
    if (cardSide == QLatin1String("BOTH") && combined) {
        targets.combined = path;
    } else if (cardSide == QLatin1String("BOTH")) {
        targets.back = backPath(path);
        targets.front = path;
    } else if (cardSide == QLatin1String("F")) {
        targets.front = path;
    } else {
        targets.back = backPath(path);
    }
    return targets;
}

QString Card_Image_File::recordPath(const QString& folder, int record, const QString& extension)
{
    return QDir(folder).filePath(QStringLiteral("Card_%1.%2").arg(record + 1).arg(extension));
}

QString Card_Image_File::backPath(const QString& path)
{
    const QFileInfo info(path);
    const QString name = QStringLiteral("%1_Back.%2").arg(info.completeBaseName(), info.suffix());
    return info.dir().filePath(name);
}

QByteArray Card_Image_File::formatForPath(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg") || extension == QLatin1String("jpe")
        || extension == QLatin1String("jfif"))
        return "jpeg";
    if (extension == QLatin1String("tif") || extension == QLatin1String("tiff"))
        return "tiff";
    if (extension == QLatin1String("bmp"))
        return "bmp";
    return "png";
}

QString Card_Image_File::pathForFormat(const QString& path, const QString& formatTitle)
{
    const QString extension = formatTitle.toLower();
    const QByteArray format = formatForPath(QStringLiteral("card.") + extension);
    const QString suffix = QFileInfo(path).suffix().toLower();
    // Any unknown extension reads as PNG, so a PNG path must say "png" itself.
    const bool named = format == "png" ? suffix == QLatin1String("png") : formatForPath(path) == format;
    return named ? path : path + QLatin1Char('.') + extension;
}

namespace {

// `shownPath` names the file in the log.
bool writePicture(const QImage& image, const platform::FilePlace& path, const QString& shownPath, QString* error,
    int dpi, platform::BesideLeftovers leftovers, platform::FileIdentity* identity = nullptr)
{
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("there is no picture to write");
        return false;
    }
    // The format is the one the file's extension names; the resolution is recorded so that the picture
    // keeps the card's size in print.
    const QByteArray format = Card_Image_File::formatForPath(path.name);
    QImage bitmap = image;
    bitmap.setDevicePixelRatio(1.0);
    if (format == "jpeg" || format == "bmp")
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32); // no alpha in the file: white stays white
    else if (format == "tiff")
        bitmap = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied); // a card of any shape has alpha
    const int dotsPerMeter = qRound(dpi / 0.0254);
    bitmap.setDotsPerMeterX(dotsPerMeter);
    bitmap.setDotsPerMeterY(dotsPerMeter);
    QString reason;
    const bool written = saveFileAtomically(
        path,
        [&bitmap, &reason, &format](QIODevice& device) {
            if (format == "png") {
                // Our own writer: one pass over the rows, spans equal to the row above and runs of a pixel
                // as references; many times faster than the general one on a thousand cards, still lossless.
                const QByteArray data = platform::PngColourWriter::pngData(bitmap);
                if (!data.isEmpty() && writeAll(device, data))
                    return true;
                reason = data.isEmpty() ? QStringLiteral("the picture cannot be compressed") : device.errorString();
                return false;
            }
            QImageWriter writer(&device, format);
            if (format == "jpeg")
                writer.setQuality(95);
            else if (format == "tiff")
                writer.setCompression(1); // lossless LZW
            if (writer.write(bitmap))
                return true;
            reason = writer.errorString();
            return false;
        },
        &reason, leftovers, identity);
    if (!written) {
        Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(shownPath, reason));
        if (error)
            *error = reason;
    }
    return written;
}

} // namespace

bool Card_Image_File::write(const QImage& image, const QString& path, QString* error, int dpi)
{
    return writePicture(image, path, path, error, dpi, platform::BesideLeftovers::Clear);
}

QString Card_Image_File::writeForBatch(const QImage& image, const QString& path, int dpi)
{
    return writeForBatch(image, path, path, dpi, nullptr);
}

QString Card_Image_File::writeForBatch(const QImage& image, const platform::FilePlace& place, const QString& shownPath,
    int dpi, platform::FileIdentity* identity)
{
    QString reason;
    bool written = false;
    if (formatForPath(place.name) == "png") {
        // The picture already records its resolution.
        written = platform::PngColourWriter::writeBatch(image, place, &reason, identity);
        if (!written)
            Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(shownPath, reason));
    } else {
        written = writePicture(image, place, shownPath, &reason, dpi, platform::BesideLeftovers::Leave,
            identity); // the run clears the folder
    }
    return written ? QString() : failureText(shownPath, reason);
}

QString Card_Image_File::failureText(const QString& path, const QString& reason)
{
    return QStringLiteral("Card could not be exported to \"%1\": %2").arg(path, reason);
}

QImage Card_Image_File::combine(const QImage& front, const QImage& back)
{
    QImage combined;
    return combineInto(combined, front, back) ? combined : QImage();
}

bool Card_Image_File::combineInto(QImage& combined, const QImage& front, const QImage& back)
{
    if (front.isNull() || back.isNull())
        return false;
    const QSize size(front.width(), front.height() * 2);
    // Two opaque sides make an opaque picture, and the writer need not look for transparency.
    const QImage::Format format = front.format() == QImage::Format_RGB32 && back.format() == QImage::Format_RGB32
            && back.width() == front.width() && back.height() == front.height()
        ? QImage::Format_RGB32
        : QImage::Format_ARGB32_Premultiplied;
    if (combined.size() != size || combined.format() != format)
        combined = QImage(size, format);
    if (combined.isNull())
        return false;
    combined.fill(Qt::transparent);
    combined.setDotsPerMeterX(front.dotsPerMeterX());
    combined.setDotsPerMeterY(front.dotsPerMeterY());
    QPainter painter(&combined);
    painter.drawImage(0, 0, front);
    painter.drawImage(0, front.height(), back);
    return true;
}
