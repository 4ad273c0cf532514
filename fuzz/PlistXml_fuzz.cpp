// The XML property-list reader: whatever it accepts writes back, in both formats, as the same value.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto value = platform::PropertyList::fromXml(fuzzsupport::bytesOf(data, size));
    if (!value)
        return 0;
    QString error;
    const auto xml = platform::PropertyList::fromXml(platform::PropertyList::toXml(*value), &error);
    if (!xml || !fuzzsupport::same(*xml, *value))
        fuzzsupport::finding(qPrintable(QStringLiteral("XML written back differs: ") + error));
    const auto binary = platform::PropertyList::fromBinary(platform::PropertyList::toBinary(*value), &error);
    if (!binary || !fuzzsupport::same(*binary, *value))
        fuzzsupport::finding(qPrintable(QStringLiteral("binary written back differs: ") + error));
    return 0;
}
