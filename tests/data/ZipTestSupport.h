#pragma once

#include <QByteArray>
#include <QString>

#include <minizip/zip.h>
#include <zlib.h>

#include <cstdint>
#include <optional>
#include <vector>

// Builds zip archives entry by entry with minizip, including entries no honest zipper writes:
// names that climb out of their folder, link entries and sizes that lie.
namespace ziptest {

struct Entry {
    Entry(const QString& n, const QByteArray& d, bool l = false, std::optional<std::uint64_t> declared = {})
        : name(n)
        , data(d)
        , link(l)
        , declaredSize(declared)
    {
    }
    QString name;
    QByteArray data;
    bool link = false; // a Unix symbolic-link entry whose data is its target
    std::optional<std::uint64_t> declaredSize; // stored raw with this uncompressed size instead of the real one
};

inline bool writeZip(const QString& path, const std::vector<Entry>& entries)
{
    zipFile zip = zipOpen64(path.toLocal8Bit().constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const Entry& entry : entries) {
        zip_fileinfo info {};
        if (entry.link)
            info.external_fa = (0120777u << 16);
        const QByteArray name = entry.name.toUtf8();
        const int made_by = 3 << 8 | 20; // Unix host: the link bit in the attributes counts
        if (!entry.declaredSize) {
            ok = ok
                && zipOpenNewFileInZip4(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                       Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, made_by, 0)
                    == ZIP_OK
                && zipWriteInFileInZip(zip, entry.data.constData(), unsigned(entry.data.size())) == ZIP_OK
                && zipCloseFileInZip(zip) == ZIP_OK;
            continue;
        }
        // Raw deflate data whose header claims another size.
        QByteArray deflated(int(compressBound(uLong(entry.data.size()))) + 64, '\0');
        z_stream stream {};
        deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(entry.data.constData()));
        stream.avail_in = uInt(entry.data.size());
        stream.next_out = reinterpret_cast<Bytef*>(deflated.data());
        stream.avail_out = uInt(deflated.size());
        deflate(&stream, Z_FINISH);
        deflated.truncate(int(stream.total_out));
        deflateEnd(&stream);
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(entry.data.constData()), uInt(entry.data.size()));
        ok = ok
            && zipOpenNewFileInZip4(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                   Z_DEFAULT_COMPRESSION, 1, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, made_by, 0)
                == ZIP_OK
            && zipWriteInFileInZip(zip, deflated.constData(), unsigned(deflated.size())) == ZIP_OK
            && zipCloseFileInZipRaw64(zip, *entry.declaredSize, crc) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

} // namespace ziptest
