#include "profiles/Profile_Form.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "model/TSLTextStorage.h"
#include "platform/UiSeam.h"
#include "profiles/Profile_Form_Host.h"
#include "profiles/User_Profile_Class.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

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

} // namespace

void Profile_Form::setHost(Profile_Form_Host* host)
{
    theHost = host;
}

Profile_Form_Host* Profile_Form::host()
{
    return theHost;
}

Show_User_Profile* Show_User_Profile::defaultInstance()
{
    static Show_User_Profile* instance = new Show_User_Profile();
    return instance;
}

Show_User_Profile::Show_User_Profile()
    : Profile_Form(true, QStringLiteral("Show_User_Profile"))
{
}

User_profile* User_profile::defaultInstance()
{
    static User_profile* instance = new User_profile();
    return instance;
}

User_profile::User_profile()
    : Profile_Form(false, QStringLiteral("User_profile"))
{
}

Profile_Form::Profile_Form(bool oneSide, const QString& objectName, QWidget* parent)
    : QDialog(parent)
    , oneSide_(oneSide)
{
    setObjectName(objectName);
    applySmallWindowLook(*this);
    buildRows();
    for (int row = 0; row < kRows; ++row)
        connectRow(row);
    connect(ok_btn, &QPushButton::clicked, this, &Profile_Form::OK_Btn_Clicked);
    connect(cancel_btn, &QPushButton::clicked, this, &Profile_Form::Cancel_Btn_Clicked);
    connect(reset_btn, &QPushButton::clicked, this, &Profile_Form::Reset_Btn_Clicked);
    connect(help_btn, &QPushButton::clicked, this, &Profile_Form::Help_Btn_Clicked);
    connect(preview_btn, &QPushButton::clicked, this, &Profile_Form::Preview_Btn_Clicked);
    connect(browse_pic_btn, &QPushButton::clicked, this, &Profile_Form::Browse_image_Btn_Clicked);
    connect(clear_pic_btn, &QPushButton::clicked, this, &Profile_Form::Clear_image_Btn_Clicked);
    connect(excel_browse_btn, &QPushButton::clicked, this, &Profile_Form::Browse_excel_Btn_Clicked);
    connect(view_excel_btn, &QPushButton::clicked, this, &Profile_Form::View_Excel_Btn_Clicked);
    connect(batch_series_btn, &QPushButton::clicked, this, &Profile_Form::Batch_Series_Btn_Clicked);
}

