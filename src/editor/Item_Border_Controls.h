#pragma once

#include <QVariant>

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
// The value the controls give for one border key ("drawingStroke", "strokeColor", "strokeWidth" in whole
// points, "_stroke_border_type"); none for another key or a pop-up index outside the five codes, which must
// leave the item's value as it is.
QVariant itemBorderValue(const Item_Border_Controls& controls, const QString& key);
