#pragma once

#include "canvas/TSLGrid.h"
#include "canvas/TSLTextEditingView.h"
#include "model/TSLDocument.h"
#include "model/TSLGraphic.h"

#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

class QMimeData;
class QPlainTextEdit;
class QTimer;
class TSLCenteringClipView;

// Indexes into an item list, ascending.
using TSLIndexSet = std::set<int>;

// The clipboard format of copied card items: a binary property list of item archives, under a MIME type
// name of our own. Paste still reads the name that earlier versions wrote.
extern const QString TSLGraphicViewPasteboardType; // "application/x-tessaline-card-items"
extern const QString TSLGraphicViewOldPasteboardType; // "Tessaline card items pasteboard type"
// The clipboard format holding our items, old name or new; empty when there is none.
QString pasteboardTypeOfOurItems(const QMimeData* data);

// Items copied from one design must not be pasted into the next: New and Open call this. Whatever the user
// copied in other programs stays on the clipboard. GUI thread only.
bool clipboardHoldsOurItems();
void clearClipboardIfItHoldsOurItems();

// The canvas commands that menus and buttons enable by the selection (see TSLGraphicView::validateMenuItem).
enum class TSLCanvasCommand {
    makeNaturalSize,
    alignWithGrid,
    deleteSelection,
    bringToFront,
    sendToBack,
    cut,
    copy,
    paste,
    alignLeftEdges,
    alignRightEdges,
    alignTopEdges,
    alignBottomEdges,
    alignHorizontalCenters,
    alignVerticalCenters,
    alignformCenter,
    makeSameWidth,
    makeSameHeight,
    undo,
    redo,
    showOrHideRulers,
    selectAll,
};

// The editing canvas of one card side: it shows one of the document's item lists (front, back or scratch),
// draws the card base, the grid, the items and the handles of the selected ones, and is where the user
// creates, selects, moves and resizes items. Coordinates are points, origin at the card's top-left, y down;
// the enclosing scroll view sets the zoom factor, which only scales what is painted and where the mouse is.
//
// Nothing here keeps an item alive or points at one after it left the list: the selection and the current
// item are weak references, and both forget an item as soon as the list no longer holds it.
class TSLGraphicView : public QWidget, private TSLGraphicObserver {
    Q_OBJECT
public:
    explicit TSLGraphicView(QWidget* parent = nullptr);
    ~TSLGraphicView() override;

    // --- The bound list ---
    // Shows the document's list under the key ("graphics", "graphics_back" or "graphics_temp").
    void bindGraphics(TSLDocument* document, const QString& graphicsKey);
    void unbindGraphics();
    TSLDocument* document() const { return document_; }
    QString graphicsKey() const { return graphicsKey_; }
    const TSLGraphicList& graphics() const; // empty while unbound
    // Every insertion and removal goes through the document, so the front list records undo.
    // Unbound: std::logic_error.
    void insertGraphics(const TSLGraphicList& items, const std::vector<int>& indexes);
    void removeGraphicsAtIndexes(const std::vector<int>& indexes);

    // --- Selection and the current item ---
    TSLIndexSet selectionIndexes() const;
    void changeSelectionIndexes(const TSLIndexSet& indexes); // out-of-range indexes are dropped
    TSLGraphicList selectedGraphics() const; // in list order
    // The item the inspector, the barcode window and the card-holder fill act on; none when it left the list.
    TSLGraphicPtr Selected_Graphic() const { return selectedGraphic_.lock(); }
    void setSelected_Graphic(const TSLGraphicPtr& graphic) { selectedGraphic_ = graphic; }

    // --- Grid, size, zoom and rulers ---
    void setGrid(TSLGrid* grid); // not owned; may be null
    TSLGrid* grid() const { return grid_; }
    // In points. Inside a centring clip view, the clip view places and sizes the widget; elsewhere the canvas
    // sizes itself to the canvas size times the zoom factor.
    void setCanvasSize(const QSizeF& size);
    QSizeF canvasSize() const { return canvasSize_; }
    QRectF bounds() const { return QRectF(QPointF(0, 0), canvasSize_); }
    // Device-independent pixels per point, 1.0 being actual size: the factor of the clip view the canvas sits
    // in, else the one set here.
    void setZoomFactor(double factor);
    double zoomFactor() const;
    // Whether the enclosing scroll view shows its rulers; moves and resizes are echoed to them only then.
    void setRulersVisible(bool visible);
    bool rulersVisible() const { return rulersVisible_; }

