#include "data/Sheet_Heading.h"

#include "common/Common_Functions.h"
#include "data/Sheet_Column_List.h"
#include "data/Spreadsheet_Cells.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

bool filled(const QString& value)
{
    return !Trim_Str(value).isEmpty();
}

int filledCells(const QStringList& row)
{
    return int(std::count_if(row.cbegin(), row.cend(), filled));
}

const Workbook_Row& factOf(const Sheet_Facts& facts, qsizetype place)
{
    static const Workbook_Row none;
    return place >= 0 && place < facts.size() ? facts.at(place) : none;
}

// What a title never is: a number, a date, a truth value or a formula's result, stored as such or typed as text,
// or an e-mail or web address.
bool holdsData(const QString& value, Cell_Kind kind)
{
    if (kind != Cell_Kind::Text)
        return true;
    static const QRegularExpression typed(QStringLiteral("^[+-]?[\\d.,' ]*\\d[\\d.,' ]*%?$" // a number
                                                         "|^\\d{1,4}[-./]\\d{1,2}[-./]\\d{1,4}" // a date
                                                         "|^[^\\s@]+@[^\\s@]+\\.[^\\s@]+$" // an e-mail address
                                                         "|^(https?://|www\\.)"), // a web address
        QRegularExpression::CaseInsensitiveOption);
    return typed.match(Trim_Str(value)).hasMatch();
}

bool holdsDate(const QStringList& row, const Workbook_Row& fact)
{
    for (qsizetype c = 0; c < row.size(); ++c) {
        const Cell_Kind kind = fact.kindAt(c);
        if (filled(row.at(c)) && (kind == Cell_Kind::Date || kind == Cell_Kind::Date1904))
            return true;
    }
    return false;
}

bool titleLike(const QStringList& row, const Workbook_Row& fact)
{
    for (qsizetype c = 0; c < row.size(); ++c) {
        if (filled(row.at(c)) && holdsData(row.at(c), fact.kindAt(c)))
            return false;
    }
    return true;
}

// A cell merged across columns holding the row's only values: a heading over the table.
bool mergedAcross(const QStringList& row, const Workbook_Row& fact)
{
    if (fact.mergedLast <= fact.mergedFirst)
        return false;
    for (qsizetype c = 0; c < row.size(); ++c) {
        if (filled(row.at(c)) && (c < fact.mergedFirst || c > fact.mergedLast))
            return false;
    }
    return true;
}

// The one filled column of a row; -1 for none or several.
qsizetype onlyColumn(const QStringList& row)
{
    qsizetype only = -1;
    for (qsizetype c = 0; c < row.size(); ++c) {
        if (filled(row.at(c))) {
            if (only >= 0)
                return -1;
            only = c;
        }
    }
    return only;
}

// Whether the title row names at least two columns that hold values in the rows below it: a table's titles do,
// even over a column not yet filled, and a note typed beside one guest of a one-column list does not.
bool namesColumnsBelow(const SpreadsheetWriter::Rows& rows, qsizetype titles)
{
    QList<qsizetype> unseen;
    for (qsizetype c = 0; c < rows.at(titles).size(); ++c) {
        if (filled(rows.at(titles).at(c)))
            unseen << c;
    }
    const qsizetype named = unseen.size();
    for (qsizetype r = titles + 1; r < rows.size() && named - unseen.size() < 2; ++r)
        unseen.removeIf([&](qsizetype c) { return filled(rows.at(r).value(c)); });
    return named - unseen.size() >= 2;
}

// Whether the rows at these places stand apart: a row of the sheet lies between them, empty or left out.
bool setApart(const Sheet_Facts& facts, qsizetype above, qsizetype below)
{
    return below > above + 1 || sheetRowNumber(facts, below) > sheetRowNumber(facts, above) + 1;
}

} // namespace

qsizetype foundTitleRow(const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts)
{
    // Only the first rows holding a value can be a heading and the titles, and the titles need a record below.
    QList<qsizetype> top;
    for (qsizetype r = 0; r < rows.size() && top.size() < 4; ++r) {
        if (holdsValue(rows.at(r)))
            top << r;
    }
    if (top.isEmpty())
        return -1;
    for (qsizetype k = 1; k <= 2 && k + 1 < top.size(); ++k) {
        const qsizetype titles = top.at(k);
        const QStringList& titleRow = rows.at(titles);
        if (!titleLike(titleRow, factOf(facts, titles)))
            continue;
        const int width = filledCells(titleRow);
        // Each heading row is one cell over titles of more, or a cell merged across them, or, set apart, holds a
        // date.
        bool merged = false, over = true, apartOrDated = true;
        for (qsizetype i = 0; i < k; ++i) {
            const QStringList& row = rows.at(top.at(i));
            const Workbook_Row& fact = factOf(facts, top.at(i));
            const bool across = mergedAcross(row, fact);
            merged = merged || across;
            const bool single = across || (filledCells(row) == 1 && width > 1);
            over = over && single;
            apartOrDated = apartOrDated && (single || holdsDate(row, fact));
        }
        const bool apart = setApart(facts, top.at(k - 1), titles);
        // A one-column list under a heading of one cell, set apart from it.
        const bool oneColumn
            = k == 1 && onlyColumn(titleRow) >= 0 && onlyColumn(rows.at(top.at(0))) == onlyColumn(titleRow);
        if ((merged && over) || (apart && (apartOrDated || oneColumn))
            || (k == 1 && !apart && over && namesColumnsBelow(rows, titles)))
            return titles;
    }
    return top.first();
}

QStringList shownCells(const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts, qsizetype place)
{
    QStringList cells = rows.value(place);
    const Workbook_Row& fact = factOf(facts, place);
    for (qsizetype c = 0; c < cells.size(); ++c) {
        const Cell_Kind kind = fact.kindAt(c);
        if (kind == Cell_Kind::Date || kind == Cell_Kind::Date1904)
            cells[c] = shownDate(cells.at(c), kind == Cell_Kind::Date1904);
    }
    return cells;
}
