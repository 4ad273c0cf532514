#pragma once

#include "common/Form_Dialog.h"

namespace Ui {
class Review_Form;
}

// Shown when the program quits: thanks the user and invites an online review. Both of its buttons open
// the review page and close the window.
class Review_Form : public Form_Dialog<Ui::Review_Form> {
    Q_OBJECT
public:
    static Review_Form* defaultInstance()
    {
        static Review_Form* const instance = new Review_Form();
        return instance;
    }

    // Runs the window modally and returns its code.
    int Open_Review_Form_Window();

public slots:
    void OK_Clicked();
    void Review_Clicked();
    static void Open_Link(const QString& link);

private:
    explicit Review_Form(QWidget* parent = nullptr);
};
