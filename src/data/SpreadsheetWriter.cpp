#include "data/SpreadsheetWriter.h"

#include "common/Common_Functions.h"
#include "data/Spreadsheet_Globals.h"
#include "data/Read_Progress.h"
#include "data/Zip_Package.h"
#include "platform/PrivateFolder.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString& lastErrorText()
{
    static QString text;
    return text;
}

bool& lastCancelled()
{
    static bool cancelled = false;
    return cancelled;
}

// This run's private temporary folder: nobody else can plant files in it, and it goes when the program ends.
platform::RunFolder& runTemporaryDir()
{
    // Folders of earlier runs that were killed before they could remove theirs go first.
    static const int cleared = platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet"));
    Q_UNUSED(cleared);
    static platform::RunFolder folder(QStringLiteral("tessaline-sheet"));
    return folder;
}

} // namespace

SpreadsheetWriter::SpreadsheetWriter()
    : tmpDir_(scratchFolder())
    , control_(std::make_unique<Read_Control>())
{
    removeScratchFolder();
    platform::makePrivateFolder(tmpDir_);
    Show_NSLog_Message(QStringLiteral("Temp. directory initialized:\n %1").arg(tmpDir_));
}

SpreadsheetWriter::~SpreadsheetWriter() = default;

SpreadsheetWriter& SpreadsheetWriter::spreadsheet()
{
    static SpreadsheetWriter* object = new SpreadsheetWriter();
    return *object;
}

QString SpreadsheetWriter::scratchFolder()
{
    const platform::RunFolder& folder = runTemporaryDir();
    return folder.isValid() ? QDir(folder.path()).filePath(QStringLiteral("ziptmp")) : QString();
}

void SpreadsheetWriter::removeScratchFolder()
{
    const QString folder = scratchFolder();
    if (!folder.isEmpty())
        QDir(folder).removeRecursively(); // removes links themselves, never what they point at
}

QString SpreadsheetWriter::lastError()
{
    return lastErrorText();
}

bool SpreadsheetWriter::lastReadCancelled()
{
    return lastCancelled();
}

void SpreadsheetWriter::setLastError(const QString& text)
{
    lastErrorText() = text;
    lastCancelled() = false;
    if (!text.isEmpty())
        Show_NSLog_Message(QStringLiteral("Error: %1").arg(text));
}

void SpreadsheetWriter::forgetWorkbook()
{
    reader_.reset();
    sheet_.reset();
    sheetNumber_ = 0;
    sharedStrings_.clear();
}

SpreadsheetWriter::Rows SpreadsheetWriter::ReadWorkbook(const QString& path, bool only_col)
{
    SpreadsheetWriter& object = spreadsheet();
    if (!only_col) {
        object.ReadData(Excel_Sheet_Number);
        return object.data();
    }
    setLastError(QString());
    Excel_Sheet_Columns = 1;
    // A workbook never mixes with what an earlier one left.
    object.forgetWorkbook();
    object.data_.clear();
    object.facts_.clear();
    object.control_->cancel.store(false);
    auto reader = std::make_unique<Workbook_Reader>(object.control_.get());
    bool opened = false;
    runReadWithProgress(QStringLiteral("Reading the workbook %1").arg(Name_In_Notice(QFileInfo(path).fileName())),
        QFileInfo(path).size(), *object.control_, [&] { opened = reader->open(path); });
    if (!opened) {
        setLastError(reader->error());
        lastCancelled() = reader->cancelled();
        return object.data_;
    }
    object.reader_ = std::move(reader);
    return object.data_;
}

const Workbook_Sheet* SpreadsheetWriter::loadSheet(int number)
{
    if (sheet_ && sheetNumber_ == number)
        return sheet_.get();
    sheet_.reset();
    if (!reader_) {
        setLastError(QStringLiteral("No workbook is open."));
        return nullptr;
    }
    control_->cancel.store(false);
    auto sheet = std::make_unique<Workbook_Sheet>();
    bool read = false;
    Workbook_Reader& reader = *reader_;
    runReadWithProgress(QStringLiteral("Reading the worksheet \"%1\" of %2")
                            .arg(Name_In_Notice(Read_Sheet_Name().value(number - 1)),
                                Name_In_Notice(QFileInfo(reader.path()).fileName())),
        QFileInfo(reader.path()).size(), *control_, [&] { read = reader.readSheet(number, *sheet); });
    if (!read) {
        setLastError(reader.error());
        lastCancelled() = reader.cancelled();
        return nullptr;
    }
    formulasWithoutResult_ = sheet->formulasWithoutResult;
    sheet_ = std::move(sheet);
    sheetNumber_ = number;
    return sheet_.get();
}

std::int64_t SpreadsheetWriter::formulasWithoutResult()
{
    return spreadsheet().formulasWithoutResult_;
}

QList<int> SpreadsheetWriter::Worksheet_Numbers()
{
    QList<int> numbers;
    for (qsizetype n = 1; n <= Read_Sheet_Name().size(); ++n)
        numbers.append(int(n));
    return numbers;
}

QStringList SpreadsheetWriter::Read_Sheet_Name()
{
    const SpreadsheetWriter& object = spreadsheet();
    QStringList names;
    if (object.reader_) {
        for (const Workbook_Reader::Sheet_Entry& sheet : object.reader_->sheets())
            names.append(sheet.name);
    }
    return names;
}
