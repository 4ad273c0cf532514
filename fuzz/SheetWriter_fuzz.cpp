// The workbook writer and reader together: any rows of any characters (lone surrogates and controls
// included) written as a workbook read back as the same rows.
#include "FuzzSupport.h"

#include "data/SpreadsheetWriter.h"
#include "data/Spreadsheet_Globals.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Two bytes a character; U+001E ends a cell and U+001D a row, and every row is as wide as the first.
    QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    SpreadsheetWriter::Rows rows;
    for (const QString& line : text.split(QChar(0x1D)).mid(0, 50))
        rows.append(line.split(QChar(0x1E)).mid(0, 20));
    const qsizetype width = rows.first().size();
    for (QStringList& row : rows)
        row.resize(width);
    static QTemporaryDir box;
    const QString path = box.path() + QStringLiteral("/rows.xlsx");
    if (!SpreadsheetWriter::WriteWorkbook(path, rows, true))
        fuzzsupport::finding(
            qPrintable(QStringLiteral("rows could not be written: ") + SpreadsheetWriter::lastError()));
    SpreadsheetWriter::ReadWorkbook(path, true);
    Excel_Sheet_Number = 1;
    SpreadsheetWriter::ReadData_only_column();
    const SpreadsheetWriter::Rows back = SpreadsheetWriter::ReadWorkbook(path, false);
    if (back != rows)
        fuzzsupport::finding(qPrintable(QStringLiteral("rows read back differ: ") + SpreadsheetWriter::lastError()));
    return 0;
}
