#include "model/TSLGraphic.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/Shape_Control.h"
#include "model/TSLBarcode.h"
#include "model/TSLError.h"
#include "model/TSLDrawnColor.h"
#include "model/TSLGraphicFields.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLSignature.h"
#include "model/TSLText.h"
#include "platform/Geometry.h"
#include "platform/GuiThread.h"
#include "platform/KeyedArchive.h"
#include "platform/StringsTable.h"

#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Far beyond the items anyone copies at once; larger clipboard contents are refused before they are read.
constexpr qsizetype maximumPasteboardBytes = qsizetype(128) * 1024 * 1024;

QFont barcodeTextFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(10.0);
    return font;
}


template <typename T>
TSLGraphicPtr makeGraphic(bool bare)
{
    return bare ? std::make_shared<T>(TSLGraphic::Bare {}) : std::make_shared<T>();
}

TSLGraphicPtr makeOfClass(const QString& className, bool bare)
{
    if (className == QLatin1String("TSLGraphic"))
        return makeGraphic<TSLGraphic>(bare);
    if (className == QLatin1String("Shape_Control"))
        return makeGraphic<Shape_Control>(bare);
    if (className == QLatin1String("TSLLine"))
        return makeGraphic<TSLLine>(bare);
    if (className == QLatin1String("TSLText"))
        return makeGraphic<TSLText>(bare);
    if (className == QLatin1String("TSLImage"))
        return makeGraphic<TSLImage>(bare);
    if (className == QLatin1String("TSLBarcode"))
        return makeGraphic<TSLBarcode>(bare);
    if (className == QLatin1String("TSLSignature"))
        return makeGraphic<TSLSignature>(bare);
    return nullptr;
}

platform::PlistValue textStorageValue(const TSLTextStorage& storage)
{
    platform::PlistDict dict;
    dict.insert(QStringLiteral("$type"), QStringLiteral("text"));
    dict.insert(QStringLiteral("string"), storage.string);
    dict.insert(QStringLiteral("font"), platform::KeyedArchive::fontValue(storage.font));
    dict.insert(QStringLiteral("color"), platform::KeyedArchive::colorValue(storage.foregroundColor));
    return dict;
}

