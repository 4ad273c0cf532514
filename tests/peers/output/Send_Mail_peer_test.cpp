#include "SmtpPeer.h"

#include "output/MailTestSupport.h"

#include "data/Series_File.h"
#include "editor/EditorWindowTestSupport.h"
#include "model/TSLText.h"
#include "output/Email_Setting.h"
#include "output/Mail_Globals.h"
#include "output/Send_Mail.h"
#include "output/Send_Modeless.h"

#include "ui_Email_Setting.h"
#include "ui_Send_Mail.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using mailtest::click;
using mailtest::type;

namespace {



bool waitForRun(Send_Mail& window)
{
    QElapsedTimer clock;
    clock.start();
    while (window.running() && clock.elapsed() < 60000)
        QTest::qWait(20);
    return !window.running();
}

// The settings a new user types into the settings window for the loopback server, then Save.
std::function<int(QDialog&)> fillSettings(const SmtpPeer& peer, bool ssl)
{
    const QString port = peer.port();
    return [port, ssl](QDialog& dialog) {
        auto& settings = static_cast<Email_Setting&>(dialog);
        settings.show();
        Ui::Email_Setting& f = settings.form();
        type(f._send_mail_sender_mail, QString::fromLatin1(SmtpPeer::login));
        type(f._send_mail_password, QString::fromLatin1(SmtpPeer::password));
        type(f._send_mail_smtp, QStringLiteral("127.0.0.1"));
        type(f._send_mail_port, port);
        click(ssl ? f._send_mail_ssl : f._send_mail_tls);
        click(f.saveButton);
        return settings.result();
    };
}

QList<QSize> attachmentSizes(const QJsonObject& message)
{
    QList<QSize> sizes;
    for (const QJsonValue& file : message[QLatin1String("attachments")].toArray())
        sizes << QImage(file.toObject()[QLatin1String("path")].toString(), "PNG").size();
    return sizes;
}

class SendMailPeer : public editortest::EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        ASSERT_FALSE(window->hasEnded());
        Card_Front_Or_Back = 0;
    }
    // A name printed large and black on the white front: the pictures of different records differ.
    std::shared_ptr<TSLText> addBoundText(const QString& series)
    {
        auto text = std::make_shared<TSLText>();
        text->ctrl_is_visible = true;
        text->_bounds = QRectF(10, 10, 200, 40);
        text->Text_contents().string = QStringLiteral("typed");
        text->Text_contents().font = QFont(QStringLiteral("DejaVu Sans"), 24);
        text->data_source_type = 1;
        text->batch_list_name = series;
        addItem(text, TSLDocumentGraphicsKey);
        return text;
    }
    // Runs the E-mail button's window; `act` fills it and presses Send; the run is waited for.
    void sendFromWindow(const std::function<void(Send_Mail&)>& act)
    {
        ui.modalRuns.push_back([act](QDialog& dialog) {
            auto& mail = static_cast<Send_Mail&>(dialog);
            mail.show();
            act(mail);
            EXPECT_TRUE(waitForRun(mail));
            click(mail.form().closeButton);
            return mail.result();
        });
        window->Mail_btn->trigger();
    }
    QStringList messageTexts() const { return editortest::messageTexts(ui); }
};

} // namespace

