#include "data/Import_Excel.h"

#include "common/Common_Functions.h"
#include "data/BatchWizard.h"
#include "data/Data_From_Excel.h"
#include "platform/UiSeam.h"
#include "ui_Import_Excel.h"

#include <QPushButton>

namespace {

const QString noRows = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");

} // namespace

Import_Excel::Import_Excel(QWidget* parent)
    : Spreadsheet_Picker(parent)
    , ui_(std::make_unique<Ui::Import_Excel>())
{
    ui_->setupUi(this);
    attach({ ui_->file_path, ui_->Sheet_ComboBox, ui_->contains_header, ui_->title_row_box, ui_->sheet_rows,
               ui_->ColList, ui_->OK_btn, ui_->Cancel_btn, ui_->Select_All_btn, ui_->Clear_All_btn },
        false);
    positionalNames_ = true;
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

void Import_Excel::OKPressed()
{
    if (!columnsChosen())
        return;
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
        const Sheet_Facts facts = SpreadsheetWriter::rowFacts();
        const QList<int> ticked = tickedColumns(ListData_xl);
        QStringList values = tickedValuesRowMajor(excel_content, ticked, titleRowChoice(), facts);
        // Cells of several columns read row by row are no records: a blank one adds nothing, and is told of.
        values.removeIf([](const QString& value) { return Trim_Str(value).isEmpty(); });
        if (BatchWizard_Window)
            BatchWizard_Window->Create_Value_Lists(values);
        Hide_Destroy_Modeless();
        const QString blanks = blanksLeftOutNote(blankCellRows(excel_content, ticked, titleRowChoice(), facts));
        if (excel_content.isEmpty())
            Show_MessageBox(noRows);
        else if (!blanks.isEmpty())
            Show_MessageBox(blanks);
    }
    done(1);
}

void Import_Excel::Create_Excel_List_Func(const QString& path)
{
    Q_UNUSED(path);
    Show_Create_Modeless();
    if (readAllRows()) {
        Data_From_Excel* table = Data_From_Excel::defaultInstance();
        Fill_Binding_Table(
            table->table(), excel_content, tickedColumns(ListData_xl), titleRowChoice(), SpreadsheetWriter::rowFacts());
        table->reloadTable();
        Hide_Destroy_Modeless();
        if (excel_content.isEmpty())
            Show_MessageBox(noRows);
    }
    done(1);
}
