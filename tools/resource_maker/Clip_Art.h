#pragma once

#include <QString>

// Draws the picture library's clip-art into <folder>/<category>/<name>.png; false when a file cannot be
// written. Categories are stored in lower case, as a user's own folders may be.
bool writeClipArt(const QString& folder);
