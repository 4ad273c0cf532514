#pragma once

#include <QLocale>
#include <QString>

#include <optional>

class QObject;
class QValidator;

// How every number field of the program reads and shows its text. A field reads the locale's decimal
// separator and the point alike and never drops a separator it does not understand; a length field also
// takes a unit typed after the number (mm, cm, in, pt) and converts it into its own. Numbers are shown
// in the locale's style without group separators, so what is shown reads back as the same number.
enum class Number_Unit { None, Millimetre, Point };

struct Number_Reading {
    std::optional<double> value; // in the field's own unit
    QString refusal; // why the text is not a number of this field, empty when it is
};

// The unit a field's suffix names (" mm", " pt"); None for any other suffix.
Number_Unit Number_Unit_Of_Suffix(const QString& suffix);

// Reads `text` (a trailing copy of the field's own `suffix` is allowed) as a number in `unit`.
Number_Reading Read_Number_Text(
    const QString& text, const QLocale& locale, Number_Unit unit, const QString& suffix = {});

// A validator for a plain text field (its parent) that lets only digits, signs and separators be typed,
// the field's locale's own among them.
QValidator* Make_Number_Validator(QObject* parent);

// The number with at most `decimals` places and no trailing zeros, in the same style.
QString Show_Short_Number_Text(double value, int decimals, const QLocale& locale);

// The number as the field shows it: `decimals` places, the locale's decimal
// separator, no grouping.
QString Show_Number_Text(double value, int decimals, const QLocale& locale);
