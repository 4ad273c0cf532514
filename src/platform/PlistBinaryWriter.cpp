#include "platform/PlistBinaryWriter.h"

#include <QDateTime>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr qint64 kReferenceDateMs = 978307200000; // 2001-01-01T00:00:00Z

int widthFor(quint64 value)
{
    if (value < (quint64(1) << 8))
        return 1;
    if (value < (quint64(1) << 16))
        return 2;
    if (value < (quint64(1) << 32))
        return 4;
    return 8;
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Milliseconds since 1970, kept within the years 1 to 9999 that readers accept; an invalid date is
// written as the reference date.
qint64 dateMilliseconds(const QDateTime& date)
{
    constexpr qint64 earliest = -62135596800000; // 0001-01-01T00:00:00Z
    constexpr qint64 latest = 253402300799000; // 9999-12-31T23:59:59Z
    return date.isValid() ? std::clamp(date.toMSecsSinceEpoch(), earliest, latest) : kReferenceDateMs;
}

} // namespace

QByteArray PlistBinaryWriter::write(const PlistValue& root)
{
    PlistBinaryWriter writer;
    writer.flatten(root);
    writer.refWidth_ = widthFor(writer.objects_.size() - 1);

    writer.out_.reserve(static_cast<qsizetype>(writer.objects_.size() * 8 + writer.refs_.size() * 2 + 64));
    writer.out_.append("bplist00", 8);
    std::vector<quint64> offsets;
    offsets.reserve(writer.objects_.size());
    for (const Object& object : writer.objects_) {
        offsets.push_back(static_cast<quint64>(writer.out_.size()));
        writer.writeObject(object);
    }
    const auto tableOffset = static_cast<quint64>(writer.out_.size());
    const int offsetWidth = widthFor(tableOffset);
    for (const quint64 offset : offsets)
        writer.writeUnsigned(offset, offsetWidth);

    writer.out_.append(6, '\0');
    writer.out_.append(static_cast<char>(offsetWidth));
    writer.out_.append(static_cast<char>(writer.refWidth_));
    writer.writeUnsigned(writer.objects_.size(), 8);
    writer.writeUnsigned(0, 8); // the root is the first object
    writer.writeUnsigned(tableOffset, 8);
    return writer.out_;
}

quint64 PlistBinaryWriter::addObject(const PlistValue* value, const QString* key)
{
    objects_.push_back(Object { value, key, 0, 0 });
    return objects_.size() - 1;
}

quint64 PlistBinaryWriter::flattenString(const QString& string, const PlistValue* value)
{
    // Strings that share their characters are equal without hashing them: the keys of many archives are
    // usually one string. The list being written holds every string alive until the end.
    const StringData data { string.constData(), string.size() };
    const auto shared = stringData_.constFind(data);
    if (shared != stringData_.cend())
        return *shared;
    const auto known = strings_.constFind(string);
    if (known != strings_.cend()) {
        stringData_.insert(data, *known);
        return *known;
    }
    // A string value is reached through its value (toString() gives a copy); a key through the dict.
    const quint64 index = addObject(value, value ? nullptr : &string);
    strings_.insert(string, index);
    stringData_.insert(data, index);
    return index;
}

quint64 PlistBinaryWriter::flatten(const PlistValue& value)
{
    auto shared = [this, &value](auto& table, const auto& key) {
        const auto known = table.constFind(key);
        if (known != table.cend())
            return *known;
        const quint64 index = addObject(&value, nullptr);
        table.insert(key, index);
        return index;
    };
    switch (value.type()) {
    case PlistValue::Type::Boolean: {
        qint64& known = booleans_[value.toBool() ? 1 : 0];
        if (known < 0)
            known = static_cast<qint64>(addObject(&value, nullptr));
        return static_cast<quint64>(known);
    }
    case PlistValue::Type::Integer:
        return shared(integers_, value.toInteger());
    case PlistValue::Type::Real: {
        const double d = value.toReal();
        quint64 bits;
        std::memcpy(&bits, &d, sizeof bits);
        return shared(reals_, bits);
    }
    case PlistValue::Type::Date:
        return shared(dates_, dateMilliseconds(value.toDate()));
    case PlistValue::Type::Data:
        return shared(datas_, value.toData());
    case PlistValue::Type::String:
        return flattenString(value.toString(), &value);
    case PlistValue::Type::Array: {
        const quint64 index = addObject(&value, nullptr);
        std::vector<quint64> children;
        children.reserve(value.toArray().size());
        for (const PlistValue& element : value.toArray())
            children.push_back(flatten(element));
        objects_[index].firstRef = refs_.size();
        objects_[index].refCount = children.size();
        refs_.insert(refs_.end(), children.begin(), children.end());
        return index;
    }
    case PlistValue::Type::Dict: {
        const quint64 index = addObject(&value, nullptr);
        const PlistDict& dict = value.toDict();
        std::vector<quint64> children(dict.size() * 2);
        std::size_t i = 0;
        for (const auto& [key, element] : dict)
            children[i++] = flattenString(key, nullptr);
        i = dict.size();
        for (const auto& [key, element] : dict)
            children[i++] = flatten(element);
        objects_[index].firstRef = refs_.size();
        objects_[index].refCount = children.size();
        refs_.insert(refs_.end(), children.begin(), children.end());
        return index;
    }
    case PlistValue::Type::Invalid:
        break;
    }
    return addObject(&value, nullptr);
}

