#pragma once

#include "data/Spreadsheet_Picker.h"

#include <memory>

namespace Ui {
class Import_Excel_DataSheet;
}

// The spreadsheet-to-series import: ticked columns of one worksheet become batch series, one per column
// (named after the column) or all into one series that is new, replaces one or is appended to one.
class Import_Excel_DataSheet : public Spreadsheet_Picker {
    Q_OBJECT
public:
    static Import_Excel_DataSheet* defaultInstance()
    {
        static Import_Excel_DataSheet* const instance = new Import_Excel_DataSheet();
        return instance;
    }
    ~Import_Excel_DataSheet() override;

    int file_name_Insert = 0; // 1: the series manager's list is refilled after an import
    int fill_col_option = 0; // one series: 0 new, 1 replace, 2 append

    // Opens the workbook and runs the picker; 1 when an import ran, 0 for Cancel or an unreadable workbook.
    int Open_excel_Wnd(const QString& path);
    void Each_Col_RD_Click();
    void Fill_Col_RD_Click();
    void Fill_Type_CellClick(int option);
    void OKPressed() override;
    bool Create_file_For_Col_Func(const QString& path);
    bool Insert_file_Func(const QString& path); // false when the picker stays open for the user to correct

    Ui::Import_Excel_DataSheet& form() { return *ui_; }

private:
    explicit Import_Excel_DataSheet(QWidget* parent = nullptr);
    void resetFillMode();
    // One ticked column into its own series; asks about existing series as the user has chosen.
    void writeColumnSeries(const Sheet_Column& entry, bool askWithApplyAll);
    std::unique_ptr<Ui::Import_Excel_DataSheet> ui_;
};
