// The two text pages of the inspector (the text box with date and time insertion; font, colour, layout,
// border and fill): filled from a text item, and written back into every selected item of the side being
// edited.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Color_Well.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Stepper_Field.h"
#include "common/Text_Length_Limit.h"
#include "editor/Inspector_Codes.h"
#include "editor/TSLWindowController_Forms.h"
#include "model/TSLText.h"
#include "profiles/Insert_Template.h"
#include "profiles/Profiles_Globals.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextCursor>

namespace {

const QString placeholderText = QStringLiteral("Text here"); // what a new text item says

// Radios and enabled controls of the fill box: "G" gradient, anything else solid.
void showTextFillType(Ui::Inspector_Text_Properties& page, const QString& fillType)
{
    const bool gradient = fillType == QLatin1String("G");
    page.Text_solid_fill_rd->setChecked(!gradient);
    page.Text_gradient_fill_rd->setChecked(gradient);
    SetObjEnabled(page.Text_fill_clr, !gradient);
    for (QWidget* control :
        { static_cast<QWidget*>(page.Text_fill_Grd_1_clr), static_cast<QWidget*>(page.Text_fill_Grd_2_clr),
            static_cast<QWidget*>(page.Text_grad_Stepper), static_cast<QWidget*>(page.Text_grad_Label) })
        SetObjEnabled(control, gradient);
}

QString storedText(const TSLGraphic& item)
{
    return item._Text_contents ? item._Text_contents->string : item.Text_Value;
}

} // namespace

void TSLWindowController::connectTextPage()
{
    Ui::Inspector_Text_Editing& editing = forms_->textEditing;
    Ui::Inspector_Text_Properties& page = forms_->textProperties;
    Text_value_Edit = editing.Text_value_Edit;
    insert_template_btn = editing.insert_template_btn;
    Text_border_style = page.Text_border_style;
    Text_font_value = page.Text_font_value;

    page.Text_bor_Stepper->setRange(0, 100);
    page.Text_bor_Stepper->setDecimals(0);
    page.Text_grad_Stepper->setRange(0, 360);
    page.Text_grad_Stepper->setDecimals(0);
    page.Text_alpha_Stepper->setRange(0, 100);
    page.Text_alpha_Stepper->setDecimals(0);
    page.Text_Kern_Stepper->setRange(-50, 100);
    page.Text_Kern_Stepper->setDecimals(1);
    Text_font_value->setText(fontValueText(Text_font));

    // Each control writes its own value only.
    const auto writes = [this](const char* key) { return [this, key] { Update_Text_Graphics(QLatin1String(key)); }; };
    connect(page.Text_bordr_clr, &Color_Well::colorChanged, this, writes("strokeColor"));
    connect(page.Text_fill_clr, &Color_Well::colorChanged, this, writes("fillColor"));
    connect(page.Text_fill_Grd_1_clr, &Color_Well::colorChanged, this, writes("_fill_Grad_clr1"));
    connect(page.Text_fill_Grd_2_clr, &Color_Well::colorChanged, this, writes("_fill_Grad_clr2"));
    connect(page.Text_clr, &Color_Well::colorChanged, this, writes("textColor"));
    connect(page.Text_bor_Stepper, &Stepper_Field::valueChanged, this, writes("strokeWidth"));
    connect(page.Text_grad_Stepper, &Stepper_Field::valueChanged, this, writes("_fill_grad_angle"));
    connect(page.Text_alpha_Stepper, &Stepper_Field::valueChanged, this, writes("alpha_val"));
    connect(page.Text_Kern_Stepper, &Stepper_Field::valueChanged, this, writes("text_kerning"));
    connect(page.Text_border_chk, &QCheckBox::clicked, this, &TSLWindowController::Text_Border_ChkBox);
    connect(page.Text_fill_chk, &QCheckBox::clicked, this, &TSLWindowController::Text_Fill_Chk_Box);
    connect(page.Text_solid_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Text_Solid_RD_Sel);
    connect(page.Text_gradient_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Text_Gradient_RD_Sel);
    connect(page.Text_font_btn, &QPushButton::clicked, this, &TSLWindowController::Text_Font_Changed);
    for (QComboBox* box : { Text_border_style, page.Text_align_combo, page.Text_case_combo })
        connect(box, &QComboBox::currentIndexChanged, this, [this, box] { comboBoxSelectionDidChange(box); });

    connect(editing.Text_Insert_Date_btn, &QPushButton::clicked, this, &TSLWindowController::Text_Insert_Date);
    connect(editing.Text_Insert_Time_btn, &QPushButton::clicked, this, &TSLWindowController::Text_Insert_Time);
    new Text_Length_Limit(*editing.Text_value_Edit); // first: what follows the box sees its text within the limit
    connect(editing.Text_value_Edit, &QPlainTextEdit::textChanged, this, &TSLWindowController::textDidChange);
    connect(insert_template_btn, &QPushButton::clicked, this, &TSLWindowController::Insert_Template_Button);
}

