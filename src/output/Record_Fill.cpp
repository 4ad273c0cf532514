#include "output/Record_Fill.h"

#include "barcode/Barcode_Gen.h"
#include "barcode/Barcode_Item_Symbol.h"
#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "model/TSLImage.h"
#include "model/TSLText.h"
#include "output/Record_Source.h"

#include <QFileInfo>

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
        wrong(record,
            QStringLiteral("no barcode: its value \"%1\" cannot be encoded in the chosen symbology").arg(value));
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
            wrong(record, QStringLiteral("made without the picture \"%1\", which cannot be found").arg(path));
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

void Record_Fill_Log::columnNotFound(int record, const QString& title)
{
    const std::lock_guard<std::mutex> guard(lock_);
    withColumnNotFound_.insert(record);
    wrong(record, QStringLiteral("an item is left blank: the sheet has no column \"%1\"").arg(title));
    if (!columnsNotFound_.contains(title))
        columnsNotFound_ << title;
}

void Record_Fill_Log::seriesWithoutValue(int record)
{
    const std::lock_guard<std::mutex> guard(lock_);
    withSeriesWithoutValue_.insert(record);
    wrong(record, QStringLiteral("an item is bound to a series that gives it no value"));
}

namespace {

void noteOnce(std::set<int>& records, QStringList& data, int record, const QString& name)
{
    records.insert(record);
    if (!data.contains(name))
        data << name;
}

} // namespace

void Record_Fill_Log::dataRanOut(int record, const QString& data)
{
    const std::lock_guard<std::mutex> guard(lock_);
    noteOnce(withDataRanOut_, dataRanOut_, record, data);
    wrong(record, QStringLiteral("an item is left blank: its data has run out (%1)").arg(data));
}

void Record_Fill_Log::barcodeWithoutValue(int record, const QString& data)
{
    const std::lock_guard<std::mutex> guard(lock_);
    noteOnce(withBarcodeWithoutValue_, barcodesWithoutValue_, record, data);
    wrong(record, QStringLiteral("a barcode has no value (%1)").arg(data));
}

void Record_Fill_Log::barcodeTooSmall(int record, const QString& item)
{
    const std::lock_guard<std::mutex> guard(lock_);
    noteOnce(withBarcodeTooSmall_, barcodesTooSmall_, record, item);
    wrong(record, QStringLiteral("a barcode is drawn too small for barcode readers (%1)").arg(item));
}

void Record_Fill_Log::textCut(int record, const QString& item)
{
    const std::lock_guard<std::mutex> guard(lock_);
    noteOnce(withTextCut_, textsCut_, record, item);
    wrong(record, QStringLiteral("a text does not fit its box or the card and is cut (%1)").arg(item));
}

void Record_Fill_Log::pictureFromWorkingCopy(int record, const QString& path, bool tooLarge)
{
    const QString name = QFileInfo(path).fileName();
    const std::lock_guard<std::mutex> guard(lock_);
    noteOnce(tooLarge ? withTooLarge_ : withWorkingCopy_, tooLarge ? tooLarge_ : workingCopies_, record, name);
    wrong(record,
        QStringLiteral("a picture is drawn at the screen's resolution, as its file %1 (%2)")
            .arg(tooLarge ? QStringLiteral("is too large to read at this resolution")
                          : QStringLiteral("could not be read again"),
                name));
}

void Record_Fill_Log::pictureUnreadable(int record, const QString& path)
{
    const std::lock_guard<std::mutex> guard(lock_);
    noteOnce(withUnreadable_, unreadable_, record, QFileInfo(path).fileName());
    wrong(record, QStringLiteral("made without the picture \"%1\", whose file cannot be read").arg(path));
}

void Record_Fill_Log::blankRow(int record, const QStringList& columns)
{
    const std::lock_guard<std::mutex> guard(lock_);
    for (const QString& column : columns)
        noteOnce(withBlankRow_, blankRowColumns_, record, column);
    if (!columns.isEmpty())
        wrong(record, QStringLiteral("its row's bound values are blank (%1)").arg(columns.join(QStringLiteral(", "))));
}

