#include "data/SpreadsheetWriter.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "data/Spreadsheet_Cells.h"
#include "data/Xml_Stream_Scanner.h"
#include "data/Zip_Package.h"
#include "platform/DataFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <pugixml.hpp>

#include <cerrno>
#include <cstring>

namespace {

const char* const kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelationshipsNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const kCompatibilityNamespace = "http://schemas.openxmlformats.org/markup-compatibility/2006";
const char* const kX14acNamespace = "http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac";
const char* const kMacExcelNamespace = "http://schemas.microsoft.com/office/mac/excel/2008/main";

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), qsizetype(size));
    }
};

void addDeclaration(pugi::xml_document& doc)
{
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    declaration.append_attribute("standalone") = "yes";
}

// The system's reason the last part could not be written, for the message of the whole workbook.
QString& partFailure()
{
    static QString reason;
    return reason;
}

bool storeDocument(const pugi::xml_document& doc, const QString& path)
{
    ByteWriter writer;
    doc.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    QString error;
    if (!saveFileAtomically(
            path, [&writer](QIODevice& out) { return writeAll(out, writer.bytes); }, &error)) {
        QApplication::beep();
        Show_NSLog_Message(QStringLiteral("Error when writing file %1: %2").arg(path, error));
        partFailure() = error;
        return false;
    }
    return true;
}

void setText(pugi::xml_node node, const QString& text)
{
    node.text().set(text.toUtf8().constData());
}

QString templatePath()
{
    const QString installed = QDir(platform::installedResourceDir()).filePath(QStringLiteral("Template.xlsx"));
    return installed;
}

} // namespace

bool SpreadsheetWriter::WriteWorksheetData(const QString& path)
{
    sharedStrings_.clear();
    const int columns = data_.isEmpty() ? 0 : int(data_.first().size());
    const QString lastCell = ColumnIndexToName(std::max(columns, 1)) + QString::number(data_.size());
    const QByteArray lastCellBytes = lastCell.toUtf8();

    pugi::xml_document doc;
    addDeclaration(doc);
    pugi::xml_node sheet = doc.append_child("worksheet");
    sheet.append_attribute("xmlns") = kMainNamespace;
    sheet.append_attribute("xmlns:r") = kRelationshipsNamespace;
    sheet.append_attribute("xmlns:mc") = kCompatibilityNamespace;
    sheet.append_attribute("xmlns:x14ac") = kX14acNamespace;
    sheet.append_attribute("mc:Ignorable") = "x14ac";
    sheet.append_child("dimension").append_attribute("ref") = ("A1:" + lastCellBytes).constData();
    pugi::xml_node view = sheet.append_child("sheetViews").append_child("sheetView");
    view.append_attribute("tabSelected") = "1";
    view.append_attribute("workbookViewId") = "0";
    pugi::xml_node selection = view.append_child("selection");
    selection.append_attribute("activeCell") = lastCellBytes.constData();
    selection.append_attribute("sqref") = lastCellBytes.constData();
    pugi::xml_node format = sheet.append_child("sheetFormatPr");
    format.append_attribute("baseColWidth") = "10";
    format.append_attribute("defaultRowHeight") = "15";
    format.append_attribute("x14ac:dyDescent") = "0";

    pugi::xml_node sheetData = sheet.append_child("sheetData");
    const QByteArray spans = "1:" + QByteArray::number(columns);
    for (int i = 0; i < data_.size(); ++i) {
        pugi::xml_node row = sheetData.append_child("row");
        row.append_attribute("r") = i + 1;
        row.append_attribute("spans") = spans.constData();
        const QStringList& values = data_.at(i);
        for (int j = 0; j < values.size(); ++j) {
            pugi::xml_node cell = row.append_child("c");
            cell.append_attribute("r") = (ColumnIndexToName(j + 1) + QString::number(i + 1)).toUtf8().constData();
            const QString& value = values.at(j);
            if (isSpreadsheetNumber(value)) {
                setText(cell.append_child("v"), value);
            } else {
                cell.append_attribute("t") = "s";
                sharedStrings_.append(value);
                cell.append_child("v").text().set(static_cast<long long>(sharedStrings_.size() - 1));
            }
        }
    }
    pugi::xml_node margins = sheet.append_child("pageMargins");
    margins.append_attribute("left") = "0.75";
    margins.append_attribute("right") = "0.75";
    margins.append_attribute("top") = "1";
    margins.append_attribute("bottom") = "0.5";
    margins.append_attribute("header") = "0.5";
    margins.append_attribute("footer") = "0.5";
    pugi::xml_node ext = sheet.append_child("extLst").append_child("ext");
    ext.append_attribute("xmlns:mx") = kMacExcelNamespace;
    ext.append_attribute("uri") = "{64002731-A6B0-56B0-2670-7721B7C09600}";
    pugi::xml_node plv = ext.append_child("mx:PLV");
    plv.append_attribute("Mode") = "0";
    plv.append_attribute("OnePage") = "0";
    plv.append_attribute("WScale") = "0";
    return storeDocument(doc, path);
}

