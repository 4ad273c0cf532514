#pragma once

#include <QDialog>

class QPushButton;

// The help and support window: the user guide, the maker's support and reseller mail, the web site and
// buttons that share the web site on social networks. Every button leaves the window open; Close ends it.
class Help_Support : public QDialog {
    Q_OBJECT
public:
    static Help_Support* defaultInstance();

    QPushButton* _Help_File_Label = nullptr;
    QPushButton* support_id = nullptr;
    QPushButton* support_id_2 = nullptr;
    QPushButton* website_1 = nullptr;
    QPushButton* reseller_1 = nullptr;
    QPushButton* reseller_2 = nullptr;
    QPushButton* gplus_btn = nullptr;
    QPushButton* facebook_btn = nullptr;
    QPushButton* twitter_btn = nullptr;
    QPushButton* fb_like_btn = nullptr;
    QPushButton* comments_btn = nullptr;
    QPushButton* close_btn = nullptr;

public slots:
    void HelpFilePressed();
    void Gplus_Clicked();
    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();
    void Social_Comments_Clicked() { }

private:
    explicit Help_Support(QWidget* parent = nullptr);
};
