// The barcode dialog's controls and the settings object kept equal, the preview shown, and the wiring
// of every control to its handler.
#include "barcode/Barcode_Dialog.h"

#include "barcode/BRCBarcodeImage.h"
#include "barcode/Barcode_Gen.h"
#include "common/Number_Text.h"
#include "ui_Barcode_Gen.h"

#include <QIntValidator>

#include <type_traits>

#include <QPixmap>
#include <QScreen>

namespace {

int stateOf(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

void setChecked(QCheckBox* box, const Barcode_Check& check)
{
    const QSignalBlocker quiet(box);
    box->setChecked(check.state != 0);
}

void setIndex(QComboBox* box, const Barcode_Choice& choice)
{
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(choice.index());
}

void setText(QLineEdit* field, const QString& text)
{
    // Rewriting the same text would move the cursor of a field being typed into.
    if (field->text() != text) {
        const QSignalBlocker quiet(field);
        field->setText(text);
    }
}

template <typename Stepper, typename T> void setPair(QLineEdit* field, Stepper* stepper, T value)
{
    {
        const QSignalBlocker quiet(stepper);
        stepper->setValue(value);
    }
    setText(field, Show_Short_Number_Text(double(stepper->value()), 6, field->locale()));
}

QString fontLabel(const QFont& font)
{
    return QStringLiteral("%1 ( %2 )").arg(font.family()).arg(font.pointSizeF(), 0, 'f', 2);
}

} // namespace

bool Barcode_Dialog::twoD() const
{
    return Barcode_Settings().liner_or_2D_font == 1;
}

void Barcode_Dialog::pullControls()
{
    Barcode_Gen& gen = Barcode_Settings();
    gen.barcodeTypePopup.select(ui_->barcodeTypePopup->currentIndex());
    // A field shows a carriage return or a line separator as a line feed: the value stays as loaded until
    // the person edits it.
    const QString linear = ui_->dataText->text();
    gen.dataText = linear == shownData_.text ? shownData_.value : linear;
    const QString twoD = ui_->dataText_2D->toPlainText();
    gen.dataText_2D = twoD == shownData2D_.text ? shownData2D_.value : twoD;
    gen.HeaderText = ui_->HeaderText->text();
    gen.FooterText = ui_->FooterText->text();
    gen.hideHeaderCheckbox.state = stateOf(ui_->hideHeaderCheckbox);
    gen.hideFooterCheckbox.state = stateOf(ui_->hideFooterCheckbox);
    gen.captionCheckbox = { stateOf(ui_->captionCheckbox), ui_->captionCheckbox->isEnabled() };
    gen.showinTopCheckbox.state = stateOf(ui_->showinTopCheckbox);
    gen.kerning_value_Checkbox = { stateOf(ui_->kerning_value_Checkbox), ui_->kerning_value_Checkbox->isEnabled() };
    gen.align_hdr_combo.select(ui_->align_hdr_combo->currentIndex());
    gen.align_ftr_combo.select(ui_->align_ftr_combo->currentIndex());
    gen.HeightText = { float(ui_->HeightStepper->value()), ui_->HeightText->isEnabled() };
    gen.widthText = { float(ui_->widthStepper->value()), ui_->widthText->isEnabled() };
    gen.val_mar_Text.value = float(ui_->val_mar_Stepper->value());
    gen.hdr_mar_Text.value = float(ui_->hdr_mar_Stepper->value());
    gen.ftr_mar_Text.value = float(ui_->ftr_mar_Stepper->value());
    gen.TB_mar_Text.value = float(ui_->TB_mar_Stepper->value());
    gen.LR_mar_Text.value = float(ui_->LR_mar_Stepper->value());
    gen.HeightText_2D.value = ui_->HeightStepper_2D->value();
    gen.Pdf_widthText_2D.value = ui_->Pdf_widthStepper_2D->value();
    gen.pdf_HeightStepper_2D.value = ui_->pdf_HeightStepper_2D->value();
    gen.pdf_ec_lvl_Stepper.value = ui_->pdf_ec_lvl_Stepper->value();
    gen.pdf_row_Stepper.value = ui_->pdf_row_Stepper->value();
    gen.pdf_col_Stepper.value = ui_->pdf_col_Stepper->value();
    gen.dm_moduleStepper_2D.value = ui_->dm_moduleStepper_2D->value();
    gen.dm_widthStepper_2D.value = ui_->dm_widthStepper_2D->value();
    gen.dm_HeightStepper_2D.value = ui_->dm_HeightStepper_2D->value();
    gen.dm_format_ComboBox.select(ui_->dm_format_ComboBox->currentIndex());
    gen.dm_encoding_ComboBox.select(ui_->dm_encoding_ComboBox->currentIndex());
    gen.qr_version_ComboBox.select(ui_->qr_version_ComboBox->currentIndex());
    gen.qr_ec_lvl_ComboBox.select(ui_->qr_ec_lvl_ComboBox->currentIndex());
    gen.DPI_ComboBox.select(ui_->DPI_ComboBox->currentIndex());
    gen.dpi_Stepper = ui_->dpi_Stepper->value();
    gen.dpi_Text = ui_->dpi_Text->text();
    gen.bar_hdr_clr = ui_->bar_hdr_clr->color();
    gen.bar_ftr_clr = ui_->bar_ftr_clr->color();
    gen.bar_val_clr = ui_->bar_val_clr->color();
    gen.bar_back_clr = ui_->bar_back_clr->color();
    gen.barcode_clr = ui_->barcode_clr->color();
}

void Barcode_Dialog::pushControls()
{
    const Barcode_Gen& gen = Barcode_Settings();
    setIndex(ui_->barcodeTypePopup, gen.barcodeTypePopup);
    showData(gen.dataText, gen.dataText_2D);
    setText(ui_->HeaderText, gen.HeaderText);
    setText(ui_->FooterText, gen.FooterText);
    setChecked(ui_->hideHeaderCheckbox, gen.hideHeaderCheckbox);
    setChecked(ui_->hideFooterCheckbox, gen.hideFooterCheckbox);
    setChecked(ui_->captionCheckbox, gen.captionCheckbox);
    setChecked(ui_->showinTopCheckbox, gen.showinTopCheckbox);
    setIndex(ui_->align_hdr_combo, gen.align_hdr_combo);
    setIndex(ui_->align_ftr_combo, gen.align_ftr_combo);
    setPair(ui_->HeightText, ui_->HeightStepper, double(gen.HeightText.value));
    setPair(ui_->widthText, ui_->widthStepper, double(gen.widthText.value));
    setPair(ui_->val_mar_Text, ui_->val_mar_Stepper, double(gen.val_mar_Text.value));
    setPair(ui_->hdr_mar_Text, ui_->hdr_mar_Stepper, double(gen.hdr_mar_Text.value));
    setPair(ui_->ftr_mar_Text, ui_->ftr_mar_Stepper, double(gen.ftr_mar_Text.value));
    setPair(ui_->TB_mar_Text, ui_->TB_mar_Stepper, double(gen.TB_mar_Text.value));
    setPair(ui_->LR_mar_Text, ui_->LR_mar_Stepper, double(gen.LR_mar_Text.value));
    {
        const QSignalBlocker quiet(ui_->HeightStepper_2D);
        ui_->HeightStepper_2D->setMinimum(gen.HeightStepper_2D_minimum);
    }
    setPair(ui_->HeightText_2D, ui_->HeightStepper_2D, gen.HeightText_2D.value);
    setPair(ui_->Pdf_widthText_2D, ui_->Pdf_widthStepper_2D, gen.Pdf_widthText_2D.value);
    setPair(ui_->pdf_HeightText_2D, ui_->pdf_HeightStepper_2D, gen.pdf_HeightStepper_2D.value);
    setPair(ui_->pdf_ec_lvl_Text, ui_->pdf_ec_lvl_Stepper, gen.pdf_ec_lvl_Stepper.value);
    setPair(ui_->pdf_row_Text, ui_->pdf_row_Stepper, gen.pdf_row_Stepper.value);
    setPair(ui_->pdf_col_Text, ui_->pdf_col_Stepper, gen.pdf_col_Stepper.value);
    setPair(ui_->dm_moduleText_2D, ui_->dm_moduleStepper_2D, gen.dm_moduleStepper_2D.value);
    setPair(ui_->dm_widthText_2D, ui_->dm_widthStepper_2D, gen.dm_widthStepper_2D.value);
    setPair(ui_->dm_HeightText_2D, ui_->dm_HeightStepper_2D, gen.dm_HeightStepper_2D.value);
    setIndex(ui_->dm_format_ComboBox, gen.dm_format_ComboBox);
    setIndex(ui_->dm_encoding_ComboBox, gen.dm_encoding_ComboBox);
    setIndex(ui_->qr_version_ComboBox, gen.qr_version_ComboBox);
    setIndex(ui_->qr_ec_lvl_ComboBox, gen.qr_ec_lvl_ComboBox);
    setIndex(ui_->DPI_ComboBox, gen.DPI_ComboBox);
    setPair(ui_->dpi_Text, ui_->dpi_Stepper, gen.dpi_Stepper);
    ui_->bar_hdr_clr->setColor(gen.bar_hdr_clr);
    ui_->bar_ftr_clr->setColor(gen.bar_ftr_clr);
    ui_->bar_val_clr->setColor(gen.bar_val_clr);
    ui_->bar_back_clr->setColor(gen.bar_back_clr);
    ui_->barcode_clr->setColor(gen.barcode_clr);
}

void Barcode_Dialog::showData(const QString& linear, const QString& twoD)
{
    // A field is rewritten only for another value, so typing keeps its cursor.
    if (linear != shownData_.value || ui_->dataText->text() != shownData_.text) {
        setText(ui_->dataText, linear);
        shownData_ = { linear, ui_->dataText->text() };
    }
    if (twoD != shownData2D_.value || ui_->dataText_2D->toPlainText() != shownData2D_.text) {
        if (ui_->dataText_2D->toPlainText() != twoD) {
            const QSignalBlocker quiet(ui_->dataText_2D);
            ui_->dataText_2D->setPlainText(twoD);
        }
        shownData2D_ = { twoD, ui_->dataText_2D->toPlainText() };
    }
    Barcode_Settings().dataText = linear;
    Barcode_Settings().dataText_2D = twoD;
}

void Barcode_Dialog::showPreview()
{
    const Barcode_Gen& gen = Barcode_Settings();
    ui_->value_font_value->setText(fontLabel(gen.value_font));
    ui_->header_font_value->setText(fontLabel(gen.header_font));
    ui_->footer_font_value->setText(fontLabel(gen.footer_font));
    ui_->barHeightLabel->setText(gen.barHeightLabel);
    ui_->barWidthLabel->setText(gen.barWidthLabel);
    ui_->margin_box->setTitle(gen.margin_box_title);
    ui_->showinTopCheckbox->setEnabled(gen.showinTopCheckbox.enabled);
    {
        const QSignalBlocker quiet(ui_->HeightStepper_2D);
        ui_->HeightStepper_2D->setMinimum(gen.HeightStepper_2D_minimum);
    }
    // A PDF417 symbol is still shown when it has grown beyond its frame.
    const bool tooSmall = !gen.barcode_error_label_shown && gen.pdf_frame_too_small && twoD()
        && gen.barcodeTypePopup.text() == QLatin1String("PDF417");
    ui_->barcode_error_label->setText(gen.barcode_too_large
            ? QStringLiteral("The barcode picture would be too large: choose a smaller size or a lower resolution.")
            : tooSmall ? QStringLiteral("The frame is too small for this value: the rows are drawn three modules "
                                        "high, so the symbol is taller than the frame. Make the frame wider or "
                                        "taller.")
                       : QStringLiteral("This value has no barcode in the chosen symbology."));
    ui_->barcode_error_label->setVisible(gen.barcode_error_label_shown || tooSmall);
    if (gen.barcodeImage.isNull()) {
        ui_->barcodeImage->setPixmap(QPixmap());
        return;
    }
    // Shown at its printed size on this screen, drawn at the screen's device pixels so that every module
    // keeps the same whole number of them; the scroll view reaches the parts beyond the view.
    const double dotsPerPoint = logicalDpiX() / 72.0;
    const qreal ratio = devicePixelRatioF();
    const QImage shown = gen.barcodeDrawing ? screenImageOfDrawing(*gen.barcodeDrawing, dotsPerPoint, ratio) : QImage();
    ui_->barcodeImage->setPixmap(QPixmap::fromImage(shown));
}

void Barcode_Dialog::wireControls()
{
    connect(ui_->OK_btn, &QPushButton::clicked, this, &Barcode_Dialog::OK_Btn_Clicked);
    connect(ui_->Cancel_btn, &QPushButton::clicked, this, &Barcode_Dialog::Cancel_Btn_Clicked);
    connect(ui_->encode_btn, &QPushButton::clicked, this, &Barcode_Dialog::Encode_btn);
    connect(ui_->val_font_btn, &QPushButton::clicked, this, &Barcode_Dialog::Value_Font_Changed);
    connect(ui_->hdr_font_btn, &QPushButton::clicked, this, &Barcode_Dialog::Header_Font_Changed);
    connect(ui_->ftr_font_btn, &QPushButton::clicked, this, &Barcode_Dialog::Footer_Font_Changed);

    for (QLineEdit* field : { ui_->dataText, ui_->HeaderText, ui_->FooterText })
        connect(field, &QLineEdit::textChanged, this, [this, field] { controlTextDidChange(field); });
    connect(ui_->dataText_2D, &QPlainTextEdit::textChanged, this, [this] { textDidChange(ui_->dataText_2D); });

    connect(ui_->barcodeTypePopup, &QComboBox::currentIndexChanged, this, &Barcode_Dialog::barcodeTypeChanged);
    for (QComboBox* box : { ui_->DPI_ComboBox, ui_->Data_source_type, ui_->Batch_Series, ui_->qr_enc_mode_ComboBox,
             ui_->qr_version_ComboBox, ui_->qr_ec_lvl_ComboBox, ui_->dm_format_ComboBox, ui_->dm_encoding_ComboBox,
             ui_->align_hdr_combo, ui_->align_ftr_combo, ui_->bar_orient_combo, ui_->bar_align_combo })
        connect(box, &QComboBox::currentIndexChanged, this, [this, box] { comboBoxSelectionDidChange(box); });

    connect(ui_->captionCheckbox, &QCheckBox::toggled, this, &Barcode_Dialog::captionChanged);
    connect(ui_->showinTopCheckbox, &QCheckBox::toggled, this, &Barcode_Dialog::showinTopChanged);
    connect(ui_->hideHeaderCheckbox, &QCheckBox::toggled, this, &Barcode_Dialog::hideHeaderChanged);
    connect(ui_->hideFooterCheckbox, &QCheckBox::toggled, this, &Barcode_Dialog::hideFooterChanged);
    // The spreading box has no reaction of its own beyond a new picture: drawing reads it.
    connect(ui_->kerning_value_Checkbox, &QCheckBox::toggled, this, &Barcode_Dialog::Set_Font_Clr);

    connect(ui_->bar_hdr_clr, &Color_Well::colorChanged, this, &Barcode_Dialog::Header_Color_Changed);
    connect(ui_->bar_ftr_clr, &Color_Well::colorChanged, this, &Barcode_Dialog::Header_Color_Changed);
    for (Color_Well* well : { ui_->bar_val_clr, ui_->bar_back_clr, ui_->barcode_clr })
        connect(well, &Color_Well::colorChanged, this, &Barcode_Dialog::Set_Font_Clr);

    connect(ui_->qr_version_help_btn, &QPushButton::clicked, this, &Barcode_Dialog::QR_Version_Help_Btn);
    connect(ui_->qr_ec_help_btn, &QPushButton::clicked, this, &Barcode_Dialog::QR_EC_Lvl_Help_Btn);
    connect(ui_->pdf_row_help_btn, &QPushButton::clicked, this, &Barcode_Dialog::PDF_row_Help_btn);
    connect(ui_->pdf_col_help_btn, &QPushButton::clicked, this, &Barcode_Dialog::PDF_col_Help_btn);
    connect(ui_->pdf_ec_help_btn, &QPushButton::clicked, this, &Barcode_Dialog::PDF_ec_lvl_Help_btn);
    connect(ui_->dm_format_help_btn, &QPushButton::clicked, this, &Barcode_Dialog::DM_format_Help_btn);
    connect(ui_->dm_encoding_help_btn, &QPushButton::clicked, this, &Barcode_Dialog::DM_Encoding_Help_btn);
    connect(ui_->dpi_help_btn, &QPushButton::clicked, this, &Barcode_Dialog::DPI_Help_Label);
    connect(ui_->view_series_btn, &QPushButton::clicked, this, &Barcode_Dialog::View_batch_Series_Button);
}

void Barcode_Dialog::wirePairs()
{
    using Handler = void (Barcode_Dialog::*)(QObject*);
    auto wire = [this](QLineEdit* field, auto* stepper, Handler handler) {
        // Only numbers can be typed, as in every other number field: a letter is refused as it is typed.
        if constexpr (std::is_same_v<std::remove_pointer_t<decltype(stepper)>, QSpinBox>) {
            field->setValidator(new QIntValidator(field));
        } else {
            field->setValidator(Make_Number_Validator(field));
        }
        connect(field, &QLineEdit::editingFinished, this, [this, field, handler] { (this->*handler)(field); });
        connect(stepper, &std::remove_pointer_t<decltype(stepper)>::valueChanged, this,
            [this, stepper, handler] { (this->*handler)(stepper); });
    };
    wire(ui_->val_mar_Text, ui_->val_mar_Stepper, &Barcode_Dialog::Value_Margin_Changed);
    wire(ui_->hdr_mar_Text, ui_->hdr_mar_Stepper, &Barcode_Dialog::Header_Margin_Changed);
    wire(ui_->ftr_mar_Text, ui_->ftr_mar_Stepper, &Barcode_Dialog::Footer_Margin_Changed);
    wire(ui_->TB_mar_Text, ui_->TB_mar_Stepper, &Barcode_Dialog::TB_Margin_Changed);
    wire(ui_->LR_mar_Text, ui_->LR_mar_Stepper, &Barcode_Dialog::LR_Margin_Changed);
    wire(ui_->HeightText, ui_->HeightStepper, &Barcode_Dialog::heightChanged);
    wire(ui_->HeightText_2D, ui_->HeightStepper_2D, &Barcode_Dialog::heightChanged);
    wire(ui_->widthText, ui_->widthStepper, &Barcode_Dialog::widthChanged);
    wire(ui_->Pdf_widthText_2D, ui_->Pdf_widthStepper_2D, &Barcode_Dialog::widthChanged);
    wire(ui_->pdf_HeightText_2D, ui_->pdf_HeightStepper_2D, &Barcode_Dialog::pdf_heightChanged);
    wire(ui_->pdf_row_Text, ui_->pdf_row_Stepper, &Barcode_Dialog::PDF_Row_Changed);
    wire(ui_->pdf_col_Text, ui_->pdf_col_Stepper, &Barcode_Dialog::PDF_Col_Changed);
    wire(ui_->pdf_ec_lvl_Text, ui_->pdf_ec_lvl_Stepper, &Barcode_Dialog::PDF_EC_Lvl_Changed);
    wire(ui_->dm_widthText_2D, ui_->dm_widthStepper_2D, &Barcode_Dialog::dm_widthChanged);
    wire(ui_->dm_HeightText_2D, ui_->dm_HeightStepper_2D, &Barcode_Dialog::dm_heightChanged);
    wire(ui_->dm_moduleText_2D, ui_->dm_moduleStepper_2D, &Barcode_Dialog::dm_modulesizeChanged);
    wire(ui_->dpi_Text, ui_->dpi_Stepper, &Barcode_Dialog::DPI_Value_Changed);
}