TEST_F(SendMailPeer, ANewUserSetsUpTheAccountSendsATestMailAndOneCardPerRecordArrives)
{
    SmtpPeer peer(SmtpPeer::Mode::StartTls);
    ASSERT_TRUE(peer.running());
    ASSERT_TRUE(Series_File::write(QStringLiteral("Guests"),
        { QStringLiteral("Ada"), QStringLiteral("Bartholomew"), QStringLiteral("Cy") }, Series_File::Values::AsGiven));
    addBoundText(QStringLiteral("Guests"));
    ASSERT_TRUE(window->Mail_btn->isEnabled());

    // The settings window from the send window: the account, then a test mail, then Save.
    ui.modalRuns.clear();
    sendFromWindow([&](Send_Mail& mail) {
        ui.modalRuns.push_front([&](QDialog& dialog) {
            auto& settings = static_cast<Email_Setting&>(dialog);
            settings.show();
            Ui::Email_Setting& f = settings.form();
            type(f._send_mail_sender_mail, QStringLiteral("Sender@Example.com"));
            type(f._send_mail_password, QString::fromLatin1(SmtpPeer::password));
            type(f._send_mail_smtp, QStringLiteral("127.0.0.1"));
            type(f._send_mail_port, peer.port());
            type(f._send_mail_to, QStringLiteral("Tester@Example.org"));
            click(f.testMailButton);
            EXPECT_EQ(f._send_mail_result_status->text(), QStringLiteral("E-mail has been sent successfully."));
            click(f.saveButton);
            return settings.result();
        });
        click(mail.form().settingsButton);
        EXPECT_EQ(mail.form().from_txt->text(), QStringLiteral("Sender@Example.com"));

        type(mail.form().to_txt,
            QStringLiteral("one@example.org, two@example.org, three@example.org, four@example.org"));
        type(mail.form().subject_txt, QStringLiteral("Your invitation"));
        mail.form().message_txt->setFocus();
        QTest::keyClicks(mail.form().message_txt, QStringLiteral("Please come."));
        ASSERT_TRUE(mail.form().send_with_batch_chk->isEnabled());
        click(mail.form().send_with_batch_chk);
        click(mail.form().rd_one_per_recp);
        click(mail.form().sendButton);
        EXPECT_TRUE(mail.running());
    });

    const QList<QJsonObject> got = peer.waitForMessages(4);
    // The test mail, then records 0 to 2 to the first three recipients; the fourth gets nothing.
    ASSERT_EQ(got.size(), 4);
    EXPECT_EQ(got[0][QLatin1String("rcpt_tos")].toArray(), QJsonArray({ QStringLiteral("tester@example.org") }));
    EXPECT_EQ(got[0][QLatin1String("mail_from")].toString(), QStringLiteral("sender@example.com"));
    EXPECT_TRUE(got[0][QLatin1String("subject")].toString().endsWith(QLatin1String(" Test Mail")));
    EXPECT_TRUE(got[0][QLatin1String("body")].toString().startsWith(QLatin1String("This is test mail sent by ")));
    EXPECT_TRUE(got[0][QLatin1String("attachments")].toArray().isEmpty());
    const char* recipients[] = { "one@example.org", "two@example.org", "three@example.org" };
    QList<QImage> cards;
    for (int i = 0; i < 3; ++i) {
        const QJsonObject& m = got[i + 1];
        EXPECT_EQ(m[QLatin1String("rcpt_tos")].toArray(), QJsonArray({ QString::fromLatin1(recipients[i]) }));
        EXPECT_EQ(m[QLatin1String("subject")].toString(), QStringLiteral("Your invitation"));
        EXPECT_EQ(m[QLatin1String("body")].toString().trimmed(), QStringLiteral("Please come."));
        EXPECT_TRUE(m[QLatin1String("secure")].toBool());
        const QJsonArray files = m[QLatin1String("attachments")].toArray();
        ASSERT_EQ(files.size(), 1);
        EXPECT_EQ(files[0].toObject()[QLatin1String("filename")].toString(), QStringLiteral("VarnelCard.png"));
        EXPECT_EQ(files[0].toObject()[QLatin1String("type")].toString(), QStringLiteral("image/png"));
        cards << QImage(files[0].toObject()[QLatin1String("path")].toString(), "PNG");
        EXPECT_FALSE(cards.back().isNull());
    }
    // Each record's card is its own picture: the names differ, so the pictures do.
    EXPECT_NE(cards[0], cards[1]);
    EXPECT_NE(cards[1], cards[2]);
    EXPECT_EQ(cards[0].size(), cards[1].size());
    // The test mail's message, then the run's.
    const QStringList texts = messageTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[1], QStringLiteral("E-mail has been sent successfully."));
}

TEST_F(SendMailPeer, EveryCardToEveryRecipientOverSslAndTheCardAsItStandsWithBothSides)
{
    SmtpPeer peer(SmtpPeer::Mode::Ssl);
    ASSERT_TRUE(peer.running());
    ASSERT_TRUE(Series_File::write(
        QStringLiteral("Tables"), { QStringLiteral("T1"), QStringLiteral("T2") }, Series_File::Values::AsGiven));
    addBoundText(QStringLiteral("Tables"));

    ui.modalRuns.clear();
    sendFromWindow([&](Send_Mail& mail) {
        ui.modalRuns.push_front(fillSettings(peer, true));
        click(mail.form().settingsButton);
        type(mail.form().to_txt, QStringLiteral("a@example.org,b@example.org"));
        click(mail.form().send_with_batch_chk);
        click(mail.form().rd_all_to_every);
        click(mail.form().sendButton);
    });
    QList<QJsonObject> got = peer.waitForMessages(4);
    ASSERT_EQ(got.size(), 4);
    const char* order[] = { "a@example.org", "b@example.org", "a@example.org", "b@example.org" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(got[i][QLatin1String("rcpt_tos")].toArray(), QJsonArray({ QString::fromLatin1(order[i]) }));

    // Without the records: the card as it stands, back then front, to each recipient.
    CARD_SIDE_STR = QStringLiteral("2");
    sendFromWindow([&](Send_Mail& mail) {
        type(mail.form().to_txt, QStringLiteral("c@example.org"));
        type(mail.form().file_name_txt, QStringLiteral("Party card"));
        click(mail.form().side_both_rd);
        click(mail.form().sendButton);
    });
    got = peer.waitForMessages(5);
    ASSERT_EQ(got.size(), 5);
    const QJsonArray files = got[4][QLatin1String("attachments")].toArray();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].toObject()[QLatin1String("filename")].toString(), QStringLiteral("Party card_Back.png"));
    EXPECT_EQ(files[1].toObject()[QLatin1String("filename")].toString(), QStringLiteral("Party card.png"));
    for (const QSize& size : attachmentSizes(got[4]))
        EXPECT_FALSE(size.isEmpty());
}

