#pragma once

#include <QString>
#include <QStringList>

// The design named when the program is started: `tessaline card.dcard`, or the file manager's
// `tessaline %f`. The first argument after the program's name that is not an option (after "--" every
// argument is a name), as an absolute path; a file: URL gives its local path. Empty when none is named.
QString designPathFromArguments(const QStringList& arguments, const QString& workingFolder);

// Every design named, in the order given, each as designPathFromArguments gives the first.
QStringList designPathsFromArguments(const QStringList& arguments, const QString& workingFolder);

// What a person is told when more designs are named than the one window opens: which one opens and
// which were left. Empty for one design or none.
QString designsLeftMessage(const QStringList& paths);
