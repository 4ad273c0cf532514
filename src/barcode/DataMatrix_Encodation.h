#pragma once

#include <QByteArray>

#include <optional>

// ECC200 data codewords from bytes and one encodation letter per byte: "A" ASCII, "C" C40, "T" Text,
// "X" X12, "E" EDIFACT, "B" Base256. Each run of one letter is a segment that starts and ends in ASCII.
// How a segment ends depends on the room left in the symbol, because readers return to ASCII on their own
// when only one (C40, Text, X12) or two (EDIFACT) codewords remain: the end of data is therefore made for
// one symbol capacity.
class DataMatrix_Encodation {
public:
    // The codewords that read back as data in a symbol of capacity data codewords, padding excluded; none
    // when they do not fit. letters holds one letter per byte of data.
    static std::optional<QByteArray> codewords(const QByteArray& data, const QByteArray& letters, int capacity);

    // Whether the byte has a value in the letter's encodation.
    static bool carries(char letter, unsigned char byte);
};
