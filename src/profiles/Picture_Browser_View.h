#pragma once

#include <QListView>

class Browser_Picture_Model;
class Picture_Caption_Delegate;

// A grid of picture thumbnails with their names. The user may reorder the pictures by dragging them
// within the grid; nothing from outside can be dropped onto it. Every cell has room for a short name at
// any zoom; a name too long for its cell loses letters from its middle, never its extension.
class Picture_Browser_View : public QListView {
    Q_OBJECT
public:
    explicit Picture_Browser_View(QWidget* parent = nullptr);

    // A picture list shown here reads its thumbnails on a worker thread, so that painting never waits for
    // a file.
    void setModel(QAbstractItemModel* model) override;

    // The place a drop at `pos` (viewport coordinates) puts the dragged pictures: before the first
    // picture that lies after the point in reading order, or at the end.
    int dropRowAt(const QPoint& pos) const;
    // The name as the grid draws it under the picture in `row`.
    QString shownCaption(int row) const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    Browser_Picture_Model* pictures() const;
    Picture_Caption_Delegate* captions_ = nullptr;
};
