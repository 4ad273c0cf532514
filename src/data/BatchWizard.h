#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class BatchWizard;
}
class QTableView;
class Series_Value_Model;

// The series manager: a first screen listing the series of the series folder (create, open, delete, import,
// generate) and a second screen with the values of one series (add, generate, import, delete, edit, export,
// save under the same or another name). The generator, the import wizard and the value editor add to its
// value list through Create_Value_List.
class BatchWizard : public QDialog {
    Q_OBJECT
public:
    static BatchWizard* defaultInstance();
    ~BatchWizard() override;

    // Whoever provides the series import wizard sets this: (file_name_required, file_name_Insert) -> result.
    // Without it the import buttons are off.
    static std::function<int(int, int)> importWizard;
    // Writes one column of values, its title first, as a workbook; without it only text files are exported.
    static std::function<bool(const QString& path, const QStringList& column)> workbookWriter;

    int Open_Wnd();

    // First screen.
    void AddNew_Btn_Clicked();
    void Update_Btn_Clicked() { On_Update(); }
    void Delete_List_Btn_Clicked();
    void Import_Btn_Clicked();
    void CreateSeries_Btn_Clicked();
    void Help_Btn_Clicked();
    void Close_Btn_Clicked();
    // Second screen.
    void Import_Value_Btn_Clicked();
    void Series_Value_Btn_Clicked();
    void Delete_Rows_Btn_Clicked();
    void Export_Value_Btn_Clicked();
    bool Save_Btn_Clicked(); // true when the series was written
    void Back_Btn_Clicked();
    // Values typed, imported or deleted since the series was opened or saved.
    bool hasUnsavedValues() const;

    void Create_Avail_List(const QString& name);
    void Create_Value_List(const QString& value);
    // The same for many values at once; a blank value between two others is kept as a blank row.
    void Create_Value_Lists(const QStringList& values);
    void Fill_List();
    QString Get_List_Name_Text(int row) const;
    QString Get_Value_Text(int row) const;
    bool Batch_List_Selection_Validation();
    void On_Update();
    void doubleClickInTable(QTableView* table);
    void OnGetSelected();
    void Show_hide_first_screen(bool hide);
    void Show_hide_Last_screen(bool hide);
    void Update_batch_List_Count();
    void Update_Value_List_Count();
    void Mark_List_New_Selection(int row);
    void Mark_List_New_Selection_Value(int row);

    const Series_Value_Model& ListData() const { return *ListData_; }
    const Series_Value_Model& ListData_value() const { return *ListData_value_; }
    Series_Value_Model& ListData_value() { return *ListData_value_; }
    QTableView* List() const;
    QTableView* List_value() const;
    Ui::BatchWizard& form() { return *ui_; }

protected:
    void reject() override { Close_Btn_Clicked(); }

private:
    explicit BatchWizard(QWidget* parent = nullptr);
    void connectButtons();
    // Rows selected in a table, ascending, and the one the user selected last (-1 when none).
    static QList<int> selectedRows(const QTableView* table);
    static int lastSelectedRow(const QTableView* table);
    // Runs the load prompt when the value list is not empty; false when the user cancelled.
    bool Prepare_Value_List_For_New_Values();
    // The first values to arrive after "Yes, remove them" take the list's place.
    void takeOverListOnArrival();
    bool replaceOnArrival_ = false;
    bool writeExport(const QString& path, bool workbook, QString* error);
    void enableImports();
    // Asks Save / Don't Save / Cancel when values are unsaved; false when the series screen must stay.
    bool valuesMayBeLeft();
    void markValuesSaved();

    std::unique_ptr<Ui::BatchWizard> ui_;
    Series_Value_Model* ListData_ = nullptr;
    Series_Value_Model* ListData_value_ = nullptr;
    QStringList savedValues_; // the values as the series file holds them
};

// The manager's one instance once it has been made, as the generator and the import wizard reach it.
extern BatchWizard* BatchWizard_Window;
