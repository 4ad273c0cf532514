#pragma once

#include <QAbstractTableModel>

class Spreadsheet_Binding_Table;

// The spreadsheet binding table as the table view shows it: column 0 the row number, value columns with
// their titles; value cells can be edited in place. The model does not own the table.
class Binding_Table_Model : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit Binding_Table_Model(QObject* parent = nullptr);

    void setTable(Spreadsheet_Binding_Table* table);
    Spreadsheet_Binding_Table* table() const { return table_; }
    void reload(); // the table changed underneath

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    Spreadsheet_Binding_Table* table_ = nullptr;
};
