#include "data/SpreadsheetWriter.h"

#include "data/Sheet_Column_List.h"
#include "data/Spreadsheet_Globals.h"

#include <algorithm>

SpreadsheetWriter::Rows SpreadsheetWriter::ReadData_only_column()
{
    SpreadsheetWriter& object = spreadsheet();
    setLastError(QString());
    object.data_ = Rows();
    const Workbook_Sheet* sheet = object.loadSheet(Excel_Sheet_Number);
    if (!sheet)
        return object.data_;
    Excel_Sheet_Columns = sheet->width;
    // The titles are in the first row holding a value: rows drawn or formatted above it hold none.
    const auto first = std::find_if(sheet->rows.cbegin(), sheet->rows.cend(), holdsValue);
    if (first == sheet->rows.cend())
        return object.data_;
    QStringList header = *first;
    for (int i = 0; i < header.size(); ++i) {
        if (header.at(i).isEmpty())
            header[i] = QStringLiteral("Untitled Column %1").arg(i + 1);
    }
    object.data_.append(header);
    return object.data_;
}

bool SpreadsheetWriter::ReadData(int number)
{
    setLastError(QString());
    data_ = Rows();
    if (!loadSheet(number))
        return false;
    Excel_Sheet_Columns = sheet_->width;
    // The rows are handed over, not copied: the kept sheet is done with.
    data_ = std::move(sheet_->rows);
    sheet_.reset();
    return true;
}
