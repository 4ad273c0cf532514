#pragma once

#include "model/TSLGraphic.h"

#include <QRectF>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

class Barcode_Gen;
class TSLBarcode_Drawing;
class Record_Source;

// Tells the user about spreadsheet values a run could not find once per run, in the log, instead of
// stopping each record's fill with a message box. Shared by the workers of one run.
class Record_Fill_Log {
public:
    void missingSpreadsheetValue(int record, int column);
    bool reported() const { return reported_.load(); }
    // A barcode whose value has no symbol: the card goes without it, the record is named in the log.
    void barcodeWithoutSymbol(int record, const QString& value);
    // Records of the run that have a barcode without its symbol.
    int recordsWithoutSymbol() const;
    // The sentence a run's final message ends with when some cards went without their barcode; empty
    // when none did.
    static QString withoutSymbolNote(int records);
    // Pictures of a record's card that cannot be found: the card goes without them, each missing name is
    // named in the log once per record.
    void picturesNotFound(int record, const QStringList& paths);
    int recordsWithPictureNotFound() const;
    // The sentence a final message ends with when some cards went without a picture; empty when none did.
    static QString pictureNotFoundNote(int records);
    // Both notes of a run's final message, each in a paragraph of its own; empty when neither applies.
    static QString notes(int withoutSymbol, int withPictureNotFound);

    // A record whose card leaves an item blank because the spreadsheet has no column of that title.
    void columnNotFound(int record, const QString& title);
    // A record whose card has an item bound to a series that gives it no value (none chosen, or one that
    // cannot be read): the item shows what it shows on the canvas.
    void seriesWithoutValue(int record);
    // A record whose card has a barcode drawn with modules too small for barcode readers (`item` names it).
    void barcodeTooSmall(int record, const QString& item);
    // A record whose card has an item left blank because its data has run out before the run's end: its
    // series is shorter than the run, or the run goes past the sheet's last row. The data is named as
    // `series "Guests"` or `column "Seat"`.
    void dataRanOut(int record, const QString& data);
    // A record whose card has a barcode whose value is blank: the barcode is not drawn.
    void barcodeWithoutValue(int record, const QString& data);
    // A record whose card has a text cut by its box or by the card's edge; the item is named as itemName
    // names it.
    void textCut(int record, const QString& item);
    // A record whose row is there but gives every item bound to it a blank value, the columns named as
    // `column "Name"`: its card comes out blank.
    void blankRow(int record, const QStringList& columns);
    // A record whose card shows a picture at the screen's resolution: its file could not be read again at the
    // output's (it is gone, or can no longer be read), so the picture is drawn from the copy the design holds.
    // tooLarge: the file is there, but decoding it at the output's size would pass the memory bound.
    void pictureFromWorkingCopy(int record, const QString& path, bool tooLarge = false);
    // A record whose card goes without a picture whose file is there but gives no picture now: cut short,
    // damaged, or grown past what a picture may take to decode.
    void pictureUnreadable(int record, const QString& path);
    // Every note of the run's final message of what its cards went without, each in a paragraph of its own;
    // empty when the cards are whole.
    QString notes() const;
    // Whether every card of the run is whole: nothing is listed of any of them.
    bool whole() const;
    // What the bound sheet told of its rows (hidden rows, a likely total): no fault of any card, said in the
    // final message before the notes.
    void setSheetNote(const QString& note) { sheetNote_ = note; }
    const QString& sheetNote() const { return sheetNote_; }
    // The note of a card made as the canvas shows it, with these texts cut (named by itemName); empty when
    // there are none.
    static QString textsCutNote(const QStringList& texts);

    // Every record whose card is not whole, each with what is wrong with it, for the run's list: a line per
    // record and wrong, tab-separated under a heading (record as people count them, the guest's first value
    // as `firstValue` gives it, what is wrong), in record order. Empty when the cards are whole.
    QByteArray recordList(const std::function<QString(int record)>& firstValue) const;
    // The line every such list begins with.
    static QByteArray recordListHeading() { return QByteArrayLiteral("Record\tFirst value\tWhat is wrong\n"); }

private:
    void wrong(int record, const QString& what); // with the lock held

    QString sheetNote_;
    std::atomic<bool> reported_ { false };
    mutable std::mutex lock_;
    std::set<int> withoutSymbol_;
    std::set<std::pair<int, QString>> picturesNotFound_;
    std::set<int> withPictureNotFound_;
    std::set<int> withColumnNotFound_;
    QStringList columnsNotFound_;
    std::set<int> withSeriesWithoutValue_;
    std::set<int> withBarcodeTooSmall_;
    QStringList barcodesTooSmall_;
    std::set<int> withTextCut_;
    QStringList textsCut_;
    std::set<int> withDataRanOut_;
    QStringList dataRanOut_;
    std::set<int> withBarcodeWithoutValue_;
    QStringList barcodesWithoutValue_;
    std::set<int> withBlankRow_;
    QStringList blankRowColumns_;
    std::set<std::pair<int, QString>> wrong_; // every record and what is wrong with its card
    std::set<int> withWorkingCopy_;
    QStringList workingCopies_;
    std::set<int> withTooLarge_;
    QStringList tooLarge_;
    std::set<int> withUnreadable_;
    QStringList unreadable_;
};

