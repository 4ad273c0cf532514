#include "data/SpreadsheetWriter.h"

#include "data/Sheet_Column_List.h"
#include "data/Spreadsheet_Globals.h"

SpreadsheetWriter::Rows SpreadsheetWriter::ReadData_only_column()
{
    SpreadsheetWriter& object = spreadsheet();
    setLastError(QString());
    object.data_ = Rows();
    const Workbook_Sheet* sheet = object.loadSheet(Excel_Sheet_Number);
    if (!sheet)
        return object.data_;
    Excel_Sheet_Columns = sheet->width;
    // The titles stand below any heading, in the first row holding a value: rows drawn or formatted above hold
    // none.
    const Sheet_Table table = sheetTableOf(sheet->rows, sheet->facts, true);
    if (table.titles < 0)
        return object.data_;
    QStringList header = shownCells(sheet->rows, sheet->facts, table.titles);
    for (int i = 0; i < header.size(); ++i) {
        if (header.at(i).isEmpty())
            header[i] = QStringLiteral("Untitled Column %1").arg(i + 1);
    }
    object.data_.append(header);
    return object.data_;
}

const Workbook_Sheet* SpreadsheetWriter::headerSheet()
{
    const SpreadsheetWriter& object = spreadsheet();
    return object.sheetNumber_ == Excel_Sheet_Number ? object.sheet_.get() : nullptr;
}

const QList<Workbook_Row>& SpreadsheetWriter::rowFacts()
{
    static const QList<Workbook_Row> none;
    const SpreadsheetWriter& object = spreadsheet();
    return object.facts_.size() == object.data_.size() ? object.facts_ : none; // rows set since tell nothing
}

bool SpreadsheetWriter::ReadData(int number)
{
    setLastError(QString());
    data_ = Rows();
    facts_.clear();
    if (!loadSheet(number))
        return false;
    Excel_Sheet_Columns = sheet_->width;
    // The rows are handed over, not copied: the kept sheet is done with.
    data_ = std::move(sheet_->rows);
    facts_ = std::move(sheet_->facts);
    sheet_.reset();
    return true;
}
