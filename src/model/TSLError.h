#pragma once

#include <QString>

// An error of the card model, in the program's own domain.
struct TSLError {
    QString domain;
    int code = 0;
    QString localizedDescription;
    QString localizedFailureReason;
};

extern const QString TSLErrorDomain; // "TessalineErrorDomain"

// Codes: 2 pasted data is not a list of items; 3 the items have an empty drawing area.
TSLError TSLErrorWithCode(int code);
