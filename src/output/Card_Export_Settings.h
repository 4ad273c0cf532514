#pragma once

#include <QString>

// The export window's choices, which the single export, the batch export and e-mail share.
struct Card_Export_Settings {
    QString cardSide = QStringLiteral("F"); // "BOTH", "F" or "B"
    bool combined = false; // one stacked picture per card when both sides are exported
    int dpi = 72; // dots per inch of the pictures
    QString extension = QStringLiteral("PNG"); // the file type's title, a batch's extension unchanged
};
