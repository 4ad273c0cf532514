#pragma once

#include "data/Spreadsheet_Binding_Table.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The records of a batch run as plain data, taken on the GUI thread and read by any number of workers:
// the values of every bound series, keyed by the series' name (never by a position in a folder listing,
// which goes stale when series are added or removed), and the rows of the spreadsheet binding table.
// A source that is off gives no records and no values.
class Record_Source {
public:
    bool useSeries = false; // Use_Data_Sheet_Values
    bool useSpreadsheet = false; // Use_Excel_Binding_Values
    QHash<QString, QStringList> series; // loaded series by name
    QList<Spreadsheet_Binding_Table::Row> rows; // spreadsheet rows in order
    QStringList titles; // the binding table's column titles, column 0's first
    QString recordsNote; // what the sheet told of its rows (hidden rows, a likely total), for the run's notes
    QList<int> sheetRows; // the workbook's own row of each spreadsheet record, where known

    // Data_table_rows: the longest loaded series; 0 when series are off.
    int seriesRows() const;
    // Excel_table_rows: the spreadsheet's rows; 0 when the spreadsheet is off.
    int spreadsheetRows() const;
    // Total_Batch_Excel_Card: the larger of the two; sources are never summed.
    int recordCount() const;

    // The series' value of a record, "" past the series' end or for a series not loaded.
    QString seriesValue(int record, const QString& name) const;
    // The spreadsheet's value of a record at a column position ("Extension" for 0, "Column%d" beyond),
    // "" past the last row; none when the row exists but lacks that column.
    std::optional<QString> spreadsheetValue(int record, int column) const;
    // The title of a column position, or "Column n" where the table has none.
    QString titleOf(int column) const;
};
