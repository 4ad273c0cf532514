#include "barcode/Barcode_Dialog.h"

#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCCodabarBarcode.h"
#include "barcode/BRCCode128Barcode.h"
#include "barcode/BRCCode39Barcode.h"
#include "barcode/BRCEAN13Barcode.h"
#include "barcode/BRCEAN8Barcode.h"
#include "barcode/BRCExtendedCode39Barcode.h"
#include "barcode/BRCIndustrialTwoOfFiveBarcode.h"
#include "barcode/BRCInterleavedTwoOfFiveBarcode.h"
#include "barcode/BRCModifiedPlesseyBarcode.h"
#include "barcode/BRCModifiedPlesseyHexBarcode.h"
#include "barcode/BRCPlanetBarcode.h"
#include "barcode/BRCPostnetBarcode.h"
#include "barcode/BRCRoyalMailBarcode.h"
#include "barcode/BRCUPCABarcode.h"
#include "barcode/BRCUPCEBarcode.h"
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/JapanPostBarcode.h"
#include "common/Globals.h"
#include "model/TSLGraphic.h"
#include "platform/UiSeam.h"
#include "ui_Barcode_Gen.h"

#include <QPixmap>
#include <QPushButton>

#include <algorithm>

namespace {

// The linear symbology of a title of the dialog's list; null for the 2-D ones and unknown titles.
std::unique_ptr<BRCBarcode> linearBarcode(const QString& title)
{
    auto code128 = [](int codeSet) {
        auto barcode = std::make_unique<BRCCode128Barcode>();
        barcode->setCodeSet(codeSet);
        return barcode;
    };
    if (title == QLatin1String("Code 39"))
        return std::make_unique<BRCCode39Barcode>();
    if (title == QLatin1String("Extended Code 39"))
        return std::make_unique<BRCExtendedCode39Barcode>();
    if (title == QLatin1String("Interleaved 2 of 5"))
        return std::make_unique<BRCInterleavedTwoOfFiveBarcode>();
    if (title == QLatin1String("UPCA"))
        return std::make_unique<BRCUPCABarcode>();
    if (title == QLatin1String("PostNet"))
        return std::make_unique<BRCPostnetBarcode>();
    if (title == QLatin1String("Modified Plessey"))
        return std::make_unique<BRCModifiedPlesseyBarcode>();
    if (title == QLatin1String("Modified Plessey (Hex)"))
        return std::make_unique<BRCModifiedPlesseyHexBarcode>();
    if (title == QLatin1String("Industrial 2 of 5"))
        return std::make_unique<BRCIndustrialTwoOfFiveBarcode>();
    if (title == QLatin1String("EAN-13"))
        return std::make_unique<BRCEAN13Barcode>();
    if (title == QLatin1String("Code 128"))
        return code128(BRCCode128Barcode::SetChosen);
    if (title == QLatin1String("Code 128 SET A"))
        return code128(BRCCode128Barcode::SetA);
    if (title == QLatin1String("Code 128 SET B"))
        return code128(BRCCode128Barcode::SetB);
    if (title == QLatin1String("Code 128 SET C"))
        return code128(BRCCode128Barcode::SetC);
    if (title == QLatin1String("Codabar"))
        return std::make_unique<BRCCodabarBarcode>();
    if (title == QLatin1String("UPCE"))
        return std::make_unique<BRCUPCEBarcode>();
    if (title == QLatin1String("EAN-8"))
        return std::make_unique<BRCEAN8Barcode>();
    if (title == QLatin1String("Royal Mail Barcode (RM4SCC / CBC)"))
        return std::make_unique<BRCRoyalMailBarcode>();
    if (title == QLatin1String("Planet"))
        return std::make_unique<BRCPlanetBarcode>();
    if (title == QLatin1String("Japan Post Barcode"))
        return std::make_unique<JapanPostBarcode>();
    return nullptr;
}

constexpr double kPointsPerCentimetre = 72.0 / 2.54;
constexpr double kPointsPerMil = 72.0 / 1000.0;

} // namespace

