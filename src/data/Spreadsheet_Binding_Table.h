#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

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
    // Replaces the value columns by titles[1..]; title 0 is the table's own and is kept.
    void setValueColumnTitles(const QStringList& titles);

    const QList<Row>& ListData() const { return rows_; }
    void setListData(const QList<Row>& rows) { rows_ = rows; }
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

    bool operator==(const Spreadsheet_Binding_Table& other) const = default;

private:
    QStringList titles_ { rowNumberTitle() };
    QList<Row> rows_;
};
