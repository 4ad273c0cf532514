#pragma once

#include <QDialog>

class QPushButton;

// Shown when the program quits: thanks the user and invites an online review. Both of its buttons open
// the review page and close the window.
class Review_Form : public QDialog {
    Q_OBJECT
public:
    static Review_Form* defaultInstance();

    // Runs the window modally and returns its code.
    int Open_Review_Form_Window();

    QPushButton* review_btn = nullptr;
    QPushButton* ok_btn = nullptr;
    QPushButton* support_id = nullptr;
    QPushButton* website_1 = nullptr;

public slots:
    void OK_Clicked();
    void Review_Clicked();
    static void Open_Link(const QString& link);

private:
    explicit Review_Form(QWidget* parent = nullptr);
};