    // --- Drawing ---
    // Draws what lies in the dirty rectangle (points) with a painter already scaled to points: the card base,
    // the grid, the items from the back to the front, the handles of the selected items and the rubber band.
    void drawRect(QPainter& painter, const QRectF& dirtyRect);

    // --- Creation ---
    // Makes an item for the editor's current tool (or of graphicClass, for tools that name no kind of
    // their own) and inserts it at index 0 as one undo step. With a mouse-press event the item grows with
    // the drag that follows and is taken back without a trace if it ends 0 x 0; without one it is placed by
    // the rectangle or at the editor's next free position. ctrl_value is the text of a text item.
    void createGraphicOfClass(const QString& graphicClass, const QMouseEvent* event, bool use_rect,
        const QRectF& bound_rect, const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID);

    // --- Hit testing ---
    // The front-most item under the point: a handle of a selected item, else its contents. Out values are
    // filled only on a hit.
    TSLGraphicPtr graphicUnderPoint(
        const QPointF& point, int* index = nullptr, bool* isSelected = nullptr, int* handle = nullptr) const;
    TSLIndexSet indexesOfGraphicsIntersectingRect(const QRectF& rect) const;

    // --- Keyboard and selection commands ---
    void moveSelectedGraphicsByX(double dx, double dy); // unlocked selected items, no grid snapping
    void moveLeft() { moveSelectedGraphicsByX(-1, 0); }
    void moveRight() { moveSelectedGraphicsByX(1, 0); }
    void moveUp() { moveSelectedGraphicsByX(0, -1); }
    void moveDown() { moveSelectedGraphicsByX(0, 1); }
    void selectAll();
    // Moves every item lying (nearly) wholly off the card just back onto it, as one step named "Move";
    // each moved item with its bounds before.
    std::vector<std::pair<TSLGraphicPtr, QRectF>> bringItemsOntoCard();
    // What fitting the items to a changed card did: each changed item with its bounds and font before, and
    // whether the card was too small to keep every item clear of those it lay clear of.
    struct CardFit {
        struct Change {
            TSLGraphicPtr item;
            QRectF bounds;
            std::optional<QFont> font;
        };
        std::vector<Change> changed;
        bool crowded = false;
        std::vector<TSLGraphicPtr> tooNarrowFor; // texts with a word wider than the card in their smallest letters
    };
    // After the card changed from `cardBefore`: each item is laid out again from the place, size and letter
    // size the person last gave it, on the card size they gave them on (the document's card designs, which
    // this keeps up to date). Back on that size it lies as given, unless its words changed since; on another
    // it keeps its place relative to the card and to the others, made smaller only as the card requires and
    // kept apart where texts wrapped deeper, no word broken where its box can widen within the card. What an
    // item draws, not its box, is placed on the card. Then as bringItemsOntoCard. With `only`, just those
    // items are fitted, clear of the others where they lie. Unrecorded.
    CardFit fitItemsOnCard(const QSizeF& cardBefore, const TSLGraphicList& only = {});
    // The step being undone or redone is the card's: items it moves along are not selected by it.
    void keepSelectionThroughUndo()
    {
        if (undoSelectionIndexes_)
            undoSelectionIndexes_->clear();
    }
    // The part of a move (dx, dy) that keeps at least a little of every item on the card; an item already
    // off the card may still move towards it.
    QPointF moveKeepingOnCard(const TSLGraphicList& items, const QPointF& delta) const;
    void deselectAll() { changeSelectionIndexes({}); }
    void Clear_Control_Selection() { changeSelectionIndexes({}); }

    // Undo and redo of the document; afterwards the items they touched are the selection.
    void undo();
    void redo();

