#pragma once

#include "model/TSLBarcode_Drawing.h"
#include "model/TSLTextStorage.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <optional>
#include <vector>

class QPainter;
class TSLGraphic;
struct TSLError;
namespace platform { class KeyedArchive; }

using TSLGraphicPtr = std::shared_ptr<TSLGraphic>;
using TSLGraphicList = std::vector<TSLGraphicPtr>;

// Who answers object-specifier requests for an item (the document); held without ownership.
class TSLScriptingContainer {
public:
    virtual ~TSLScriptingContainer() = default;
    virtual QString objectSpecifierForGraphic(const TSLGraphic& graphic) const = 0;
};

// Told of changes to an item's observable values (the keys of keysForValuesToObserveForUndo and the
// drawing keys). The document records undo from these; canvases redraw. Observers are not owned and
// must remove themselves before they go.
class TSLGraphicObserver {
public:
    virtual ~TSLGraphicObserver() = default;
    virtual void graphicValueChanged(TSLGraphic& graphic, const QString& key, const QVariant& oldValue,
                                     const QVariant& newValue)
        = 0;
    // The item's set of undo keys changed (a text item while a script edits it).
    virtual void graphicUndoKeysChanged(TSLGraphic&, const QSet<QString>& /*oldKeys*/, const QSet<QString>& /*newKeys*/) { }
};

// Where an item is drawn: the painter, and whether the surface is the live canvas.
struct TSLDrawingContext {
    QPainter* painter = nullptr;
    bool isCanvas = false;       // false when rendering off screen
    double deviceScale = 1.0;    // device pixels per point, for pixel alignment
    QRectF card {};              // the card on the canvas; empty where no card edge applies
    // Pixels per point of the card at which an output reads pictures again from their files; 0 draws the
    // working pictures, as the screen does.
    double outputPixelsPerPoint = 0.0;
};

// One card item. Every kind of item carries the same wide record; a subclass adds only drawing,
// hit testing and a few fields of its own. Fields are public and keep their record names, because
// the inspector, the design file, the batch filler and the barcode dialog read and write them directly.
class TSLGraphic {
public:
    struct Bare { }; // construction without defaults, as an archive is read

    TSLGraphic();                  // every field at its default
    explicit TSLGraphic(Bare) { }  // every field zero, no object
    virtual ~TSLGraphic();

    virtual QString className() const { return QStringLiteral("TSLGraphic"); }

    // A new item of the named class with defaults, or without (bare); nothing for an unknown class.
    static TSLGraphicPtr newGraphicOfClass(const QString& className);
    static TSLGraphicPtr newBareGraphicOfClass(const QString& className);

    // --- Observable values ---
    // Values by key: "bounds", "drawingFill", "fillColor", "drawingStroke", "strokeColor", "strokeWidth"
    // and the keys that subclasses add. setValueForKey goes through the setters, so observers are told.
    virtual QVariant valueForKey(const QString& key) const;
    virtual void setValueForKey(const QString& key, const QVariant& value);
    void setValuesForKeysWithDictionary(const QVariantMap& values);
    void setDrawingFill(bool on);
    void setFillColor(const QColor& color);
    void setDrawingStroke(bool on);
    void setStrokeColor(const QColor& color);
    void setStrokeWidth(double width);
    // The text's colour and font, observed under "textColor" and "textFont" (a text item undoes them).
    void setTextColor(const QColor& color);
    void setTextFont(const std::optional<QFont>& font);
    // The record fields the inspector pages edit (border style, fill kind, gradient, pattern, opacities,
    // picture adjustments and effects, flips, file path, line ends, corner radius, star and polygon kinds,
    // text alignment, case and kerning, print flag, data source and the barcode settings), by their archive
    // keys ("flippedHorizontally" and "flippedVertically" for the flips). valueForKey and setValueForKey
    // reach them like the keys above, so observers are told and the document records undo.
    static const QSet<QString>& recordKeysForUndo();
    static QString recordKeyPresentableName(const QString& key); // null for a key outside the set
    QVariantMap valuesForKeys(const QStringList& keys) const;
    // Tells the observers that the keyed values changed from the given ones to the present ones, after a
    // dialog that edits the fields directly (the barcode settings) was confirmed.
    void didChangeValuesFrom(const QVariantMap& oldValues);
    void addObserver(TSLGraphicObserver* observer);
    void removeObserver(TSLGraphicObserver* observer);