Barcode_Dialog::Barcode_Dialog(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Barcode_Gen>())
{
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Barcode_Gen"));
    ui_->barcodeTypePopup->addItems(Barcode_Type_Titles());
    ui_->align_hdr_combo->addItems(Barcode_Align_Entries());
    ui_->align_ftr_combo->addItems(Barcode_Align_Entries());
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    for (QComboBox* box : { ui_->barcodeTypePopup, ui_->align_hdr_combo, ui_->align_ftr_combo })
        connect(box, &QComboBox::currentIndexChanged, this, &Barcode_Dialog::controlChanged);
    for (QLineEdit* field : { ui_->dataText, ui_->HeaderText, ui_->FooterText })
        connect(field, &QLineEdit::textChanged, this, &Barcode_Dialog::controlChanged);
    connect(ui_->dataText_2D, &QPlainTextEdit::textChanged, this, &Barcode_Dialog::controlChanged);
    for (QCheckBox* box :
        { ui_->hideHeaderCheckbox, ui_->hideFooterCheckbox, ui_->captionCheckbox, ui_->showinTopCheckbox })
        connect(box, &QCheckBox::toggled, this, &Barcode_Dialog::controlChanged);
    for (QDoubleSpinBox* field : { ui_->HeightText, ui_->widthText })
        connect(field, &QDoubleSpinBox::valueChanged, this, &Barcode_Dialog::controlChanged);
}

Barcode_Dialog::~Barcode_Dialog() = default;

Barcode_Dialog* Barcode_Dialog::defaultInstance()
{
    static Barcode_Dialog* const instance = new Barcode_Dialog;
    return instance;
}

int Barcode_Dialog::Open_Wnd(TSLGraphic& item)
{
    const bool muted = Not_Draw_Only_Prop_Change;
    Not_Draw_Only_Prop_Change = true;
    loadItem(item);
    Barcode_Settings().dpi_Text = item.dpi_custom_val;
    settingsToControls();
    Not_Draw_Only_Prop_Change = muted;
    Draw_Preview();

    const int result = platform::ui().runModal(*this) == 1 ? 1 : 0;
    controlsToSettings();
    Barcode_output_image = Draw_Preview();
    if (result == 1)
        Write_Settings_To_Item(item);
    return result;
}

void Barcode_Dialog::Set_Barcode_Prop_To_Control(const TSLGraphic& item)
{
    loadItem(item);
    settingsToControls();
    Measument_Unit_Is = 1;
    last_unit_val = 1;
}

void Barcode_Dialog::loadItem(const TSLGraphic& item)
{
    Barcode_Gen& gen = Barcode_Settings();
    gen.liner_or_2D_font = item.linear_or_2d;
    gen.barcodeTypePopup.select(item.barcode_font_index);
    gen.dataText = item.linear_font_val;
    gen.dataText_2D = item.two_d_font_val;
    gen.HeaderText = item.header_val;
    gen.FooterText = item.footer_val;
    gen.hideHeaderCheckbox.state = item.show_hide_hdr;
    gen.hideFooterCheckbox.state = item.show_hide_ftr;
    gen.captionCheckbox.state = item.show_hide_val;
    gen.showinTopCheckbox.state = item.show_val_on_top;
    gen.align_hdr_combo.select(item.align_hdr_index);
    gen.align_ftr_combo.select(item.align_ftr_index);
    gen.HeightText.value = item.linear_height_val;
    gen.widthText.value = item.linear_width_val;
    gen.HeightText_2D.value = item.qr_size_val;
    gen.qr_version_ComboBox.select(item.qr_version_index);
    gen.qr_ec_lvl_ComboBox.select(item.qr_ec_index);
    gen.pdf_HeightStepper_2D.value = item.pdf_hgt_val;
    gen.Pdf_widthText_2D.value = item.pdf_wdt_val;
    gen.pdf_ec_lvl_Stepper.value = item.pdf_ec_val;
    gen.dm_moduleStepper_2D.value = item.dm_module_val;
    gen.dm_format_ComboBox.select(item.dm_format_index);
    gen.dm_encoding_ComboBox.select(item.dm_encoding_index);
    gen.hdr_mar_Text.value = item.hdr_margin_val;
    gen.ftr_mar_Text.value = item.ftr_margin_val;
    gen.val_mar_Text.value = item.val_margin_val;
    gen.TB_mar_Text.value = item.TB_marging_val;
    gen.LR_mar_Text.value = item.LR_margin_val;
    // An item without a font or colour of its own keeps the settings' current one.
    if (item.value_font_val)
        gen.value_font = *item.value_font_val;
    if (item.header_font_val)
        gen.header_font = *item.header_font_val;
    if (item.footer_font_val)
        gen.footer_font = *item.footer_font_val;
    const struct {
        const QColor& from;
        QColor& to;
    } colours[] = { { item.barcode_hdr_clr_val, gen.bar_hdr_clr }, { item.barcode_ftr_clr_val, gen.bar_ftr_clr },
        { item.barcode_val_clr_val, gen.bar_val_clr }, { item.barcode_back_clr_val, gen.bar_back_clr },
        { item.barcode_clr_val, gen.barcode_clr } };
    for (const auto& colour : colours) {
        if (colour.from.isValid())
            colour.to = colour.from;
    }
    gen.DPI_ComboBox.select(item.dpi_val_index);
}

