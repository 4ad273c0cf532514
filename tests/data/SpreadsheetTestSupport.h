#pragma once

#include "ZipTestSupport.h"
#include "support/TestSupport.h"

#include <QFile>

#include <QString>
#include <QStringList>

#include <vector>

// Small workbooks written part by part, for the reader's tests.
namespace sheettest {

// tail: what follows the rows, such as the merged cells.
inline QByteArray worksheet(const QByteArray& body, const QByteArray& dimension = "A1", const QByteArray& tail = {})
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                     "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    if (!dimension.isEmpty())
        xml += "<dimension ref=\"" + dimension + "\"/>";
    xml += "<sheetData>" + body + "</sheetData>" + tail + "</worksheet>";
    return xml;
}

inline QByteArray sharedStrings(const QStringList& items)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const QString& item : items)
        xml += "<si><t>" + item.toHtmlEscaped().toUtf8() + "</t></si>";
    return xml + "</sst>";
}

// The workbook part listing sheets in tab order and its relationships to their parts, as spreadsheet programs
// write them: { tab name, relationship target } each.
inline std::vector<ziptest::Entry> sheetList(const std::vector<std::pair<QString, QString>>& sheets)
{
    QByteArray list
        = "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>";
    QByteArray links = "<Relationships>";
    for (size_t i = 0; i < sheets.size(); ++i) {
        const QByteArray id = "rId" + QByteArray::number(qulonglong(i + 7));
        list += "<sheet name=\"" + sheets[i].first.toUtf8() + "\" sheetId=\"1\" r:id=\"" + id + "\"/>";
        links += "<Relationship Id=\"" + id + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
            + "relationships/worksheet\" Target=\"" + sheets[i].second.toUtf8() + "\"/>";
    }
    return { { QStringLiteral("xl/workbook.xml"), list + "</sheets></workbook>" },
        { QStringLiteral("xl/_rels/workbook.xml.rels"), links + "</Relationships>" } };
}

// A workbook whose worksheets are sheet1.xml, sheet2.xml ... in the order given.
inline bool writeWorkbook(const QString& path, const std::vector<QByteArray>& sheets, const QByteArray& strings = {})
{
    std::vector<ziptest::Entry> entries;
    entries.push_back({ QStringLiteral("[Content_Types].xml"), "<Types/>" });
    if (!strings.isEmpty())
        entries.push_back({ QStringLiteral("xl/sharedStrings.xml"), strings });
    for (size_t i = 0; i < sheets.size(); ++i)
        entries.push_back({ QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1), sheets[i] });
    return ziptest::writeZip(path, entries);
}

// A file of the given bytes in a fresh folder; its path.
inline QString writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("file")) + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// What a picker tells of a sheet whose titles stand in row `titles`, with rows 1 to `lastAbove` holding a heading
// (none for 0), then the records note.
inline QString toldOfSheet(int titles, int lastAbove, const QString& records = {})
{
    const QString heading = lastAbove == 0 ? QString()
        : lastAbove == 1
        ? QStringLiteral(" Row 1 above the titles is a heading and makes no cards.")
        : QStringLiteral(" Rows 1-%1 above the titles are a heading and make no cards.").arg(lastAbove);
    return (QStringLiteral("The titles are taken from row %1.").arg(titles) + heading + QLatin1Char(' ') + records)
        .trimmed();
}

} // namespace sheettest
