#include "platform/KeyedArchive.h"

#include <QBuffer>
#include <QFloat16>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {

const QString kClassKey = QStringLiteral("$class");
const QString kValuesKey = QStringLiteral("$values");
const QString kTypeKey = QStringLiteral("$type");

PlistDict typedDict(const QString& type)
{
    PlistDict dict;
    dict.insert(kTypeKey, type);
    return dict;
}

bool hasType(const PlistValue& value, QStringView type)
{
    const PlistValue* tag = value.toDict().find(kTypeKey);
    return tag && tag->isString() && tag->toString() == type;
}

PlistValue reals(std::initializer_list<double> values)
{
    PlistArray array;
    array.reserve(values.size());
    for (const double v : values)
        array.emplace_back(v);
    return array;
}

// The numbers of an array of exactly n numbers, or nothing.
std::optional<std::vector<double>> numbers(const PlistValue* value, std::size_t n)
{
    if (!value || !value->isArray() || value->toArray().size() != n)
        return std::nullopt;
    std::vector<double> result;
    result.reserve(n);
    for (const PlistValue& element : value->toArray()) {
        if (!element.isNumber())
            return std::nullopt;
        result.push_back(element.toReal());
    }
    return result;
}

// QFont::fromString, remembered: a design's items mostly share a few fonts, and parsing the description
// costs more than the rest of an item. Each thread keeps its own few.
bool fontFromDescription(const QString& description, QFont& font)
{
    constexpr qsizetype kRemembered = 64;
    thread_local QHash<QString, std::optional<QFont>> parsed;
    if (const auto known = parsed.constFind(description); known != parsed.cend()) {
        if (*known)
            font = **known;
        return known->has_value();
    }
    if (parsed.size() >= kRemembered)
        parsed.clear();
    const bool ok = font.fromString(description);
    parsed.insert(description, ok ? std::optional<QFont>(font) : std::nullopt);
    return ok;
}

double realFor(const PlistDict& dict, const QString& key)
{
    const PlistValue* value = dict.find(key);
    return value && value->isNumber() ? value->toReal() : 0.0;
}

} // namespace

void KeyedArchive::encodeBool(const QString& key, bool value)
{
    values_.insert(key, value);
}

void KeyedArchive::encodeInt32(const QString& key, qint32 value)
{
    values_.insert(key, static_cast<qint64>(value));
}

void KeyedArchive::encodeInt64(const QString& key, qint64 value)
{
    values_.insert(key, value);
}

void KeyedArchive::encodeFloat(const QString& key, float value)
{
    values_.insert(key, static_cast<double>(value));
}

void KeyedArchive::encodeDouble(const QString& key, double value)
{
    values_.insert(key, value);
}

void KeyedArchive::encodeRect(const QString& key, const QRectF& value)
{
    values_.insert(key, reals({ value.x(), value.y(), value.width(), value.height() }));
}

void KeyedArchive::encodePoint(const QString& key, const QPointF& value)
{
    values_.insert(key, reals({ value.x(), value.y() }));
}

void KeyedArchive::encodeSize(const QString& key, const QSizeF& value)
{
    values_.insert(key, reals({ value.width(), value.height() }));
}

void KeyedArchive::encodeString(const QString& key, const QString& value)
{
    if (value.isNull())
        encodeNull(key);
    else
        values_.insert(key, value);
}

void KeyedArchive::encodeColor(const QString& key, const QColor& value)
{
    if (value.isValid())
        values_.insert(key, colorValue(value));
    else
        encodeNull(key);
}

void KeyedArchive::encodeFont(const QString& key, const std::optional<QFont>& value)
{
    if (value)
        values_.insert(key, fontValue(*value));
    else
        encodeNull(key);
}

void KeyedArchive::encodeImage(const QString& key, const QImage& value, const QSizeF& sizeInPoints)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (value.isNull() || !QImageWriter(&buffer, "PNG").write(value)) {
        encodeNull(key);
        return;
    }
    const QSizeF points = sizeInPoints.isValid() && !sizeInPoints.isEmpty() ? sizeInPoints : QSizeF(value.size());
    PlistDict dict = typedDict(QStringLiteral("image"));
    dict.insert(QStringLiteral("png"), png);
    dict.insert(QStringLiteral("width"), points.width());
    dict.insert(QStringLiteral("height"), points.height());
    values_.insert(key, std::move(dict));
}

void KeyedArchive::encodeArchive(const QString& key, const KeyedArchive& value)
{
    values_.insert(key, value.toPlist());
}

void KeyedArchive::encodeNull(const QString& key)
{
    values_.insert(key, typedDict(QStringLiteral("null")));
}

void KeyedArchive::encodeValue(const QString& key, const PlistValue& value)
{
    values_.insert(key, value);
}

bool KeyedArchive::decodeBool(const QString& key) const
{
    const PlistValue* value = values_.find(key);
    return value && value->toBool();
}

