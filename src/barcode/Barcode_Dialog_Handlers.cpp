// Reactions of the barcode dialog's controls: each brings the settings object up to date and refreshes
// the preview by the cheapest road that shows the change.
#include "barcode/Barcode_Dialog.h"

#include "barcode/BRCBarcode.h"
#include "barcode/Barcode_Gen.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/TSLGraphic.h"
#include "ui_Barcode_Gen.h"

#include <QFontDialog>
#include <QScopeGuard>

#include <algorithm>

namespace {

bool isUpcOrEan(const QString& title)
{
    return title == QLatin1String("UPCE") || title == QLatin1String("UPCA") || title == QLatin1String("EAN-8")
        || title == QLatin1String("EAN-13");
}

} // namespace

// --- Refresh roads ---

void Barcode_Dialog::fullRefresh()
{
    typingPause_.stop();
    pullControls();
    Barcode_Settings().goButtonActionPerformed();
    showPreview();
}

void Barcode_Dialog::previewAfterPause()
{
    typingPause_.start();
}

void Barcode_Dialog::finishTyping()
{
    if (!typingPause_.isActive())
        return;
    typingPause_.stop();
    fullRefresh();
}

void Barcode_Dialog::reframe()
{
    pullControls();
    Barcode_Settings().Get_2d_barcode_from_image();
    showPreview();
}

void Barcode_Dialog::relay()
{
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    if (gen.testBarcode) {
        gen.Set_Barcode_Height(*gen.testBarcode);
        gen.Get_Image_From_Barcode(*gen.testBarcode);
    }
    showPreview();
}

void Barcode_Dialog::redraw()
{
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    if (gen.testBarcode)
        gen.Get_Image_From_Barcode(*gen.testBarcode);
    showPreview();
}

void Barcode_Dialog::rewidth()
{
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    if (BRCBarcode* barcode = gen.testBarcode.get()) {
        barcode->setBarWidth(static_cast<float>(float(ui_->widthStepper->value()) / 1000.0f * 72.0));
        barcode->calculateWidth();
        barcode->setWidth(gen.Set_Linear_Barcode_Width(*barcode));
        gen.Get_Image_From_Barcode(*barcode);
    }
    showPreview();
}

// --- Fonts ---

void Barcode_Dialog::openFontPanel(const QFont& font, void (Barcode_Dialog::*callback)(const QFont&))
{
    if (!fontPanel_) {
        fontPanel_ = new QFontDialog(this);
        fontPanel_->setOption(QFontDialog::NoButtons);
    }
    fontPanel_->disconnect(this);
    fontPanel_->setCurrentFont(font);
    connect(fontPanel_, &QFontDialog::currentFontChanged, this, callback);
    fontPanel_->show();
    fontPanel_->raise();
}

void Barcode_Dialog::Value_Font_Changed()
{
    openFontPanel(Barcode_Settings().value_font, &Barcode_Dialog::changeFont);
}

void Barcode_Dialog::Header_Font_Changed()
{
    openFontPanel(Barcode_Settings().header_font, &Barcode_Dialog::header_changeFont);
}

void Barcode_Dialog::Footer_Font_Changed()
{
    openFontPanel(Barcode_Settings().footer_font, &Barcode_Dialog::footer_changeFont);
}

void Barcode_Dialog::changeFont(const QFont& font)
{
    Barcode_Gen& gen = Barcode_Settings();
    gen.value_font = font;
    if (twoD())
        return reframe();
    if (gen.testBarcode)
        gen.testBarcode->setCaptionFontSize(float(font.pointSizeF()));
    relay();
}

void Barcode_Dialog::header_changeFont(const QFont& font)
{
    Barcode_Gen& gen = Barcode_Settings();
    gen.header_font = font;
    if (twoD()) {
        gen.setHeaderFontSize(float(font.pointSizeF()));
        return reframe();
    }
    if (gen.testBarcode)
        gen.testBarcode->setHeaderFontSize(float(font.pointSizeF()));
    relay();
}

void Barcode_Dialog::footer_changeFont(const QFont& font)
{
    Barcode_Gen& gen = Barcode_Settings();
    gen.footer_font = font;
    if (twoD()) {
        gen.setFooterFontSize(float(font.pointSizeF()));
        return reframe();
    }
    if (gen.testBarcode)
        gen.testBarcode->setFooterFontSize(float(font.pointSizeF()));
    relay();
}

// --- Texts ---

