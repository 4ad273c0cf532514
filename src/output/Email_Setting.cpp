#include "output/Email_Setting.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "common/PleaseWait_Modeless.h"
#include "output/Mail_Globals.h"
#include "output/Preferences.h"
#include "platform/UiSeam.h"

#include "ui_Email_Setting.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <thread>

Email_Setting& Email_Setting::defaultInstance()
{
    static Email_Setting* instance = new Email_Setting();
    return *instance;
}

Email_Setting::Email_Setting(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Email_Setting>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    connect(ui_->saveButton, &QPushButton::clicked, this, &Email_Setting::Save_Button);
    connect(ui_->closeButton, &QPushButton::clicked, this, &Email_Setting::Close_Button);
    connect(ui_->testMailButton, &QPushButton::clicked, this, &Email_Setting::Send_Test_Email);
    connect(ui_->resetButton, &QPushButton::clicked, this, &Email_Setting::Reset_Button);
    connect(ui_->_send_mail_ssl, &QRadioButton::clicked, this, &Email_Setting::SSL_Selected);
    connect(ui_->_send_mail_tls, &QRadioButton::clicked, this, &Email_Setting::TLS_Selected);
    // A result tells about the settings it was made with: an edit makes it stale.
    for (QLineEdit* field : { ui_->_send_mail_to, ui_->_send_mail_sender_mail, ui_->_send_mail_smtp,
             ui_->_send_mail_port, ui_->_send_mail_password })
        connect(field, &QLineEdit::textEdited, this, &Email_Setting::clearTestResult);
}

void Email_Setting::clearTestResult()
{
    ui_->_send_mail_test_mail->clear();
    ui_->_send_mail_result_status->clear();
}

Email_Setting::~Email_Setting() = default;