void Profile_Form::buildRows()
{
    auto button = [this](const QString& name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    auto* grid = new QGridLayout;
    const auto& table = User_Profile_Class::fieldTable();
    for (int r = 0; r < kRows; ++r) {
        Row& row = rows[r];
        int column = 0;
        if (oneSide_ && r != kPhoto) {
            row.label_chk = new QCheckBox(this);
            row.label_chk->setObjectName(named(r, "label_chk"));
            grid->addWidget(row.label_chk, r, column);
        }
        ++column;
        if (r != kPhoto) {
            row.label = new QLineEdit(QLatin1String(table[r].caption), this);
            row.label->setObjectName(named(r, "label"));
            row.label->setReadOnly(oneSide_);
            row.label->setMaximumWidth(150);
            grid->addWidget(row.label, r, column++);
            row.value = new QLineEdit(this);
            row.value->setObjectName(named(r, "value"));
            row.value->setMinimumWidth(220);
            grid->addWidget(row.value, r, column++);
        } else {
            grid->addWidget(new QLabel(QLatin1String(table[r].caption), this), r, column++);
            image_path_val = new QLineEdit(this);
            image_path_val->setObjectName(QStringLiteral("image_path_val"));
            image_path_val->setReadOnly(true);
            grid->addWidget(image_path_val, r, column++);
        }
        if (oneSide_ && r != kPhoto) {
            row.value_chk = new QCheckBox(this);
            row.value_chk->setObjectName(named(r, "value_chk"));
            grid->addWidget(row.value_chk, r, column);
        }
        ++column;
        row.ds_combo = new QComboBox(this);
        row.ds_combo->setObjectName(named(r, "ds_combo"));
        row.ds_combo->addItems({ QStringLiteral("Typed"), QStringLiteral("Series") });
        grid->addWidget(row.ds_combo, r, column++);
        row.ser_col_cb = new QComboBox(this);
        row.ser_col_cb->setObjectName(named(r, "ser_col_cb"));
        row.ser_col_cb->setMinimumWidth(140);
        grid->addWidget(row.ser_col_cb, r, column++);
        row.view_btn = button(named(r, "view_btn"), QStringLiteral("View"));
        grid->addWidget(row.view_btn, r, column++);
        if (!oneSide_) {
            row.side_combo = new QComboBox(this);
            row.side_combo->setObjectName(named(r, "side_combo"));
            row.side_combo->addItems({ QStringLiteral("Front"), QStringLiteral("Back"), QStringLiteral("Both") });
            grid->addWidget(row.side_combo, r, column);
        }
    }
    if (!oneSide_) {
        select_side_label = new QLabel(QStringLiteral("Side"), this);
        select_side_label->setObjectName(QStringLiteral("select_side_label"));
    }

    user_picture = new QLabel(this);
    user_picture->setObjectName(QStringLiteral("user_picture"));
    user_picture->setFixedSize(96, 96);
    user_picture->setFrameShape(QFrame::Box);
    user_picture->setAlignment(Qt::AlignCenter);
    browse_pic_btn = button(QStringLiteral("browse_pic_btn"), QStringLiteral("Browse..."));
    clear_pic_btn = button(QStringLiteral("clear_pic_btn"), QStringLiteral("Clear"));
    Preivew_picture = new QLabel(this);
    Preivew_picture->setObjectName(QStringLiteral("Preivew_picture"));
    Preivew_picture->setFixedSize(300, 200);
    Preivew_picture->setFrameShape(QFrame::Box);
    Preivew_picture->setAlignment(Qt::AlignCenter);
    if (!oneSide_) {
        Template_picture = new QLabel(this);
        Template_picture->setObjectName(QStringLiteral("Template_picture"));
        Template_picture->setFixedSize(150, 100);
        Template_picture->setFrameShape(QFrame::Box);
        Template_picture->setAlignment(Qt::AlignCenter);
    }
    excel_path_field = new QLineEdit(this);
    excel_path_field->setObjectName(QStringLiteral("excel_path_field"));
    excel_path_field->setReadOnly(true);
    excel_browse_btn = button(QStringLiteral("excel_browse_btn"), QStringLiteral("Load Spreadsheet..."));
    view_excel_btn = button(QStringLiteral("view_excel_btn"), QStringLiteral("View Spreadsheet"));
    batch_series_btn = button(QStringLiteral("batch_series_btn"), QStringLiteral("Series..."));
    preview_btn = button(QStringLiteral("preview_btn"), QStringLiteral("Preview"));
    reset_btn = button(QStringLiteral("reset_btn"), QStringLiteral("Reset"));
    help_btn = button(QStringLiteral("help_btn"), QStringLiteral("Help"));
    ok_btn = button(QStringLiteral("ok_btn"), QStringLiteral("OK"));
    cancel_btn = button(QStringLiteral("cancel_btn"), QStringLiteral("Cancel"));
    ok_btn->setDefault(true);

    auto* photo = new QHBoxLayout;
    photo->addWidget(user_picture);
    photo->addWidget(browse_pic_btn);
    photo->addWidget(clear_pic_btn);
    photo->addStretch();
    if (Template_picture)
        photo->addWidget(Template_picture);
    photo->addWidget(Preivew_picture);
    auto* data = new QHBoxLayout;
    data->addWidget(new QLabel(QStringLiteral("Spreadsheet :"), this));
    data->addWidget(excel_path_field, 1);
    data->addWidget(excel_browse_btn);
    data->addWidget(view_excel_btn);
    data->addWidget(batch_series_btn);
    if (select_side_label)
        data->addWidget(select_side_label);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help_btn);
    buttons->addWidget(reset_btn);
    buttons->addStretch();
    buttons->addWidget(preview_btn);
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(photo);
    layout->addLayout(data);
    layout->addLayout(buttons);
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
    connect(row.label_chk, &QCheckBox::toggled, row.label, [field = row.label](bool on) { field->setReadOnly(!on); });
    connect(row.value_chk, &QCheckBox::toggled, row.value, [field = row.value](bool on) { field->setReadOnly(!on); });
    connect(row.label, &QLineEdit::textEdited, row.label_chk, [box = row.label_chk] { box->setChecked(true); });
    connect(row.value, &QLineEdit::textEdited, row.value_chk, [box = row.value_chk] { box->setChecked(true); });
}