qint32 KeyedArchive::decodeInt32(const QString& key) const
{
    const qint64 value = decodeInt64(key);
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return 0;
    return static_cast<qint32>(value);
}

qint64 KeyedArchive::decodeInt64(const QString& key) const
{
    const PlistValue* value = values_.find(key);
    return value ? value->toInteger() : 0;
}

float KeyedArchive::decodeFloat(const QString& key) const
{
    // Narrowing a double beyond the float range is undefined: such values become infinities.
    const double value = decodeDouble(key);
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

double KeyedArchive::decodeDouble(const QString& key) const
{
    const PlistValue* value = values_.find(key);
    return value ? value->toReal() : 0.0;
}

QRectF KeyedArchive::decodeRect(const QString& key) const
{
    const auto v = numbers(values_.find(key), 4);
    return v ? QRectF((*v)[0], (*v)[1], (*v)[2], (*v)[3]) : QRectF();
}

QPointF KeyedArchive::decodePoint(const QString& key) const
{
    const auto v = numbers(values_.find(key), 2);
    return v ? QPointF((*v)[0], (*v)[1]) : QPointF();
}

QSizeF KeyedArchive::decodeSize(const QString& key) const
{
    const auto v = numbers(values_.find(key), 2);
    return v ? QSizeF((*v)[0], (*v)[1]) : QSizeF(0, 0);
}

QString KeyedArchive::decodeString(const QString& key) const
{
    const PlistValue* value = values_.find(key);
    if (!value || !value->isString())
        return QString();
    const QString text = value->toString();
    // Only the null marker stands for a null string: an empty one read from a file stays empty.
    return text.isNull() ? QStringLiteral("") : text;
}

QColor KeyedArchive::decodeColor(const QString& key) const
{
    const PlistValue* value = values_.find(key);
    return value ? colorFromValue(*value) : QColor();
}

std::optional<QFont> KeyedArchive::decodeFont(const QString& key) const
{
    const PlistValue* value = values_.find(key);
    return value ? fontFromValue(*value) : std::nullopt;
}

QImage KeyedArchive::decodeImage(const QString& key, QSizeF* sizeInPoints) const
{
    if (sizeInPoints)
        *sizeInPoints = QSizeF(0, 0);
    const PlistValue* value = values_.find(key);
    if (!value || !hasType(*value, u"image"))
        return QImage();
    const PlistDict& dict = value->toDict();
    const PlistValue* png = dict.find(QStringLiteral("png"));
    if (!png || !png->isData())
        return QImage();
    QByteArray bytes = png->toData();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "PNG");
    const QImage image = reader.read();
    if (image.isNull())
        return QImage();
    if (sizeInPoints) {
        const QSizeF points(realFor(dict, QStringLiteral("width")), realFor(dict, QStringLiteral("height")));
        *sizeInPoints = points.width() > 0 && points.height() > 0 ? points : QSizeF(image.size());
    }
    return image;
}

std::optional<KeyedArchive> KeyedArchive::decodeArchive(const QString& key) const
{
    const PlistValue* value = values_.find(key);
    return value ? fromPlist(*value) : std::nullopt;
}

PlistValue KeyedArchive::decodeValue(const QString& key) const
{
    const PlistValue* value = values_.find(key);
    return value ? *value : PlistValue();
}

bool KeyedArchive::containsValueForKey(const QString& key) const
{
    return values_.contains(key);
}

std::vector<QString> KeyedArchive::keys() const
{
    return values_.keys();
}

PlistValue KeyedArchive::toPlist() &&
{
    PlistDict dict;
    dict.insert(kClassKey, className_.isNull() ? QStringLiteral("") : className_);
    dict.insert(kValuesKey, std::move(values_));
    values_ = PlistDict();
    return dict;
}

PlistValue KeyedArchive::toPlist() const&
{
    PlistDict dict;
    dict.insert(kClassKey, className_.isNull() ? QStringLiteral("") : className_);
    dict.insert(kValuesKey, values_);
    return dict;
}

std::optional<KeyedArchive> KeyedArchive::fromPlist(const PlistValue& value)
{
    const PlistValue* className = value.toDict().find(kClassKey);
    const PlistValue* values = value.toDict().find(kValuesKey);
    if (!className || !className->isString() || !values || !values->isDict())
        return std::nullopt;
    KeyedArchive archive(className->toString());
    archive.values_ = values->toDict();
    return archive;
}

std::optional<KeyedArchive> KeyedArchive::fromPlist(PlistValue&& value)
{
    // The values are taken over rather than copied: a design's items are read this way by the thousand.
    if (!value.isDict())
        return std::nullopt;
    const PlistValue* className = value.toDict().find(kClassKey);
    PlistValue* values = value.mutableDict().find(kValuesKey);
    if (!className || !className->isString() || !values || !values->isDict())
        return std::nullopt;
    KeyedArchive archive(className->toString());
    archive.values_ = std::move(values->mutableDict());
    return archive;
}

