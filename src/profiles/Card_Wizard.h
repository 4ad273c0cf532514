#pragma once

#include "common/Form_Dialog.h"

#include <QSizeF>

class Invitation_Wizard_Host;
namespace Ui {
class Card_Wizard;
}

// Chooses the card's outline and one of the stock sizes (or a typed size) and resizes the design.
class Card_Wizard : public Form_Dialog<Ui::Card_Wizard> {
    Q_OBJECT
public:
    static Card_Wizard* defaultInstance()
    {
        static Card_Wizard* const instance = new Card_Wizard();
        return instance;
    }

    void setHost(Invitation_Wizard_Host* host);
    // Starts on the card's own outline and size and runs the window modally: 1 OK, which resizes the card
    // and sets its outline, 0 Cancel, which changes nothing.
    int Open_Wnd();
    // After OK: whether the size or the outline chosen differs from the card's as the window opened.
    bool changedCard() const { return changed_; }

public slots:
    void OK_Click();
    void CancelClick();
    void card_shape_CellClick(int row);
    void User_Profile_Click();

private:
    explicit Card_Wizard(QWidget* parent = nullptr);
    Invitation_Wizard_Host* host_ = nullptr;
    int chosenShape_ = 0;
    QSizeF shownSize_; // the size fields as the window opened, in millimetres
    int shownShape_ = 0;
    bool changed_ = false;
    QSizeF fieldsSize() const;
};
