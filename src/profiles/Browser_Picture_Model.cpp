#include "profiles/Browser_Picture_Model.h"

#include "common/Common_Functions.h"
#include "model/PictureSource.h"
#include "platform/PictureDecode.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QIODevice>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QSet>
#include <QTextDocument>
#include <QThreadPool>

#include <algorithm>

Browser_Picture_Model::Browser_Picture_Model(QObject* parent)
    : QAbstractListModel(parent)
    , ratio_(qGuiApp ? qGuiApp->devicePixelRatio() : 1.0)
{
}

void Browser_Picture_Model::setDevicePixelRatio(qreal ratio)
{
    if (!(ratio > 0.0) || ratio == ratio_)
        return;
    ratio_ = ratio;
    forgetThumbnails();
    reload();
}

void Browser_Picture_Model::clear()
{
    beginResetModel();
    items_.clear();
    forgetThumbnails();
    endResetModel();
}

void Browser_Picture_Model::forgetThumbnails()
{
    thumbnails_.clear();
    reading_.clear();
    ++generation_;
}

void Browser_Picture_Model::append(const Browser_Picture_Object& item)
{
    const int row = int(items_.size());
    beginInsertRows(QModelIndex(), row, row);
    items_.append(item);
    endInsertRows();
}

bool Browser_Picture_Model::appendPicture(const QString& path, const QString& name, const QString& uid)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return false;
    const PictureSource::Check picture = PictureSource::checkHeader(trimmed);
    if (!picture.usable()) {
        static QSet<QString> told; // GUI thread, like every browser
        if (!told.contains(picture.refusal)) {
            told.insert(picture.refusal);
            Show_NSLog_Message(picture.refusal);
        }
        return false;
    }
    append(Browser_Picture_Object::initWithImage_Path(trimmed, name, uid));
    return true;
}

void Browser_Picture_Model::reload()
{
    beginResetModel();
    endResetModel();
}

void Browser_Picture_Model::moveItems(QList<int> rows, int destination)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int row) { return row < 0 || row >= items_.size(); }),
        rows.end());
    if (rows.isEmpty())
        return;
    destination = std::clamp(destination, 0, int(items_.size()));
    const auto before = std::count_if(rows.begin(), rows.end(), [destination](int row) { return row < destination; });

    beginResetModel();
    QList<Browser_Picture_Object> moved;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        moved.prepend(items_.takeAt(*it));
    const qsizetype insertAt = destination - before;
    for (qsizetype i = 0; i < moved.size(); ++i)
        items_.insert(insertAt + i, moved[i]);
    endResetModel();
}

int Browser_Picture_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(items_.size());
}

QVariant Browser_Picture_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= items_.size())
        return {};
    const Browser_Picture_Object& item = items_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return item.image_Name;
    case Qt::ToolTipRole: // a file's name, however it is made up, never read as markup
        return Qt::convertFromPlainText(Name_In_Notice(item.image_Name), Qt::WhiteSpaceNoWrap);
    case Qt::DecorationRole: {
        const QImage image = thumbnail(item.path);
        return image.isNull() ? QVariant() : QVariant(image);
    }
    case PathRole:
        return item.path;
    case UidRole:
        return item.image_UID;
    default:
        return {};
    }
}

namespace {

// The thumbnail through the checks every picture passes, decoded within the same bounds (a JPEG straight at
// the box's size); null when the picture is refused, which is named in the log.
QImage readThumbnail(const QString& path, qreal ratio)
{
    const QSize logical = Browser_Picture_Model::thumbnailSize();
    const QSize pixels = platform::readPictureHeader(path).pixels;
    const QSize box = logical * ratio;
    const QSize shown = pixels.isEmpty() ? QSize()
        : pixels.width() > box.width() || pixels.height() > box.height()
        ? pixels.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1))
        : pixels;
    QString refusal;
    QImage image = platform::readPictureFileAt(path, shown, &refusal);
    if (image.isNull()) {
        Show_NSLog_Message(refusal);
        return {};
    }
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // The ratio that fits the picture to the box, between a plain screen's and this one's: a small
    // picture is not shrunk below its own pixels, a larger one takes the room a thumbnail takes.
    const double fit = std::max(double(image.width()) / logical.width(), double(image.height()) / logical.height());
    image.setDevicePixelRatio(std::clamp(fit, 1.0, double(ratio)));
    return image;
}

} // namespace

