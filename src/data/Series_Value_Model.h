#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>

// The one-column list behind the series windows' tables: series names or values, each row a text shown
// under the column's identifier. Appending many rows at once costs one change notice, so a long series
// loads quickly.
class Series_Value_Model : public QAbstractTableModel {
    Q_OBJECT
public:
    Series_Value_Model(const QString& identifier, const QString& title, QObject* parent = nullptr);

    const QString& identifier() const { return identifier_; }
    const QStringList& rows() const { return rows_; }
    int count() const { return int(rows_.size()); }
    // The text of a row; none outside the list.
    std::optional<QString> value(int row) const;
    // "Total Rows : 5 (2 blank)": every row is a record of a batch run, a blank one too.
    QString rowCountText() const;

    void clear();
    void append(const QString& text);
    void append(const QStringList& texts);
    bool replace(int row, const QString& text);
    void removeRowsAt(QList<int> rows); // any order, duplicates allowed; rows outside the list are ignored

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString identifier_;
    QString title_;
    QStringList rows_;
};
