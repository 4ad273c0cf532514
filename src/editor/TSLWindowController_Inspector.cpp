// The inspector's dispatcher: which pages show for the card or for an item, filled from the stored values
// while every write-back is muted; redrawing of the current side and the switch between the three canvas
// containers.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLZoomingScrollView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Inspector_Codes.h"
#include "editor/TSLWindowController_Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QSignalBlocker>
#include <QTabWidget>

#include <algorithm>
#include <exception>

QString TSLWindowController::fontValueText(const QFont& font)
{
    const QFontInfo info(font);
    QString name = info.family();
    const QString style = info.styleName();
    if (!style.isEmpty() && style != QLatin1String("Regular") && style != QLatin1String("Book"))
        name += QLatin1Char(' ') + style;
    return QStringLiteral("%1 ( %2 )").arg(name, QString::asprintf("%0.2f", font.pointSizeF()));
}

QFont TSLWindowController::fontForPanel(const QFont& font)
{
    // The panel lists installed families only: a family the system substitutes (a design made elsewhere)
    // would leave it on its first entry, so it is given the family and style actually drawn.
    const QFontInfo info(font);
    QFont drawn = font;
    drawn.setFamily(info.family());
    if (!info.styleName().isEmpty())
        drawn.setStyleName(info.styleName());
    return drawn;
}

void TSLWindowController::Remove_All_Tab_Items()
{
    // Take the list once: the tab view changes while its pages go.
    QList<QWidget*> pages;
    for (int i = 0; i < sett_tab->count(); ++i)
        pages << sett_tab->widget(i);
    for (QWidget* page : pages)
        sett_tab->removeTab(sett_tab->indexOf(page));
}

namespace {

QString shapeLabel(const QString& code)
{
    static const struct {
        const char* code;
        const char* label;
    } labels[] = { { "R", "Rectangle Properties" }, { "C", "Ellipse Properties" },
        { "RR", "Rounded Rectangle Properties" }, { "T", "Triangle Properties" }, { "D", "Diamond Properties" },
        { "S", "Star Properties" }, { "DS", "Double Star Properties" }, { "P", "Polygon Properties" } };
    for (const auto& entry : labels) {
        if (code == QLatin1String(entry.code))
            return QLatin1String(entry.label);
    }
    return QString();
}

void insertPage(QTabWidget* tabs, QWidget* page, int index, const QString& label = QString())
{
    if (!label.isEmpty())
        page->setWindowTitle(label);
    tabs->insertTab(index, page, page->windowTitle());
}

// A text typed on the canvas reaches the text page of the item already shown.
void showTypedText(QPlainTextEdit* box, const TSLGraphic& item)
{
    if (item.className() != QLatin1String("TSLText") || !box)
        return;
    const QString stored = item._Text_contents ? item._Text_contents->string : item.Text_Value;
    if (box->toPlainText() != stored) {
        const QSignalBlocker quiet(box);
        box->setPlainText(stored);
    }
}

} // namespace

void TSLWindowController::Show_RHS_Properties(const std::shared_ptr<TSLGraphic>& item)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    selectArrowTool();
    try {
        if (!item) {
            Inspector_Fill_Mute mute;
            if (TSLGraphicView* canvas = currentGraphicView())
                canvas->Clear_Control_Selection();
            Disable_Standard_Button_For_Card();
            Last_Selected_Graphic_.reset();
            Remove_All_Tab_Items();
            int index = 0;
            // The card's name, sides, stock and size are all on the settings page.
            for (QWidget* page : { card_setting_tab, card_bkgd_tab, card_brdr_tab })
                insertPage(sett_tab, page, index++);
            sett_tab->setCurrentIndex(0);

            Card_Front_Or_Back = Card_Front_Or_Back != 0 ? 1 : 0;
            Card_Property& side = sideRecord(shownSide());
            Show_Card_Properties(side);
            // Both sides take the front canvas's bounds: the card has one size.
            const QRectF bounds = frontCanvasBounds();
            side.setCard_Location(bounds.topLeft());
            side.setCard_Size(bounds.size());
            // The orientation is the card's, whichever side's record was written when it turned; a square
            // card shows the one stored.
            const int preset = bounds.width() != bounds.height() ? (bounds.height() > bounds.width() ? 1 : 0)
                                                                 : Preset_ComboBox->findText(side.Card_Preset());
            if (preset >= 0)
                Preset_ComboBox->setCurrentIndex(preset);
            if (const int category = Category_ComboBox->findText(side.Card_Category()); category >= 0)
                Category_ComboBox->setCurrentIndex(category);
            markSizeListRowOfCard(side.Card_Cat_index());
            card_prop_set(side.Card_fill_style());
            return;
        }

        Enable_Standard_Button_For_Control();
        if (item->ctrl_is_locked)
            Disable_Standard_Button_For_Lock();
        else
            Enable_Standard_Button_For_Unlock();
        // Compared through the weak reference: an item that is gone never matches, so a new item that
        // happens to live where a deleted one did is shown afresh.
        if (item == Last_Selected_Graphic_.lock()) {
            showTypedText(Text_value_Edit, *item);
            return;
        }
        Last_Selected_Graphic_ = item;
        Remove_All_Tab_Items();
        if (Print_object_chk)
            Print_object_chk->setChecked(item->print_object != 0);
        sel_control_name->setText(QStringLiteral("NONE"));

        {
            Inspector_Fill_Mute mute;
            showItemPages(*item);
        }
        if (!item->ctrl_is_locked)
            insertPage(sett_tab, aligmnt_tab, sett_tab->count());
        sett_tab->setCurrentIndex(0);
        sett_tab->update();
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}

