#pragma once

#include "platform/FileFlusher.h"
#include "platform/OpenFolder.h"

#include <QByteArray>
#include <QString>

namespace platform {

// Writes the bytes to a new temporary file in the target's folder and renames it over the target, as
// QSaveFile does, but without waiting for the disk to confirm the write: for many small files made in
// a row (batch pictures), where the wait would cost more than the work. An interrupted write never
// leaves a half file under the name; a crash of the whole system may lose files written just before.
// An existing target's permissions are kept. False with the reason on failure, the temporary removed.
// `written`, when given, gets what shows the new file is the one written.
bool replaceFileUnsynced(
    const FilePlace& path, const QByteArray& data, QString* error = nullptr, FileIdentity* written = nullptr);

} // namespace platform
