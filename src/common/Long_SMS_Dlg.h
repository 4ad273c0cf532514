#pragma once

#include "common/Window_Look.h"

#include <QDialog>

#include <memory>

namespace Ui { class Long_SMS_Dlg; }

// The generic message window: a long message with a title, an optional No button and an optional
// apply-to-all check box. In question mode the caller sets title_val and msg_val_str for one opening;
// otherwise (help mode) it shows Cutom_Msg_Title and Cutom_Msg_Val with OK alone.
class Long_SMS_Dlg : public QDialog {
    Q_OBJECT
public:
    static Long_SMS_Dlg* defaultInstance();
    ~Long_SMS_Dlg() override;

    int Open_Long_sms_Dialog(); // 1 for OK / Yes, 0 for No

    QString title_val; // null selects help mode
    QString msg_val_str;
    bool apply_chk_show = false;

    Ui::Long_SMS_Dlg& form() { return *ui_; }

public slots:
    void OKPressed();
    void CancelPressed();

private:
    explicit Long_SMS_Dlg(QWidget* parent = nullptr);
    void fillForOpening();
    std::unique_ptr<Ui::Long_SMS_Dlg> ui_;
};

// Gives a small window the program's look: modal, filled with the small-window background.
void applySmallWindowLook(QDialog& dialog);