void TSLWindowController::Text_Border_ChkBox()
{
    Ui::Inspector_Text_Properties& page = forms_->textProperties;
    SetObjEnabled(page.Text_Border_Box, page.Text_border_chk->isChecked());
    Update_Text_Graphics(QStringLiteral("drawingStroke"));
}

void TSLWindowController::Text_Fill_Chk_Box()
{
    Ui::Inspector_Text_Properties& page = forms_->textProperties;
    const bool on = page.Text_fill_chk->isChecked();
    SetObjEnabled(page.Text_Fill_Box, on);
    // Enabling the box enables all it holds; the chosen fill keeps the other one's controls off.
    if (on)
        showTextFillType(page, page.Text_gradient_fill_rd->isChecked() ? QStringLiteral("G") : QStringLiteral("S"));
    Update_Text_Graphics(QStringLiteral("drawingFill"));
}

void TSLWindowController::Text_Solid_RD_Sel()
{
    showTextFillType(forms_->textProperties, QStringLiteral("S"));
    Update_Text_Graphics(QStringLiteral("_fill_type"));
}

void TSLWindowController::Text_Gradient_RD_Sel()
{
    showTextFillType(forms_->textProperties, QStringLiteral("G"));
    Update_Text_Graphics(QStringLiteral("_fill_type"));
}

QVariant TSLWindowController::textPageValue(const QString& key) const
{
    const Ui::Inspector_Text_Properties& page = forms_->textProperties;
    if (key == QLatin1String("drawingStroke"))
        return page.Text_border_chk->isChecked();
    if (key == QLatin1String("strokeColor"))
        return page.Text_bordr_clr->color();
    if (key == QLatin1String("strokeWidth"))
        return double(int(page.Text_bor_Stepper->value()));
    if (key == QLatin1String("_stroke_border_type")) {
        const QString code = borderCodeForIndex(page.Text_border_style->currentIndex());
        return code.isEmpty() ? QVariant() : QVariant(code);
    }
    if (key == QLatin1String("drawingFill"))
        return page.Text_fill_chk->isChecked();
    if (key == QLatin1String("fillColor"))
        return page.Text_fill_clr->color();
    if (key == QLatin1String("_fill_type"))
        return page.Text_gradient_fill_rd->isChecked() ? QStringLiteral("G") : QStringLiteral("S");
    if (key == QLatin1String("_fill_Grad_clr1"))
        return page.Text_fill_Grd_1_clr->color();
    if (key == QLatin1String("_fill_Grad_clr2"))
        return page.Text_fill_Grd_2_clr->color();
    if (key == QLatin1String("_fill_grad_angle"))
        return page.Text_grad_Stepper->value();
    if (key == QLatin1String("textColor"))
        return page.Text_clr->color();
    if (key == QLatin1String("textFont"))
        return Text_font;
    if (key == QLatin1String("alpha_val"))
        return float(page.Text_alpha_Stepper->value() / 100.0);
    if (key == QLatin1String("text_alignmnet"))
        return page.Text_align_combo->currentIndex() >= 0 ? QVariant(page.Text_align_combo->currentIndex())
                                                          : QVariant();
    if (key == QLatin1String("text_transfrom_case"))
        return page.Text_case_combo->currentIndex() >= 0 ? QVariant(page.Text_case_combo->currentIndex()) : QVariant();
    if (key == QLatin1String("text_kerning"))
        return float(page.Text_Kern_Stepper->value());
    return QVariant();
}

