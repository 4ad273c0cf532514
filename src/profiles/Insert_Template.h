#pragma once

#include "common/Form_Dialog.h"
#include "profiles/Greeting_Text_Lists.h"

namespace Ui {
class Insert_Template;
}

// Lets the user step through the greeting titles or messages of the current category, edit the one
// shown and hand it back for the card's invitation title or message.
class Insert_Template : public Form_Dialog<Ui::Insert_Template> {
    Q_OBJECT
public:
    static Insert_Template* defaultInstance()
    {
        static Insert_Template* const instance = new Insert_Template();
        return instance;
    }

    // Starts at the first entry of the category in Event_Type and runs the window modally: 1 OK (the
    // text in Template_Msg_Val), 0 Cancel. The caller sets title_or_msg first.
    int Open_Template_Dialog();

    QString title_or_msg = QStringLiteral("T"); // "T" browse titles, anything else messages
    Greeting_Text_Lists lists;

public slots:
    void Msg_Back_Click();
    void Msg_Next_Click();
    void OKPressed();
    void CancelPressed();

private:
    explicit Insert_Template(QWidget* parent = nullptr);
    bool browsingTitles() const { return title_or_msg == QLatin1String("T"); }
    void showCurrent();
};
