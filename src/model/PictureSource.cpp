#include "model/PictureSource.h"

#include "common/Common_Functions.h"
#include "model/ImageProcesser.h"
#include "model/Image_Geometry.h"
#include "model/PictureCache.h"
#include "platform/PictureDecode.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

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

// The picture, decoded straight at `shown` where the format allows (an invalid size: whole).
QImage decodeFile(const QString& path, const QSize& shown = QSize())
{
    QString refusal;
    QImage picture = platform::readPictureFileAt(path, shown, &refusal);
    if (picture.isNull() && !refusal.isEmpty())
        Show_NSLog_Message(refusal);
    return picture;
}

// Whether the decode a picture item makes of it, at most the working size, stays within the memory bound:
// a JPEG of any pixel count is decoded straight at a fraction of its size.
bool fitsWorkingSize(const platform::PictureHeader& header)
{
    return header.fitsAt(imagefilters::fittedSize(header.pixels, ImageProcesser::kMaximumSize));
}

// The header's size, turned by the file's orientation as the decoded picture will be. A picture whose
// decode would pass the memory bound has none.
QSize headerSize(const QString& path)
{
    const platform::PictureHeader header = platform::readPictureHeader(path);
    return fitsWorkingSize(header) ? header.pixels : QSize();
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

QString PictureSource::filePath() const
{
    return data_ ? data_->path : QString();
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

// A picture about to be reduced is put in the 32-bit form smooth scaling works in first, in place where the
// depth allows, so that the whole decode is never held in two forms at once.
QImage fullColour(QImage picture, const QSize& shown)
{
    if (picture.size() != shown && picture.depth() != 32) {
        const QImage::Format format
            = picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        return std::move(picture).convertToFormat(format);
    }
    if (picture.size() != shown && picture.format() == QImage::Format_ARGB32)
        return std::move(picture).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    switch (picture.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Grayscale8: // a grey photo decoded straight at its working size
    case QImage::Format_Grayscale16:
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
        // The whole decode lives only until its working copy is made; a JPEG is decoded at that size at once.
        const QSize shown = imagefilters::fittedSize(pixelSize(), ImageProcesser::kMaximumSize);
        return imagefilters::fittedWithin(
            fullColour(data->path.isEmpty() ? data->memory : decodeFile(data->path, shown), shown),
            ImageProcesser::kMaximumSize);
    });
}

namespace {

// A decode above this many bytes is a large one: large decodes for outputs run one at a time.
constexpr qint64 kLargeDecodeBytes = qint64(32) * 1024 * 1024;

} // namespace

QImage PictureSource::readFileAt(const QString& path, const QSize& pixels, Qt::AspectRatioMode mode, QString* error)
{
    static std::mutex oneLargeDecode;
    std::unique_lock<std::mutex> alone(oneLargeDecode, std::defer_lock);
    if (platform::readPictureHeader(path).decodeBytesAt(pixels) > kLargeDecodeBytes)
        alone.lock(); // held until the reduced copy is made, which is part of the decode's memory
    QImage picture = platform::readPictureFileAt(path, pixels, error);
    if (!picture.isNull() && pixels.isValid() && picture.size() != pixels)
        picture = picture.scaled(pixels, mode, Qt::SmoothTransformation);
    return picture;
}

QImage PictureSource::readAgainAt(const QSize& pixels) const
{
    if (!isFile() || pixels.isEmpty())
        return {};
    QString refusal;
    QImage picture = readFileAt(data_->path, pixels, Qt::IgnoreAspectRatio, &refusal);
    if (picture.isNull()) {
        Show_NSLog_Message(
            refusal.isEmpty() ? QStringLiteral("\"%1\" cannot be read again").arg(data_->path) : refusal);
        return {};
    }
    return fullColour(std::move(picture), pixels);
}

bool PictureSource::readableAt(const QSize& pixels) const
{
    return isFile() && platform::readPictureHeader(data_->path).fitsAt(pixels);
}

namespace {

PictureSource::Check damagedFile(const QString& shown, const QString& reason)
{
    return { {},
        QStringLiteral("The file \"%1\" is not a picture that can be used, or it is damaged.%2")
            .arg(shown, reason.isEmpty() ? QString() : QStringLiteral("\n") + reason) };
}

// Why the file cannot be used, told by its directory entry and its header alone; empty when those allow it.
QString headerRefusal(const QString& path, platform::PictureHeader& header)
{
    QFile file;
    QString refusal;
    if (!platform::openRegularFile(file, path, platform::maximumPictureFileBytes, &refusal))
        return refusal;
    file.close();
    // A picture whose decode would pass the memory bound is named with its size rather than left unread.
    header = platform::readPictureHeader(path);
    if (fitsWorkingSize(header))
        return {};
    return QStringLiteral("The picture \"%1\" is too large to use (%2 x %3 pixels). Pictures of up to %4 "
                          "million pixels can be placed on a card.")
        .arg(QDir::toNativeSeparators(path))
        .arg(header.pixels.width())
        .arg(header.pixels.height())
        .arg(header.maximumPixels / 1000000);
}

} // namespace

PictureSource::Check PictureSource::checkHeader(const QString& path)
{
    platform::PictureHeader header;
    if (QString refusal = headerRefusal(path, header); !refusal.isEmpty())
        return { {}, refusal };
    if (header.pixels.isEmpty())
        return damagedFile(QDir::toNativeSeparators(path), {});
    return { header.pixels, {} };
}

PictureSource::Check PictureSource::check(const QString& path)
{
    platform::PictureHeader header;
    if (QString refusal = headerRefusal(path, header); !refusal.isEmpty())
        return { {}, refusal };
    const QString shown = QDir::toNativeSeparators(path);
    // Coded data that stop short decode as grey: they are refused before they are decoded and kept.
    QString reason;
    if (!platform::pictureDataWhole(path, &reason))
        return damagedFile(shown, reason);
    const PictureSource source = forFile(path);
    if (source.working().isNull()) {
        platform::readPictureFile(path, &reason);
        return damagedFile(shown, reason);
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
