#pragma once

#include <QWidget>

class Browser_Picture_Model;
class Picture_Browser_View;
class QLabel;
class QSlider;

// A zoomable grid of picture thumbnails with its zoom slider, as the picture library and the template
// gallery show them. The user picks one picture; dragging within the grid reorders the pictures.
class Picture_Grid_Panel : public QWidget {
    Q_OBJECT
public:
    explicit Picture_Grid_Panel(QWidget* parent = nullptr);

    // Appends a picture; a path of only blanks adds nothing.
    void addImageWithPath(const QString& path, const QString& name, const QString& uid);
    void clear();

    // The zoom factor of the grid: 0.4 shows thumbnails at their natural size.
    double zoom() const { return zoom_; }
    void setZoom(double zoom);

    // The path of the picture at the lowest selected place; empty when nothing is selected.
    QString selectedPath() const;
    // Selects the picture and scrolls it into view; nothing happens for a row that is not shown.
    void selectRow(int row);
    // Selects the picture at the path, or the first picture when the path is not shown.
    void selectPath(const QString& path);

    Picture_Browser_View* imageBrowser = nullptr;
    Browser_Picture_Model* images = nullptr;
    QSlider* _zoom_slider = nullptr;
    QLabel* _zoom_label = nullptr;

signals:
    // The user changed the selection to one or more pictures (an emptied selection is not reported).
    void pictureChosen(const QString& path);

private:
    void zoomSliderDidChange(int value);
    double zoom_ = 0.4;
};