    // --- Commands on the selection (TSLGraphicView_Commands.cpp) ---
    // Each works on selectedGraphics(), so the first selected item is the front-most selected one. Delete,
    // cut, copy, bring to front and send to back refuse a selection holding a locked item with a message;
    // the alignments, the grid, same size and the print flag skip locked items silently.
    bool There_Is_Any_Lock_Contrl() const;
    void deleteSelection();
    void deleteBackward() { deleteSelection(); }
    void deleteForward() { deleteSelection(); }
    // The selected items move to the front (back) of the list keeping their order among themselves.
    void bringToFront();
    void sendToBack();
    // With two or more selected, the first selected item is the reference; with one, the canvas is.
    void alignLeftEdges();
    void alignRightEdges();
    void alignTopEdges();
    void alignBottomEdges();
    void alignHorizontalCenters();
    void alignVerticalCenters();
    void alignformCenter(); // every unlocked selected item to the canvas centre
    void alignWithGrid();
    void makeSameWidth();
    void makeSameHeight();
    void makeNaturalSize();
    void print_contol_or_not(int flag); // non-zero keeps the items out of rendered and printed output
    void showOrHideRulers();
    void Refresh_ScrollView();
    // Whether a menu item or button for the command is enabled; the rulers item also gets its title.
    bool validateMenuItem(TSLCanvasCommand command, QString* title = nullptr) const;

    // --- The clipboard (TSLGraphicView_Pasteboard.cpp) ---
    void cut();
    void copy();
    // Pastes our items (cascading when the same contents are pasted again), nothing for file names alone,
    // else a picture from picture data.
    void paste();
    // Makes a picture item from picture data on the clipboard, stored as a new PNG in the data folder's
    // "LibraryImage" folder so that it survives saving; true when an item was made.
    bool makeNewImageFromPasteboard(const QMimeData* pasteboard, const QPointF& point);
    // Counts the clipboard's changes by anyone since the program started watching it.
    static quint64 pasteboardChangeCount();
    int pasteCascadeNumber() const { return pasteCascadeNumber_; }

    // --- Items placed by the program under a control ID ---
    // The front-most text or picture item with exactly this ID.
    TSLGraphicPtr Selcect_Ctrl_With_ID(const QString& ctrl_ID) const;
    // Refills the text or picture of the item with the ID, or creates it when there is none; the item ends
    // as the current item.
    void ReplaceGraphicText(const QString& graphicClass, bool use_rect, const QRectF& bound_rect,
        const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID);
    void Hide_all_Text_control_FUP_Control(); // hides the card-holder profile items
    void delete_all_control();

    // A text the user writes (visible, unlocked, not filled from data) opens a box over it on the canvas with
    // the keyboard focus in it; other items have nothing to edit in place. Ending the edit writes what was
    // typed into the item as one undoable change and grows the box to show all of it.
    void startEditingGraphic(const TSLGraphicPtr& graphic);
    void stopEditing();
    TSLGraphicPtr editingGraphic() const { return editingGraphic_.lock(); }
    QPlainTextEdit* editingView() const;

    // --- State shown for tests and the rulers ---
    QRectF marqueeSelectionBounds() const { return marqueeSelectionBounds_; }
    QRectF rulerEchoedBounds() const { return rulerEchoedBounds_; }
    bool isHidingHandles() const { return isHidingHandles_; }
    bool isTracking() const { return drag_.kind != Drag::None; }

    static constexpr double moveThreshold = 2.0; // points in x or y before a press on an item moves it
    static constexpr int handleHidingTimeMs = 500; // handles stay hidden this long after a nudge

    // What undo steps call the items: "Text", "Picture" ... or "Items".
    static QString kindName(const TSLGraphicList& items);
    static QString kindName(const TSLGraphic& item); // "Text", "Picture" ... or "Item"

signals:
    void selectionChanged();
    // The rectangle marked on the rulers moved; a null rectangle (QRectF()) stands for no marks, so the
    // echo begins from one and ends in one.
    void rulerEchoChanged(const QRectF& from, const QRectF& to);
    // The rulers were toggled: the enclosing scroll view shows or hides them.
    void rulersVisibilityChanged(bool visible);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The canvas shows that it has the keyboard focus with a frame along its edge.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A drag in progress: Qt delivers it as separate events, so the loop of a press becomes this state.
    enum class Drag { None, Create, Resize, Move, Marquee, Ignore };
    struct DragState {
        Drag kind = Drag::None;
        QPointF press; // where the button went down (points)
        QPointF last; // last point applied
        QPointF offset; // moving: press point minus the selection's origin
        QRectF startBounds; // moving: union of the selection's bounds at the press
        bool moving = false; // moving: the threshold has been passed
        std::weak_ptr<TSLGraphic> item; // resizing
        int handle = 0;
        std::vector<std::weak_ptr<TSLGraphic>> marqueeBase; // rubber band: selection at the press
        bool echoing = false;
        bool undoGroupOpen = false;
        std::function<void()> then; // the rest of the mouse-down, once the button is up
    };
    // The creation in progress; the item is owned only while this is set.
    struct Creation {
        TSLGraphicPtr item;
        bool groupsByEvent = true;
    };

