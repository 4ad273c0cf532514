#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// Reads worksheets of xlsx workbooks into rows of strings and writes rows as a one-sheet workbook.
// One hidden object serves the whole run (`spreadsheet`): the open step unpacks a workbook into the scratch
// folder and loads its shared strings; the header and row steps read one worksheet of it; a write rebuilds
// the scratch folder from the template. GUI thread only. Every step leaves lastError() empty on success
// and a sentence for the user on failure.
class SpreadsheetWriter {
public:
    using Rows = QList<QStringList>;

    // Bounds that keep a huge or hostile worksheet from exhausting memory.
    static constexpr int kMaxRows = 1000000;
    static constexpr std::int64_t kMaxCells = 5000000;
    static constexpr std::int64_t kMaxPartBytes = std::int64_t(256) << 20;

    // only_col true: the open step (unpacks the workbook, reads its shared strings; returns data unchanged).
    // only_col false: every row of worksheet Excel_Sheet_Number (path is not used).
    static Rows ReadWorkbook(const QString& path, bool only_col);
    // The first row of worksheet Excel_Sheet_Number, its empty cells named "Untitled Column %d"; sets
    // Excel_Sheet_Columns. Zero or one row.
    static Rows ReadData_only_column();
    // Numbers n of the worksheet parts sheet<n>.xml of the opened workbook, in number order.
    static QList<int> Worksheet_Numbers();
    // The sheet names of the opened workbook, in workbook order.
    static QStringList Read_Sheet_Name();
    static void Release_Data() { }
    // Writes rows (at least one) as a workbook at path. False, with lastError(), when it could not.
    static bool WriteWorkbook(const QString& path, const Rows& rows, bool hasTitleRow);
    static QString lastError();

    // The hidden object, made on first use.
    static SpreadsheetWriter& spreadsheet();
    // "ziptmp" inside this run's private temporary folder (mode 0700, removed when the program ends).
    static QString scratchFolder();
    // Removes the scratch folder; links inside it are removed, never followed.
    static void removeScratchFolder();

    void ReadSharedStrings(const QString& path);
    bool ReadData(const QString& path);
    bool WriteWorksheetData(const QString& path);
    bool WriteSharedStringsXML(const QString& path) const;

    const Rows& data() const { return data_; }
    void setData(const Rows& rows) { data_ = rows; }
    const QStringList& sharedStrings() const { return sharedStrings_; }
    void setSharedStrings(const QStringList& strings) { sharedStrings_ = strings; }
    const QString& tmpDir() const { return tmpDir_; }

    static QString worksheetPath(int number); // tmpDir + "xl/worksheets/sheet<n>.xml"

private:
    SpreadsheetWriter();
    static void setLastError(const QString& text);

    Rows data_;
    QStringList sharedStrings_;
    QString tmpDir_;
};