void Barcode_Dialog::controlTextDidChange(QObject* field)
{
    if (field != ui_->dataText && field != ui_->HeaderText && field != ui_->FooterText && field != ui_->dataText_2D)
        return;
    if (!twoD())
        return previewAfterPause();
    if (field == ui_->dataText_2D)
        return;
    pullControls();
    Barcode_Gen& gen = Barcode_Settings();
    gen.setHeader(gen.HeaderText);
    gen.setFooter(gen.FooterText);
    gen.setHeaderFontSize(float(gen.header_font.pointSizeF()));
    gen.setFooterFontSize(float(gen.footer_font.pointSizeF()));
    reframe();
}

void Barcode_Dialog::textDidChange(QObject* field)
{
    if (field == ui_->dataText_2D)
        previewAfterPause();
}

// --- Choices ---

void Barcode_Dialog::comboBoxSelectionDidChange(QComboBox* box)
{
    Barcode_Gen& gen = Barcode_Settings();
    if (box == ui_->DPI_ComboBox) {
        const bool custom = box->currentText() == QLatin1String("Custom");
        ui_->dpi_Stepper->setVisible(custom);
        ui_->dpi_Text->setVisible(custom);
        ui_->dpi_custom_lbl->setVisible(custom);
        pullControls();
        USED_DPI_VALUE = gen.dpiOfChoice();
        // The picture OK hands out is the preview's: it is made again at the new resolution.
        return fullRefresh();
    }
    if (box == ui_->Data_source_type)
        return dataSourceChosen();
    if (box == ui_->Batch_Series)
        return seriesChosen();
    if (twoD()) {
        if (box == ui_->qr_version_ComboBox) {
            QR_Version_Val = std::max(0, box->currentIndex());
            pullControls();
            gen.Check_And_Set_QR_size_Acc_Version(QR_Version_Val);
            pushControls();
        } else if (box == ui_->qr_ec_lvl_ComboBox) {
            QR_EC_Level_Val = std::max(0, box->currentIndex());
        } else if (box == ui_->dm_format_ComboBox) {
            data_matrix_barcode_size_acc_format();
        } else if (box == ui_->align_hdr_combo || box == ui_->align_ftr_combo) {
            return reframe();
        } else if (box != ui_->qr_enc_mode_ComboBox && box != ui_->dm_encoding_ComboBox) {
            return;
        }
        return fullRefresh();
    }
    if (!gen.testBarcode)
        return;
    if (box == ui_->align_hdr_combo || box == ui_->align_ftr_combo || box == ui_->bar_orient_combo)
        return redraw();
    if (box == ui_->bar_align_combo) {
        static const Qt::Alignment alignments[] = { Qt::AlignCenter, Qt::AlignTop | Qt::AlignHCenter,
            Qt::AlignTop | Qt::AlignLeft, Qt::AlignTop | Qt::AlignRight, Qt::AlignLeft | Qt::AlignVCenter,
            Qt::AlignBottom | Qt::AlignHCenter, Qt::AlignBottom | Qt::AlignLeft, Qt::AlignBottom | Qt::AlignRight,
            Qt::AlignRight | Qt::AlignVCenter };
        const int index = box->currentIndex();
        if (index >= 0 && index < int(std::size(alignments)))
            ui_->barcodeImage->setAlignment(alignments[index]);
    }
}

void Barcode_Dialog::data_matrix_barcode_size_acc_format()
{
    const int module = ui_->dm_moduleStepper_2D->value();
    const QString format = ui_->dm_format_ComboBox->currentText();
    if (format == QLatin1String("Auto") || format.isEmpty())
        return;
    const QString rest = format.mid(1);
    const qsizetype x = rest.indexOf(QLatin1Char('X'));
    const int rows = x < 0 ? 0 : Trim_Str(rest.left(x)).toInt();
    const int columns = x < 0 ? 0 : Trim_Str(rest.mid(x + 1)).toInt();
    // Sizes only grow.
    auto grow = [](QLineEdit* field, QSpinBox* stepper, int least) {
        if (stepper->value() >= least)
            return;
        const QSignalBlocker quiet(stepper);
        stepper->setValue(least);
        field->setText(QString::number(stepper->value()));
    };
    grow(ui_->dm_widthText_2D, ui_->dm_widthStepper_2D, columns * module);
    grow(ui_->dm_HeightText_2D, ui_->dm_HeightStepper_2D, rows * module);
}

