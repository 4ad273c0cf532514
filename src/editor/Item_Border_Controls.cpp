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

QVariant itemBorderValue(const Item_Border_Controls& controls, const QString& key)
{
    if (key == QLatin1String("drawingStroke"))
        return controls.check->isChecked();
    if (key == QLatin1String("strokeColor"))
        return controls.color->color();
    if (key == QLatin1String("strokeWidth"))
        return double(int(controls.width->value()));
    if (key == QLatin1String("_stroke_border_type")) {
        const int style = controls.style->currentIndex();
        return style >= 0 && style < borderCodes().size() ? QVariant(borderCodes()[style]) : QVariant();
    }
    return QVariant();
}
