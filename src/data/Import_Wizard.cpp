#include "data/Import_Wizard.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "data/BatchWizard.h"
#include "data/Import_Excel.h"
#include "data/Import_Excel_DataSheet.h"
#include "data/Series_File.h"
#include "data/Series_Host.h"
#include "data/Series_Import_Sources.h"
#include "data/SpreadsheetWriter.h"
#include "platform/UiSeam.h"
#include "ui_Import_Wizard.h"

#include <QFocusEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString fileError = QStringLiteral("Error in file accessing.");
const char* const selectOnRelease = "selectOnRelease";

} // namespace

Import_Wizard* Import_Wizard::defaultInstance()
{
    // Lives for the whole run, like every dialog of the program; created on first use on the GUI thread.
    static Import_Wizard* instance = new Import_Wizard();
    return instance;
}

void Import_Wizard::registerWithSeriesManager()
{
    BatchWizard::importWizard = [](int required, int insert) {
        Import_Wizard* wizard = defaultInstance();
        wizard->file_name_required = required;
        wizard->file_name_Insert = insert;
        return wizard->Open_Wnd();
    };
    BatchWizard::workbookWriter = [](const QString& path, const QStringList& column) {
        SpreadsheetWriter::Rows rows;
        for (const QString& value : column)
            rows.append(QStringList { value });
        return SpreadsheetWriter::WriteWorkbook(path, rows, true);
    };
}

Import_Wizard::Import_Wizard(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Import_Wizard>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    connect(ui_->Excel_RD, &QRadioButton::clicked, this, &Import_Wizard::Excel_RD_Pressed);
    connect(ui_->Text_RD, &QRadioButton::clicked, this, &Import_Wizard::Text_RD_Pressed);
    connect(ui_->Mnul_RD, &QRadioButton::clicked, this, &Import_Wizard::Manual_RD_Pressed);
    connect(ui_->Image_RD, &QRadioButton::clicked, this, &Import_Wizard::Image_RD_Pressed);
    connect(ui_->Excel_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Excel_Pressed);
    connect(ui_->Text_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Text_Pressed);
    connect(ui_->Image_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Image_Pressed);
    connect(ui_->OK_btn, &QPushButton::clicked, this, &Import_Wizard::OKPressed);
    connect(ui_->Cancel_btn, &QPushButton::clicked, this, &Import_Wizard::CancelPressed);
    connect(ui_->Help_btn, &QPushButton::clicked, this, &Import_Wizard::HelpPressed);
    for (QLineEdit* name : { ui_->Text_file_name, ui_->Manual_file_name, ui_->Image_file_name })
        name->installEventFilter(this);
}

