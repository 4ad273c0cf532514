#include "profiles/Profile_Form.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Screen_Pixmap.h"
#include "common/Globals.h"
#include "common/Screen_Fit.h"
#include "model/PictureSource.h"
#include "model/TSLTextStorage.h"
#include "platform/UiSeam.h"
#include "profiles/Profile_Form_Host.h"
#include "profiles/User_Profile_Class.h"
#include "platform/PictureDecode.h"
#include "platform/RegularFile.h"

#include "ui_Profile_Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>

#include <exception>

namespace {

Profile_Form_Host* theHost = nullptr;

const char* const kPrefixes[Profile_Form::kRows] = { "name_", "title_", "comp_name_", "slogan_", "address_", "phone_",
    "fax_", "email_", "website_", "unique_", "image_" };

const QString kExcel = QStringLiteral("Excel");

QString named(int row, const char* control)
{
    return QLatin1String(kPrefixes[row]) + QLatin1String(control);
}

// A field that refuses typing looks it: greyed as well as read-only.
void setTakesTyping(QLineEdit* field, bool on)
{
    field->setReadOnly(!on);
    field->setEnabled(on);
}

} // namespace

void Profile_Form::setHost(Profile_Form_Host* host)
{
    theHost = host;
}

Profile_Form_Host* Profile_Form::host()
{
    return theHost;
}

Show_User_Profile::Show_User_Profile()
    : Profile_Form(true, QStringLiteral("Show_User_Profile"))
{
}

User_profile::User_profile()
    : Profile_Form(false, QStringLiteral("User_profile"))
{
}

Profile_Form::Profile_Form(bool oneSide, const QString& objectName, QWidget* parent)
    : Form_Dialog(parent)
    , oneSide_(oneSide)
{
    setObjectName(objectName);
    scrollAllAbove(*ui_->mainLayout, *ui_->buttons);
    hideOtherFormsControls();
    bindRows();
    for (int row = 0; row < kRows; ++row)
        connectRow(row);
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Profile_Form::OK_Btn_Clicked);
    connect(ui_->cancel_btn, &QPushButton::clicked, this, &Profile_Form::Cancel_Btn_Clicked);
    connect(ui_->reset_btn, &QPushButton::clicked, this, &Profile_Form::Reset_Btn_Clicked);
    connect(ui_->help_btn, &QPushButton::clicked, this, &Profile_Form::Help_Btn_Clicked);
    connect(ui_->preview_btn, &QPushButton::clicked, this, &Profile_Form::Preview_Btn_Clicked);
    connect(ui_->browse_pic_btn, &QPushButton::clicked, this, &Profile_Form::Browse_image_Btn_Clicked);
    connect(ui_->clear_pic_btn, &QPushButton::clicked, this, &Profile_Form::Clear_image_Btn_Clicked);
    connect(ui_->excel_browse_btn, &QPushButton::clicked, this, &Profile_Form::Browse_excel_Btn_Clicked);
    connect(ui_->view_excel_btn, &QPushButton::clicked, this, &Profile_Form::View_Excel_Btn_Clicked);
    connect(ui_->batch_series_btn, &QPushButton::clicked, this, &Profile_Form::Batch_Series_Btn_Clicked);
}

void Profile_Form::hideOtherFormsControls()
{
    QStringList names;
    if (oneSide_)
        names << QStringLiteral("select_side_label") << QStringLiteral("Template_picture");
    else
        names << QStringLiteral("label_edit_label") << QStringLiteral("value_edit_label");
    for (int r = 0; r < kRows; ++r) {
        if (!oneSide_)
            names << named(r, "label_chk") << named(r, "value_chk");
        else
            names << named(r, "side_combo");
    }
    for (const QString& name : names) {
        if (QWidget* control = findChild<QWidget*>(name))
            control->hide();
    }
}

