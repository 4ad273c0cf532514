#include "profiles/Image_Library.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "platform/UiSeam.h"
#include "profiles/Picture_Folder.h"
#include "profiles/Picture_Grid_Panel.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {

QString libraryRoot()
{
    return QDir(Resource_Path).filePath(QStringLiteral("LibraryImage"));
}

} // namespace

Image_Library* Image_Library::defaultInstance()
{
    static Image_Library* instance = new Image_Library();
    return instance;
}

Image_Library::Image_Library(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Image_Library"));
    applySmallWindowLook(*this);
    category_label = new QLabel(QStringLiteral("Category :"), this);
    category_label->setObjectName(QStringLiteral("category_label"));
    cat_cmbo_bx = new QComboBox(this);
    cat_cmbo_bx->setObjectName(QStringLiteral("cat_cmbo_bx"));
    cat_cmbo_bx->setMinimumWidth(200);
    grid = new Picture_Grid_Panel(this);
    ok_btn = new QPushButton(QStringLiteral("OK"), this);
    ok_btn->setObjectName(QStringLiteral("ok_btn"));
    ok_btn->setDefault(true);
    cancel_btn = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_btn->setObjectName(QStringLiteral("cancel_btn"));

    auto* top = new QHBoxLayout;
    top->addWidget(category_label);
    top->addWidget(cat_cmbo_bx);
    top->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid);
    layout->addLayout(buttons);

    connect(cat_cmbo_bx, &QComboBox::currentIndexChanged, this, &Image_Library::comboBoxSelectionDidChange);
    connect(grid, &Picture_Grid_Panel::pictureChosen, this, [this](const QString& path) { selected_image = path; });
    connect(ok_btn, &QPushButton::clicked, this, &Image_Library::OK_Clicked);
    connect(cancel_btn, &QPushButton::clicked, this, &Image_Library::Cancel_Clicked);
}

int Image_Library::Open_Library_Window()
{
    try {
        grid->clear();
        grid->setZoom(0.4);
        if (control_or_BG == QLatin1String("C")) {
            setWindowTitle(QStringLiteral("Image Library"));
            cat_cmbo_bx->show();
            category_label->show();
            Fill_Combobox();
        } else {
            setWindowTitle(QStringLiteral("Background Image Library"));
            cat_cmbo_bx->hide();
            category_label->hide();
            Load_and_fill_backgrounds();
        }
        const int code = platform::ui().runModal(*this);
        hide();
        return code == 1 ? 1 : 0;
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
        return 0;
    }
}

void Image_Library::Fill_Combobox()
{
    const QSignalBlocker quiet(cat_cmbo_bx);
    cat_cmbo_bx->clear();
    // The shown name is capitalised; the folder is found again by the name it is stored under, so a
    // category named in lower case is found on a file system that tells cases apart.
    for (const QString& folder : Picture_Folder::subFolderNames(libraryRoot()))
        cat_cmbo_bx->addItem(Picture_Folder::capitalised(folder), folder);
    if (cat_cmbo_bx->count() == 0)
        return;
    cat_cmbo_bx->setCurrentIndex(0);
    comboBoxSelectionDidChange();
}

void Image_Library::comboBoxSelectionDidChange()
{
    const QString stored = cat_cmbo_bx->currentData().toString();
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
    grid->clear();
    for (const QString& name : Picture_Folder::pictureNames(folder))
        grid->addImageWithPath(QDir(folder).filePath(name), name, name);
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
