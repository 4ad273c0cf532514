#include "data/Workbook_Reread.h"

#include "common/Common_Functions.h"
#include "data/Sheet_Column_List.h"
#include "data/Spreadsheet_Globals.h"
#include "data/SpreadsheetWriter.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace Workbook_Reread {

namespace {

// The rows of a sheet as read, with the reader's facts of each.
struct Sheet_Rows {
    SpreadsheetWriter::Rows rows;
    Sheet_Facts facts;
};

// The sheet column of each wanted column in a title row, and where it stands there; -1 where the row has none.
// A column is the one at its place among the row's columns of its title (the second "Name" stays the second),
// else the one at its letter when that still has the title.
QList<int> columnsOf(const QStringList& wanted, const QList<Sheet_Place>& places, const QStringList& titleRow,
    QList<Sheet_Place>* found = nullptr)
{
    const QStringList shown = shownTitles(titleRow);
    QList<int> columns;
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const Sheet_Place place = places.value(i);
        int column = int(Spreadsheet_Binding_Table::indexOfTitle(shown, wanted.at(i), place.occurrence));
        if (column < 0 && place.column >= 0 && shown.value(place.column) == wanted.at(i))
            column = place.column;
        columns << column;
        if (found)
            *found << (column < 0 ? place
                                  : Sheet_Place { Spreadsheet_Binding_Table::occurrenceOfTitle(shown, column), column,
                                      shown.count(wanted.at(i)) > 1 });
    }
    return columns;
}

QList<Sheet_Place> placesOf(const Spreadsheet_Binding_Table& table)
{
    QList<Sheet_Place> places;
    for (int position = 1; position < table.columnCount(); ++position)
        places << table.placeOf(position);
    return places;
}

int found(const QList<int>& columns)
{
    return int(std::count_if(columns.cbegin(), columns.cend(), [](int column) { return column >= 0; }));
}

bool readFailed(QString* reason)
{
    const QString error = SpreadsheetWriter::lastError();
    if (error.isEmpty() && !SpreadsheetWriter::lastReadCancelled())
        return false;
    *reason = error.isEmpty() ? QStringLiteral("reading was cancelled") : error;
    return true;
}

Spreadsheet_Binding_Table tableOf(const Sheet_Rows& sheet, const Sheet_Table& layout, const QStringList& titles,
    const QList<int>& columns, const QList<Sheet_Place>& places, const Title_Row_Choice& titleRow)
{
    Spreadsheet_Binding_Table fresh;
    fresh.setValueColumns(titles, QList<Sheet_Place> { Sheet_Place() } + places, titleRow);
    QList<Spreadsheet_Binding_Table::Row> records;
    QList<int> sheetRows;
    for (qsizetype r : layout.records) {
        sheetRows << sheetRowNumber(sheet.facts, r);
        const QStringList& cells = sheet.rows.at(r);
        Spreadsheet_Binding_Table::Row row;
        row.insert(Spreadsheet_Binding_Table::keyOfColumn(0), QString::number(records.size() + 1));
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns.at(i) >= 0)
                row.insert(Spreadsheet_Binding_Table::keyOfColumn(int(i) + 1), Trim_Str(cells.value(columns.at(i))));
        }
        records << row;
    }
    fresh.setListData(records);
    fresh.setSheetRows(sheetRows);
    fresh.setRecordsNote(recordsNote(sheet.facts, layout));
    return fresh;
}

// The records of a sheet as a table of the given table's titles, at the same positions. Without a title row,
// a column named by its place is found there. When the sheet has changed and lacks one of the titles (a
// column renamed or removed there), the sheet's columns the table lacks follow the table's own, so that items
// can be bound to the columns as they are now.
Spreadsheet_Binding_Table tableOf(
    const Sheet_Rows& sheet, const Title_Row_Choice& choice, const Spreadsheet_Binding_Table& table)
{
    const bool hasHeader = choice.titled();
    const Sheet_Table layout = sheetTableOf(sheet.rows, sheet.facts, choice);
    QStringList titles = table.columnTitles();
    const QStringList titleRow = layout.titles < 0 ? QStringList() : shownCells(sheet.rows, sheet.facts, layout.titles);
    QList<Sheet_Place> places;
    QList<int> columns = columnsOf(titles.mid(1), placesOf(table), titleRow, &places);
    for (qsizetype i = 0; !hasHeader && i < columns.size(); ++i) {
        if (const int column = columnOfPositionalTitle(titles.at(i + 1)); column >= 0) {
            columns[i] = column;
            places[i] = { 0, column, false };
        }
    }
    Spreadsheet_Binding_Table fresh = tableOf(sheet, layout, titles, columns, places, choice);
    if (!hasHeader || fresh == table || found(columns) == columns.size())
        return fresh;
    const QStringList shown = shownTitles(titleRow);
    for (qsizetype column = 0; column < shown.size(); ++column) {
        const QString& title = shown.at(column);
        if (!Trim_Str(titleRow.at(column)).isEmpty() && !titles.contains(title) && !columns.contains(int(column))) {
            titles << title;
            columns << int(column);
            places << Sheet_Place { Spreadsheet_Binding_Table::occurrenceOfTitle(shown, column), int(column),
                shown.count(title) > 1 };
        }
    }
    return tableOf(sheet, layout, titles, columns, places, choice);
}

