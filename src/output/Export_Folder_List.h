#pragma once

#include "platform/OpenFolder.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

// The list a batch export keeps in its folder of the files it wrote there, each with what shows it is still
// the very file written (FileIdentity). A later export into the same folder tells by it the cards of an
// earlier export from anything else the folder holds: only a file on the list that is still a regular file of
// this user, as it was written, is taken for one of the program's own, and only such a file is ever removed.
// A run names each file on the list as soon as it is written, so that a run killed half way leaves a list of
// what it wrote. Every look goes through the folder the run holds open, never through a link.
namespace Export_Folder_List {

// A name of the program's own, hidden among the cards.
inline const QString fileName = QStringLiteral(".Tessaline Card export list");

// A file on the list.
struct Entry {
    QString name;
    platform::FileIdentity identity;
};

// What the folder holds of the exports made into it before.
struct Look {
    bool listed = false; // the folder holds a list of the program's own
    bool listTaken = false; // the list's name is taken by something else: a link, a pipe, another's file
    std::vector<Entry> files; // still as the program wrote them, in the list's order
    QStringList changed; // listed, there still, but no longer as written (edited, replaced, a link)
    QStringList unproven; // named by a list without proofs (one of an older version), there still
};

// Reads the folder's list and looks at each file it names; on the run's worker, as a list may name many.
Look look(const platform::OpenFolder& folder);

// The files of an earlier export a run writing `written` leaves: of the look's files those not in `written`.
std::vector<Entry> leftBesides(const Look& look, const QSet<QString>& written);
// Of the look's changed and unproven files, those not in `written`.
QStringList keptBesides(const QStringList& files, const QSet<QString>& written);

// Removes those of the files still as written; the names of those removed.
QSet<QString> remove(const platform::OpenFolder& folder, const std::vector<Entry>& files);

// The sentences a final message tells of the files of an earlier export kept because they cannot be proven
// the program's own; empty when there are none.
QString keptNote(const QStringList& changed, const QStringList& unproven);
// The sentence a final message tells when the list cannot be kept.
QString noListNote(const QString& folder);

// The list as a run writes it: anew, with the entries of earlier exports it carries over, then a line per
// file as soon as the file is written, through the one handle the list was opened with. Safe on any thread.
class Writer {
public:
    Writer(std::shared_ptr<const platform::OpenFolder> folder, std::vector<Entry> carried);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Puts the list in the folder with the entries carried over (done by the first add otherwise); false with
    // the system's reason when it cannot be written. A list whose name is taken is never written, and is no
    // failure: keepsNoList() tells of it.
    bool begin(QString* error = nullptr);
    // Appends the files' lines, checked and handed to the system at once; false with the reason.
    bool add(const std::vector<Entry>& files, QString* error = nullptr);
    // Waits for the list to reach the disk and closes it.
    bool finish(QString* error = nullptr);
    bool keepsNoList() const { return taken_; }

private:
    bool beginLocked(QString* error);

    std::shared_ptr<const platform::OpenFolder> folder_;
    std::vector<Entry> carried_;
    std::mutex lock_;
    int handle_ = -1;
    bool begun_ = false;
    bool taken_ = false;
};

// What to do with the files of an earlier export a run leaves.
enum class Earlier { Cancel, Remove, Keep };
// Asks the person, naming how many files there are; Cancel ends the run before anything is written.
Earlier ask(const QString& folder, int files);

} // namespace Export_Folder_List
