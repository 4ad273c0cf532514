#pragma once

#include <QString>

// The system's print scheduler, for what the printer classes cannot do: a printer drawn on through them
// sends its job when the drawing ends, even when the person stopped it, and never says whether the queue
// took the job. Sheets are therefore drawn into a file first and handed to the queue whole, here.
namespace platform {

struct PrintQueueState {
    bool found = false; // the scheduler answered and knows the queue
    bool accepting = false; // the queue takes new jobs
    bool paused = false; // the queue holds its jobs until it is resumed
    // Why the queue cannot print now, in the scheduler's words where it gives them; for a paused queue that
    // takes jobs, the reason it was paused with (empty when none was given).
    QString reason;
};

// What the scheduler says of the queue now.
PrintQueueState printQueueState(const QString& queue);

struct PrintQueueJob {
    QString queue;
    QString title; // the job's name, as the queue lists it
    QString pdfPath; // the finished sheets
    QString media; // the paper's key, such as "A4"
    int copies = 1;
    bool landscape = false; // the sheets are already drawn the long side across
    bool twoSided = false;
};

// Hands the finished file to the queue: empty when the queue took the job, else the scheduler's reason.
QString submitPrintJob(const PrintQueueJob& job);

} // namespace platform
