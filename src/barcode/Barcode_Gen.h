#pragma once

#include "barcode/BarcodePicture.h"
#include "barcode/Barcode_Controls.h"
#include "barcode/Barcode_Globals.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <memory>

class BRCBarcode;
class Barcode_Vector_Drawing;
class TSLGraphic;

// The one barcode settings object: every value that generation, drawing and encoding read, held as
// plain values so that pictures can be made on any thread, plus the framing state that lets it stand
// in for a barcode when a 2-D picture is framed, and the last 2-D picture. Values are read when they
// are needed, so a picture is always made with the settings loaded or edited last. The settings dialog
// shows and edits these values; the record fill loads an item's settings here before each picture.
//
// Members named after a dialog control hold that control's value: a check box's state and enabled
// state, a field's value and enabled state, a choice's entry list and selection.
class Barcode_Gen {
public:
    // Construction and start values: three "Times New Roman" 10-point fonts, working margins of 0.1,
    // and the item defaults for every value the dialog would show.
    Barcode_Gen();

    // The single instance, made on first use; barcode_gen_def_inst and Barcode_Gen_Var both hold it.
    static Barcode_Gen* defaultInstance();

    // --- Symbology and data ---
    int liner_or_2D_font = 0; // 0 linear symbology, 1 2-D (QR Code, PDF417, DataMatrix)
    Barcode_Choice barcodeTypePopup; // symbology title
    QString dataText; // data of a linear symbol
    QString dataText_2D; // data of a 2-D symbol (several lines allowed)
    QString HeaderText;
    QString FooterText;

    // --- Fonts ---
    QFont value_font; // value text (caption); its point size is the caption font size
    QFont header_font;
    QFont footer_font;

    // --- Colours ---
    QColor barcode_clr; // bars (linear)
    QColor bar_back_clr; // background of a linear picture
    QColor bar_val_clr; // value text (linear)
    QColor bar_hdr_clr; // header text (both roads)
    QColor bar_ftr_clr; // footer text (both roads)

    // --- Value, header and footer switches ---
    Barcode_Check captionCheckbox; // state 1 = value text hidden; disabled = value never shown
    Barcode_Check showinTopCheckbox; // state not 0 = value text above the bars
    Barcode_Check hideHeaderCheckbox; // state 1 = header hidden
    Barcode_Check hideFooterCheckbox; // state 1 = footer hidden
    Barcode_Check kerning_value_Checkbox; // state 1 = a one-group value text is stretched over the width

    // --- Alignments: "Center", "Left" or "Right" ---
    Barcode_Choice align_hdr_combo;
    Barcode_Choice align_ftr_combo;

    // --- Linear bar sizes; a disabled field leaves the symbol's own size ---
    Barcode_Field<float> HeightText; // bar height, dialog unit (centimetres)
    Barcode_Field<float> widthText; // narrow bar width, mils

    // --- Margin fields, dialog unit; the sizing operations turn them into the working margins ---
    Barcode_Field<float> val_mar_Text; // value text to bars
    Barcode_Field<float> hdr_mar_Text; // header to symbol
    Barcode_Field<float> ftr_mar_Text; // footer to what stands above it
    Barcode_Field<float> TB_mar_Text; // top and bottom edges
    Barcode_Field<float> LR_mar_Text; // left and right edges

    // Working margins in points, read by the linear model and the renderer. Written only by the sizing
    // operations, which leave 0 for a hidden element; the readers rely on that.
    float value_margin = 0.1f;
    float header_margin = 0.1f;
    float footer_margin = 0.1f;
    float TB_margin = 0.1f;
    float LR_margin = 0.1f;

    // --- 2-D options ---
    Barcode_Field<int> HeightText_2D; // side of the QR Code picture, pixels kept as points
    int HeightStepper_2D_minimum = 21; // smallest side the chosen QR version allows
    Barcode_Field<int> Pdf_widthText_2D; // width of the PDF417 picture, points
    Barcode_Field<int> pdf_HeightStepper_2D; // height of the PDF417 picture, points
    Barcode_Field<int> pdf_ec_lvl_Stepper; // PDF417 error-correction level
    Barcode_Field<int> pdf_row_Stepper; // shown only: the PDF417 encoder sizes the symbol itself
    Barcode_Field<int> pdf_col_Stepper; // shown only
    Barcode_Field<int> dm_moduleStepper_2D; // DataMatrix module size, points
    Barcode_Field<int> dm_widthStepper_2D; // shown only; grows with the chosen DataMatrix size
    Barcode_Field<int> dm_HeightStepper_2D; // shown only; grows with the chosen DataMatrix size
    Barcode_Choice dm_format_ComboBox; // "Auto" or "C<rows>X<columns>"
    Barcode_Choice dm_encoding_ComboBox; // "Auto", "Ascii", "C40", "Text", "Base256"
    Barcode_Choice qr_version_ComboBox; // its index is QR_Version_Val
    Barcode_Choice qr_ec_lvl_ComboBox; // its index is QR_EC_Level_Val
    Barcode_Choice DPI_ComboBox; // "Auto" 600 dpi, "Custom" dpi_Stepper, else the entry's number
    int dpi_Stepper = 600; // custom resolution in use
    QString dpi_Text = QStringLiteral("600"); // custom resolution as typed

