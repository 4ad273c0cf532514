// The main window's ways into the spreadsheet windows: binding a workbook's columns (items follow their
// column titles from one sheet to the next), following the bound workbook, the binding table's window, and
// the import wizard for the series manager.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "data/Data_From_Excel.h"
#include "data/Import_Excel.h"
#include "data/Import_Wizard.h"
#include "editor/Editor_Globals.h"
#include "editor/Editor_Icons.h"
#include "editor/TSLWindowController_Forms.h"
#include "output/Record_Fill.h"
#include "output/Record_Source.h"
#include "platform/FolderWatch.h"
#include "platform/UiSeam.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QFileSystemWatcher>
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
    const Spreadsheet_Binding_Table old = bindingTable;
    if (picker->Open_excel_Wnd(path) == 1)
        Refresh_Excel_Binding_Source(path, old);
}

QStringList TSLWindowController::Rebind_Spreadsheet_Items(const Spreadsheet_Binding_Table& old)
{
    const QStringList& oldTitles = old.columnTitles();
    QStringList missing;
    bool moved = false;
    for (const TSLGraphicList* items : { &Get_Front_Controls_Array(), &Get_Back_Controls_Array() }) {
        for (const TSLGraphicPtr& item : *items) {
            if (!item || !Record_Fill::takesData(*item) || item->data_source_type != 2)
                continue;
            const int column = item->excel_col_indx;
            if (column <= 0 || column >= oldTitles.size())
                continue; // the row number, or a column the old table never had
            // The second of two columns of one title in the sheet stays the second of that title, whatever
            // else was ticked.
            const int now = bindingTable.positionOf(oldTitles.at(column), old.placeOf(column));
            moved = moved || now != column;
            item->excel_col_indx = now; // the stored binding stays a position: the column's place now
            if (!bindingTable.hasValuesIn(now))
                missing << bindingTable.shownTitle(now);
        }
    }
    if (moved)
        markChangedOutsideUndo();
    return missing;
}

void TSLWindowController::Refresh_Excel_Binding_Source(const QString& path, const Spreadsheet_Binding_Table& old)
{
    Excel_Binding_Use = bindingTable.rowCount() > 0;
    if (Excel_Binding_Use) {
        const QStringList missing = Rebind_Spreadsheet_Items(old);
        Data_From_Excel::defaultInstance()->reloadTable();
        const Import_Excel* picker = Import_Excel::defaultInstance();
        // The design file names the workbook, its sheet and its columns: another of any is a change to save.
        if (path != Excel_Source_Path || picker->sheetName() != workbookSheet_
            || old.storedTitles() != bindingTable.storedTitles())
            markChangedOutsideUndo();
        Excel_Source_Path = path;
        workbookSheet_ = picker->sheetName();
        workbookTitleRow_ = picker->titleRowChoice();
        workbookStamp_ = Workbook_Reread::stampOf(path);
        followWorkbook();
        Add_Excel_Col_Name_In_Combo(Data_source_type);
        Show_First_Spreadsheet_Record(); // never the old source's record 1 beside the new data
        if (!missing.isEmpty())
            Show_MessageBox(Record_Fill::columnsNotFoundNotice(missing));
    } else {
        Remove_Excel_Col_Name_In_Combo(Data_source_type);
    }
    showSpreadsheetColumnOfSelection();
}

void TSLWindowController::showSpreadsheetColumnOfSelection()
{
    if (Data_source_type->currentText() != QLatin1String("Excel"))
        return;
    // The item's column is found by its title, not by the place the box had chosen before.
    const TSLGraphicView* canvas = currentGraphicView();
    if (const TSLGraphicPtr item = canvas ? canvas->Selected_Graphic() : nullptr) {
        showItemBinding(*item);
        return;
    }
    const bool wasMuted = Not_Draw_Only_Prop_Change;
    Not_Draw_Only_Prop_Change = true;
    const int chosen = Batch_Series->currentIndex();
    Fill_Excel_Col_Name_In_Combo(Batch_Series);
    Batch_Series->setCurrentIndex(chosen < Batch_Series->count() ? chosen : -1);
    Not_Draw_Only_Prop_Change = wasMuted;
}

void TSLWindowController::Open_Excel_Binding_Table()
{
    Data_From_Excel::defaultInstance()->Open_Wnd();
}

void TSLWindowController::followWorkbook()
{
    const QString file = Excel_Source_Path.isEmpty() ? QString() : QFileInfo(Excel_Source_Path).absoluteFilePath();
    if (file == workbookFollowed_)
        return;
    delete workbookWatcher_;
    workbookWatcher_ = nullptr;
    workbookFollowed_ = file;
    // Spreadsheet programs save by writing a new file over the old one, which its folder tells of; others
    // write the same file again, which only the file itself tells of.
    if (!file.isEmpty())
        workbookWatcher_ = platform::followFiles(
            this, [file] { return QStringList { file }; }, [this] { Reread_Changed_Workbook(); });
}

