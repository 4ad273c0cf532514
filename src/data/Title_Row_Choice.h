#pragma once

// Where a person said a sheet's titles are: found from the sheet itself, in no row (every row holding a value
// is a record), or in one row named by the sheet's own row number, which hidden and empty rows never shift.
// A ticked titles box is the found row, an unticked one no row, so code that speaks of the box reads on.
struct Title_Row_Choice {
    enum class Kind { Found, None, Row };

    Title_Row_Choice() = default;
    Title_Row_Choice(bool titled) // NOLINT(google-explicit-constructor): the titles box as it was
        : kind(titled ? Kind::Found : Kind::None)
    {
    }
    Title_Row_Choice(int) = delete; // a row number is never taken for a tick
    static Title_Row_Choice none() { return Title_Row_Choice(false); }
    static Title_Row_Choice sheetRow(int number)
    {
        Title_Row_Choice choice;
        if (number > 0) { // a row no sheet has leaves the titles to be found
            choice.kind = Kind::Row;
            choice.row = number;
        }
        return choice;
    }

    bool titled() const { return kind != Kind::None; }
    bool operator==(const Title_Row_Choice&) const = default;

    Kind kind = Kind::Found;
    int row = 0; // the sheet's own row number, from 1, for Kind::Row
};