    // --- Copying and archiving ---
    virtual TSLGraphicPtr copyWithZone() const;
    // Every field of the item, its exact class kept, with a text storage of its own, no observers and no
    // container: batch output fills and draws such copies on any thread and the canvas never hears of them.
    TSLGraphicPtr detachedCopy() const;
    // Every field of `state` (an item of the same class, as detachedCopy made it) becomes this item's again;
    // its observers and container stay. A step that changed fields no setter reports undoes with it.
    void takeStateOf(const TSLGraphic& state);
    void encodeWithCoder(platform::KeyedArchive& archive) const;
    static TSLGraphicPtr initWithCoder(const platform::KeyedArchive& archive); // nothing for an unknown class
    static QStringList archiveKeys(); // the 93 keys in archive order

    static QByteArray pasteboardDataWithGraphics(const TSLGraphicList& graphics);
    static std::optional<TSLGraphicList> graphicsWithPasteboardData(const QByteArray& data, TSLError* error);
    static std::vector<platform::KeyedArchive> propertiesWithGraphics(const TSLGraphicList& graphics);
    static TSLGraphicList graphicsWithProperties(const std::vector<platform::KeyedArchive>& properties);

    // What an item shows that no file stores as such, made again from the fields that are stored: a
    // picture item's pixels from its file, a barcode's drawing from its settings and value (a text lays
    // itself out when first drawn, and a copy's layout starts empty). Every road that makes items from
    // stored or copied values goes through restoreDerivedStateOfGraphics: opening a design, pasting, the
    // scratch copy behind the scratch side and the card-holder preview, and the batch snapshot.
    virtual void restoreDerivedState() { }
    static void restoreDerivedStateOfGraphics(const TSLGraphicList& graphics);

    // --- Colour getters: the opacity fraction replaces the alpha and is stored back ---
    QColor fillColor();
    QColor strokeColor();
    QColor fill_hatch_bk_clr();
    QColor fill_Grad_clr1();
    QColor fill_Grad_clr2();
    // The same colours for drawing, which must leave the record as it is: nothing is stored back.
    QColor drawnFillColor() const;
    QColor drawnStrokeColor() const;
    QColor drawnHatchBackgroundColor() const;
    QColor drawnGradientColor1() const;
    QColor drawnGradientColor2() const;

    // Whether every size a barcode is drawn at (bar width and height, QR side, PDF417 width and height,
    // DataMatrix module) is a finite number above 0: a size of 0 makes a barcode without a symbol.
    bool barcodeSizesArePositive() const;

    // --- Plain accessors used by other parts of the program ---
    QRectF bounds() const { return _bounds; }
    // Subclasses that replace it call this base version to store the rectangle, so observers are told.
    virtual void setBounds(const QRectF& bounds);
    double strokeWidth() const { return _strokeWidth; }
    QString strokeBorderType() const { return _stroke_border_type; }
    QString fill_type() const { return _fill_type; }
    QString fill_hatch_type() const { return _fill_hatch_type; }
    double fill_grad_angle() const { return _fill_grad_angle; }
    QString Get_shape_type() const { return _shape_type; }
    void Set_Shape_Type(const QString& type) { _shape_type = type; }
    void Set_Barcode_image(const QImage& image) { _barcode_image = image; }
    // The drawing belongs to the picture the item holds now: a picture put in later takes its place.
    void Set_Barcode_drawing(std::shared_ptr<const TSLBarcode_Drawing> drawing)
    {
        _barcode_drawing = std::move(drawing);
        _barcode_drawing_of = _barcode_image.cacheKey();
    }
    const TSLBarcode_Drawing* Barcode_drawing() const
    {
        return _barcode_drawing && _barcode_drawing_of == _barcode_image.cacheKey() ? _barcode_drawing.get() : nullptr;
    }
    void Set_Ctrl_Is_Visible(bool visible) { ctrl_is_visible = visible; }
    void Set_Excel_binding(bool binding) { excel_binding = binding; }
    void Set_Excel_binding_Index(int index) { excel_col_indx = index; }
    void Set_Batch_List_Name(const QString& name) { batch_list_name = name; }
    void Set_Batch_List_Index(int index) { batch_list_index = index; }
    void Set_Data_source_type(int type) { data_source_type = type; }
    std::optional<QFont> Text_Font_value() const { return text_ctrl_font; }
    QColor Text_Color_Value() const { return txt_clr; }
    int Get_Line_Cap_Style() const { return _line_cap_style; }
    QString Sign_Or_FP_Val() const { return sign_or_fingureprint; }
    void Set_Sign_Or_FP(const QString& kind) { sign_or_fingureprint = kind; }
    void Set_Control_File_path(const QString& path) { _file_path = path; }
    TSLTextStorage& Text_contents(); // made from Text_Value on first use

