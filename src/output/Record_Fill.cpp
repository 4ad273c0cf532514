#include "output/Record_Fill.h"

#include "barcode/Barcode_Gen.h"
#include "barcode/Barcode_Item_Symbol.h"
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

void Record_Fill_Log::barcodeWithoutSymbol(int record, const QString& value)
{
    {
        const std::lock_guard<std::mutex> guard(lock_);
        if (!withoutSymbol_.insert(record).second)
            return;
    }
    Show_NSLog_Message(
        QStringLiteral("Record %1: the value \"%2\" has no barcode in the chosen symbology; its card has no barcode")
            .arg(record + 1)
            .arg(value));
}

int Record_Fill_Log::recordsWithoutSymbol() const
{
    const std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(withoutSymbol_.size());
}

QString Record_Fill_Log::withoutSymbolNote(int records)
{
    if (records <= 0)
        return {};
    return records == 1 ? QStringLiteral("1 card has no barcode: its value cannot be encoded in the chosen "
                                         "symbology (the log names the record).")
                        : QStringLiteral("%1 cards have no barcode: their values cannot be encoded in the chosen "
                                         "symbology (the log names the records).")
                              .arg(records);
}

void Record_Fill_Log::picturesNotFound(int record, const QStringList& paths)
{
    for (const QString& path : paths) {
        {
            const std::lock_guard<std::mutex> guard(lock_);
            withPictureNotFound_.insert(record);
            if (!picturesNotFound_.insert({ record, path }).second)
                continue;
        }
        Show_NSLog_Message(QStringLiteral("Record %1: the picture \"%2\" cannot be found; its card is made without it")
                               .arg(record + 1)
                               .arg(path));
    }
}

int Record_Fill_Log::recordsWithPictureNotFound() const
{
    const std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(withPictureNotFound_.size());
}

QString Record_Fill_Log::pictureNotFoundNote(int records)
{
    if (records <= 0)
        return {};
    return records == 1 ? QStringLiteral("1 card is made without a picture that cannot be found (the log names "
                                         "the file).")
                        : QStringLiteral("%1 cards are made without a picture that cannot be found (the log "
                                         "names the files).")
                              .arg(records);
}

QString Record_Fill_Log::notes(int withoutSymbol, int withPictureNotFound)
{
    QStringList notes { withoutSymbolNote(withoutSymbol), pictureNotFoundNote(withPictureNotFound) };
    notes.removeAll(QString());
    return notes.join(QStringLiteral("\n\n"));
}

namespace {

// What a barcode without a symbol draws: nothing.
class No_Symbol : public TSLBarcode_Drawing {
public:
    QSizeF size() const override { return {}; }
    void draw(QPainter&) const override { }
};

} // namespace

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
    return With_Item_Settings(
        settings, item, [&] { return settings.Get_Image_From_Val(value, item.header_val, item.footer_val).image; });
}

QStringList picturesNotFound(const TSLGraphicList& items)
{
    QStringList paths;
    for (const TSLGraphicPtr& item : items) {
        const auto* picture = dynamic_cast<const TSLImage*>(item.get());
        if (picture && picture->ctrl_is_visible && picture->print_object == 0 && picture->pictureNotFound())
            paths << picture->_file_path;
    }
    return paths;
}

bool assignValue(TSLGraphic& item, const QString& value, Barcode_Gen& settings, bool pictures)
{
    const QString name = item.className();
    if (name == QLatin1String("TSLText")) {
        // The storage's font and colour stay: the new text takes the old text's formatting.
        item.Text_contents().string = value;
    } else if (name == QLatin1String("TSLImage")) {
        static_cast<TSLImage&>(item).setFilePath(value);
    } else if (name == QLatin1String("TSLBarcode")) {
        item.Set_Barcode_image(pictures ? Record_Barcode_Picture(settings, item, value) : QImage());
        std::shared_ptr<const TSLBarcode_Drawing> drawing = Item_Barcode_Drawing(settings, item, value);
        const bool symbol = drawing != nullptr;
        if (!symbol) {
            static const auto none = std::make_shared<const No_Symbol>();
            drawing = none;
        }
        item.Set_Barcode_drawing(std::move(drawing));
        return symbol;
    }
    return true;
}

void Assign_Batch_Values_To_Control(const TSLGraphicList& items, int record, const Record_Source& source,
    Barcode_Gen& settings, Record_Fill_Log* log, bool pictures)
{
    for (const TSLGraphicPtr& item : items) {
        if (!item || !takesData(*item))
            continue;
        const std::optional<QString> value = valueFor(*item, record, source, log);
        if (value && !assignValue(*item, *value, settings, pictures) && log && !value->isEmpty())
            log->barcodeWithoutSymbol(record, *value);
    }
}

} // namespace Record_Fill
