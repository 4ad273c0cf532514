// The picture library opened from the editor: clip-art for picture items and pictures for the card's
// background.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/TSLWindowController_Forms.h"
#include "model/PictureSource.h"
#include "model/TSLImage.h"
#include "profiles/Image_Library.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

int TSLWindowController::Open_Image_Library_Window(const QString& purpose)
{
    Image_Library* library = Image_Library::defaultInstance();
    library->control_or_BG = purpose;
    const int code = library->Open_Library_Window();
    if (code == 1)
        lib_window_sel_file = library->selected_image;
    return code;
}

void TSLWindowController::connectLibraryButtons()
{
    Forms& f = *forms_;
    connect(f.cardBackground.Card_Bckgrnd_btn, &QPushButton::clicked, this, &TSLWindowController::Card_Bckgrnd_Clicked);
    connect(f.cardBackground.Card_Image_Library_btn, &QPushButton::clicked, this,
        &TSLWindowController::Card_Image_Library_Btn);
    // The picture file is chosen beside its path on the data-source page, from the disk or the library.
    if (manual_brws_box && manual_brws_box->layout()) {
        auto* browse = new QPushButton(tr("Browse..."), manual_brws_box);
        browse->setObjectName(QStringLiteral("Manual_Image_Browse_btn"));
        manual_brws_box->layout()->addWidget(browse);
        connect(browse, &QPushButton::clicked, this, &TSLWindowController::Manual_Image_Browse_Btn);
        auto* library = new QPushButton(tr("Library..."), manual_brws_box);
        library->setObjectName(QStringLiteral("Manual_Library_Browse_btn"));
        manual_brws_box->layout()->addWidget(library);
        connect(library, &QPushButton::clicked, this, &TSLWindowController::Manual_Library_Browse_Btn);
    }
}

void TSLWindowController::Manual_Library_Browse_Btn()
{
    if (Open_Image_Library_Window(QStringLiteral("C")) != 1 || !acceptPicture(lib_window_sel_file))
        return;
    Library_Selected_Image = lib_window_sel_file;
    if (Manual_image_path)
        Manual_image_path->setText(Library_Selected_Image);
    // Every selected picture reads the new file, as with a file from the disk.
    replaceSelectedPictures();
}

void TSLWindowController::setCurrentSideBackground(const QString& path)
{
    // A background passes the same gate as every other picture: a damaged file is refused by name where
    // it was chosen, and the side keeps what it had.
    const PictureSource::Check picture = checkPicture(path);
    if (!picture.usable() || picture.pixels.isEmpty()) {
        if (!picture.refusal.isEmpty())
            Show_MessageBox(picture.refusal);
        return;
    }
    // One undo step of the side shown; the inspector stays on the page the person was using, so
    // the next click lands where they expect.
    const int side = shownSide();
    const Card_Property before = sideRecord(side);
    QWidget* page = sett_tab ? sett_tab->currentWidget() : nullptr;
    set_Side_BG_Image(side, path);
    if (!(before == sideRecord(side)))
        registerCardSideUndo(side, before, QStringLiteral("Background"));
    if (page && sett_tab->indexOf(page) >= 0)
        sett_tab->setCurrentWidget(page);
    if (side < 2)
        textsFollowBackground(side);
}

void TSLWindowController::Card_Bckgrnd_Clicked()
{
    Show_RHS_Properties(nullptr);
    if (Open_Image_Library_Window(QStringLiteral("B")) != 1)
        return;
    setCurrentSideBackground(lib_window_sel_file);
    Update_Card_Graphics();
    if (sett_tab && card_bkgd_tab)
        sett_tab->setCurrentWidget(card_bkgd_tab);
}

void TSLWindowController::Card_Image_Library_Btn()
{
    if (Open_Image_Library_Window(QStringLiteral("B")) == 1)
        setCurrentSideBackground(lib_window_sel_file);
    Update_Card_Graphics();
}
