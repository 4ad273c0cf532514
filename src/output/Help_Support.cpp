#include "output/Help_Support.h"

#include "common/File_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "output/Editor_Forward.h"
#include "output/Link_Style.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

Help_Support* Help_Support::defaultInstance()
{
    static Help_Support* instance = new Help_Support();
    return instance;
}

Help_Support::Help_Support(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Help and Support"));
    applySmallWindowLook(*this);

    _Help_File_Label = namedButton(this, "_Help_File_Label", QStringLiteral("Open the user guide"));
    support_id = namedButton(this, "support_id", QStringLiteral("support@tessaline.example"));
    support_id_2 = namedButton(this, "support_id_2", QStringLiteral("Write to support"));
    website_1 = namedButton(this, "website_1", QStringLiteral("www.tessaline.example"));
    reseller_1 = namedButton(this, "reseller_1", QStringLiteral("resellers@tessaline.example"));
    reseller_2 = namedButton(this, "reseller_2", QStringLiteral("Become a reseller"));
    for (QPushButton* link : { _Help_File_Label, support_id, support_id_2, website_1, reseller_1, reseller_2 })
        applyLinkStyle(*link);
    gplus_btn = namedButton(this, "gplus_btn", QStringLiteral("Google+"));
    facebook_btn = namedButton(this, "facebook_btn", QStringLiteral("Facebook"));
    twitter_btn = namedButton(this, "twitter_btn", QStringLiteral("Twitter"));
    fb_like_btn = namedButton(this, "fb_like_btn", QStringLiteral("Like"));
    comments_btn = namedButton(this, "comments_btn", QStringLiteral("Comments"));
    close_btn = namedButton(this, "close_btn", QStringLiteral("Close"));
    close_btn->setDefault(true);

    auto* links = new QGridLayout;
    const struct {
        const char* caption;
        QPushButton* first;
        QPushButton* second;
    } rows[] = { { "User guide :", _Help_File_Label, nullptr }, { "Support :", support_id, support_id_2 },
        { "Web site :", website_1, nullptr }, { "Resellers :", reseller_1, reseller_2 } };
    int row = 0;
    for (const auto& r : rows) {
        links->addWidget(new QLabel(QLatin1String(r.caption), this), row, 0);
        links->addWidget(r.first, row, 1);
        if (r.second)
            links->addWidget(r.second, row, 2);
        ++row;
    }
    auto* social = new QHBoxLayout;
    social->addWidget(new QLabel(QStringLiteral("Share Tessaline Card :"), this));
    for (QPushButton* button : { gplus_btn, facebook_btn, twitter_btn, fb_like_btn, comments_btn })
        social->addWidget(button);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close_btn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(links);
    layout->addLayout(social);
    layout->addLayout(bottom);

    connect(_Help_File_Label, &QPushButton::clicked, this, &Help_Support::HelpFilePressed);
    connect(support_id, &QPushButton::clicked, this, [] { forwardToEditor([](auto& e) { e.Open_Support_Mail(); }); });
    connect(support_id_2, &QPushButton::clicked, this, [] { forwardToEditor([](auto& e) { e.Open_Support_Mail(); }); });
    connect(website_1, &QPushButton::clicked, this, [] { forwardToEditor([](auto& e) { e.Open_Website_1(); }); });
    connect(reseller_1, &QPushButton::clicked, this, [] { forwardToEditor([](auto& e) { e.Open_Reseller_Mail(); }); });
    connect(reseller_2, &QPushButton::clicked, this, [] { forwardToEditor([](auto& e) { e.Open_Reseller_Mail(); }); });
    connect(gplus_btn, &QPushButton::clicked, this, &Help_Support::Gplus_Clicked);
    connect(facebook_btn, &QPushButton::clicked, this, &Help_Support::Facebook_Clicked);
    connect(twitter_btn, &QPushButton::clicked, this, &Help_Support::Twitter_Clicked);
    connect(fb_like_btn, &QPushButton::clicked, this, &Help_Support::FB_Like_Clicked);
    connect(comments_btn, &QPushButton::clicked, this, &Help_Support::Social_Comments_Clicked);
    connect(close_btn, &QPushButton::clicked, this, [this] { done(1); });
}

void Help_Support::HelpFilePressed()
{
    Open_Help_File();
}

void Help_Support::Gplus_Clicked()
{
    forwardToEditor([](TSLWindowController& editor) { editor.Open_Google_Plus(); });
}

void Help_Support::Facebook_Clicked()
{
    forwardToEditor([](TSLWindowController& editor) { editor.Open_FaceBook(); });
}

void Help_Support::Twitter_Clicked()
{
    forwardToEditor([](TSLWindowController& editor) { editor.Open_Twitter(); });
}

void Help_Support::FB_Like_Clicked()
{
    forwardToEditor([](TSLWindowController& editor) { editor.Open_FB_Like(); });
}
