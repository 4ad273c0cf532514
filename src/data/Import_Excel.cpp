#include "data/Import_Excel.h"

#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "data/BatchWizard.h"
#include "data/Data_From_Excel.h"
#include "platform/UiSeam.h"
#include "ui_Import_Excel.h"

#include <QPushButton>

namespace {

const QString noRows = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");

} // namespace

Import_Excel* Import_Excel::defaultInstance()
{
    // Lives for the whole run, like every dialog of the program; created on first use on the GUI thread.
    static Import_Excel* instance = new Import_Excel();
    return instance;
}

Import_Excel::Import_Excel(QWidget* parent)
    : Spreadsheet_Picker(parent)
    , ui_(std::make_unique<Ui::Import_Excel>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    attach({ ui_->file_path, ui_->Sheet_ComboBox, ui_->contains_header, ui_->ColList }, false);
    connect(ui_->OK_btn, &QPushButton::clicked, this, &Import_Excel::OKPressed);
    connect(ui_->Cancel_btn, &QPushButton::clicked, this, &Import_Excel::CancelPressed);
    connect(ui_->Select_All_btn, &QPushButton::clicked, this, &Import_Excel::Select_ALL_Pressed);
    connect(ui_->Clear_All_btn, &QPushButton::clicked, this, &Import_Excel::Clear_All_Pressed);
}

Import_Excel::~Import_Excel() = default;

int Import_Excel::Open_excel_Wnd(const QString& path)
{
    resetForOpening(path);
    if (!Load_file_Func(path))
        return 0;
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

void Import_Excel::CancelPressed()
{
    excel_content.clear();
    done(0);
}

void Import_Excel::OKPressed()
{
    if (ListData_xl.isEmpty()) {
        Show_MessageBox(QStringLiteral("There is no column."));
        return;
    }
    if (!Check_For_One_Extension_Selection()) {
        Show_MessageBox(QStringLiteral("No column is selected."));
        return;
    }
    if (open_mode == QLatin1String("D"))
        Insert_file_Func(workbookPath());
    else
        Create_Excel_List_Func(workbookPath());
    excel_content.clear();
}

void Import_Excel::Insert_file_Func(const QString& path)
{
    Q_UNUSED(path);
    Show_Create_Modeless();
    if (readAllRows()) {
        const QStringList values = tickedValuesRowMajor(excel_content, tickedColumns(ListData_xl), containsHeader());
        if (BatchWizard_Window)
            BatchWizard_Window->Create_Value_Lists(values); // empty values are left out there
        Hide_Destroy_Modeless();
        if (excel_content.isEmpty())
            Show_MessageBox(noRows);
    }
    done(1);
}

void Import_Excel::Create_Excel_List_Func(const QString& path)
{
    Q_UNUSED(path);
    Show_Create_Modeless();
    if (readAllRows()) {
        Data_From_Excel* table = Data_From_Excel::defaultInstance();
        Fill_Binding_Table(table->table(), excel_content, tickedColumns(ListData_xl), containsHeader());
        table->reloadTable();
        Hide_Destroy_Modeless();
        if (excel_content.isEmpty())
            Show_MessageBox(noRows);
    }
    done(1);
}
