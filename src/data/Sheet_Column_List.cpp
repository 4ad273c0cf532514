#include "data/Sheet_Column_List.h"

#include "common/Common_Functions.h"
#include "data/Spreadsheet_Binding_Table.h"
#include "data/Spreadsheet_Cells.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

QString cell(const QStringList& row, int column)
{
    return column >= 0 && column < row.size() ? Trim_Str(row.at(column)) : QStringLiteral("");
}

} // namespace

bool holdsValue(const QStringList& row)
{
    return std::any_of(row.cbegin(), row.cend(), [](const QString& value) { return !Trim_Str(value).isEmpty(); });
}

SpreadsheetWriter::Rows rowsWithValues(const SpreadsheetWriter::Rows& rows)
{
    SpreadsheetWriter::Rows kept;
    kept.reserve(rows.size());
    std::copy_if(rows.cbegin(), rows.cend(), std::back_inserter(kept), holdsValue);
    return kept;
}

QString positionalTitle(int column)
{
    return QStringLiteral("Column %1").arg(ColumnIndexToName(column + 1));
}

int columnOfPositionalTitle(const QString& title)
{
    static const QRegularExpression name(QStringLiteral("^Column ([A-Z]{1,3})$"));
    const QRegularExpressionMatch match = name.match(title);
    const int column = match.hasMatch() ? columnIndexOfReference(match.captured(1)) : -1;
    return column >= 0 && positionalTitle(column) == title ? column : -1;
}

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
    const SpreadsheetWriter::Rows kept = rowsWithValues(rows);
    QStringList values;
    for (qsizetype r = containsHeader ? 1 : 0; r < kept.size(); ++r) {
        for (int column : ticked)
            values.append(cell(kept.at(r), column));
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
    const SpreadsheetWriter::Rows kept = rowsWithValues(rows);
    if (kept.isEmpty())
        return false;
    const QStringList& header = kept.first();
    QStringList titles { table.columnTitles().value(0) };
    for (int column : ticked)
        titles.append(containsHeader ? cell(header, column) : positionalTitle(column));
    table.setValueColumnTitles(titles);
    const int count = int(titles.size()) - 1;
    QList<Spreadsheet_Binding_Table::Row> none;
    table.setListData(none);
    for (qsizetype r = containsHeader ? 1 : 0; r < kept.size(); ++r) {
        QStringList values;
        for (int column : ticked)
            values.append(cell(kept.at(r), column));
        table.Create_List_By_Array(values, count);
    }
    return true;
}
