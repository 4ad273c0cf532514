#include "profiles/Picture_Browser_View.h"

#include "profiles/Browser_Picture_Model.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

Picture_Browser_View::Picture_Browser_View(QWidget* parent)
    : QListView(parent)
{
    setViewMode(QListView::IconMode);
    // Items keep their places in the grid; dragging reorders the list instead of scattering the icons.
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(Browser_Picture_Model::thumbnailSize());
    setGridSize(Browser_Picture_Model::thumbnailSize() + QSize(24, 36));
    setTextElideMode(Qt::ElideMiddle);
    setWordWrap(false);
    // A little air between the frame and the first row of thumbnails, in the list's own colour.
    setViewportMargins(8, 10, 8, 8);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
}

Browser_Picture_Model* Picture_Browser_View::pictures() const
{
    return qobject_cast<Browser_Picture_Model*>(model());
}

int Picture_Browser_View::dropRowAt(const QPoint& pos) const
{
    const QAbstractItemModel* items = model();
    if (!items)
        return 0;
    const int count = items->rowCount();
    for (int row = 0; row < count; ++row) {
        const QRect rect = visualRect(items->index(row, 0));
        if (pos.y() < rect.top())
            return row;
        if (pos.y() <= rect.bottom() && pos.x() < rect.center().x())
            return row;
    }
    return count;
}

void Picture_Browser_View::dragEnterEvent(QDragEnterEvent* event)
{
    if (pictures() && !pictures()->rowsFromMimeData(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void Picture_Browser_View::dragMoveEvent(QDragMoveEvent* event)
{
    if (pictures() && !pictures()->rowsFromMimeData(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void Picture_Browser_View::dropEvent(QDropEvent* event)
{
    Browser_Picture_Model* model = pictures();
    const QList<int> rows = model ? model->rowsFromMimeData(event->mimeData()) : QList<int>();
    if (rows.isEmpty()) {
        event->ignore();
        return;
    }
    model->moveItems(rows, dropRowAt(event->position().toPoint()));
    event->setDropAction(Qt::MoveAction);
    event->accept();
}
