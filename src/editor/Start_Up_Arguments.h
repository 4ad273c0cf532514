#pragma once

#include <QString>
#include <QStringList>

// The design named when the program is started: `tessaline card.dcard`, or the file manager's
// `tessaline %f`. The first argument after the program's name that is not an option (after "--" every
// argument is a name), as an absolute path; a file: URL gives its local path. Empty when none is named.
QString designPathFromArguments(const QStringList& arguments, const QString& workingFolder);
