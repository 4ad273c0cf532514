#include "data/Spreadsheet_Binding_Table.h"

#include <algorithm>

#include "common/Common_Functions.h"

QString Spreadsheet_Binding_Table::keyOfColumn(int position)
{
    return position == 0 ? QStringLiteral("Extension") : QStringLiteral("Column%1").arg(position);
}

void Spreadsheet_Binding_Table::setValueColumnTitles(const QStringList& titles)
{
    if (titles.isEmpty())
        return;
    QStringList kept { titles_.value(0, rowNumberTitle()) };
    kept += titles.mid(1);
    titles_ = kept;
}

int Spreadsheet_Binding_Table::occurrenceOfTitle(const QStringList& titles, qsizetype place, qsizetype from)
{
    if (place < from || place >= titles.size())
        return 0;
    return int(std::count(titles.cbegin() + from, titles.cbegin() + place, titles.at(place)));
}

qsizetype Spreadsheet_Binding_Table::indexOfTitle(
    const QStringList& titles, const QString& title, int occurrence, qsizetype from)
{
    qsizetype at = titles.indexOf(title, from);
    for (int n = 0; n < occurrence && at >= 0; ++n)
        at = titles.indexOf(title, at + 1);
    return at;
}

int Spreadsheet_Binding_Table::positionOfTitle(const QString& title, int occurrence)
{
    const qsizetype found = indexOfTitle(titles_, title, occurrence, 1);
    if (found > 0)
        return int(found);
    titles_.append(title);
    return int(titles_.size()) - 1;
}

bool Spreadsheet_Binding_Table::hasValuesIn(int position) const
{
    const QString key = keyOfColumn(position);
    return std::any_of(rows_.cbegin(), rows_.cend(), [&key](const Row& row) { return row.contains(key); });
}

bool Spreadsheet_Binding_Table::columnMissing(int position) const
{
    return !rows_.isEmpty() && !rows_.first().contains(keyOfColumn(position));
}

bool Spreadsheet_Binding_Table::Create_List_By_Array(const QStringList& values, int count)
{
    if (count < 0 || values.size() < count) {
        Show_NSLog_Message(
            QStringLiteral("Create_List_By_Array: %1 values for %2 columns").arg(values.size()).arg(count));
        return false;
    }
    Row row;
    row.insert(keyOfColumn(0), QString::number(rows_.size() + 1));
    for (int i = 0; i < count; ++i)
        row.insert(keyOfColumn(i + 1), Trim_Str(values[i]));
    rows_.append(row);
    return true;
}

QString Spreadsheet_Binding_Table::value(int row, int position) const
{
    if (row < 0 || row >= rows_.size() || position < 0)
        return QStringLiteral("");
    return rows_[row].value(keyOfColumn(position), QStringLiteral(""));
}

bool Spreadsheet_Binding_Table::setValue(int row, int position, const QString& value)
{
    if (row < 0 || row >= rows_.size() || position < 0 || position >= titles_.size()) {
        Show_NSLog_Message(QStringLiteral("Invalid parameter not satisfying: %1")
                               .arg(QStringLiteral("pRowIndex >= 0 && pRowIndex < [ListData count]")));
        return false;
    }
    rows_[row].insert(keyOfColumn(position), value);
    return true;
}

void Spreadsheet_Binding_Table::Create_Value_List(const QString& text)
{
    const QString trimmed = Trim_Str(text);
    if (trimmed.isEmpty())
        return;
    Row row;
    row.insert(keyOfColumn(0), trimmed);
    rows_.append(row);
}