void Profile_Form::bindRows()
{
    // The rows' controls are known by their prefix, so the eleven rows are found by name rather than
    // listed one by one.
    for (int r = 0; r < kRows; ++r) {
        Row& row = rows[r];
        row.ds_combo = findChild<QComboBox*>(named(r, "ds_combo"));
        row.ser_col_cb = findChild<QComboBox*>(named(r, "ser_col_cb"));
        row.view_btn = findChild<QPushButton*>(named(r, "view_btn"));
        if (!oneSide_)
            row.side_combo = findChild<QComboBox*>(named(r, "side_combo"));
        if (r == kPhoto)
            continue;
        row.label = findChild<QLineEdit*>(named(r, "label"));
        row.value = findChild<QLineEdit*>(named(r, "value"));
        setTakesTyping(row.label, !oneSide_);
        if (oneSide_) {
            row.label_chk = findChild<QCheckBox*>(named(r, "label_chk"));
            row.value_chk = findChild<QCheckBox*>(named(r, "value_chk"));
        }
    }
}

void Profile_Form::connectRow(int r)
{
    Row& row = rows[r];
    connect(row.ds_combo, &QComboBox::currentIndexChanged, this, [this, r] { sourceDidChange(r); });
    connect(row.ser_col_cb, &QComboBox::currentIndexChanged, this, [this, r] { secondListDidChange(r); });
    connect(row.view_btn, &QPushButton::clicked, this, [this, r] { View_Data_Series_By_Name(r); });
    if (!row.label_chk)
        return;
    // A ticked box unlocks its field; typing into a field ticks its box.
    row.label_chk->setToolTip(tr("Tick to change the caption"));
    row.value_chk->setToolTip(tr("Tick to type the value; untick to keep it as it is"));
    connect(row.label_chk, &QCheckBox::toggled, row.label, [field = row.label](bool on) { setTakesTyping(field, on); });
    connect(row.value_chk, &QCheckBox::toggled, row.value, [field = row.value](bool on) { setTakesTyping(field, on); });
    connect(row.label, &QLineEdit::textEdited, row.label_chk, [box = row.label_chk] { box->setChecked(true); });
    connect(row.value, &QLineEdit::textEdited, row.value_chk, [box = row.value_chk] { box->setChecked(true); });
}

int Profile_Form::Open_Wnd(bool load)
{
    // OK and Cancel hand this field back as the design's spreadsheet path, so it starts as that path.
    if (theHost)
        ui_->excel_path_field->setText(theHost->excelSourcePath());
    if (load) {
        Reset_all_Ctrl();
        const bool back = Card_Front_Or_Back != 0;
        if (theHost) {
            // The spreadsheet entry follows the design's binding table, so bound items show their source
            // and a design without one offers none.
            if (theHost->spreadsheetRowCount() > 0)
                Add_Excel_in_Data_Source_Combo();
            else
                Remove_Excel_in_Data_Source_Combo();
        }
        for (Row& row : rows) {
            if (row.side_combo)
                row.side_combo->setVisible(false);
        }
        if (!oneSide_)
            ui_->select_side_label->setVisible(false);
        // The form of no side reads the side shown but fills both records, so its title names no side.
        setWindowTitle(!oneSide_ ? QStringLiteral("User Profile Information")
                : back           ? QStringLiteral("Back Side User Profile Information")
                                 : QStringLiteral("Front Side User Profile Information"));
        for (Row& row : rows) {
            if (row.side_combo)
                row.side_combo->setCurrentIndex(back ? 1 : 0);
        }
        loadSide(back);
    } else {
        setWindowTitle(QStringLiteral("User Profile Information"));
        for (Row& row : rows) {
            if (row.side_combo)
                row.side_combo->setVisible(true);
        }
        if (!oneSide_)
            ui_->select_side_label->setVisible(true);
        Reset_all_Ctrl();
    }
    const bool withData = theHost && theHost->canLoadSpreadsheet();
    ui_->excel_browse_btn->setEnabled(withData);
    ui_->view_excel_btn->setEnabled(withData);
    ui_->batch_series_btn->setEnabled(theHost && theHost->canViewSeries());
    rows[0].value->setFocus();
    entriesAtOpening_ = entries();
    return runModally();
}