bool TSLWindowController::Reread_Changed_Workbook()
{
    if (!Excel_Binding_Use || Excel_Source_Path.isEmpty() || Import_Excel::defaultInstance()->isVisible())
        return false;
    const Workbook_Reread::Stamp stamp = Workbook_Reread::stampOf(Excel_Source_Path);
    if (stamp.size < 0 || stamp == workbookStamp_)
        return false; // unchanged, or gone for now (a program saving it may bring it back)
    workbookStamp_ = stamp;
    return takeWorkbookData(QStringLiteral("The workbook \"%1\" has changed, but it cannot be read again: %2. The "
                                           "design keeps the data it had."));
}

void TSLWindowController::Read_Workbook_Of_Opened_Design()
{
    workbookStamp_ = Workbook_Reread::stampOf(Excel_Source_Path);
    followWorkbook();
    if (!Excel_Binding_Use || Excel_Source_Path.isEmpty() || bindingTable.columnCount() < 2)
        return; // nothing bound, or no column title to find the data by
    const QString kept
        = QStringLiteral("The design shows the data it stored (%1 records).").arg(bindingTable.rowCount());
    if (workbookStamp_.size < 0) {
        tellOfWorkbook(
            QStringLiteral("The workbook \"%1\" cannot be found. %2").arg(Path_In_Notice(Excel_Source_Path), kept));
        return;
    }
    takeWorkbookData(QStringLiteral("The workbook \"%1\" cannot be read: %2. ") + kept);
}

bool TSLWindowController::takeWorkbookData(const QString& cannotRead)
{
    const QString name = Name_In_Notice(QFileInfo(Excel_Source_Path).fileName());
    Spreadsheet_Binding_Table fresh;
    QString reason;
    QString sheet = workbookSheet_;
    if (!Workbook_Reread::read(Excel_Source_Path, &sheet, workbookTitleRow_, bindingTable, fresh, &reason)) {
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1); // the words around it end the sentence
        tellOfWorkbook(cannotRead.arg(name, reason));
        return false;
    }
    // A design saved before its sheet was kept has it found, names it, and keeps to it.
    const QString foundSheet = workbookSheet_.isEmpty() ? sheet : QString();
    workbookSheet_ = sheet;
    if (fresh == bindingTable) {
        // The same data: where its columns stand now, and what the sheet tells of its rows, are still taken.
        const bool placed = fresh.storedTitles() != bindingTable.storedTitles();
        bindingTable = fresh;
        if (placed)
            showSpreadsheetColumnOfSelection();
        return false;
    }
    const Spreadsheet_Binding_Table old = bindingTable;
    bindingTable = fresh;
    Data_From_Excel::defaultInstance()->reloadTable();
    markChangedOutsideUndo(); // the design file keeps the records
    Show_First_Spreadsheet_Record();
    showSpreadsheetColumnOfSelection();
    QString text = QStringLiteral("The workbook \"%1\" has changed: the design now shows its new data (%2 records)")
                       .arg(name)
                       .arg(bindingTable.rowCount());
    if (!foundSheet.isEmpty())
        text += QStringLiteral(" from the sheet \"%1\"").arg(foundSheet);
    text += QLatin1Char('.');
    const QStringList missing = Rebind_Spreadsheet_Items(old);
    if (!missing.isEmpty())
        text += QStringLiteral("\n\n") + Record_Fill::columnsNotFoundNotice(missing);
    tellOfWorkbook(text);
    return true;
}

void TSLWindowController::tellOfWorkbook(const QString& text)
{
    // A program saving the workbook again and again would otherwise stack one box on another: the data
    // are taken while a notice is up, and the one notice tells of the latest.
    const QString message = QLatin1Char('\n') + text;
    if (workbookNotice_) {
        workbookNotice_->setText(message);
        return;
    }
    workbookNotice_ = std::make_shared<platform::LiveText>();
    platform::MessageRequest notice { platform::MessageRequest::Kind::Information, message };
    notice.live = workbookNotice_;
    platform::ui().showMessage(notice);
    workbookNotice_.reset();
}

QString TSLWindowController::missingColumnOf(const TSLGraphic& item) const
{
    if (!Excel_Binding_Use || item.data_source_type != 2 || !Record_Fill::takesData(item)
        || !bindingTable.columnMissing(item.excel_col_indx))
        return {};
    Record_Source named;
    named.titles = bindingTable.shownTitles();
    return named.titleOf(item.excel_col_indx);
}