TEST_F(SendMailPeer, RefusedLoginClosedPortAndSilentServerEndWithTheFailureMessage)
{
    SmtpPeer refusing(SmtpPeer::Mode::Plain);
    SmtpPeer silent(SmtpPeer::Mode::Silent);
    ASSERT_TRUE(refusing.running() && silent.running());
    const struct {
        QString port;
        const char* password;
    } cases[] = {
        { refusing.port(), "wrong" },
        { SmtpPeer::freeClosedPort(), SmtpPeer::password },
        { silent.port(), SmtpPeer::password },
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        sender_pwd = QString::fromLatin1(c.password);
        sending_server = QStringLiteral("127.0.0.1");
        sending_port = c.port;
        send_enable_ssl = QStringLiteral("N");
        sender_email = QString::fromLatin1(SmtpPeer::login);
        QElapsedTimer clock;
        clock.start();
        sendFromWindow([&](Send_Mail& mail) {
            type(mail.form().to_txt, QStringLiteral("x@example.org, y@example.org"));
            click(mail.form().rd_without_barcode);
            click(mail.form().sendButton);
        });
        EXPECT_LT(clock.elapsed(), 60000) << c.port.toStdString();
        const QStringList texts = messageTexts();
        ASSERT_EQ(texts.size(), 1);
        EXPECT_TRUE(texts[0].startsWith(QStringLiteral("Could not send email message.\nPlease make sure that:")));
        // The first failure ends a plain run: one of one mails failed.
        EXPECT_TRUE(texts[0].endsWith(QStringLiteral("1 of 1 mails could not be sent."))) << texts[0].toStdString();
    }
    EXPECT_TRUE(refusing.messages().isEmpty());
}

TEST(EmailSettingPeer, AFailedTestMailSaysSoInTheLabelAndAMessageAndSavesNothing)
{
    SmtpPeer peer(SmtpPeer::Mode::StartTls);
    ASSERT_TRUE(peer.running());
    const QString savedPath = Resource_Path;
    Resource_Path = testsupport::makeTempFolder(QStringLiteral("test-mail-failure"));
    testsupport::ScriptedResponder ui;
    QString label;
    ui.modalRuns.push_back([&](QDialog& dialog) {
        auto& settings = static_cast<Email_Setting&>(dialog);
        settings.show();
        Ui::Email_Setting& f = settings.form();
        type(f._send_mail_sender_mail, QString::fromLatin1(SmtpPeer::login));
        type(f._send_mail_password, QStringLiteral("not it"));
        type(f._send_mail_smtp, QStringLiteral("127.0.0.1"));
        type(f._send_mail_port, peer.port());
        type(f._send_mail_to, QStringLiteral("tester@example.org"));
        click(f.testMailButton);
        label = f._send_mail_result_status->text();
        EXPECT_TRUE(settings.isEnabled()); // usable again once the script has ended
        click(f.closeButton);
        return settings.result();
    });
    Email_Setting::defaultInstance().Open_Wnd();
    EXPECT_EQ(label, Email_Setting::testMailFailureText());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), Email_Setting::testMailFailureText());
    EXPECT_TRUE(label.startsWith(QStringLiteral("Please make sure that:\n1. Entered E-mail settings are correct.")));
    EXPECT_TRUE(label.endsWith(QStringLiteral("\n\nCould not send email.")));
    EXPECT_EQ(QFileInfo(Resource_Path + QStringLiteral("/com.varnel.card.plist")).size(), 0);
    EXPECT_TRUE(peer.messages().isEmpty());
    Resource_Path = savedPath;
}