QStringList Profile_Form::entries() const
{
    QStringList all { ui_->image_path_val->text() };
    for (const Row& row : rows) {
        if (row.value)
            all << row.label->text() << row.value->text();
        all << QString::number(row.ds_combo->currentIndex()) << QString::number(row.ser_col_cb->currentIndex());
        if (row.side_combo)
            all << QString::number(row.side_combo->currentIndex());
    }
    return all;
}

void Profile_Form::reject()
{
    if (entries() != entriesAtOpening_
        && Show_YES_NO_MessageBox(QStringLiteral("Do you want to drop the card holder details you typed?")) != 1)
        return;
    Cancel_Btn_Clicked();
}

void Profile_Form::loadSide(bool back)
{
    if (!theHost)
        return;
    const TSLGraphicList items = theHost->profileSideItems(back);
    Create_and_Set_template_picture(items);
    const auto& table = User_Profile_Class::fieldTable();
    for (const TSLGraphicPtr& item : items) {
        const QString kind = item->className();
        if (kind != QLatin1String("TSLText") && kind != QLatin1String("TSLImage"))
            continue;
        const QString id = Trim_Str(item->control_ID);
        if (id.isEmpty() || !item->ctrl_is_visible)
            continue;
        for (int r = 0; r < kRows; ++r) {
            if (id == QLatin1String(table[r].controlID))
                loadItem(*item, r);
        }
    }
}

void Profile_Form::loadItem(const TSLGraphic& item, int r)
{
    Row& row = rows[r];
    if (r == kPhoto) {
        Set_User_Image(item._file_path);
    } else {
        row.value->setText(item._Text_contents ? item._Text_contents->string : item.Text_Value);
        if (row.value_chk)
            row.value_chk->setChecked(true);
    }
    // The stored source and position come from a file: a source the list does not offer reads as typed
    // text, and a position beyond the refilled list selects nothing, so OK asks for a choice.
    const int source = item.data_source_type;
    row.ds_combo->setCurrentIndex(source >= 0 && source < row.ds_combo->count() ? source : 0);
    sourceDidChange(r);
    const int position = source == 1 ? item.batch_list_index : (source == 2 ? item.excel_col_indx : -1);
    if (row.ds_combo->currentIndex() == source && position >= 0 && position < row.ser_col_cb->count()) {
        // Selecting the entry must not replace the value the item shows with the source's first value.
        const QSignalBlocker quiet(row.ser_col_cb);
        row.ser_col_cb->setCurrentIndex(position);
    }
}

void Profile_Form::Reset_all_Ctrl()
{
    ui_->Preivew_picture->clear();
    ui_->Template_picture->clear();
    Set_User_Image(QString());
    for (Row& row : rows) {
        if (row.value)
            row.value->clear();
        row.ds_combo->setCurrentIndex(0);
        row.ser_col_cb->setCurrentIndex(-1);
        sourceDidChange(int(&row - rows.data())); // typed text: no list, no view button
        if (row.side_combo)
            row.side_combo->setCurrentIndex(2);
        // The boxes show whether their fields take typing: the caption starts locked, a typed value open.
        if (row.label_chk) {
            const QSignalBlocker quiet(row.label_chk);
            row.label_chk->setChecked(!row.label->isReadOnly());
        }
    }
}