    // TSLGraphicObserver
    void graphicValueChanged(
        TSLGraphic& graphic, const QString& key, const QVariant& oldValue, const QVariant& newValue) override;

    void requireBoundList() const;
    void followList(const QString& key);
    void stopObservingAll();
    int indexOfGraphic(const TSLGraphic* graphic) const;
    void updatePointsRect(const QRectF& rect);
    void updateSelectionArea();
    QPointF pointForEvent(const QMouseEvent* event) const;
    TSLCenteringClipView* clipView() const;
    QPointF nextPoint(const QString& side) const;

    void fitTextOfID(const QString& ctrl_ID); // the text item with the ID grows to show all its text

    // Creation (TSLGraphicView_Creation.cpp)
    bool beginCreation(const QString& graphicClass, const std::optional<QPointF>& pressPoint, bool use_rect,
        const QRectF& bound_rect, const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID);
    void finishCreation();
    TSLGraphicPtr makeGraphicForTool(
        const QString& graphicClass, const QPointF& origin, const QString& ctrl_value, const QString& ctrl_ID) const;

    // Mouse (TSLGraphicView_Mouse.cpp)
    void mouseDown(QMouseEvent* event, int clickCount);
    void selectAndTrackMouseWithEvent(const QPointF& point, bool shift);
    void startDrag(Drag kind, const QPointF& press, bool openUndoGroup);
    void continueDrag(const QPointF& point);
    void endDrag(const QPointF& point);
    void trackMove(const QPointF& point);
    void trackResize(const QPointF& point);
    void trackMarquee(const QPointF& point);
    void autoscroll(const QPointF& point);
    void beginEchoingMoveToRulers(const QRectF& rect);
    void continueEchoingMoveToRulers(const QRectF& rect);
    void stopEchoingMoveToRulers();
    void showProperties(const TSLGraphicPtr& graphic);

    // Keys (TSLGraphicView_Keys.cpp)
    void hideHandlesMomentarily();
    void unhideHandlesForTimer();
    void runUndo(bool redo);
    // Names the open undo step, as the Edit menu shows it: a key of "UndoStrings", "%@" filled with `kind`.
    void nameUndo(const QString& key, const QString& kind = {});

    // Commands (TSLGraphicView_Commands.cpp)
    bool refuseLockedSelection() const;
    enum class Edge { Left, Right, Top, Bottom, HorizontalCenter, VerticalCenter };
    void alignSelection(Edge edge);
    void moveSelectionToIndexes(bool toFront);
    void makeSameSize(bool width);

    QPointer<TSLDocument> document_;
    QString graphicsKey_;
    std::vector<std::weak_ptr<TSLGraphic>> observed_; // the items of the list, as last seen
    std::vector<std::weak_ptr<TSLGraphic>> selection_;
    std::weak_ptr<TSLGraphic> selectedGraphic_;
    QPointer<TSLGrid> grid_;
    QSizeF canvasSize_ { 243, 154 };
    double zoom_ = 1.0;
    bool rulersVisible_ = false;
    QRectF rulerEchoedBounds_;
    QRectF marqueeSelectionBounds_;
    bool isHidingHandles_ = false;
    QTimer* handleShowingTimer_ = nullptr;
    // The last arrow-key move: the undo state it left and the items it moved. The next press on the same
    // items joins that step while it is still the latest one.
    struct ArrowMove {
        quint64 state = 0;
        std::vector<const TSLGraphic*> items;
    };
    std::optional<ArrowMove> lastArrowMove_;
    std::optional<Creation> creation_;
    std::weak_ptr<TSLGraphic> editingGraphic_;
    QPointer<TSLTextEditingView> editingView_;
    std::optional<TSLIndexSet> undoSelectionIndexes_; // only while an undo or redo runs
    bool emptyListShown_ = false;
    DragState drag_;
    quint64 pasteboardChangeCount_ = 0; // the clipboard's change count at our last copy or paste
    int pasteCascadeNumber_ = 0; // pastes of the clipboard's contents on this canvas: 1 after a copy here
};
