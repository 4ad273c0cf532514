#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Adds lines at the end of a text file of the program's own, as a run's record grows with each thing the run
// did, so that a run killed at any moment leaves every line it finished. The file is opened afresh for each
// addition, never through a link, and only when it is a regular file of this user; it is made, and stays,
// readable by its owner alone. An addition is written whole under a lock every writer of the file takes, after a
// line break when the file's last line was cut short, and is on the disk before it returns. A file not there yet,
// or empty, gets `heading` first; any other must begin with it (after a byte-order mark an editor may have put
// there). False, with the path and the system's reason, when the lines cannot be added.
bool appendLinesPrivately(const QString& path, const QByteArray& heading, const QByteArray& lines, QString* error);

} // namespace platform
