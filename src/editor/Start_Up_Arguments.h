#pragma once

#include <QString>
#include <QStringList>

// The designs named when the program is started: `tessaline card.dcard`, or the file manager's
// `tessaline %f`. Every argument after the program's name that is not an option (after "--" every
// argument is a name), in the order given, as an absolute path; a file: URL gives its local path.
QStringList designPathsFromArguments(const QStringList& arguments, const QString& workingFolder);

// What a person is told when more designs are named than the one window opens: which one opens and
// which were left. Empty for one design or none.
QString designsLeftMessage(const QStringList& paths);
