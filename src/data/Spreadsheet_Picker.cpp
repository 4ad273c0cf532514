#include "data/Spreadsheet_Picker.h"

#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "common/PleaseWait_Modeless.h"
#include "data/Spreadsheet_Cells.h"
#include "data/Spreadsheet_Globals.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>

namespace {

enum TableColumn { StateColumn = 0, ExtensionColumn = 1, HeaderColumn = 2 };

// How much of a sheet the picker shows: its first rows holding a value, and their first columns.
constexpr qsizetype shownRows = 8;
constexpr int shownColumns = 12;

// A row as the title box offers it: "Row 3: Name, Table, Code".
QString offeredRow(int number, const QStringList& cells)
{
    QStringList values;
    for (const QString& cell : cells) {
        if (!Trim_Str(cell).isEmpty())
            values << Trim_Str(cell);
    }
    constexpr qsizetype longest = 60;
    QString text = values.join(QStringLiteral(", "));
    if (text.size() > longest)
        text = text.left(longest - 3) + QStringLiteral("...");
    return QStringLiteral("Row %1: %2").arg(number).arg(text);
}

} // namespace

Spreadsheet_Picker::Spreadsheet_Picker(QWidget* parent)
    : QDialog(parent)
{
}

void Spreadsheet_Picker::attach(const Widgets& widgets, bool withHeader)
{
    w_ = widgets;
    withHeader_ = withHeader;
    QTableWidget* table = w_.ColList;
    table->setColumnCount(withHeader ? 3 : 2);
    table->setHorizontalHeaderLabels(withHeader
            ? QStringList { QString(), QStringLiteral("Column"), QStringLiteral("Series Name") }
            : QStringList { QString(), QStringLiteral("Column") });
    table->horizontalHeader()->setSectionResizeMode(StateColumn, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setVisible(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(table, &QTableWidget::itemChanged, this, &Spreadsheet_Picker::tableItemChanged);
    // The box unticked is "no title row"; ticked, the row chosen beside it holds the titles.
    connect(w_.contains_header, &QCheckBox::toggled, this, &Spreadsheet_Picker::showTitleRow);
    connect(w_.title_row_box, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_)
            showTitleRow();
    });
    w_.sheet_rows->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(w_.Sheet_ComboBox, &QComboBox::activated, this, &Spreadsheet_Picker::comboBoxSelectionDidChange);
    connect(w_.OK_btn, &QPushButton::clicked, this, &Spreadsheet_Picker::OKPressed);
    connect(w_.Cancel_btn, &QPushButton::clicked, this, &Spreadsheet_Picker::CancelPressed);
    connect(w_.Select_All_btn, &QPushButton::clicked, this, &Spreadsheet_Picker::Select_ALL_Pressed);
    connect(w_.Clear_All_btn, &QPushButton::clicked, this, &Spreadsheet_Picker::Clear_All_Pressed);
    applySmallWindowLook(*this);
    w_.file_path->setTextFormat(Qt::PlainText); // a file's name is never markup
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("sheet_note"));
    note_->setTextFormat(Qt::PlainText);
    note_->setWordWrap(true);
    if (auto* box = qobject_cast<QBoxLayout*>(layout()))
        box->insertWidget(box->indexOf(w_.ColList), note_);
}

void Spreadsheet_Picker::CancelPressed()
{
    excel_content.clear();
    done(0);
}

bool Spreadsheet_Picker::columnsChosen() const
{
    if (ListData_xl.isEmpty()) {
        Show_MessageBox(QStringLiteral("There is no column."));
        return false;
    }
    if (!Check_For_One_Extension_Selection()) {
        Show_MessageBox(QStringLiteral("No column is selected."));
        return false;
    }
    return true;
}

void Spreadsheet_Picker::resetForOpening(const QString& path)
{
    Excel_Sheet_Number = 1;
    path_ = path;
    w_.file_path->setText(Path_In_Notice(path));
    note_->clear();
    {
        const QSignalBlocker quiet(w_.contains_header); // nothing of this workbook is read yet
        w_.contains_header->setChecked(true);
    }
    filling_ = true;
    w_.title_row_box->clear();
    w_.title_row_box->setEnabled(true);
    filling_ = false;
    w_.sheet_rows->clear();
    w_.sheet_rows->setRowCount(0);
    w_.sheet_rows->setColumnCount(0);
    foundRow_ = 0;
    ListData_xl.clear();
    showColumns();
    w_.Sheet_ComboBox->clear();
    w_.Sheet_ComboBox->setEditText(QString());
    excel_content.clear();
    sheetNumbers_.clear();
}

QString Spreadsheet_Picker::sheetName() const
{
    return w_.Sheet_ComboBox->currentText();
}

bool Spreadsheet_Picker::containsHeader() const
{
    return w_.contains_header->isChecked();
}

Title_Row_Choice Spreadsheet_Picker::titleRowChoice() const
{
    if (!containsHeader())
        return Title_Row_Choice::none();
    const int number = w_.title_row_box->currentData().toInt();
    return number > 0 && number != foundRow_ ? Title_Row_Choice::sheetRow(number) : Title_Row_Choice();
}

