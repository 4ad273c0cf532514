#include "info/Promotion_Form.h"

#include "common/Common_Functions.h"
#include "info/Link_Style.h"
#include "info/Maker_Links.h"
#include "platform/DataFolder.h"
#include "platform/UiSeam.h"

#include "ui_Promotion_Form.h"

#include <QApplication>
#include <QPushButton>
#include <QUrl>

#include <exception>

namespace {

// The name the enquiry mail gives, as the main window's title shows it.
QString applicationName()
{
    const QString name
        = Replace_char_in_string(QApplication::applicationName(), QStringLiteral("&"), QStringLiteral("and"));
    return name.isEmpty() ? QStringLiteral("Tessaline Card") : name;
}

} // namespace

Promotion_Form::Promotion_Form(QWidget* parent)
    : Form_Dialog(parent)
    , products_(Promotion_Product::makeAll(applicationName(), platform::installedResourceDir()))
{
    for (QPushButton* link : { ui_->support_id, ui_->website_1 })
        applyLinkStyle(*link);
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Promotion_Form::OK_Clicked);
    connect(ui_->mail_btn, &QPushButton::clicked, this, &Promotion_Form::Mail_Clicked);
    connect(ui_->contact_btn, &QPushButton::clicked, this, &Promotion_Form::Contact_us_Clicked);
    connect(ui_->order_btn, &QPushButton::clicked, this, &Promotion_Form::Order_Clicked);
    connect(ui_->youtube_btn, &QPushButton::clicked, this, &Promotion_Form::youtube_Clicked);
    connect(ui_->support_id, &QPushButton::clicked, this, [] { Maker_Links::open(Maker_Links::supportMail()); });
    connect(ui_->website_1, &QPushButton::clicked, this, [] { Maker_Links::open(Maker_Links::website(1)); });
}

const Promotion_Product* Promotion_Form::shownKind() const
{
    for (const Promotion_Product& product : products_) {
        if (product.kind == software_type)
            return &product;
    }
    return nullptr;
}

void Promotion_Form::Show_Product(const Promotion_Product& product)
{
    ui_->bundle_image->setImage(product.picture);
    ui_->Software_title->setText(product.title);
    ui_->short_descp->setText(product.shortDescription);
    ui_->long_descp->setText(product.longDescription);
}

int Promotion_Form::Open_Promotion_Window()
{
    return runModally([this] {
        if (const Promotion_Product* product = shownKind())
            Show_Product(*product);
    });
}

void Promotion_Form::Open_Link(const QString& link)
{
    if (link.isEmpty())
        return;
    try {
        platform::ui().openUrl(QUrl(link));
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}

void Promotion_Form::OK_Clicked()
{
    done(1);
}

void Promotion_Form::Mail_Clicked()
{
    const Promotion_Product* product = shownKind();
    Open_Link(product ? product->mailLink : QString());
}

void Promotion_Form::Contact_us_Clicked()
{
    const Promotion_Product* product = shownKind();
    Open_Link(product ? product->contactLink : QString());
}

void Promotion_Form::Order_Clicked()
{
    const Promotion_Product* product = shownKind();
    Open_Link(product ? product->orderLink : QString());
}

void Promotion_Form::youtube_Clicked()
{
    Open_Link(Maker_Links::videoChannel().toString());
}
