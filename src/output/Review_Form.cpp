#include "output/Review_Form.h"

#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "output/Link_Style.h"
#include "output/Maker_Links.h"
#include "output/Run_Info_Window.h"
#include "platform/UiSeam.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

Review_Form* Review_Form::defaultInstance()
{
    static Review_Form* instance = new Review_Form();
    return instance;
}

Review_Form::Review_Form(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Review_Window"));
    setWindowTitle(QStringLiteral("Thank you for using Tessaline Card"));
    applySmallWindowLook(*this);

    auto* text = new QLabel(QStringLiteral("Thank you for making cards with Tessaline Card.\n\nIf you enjoyed it, "
                                           "would you tell others what you think? A short review helps us a lot."),
        this);
    text->setWordWrap(true);
    text->setMinimumWidth(380);
    support_id = new QPushButton(QStringLiteral("support@tessaline.example"), this);
    support_id->setObjectName(QStringLiteral("support_id"));
    website_1 = new QPushButton(QStringLiteral("www.tessaline.example"), this);
    website_1->setObjectName(QStringLiteral("website_1"));
    for (QPushButton* link : { support_id, website_1 })
        applyLinkStyle(*link);
    review_btn = new QPushButton(QStringLiteral("Write a Review"), this);
    review_btn->setObjectName(QStringLiteral("review_btn"));
    ok_btn = new QPushButton(QStringLiteral("OK"), this);
    ok_btn->setObjectName(QStringLiteral("ok_btn"));
    review_btn->setDefault(true);

    auto* links = new QHBoxLayout;
    links->addWidget(support_id);
    links->addWidget(website_1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_btn);
    buttons->addWidget(review_btn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(links);
    layout->addLayout(buttons);

    connect(ok_btn, &QPushButton::clicked, this, &Review_Form::OK_Clicked);
    connect(review_btn, &QPushButton::clicked, this, &Review_Form::Review_Clicked);
    connect(support_id, &QPushButton::clicked, this, [] { platform::ui().openUrl(Maker_Links::supportMail()); });
    connect(website_1, &QPushButton::clicked, this, [] { platform::ui().openUrl(Maker_Links::website(1)); });
}

int Review_Form::Open_Review_Form_Window()
{
    return Run_Info_Window(*this);
}

void Review_Form::Open_Link(const QString& link)
{
    platform::ui().openUrl(QUrl(link));
}

void Review_Form::OK_Clicked()
{
    Open_Link(Maker_Links::reviewPage().toString());
    done(1);
}

void Review_Form::Review_Clicked()
{
    OK_Clicked();
}
