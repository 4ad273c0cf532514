#pragma once

#include "data/Workbook_Archive.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// What a cell holds, as the sheet stores it: the kinds a title row never holds tell a heading from titles.
enum class Cell_Kind : char {
    Text = 0, // a shared or inline string
    Number,
    Date, // a number in a date or time format, counted from 1900
    Date1904, // the same in a workbook that counts from 1904
    Boolean,
    Formula, // any other formula, whatever its result
};

// What the sheet says of one of its rows beside its cells.
struct Workbook_Row {
    int number = 0; // the sheet's own row number, from 1
    bool hidden = false; // hidden, or filtered out, in the workbook
    bool total = false; // every value of the row is a formula summing or counting its own column
    // The row is labelled as a total: text beside such formulas ("Total", =SUM(B2:B9)), or, as its sheet's last
    // row holding a value, one text of a label and a number ("Total: 40").
    bool labelledTotal = false;
    // The widest cell merged across columns whose first row this is (0-based columns); -1 without one.
    int mergedFirst = -1;
    int mergedLast = -1;
    // One Cell_Kind per column up to the row's last value that is not text; empty for a row of text alone. A
    // value beyond them is text.
    QByteArray kinds;
    Cell_Kind kindAt(qsizetype column) const
    {
        return column >= 0 && column < kinds.size() ? Cell_Kind(kinds.at(column)) : Cell_Kind::Text;
    }
    bool operator==(const Workbook_Row&) const = default;
};
Q_DECLARE_TYPEINFO(Workbook_Row, Q_RELOCATABLE_TYPE);

// One worksheet's cells as rows of text, each row as wide as the sheet.
struct Workbook_Sheet {
    QList<QStringList> rows;
    QList<Workbook_Row> facts; // one per row
    int width = 0;
    std::int64_t formulasWithoutResult = 0; // formula cells stored without their result, read as empty
};

// Reads workbooks as streams, on any thread: the directory and shared strings when opened, then any
// worksheet cell by cell as its part is inflated, with no document tree. Each step charges every element,
// inflated byte and kept value to one budget derived from the file's size, so a small hostile file is
// refused after a bounded amount of work whatever it declares or inflates to.
namespace platform {
class ReadBudget;
}
class Count_Gate;

class Workbook_Reader {
public:
    explicit Workbook_Reader(Read_Control* control = nullptr);

    // A worksheet as the workbook lists it: its tab name and its part.
    struct Sheet_Entry {
        QString name;
        QString part;
    };

    // Lists the package and its worksheets. False with error().
    bool open(const QString& path);
    // The worksheets in tab order: those of the workbook part's list (the part the package's relationships
    // name), each found through the workbook's relationships, as its shared strings are. A package without
    // that list gives its parts sheet<n>.xml in number order, each named "sheet<n>".
    const QList<Sheet_Entry>& sheets() const { return sheets_; }
    // Every row of the worksheet at this 1-based place of sheets(); the first sheet read also reads the
    // shared strings, on a second thread beside it. False with error() (empty when cancelled).
    bool readSheet(int number, Workbook_Sheet& sheet);

    const QStringList& sharedStrings() const { return shared_; }
    const QString& error() const { return error_; }
    bool cancelled() const { return cancelled_; }
    const QString& path() const { return path_; }
    // Inflated bytes of the worksheet at this place, for progress; -1 when there is none.
    std::int64_t sheetBytes(int number) const;

    static constexpr int kMaxRows = 1000000;
    static constexpr std::int64_t kMaxCells = 5000000;
    // The budget of one step is that of the design reader for an input this many times the file's size:
    // room for the large ratios of repetitive XML, never for a bomb's.
    static constexpr std::uint64_t kBudgetScale = 8;
    // Worksheet parts larger than this are counted, beside the scan that keeps their cells, so that a
    // sheet past the limits is refused without keeping more cells than this much of a part holds.
    static constexpr std::int64_t kCountFirstBytes = std::int64_t(24) << 20;
    static constexpr std::int64_t kCountAheadBytes = std::int64_t(8) << 20;

    // A shared-string cell read before the strings: its place and the string's number.
    struct Deferred_Cell {
        std::uint32_t row;
        std::uint32_t column;
        std::uint32_t index;
    };

private:
    struct Part_Read {
        Workbook_Archive::Outcome outcome = Workbook_Archive::Outcome::Read;
        QString reason;
    };
    void listSheets();
    QString sheetPart(int number) const;
    bool finishRead(Workbook_Archive::Outcome outcome, const QString& reason);
    Part_Read readSharedStrings(platform::ReadBudget& budget);
    bool readStyles(platform::ReadBudget& budget);
    bool countPass(const QString& part, platform::ReadBudget& parent, Count_Gate& gate);
    bool readPass(const QString& part, Workbook_Sheet& sheet, platform::ReadBudget& parent, bool countFirst,
        std::vector<Deferred_Cell>* deferred);

    Read_Control* control_ = nullptr;
    QString path_;
    Workbook_Archive archive_;
    QList<Sheet_Entry> sheets_;
    QString workbookPart_;
    QString sharedStringsPart_;
    QString stylesPart_;
    QStringList shared_;
    bool sharedRead_ = false;
    // Which cell formats (by their place in the styles' cell formats) show a number as a date or time.
    std::vector<bool> dateFormats_;
    bool stylesRead_ = false;
    bool date1904_ = false;
    QString error_;
    bool cancelled_ = false;
};
