// The clipboard's item data: items pasted from any data copy to data that pastes as the same items.
#include "FuzzSupport.h"

#include "model/TSLError.h"
#include "model/TSLGraphic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TSLError error;
    const auto items = TSLGraphic::graphicsWithPasteboardData(fuzzsupport::bytesOf(data, size), &error);
    if (!items)
        return 0;
    const QByteArray copied = TSLGraphic::pasteboardDataWithGraphics(*items);
    const auto pasted = TSLGraphic::graphicsWithPasteboardData(copied, &error);
    if (!pasted || pasted->size() != items->size())
        fuzzsupport::finding("copied items do not paste again");
    const QByteArray again = TSLGraphic::pasteboardDataWithGraphics(*pasted);
    if (again != copied) {
        const auto a = platform::PropertyList::fromBinary(copied);
        const auto b = platform::PropertyList::fromBinary(again);
        QByteArray where = "the item count";
        for (std::size_t i = 0; i < a->toArray().size() && i < b->toArray().size(); ++i) {
            if (!fuzzsupport::same(a->toArray()[i], b->toArray()[i])) {
                where = fuzzsupport::firstDifference(a->toArray()[i], b->toArray()[i]);
                break;
            }
        }
        fuzzsupport::finding(("pasted items differ from the ones copied in " + where).constData());
    }
    return 0;
}
