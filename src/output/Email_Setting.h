#pragma once

#include <QDialog>

#include "output/Mail_Script.h"

#include <atomic>
#include <memory>

namespace Ui {
class Email_Setting;
}

// The e-mail settings window: sender account, server, port, SSL or TLS and a test-mail recipient, checked,
// saved to the settings store, tried with a test mail and reset. Its fields are reloaded at every opening.
class Email_Setting : public QDialog {
    Q_OBJECT
public:
    static Email_Setting& defaultInstance();
    ~Email_Setting() override;

    int Open_Wnd(); // 1 after Save, 0 after Close

    void Save_Button();
    void Close_Button();
    void Send_Test_Email(); // while a test mail is under way, the same button cancels it
    void Reset_Button();
    void SSL_Selected();
    void TLS_Selected();

    void loadPreferences();
    bool flushPreferences(QString* error = nullptr);
    bool Check_Validation(bool withRecipient);
    QString sslFlag() const; // "Y" when SSL is on and TLS off, else "N"

    // The text a test mail that could not reach the server shows.
    static QString testMailFailureText();
    // What the label and the message say after a test mail.
    static QString testMailResultText(const struct Mail_Outcome& outcome);

    Ui::Email_Setting& form() { return *ui_; }

protected:
    void reject() override { Close_Button(); }

private:
    explicit Email_Setting(QWidget* parent = nullptr);
    // The script off the GUI thread, this window waiting with everything but Cancel off.
    Mail_Outcome runTestMail(const struct Mail_Message& mail);
    void setTestMailUnderWay(bool underWay);
    void clearTestResult(); // the test line and its result
    std::unique_ptr<Ui::Email_Setting> ui_;
    bool testMailUnderWay_ = false;
    std::atomic<bool> cancelTestMail_ { false };
};