std::shared_ptr<TSLTextStorage> textStorageFromValue(const platform::PlistValue& value)
{
    if (!value.isDict())
        return nullptr;
    const platform::PlistDict& dict = value.toDict();
    const platform::PlistValue* type = dict.find(QStringLiteral("$type"));
    if (!type || type->toString() != QLatin1String("text"))
        return nullptr;
    auto storage = std::make_shared<TSLTextStorage>();
    if (const platform::PlistValue* string = dict.find(QStringLiteral("string")))
        storage->string = string->toString();
    if (const platform::PlistValue* font = dict.find(QStringLiteral("font")))
        storage->font = platform::KeyedArchive::fontFromValue(*font).value_or(QFont());
    if (const platform::PlistValue* color = dict.find(QStringLiteral("color")))
        storage->foregroundColor = platform::KeyedArchive::colorFromValue(*color);
    return storage;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Construction

TSLGraphic::TSLGraphic() { init(); }

TSLGraphic::~TSLGraphic() = default;

void TSLGraphic::init()
{
    const CardEditorServices* services = editorServices();
    _bounds = QRectF();
    ctrl_is_locked = false;
    _isDrawingFill = true;
    _fillColor = QColor(Qt::white);
    _isDrawingStroke = true;
    _strokeColor = QColor(Qt::black);
    _strokeWidth = 1.0;
    _stroke_border_type = QStringLiteral("S");
    _fill_type = QStringLiteral("S");
    _fill_Grad_clr1 = QColor(Qt::white);
    _fill_Grad_clr2 = QColor(Qt::white);
    _fill_grad_angle = 0.0;
    _fill_htch_clr = QColor(Qt::white);
    _fill_hatch_type = QStringLiteral("");
    img_trnsp_val = 100.0f;
    sat_val = 1.0f;
    con_val = 1.0f;
    _file_path = Resource_Path + QStringLiteral("/no.png");
    sign_or_fingureprint = QStringLiteral("S");
    batch_list_name = QStringLiteral("");
    alpha_val = 1.0f;
    alpha_val_stroke = 1.0f;
    text_ctrl_font = services ? services->defaultTextFont() : builtInTextFont();
    txt_clr = services ? services->defaultTextColor() : builtInTextColor();
    _shape_type = QStringLiteral("R");
    cor_rad_val_val = 10.0f;
    linear_font_val = QStringLiteral("0123");
    two_d_font_val = QStringLiteral("0123");
    header_val = QStringLiteral("HEADER");
    footer_val = QStringLiteral("FOOTER");
    align_hdr_index = 1;
    align_ftr_index = 1;
    linear_height_val = 0.6f;
    linear_width_val = 20.0f;
    qr_size_val = 60;
    pdf_hgt_val = 20;
    pdf_wdt_val = 100;
    pdf_ec_val = 2;
    dm_module_val = 2;
    hdr_margin_val = ftr_margin_val = val_margin_val = TB_marging_val = LR_margin_val = 0.1f;
    value_font_val = header_font_val = footer_font_val = barcodeTextFont();
    barcode_hdr_clr_val = barcode_ftr_clr_val = barcode_val_clr_val = QColor(Qt::black);
    barcode_back_clr_val = QColor(Qt::white);
    barcode_clr_val = QColor(Qt::black);
    dpi_custom_val = QStringLiteral("0");
    barcode_unit_val = 1;
    control_ID = QStringLiteral("");
    Text_Value = QStringLiteral("Text here");
    ctrl_is_visible = true;
    double_star_type = 1;
    polygon_type = 1;
}

TSLGraphicPtr TSLGraphic::newGraphicOfClass(const QString& className) { return makeOfClass(className, false); }

TSLGraphicPtr TSLGraphic::newBareGraphicOfClass(const QString& className) { return makeOfClass(className, true); }

// ---------------------------------------------------------------------------------------------------------
// Copying and archiving

TSLGraphicPtr TSLGraphic::copyWithZone() const
{
    TSLGraphicPtr copy = newGraphicOfClass(className());
    copyBaseFieldsTo(*copy);
    return copy;
}

void TSLGraphic::copyBaseFieldsTo(TSLGraphic& copy) const
{
    copy._bounds = _bounds;
    copy._isDrawingFill = _isDrawingFill;
    copy._fillColor = _fillColor;
    copy._isDrawingStroke = _isDrawingStroke;
    copy._strokeColor = _strokeColor;
    copy._strokeWidth = _strokeWidth;
    copy._stroke_border_type = _stroke_border_type;
    copy._fill_type = _fill_type;
    copy._fill_Grad_clr1 = _fill_Grad_clr1;
    copy._fill_Grad_clr2 = _fill_Grad_clr2;
    copy._fill_grad_angle = _fill_grad_angle;
    copy._fill_htch_clr = _fill_htch_clr;
    copy._fill_hatch_type = _fill_hatch_type;
}

void TSLGraphic::encodeWithCoder(platform::KeyedArchive& archive) const
{
    archive.setClassName(className());
    const auto& names = tslgraphic_fields::archivedFieldNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        const auto& field = tslgraphic_fields::archivedFields()[i].field;
        std::visit(
            [&](auto member) {
                const auto& value = this->*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, QRectF>)
                    archive.encodeRect(name, value);
                else if constexpr (std::is_same_v<T, bool>)
                    archive.encodeBool(name, value);
                else if constexpr (std::is_same_v<T, QColor>)
                    archive.encodeColor(name, value);
                else if constexpr (std::is_same_v<T, double>)
                    archive.encodeFloat(name, static_cast<float>(value)); // stored narrowed, as the format always has
                else if constexpr (std::is_same_v<T, QString>)
                    archive.encodeString(name, value);
                else if constexpr (std::is_same_v<T, float>)
                    archive.encodeFloat(name, value);
                else if constexpr (std::is_same_v<T, int>)
                    archive.encodeInt32(name, value);
                else if constexpr (std::is_same_v<T, std::optional<QFont>>)
                    archive.encodeFont(name, value);
                else if constexpr (std::is_same_v<T, std::shared_ptr<TSLTextStorage>>)
                    value ? archive.encodeValue(name, textStorageValue(*value)) : archive.encodeNull(name);
                else if constexpr (std::is_same_v<T, QImage>)
                    archive.encodeImage(name, value, value.isNull() ? QSizeF() : value.deviceIndependentSize());
            },
            field);
    }
    encodeSubclassFieldsWithCoder(archive);
}

