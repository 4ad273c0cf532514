#include "output/Record_Source.h"

#include <algorithm>

int Record_Source::seriesRows() const
{
    if (!useSeries)
        return 0;
    qsizetype longest = 0;
    for (const QStringList& values : series)
        longest = std::max(longest, values.size());
    return int(longest);
}

int Record_Source::spreadsheetRows() const
{
    return useSpreadsheet ? int(rows.size()) : 0;
}

int Record_Source::recordCount() const
{
    return std::max(seriesRows(), spreadsheetRows());
}

QString Record_Source::seriesValue(int record, const QString& name) const
{
    const auto found = series.constFind(name);
    if (found == series.constEnd() || record < 0 || record >= found->size())
        return QString();
    return found->at(record);
}

std::optional<QString> Record_Source::spreadsheetValue(int record, int column) const
{
    if (record < 0 || record >= rows.size())
        return QString();
    const Spreadsheet_Binding_Table::Row& row = rows.at(record);
    const auto found = row.constFind(Spreadsheet_Binding_Table::keyOfColumn(column));
    if (found == row.constEnd())
        return std::nullopt;
    return *found;
}

QString Record_Source::titleOf(int column) const
{
    const QString title = titles.value(column);
    return title.isEmpty() ? QStringLiteral("Column %1").arg(column) : title;
}
