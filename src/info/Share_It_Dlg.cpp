#include "info/Share_It_Dlg.h"

#include "info/Maker_Links.h"

#include "ui_Share_It_Dlg.h"

#include <QPushButton>

Share_It_Dlg::Share_It_Dlg(QWidget* parent)
    : Form_Dialog(parent)
{
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Share_It_Dlg::OK_Pressed);
    connect(ui_->gplus_btn, &QPushButton::clicked, this, &Share_It_Dlg::Gplus_Clicked);
    connect(ui_->facebook_btn, &QPushButton::clicked, this, &Share_It_Dlg::Facebook_Clicked);
    connect(ui_->twitter_btn, &QPushButton::clicked, this, &Share_It_Dlg::Twitter_Clicked);
    connect(ui_->fb_like_btn, &QPushButton::clicked, this, &Share_It_Dlg::FB_Like_Clicked);
    connect(ui_->go_share_btn, &QPushButton::clicked, this, &Share_It_Dlg::Go_Share_It_Pressed);
}

void Share_It_Dlg::OK_Pressed()
{
    done(1);
}

void Share_It_Dlg::Gplus_Clicked()
{
    Maker_Links::open(Maker_Links::sharePage(QStringLiteral("googleplus")));
}

void Share_It_Dlg::Facebook_Clicked()
{
    Maker_Links::open(Maker_Links::sharePage(QStringLiteral("facebook")));
}

void Share_It_Dlg::Twitter_Clicked()
{
    Maker_Links::open(Maker_Links::sharePage(QStringLiteral("twitter")));
}

void Share_It_Dlg::FB_Like_Clicked()
{
    Maker_Links::open(Maker_Links::sharePage(QStringLiteral("facebook-like")));
}
