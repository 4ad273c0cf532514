#pragma once

#include "common/Form_Dialog.h"

namespace Ui {
class Share_It_Dlg;
}

// Invites the user to share the maker's web site on social networks. The network buttons leave the
// window open; OK closes it.
class Share_It_Dlg : public Form_Dialog<Ui::Share_It_Dlg> {
    Q_OBJECT
public:
    static Share_It_Dlg* defaultInstance()
    {
        static Share_It_Dlg* const instance = new Share_It_Dlg();
        return instance;
    }

public slots:
    void OK_Pressed();
    void Gplus_Clicked();
    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();
    void Go_Share_It_Pressed() { }

private:
    explicit Share_It_Dlg(QWidget* parent = nullptr);
};
