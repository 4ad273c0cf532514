#include "profiles/Picture_Grid_Panel.h"

#include "profiles/Browser_Picture_Model.h"
#include "profiles/Picture_Browser_View.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The slider works in hundredths of the zoom factor.
constexpr int kSliderScale = 100;

} // namespace

Picture_Grid_Panel::Picture_Grid_Panel(QWidget* parent)
    : QWidget(parent)
{
    images = new Browser_Picture_Model(this);
    imageBrowser = new Picture_Browser_View(this);
    imageBrowser->setObjectName(QStringLiteral("imageBrowser"));
    imageBrowser->setModel(images);
    imageBrowser->setSelectionMode(QAbstractItemView::SingleSelection);
    imageBrowser->setMinimumSize(520, 320);
    _zoom_label = new QLabel(QStringLiteral("Zoom :"), this);
    _zoom_label->setObjectName(QStringLiteral("_zoom_label"));
    _zoom_slider = new QSlider(Qt::Horizontal, this);
    _zoom_slider->setObjectName(QStringLiteral("_zoom_slider"));
    _zoom_slider->setRange(10, 100);

    auto* zoomRow = new QHBoxLayout;
    zoomRow->addStretch();
    zoomRow->addWidget(_zoom_label);
    zoomRow->addWidget(_zoom_slider);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(imageBrowser);
    layout->addLayout(zoomRow);

    connect(_zoom_slider, &QSlider::valueChanged, this, &Picture_Grid_Panel::zoomSliderDidChange);
    connect(imageBrowser->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QString path = selectedPath();
        if (!path.isEmpty())
            emit pictureChosen(path);
    });
    setZoom(0.4);
}

void Picture_Grid_Panel::addImageWithPath(const QString& path, const QString& name, const QString& uid)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    Browser_Picture_Object entry = Browser_Picture_Object::initWithImage_Path(trimmed, name, uid);
    entry.setPath(trimmed);
    images->append(entry);
}

void Picture_Grid_Panel::clear()
{
    images->clear();
}

void Picture_Grid_Panel::setZoom(double zoom)
{
    zoom_ = zoom;
    const QSize natural = Browser_Picture_Model::thumbnailSize();
    const double scale = zoom / 0.4;
    imageBrowser->setIconSize(
        QSize(std::max(16, int(natural.width() * scale)), std::max(12, int(natural.height() * scale))));
    imageBrowser->setGridSize(QSize());
    const QSignalBlocker quiet(_zoom_slider);
    _zoom_slider->setValue(int(zoom * kSliderScale + 0.5));
    imageBrowser->doItemsLayout();
}

void Picture_Grid_Panel::zoomSliderDidChange(int value)
{
    setZoom(double(value) / kSliderScale);
}

QString Picture_Grid_Panel::selectedPath() const
{
    QModelIndexList selected = imageBrowser->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return QString();
    const auto lowest = std::min_element(
        selected.begin(), selected.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return lowest->data(Browser_Picture_Model::PathRole).toString();
}

void Picture_Grid_Panel::selectRow(int row)
{
    const QModelIndex index = images->index(row, 0);
    if (!index.isValid())
        return;
    imageBrowser->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    imageBrowser->setCurrentIndex(index); // which scrolls it into view
}

void Picture_Grid_Panel::selectPath(const QString& path)
{
    const QList<Browser_Picture_Object>& items = images->items();
    const auto found
        = std::find_if(items.cbegin(), items.cend(), [&path](const auto& item) { return item.path == path; });
    selectRow(found == items.cend() ? 0 : int(found - items.cbegin()));
}