QByteArray KeyedArchive::toBytes() const&
{
    return PropertyList::toBinary(toPlist());
}

QByteArray KeyedArchive::toBytes() &&
{
    return PropertyList::toBinary(std::move(*this).toPlist());
}

std::optional<KeyedArchive> KeyedArchive::fromBytes(const QByteArray& bytes, ReadBudget* budget)
{
    auto value = PropertyList::fromBytes(bytes, nullptr, budget);
    return value ? fromPlist(std::move(*value)) : std::nullopt;
}

PlistValue KeyedArchive::colorValue(const QColor& color)
{
    PlistDict dict = typedDict(QStringLiteral("color"));
    if (color.spec() == QColor::ExtendedRgb) {
        // Extended colours keep components outside 0..1.
        float r = 0, g = 0, b = 0, a = 0;
        color.getRgbF(&r, &g, &b, &a);
        dict.insert(QStringLiteral("rgba"), reals({ r, g, b, a }));
    } else {
        // Every other colour model as device RGB, from the 16-bit channels QColor keeps.
        const QRgba64 rgba = color.rgba64();
        dict.insert(QStringLiteral("rgba"),
            reals({ rgba.red() / 65535.0, rgba.green() / 65535.0, rgba.blue() / 65535.0, rgba.alpha() / 65535.0 }));
    }
    return dict;
}

QColor KeyedArchive::colorFromValue(const PlistValue& value)
{
    if (!hasType(value, u"color"))
        return QColor();
    const auto v = numbers(value.toDict().find(QStringLiteral("rgba")), 4);
    if (!v)
        return QColor();
    const auto& c = *v;
    // Components are judged as the colour keeps them (an extended colour in half precision) and without
    // a negative zero, so that a colour read once saves and reads back the same. A component beyond what
    // half precision holds would be kept as infinity, which no colour can be: such a colour is refused.
    auto kept = [](double x) { return static_cast<float>(qfloat16(static_cast<float>(x))) + 0.0f; };
    for (const double component : c) {
        if (!std::isfinite(component) || std::abs(component) > 1.0e6 || !std::isfinite(kept(component)))
            return QColor();
    }
    if (std::all_of(c.begin(), c.end(), [&kept](double x) { return kept(x) >= 0.0f && kept(x) <= 1.0f; })) {
        auto channel = [](double x) { return static_cast<quint16>(std::lround(std::clamp(x, 0.0, 1.0) * 65535.0)); };
        return QColor(QRgba64::fromRgba64(channel(c[0]), channel(c[1]), channel(c[2]), channel(c[3])));
    }
    return QColor::fromRgbF(kept(c[0]), kept(c[1]), kept(c[2]), kept(c[3]));
}

PlistValue KeyedArchive::fontValue(const QFont& font)
{
    PlistDict dict = typedDict(QStringLiteral("font"));
    dict.insert(QStringLiteral("family"), font.family());
    dict.insert(QStringLiteral("pointSize"), font.pointSizeF());
    dict.insert(QStringLiteral("weight"), static_cast<int>(font.weight()));
    dict.insert(QStringLiteral("italic"), font.italic());
    dict.insert(QStringLiteral("qt"), font.toString());
    return dict;
}

std::optional<QFont> KeyedArchive::fontFromValue(const PlistValue& value)
{
    if (!hasType(value, u"font"))
        return std::nullopt;
    const PlistDict& dict = value.toDict();
    const PlistValue* family = dict.find(QStringLiteral("family"));
    const bool hasFamily = family && family->isString();
    // The full description keeps everything (stretch, spacing, underline ...); QFont accepts almost any
    // text as one, so it counts only when it names the same family as the plain fields.
    QFont font;
    if (const PlistValue* qt = dict.find(QStringLiteral("qt")); qt && qt->isString()
        && fontFromDescription(qt->toString(), font) && (!hasFamily || font.family() == family->toString()))
        return font;
    if (!hasFamily)
        return std::nullopt;
    font = QFont(family->toString());
    const double pointSize = realFor(dict, QStringLiteral("pointSize"));
    if (pointSize > 0 && pointSize < 10000)
        font.setPointSizeF(pointSize);
    const PlistValue* weight = dict.find(QStringLiteral("weight"));
    if (weight && weight->isInteger() && weight->toInteger() >= 1 && weight->toInteger() <= 1000)
        font.setWeight(static_cast<QFont::Weight>(weight->toInteger()));
    if (const PlistValue* italic = dict.find(QStringLiteral("italic")))
        font.setItalic(italic->toBool());
    // Taken through its own description, as the font will be when it is read again after a save: a
    // point size finer than the description keeps would otherwise change on every reopening.
    QFont described;
    return fontFromDescription(font.toString(), described) && described.family() == font.family() ? described : font;
}

} // namespace platform
