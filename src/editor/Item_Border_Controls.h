#pragma once

class Color_Well;
class QCheckBox;
class QComboBox;
class QWidget;
class Stepper_Field;
class TSLGraphic;

// The border row that the picture and signature pages share: a check box, the box it enables, a colour
// well, a width stepper and a style pop-up whose entries follow the border codes "S", "DA", "DO", "DD", "DDD".
struct Item_Border_Controls {
    QCheckBox* check;
    QWidget* box;
    Color_Well* color;
    Stepper_Field* width;
    QComboBox* style;
};

// Puts the item's border into the controls: the width truncated to whole points; a code outside the
// five leaves the pop-up as it was.
void showItemBorder(const Item_Border_Controls& controls, const TSLGraphic& item);
// Writes the controls into the item. With the check box off only the flag changes: colour and width keep
// their last values. A pop-up index outside the five codes leaves the item's code.
void writeItemBorder(const Item_Border_Controls& controls, TSLGraphic& item);
