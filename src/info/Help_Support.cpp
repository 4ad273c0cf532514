#include "info/Help_Support.h"

#include "common/File_Functions.h"
#include "info/Link_Style.h"
#include "info/Maker_Links.h"

#include "ui_Help_Support.h"

#include <QPushButton>

Help_Support::Help_Support(QWidget* parent)
    : Form_Dialog(parent)
{
    for (QPushButton* link :
        { ui_->_Help_File_Label, ui_->support_id, ui_->support_id_2, ui_->website_1, ui_->reseller_1, ui_->reseller_2 })
        applyLinkStyle(*link);

    connect(ui_->_Help_File_Label, &QPushButton::clicked, this, &Help_Support::HelpFilePressed);
    connect(ui_->support_id, &QPushButton::clicked, this, [] { Maker_Links::open(Maker_Links::supportMail()); });
    connect(ui_->support_id_2, &QPushButton::clicked, this, [] { Maker_Links::open(Maker_Links::supportMail()); });
    connect(ui_->website_1, &QPushButton::clicked, this, [] { Maker_Links::open(Maker_Links::website(1)); });
    connect(ui_->reseller_1, &QPushButton::clicked, this, [] { Maker_Links::open(Maker_Links::resellerMail()); });
    connect(ui_->reseller_2, &QPushButton::clicked, this, [] { Maker_Links::open(Maker_Links::resellerMail()); });
    connect(ui_->gplus_btn, &QPushButton::clicked, this, &Help_Support::Gplus_Clicked);
    connect(ui_->facebook_btn, &QPushButton::clicked, this, &Help_Support::Facebook_Clicked);
    connect(ui_->twitter_btn, &QPushButton::clicked, this, &Help_Support::Twitter_Clicked);
    connect(ui_->fb_like_btn, &QPushButton::clicked, this, &Help_Support::FB_Like_Clicked);
    connect(ui_->comments_btn, &QPushButton::clicked, this, &Help_Support::Social_Comments_Clicked);
    connect(ui_->close_btn, &QPushButton::clicked, this, [this] { done(1); });
}

void Help_Support::HelpFilePressed()
{
    Open_Help_File();
}

void Help_Support::Gplus_Clicked()
{
    Maker_Links::open(Maker_Links::sharePage(QStringLiteral("googleplus")));
}

void Help_Support::Facebook_Clicked()
{
    Maker_Links::open(Maker_Links::sharePage(QStringLiteral("facebook")));
}

void Help_Support::Twitter_Clicked()
{
    Maker_Links::open(Maker_Links::sharePage(QStringLiteral("twitter")));
}

void Help_Support::FB_Like_Clicked()
{
    Maker_Links::open(Maker_Links::sharePage(QStringLiteral("facebook-like")));
}

void Help_Support::Social_Comments_Clicked()
{
    Maker_Links::open(Maker_Links::commentsPage());
}
