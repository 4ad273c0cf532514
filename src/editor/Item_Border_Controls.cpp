#include "editor/Item_Border_Controls.h"

#include "common/Color_Well.h"
#include "common/Common_Functions.h"
#include "common/Stepper_Field.h"
#include "model/TSLGraphic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QStringList>

#include <cmath>

namespace {

const QStringList& borderCodes()
{
    static const QStringList codes { QStringLiteral("S"), QStringLiteral("DA"), QStringLiteral("DO"),
        QStringLiteral("DD"), QStringLiteral("DDD") };
    return codes;
}

} // namespace

void showItemBorder(const Item_Border_Controls& controls, const TSLGraphic& item)
{
    controls.check->setChecked(item._isDrawingStroke);
    controls.width->setValue(std::trunc(item._strokeWidth));
    controls.color->setColor(item._strokeColor);
    if (const int style = borderCodes().indexOf(item._stroke_border_type); style >= 0)
        controls.style->setCurrentIndex(style);
    SetObjEnabled(controls.box, controls.check->isChecked());
}

void writeItemBorder(const Item_Border_Controls& controls, TSLGraphic& item)
{
    item._isDrawingStroke = controls.check->isChecked();
    if (item._isDrawingStroke) {
        item._strokeColor = controls.color->color();
        item._strokeWidth = int(controls.width->value());
    }
    if (const int style = controls.style->currentIndex(); style >= 0 && style < borderCodes().size())
        item._stroke_border_type = borderCodes()[style];
}
