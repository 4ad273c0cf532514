#include "platform/PlistBinaryReader.h"

#include <QDateTime>

#include <cmath>
#include <cstring>
#include <limits>

namespace platform {

namespace {

// Builds the value inside the optional: a temporary moved into it trips GCC's uninitialised-use
// analysis in sanitizer builds.
template <typename... Args> std::optional<PlistValue> made(Args&&... args)
{
    return std::optional<PlistValue>(std::in_place, std::forward<Args>(args)...);
}

constexpr int kMaxDepth = 512;
constexpr quint64 kHeaderSize = 8;
constexpr quint64 kTrailerSize = 32;
// What a decoded string or data block costs beyond its characters: the allocation's header.
constexpr quint64 kBlockOverhead = 32;
// A large dictionary keeps a hash index beside its entries.
constexpr quint64 kIndexCostPerEntry = 32;
// Seconds from the reference date 2001-01-01 to the ends of the years 1 and 9999.
constexpr double kEarliestDate = -63113904000.0;
constexpr double kLatestDate = 252423993599.0;
constexpr qint64 kReferenceDateMs = 978307200000;

double doubleFromBits(quint64 bits)
{
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

float floatFromBits(quint32 bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

} // namespace

PlistBinaryReader::PlistBinaryReader(const QByteArray& bytes, ReadBudget* budget)
    : data_(reinterpret_cast<const uchar*>(bytes.constData()))
    , size_(static_cast<quint64>(bytes.size()))
    , budget_(budget)
{
    if (!budget_)
        budget_ = &ownBudget_.emplace(size_);
}

std::optional<PlistValue> PlistBinaryReader::read(const QByteArray& bytes, QString* error, ReadBudget* budget)
{
    PlistBinaryReader reader(bytes, budget);
    std::optional<PlistValue> root;
    if (reader.readTrailer() && reader.charge(0, sizeof(PlistValue))) {
        root = reader.readObject(reader.topObject_, 0);
        if (root && !root->isValid())
            root = reader.fail(QStringLiteral("the property list holds no value"));
    }
    if (!root && error)
        *error = reader.error_;
    return root;
}

std::nullopt_t PlistBinaryReader::fail(const QString& reason)
{
    if (error_.isEmpty())
        error_ = reason;
    return std::nullopt;
}

bool PlistBinaryReader::charge(quint64 values, quint64 bytes)
{
    if (budget_->spend(values, bytes))
        return true;
    fail(budget_->valuesLeft() < values ? QStringLiteral("property list holds too many values")
                                        : QStringLiteral("property list would take too much memory"));
    return false;
}

bool PlistBinaryReader::fits(quint64 pos, quint64 length) const
{
    return pos <= objectsEnd_ && length <= objectsEnd_ - pos;
}

quint64 PlistBinaryReader::readUnsigned(quint64 pos, int width) const
{
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | data_[pos + static_cast<quint64>(i)];
    return value;
}

bool PlistBinaryReader::readTrailer()
{
    if (size_ < kHeaderSize + kTrailerSize + 2 || std::memcmp(data_, "bplist", 6) != 0) {
        fail(QStringLiteral("not a binary property list, or truncated"));
        return false;
    }
    if (std::memcmp(data_ + 6, "00", 2) != 0) {
        fail(QStringLiteral("unsupported binary property-list version"));
        return false;
    }
    const quint64 trailer = size_ - kTrailerSize;
    offsetWidth_ = data_[trailer + 6];
    refWidth_ = data_[trailer + 7];
    objectCount_ = readUnsigned(trailer + 8, 8);
    topObject_ = readUnsigned(trailer + 16, 8);
    const quint64 tableOffset = readUnsigned(trailer + 24, 8);
    if (offsetWidth_ < 1 || offsetWidth_ > 8 || refWidth_ < 1 || refWidth_ > 8) {
        fail(QStringLiteral("invalid offset or reference size in the trailer"));
        return false;
    }
    if (objectCount_ == 0 || topObject_ >= objectCount_) {
        fail(QStringLiteral("invalid object count or top object in the trailer"));
        return false;
    }
    if (tableOffset <= kHeaderSize || tableOffset > trailer
        || objectCount_ > (trailer - tableOffset) / static_cast<quint64>(offsetWidth_)) {
        fail(QStringLiteral("offset table out of range"));
        return false;
    }
    objectsEnd_ = tableOffset;
    // A slot per object for the strings and data decoded once: charged, as it may be large.
    if (objectCount_ >= quint64(std::numeric_limits<qint32>::max())) {
        fail(QStringLiteral("too many objects"));
        return false;
    }
    if (!charge(0, objectCount_ * sizeof(qint32)))
        return false;
    onPath_.assign(objectCount_, false);
    scalarSlots_.assign(objectCount_, -1);
    return true;
}

// Offsets are read from the table when an object is first needed, so that a table of many entries
// costs no memory of its own.
std::optional<quint64> PlistBinaryReader::objectOffset(quint64 ref)
{
    const quint64 offset = readUnsigned(objectsEnd_ + ref * static_cast<quint64>(offsetWidth_), offsetWidth_);
    if (offset < kHeaderSize || offset >= objectsEnd_)
        return fail(QStringLiteral("object offset out of range"));
    return offset;
}

std::optional<quint64> PlistBinaryReader::readCount(quint8 marker, quint64& pos)
{
    const quint8 low = marker & 0x0F;
    if (low != 0x0F)
        return low;
    if (!fits(pos, 1))
        return fail(QStringLiteral("truncated object"));
    const quint8 intMarker = data_[pos];
    if ((intMarker & 0xF0) != 0x10 || (intMarker & 0x0F) > 3)
        return fail(QStringLiteral("invalid object length"));
    const int width = 1 << (intMarker & 0x0F);
    if (!fits(pos + 1, static_cast<quint64>(width)))
        return fail(QStringLiteral("truncated object"));
    const quint64 count = readUnsigned(pos + 1, width);
    // Nothing in a file can be longer than the file; this also rejects negative 8-byte lengths.
    if (count > size_)
        return fail(QStringLiteral("object length out of range"));
    pos += 1 + static_cast<quint64>(width);
    return count;
}

std::optional<PlistValue> PlistBinaryReader::readObject(quint64 ref, int depth)
{
    if (ref >= objectCount_)
        return fail(QStringLiteral("object reference out of range"));
    if (depth > kMaxDepth)
        return fail(QStringLiteral("property list nested too deeply"));
    if (!charge(1, 0))
        return std::nullopt;
    if (onPath_[ref])
        return fail(QStringLiteral("object refers to itself"));
    if (const qint32 slot = scalarSlots_[ref]; slot >= 0)
        return sharedScalars_[std::size_t(slot)];

    const auto offset = objectOffset(ref);
    if (!offset)
        return std::nullopt;
    quint64 pos = *offset;
    const quint8 marker = data_[pos++];
    const quint8 kind = marker >> 4;
    if (kind == 0x0A || kind == 0x0D) {
        const auto count = readCount(marker, pos);
        if (!count)
            return std::nullopt;
        onPath_[ref] = true;
        auto result = kind == 0x0A ? readArray(*count, pos, depth) : readDict(*count, pos, depth);
        onPath_[ref] = false;
        return result;
    }
    auto scalar = readScalar(marker, pos);
    // Strings and data are decoded once however often they are referenced (the copies share their
    // bytes): dictionary keys are shared by every dictionary that uses them. The cache's own entry
    // is charged too.
    if (scalar && (kind == 0x4 || kind == 0x5 || kind == 0x6)) {
        if (!charge(0, sizeof(PlistValue)))
            return std::nullopt;
        scalarSlots_[ref] = qint32(sharedScalars_.size());
        sharedScalars_.push_back(*scalar);
    }
    return scalar;
}

std::optional<PlistValue> PlistBinaryReader::readScalar(quint8 marker, quint64 pos)
{
    const quint8 kind = marker >> 4;
    const quint8 low = marker & 0x0F;
    switch (kind) {
    case 0x0:
        if (low == 0x8 || low == 0x9)
            return made(low == 0x9);
        if (low == 0x0 || low == 0xF)
            return made();
        break;
    case 0x1: {
        if (low > 4)
            break;
        const int width = 1 << low;
        if (!fits(pos, static_cast<quint64>(width)))
            return fail(QStringLiteral("truncated integer"));
        if (width == 16) {
            // Only values that fit 64 bits: the high half must be the sign extension of the low half.
            const quint64 high = readUnsigned(pos, 8);
            const quint64 value = readUnsigned(pos + 8, 8);
            const quint64 extension = (value >> 63) ? ~quint64(0) : 0;
            if (high != extension)
                return fail(QStringLiteral("integer too large"));
            return made(static_cast<qint64>(value));
        }
        // 1, 2 and 4 bytes are unsigned, 8 bytes signed.
        return made(static_cast<qint64>(readUnsigned(pos, width)));
    }
    case 0x2:
        if (low == 2 && fits(pos, 4))
            return made(static_cast<double>(floatFromBits(static_cast<quint32>(readUnsigned(pos, 4)))));
        if (low == 3 && fits(pos, 8))
            return made(doubleFromBits(readUnsigned(pos, 8)));
        return fail(QStringLiteral("invalid or truncated real"));
    case 0x3: {
        if (marker != 0x33 || !fits(pos, 8))
            return fail(QStringLiteral("invalid or truncated date"));
        const double seconds = doubleFromBits(readUnsigned(pos, 8));
        if (!(seconds >= kEarliestDate && seconds <= kLatestDate))
            return fail(QStringLiteral("date out of range"));
        const qint64 ms = kReferenceDateMs + std::llround(seconds * 1000.0);
        return made(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
    }
    case 0x4:
    case 0x5:
    case 0x6: {
        const auto count = readCount(marker, pos);
        if (!count)
            return std::nullopt;
        if (kind == 0x6)
            return readUtf16(pos, *count);
        if (!fits(pos, *count))
            return fail(QStringLiteral("truncated data or string"));
        if (!charge(0, (kind == 0x4 ? *count : 2 * *count) + kBlockOverhead))
            return std::nullopt;
        const char* bytes = reinterpret_cast<const char*>(data_ + pos);
        const auto length = static_cast<qsizetype>(*count);
        if (kind == 0x4)
            return made(QByteArray(bytes, length));
        for (qsizetype i = 0; i < length; ++i) {
            if (static_cast<uchar>(bytes[i]) >= 0x80)
                return fail(QStringLiteral("invalid ASCII string"));
        }
        return made(QString::fromLatin1(bytes, length));
    }
    case 0x8: {
        // Identifiers of keyed archives written elsewhere: read as their number.
        const int width = low + 1;
        if (!fits(pos, static_cast<quint64>(width)))
            return fail(QStringLiteral("truncated identifier"));
        for (int i = 0; i + 8 < width; ++i) {
            if (data_[pos + static_cast<quint64>(i)] != 0)
                return fail(QStringLiteral("identifier too large"));
        }
        const int skip = width > 8 ? width - 8 : 0;
        const quint64 value = readUnsigned(pos + static_cast<quint64>(skip), width - skip);
        if (value > static_cast<quint64>(std::numeric_limits<qint64>::max()))
            return fail(QStringLiteral("identifier too large"));
        return made(static_cast<qint64>(value));
    }
    default:
        break;
    }
    return fail(QStringLiteral("unsupported object type 0x%1").arg(marker, 2, 16, QLatin1Char('0')));
}

std::optional<QString> PlistBinaryReader::readUtf16(quint64 pos, quint64 count)
{
    if (count > objectsEnd_ / 2 || !fits(pos, count * 2))
        return fail(QStringLiteral("truncated string"));
    if (!charge(0, 2 * count + kBlockOverhead))
        return std::nullopt;
    if (count == 0)
        return QStringLiteral("");
    QString text(static_cast<qsizetype>(count), Qt::Uninitialized);
    QChar* chars = text.data();
    for (quint64 i = 0; i < count; ++i)
        chars[i] = QChar(static_cast<char16_t>(readUnsigned(pos + 2 * i, 2)));
    for (quint64 i = 0; i < count; ++i) {
        if (chars[i].isHighSurrogate() && i + 1 < count && chars[i + 1].isLowSurrogate())
            ++i;
        else if (chars[i].isSurrogate())
            return fail(QStringLiteral("invalid UTF-16 string"));
    }
    return text;
}

std::optional<PlistValue> PlistBinaryReader::readArray(quint64 count, quint64 pos, int depth)
{
    const auto width = static_cast<quint64>(refWidth_);
    if (count > objectsEnd_ / width || !fits(pos, count * width))
        return fail(QStringLiteral("truncated array"));
    // The slots are charged before they are reserved: nested arrays that each declare a long count
    // cannot reserve more than the input allows.
    if (!charge(0, count * sizeof(PlistValue)))
        return std::nullopt;
    PlistArray array;
    array.reserve(count);
    for (quint64 i = 0; i < count; ++i) {
        auto element = readObject(readUnsigned(pos + i * width, refWidth_), depth + 1);
        if (!element)
            return std::nullopt;
        array.push_back(std::move(*element));
    }
    return made(std::move(array));
}

std::optional<PlistValue> PlistBinaryReader::readDict(quint64 count, quint64 pos, int depth)
{
    const auto width = static_cast<quint64>(refWidth_);
    if (count > objectsEnd_ / (2 * width) || !fits(pos, 2 * count * width))
        return fail(QStringLiteral("truncated dictionary"));
    if (!charge(0, count * (sizeof(PlistDict::Entry) + kIndexCostPerEntry)))
        return std::nullopt;
    PlistDict dict;
    for (quint64 i = 0; i < count; ++i) {
        auto key = readObject(readUnsigned(pos + i * width, refWidth_), depth + 1);
        if (!key)
            return std::nullopt;
        if (!key->isString())
            return fail(QStringLiteral("dictionary key is not a string"));
        auto value = readObject(readUnsigned(pos + (count + i) * width, refWidth_), depth + 1);
        if (!value)
            return std::nullopt;
        dict.insert(key->toString(), std::move(*value));
    }
    return made(std::move(dict));
}

} // namespace platform
