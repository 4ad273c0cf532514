#pragma once

#include <QStringList>

// Entry lists of the barcode dialog's choices. Items store entry indexes, so an order here must never
// change once designs are saved; new entries go at the end.

// Symbology titles; index 0 is the item default and must be a linear symbology.
const QStringList& Barcode_Type_Titles();
// Titles of the 2-D symbologies among them.
bool Barcode_Type_Is_2D(const QString& title);

const QStringList& Barcode_Align_Entries(); // "Left", "Center", "Right"
const QStringList& Barcode_QR_Version_Entries(); // "Auto", then "V1" to "V40"
const QStringList& Barcode_QR_EC_Level_Entries(); // L, M, Q, H in this order
const QStringList& Barcode_DM_Format_Entries(); // "Auto", then "C<rows>X<columns>"
const QStringList& Barcode_DM_Encoding_Entries(); // "Auto", "Ascii", "C40", "Text", "Base256"
const QStringList& Barcode_DPI_Entries(); // "Auto", "Custom", then resolutions in dots per inch
