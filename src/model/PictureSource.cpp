#include "model/PictureSource.h"

#include "model/PictureCache.h"

#include <QFile>
#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>

#include <sys/stat.h>

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
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

// The header's size, turned by the file's orientation as the decoded picture will be.
QSize headerSize(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid())
        return {};
    // A picture the reader would refuse to decode has no size either.
    if (qint64(size.width()) * size.height() * 4 > qint64(QImageReader::allocationLimit()) * 1024 * 1024
        && QImageReader::allocationLimit() > 0)
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
    auto data = std::make_shared<Data>();
    data->path = path;
    data->key = QByteArrayLiteral("F") + path.toUtf8() + state;
    PictureSource source;
    source.data_ = std::move(data);
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
    const QString path = data_->path;
    return PictureCache::instance().obtain(PictureCache::Kind::Source, data_->key, [&] { return decodeFile(path); });
}

QSize PictureSource::pixelSize() const
{
    if (!data_)
        return {};
    if (!isFile())
        return data_->memory.size();
    std::call_once(data_->sizeRead, [this] {
        // A decoded picture already held answers at once; formats without a readable header are decoded.
        QImage held = PictureCache::instance().peek(PictureCache::Kind::Source, data_->key);
        QSize size = held.isNull() ? headerSize(data_->path) : held.size();
        if (!size.isValid() && held.isNull())
            size = decoded().size();
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
