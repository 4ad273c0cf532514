#include "data/Spreadsheet_Binding_Table.h"

#include "common/Common_Functions.h"
#include "data/Spreadsheet_Cells.h"

#include <QRegularExpression>

#include <algorithm>

QString Spreadsheet_Binding_Table::keyOfColumn(int position)
{
    return position == 0 ? QStringLiteral("Extension") : QStringLiteral("Column%1").arg(position);
}

void Spreadsheet_Binding_Table::setValueColumnTitles(const QStringList& titles)
{
    QList<Sheet_Place> places { Sheet_Place() };
    for (qsizetype i = 1; i < titles.size(); ++i)
        places.append({ occurrenceOfTitle(titles, i, 1), -1, titles.count(titles.at(i)) > 1 });
    setValueColumns(titles, places, std::nullopt);
}

void Spreadsheet_Binding_Table::setValueColumns(
    const QStringList& titles, const QList<Sheet_Place>& places, std::optional<Title_Row_Choice> titleRow)
{
    if (titles.isEmpty())
        return;
    QStringList kept { titles_.value(0, rowNumberTitle()) };
    kept += titles.mid(1);
    titles_ = kept;
    places_ = places.mid(0, titles_.size());
    while (places_.size() < titles_.size())
        places_.append(Sheet_Place());
    titleRow_ = titleRow;
}

QString Spreadsheet_Binding_Table::shownTitle(int position) const
{
    const QString title = titles_.value(position);
    const Sheet_Place place = placeOf(position);
    if (position <= 0 || !place.several || place.column < 0)
        return title;
    return QStringLiteral("%1 (column %2)").arg(title, ColumnIndexToName(place.column + 1));
}

QStringList Spreadsheet_Binding_Table::shownTitles() const
{
    QStringList shown;
    for (int position = 0; position < titles_.size(); ++position)
        shown << shownTitle(position);
    return shown;
}

QStringList Spreadsheet_Binding_Table::listedTitles() const
{
    QStringList listed = shownTitles();
    for (int position = 1; position < listed.size(); ++position) {
        if (columnMissing(position))
            listed[position] = QStringLiteral("%1 (missing)").arg(listed.at(position));
    }
    return listed;
}

QStringList Spreadsheet_Binding_Table::storedTitles() const
{
    QStringList stored = titles_;
    if (std::none_of(places_.cbegin(), places_.cend(), [](const Sheet_Place& place) { return place.column >= 0; }))
        return stored;
    QStringList places;
    for (qsizetype i = 1; i < places_.size(); ++i) {
        const Sheet_Place& place = places_.at(i);
        QString text = place.column >= 0 ? ColumnIndexToName(place.column + 1) : QStringLiteral("-");
        if (place.several)
            text += QStringLiteral(":%1").arg(place.occurrence + 1);
        places << text;
    }
    // The row number stands before the places, where readers that know no row choice pass it over.
    if (titleRow_ && titleRow_->kind == Title_Row_Choice::Kind::Row)
        stored[0] += QStringLiteral("@%1").arg(titleRow_->row);
    stored[0] += QStringLiteral("{%1%2}").arg(
        titleRow_ && !titleRow_->titled() ? QStringLiteral("~") : QString(), places.join(QLatin1Char(',')));
    return stored;
}

void Spreadsheet_Binding_Table::setStoredTitles(const QStringList& titles)
{
    setValueColumnTitles(titles);
    static const QRegularExpression stored(QStringLiteral("(?:@([1-9][0-9]{0,6}))?\\{(~?)([-A-Z0-9:,]*)\\}$"));
    const QRegularExpressionMatch match = stored.match(titles.value(0));
    if (!match.hasMatch())
        return;
    static const QRegularExpression entry(QStringLiteral("^(-|[A-Z]{1,3})(?::([0-9]{1,5}))?$"));
    const QStringList entries = match.captured(3).split(QLatin1Char(','));
    if (entries.size() != titles_.size() - 1)
        return; // a list that does not fit the titles tells nothing
    QList<Sheet_Place> places { Sheet_Place() };
    for (const QString& text : entries) {
        const QRegularExpressionMatch part = entry.match(text);
        if (!part.hasMatch())
            return;
        Sheet_Place place;
        place.column = part.captured(1) == QLatin1String("-") ? -1 : columnIndexOfReference(part.captured(1));
        place.several = part.hasCaptured(2);
        place.occurrence = place.several ? std::max(part.captured(2).toInt() - 1, 0) : 0;
        places << place;
    }
    places_ = places;
    titleRow_ = !match.captured(2).isEmpty() ? Title_Row_Choice::none()
        : match.hasCaptured(1)               ? Title_Row_Choice::sheetRow(match.captured(1).toInt())
                                             : Title_Row_Choice();
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
    places_.append({ occurrence, -1, occurrence > 0 });
    return int(titles_.size()) - 1;
}

int Spreadsheet_Binding_Table::positionOf(const QString& title, const Sheet_Place& place)
{
    for (int position = 1; position < titles_.size(); ++position) {
        if (titles_.at(position) == title && placeOf(position).occurrence == place.occurrence)
            return position;
    }
    titles_.append(title);
    places_.append(place);
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
