// Observable values of an item: the keys through which undo and redrawing follow its changes.
#include "model/TSLGraphic.h"

#include <algorithm>

void TSLGraphic::addObserver(TSLGraphicObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TSLGraphic::removeObserver(TSLGraphicObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TSLGraphic::didChangeValueForKey(const QString& key, const QVariant& oldValue, const QVariant& newValue)
{
    if (oldValue == newValue)
        return;
    // Copy: an observer may remove itself (or another) while being told.
    const std::vector<TSLGraphicObserver*> observers = observers_;
    for (TSLGraphicObserver* observer : observers) {
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
            observer->graphicValueChanged(*this, key, oldValue, newValue);
    }
}

void TSLGraphic::didChangeUndoKeys(const QSet<QString>& oldKeys, const QSet<QString>& newKeys)
{
    if (oldKeys == newKeys)
        return;
    const std::vector<TSLGraphicObserver*> observers = observers_;
    for (TSLGraphicObserver* observer : observers)
        observer->graphicUndoKeysChanged(*this, oldKeys, newKeys);
}

void TSLGraphic::setBounds(const QRectF& bounds)
{
    const QRectF old = _bounds;
    _bounds = bounds;
    didChangeValueForKey(QStringLiteral("bounds"), old, bounds);
}

void TSLGraphic::setDrawingFill(bool on)
{
    const bool old = _isDrawingFill;
    _isDrawingFill = on;
    didChangeValueForKey(QStringLiteral("drawingFill"), old, on);
}

void TSLGraphic::setFillColor(const QColor& color)
{
    const QColor old = _fillColor;
    _fillColor = color;
    didChangeValueForKey(QStringLiteral("fillColor"), old, color);
}

void TSLGraphic::setDrawingStroke(bool on)
{
    const bool old = _isDrawingStroke;
    _isDrawingStroke = on;
    didChangeValueForKey(QStringLiteral("drawingStroke"), old, on);
}

void TSLGraphic::setStrokeColor(const QColor& color)
{
    const QColor old = _strokeColor;
    _strokeColor = color;
    didChangeValueForKey(QStringLiteral("strokeColor"), old, color);
}

void TSLGraphic::setStrokeWidth(double width)
{
    const double old = _strokeWidth;
    _strokeWidth = width;
    didChangeValueForKey(QStringLiteral("strokeWidth"), old, width);
}

void TSLGraphic::setTextColor(const QColor& color)
{
    const QColor old = txt_clr;
    txt_clr = color;
    didChangeValueForKey(QStringLiteral("textColor"), old, color);
}

namespace {

QVariant fontValue(const std::optional<QFont>& font)
{
    return font ? QVariant(*font) : QVariant();
}

} // namespace

void TSLGraphic::setTextFont(const std::optional<QFont>& font)
{
    const QVariant old = fontValue(text_ctrl_font);
    text_ctrl_font = font;
    didChangeValueForKey(QStringLiteral("textFont"), old, fontValue(font));
}

QVariant TSLGraphic::valueForKey(const QString& key) const
{
    if (key == QLatin1String("bounds"))
        return _bounds;
    if (key == QLatin1String("drawingFill"))
        return _isDrawingFill;
    if (key == QLatin1String("fillColor"))
        return _fillColor;
    if (key == QLatin1String("drawingStroke"))
        return _isDrawingStroke;
    if (key == QLatin1String("strokeColor"))
        return _strokeColor;
    if (key == QLatin1String("strokeWidth"))
        return _strokeWidth;
    if (key == QLatin1String("textColor"))
        return txt_clr;
    if (key == QLatin1String("textFont"))
        return fontValue(text_ctrl_font);
    return recordValueForKey(key).value_or(QVariant());
}

void TSLGraphic::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == QLatin1String("bounds"))
        setBounds(value.toRectF());
    else if (key == QLatin1String("drawingFill"))
        setDrawingFill(value.toBool());
    else if (key == QLatin1String("fillColor"))
        setFillColor(value.value<QColor>());
    else if (key == QLatin1String("drawingStroke"))
        setDrawingStroke(value.toBool());
    else if (key == QLatin1String("strokeColor"))
        setStrokeColor(value.value<QColor>());
    else if (key == QLatin1String("strokeWidth"))
        setStrokeWidth(value.toDouble());
    else if (key == QLatin1String("textColor"))
        setTextColor(value.value<QColor>());
    else if (key == QLatin1String("textFont"))
        setTextFont(value.isValid() ? std::optional<QFont>(value.value<QFont>()) : std::nullopt);
    else
        setRecordValueForKey(key, value);
}

void TSLGraphic::setValuesForKeysWithDictionary(const QVariantMap& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        setValueForKey(it.key(), it.value());
}