// How many of the table's records a read of a sheet holds, whatever their numbers: a sheet holding most of
// them is the bound one, whatever guests were added to it or taken out since.
int storedRowsIn(const Spreadsheet_Binding_Table& table, const Spreadsheet_Binding_Table& read)
{
    auto valuesOf = [](Spreadsheet_Binding_Table::Row row) {
        row.remove(Spreadsheet_Binding_Table::keyOfColumn(0));
        QStringList cells;
        for (auto cell = row.cbegin(); cell != row.cend(); ++cell)
            cells << cell.key() + QLatin1Char('=') + cell.value();
        return cells.join(QChar(0));
    };
    QHash<QString, int> offered;
    for (const Spreadsheet_Binding_Table::Row& row : read.ListData())
        ++offered[valuesOf(row)];
    int held = 0;
    for (const Spreadsheet_Binding_Table::Row& row : table.ListData()) {
        if (int& left = offered[valuesOf(row)]; left > 0) {
            --left;
            ++held;
        }
    }
    return held;
}

} // namespace

Title_Row_Choice titleRowOf(const Spreadsheet_Binding_Table& table)
{
    return table.titleRow().value_or(Title_Row_Choice(hasTitleRow(table)));
}

bool hasTitleRow(const Spreadsheet_Binding_Table& table)
{
    if (const std::optional<Title_Row_Choice> titleRow = table.titleRow())
        return titleRow->titled();
    const QStringList& titles = table.columnTitles();
    if (titles.size() < 2 || table.rowCount() == 0)
        return true;
    // A column the sheet lacked, kept for the items bound to it, holds no value and tells nothing.
    int named = 0, placed = 0;
    for (int column = 1; column < titles.size(); ++column) {
        if (table.hasValuesIn(column))
            ++(columnOfPositionalTitle(titles.at(column)) < 0 ? named : placed);
    }
    if (placed > 0 && named == 0)
        return false;
    // Designs kept a table read without titles with the first row's values as its titles.
    const Spreadsheet_Binding_Table::Row& first = table.ListData().first();
    for (int column = 1; column < titles.size(); ++column) {
        if (first.value(Spreadsheet_Binding_Table::keyOfColumn(column)) != titles.at(column))
            return true;
    }
    return false;
}

Stamp stampOf(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    return { info.size(), info.lastModified() };
}

bool read(const QString& path, QString* sheet, const Title_Row_Choice& titleRow, const Spreadsheet_Binding_Table& table,
    Spreadsheet_Binding_Table& fresh, QString* reason)
{
    SpreadsheetWriter::ReadWorkbook(path, true);
    if (readFailed(reason))
        return false;
    const QStringList names = SpreadsheetWriter::Read_Sheet_Name();
    const QList<int> numbers = SpreadsheetWriter::Worksheet_Numbers();
    auto readSheet = [&](qsizetype place) {
        Excel_Sheet_Number = numbers.value(place);
        Sheet_Rows sheet;
        sheet.rows = SpreadsheetWriter::ReadWorkbook(path, false);
        sheet.facts = SpreadsheetWriter::rowFacts();
        return sheet;
    };
    const qsizetype named = names.indexOf(*sheet);
    if (!sheet->isEmpty() && named < 0) {
        *reason = QStringLiteral("it no longer has the sheet \"%1\"").arg(Name_In_Notice(*sheet));
        return false;
    }
    if (named >= 0) {
        const Sheet_Rows rows = readSheet(named);
        if (readFailed(reason))
            return false;
        fresh = tableOf(rows, titleRow, table);
        return true;
    }
    // No sheet named: the one whose rows are the stored ones before any other (an untouched workbook is no
    // change, whatever sheets stand in front of it), else the one holding most of the stored rows (sheets of
    // the same titles are told apart by their guests), else the first whose title row has the most titles.
    const QStringList wanted = table.columnTitles().mid(1);
    std::pair<int, int> best { -1, -1 };
    for (qsizetype place = 0; place < numbers.size(); ++place) {
        const Sheet_Rows candidate = readSheet(place);
        if (readFailed(reason))
            return false;
        Spreadsheet_Binding_Table read = tableOf(candidate, titleRow, table);
        if (read == table) {
            fresh = std::move(read);
            *sheet = names.value(place);
            return true;
        }
        const Sheet_Table layout = sheetTableOf(candidate.rows, candidate.facts, titleRow);
        const std::pair<int, int> score { storedRowsIn(table, read),
            layout.titles < 0 ? 0
                              : found(columnsOf(wanted, placesOf(table),
                                  shownCells(candidate.rows, candidate.facts, layout.titles))) };
        if (score > best) {
            best = score;
            fresh = std::move(read);
            *sheet = names.value(place);
        }
    }
    if (best.first < 0)
        fresh = tableOf({}, titleRow, table);
    return true;
}

} // namespace Workbook_Reread
