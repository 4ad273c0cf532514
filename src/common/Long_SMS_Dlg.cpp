#include "common/Long_SMS_Dlg.h"

#include "common/Globals.h"
#include "common/Screen_Fit.h"
#include "platform/UiSeam.h"
#include "ui_Long_SMS_Dlg.h"

void applySmallWindowLook(QDialog& dialog)
{
    dialog.setModal(true);
    applyWindowLook(dialog);
    keepWindowOnScreen(dialog);
}

Long_SMS_Dlg* Long_SMS_Dlg::defaultInstance()
{
    // Lives for the whole run, like every dialog of the program; created on first use on the GUI thread.
    static Long_SMS_Dlg* instance = new Long_SMS_Dlg();
    return instance;
}

Long_SMS_Dlg::Long_SMS_Dlg(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Long_SMS_Dlg>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    // The question names a series after a workbook's column: its characters, never markup.
    ui_->_Msg_Title->setTextFormat(Qt::PlainText);
    ui_->_Msg_Val->setTextFormat(Qt::PlainText);
    connect(ui_->yes_button, &QPushButton::clicked, this, &Long_SMS_Dlg::OKPressed);
    connect(ui_->no_button, &QPushButton::clicked, this, &Long_SMS_Dlg::CancelPressed);
}

Long_SMS_Dlg::~Long_SMS_Dlg() = default;

void Long_SMS_Dlg::fillForOpening()
{
    const bool questionMode = !title_val.isNull();
    ui_->_Msg_Title->setText(questionMode ? title_val : Cutom_Msg_Title);
    ui_->_Msg_Val->setText(questionMode ? msg_val_str : Cutom_Msg_Val);
    ui_->no_button->setVisible(questionMode);
    ui_->yes_button->setText(questionMode ? QStringLiteral("Yes") : QStringLiteral("OK"));
    ui_->apply_chk->setVisible(apply_chk_show);
}

int Long_SMS_Dlg::Open_Long_sms_Dialog()
{
    fillForOpening();
    const int result = platform::ui().runModal(*this);
    hide();
    title_val = QString();
    msg_val_str = QString();
    return result;
}

void Long_SMS_Dlg::OKPressed()
{
    Msg_Apply_All_Chk = ui_->apply_chk->isChecked();
    done(1);
}

void Long_SMS_Dlg::CancelPressed()
{
    done(0);
}
