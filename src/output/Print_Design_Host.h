#pragma once

#include "output/Batch_Snapshot.h"
#include "output/Card_Export_Settings.h"

#include <functional>
#include <memory>

// What export, printing and e-mail need of the open design: which data sources it uses and how many
// records they hold, a snapshot of the sides and records for a run, the first record put back on the
// canvas after a run, and the export settings they share. The editor answers in the program; tests answer
// with a design of their own.
class Print_Design_Host {
public:
    virtual ~Print_Design_Host() = default;

    // Works out afresh which sources the design uses and how many records they hold.
    virtual void Check_Series_Or_Excel_Use_or_not() = 0;
    // Switches a source off for this run when its box is not ticked, and counts the records again.
    virtual void keepSources(bool series, bool spreadsheet) = 0;
    virtual bool usesSeries() const = 0; // Use_Data_Sheet_Values
    virtual bool usesSpreadsheet() const = 0; // Use_Excel_Binding_Values
    virtual int recordCount() const = 0; // Total_Batch_Excel_Card
    // While a window is open on the design: `changed` runs on the GUI thread, after the events of the moment,
    // each time the records change under it (the bound workbook saved again), with the sources kept as
    // they were chosen. An empty function stops it.
    virtual void onRecordsChanged(std::function<void()> changed) = 0;

    // GUI thread: both sides with the records as they stand.
    virtual std::shared_ptr<const Batch_Snapshot> takeSnapshot() const = 0;
    // The editor shows the first record again after a job that printed records.
    virtual void Select_first_row_value_for_design() = 0;
    // The export window's last choices; e-mail draws its cards at their resolution.
    virtual Card_Export_Settings exportSettings() const = 0;
    // The design's name, which print jobs carry as their title.
    virtual QString designName() const = 0;
    // What the design is known by, saved or not and whatever its file is called (TSLDocument::designIdentity): the
    // mails sent of it are kept under it.
    virtual QString designIdentity() const = 0;
};
