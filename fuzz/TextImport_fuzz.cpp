// The importers of text, CSV and RTF files: any bytes give values or a message, never a crash, and no
// value keeps blanks at its ends or is empty.
#include "FuzzSupport.h"

#include "common/Common_Functions.h"
#include "data/Rtf_Text_Reader.h"
#include "data/Series_Import_Sources.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir box;
    static const char* const extensions[] = { "txt", "csv", "rtf" };
    const QByteArray input = fuzzsupport::bytesOf(data, size);
    rtfPlainText(input);
    bool ok = false;
    decodeImportedText(input, &ok);
    const QString path = box.path() + QStringLiteral("/import.") + QLatin1String(extensions[size % 3]);
    if (!fuzzsupport::writeFile(path, input))
        return 0;
    const Import_Source_Values read = Text_File_Values(path);
    for (const QString& value : read.values) {
        if (value.isEmpty() || chk_and_insert_validation(value) != value)
            fuzzsupport::finding(qPrintable(QStringLiteral("an imported value is not clean: ") + value));
    }
    return 0;
}
