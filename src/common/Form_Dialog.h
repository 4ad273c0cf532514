#pragma once

#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "platform/UiSeam.h"

#include <QDialog>

#include <exception>
#include <memory>

// A dialog laid out by its Designer form: builds the form on itself and gives it the program's small-window
// look. The form's widgets are reached through form(). The form is deleted through a function made where the
// generated class is complete, so headers need only declare it.
template <typename Form> class Form_Dialog : public QDialog {
public:
    Form& form() { return *ui_; }
    const Form& form() const { return *ui_; }

protected:
    explicit Form_Dialog(QWidget* parent)
        : QDialog(parent)
        , ui_(new Form, [](Form* form) { delete form; })
    {
        ui_->setupUi(this);
        applySmallWindowLook(*this);
    }

    // Prepares the window, runs it modally and puts it away: 1 after OK, 0 otherwise, also when preparing
    // or running it failed (the reason is logged).
    template <typename Prepare> int runModally(Prepare prepare)
    {
        try {
            prepare();
            const int code = platform::ui().runModal(*this);
            hide();
            return code == 1 ? 1 : 0;
        } catch (const std::exception& error) {
            hide();
            Show_NSLog_Message(QString::fromUtf8(error.what()));
            return 0;
        }
    }
    int runModally()
    {
        return runModally([] {});
    }

    const std::unique_ptr<Form, void (*)(Form*)> ui_;
};