int Email_Setting::Open_Wnd()
{
    loadPreferences();
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

void Email_Setting::Save_Button()
{
    if (!Check_Validation(false))
        return;
    QString reason;
    if (!flushPreferences(&reason)) {
        Show_MessageBox(QStringLiteral("The e-mail settings could not be saved in %1: %2.")
                            .arg(Preferences::settingsFilePath(), reason));
        return;
    }
    done(1);
}

void Email_Setting::Close_Button()
{
    // Escape during a test mail cancels it; the window stays.
    if (testMailUnderWay_) {
        cancelTestMail_ = true;
        return;
    }
    done(0);
}

void Email_Setting::SSL_Selected()
{
    ui_->_send_mail_ssl->setChecked(true);
    ui_->_send_mail_tls->setChecked(false);
}

void Email_Setting::TLS_Selected()
{
    ui_->_send_mail_ssl->setChecked(false);
    ui_->_send_mail_tls->setChecked(true);
}

QString Email_Setting::sslFlag() const
{
    return ui_->_send_mail_ssl->isChecked() && !ui_->_send_mail_tls->isChecked() ? QStringLiteral("Y")
                                                                                 : QStringLiteral("N");
}

void Email_Setting::loadPreferences()
{
    const auto store = Preferences::sharedInstance();
    ui_->_send_mail_to->setText(store->send_email_Recipient().value_or(QString()));
    ui_->_send_mail_sender_mail->setText(store->send_email_SenderEmail().value_or(QString()));
    ui_->_send_mail_smtp->setText(store->send_email_SMTP_server().value_or(QString()));
    ui_->_send_mail_port->setText(store->send_email_PORT_num().value_or(QString()));
    ui_->_send_mail_password->setText(store->send_email_Password().value_or(QString()));
    if (store->send_email_enable_ssl() == QStringLiteral("Y"))
        SSL_Selected();
    else
        TLS_Selected();
    clearTestResult();
}

bool Email_Setting::flushPreferences(QString* error)
{
    const auto store = Preferences::sharedInstance();
    store->setsend_email_Recipient(ui_->_send_mail_to->text());
    store->setsend_email_SenderEmail(ui_->_send_mail_sender_mail->text());
    store->setsend_email_SMTP_server(ui_->_send_mail_smtp->text());
    store->setsend_email_PORT_num(ui_->_send_mail_port->text());
    store->setsend_email_Password(ui_->_send_mail_password->text());
    store->setsend_email_enable_ssl(sslFlag());
    return store->flush(error);
}

bool Email_Setting::Check_Validation(bool withRecipient)
{
    const auto fail = [](const char* message, QWidget* field) {
        Show_MessageBox(QString::fromLatin1(message));
        field->setFocus();
        return false;
    };
    // A settings file cannot hold control characters (they would come back as U+FFFD), nor can a mail
    // header: a field holding one is refused here, before anything is saved or sent.
    for (QLineEdit* field : { ui_->_send_mail_sender_mail, ui_->_send_mail_password, ui_->_send_mail_smtp,
             ui_->_send_mail_port, ui_->_send_mail_to }) {
        if (hasControlCharacter(field->text()))
            return fail("Please remove the line breaks and other control characters from this field.", field);
    }
    const QString sender = ui_->_send_mail_sender_mail->text().toLower();
    if (sender.isEmpty())
        return fail("Please enter sender E-mail.", ui_->_send_mail_sender_mail);
    if (!isValidEmail(sender))
        return fail("Please enter valid sender E-mail address.", ui_->_send_mail_sender_mail);
    // No password is needed for a relay that asks for no login; the mail script sends one only encrypted.
    if (ui_->_send_mail_smtp->text().isEmpty())
        return fail("Please enter SMTP server.", ui_->_send_mail_smtp);
    if (ui_->_send_mail_port->text().isEmpty())
        return fail("Please enter port number.", ui_->_send_mail_port);
    if (!validPort(ui_->_send_mail_port->text()))
        return fail("Please enter a port number from 1 to 65535.", ui_->_send_mail_port);
    if (!withRecipient)
        return true;
    const QString recipient = ui_->_send_mail_to->text().toLower();
    if (recipient.isEmpty())
        return fail("Please enter recipient E-mail address.", ui_->_send_mail_to);
    if (!isValidEmail(recipient))
        return fail("Please enter valid recipient E-mail address.", ui_->_send_mail_to);
    return true;
}

QString Email_Setting::testMailFailureText()
{
    return QStringLiteral(
        "Please make sure that:\n1. Entered E-mail settings are correct.\n2. Internet connectivity to E-mail server is "
        "not interrupted and E-mail server is not down.\n3. Your Firewall or Security software (if any) is not "
        "blocking the software to communicate with your E-mail server.");
}

QString Email_Setting::testMailResultText(const Mail_Outcome& outcome)
{
    // The reason the system gave comes first: the checklist only says where to look for it.
    if (outcome.status == Mail_Outcome::Status::Failed)
        return outcome.text() + QStringLiteral("\n\n") + testMailFailureText();
    return outcome.text();
}

void Email_Setting::Send_Test_Email()
{
    if (testMailUnderWay_) {
        cancelTestMail_ = true;
        return;
    }
    if (!Check_Validation(true))
        return;
    Mail_Message mail;
    mail.toAddress = ui_->_send_mail_to->text().toLower();
    mail.sender = ui_->_send_mail_sender_mail->text().toLower();
    mail.password = ui_->_send_mail_password->text();
    mail.smtpServer = ui_->_send_mail_smtp->text();
    mail.port = ui_->_send_mail_port->text();
    mail.enableSsl = sslFlag();
    mail.subject = mailAppName() + QStringLiteral(" Test Mail");
    mail.body = QStringLiteral("This is test mail sent by ") + mailAppName() + QStringLiteral(".");
    if (const std::optional<QString> limit = Mail_Script::overLimit(mail)) {
        Show_MessageBox(*limit);
        return;
    }

    ui_->_send_mail_result_status->setText(QStringLiteral("It may take a while, Please wait..."));
    ui_->_send_mail_test_mail->setText(QStringLiteral("Test mail to %1").arg(mail.toAddress));
    const Mail_Outcome outcome = runTestMail(mail);
    const QString text = testMailResultText(outcome);
    ui_->_send_mail_result_status->setText(text);
    if (outcome.status != Mail_Outcome::Status::Cancelled)
        Show_MessageBox(text);
}

void Email_Setting::setTestMailUnderWay(bool underWay)
{
    testMailUnderWay_ = underWay;
    for (QWidget* control : std::initializer_list<QWidget*> { ui_->accountBox, ui_->_send_mail_to, ui_->resetButton,
             ui_->closeButton, ui_->saveButton })
        control->setEnabled(!underWay);
    ui_->testMailButton->setText(underWay ? QStringLiteral("Cancel") : QStringLiteral("Send Test Mail"));
}

Mail_Outcome Email_Setting::runTestMail(const Mail_Message& mail)
{
    // The script runs off the GUI thread so the window keeps drawing; a local loop waits for the result and
    // the test-mail button, now Cancel, ends the send at once.
    PleaseWait_Modeless* wait = PleaseWait_Modeless::defaultInstance();
    wait->showPainted(QStringLiteral("It may take a while, Please wait.."));
    cancelTestMail_ = false;
    setTestMailUnderWay(true);
    QEventLoop loop;
    Mail_Outcome outcome;
    std::thread worker([&] {
        outcome = Mail_Script::send(mail, &cancelTestMail_);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    setTestMailUnderWay(false);
    wait->hide();
    return outcome;
}

void Email_Setting::Reset_Button()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to reset current email settings?")) != 1)
        return;
    Delete_File(Preferences::settingsFilePath());
    for (QLineEdit* field : { ui_->_send_mail_to, ui_->_send_mail_sender_mail, ui_->_send_mail_smtp,
             ui_->_send_mail_port, ui_->_send_mail_password })
        field->clear();
    clearTestResult();
    TLS_Selected();
    Get_Email_Details();
}
