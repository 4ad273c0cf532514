#include "info/Review_Form.h"

#include "common/Common_Functions.h"
#include "info/Link_Style.h"
#include "info/Maker_Links.h"
#include "platform/UiSeam.h"

#include "ui_Review_Form.h"

#include <QPushButton>
#include <QUrl>

Review_Form::Review_Form(QWidget* parent)
    : Form_Dialog(parent)
{
    for (QPushButton* link : { ui_->support_id, ui_->website_1 })
        applyLinkStyle(*link);

    // Enter closes the window: only a click of its own opens the browser.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(button == ui_->close_btn);
    connect(ui_->close_btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Review_Form::OK_Clicked);
    connect(ui_->review_btn, &QPushButton::clicked, this, &Review_Form::Review_Clicked);
    connect(ui_->support_id, &QPushButton::clicked, this, [] { platform::ui().openUrl(Maker_Links::supportMail()); });
    connect(ui_->website_1, &QPushButton::clicked, this, [] { platform::ui().openUrl(Maker_Links::website(1)); });
}

int Review_Form::Open_Review_Form_Window()
{
    return runModally();
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
