#pragma once

#include "data/Spreadsheet_Binding_Table.h"

#include <QDateTime>
#include <QString>

// A bound workbook read again after another program changed it: the same worksheet, found by its name,
// and the same columns, found by their titles wherever they stand now. The binding table keeps its column
// order, so the items bound to it keep their columns; a title the sheet no longer has stays in the table
// without values, so its items come out blank and the runs say so.
namespace Workbook_Reread {

// What tells that a file has changed since it was read: its size and time of change.
struct Stamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const Stamp&) const = default;
};
Stamp stampOf(const QString& path); // size -1 when there is no such file

// Reads the workbook at path into a table of the given table's titles: the worksheet named sheet (a design
// read from a file names none: the first worksheet whose title row has the most of the titles), from its
// second row when hasHeader. False, with the reason for the user, when it cannot be read.
bool read(const QString& path, const QString& sheet, bool hasHeader, const Spreadsheet_Binding_Table& table,
    Spreadsheet_Binding_Table& fresh, QString* reason);

} // namespace Workbook_Reread