void PlistBinaryWriter::writeUnsigned(quint64 value, int width)
{
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        out_.append(static_cast<char>((value >> shift) & 0xFF));
}

void PlistBinaryWriter::writeMarker(quint8 type, quint64 count)
{
    if (count < 15) {
        out_.append(static_cast<char>(type | count));
        return;
    }
    out_.append(static_cast<char>(type | 0x0F));
    const int width = widthFor(count);
    const quint8 exponent = width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : 3;
    out_.append(static_cast<char>(0x10 | exponent));
    writeUnsigned(count, width);
}

void PlistBinaryWriter::writeInteger(qint64 value)
{
    // Small non-negative numbers take fewer bytes; 1, 2 and 4 bytes are unsigned, 8 bytes signed.
    const int width = value < 0 ? 8 : widthFor(static_cast<quint64>(value));
    const quint8 exponent = width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : 3;
    out_.append(static_cast<char>(0x10 | exponent));
    writeUnsigned(static_cast<quint64>(value), width);
}

void PlistBinaryWriter::writeDouble(quint8 marker, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    out_.append(static_cast<char>(marker));
    writeUnsigned(bits, 8);
}

void PlistBinaryWriter::writeString(const QString& string)
{
    if (isAscii(string)) {
        writeMarker(0x50, static_cast<quint64>(string.size()));
        out_.append(string.toLatin1());
        return;
    }
    // A surrogate without its partner is written as the replacement character: readers refuse it, and
    // what the program holds must always read back.
    writeMarker(0x60, static_cast<quint64>(string.size()));
    const qsizetype size = string.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = string[i];
        if (c.isHighSurrogate() && i + 1 < size && string[i + 1].isLowSurrogate()) {
            writeUnsigned(c.unicode(), 2);
            writeUnsigned(string[++i].unicode(), 2);
        } else {
            writeUnsigned(c.isSurrogate() ? 0xFFFD : c.unicode(), 2);
        }
    }
}

void PlistBinaryWriter::writeObject(const Object& object)
{
    if (!object.value) {
        writeString(*object.key);
        return;
    }
    const PlistValue& value = *object.value;
    switch (value.type()) {
    case PlistValue::Type::Invalid:
        out_.append('\0');
        break;
    case PlistValue::Type::Boolean:
        out_.append(static_cast<char>(value.toBool() ? 0x09 : 0x08));
        break;
    case PlistValue::Type::Integer:
        writeInteger(value.toInteger());
        break;
    case PlistValue::Type::Real:
        writeDouble(0x23, value.toReal());
        break;
    case PlistValue::Type::Date:
        writeDouble(0x33, static_cast<double>(dateMilliseconds(value.toDate()) - kReferenceDateMs) / 1000.0);
        break;
    case PlistValue::Type::Data: {
        const QByteArray data = value.toData();
        writeMarker(0x40, static_cast<quint64>(data.size()));
        out_.append(data);
        break;
    }
    case PlistValue::Type::String:
        writeString(value.toString());
        break;
    case PlistValue::Type::Array:
    case PlistValue::Type::Dict: {
        const bool isDict = value.isDict();
        writeMarker(isDict ? 0xD0 : 0xA0, isDict ? object.refCount / 2 : object.refCount);
        for (quint64 i = 0; i < object.refCount; ++i)
            writeUnsigned(refs_[object.firstRef + i], refWidth_);
        break;
    }
    }
}

} // namespace platform
