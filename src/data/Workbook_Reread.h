#pragma once

#include "data/Spreadsheet_Binding_Table.h"

#include <QDateTime>
#include <QString>

// A bound workbook read again after another program changed it: the same worksheet, found by its name,
// and the same columns, found by their titles and their places among the sheet's columns of that title (the
// second "Name" stays the second) wherever they stand now. The binding table keeps its column
// order, so the items bound to it keep their columns; a title the sheet no longer has stays in the table
// without values, so its items come out blank and the runs say so, and the sheet's other columns are added
// after the table's own, so that the items can be bound to the columns the sheet has now.
namespace Workbook_Reread {

// What tells that a file has changed since it was read: its size and time of change.
struct Stamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const Stamp&) const = default;
};
Stamp stampOf(const QString& path); // size -1 when there is no such file

// Whether the table was read from a sheet with a title row: as the table knows it, else as its rows tell.
bool hasTitleRow(const Spreadsheet_Binding_Table& table);
// Where the table's titles are taken from: the person's choice the table keeps, else found from the sheet when it
// had a title row.
Title_Row_Choice titleRowOf(const Spreadsheet_Binding_Table& table);

// Reads the workbook at path into a table of the given table's titles: the rows holding a value of the
// worksheet named *sheet, below the title row chosen. With no sheet named (a design saved before its
// sheet was kept), the first worksheet whose rows are the table's own, else the one holding most of them,
// else the first whose title row has the most of the titles, and *sheet names it. False, with the reason
// for the user, when it cannot be read or the named sheet is gone.
bool read(const QString& path, QString* sheet, const Title_Row_Choice& titleRow, const Spreadsheet_Binding_Table& table,
    Spreadsheet_Binding_Table& fresh, QString* reason);

} // namespace Workbook_Reread
