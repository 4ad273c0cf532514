#pragma once

#include "common/Form_Dialog.h"

namespace Ui {
class Image_Library;
}

// The picture library: a grid of the clip-art of one category of the data folder's "LibraryImage"
// folder (mode "C"), or of the card backgrounds of its "Background" folder (any other mode), from which
// the user picks one picture.
class Image_Library : public Form_Dialog<Ui::Image_Library> {
    Q_OBJECT
public:
    static Image_Library* defaultInstance()
    {
        static Image_Library* const instance = new Image_Library();
        return instance;
    }

    // Fills the window for the mode in control_or_BG and runs it modally: 1 OK (the path in
    // selected_image), 0 Cancel.
    int Open_Library_Window();

    QString control_or_BG = QStringLiteral("C");
    // The chosen picture; kept from one opening to the next until Cancel.
    QString selected_image;

public slots:
    void OK_Clicked();
    void Cancel_Clicked();
    void comboBoxSelectionDidChange();

private:
    explicit Image_Library(QWidget* parent = nullptr);
    void Fill_Combobox();
    void Load_and_fill_backgrounds();
    // Shows the pictures of the folder; a folder that is not there leaves the grid as it is.
    void showFolder(const QString& folder);
};
