#pragma once

#include "platform/CheckedSave.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A save writes a temporary copy beside the file, "<name>.XXXXXX" with six random letters, and renames it
// over the old file. A program killed between the two leaves the copy behind; these helpers find such
// copies, and make a finished rename last through a power cut.

using platform::syncFolder;

// Copies a cut-short save of path left behind: regular files named as above (mixed-case letters, as the
// temporary names are) whose content is empty or begins as `start` does, or is a beginning of it.
// Anything else of a similar name is a file of the user's and is never listed.
QStringList strayCopiesOf(const QString& path, const QByteArray& start);

// Removes what strayCopiesOf lists; the number removed.
int removeStrayCopiesOf(const QString& path, const QByteArray& start);
