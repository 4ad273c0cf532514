#pragma once

#include "data/SpreadsheetWriter.h"

#include <QList>
#include <QString>
#include <QStringList>

class Spreadsheet_Binding_Table;

// One sheet column as the spreadsheet pickers list it. A row stands for its sheet column by index, so a
// blank header cell never shifts the columns after it.
struct Sheet_Column {
    int column = 0; // 0-based sheet column
    bool State = false; // ticked
    QString Extension; // header text, trimmed; a blank header gets "Untitled Column %d"
    QString Header; // the series name offered for the column (the header text as it stands)
    bool operator==(const Sheet_Column&) const = default;
};

// The picker's list for a header row: one entry per sheet column, in sheet order.
QList<Sheet_Column> Create_Column_List(const QStringList& headerRow);

// The ticked sheet columns, in sheet order.
QList<int> tickedColumns(const QList<Sheet_Column>& list);

// Whether any cell of a row holds a value. A row whose cells are all empty or blank (drawn or formatted but
// never filled, or cleared) holds no guest: like a row the sheet leaves out, it is neither titles nor record.
bool holdsValue(const QStringList& row);
// The rows that hold a value, in sheet order: what every reading of a sheet works on.
SpreadsheetWriter::Rows rowsWithValues(const SpreadsheetWriter::Rows& rows);

// Without a title row a column is named by its place, as spreadsheet programs label it ("Column B"): a
// guest's value names nothing, so correcting it in the workbook keeps the column.
QString positionalTitle(int column);
// The 0-based sheet column such a name stands for; -1 for any other title.
int columnOfPositionalTitle(const QString& title);

// The ticked cells row by row (row-major), each trimmed, from the second row holding a value when the first
// holds titles. Columns outside a row are read as empty.
QStringList tickedValuesRowMajor(const SpreadsheetWriter::Rows& rows, const QList<int>& ticked, bool containsHeader);

// One ticked column's cells, trimmed, from the second row when the first holds titles.
QStringList columnValues(const SpreadsheetWriter::Rows& rows, int column, bool containsHeader);

// Replaces the binding table by the ticked columns: titles from the first row holding a value (trimmed), or
// the columns' places when it holds no titles; one record per row holding a value, from the second when the
// first holds titles. Nothing changes when no row holds a value; false then.
bool Fill_Binding_Table(Spreadsheet_Binding_Table& table, const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    bool containsHeader);
