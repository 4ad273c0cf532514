#pragma once

#include <QDialog>

class Picture_Grid_Panel;
class QComboBox;
class QLabel;
class QPushButton;

// The picture library: a grid of the clip-art of one category of the data folder's "LibraryImage"
// folder (mode "C"), or of the card backgrounds of its "Background" folder (any other mode), from which
// the user picks one picture.
class Image_Library : public QDialog {
    Q_OBJECT
public:
    static Image_Library* defaultInstance();

    // Fills the window for the mode in control_or_BG and runs it modally: 1 OK (the path in
    // selected_image), 0 Cancel.
    int Open_Library_Window();

    QString control_or_BG = QStringLiteral("C");
    // The chosen picture; kept from one opening to the next until Cancel.
    QString selected_image;

    Picture_Grid_Panel* grid = nullptr;
    QComboBox* cat_cmbo_bx = nullptr; // shown names; each item keeps its folder's stored name as data
    QLabel* category_label = nullptr;
    QPushButton* ok_btn = nullptr;
    QPushButton* cancel_btn = nullptr;

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
