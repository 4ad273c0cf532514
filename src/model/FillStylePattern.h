#pragma once

#include <QImage>
#include <QString>

// The hatch pattern picture of a fill-style name: "<Resource_Path>/Fill_Style_Image/<name>.png".
// A name that is not a plain file name (empty, with a path separator, "." or "..") and a picture that is
// missing or unreadable give a null picture; each such name is logged once. Safe on any thread: loaded
// pictures are shared through a small cache that notices when a file changes.
QImage fillStylePattern(const QString& name);
