#include "data/Sheet_Column_List.h"

#include "common/Common_Functions.h"
#include "data/Spreadsheet_Binding_Table.h"
#include "data/Spreadsheet_Cells.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

QString cell(const QStringList& row, int column)
{
    return column >= 0 && column < row.size() ? Trim_Str(row.at(column)) : QStringLiteral("");
}

} // namespace

bool holdsValue(const QStringList& row)
{
    return std::any_of(row.cbegin(), row.cend(), [](const QString& value) { return !Trim_Str(value).isEmpty(); });
}

SpreadsheetWriter::Rows rowsWithValues(const SpreadsheetWriter::Rows& rows)
{
    SpreadsheetWriter::Rows kept;
    kept.reserve(rows.size());
    std::copy_if(rows.cbegin(), rows.cend(), std::back_inserter(kept), holdsValue);
    return kept;
}

QString positionalTitle(int column)
{
    return QStringLiteral("Column %1").arg(ColumnIndexToName(column + 1));
}

int columnOfPositionalTitle(const QString& title)
{
    static const QRegularExpression name(QStringLiteral("^Column ([A-Z]{1,3})$"));
    const QRegularExpressionMatch match = name.match(title);
    const int column = match.hasMatch() ? columnIndexOfReference(match.captured(1)) : -1;
    return column >= 0 && positionalTitle(column) == title ? column : -1;
}

QList<Sheet_Column> Create_Column_List(const QStringList& headerRow)
{
    QList<Sheet_Column> list;
    for (int c = 0; c < headerRow.size(); ++c) {
        Sheet_Column entry;
        entry.column = c;
        entry.Extension = Trim_Str(headerRow.at(c));
        if (entry.Extension.isEmpty())
            entry.Extension = QStringLiteral("Untitled Column %1").arg(c + 1);
        entry.Header = Trim_Str(headerRow.at(c)).isEmpty() ? entry.Extension : headerRow.at(c);
        list.append(entry);
    }
    return list;
}

QList<int> tickedColumns(const QList<Sheet_Column>& list)
{
    QList<int> ticked;
    for (const Sheet_Column& entry : list) {
        if (entry.State)
            ticked.append(entry.column);
    }
    return ticked;
}

int sheetRowNumber(const Sheet_Facts& facts, qsizetype place)
{
    return place >= 0 && place < facts.size() ? facts.at(place).number : int(place) + 1;
}

Sheet_Table sheetTableOf(
    const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts, const Title_Row_Choice& titleRow)
{
    Sheet_Table table;
    qsizetype from = 0; // the first place a record may stand
    if (titleRow.kind == Title_Row_Choice::Kind::Found) {
        table.titles = foundTitleRow(rows, facts);
        from = table.titles + 1;
    } else if (titleRow.kind == Title_Row_Choice::Kind::Row) {
        // The chosen row by its number; when the sheet no longer holds a value there, the rows below it are still
        // the records, without titles.
        while (from < rows.size() && sheetRowNumber(facts, from) < titleRow.row)
            ++from;
        if (from < rows.size() && sheetRowNumber(facts, from) == titleRow.row && holdsValue(rows.at(from)))
            table.titles = from;
        while (from < rows.size() && sheetRowNumber(facts, from) <= titleRow.row)
            ++from;
    }
    for (qsizetype r = from; r < rows.size(); ++r) {
        if (holdsValue(rows.at(r)))
            table.records << r;
    }
    return table;
}

QStringList shownTitles(const QStringList& titleRow)
{
    QStringList shown;
    for (qsizetype c = 0; c < titleRow.size(); ++c) {
        const QString title = Trim_Str(titleRow.at(c));
        shown << (title.isEmpty() ? positionalTitle(int(c)) : title);
    }
    return shown;
}

QString recordsNote(const Sheet_Facts& facts, const Sheet_Table& table)
{
    QStringList notes;
    const auto hidden = std::count_if(table.records.cbegin(), table.records.cend(),
        [&facts](qsizetype r) { return r < facts.size() && facts.at(r).hidden; });
    if (hidden == 1)
        notes << QStringLiteral(
            "1 of the rows that make cards is hidden in the workbook; it makes a card like the others.");
    else if (hidden > 1)
        notes << QStringLiteral(
            "%1 of the rows that make cards are hidden in the workbook; they make cards like the others.")
                     .arg(hidden);
    const qsizetype last = table.records.isEmpty() ? -1 : table.records.last();
    if (table.records.size() > 1 && last < facts.size() && facts.at(last).total)
        notes << QStringLiteral("Row %1, the last, looks like a total: its values are formulas over the column above. "
                                "It makes a card like the others.")
                     .arg(sheetRowNumber(facts, last));
    else if (table.records.size() > 1 && last < facts.size() && facts.at(last).labelledTotal)
        notes << QStringLiteral("Row %1, the last, looks like a total: it is labelled as one. It makes a card like the "
                                "others.")
                     .arg(sheetRowNumber(facts, last));
    return notes.join(QLatin1Char(' '));
}