    // --- Preview, shown by the dialog ---
    BarcodePicture barcodeImage; // the preview's current picture
    // The same symbol in points, which the preview draws at the screen's own pixels; none without a picture.
    std::shared_ptr<const Barcode_Vector_Drawing> barcodeDrawing;
    bool barcode_error_label_shown = false; // "no symbol" shown instead of a picture
    bool barcode_too_large = false; // the last symbol has no picture because it would be too large
    bool pdf_frame_too_small = false; // the last PDF417 symbol is taller than its frame, for rows to read
    // Unit labels of the bar size fields and the margin box, set by _setLabels.
    QString barHeightLabel = QStringLiteral("Bar Height (cm):");
    QString barWidthLabel = QStringLiteral("Bar Width (Mils):");
    QString margin_box_title = QStringLiteral("Margins (cm)");

    // --- Symbols of the two generation roads ---
    std::shared_ptr<BRCBarcode> testBarcode; // the preview's linear symbol; none after a 2-D preview
    std::shared_ptr<BRCBarcode> testBarcode_EXP; // the batch road's linear symbol

    // --- The last 2-D symbol picture; empty when the last 2-D encoding made none ---
    BarcodePicture image_2d;

    // The caption flag: NO when the value text cannot be shown or is hidden. Enables or disables
    // showinTopCheckbox to match, except when the value's box itself is disabled.
    bool Get_Print_State();

    // --- Framing state: the questions a barcode answers to the renderer, for a 2-D picture ---
    void setContent(const QString& content) { content_ = content; }
    void setHeader(const QString& header) { header_ = header; }
    void setFooter(const QString& footer) { footer_ = footer; }
    QString caption() const { return content_; } // null until content is set
    QString header() const { return header_.isNull() ? QString(QLatin1String("")) : header_; }
    QString footer() const { return footer_.isNull() ? QString(QLatin1String("")) : footer_; }
    void setHeight(float height) { height_ = height; } // framed size, points
    void setWidth(float width) { width_ = width; }
    float height() const { return height_; }
    float width() const { return width_; }
    void setPrintsCaption(bool on) { printsCaption_ = on; }
    void setPrintsHeader(bool on) { printsHeader_ = on; }
    void setPrintsFooter(bool on) { printsFooter_ = on; }
    bool printsCaption() const { return printsCaption_; }
    bool printsHeader() const { return printsHeader_; }
    bool printsFooter() const { return printsFooter_; }
    void setCaptionHeight(float inches) { captionHeight_ = inches; }
    void setHeaderHeight(float inches) { headerHeight_ = inches; }
    void setFooterHeight(float inches) { footerHeight_ = inches; }
    float captionHeight() const { return captionHeight_; }
    float headerHeight() const { return headerHeight_; }
    float footerHeight() const { return footerHeight_; }
    void setHeaderWidth(float points) { headerWidth_ = points; }
    void setFooterWidth(float points) { footerWidth_ = points; }
    float headerWidth() const { return headerWidth_; }
    float footerWidth() const { return footerWidth_; }
    float caption_fontSize() const { return caption_fontSize_; }
    float header_fontSize() const { return header_fontSize_; }
    float footer_fontSize() const { return footer_fontSize_; }
    // Store the size given, but measure line heights (and header and footer widths) with the settings'
    // fonts: set the header and footer texts first.
    void setCaptionFontSize(float size);
    void setHeaderFontSize(float size);
    void setFooterFontSize(float size);

    // Empties the 2-D picture slot and blanks the preview, which then shows its error label.
    void Set_Blank_Image();

    // The picture re-sampled to dpi dots per inch, keeping its size in points; module edges stay sharp.
    // An invalid picture gives a null picture and "Invalid image" in the log.
    BarcodePicture Increase_DPI(const BarcodePicture& picture, double dpi);

    // Intermediate pictures of the 2-D roads are handed here by name; nothing is written.
    void Save_Barcode_gen_image(const BarcodePicture& picture, const QString& file_name);

    // --- 2-D picture roads: each leaves its picture in image_2d or leaves it empty ---
    // Declared here, defined beside their encoders.
    void Draw_QR_Barcode(const QString& value);
    void Draw_PDF_417_Barcode(const QString& value);
    void Draw_DataMatrix_Barcode(const QString& value);

    // --- Generation (one picture from a symbology title, a value, a header and a footer) ---
    // preview 1 shows the result in the preview; any other value leaves the preview alone. A linear
    // symbology gives its configured symbol (sized with texts and margins); a 2-D one leaves its picture
    // in image_2d and gives none. Reads only the values held here, so it runs on any thread.
    std::shared_ptr<BRCBarcode> Generate_Barcode_Variable(
        char preview, const QString& value, const QString& header, const QString& footer);
    // Validates the data of the current mode and, when it passes, previews it.
    void goButtonActionPerformed();
    // The data of the current mode: the 2-D text or the linear value.
    QString currentData() const;
    // Data must be non-empty; a linear value must also be 7-bit ASCII. With checkImage the preview must
    // hold a valid symbol too. A failure blanks the preview; showMessage adds "Invalid barcode value".
    bool Check_And_Validat_Barcode(bool showMessage, bool checkImage);
    // Whether the chosen symbology draws the value; the preview is not touched.
    bool Draws_Value(const QString& value);

