#pragma once

#include "profiles/Browser_Picture_Object.h"

#include <QAbstractListModel>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSet>
#include <QSize>

// The pictures of a thumbnail browser, in the order the user sees them. Thumbnails are read from the
// files only when the view first paints them, through the checks and the bounded decode every picture
// passes, scaled while decoding to the screen's device pixels, and kept until the list is emptied. A picture
// those refuse shows a tile that says it cannot be shown. A list of pictures looks at each file's header
// only: the pictures are decoded for their thumbnails, and checked whole when one is chosen.
// The browser never loses a picture by dragging: a request to remove rows is refused, and a drag within
// the browser only reorders.
class Browser_Picture_Model : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole + 1, UidRole };

    static QSize thumbnailSize() { return { 128, 96 }; }
    static QString cannotBeShownText() { return QStringLiteral("cannot be shown"); }
    // The drag format that carries rows between this model's own view and itself.
    static QString rowsMimeType() { return QStringLiteral("application/x-tessaline-picture-rows"); }

    explicit Browser_Picture_Model(QObject* parent = nullptr);

    const QList<Browser_Picture_Object>& items() const { return items_; }
    void clear();
    void append(const Browser_Picture_Object& item);
    // Appends the picture at the path (trimmed) when its header shows a picture that can be used. A file
    // refused is skipped and named in the log once in the program's run, however often the folder is
    // listed. False when nothing was appended.
    bool appendPicture(const QString& path, const QString& name, const QString& uid);
    void reload();
    // What a picture the checks refuse shows in place of its thumbnail, at the screen's ratio.
    QImage cannotBeShownTile() const;

    // Device pixels a logical pixel on the screen the browser is shown on (the application's highest
    // unless set). Thumbnails are decoded at that many pixels and marked with the ratio, so that they take
    // the same room on every screen and are sharp on a dense one; a new ratio reads them again.
    void setDevicePixelRatio(qreal ratio);

    // A browser's painting never waits for a file: every thumbnail is read on a worker thread, and its row
    // shows it when it is there. Otherwise (the default) thumbnails are read when they are asked for.
    void setReadsThumbnailsInBackground(bool background) { background_ = background; }

    // Takes the pictures at `rows` out of their places and puts them back together, in their order, at
    // `destination` less the number of them that stood before it; rows outside the list are ignored.
    void moveItems(QList<int> rows, int destination);

    // The rows a drag from this very model carries; empty for any other drag.
    QList<int> rowsFromMimeData(const QMimeData* data) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    QImage thumbnail(const QString& path) const;
    void readThumbnailInBackground(const QString& path) const;
    void takeThumbnail(quint64 generation, const QString& path, const QImage& image);
    void forgetThumbnails();

    QList<Browser_Picture_Object> items_;
    mutable QHash<QString, QImage> thumbnails_;
    mutable QSet<QString> reading_;
    mutable QImage tile_; // what a picture that cannot be shown shows, at the screen's ratio
    quint64 generation_ = 0; // a thumbnail read for an earlier list or ratio is not taken
    qreal ratio_ = 1.0;
    bool background_ = false;
};
