#pragma once

#include <QString>
#include <QStringList>

// The values that the series import wizard takes from a text, CSV or RTF file, from typed lines and from a
// picture folder. No widgets: the wizard shows the messages and writes the values.

struct Import_Source_Values {
    QStringList values;
    QString error; // the message for the user; empty when the source was read
};

// One piece of a text file made into a value: every "\", "{" and "}" removed, then trimmed.
QString chk_and_insert_validation(const QString& piece);

// A file's text in the encoding it shows (a byte-order mark, else UTF-8, else Windows-1252); empty when the
// bytes are no text at all (NUL bytes without a UTF-16 or UTF-32 mark).
QString decodeImportedText(const QByteArray& bytes, bool* ok);

// Values of a .txt, .csv or .rtf file: lines (ended by "\r\n", "\r" or "\n"), each cleaned; a CSV line is
// also split at every ","; empty values are skipped.
Import_Source_Values Text_File_Values(const QString& path);

// Typed lines: the whole text trimmed once, split at "\n"; the lines are kept as typed, empty ones skipped
// unless `keepEmpty` (the series manager's list keeps a blank line between values as a blank record).
// Error when there is no text.
Import_Source_Values Typed_Line_Values(const QString& text, bool keepEmpty = false);

// Full paths of the picture files directly inside a folder (jpg, jpeg, jpe, jfif, gif, bmp, png, tif, tiff
// in any case), by name; subfolders are never entered.
QStringList Picture_Folder_Values(const QString& folder);

// A trimmed, non-empty path of an existing file or folder. Otherwise the user is told "Please select valid
// file path." and the answer is false.
bool Validate_Import_Path(const QString& path);
