#pragma once

#include "output/Batch_Snapshot.h"
#include "output/Print_Sheet_Layout.h"

#include <memory>

// Everything a print job draws from, taken on the GUI thread when the job starts: the layout, the number
// of cards and a snapshot of the design's sides with, when a data source is used, its records.
struct Print_Job {
    Print_Sheet_Layout layout;
    int Total_Label_Real = 0; // cells to hand out in this job
    bool useData = false; // a batch series or the spreadsheet fills the cards
    std::shared_ptr<const Batch_Snapshot> snapshot;

    int records() const { return useData && snapshot ? snapshot->recordCount() : 0; }
};

// One cell of a sheet that gets a card: its place and the record drawn there (-1: the design itself).
struct Print_Cell {
    int row = 1;
    int column = 1;
    int record = -1;
};