// The record fill: the values of one record written into items. Only items whose class is exactly
// TSLText, TSLImage or TSLBarcode take data; an item bound to a source that is off keeps what it shows.
namespace Record_Fill {

// The files named by the side's shown picture items that cannot be found, in item order.
QStringList picturesNotFound(const TSLGraphicList& items);
// The shown texts of the side that are cut by their box or reach past the card (an empty card: the box
// alone), in item order, each named by itemName.
QStringList textsCut(const TSLGraphicList& items, const QRectF& card, const Record_Source* source);
// How a final message names an item: by the data it is bound to (`series "Guests"`, `column "Seat"`) while
// that source is in use, else by its kind and the start of its text (`text "Dear guests, join us…"`).
QString itemName(const TSLGraphic& item, const Record_Source* source);
// `kind "the start of characters…"`, shortened at a word, or the kind alone when there are none.
QString kindAndStart(const QString& kind, const QString& characters);
// The column titles that items bound to the spreadsheet want and its rows do not have, one per item.
QStringList columnsNotFound(const TSLGraphicList& items, const Record_Source& source);
// The sentence naming them before a run ("2 items are bound to columns this sheet does not have: Photo,
// Seat"); empty when there are none.
QString columnsNotFoundNotice(const QStringList& titles);

// The bound columns of a record's row, named as `column "Name"`, when the row is there and every value the
// items of the sides take from it or from a series is blank; empty when one is not.
QStringList blankRowColumns(
    std::initializer_list<const TSLGraphicList*> sides, int record, const Record_Source& source);

// The record's first value that the sides show: of the first item bound to a source in use that gives a
// value that is not blank; empty when none does.
QString firstValue(std::initializer_list<const TSLGraphicList*> sides, int record, const Record_Source& source);

// Records by their numbers as people count them, the first few named: "records 2, 5 and 9".
QString recordNumbers(const std::set<int>& records);

// Whether the item takes part in data binding at all (the exact class, never a subclass).
bool takesData(const TSLGraphic& item);
// Whether the side holds an item of the three kinds bound to the source code (1 series, 2 spreadsheet).
bool sideUses(const TSLGraphicList& items, int sourceType);

// The value the item gets for the record, trimmed; none when the item takes no value from this source.
// A spreadsheet row without the bound column gives "" and is logged. An item bound to a series that gives
// it no value (none chosen, or one not loaded) gets none, so it shows on every card what the canvas shows.
// A source that has run out, and a blank barcode value, give "" and are logged; a blank text is a value.
std::optional<QString> valueFor(const TSLGraphic& item, int record, const Record_Source& source, Record_Fill_Log* log);

// Where a barcode's symbol for a value comes from: made with the settings (Item_Barcode_Drawing) unless a run
// keeps the symbols it has made. `item` is the one being filled, at `index` of its list.
using Symbol_Maker = std::function<std::shared_ptr<const TSLBarcode_Drawing>(
    size_t index, const TSLGraphic& item, const QString& value, Barcode_Gen& settings)>;

// Writes record N's values into the items (Assign_Batch_Values_To_Control). Barcodes are made again with
// the given settings object, which becomes the calling thread's own while it works.
// A barcode gets its symbol as a drawing, drawn at each output's resolution, and also as a picture (which a
// saved design keeps) when pictures is true.
void Assign_Batch_Values_To_Control(const TSLGraphicList& items, int record, const Record_Source& source,
    Barcode_Gen& settings, Record_Fill_Log* log, bool pictures = true, const Symbol_Maker& symbols = {});

// One value into one item: a text's characters (keeping its formatting), a picture's path, a barcode's symbol.
// False when a barcode's value has no symbol: the item then shows nothing, not even the sample.
bool assignValue(TSLGraphic& item, const QString& value, Barcode_Gen& settings, bool pictures = true,
    const std::function<std::shared_ptr<const TSLBarcode_Drawing>()>& symbol = {});

// The barcode picture of an item for a value, with the item's own symbology, layout, header and footer,
// made on the generator's batch road with the given settings.
QImage Record_Barcode_Picture(Barcode_Gen& settings, const TSLGraphic& item, const QString& value);

} // namespace Record_Fill
