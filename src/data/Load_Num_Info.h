#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Load_Num_Info;
}

// Asks, before new values go into a list that already has some, whether the old ones are removed first.
class Load_Num_Info : public QDialog {
    Q_OBJECT
public:
    enum Answer { Keep = 0, Remove = 1, Cancelled = 2 };

    static Load_Num_Info* defaultInstance();
    ~Load_Num_Info() override;

    void YESPressed() { done(Remove); }
    void NOPressed() { done(Keep); }
    void CancelPressed() { done(Cancelled); }

    Ui::Load_Num_Info& form() { return *ui_; }

protected:
    void reject() override { CancelPressed(); }

private:
    explicit Load_Num_Info(QWidget* parent = nullptr);
    std::unique_ptr<Ui::Load_Num_Info> ui_;
};
