#pragma once

#include <QString>

// Where the program's resources are installed and where the user's data folder is.
namespace platform {

// The installed resources: $TESSALINE_RESOURCE_DIR, else share/tessaline beside or above the program,
// else the source tree's resources (a build that was never installed).
QString installedResourceDir();

// The user's writable data folder: $TESSALINE_DATA_DIR, else the per-user application data location.
QString userDataDir();

// Copies every file of `from` that `to` lacks, folders included (new folders are their owner's alone);
// existing files and folders are left alone.
// Returns false with a reason when a folder cannot be made or a file cannot be copied.
bool seedMissingFiles(const QString& from, const QString& to, QString* error = nullptr);

} // namespace platform
