// The invitation wizard's background pane: the pictures of the data folder's "Background" folder.
#include "profiles/Invitation_Wizard.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "profiles/Browser_Picture_Model.h"
#include "ui_Invitation_Wizard.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

void Invitation_Wizard::Load_and_fill_backgrounds()
{
    const QString folder = Resource_Path + QStringLiteral("/Background");
    if (!QFileInfo(folder).isDir())
        return;
    images_->clear();
    // In the order the file system gives them, as the folder was filled.
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
    for (const QString& name : names) {
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (suffix == QLatin1String("png") || suffix == QLatin1String("jpg"))
            addImageWithPath(folder + QLatin1Char('/') + name, name, name);
    }
}

void Invitation_Wizard::addImageWithPath(const QString& path, const QString& imageName, const QString& image_UID)
{
    images_->appendPicture(path, imageName, image_UID);
}

// Entering the background pane offers the picture chosen there before (after Back) or else its first one,
// without moving on.
void Invitation_Wizard::selectChosenOrFirstBackground()
{
    if (!images_->items().isEmpty()) {
        images_->reload();
        QItemSelectionModel* selection = ui_->imageBrowser->selectionModel();
        QModelIndex offered = images_->index(0, 0);
        for (int row = 0; row < images_->rowCount() && !selected_image_.isEmpty(); ++row) {
            if (images_->index(row, 0).data(Browser_Picture_Model::PathRole).toString() == selected_image_) {
                offered = images_->index(row, 0);
                break;
            }
        }
        selection->clearSelection();
        selection->setCurrentIndex(offered, QItemSelectionModel::ClearAndSelect);
        ui_->imageBrowser->scrollTo(offered);
    }
}

// A click chooses a picture and stays, so the next step is not skipped unseen; Next or a double-click
// moves on.
void Invitation_Wizard::imageBrowserSelectionDidChange()
{
    const QModelIndexList selected = ui_->imageBrowser->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const QModelIndex first = *std::min_element(
        selected.begin(), selected.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    selected_image_ = first.data(Browser_Picture_Model::PathRole).toString();
}
