#pragma once

#include "data/Spreadsheet_Binding_Table.h"

#include <QDialog>

#include <memory>

namespace Ui {
class Data_From_Excel;
}
class Binding_Table_Model;
class QTableView;

// The window of the spreadsheet binding table: the records and columns that card items bound to "Excel"
// take their values from, editable in place. It shows the table it is given (the main window's), or a
// table of its own.
class Data_From_Excel : public QDialog {
    Q_OBJECT
public:
    static Data_From_Excel* defaultInstance();
    ~Data_From_Excel() override;

    // Shows and edits the given table (nullptr: the window's own). With an owner, the window goes back to its
    // own table when the owner goes away, so it never reaches a table that no longer exists.
    void setTable(Spreadsheet_Binding_Table* table, QObject* owner = nullptr);
    Spreadsheet_Binding_Table& table() const { return *table_; }
    const QList<Spreadsheet_Binding_Table::Row>& ListData() const { return table_->ListData(); }

    int Open_Wnd(); // 1 after OK
    void OK_Click();
    void Create_List_By_Array(const QStringList& values, int count);
    void Create_Value_List(const QString& text);
    void Mark_List_New_Selection(int row);
    void reloadTable(); // after the table was filled elsewhere

    QTableView* ColList() const;
    Ui::Data_From_Excel& form() { return *ui_; }

private:
    explicit Data_From_Excel(QWidget* parent = nullptr);
    void showCounts();

    std::unique_ptr<Ui::Data_From_Excel> ui_;
    Binding_Table_Model* model_ = nullptr;
    Spreadsheet_Binding_Table ownTable_;
    Spreadsheet_Binding_Table* table_ = &ownTable_;
    QMetaObject::Connection ownerGone_;
};

// The window's one instance once it has been made; every other window reaches the table through it.
extern Data_From_Excel* Data_From_Excel_Window;
