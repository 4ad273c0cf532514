#pragma once

#include "data/Sheet_Heading.h"
#include "data/SpreadsheetWriter.h"
#include "data/Title_Row_Choice.h"

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

// Where a sheet's table stands among its rows (places in the rows read): the title row, and the rows holding a
// value after it, each a record. The title row is the one the person chose, or none, or the one found from the
// sheet (foundTitleRow); rows above it are a heading and make no card. Without titles every row holding a value is
// a record. Facts as the reader gives them, one per row; without them the rows count as consecutive and shown.
struct Sheet_Table {
    qsizetype titles = -1;
    QList<qsizetype> records;
};
Sheet_Table sheetTableOf(
    const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts, const Title_Row_Choice& titleRow);
// The sheet's own number of the row at this place (from 1).
int sheetRowNumber(const Sheet_Facts& facts, qsizetype place);

// The titles of a title row as every list shows them: trimmed, and an untitled column named by its place. The
// title row as shownCells gives it, so that a date shows as a date.
QStringList shownTitles(const QStringList& titleRow);

// What a person is told of a sheet's records: how many of them the workbook hides (or filters out), and a last
// record that looks like a total (formulas over the columns above, labelled or not, or a typed "Total: 40"). Empty
// when there is nothing.
QString recordsNote(const Sheet_Facts& facts, const Sheet_Table& table);
// Which row the titles were taken from: "The titles are taken from row 3." Empty without titles.
QString titleRowNote(const Sheet_Facts& facts, const Sheet_Table& table);
// What lies above the titles: "Rows 1-2 above the titles are a heading and make no cards." Empty when nothing does.
QString headingNote(const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts, const Sheet_Table& table);
// All a picker tells of a sheet read with this choice of titles: where the titles are (or that no row holds any),
// the heading above them, and the records note.
QString sheetNote(const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts, const Title_Row_Choice& titleRow);

// The ticked cells row by row (row-major), each trimmed, from the record rows of the sheet's table. Columns
// outside a row are read as empty.
QStringList tickedValuesRowMajor(const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    const Title_Row_Choice& titleRow, const Sheet_Facts& facts = {});
// The sheet's row numbers of the blank cells among them, one per blank cell, in the same order.
QList<int> blankCellRows(const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    const Title_Row_Choice& titleRow, const Sheet_Facts& facts = {});
// "2 blank cells were left out (rows 4 and 9)."; empty for none.
QString blanksLeftOutNote(const QList<int>& rows);

// One ticked column's cells, trimmed, from the record rows of the sheet's table.
QStringList columnValues(
    const SpreadsheetWriter::Rows& rows, int column, const Title_Row_Choice& titleRow, const Sheet_Facts& facts = {});

// Replaces the binding table by the ticked columns: titles from the sheet's title row (trimmed, an untitled
// column named by its place), or the columns' places when it holds no titles, each column with its place
// among the sheet's columns of its title; one record per record row. The table keeps the records note. Nothing
// changes when no row holds a value; false then.
bool Fill_Binding_Table(Spreadsheet_Binding_Table& table, const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    const Title_Row_Choice& titleRow, const Sheet_Facts& facts = {});