void TSLWindowController::Update_Text_Graphics(const QString& key)
{
    writeIntoSelection(key, textPageValue(key));
}

void TSLWindowController::writeTextBoxIntoSelection()
{
    const TSLGraphicList items = itemsForWriteBack();
    // Several items keep their own texts: only a single selected item takes the text box.
    if (items.size() != 1)
        return;
    const TSLGraphicPtr& item = items.front();
    const QString text = forms_->textEditing.Text_value_Edit->toPlainText();
    if (storedText(*item) == text)
        return;
    // A text item records the change for undo; the text of any other kind is plain storage.
    if (auto* textItem = dynamic_cast<TSLText*>(item.get())) {
        textItem->setScriptingContents(text);
        // The box grows with what is typed, so the end of the text is never cut off.
        if (const TSLGraphicView* canvas = currentGraphicView())
            textItem->growToFitText(canvas->bounds());
    } else
        item->Text_contents().string = text;
    Refresh_Canvas();
}

void TSLWindowController::Text_Font_Changed()
{
    // One non-modal panel, shared with the card page: whoever opened it last receives its choices.
    if (!fontPanel) {
        fontPanel = new QFontDialog(this);
        fontPanel->setOption(QFontDialog::NoButtons);
    }
    fontPanel->disconnect(this);
    {
        const QSignalBlocker quiet(fontPanel.data());
        fontPanel->setCurrentFont(fontForPanel(Text_font));
    }
    connect(fontPanel, &QFontDialog::currentFontChanged, this, &TSLWindowController::changeTextFont);
    fontPanel->show();
    fontPanel->raise();
}

void TSLWindowController::changeTextFont(const QFont& font)
{
    Text_font = font;
    Text_font_value->setText(fontValueText(Text_font));
    Update_Text_Graphics(QStringLiteral("textFont"));
}

void TSLWindowController::Text_Insert_Date()
{
    const QString format = Trim_Str(Text_Date_style->currentText());
    if (format.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select Date format."));
        return;
    }
    // The insertion is an edit of the text box: textDidChange keeps the box's rules and writes it back.
    forms_->textEditing.Text_value_Edit->textCursor().insertText(Get_date_Value(format));
}

void TSLWindowController::Text_Insert_Time()
{
    const QString format = Trim_Str(Text_Time_style->currentText());
    if (format.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select Time format."));
        return;
    }
    forms_->textEditing.Text_value_Edit->textCursor().insertText(Get_time_Value(format));
}

void TSLWindowController::textDidChange()
{
    QPlainTextEdit* box = forms_->textEditing.Text_value_Edit;
    const QString typed = box->toPlainText();
    QString text = typed;
    text.remove(placeholderText);
    if (text != typed) {
        const QSignalBlocker quiet(box);
        box->setPlainText(text);
        box->moveCursor(QTextCursor::End);
    }
    writeTextBoxIntoSelection();
}

void TSLWindowController::Insert_Template_Button()
{
    Insert_Template* picker = Insert_Template::defaultInstance();
    picker->title_or_msg = insert_template_btn->text() == QLatin1String("Use Template Title") ? QStringLiteral("T")
                                                                                              : QStringLiteral("M");
    if (picker->Open_Template_Dialog() != 1)
        return;
    {
        const QSignalBlocker quiet(Text_value_Edit);
        Text_value_Edit->setPlainText(Template_Msg_Val);
    }
    writeTextBoxIntoSelection();
    fitSelectedTextOnCard();
}

