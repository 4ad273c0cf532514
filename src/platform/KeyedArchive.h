#pragma once

#include "platform/PropertyList.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

namespace platform {

// A named-value archive of one object: the class name and its values in the order they were encoded.
// Readers never fail: a missing key, or a value of another type, reads as the type's zero
// (false, 0, 0.0, the zero rectangle, a null string, an invalid colour, no font, a null image),
// so an archive written by an older program still loads.
//
// Encodings of our own, inside the property list:
//   rect     array of four reals (x, y, width, height)       point, size: arrays of two reals
//   colour   dict { "$type": "color", "rgba": [r, g, b, a] } as doubles in device RGB
//   font     dict { "$type": "font", "family", "pointSize", "weight", "italic", "qt" }
//   image    dict { "$type": "image", "png": data, "width", "height" } (width and height in points)
//   nothing  dict { "$type": "null" }: an absent object keeps its key
//   archive  dict { "$class": name, "$values": dict }, nested objects likewise
class KeyedArchive {
public:
    KeyedArchive() = default;
    explicit KeyedArchive(const QString& className)
        : className_(className)
    {
    }

    QString className() const { return className_; }
    void setClassName(const QString& name) { className_ = name; }

    void encodeBool(const QString& key, bool value);
    void encodeInt32(const QString& key, qint32 value);
    void encodeInt64(const QString& key, qint64 value);
    void encodeFloat(const QString& key, float value);
    void encodeDouble(const QString& key, double value);
    void encodeRect(const QString& key, const QRectF& value);
    void encodePoint(const QString& key, const QPointF& value);
    void encodeSize(const QString& key, const QSizeF& value);
    void encodeString(const QString& key, const QString& value); // a null QString is written as nothing
    void encodeColor(const QString& key, const QColor& value); // an invalid colour is written as nothing
    void encodeFont(const QString& key, const std::optional<QFont>& value);
    void encodeImage(const QString& key, const QImage& value, const QSizeF& sizeInPoints = {}); // null: nothing
    void encodeArchive(const QString& key, const KeyedArchive& value);
    void encodeNull(const QString& key);
    void encodeValue(const QString& key, const PlistValue& value); // any property-list value as is

    bool decodeBool(const QString& key) const;
    qint32 decodeInt32(const QString& key) const;
    qint64 decodeInt64(const QString& key) const;
    float decodeFloat(const QString& key) const;
    double decodeDouble(const QString& key) const;
    QRectF decodeRect(const QString& key) const;
    QPointF decodePoint(const QString& key) const;
    QSizeF decodeSize(const QString& key) const;
    QString decodeString(const QString& key) const;
    QColor decodeColor(const QString& key) const;
    std::optional<QFont> decodeFont(const QString& key) const;
    QImage decodeImage(const QString& key, QSizeF* sizeInPoints = nullptr) const;
    std::optional<KeyedArchive> decodeArchive(const QString& key) const;
    PlistValue decodeValue(const QString& key) const; // invalid when missing

    bool containsValueForKey(const QString& key) const;
    std::vector<QString> keys() const; // in encoding order

    // The archive as a property-list value, and back. fromPlist refuses anything that is not a dict
    // with a string "$class" and a dict "$values".
    PlistValue toPlist() const&;
    PlistValue toPlist() &&; // takes the values over instead of copying them
    static std::optional<KeyedArchive> fromPlist(const PlistValue& value);
    static std::optional<KeyedArchive> fromPlist(PlistValue&& value);

    // Binary property-list bytes of toPlist(), and back; malformed bytes give nothing. An archive read
    // as one of many from a larger input charges its values to that input's budget.
    QByteArray toBytes() const&;
    QByteArray toBytes() &&;
    static std::optional<KeyedArchive> fromBytes(const QByteArray& bytes, ReadBudget* budget = nullptr);

    // Value encodings shared with other writers of our files.
    static PlistValue colorValue(const QColor& color);
    static QColor colorFromValue(const PlistValue& value);
    static PlistValue fontValue(const QFont& font);
    static std::optional<QFont> fontFromValue(const PlistValue& value);

    bool operator==(const KeyedArchive& other) const = default;

private:
    QString className_;
    PlistDict values_;
};

} // namespace platform