    // --- Sizing: the dialog's lengths become points and the framed size of the picture ---
    void Set_Barcode_Height(BRCBarcode& barcode);
    float Set_Linear_Barcode_Width(BRCBarcode& barcode);
    void Set_2d_Barcode_Height(const BarcodePicture& picture);
    void Set_2d_Barcode_Width(const BarcodePicture& picture);
    // A length typed in the dialog's unit (Measument_Unit_Is) in points.
    static float pointsFromUnit(float value);
    // The 2-D size floor of a QR version (0 automatic): raises the size when it is smaller.
    void Check_And_Set_QR_size_Acc_Version(int version);
    void _setLabels();

    // --- Preview operations ---
    void Get_Image_From_Barcode(BRCBarcode& barcode);
    void Get_Image_From_barcode_image(const BarcodePicture& picture);
    // Frames image_2d again with the current texts, fonts and margins, without encoding again.
    void Get_2d_barcode_from_image();
    void Set_Barcode_On_Panel(
        const BarcodePicture& picture, std::shared_ptr<const Barcode_Vector_Drawing> drawing = nullptr);

    // --- Items: the batch road, and the settings an item keeps ---
    // Loads the item's settings here, as the dialog's load does, and applies the choices that set the
    // shared values (resolution, QR version and level); touches no window.
    void Set_Barcode_Prop_To_Control(const TSLGraphic& item);
    // The item's barcode fields from these settings (the 38 settings an item keeps).
    void Store_Barcode_Prop_In_Item(TSLGraphic& item) const;
    // One finished picture of the value with the current settings; the preview is not touched. None for
    // an empty value or one the symbology cannot encode.
    BarcodePicture Get_Image_From_Val(const QString& value, const QString& header, const QString& footer);
    // The same barcode as rectangles and texts, to be drawn at each output's resolution; none when the
    // value has no symbol.
    std::shared_ptr<const Barcode_Vector_Drawing> Get_Drawing_From_Val(
        const QString& value, const QString& header, const QString& footer);
    // The resolution the DPI choice stands for: "Auto" 600, "Custom" the custom value, else the entry's.
    int dpiOfChoice() const;

private:
    // The value's symbol through make2D (a framed 2-D picture) or makeLinear (a linear symbol); none when
    // the value has no symbol.
    template <typename Make2D, typename MakeLinear, typename Result>
    Result makeForValue(const QString& value, const QString& header, const QString& footer, const Make2D& make2D,
        const MakeLinear& makeLinear, Result none);
    std::shared_ptr<BRCBarcode> generateLinear(
        bool previewing, const QString& title, const QString& value, const QString& header, const QString& footer);
    void generate2D(
        bool previewing, const QString& title, const QString& value, const QString& header, const QString& footer);

    QString content_;
    QString header_;
    QString footer_;
    float height_ = 0.0f;
    float width_ = 0.0f;
    bool printsCaption_ = false;
    bool printsHeader_ = false;
    bool printsFooter_ = false;
    float caption_fontSize_ = 0.0f;
    float header_fontSize_ = 0.0f;
    float footer_fontSize_ = 0.0f;
    float captionHeight_ = 0.0f;
    float headerHeight_ = 0.0f;
    float footerHeight_ = 0.0f;
    float headerWidth_ = 0.0f;
    float footerWidth_ = 0.0f;
};

// A worker's own copy of the settings, set for the time it makes pictures (Barcode_Settings_Scope), so that
// workers making different items' barcodes at once never write into each other's settings.
inline thread_local Barcode_Gen* Barcode_Settings_Of_Thread = nullptr;

// The settings object as the model, the renderer and the picture roads reach it: the thread's own copy
// when it has one, else Barcode_Gen_Var, made on first use when nothing has started it yet.
inline Barcode_Gen& Barcode_Settings()
{
    if (Barcode_Settings_Of_Thread)
        return *Barcode_Settings_Of_Thread;
    return Barcode_Gen_Var ? *Barcode_Gen_Var : *Barcode_Gen::defaultInstance();
}

// Makes a settings object the calling thread's own for the scope's lifetime.
class Barcode_Settings_Scope {
public:
    explicit Barcode_Settings_Scope(Barcode_Gen& settings)
        : previous_(Barcode_Settings_Of_Thread)
    {
        Barcode_Settings_Of_Thread = &settings;
    }
    ~Barcode_Settings_Scope() { Barcode_Settings_Of_Thread = previous_; }
    Barcode_Settings_Scope(const Barcode_Settings_Scope&) = delete;
    Barcode_Settings_Scope& operator=(const Barcode_Settings_Scope&) = delete;

private:
    Barcode_Gen* previous_;
};
