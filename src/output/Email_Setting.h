#pragma once

#include <QDialog>

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
    void Send_Test_Email();
    void Reset_Button();
    void SSL_Selected();
    void TLS_Selected();

    void loadPreferences();
    bool flushPreferences(QString* error = nullptr);
    bool Check_Validation(bool withRecipient);
    QString sslFlag() const; // "Y" when SSL is on and TLS off, else "N"

    // The text a failed test mail shows.
    static QString testMailFailureText();

    Ui::Email_Setting& form() { return *ui_; }

protected:
    void reject() override { Close_Button(); }

private:
    explicit Email_Setting(QWidget* parent = nullptr);
    bool runTestMail(const struct Mail_Message& mail); // the script off the GUI thread, this window waiting
    std::unique_ptr<Ui::Email_Setting> ui_;
};
