#pragma once

#include "model/TSLBarcode.h"

#include <QString>

#include <atomic>
#include <functional>
#include <set>
#include <vector>

class Batch_Snapshot;
class Record_Source;

// A shown barcode that card pictures draw with modules too small for barcode readers, named as a person
// knows it ("the DataMatrix barcode of series "Guests"").
struct Unreadable_Barcode {
    QString item;
    TSLBarcode::Small_Modules modules;
    std::set<int> records; // the run's cards that have it too small; none for a barcode of fixed value
    int runRecords = 0; // cards of the run
};

// A shown text that its box or the card cuts, named as a person knows it ("the text of series "Guests"").
struct Cut_Text {
    QString item;
    std::set<int> records; // the run's cards that cut it; none for a text of fixed value cut on every card
    int runRecords = 0; // cards of the run
};

// What the look at every card before a run found: barcodes too small for their readers and texts cut.
struct Run_Look {
    std::vector<Unreadable_Barcode> barcodes;
    std::vector<Cut_Text> texts;
};

// Whether the barcodes of a card, or of every card of a run, are drawn large enough at an output resolution
// for the readers the cards are scanned with; the warning before a run and the note after it.
namespace Barcode_Readability {

// The item's symbology and where its value comes from: its series, its column or the value it holds.
QString itemName(const TSLGraphic& item, const Record_Source& source);

// The side's shown barcodes too small at dpi, in item order.
std::vector<Unreadable_Barcode> unreadable(const TSLGraphicList& items, int dpi, const Record_Source& source);

// How far a run's look at its barcodes has come, and its Stop; read and set from any thread.
struct Run_Check {
    std::atomic<int> checked { 0 }; // records looked at, over every barcode
    std::atomic<int> total { 0 }; // records times barcodes, set when the look starts
    std::function<bool()> stopped; // none: the look goes to its end
};

// Before a run: the barcodes of the chosen sides too small at dpi with the value of any record, each with
// the records whose cards have it too small. A symbol's size follows its value, so every value is looked at;
// each value's symbol is made once and kept in the snapshot for the run's cards that show it. A look
// stopped through `check` gives what it had found.
std::vector<Unreadable_Barcode> unreadableInRun(
    const Batch_Snapshot& snapshot, bool front, bool back, int dpi, Run_Check* check = nullptr);

// Before a run: its barcodes as unreadableInRun finds them (none looked at when dpi is 0, for an output with
// no pixels) and the shown texts of the chosen sides that their box or the card cuts with the value of any
// record, each value laid out once. Without records the sides are looked at as they stand. A look stopped
// through `check` gives what it had found.
Run_Look lookAtRun(const Batch_Snapshot& snapshot, bool front, bool back, int dpi, bool records, Run_Check* check);

// The warning and the question a run asks before anything is written, printed or sent; empty when the look
// found nothing.
QString runQuestion(const Run_Look& look, int dpi, const QString& goingOn);

// What the person is told of one cut text.
QString warningText(const Cut_Text& text);

// The warning and the question a run asks before anything is written or sent (`going on`: "Export the cards
// anyway?"); empty when there is nothing to warn of.
QString runQuestion(const std::vector<Unreadable_Barcode>& barcodes, int dpi, const QString& goingOn);

// What the person is told of one barcode: which one, how its modules would be drawn and what its readers need.
QString warningText(const Unreadable_Barcode& barcode, int dpi);

// Shows the warning for every barcode given, in one message; false when there are none.
bool warn(const std::vector<Unreadable_Barcode>& barcodes, int dpi);

} // namespace Barcode_Readability
