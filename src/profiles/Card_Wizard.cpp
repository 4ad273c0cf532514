#include "profiles/Card_Wizard.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "profiles/Card_Size_Chooser.h"
#include "profiles/Invitation_Wizard_Host.h"

#include "ui_Card_Size_Chooser.h"
#include "ui_Card_Wizard.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>

Card_Wizard::Card_Wizard(QWidget* parent)
    : Form_Dialog(parent)
{
    QButtonGroup* shapes = ui_->matrix_card_shape;
    for (QRadioButton* shape : { ui_->card_shape_0, ui_->card_shape_1, ui_->card_shape_2 })
        shapes->setId(shape, int(shapes->buttons().indexOf(shape)));
    connect(shapes, &QButtonGroup::idClicked, this, &Card_Wizard::card_shape_CellClick);
    connect(ui_->profile_btn, &QPushButton::clicked, this, &Card_Wizard::User_Profile_Click);
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Card_Wizard::OK_Click);
    connect(ui_->cancel_btn, &QPushButton::clicked, this, &Card_Wizard::CancelClick);
}

void Card_Wizard::setHost(Invitation_Wizard_Host* host)
{
    host_ = host;
    ui_->sizes->setHost(host);
}

int Card_Wizard::Open_Wnd()
{
    return runModally([this] {
        chosenShape_ = Card_Shape >= 0 && Card_Shape <= 2 ? Card_Shape : 0;
        shownShape_ = chosenShape_;
        changed_ = false;
        if (QAbstractButton* shape = ui_->matrix_card_shape->button(chosenShape_))
            shape->setChecked(true);
        ui_->sizes->reset();
        // Enter or OK straight away keeps the card as it is.
        if (const QSizeF card = host_ ? host_->cardSizeInMillimetres() : QSizeF(); !card.isEmpty())
            ui_->sizes->showSize(card);
        shownSize_ = fieldsSize();
    });
}

void Card_Wizard::card_shape_CellClick(int row)
{
    chosenShape_ = row;
}

void Card_Wizard::User_Profile_Click()
{
    if (host_)
        host_->openProfileWithoutSide();
}

void Card_Wizard::OK_Click()
{
    const QSizeF fields = fieldsSize();
    const double width = fields.width() * kPointsPerMillimetre;
    const double height = fields.height() * kPointsPerMillimetre;
    Card_Shape = chosenShape_;
    // The fields show the card's size rounded: left as they opened, they keep the card exactly as it is.
    changed_ = fields != shownSize_ || chosenShape_ != shownShape_;
    if (host_ && fields != shownSize_) {
        host_->Set_Document_Size(width, height);
        host_->SetDocumentCanvasSize(width, height);
    }
    done(1);
}

QSizeF Card_Wizard::fieldsSize() const
{
    const Ui::Card_Size_Chooser& size = ui_->sizes->form();
    return QSizeF(size.width_Stepper->value(), size.height_Stepper->value());
}

void Card_Wizard::CancelClick()
{
    done(0);
}