TSLGraphicPtr TSLGraphic::initWithCoder(const platform::KeyedArchive& archive)
{
    TSLGraphicPtr graphic = newBareGraphicOfClass(archive.className());
    if (!graphic)
        return nullptr;
    const auto& names = tslgraphic_fields::archivedFieldNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        const auto& field = tslgraphic_fields::archivedFields()[i].field;
        std::visit(
            [&](auto member) {
                auto& value = (*graphic).*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, QRectF>)
                    value = archive.decodeRect(name);
                else if constexpr (std::is_same_v<T, bool>)
                    value = archive.decodeBool(name);
                else if constexpr (std::is_same_v<T, QColor>)
                    value = archive.decodeColor(name);
                else if constexpr (std::is_same_v<T, double>)
                    value = static_cast<double>(archive.decodeFloat(name));
                else if constexpr (std::is_same_v<T, QString>)
                    value = archive.decodeString(name);
                else if constexpr (std::is_same_v<T, float>)
                    value = archive.decodeFloat(name);
                else if constexpr (std::is_same_v<T, int>)
                    value = archive.decodeInt32(name);
                else if constexpr (std::is_same_v<T, std::optional<QFont>>)
                    value = archive.decodeFont(name);
                else if constexpr (std::is_same_v<T, std::shared_ptr<TSLTextStorage>>)
                    value = textStorageFromValue(archive.decodeValue(name));
                else if constexpr (std::is_same_v<T, QImage>)
                    value = archive.decodeImage(name);
            },
            field);
    }
    graphic->decodeSubclassFieldsWithCoder(archive);
    return graphic;
}

QStringList TSLGraphic::archiveKeys()
{
    QStringList keys;
    for (const auto& field : tslgraphic_fields::archivedFields())
        keys << QString::fromLatin1(field.key);
    return keys;
}

std::vector<platform::KeyedArchive> TSLGraphic::propertiesWithGraphics(const TSLGraphicList& graphics)
{
    std::vector<platform::KeyedArchive> archives;
    archives.reserve(graphics.size());
    for (const TSLGraphicPtr& graphic : graphics) {
        platform::KeyedArchive archive;
        graphic->encodeWithCoder(archive);
        archives.push_back(std::move(archive));
    }
    return archives;
}

TSLGraphicList TSLGraphic::graphicsWithProperties(const std::vector<platform::KeyedArchive>& properties)
{
    TSLGraphicList graphics;
    for (const platform::KeyedArchive& archive : properties) {
        TSLGraphicPtr graphic = initWithCoder(archive);
        if (!graphic)
            continue;
        if (graphic->className() == QLatin1String("TSLImage"))
            Show_NSLog_Message(graphic->_file_path);
        graphics.push_back(std::move(graphic));
    }
    restoreDerivedStateOfGraphics(graphics);
    return graphics;
}

void TSLGraphic::restoreDerivedStateOfGraphics(const TSLGraphicList& graphics)
{
    for (const TSLGraphicPtr& graphic : graphics) {
        if (graphic)
            graphic->restoreDerivedState();
    }
}

