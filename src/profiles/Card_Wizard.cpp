#include "profiles/Card_Wizard.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "platform/UiSeam.h"
#include "profiles/Card_Size_Chooser.h"
#include "profiles/Invitation_Wizard_Host.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {


} // namespace

Card_Wizard* Card_Wizard::defaultInstance()
{
    static Card_Wizard* instance = new Card_Wizard();
    return instance;
}

Card_Wizard::Card_Wizard(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Card_Wizard"));
    setWindowTitle(QStringLiteral("Card Size and Shape"));
    applySmallWindowLook(*this);
    auto* shapes = new QGroupBox(QStringLiteral("Card shape"), this);
    auto* shapeLayout = new QVBoxLayout(shapes);
    matrix_card_shape = new QButtonGroup(this);
    const char* names[] = { "Rectangle", "Rounded Rectangle", "Oval" };
    for (int row = 0; row < 3; ++row) {
        auto* radio = new QRadioButton(QLatin1String(names[row]), shapes);
        radio->setObjectName(QStringLiteral("card_shape_%1").arg(row));
        matrix_card_shape->addButton(radio, row);
        shapeLayout->addWidget(radio);
    }
    shapeLayout->addStretch();
    sizes = new Card_Size_Chooser(this);
    profile_btn = new QPushButton(QStringLiteral("Card Holder..."), this);
    profile_btn->setObjectName(QStringLiteral("profile_btn"));
    ok_btn = new QPushButton(QStringLiteral("OK"), this);
    ok_btn->setObjectName(QStringLiteral("ok_btn"));
    ok_btn->setDefault(true);
    cancel_btn = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_btn->setObjectName(QStringLiteral("cancel_btn"));

    auto* top = new QHBoxLayout;
    top->addWidget(shapes);
    top->addWidget(sizes, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(profile_btn);
    buttons->addStretch();
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(matrix_card_shape, &QButtonGroup::idClicked, this, &Card_Wizard::card_shape_CellClick);
    connect(profile_btn, &QPushButton::clicked, this, &Card_Wizard::User_Profile_Click);
    connect(ok_btn, &QPushButton::clicked, this, &Card_Wizard::OK_Click);
    connect(cancel_btn, &QPushButton::clicked, this, &Card_Wizard::CancelClick);
}

void Card_Wizard::setHost(Invitation_Wizard_Host* host)
{
    host_ = host;
    sizes->setHost(host);
}

int Card_Wizard::Open_Wnd()
{
    matrix_card_shape->button(0)->setChecked(true);
    sizes->reset();
    const int code = platform::ui().runModal(*this);
    hide();
    return code == 1 ? 1 : 0;
}

void Card_Wizard::card_shape_CellClick(int row)
{
    Card_Shape = row;
}

void Card_Wizard::User_Profile_Click()
{
    if (host_)
        host_->openProfileWithoutSide();
}

void Card_Wizard::OK_Click()
{
    const double width = sizes->width_Stepper->value() * kPointsPerMillimetre;
    const double height = sizes->height_Stepper->value() * kPointsPerMillimetre;
    if (host_) {
        host_->Set_Document_Size(width, height);
        host_->SetDocumentCanvasSize(width, height);
    }
    done(1);
}

void Card_Wizard::CancelClick()
{
    Card_Shape = 0;
    done(0);
}
