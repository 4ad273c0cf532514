#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// The characters of a text item with the attributes they were made with. Drawing uses only the
// characters; the item's own font, colour and layout fields decide how they look.
struct TSLTextStorage {
    QString string;
    QFont font;
    QColor foregroundColor;

    bool operator==(const TSLTextStorage& other) const = default;
};
