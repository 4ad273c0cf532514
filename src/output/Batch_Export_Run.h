#pragma once

#include "output/Batch_Export.h"

#include <chrono>
#include <functional>

class Print_Design_Host;
class Send_Modeless;

// The batch export as the export command runs it, one card per record of the open design: the export
// folder made inside the chosen one, the progress sheet shown while the cards are written on all cores
// (the window keeps answering), the first record put back on the canvas, and the outcome told.
class Batch_Export_Run {
public:
    Batch_Export_Run(Print_Design_Host& host, Send_Modeless& progress)
        : host_(host)
        , progress_(progress)
    {
    }

    // GUI thread; returns when the run has ended and its notice or failure message was shown.
    Batch_Export_Result run(const QString& chosenFolder);

    // The notice of a run that wrote every file it was asked for: all cards, or those written before Stop.
    static QString finishedMessage(const Batch_Export_Result& result);

    // What the export-finished notice showed; empty when none was shown.
    const QString& noticePath() const { return noticePath_; }
    const QString& noticeMessage() const { return noticeMessage_; }

    // Runs `work` on a thread of its own while the window keeps answering and the sheet's bar follows `done`
    // at every tick; returns as soon as the work is done (platform::whileWindowAnswers). GUI thread.
    static void whileWindowAnswers(Send_Modeless& progress, const std::function<void()>& work,
        const std::function<int()>& done, std::chrono::milliseconds tick = std::chrono::milliseconds(500));

    // The question asked before a run whose barcodes some cards draw too small for their readers.
    static QString goOnQuestion() { return QStringLiteral("Export the cards anyway?"); }

private:
    // The run's barcodes over every record, looked at on a worker while the progress sheet shows and Stop
    // works, before anything is written; a barcode drawn too small is told and the person asked. False when
    // the run is not to go on.
    bool barcodesAllowRun(const Batch_Export_Job& job);
    Batch_Export_Result writeCards(Batch_Export_Job job);
    void tell(const Batch_Export_Result& result, const QString& folder);

    Print_Design_Host& host_;
    Send_Modeless& progress_;
    QString noticePath_;
    QString noticeMessage_;
};
