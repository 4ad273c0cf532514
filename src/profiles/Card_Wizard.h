#pragma once

#include <QDialog>

class Card_Size_Chooser;
class Invitation_Wizard_Host;
class QButtonGroup;
class QPushButton;

// Chooses the card's outline and one of the stock sizes (or a typed size) and resizes the design.
class Card_Wizard : public QDialog {
    Q_OBJECT
public:
    static Card_Wizard* defaultInstance();

    void setHost(Invitation_Wizard_Host* host);
    // Starts with a rectangle and the first size and runs the window modally: 1 OK, 0 Cancel.
    int Open_Wnd();

    QButtonGroup* matrix_card_shape = nullptr; // 0 rectangle, 1 rounded rectangle, 2 oval
    Card_Size_Chooser* sizes = nullptr;
    QPushButton* profile_btn = nullptr;
    QPushButton* ok_btn = nullptr;
    QPushButton* cancel_btn = nullptr;

public slots:
    void OK_Click();
    void CancelClick();
    void card_shape_CellClick(int row);
    void User_Profile_Click();

private:
    explicit Card_Wizard(QWidget* parent = nullptr);
    Invitation_Wizard_Host* host_ = nullptr;
};