void Spreadsheet_Picker::Show_Create_Modeless()
{
    PleaseWait_Modeless::defaultInstance()->showPainted(QStringLiteral("Please wait..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void Spreadsheet_Picker::Hide_Destroy_Modeless()
{
    PleaseWait_Modeless::defaultInstance()->hide();
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

bool Spreadsheet_Picker::Load_file_Func(const QString& path)
{
    Show_Create_Modeless();
    excel_content = SpreadsheetWriter::ReadWorkbook(path, true);
    if (!readSucceeded())
        return false;
    // Worksheets in the workbook's tab order, under their own names.
    sheetNumbers_ = SpreadsheetWriter::Worksheet_Numbers();
    w_.Sheet_ComboBox->addItems(SpreadsheetWriter::Read_Sheet_Name());
    Hide_Destroy_Modeless();
    if (sheetNumbers_.isEmpty()) {
        Show_MessageBox(QStringLiteral("The workbook has no worksheet."));
        return false;
    }
    w_.Sheet_ComboBox->setCurrentIndex(0);
    // A first sheet that cannot be read (too large, damaged, cancelled) keeps the picker closed.
    return comboBoxSelectionDidChange(0);
}

bool Spreadsheet_Picker::comboBoxSelectionDidChange(int index)
{
    if (index < 0 || index >= sheetNumbers_.size())
        return false;
    Excel_Sheet_Number = sheetNumbers_.at(index);
    Show_Create_Modeless();
    excel_content = SpreadsheetWriter::ReadData_only_column();
    Hide_Destroy_Modeless();
    const QString error = SpreadsheetWriter::lastError();
    if (excel_content.isEmpty() || excel_content.first().isEmpty()) {
        if (!error.isEmpty() || SpreadsheetWriter::lastReadCancelled()) {
            // The table keeps what it showed; the reason, when there is one, is told.
            if (!error.isEmpty())
                Show_MessageBox(error);
            return false;
        }
        // A sheet without columns lists none, never the columns or rows of the sheet shown before.
        ListData_xl.clear();
        showColumns();
        offerTitleRows();
        note_->clear();
        Show_MessageBox(
            QStringLiteral("The sheet \"%1\" has no columns.").arg(Name_In_Notice(w_.Sheet_ComboBox->itemText(index))));
        return true;
    }
    ListData_xl.clear(); // another sheet's ticks say nothing of this one's columns
    offerTitleRows();
    showTitleRow();
    tellFormulasWithoutResult();
    return true;
}

void Spreadsheet_Picker::offerTitleRows()
{
    const Workbook_Sheet* sheet = SpreadsheetWriter::headerSheet();
    filling_ = true;
    w_.title_row_box->clear();
    QTableWidget* shown = w_.sheet_rows;
    shown->clear();
    shown->setRowCount(0);
    const qsizetype found = sheet ? foundTitleRow(sheet->rows, sheet->facts) : -1;
    foundRow_ = found < 0 ? 0 : sheetRowNumber(sheet->facts, found);
    const int width = sheet ? std::min(sheet->width, shownColumns) : 0;
    shown->setColumnCount(width);
    QStringList letters;
    for (int c = 0; c < width; ++c)
        letters << ColumnIndexToName(c + 1);
    shown->setHorizontalHeaderLabels(letters);
    QStringList numbers;
    for (qsizetype r = 0; sheet && r < sheet->rows.size(); ++r) {
        // The titles found are offered however far down they stand.
        if (!holdsValue(sheet->rows.at(r)) || (numbers.size() >= shownRows && r != found))
            continue;
        const QStringList cells = shownCells(sheet->rows, sheet->facts, r); // a date as a date
        const int number = sheetRowNumber(sheet->facts, r);
        w_.title_row_box->addItem(offeredRow(number, cells), number);
        const int row = shown->rowCount();
        shown->insertRow(row);
        numbers << QString::number(number);
        for (int c = 0; c < width; ++c)
            shown->setItem(row, c, new QTableWidgetItem(Trim_Str(cells.value(c))));
    }
    shown->setVerticalHeaderLabels(numbers);
    w_.title_row_box->setCurrentIndex(std::max(0, w_.title_row_box->findData(foundRow_)));
    filling_ = false;
}

void Spreadsheet_Picker::showTitleRow()
{
    w_.title_row_box->setEnabled(containsHeader());
    const Workbook_Sheet* sheet = SpreadsheetWriter::headerSheet();
    if (!sheet || w_.title_row_box->count() == 0)
        return; // nothing of a sheet is read, or it holds no value
    const Title_Row_Choice choice = titleRowChoice();
    const Sheet_Table table = sheetTableOf(sheet->rows, sheet->facts, choice);
    QList<Sheet_Column> list;
    if (table.titles >= 0) {
        list = Create_Column_List(shownCells(sheet->rows, sheet->facts, table.titles));
    } else {
        // Without titles a column is named by its place, never by a guest's value.
        list = Create_Column_List(QStringList(sheet->width));
        for (Sheet_Column& entry : list)
            entry.Extension = entry.Header = positionalTitle(entry.column);
    }
    if (positionalNames_ && table.titles >= 0) {
        QStringList titles;
        for (Sheet_Column& entry : list) {
            if (entry.Extension == QStringLiteral("Untitled Column %1").arg(entry.column + 1))
                entry.Extension = positionalTitle(entry.column);
            titles << entry.Extension;
        }
        // Columns of one title are told apart by their letters, as the inspector lists them once bound.
        for (Sheet_Column& entry : list) {
            if (titles.count(entry.Extension) > 1)
                entry.Extension += QStringLiteral(" (column %1)").arg(ColumnIndexToName(entry.column + 1));
        }
    }
    for (Sheet_Column& entry : list)
        entry.State = Get_Selection_State(entry.column) == 1;
    ListData_xl = list;
    showColumns();
    note_->setText(sheetNote(sheet->rows, sheet->facts, choice));
    // The titles in bold, a heading above them in grey.
    const int titleNumber = table.titles >= 0 ? sheetRowNumber(sheet->facts, table.titles) : 0;
    QTableWidget* shown = w_.sheet_rows;
    for (int row = 0; row < shown->rowCount(); ++row) {
        const int number = shown->verticalHeaderItem(row) ? shown->verticalHeaderItem(row)->text().toInt() : 0;
        for (int c = 0; c < shown->columnCount(); ++c) {
            QTableWidgetItem* item = shown->item(row, c);
            QFont font = item->font();
            font.setBold(number == titleNumber);
            item->setFont(font);
            item->setForeground(number < titleNumber ? shown->palette().brush(QPalette::Disabled, QPalette::Text)
                                                     : shown->palette().brush(QPalette::Active, QPalette::Text));
        }
    }
}

void Spreadsheet_Picker::tellFormulasWithoutResult()
{
    const std::int64_t count = SpreadsheetWriter::formulasWithoutResult();
    if (count == 1)
        Show_MessageBox(QStringLiteral("1 formula cell of this worksheet has no stored result and reads as an empty "
                                       "value. Open the workbook in a spreadsheet program and save it there to "
                                       "store its result."));
    else if (count > 1)
        Show_MessageBox(QStringLiteral("%1 formula cells of this worksheet have no stored result and read as empty "
                                       "values. Open the workbook in a spreadsheet program and save it there to "
                                       "store their results.")
                            .arg(count));
}

void Spreadsheet_Picker::showColumns()
{
    filling_ = true;
    QTableWidget* table = w_.ColList;
    table->clearContents();
    table->setRowCount(int(ListData_xl.size()));
    for (int row = 0; row < ListData_xl.size(); ++row) {
        const Sheet_Column& entry = ListData_xl.at(row);
        auto* tick = new QTableWidgetItem();
        tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        tick->setCheckState(entry.State ? Qt::Checked : Qt::Unchecked);
        table->setItem(row, StateColumn, tick);
        auto* name = new QTableWidgetItem(entry.Extension);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table->setItem(row, ExtensionColumn, name);
        if (withHeader_) {
            auto* header = new QTableWidgetItem(entry.Header);
            header->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            table->setItem(row, HeaderColumn, header);
        }
    }
    filling_ = false;
}

void Spreadsheet_Picker::tableItemChanged(QTableWidgetItem* item)
{
    if (filling_ || !item || item->row() < 0 || item->row() >= ListData_xl.size())
        return;
    Sheet_Column& entry = ListData_xl[item->row()];
    if (item->column() == StateColumn)
        entry.State = item->checkState() == Qt::Checked;
    else if (item->column() == HeaderColumn)
        entry.Header = item->text();
}

void Spreadsheet_Picker::Select_ALL_Pressed()
{
    for (Sheet_Column& entry : ListData_xl)
        entry.State = true;
    showColumns();
}

void Spreadsheet_Picker::Clear_All_Pressed()
{
    for (Sheet_Column& entry : ListData_xl)
        entry.State = false;
    showColumns();
}

bool Spreadsheet_Picker::Check_For_One_Extension_Selection() const
{
    return !tickedColumns(ListData_xl).isEmpty();
}

int Spreadsheet_Picker::Get_Selection_State(int column) const
{
    for (const Sheet_Column& entry : ListData_xl) {
        if (entry.column == column)
            return entry.State ? 1 : 0;
    }
    return 0;
}

void Spreadsheet_Picker::setSelectionState(int column, bool ticked)
{
    for (int row = 0; row < ListData_xl.size(); ++row) {
        if (ListData_xl.at(row).column == column)
            w_.ColList->item(row, StateColumn)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

bool Spreadsheet_Picker::readAllRows()
{
    excel_content = SpreadsheetWriter::ReadWorkbook(workbookPath(), false);
    return readSucceeded();
}

bool Spreadsheet_Picker::readSucceeded()
{
    const QString error = SpreadsheetWriter::lastError();
    if (error.isEmpty() && !SpreadsheetWriter::lastReadCancelled())
        return true;
    Hide_Destroy_Modeless();
    if (!error.isEmpty())
        Show_MessageBox(error); // a read the user cancelled needs no message
    return false;
}
