#include "output/Email_Setting.h"

#include "MailTestSupport.h"
#include "output/Mail_Globals.h"
#include "output/Preferences.h"

#include "ui_Email_Setting.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Fields {
    const char* sender;
    const char* password;
    const char* smtp;
    const char* port;
    const char* recipient;
};

void type(QLineEdit* field, const char* text)
{
    field->clear();
    field->setFocus();
    QTest::keyClicks(field, QString::fromUtf8(text));
}

void fill(Email_Setting& window, const Fields& f)
{
    Ui::Email_Setting& form = window.form();
    type(form._send_mail_sender_mail, f.sender);
    type(form._send_mail_password, f.password);
    type(form._send_mail_smtp, f.smtp);
    type(form._send_mail_port, f.port);
    type(form._send_mail_to, f.recipient);
}

// Opens the window as the send window does and lets `act` work in it while it is up.
int openWindow(testsupport::ScriptedResponder& ui, const std::function<void(Email_Setting&)>& act)
{
    ui.modalRuns.push_back([&act](QDialog& dialog) {
        auto& window = static_cast<Email_Setting&>(dialog);
        window.show();
        QApplication::setActiveWindow(&window);
        act(window);
        return window.result();
    });
    return Email_Setting::defaultInstance().Open_Wnd();
}

} // namespace

TEST(EmailSetting, SaveChecksEachFieldInOrderAndFocusesTheOneAtFault)
{
    FreshDataFolder folder(QStringLiteral("settings-checks"));
    struct Case {
        Fields fields;
        bool withRecipient; // the test mail's check instead of Save's
        const char* message;
        const char* focus;
        bool pasteControl = false; // a bell character pasted at the end of the focused field (typing drops it)
    };
    std::vector<Case> cases = {
        { { "", "pw", "s", "1", "" }, false, "Please enter sender E-mail.", "_send_mail_sender_mail" },
        { { "me@example", "pw", "s", "1", "" }, false, "Please enter valid sender E-mail address.",
            "_send_mail_sender_mail" },
        { { "me@example.com", "", "", "1", "" }, false, "Please enter SMTP server.", "_send_mail_smtp" },
        { { "me@example.com", "pw", "s", "", "" }, false, "Please enter port number.", "_send_mail_port" },
        { { "me@example.com", "pw", "s", "65535", "" }, true, "Please enter recipient E-mail address.",
            "_send_mail_to" },
        { { "me@example.com", "pw", "s", "1", "you@x" }, true, "Please enter valid recipient E-mail address.",
            "_send_mail_to" },
        { { "me@example.com", "pw", "s", "1", "You <you@x.org>" }, true, "Please enter valid recipient E-mail address.",
            "_send_mail_to" },
    };
    // Ports outside 1 to 65535 (65536 by the test mail's check), and a control character in a field.
    for (const char* port : { "x", "0", "65536", "99999" })
        cases.push_back({ { "me@example.com", "pw", "s", port, "" }, *port == '6',
            "Please enter a port number from 1 to 65535.", "_send_mail_port" });
    for (const char* field : { "_send_mail_password", "_send_mail_smtp", "_send_mail_to" }) {
        const bool to = QLatin1String(field).endsWith(QLatin1String("_to"));
        cases.push_back({ { "me@example.com", "pw", "s", "1", to ? "you@example.com" : "" }, to,
            "Please remove the line breaks and other control characters from this field.", field, true });
    }
    for (const auto& c : cases) {
        testsupport::ScriptedResponder ui;
        QString focused;
        const int result = openWindow(ui, [&](Email_Setting& window) {
            fill(window, c.fields);
            if (c.pasteControl) {
                auto* field = window.findChild<QLineEdit*>(QString::fromLatin1(c.focus));
                field->setText(field->text() + QChar(7));
            }
            QTest::mouseClick(
                c.withRecipient ? window.form().testMailButton : window.form().saveButton, Qt::LeftButton);
            focused = window.focusWidget() ? window.focusWidget()->objectName() : QString();
            if (window.isVisible())
                QTest::mouseClick(window.form().closeButton, Qt::LeftButton);
        });
        EXPECT_EQ(result, 0) << c.message;
        ASSERT_EQ(ui.messages.size(), 1u) << c.message;
        EXPECT_EQ(ui.messages[0].text.trimmed().toStdString(), c.message);
        EXPECT_EQ(focused.toStdString(), c.focus) << c.message;
        // Nothing was saved: the file is still the empty one the first reading made.
        EXPECT_EQ(QFileInfo(folder.settingsFile()).size(), 0);
    }
}

