#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

class PlistValue;
class ReadBudget;
using PlistArray = std::vector<PlistValue>;

// A property-list dictionary that keeps its keys in insertion order, so that archives written by us
// list their keys in the order they were encoded. Lookup is linear while the dictionary is small; a
// large one (a file may hold any number of keys) keeps an index so that filling it stays linear.
class PlistDict {
public:
    using Entry = std::pair<QString, PlistValue>;

    void insert(const QString& key, PlistValue value); // replaces an existing key in place
    const PlistValue* find(const QString& key) const;
    PlistValue* find(const QString& key);
    bool contains(const QString& key) const { return find(key) != nullptr; }
    std::vector<QString> keys() const;
    std::size_t size() const;
    bool empty() const;

    std::vector<Entry>::const_iterator begin() const;
    std::vector<Entry>::const_iterator end() const;

    bool operator==(const PlistDict& other) const;

private:
    std::size_t position(const QString& key) const; // size() when absent

    std::vector<Entry> entries_;
    QHash<QString, std::size_t> index_; // key -> position in entries_, only past a few entries
};

// One value of a property list: the published types (array, dict, string, integer, real, boolean,
// data, date). A default-constructed value is invalid and stands for "nothing".
class PlistValue {
public:
    enum class Type { Invalid, Boolean, Integer, Real, String, Data, Date, Array, Dict };

    PlistValue() = default;
    PlistValue(bool b)
        : value_(b)
    {
    }
    PlistValue(int i)
        : value_(static_cast<qint64>(i))
    {
    }
    PlistValue(qint64 i)
        : value_(i)
    {
    }
    PlistValue(double d)
        : value_(d)
    {
    }
    PlistValue(const QString& s)
        : value_(s)
    {
    }
    PlistValue(const char* s)
        : value_(QString::fromUtf8(s))
    {
    }
    PlistValue(const QByteArray& data)
        : value_(data)
    {
    }
    PlistValue(const QDateTime& date)
        : value_(date)
    {
    }
    PlistValue(PlistArray array)
        : value_(std::move(array))
    {
    }
    PlistValue(PlistDict dict)
        : value_(std::move(dict))
    {
    }

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isValid() const { return type() != Type::Invalid; }
    bool isBoolean() const { return type() == Type::Boolean; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isReal() const { return type() == Type::Real; }
    bool isNumber() const { return isInteger() || isReal(); }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDict() const { return type() == Type::Dict; }

    // Readers answer the type's zero value when the value holds another type; numbers convert
    // between integer and real (reals clamp to the integer range), booleans read as 0 or 1 and a
    // number reads as true when it is not zero.
    bool toBool() const;
    qint64 toInteger() const;
    double toReal() const;
    QString toString() const;
    QByteArray toData() const;
    QDateTime toDate() const;
    const PlistArray& toArray() const;
    const PlistDict& toDict() const;
    // The dict itself, to change or take over in place; a value of another type becomes an empty dict.
    PlistDict& mutableDict();

    bool operator==(const PlistValue& other) const { return value_ == other.value_; }

private:
    std::variant<std::monostate, bool, qint64, double, QString, QByteArray, QDateTime, PlistArray, PlistDict> value_;
};

// Reading and writing the XML and binary (bplist00) property-list formats. Integers are 64-bit signed:
// a file's larger integers are refused rather than changed. The binary format's null and fill objects
// read as invalid values; the binary writer writes invalid values as null, the XML writer, whose format
// has no null, leaves them out.
namespace PropertyList {

enum class Format { Xml, Binary };

QByteArray toXml(const PlistValue& root);
QByteArray toBinary(const PlistValue& root);
QByteArray toBytes(const PlistValue& root, Format format);

// Detects the format from the first bytes. Malformed input gives nothing and, when asked for, a
// short English reason; nothing the input says (counts, offsets, sizes) is trusted unchecked. A binary
// list that is one of several read from one input charges the values it decodes to that input's
// budget; without one it has a budget of its own size.
std::optional<PlistValue> fromBytes(const QByteArray& bytes, QString* error = nullptr, ReadBudget* budget = nullptr);
std::optional<PlistValue> fromXml(const QByteArray& bytes, QString* error = nullptr);
std::optional<PlistValue> fromBinary(const QByteArray& bytes, QString* error = nullptr, ReadBudget* budget = nullptr);

} // namespace PropertyList

} // namespace platform