    // --- Geometry ---
    virtual QRectF drawingBounds() const;
    double xPosition() const { return _bounds.x(); }
    double yPosition() const { return _bounds.y(); }
    double width() const { return _bounds.width(); }
    double height() const { return _bounds.height(); }
    void setXPosition(double x);
    void setYPosition(double y);
    void setWidth(double width);
    void setHeight(double height);
    virtual bool canMakeNaturalSize() const;
    virtual void makeNaturalSize();

    // --- Handles and hit testing ---
    virtual void drawHandlesInView(const TSLDrawingContext& context, bool lock_hai) const;
    void drawHandleInView(const TSLDrawingContext& context, const QPointF& point, bool lock_hai) const;
    virtual int handleUnderPoint(const QPointF& point) const;
    static bool isHandleAtPoint(const QPointF& handlePoint, const QPointF& point);
    virtual bool isContentsUnderPoint(const QPointF& point) const;
    virtual int resizeByMovingHandle(int handle, const QPointF& point);
    static int creationSizingHandle() { return 8; }
    virtual int creationSizingHandleOfInstance() const { return creationSizingHandle(); }
    QPointF handlePoint(int handle) const;

    // --- Mirroring ---
    virtual void flipHorizontally() { }
    virtual void flipVertically() { }
    virtual void setFlippedHorizontally(bool flipped) { _isFlippedHorizontally = flipped; }
    virtual void setFlippedVertically(bool flipped) { _isFlippedVertically = flipped; }

    // --- Fill and stroke ---
    virtual bool isDrawingFill() const { return _isDrawingFill; }
    virtual bool isDrawingStroke() const { return _isDrawingStroke; }
    virtual bool canSetDrawingFill() const { return true; }
    virtual bool canSetDrawingStroke() const { return true; }

    // --- Drawing ---
    virtual void drawContentsInView(const TSLDrawingContext& context, bool isBeingCreateOrEdited);
    virtual QPainterPath bezierPathForDrawing() const; // throws std::logic_error unless a subclass draws a path
    virtual void finalizeEditingView() { }

    // --- Change observation ---
    static QSet<QString> keyPathsForValuesAffectingDrawingBounds();
    static QSet<QString> keyPathsForValuesAffectingDrawingContents();
    virtual QSet<QString> keysForValuesToObserveForUndo() const;
    virtual QString presentablePropertyNameForKey(const QString& key) const;

    // --- Group operations ---
    static QRectF boundsOfGraphics(const TSLGraphicList& graphics);
    static QRectF drawingBoundsOfGraphics(const TSLGraphicList& graphics);
    static void translateGraphics(const TSLGraphicList& graphics, double dx, double dy);
    static void Paste_Location_Of_Graphics(const TSLGraphicList& graphics, double x, double y, const QString& card_side);

    // --- Scripting ---
    void setScriptingContainer(const TSLScriptingContainer* container) { _scriptingContainer = container; }
    const TSLScriptingContainer* scriptingContainer() const { return _scriptingContainer; }
    QString objectSpecifier() const; // throws std::logic_error without a container
    std::optional<QColor> scriptingFillColor();
    std::optional<QColor> scriptingStrokeColor();
    std::optional<double> scriptingStrokeWidth() const;
    // Each answers an empty string on success, else the refusal text (error number -10000).
    QString setScriptingFillColor(const std::optional<QColor>& color);
    QString setScriptingStrokeColor(const std::optional<QColor>& color);
    QString setScriptingStrokeWidth(const std::optional<double>& width);

    // Debug form: "bounds", "drawingFill", "drawingStroke", "fillColor", "strokeColor", "strokeWidth".
    virtual QVariantMap properties() const;
    QString description() const;

    static constexpr double TSLGraphicHandleWidth = 6.0;
    static constexpr double TSLGraphicHandleHalfWidth = 3.0;
    static constexpr int TSLGraphicNoHandle = 0;