QString titleRowNote(const Sheet_Facts& facts, const Sheet_Table& table)
{
    return table.titles < 0
        ? QString()
        : QStringLiteral("The titles are taken from row %1.").arg(sheetRowNumber(facts, table.titles));
}

QString headingNote(const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts, const Sheet_Table& table)
{
    QList<int> above;
    for (qsizetype r = 0; r < table.titles && r < rows.size(); ++r) {
        if (holdsValue(rows.at(r)))
            above << sheetRowNumber(facts, r);
    }
    if (above.isEmpty())
        return {};
    if (above.first() == above.last())
        return QStringLiteral("Row %1 above the titles is a heading and makes no cards.").arg(above.first());
    return QStringLiteral("Rows %1-%2 above the titles are a heading and make no cards.")
        .arg(above.first())
        .arg(above.last());
}

QString sheetNote(const SpreadsheetWriter::Rows& rows, const Sheet_Facts& facts, const Title_Row_Choice& titleRow)
{
    const Sheet_Table table = sheetTableOf(rows, facts, titleRow);
    return QStringList { titleRow.titled() ? titleRowNote(facts, table)
                                           : QStringLiteral("No row holds titles: every row holding a value makes a "
                                                            "card, and columns are named by their letters."),
        headingNote(rows, facts, table), recordsNote(facts, table) }
        .join(QLatin1Char(' '))
        .simplified();
}

QStringList tickedValuesRowMajor(const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    const Title_Row_Choice& titleRow, const Sheet_Facts& facts)
{
    QStringList values;
    for (qsizetype r : sheetTableOf(rows, facts, titleRow).records) {
        for (int column : ticked)
            values.append(cell(rows.at(r), column));
    }
    return values;
}

QList<int> blankCellRows(const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    const Title_Row_Choice& titleRow, const Sheet_Facts& facts)
{
    QList<int> blanks;
    for (qsizetype r : sheetTableOf(rows, facts, titleRow).records) {
        for (int column : ticked) {
            if (cell(rows.at(r), column).isEmpty())
                blanks.append(sheetRowNumber(facts, r));
        }
    }
    return blanks;
}

QString blanksLeftOutNote(const QList<int>& rows)
{
    if (rows.isEmpty())
        return {};
    QList<int> distinct = rows;
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    constexpr qsizetype named = 10;
    QStringList numbers;
    for (qsizetype i = 0; i < std::min(distinct.size(), named); ++i)
        numbers << QString::number(distinct.at(i));
    QString list = numbers.join(QStringLiteral(", "));
    if (distinct.size() > named)
        list += QStringLiteral(" and %1 more").arg(distinct.size() - named);
    else if (numbers.size() > 1)
        list = numbers.mid(0, numbers.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + numbers.last();
    return rows.size() == 1 ? QStringLiteral("1 blank cell was left out (row %1).").arg(list)
                            : QStringLiteral("%1 blank cells were left out (%2 %3).")
                                  .arg(rows.size())
                                  .arg(distinct.size() == 1 ? QStringLiteral("row") : QStringLiteral("rows"), list);
}

QStringList columnValues(
    const SpreadsheetWriter::Rows& rows, int column, const Title_Row_Choice& titleRow, const Sheet_Facts& facts)
{
    return tickedValuesRowMajor(rows, { column }, titleRow, facts);
}

bool Fill_Binding_Table(Spreadsheet_Binding_Table& table, const SpreadsheetWriter::Rows& rows, const QList<int>& ticked,
    const Title_Row_Choice& titleRow, const Sheet_Facts& facts)
{
    const Sheet_Table sheet = sheetTableOf(rows, facts, titleRow);
    if (sheet.titles < 0 && sheet.records.isEmpty())
        return false;
    const QStringList shown = sheet.titles >= 0 ? shownTitles(shownCells(rows, facts, sheet.titles)) : QStringList();
    QStringList titles { table.columnTitles().value(0) };
    QList<Sheet_Place> places { Sheet_Place() };
    for (int column : ticked) {
        const QString title = shown.value(column, positionalTitle(column));
        titles.append(title);
        places.append({ Spreadsheet_Binding_Table::occurrenceOfTitle(shown, column), column, shown.count(title) > 1 });
    }
    table.setValueColumns(titles, places, titleRow);
    const int count = int(titles.size()) - 1;
    QList<Spreadsheet_Binding_Table::Row> none;
    table.setListData(none);
    QList<int> sheetRows;
    for (qsizetype r : sheet.records) {
        QStringList values;
        for (int column : ticked)
            values.append(cell(rows.at(r), column));
        table.Create_List_By_Array(values, count);
        sheetRows << sheetRowNumber(facts, r);
    }
    table.setSheetRows(sheetRows);
    table.setRecordsNote(recordsNote(facts, sheet));
    return true;
}
