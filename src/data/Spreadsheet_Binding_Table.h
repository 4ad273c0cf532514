#pragma once

#include "data/Title_Row_Choice.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Where a value column stands in its sheet: which of the sheet's columns of its title it is (0 the first),
// its 0-based sheet column as last read (-1 when not known), and whether the sheet has several of that title.
struct Sheet_Place {
    int occurrence = 0;
    int column = -1;
    bool several = false;
    bool operator==(const Sheet_Place&) const = default;
};

// The spreadsheet binding table: text values taken from chosen columns of one worksheet. Column 0 is the
// row number under the key "Extension"; value column n (from 1) has the key "Column" + n. Card items keep
// the position of their column, so the order of the value columns is part of every binding.
class Spreadsheet_Binding_Table {
public:
    using Row = QMap<QString, QString>;

    static QString keyOfColumn(int position); // "Extension" for 0, "Column%d" otherwise

    // Header titles of every column, column 0's first.
    const QStringList& columnTitles() const { return titles_; }
    int columnCount() const { return int(titles_.size()); }
    // Replaces the value columns by titles[1..]; title 0 is the table's own and is kept. Without places, two
    // columns of one title are the first and second of that title in their sheet, as tables were once kept.
    void setValueColumnTitles(const QStringList& titles);
    void setValueColumns(
        const QStringList& titles, const QList<Sheet_Place>& places, std::optional<Title_Row_Choice> titleRow);
    Sheet_Place placeOf(int position) const { return places_.value(position); }
    // Where the person said the sheet's titles are, when the table knows it.
    std::optional<Title_Row_Choice> titleRow() const { return titleRow_; }

    // A column's title as lists show it: one of several of its title in the sheet is told apart by its
    // letter, "Name (column C)".
    QString shownTitle(int position) const;
    QStringList shownTitles() const;
    // As a column box lists them: a column the sheet read last lacks is marked "(missing)".
    QStringList listedTitles() const;
    // The titles as a design file keeps them: title 0 carries the columns' places, "#{A:1,C:2,D}" (letters,
    // then which of several of its title), after a "~" when the sheet had no title row, and after "@5" when the
    // person took row 5 for the titles; files of other versions pass title 0 over. setStoredTitles reads them
    // back, and reads titles without places as setValueColumnTitles does.
    QStringList storedTitles() const;
    void setStoredTitles(const QStringList& titles);

    // What the sheet's reading told of its records (hidden rows, a likely total); not part of the data.
    const QString& recordsNote() const { return note_; }
    void setRecordsNote(const QString& note) { note_ = note; }

    const QList<Row>& ListData() const { return rows_; }
    // Other rows: where they stand in the workbook is not known until it is read again.
    void setListData(const QList<Row>& rows)
    {
        rows_ = rows;
        sheetRows_.clear();
    }

    // The workbook's own row number of each record, as the sheet was last read (a record's number is not its
    // row: titles, headings and empty rows come between); not part of the data. Empty when not known.
    const QList<int>& sheetRows() const { return sheetRows_; }
    void setSheetRows(const QList<int>& rows) { sheetRows_ = rows; }
    int rowCount() const { return int(rows_.size()); }

    // Appends one row: "Extension" numbered from 1, then the first `count` values, trimmed.
    // False (and nothing added) when fewer than `count` values are given.
    bool Create_List_By_Array(const QStringList& values, int count);

    // The value of a record at a column position; empty outside the table.
    QString value(int row, int position) const;

    // An edit of one cell: stored under the column's key. False (and nothing changed) outside the table.
    bool setValue(int row, int position, const QString& value);

    // Appends a row holding only "Extension" = the trimmed text, when that is not empty.
    void Create_Value_List(const QString& text);

    // The position of the value column with this title; of several of that title, the one of this
    // occurrence (0 the first). A title the table lacks is added as a column that no row has a value for,
    // so that items bound to it keep their title and are known to come out blank.
    int positionOfTitle(const QString& title, int occurrence = 0);
    // The position of the value column of this title standing at this place among the sheet's columns of
    // that title; added as positionOfTitle adds one when the table has none.
    int positionOf(const QString& title, const Sheet_Place& place);
    // Which of its title the one at this place of a title list is, counted from `from`: 0 for the first.
    // Two columns of one title are told apart by it: the second "Name" of one sheet is the second of another.
    static int occurrenceOfTitle(const QStringList& titles, qsizetype place, qsizetype from = 0);
    // The place of that occurrence of a title in a title list, from `from` on; -1 when there are fewer.
    static qsizetype indexOfTitle(const QStringList& titles, const QString& title, int occurrence, qsizetype from = 0);
    // Whether any row has a value in the column at this position.
    bool hasValuesIn(int position) const;
    // Whether the table has rows but its first lacks the column at this position, as a value column whose
    // title the sheet read last does not have: every run names it and its items come out blank.
    bool columnMissing(int position) const;

    // The table's own first column title.
    static QString rowNumberTitle() { return QStringLiteral("#"); }

    // The same data: titles and records. Where the columns stand in the sheet is no change to the data.
    bool operator==(const Spreadsheet_Binding_Table& other) const
    {
        return titles_ == other.titles_ && rows_ == other.rows_;
    }

private:
    QStringList titles_ { rowNumberTitle() };
    QList<Sheet_Place> places_ { Sheet_Place() };
    std::optional<Title_Row_Choice> titleRow_;
    QList<Row> rows_;
    QString note_;
    QList<int> sheetRows_;
};
