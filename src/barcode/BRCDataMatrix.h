#pragma once

#include "barcode/BarcodePicture.h"
#include "barcode/DataMatrix_Symbol_Builder.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The fewest whole pixels a DataMatrix module needs, across and down, for barcode readers to read the symbol:
// measured on card pictures of every square and rectangular size with ZXingReader, which reads them all
// from two; one pixel either way is read by neither ZXingReader nor dmtxread.
constexpr int DataMatrix_Readable_Pixels = 2;

// DataMatrix ECC200 symbols through the iec16022 library: the dialog's size and encodation choices, the call,
// the symbol as Encapsulated PostScript and as a picture.
class BRCDataMatrix {
public:
    struct Symbol {
        int W = 0; // columns
        int H = 0; // rows
        std::vector<unsigned char> grid; // W x H, row 0 at the bottom; non-zero = dark
        QByteArray encoding; // the encodation letters the library used
        int dataCodewords = 0;
        int capacity = 0;
        int eccCodewords = 0;

        bool dark(int x, int y) const { return grid[static_cast<size_t>(y) * W + x] != 0; }
    };

    // "C<rows>X<columns>" gives the size; "Auto" or a name that cannot be split gives 0 x 0.
    static void sizeFromFormat(const QString& format, int* W, int* H);
    // One letter per byte for "Ascii", "C40", "Text", "Base256"; empty (library's choice) otherwise.
    static QByteArray encodingString(const QString& choice, int length);

    // Encodes all the bytes of data (W = H = 0: the size with the fewest data codewords that holds it) in
    // the given letters, or in the library's choice of encodation when none are given. ASCII is tried when
    // the chosen encodation does not fit. On failure writes the report lines to the standard streams and
    // returns nothing.
    static std::optional<Symbol> encode(const QByteArray& data, int W, int H, const QByteArray& encoding);

    // The encodation letters with the bytes their encodation cannot carry put in ASCII: above 127 in C40 and
    // Text, all but capitals, digits, space, CR, "*" and ">" in X12, all but 32 to 94 in EDIFACT.
    static QByteArray validLetters(const QByteArray& data, const QByteArray& encoding);

    // The EPS text of a symbol: one module of margin, row 0 at the bottom, dark modules as 0 bits.
    static QByteArray makeEPS(const QByteArray& data, const Symbol& symbol);
    // The picture: (W + 2) x (H + 2) points with a white one-module margin, re-sampled to dpi
    // (clamped to the accepted range), then sized to W x moduleSize by H x moduleSize points.
    static BarcodePicture makePicture(const Symbol& symbol, int moduleSize, int dpi);

private:
    // The library's choice of encodation for data, made valid for each byte.
    static QByteArray chosenLetters(const QByteArray& data);
    static std::optional<Symbol> encodeIn(const QByteArray& data, int W, int H, const QByteArray& letters);
    static Symbol fromGrid(const DataMatrix_Symbol_Builder::Grid& grid, const QByteArray& encoding);
};