void Barcode_Dialog::barcodeTypeChanged()
{
    Barcode_Gen& gen = Barcode_Settings();
    const bool wasTwoD = twoD();
    pullControls();
    const QString typed = gen.currentData();
    const QString title = gen.barcodeTypePopup.text();
    if (title == QLatin1String("QR Code") || title == QLatin1String("PDF417") || title == QLatin1String("DataMatrix"))
        two_d_barcode_Opt_Select();
    else
        Liner_Barcode_Opt_Select();
    gen._setLabels();
    // The value typed goes along to the other kind of symbology whenever that can draw it.
    if (twoD() != wasTwoD && gen.Draws_Value(typed))
        showData(twoD() ? gen.dataText : typed, twoD() ? typed : gen.dataText_2D);
    const QString data = twoD() ? ui_->dataText_2D->toPlainText() : ui_->dataText->text();
    if (!twoD()) {
        for (QWidget* control : std::initializer_list<QWidget*> { ui_->HeightStepper, ui_->HeightText,
                 ui_->widthStepper, ui_->widthText, ui_->captionCheckbox, ui_->hideHeaderCheckbox,
                 ui_->hideFooterCheckbox, ui_->FooterText, ui_->val_mar_Text, ui_->hdr_mar_Text, ui_->ftr_mar_Text,
                 ui_->val_mar_Stepper, ui_->hdr_mar_Stepper, ui_->ftr_mar_Stepper, ui_->align_hdr_combo,
                 ui_->align_ftr_combo, ui_->showinTopCheckbox, ui_->kerning_value_Checkbox })
            control->setEnabled(true);
    }
    if (data.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter barcode value"));
        gen.Set_Blank_Image();
        gen.testBarcode.reset();
        showPreview();
        return;
    }
    if (isUpcOrEan(title))
        ui_->kerning_value_Checkbox->setEnabled(false);
    fullRefresh();
}

// --- Data source: the choice is kept here and written into the item on OK ---

void Barcode_Dialog::dataSourceChosen()
{
    const QString type = ui_->Data_source_type->currentText();
    const bool manual = type == QLatin1String("Manual");
    ui_->Batch_Series->setEnabled(!manual);
    ui_->dataText->setReadOnly(!manual);
    ui_->dataText_2D->setReadOnly(!manual);
    if (!binding_)
        binding_ = Binding {};
    if (manual) {
        binding_->type = 0;
        return fullRefresh();
    }
    if (type == QLatin1String("Series")) {
        if (!listSources(1)) {
            Show_MessageBox(QStringLiteral("Please create batch processing series first."));
            return;
        }
        binding_->type = 1;
    } else {
        listSources(2);
        binding_->type = 2;
    }
    fullRefresh();
}

bool Barcode_Dialog::listSources(int type)
{
    CardEditorServices* editor = editorServices();
    const QSignalBlocker quiet(ui_->Batch_Series);
    // The box shows its longest entry whole ("Name (column C)"), whatever the dialog was first shown with; a
    // title as long as a sentence is cut rather than widening the dialog past the screen.
    const auto fit = qScopeGuard([box = ui_->Batch_Series] {
        box->setMinimumWidth(std::min(box->sizeHint().width(), box->fontMetrics().averageCharWidth() * 40));
    });
    ui_->Batch_Series->clear();
    if (type == 1) {
        const QStringList names = editor ? editor->seriesNames() : QStringList();
        ui_->Batch_Series->addItems(names);
        ui_->Batch_Series->setCurrentIndex(-1);
        if (pass_barcode_control && !pass_barcode_control->batch_list_name.isEmpty())
            ui_->Batch_Series->setCurrentIndex(ui_->Batch_Series->findText(pass_barcode_control->batch_list_name));
        return !names.isEmpty();
    }
    if (type == 2) {
        ui_->Batch_Series->addItems(editor ? editor->spreadsheetColumnTitles() : QStringList());
        ui_->Batch_Series->setCurrentIndex(pass_barcode_control ? pass_barcode_control->excel_col_indx : -1);
        return ui_->Batch_Series->count() > 0;
    }
    return false;
}

void Barcode_Dialog::seriesChosen()
{
    const QString name = Trim_Str(ui_->Batch_Series->currentText());
    const int index = ui_->Batch_Series->currentIndex();
    CardEditorServices* editor = editorServices();
    if (name.isEmpty() || !pass_barcode_control)
        return;
    if (!binding_)
        binding_ = Binding {};
    QString first;
    const QString type = ui_->Data_source_type->currentText();
    if (type != QLatin1String("Manual") && type != QLatin1String("Series")) {
        binding_->type = 2;
        binding_->column = index;
        first = editor ? editor->firstValueOfSpreadsheetColumn(index) : QString();
    } else {
        binding_->type = 1;
        binding_->seriesName = name;
        binding_->seriesIndex = index;
        first = editor ? editor->firstValueOfSeries(name) : QString();
    }
    pullControls();
    if (twoD())
        showData(Barcode_Settings().dataText, first);
    else
        showData(first, Barcode_Settings().dataText_2D);
    fullRefresh();
}

void Barcode_Dialog::View_batch_Series_Button()
{
    const QString name = Trim_Str(ui_->Batch_Series->currentText());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select the series."));
        return;
    }
    if (CardEditorServices* editor = editorServices())
        editor->showSeriesValues(name);
}