namespace {

// "1 card is" or "3 cards are".
QString cardsAre(std::size_t records)
{
    return records == 1 ? QStringLiteral("1 card is") : QStringLiteral("%1 cards are").arg(records);
}

// The first records of a set by their numbers as people count them: "records 2, 5 and 9", "records 1, 2,
// 3, 4, 5 and 7 more".
QString firstRecords(const std::set<int>& records)
{
    constexpr std::size_t named = 5;
    QStringList numbers;
    for (int record : records) {
        if (numbers.size() == named)
            break;
        numbers << QString::number(record + 1);
    }
    if (records.size() > named)
        return QStringLiteral("records %1 and %2 more")
            .arg(numbers.join(QStringLiteral(", ")))
            .arg(records.size() - named);
    if (numbers.size() == 1)
        return QStringLiteral("record ") + numbers.first();
    const QString last = numbers.takeLast();
    return QStringLiteral("records %1 and %2").arg(numbers.join(QStringLiteral(", ")), last);
}

} // namespace

bool Record_Fill_Log::whole() const
{
    const std::lock_guard<std::mutex> guard(lock_);
    return wrong_.empty();
}

QString Record_Fill_Log::notes() const
{
    QStringList notes { withoutSymbolNote(recordsWithoutSymbol()), pictureNotFoundNote(recordsWithPictureNotFound()) };
    const std::lock_guard<std::mutex> guard(lock_);
    if (!withColumnNotFound_.empty())
        notes << QStringLiteral("%1 made without the %2 this sheet does not have: %3.")
                     .arg(cardsAre(withColumnNotFound_.size()),
                         columnsNotFound_.size() == 1 ? QStringLiteral("column") : QStringLiteral("columns"),
                         columnsNotFound_.join(QStringLiteral(", ")));
    if (!withSeriesWithoutValue_.empty())
        notes << QStringLiteral("%1 made with an item bound to a series that gives it no value: it shows what "
                                "the canvas shows.")
                     .arg(cardsAre(withSeriesWithoutValue_.size()));
    // A note naming the records' count, what they went without and the first of them.
    const auto told = [&notes](const QString& text, const std::set<int>& records, const QStringList& names) {
        if (!records.empty())
            notes << text.arg(cardsAre(records.size()), names.join(QStringLiteral(", ")), firstRecords(records));
    };
    told(QStringLiteral("%1 made with a barcode drawn too small for barcode readers (%2): %3. Choose a higher "
                        "resolution or a larger barcode."),
        withBarcodeTooSmall_, barcodesTooSmall_);
    told(QStringLiteral("%1 made with an item left blank because its data has run out (%2): %3."), withDataRanOut_,
        dataRanOut_);
    told(QStringLiteral("%1 made with a barcode that has no value (%2): %3."), withBarcodeWithoutValue_,
        barcodesWithoutValue_);
    told(QStringLiteral("%1 made with a text that does not fit its box or the card and is cut (%2): %3."), withTextCut_,
        textsCut_);
    if (!withBlankRow_.empty())
        notes << QStringLiteral("%1 made from %2 whose bound values are blank (%3): %4.")
                     .arg(cardsAre(withBlankRow_.size()),
                         withBlankRow_.size() == 1 ? QStringLiteral("a row") : QStringLiteral("rows"),
                         blankRowColumns_.join(QStringLiteral(", ")), firstRecords(withBlankRow_));
    told(QStringLiteral("%1 made with a picture at the screen's resolution, as its file could not be read again (%2): "
                        "%3."),
        withWorkingCopy_, workingCopies_);
    told(QStringLiteral("%1 made with a picture at the screen's resolution, as its file is too large to read at this "
                        "resolution (%2): %3."),
        withTooLarge_, tooLarge_);
    told(QStringLiteral("%1 made without a picture whose file cannot be read (%2): %3."), withUnreadable_, unreadable_);
    notes.removeAll(QString());
    return notes.join(QStringLiteral("\n\n"));
}

void Record_Fill_Log::wrong(int record, const QString& what)
{
    wrong_.insert({ record, what });
}

