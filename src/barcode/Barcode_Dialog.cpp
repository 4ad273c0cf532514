#include "barcode/Barcode_Dialog.h"

#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/Barcode_Vector_Drawing.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "common/Screen_Fit.h"
#include "model/CardEditorServices.h"
#include "model/TSLGraphic.h"
#include "platform/UiSeam.h"
#include "ui_Barcode_Gen.h"

#include <QApplication>
#include <QFontDialog>

#include <exception>

Barcode_Dialog::Barcode_Dialog(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Barcode_Gen>())
{
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Barcode_Gen"));
    // The window's own background, as the program's small windows have.
    applyWindowLook(*this);
    keepWindowOnScreen(*this);
    scrollAllAbove(*ui_->barcode_layout, *ui_->button_layout, true);
    Barcode_Gen_Var = Barcode_Gen::defaultInstance();
    fillEntryLists();
    dpiTab_ = ui_->dpi_tab;
    ui_->sett_tab->removeTab(ui_->sett_tab->indexOf(dpiTab_));
    ui_->image_scroll->setFrameShape(QFrame::StyledPanel);
    // A stepper shows only its arrows: the field beside it shows the value.
    // Set on the steppers alone, so the labels around them keep following the window's colours.
    for (QAbstractSpinBox* stepper : ui_->sett_tab->findChildren<QAbstractSpinBox*>())
        stepper->setStyleSheet(QStringLiteral("QAbstractSpinBox { color: transparent; selection-color: transparent;"
                                              " selection-background-color: transparent; }"));
    // The error reads in red on the window's background, light or dark.
    QLabel* error = ui_->barcode_error_label;
    followApplicationPalette(*error, [error] {
        QPalette red = error->palette();
        red.setColor(QPalette::WindowText,
            isDarkPalette(QApplication::palette()) ? QColor(255, 128, 128) : QColor(0xb0, 0x00, 0x20));
        error->setPalette(red);
    });
    ui_->barcode_error_label->hide();
    typingPause_.setSingleShot(true);
    typingPause_.setInterval(typingPauseMs);
    connect(&typingPause_, &QTimer::timeout, this, [this] {
        try {
            fullRefresh();
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromUtf8(e.what()));
        }
    });
    wireControls();
    wirePairs();
    Measument_Unit_Is = 1;
    last_unit_val = 1;
    pushControls();
    Liner_Barcode_Opt_Select();
    Barcode_Settings().goButtonActionPerformed();
    showPreview();
}

Barcode_Dialog::~Barcode_Dialog() = default;

Barcode_Dialog* Barcode_Dialog::defaultInstance()
{
    static Barcode_Dialog* const instance = new Barcode_Dialog;
    return instance;
}

void Barcode_Dialog::fillEntryLists()
{
    ui_->barcodeTypePopup->addItems(Barcode_Type_Titles());
    ui_->align_hdr_combo->addItems(Barcode_Align_Entries());
    ui_->align_ftr_combo->addItems(Barcode_Align_Entries());
    ui_->qr_version_ComboBox->clear();
    ui_->qr_version_ComboBox->addItems(Barcode_QR_Version_Entries());
    ui_->qr_ec_lvl_ComboBox->clear();
    ui_->qr_ec_lvl_ComboBox->addItems(Barcode_QR_EC_Level_Entries());
    ui_->dm_format_ComboBox->addItems(Barcode_DM_Format_Entries());
    ui_->dm_encoding_ComboBox->addItems(Barcode_DM_Encoding_Entries());
    ui_->DPI_ComboBox->addItems(Barcode_DPI_Entries());
}

