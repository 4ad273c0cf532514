#include "data/SpreadsheetWriter.h"

#include "data/Spreadsheet_Cells.h"
#include "data/Spreadsheet_Globals.h"
#include "data/Spreadsheet_Part.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <cstring>

namespace {

// Last column (1-based) of the dimension element among the root's children; 0 when there is none.
int dimensionWidth(const pugi::xml_node& root)
{
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (std::strcmp(child.name(), "dimension") != 0)
            continue;
        QString ref = QString::fromUtf8(child.attribute("ref").value());
        const int colon = int(ref.indexOf(QLatin1Char(':')));
        if (colon >= 0)
            ref = ref.mid(colon + 1);
        const int index = columnIndexOfReference(ref.trimmed());
        return index < 0 ? 0 : index + 1;
    }
    return 0;
}

// Column of a cell: its reference's letters, or the place after the previous cell when it has none.
// -1 when the reference names no column of the sheet.
int cellColumn(const pugi::xml_node& cell, int previous)
{
    const pugi::xml_attribute ref = cell.attribute("r");
    if (!ref)
        return previous + 1 < kMaxSheetColumns ? previous + 1 : -1;
    return columnIndexOfReference(QString::fromLatin1(ref.value()));
}

// Widest column (1-based) that any cell of the sheet uses.
int widestCell(const pugi::xml_node& sheetData)
{
    int widest = 0;
    for (pugi::xml_node row = sheetData.child("row"); row; row = row.next_sibling("row")) {
        int previous = -1;
        for (pugi::xml_node cell = row.child("c"); cell; cell = cell.next_sibling("c")) {
            const int column = cellColumn(cell, previous);
            if (column >= 0) {
                previous = column;
                widest = std::max(widest, column + 1);
            }
        }
    }
    return widest;
}

// Places a row's cell values into a row template; cells outside the template are ignored.
void fillRow(const pugi::xml_node& row, QStringList& values, const QStringList& sharedStrings)
{
    int previous = -1;
    for (pugi::xml_node cell = row.child("c"); cell; cell = cell.next_sibling("c")) {
        const int column = cellColumn(cell, previous);
        if (column < 0)
            continue;
        previous = column;
        if (column >= values.size())
            continue;
        QString value = spreadsheetCellValue(cell, sharedStrings);
        if (!value.isEmpty())
            values[column] = std::move(value);
    }
}

struct LoadedSheet {
    Spreadsheet_Part part;
    pugi::xml_node sheetData;
    int width = 0;
};

// Loads the worksheet part and works out its width; false with a sentence for the user.
bool loadSheet(const QString& path, LoadedSheet& sheet, QString& error)
{
    sheet.part.maxRows = SpreadsheetWriter::kMaxRows;
    const bool loaded = sheet.part.load(path, SpreadsheetWriter::kMaxPartBytes, &error);
    const std::int64_t rows = sheet.part.rowTags;
    if (rows > SpreadsheetWriter::kMaxRows) {
        error = QStringLiteral("The worksheet has %1 rows; at most %2 rows can be read.")
                    .arg(rows)
                    .arg(SpreadsheetWriter::kMaxRows);
        return false;
    }
    if (!loaded)
        return false;
    const pugi::xml_node root = sheet.part.doc.document_element();
    if (std::strcmp(root.name(), "worksheet") != 0) {
        error = QStringLiteral("The part is not a worksheet.");
        return false;
    }
    sheet.sheetData = root.child("sheetData");
    // A dimension that a writer left too small never hides cells to its right.
    sheet.width = std::max({ dimensionWidth(root), widestCell(sheet.sheetData), 1 });
    if (rows * sheet.width > SpreadsheetWriter::kMaxCells) {
        error = QStringLiteral("The worksheet has %1 rows of %2 columns; at most %3 cells can be read.")
                    .arg(rows)
                    .arg(sheet.width)
                    .arg(SpreadsheetWriter::kMaxCells);
        return false;
    }
    return true;
}

// The worksheet read last, kept from the header step for the row step of the same part: the user picks
// columns between the two, and reading a large sheet twice would double the wait.
struct SheetCache {
    QString path;
    qint64 size = -1;
    QDateTime modified;
    std::unique_ptr<LoadedSheet> sheet;
};

SheetCache& cache()
{
    static SheetCache kept;
    return kept;
}

const LoadedSheet* sheetAt(const QString& path, QString& error)
{
    SheetCache& kept = cache();
    const QFileInfo info(path);
    if (kept.sheet && kept.path == path && info.size() == kept.size && info.lastModified() == kept.modified)
        return kept.sheet.get();
    forgetLoadedWorksheet();
    auto sheet = std::make_unique<LoadedSheet>();
    if (!loadSheet(path, *sheet, error))
        return nullptr;
    kept.path = path;
    kept.size = info.size();
    kept.modified = info.lastModified();
    kept.sheet = std::move(sheet);
    return kept.sheet.get();
}

} // namespace

void forgetLoadedWorksheet()
{
    cache() = SheetCache();
}

SpreadsheetWriter::Rows SpreadsheetWriter::ReadData_only_column()
{
    SpreadsheetWriter& object = spreadsheet();
    setLastError(QString());
    object.data_ = Rows();
    QString error;
    const LoadedSheet* loaded = sheetAt(worksheetPath(Excel_Sheet_Number), error);
    if (!loaded) {
        setLastError(error);
        return object.data_;
    }
    const LoadedSheet& sheet = *loaded;
    Excel_Sheet_Columns = sheet.width;
    QStringList header;
    header.reserve(sheet.width);
    for (int i = 1; i <= sheet.width; ++i)
        header.append(QStringLiteral("Untitled Column %1").arg(i));
    const pugi::xpath_node first = sheet.part.doc.select_node("/worksheet[1]/sheetData[1]/row");
    if (!first)
        return object.data_;
    fillRow(first.node(), header, object.sharedStrings_);
    object.data_.append(header);
    return object.data_;
}

bool SpreadsheetWriter::ReadData(const QString& path)
{
    setLastError(QString());
    data_ = Rows();
    QString error;
    const LoadedSheet* loaded = sheetAt(path, error);
    if (!loaded) {
        setLastError(error);
        return false;
    }
    const LoadedSheet& sheet = *loaded;
    Excel_Sheet_Columns = sheet.width;
    QStringList blank;
    blank.reserve(sheet.width);
    for (int i = 0; i < sheet.width; ++i)
        blank.append(QStringLiteral(""));
    const pugi::xpath_node_set rows = sheet.part.doc.select_nodes("/worksheet[1]/sheetData[1]/row");
    data_.reserve(qsizetype(rows.size()));
    for (const pugi::xpath_node& row : rows) {
        QStringList values = blank;
        fillRow(row.node(), values, sharedStrings_);
        data_.append(std::move(values));
    }
    forgetLoadedWorksheet(); // the rows are all taken; the document's memory goes back
    return true;
}
