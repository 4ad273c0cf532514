#include "platform/PngImageData.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>

#include <zlib.h>

#include <array>
#include <memory>

namespace platform {

namespace {

// Channels of each colour type: grey, -, colour, palette, grey with alpha, -, colour with alpha.
int channelsOf(int colourType)
{
    constexpr int channels[] = { 1, 0, 3, 1, 2, 0, 4 };
    return colourType >= 0 && colourType < 7 ? channels[colourType] : 0;
}

// A little excess is left to the reader, which warns and reads on; what passes twice the size is refused.
quint64 allowedBytes(quint64 needed)
{
    return needed * 2 + 64 * 1024;
}

// What a PNG's rows take once inflated, each with its filter byte, over its seven passes when interlaced.
quint64 pngImageDataBytes(quint32 width, quint32 height, int bitsPerPixel, bool interlaced)
{
    const auto rows = [&](quint64 columns, quint64 count) {
        return columns == 0 || count == 0 ? 0 : count * (1 + (columns * quint64(bitsPerPixel) + 7) / 8);
    };
    if (!interlaced)
        return rows(width, height);
    // Each pass: first column and row, then the steps between them.
    constexpr std::array<std::array<quint32, 4>, 7> passes { { { 0, 0, 8, 8 }, { 4, 0, 8, 8 }, { 0, 4, 4, 8 },
        { 2, 0, 4, 4 }, { 0, 2, 2, 4 }, { 1, 0, 2, 2 }, { 0, 1, 1, 2 } } };
    quint64 total = 0;
    for (const auto& [x, y, dx, dy] : passes) {
        const quint64 columns = width > x ? (quint64(width) - x + dx - 1) / dx : 0;
        total += rows(columns, height > y ? (quint64(height) - y + dy - 1) / dy : 0);
    }
    return total;
}

struct Inflater {
    z_stream stream {};
    bool started = false;
    ~Inflater()
    {
        if (started)
            inflateEnd(&stream);
    }
};

} // namespace

bool pngImageDataPastSize(QIODevice& device)
{
    if (device.read(8) != QByteArrayLiteral("\x89PNG\r\n\x1a\n"))
        return false;
    quint64 allowed = 0;
    bool inData = false;
    Inflater inflater;
    const auto out = std::make_unique<Bytef[]>(256 * 1024);
    for (;;) {
        const QByteArray head = device.read(8);
        if (head.size() < 8)
            return false;
        const quint32 length = qFromBigEndian<quint32>(head.constData());
        const QByteArray type = head.mid(4);
        if (type == "IHDR") {
            const QByteArray header = device.read(13);
            if (header.size() < 13 || length != 13)
                return false;
            const int bits = channelsOf(header[9]) * int(header[8]);
            if (bits == 0)
                return false;
            allowed = allowedBytes(pngImageDataBytes(qFromBigEndian<quint32>(header.constData()),
                qFromBigEndian<quint32>(header.constData() + 4), bits, header[12] == 1));
            if (!device.skip(4))
                return false;
            continue;
        }
        if (allowed == 0)
            return false; // the header is not where it must be: the reader refuses the file
        if (type != "IDAT") {
            if (inData || type == "IEND")
                return false; // the data are over
            if (device.skip(qint64(length) + 4) != qint64(length) + 4)
                return false;
            continue;
        }
        if (!inData) {
            inData = true;
            if (inflateInit(&inflater.stream) != Z_OK)
                return false;
            inflater.started = true;
        }
        for (quint32 left = length; left > 0;) {
            const QByteArray block = device.read(std::min<quint32>(left, 64 * 1024));
            if (block.isEmpty())
                return false;
            left -= quint32(block.size());
            inflater.stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.constData()));
            inflater.stream.avail_in = uInt(block.size());
            while (inflater.stream.avail_in > 0) {
                inflater.stream.next_out = out.get();
                inflater.stream.avail_out = 256 * 1024;
                const int result = inflate(&inflater.stream, Z_NO_FLUSH);
                if (inflater.stream.total_out > allowed)
                    return true;
                if (result != Z_OK)
                    return false; // the end of the data, or data the reader will refuse
            }
        }
        if (!device.skip(4))
            return false;
    }
}

} // namespace platform
