#include "output/Help_Support.h"

#include "common/File_Functions.h"
#include "editor/TSLWindowController.h"
#include "output/Link_Style.h"

#include "ui_Help_Support.h"

#include <QPushButton>

namespace {

// The editor offers the maker's links; without an editor (never in the program) nothing opens.
template <typename Action> void withEditor(Action action)
{
    if (TSLWindowController* editor = TSLWindowController::defaultInstance())
        action(*editor);
}

} // namespace

Help_Support::Help_Support(QWidget* parent)
    : Form_Dialog(parent)
{
    for (QPushButton* link :
        { ui_->_Help_File_Label, ui_->support_id, ui_->support_id_2, ui_->website_1, ui_->reseller_1, ui_->reseller_2 })
        applyLinkStyle(*link);

    connect(ui_->_Help_File_Label, &QPushButton::clicked, this, &Help_Support::HelpFilePressed);
    connect(ui_->support_id, &QPushButton::clicked, this, [] { withEditor([](auto& e) { e.Open_Support_Mail(); }); });
    connect(ui_->support_id_2, &QPushButton::clicked, this, [] { withEditor([](auto& e) { e.Open_Support_Mail(); }); });
    connect(ui_->website_1, &QPushButton::clicked, this, [] { withEditor([](auto& e) { e.Open_Website_1(); }); });
    connect(ui_->reseller_1, &QPushButton::clicked, this, [] { withEditor([](auto& e) { e.Open_Reseller_Mail(); }); });
    connect(ui_->reseller_2, &QPushButton::clicked, this, [] { withEditor([](auto& e) { e.Open_Reseller_Mail(); }); });
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
    withEditor([](TSLWindowController& editor) { editor.Open_Google_Plus(); });
}

void Help_Support::Facebook_Clicked()
{
    withEditor([](TSLWindowController& editor) { editor.Open_FaceBook(); });
}

void Help_Support::Twitter_Clicked()
{
    withEditor([](TSLWindowController& editor) { editor.Open_Twitter(); });
}

void Help_Support::FB_Like_Clicked()
{
    withEditor([](TSLWindowController& editor) { editor.Open_FB_Like(); });
}
