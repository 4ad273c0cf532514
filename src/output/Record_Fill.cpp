#include "output/Record_Fill.h"

#include "barcode/Barcode_Gen.h"
#include "common/Common_Functions.h"
#include "model/TSLImage.h"
#include "output/Record_Source.h"

#include <mutex>

void Record_Fill_Log::missingSpreadsheetValue(int record, int column)
{
    if (reported_.exchange(true))
        return;
    Show_NSLog_Message(QStringLiteral("Record %1 has no value in spreadsheet column %2: the empty text is used "
                                      "(further missing values of this run are not listed)")
                           .arg(record + 1)
                           .arg(column));
}

namespace Record_Fill {

bool takesData(const TSLGraphic& item)
{
    const QString name = item.className();
    return name == QLatin1String("TSLText") || name == QLatin1String("TSLImage") || name == QLatin1String("TSLBarcode");
}

bool sideUses(const TSLGraphicList& items, int sourceType)
{
    for (const TSLGraphicPtr& item : items) {
        if (item && takesData(*item) && item->data_source_type == sourceType)
            return true;
    }
    return false;
}

std::optional<QString> valueFor(const TSLGraphic& item, int record, const Record_Source& source, Record_Fill_Log* log)
{
    if (item.data_source_type == 1 && source.useSeries)
        return Trim_Str(source.seriesValue(record, item.batch_list_name));
    if (item.data_source_type == 2 && source.useSpreadsheet) {
        const std::optional<QString> value = source.spreadsheetValue(record, item.excel_col_indx);
        if (!value) {
            if (log)
                log->missingSpreadsheetValue(record, item.excel_col_indx);
            return QString();
        }
        return Trim_Str(*value);
    }
    return std::nullopt;
}

QImage Record_Barcode_Picture(Barcode_Gen& settings, const TSLGraphic& item, const QString& value)
{
    // Loading an item's settings sets a few process-wide values that only the 2-D encoders read (QR
    // version and level, resolution, module size). Loads happen one at a time, and a 2-D picture is made
    // before the next load, so no worker encodes with another's values; linear symbols read none of
    // them and are made by all workers at once.
    static std::mutex globals;
    std::unique_lock<std::mutex> lock(globals);
    const Barcode_Settings_Scope scope(settings);
    settings.Set_Barcode_Prop_To_Control(item);
    if (settings.liner_or_2D_font == 0)
        lock.unlock();
    return settings.Get_Image_From_Val(value, item.header_val, item.footer_val).image;
}

void assignValue(TSLGraphic& item, const QString& value, Barcode_Gen& settings)
{
    const QString name = item.className();
    if (name == QLatin1String("TSLText")) {
        // The storage's font and colour stay: the new text takes the old text's formatting.
        item.Text_contents().string = value;
    } else if (name == QLatin1String("TSLImage")) {
        static_cast<TSLImage&>(item).setFilePath(value);
    } else if (name == QLatin1String("TSLBarcode")) {
        item.Set_Barcode_image(Record_Barcode_Picture(settings, item, value));
    }
}

void Assign_Batch_Values_To_Control(
    const TSLGraphicList& items, int record, const Record_Source& source, Barcode_Gen& settings, Record_Fill_Log* log)
{
    for (const TSLGraphicPtr& item : items) {
        if (!item || !takesData(*item))
            continue;
        if (const std::optional<QString> value = valueFor(*item, record, source, log))
            assignValue(*item, *value, settings);
    }
}

} // namespace Record_Fill
