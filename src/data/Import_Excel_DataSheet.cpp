#include "data/Import_Excel_DataSheet.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "data/BatchWizard.h"
#include "data/Series_File.h"
#include "data/Series_Host.h"
#include "platform/UiSeam.h"
#include "ui_Import_Excel_DataSheet.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString fileError = QStringLiteral("Error in file accessing.");
const QString replaceQuestion = QStringLiteral("Batch Processing Series already exists. Do you want to replace it?");

// Asks through the generic message window; 1 for Yes.
int askLong(const QString& title, const QString& message, bool applyAll)
{
    Long_SMS_Dlg* dialog = Long_SMS_Dlg::defaultInstance();
    dialog->title_val = title;
    dialog->msg_val_str = message;
    dialog->apply_chk_show = applyAll;
    return dialog->Open_Long_sms_Dialog();
}

bool writeSeries(const QString& name, const QStringList& values, Series_File::Writer::Mode mode)
{
    Series_File::Writer writer;
    if (!writer.open(name, mode))
        return false;
    for (const QString& value : values) {
        if (!writer.add(value))
            return false;
    }
    return writer.commit();
}

} // namespace

Import_Excel_DataSheet::Import_Excel_DataSheet(QWidget* parent)
    : Spreadsheet_Picker(parent)
    , ui_(std::make_unique<Ui::Import_Excel_DataSheet>())
{
    ui_->setupUi(this);
    attach({ ui_->file_path, ui_->Sheet_ComboBox, ui_->contains_header, ui_->title_row_box, ui_->sheet_rows,
               ui_->ColList, ui_->OK_btn, ui_->Cancel_btn, ui_->Select_All_btn, ui_->Clear_All_btn },
        true);
    auto* matrix = new QButtonGroup(this);
    matrix->addButton(ui_->fill_new_RD, 0);
    matrix->addButton(ui_->fill_replace_RD, 1);
    matrix->addButton(ui_->fill_append_RD, 2);
    connect(matrix, &QButtonGroup::idClicked, this, &Import_Excel_DataSheet::Fill_Type_CellClick);
    connect(ui_->Each_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Each_Col_RD_Click);
    connect(ui_->Fill_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Fill_Col_RD_Click);
}

Import_Excel_DataSheet::~Import_Excel_DataSheet() = default;

void Import_Excel_DataSheet::resetFillMode()
{
    ui_->fill_new_RD->setChecked(true);
    Fill_Type_CellClick(0);
    ui_->Each_col_RD->setChecked(true);
    Each_Col_RD_Click();
    ui_->List_ComboBox->clear();
    ui_->list_name->clear();
}

