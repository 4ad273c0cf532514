#include "platform/PropertyList.h"

#include "platform/PlistBinaryReader.h"
#include "platform/PlistBinaryWriter.h"
#include "platform/PlistXmlReader.h"
#include "platform/PlistXmlWriter.h"

#include <cmath>
#include <limits>

namespace platform {

namespace {

constexpr std::size_t kIndexedDictSize = 32;

} // namespace

void PlistDict::insert(const QString& key, PlistValue value)
{
    const std::size_t at = position(key);
    if (at < entries_.size()) {
        entries_[at].second = std::move(value);
        return;
    }
    entries_.emplace_back(key, std::move(value));
    if (!index_.isEmpty()) {
        index_.insert(key, at);
    } else if (entries_.size() > kIndexedDictSize) {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            index_.insert(entries_[i].first, i);
    }
}

const PlistValue* PlistDict::find(const QString& key) const
{
    const std::size_t at = position(key);
    return at < entries_.size() ? &entries_[at].second : nullptr;
}

PlistValue* PlistDict::find(const QString& key)
{
    const std::size_t at = position(key);
    return at < entries_.size() ? &entries_[at].second : nullptr;
}

std::size_t PlistDict::position(const QString& key) const
{
    if (!index_.isEmpty())
        return index_.value(key, entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].first == key)
            return i;
    }
    return entries_.size();
}

std::vector<QString> PlistDict::keys() const
{
    std::vector<QString> result;
    result.reserve(entries_.size());
    for (const Entry& entry : entries_)
        result.push_back(entry.first);
    return result;
}

std::size_t PlistDict::size() const
{
    return entries_.size();
}

bool PlistDict::empty() const
{
    return entries_.empty();
}

std::vector<PlistDict::Entry>::const_iterator PlistDict::begin() const
{
    return entries_.begin();
}

std::vector<PlistDict::Entry>::const_iterator PlistDict::end() const
{
    return entries_.end();
}

bool PlistDict::operator==(const PlistDict& other) const
{
    return entries_ == other.entries_;
}

bool PlistValue::toBool() const
{
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(value_);
    case Type::Integer:
        return std::get<qint64>(value_) != 0;
    case Type::Real:
        return std::get<double>(value_) != 0.0;
    default:
        return false;
    }
}

qint64 PlistValue::toInteger() const
{
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(value_) ? 1 : 0;
    case Type::Integer:
        return std::get<qint64>(value_);
    case Type::Real: {
        // Converting an out-of-range double is undefined behaviour, so clamp first.
        const double d = std::get<double>(value_);
        if (std::isnan(d))
            return 0;
        if (d >= 9223372036854775808.0)
            return std::numeric_limits<qint64>::max();
        if (d < -9223372036854775808.0)
            return std::numeric_limits<qint64>::min();
        return static_cast<qint64>(d);
    }
    default:
        return 0;
    }
}

double PlistValue::toReal() const
{
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(value_) ? 1.0 : 0.0;
    case Type::Integer:
        return static_cast<double>(std::get<qint64>(value_));
    case Type::Real:
        return std::get<double>(value_);
    default:
        return 0.0;
    }
}

QString PlistValue::toString() const
{
    return isString() ? std::get<QString>(value_) : QString();
}

QByteArray PlistValue::toData() const
{
    return isData() ? std::get<QByteArray>(value_) : QByteArray();
}

QDateTime PlistValue::toDate() const
{
    return isDate() ? std::get<QDateTime>(value_) : QDateTime();
}

const PlistArray& PlistValue::toArray() const
{
    static const PlistArray empty;
    return isArray() ? std::get<PlistArray>(value_) : empty;
}

const PlistDict& PlistValue::toDict() const
{
    static const PlistDict empty;
    return isDict() ? std::get<PlistDict>(value_) : empty;
}

PlistDict& PlistValue::mutableDict()
{
    if (!isDict())
        value_ = PlistDict();
    return std::get<PlistDict>(value_);
}

namespace PropertyList {

QByteArray toXml(const PlistValue& root)
{
    return PlistXmlWriter::write(root);
}

QByteArray toBinary(const PlistValue& root)
{
    return PlistBinaryWriter::write(root);
}

QByteArray toBytes(const PlistValue& root, Format format)
{
    return format == Format::Binary ? toBinary(root) : toXml(root);
}

std::optional<PlistValue> fromBytes(const QByteArray& bytes, QString* error, ReadBudget* budget)
{
    if (bytes.startsWith("bplist"))
        return fromBinary(bytes, error, budget);
    return fromXml(bytes, error);
}

std::optional<PlistValue> fromXml(const QByteArray& bytes, QString* error)
{
    return PlistXmlReader::read(bytes, error);
}

std::optional<PlistValue> fromBinary(const QByteArray& bytes, QString* error, ReadBudget* budget)
{
    return PlistBinaryReader::read(bytes, error, budget);
}

} // namespace PropertyList

} // namespace platform
