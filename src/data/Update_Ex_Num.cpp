#include "data/Update_Ex_Num.h"

#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "data/Series_Value_Model.h"

#include "ui_Update_Ex_Num.h"

Update_Ex_Num* Update_Ex_Num::defaultInstance()
{
    static Update_Ex_Num* instance = new Update_Ex_Num();
    return instance;
}

Update_Ex_Num::Update_Ex_Num(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Update_Ex_Num>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    ui_->m_s_number->hide();
    ui_->m_ex_num_index->hide();
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Update_Ex_Num::OKPressed);
    connect(ui_->cancel_btn, &QPushButton::clicked, this, &Update_Ex_Num::CancelPressed);
}

Update_Ex_Num::~Update_Ex_Num() = default;

void Update_Ex_Num::setValue(int row, const QString& value)
{
    ui_->m_ex_num_str->setText(value);
    ui_->m_s_number->setText(value);
    ui_->m_ex_num_index->setText(QString::number(row));
    ui_->m_ex_num_str->selectAll();
    ui_->m_ex_num_str->setFocus();
}

void Update_Ex_Num::clearFields()
{
    ui_->m_ex_num_str->clear();
    ui_->m_s_number->clear();
    ui_->m_ex_num_index->clear();
}

void Update_Ex_Num::OKPressed()
{
    if (ui_->m_s_number->text() == ui_->m_ex_num_str->text()) {
        done(1);
        return;
    }
    const QString value = Trim_Str(ui_->m_ex_num_str->text());
    if (value.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter a valid value."));
        ui_->m_ex_num_str->setFocus();
        return;
    }
    bool isNumber = false;
    const int row = ui_->m_ex_num_index->text().toInt(&isNumber);
    // The row may have gone from the list since the editor was filled: then nothing is changed.
    if (!isNumber || !list_ || !list_->replace(row, value)) {
        Show_NSLog_Message(QStringLiteral("Update_Ex_Num: row %1 is not in the list").arg(ui_->m_ex_num_index->text()));
        clearFields();
        done(0);
        return;
    }
    clearFields();
    done(1);
}

void Update_Ex_Num::CancelPressed()
{
    clearFields();
    done(0);
}