int Import_Excel_DataSheet::Open_excel_Wnd(const QString& path)
{
    resetFillMode();
    resetForOpening(path);
    if (!Load_file_Func(path))
        return 0;
    ui_->List_ComboBox->addItems(Series_File::names());
    if (ui_->List_ComboBox->count() > 0)
        ui_->List_ComboBox->setCurrentIndex(0);
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

void Import_Excel_DataSheet::Each_Col_RD_Click()
{
    ui_->Each_col_RD->setChecked(true);
    SetObjEnabled(ui_->fill_box, false);
    // Each column's series is named in the table, so its name column is always there in this mode.
    ui_->ColList->setColumnHidden(2, false);
}

void Import_Excel_DataSheet::Fill_Col_RD_Click()
{
    ui_->Fill_col_RD->setChecked(true);
    SetObjEnabled(ui_->fill_box, true);
    Fill_Type_CellClick(fill_col_option);
}

void Import_Excel_DataSheet::Fill_Type_CellClick(int option)
{
    fill_col_option = option;
    ui_->list_name->setVisible(option == 0);
    ui_->List_ComboBox->setVisible(option != 0);
    ui_->ColList->setColumnHidden(2, option != 0 && ui_->Fill_col_RD->isChecked());
}

void Import_Excel_DataSheet::OKPressed()
{
    if (!columnsChosen())
        return;
    if (ui_->Each_col_RD->isChecked()) {
        Create_file_For_Col_Func(workbookPath());
    } else {
        const bool existing = fill_col_option != 0;
        const QString name = existing ? ui_->List_ComboBox->currentText() : ui_->list_name->text();
        if (Trim_Str(name).isEmpty()) {
            Show_MessageBox(
                existing ? QStringLiteral("Please select list name.") : QStringLiteral("Please enter list name."));
            return;
        }
        Insert_file_Func(workbookPath());
    }
    excel_content.clear();
}

void Import_Excel_DataSheet::writeColumnSeries(const Sheet_Column& entry, bool askWithApplyAll)
{
    const QString name = Series_File::cleanName(Trim_Str(entry.Header));
    if (!Series_File::isValidName(name)) {
        Show_MessageBox(QStringLiteral("\"%1\" cannot be the name of a Batch Processing Series; the column \"%2\" is "
                                       "skipped.")
                            .arg(Trim_Str(entry.Header), entry.Extension));
        return;
    }
    if (Series_File::exists(name)) {
        if (Series_In_Use(name)) {
            if (!Msg_Apply_All_Chk)
                askLong(QStringLiteral("Message :"),
                    name
                        + QStringLiteral("\nBatch processing Series name is already in use with another sequence. "
                                         "Please change Batch Processing Series Name."),
                    askWithApplyAll);
            return;
        }
        if (!Msg_Apply_All_Chk
            && askLong(QStringLiteral("Batch Processing Series already exists :"),
                   name + QLatin1Char('\n') + replaceQuestion, askWithApplyAll)
                != 1)
            return;
    }
    // The old series is replaced only once the new one is whole.
    if (!writeSeries(name, columnValues(excel_content, entry.column, titleRowChoice(), SpreadsheetWriter::rowFacts()),
            Series_File::Writer::Mode::Replace))
        Show_MessageBox(name + QLatin1Char('\n') + fileError);
}

bool Import_Excel_DataSheet::Create_file_For_Col_Func(const QString& path)
{
    Q_UNUSED(path);
    Show_Create_Modeless();
    // A flag left by an earlier, unrelated question must not answer this import's questions.
    Msg_Apply_All_Chk = false;
    if (readAllRows()) {
        Hide_Destroy_Modeless();
        const int width = excel_content.isEmpty() ? 0 : int(excel_content.first().size());
        if (!excel_content.isEmpty()) {
            for (const Sheet_Column& entry : ListData_xl) {
                if (entry.State && entry.column < width)
                    writeColumnSeries(entry, width != 1);
            }
        }
        if (file_name_Insert == 1 && BatchWizard_Window)
            BatchWizard_Window->Fill_List();
        if (excel_content.isEmpty())
            Show_MessageBox(
                QStringLiteral("There is no data in selected sheet.\nPlease select another Sheet/Excel File.\n"
                               "Either file is corrupted or selected file contains invalid characters."));
    }
    done(1);
    return true;
}

bool Import_Excel_DataSheet::Insert_file_Func(const QString& path)
{
    Q_UNUSED(path);
    Show_Create_Modeless();
    const QString typed = fill_col_option != 0 ? ui_->List_ComboBox->currentText() : ui_->list_name->text();
    const QString name = Series_File::cleanName(typed);
    if (fill_col_option == 0 && Series_File::exists(name)) {
        Hide_Destroy_Modeless();
        if (Show_YES_NO_MessageBox(replaceQuestion) != 1)
            return false;
        Show_Create_Modeless();
    }
    if (!Series_File::isValidName(name)) {
        Hide_Destroy_Modeless();
        Show_MessageBox(Series_File::nameRefusal(name));
        return false;
    }
    if (!readAllRows()) {
        done(1);
        return true;
    }
    const Series_File::Writer::Mode mode
        = fill_col_option == 2 ? Series_File::Writer::Mode::Append : Series_File::Writer::Mode::Replace;
    const bool written = writeSeries(name,
        tickedValuesRowMajor(
            excel_content, tickedColumns(ListData_xl), titleRowChoice(), SpreadsheetWriter::rowFacts()),
        mode);
    Hide_Destroy_Modeless();
    if (!written) {
        Show_MessageBox(fileError);
        return false;
    }
    if (file_name_Insert == 1 && BatchWizard_Window)
        BatchWizard_Window->Fill_List();
    if (excel_content.isEmpty())
        Show_MessageBox(QStringLiteral("Either file is corrupted or selected file contains invalid characters."));
    done(1);
    return true;
}
