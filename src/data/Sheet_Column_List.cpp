#include "data/Sheet_Column_List.h"

#include "common/Common_Functions.h"
#include "data/Spreadsheet_Binding_Table.h"

namespace {

QString cell(const QStringList& row, int column)
{
    return column >= 0 && column < row.size() ? Trim_Str(row.at(column)) : QStringLiteral("");
}

} // namespace

QList<Sheet_Column> Create_Column_List(const QStringList& headerRow)
{
    QList<Sheet_Column> list;
    for (int c = 0; c < headerRow.size(); ++c) {
        Sheet_Column entry;
        entry.column = c;
        entry.Extension = Trim_Str(headerRow.at(c));
        if (entry.Extension.isEmpty())
            entry.Extension = QStringLiteral("Untitled Column %1").arg(c + 1);
        entry.Header = Trim_Str(headerRow.at(c)).isEmpty() ? entry.Extension : headerRow.at(c);
        list.append(entry);
    }
    return list;
}

QList<int> tickedColumns(const QList<Sheet_Column>& list)
{
    QList<int> ticked;
    for (const Sheet_Column& entry : list) {
        if (entry.State)
            ticked.append(entry.column);
    }
    return ticked;
}

QStringList tickedValuesRowMajor(const SpreadsheetWriter::Rows& rows, const QList<int>& ticked, bool containsHeader)
{
    QStringList values;
    for (qsizetype r = containsHeader ? 1 : 0; r < rows.size(); ++r) {
        for (int column : ticked)
            values.append(cell(rows.at(r), column));
    }
    return values;
}

QStringList columnValues(const SpreadsheetWriter::Rows& rows, int column, bool containsHeader)
{
    return tickedValuesRowMajor(rows, { column }, containsHeader);
}

bool Fill_Binding_Table(Spreadsheet_Binding_Table& table, const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    bool containsHeader)
{
    if (rows.isEmpty())
        return false;
    const QStringList& header = rows.first();
    QStringList titles { table.columnTitles().value(0) };
    for (int column : ticked)
        titles.append(cell(header, column));
    if (!header.isEmpty())
        table.setValueColumnTitles(titles);
    const int count = header.isEmpty() ? 0 : int(titles.size()) - 1;
    QList<Spreadsheet_Binding_Table::Row> none;
    table.setListData(none);
    for (qsizetype r = containsHeader ? 1 : 0; r < rows.size(); ++r) {
        if (rows.at(r).isEmpty())
            continue;
        QStringList values;
        for (int column : ticked)
            values.append(cell(rows.at(r), column));
        table.Create_List_By_Array(values, count);
    }
    return true;
}
