// The item archive: an item made from any archive encodes to an archive that makes the same item again.
#include "FuzzSupport.h"

#include "model/TSLGraphic.h"
#include "platform/KeyedArchive.h"

namespace {

QByteArray encoded(const TSLGraphic& item)
{
    platform::KeyedArchive archive;
    item.encodeWithCoder(archive);
    return archive.toBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto archive = platform::KeyedArchive::fromBytes(fuzzsupport::bytesOf(data, size));
    if (!archive)
        return 0;
    const TSLGraphicPtr item = TSLGraphic::initWithCoder(*archive);
    if (!item)
        return 0;
    const QByteArray first = encoded(*item);
    const auto again = platform::KeyedArchive::fromBytes(first);
    if (!again)
        fuzzsupport::finding("an item's own archive does not read");
    const TSLGraphicPtr copy = TSLGraphic::initWithCoder(*again);
    if (!copy || copy->className() != item->className())
        fuzzsupport::finding("an item read back from its own archive is of another kind");
    const QByteArray second = encoded(*copy);
    if (second != first) {
        const auto a = platform::PropertyList::fromBinary(first);
        const auto b = platform::PropertyList::fromBinary(second);
        fuzzsupport::finding(
            ("an item read back from its own archive differs in " + fuzzsupport::firstDifference(*a, *b)).constData());
    }
    return 0;
}