int Barcode_Dialog::Open_Wnd(TSLGraphic& item)
{
    int result = 0;
    try {
        pass_barcode_control = &item;
        binding_.reset();
        Set_Barcode_Prop_To_Control(item);
        Barcode_Settings().goButtonActionPerformed();
        showPreview();
        result = platform::ui().runModal(*this) == 1 ? 1 : 0;
        finishTyping();
        pullControls();
        Barcode_output_image = Barcode_Settings().barcodeImage;
        if (result == 1) {
            Barcode_Settings().Store_Barcode_Prop_In_Item(item);
            if (binding_) {
                item.Set_Data_source_type(binding_->type);
                if (binding_->type == 1) {
                    item.Set_Batch_List_Name(binding_->seriesName);
                    item.Set_Batch_List_Index(binding_->seriesIndex);
                } else if (binding_->type == 2) {
                    item.Set_Excel_binding_Index(binding_->column);
                }
            }
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    pass_barcode_control = nullptr;
    return result;
}

void Barcode_Dialog::Set_Barcode_Prop_To_Control(const TSLGraphic& item)
{
    const bool muted = Not_Draw_Only_Prop_Change;
    Not_Draw_Only_Prop_Change = true;
    try {
        Barcode_Gen& gen = Barcode_Settings();
        gen.Set_Barcode_Prop_To_Control(item);
        pushControls();
        {
            const QSignalBlocker quiet(ui_->Data_source_type);
            ui_->Data_source_type->setCurrentIndex(qBound(0, item.data_source_type, 2));
        }
        const bool manual = ui_->Data_source_type->currentIndex() == 0;
        listSources(item.data_source_type); // the columns as they are now, a missing one marked
        // An item bound to a column keeps the value shown when it was bound, perhaps of a workbook bound
        // earlier: it shows its column's first value in the workbook bound now, as its card draws it.
        if (CardEditorServices* editor = editorServices(); editor && item.data_source_type == 2) {
            const QString first = editor->firstValueOfSpreadsheetColumn(item.excel_col_indx);
            gen.liner_or_2D_font == 1 ? showData(gen.dataText, first) : showData(first, gen.dataText_2D);
        }
        ui_->Batch_Series->setEnabled(!manual);
        ui_->dataText->setReadOnly(!manual);
        ui_->dataText_2D->setReadOnly(!manual);
        ui_->DPI_ComboBox->setCurrentIndex(gen.DPI_ComboBox.index());
        const bool custom = gen.DPI_ComboBox.text() == QLatin1String("Custom");
        ui_->dpi_Text->setVisible(custom);
        ui_->dpi_Stepper->setVisible(custom);
        ui_->dpi_custom_lbl->setVisible(custom);
        if (gen.liner_or_2D_font == 1)
            two_d_barcode_Opt_Select();
        else
            Liner_Barcode_Opt_Select();
        gen._setLabels();
        showPreview();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    Not_Draw_Only_Prop_Change = muted;
}

void Barcode_Dialog::OK_Btn_Clicked()
{
    finishTyping();
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    // A value the symbology cannot draw is not taken: the item would keep its old picture under new settings.
    if (!gen.Check_And_Validat_Barcode(false, true)) {
        showPreview();
        return;
    }
    Barcode_output_image = gen.barcodeImage;
    // The item draws this at each output's resolution; the picture stays for the design file.
    Barcode_output_drawing = gen.Get_Drawing_From_Val(gen.currentData(), gen.HeaderText, gen.FooterText);
    done(1);
}

void Barcode_Dialog::Cancel_Btn_Clicked()
{
    finishTyping();
    Barcode_output_image = Barcode_Settings().barcodeImage;
    Barcode_output_drawing.reset();
    done(0);
}

void Barcode_Dialog::Encode_btn()
{
    typingPause_.stop();
    try {
        pullControls();
        Barcode_Settings().goButtonActionPerformed();
        showPreview();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

namespace {

void setShown(const QList<QWidget*>& widgets, bool shown)
{
    for (QWidget* widget : widgets)
        widget->setVisible(shown);
}

} // namespace

QList<QWidget*> Barcode_Dialog::linearOnlyControls() const
{
    return { ui_->showinTopCheckbox, ui_->captionCheckbox, ui_->val_mar_Text, ui_->val_mar_Stepper, ui_->val_mar_label,
        ui_->val_font_label, ui_->val_font_btn, ui_->value_font_value, ui_->barcode_clr, ui_->bar_back_clr,
        ui_->bar_val_clr, ui_->val_clr_label, ui_->bar_clr_label, ui_->bar_bk_clr_label, ui_->linear_sett_box,
        ui_->kerning_value_Checkbox };
}

void Barcode_Dialog::Liner_Barcode_Opt_Select()
{
    Barcode_Settings().liner_or_2D_font = 0;
    ui_->dataText->setEnabled(true);
    setShown({ ui_->dataText, ui_->data_lbl }, true);
    setShown({ ui_->dataText_2D, ui_->data_2d_lbl }, false);
    setShown(linearOnlyControls(), true);
    ui_->sett_tab->setTabVisible(ui_->sett_tab->indexOf(ui_->value_tab), true);
    setShown({ ui_->two_d_sett_box, ui_->pdf_2d_sett_box, ui_->dm_2d_sett_box }, false);
    const int dpiIndex = ui_->sett_tab->indexOf(dpiTab_);
    if (dpiIndex >= 0)
        ui_->sett_tab->removeTab(dpiIndex);
    ui_->sett_tab->setCurrentIndex(0);
}

void Barcode_Dialog::two_d_barcode_Opt_Select()
{
    Barcode_Gen& gen = Barcode_Settings();
    gen.liner_or_2D_font = 1;
    ui_->dataText->setEnabled(false);
    setShown({ ui_->dataText, ui_->data_lbl }, false);
    setShown({ ui_->dataText_2D, ui_->data_2d_lbl }, true);
    setShown(linearOnlyControls(), false);
    ui_->sett_tab->setTabVisible(ui_->sett_tab->indexOf(ui_->value_tab), false);
    if (ui_->sett_tab->indexOf(dpiTab_) < 0)
        ui_->sett_tab->insertTab(3, dpiTab_, tr("Resolution"));
    const QString title = gen.barcodeTypePopup.text();
    ui_->two_d_sett_box->setVisible(title == QLatin1String("QR Code"));
    ui_->pdf_2d_sett_box->setVisible(title == QLatin1String("PDF417"));
    ui_->dm_2d_sett_box->setVisible(title == QLatin1String("DataMatrix"));
}

void Barcode_Dialog::showHelp(const QString& title, const QString& text)
{
    Cutom_Msg_Title = title;
    Cutom_Msg_Val = text;
    Long_SMS_Dlg* box = Long_SMS_Dlg::defaultInstance();
    box->title_val = QString();
    box->Open_Long_sms_Dialog();
}
