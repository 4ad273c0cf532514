#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

// What the card model and the canvas need of the main window, as a small interface so that they never
// include the editor. The main window installs itself; tests install a fake. Without one installed,
// items take the program's built-in defaults and refresh requests go nowhere.
class CardEditorServices {
public:
    virtual ~CardEditorServices() = default;

    virtual QFont defaultTextFont() const = 0;   // the current default text font of the editor
    virtual QColor defaultTextColor() const = 0; // the current default text colour of the editor
    virtual QPointF nextCascadePoint(const QString& side) = 0; // next placement point for a new item on a side
    virtual QRectF frontCanvasBounds() const = 0;
    virtual void refreshCanvas() = 0; // redraw the current side's canvas (ignored while rendering a record)
};

CardEditorServices* editorServices();
void setEditorServices(CardEditorServices* services); // the caller keeps ownership; nullptr uninstalls

// The font the program names by its PostScript name (the default text font), at a size.
QFont fontForPostScriptName(const QString& postScriptName, double pointSize);

// Built-in defaults used when no editor is installed.
QFont builtInTextFont();
QColor builtInTextColor();