QByteArray TSLGraphic::pasteboardDataWithGraphics(const TSLGraphicList& graphics)
{
    platform::PlistArray array;
    for (platform::KeyedArchive& archive : propertiesWithGraphics(graphics))
        array.push_back(std::move(archive).toPlist());
    return platform::PropertyList::toBinary(array);
}

std::optional<TSLGraphicList> TSLGraphic::graphicsWithPasteboardData(const QByteArray& data, TSLError* error)
{
    const std::optional<platform::PlistValue> root
        = data.size() > maximumPasteboardBytes ? std::nullopt : platform::PropertyList::fromBytes(data);
    if (!root || !root->isArray()) {
        if (error)
            *error = TSLErrorWithCode(2);
        return std::nullopt;
    }
    std::vector<platform::KeyedArchive> archives;
    for (const platform::PlistValue& element : root->toArray()) {
        if (std::optional<platform::KeyedArchive> archive = platform::KeyedArchive::fromPlist(element))
            archives.push_back(std::move(*archive));
    }
    return graphicsWithProperties(archives);
}

// ---------------------------------------------------------------------------------------------------------
// Colours and text

QColor TSLGraphic::fillColor()
{
    _fillColor = colorWithOpacity(_fillColor, alpha_val);
    return _fillColor;
}

QColor TSLGraphic::strokeColor()
{
    _strokeColor = colorWithOpacity(_strokeColor, alpha_val_stroke);
    return _strokeColor;
}

QColor TSLGraphic::fill_hatch_bk_clr()
{
    _fill_htch_clr = colorWithOpacity(_fill_htch_clr, alpha_val);
    return _fill_htch_clr;
}

QColor TSLGraphic::fill_Grad_clr1()
{
    _fill_Grad_clr1 = colorWithOpacity(_fill_Grad_clr1, alpha_val);
    return _fill_Grad_clr1;
}

QColor TSLGraphic::fill_Grad_clr2()
{
    _fill_Grad_clr2 = colorWithOpacity(_fill_Grad_clr2, alpha_val);
    return _fill_Grad_clr2;
}

QColor TSLGraphic::drawnFillColor() const { return colorWithOpacity(_fillColor, alpha_val); }
QColor TSLGraphic::drawnStrokeColor() const { return colorWithOpacity(_strokeColor, alpha_val_stroke); }
QColor TSLGraphic::drawnHatchBackgroundColor() const { return colorWithOpacity(_fill_htch_clr, alpha_val); }
QColor TSLGraphic::drawnGradientColor1() const { return colorWithOpacity(_fill_Grad_clr1, alpha_val); }
QColor TSLGraphic::drawnGradientColor2() const { return colorWithOpacity(_fill_Grad_clr2, alpha_val); }

TSLTextStorage& TSLGraphic::Text_contents()
{
    if (!_Text_contents)
        _Text_contents = std::make_shared<TSLTextStorage>(
            TSLTextStorage { Text_Value, fontForPostScriptName(Text_Ctrl_Font, 14.0), QColor(Qt::black) });
    return *_Text_contents;
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void TSLGraphic::drawContentsInView(const TSLDrawingContext&, bool) { }

QPainterPath TSLGraphic::bezierPathForDrawing() const
{
    throw std::logic_error("Neither -drawContentsInView: nor -bezierPathForDrawing has been overridden.");
}

void TSLGraphic::requestCanvasRefresh()
{
    // Inside a canvas paint the canvas is being redrawn already, and while a batch record is rendered
    // the canvas must not show it.
    if (Card_Value_In_Process || CanvasPaintScope::isPainting() || !editorServices())
        return;
    if (platform::isGuiThread()) {
        editorServices()->refreshCanvas();
        return;
    }
    // From a rendering worker: the canvas is a widget, so the request is handed to the GUI thread.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (CardEditorServices* services = editorServices(); services && !Card_Value_In_Process)
                services->refreshCanvas();
        },
        Qt::QueuedConnection);
}

