#include "model/PictureRenditions.h"

#include "model/PictureCache.h"
#include "model/Image_Geometry.h"
#include "model/PictureSource.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace picturerenditions {

namespace {

template <typename T> void append(QByteArray& bytes, T value)
{
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    bytes.append(raw, qsizetype(sizeof(T)));
}

} // namespace

QByteArray keyOf(const ImageAdjustments& values)
{
    QByteArray bytes;
    bytes.reserve(48);
    append(bytes, char(values.grayscale));
    append(bytes, char(values.sepia));
    append(bytes, char(values.invert));
    for (float v : { values.hue, values.saturation, values.brightness, values.contrast, values.sharpness,
             values.exposure, values.blur })
        append(bytes, v);
    append(bytes, values.rotation);
    return bytes;
}

QByteArray adjustedKey(const PictureSource& source, const ImageAdjustments& values)
{
    return source.key() + '\0' + keyOf(values);
}

bool isHeld(const PictureSource& source, const ImageAdjustments& values)
{
    return !source.isNull()
        && PictureCache::instance().holds(PictureCache::Kind::Adjusted, adjustedKey(source, values));
}

QImage adjusted(const PictureSource& source, const ImageAdjustments& values)
{
    if (source.isNull())
        return {};
    return PictureCache::instance().obtain(PictureCache::Kind::Adjusted, adjustedKey(source, values), [&] {
        // The working picture already has the size the chain's cap gives, so the cap leaves it as it is.
        const QImage picture = source.working();
        if (picture.isNull())
            return QImage();
        return ImageProcesser::Get_Processed_Image(picture, values).value_or(QImage());
    });
}

QSize adjustedSize(const PictureSource& source, const ImageAdjustments& values)
{
    const QSize capped = imagefilters::fittedSize(source.pixelSize(), ImageProcesser::kMaximumSize);
    return rotatedSize(capped, float(values.rotation));
}

QByteArray deviceCopyKey(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels)
{
    QByteArray key = adjustedKey(source, values);
    key.append('\0')
        .append(QByteArray::number(devicePixels.width()))
        .append('x')
        .append(QByteArray::number(devicePixels.height()));
    return key;
}

bool needsDeviceCopy(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels)
{
    const QSize full = adjustedSize(source, values);
    return !full.isEmpty() && !devicePixels.isEmpty() && devicePixels.width() < full.width()
        && devicePixels.height() < full.height();
}

bool isDeviceCopyHeld(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels)
{
    return !source.isNull()
        && PictureCache::instance().holds(PictureCache::Kind::Display, deviceCopyKey(source, values, devicePixels));
}

QImage forDevice(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels)
{
    if (!needsDeviceCopy(source, values, devicePixels))
        return adjusted(source, values);
    return PictureCache::instance().obtain(
        PictureCache::Kind::Display, deviceCopyKey(source, values, devicePixels), [&] {
            const QImage picture = adjusted(source, values);
            if (picture.isNull())
                return QImage();
            QImage scaled = picture.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            scaled.setDevicePixelRatio(1.0);
            return scaled;
        });
}

QSize outputReadSize(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels)
{
    if (!source.isFile() || devicePixels.isEmpty())
        return {};
    const QSize file = source.pixelSize();
    const QSize working = imagefilters::fittedSize(file, ImageProcesser::kMaximumSize);
    if (working.isEmpty())
        return {};
    const float turn = std::fmod(float(values.rotation), 360.0f);
    const bool quarter = turn == 90.0f || turn == -90.0f || turn == 270.0f || turn == -270.0f;
    QSize read;
    if (quarter || rotatedSize(working, turn) == working) {
        // The picture is stretched into the output's pixels as into the bounds: read at just those.
        read = (quarter ? devicePixels.transposed() : devicePixels).boundedTo(file);
    } else {
        // An uneven turn gives a square the picture sits in with its own proportions and a margin.
        const double scale = double(std::max(devicePixels.width(), devicePixels.height()))
            / double(std::max(working.width(), working.height()) + kTurnMargin);
        read = QSize(int(std::lround(working.width() * scale)), int(std::lround(working.height() * scale)));
        if (read.width() >= file.width() || read.height() >= file.height())
            read = file;
    }
    if (read.width() <= working.width() && read.height() <= working.height())
        return {};
    return read;
}

Output forOutput(const PictureSource& source, const ImageAdjustments& values, const QSize& devicePixels)
{
    // A file that cannot be read now, not even its size, is one the output cannot read again either.
    if (source.isFile() && source.pixelSize().isEmpty())
        return { adjusted(source, values), true };
    const QSize read = outputReadSize(source, values, devicePixels);
    if (read.isEmpty()) {
        // The working picture is drawn: a file that no longer gives one leaves the card without the picture.
        if (source.isFile() && !devicePixels.isEmpty() && adjusted(source, values).isNull())
            return { {}, true };
        return {};
    }
    const QSize working = imagefilters::fittedSize(source.pixelSize(), ImageProcesser::kMaximumSize);
    const double scale = std::max(double(read.width()) / working.width(), double(read.height()) / working.height());
    QByteArray key = adjustedKey(source, values);
    key.append('\0')
        .append("output ")
        .append(QByteArray::number(read.width()))
        .append('x')
        .append(QByteArray::number(read.height()));
    const QImage picture = PictureCache::instance().obtain(PictureCache::Kind::Adjusted, key, [&] {
        const QImage file = source.readAgainAt(read);
        if (file.isNull())
            return QImage();
        return ImageProcesser::Get_Processed_Image_For_Output(file, values, scale).value_or(QImage());
    });
    if (!picture.isNull())
        return { picture, false };
    return { adjusted(source, values), true, !source.readableAt(read) };
}

} // namespace picturerenditions
