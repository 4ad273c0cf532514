#include "editor/Document_Bus_Values.h"

#include "common/Text_Length_Limit.h"
#include "model/TSLDocument.h"
#include "model/TSLDocument_Scripting.h"
#include "model/TSLText.h"
#include "platform/StringsTable.h"

#include <QDBusArgument>
#include <QDBusVariant>
#include <QRectF>

#include <cmath>
#include <cstring>

namespace DocumentBusErrors {
const QString noSuchObject = QStringLiteral("org.tessaline.Card.Error.NoSuchObject");
const QString range = QStringLiteral("org.tessaline.Card.Error.Range");
const QString refused = QStringLiteral("org.tessaline.Card.Error.Refused");
const QString busy = QStringLiteral("org.tessaline.Card.Error.Busy");
const QString invalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
} // namespace DocumentBusErrors

namespace {

constexpr int maximumTextLength = kTextItemMaximumLength; // what the text boxes let a person type

DocumentBusFailure invalid(const QString& message)
{
    return { DocumentBusErrors::invalidArgs, message };
}

// A variant in a variant ("v" inside "a{sv}") is opened to the value it carries.
QVariant opened(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

std::optional<QDBusArgument> compound(const QVariant& value, const QString& signature)
{
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != signature)
        return std::nullopt;
    return argument;
}

std::optional<QRectF> boundsFrom(const QVariant& value)
{
    const std::optional<QDBusArgument> argument = compound(value, QStringLiteral("(dddd)"));
    if (!argument)
        return std::nullopt;
    double x = 0, y = 0, width = 0, height = 0;
    argument->beginStructure();
    *argument >> x >> y >> width >> height;
    argument->endStructure();
    for (double number : { x, y, width, height })
        if (!std::isfinite(number) || std::abs(number) > 1e6)
            return std::nullopt;
    if (width < 0 || height < 0)
        return std::nullopt;
    return QRectF(x, y, width, height);
}

std::optional<QColor> colorFrom(const QVariant& value)
{
    const std::optional<QDBusArgument> argument = compound(value, QStringLiteral("(qqq)"));
    if (!argument)
        return std::nullopt;
    quint16 rgb[3] = { 0, 0, 0 };
    argument->beginStructure();
    *argument >> rgb[0] >> rgb[1] >> rgb[2];
    argument->endStructure();
    TSLScriptingDescriptor descriptor { QByteArrayLiteral("cRGB"), QByteArray(sizeof rgb, '\0') };
    std::memcpy(descriptor.data.data(), rgb, sizeof rgb);
    return TSLDocument_Scripting::scriptingRGBColorWithDescriptor(descriptor);
}

QVariant structure(std::initializer_list<double> numbers)
{
    QDBusArgument argument;
    argument.beginStructure();
    for (double number : numbers)
        argument << number;
    argument.endStructure();
    return QVariant::fromValue(argument);
}

QVariant colorValue(const QColor& color)
{
    const TSLScriptingDescriptor descriptor = TSLDocument_Scripting::scriptingRGBColorDescriptor(color);
    quint16 rgb[3] = { 0, 0, 0 };
    std::memcpy(rgb, descriptor.data.constData(), std::min<std::size_t>(sizeof rgb, descriptor.data.size()));
    QDBusArgument argument;
    argument.beginStructure();
    argument << rgb[0] << rgb[1] << rgb[2];
    argument.endStructure();
    return QVariant::fromValue(argument);
}

bool isNumber(const QVariant& value)
{
    switch (value.userType()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isColorProperty(const QString& property)
{
    return property == QLatin1String("fillColor") || property == QLatin1String("strokeColor")
        || property == QLatin1String("textColor");
}

DocumentBusFailure onlyText(const QString& property)
{
    return { DocumentBusErrors::refused, QStringLiteral("Only a text area has %1.").arg(property) };
}

} // namespace

std::variant<QVariant, DocumentBusFailure> scriptedProperty(TSLGraphic& item, const QString& property)
{
    if (property == QLatin1String("bounds")) {
        const QRectF bounds = item.bounds();
        return structure({ bounds.x(), bounds.y(), bounds.width(), bounds.height() });
    }
    if (property == QLatin1String("fillColor") || property == QLatin1String("strokeColor")) {
        const bool fill = property == QLatin1String("fillColor");
        const std::optional<QColor> color = fill ? item.scriptingFillColor() : item.scriptingStrokeColor();
        if (!color)
            return DocumentBusFailure { DocumentBusErrors::noSuchObject,
                fill ? QStringLiteral("The item has no fill, so it has no fill colour.")
                     : QStringLiteral("The item has no stroke, so it has no stroke colour.") };
        return colorValue(*color);
    }
    if (property == QLatin1String("strokeWidth")) {
        const std::optional<double> width = item.scriptingStrokeWidth();
        if (!width)
            return DocumentBusFailure { DocumentBusErrors::noSuchObject,
                QStringLiteral("The item has no stroke, so it has no stroke width.") };
        return *width;
    }
    if (property == QLatin1String("drawingFill"))
        return item.isDrawingFill();
    if (property == QLatin1String("drawingStroke"))
        return item.isDrawingStroke();
    if (property == QLatin1String("contents") || property == QLatin1String("textColor")) {
        if (!dynamic_cast<TSLText*>(&item))
            return onlyText(property);
        return property == QLatin1String("contents") ? QVariant(item.Text_contents().string) : colorValue(item.txt_clr);
    }
    return invalid(QStringLiteral("There is no property \"%1\". Items have bounds, fillColor, strokeColor, "
                                  "strokeWidth, drawingFill, drawingStroke and, text areas, contents and textColor.")
                       .arg(property));
}

std::optional<DocumentBusFailure> checkScriptedProperty(
    const TSLGraphic& item, const QString& property, const QVariant& given)
{
    const QVariant value = opened(given);
    if (property == QLatin1String("bounds")) {
        if (!boundsFrom(value))
            return invalid(QStringLiteral("bounds takes (dddd): x, y, width and height in points, the width and "
                                          "height not negative."));
        return std::nullopt;
    }
    if (property == QLatin1String("textColor") && !dynamic_cast<const TSLText*>(&item))
        return onlyText(property);
    if (isColorProperty(property)) {
        if (!colorFrom(value))
            return invalid(QStringLiteral("%1 takes (qqq): red, green and blue, each 16 bits.").arg(property));
        return std::nullopt;
    }
    if (property == QLatin1String("strokeWidth")) {
        if (!isNumber(value) || !std::isfinite(value.toDouble()) || value.toDouble() < 0 || value.toDouble() > 1000)
            return invalid(QStringLiteral("strokeWidth takes a number of points from 0 to 1000."));
        return std::nullopt;
    }
    if (property == QLatin1String("drawingFill") || property == QLatin1String("drawingStroke")) {
        if (value.userType() != QMetaType::Bool)
            return invalid(QStringLiteral("%1 takes true or false.").arg(property));
        return std::nullopt;
    }
    if (property == QLatin1String("contents")) {
        if (!dynamic_cast<const TSLText*>(&item))
            return onlyText(property);
        if (value.userType() != QMetaType::QString)
            return invalid(QStringLiteral("contents takes a string."));
        if (value.toString().size() > maximumTextLength)
            return invalid(QStringLiteral("A text area holds at most %1 characters; this text has %2.")
                               .arg(maximumTextLength)
                               .arg(value.toString().size()));
        return std::nullopt;
    }
    return std::get<DocumentBusFailure>(scriptedProperty(const_cast<TSLGraphic&>(item), property));
}

std::optional<DocumentBusFailure> setScriptedProperty(
    TSLGraphic& item, const QString& property, const QVariant& given, const QRectF& card)
{
    if (std::optional<DocumentBusFailure> failure = checkScriptedProperty(item, property, given))
        return failure;
    const QVariant value = opened(given);
    QString refusal;
    if (property == QLatin1String("bounds")) {
        item.setValueForKey(property, *boundsFrom(value));
    } else if (property == QLatin1String("fillColor")) {
        refusal = item.setScriptingFillColor(colorFrom(value));
    } else if (property == QLatin1String("strokeColor")) {
        refusal = item.setScriptingStrokeColor(colorFrom(value));
    } else if (property == QLatin1String("textColor")) {
        item.setTextColor(*colorFrom(value));
    } else if (property == QLatin1String("strokeWidth")) {
        refusal = item.setScriptingStrokeWidth(value.toDouble());
    } else if (property == QLatin1String("drawingFill")) {
        // Switching on keeps the colour the item had; the scripting setters refuse for items that cannot.
        refusal = item.setScriptingFillColor(value.toBool() ? std::optional<QColor>(item._fillColor) : std::nullopt);
    } else if (property == QLatin1String("drawingStroke")) {
        refusal
            = item.setScriptingStrokeColor(value.toBool() ? std::optional<QColor>(item._strokeColor) : std::nullopt);
    } else if (property == QLatin1String("contents")) {
        auto& text = static_cast<TSLText&>(item);
        text.setScriptingContents(value.toString());
        // As typing does, the box grows so that nothing of the text is cut off.
        text.growToFitText(card);
    }
    if (!refusal.isEmpty())
        return DocumentBusFailure { DocumentBusErrors::refused, refusal };
    return std::nullopt;
}

QString scriptedPropertyUndoName(const TSLGraphic& item, const QString& property, const QVariant& given)
{
    QString key;
    if (property == QLatin1String("bounds")) {
        const std::optional<QRectF> bounds = boundsFrom(opened(given));
        key = bounds && bounds->size() == item.bounds().size() ? QStringLiteral("Move") : QStringLiteral("Resize");
    } else if (property == QLatin1String("contents")) {
        key = QStringLiteral("Text");
    } else if (property == QLatin1String("fillColor")) {
        key = QStringLiteral("Fill Color");
    } else if (property == QLatin1String("strokeColor")) {
        key = QStringLiteral("Stroke Color");
    } else if (property == QLatin1String("textColor")) {
        key = QStringLiteral("Text Color");
    } else if (property == QLatin1String("strokeWidth")) {
        key = QStringLiteral("Stroke Width");
    } else if (property == QLatin1String("drawingFill")) {
        key = QStringLiteral("Fill");
    } else {
        key = QStringLiteral("Stroke");
    }
    return platform::localizedString(QStringLiteral("UndoStrings"), key);
}
