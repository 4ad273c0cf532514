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

// The sheet column of each wanted title in a title row; -1 where the row has none. The second of two
// wanted columns of one title is the second column of that title in the row.
QList<int> columnsOf(const QStringList& wanted, const QStringList& titleRow)
{
    QStringList trimmed;
    for (const QString& cell : titleRow)
        trimmed << Trim_Str(cell);
    QList<int> columns;
    for (qsizetype i = 0; i < wanted.size(); ++i)
        columns << int(Spreadsheet_Binding_Table::indexOfTitle(
            trimmed, wanted.at(i), Spreadsheet_Binding_Table::occurrenceOfTitle(wanted, i)));
    return columns;
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

Spreadsheet_Binding_Table tableOf(
    const SpreadsheetWriter::Rows& rows, bool hasHeader, const QStringList& titles, const QList<int>& columns)
{
    Spreadsheet_Binding_Table fresh;
    fresh.setValueColumnTitles(titles);
    QList<Spreadsheet_Binding_Table::Row> records;
    for (qsizetype r = hasHeader ? 1 : 0; r < rows.size(); ++r) {
        const QStringList& cells = rows.at(r);
        Spreadsheet_Binding_Table::Row row;
        row.insert(Spreadsheet_Binding_Table::keyOfColumn(0), QString::number(records.size() + 1));
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns.at(i) >= 0)
                row.insert(Spreadsheet_Binding_Table::keyOfColumn(int(i) + 1), Trim_Str(cells.value(columns.at(i))));
        }
        records << row;
    }
    fresh.setListData(records);
    return fresh;
}

// The rows holding a value of a sheet as a table of the given table's titles, at the same positions.
// Without a title row, a column named by its place is found there. When the sheet has changed and lacks
// one of the titles (a column renamed or removed there), the sheet's columns the table lacks follow the
// table's own, so that items can be bound to the columns as they are now.
Spreadsheet_Binding_Table tableOf(
    const SpreadsheetWriter::Rows& rows, bool hasHeader, const Spreadsheet_Binding_Table& table)
{
    QStringList titles = table.columnTitles();
    const QStringList titleRow = rows.isEmpty() ? QStringList() : rows.first();
    QList<int> columns = columnsOf(titles.mid(1), titleRow);
    for (qsizetype i = 0; !hasHeader && i < columns.size(); ++i) {
        if (const int column = columnOfPositionalTitle(titles.at(i + 1)); column >= 0)
            columns[i] = column;
    }
    Spreadsheet_Binding_Table fresh = tableOf(rows, hasHeader, titles, columns);
    if (!hasHeader || fresh == table || found(columns) == columns.size())
        return fresh;
    for (qsizetype column = 0; column < titleRow.size(); ++column) {
        const QString title = Trim_Str(titleRow.at(column));
        if (!title.isEmpty() && !titles.contains(title) && !columns.contains(int(column))) {
            titles << title;
            columns << int(column);
        }
    }
    return tableOf(rows, hasHeader, titles, columns);
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

bool hasTitleRow(const Spreadsheet_Binding_Table& table)
{
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

bool read(const QString& path, QString* sheet, bool hasHeader, const Spreadsheet_Binding_Table& table,
    Spreadsheet_Binding_Table& fresh, QString* reason)
{
    SpreadsheetWriter::ReadWorkbook(path, true);
    if (readFailed(reason))
        return false;
    const QStringList names = SpreadsheetWriter::Read_Sheet_Name();
    const QList<int> numbers = SpreadsheetWriter::Worksheet_Numbers();
    auto readSheet = [&](qsizetype place) {
        Excel_Sheet_Number = numbers.value(place);
        return rowsWithValues(SpreadsheetWriter::ReadWorkbook(path, false));
    };
    const qsizetype named = names.indexOf(*sheet);
    if (!sheet->isEmpty() && named < 0) {
        *reason = QStringLiteral("it no longer has the sheet \"%1\"").arg(Name_In_Notice(*sheet));
        return false;
    }
    if (named >= 0) {
        const SpreadsheetWriter::Rows rows = readSheet(named);
        if (readFailed(reason))
            return false;
        fresh = tableOf(rows, hasHeader, table);
        return true;
    }
    // No sheet named: the one whose rows are the stored ones before any other (an untouched workbook is no
    // change, whatever sheets stand in front of it), else the one holding most of the stored rows (sheets of
    // the same titles are told apart by their guests), else the first whose title row has the most titles.
    const QStringList wanted = table.columnTitles().mid(1);
    std::pair<int, int> best { -1, -1 };
    for (qsizetype place = 0; place < numbers.size(); ++place) {
        const SpreadsheetWriter::Rows candidate = readSheet(place);
        if (readFailed(reason))
            return false;
        Spreadsheet_Binding_Table read = tableOf(candidate, hasHeader, table);
        if (read == table) {
            fresh = std::move(read);
            *sheet = names.value(place);
            return true;
        }
        const std::pair<int, int> score { storedRowsIn(table, read),
            candidate.isEmpty() ? 0 : found(columnsOf(wanted, candidate.first())) };
        if (score > best) {
            best = score;
            fresh = std::move(read);
            *sheet = names.value(place);
        }
    }
    if (best.first < 0)
        fresh = tableOf({}, hasHeader, table);
    return true;
}

} // namespace Workbook_Reread
