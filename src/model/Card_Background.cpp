#include "model/Card_Background.h"

#include "model/Card_Property.h"
#include "model/PictureCache.h"
#include "model/PictureSource.h"
#include "platform/PictureDecode.h"

#include <cmath>

namespace cardbackground {

namespace {

bool tiled(const QString& layout)
{
    return layout == QLatin1String("Tile");
}

QSize pixelsOver(const QSizeF& cardPoints, double pixelsPerPoint)
{
    const QSizeF exact = cardPoints * pixelsPerPoint;
    if (!(exact.width() >= 1 && exact.height() >= 1 && exact.width() < 1e5 && exact.height() < 1e5))
        return {};
    return { int(std::ceil(exact.width())), int(std::ceil(exact.height())) };
}

} // namespace

QImage held(const QString& path, const QString& layout, const QSizeF& cardPoints)
{
    const QSize pixels = platform::readPictureHeader(path).pixels;
    const QSize cover = pixelsOver(cardPoints, kHeldPixelsPerPoint);
    if (tiled(layout) || !pixels.isValid() || cover.isEmpty())
        return platform::readPictureFileAt(path, QSize());
    const QSize shown = pixels.scaled(cover, Qt::KeepAspectRatioByExpanding);
    if (shown.width() >= pixels.width() || shown.height() >= pixels.height())
        return platform::readPictureFileAt(path, QSize());
    return PictureSource::readFileAt(path, shown, Qt::KeepAspectRatio);
}

QImage forOutput(const Card_Property& side, const QSizeF& cardPoints, double pixelsPerPoint)
{
    const QImage kept = side.Card_BG_Image();
    const QSize shown = pixelsOver(cardPoints, pixelsPerPoint);
    if (tiled(side.Card_BG_Image_Layout()) || shown.isEmpty() || kept.size() == shown)
        return kept;
    const QString path = side.Card_BG_Image_Path();
    const PictureSource source = PictureSource::forFile(path);
    if (!source.isFile())
        return kept;
    const QByteArray key = source.key() + QByteArrayLiteral("|background ") + QByteArray::number(shown.width()) + 'x'
        + QByteArray::number(shown.height());
    const QImage picture = PictureCache::instance().obtain(PictureCache::Kind::Display, key,
        [&] { return PictureSource::readFileAt(path, shown, Qt::IgnoreAspectRatio); });
    return picture.isNull() ? kept : picture;
}

} // namespace cardbackground
