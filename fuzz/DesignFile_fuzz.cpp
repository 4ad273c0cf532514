// The design-file reader: a design that opens saves into a file that opens as the same design.
#include "FuzzSupport.h"

#include "editor/Design_File_Format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto content = decodeDesignFile(fuzzsupport::bytesOf(data, size));
    if (!content)
        return 0;
    const QByteArray saved = encodeDesignFile(*content);
    QString reason;
    const auto reopened = decodeDesignFile(saved, &reason);
    if (!reopened)
        fuzzsupport::finding(qPrintable(QStringLiteral("a saved design does not open: ") + reason));
    if (encodeDesignFile(*reopened) != saved)
        fuzzsupport::finding("a design saved again differs");
    return 0;
}
