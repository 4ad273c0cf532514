#include "data/SpreadsheetWriter.h"

#include "common/Common_Functions.h"
#include "data/Spreadsheet_Globals.h"
#include "data/Spreadsheet_Part.h"
#include "data/Zip_Package.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

namespace {

QString& lastErrorText()
{
    static QString text;
    return text;
}

// This run's private temporary folder: nobody else can plant files in it, and it goes when the program ends.
QTemporaryDir& runTemporaryDir()
{
    // Folders of earlier runs that were killed before they could remove theirs go first.
    static const int cleared = platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet"));
    Q_UNUSED(cleared);
    static QTemporaryDir folder(platform::runFolderTemplate(QStringLiteral("tessaline-sheet")));
    return folder;
}

} // namespace

SpreadsheetWriter::SpreadsheetWriter()
    : tmpDir_(scratchFolder())
{
    removeScratchFolder();
    QDir().mkpath(tmpDir_);
    Show_NSLog_Message(QStringLiteral("Temp. directory initialized:\n %1").arg(tmpDir_));
}

SpreadsheetWriter& SpreadsheetWriter::spreadsheet()
{
    static SpreadsheetWriter* object = new SpreadsheetWriter();
    return *object;
}

QString SpreadsheetWriter::scratchFolder()
{
    QTemporaryDir& folder = runTemporaryDir();
    return folder.isValid() ? QDir(folder.path()).filePath(QStringLiteral("ziptmp")) : QString();
}

void SpreadsheetWriter::removeScratchFolder()
{
    forgetLoadedWorksheet();
    const QString folder = scratchFolder();
    if (!folder.isEmpty())
        QDir(folder).removeRecursively(); // removes links themselves, never what they point at
}

QString SpreadsheetWriter::lastError()
{
    return lastErrorText();
}

void SpreadsheetWriter::setLastError(const QString& text)
{
    lastErrorText() = text;
    if (!text.isEmpty())
        Show_NSLog_Message(QStringLiteral("Error: %1").arg(text));
}

QString SpreadsheetWriter::worksheetPath(int number)
{
    return QDir(spreadsheet().tmpDir()).filePath(QStringLiteral("xl/worksheets/sheet%1.xml").arg(number));
}

SpreadsheetWriter::Rows SpreadsheetWriter::ReadWorkbook(const QString& path, bool only_col)
{
    if (!only_col) {
        SpreadsheetWriter& object = spreadsheet();
        object.ReadData(worksheetPath(Excel_Sheet_Number));
        return object.data();
    }
    setLastError(QString());
    Excel_Sheet_Columns = 1;
    SpreadsheetWriter& object = spreadsheet();
    // A workbook never mixes with what an earlier one left in the folder.
    removeScratchFolder();
    QDir().mkpath(object.tmpDir_);
    object.sharedStrings_.clear();
    Zip_Error error;
    if (!Zip_Package::unzipFileAtPath(path, object.tmpDir_, true, QString(), &error)) {
        removeScratchFolder();
        QDir().mkpath(object.tmpDir_);
        setLastError(QStringLiteral("The file \"%1\" is not a readable workbook (%2).")
                         .arg(QFileInfo(path).fileName(), error.description));
        return object.data_;
    }
    object.ReadSharedStrings(QDir(object.tmpDir_).filePath(QStringLiteral("xl/sharedStrings.xml")));
    return object.data_;
}

void SpreadsheetWriter::ReadSharedStrings(const QString& path)
{
    sharedStrings_.clear();
    if (!QFileInfo::exists(path))
        return; // a workbook without text cells has no table
    Spreadsheet_Part part;
    QString error;
    if (!part.load(path, kMaxPartBytes, &error)) {
        setLastError(error);
        return;
    }
    const pugi::xml_node root = part.doc.document_element();
    for (pugi::xml_node item = root.child("si"); item; item = item.next_sibling("si"))
        sharedStrings_.append(spreadsheetStringItem(item));
}

QList<int> SpreadsheetWriter::Worksheet_Numbers()
{
    static const QRegularExpression partName(
        QStringLiteral("^sheet([1-9][0-9]{0,5})\\.xml$"), QRegularExpression::CaseInsensitiveOption);
    QList<int> numbers;
    const QDir folder(QDir(spreadsheet().tmpDir()).filePath(QStringLiteral("xl/worksheets")));
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = partName.match(entry.fileName());
        if (match.hasMatch())
            numbers.append(match.captured(1).toInt());
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QStringList SpreadsheetWriter::Read_Sheet_Name()
{
    QStringList names;
    Spreadsheet_Part part;
    if (!part.load(QDir(spreadsheet().tmpDir()).filePath(QStringLiteral("xl/workbook.xml")), kMaxPartBytes, nullptr))
        return names;
    for (const pugi::xpath_node& sheet : part.doc.select_nodes("//sheet"))
        names.append(QString::fromUtf8(sheet.node().attribute("name").value()));
    return names;
}
