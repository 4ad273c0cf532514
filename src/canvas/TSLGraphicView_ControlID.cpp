// Items the program places by itself carry a control ID: the invitation texts and the card-holder profile
// fields. The card-holder fill finds them by ID, refills them, or creates them when they are missing.
#include "canvas/TSLGraphicView.h"

#include "common/Common_Functions.h"
#include "model/TSLImage.h"
#include "model/TSLText.h"
#include "platform/Geometry.h"

#include <QFileInfo>

#include <exception>

namespace {

// Only texts and pictures take part; lines, shapes, barcodes and signatures never match, whatever their ID.
bool takesPartInLookup(const TSLGraphic& item)
{
    const QString name = item.className();
    return name == QLatin1String("TSLText") || name == QLatin1String("TSLImage");
}

bool isProfileControlID(const QString& id)
{
    static const QStringList ids = { QStringLiteral("Fup_Name"), QStringLiteral("Fup_Title"),
        QStringLiteral("Fup_Company"), QStringLiteral("Fup_CompanySlogan"), QStringLiteral("Fup_Address"),
        QStringLiteral("Fup_PhoneNO"), QStringLiteral("Fup_FaxNo"), QStringLiteral("Fup_EmailID"),
        QStringLiteral("Fup_Website"), QStringLiteral("Fup_UniqueNo"), QStringLiteral("Fup_Photo") };
    return ids.contains(id);
}

} // namespace

TSLGraphicPtr TSLGraphicView::Selcect_Ctrl_With_ID(const QString& ctrl_ID) const
{
    try {
        for (const TSLGraphicPtr& item : graphics()) {
            if (takesPartInLookup(*item) && item->control_ID == ctrl_ID)
                return item;
        }
    } catch (const std::exception&) {
        // A lookup that fails finds nothing; the caller then creates the item afresh.
    }
    return nullptr;
}

void TSLGraphicView::ReplaceGraphicText(const QString& graphicClass, bool use_rect, const QRectF& bound_rect,
    const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID)
{
    const TSLGraphicPtr found = Selcect_Ctrl_With_ID(ctrl_ID);
    if (!found) {
        createGraphicOfClass(graphicClass, nullptr, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID);
        fitTextOfID(ctrl_ID);
        return;
    }
    // The class asked for decides how the item is refilled; position, size, alignment and font stay.
    if (graphicClass == QLatin1String("TSLText")) {
        if (!ctrl_value.isEmpty()) {
            found->Text_Value = ctrl_value;
            found->_isDrawingFill = false;
            found->_isDrawingStroke = false;
            if (found->_Text_contents)
                found->_Text_contents->string = ctrl_value;
            found->Set_Ctrl_Is_Visible(true);
        }
    } else if (graphicClass == QLatin1String("TSLImage")) {
        auto picture = std::dynamic_pointer_cast<TSLImage>(found);
        if (picture && QFileInfo::exists(ctrl_value)) {
            picture->setFilePath(ctrl_value);
            picture->Set_Ctrl_Is_Visible(true);
        } else {
            Show_NSLog_Message(ctrl_value);
        }
    }
    selectedGraphic_ = found;
    updatePointsRect(found->drawingBounds());
    fitTextOfID(ctrl_ID);
}

void TSLGraphicView::fitTextOfID(const QString& ctrl_ID)
{
    // A placed field shows all of its value: its box grows to the text, within the card.
    if (auto* text = dynamic_cast<TSLText*>(Selcect_Ctrl_With_ID(ctrl_ID).get()); text && !ctrl_ID.isEmpty()) {
        const QRectF before = text->drawingBounds();
        text->growToFitText(bounds());
        updatePointsRect(platform::unionRect(before, text->drawingBounds()));
    }
}

void TSLGraphicView::Hide_all_Text_control_FUP_Control()
{
    const TSLGraphicList& list = graphics();
    for (int i = int(list.size()) - 1; i >= 0; --i) {
        TSLGraphic& item = *list[i];
        if (takesPartInLookup(item) && isProfileControlID(item.control_ID)) {
            item.Set_Ctrl_Is_Visible(false);
            updatePointsRect(item.drawingBounds());
        }
    }
}

void TSLGraphicView::delete_all_control()
{
    const int count = int(graphics().size());
    if (count == 0)
        return;
    std::vector<int> all(count);
    for (int i = 0; i < count; ++i)
        all[i] = i;
    removeGraphicsAtIndexes(all);
}
