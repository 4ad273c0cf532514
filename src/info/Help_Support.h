#pragma once

#include "common/Form_Dialog.h"

namespace Ui {
class Help_Support;
}

// The help and support window: the user guide, the maker's support and reseller mail, the web site and
// buttons that share the web site on social networks. Every button leaves the window open; Close ends it.
class Help_Support : public Form_Dialog<Ui::Help_Support> {
    Q_OBJECT
public:
    static Help_Support* defaultInstance()
    {
        static Help_Support* const instance = new Help_Support();
        return instance;
    }

public slots:
    void HelpFilePressed();
    void Gplus_Clicked();
    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();
    void Social_Comments_Clicked();

private:
    explicit Help_Support(QWidget* parent = nullptr);
};
