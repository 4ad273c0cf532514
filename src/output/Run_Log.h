#pragma once

#include <QDateTime>
#include <QDir>
#include <QString>

#include "platform/OpenFolder.h"

class Batch_Snapshot;

// The list of every card of a run that is not whole, written where the person finds it: beside the run's
// output (in the export folder, beside a PDF file of sheets) or, for sheets sent to a printer and for mailed
// cards, in the data folder. The final message says where it is; the message itself names only the first few
// records.
namespace Run_Log {

// The name of the list in an export folder; a name of the program's own, so that nothing of the person's
// is ever written over.
inline const QString exportFileName = QStringLiteral("Tessaline Card notes.log");

// Beside a PDF file of sheets: "Guests (Tessaline Card notes).log" for "Guests.pdf".
QString besideFile(const QString& path);
// In the data folder's "Print Logs", named by the time: for sheets that went to a printer.
QString inPrintLogs();
// In the data folder's "Mail Logs", beside the lists of mails not sent, named by the time: for mailed cards.
QString inMailLogs();
// A log of `kind` ("Print run", "Mail run") in `folder`, named by the time `when`; a second run within the
// same second gets " (2)" and so on, so that no run's log is written over by the next one's.
QString timedName(const QDir& folder, const QString& kind, const QDateTime& when);

// Writes the snapshot's list of cards not whole to `path`, readable by its owner alone (it names the guests);
// false with the system's reason when it cannot be written. Nothing is written when the cards are whole.
// A path's missing folder is made; `written`, when given, gets what shows the file is the one written.
bool write(const Batch_Snapshot& snapshot, const platform::FilePlace& path, QString* error = nullptr,
    platform::FileIdentity* written = nullptr);

// Whether the snapshot's run has cards that are not whole, for which write() writes a list.
bool needed(const Batch_Snapshot& snapshot);

// The sentence a final message ends with: where the whole list is.
QString note(const QString& path);
// Writes the list (write) and gives that sentence, or the one saying why it could not be written.
QString writeAndNote(const Batch_Snapshot& snapshot, const QString& path);

// Removes the list beside the file at `path` (besideFile) that an earlier run left, once a run whose cards are
// all whole has written that file again: only when it is provably the program's own, a regular file of this
// user by that name (never a link) that begins as write() begins every list. True when one was removed.
bool removeBeside(const QString& path);

} // namespace Run_Log
