#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The list a batch export leaves in its folder of the files it wrote there. A later export into the same
// folder tells by it the cards of an earlier export from anything else the folder holds: only a file on the
// list that is still a regular file of this user (never a link) is taken for one of the program's own, and
// only such a file is ever removed.
namespace Export_Folder_List {

// A name of the program's own, hidden among the cards.
inline const QString fileName = QStringLiteral(".Tessaline Card export list");

// The files on the folder's list that are still regular files of this user in the folder, in the list's
// order; none when there is no list or it is not one of ours.
QStringList listedFiles(const QString& folder);

// Of those, the ones not in `written`: files of an earlier export that a run writing `written` leaves.
QStringList leftBesides(const QString& folder, const QSet<QString>& written);

// Removes those of `names` that are still files of ours in the folder; the number removed.
int remove(const QString& folder, const QStringList& names);

// Puts the list in the folder, through the checked save; false with the system's reason when it cannot be
// written (a list that is a link is never written through).
bool write(const QString& folder, const QStringList& names, QString* error = nullptr);

// What to do with the files of an earlier export a run leaves.
enum class Earlier { Cancel, Remove, Keep };
// Asks the person, naming how many files there are; Cancel ends the run before anything is written.
Earlier ask(const QString& folder, int files);

} // namespace Export_Folder_List
