#pragma once

#include <QString>

// Writes the built-in templates into the folder: for each, a design file <name>.dcard and its preview
// <name>.png, both sides stacked, front above back. False when a file cannot be written.
bool writeBuiltinTemplates(const QString& folder);
