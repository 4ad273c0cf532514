#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

class Invitation_Wizard_Host;
class QTableWidgetItem;
namespace Ui {
class Card_Size_Chooser;
}

// The stock-size chooser of the card size wizard and the template gallery: a size category (plastic
// cards first, then labels), an orientation, the category's sizes, and the chosen width and height in
// millimetres, which the user may also type. A size can be renamed in place in the list; the new name lasts
// until the list is filled again, and the size it stands for is still found by its row.
class Card_Size_Chooser : public QWidget {
    Q_OBJECT
public:
    explicit Card_Size_Chooser(QWidget* parent = nullptr);
    ~Card_Size_Chooser() override;

    void setHost(Invitation_Wizard_Host* host) { host_ = host; }
    // Back to the first category and orientation, with the first size chosen.
    void reset();
    // Shows a size in millimetres: in the fields, with the list's row of that size chosen, or none.
    void showSize(const QSizeF& millimetres);
    // Rebuilds the size list for the chosen category and chooses its first row.
    void comboBoxSelectionDidChange();
    // Shows the size of the chosen row (row -1 when none).
    void tableViewSelectionDidChange();
    // Renames the size of a row. A row outside the list is logged and refused; so, with a message, is a
    // name that is empty or already names another size of the list. True when the name was taken.
    bool tableView_setObjectValue(const QString& value, int row);

    // The names the list shows, in row order.
    QStringList ListData;

    Ui::Card_Size_Chooser& form() { return *ui_; }

signals:
    // A row of the list was clicked: a size chosen, even the one already highlighted.
    void rowChosen();

private:
    void Create_List(const QString& name);
    void sizeNameEdited(QTableWidgetItem* item);
    void showNames();
    void showName(QTableWidgetItem& item, const QString& name);

    std::unique_ptr<Ui::Card_Size_Chooser> ui_;
    Invitation_Wizard_Host* host_ = nullptr;
};