void Profile_Form::sourceDidChange(int r)
{
    Row& row = rows[r];
    const int source = row.ds_combo->currentIndex();
    const bool typed = source <= 0;
    if (row.value)
        setTakesTyping(row.value, typed);
    // A value filled from a series or a column cannot be unlocked for typing; a typed one starts open.
    if (row.value_chk) {
        const QSignalBlocker quiet(row.value_chk);
        row.value_chk->setChecked(typed);
        row.value_chk->setEnabled(typed);
    }
    if (r == kPhoto) {
        ui_->browse_pic_btn->setEnabled(typed);
        ui_->clear_pic_btn->setEnabled(typed);
    }
    const QSignalBlocker quiet(row.ser_col_cb);
    row.ser_col_cb->clear();
    row.ser_col_cb->setEnabled(!typed);
    row.view_btn->setEnabled(source == 1);
    if (typed || !theHost)
        return;
    row.ser_col_cb->addItems(source == 1 ? theHost->seriesNames() : theHost->spreadsheetColumnTitles());
    row.ser_col_cb->setCurrentIndex(-1);
}

void Profile_Form::secondListDidChange(int r)
{
    Row& row = rows[r];
    const QString chosen = Trim_Str(row.ser_col_cb->currentText());
    if (chosen.isEmpty() || !theHost)
        return;
    QString value;
    switch (row.ds_combo->currentIndex()) {
    case 1:
        value = theHost->firstValueOfSeries(chosen);
        break;
    case 2:
        value = theHost->firstValueOfColumn(row.ser_col_cb->currentIndex());
        break;
    default:
        return;
    }
    if (r == kPhoto)
        Set_User_Image(value);
    else
        row.value->setText(value);
}

void Profile_Form::View_Data_Series_By_Name(int r)
{
    const QString name = Trim_Str(rows[r].ser_col_cb->currentText());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select the series."));
        return;
    }
    if (theHost)
        theHost->viewSeries(name);
}

bool Profile_Form::Check_Validation()
{
    checked_field_name.clear();
    const auto& table = User_Profile_Class::fieldTable();
    for (int r = 0; r < kRows; ++r) {
        const int source = rows[r].ds_combo->currentIndex();
        if ((source == 1 || source == 2) && rows[r].ser_col_cb->currentIndex() < 0) {
            checked_field_name = QLatin1String(table[r].caption);
            return false;
        }
    }
    return true;
}

bool Profile_Form::fillRecord(User_Profile_Class& record, bool sideRecord)
{
    if (!Check_Validation()) {
        QString field = Trim_Str(checked_field_name);
        if (!field.isEmpty())
            field = QStringLiteral(" for '%1'").arg(field.remove(QStringLiteral(" :")));
        Show_MessageBox(QStringLiteral("Please select the source") + field);
        return false;
    }
    if (sideRecord && theHost) {
        record.Fill_User_Profile_Enable = true;
        const bool rowsThere = theHost->spreadsheetRowCount() > 0;
        record.Excel_Binding = rowsThere;
        if (rowsThere)
            theHost->setExcelSourcePath(ui_->excel_path_field->text());
        theHost->setExcelBindingUse(rowsThere);
    }
    auto fields = record.fields();
    for (int r = 0; r < kRows; ++r) {
        User_Profile_Class::Field& field = fields[r];
        field.value = r == kPhoto ? ui_->image_path_val->text() : rows[r].value->text();
        const int source = rows[r].ds_combo->currentIndex();
        if (source < 0)
            continue;
        const QString chosen = rows[r].ser_col_cb->currentText();
        const int position = rows[r].ser_col_cb->currentIndex();
        field.setSource(source, chosen, position, position);
    }
    return true;
}

bool Profile_Form::Fill_Front_User_profile_value_in_Variable()
{
    return theHost && fillRecord(theHost->profileRecord(0), true);
}

bool Profile_Form::Fill_Back_User_profile_value_in_Variable()
{
    return theHost && fillRecord(theHost->profileRecord(1), true);
}

bool Profile_Form::Fill_TEMP_User_profile_value_in_Variable()
{
    return theHost && fillRecord(theHost->profileRecord(2), false);
}

void Profile_Form::OK_Btn_Clicked()
{
    const QString side = Trim_Str(load_side);
    bool filled = false;
    if (side == QLatin1String("F"))
        filled = Fill_Front_User_profile_value_in_Variable();
    else if (side == QLatin1String("B"))
        filled = Fill_Back_User_profile_value_in_Variable();
    else
        filled = Fill_Front_User_profile_value_in_Variable() && Fill_Back_User_profile_value_in_Variable();
    if (filled)
        done(1);
}

