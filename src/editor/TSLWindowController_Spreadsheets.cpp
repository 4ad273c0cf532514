// The main window's ways into the spreadsheet windows: binding a workbook's columns, the binding table's
// window, and the import wizard for the series manager.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "data/Data_From_Excel.h"
#include "data/Import_Excel.h"
#include "data/Import_Wizard.h"
#include "editor/Editor_Globals.h"
#include "editor/Editor_Icons.h"
#include "editor/TSLWindowController_Forms.h"
#include "platform/UiSeam.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QToolBar>

void TSLWindowController::connectSpreadsheetCommands()
{
    Import_Wizard::registerWithSeriesManager();
    // The window shows and edits the very table that the design file keeps and the items read.
    Data_From_Excel::defaultInstance()->setTable(&bindingTable, this);

    Bind_Spreadsheet_btn = new QAction(QStringLiteral("Spreadsheet"), this);
    Bind_Spreadsheet_btn->setObjectName(QStringLiteral("Bind_Spreadsheet_btn"));
    Bind_Spreadsheet_btn->setIcon(commandIcon(QStringLiteral("spreadsheet")));
    Bind_Spreadsheet_btn->setToolTip(QStringLiteral("Take data columns from a spreadsheet workbook"));
    QToolBar* toolbar = forms_->window.mainToolBar;
    toolbar->insertAction(Series_btn, Bind_Spreadsheet_btn);
    connect(Bind_Spreadsheet_btn, &QAction::triggered, this, &TSLWindowController::Bind_Spreadsheet_Button);

    // The data-source page's view button shows the binding table when an item takes spreadsheet values.
    view_series_btn->setVisible(true);
    connect(view_series_btn, &QPushButton::clicked, this, [this] {
        if (Data_source_type->currentText() == QLatin1String("Excel"))
            Open_Excel_Binding_Table();
    });
}

void TSLWindowController::Bind_Spreadsheet_Button()
{
    const QString path = platform::ui().chooseFile({ platform::FileRequest::Kind::Open,
        QStringLiteral("Choose a workbook"), QString(), QStringLiteral("Workbooks (*.xlsx *.XLSX)") });
    if (path.isEmpty())
        return;
    Delete_Excel_File_Temp_Folder();
    Import_Excel* picker = Import_Excel::defaultInstance();
    picker->open_mode = QStringLiteral("E");
    if (picker->Open_excel_Wnd(path) == 1)
        Refresh_Excel_Binding_Source(path);
}

void TSLWindowController::Refresh_Excel_Binding_Source(const QString& path)
{
    Excel_Binding_Use = bindingTable.rowCount() > 0;
    if (Excel_Binding_Use) {
        Excel_Source_Path = path;
        Add_Excel_Col_Name_In_Combo(Data_source_type);
        Show_First_Spreadsheet_Record(); // never the old source's record 1 beside the new data
    } else {
        Remove_Excel_Col_Name_In_Combo(Data_source_type);
    }
    // A choice box that lists the columns shows the new titles.
    if (Data_source_type->currentText() == QLatin1String("Excel")) {
        const bool wasMuted = Not_Draw_Only_Prop_Change;
        Not_Draw_Only_Prop_Change = true;
        const int chosen = Batch_Series->currentIndex();
        Fill_Excel_Col_Name_In_Combo(Batch_Series);
        Batch_Series->setCurrentIndex(chosen < Batch_Series->count() ? chosen : -1);
        Not_Draw_Only_Prop_Change = wasMuted;
    }
}

void TSLWindowController::Open_Excel_Binding_Table()
{
    Data_From_Excel::defaultInstance()->Open_Wnd();
}
