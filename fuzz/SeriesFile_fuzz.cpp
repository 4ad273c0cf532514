// The series readers and writer: any file reads without harm, and what the editing reader shows, once
// saved, reads back the same.
#include "FuzzSupport.h"

#include "common/Globals.h"
#include "data/Series_File.h"

#include <QDir>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir box;
    Data_Folder_Path = box.path();
    const QString name = QStringLiteral("Fuzzed");
    if (!fuzzsupport::writeFile(Series_File::path(name), fuzzsupport::bytesOf(data, size)))
        return 0;
    Series_File::firstValue(name);
    const std::optional<QStringList> batch = Series_File::readBatch(name);
    const std::optional<QStringList> shown = Series_File::readForEditing(name);
    if (!batch || !shown)
        fuzzsupport::finding("a regular file of bounded size was refused");
    QString error;
    if (!Series_File::write(name, *shown, Series_File::Values::Trimmed, &error))
        fuzzsupport::finding(qPrintable(QStringLiteral("the values shown could not be saved: ") + error));
    if (Series_File::readForEditing(name) != shown)
        fuzzsupport::finding("the values shown read back differently once saved");
    if (Series_File::readBatch(name) != shown)
        fuzzsupport::finding("the saved values read differently for a batch");
    return 0;
}
