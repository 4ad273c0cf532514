#pragma once

#include <QString>

#include <string>
#include <string_view>

// Cell references, column letters and the number rule of spreadsheet parts.

// The letters of a cell reference: its characters up to the first of the digits 1 to 9.
QString Get_Column_Char_Str(const QString& ref);

// Column letters to a number for one or two letters: base 64 gives A = 1, base 65 gives A = 0.
int Get_Col_index(const QString& letters, int base);

// The first character's code, low 8 bits.
int Asc_Val(const QString& s);

// 0-based column index of a cell reference, any number of letters up to the sheet's 16384 columns
// (A = 0, XFD = 16383); -1 when the reference has no column letters or lies beyond the last column.
int columnIndexOfReference(const QString& ref);
int columnIndexOfReference(std::string_view ref);

// The name of a 1-based column number in A1 notation: 1 A, 27 AA, 703 AAA; empty for 0 or less.
QString ColumnIndexToName(int column);

// A stored number as spreadsheet programs show it: at most 15 significant digits, in plain notation
// unless its exponent is below -5 or above 14 ("1.5E-10", "1E+20"); text that is not a finite number in
// the file's notation comes back as it is. Dates stay serial numbers.
std::string shownNumber(std::string_view stored);
// True when a stored number is already shown as it is stored ("12", "-0.5", "0.0001"), told from its
// characters alone: such a cell needs no reading and formatting.
bool isShownAsStored(std::string_view stored);

// A cell in a date or time format as a person reads it: "2026-07-12", "18:30", "2026-07-12 18:30", from the
// serial number the cell stores (days from 1900, or from 1904 for a workbook counting from then) or from a date
// stored as ISO 8601 text. Anything else comes back as it is.
QString shownDate(const QString& stored, bool from1904);

// True when a written cell should be stored as a number: when that number reads back as the same text
// (shownNumber), so "0012", "+5", "1.50" and numbers of more than 15 significant digits stay text.
bool isSpreadsheetNumber(const QString& value);

// Widest sheet of the file format.
constexpr int kMaxSheetColumns = 16384;
