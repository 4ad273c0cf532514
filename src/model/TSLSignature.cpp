#include "model/TSLSignature.h"

#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/TSLDrawing.h"
#include "model/TSLDrawnColor.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QString samplePath(const QString& kind)
{
    return Resource_Path
        + (kind == QLatin1String("S") ? QStringLiteral("/sign_sample.png") : QStringLiteral("/fingerprints.png"));
}

} // namespace

std::shared_ptr<TSLSignature> TSLSignature::initWithPosition(
    const QPointF& point, const QImage& contents, const QString& sign_or_FP)
{
    auto item = std::make_shared<TSLSignature>();
    item->_contents_img = contents;
    item->file_path = samplePath(sign_or_FP);
    item->Set_Control_File_path(item->file_path);
    item->sign_or_fingureprint = sign_or_FP;
    const QSizeF size = contents.isNull() ? QSizeF(0, 0) : contents.deviceIndependentSize();
    item->_bounds
        = QRectF(point.x() - size.width() / 2.0, point.y() - size.height() / 2.0, size.width(), size.height());
    if (CardEditorServices* services = editorServices())
        services->resetImageEditingControls();
    return item;
}

QString TSLSignature::resolvedPath(const QString& path) const
{
    return path == QLatin1String("Default") ? samplePath(sign_or_fingureprint) : path;
}

void TSLSignature::loadPicture(const QString& path)
{
    file_path = path;
    _contents_img = path.isEmpty() ? QImage() : platform::readPictureFile(QDir::cleanPath(path));
}

void TSLSignature::setFilePath(const QString& path)
{
    loadPicture(resolvedPath(path));
    Set_Control_File_path(file_path);
}

void TSLSignature::drawContentsInView(const TSLDrawingContext& context, bool)
{
    if (!ctrl_is_visible || !context.painter)
        return;
    QPainter& painter = *context.painter;

    // The picture follows the record's path. Only the shown picture is updated here: the record keeps
    // "Default" as written, and a file that cannot be read is not retried until the path changes.
    const QString wanted = resolvedPath(_file_path);
    if (file_path != wanted)
        loadPicture(wanted);

    if (isDrawingStroke()) {
        painter.save();
        painter.setBrush(Qt::NoBrush);
        painter.setPen(borderPen(colorWithOpacity(_strokeColor, alpha_val_stroke), _strokeWidth, _stroke_border_type));
        painter.drawRect(_bounds);
        painter.restore();
    }
    if (!_contents_img.isNull()) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(_bounds, _contents_img, QRectF(_contents_img.rect()));
        painter.restore();
    }
    requestCanvasRefresh();
}
