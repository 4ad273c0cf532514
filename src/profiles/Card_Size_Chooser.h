#pragma once

#include <QWidget>

class Invitation_Wizard_Host;
class QComboBox;
class QDoubleSpinBox;
class QTableWidget;

// The stock-size chooser of the card size wizard and the template gallery: a size category (plastic
// cards first, then labels), an orientation, the category's sizes, and the chosen width and height in
// millimetres, which the user may also type.
class Card_Size_Chooser : public QWidget {
    Q_OBJECT
public:
    explicit Card_Size_Chooser(QWidget* parent = nullptr);

    void setHost(Invitation_Wizard_Host* host) { host_ = host; }
    // Back to the first category and orientation, with the first size chosen.
    void reset();
    // Rebuilds the size list for the chosen category and chooses its first row.
    void comboBoxSelectionDidChange();
    // Shows the size of the chosen row (row -1 when none).
    void tableViewSelectionDidChange();

    QComboBox* Category_ComboBox = nullptr; // item 0 "PVC Card", item 1 "Name Badge Label"
    QComboBox* Preset_ComboBox = nullptr; // "Horizontal", "Vertical"
    QTableWidget* ColList = nullptr; // one column, identified by "Extension"
    QDoubleSpinBox* width_Stepper = nullptr;
    QDoubleSpinBox* height_Stepper = nullptr;

private:
    Invitation_Wizard_Host* host_ = nullptr;
};
