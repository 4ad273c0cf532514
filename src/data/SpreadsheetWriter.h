#pragma once

#include "data/Workbook_Reader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// Reads worksheets of xlsx workbooks into rows of strings and writes rows as a one-sheet workbook.
// One hidden object serves the whole run (`spreadsheet`): the open step lists a workbook and reads its
// shared strings; the header step reads one worksheet as a stream and keeps its rows for the row step;
// a write rebuilds the scratch folder from the template. Called on the GUI thread: a large workbook is
// read on a worker while a progress window with Cancel keeps the program answering. Every step leaves
// lastError() empty on success and a sentence for the user on failure (none when the user cancelled).
class SpreadsheetWriter {
public:
    using Rows = QList<QStringList>;

    // Bounds that keep a huge or hostile worksheet from exhausting memory.
    static constexpr int kMaxRows = Workbook_Reader::kMaxRows;
    static constexpr std::int64_t kMaxCells = Workbook_Reader::kMaxCells;

    // only_col true: the open step (unpacks the workbook, reads its shared strings; returns data unchanged).
    // only_col false: every row of worksheet Excel_Sheet_Number (path is not used).
    static Rows ReadWorkbook(const QString& path, bool only_col);
    // The title row of worksheet Excel_Sheet_Number (the first row holding a value below any heading, see
    // sheetTableOf), its empty cells named "Untitled Column %d" and its dates shown as dates; sets
    // Excel_Sheet_Columns. Zero or one row.
    static Rows ReadData_only_column();
    // The whole worksheet the header step read last, kept until the row step takes it; null when there is none.
    static const Workbook_Sheet* headerSheet();
    // The reader's facts of the rows the row step returned last, one per row.
    static const QList<Workbook_Row>& rowFacts();
    // The places 1 to n of the opened workbook's worksheets in tab order: what Excel_Sheet_Number takes.
    static QList<int> Worksheet_Numbers();
    // The worksheets' own tab names, in tab order (Workbook_Reader::sheets()).
    static QStringList Read_Sheet_Name();
    static void Release_Data() { }
    // Writes rows (at least one) as a workbook at path. False, with lastError(), when it could not.
    static bool WriteWorkbook(const QString& path, const Rows& rows, bool hasTitleRow);
    static QString lastError();
    // True when the user stopped the last read step with Cancel.
    static bool lastReadCancelled();
    // Formula cells of the worksheet read last that were stored without their result (read as empty).
    static std::int64_t formulasWithoutResult();

    // The hidden object, made on first use.
    static SpreadsheetWriter& spreadsheet();
    // "ziptmp" inside this run's private temporary folder (mode 0700, removed when the program ends).
    static QString scratchFolder();
    // Removes the scratch folder; links inside it are removed, never followed.
    static void removeScratchFolder();

    // Every row of worksheet sheet<number>.xml of the opened workbook into data().
    bool ReadData(int number);
    bool WriteWorksheetData(const QString& path);
    bool WriteSharedStringsXML(const QString& path) const;

    const Rows& data() const { return data_; }
    void setData(const Rows& rows) { data_ = rows; }
    const QStringList& sharedStrings() const { return sharedStrings_; }
    void setSharedStrings(const QStringList& strings) { sharedStrings_ = strings; }
    const QString& tmpDir() const { return tmpDir_; }

private:
    SpreadsheetWriter();
    ~SpreadsheetWriter();
    static void setLastError(const QString& text);
    // The worksheet read by the header step, kept for the row step; false with lastError().
    const Workbook_Sheet* loadSheet(int number);
    void forgetWorkbook();

    Rows data_;
    QList<Workbook_Row> facts_;
    QStringList sharedStrings_;
    QString tmpDir_;
    std::unique_ptr<Read_Control> control_;
    std::unique_ptr<Workbook_Reader> reader_;
    std::unique_ptr<Workbook_Sheet> sheet_;
    int sheetNumber_ = 0;
    std::int64_t formulasWithoutResult_ = 0;
};