void Barcode_Dialog::Write_Settings_To_Item(TSLGraphic& item)
{
    const Barcode_Gen& gen = Barcode_Settings();
    item.linear_or_2d = gen.liner_or_2D_font;
    item.barcode_font_index = gen.barcodeTypePopup.index();
    item.linear_font_val = gen.dataText;
    item.two_d_font_val = gen.dataText_2D;
    item.header_val = gen.HeaderText;
    item.footer_val = gen.FooterText;
    item.show_hide_hdr = gen.hideHeaderCheckbox.state;
    item.show_hide_ftr = gen.hideFooterCheckbox.state;
    item.show_hide_val = gen.captionCheckbox.state;
    item.show_val_on_top = gen.showinTopCheckbox.state;
    item.align_hdr_index = gen.align_hdr_combo.index();
    item.align_ftr_index = gen.align_ftr_combo.index();
    item.linear_height_val = gen.HeightText.value;
    item.linear_width_val = gen.widthText.value;
    item.qr_size_val = gen.HeightText_2D.value;
    item.qr_version_index = gen.qr_version_ComboBox.index();
    item.qr_ec_index = gen.qr_ec_lvl_ComboBox.index();
    item.pdf_hgt_val = gen.pdf_HeightStepper_2D.value;
    item.pdf_wdt_val = gen.Pdf_widthText_2D.value;
    item.pdf_ec_val = gen.pdf_ec_lvl_Stepper.value;
    item.dm_module_val = gen.dm_moduleStepper_2D.value;
    item.dm_format_index = gen.dm_format_ComboBox.index();
    item.dm_encoding_index = gen.dm_encoding_ComboBox.index();
    item.hdr_margin_val = gen.hdr_mar_Text.value;
    item.ftr_margin_val = gen.ftr_mar_Text.value;
    item.val_margin_val = gen.val_mar_Text.value;
    item.TB_marging_val = gen.TB_mar_Text.value;
    item.LR_margin_val = gen.LR_mar_Text.value;
    item.value_font_val = gen.value_font;
    item.header_font_val = gen.header_font;
    item.footer_font_val = gen.footer_font;
    item.barcode_hdr_clr_val = gen.bar_hdr_clr;
    item.barcode_ftr_clr_val = gen.bar_ftr_clr;
    item.barcode_val_clr_val = gen.bar_val_clr;
    item.barcode_back_clr_val = gen.bar_back_clr;
    item.barcode_clr_val = gen.barcode_clr;
    item.dpi_val_index = gen.DPI_ComboBox.index();
    item.dpi_custom_val = gen.dpi_Text;
}

void Barcode_Dialog::settingsToControls()
{
    const Barcode_Gen& gen = Barcode_Settings();
    filling_ = true;
    ui_->barcodeTypePopup->setCurrentIndex(gen.barcodeTypePopup.index());
    ui_->dataText->setText(gen.dataText);
    ui_->dataText_2D->setPlainText(gen.dataText_2D);
    ui_->HeaderText->setText(gen.HeaderText);
    ui_->FooterText->setText(gen.FooterText);
    ui_->hideHeaderCheckbox->setChecked(gen.hideHeaderCheckbox.state == 1);
    ui_->hideFooterCheckbox->setChecked(gen.hideFooterCheckbox.state == 1);
    ui_->captionCheckbox->setChecked(gen.captionCheckbox.state == 1);
    ui_->showinTopCheckbox->setChecked(gen.showinTopCheckbox.state != 0);
    ui_->align_hdr_combo->setCurrentIndex(gen.align_hdr_combo.index());
    ui_->align_ftr_combo->setCurrentIndex(gen.align_ftr_combo.index());
    ui_->HeightText->setValue(gen.HeightText.value);
    ui_->widthText->setValue(gen.widthText.value);
    filling_ = false;
}