bool Import_Wizard::eventFilter(QObject* watched, QEvent* event)
{
    // Entering a name field selects its text, so typing replaces the suggested "Untitled". A click places
    // the cursor after the focus came, so the selection it brings waits for the button's release (unless
    // the click dragged a selection of its own).
    auto* name = qobject_cast<QLineEdit*>(watched);
    if (name && event->type() == QEvent::FocusIn) {
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            name->setProperty(selectOnRelease, true);
        else
            name->selectAll();
    } else if (name && event->type() == QEvent::MouseButtonRelease && name->property(selectOnRelease).toBool()) {
        name->setProperty(selectOnRelease, false);
        if (!name->hasSelectedText())
            name->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

Import_Wizard::~Import_Wizard() = default;

int Import_Wizard::Open_Wnd()
{
    Check_Path_And_Create_Files();
    for (QLineEdit* field : { ui_->Excel_path, ui_->Text_path, ui_->Image_path, ui_->Text_file_name,
             ui_->Manual_file_name, ui_->Image_file_name })
        field->clear();
    ui_->ManualEdit->clear();
    choose(0);
    const bool named = file_name_required == 1;
    for (QWidget* name : { static_cast<QWidget*>(ui_->Text_file_name), static_cast<QWidget*>(ui_->Manual_file_name),
             static_cast<QWidget*>(ui_->Image_file_name), static_cast<QWidget*>(ui_->Text_name_label),
             static_cast<QWidget*>(ui_->Manual_name_label), static_cast<QWidget*>(ui_->Image_name_label) })
        name->setVisible(named);
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

void Import_Wizard::choose(int option)
{
    import_option = option;
    ui_->Excel_RD->setChecked(option == 0);
    ui_->Text_RD->setChecked(option == 1);
    ui_->Mnul_RD->setChecked(option == 2);
    ui_->Image_RD->setChecked(option == 3);
    Enable_Disable_Excel_Option(option == 0);
    Enable_Disable_Text_Option(option == 1);
    Enable_Disable_Manual_Option(option == 2);
    Enable_Disable_Image_Option(option == 3);
    // The series is named first; the source is then chosen and the import runs on OK.
    QLineEdit* names[] = { nullptr, ui_->Text_file_name, ui_->Manual_file_name, ui_->Image_file_name };
    if (QLineEdit* name = names[option]; name && file_name_required == 1) {
        name->setFocus();
        name->selectAll();
    }
}

void Import_Wizard::Excel_RD_Pressed()
{
    choose(0);
}
void Import_Wizard::Text_RD_Pressed()
{
    choose(1);
}
void Import_Wizard::Manual_RD_Pressed()
{
    choose(2);
}
void Import_Wizard::Image_RD_Pressed()
{
    choose(3);
}

namespace {

void untitledWhenEmpty(QLineEdit* name, bool on)
{
    if (on && Trim_Str(name->text()).isEmpty())
        name->setText(QStringLiteral("Untitled"));
}

} // namespace

void Import_Wizard::Enable_Disable_Excel_Option(bool on)
{
    SetObjEnabled(ui_->Excel_btn, on);
    SetObjEnabled(ui_->Excel_path, on);
}

void Import_Wizard::Enable_Disable_Text_Option(bool on)
{
    SetObjEnabled(ui_->Text_btn, on);
    SetObjEnabled(ui_->Text_path, on);
    SetObjEnabled(ui_->Text_file_name, on);
    untitledWhenEmpty(ui_->Text_file_name, on);
}

void Import_Wizard::Enable_Disable_Manual_Option(bool on)
{
    ui_->ManualEdit->setReadOnly(!on);
    ui_->ManualEdit->setEnabled(on);
    SetObjEnabled(ui_->Manual_file_name, on);
    untitledWhenEmpty(ui_->Manual_file_name, on);
}

void Import_Wizard::Enable_Disable_Image_Option(bool on)
{
    SetObjEnabled(ui_->Image_btn, on);
    SetObjEnabled(ui_->Image_path, on);
    SetObjEnabled(ui_->Image_file_name, on);
    untitledWhenEmpty(ui_->Image_file_name, on);
}

void Import_Wizard::Browse_Excel_Pressed()
{
    SpreadsheetWriter::removeScratchFolder();
    const QString path = platform::ui().chooseFile({ platform::FileRequest::Kind::Open,
        QStringLiteral("Choose a workbook"), QString(), QStringLiteral("Workbooks (*.xlsx *.XLSX)") });
    if (path.isEmpty())
        return;
    ui_->Excel_path->setText(path);
}

void Import_Wizard::Browse_Text_Pressed()
{
    const QString path
        = platform::ui().chooseFile({ platform::FileRequest::Kind::Open, QStringLiteral("Choose a text file"),
            QString(), QStringLiteral("Text files (*.txt *.TXT *.rtf *.RTF *.csv *.CSV)") });
    if (path.isEmpty())
        return;
    ui_->Text_path->setText(path);
}

void Import_Wizard::Browse_Image_Pressed()
{
    const QString path = platform::ui().chooseFile(
        { platform::FileRequest::Kind::Folder, QStringLiteral("Choose a picture folder"), QString(), QString() });
    if (path.isEmpty())
        return;
    ui_->Image_path->setText(path);
}

void Import_Wizard::CancelPressed()
{
    done(0);
}

void Import_Wizard::HelpPressed()
{
    Open_Help_File();
}

void Import_Wizard::OKPressed()
{
    bool finished = false;
    switch (import_option) {
    case 0: {
        const QString path = Trim_Str(ui_->Excel_path->text());
        if (!Validate_Import_Path(path))
            return;
        if (file_name_required == 1) {
            Import_Excel_DataSheet* picker = Import_Excel_DataSheet::defaultInstance();
            picker->file_name_Insert = file_name_Insert;
            picker->Open_excel_Wnd(path);
        } else {
            Import_Excel* picker = Import_Excel::defaultInstance();
            picker->open_mode = QStringLiteral("D");
            picker->Open_excel_Wnd(path);
        }
        finished = true;
        break;
    }
    case 1:
        if (Validate_Import_Path(ui_->Text_path->text()))
            finished = Create_And_Save_Text_Data_Sheet(Trim_Str(ui_->Text_path->text()));
        break;
    case 2:
        finished = Create_And_Save_Manual_Paste_data_Sheet();
        break;
    case 3:
        if (Validate_Import_Path(ui_->Image_path->text()))
            finished = Create_And_Save_Image_data_Sheet(Trim_Str(ui_->Image_path->text()));
        break;
    default:
        break;
    }
    if (finished)
        done(1);
}

bool Import_Wizard::takeName(const QString& field, QString& name)
{
    name = file_name_required == 1 ? Series_File::cleanName(field) : QString();
    if (!name.isEmpty() && Series_In_Use(name)) {
        Show_MessageBox(QStringLiteral("Batch Processing Series can't be update because it is currently in use."));
        return false;
    }
    return true;
}

bool Import_Wizard::confirmTarget(const QString& name)
{
    if (file_name_required != 1)
        return true;
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter list name."));
        return false;
    }
    if (!Series_File::isValidName(name)) {
        Show_MessageBox(Series_File::nameRefusal(name));
        return false;
    }
    if (Series_File::exists(name)
        && Show_YES_NO_MessageBox(QStringLiteral("Batch Processing Series already exists. Do you want to replace it?"))
            != 1)
        return false;
    return true;
}

bool Import_Wizard::storeValues(const QString& name, const QStringList& values)
{
    if (file_name_required == 1) {
        // The old series stays whole until the new one has been written completely.
        Series_File::Writer writer;
        bool ok = writer.open(name, Series_File::Writer::Mode::Replace);
        for (const QString& value : values) {
            if (!ok)
                break;
            ok = writer.add(value);
        }
        if (!ok || !writer.commit()) {
            Show_MessageBox(fileError);
            return false;
        }
    } else if (BatchWizard_Window) {
        BatchWizard_Window->Create_Value_Lists(values);
    }
    if (file_name_Insert == 1 && BatchWizard_Window)
        BatchWizard_Window->Fill_List();
    return true;
}

bool Import_Wizard::Create_And_Save_Text_Data_Sheet(const QString& path)
{
    QString name;
    if (!takeName(ui_->Text_file_name->text(), name))
        return false;
    const Import_Source_Values source = Text_File_Values(path);
    if (!source.error.isEmpty()) {
        Show_MessageBox(source.error);
        return false;
    }
    return confirmTarget(name) && storeValues(name, source.values);
}

bool Import_Wizard::Create_And_Save_Manual_Paste_data_Sheet()
{
    QString name;
    if (!takeName(ui_->Manual_file_name->text(), name))
        return false;
    const Import_Source_Values source = Typed_Line_Values(ui_->ManualEdit->toPlainText(), file_name_required != 1);
    if (!source.error.isEmpty()) {
        Show_MessageBox(source.error);
        return false;
    }
    return confirmTarget(name) && storeValues(name, source.values);
}

bool Import_Wizard::Create_And_Save_Image_data_Sheet(const QString& path)
{
    QString name;
    if (!takeName(ui_->Image_file_name->text(), name) || !confirmTarget(name))
        return false;
    return storeValues(name, Picture_Folder_Values(path));
}