void TSLWindowController::fitSelectedTextOnCard()
{
    TSLGraphicView* view = currentGraphicView();
    auto* text = dynamic_cast<TSLText*>(view ? view->Selected_Graphic().get() : nullptr);
    if (!text || text->ctrl_is_locked)
        return;
    constexpr double smallestFont = 5;
    const double bottom = view->canvasSize().height();
    const auto overflows = [text, bottom] { return text->bounds().top() + text->naturalSize().height() > bottom; };
    for (QFont font = text->displayedFont(); overflows() && font.pointSizeF() > smallestFont;) {
        font.setPointSizeF(std::max(smallestFont, font.pointSizeF() * 0.9));
        text->setTextFont(font);
    }
    const QRectF box = text->bounds();
    const double height
        = std::max(1.0, std::min(std::max(box.height(), text->naturalSize().height()), bottom - box.top()));
    if (height != box.height())
        text->setBounds(QRectF(box.topLeft(), QSizeF(box.width(), height)));
    if (overflows())
        Show_MessageBox(QStringLiteral("The text is too long for the card even in the smallest font: its end "
                                       "lies below the card's edge. Shorten it or make the box wider."));
}

void TSLWindowController::Show_Text_Properties(const TSLGraphic& item)
{
    const Inspector_Fill_Mute mute;
    Ui::Inspector_Text_Editing& editing = forms_->textEditing;
    Ui::Inspector_Text_Properties& page = forms_->textProperties;

    if (item.control_ID == QLatin1String("PARTY_TITLE")) {
        editing.insert_template_btn->setText(QStringLiteral("Use Template Title"));
        editing.insert_template_btn->show();
    } else if (item.control_ID == QLatin1String("PARTY_MSG")) {
        editing.insert_template_btn->setText(QStringLiteral("Use Template Message"));
        editing.insert_template_btn->show();
    } else {
        editing.insert_template_btn->hide();
    }
    {
        // Showing the text is not an edit of it.
        const QSignalBlocker quiet(editing.Text_value_Edit);
        editing.Text_value_Edit->setPlainText(storedText(item));
        editing.Text_value_Edit->selectAll();
    }
    // Typing is for texts the user writes; a text filled from a series or a spreadsheet is read-only.
    const bool manual = item.data_source_type == 0;
    editing.Text_value_Edit->setReadOnly(!manual);
    if (view_series_btn)
        view_series_btn->setEnabled(!manual);
    if (Batch_Series)
        Batch_Series->setEnabled(!manual);

    page.Text_border_chk->setChecked(item._isDrawingStroke);
    page.Text_fill_chk->setChecked(item._isDrawingFill);
    page.Text_bor_Stepper->setValue(int(item._strokeWidth));
    page.Text_bordr_clr->setColor(item._strokeColor);
    if (const int style = borderIndexForCode(item._stroke_border_type); style >= 0)
        page.Text_border_style->setCurrentIndex(style);
    page.Text_fill_clr->setColor(item._fillColor);
    page.Text_fill_Grd_1_clr->setColor(item._fill_Grad_clr1);
    page.Text_fill_Grd_2_clr->setColor(item._fill_Grad_clr2);
    page.Text_grad_Stepper->setValue(item._fill_grad_angle);
    page.Text_alpha_Stepper->setValue(item.alpha_val * 100.0);
    SetObjEnabled(page.Text_Fill_Box, page.Text_fill_chk->isChecked());
    SetObjEnabled(page.Text_Border_Box, page.Text_border_chk->isChecked());
    showTextFillType(page, item._fill_type);
    page.Text_clr->setColor(item.txt_clr);
    if (item.text_ctrl_font)
        Text_font = *item.text_ctrl_font;
    if (item.text_alignmnet >= 0 && item.text_alignmnet < page.Text_align_combo->count())
        page.Text_align_combo->setCurrentIndex(item.text_alignmnet);
    if (item.text_transfrom_case >= 0 && item.text_transfrom_case < page.Text_case_combo->count())
        page.Text_case_combo->setCurrentIndex(item.text_transfrom_case);
    page.Text_Kern_Stepper->setValue(item.text_kerning);
    page.Text_font_value->setText(fontValueText(Text_font));
}
