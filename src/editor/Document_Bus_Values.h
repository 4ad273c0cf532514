#pragma once

#include <QRectF>
#include <QString>
#include <QVariant>

#include <optional>
#include <variant>

class TSLGraphic;

// Why a scripted call changed nothing: a D-Bus error name and the text the script reads.
struct DocumentBusFailure {
    QString name;
    QString message;
};

namespace DocumentBusErrors {
extern const QString noSuchObject; // "org.tessaline.Card.Error.NoSuchObject"
extern const QString range; // "org.tessaline.Card.Error.Range"
extern const QString refused; // "org.tessaline.Card.Error.Refused": the item cannot take the value
extern const QString busy; // "org.tessaline.Card.Error.Busy": a modal window is open
extern const QString invalidArgs; // "org.freedesktop.DBus.Error.InvalidArgs"
} // namespace DocumentBusErrors

// The item properties scripts read and write, as D-Bus values:
//   "bounds" (dddd) x, y, width, height in points; "fillColor", "strokeColor" (qqq) 16-bit red, green, blue;
//   "strokeWidth" d; "drawingFill", "drawingStroke" b; and, for text areas only, "contents" s (at most 250
//   characters) and "textColor" (qqq).
// A colour is read only while the item fills or strokes; setting one switches the fill or stroke on.
std::variant<QVariant, DocumentBusFailure> scriptedProperty(TSLGraphic& item, const QString& property);
// Changes the item only when the value is right for the property and the item; else says why.
// A scripted text grows as a typed one does, within the card (its rectangle in canvas points).
std::optional<DocumentBusFailure> setScriptedProperty(
    TSLGraphic& item, const QString& property, const QVariant& value, const QRectF& card);
// The check alone, so that a "make" with a bad property creates nothing.
std::optional<DocumentBusFailure> checkScriptedProperty(
    const TSLGraphic& item, const QString& property, const QVariant& value);
// The undo step's name for a scripted change of the property, from the strings table.
QString scriptedPropertyUndoName(const TSLGraphic& item, const QString& property, const QVariant& value);
