#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// Writes the bytes to a new temporary file in the target's folder and renames it over the target, as
// QSaveFile does, but without waiting for the disk to confirm the write: for many small files made in
// a row (batch pictures), where the wait would cost more than the work. An interrupted write never
// leaves a half file under the name; a crash of the whole system may lose files written just before.
// An existing target's permissions are kept. False with the reason on failure, the temporary removed.
bool replaceFileUnsynced(const QString& path, const QByteArray& data, QString* error = nullptr);

// Waits until the files and the folder's entries are on the disk: the one wait at the end of a run of
// replaceFileUnsynced writes. Only these files are waited for, never the other writes of the file system;
// files that are not there are passed over. False with the first file's reason when a flush fails.
bool syncFilesToDisk(const QStringList& files, const QString& folder, QString* error = nullptr);

// Told of each file and folder that syncFilesToDisk flushes; for tests, none by default.
void setSyncObserver(std::function<void(const QString& path)> observer);

} // namespace platform
