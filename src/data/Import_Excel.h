#pragma once

#include "data/Spreadsheet_Picker.h"

#include <memory>

namespace Ui {
class Import_Excel;
}

// The spreadsheet column picker. Mode "D": the ticked cells go, row by row, into the series manager's value
// list. Any other mode ("E"): the ticked columns become the spreadsheet binding table.
class Import_Excel : public Spreadsheet_Picker {
    Q_OBJECT
public:
    static Import_Excel* defaultInstance()
    {
        static Import_Excel* const instance = new Import_Excel();
        return instance;
    }
    ~Import_Excel() override;

    QString open_mode = QStringLiteral("D");

    // Opens the workbook and runs the picker; 1 when an import ran, 0 for Cancel or an unreadable workbook.
    int Open_excel_Wnd(const QString& path);
    void OKPressed() override;
    void Insert_file_Func(const QString& path); // mode "D"
    void Create_Excel_List_Func(const QString& path); // mode "E"

    Ui::Import_Excel& form() { return *ui_; }

private:
    explicit Import_Excel(QWidget* parent = nullptr);
    std::unique_ptr<Ui::Import_Excel> ui_;
};
