#pragma once

#include <QString>
#include <QStringList>

// Plain values that stand for the barcode dialog's controls in the settings object. Generation reads
// these values, never widgets, so pictures can be made on any thread; the dialog shows and edits them.

// A check box: its state (0 off, 1 on) and whether the user may change it.
struct Barcode_Check {
    int state = 0;
    bool enabled = true;
};

// A numeric text field kept equal to its stepper, and whether its value is applied.
template <typename T> struct Barcode_Field {
    T value {};
    bool enabled = true;
};

// A combo box or pop-up over a fixed entry list. Items store the entry index; generation reads the
// text of the selected entry.
class Barcode_Choice {
public:
    Barcode_Choice() = default;
    Barcode_Choice(QStringList entries, int index);

    const QStringList& entries() const { return entries_; }
    int index() const { return index_; } // -1 when nothing is selected
    QString text() const; // "" when nothing is selected

    // An index outside the entry list selects nothing, as an item with a stale index would.
    void select(int index);
    // Selects the first entry equal to text; false (and nothing selected) when there is none.
    bool selectText(const QString& text);

    bool enabled = true;

private:
    QStringList entries_;
    int index_ = -1;
};
