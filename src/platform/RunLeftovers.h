#pragma once

#include <QString>

namespace platform {

// What a run killed before its end (kill -9, a power cut) leaves behind: temporary folders in the system's
// temporary folder and half-written ".part" files beside batch pictures. Each carries the number of the
// process that made it; the next run of the same kind removes those whose process is gone, or whose
// number now belongs to a process started after they were last written. Nothing else is touched.

// A QTemporaryDir template for a run folder of `kind` ("tessaline-sheet", "tessaline-mail"):
// "<temporary folder>/<kind>-<pid>-XXXXXX".
QString runFolderTemplate(const QString& kind);

// Removes the leftover run folders of `kind` in `base` (the system's temporary folder when empty); the
// number removed.
int removeLeftoverRunFolders(const QString& kind, const QString& base = QString());

// Removes the leftover ".<name>.<pid>-<n>.part" files of replaceFileUnsynced in the folder; the number
// removed.
int removeLeftoverPartFiles(const QString& folder);

} // namespace platform
