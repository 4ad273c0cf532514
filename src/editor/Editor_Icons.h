#pragma once

#include <QIcon>
#include <QString>

// The main window's icons, drawn by the program itself so that they look the same on every desktop.
// GUI thread only.

// The palette icon of a tool code (0 arrow ... 15 polygon); an empty icon for any other code.
QIcon toolIcon(int toolCode);

// The tool-bar icon of a command: "new", "open", "save", "saveas", "undo", "redo", "cut", "copy",
// "paste", "delete", "front", "back", "lock", "unlock", "export", "print", "mail", "series", "spreadsheet", "help",
// "exit". An empty icon for any other name.
QIcon commandIcon(const QString& name);
