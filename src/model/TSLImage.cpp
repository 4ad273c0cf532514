#include "model/TSLImage.h"

#include <QDir>
#include <QImageReader>

namespace {

QString standardizedPath(const QString& path)
{
    QString expanded = path;
    if (expanded.startsWith(QLatin1String("~/")) || expanded == QLatin1String("~"))
        expanded.replace(0, 1, QDir::homePath());
    return QDir::cleanPath(expanded);
}

} // namespace

TSLGraphicPtr TSLImage::copyWithZone() const
{
    auto copy = std::make_shared<TSLImage>();
    copyBaseFieldsTo(*copy);
    copy->_contents = _contents.copy();
    return copy;
}

void TSLImage::setFilePath(const QString& path)
{
    Set_Control_File_path(path);
    _contents = QImage();
    if (path.isEmpty())
        return;
    QImageReader reader(standardizedPath(path));
    reader.setAutoTransform(true);
    _contents = reader.read();
}

void TSLImage::makeNaturalSize()
{
    if (ctrl_is_locked)
        return;
    QRectF r = bounds();
    const QSizeF size = _contents.isNull() ? QSizeF() : _contents.deviceIndependentSize();
    r.setSize(size);
    setBounds(r);
    _isFlippedHorizontally = false;
    _isFlippedVertically = false;
}