void TSLWindowController::followCanvasSelection(TSLGraphicView* canvas)
{
    // The inspector must never show one item while its pages write into another: when the selection
    // moves away from the item shown, the first selected item is shown instead. While the card is shown
    // nothing is written into items; an emptied selection is left to the canvas, which shows the card
    // when the mouse goes up.
    if (Not_Draw_Only_Prop_Change || canvas != currentGraphicView())
        return;
    const TSLGraphicPtr shown = Last_Selected_Graphic();
    const TSLGraphicList selected = canvas->selectedGraphics();
    // The item shown left the side (a script removed it): its pages and commands go with it.
    const TSLGraphicList& side = canvas->graphics();
    if (shown && std::find(side.begin(), side.end(), shown) == side.end()) {
        Show_RHS_Properties(selected.empty() ? nullptr : selected.front());
        return;
    }
    if (!shown || selected.empty() || std::find(selected.begin(), selected.end(), shown) != selected.end())
        return;
    Show_RHS_Properties(selected.front());
}

void TSLWindowController::showItemPages(const TSLGraphic& item)
{
    const bool locked = item.ctrl_is_locked;
    const QString kind = item.className();
    auto showDataSourcePage = [this, &item](const QString& title, bool browse) {
        datasource_tab->setWindowTitle(title);
        if (data_source_title)
            data_source_title->setText(title);
        if (manual_brws_box)
            manual_brws_box->setVisible(browse);
        (void)item;
    };

    if (kind == QLatin1String("TSLText")) {
        sel_control_name->setText(QStringLiteral("T"));
        if (locked) {
            insertPage(sett_tab, Lock_tab, 0, QStringLiteral("Text Properties"));
        } else {
            insertPage(sett_tab, text_edtng_tab, 0);
            insertPage(sett_tab, text_prop_tab, 1);
            showDataSourcePage(QStringLiteral("Text Source"), false);
            insertPage(sett_tab, datasource_tab, 2);
        }
        showItemBinding(item);
        Show_Text_Properties(item);
    } else if (kind == QLatin1String("TSLImage")) {
        sel_control_name->setText(QStringLiteral("I"));
        if (locked) {
            insertPage(sett_tab, Lock_tab, 0, QStringLiteral("Image Properties"));
        } else {
            showDataSourcePage(QStringLiteral("Image Source"), true);
            insertPage(sett_tab, datasource_tab, 0);
            insertPage(sett_tab, image_tab, 1);
        }
        showItemBinding(item);
        Show_Image_Properties(item);
    } else if (kind == QLatin1String("TSLLine")) {
        insertPage(sett_tab, locked ? Lock_tab : line_tab, 0, locked ? QStringLiteral("Line Properties") : QString());
        Show_Line_Properties(item);
    } else if (kind == QLatin1String("TSLSignature")) {
        sel_control_name->setText(item.sign_or_fingureprint);
        sign_tab->setWindowTitle(item.sign_or_fingureprint == QLatin1String("S")
                ? QStringLiteral("Signature Properties")
                : QStringLiteral("FingrePrint Properties"));
        insertPage(
            sett_tab, locked ? Lock_tab : sign_tab, 0, locked ? QStringLiteral("Signature Properties") : QString());
        showItemBinding(item);
        Show_Sign_Properties(item);
    } else if (kind == QLatin1String("TSLBarcode")) {
        // The barcode's settings are edited in its dialog; the page has nothing to fill.
        insertPage(
            sett_tab, locked ? Lock_tab : barcode_tab, 0, locked ? QStringLiteral("Barcode Properties") : QString());
    } else {
        const QString label = shapeLabel(item.Get_shape_type());
        insertPage(sett_tab, locked ? Lock_tab : shape_tab, 0, label);
        Show_Shape_Properties(item);
    }
}

void TSLWindowController::Refresh_Canvas()
{
    if (Card_Value_In_Process)
        return;
    if (TSLGraphicView* canvas = currentGraphicView())
        canvas->update();
}

void TSLWindowController::changeViewController(int index)
{
    QWidget* containers[] = { first_view, second_view, temp_design_view };
    if (index < 0 || index > 2)
        return;
    myTargetView->setCurrentWidget(containers[index]);
}

void TSLWindowController::setZoomFactor(double factor)
{
    if (!(factor > 0))
        return;
    _zoomFactor = factor;
    for (TSLZoomingScrollView* view : { _zoomingScrollView, _zoomingScrollView_BACK, _zoomingScrollView_TEMP })
        view->setFactor(factor);
}