QImage Browser_Picture_Model::thumbnail(const QString& path) const
{
    const auto cached = thumbnails_.constFind(path);
    if (cached != thumbnails_.cend())
        return *cached;
    if (background_) {
        readThumbnailInBackground(path);
        return {};
    }
    // A refused file keeps its tile in the cache, so it is not read again at every paint.
    const QImage image = readThumbnail(path, ratio_);
    thumbnails_.insert(path, image.isNull() ? cannotBeShownTile() : image);
    return thumbnails_.value(path);
}

void Browser_Picture_Model::readThumbnailInBackground(const QString& path) const
{
    if (reading_.contains(path))
        return;
    reading_.insert(path);
    // The worker holds nothing of the model: a list emptied or closed meanwhile drops what it reads.
    const QPointer<Browser_Picture_Model> model(const_cast<Browser_Picture_Model*>(this));
    const quint64 generation = generation_;
    const qreal ratio = ratio_;
    QThreadPool::globalInstance()->start([model, generation, path, ratio] {
        const QImage image = readThumbnail(path, ratio);
        if (QCoreApplication* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(application, [model, generation, path, image] {
                if (model)
                    model->takeThumbnail(generation, path, image);
            });
    });
}

void Browser_Picture_Model::takeThumbnail(quint64 generation, const QString& path, const QImage& image)
{
    if (generation != generation_)
        return;
    reading_.remove(path);
    // A refused file keeps its tile too, so it is not read again at every paint.
    thumbnails_.insert(path, image.isNull() ? cannotBeShownTile() : image);
    for (int row = 0; row < items_.size(); ++row)
        if (items_[row].path == path)
            emit dataChanged(index(row), index(row), { Qt::DecorationRole });
}

QImage Browser_Picture_Model::cannotBeShownTile() const
{
    if (tile_.isNull() || tile_.devicePixelRatio() != ratio_) {
        const QSize logical = thumbnailSize();
        tile_ = QImage(logical * ratio_, QImage::Format_ARGB32_Premultiplied);
        tile_.setDevicePixelRatio(ratio_);
        tile_.fill(QColor(232, 232, 236));
        QPainter painter(&tile_);
        painter.setPen(QColor(150, 150, 160));
        painter.drawRect(QRectF(QPointF(0.5, 0.5), QSizeF(logical) - QSizeF(1, 1)));
        painter.setPen(QColor(90, 90, 100));
        painter.drawText(
            QRectF(QPointF(0, 0), QSizeF(logical)), Qt::AlignCenter | Qt::TextWordWrap, cannotBeShownText());
    }
    return tile_;
}

Qt::ItemFlags Browser_Picture_Model::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions Browser_Picture_Model::supportedDragActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions Browser_Picture_Model::supportedDropActions() const
{
    return Qt::MoveAction;
}

QStringList Browser_Picture_Model::mimeTypes() const
{
    return { rowsMimeType() };
}

// A drag carries nothing but the rows and the identity of the model they belong to, so no picture
// or path leaves the browser and no other browser or program can reorder this one.
QMimeData* Browser_Picture_Model::mimeData(const QModelIndexList& indexes) const
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << qint64(QCoreApplication::applicationPid()) << quint64(reinterpret_cast<quintptr>(this));
    QList<int> rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.model() == this)
            rows.append(index.row());
    stream << rows;
    auto* data = new QMimeData;
    data->setData(rowsMimeType(), bytes);
    return data;
}

QList<int> Browser_Picture_Model::rowsFromMimeData(const QMimeData* data) const
{
    if (!data || !data->hasFormat(rowsMimeType()))
        return {};
    QDataStream stream(data->data(rowsMimeType()));
    qint64 pid = 0;
    quint64 model = 0;
    QList<int> rows;
    stream >> pid >> model >> rows;
    if (stream.status() != QDataStream::Ok || pid != QCoreApplication::applicationPid()
        || model != quint64(reinterpret_cast<quintptr>(this)))
        return {};
    return rows;
}

bool Browser_Picture_Model::removeRows(int, int, const QModelIndex&)
{
    reload();
    return false;
}
