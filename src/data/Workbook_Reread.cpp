#include "data/Workbook_Reread.h"

#include "common/Common_Functions.h"
#include "data/Spreadsheet_Globals.h"
#include "data/SpreadsheetWriter.h"

#include <QFileInfo>

#include <algorithm>

namespace Workbook_Reread {

namespace {

// The sheet column of each wanted title in a title row; -1 where the row has none.
QList<int> columnsOf(const QStringList& wanted, const QStringList& titleRow)
{
    QStringList trimmed;
    for (const QString& cell : titleRow)
        trimmed << Trim_Str(cell);
    QList<int> columns;
    for (const QString& title : wanted)
        columns << int(trimmed.indexOf(title));
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

} // namespace

Stamp stampOf(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    return { info.size(), info.lastModified() };
}

bool read(const QString& path, const QString& sheet, bool hasHeader, const Spreadsheet_Binding_Table& table,
    Spreadsheet_Binding_Table& fresh, QString* reason)
{
    SpreadsheetWriter::ReadWorkbook(path, true);
    if (readFailed(reason))
        return false;
    const QStringList names = SpreadsheetWriter::Read_Sheet_Name();
    const QList<int> numbers = SpreadsheetWriter::Worksheet_Numbers();
    const QStringList wanted = table.columnTitles().mid(1);
    auto readSheet = [&](qsizetype place) {
        Excel_Sheet_Number = numbers.value(place);
        return SpreadsheetWriter::ReadWorkbook(path, false);
    };
    SpreadsheetWriter::Rows rows;
    const qsizetype named = names.indexOf(sheet);
    if (!sheet.isEmpty() && named < 0) {
        *reason = QStringLiteral("it no longer has the sheet \"%1\"").arg(sheet);
        return false;
    }
    if (named >= 0) {
        rows = readSheet(named);
    } else {
        int best = -1;
        for (qsizetype place = 0; place < numbers.size(); ++place) {
            SpreadsheetWriter::Rows candidate = readSheet(place);
            if (readFailed(reason))
                return false;
            const int count = candidate.isEmpty() ? 0 : found(columnsOf(wanted, candidate.first()));
            if (count > best) {
                best = count;
                rows = std::move(candidate);
            }
        }
    }
    if (readFailed(reason))
        return false;
    const QList<int> columns = rows.isEmpty() ? QList<int>(wanted.size(), -1) : columnsOf(wanted, rows.first());
    fresh = Spreadsheet_Binding_Table();
    fresh.setValueColumnTitles(table.columnTitles());
    QList<Spreadsheet_Binding_Table::Row> records;
    for (qsizetype r = hasHeader ? 1 : 0; r < rows.size(); ++r) {
        const QStringList& cells = rows.at(r);
        if (cells.isEmpty())
            continue;
        Spreadsheet_Binding_Table::Row row;
        row.insert(Spreadsheet_Binding_Table::keyOfColumn(0), QString::number(records.size() + 1));
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns.at(i) >= 0)
                row.insert(Spreadsheet_Binding_Table::keyOfColumn(int(i) + 1), Trim_Str(cells.value(columns.at(i))));
        }
        records << row;
    }
    fresh.setListData(records);
    return true;
}

} // namespace Workbook_Reread
