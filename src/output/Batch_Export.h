#pragma once

#include "output/Batch_Snapshot.h"
#include "output/Card_Image_File.h"
#include "output/Export_Folder_List.h"
#include "platform/OpenFolder.h"

#include <QImage>
#include <QSet>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// The folder a batch export writes into, inside the folder the user chose.
inline const QString Batch_Export_Folder_Name = QStringLiteral("Varnel Tessaline Card");

// One picture of both sides: twice the front's height, the front above and the back below.
inline QImage Combined_Card_Image(const QImage& front, const QImage& back)
{
    return Card_Image_File::combine(front, back);
}

// What a batch export is asked to do.
struct Batch_Export_Job {
    std::shared_ptr<const Batch_Snapshot> snapshot;
    QString folder; // the export folder itself (Batch_Export_Folder_Name inside the chosen one)
    QString extension; // the file type's title, used unchanged
    QString cardSide = QStringLiteral("F"); // "BOTH", "F" or "B"
    bool combined = false; // one stacked picture per record when both sides are exported
    int dpi = 300;
    int threads = 0; // 0: every core
    // The folder as it was opened when the person was asked about it: every look, removal and write of the
    // run goes through it. Opened from `folder` as the run starts when not given.
    std::shared_ptr<const platform::OpenFolder> opened = nullptr;
    // What the folder held of earlier exports when the person was asked; looked at as the run starts when
    // not given. With removeEarlier, those of its files the run leaves and that are still as written go.
    std::shared_ptr<const Export_Folder_List::Look> earlier = nullptr;
    bool removeEarlier = false;
};

struct Batch_Export_Result {
    int records = 0; // records of the run
    int written = 0; // records whose files were all written
    bool stopped = false; // the user stopped it
    bool cancelled = false; // the person answered Cancel before anything was written
    int withPictureNotFound = 0; // records whose cards went without a picture that cannot be found
    QString notes; // what the cards went without, for the final message (Record_Fill_Log::notes), and where
                   // the list of every card not whole is
    QString sheetNote; // what the bound sheet told of its rows, no fault of any card
    QString folderNote; // what the folder now holds, after an export into a folder of an earlier one
    QString failure; // the first write that failed; empty when none did
    bool succeeded() const { return failure.isEmpty(); }
};

// Writes one card per record on all cores. Workers take the next record in turn (so no more records are
// in memory than there are workers, whatever the count), render and encode it and write its files under
// the record's name. The stop flag is read before each record; the first failed write ends the run.
// Counters may be read from any thread while it runs.
class Batch_Export {
public:
    explicit Batch_Export(std::atomic<bool>& stop)
        : stop_(stop)
    {
    }

    // Blocks until the run ends; call it off the GUI thread when a window must stay alive.
    Batch_Export_Result run(const Batch_Export_Job& job);

    int started() const { return started_.load(); } // records taken so far (the progress)

    // File names of record i (from 0): "Card_<i+1>.<ext>" and its back, "Card_<i+1>_Back.<ext>".
    static QString frontPath(const QString& folder, int record, const QString& extension);
    static QString backPath(const QString& frontPath);
    // Makes the export folder (with the user's default permissions); false when it cannot be made.
    static bool makeFolder(const QString& folder);
    // The names of the files the job writes into its folder when every card is written.
    static QSet<QString> filesOf(const Batch_Export_Job& job);
    // The files an earlier export wrote into the folder (as `look` found them) that the job will not write.
    static std::vector<Export_Folder_List::Entry> earlierLeft(
        const Batch_Export_Job& job, const Export_Folder_List::Look& look);

private:
    // The pictures a worker draws its records into, kept for the whole run so that no record asks the
    // system for new memory; and the worker's own lane to the disk flushes.
    struct Canvases {
        QImage front;
        QImage back;
        QImage combined;
        int lane = 0;
        Batch_Card_Bases* bases = nullptr; // the run's, shared by its workers
    };

    // What the run does with an earlier export's files, and the folder's list begun with those that stay.
    struct Earlier {
        Export_Folder_List::Look look;
        std::vector<Export_Folder_List::Entry> left; // not written by this run
        QSet<QString> removed;
        QSet<QString> ours; // the names this run writes
    };

    // After the cards: the list of every card not whole beside them, named on the folder's list, and what
    // the folder now holds, told in the result.
    static void finishList(const Batch_Export_Job& job, const platform::OpenFolder& folder,
        Export_Folder_List::Writer& list, const Earlier& earlier, Batch_Export_Result& result);

    // Renders and writes one record into the open folder, each file's proof into `files`; an empty text on
    // success, the failure otherwise.
    QString exportRecord(const Batch_Export_Job& job, const platform::OpenFolder& folder, int record,
        Canvases& canvases, std::vector<Export_Folder_List::Entry>& files) const;

    std::atomic<bool>& stop_;
    std::atomic<int> started_ { 0 };
};
