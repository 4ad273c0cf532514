#include "platform/JpegDcPicture.h"

#include "platform/PictureDecode.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace platform {

namespace {

// The device read forward in blocks.
class Byte_Source {
public:
    explicit Byte_Source(QIODevice& device)
        : device_(device)
    {
    }
    int next() // -1 at the end
    {
        if (at_ == block_.size()) {
            block_ = device_.read(1 << 20);
            at_ = 0;
            if (block_.isEmpty())
                return -1;
        }
        return static_cast<unsigned char>(block_[at_++]);
    }
    QByteArray read(int count)
    {
        QByteArray bytes;
        for (int byte = 0; int(bytes.size()) < count && (byte = next()) >= 0;)
            bytes.append(char(byte));
        return bytes;
    }
    // The next marker that is not a restart, past any coded data; -1 at the end.
    int toMarker()
    {
        for (int byte = next(); byte >= 0; byte = next()) {
            if (byte != 0xFF)
                continue;
            int after = next();
            while (after == 0xFF)
                after = next();
            if (after != 0x00 && !(after >= 0xD0 && after <= 0xD7))
                return after;
        }
        return -1;
    }

private:
    QIODevice& device_;
    QByteArray block_;
    qsizetype at_ = 0;
};

struct Huffman_Table {
    std::array<int, 17> maxcode {}; // the largest code of each length, -1 when there is none
    std::array<int, 17> first {}; // the index of the first symbol of each length
    std::array<int, 17> mincode {};
    QByteArray symbols;
    bool defined = false;
};

struct Component {
    int id = 0, h = 1, v = 1, quantTable = 0, dcTable = 0;
    int quant = 1; // the DC quantiser, taken when its first DC scan begins
    int wide = 0, high = 0; // blocks, to whole coding units
    std::vector<qint16> dc;
    bool started = false;
};

int be16(const QByteArray& bytes, int at)
{
    return (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
}

class Dc_Decoder {
public:
    explicit Dc_Decoder(QIODevice& device)
        : bytes_(device)
    {
    }
    QImage decode(JpegDcOutcome* outcome);

private:
    int bit();
    int bits(int count);
    int symbol(const Huffman_Table& table);
    bool defineTables(const QByteArray& body);
    bool frame(const QByteArray& body);
    // Decodes one DC scan; the marker that follows it, or -1 when its data end early or are damaged.
    int scan(const QByteArray& body);
    bool restart();
    QImage picture() const;

    Byte_Source bytes_;
    std::array<Huffman_Table, 4> tables_;
    std::array<int, 4> quant_ { 1, 1, 1, 1 };
    std::vector<Component> components_;
    int width_ = 0, height_ = 0, hmax_ = 1, vmax_ = 1, interval_ = 0, adobeTransform_ = -1;
    quint32 held_ = 0;
    int count_ = 0;
    int marker_ = -1; // met inside coded data
    bool stopped_ = false; // bits were asked for past the data
};

int Dc_Decoder::bit()
{
    if (count_ == 0) {
        int byte = marker_ < 0 ? bytes_.next() : -1;
        if (byte == 0xFF) {
            int after = bytes_.next();
            while (after == 0xFF)
                after = bytes_.next();
            if (after != 0x00) {
                marker_ = after;
                byte = -1;
            }
        }
        if (byte < 0) {
            stopped_ = true;
            return 0;
        }
        held_ = quint32(byte);
        count_ = 8;
    }
    return int(held_ >> --count_) & 1;
}

int Dc_Decoder::bits(int count)
{
    int value = 0;
    while (count-- > 0)
        value = value << 1 | bit();
    return value;
}

int Dc_Decoder::symbol(const Huffman_Table& table)
{
    int code = 0;
    for (int length = 1; length <= 16; ++length) {
        code = code << 1 | bit();
        if (code <= table.maxcode[length])
            return static_cast<unsigned char>(table.symbols[table.first[length] + code - table.mincode[length]]);
    }
    return -1;
}

bool Dc_Decoder::defineTables(const QByteArray& body)
{
    for (int at = 0; at < body.size();) {
        if (body.size() - at < 17)
            return false;
        const int kind = static_cast<unsigned char>(body[at]);
        int total = 0;
        for (int length = 1; length <= 16; ++length)
            total += static_cast<unsigned char>(body[at + length]);
        if ((kind & 0x0F) > 3 || total > 256 || body.size() - at - 17 < total)
            return false;
        if ((kind >> 4) == 0) { // AC tables are not needed
            Huffman_Table& table = tables_[kind & 0x0F];
            table.symbols = body.mid(at + 17, total);
            int code = 0, index = 0;
            for (int length = 1; length <= 16; ++length) {
                const int counted = static_cast<unsigned char>(body[at + length]);
                table.first[length] = index;
                table.mincode[length] = code;
                table.maxcode[length] = counted ? code + counted - 1 : -1;
                index += counted;
                code = (code + counted) << 1;
            }
            table.defined = true;
        }
        at += 17 + total;
    }
    return true;
}

bool Dc_Decoder::frame(const QByteArray& body)
{
    if (body.size() < 6 || body[0] != 8)
        return false;
    height_ = be16(body, 1);
    width_ = be16(body, 3);
    const int count = static_cast<unsigned char>(body[5]);
    if (width_ == 0 || height_ == 0 || qint64(width_) * height_ > maximumJpegPixels || (count != 1 && count != 3)
        || body.size() < 6 + 3 * count)
        return false;
    for (int i = 0; i < count; ++i) {
        Component component;
        component.id = static_cast<unsigned char>(body[6 + 3 * i]);
        const int sampling = static_cast<unsigned char>(body[7 + 3 * i]);
        component.h = sampling >> 4;
        component.v = sampling & 0x0F;
        component.quantTable = body[8 + 3 * i] & 0x03;
        if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4)
            return false;
        hmax_ = std::max(hmax_, component.h);
        vmax_ = std::max(vmax_, component.v);
        components_.push_back(component);
    }
    const int unitsWide = (width_ + 8 * hmax_ - 1) / (8 * hmax_), unitsHigh = (height_ + 8 * vmax_ - 1) / (8 * vmax_);
    for (Component& component : components_) {
        component.wide = unitsWide * component.h;
        component.high = unitsHigh * component.v;
        component.dc.assign(std::size_t(component.wide) * std::size_t(component.high), 0);
    }
    return true;
}

bool Dc_Decoder::restart()
{
    count_ = 0;
    if (marker_ < 0) {
        int byte = bytes_.next();
        while (byte >= 0 && byte != 0xFF)
            byte = bytes_.next();
        while (byte == 0xFF)
            byte = bytes_.next();
        marker_ = byte;
    }
    const bool found = marker_ >= 0xD0 && marker_ <= 0xD7;
    if (found)
        marker_ = -1;
    return found;
}

int Dc_Decoder::scan(const QByteArray& body)
{
    const int count = body.isEmpty() ? 0 : static_cast<unsigned char>(body[0]);
    if (count < 1 || count > 4 || body.size() < 4 + 2 * count)
        return -1;
    std::vector<Component*> scanned;
    for (int i = 0; i < count; ++i) {
        const int id = static_cast<unsigned char>(body[1 + 2 * i]);
        const auto found
            = std::find_if(components_.begin(), components_.end(), [id](const Component& c) { return c.id == id; });
        if (found == components_.end())
            return -1;
        found->dcTable = (body[2 + 2 * i] >> 4) & 0x03;
        scanned.push_back(&*found);
    }
    const int refining = (body[3 + 2 * count] >> 4) & 0x0F, shift = body[3 + 2 * count] & 0x0F;
    for (Component* component : scanned) {
        if (!refining && !tables_[component->dcTable].defined)
            return -1;
        if (!refining && !component->started) {
            component->quant = quant_[component->quantTable];
            component->started = true;
        }
    }
    std::array<int, 4> predicted {};
    const auto block = [&](int index, Component& component, int x, int y) {
        qint16& value = component.dc[std::size_t(y) * std::size_t(component.wide) + std::size_t(x)];
        if (refining) {
            if (bit())
                value = qint16(value | (1 << shift));
            return true;
        }
        const int size = symbol(tables_[component.dcTable]);
        if (size < 0 || size > 11)
            return false;
        int difference = bits(size);
        if (size && difference < (1 << (size - 1)))
            difference -= (1 << size) - 1;
        predicted[index] = qint16(predicted[index] + difference); // wraps as the decoder's own does
        value = qint16(predicted[index] * (1 << shift));
        return true;
    };
    held_ = 0;
    count_ = 0;
    marker_ = -1;
    stopped_ = false;
    const Component& only = *scanned.front();
    const int unitsWide = count == 1 ? (((width_ * only.h + hmax_ - 1) / hmax_) + 7) / 8 : only.wide / only.h;
    const int unitsHigh = count == 1 ? (((height_ * only.v + vmax_ - 1) / vmax_) + 7) / 8 : only.high / only.v;
    qint64 unit = 0;
    for (int y = 0; y < unitsHigh; ++y) {
        for (int x = 0; x < unitsWide; ++x, ++unit) {
            if (interval_ && unit && unit % interval_ == 0) {
                if (!restart())
                    return -1;
                predicted = {};
            }
            for (int i = 0; i < count; ++i) {
                Component& component = *scanned[std::size_t(i)];
                const int across = count == 1 ? 1 : component.h, down = count == 1 ? 1 : component.v;
                for (int dy = 0; dy < down; ++dy)
                    for (int dx = 0; dx < across; ++dx)
                        if (!block(i, component, x * across + dx, y * down + dy))
                            return -1;
            }
            if (stopped_)
                return -1;
        }
    }
    if (marker_ >= 0 && !(marker_ >= 0xD0 && marker_ <= 0xD7))
        return marker_;
    return bytes_.toMarker();
}

QImage Dc_Decoder::picture() const
{
    const int wide = (width_ + 7) / 8, high = (height_ + 7) / 8;
    const bool grey = components_.size() == 1;
    QImage image(wide, high, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // A component at less than the full size is spread between its blocks' centres, as the decoder's own
    // smooth upsampling does; at full size each block is one pixel.
    const auto value = [](const Component& component, int bx, int by) {
        bx = std::clamp(bx, 0, component.wide - 1);
        by = std::clamp(by, 0, component.high - 1);
        const qint64 dc = component.dc[std::size_t(by) * std::size_t(component.wide) + std::size_t(bx)];
        return double(dc * component.quant) / 8.0 + 128.0;
    };
    const auto sample = [this, &value](const Component& component, int x, int y) {
        if (component.h == hmax_ && component.v == vmax_)
            return std::clamp(int(std::lround(value(component, x, y))), 0, 255);
        const double fx = (x + 0.5) * component.h / hmax_ - 0.5, fy = (y + 0.5) * component.v / vmax_ - 0.5;
        const int bx = int(std::floor(fx)), by = int(std::floor(fy));
        const double ax = fx - bx, ay = fy - by;
        const double top = value(component, bx, by) * (1 - ax) + value(component, bx + 1, by) * ax;
        const double bottom = value(component, bx, by + 1) * (1 - ax) + value(component, bx + 1, by + 1) * ax;
        return std::clamp(int(std::lround(top * (1 - ay) + bottom * ay)), 0, 255);
    };
    // Three components are YCbCr unless the file says they are RGB.
    const bool rgb = !grey
        && (adobeTransform_ == 0
            || (adobeTransform_ < 0 && components_[0].id == 'R' && components_[1].id == 'G'
                && components_[2].id == 'B'));
    for (int y = 0; y < high; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < wide; ++x) {
            if (grey) {
                line[x] = uchar(sample(components_[0], x, y));
                continue;
            }
            const int a = sample(components_[0], x, y), b = sample(components_[1], x, y),
                      c = sample(components_[2], x, y);
            QRgb colour = qRgb(a, b, c);
            if (!rgb) {
                const double cb = b - 128.0, cr = c - 128.0;
                colour = qRgb(std::clamp(int(a + 1.402 * cr + 0.5), 0, 255),
                    std::clamp(int(a - 0.344136 * cb - 0.714136 * cr + 0.5), 0, 255),
                    std::clamp(int(a + 1.772 * cb + 0.5), 0, 255));
            }
            reinterpret_cast<QRgb*>(line)[x] = colour;
        }
    }
    return image;
}

QImage Dc_Decoder::decode(JpegDcOutcome* outcome)
{
    *outcome = JpegDcOutcome::NotHandled;
    if (bytes_.next() != 0xFF || bytes_.next() != 0xD8)
        return {};
    bool progressive = false;
    for (int marker = bytes_.toMarker();;) {
        if (marker < 0) {
            *outcome = JpegDcOutcome::EndEarly;
            return {};
        }
        if (marker == 0xD9)
            break;
        if (marker == 0x01) {
            marker = bytes_.toMarker();
            continue;
        }
        const int high = bytes_.next(), low = bytes_.next();
        const int length = (high << 8 | low) - 2;
        const QByteArray body = low < 0 || length < 0 ? QByteArray() : bytes_.read(length);
        if (low < 0 || length < 0 || body.size() < length) {
            *outcome = JpegDcOutcome::EndEarly;
            return {};
        }
        const bool frameMarker = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameMarker && (marker != 0xC2 || progressive || !frame(body)))
            return {}; // baseline, arithmetic, lossless, several frames or an unusual layout
        progressive = progressive || frameMarker;
        if (marker == 0xC4 && !defineTables(body))
            return {};
        if (marker == 0xDB) {
            for (int at = 0; at + 65 <= body.size();) {
                const bool wide = body[at] & 0xF0;
                quant_[body[at] & 0x03] = wide ? be16(body, at + 1) : static_cast<unsigned char>(body[at + 1]);
                at += wide ? 129 : 65;
            }
        }
        if (marker == 0xDD && body.size() >= 2)
            interval_ = be16(body, 0);
        if (marker == 0xEE && body.startsWith("Adobe") && body.size() >= 12)
            adobeTransform_ = static_cast<unsigned char>(body[11]);
        if (marker == 0xDA) {
            if (!progressive)
                return {};
            const bool dcScan = body.size() >= 4 && body[body.size() - 3] == 0;
            marker = dcScan ? scan(body) : bytes_.toMarker();
            if (marker < 0) {
                *outcome = JpegDcOutcome::EndEarly;
                return {};
            }
            continue;
        }
        marker = bytes_.toMarker();
    }
    if (!progressive)
        return {};
    if (std::any_of(components_.begin(), components_.end(), [](const Component& c) { return !c.started; })) {
        *outcome = JpegDcOutcome::EndEarly;
        return {};
    }
    *outcome = JpegDcOutcome::Decoded;
    return picture();
}

} // namespace

QImage decodeJpegDcOnly(QIODevice& device, JpegDcOutcome* outcome)
{
    Dc_Decoder decoder(device);
    return decoder.decode(outcome);
}

} // namespace platform
