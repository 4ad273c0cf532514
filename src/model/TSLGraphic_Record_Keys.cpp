// The record fields the inspector pages edit, observable by key like the drawing keys: setValueForKey stores
// one through the record table and tells the observers, so the document records undo for it and the canvas
// redraws, whichever page or command made the change.
#include "model/TSLGraphic.h"

#include "model/TSLGraphicFields.h"
#include "platform/StringsTable.h"

#include <QHash>

#include <type_traits>

namespace {

struct RecordKey {
    const char* key; // the observed key; the archive key unless the item kinds already name it otherwise
    const char* field; // the archive key of the field
    const char* name; // the name undo shows, from the table "UndoStrings"
};

// Everything an inspector page, the barcode dialog or the data-source page writes into an item, beyond the
// geometry, fill, stroke and text keys that have setters of their own.
const RecordKey recordKeys[] = {
    { "_stroke_border_type", "_stroke_border_type", "Border Style" },
    { "_fill_type", "_fill_type", "Fill Kind" },
    { "_fill_Grad_clr1", "_fill_Grad_clr1", "Gradient" },
    { "_fill_Grad_clr2", "_fill_Grad_clr2", "Gradient" },
    { "_fill_grad_angle", "_fill_grad_angle", "Gradient" },
    { "_fill_htch_clr", "_fill_htch_clr", "Pattern" },
    { "_fill_hatch_type", "_fill_hatch_type", "Pattern" },
    { "flippedHorizontally", "_isFlippedHorizontally", "Horizontal Flipping" },
    { "flippedVertically", "_isFlippedVertically", "Vertical Flipping" },
    { "invert_clr", "invert_clr", "Picture Effect" },
    { "gray_Scale", "gray_Scale", "Picture Effect" },
    { "Sepia", "Sepia", "Picture Effect" },
    { "img_trnsp_val", "img_trnsp_val", "Opacity" },
    { "hue_val", "hue_val", "Picture Adjustment" },
    { "sat_val", "sat_val", "Picture Adjustment" },
    { "brt_val", "brt_val", "Picture Adjustment" },
    { "con_val", "con_val", "Picture Adjustment" },
    { "srp_val", "srp_val", "Picture Adjustment" },
    { "ev_val", "ev_val", "Picture Adjustment" },
    { "blr_val", "blr_val", "Picture Adjustment" },
    { "rotate_image", "rotate_image", "Rotation" },
    { "data_source_type", "data_source_type", "Data Source" },
    { "batch_list_name", "batch_list_name", "Data Source" },
    { "batch_list_index", "batch_list_index", "Data Source" },
    { "excel_binding", "excel_binding", "Data Source" },
    { "excel_col_indx", "excel_col_indx", "Data Source" },
    { "_file_path", "_file_path", "Picture File" },
    { "_line_ori", "_line_ori", "Line Direction" },
    { "_line_cap_style", "_line_cap_style", "Line Ends" },
    { "alpha_val", "alpha_val", "Opacity" },
    { "alpha_val_stroke", "alpha_val_stroke", "Opacity" },
    { "cor_rad_val_val", "cor_rad_val_val", "Corner Radius" },
    { "double_star_type", "double_star_type", "Shape" },
    { "polygon_type", "polygon_type", "Shape" },
    { "_barcode_image", "_barcode_image", "Barcode" },
    { "linear_or_2d", "linear_or_2d", "Barcode" },
    { "barcode_font_index", "barcode_font_index", "Barcode" },
    { "linear_font_val", "linear_font_val", "Barcode" },
    { "two_d_font_val", "two_d_font_val", "Barcode" },
    { "header_val", "header_val", "Barcode" },
    { "footer_val", "footer_val", "Barcode" },
    { "show_hide_hdr", "show_hide_hdr", "Barcode" },
    { "show_hide_ftr", "show_hide_ftr", "Barcode" },
    { "show_hide_val", "show_hide_val", "Barcode" },
    { "show_val_on_top", "show_val_on_top", "Barcode" },
    { "align_hdr_index", "align_hdr_index", "Barcode" },
    { "align_ftr_index", "align_ftr_index", "Barcode" },
    { "linear_height_val", "linear_height_val", "Barcode" },
    { "linear_width_val", "linear_width_val", "Barcode" },
    { "qr_size_val", "qr_size_val", "Barcode" },
    { "qr_version_index", "qr_version_index", "Barcode" },
    { "qr_ec_index", "qr_ec_index", "Barcode" },
    { "pdf_hgt_val", "pdf_hgt_val", "Barcode" },
    { "pdf_wdt_val", "pdf_wdt_val", "Barcode" },
    { "pdf_ec_val", "pdf_ec_val", "Barcode" },
    { "dm_module_val", "dm_module_val", "Barcode" },
    { "dm_format_index", "dm_format_index", "Barcode" },
    { "dm_encoding_index", "dm_encoding_index", "Barcode" },
    { "hdr_margin_val", "hdr_margin_val", "Barcode" },
    { "ftr_margin_val", "ftr_margin_val", "Barcode" },
    { "val_margin_val", "val_margin_val", "Barcode" },
    { "TB_marging_val", "TB_marging_val", "Barcode" },
    { "LR_margin_val", "LR_margin_val", "Barcode" },
    { "value_font_val", "value_font_val", "Barcode" },
    { "header_font_val", "header_font_val", "Barcode" },
    { "footer_font_val", "footer_font_val", "Barcode" },
    { "barcode_hdr_clr_val", "barcode_hdr_clr_val", "Barcode" },
    { "barcode_ftr_clr_val", "barcode_ftr_clr_val", "Barcode" },
    { "barcode_val_clr_val", "barcode_val_clr_val", "Barcode" },
    { "barcode_back_clr_val", "barcode_back_clr_val", "Barcode" },
    { "barcode_clr_val", "barcode_clr_val", "Barcode" },
    { "dpi_val_index", "dpi_val_index", "Barcode" },
    { "dpi_custom_val", "dpi_custom_val", "Barcode" },
    { "barcode_unit_val", "barcode_unit_val", "Barcode" },
    { "text_alignmnet", "text_alignmnet", "Alignment" },
    { "text_transfrom_case", "text_transfrom_case", "Case" },
    { "text_kerning", "text_kerning", "Kerning" },
    { "print_object", "print_object", "Print" },
};

struct RecordField {
    tslgraphic_fields::FieldPointer field;
    QString name;
};

const QHash<QString, RecordField>& recordFields()
{
    static const QHash<QString, RecordField> fields = [] {
        QHash<QString, tslgraphic_fields::FieldPointer> byArchiveKey;
        for (const auto& archived : tslgraphic_fields::archivedFields())
            byArchiveKey.insert(QLatin1String(archived.key), archived.field);
        QHash<QString, RecordField> table;
        for (const RecordKey& entry : recordKeys)
            table.insert(QLatin1String(entry.key),
                { byArchiveKey.value(QLatin1String(entry.field)), QLatin1String(entry.name) });
        return table;
    }();
    return fields;
}

template <typename T> QVariant toVariant(const T& value)
{
    if constexpr (std::is_same_v<T, std::optional<QFont>>)
        return value ? QVariant(*value) : QVariant();
    else if constexpr (std::is_same_v<T, std::shared_ptr<TSLTextStorage>>)
        return QVariant(); // the text has its own key
    else
        return QVariant::fromValue(value);
}

template <typename T> T fromVariant(const QVariant& value)
{
    if constexpr (std::is_same_v<T, std::optional<QFont>>)
        return value.isValid() ? std::optional<QFont>(value.value<QFont>()) : std::nullopt;
    else
        return value.value<T>();
}

} // namespace

