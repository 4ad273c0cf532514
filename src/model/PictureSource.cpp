#include "model/PictureSource.h"

#include "common/Common_Functions.h"
#include "model/ImageProcesser.h"
#include "model/Image_Geometry.h"
#include "model/PictureCache.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageIOHandler>
#include <QImageReader>

#include <sys/stat.h>

#include <algorithm>
#include <mutex>

struct PictureSource::Data {
    QString path; // empty for a picture in memory
    QImage memory;
    QByteArray key;
    mutable std::once_flag sizeRead;
    mutable QSize size;
};

namespace {

QImage decodeFile(const QString& path)
{
    QString refusal;
    QImage picture = platform::readPictureFile(path, &refusal);
    if (picture.isNull() && !refusal.isEmpty())
        Show_NSLog_Message(refusal);
    return picture;
}

// The header's size, turned by the file's orientation as the decoded picture will be. With `limited`, a
// picture the decoder would refuse for its size has none.
QSize headerSize(const QString& path, bool limited = true)
{
    QFile file;
    if (!platform::openRegularFile(file, path, platform::maximumPictureFileBytes))
        return {};
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid())
        return {};
    // A picture the reader would refuse to decode has no size either: the limit counts the decoded bytes.
    const int bits = reader.imageFormat() == QImage::Format_Invalid
        ? 32
        : int(QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel());
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limited && limit > 0 && qint64(size.width()) * size.height() * std::max(bits, 8) / 8 > limit)
        return {};
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

// What tells one state of a file from another: its identity on disk, length and change times to the
// nanosecond, so that a picture rewritten in place or replaced by a renamed copy reads as new.
QByteArray fileState(const struct stat& info)
{
    QByteArray state;
    for (long long part :
        { (long long)info.st_dev, (long long)info.st_ino, (long long)info.st_size, (long long)info.st_mtim.tv_sec,
            (long long)info.st_mtim.tv_nsec, (long long)info.st_ctim.tv_sec, (long long)info.st_ctim.tv_nsec })
        state.append('\0').append(QByteArray::number(part));
    return state;
}

} // namespace

// One description per file state, shared by every item that names it, so that its header is read once.
std::shared_ptr<const PictureSource::Data> PictureSource::sharedData(const QString& path, const QByteArray& key)
{
    static std::mutex lock;
    static QHash<QByteArray, std::weak_ptr<const Data>> known;
    const std::lock_guard<std::mutex> guard(lock);
    if (const auto found = known.constFind(key); found != known.constEnd())
        if (std::shared_ptr<const Data> data = found->lock())
            return data;
    // Descriptions no item uses any more are dropped whenever the table has doubled since the last sweep.
    static qsizetype sweepAt = 64;
    if (known.size() >= sweepAt) {
        known.removeIf(
            [](QHash<QByteArray, std::weak_ptr<const Data>>::iterator entry) { return entry.value().expired(); });
        sweepAt = std::max<qsizetype>(64, known.size() * 2);
    }
    auto data = std::make_shared<Data>();
    data->path = path;
    data->key = key;
    known.insert(key, data);
    return data;
}

PictureSource PictureSource::forFile(const QString& path)
{
    if (path.isEmpty())
        return {};
    QByteArray state;
    struct stat info { };
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return {};
        state = fileState(info);
    } else if (!QFileInfo(path).isFile()) {
        return {}; // neither a file on disk nor one built into the program (":/...")
    }
    PictureSource source;
    source.data_ = sharedData(path, QByteArrayLiteral("F") + path.toUtf8() + state);
    return source;
}

PictureSource PictureSource::forImage(const QImage& image)
{
    if (image.isNull())
        return {};
    auto data = std::make_shared<Data>();
    data->memory = image;
    data->key = QByteArrayLiteral("M") + QByteArray::number(image.cacheKey());
    PictureSource source;
    source.data_ = std::move(data);
    return source;
}

bool PictureSource::isFile() const
{
    return data_ && !data_->path.isEmpty();
}

QByteArray PictureSource::key() const
{
    return data_ ? data_->key : QByteArray();
}

QImage PictureSource::decoded() const
{
    if (!data_)
        return {};
    if (!isFile())
        return data_->memory;
    // A picture within the working size is the working picture itself, held already or kept now.
    const QSize size = pixelSize();
    if (!size.isEmpty() && size == imagefilters::fittedSize(size, ImageProcesser::kMaximumSize))
        return working();
    return decodeFile(data_->path);
}

namespace {

QImage fullColour(const QImage& picture)
{
    switch (picture.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    default:
        return picture;
    }
}

} // namespace

QImage PictureSource::working() const
{
    if (!data_)
        return {};
    const std::shared_ptr<const Data> data = data_;
    return PictureCache::instance().obtain(PictureCache::Kind::Source, data->key, [&] {
        // The whole decode lives only until its working copy is made.
        return imagefilters::fittedWithin(
            fullColour(data->path.isEmpty() ? data->memory : decodeFile(data->path)), ImageProcesser::kMaximumSize);
    });
}

PictureSource::Check PictureSource::check(const QString& path)
{
    QFile file;
    QString refusal;
    if (!platform::openRegularFile(file, path, platform::maximumPictureFileBytes, &refusal))
        return { {}, refusal };
    file.close();
    const QString shown = QDir::toNativeSeparators(path);
    // A picture whose pixels would pass the decoder's limit is named with its size rather than left unread.
    const QSize header = headerSize(path, false);
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (header.isValid() && limitBytes > 0 && qint64(header.width()) * header.height() * 4 > limitBytes)
        return { {}, QStringLiteral("The picture \"%1\" is too large to use (%2 x %3 pixels). Pictures of up to %4 "
                                    "million pixels can be placed on a card.")
                         .arg(shown)
                         .arg(header.width())
                         .arg(header.height())
                         .arg(limitBytes / 4 / 1000000) };
    const PictureSource source = forFile(path);
    if (source.working().isNull()) {
        QString reason;
        platform::readPictureFile(path, &reason);
        return { {}, QStringLiteral("The file \"%1\" is not a picture that can be used, or it is damaged.%2")
                         .arg(shown, reason.isEmpty() ? QString() : QStringLiteral("\n") + reason) };
    }
    return { source.pixelSize(), {} };
}

QSize PictureSource::pixelSize() const
{
    if (!data_)
        return {};
    if (!isFile())
        return data_->memory.size();
    std::call_once(data_->sizeRead, [this] {
        // Formats without a readable header are decoded to learn their size.
        QSize size = headerSize(data_->path);
        if (!size.isValid())
            size = decodeFile(data_->path).size();
        data_->size = size.isValid() ? size : QSize();
    });
    return data_->size;
}

QSizeF PictureSource::pointSize() const
{
    if (!data_)
        return { 0, 0 };
    if (!isFile())
        return data_->memory.deviceIndependentSize();
    const QSize pixels = pixelSize();
    return pixels.isEmpty() ? QSizeF(0, 0) : QSizeF(pixels);
}

double PictureSource::devicePixelRatio() const
{
    return data_ && !isFile() ? data_->memory.devicePixelRatio() : 1.0;
}