std::vector<double> dashPatternForBorderType(const QString& code)
{
    if (code == QLatin1String("DA"))
        return { 8, 2 };
    if (code == QLatin1String("DO"))
        return { 4, 6 };
    if (code == QLatin1String("DD"))
        return { 24, 10, 6, 10 };
    if (code == QLatin1String("DDD"))
        return { 24, 8, 8, 8, 8, 8 };
    return {};
}

// ---------------------------------------------------------------------------------------------------------
// Change observation and debug form

QSet<QString> TSLGraphic::keyPathsForValuesAffectingDrawingBounds()
{
    return { QStringLiteral("bounds"), QStringLiteral("strokeWidth") };
}

QSet<QString> TSLGraphic::keyPathsForValuesAffectingDrawingContents()
{
    return { QStringLiteral("drawingFill"), QStringLiteral("fillColor"), QStringLiteral("drawingStroke"),
        QStringLiteral("strokeColor") };
}

QSet<QString> TSLGraphic::keysForValuesToObserveForUndo() const
{
    // Every edit a person makes in the inspector is undoable, on any kind of item: the record fields the
    // pages write and the text's colour and font, which the text page writes into every selected item.
    static const QSet<QString> keys = [] {
        QSet<QString> all { QStringLiteral("drawingFill"), QStringLiteral("fillColor"), QStringLiteral("drawingStroke"),
            QStringLiteral("strokeColor"), QStringLiteral("strokeWidth"), QStringLiteral("bounds"),
            QStringLiteral("textColor"), QStringLiteral("textFont") };
        return all.unite(recordKeysForUndo());
    }();
    return keys;
}

QString TSLGraphic::presentablePropertyNameForKey(const QString& key) const
{
    // Every key the undo observes has a name for the Edit menu.
    static const QHash<QString, QString> drawingKeys { { QStringLiteral("drawingFill"), QStringLiteral("Fill") },
        { QStringLiteral("fillColor"), QStringLiteral("Fill Color") },
        { QStringLiteral("drawingStroke"), QStringLiteral("Stroke") },
        { QStringLiteral("strokeColor"), QStringLiteral("Stroke Color") },
        { QStringLiteral("strokeWidth"), QStringLiteral("Stroke Width") },
        { QStringLiteral("bounds"), QStringLiteral("Position and Size") },
        { QStringLiteral("textColor"), QStringLiteral("Text Color") }, { QStringLiteral("textFont"), QStringLiteral("Font") } };
    if (const auto drawing = drawingKeys.constFind(key); drawing != drawingKeys.constEnd())
        return platform::localizedString(QStringLiteral("UndoStrings"), *drawing);
    const QString name = recordKeyPresentableName(key);
    return name.isNull() ? QStringLiteral("") : name;
}

QVariantMap TSLGraphic::properties() const
{
    QVariantMap map;
    map.insert(QStringLiteral("bounds"), platform::stringFromRect(_bounds));
    map.insert(QStringLiteral("drawingFill"), isDrawingFill());
    map.insert(QStringLiteral("drawingStroke"), isDrawingStroke());
    if (_fillColor.isValid())
        map.insert(QStringLiteral("fillColor"), _fillColor.name(QColor::HexArgb));
    if (_strokeColor.isValid())
        map.insert(QStringLiteral("strokeColor"), _strokeColor.name(QColor::HexArgb));
    map.insert(QStringLiteral("strokeWidth"), _strokeWidth);
    return map;
}

QString TSLGraphic::description() const
{
    QStringList parts;
    const QVariantMap map = properties();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        parts << QStringLiteral("%1 = %2").arg(it.key(), it.value().toString());
    return QStringLiteral("<%1 { %2 }>").arg(className(), parts.join(QStringLiteral("; ")));
}

bool TSLGraphic::barcodeSizesArePositive() const
{
    // !(x > 0) refuses a NaN too.
    for (const double size : { double(linear_height_val), double(linear_width_val), double(qr_size_val),
             double(pdf_hgt_val), double(pdf_wdt_val), double(dm_module_val) }) {
        if (!(size > 0.0) || !std::isfinite(size))
            return false;
    }
    return true;
}