    // ---- The record, in archive order ----
    QRectF _bounds;
    bool ctrl_is_locked = false;
    bool _isDrawingFill = false;
    QColor _fillColor;
    bool _isDrawingStroke = false;
    QColor _strokeColor;
    double _strokeWidth = 0.0;
    QString _stroke_border_type;
    QString _fill_type;
    QColor _fill_Grad_clr1;
    QColor _fill_Grad_clr2;
    double _fill_grad_angle = 0.0;
    QColor _fill_htch_clr;
    QString _fill_hatch_type;
    bool _isFlippedHorizontally = false;
    bool _isFlippedVertically = false;
    bool invert_clr = false;
    bool gray_Scale = false;
    bool Sepia = false;
    float img_trnsp_val = 0.0f;
    float hue_val = 0.0f;
    float sat_val = 0.0f;
    float brt_val = 0.0f;
    float con_val = 0.0f;
    float srp_val = 0.0f;
    float ev_val = 0.0f;
    float blr_val = 0.0f;
    int data_source_type = 0;
    float rotate_image = 0.0f;
    QString _file_path;
    QString sign_or_fingureprint;
    QString batch_list_name;
    int batch_list_index = 0;
    int _line_ori = 0;
    int _line_cap_style = 0;
    float alpha_val = 0.0f;
    float alpha_val_stroke = 0.0f;
    std::optional<QFont> text_ctrl_font;
    QColor txt_clr;
    std::shared_ptr<TSLTextStorage> _Text_contents;
    QString _shape_type;
    float cor_rad_val_val = 0.0f;
    QImage _barcode_image;
    std::shared_ptr<const TSLBarcode_Drawing> _barcode_drawing; // not stored in files
    qint64 _barcode_drawing_of = 0; // the cache key of the picture the drawing was made with
    int linear_or_2d = 0;
    int barcode_font_index = 0;
    QString linear_font_val;
    QString two_d_font_val;
    QString header_val;
    QString footer_val;
    int show_hide_hdr = 0;
    int show_hide_ftr = 0;
    int show_hide_val = 0;
    int show_val_on_top = 0;
    int align_hdr_index = 0;
    int align_ftr_index = 0;
    float linear_height_val = 0.0f;
    float linear_width_val = 0.0f;
    int qr_size_val = 0;
    int qr_version_index = 0;
    int qr_ec_index = 0;
    int pdf_hgt_val = 0;
    int pdf_wdt_val = 0;
    int pdf_ec_val = 0;
    int dm_module_val = 0;
    int dm_format_index = 0;
    int dm_encoding_index = 0;
    float hdr_margin_val = 0.0f;
    float ftr_margin_val = 0.0f;
    float val_margin_val = 0.0f;
    float TB_marging_val = 0.0f;
    float LR_margin_val = 0.0f;
    std::optional<QFont> value_font_val;
    std::optional<QFont> header_font_val;
    std::optional<QFont> footer_font_val;
    QColor barcode_hdr_clr_val;
    QColor barcode_ftr_clr_val;
    QColor barcode_val_clr_val;
    QColor barcode_back_clr_val;
    QColor barcode_clr_val;
    int dpi_val_index = 0;
    QString dpi_custom_val;
    int barcode_unit_val = 0;
    int text_alignmnet = 0;
    int text_transfrom_case = 0;
    float text_kerning = 0.0f;
    int print_object = 0;
    QString control_ID;
    bool excel_binding = false;
    int excel_col_indx = 0;
    QString Text_Value;
    bool ctrl_is_visible = false;
    int double_star_type = 0;
    int polygon_type = 0;

protected:
    // Tells the observers that a value changed; nothing when old and new are equal.
    void didChangeValueForKey(const QString& key, const QVariant& oldValue, const QVariant& newValue);
    void didChangeUndoKeys(const QSet<QString>& oldKeys, const QSet<QString>& newKeys);

    // Copies the fields that a copy of any item keeps (geometry, fill and stroke).
    void copyBaseFieldsTo(TSLGraphic& copy) const;
    // The refresh request every visible item makes after drawing.
    static void requestCanvasRefresh();
    // Keys a class archives after the record's 93 (none in the base); absent keys must read as zero.
    virtual void encodeSubclassFieldsWithCoder(platform::KeyedArchive&) const { }
    virtual void decodeSubclassFieldsWithCoder(const platform::KeyedArchive&) { }

private:
    void init();
    // The record fields by key (TSLGraphic_Record_Keys.cpp): nothing, or false, for another key.
    std::optional<QVariant> recordValueForKey(const QString& key) const;
    bool setRecordValueForKey(const QString& key, const QVariant& value);
    const TSLScriptingContainer* _scriptingContainer = nullptr;
    std::vector<TSLGraphicObserver*> observers_;
};

// The dash pattern of a border code in points (dash, gap, ...); empty for solid.
std::vector<double> dashPatternForBorderType(const QString& code);
