#include "data/Binding_Table_Model.h"

#include "data/Spreadsheet_Binding_Table.h"

Binding_Table_Model::Binding_Table_Model(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void Binding_Table_Model::setTable(Spreadsheet_Binding_Table* table)
{
    beginResetModel();
    table_ = table;
    endResetModel();
}

void Binding_Table_Model::reload()
{
    beginResetModel();
    endResetModel();
}

int Binding_Table_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !table_ ? 0 : table_->rowCount();
}

int Binding_Table_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !table_ ? 0 : table_->columnCount();
}

QVariant Binding_Table_Model::data(const QModelIndex& index, int role) const
{
    if (!table_ || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return table_->value(index.row(), index.column());
}

QVariant Binding_Table_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!table_ || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return table_->columnTitles().value(section);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

bool Binding_Table_Model::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!table_ || role != Qt::EditRole || !table_->setValue(index.row(), index.column(), value.toString()))
        return false;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags Binding_Table_Model::flags(const QModelIndex& index) const
{
    Qt::ItemFlags base = QAbstractTableModel::flags(index);
    // The row number is the record's place, not a value.
    if (index.isValid() && index.column() > 0)
        base |= Qt::ItemIsEditable;
    return base;
}
