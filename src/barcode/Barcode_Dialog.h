#pragma once

#include "barcode/BarcodePicture.h"

#include <QDialog>

#include <memory>

class TSLGraphic;

namespace Ui {
class Barcode_Gen;
}

// The barcode settings dialog: shows a barcode item's settings from the settings object, lets the user
// change the symbology, value, header, footer, value text and bar size, and previews the picture. The
// settings it does not show (fonts, colours, margins, 2-D options, resolution) pass through unchanged.
class Barcode_Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Barcode_Dialog(QWidget* parent = nullptr);
    ~Barcode_Dialog() override;
    static Barcode_Dialog* defaultInstance();

    // Fills the dialog from the item, previews and runs it modally: 1 for OK, 0 for Cancel. Either way
    // Barcode_output_image gets the preview; only OK writes the dialog's settings into the item.
    int Open_Wnd(TSLGraphic& item);
    // The item's settings (all but the custom resolution text) into the settings object and the controls;
    // the unit becomes centimetres.
    void Set_Barcode_Prop_To_Control(const TSLGraphic& item);
    // The settings object's values into the item's barcode fields (picture, data and binding excepted).
    static void Write_Settings_To_Item(TSLGraphic& item);

    // The preview of the current settings; null when the value cannot be drawn in the symbology.
    BarcodePicture Draw_Preview();

    Ui::Barcode_Gen& form() { return *ui_; }

private:
    void loadItem(const TSLGraphic& item);
    void settingsToControls();
    void controlsToSettings();
    void controlChanged();

    std::unique_ptr<Ui::Barcode_Gen> ui_;
    bool filling_ = false;
};
