#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Update_Ex_Num;
}
class Series_Value_Model;

// Changes one value of the series manager's value list. The opener fills the three fields (the edited
// value, the value before editing, the row) and the list the row belongs to.
class Update_Ex_Num : public QDialog {
    Q_OBJECT
public:
    static Update_Ex_Num* defaultInstance();
    ~Update_Ex_Num() override;

    void setValue(int row, const QString& value); // fills the three fields
    void setList(Series_Value_Model* list) { list_ = list; }

    void OKPressed();
    void CancelPressed();

    Ui::Update_Ex_Num& form() { return *ui_; }

protected:
    void reject() override { CancelPressed(); }

private:
    explicit Update_Ex_Num(QWidget* parent = nullptr);
    void clearFields();
    std::unique_ptr<Ui::Update_Ex_Num> ui_;
    Series_Value_Model* list_ = nullptr;
};
