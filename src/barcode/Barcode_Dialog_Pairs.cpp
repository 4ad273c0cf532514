// The barcode dialog's text-and-stepper pairs, check boxes, colour wells and help buttons.
#include "barcode/Barcode_Dialog.h"

#include "barcode/BRCBarcode.h"
#include "barcode/Barcode_Gen.h"
#include "common/Globals.h"
#include "common/Number_Text.h"
#include "ui_Barcode_Gen.h"

void Barcode_Dialog::syncPair(QObject* sender, QLineEdit* field, QAbstractSpinBox* stepper)
{
    auto* whole = qobject_cast<QSpinBox*>(stepper);
    auto* fraction = qobject_cast<QDoubleSpinBox*>(stepper);
    if (sender != stepper) {
        // The stepper takes what was typed (within its range); the field then shows what was taken.
        const QSignalBlocker quiet(stepper);
        if (whole)
            whole->setValue(field->text().trimmed().toInt());
        else if (fraction) {
            const Number_Reading typed = Read_Number_Text(field->text(), field->locale(), Number_Unit::None);
            if (typed.value)
                fraction->setValue(*typed.value);
            field->setToolTip(typed.refusal);
        }
    }
    const QString shown = whole ? QString::number(whole->value())
                                : Show_Short_Number_Text(fraction ? fraction->value() : 0.0, 6, field->locale());
    if (field->text() != shown) {
        const QSignalBlocker quiet(field);
        field->setText(shown);
    }
}

void Barcode_Dialog::Value_Margin_Changed(QObject* sender)
{
    syncPair(sender, ui_->val_mar_Text, ui_->val_mar_Stepper);
    if (!twoD())
        relay();
}

void Barcode_Dialog::Header_Margin_Changed(QObject* sender)
{
    syncPair(sender, ui_->hdr_mar_Text, ui_->hdr_mar_Stepper);
    twoD() ? reframe() : relay();
}

void Barcode_Dialog::Footer_Margin_Changed(QObject* sender)
{
    syncPair(sender, ui_->ftr_mar_Text, ui_->ftr_mar_Stepper);
    twoD() ? reframe() : relay();
}

void Barcode_Dialog::TB_Margin_Changed(QObject* sender)
{
    syncPair(sender, ui_->TB_mar_Text, ui_->TB_mar_Stepper);
    twoD() ? reframe() : relay();
}

void Barcode_Dialog::LR_Margin_Changed(QObject* sender)
{
    syncPair(sender, ui_->LR_mar_Text, ui_->LR_mar_Stepper);
    twoD() ? reframe() : rewidth();
}

void Barcode_Dialog::heightChanged(QObject* sender)
{
    if (sender == ui_->HeightText_2D || sender == ui_->HeightStepper_2D) {
        syncPair(sender, ui_->HeightText_2D, ui_->HeightStepper_2D);
        if (twoD())
            fullRefresh();
        return;
    }
    syncPair(sender, ui_->HeightText, ui_->HeightStepper);
    if (!twoD())
        relay();
}

void Barcode_Dialog::widthChanged(QObject* sender)
{
    if (sender == ui_->Pdf_widthText_2D || sender == ui_->Pdf_widthStepper_2D) {
        syncPair(sender, ui_->Pdf_widthText_2D, ui_->Pdf_widthStepper_2D);
        if (twoD())
            fullRefresh();
        return;
    }
    syncPair(sender, ui_->widthText, ui_->widthStepper);
    if (!twoD())
        rewidth();
}

void Barcode_Dialog::pdf_heightChanged(QObject* sender)
{
    syncPair(sender, ui_->pdf_HeightText_2D, ui_->pdf_HeightStepper_2D);
    fullRefresh();
}

void Barcode_Dialog::PDF_Row_Changed(QObject* sender)
{
    syncPair(sender, ui_->pdf_row_Text, ui_->pdf_row_Stepper);
    fullRefresh();
}

void Barcode_Dialog::PDF_Col_Changed(QObject* sender)
{
    syncPair(sender, ui_->pdf_col_Text, ui_->pdf_col_Stepper);
    fullRefresh();
}

void Barcode_Dialog::PDF_EC_Lvl_Changed(QObject* sender)
{
    syncPair(sender, ui_->pdf_ec_lvl_Text, ui_->pdf_ec_lvl_Stepper);
    fullRefresh();
}

void Barcode_Dialog::dm_widthChanged(QObject* sender)
{
    syncPair(sender, ui_->dm_widthText_2D, ui_->dm_widthStepper_2D);
    fullRefresh();
}

