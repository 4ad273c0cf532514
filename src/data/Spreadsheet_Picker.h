#pragma once

#include "data/Sheet_Column_List.h"
#include "data/SpreadsheetWriter.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// What the two spreadsheet pickers share: a workbook is opened, its worksheets are listed by name, the
// chosen sheet's first rows are shown with the row taken as the titles, which the person may change or untick,
// and the sheet's columns are listed with tick boxes under those titles. A listed row always stands for its own
// sheet column.
class Spreadsheet_Picker : public QDialog {
    Q_OBJECT
public:
    QList<Sheet_Column> ListData_xl;
    SpreadsheetWriter::Rows excel_content;

    // Opens the workbook and lists its worksheets and the first one's columns. False, after telling the
    // user why, when the file is not a readable workbook.
    bool Load_file_Func(const QString& path);
    // Lists the columns of the worksheet at this place of the sheet box; false when it could not be read.
    bool comboBoxSelectionDidChange(int index);
    virtual void OKPressed() = 0;
    // Forgets the rows read and ends the run with 0.
    virtual void CancelPressed();
    void Select_ALL_Pressed();
    void Clear_All_Pressed();
    bool Check_For_One_Extension_Selection() const;
    int Get_Selection_State(int column) const; // the tick of a sheet column; 0 when it is not listed
    void setSelectionState(int column, bool ticked);
    void Show_Create_Modeless();
    void Hide_Destroy_Modeless();

    QString workbookPath() const { return path_; }
    QString sheetName() const; // the listed worksheet's own name
    bool containsHeader() const; // the titles box: unticked, no row holds titles
    // Where the titles are: found from the sheet while the person keeps the row offered, the row they chose, or
    // none with the titles box unticked.
    Title_Row_Choice titleRowChoice() const;
    QList<int> sheetNumbers() const { return sheetNumbers_; }

protected:
    struct Widgets {
        QLabel* file_path = nullptr;
        QComboBox* Sheet_ComboBox = nullptr;
        QCheckBox* contains_header = nullptr;
        QComboBox* title_row_box = nullptr;
        QTableWidget* sheet_rows = nullptr;
        QTableWidget* ColList = nullptr;
        QPushButton* OK_btn = nullptr;
        QPushButton* Cancel_btn = nullptr;
        QPushButton* Select_All_btn = nullptr;
        QPushButton* Clear_All_btn = nullptr;
    };
    explicit Spreadsheet_Picker(QWidget* parent = nullptr);
    // The subclass hands over its form's widgets, which get the small-window look and the common buttons'
    // actions; withHeader adds the editable series-name column.
    void attach(const Widgets& widgets, bool withHeader);
    // Empties the picker for a workbook at path (steps common to both pickers).
    void resetForOpening(const QString& path);
    // True when the sheet has columns and one is ticked; otherwise tells the user which is missing.
    bool columnsChosen() const;
    // Every row of the chosen worksheet; false, after telling the user why, when it cannot be read.
    bool readAllRows();
    // True when the last read step succeeded; otherwise hides the wait window and tells the user why.
    bool readSucceeded();
    void showColumns();
    // The binding picker lists an untitled column by its place ("Column B"), as every list of the binding does.
    bool positionalNames_ = false;

private:
    void tableItemChanged(QTableWidgetItem* item);
    // Offers the first rows of the sheet just read as title rows, the one found chosen.
    void offerTitleRows();
    // Lists the columns under the titles chosen, keeping each column's tick, and marks the rows shown.
    void showTitleRow();
    // Says how many formula cells of the sheet just read had no stored result; nothing when none.
    void tellFormulasWithoutResult();

    Widgets w_;
    QLabel* note_ = nullptr; // which row the titles come from, hidden rows, a likely total
    QString path_;
    bool withHeader_ = false;
    bool filling_ = false;
    int foundRow_ = 0; // the sheet's number of the title row found from the sheet; 0 for none
    QList<int> sheetNumbers_;
};
