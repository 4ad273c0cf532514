#pragma once

#include "model/Card_Property.h"
#include "model/PictureSource.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>

class TSLGraphic;

// What the card model and the canvas need of the main window, as a small interface so that they never
// include the editor. The main window installs itself; tests install a fake. Without one installed,
// items take the program's built-in defaults and refresh requests go nowhere.
class CardEditorServices {
public:
    virtual ~CardEditorServices() = default;

    virtual QFont defaultTextFont() const = 0; // the current default text font of the editor
    virtual QColor defaultTextColor() const = 0; // the current default text colour of the editor
    virtual QPointF nextCascadePoint(const QString& side) = 0; // next placement point for a new item on a side
    virtual QRectF frontCanvasBounds() const = 0;
    virtual void refreshCanvas() = 0; // redraw the current side's canvas (ignored while rendering a record)

    // A copy of the record of a side (0 front, any other value back), so that the card base can be drawn
    // from it on any thread. Without an editor, a new card's record.
    virtual Card_Property cardSideProperty(int frontOrBack) const;
    // Puts the picture page's adjustment controls back to their neutral values (a new picture item).
    virtual void resetImageEditingControls() { }

    // --- What the canvases ask of the main window ---
    // The tool code of the palette (0 arrow ... 15 polygon) and the item class it creates on a mouse press
    // (empty for the arrow, the fingerprint and unknown codes).
    virtual int Selected_Control_Tool() const { return 0; }
    virtual QString currentGraphicClass() const { return {}; }
    // Shows an item's properties in the inspector; none shows the card.
    virtual void Show_RHS_Properties(const std::shared_ptr<TSLGraphic>&) { }
    virtual void Open_Barcode_Window() { } // acts on the current side canvas's current item
    virtual void Undo_Redo_Button_state() { }
    // Enables Paste only when the clipboard holds copied card items.
    virtual void Set_Paste_Button_Status() { }
    // The banner picture that banner views tile behind their own picture; none draws no tiles.
    virtual QImage bannerImage() const { return {}; }
    // Same width, same height and natural size need two or more selected items.
    virtual void setSameSizeButtonsEnabled(bool) { }
    // The pictures new items start with; by default read from the data folder.
    enum class SamplePicture { no_image, barcode_sample_img, sign_sample_img, fp_sample_img };
    virtual QImage samplePicture(SamplePicture which) const;
    // The check a picture brought in passes before it is placed; by default made at once, the main window
    // makes it away from its thread with a progress window.
    virtual PictureSource::Check checkPicture(const QString& path);
    // Gives a new barcode item the symbol of its own settings (picture and drawing); without an editor
    // the item keeps the sample.
    virtual void makeBarcodeSymbol(TSLGraphic&) const { }

    // --- Data sources, as the barcode dialog offers them ---
    virtual QStringList seriesNames() const { return {}; }
    virtual QString firstValueOfSeries(const QString&) const { return {}; }
    virtual QStringList spreadsheetColumnTitles() const { return {}; }
    virtual QString firstValueOfSpreadsheetColumn(int) const { return {}; }
    // The title of the spreadsheet column an item is bound to, when the bound sheet lacks it; the canvas
    // marks such an item. Empty for every other item.
    virtual QString missingColumnOf(const TSLGraphic&) const { return {}; }
    // Shows the values of the named series in the series viewer.
    virtual void showSeriesValues(const QString&) { }
};

// Marks the span in which a canvas paints on this thread. Refresh requests that items make while it is
// open are dropped: a redraw asked for from inside a paint would repaint without end.
class CanvasPaintScope {
public:
    CanvasPaintScope();
    ~CanvasPaintScope();
    CanvasPaintScope(const CanvasPaintScope&) = delete;
    CanvasPaintScope& operator=(const CanvasPaintScope&) = delete;

    static bool isPainting(); // on the calling thread
};

// The item class a tool code creates: empty for the arrow (0), the fingerprint (12) and unknown codes.
QString graphicClassForTool(int tool);

CardEditorServices* editorServices();
void setEditorServices(CardEditorServices* services); // the caller keeps ownership; nullptr uninstalls

// The font the program names by its PostScript name (the default text font), at a size.
QFont fontForPostScriptName(const QString& postScriptName, double pointSize);

// Built-in defaults used when no editor is installed.
QFont builtInTextFont();
QColor builtInTextColor();
