// The workbook reader, fed both ways: the input as a whole workbook file, or as its worksheet, shared
// strings, workbook and workbook relationship parts (cut at a mark) packed into a sound zip, so that the XML itself is
// explored. It never crashes, and a sheet it reads is as wide as it says.
#include "FuzzSupport.h"

#include "data/Workbook_Reader.h"

#include <QTemporaryDir>

#include <minizip/zip.h>

namespace {

bool packParts(const QString& path, const QList<QByteArray>& parts)
{
    static const char* const names[] = { "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/workbook.xml",
        "xl/worksheets/sheet2.xml", "xl/_rels/workbook.xml.rels" };
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    for (qsizetype i = 0; i < parts.size() && i < 5; ++i) {
        zip_fileinfo info {};
        zipOpenNewFileInZip(zip, names[i], &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1);
        zipWriteInFileInZip(zip, parts[i].constData(), unsigned(parts[i].size()));
        zipCloseFileInZip(zip);
    }
    return zipClose(zip, nullptr) == ZIP_OK;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir box;
    const QString path = box.path() + QStringLiteral("/book.xlsx");
    const QByteArray input = fuzzsupport::bytesOf(data, size);
    QFile::remove(path);
    const bool whole = input.startsWith("PK");
    if (!(whole ? fuzzsupport::writeFile(path, input) : packParts(path, fuzzsupport::pieces(input, 5))))
        return 0;
    Workbook_Reader reader;
    if (!reader.open(path))
        return 0;
    for (int number = 1; number <= std::min<int>(int(reader.sheets().size()), 3); ++number) {
        Workbook_Sheet sheet;
        if (!reader.readSheet(number, sheet))
            continue;
        for (const QStringList& row : sheet.rows) {
            if (row.size() != sheet.width)
                fuzzsupport::finding("a row is not as wide as its sheet");
        }
        if (qint64(sheet.rows.size()) * sheet.width > Workbook_Reader::kMaxCells)
            fuzzsupport::finding("a sheet past the cell limit was read");
    }
    return 0;
}