void Barcode_Dialog::controlsToSettings()
{
    Barcode_Gen& gen = Barcode_Settings();
    gen.barcodeTypePopup.select(ui_->barcodeTypePopup->currentIndex());
    gen.liner_or_2D_font = Barcode_Type_Is_2D(gen.barcodeTypePopup.text()) ? 1 : 0;
    gen.dataText = ui_->dataText->text();
    gen.dataText_2D = ui_->dataText_2D->toPlainText();
    gen.HeaderText = ui_->HeaderText->text();
    gen.FooterText = ui_->FooterText->text();
    gen.hideHeaderCheckbox.state = ui_->hideHeaderCheckbox->isChecked() ? 1 : 0;
    gen.hideFooterCheckbox.state = ui_->hideFooterCheckbox->isChecked() ? 1 : 0;
    gen.captionCheckbox.state = ui_->captionCheckbox->isChecked() ? 1 : 0;
    gen.showinTopCheckbox.state = ui_->showinTopCheckbox->isChecked() ? 1 : 0;
    gen.align_hdr_combo.select(ui_->align_hdr_combo->currentIndex());
    gen.align_ftr_combo.select(ui_->align_ftr_combo->currentIndex());
    gen.HeightText.value = float(ui_->HeightText->value());
    gen.widthText.value = float(ui_->widthText->value());
}

void Barcode_Dialog::controlChanged()
{
    if (filling_ || Not_Draw_Only_Prop_Change)
        return;
    controlsToSettings();
    Draw_Preview();
}

BarcodePicture Barcode_Dialog::Draw_Preview()
{
    Barcode_Gen& gen = Barcode_Settings();
    const QString title = gen.barcodeTypePopup.text();
    BarcodePicture picture;
    if (Barcode_Type_Is_2D(title)) {
        QR_Version_Val = std::max(0, gen.qr_version_ComboBox.index());
        QR_EC_Level_Val = std::max(0, gen.qr_ec_lvl_ComboBox.index());
        Barcode_module_size = std::max(1, gen.dm_moduleStepper_2D.value);
        gen.image_2d = {};
        if (title == QLatin1String("QR Code"))
            gen.Draw_QR_Barcode(gen.dataText_2D);
        else if (title == QLatin1String("PDF417"))
            gen.Draw_PDF_417_Barcode(gen.dataText_2D);
        else
            gen.Draw_DataMatrix_Barcode(gen.dataText_2D);
        picture = gen.image_2d;
    } else if (std::unique_ptr<BRCBarcode> barcode = linearBarcode(title)) {
        const bool caption = gen.captionCheckbox.state != 1;
        if (barcode->initWithContent(gen.dataText, caption) && barcode->isContentValid()) {
            // The generator's order: texts and flags, bar width, font sizes, then the height of the bars
            // plus every shown text with its margin, then the width.
            const bool header = gen.hideHeaderCheckbox.state != 1;
            const bool footer = gen.hideFooterCheckbox.state != 1;
            gen.value_margin = caption ? gen.val_mar_Text.value * float(kPointsPerCentimetre) : 0.0f;
            gen.header_margin = header ? gen.hdr_mar_Text.value * float(kPointsPerCentimetre) : 0.0f;
            gen.footer_margin = footer ? gen.ftr_mar_Text.value * float(kPointsPerCentimetre) : 0.0f;
            gen.TB_margin = gen.TB_mar_Text.value * float(kPointsPerCentimetre);
            gen.LR_margin = gen.LR_mar_Text.value * float(kPointsPerCentimetre);
            barcode->setHeader(gen.HeaderText);
            barcode->setFooter(gen.FooterText);
            barcode->setPrintsHeader(header);
            barcode->setPrintsFooter(footer);
            barcode->setBarWidth(float(std::max(1.0f, gen.widthText.value) * kPointsPerMil));
            barcode->setCaptionFontSize(float(gen.value_font.pointSizeF()));
            barcode->setHeaderFontSize(float(gen.header_font.pointSizeF()));
            barcode->setFooterFontSize(float(gen.footer_font.pointSizeF()));
            float height = float(std::max(0.1f, gen.HeightText.value) * kPointsPerCentimetre);
            if (caption)
                height += barcode->captionHeight() * 72.0f + gen.value_margin;
            if (header)
                height += barcode->headerHeight() * 72.0f + gen.header_margin;
            if (footer)
                height += barcode->footerHeight() * 72.0f + gen.footer_margin;
            barcode->setHeight(height + 2.0f * gen.TB_margin);
            barcode->calculateWidth();
            picture = imageFromBarcode(*barcode);
        }
    }
    gen.barcodeImage = picture;
    gen.barcode_error_label_shown = picture.isNull();
    if (picture.isNull()) {
        ui_->barcodeImage->setPixmap(QPixmap());
        ui_->barcodeImage->setText(tr("No symbol for this value"));
    } else {
        ui_->barcodeImage->setPixmap(QPixmap::fromImage(
            picture.image.scaled(ui_->barcodeImage->minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    return picture;
}
