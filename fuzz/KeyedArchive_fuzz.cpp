// The keyed archive: an archive that reads writes back as the same archive, and every value in it can
// be asked for as any of the encodings without harm.
#include "FuzzSupport.h"

#include "platform/KeyedArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto archive = platform::KeyedArchive::fromBytes(fuzzsupport::bytesOf(data, size));
    if (!archive)
        return 0;
    const auto back = platform::KeyedArchive::fromBytes(archive->toBytes());
    if (!back || back->className() != archive->className() || !fuzzsupport::same(back->toPlist(), archive->toPlist()))
        fuzzsupport::finding("archive written back differs");
    for (const QString& key : archive->keys()) {
        archive->decodeRect(key);
        archive->decodePoint(key);
        archive->decodeSize(key);
        archive->decodeColor(key);
        archive->decodeFont(key);
        archive->decodeArchive(key);
        archive->decodeDouble(key);
        archive->decodeInt32(key);
    }
    return 0;
}