QByteArray Record_Fill_Log::recordList(const std::function<QString(int record)>& firstValue) const
{
    const std::lock_guard<std::mutex> guard(lock_);
    if (wrong_.empty())
        return {};
    // A value of the person's own keeps to its column and its line.
    auto cell = [](QString text) {
        for (QChar& c : text) {
            if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                c = QLatin1Char(' ');
        }
        return text;
    };
    QByteArray list = recordListHeading();
    int named = -1;
    QString value;
    for (const auto& [record, what] : wrong_) {
        if (record != named) {
            named = record;
            value = cell(firstValue ? firstValue(record) : QString());
        }
        list += QStringLiteral("%1\t%2\t%3\n").arg(record + 1).arg(value, cell(what)).toUtf8();
    }
    return list;
}

QString Record_Fill_Log::textsCutNote(const QStringList& texts)
{
    if (texts.isEmpty())
        return {};
    return QStringLiteral("The card is made with a text that does not fit its box or the card and is cut (the canvas "
                          "marks it): %1.")
        .arg(texts.join(QStringLiteral(", ")));
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

QString firstValue(std::initializer_list<const TSLGraphicList*> sides, int record, const Record_Source& source)
{
    for (const TSLGraphicList* items : sides) {
        for (const TSLGraphicPtr& item : *items) {
            if (!item || !takesData(*item))
                continue;
            if (const std::optional<QString> value = valueFor(*item, record, source, nullptr);
                value && !value->isEmpty())
                return *value;
        }
    }
    return {};
}

QString recordNumbers(const std::set<int>& records)
{
    return records.empty() ? QString() : firstRecords(records);
}

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

namespace {

// The value of a source that has it for the record; a blank barcode value and a source run out are logged.
QString loggedValue(
    const TSLGraphic& item, int record, const QString& value, bool ranOut, const QString& data, Record_Fill_Log* log)
{
    QString trimmed = Trim_Str(value);
    if (log && ranOut)
        log->dataRanOut(record, data);
    else if (log && trimmed.isEmpty() && item.className() == QLatin1String("TSLBarcode"))
        log->barcodeWithoutValue(record, data);
    return trimmed;
}

QString seriesName(const TSLGraphic& item)
{
    return QStringLiteral("series \"%1\"").arg(item.batch_list_name);
}

QString columnName(const TSLGraphic& item, const Record_Source& source)
{
    return QStringLiteral("column \"%1\"").arg(source.titleOf(item.excel_col_indx));
}

} // namespace

std::optional<QString> valueFor(const TSLGraphic& item, int record, const Record_Source& source, Record_Fill_Log* log)
{
    if (item.data_source_type == 1 && source.useSeries) {
        const auto values = source.series.constFind(item.batch_list_name);
        if (values == source.series.constEnd()) {
            if (log)
                log->seriesWithoutValue(record);
            return std::nullopt;
        }
        return loggedValue(item, record, source.seriesValue(record, item.batch_list_name), record >= values->size(),
            seriesName(item), log);
    }
    if (item.data_source_type == 2 && source.useSpreadsheet) {
        const std::optional<QString> value = source.spreadsheetValue(record, item.excel_col_indx);
        if (!value) {
            if (log) {
                log->missingSpreadsheetValue(record, item.excel_col_indx);
                log->columnNotFound(record, source.titleOf(item.excel_col_indx));
            }
            return QString();
        }
        // Past the last row a column the sheet has runs out; one it lacks is told of as such.
        const bool ranOut = record >= source.rows.size() && source.spreadsheetValue(0, item.excel_col_indx);
        return loggedValue(item, record, *value, ranOut, columnName(item, source), log);
    }
    return std::nullopt;
}

QStringList blankRowColumns(std::initializer_list<const TSLGraphicList*> sides, int record, const Record_Source& source)
{
    QStringList columns;
    if (!source.useSpreadsheet || record < 0 || record >= source.rows.size())
        return columns; // past the last row the data has run out, which is told of as such
    for (const TSLGraphicList* items : sides) {
        for (const TSLGraphicPtr& item : *items) {
            // A column the row lacks is told of as a column the sheet does not have.
            if (!item || !takesData(*item)
                || (item->data_source_type == 2 && !source.spreadsheetValue(record, item->excel_col_indx)))
                continue;
            const std::optional<QString> value = valueFor(*item, record, source, nullptr);
            if (value && !value->isEmpty())
                return {};
            if (value && item->data_source_type == 2 && !columns.contains(columnName(*item, source)))
                columns << columnName(*item, source);
        }
    }
    return columns;
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

QStringList textsCut(const TSLGraphicList& items, const QRectF& card, const Record_Source* source)
{
    QStringList names;
    for (const TSLGraphicPtr& item : items) {
        const auto* text = dynamic_cast<const TSLText*>(item.get());
        if (text && text->ctrl_is_visible && text->print_object == 0 && text->textIsCut(card))
            names << itemName(*text, source);
    }
    return names;
}

QString itemName(const TSLGraphic& item, const Record_Source* source)
{
    if (source && takesData(item)) {
        if (item.data_source_type == 1 && source->useSeries)
            return seriesName(item);
        if (item.data_source_type == 2 && source->useSpreadsheet)
            return columnName(item, *source);
    }
    return kindAndStart(
        TSLGraphicView::kindName(item).toLower(), item._Text_contents ? item._Text_contents->string : item.Text_Value);
}

QString kindAndStart(const QString& kind, const QString& characters)
{
    QString start = Trim_Str(characters).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (start.isEmpty())
        return kind;
    constexpr int longest = 24;
    if (start.size() > longest) {
        const int space = start.lastIndexOf(QLatin1Char(' '), longest);
        start = start.left(space > 0 ? space : longest) + QChar(0x2026);
    }
    return QStringLiteral("%1 \"%2\"").arg(kind, start);
}

QStringList columnsNotFound(const TSLGraphicList& items, const Record_Source& source)
{
    QStringList titles;
    if (!source.useSpreadsheet || source.rows.isEmpty())
        return titles;
    for (const TSLGraphicPtr& item : items) {
        if (item && takesData(*item) && item->data_source_type == 2
            && !source.spreadsheetValue(0, item->excel_col_indx))
            titles << source.titleOf(item->excel_col_indx);
    }
    return titles;
}

QString columnsNotFoundNotice(const QStringList& titles)
{
    if (titles.isEmpty())
        return {};
    QStringList named;
    for (const QString& title : titles)
        named << Name_In_Notice(title); // a workbook's column title, of any length
    named.removeDuplicates();
    return titles.size() == 1
        ? QStringLiteral("1 item is bound to a column this sheet does not have: %1").arg(named.first())
        : QStringLiteral("%1 items are bound to columns this sheet does not have: %2")
              .arg(titles.size())
              .arg(named.join(QStringLiteral(", ")));
}

bool assignValue(TSLGraphic& item, const QString& value, Barcode_Gen& settings, bool pictures,
    const std::function<std::shared_ptr<const TSLBarcode_Drawing>()>& symbol)
{
    const QString name = item.className();
    if (name == QLatin1String("TSLText")) {
        // The storage's font and colour stay: the new text takes the old text's formatting.
        item.Text_contents().string = value;
    } else if (name == QLatin1String("TSLImage")) {
        static_cast<TSLImage&>(item).setFilePath(value);
    } else if (name == QLatin1String("TSLBarcode")) {
        item.Set_Barcode_image(pictures ? Record_Barcode_Picture(settings, item, value) : QImage());
        std::shared_ptr<const TSLBarcode_Drawing> drawing
            = symbol ? symbol() : Item_Barcode_Drawing(settings, item, value);
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
    Barcode_Gen& settings, Record_Fill_Log* log, bool pictures, const Symbol_Maker& symbols)
{
    for (size_t index = 0; index < items.size(); ++index) {
        const TSLGraphicPtr& item = items[index];
        if (!item || !takesData(*item))
            continue;
        const std::optional<QString> value = valueFor(*item, record, source, log);
        if (!value)
            continue;
        std::function<std::shared_ptr<const TSLBarcode_Drawing>()> kept;
        if (symbols)
            kept = [&] { return symbols(index, *item, *value, settings); };
        if (!assignValue(*item, *value, settings, pictures, kept) && log && !value->isEmpty())
            log->barcodeWithoutSymbol(record, *value);
    }
}

} // namespace Record_Fill
