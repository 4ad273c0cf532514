// The inspector's pages, the card page's write-back of the controls this window has so far, background
// pictures of the sides, redrawing and the switch between the three canvas containers.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLZoomingScrollView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>

QString TSLWindowController::fontValueText(const QFont& font)
{
    const QFontInfo info(font);
    QString name = info.family();
    const QString style = info.styleName();
    if (!style.isEmpty() && style != QLatin1String("Regular") && style != QLatin1String("Book"))
        name += QLatin1Char(' ') + style;
    return QStringLiteral("%1 ( %2 )").arg(name, QString::asprintf("%0.2f", font.pointSizeF()));
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

void TSLWindowController::Show_RHS_Properties(const std::shared_ptr<TSLGraphic>& item)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    selectArrowTool();
    if (!item) {
        Not_Draw_Only_Prop_Change = true;
        if (TSLGraphicView* canvas = currentGraphicView())
            canvas->Clear_Control_Selection();
        Last_Selected_Graphic_.reset();
        Remove_All_Tab_Items();
        for (QWidget* page : { card_setting_tab, card_info_tab, card_size_tab, card_bkgd_tab, card_brdr_tab })
            sett_tab->addTab(page, page->windowTitle());
        sett_tab->setCurrentIndex(0);

        Card_Front_Or_Back = Card_Front_Or_Back != 0 ? 1 : 0;
        Card_Property& side = Card_Front_Or_Back ? Back_card_Prop : Front_card_Prop;
        if (side.Card_Content_font())
            All_Text_font = *side.Card_Content_font();
        if (side.Card_Content_clr().isValid())
            All_Text_clr = side.Card_Content_clr();
        showTextColorInWell();
        All_Text_font_value->setText(fontValueText(All_Text_font));
        All_Text_font_value_COPY = All_Text_font_value->text();
        All_Text_font_COPY = All_Text_font;
        All_Text_clr_COPY = All_Text_clr;
        if (QAbstractButton* row = matrix_card_shape->button(Card_Shape))
            row->setChecked(true);
        card_name->setText(side.Card_Name());

        // Both sides take the front canvas's bounds: the card has one size.
        const QRectF bounds = frontCanvasBounds();
        side.setCard_Location(bounds.topLeft());
        side.setCard_Size(bounds.size());

        if (const int preset = Preset_ComboBox->findText(side.Card_Preset()); preset >= 0)
            Preset_ComboBox->setCurrentIndex(preset);
        if (const int category = Category_ComboBox->findText(side.Card_Category()); category >= 0)
            Category_ComboBox->setCurrentIndex(category);
        Mark_List_New_Selection(side.Card_Cat_index());
        card_prop_set(side.Card_fill_style());
        Not_Draw_Only_Prop_Change = false;
        return;
    }

    if (item == Last_Selected_Graphic_.lock())
        return;
    Last_Selected_Graphic_ = item;
    Remove_All_Tab_Items();
    if (item->ctrl_is_locked) {
        sett_tab->addTab(Lock_tab, Lock_tab->windowTitle());
    } else {
        const QString kind = item->className();
        QList<QWidget*> pages;
        if (kind == QLatin1String("TSLText"))
            pages = { text_edtng_tab, text_prop_tab, datasource_tab };
        else if (kind == QLatin1String("TSLImage"))
            pages = { datasource_tab, image_tab };
        else if (kind == QLatin1String("TSLLine"))
            pages = { line_tab };
        else if (kind == QLatin1String("TSLSignature"))
            pages = { sign_tab };
        else if (kind == QLatin1String("TSLBarcode"))
            pages = { barcode_tab };
        else
            pages = { shape_tab };
        pages << aligmnt_tab;
        for (QWidget* page : pages)
            sett_tab->addTab(page, page->windowTitle());
    }
    sett_tab->setCurrentIndex(0);
}

void TSLWindowController::card_prop_set(const QString& fillStyle)
{
    if (fillStyle == QLatin1String("G"))
        Card_gradient_fill_rd->setChecked(true);
    else if (fillStyle == QLatin1String("H"))
        Card_Style_fill_rd->setChecked(true);
    else if (fillStyle == QLatin1String("I"))
        Card_Image_fill_rd->setChecked(true);
    else
        Card_solid_fill_rd->setChecked(true);
}

void TSLWindowController::Update_Card_Graphics()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    // The fields whose controls the card page has so far; border and fill follow with their controls.
    Card_Property& side = Card_Front_Or_Back ? Back_card_Prop : Front_card_Prop;
    side.setCard_Content_clr(All_Text_clr);
    side.setCard_Content_font(All_Text_font);
    side.setCard_Side(QString::number(Sides_ComboBox->currentIndex() == 0 ? 2 : 1));
    side.setCard_Side_Name(Card_Front_Or_Back == 1 ? QStringLiteral("B") : QStringLiteral("F"));
    side.setCard_Shape(Card_Shape == 0 ? QStringLiteral("R")
            : Card_Shape == 1          ? QStringLiteral("RR")
                                       : QStringLiteral("E"));
    const QString name = Trim_Str(card_name->text());
    side.setCard_Name(name.isEmpty() ? QStringLiteral("Untitled") : name);
    const QRectF bounds = frontCanvasBounds();
    side.setCard_Location(bounds.topLeft());
    side.setCard_Size(bounds.size());
    side.setCard_Preset(Preset_ComboBox->currentText());
    side.setCard_Category(Category_ComboBox->currentText());
    const QList<QTableWidgetSelectionRange> ranges = ColList->selectedRanges();
    const int row = ranges.isEmpty() ? -1 : ranges.first().topRow();
    side.setCard_Sub_Category(row >= 0 ? Get_Item_Text(row) : QString());
    side.setCard_Cat_index(row);
    side.setCard_Create_Mode(QStringLiteral("W"));
    Refresh_Canvas();
}

namespace {

void setBackgroundPicture(Card_Property& side, const QString& path)
{
    if (path.isEmpty())
        return;
    side.setCard_fill_chk(true);
    side.setCard_fill_style(QStringLiteral("I"));
    side.setCard_BG_Image_Path(path);
    side.setCard_BG_Image(QImageReader(path).read()); // none when the file cannot be read
}

} // namespace

void TSLWindowController::set_Front_BG_Image(const QString& path)
{
    if (path.isEmpty())
        return;
    setBackgroundPicture(Front_card_Prop, path);
    Show_RHS_Properties(nullptr);
}

void TSLWindowController::set_Back_BG_Image(const QString& path)
{
    if (path.isEmpty())
        return;
    setBackgroundPicture(Back_card_Prop, path);
    Show_RHS_Properties(nullptr);
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
