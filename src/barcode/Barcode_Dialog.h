#pragma once

#include "barcode/BarcodePicture.h"

#include <QDialog>
#include <QFontDialog>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class QAbstractSpinBox;
class QComboBox;
class QLineEdit;
class QWidget;
class TSLGraphic;

namespace Ui {
class Barcode_Gen;
}

// The barcode settings dialog. It shows the settings object's values in its controls, keeps them in
// step as the user edits, and previews the picture the generator makes from them. The settings object
// does the generating; the dialog only shows, so pictures made for records never touch these widgets.
// Handlers follow one pattern: controls into the settings, one refresh road, the result back on screen.
class Barcode_Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Barcode_Dialog(QWidget* parent = nullptr);
    ~Barcode_Dialog() override;
    static Barcode_Dialog* defaultInstance();
    static constexpr int typingPauseMs = 300; // typing stopped this long shows in the preview
    bool waitsForTypingPause() const { return typingPause_.isActive(); }

    // Loads the item, previews and runs modally: 1 for OK, 0 for Cancel. Either way Barcode_output_image
    // gets the preview; only OK writes the settings (and a changed data source) into the item.
    int Open_Wnd(TSLGraphic& item);
    // The item's settings into the settings object and the controls, the panels and labels to match.
    void Set_Barcode_Prop_To_Control(const TSLGraphic& item);

    void Liner_Barcode_Opt_Select();
    void two_d_barcode_Opt_Select();

    Ui::Barcode_Gen& form() { return *ui_; }
    QFontDialog* fontPanel() const { return fontPanel_; }

public slots:
    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();
    void Encode_btn();

    // Fonts: the buttons open the font panel, whose choices reach the callbacks.
    void Value_Font_Changed();
    void Header_Font_Changed();
    void Footer_Font_Changed();
    void changeFont(const QFont& font);
    void header_changeFont(const QFont& font);
    void footer_changeFont(const QFont& font);

    // Texts: a one-line field changed, the 2-D text changed.
    void controlTextDidChange(QObject* field);
    void textDidChange(QObject* field);

    void comboBoxSelectionDidChange(QComboBox* box);
    void data_matrix_barcode_size_acc_format();
    void barcodeTypeChanged();

    // Text-and-stepper pairs: the sender is the field or the stepper.
    void Value_Margin_Changed(QObject* sender);
    void Header_Margin_Changed(QObject* sender);
    void Footer_Margin_Changed(QObject* sender);
    void TB_Margin_Changed(QObject* sender);
    void LR_Margin_Changed(QObject* sender);
    void heightChanged(QObject* sender);
    void widthChanged(QObject* sender);
    void pdf_heightChanged(QObject* sender);
    void PDF_Row_Changed(QObject* sender);
    void PDF_Col_Changed(QObject* sender);
    void PDF_EC_Lvl_Changed(QObject* sender);
    void dm_widthChanged(QObject* sender);
    void dm_heightChanged(QObject* sender);
    void dm_modulesizeChanged(QObject* sender);
    void DPI_Value_Changed(QObject* sender);

    void captionChanged();
    void showinTopChanged();
    void hideHeaderChanged();
    void hideFooterChanged();

    void Header_Color_Changed();
    void Set_Font_Clr();

    void QR_Version_Help_Btn();
    void QR_EC_Lvl_Help_Btn();
    void PDF_row_Help_btn();
    void PDF_col_Help_btn();
    void PDF_ec_lvl_Help_btn();
    void DM_format_Help_btn();
    void DM_Encoding_Help_btn();
    void DPI_Help_Label();
    void View_batch_Series_Button();

private:
    void wireControls();
    void wirePairs();
    void fillEntryLists();

    // Controls into the settings object, and the settings object into the controls (signals held).
    void pullControls();
    void pushControls();
    // Both data fields show these values, which become the settings' data.
    void showData(const QString& linear, const QString& twoD);
    // The settings object's preview, labels and enabled states onto the screen.
    void showPreview();

    // Refresh roads.
    void fullRefresh();
    // A value being typed is previewed once typing pauses; OK, Cancel and Encode take it at once.
    void previewAfterPause();
    void finishTyping();
    void reframe();
    void relay();
    void redraw();
    void rewidth();

    void openFontPanel(const QFont& font, void (Barcode_Dialog::*callback)(const QFont&));
    bool twoD() const;
    // The controls only a linear symbology uses, hidden for a 2-D one.
    QList<QWidget*> linearOnlyControls() const;
    // Keeps a text field and its stepper equal: the one that changed gives its value to the other.
    void syncPair(QObject* sender, QLineEdit* field, QAbstractSpinBox* stepper);
    void dataSourceChosen();
    // Lists the series, or the bound columns (a missing one marked), of the source at this place of the
    // source box, the item's own chosen; false for a source with nothing to list.
    bool listSources(int type);
    void seriesChosen();
    void showHelp(const QString& title, const QString& text);

    std::unique_ptr<Ui::Barcode_Gen> ui_;
    QPointer<QFontDialog> fontPanel_;
    QWidget* dpiTab_ = nullptr; // the resolution tab, out of the tab view while a linear symbology is chosen
    TSLGraphic* pass_barcode_control = nullptr; // the item being edited, during Open_Wnd only
    // The data source chosen in the dialog, written into the item on OK only.
    struct Binding {
        int type = 0;
        QString seriesName;
        int seriesIndex = 0;
        int column = 0;
    };
    std::optional<Binding> binding_;
    QTimer typingPause_;
    bool loading_ = false;
    // The value each data field was given last and the text it showed for it.
    struct Shown {
        QString value;
        QString text;
    };
    Shown shownData_;
    Shown shownData2D_;
};
