#include "profiles/Image_Library.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Picture_Folder.h"
#include "profiles/Picture_Grid_Panel.h"

#include "ui_Image_Library.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace {

QString libraryRoot()
{
    return QDir(Resource_Path).filePath(QStringLiteral("LibraryImage"));
}

} // namespace

Image_Library::Image_Library(QWidget* parent)
    : Form_Dialog(parent)
{
    connect(ui_->cat_cmbo_bx, &QComboBox::currentIndexChanged, this, &Image_Library::comboBoxSelectionDidChange);
    connect(
        ui_->grid, &Picture_Grid_Panel::pictureChosen, this, [this](const QString& path) { selected_image = path; });
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Image_Library::OK_Clicked);
    connect(ui_->cancel_btn, &QPushButton::clicked, this, &Image_Library::Cancel_Clicked);
}

int Image_Library::Open_Library_Window()
{
    return runModally([this] {
        ui_->grid->clear();
        ui_->grid->setZoom(0.4);
        const bool clipArt = control_or_BG == QLatin1String("C");
        setWindowTitle(clipArt ? QStringLiteral("Image Library") : QStringLiteral("Background Image Library"));
        ui_->cat_cmbo_bx->setVisible(clipArt);
        ui_->category_label->setVisible(clipArt);
        if (clipArt)
            Fill_Combobox();
        else
            Load_and_fill_backgrounds();
    });
}

void Image_Library::Fill_Combobox()
{
    const QSignalBlocker quiet(ui_->cat_cmbo_bx);
    ui_->cat_cmbo_bx->clear();
    // The shown name is capitalised; the folder is found again by the name it is stored under, so a
    // category named in lower case is found on a file system that tells cases apart.
    for (const QString& folder : Picture_Folder::subFolderNames(libraryRoot()))
        ui_->cat_cmbo_bx->addItem(Picture_Folder::capitalised(folder), folder);
    if (ui_->cat_cmbo_bx->count() == 0)
        return;
    ui_->cat_cmbo_bx->setCurrentIndex(0);
    comboBoxSelectionDidChange();
}

void Image_Library::comboBoxSelectionDidChange()
{
    const QString stored = ui_->cat_cmbo_bx->currentData().toString();
    if (stored.isEmpty())
        return;
    showFolder(QDir(libraryRoot()).filePath(stored));
}

void Image_Library::Load_and_fill_backgrounds()
{
    showFolder(QDir(Resource_Path).filePath(QStringLiteral("Background")));
}

void Image_Library::showFolder(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return;
    ui_->grid->clear();
    for (const QString& name : Picture_Folder::pictureNames(folder))
        ui_->grid->images->appendPicture(QDir(folder).filePath(name), name, name);
}

void Image_Library::OK_Clicked()
{
    if (!selected_image.isEmpty() && QFileInfo(selected_image).isFile()) {
        done(1);
        return;
    }
    Show_MessageBox(QStringLiteral("Please select image."));
}

void Image_Library::Cancel_Clicked()
{
    selected_image.clear();
    done(0);
}
