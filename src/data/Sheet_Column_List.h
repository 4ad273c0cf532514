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

// The ticked cells row by row (row-major), each trimmed, from the second row when the first holds titles.
// Columns outside a row are read as empty.
QStringList tickedValuesRowMajor(const SpreadsheetWriter::Rows& rows, const QList<int>& ticked, bool containsHeader);

// One ticked column's cells, trimmed, from the second row when the first holds titles.
QStringList columnValues(const SpreadsheetWriter::Rows& rows, int column, bool containsHeader);

// Replaces the binding table by the ticked columns: titles from the first row (trimmed), one record per
// row with at least one cell, from the second row when the first holds titles. Nothing changes when there
// are no rows; false then.
bool Fill_Binding_Table(Spreadsheet_Binding_Table& table, const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    bool containsHeader);
