#include "data/Load_Num_Info.h"

#include "common/Long_SMS_Dlg.h"

#include "ui_Load_Num_Info.h"

Load_Num_Info* Load_Num_Info::defaultInstance()
{
    static Load_Num_Info* instance = new Load_Num_Info();
    return instance;
}

Load_Num_Info::Load_Num_Info(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Load_Num_Info>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    connect(ui_->yes_btn, &QPushButton::clicked, this, &Load_Num_Info::YESPressed);
    connect(ui_->no_btn, &QPushButton::clicked, this, &Load_Num_Info::NOPressed);
    connect(ui_->cancel_btn, &QPushButton::clicked, this, &Load_Num_Info::CancelPressed);
}

Load_Num_Info::~Load_Num_Info() = default;