const QSet<QString>& TSLGraphic::recordKeysForUndo()
{
    static const QSet<QString> keys = [] {
        QSet<QString> all;
        for (const RecordKey& entry : recordKeys)
            all.insert(QLatin1String(entry.key));
        return all;
    }();
    return keys;
}

std::optional<QVariant> TSLGraphic::recordValueForKey(const QString& key) const
{
    const auto found = recordFields().constFind(key);
    if (found == recordFields().constEnd())
        return std::nullopt;
    return std::visit([this](auto member) { return toVariant(this->*member); }, found->field);
}

bool TSLGraphic::setRecordValueForKey(const QString& key, const QVariant& value)
{
    const auto found = recordFields().constFind(key);
    if (found == recordFields().constEnd())
        return false;
    std::visit(
        [this, &key, &value](auto member) {
            using Field = std::remove_cvref_t<decltype(this->*member)>;
            if constexpr (!std::is_same_v<Field, std::shared_ptr<TSLTextStorage>> && !std::is_same_v<Field, QRectF>) {
                const Field old = this->*member;
                this->*member = fromVariant<Field>(value);
                didChangeValueForKey(key, toVariant(old), toVariant(this->*member));
            }
        },
        found->field);
    return true;
}

QString TSLGraphic::recordKeyPresentableName(const QString& key)
{
    const auto found = recordFields().constFind(key);
    return found == recordFields().constEnd() ? QString()
                                              : platform::localizedString(QStringLiteral("UndoStrings"), found->name);
}

QVariantMap TSLGraphic::valuesForKeys(const QStringList& keys) const
{
    QVariantMap values;
    for (const QString& key : keys)
        values.insert(key, valueForKey(key));
    return values;
}

void TSLGraphic::didChangeValuesFrom(const QVariantMap& oldValues)
{
    for (auto it = oldValues.cbegin(); it != oldValues.cend(); ++it)
        didChangeValueForKey(it.key(), it.value(), valueForKey(it.key()));
}