void Profile_Form::Cancel_Btn_Clicked()
{
    if (theHost && theHost->spreadsheetRowCount() > 0)
        theHost->setExcelSourcePath(ui_->excel_path_field->text());
    done(0);
}

void Profile_Form::Help_Btn_Clicked()
{
    Open_Help_File();
}

void Profile_Form::Browse_excel_Btn_Clicked()
{
    if (!theHost || !theHost->canLoadSpreadsheet())
        return;
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Open;
    request.filter = QStringLiteral("Spreadsheets (*.xlsx *.XLSX)");
    const QString path = platform::ui().chooseFile(request);
    if (path.isEmpty())
        return;
    // A choice the user cancels leaves the path, the table and the choice boxes as they were.
    if (!theHost->loadSpreadsheetForProfile(path))
        return;
    ui_->excel_path_field->setText(path);
    if (theHost->spreadsheetRowCount() > 0)
        Add_Excel_in_Data_Source_Combo();
    else
        Remove_Excel_in_Data_Source_Combo();
}

void Profile_Form::View_Excel_Btn_Clicked()
{
    if (theHost)
        theHost->viewBindingTable();
}

void Profile_Form::Batch_Series_Btn_Clicked()
{
    if (theHost)
        theHost->openSeriesManager();
}

void Profile_Form::Add_Excel_in_Data_Source_Combo()
{
    for (Row& row : rows) {
        if (row.ds_combo->count() == 2)
            row.ds_combo->addItem(kExcel);
    }
}

void Profile_Form::Remove_Excel_in_Data_Source_Combo()
{
    for (Row& row : rows) {
        if (row.ds_combo->count() == 3)
            row.ds_combo->removeItem(2);
    }
}

void Profile_Form::Browse_image_Btn_Clicked()
{
    const QString path = Choose_Picture_File();
    if (path.isEmpty()) {
        Library_Selected_Image.clear();
        return;
    }
    // The photo passes the same gate as every other picture: a damaged file is refused by name.
    const PictureSource::Check picture = PictureSource::check(path);
    if (!picture.usable()) {
        Show_MessageBox(picture.refusal);
        return;
    }
    Set_User_Image(path);
}

void Profile_Form::Set_User_Image(const QString& path)
{
    const QString trimmed = Trim_Str(path);
    ui_->image_path_val->setText(trimmed);
    if (trimmed.isEmpty()) {
        ui_->user_picture->clear();
        return;
    }
    // Only the label's worth of pixels is ever shown: a JPEG is decoded straight at that size.
    const QSize shown = platform::readPictureHeader(trimmed).pixels.scaled(
        ui_->user_picture->size() * ui_->user_picture->devicePixelRatioF(), Qt::KeepAspectRatio);
    const QImage picture = platform::readPictureFileAt(trimmed, shown.isEmpty() ? QSize() : shown);
    if (!picture.isNull())
        showPicture(ui_->user_picture, picture);
}

void Profile_Form::showPicture(QLabel* label, const QImage& image)
{
    if (image.isNull()) {
        label->clear();
        return;
    }
    label->setPixmap(fittedScreenPixmap(image, label->size(), label->devicePixelRatioF()));
}

void Profile_Form::Create_and_Set_template_picture(const TSLGraphicList& items)
{
    const QImage picture = theHost ? theHost->renderProfileItems(items) : QImage();
    if (!oneSide_)
        showPicture(ui_->Template_picture, picture);
    showPicture(ui_->Preivew_picture, picture);
}

void Profile_Form::Preview_Btn_Clicked()
{
    if (!Fill_TEMP_User_profile_value_in_Variable())
        return;
    try {
        showPicture(ui_->Preivew_picture, theHost->previewProfile());
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}
