// How the item pages write: one control changes one keyed value, which goes into every selected item of the
// side being edited through the items' observed setters. Nothing else of an item is touched, so several
// selected items never take each other's values, and a change on the front is one undoable step.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Globals.h"
#include "editor/Inspector_Codes.h"

#include <QCheckBox>
#include <QTabWidget>

void TSLWindowController::writeIntoSelection(const QString& key, const QVariant& value)
{
    writeIntoSelection(QVariantMap { { key, value } });
}

void TSLWindowController::writeIntoSelection(const QVariantMap& values)
{
    const TSLGraphicList items = itemsForWriteBack();
    if (items.empty())
        return;
    for (const TSLGraphicPtr& item : items) {
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            // No value: the control shows nothing the item could store (a pop-up without a choice).
            if (it.value().isValid())
                item->setValueForKey(it.key(), it.value());
        }
    }
    Refresh_Canvas();
}

void TSLWindowController::followScriptedChange()
{
    refreshShownItemPages();
    validateMainMenu();
}

void TSLWindowController::refreshShownItemPages()
{
    // After an undo or redo the pages show the item's values again; the pages themselves stay.
    const TSLGraphicPtr item = Last_Selected_Graphic();
    if (!item || sett_tab->indexOf(card_setting_tab) >= 0)
        return;
    const Inspector_Fill_Mute mute;
    const QString kind = item->className();
    if (kind == QLatin1String("TSLText"))
        Show_Text_Properties(*item);
    else if (kind == QLatin1String("TSLImage"))
        Show_Image_Properties(*item);
    else if (kind == QLatin1String("TSLLine"))
        Show_Line_Properties(*item);
    else if (kind == QLatin1String("TSLSignature"))
        Show_Sign_Properties(*item);
    else if (kind != QLatin1String("TSLBarcode"))
        Show_Shape_Properties(*item);
    if (Print_object_chk)
        Print_object_chk->setChecked(item->print_object != 0);
}
