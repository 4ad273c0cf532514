#include "profiles/Picture_Browser_View.h"

#include "profiles/Browser_Picture_Model.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QStyledItemDelegate>

#include <algorithm>

// Gives every cell the same width, wide enough for its thumbnail and for a short name whatever the zoom,
// and fits each name into it: a name the cell cannot hold loses letters from its middle.
class Picture_Caption_Delegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        constexpr int shortNameLetters = 16;
        const QSize icon = option.decorationSize;
        const int shortName = option.fontMetrics.horizontalAdvance(QString(shortNameLetters, QLatin1Char('n')));
        const int width = std::max(icon.width(), shortName);
        return { width + 2 * textMargin(option), icon.height() + option.fontMetrics.height() + 3 * textMargin(option) };
    }

    QString caption(QStyleOptionViewItem option, const QModelIndex& index) const
    {
        initStyleOption(&option, index);
        return option.text;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        const QSize room = option->decorationSize; // the view's icon size: the zoom
        QStyledItemDelegate::initStyleOption(option, index);
        // A thumbnail is drawn at its own size unless the zoom leaves less room.
        if (!room.isEmpty()
            && (option->decorationSize.width() > room.width() || option->decorationSize.height() > room.height()))
            option->decorationSize.scale(room, Qt::KeepAspectRatio);
        // Letters go from the middle, so the name's start and its extension stay readable; the cell always has
        // room for both ends of a name.
        option->text = option->fontMetrics.elidedText(
            option->text, Qt::ElideMiddle, option->rect.width() - 2 * textMargin(*option));
    }

private:
    // The gap the style leaves on each side of an item's text.
    static int textMargin(const QStyleOptionViewItem& option)
    {
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        return style->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, option.widget) + 1;
    }
};

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
    captions_ = new Picture_Caption_Delegate(this);
    setItemDelegate(captions_);
    setSpacing(6); // a caption never touches the thumbnail below it
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

void Picture_Browser_View::setModel(QAbstractItemModel* model)
{
    QListView::setModel(model);
    if (Browser_Picture_Model* shown = pictures())
        shown->setReadsThumbnailsInBackground(true);
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

QString Picture_Browser_View::shownCaption(int row) const
{
    const QModelIndex index = model() ? model()->index(row, 0) : QModelIndex();
    if (!index.isValid())
        return QString();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return captions_->caption(option, index);
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
