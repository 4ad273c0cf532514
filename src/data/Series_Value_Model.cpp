#include "data/Series_Value_Model.h"

#include <algorithm>

Series_Value_Model::Series_Value_Model(const QString& identifier, const QString& title, QObject* parent)
    : QAbstractTableModel(parent)
    , identifier_(identifier)
    , title_(title)
{
}

std::optional<QString> Series_Value_Model::value(int row) const
{
    if (row < 0 || row >= rows_.size())
        return std::nullopt;
    return rows_[row];
}

QString Series_Value_Model::rowCountText() const
{
    const auto blank = std::count(rows_.cbegin(), rows_.cend(), QString());
    return blank > 0 ? QStringLiteral("Total Rows : %1 (%2 blank)").arg(rows_.size()).arg(blank)
                     : QStringLiteral("Total Rows : %1").arg(rows_.size());
}

void Series_Value_Model::clear()
{
    if (rows_.isEmpty())
        return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void Series_Value_Model::append(const QString& text)
{
    beginInsertRows({}, count(), count());
    rows_.append(text);
    endInsertRows();
}

void Series_Value_Model::append(const QStringList& texts)
{
    if (texts.isEmpty())
        return;
    beginInsertRows({}, count(), count() + int(texts.size()) - 1);
    rows_.append(texts);
    endInsertRows();
}

bool Series_Value_Model::replace(int row, const QString& text)
{
    if (row < 0 || row >= rows_.size())
        return false;
    rows_[row] = text;
    emit dataChanged(index(row, 0), index(row, 0));
    return true;
}

void Series_Value_Model::removeRowsAt(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([this](int row) { return row < 0 || row >= count(); });
    if (rows.isEmpty())
        return;
    beginResetModel();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        rows_.removeAt(*it);
    endResetModel();
}

int Series_Value_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int Series_Value_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant Series_Value_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() != 0 || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const std::optional<QString> text = value(index.row());
    if (!text)
        return {};
    // A cell shows no more than a line's worth: laying out a value of millions of characters would hold
    // the window for minutes. The value itself stays whole.
    constexpr qsizetype shown = 1000;
    return text->size() > shown ? QVariant(text->left(shown) + QChar(0x2026)) : QVariant(*text);
}

QVariant Series_Value_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section == 0 ? QVariant(title_) : QVariant();
    return section + 1;
}