TEST(EmailSetting, SaveStoresTheFieldsAsTypedWithoutARecipientAndTheNextOpeningShowsThem)
{
    FreshDataFolder folder(QStringLiteral("settings-save"));
    testsupport::ScriptedResponder ui;
    const int saved = openWindow(ui, [](Email_Setting& window) {
        EXPECT_EQ(window.form()._send_mail_password->placeholderText(),
            QStringLiteral("Only for servers that ask for a login"));
        fill(window, { "Sender@Example.COM", "Pa ss", "smtp.example.com", " 2525", "" });
        // A long test result scrolls and leaves the fields their room; it does not outlive the window.
        const int room = window.minimumSizeHint().height();
        window.form()._send_mail_test_mail->setText(QStringLiteral("Test mail to a@example.com"));
        window.form()._send_mail_result_status->setText(QStringLiteral("refused ").repeated(600));
        EXPECT_LT(window.minimumSizeHint().height(), room + 120);
        QTest::mouseClick(window.form()._send_mail_ssl, Qt::LeftButton);
        QTest::mouseClick(window.form().saveButton, Qt::LeftButton);
    });
    EXPECT_EQ(saved, 1);
    EXPECT_TRUE(ui.messages.empty());
    const auto store = Preferences::sharedInstance();
    EXPECT_EQ(store->send_email_SenderEmail(), QStringLiteral("Sender@Example.COM"));
    EXPECT_EQ(store->send_email_Password(), QStringLiteral("Pa ss"));
    EXPECT_EQ(store->send_email_PORT_num(), QStringLiteral(" 2525"));
    EXPECT_EQ(store->send_email_Recipient(), QString());
    EXPECT_EQ(store->send_email_enable_ssl(), QStringLiteral("Y"));

    // Edits closed without Save are lost; the next opening shows what was saved, SSL chosen.
    openWindow(ui, [](Email_Setting& window) {
        EXPECT_EQ(window.form()._send_mail_sender_mail->text(), QStringLiteral("Sender@Example.COM"));
        EXPECT_TRUE(window.form()._send_mail_ssl->isChecked());
        EXPECT_FALSE(window.form()._send_mail_tls->isChecked());
        EXPECT_TRUE(window.form()._send_mail_test_mail->text().isEmpty());
        window.form()._send_mail_result_status->setText(QStringLiteral("E-mail has been sent successfully."));
        type(window.form()._send_mail_smtp, "other.example.com");
        EXPECT_TRUE(window.form()._send_mail_result_status->text().isEmpty()) << "an edit makes the result stale";
        QTest::mouseClick(window.form()._send_mail_tls, Qt::LeftButton);
        EXPECT_FALSE(window.form()._send_mail_ssl->isChecked());
        QTest::mouseClick(window.form().closeButton, Qt::LeftButton);
    });
    EXPECT_EQ(Preferences::sharedInstance()->send_email_SMTP_server(), QStringLiteral("smtp.example.com"));
    EXPECT_EQ(Preferences::sharedInstance()->send_email_enable_ssl(), QStringLiteral("Y"));
}

TEST(EmailSetting, AnythingButYShowsTls)
{
    const char* const flags[] = { "N", "", "yes", nullptr };
    for (const char* flag : flags) {
        FreshDataFolder folder(QStringLiteral("settings-tls"));
        {
            const auto store = Preferences::sharedInstance();
            store->setsend_email_SenderEmail(QStringLiteral("a@b.cd"));
            if (flag)
                store->setsend_email_enable_ssl(QString::fromLatin1(flag));
            store->flush();
        }
        testsupport::ScriptedResponder ui;
        openWindow(ui, [&](Email_Setting& window) {
            EXPECT_TRUE(window.form()._send_mail_tls->isChecked()) << (flag ? flag : "none");
            EXPECT_FALSE(window.form()._send_mail_ssl->isChecked());
            EXPECT_EQ(window.sslFlag(), QStringLiteral("N"));
            QTest::mouseClick(window.form().closeButton, Qt::LeftButton);
        });
    }
}

TEST(EmailSetting, ResetAskedNoKeepsEverythingAndYesEmptiesFieldsFileAndGlobals)
{
    FreshDataFolder folder(QStringLiteral("settings-reset"));
    testsupport::ScriptedResponder ui;
    openWindow(ui, [](Email_Setting& window) {
        fill(window, { "me@example.com", "pw", "smtp.example.com", "465", "you@example.org" });
        QTest::mouseClick(window.form()._send_mail_ssl, Qt::LeftButton);
        QTest::mouseClick(window.form().saveButton, Qt::LeftButton);
    });
    Get_Email_Details();
    ASSERT_EQ(sending_server, QStringLiteral("smtp.example.com"));

    ui.messageAnswers = { 0, 1 };
    openWindow(ui, [&](Email_Setting& window) {
        QTest::mouseClick(window.form().resetButton, Qt::LeftButton);
        EXPECT_EQ(window.form()._send_mail_smtp->text(), QStringLiteral("smtp.example.com"));
        EXPECT_GT(QFileInfo(folder.settingsFile()).size(), 0);

        QTest::mouseClick(window.form().resetButton, Qt::LeftButton);
        for (QLineEdit* field : { window.form()._send_mail_sender_mail, window.form()._send_mail_password,
                 window.form()._send_mail_smtp, window.form()._send_mail_port, window.form()._send_mail_to })
            EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
        EXPECT_TRUE(window.form()._send_mail_tls->isChecked());
        EXPECT_FALSE(window.form()._send_mail_ssl->isChecked());
        EXPECT_TRUE(window.isVisible()); // the window stays open
        QTest::mouseClick(window.form().closeButton, Qt::LeftButton);
    });
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text.trimmed().toStdString(), "Are you sure you want to reset current email settings?");
    EXPECT_EQ(ui.messages[0].kind, platform::MessageRequest::Kind::YesNo);
    // The reload after the reset found no file and left an empty one; the globals hold the defaults.
    EXPECT_EQ(QFileInfo(folder.settingsFile()).size(), 0);
    for (const QString* global : { &sender_email, &sender_pwd, &sending_server, &sending_port, &send_enable_ssl })
        EXPECT_TRUE(global->isEmpty());
}
