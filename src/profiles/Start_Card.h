#pragma once

#include "common/Form_Dialog.h"

namespace Ui {
class Start_Card;
}

// The three ways to start a card: from a template ("T"), with the card wizard ("W") or from a saved design
// ("L"). The choice ends the window with 1 and is left in Start_Card_Option for the opener to act on;
// Cancel empties it and ends with 0.
class Start_Card : public Form_Dialog<Ui::Start_Card> {
    Q_OBJECT
public:
    static Start_Card* defaultInstance();

    int Open_Wnd();

public slots:
    void Using_Template_Click() { Select_card_option(0); }
    void Using_Wizard_Click() { Select_card_option(1); }
    void Open_Log_Click() { Select_card_option(2); }
    void Select_card_option(int tag);
    void OK_Click();
    void CancelClick();
    void HelpClick();
    void reject() override { CancelClick(); } // Escape and the window's close button

private:
    explicit Start_Card(QWidget* parent = nullptr);
};