int Profile_Form::Open_Wnd(bool load)
{
    if (load) {
        Reset_all_Ctrl();
        const bool back = Card_Front_Or_Back != 0;
        if (theHost) {
            excel_path_field->setText(theHost->excelSourcePath());
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
        if (select_side_label)
            select_side_label->setVisible(false);
        setWindowTitle(back ? QStringLiteral("Back Side User Profile Information")
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
        if (select_side_label)
            select_side_label->setVisible(true);
        Reset_all_Ctrl();
    }
    const bool withData = theHost && theHost->canLoadSpreadsheet();
    excel_browse_btn->setEnabled(withData);
    view_excel_btn->setEnabled(withData);
    batch_series_btn->setEnabled(theHost && theHost->canViewSeries());
    rows[0].value->setFocus();
    const int code = platform::ui().runModal(*this);
    hide();
    return code == 1 ? 1 : 0;
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
    Preivew_picture->clear();
    if (Template_picture)
        Template_picture->clear();
    Set_User_Image(QString());
    for (Row& row : rows) {
        if (row.value)
            row.value->clear();
        row.ds_combo->setCurrentIndex(0);
        row.ser_col_cb->setCurrentIndex(-1);
        sourceDidChange(int(&row - rows.data())); // typed text: no list, no view button
        if (row.side_combo)
            row.side_combo->setCurrentIndex(2);
        // Unticking on reset leaves the fields as the source rule set them.
        for (QCheckBox* box : { row.label_chk, row.value_chk }) {
            if (box) {
                const QSignalBlocker quiet(box);
                box->setChecked(false);
            }
        }
    }
}

void Profile_Form::sourceDidChange(int r)
{
    Row& row = rows[r];
    const int source = row.ds_combo->currentIndex();
    const bool typed = source <= 0;
    if (row.value)
        row.value->setReadOnly(!typed);
    if (r == kPhoto) {
        browse_pic_btn->setEnabled(typed);
        clear_pic_btn->setEnabled(typed);
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
            theHost->setExcelSourcePath(excel_path_field->text());
        theHost->setExcelBindingUse(rowsThere);
    }
    auto fields = record.fields();
    for (int r = 0; r < kRows; ++r) {
        User_Profile_Class::Field& field = fields[r];
        field.value = r == kPhoto ? image_path_val->text() : rows[r].value->text();
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
        theHost->setExcelSourcePath(excel_path_field->text());
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
    excel_path_field->setText(path);
    theHost->loadSpreadsheetForProfile(path);
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
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Open;
    request.filter = QStringLiteral("Pictures (*.jpg *.jpeg *.jpe *.jfif *.gif *.bmp *.png *.tif *.tiff)");
    const QString path = platform::ui().chooseFile(request);
    if (path.isEmpty()) {
        Library_Selected_Image.clear();
        return;
    }
    Set_User_Image(path);
}

void Profile_Form::Set_User_Image(const QString& path)
{
    const QString trimmed = Trim_Str(path);
    image_path_val->setText(trimmed);
    if (trimmed.isEmpty()) {
        user_picture->clear();
        return;
    }
    const QImage picture = QImageReader(trimmed).read();
    if (!picture.isNull())
        showPicture(user_picture, picture);
}

void Profile_Form::showPicture(QLabel* label, const QImage& image)
{
    if (image.isNull()) {
        label->clear();
        return;
    }
    label->setPixmap(QPixmap::fromImage(image.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void Profile_Form::Create_and_Set_template_picture(const TSLGraphicList& items)
{
    const QImage picture = theHost ? theHost->renderProfileItems(items) : QImage();
    if (Template_picture)
        showPicture(Template_picture, picture);
    showPicture(Preivew_picture, picture);
}

void Profile_Form::Preview_Btn_Clicked()
{
    if (!Fill_TEMP_User_profile_value_in_Variable())
        return;
    try {
        showPicture(Preivew_picture, theHost->previewProfile());
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}