void Barcode_Dialog::dm_heightChanged(QObject* sender)
{
    syncPair(sender, ui_->dm_HeightText_2D, ui_->dm_HeightStepper_2D);
    fullRefresh();
}

void Barcode_Dialog::dm_modulesizeChanged(QObject* sender)
{
    syncPair(sender, ui_->dm_moduleText_2D, ui_->dm_moduleStepper_2D);
    if (sender == ui_->dm_moduleStepper_2D)
        data_matrix_barcode_size_acc_format();
    fullRefresh();
}

void Barcode_Dialog::DPI_Value_Changed(QObject* sender)
{
    syncPair(sender, ui_->dpi_Text, ui_->dpi_Stepper);
    // A typed resolution is used at once, as a stepped one is: the picture OK hands out must have it.
    pullControls();
    USED_DPI_VALUE = Barcode_Settings().dpiOfChoice();
    fullRefresh();
}

// --- Check boxes ---

void Barcode_Dialog::captionChanged()
{
    if (twoD())
        return reframe();
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    const bool caption = gen.Get_Print_State();
    if (gen.testBarcode) {
        gen.testBarcode->setPrintsCaption(caption);
        relay();
    }
    showPreview();
}

void Barcode_Dialog::showinTopChanged()
{
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    if (twoD() || !gen.testBarcode)
        return;
    gen.testBarcode->setPrintsCaption(gen.captionCheckbox.state != 1);
    relay();
}

void Barcode_Dialog::hideHeaderChanged()
{
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    const bool shown = gen.hideHeaderCheckbox.state != 1;
    if (twoD()) {
        gen.setPrintsHeader(shown);
        return reframe();
    }
    if (gen.testBarcode) {
        gen.testBarcode->setPrintsHeader(shown);
        relay();
    }
}

void Barcode_Dialog::hideFooterChanged()
{
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    const bool shown = gen.hideFooterCheckbox.state != 1;
    if (twoD()) {
        gen.setPrintsFooter(shown);
        return reframe();
    }
    if (gen.testBarcode) {
        gen.testBarcode->setPrintsFooter(shown);
        relay();
    }
}

// --- Colours: read when drawing ---

void Barcode_Dialog::Header_Color_Changed()
{
    Set_Font_Clr();
}

void Barcode_Dialog::Set_Font_Clr()
{
    twoD() ? reframe() : redraw();
}

// --- Help ---

void Barcode_Dialog::QR_Version_Help_Btn()
{
    showHelp(QStringLiteral("Version :"),
        QStringLiteral("Version is configuration or number of modules (combination of black and white dots)."));
}

void Barcode_Dialog::QR_EC_Lvl_Help_Btn()
{
    showHelp(QStringLiteral("Error correction (EC) level :"),
        QStringLiteral("An error-correction mechanism is built in each symbol so that the symbol can still be "
                       "decoded even if it is damaged."));
}

void Barcode_Dialog::PDF_row_Help_btn()
{
    showHelp(QStringLiteral("PDF Rows :"), QStringLiteral("Number of rows in the PDF barcode."));
}

void Barcode_Dialog::PDF_col_Help_btn()
{
    showHelp(QStringLiteral("PDF Columns :"), QStringLiteral("Number of columns in the PDF barcode."));
}

void Barcode_Dialog::PDF_ec_lvl_Help_btn()
{
    showHelp(QStringLiteral("PDF EC Level :"),
        QStringLiteral("An error-correction mechanism is built in each symbol so that the symbol can still be "
                       "decoded even if it is damaged in PDF barcode."));
}

void Barcode_Dialog::DM_format_Help_btn()
{
    showHelp(QStringLiteral("Preferred Format :"),
        QStringLiteral("Preferred Mode determines the smallest size of the symbol."));
}

void Barcode_Dialog::DM_Encoding_Help_btn()
{
    showHelp(QStringLiteral("Encoding Mode :"),
        QStringLiteral("Encoding Mode is mode of compaction to encode data in the symbol."));
}

void Barcode_Dialog::DPI_Help_Label()
{
    showHelp(QStringLiteral("DPI (Dots Per Inch) :"),
        QStringLiteral("Dots per inch is a measure of the resolution of printers in terms of Print Quality.\n\n"
                       "Bigger the DPI, Better the Print Quality. But File size of image also increases, as you "
                       "choose bigger DPI."));
}