bool SpreadsheetWriter::WriteSharedStringsXML(const QString& path) const
{
    pugi::xml_document doc;
    addDeclaration(doc);
    pugi::xml_node sst = doc.append_child("sst");
    sst.append_attribute("xmlns") = kMainNamespace;
    if (!sharedStrings_.isEmpty()) {
        sst.append_attribute("count") = int(sharedStrings_.size());
        sst.append_attribute("uniqueCount") = int(sharedStrings_.size());
    }
    for (const QString& entry : sharedStrings_) {
        pugi::xml_node t = sst.append_child("si").append_child("t");
        // Blanks at either end are part of the value.
        if (!entry.isEmpty() && (entry.front().isSpace() || entry.back().isSpace()))
            t.append_attribute("xml:space") = "preserve";
        // Characters XML cannot carry (controls, NUL) and CR, which a reader would turn into LF, are
        // written as spreadsheet programs write them.
        setText(t, encodeSpreadsheetEscapes(entry));
    }
    return storeDocument(doc, path);
}

bool SpreadsheetWriter::WriteWorkbook(const QString& path, const Rows& rows, bool hasTitleRow)
{
    Q_UNUSED(hasTitleRow);
    setLastError(QString());
    if (rows.isEmpty()) {
        setLastError(QStringLiteral("There is nothing to write."));
        return false;
    }
    SpreadsheetWriter& object = spreadsheet();
    object.data_ = rows;
    removeScratchFolder();
    const QDir scratch(object.tmpDir_);
    if (!QDir().mkpath(scratch.filePath(QStringLiteral("xl/worksheets")))) {
        setLastError(QStringLiteral("The temporary folder %1 cannot be made: %2.")
                         .arg(object.tmpDir_, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    Zip_Error error;
    if (!Zip_Package::unzipFileAtPath(templatePath(), object.tmpDir_, true, QString(), &error)) {
        // A full disk is not a damaged template: the folder and the system's reason are named.
        setLastError(error.code == Zip_Package::WriteFailed
                ? QStringLiteral(
                    "The workbook %1 cannot be written: the temporary folder %2 cannot take its parts (%3).")
                      .arg(path, object.tmpDir_, error.description)
                : QStringLiteral("The workbook template cannot be read (%1).").arg(error.description));
        return false;
    }
    if (!object.WriteWorksheetData(scratch.filePath(QStringLiteral("xl/worksheets/sheet1.xml")))
        || !object.WriteSharedStringsXML(scratch.filePath(QStringLiteral("xl/sharedStrings.xml")))) {
        setLastError(QStringLiteral("The workbook %1 cannot be written: %2").arg(path, partFailure()));
        return false;
    }
    QStringList entries;
    for (const QFileInfo& entry :
        scratch.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name))
        entries.append(entry.absoluteFilePath());
    QString reason;
    if (!Zip_Package::createZipFileAtPath(path, entries, &reason)) {
        setLastError(QStringLiteral("The workbook %1 cannot be written: %2").arg(path, reason));
        return false;
    }
    return true;
}
