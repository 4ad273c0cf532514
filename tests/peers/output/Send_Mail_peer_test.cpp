#include "SmtpPeer.h"

#include "output/MailTestSupport.h"

#include "data/Series_File.h"
#include "data/Sheet_Column_List.h"
#include "editor/EditorWindowTestSupport.h"
#include "model/TSLText.h"
#include "output/Email_Setting.h"
#include "output/Mail_Globals.h"
#include "output/Open_Export_Log.h"
#include "output/Send_Mail.h"
#include "output/Send_Mail_Record.h"
#include "output/Send_Modeless.h"

#include "ui_Email_Setting.h"
#include "ui_Send_Mail.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSpinBox>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

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
        settings_.emplace(QStringLiteral("send-mail-peer")); // no account or security another test saved
        ASSERT_FALSE(window->hasEnded());
        Card_Front_Or_Back = 0;
    }
    void TearDown() override
    {
        settings_.reset();
        EditorWindowTest::TearDown();
    }
    std::optional<FreshDataFolder> settings_;
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
    const QString cut = QStringLiteral("Bartholomew Castelnuovo-Montenegro of Vallombrosa and Serravalle");
    ASSERT_TRUE(Series_File::write(
        QStringLiteral("Guests"), { QStringLiteral("Ada"), cut, QStringLiteral("Cy") }, Series_File::Values::AsGiven));
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
        mail.form().message_txt->clear(); // the window lives for the process: an earlier test's message stays
        mail.form().message_txt->setFocus();
        QTest::keyClicks(mail.form().message_txt, QStringLiteral("Please come"));
        QTest::keyClick(mail.form().message_txt, Qt::Key_Return);
        // No-break spaces keep "7 pm" on one line: they arrive as they were typed.
        QTest::keyClicks(mail.form().message_txt, QStringLiteral("at 7\u00a0pm."));
        // The design's records are chosen already, one card per recipient.
        EXPECT_TRUE(mail.form().send_with_batch_chk->isChecked());
        EXPECT_TRUE(mail.form().rd_one_per_recp->isChecked());
        click(mail.form().sendButton); // No to the cut name: nothing goes
        ASSERT_TRUE(waitForRun(mail));
        EXPECT_EQ(peer.messages().size(), 1);
        click(mail.form().only_failed_chk); // the stopped run offers its 3 mails only
        ui.messageAnswers = { 1 };
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
        EXPECT_EQ(m[QLatin1String("body")].toString().trimmed(), QStringLiteral("Please come\nat 7\u00a0pm."));
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
    // The test mail's message, the question of the cut name at each Send, then the run's.
    const QStringList texts = messageTexts();
    ASSERT_EQ(texts.count(QStringLiteral(
                  "The text of series \"Guests\" does not fit its box or the card and is cut on 1 of 3 "
                  "cards (record 2). Make its box larger or its text smaller.\n\nSend the mails anyway?")),
        2);
    EXPECT_EQ(texts.back().section(QStringLiteral("\n\n"), 0, 0),
        QStringLiteral("1 of 4 mails could not be sent: four@example.org (no record for this recipient)."));
    // The card with the cut name is listed among the mail logs, where the message says.
    const QString listed = texts.back().section(QStringLiteral("is listed in "), 1).section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(listed.contains(QStringLiteral("/Mail Logs/Mail notes ")) && QFile::exists(listed))
        << texts.back().toStdString();
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
        click(mail.form().rd_all_to_every);
        click(mail.form().sendButton);
    });
    QList<QJsonObject> got = peer.waitForMessages(4);
    ASSERT_EQ(got.size(), 4);
    const char* order[] = { "a@example.org", "b@example.org", "a@example.org", "b@example.org" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(got[i][QLatin1String("rcpt_tos")].toArray(), QJsonArray({ QString::fromLatin1(order[i]) }));

    // Without the records: asked first, then the card as it stands, back then front, to each recipient.
    CARD_SIDE_STR = QStringLiteral("2");
    ui.messages.clear();
    ui.messageAnswers = { 0, 1 };
    sendFromWindow([&](Send_Mail& mail) {
        type(mail.form().to_txt, QStringLiteral("c@example.org"));
        click(mail.form().send_with_batch_chk);
        click(mail.form().sendButton); // No: nothing sent
        EXPECT_FALSE(mail.running());
        type(mail.form().file_name_txt, QStringLiteral("Party card"));
        click(mail.form().side_both_rd);
        click(mail.form().sendButton);
    });
    got = peer.waitForMessages(5);
    ASSERT_EQ(got.size(), 5);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("The card is bound to records, but neither")));
    const QJsonArray files = got[4][QLatin1String("attachments")].toArray();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].toObject()[QLatin1String("filename")].toString(), QStringLiteral("Party card_Back.png"));
    EXPECT_EQ(files[1].toObject()[QLatin1String("filename")].toString(), QStringLiteral("Party card.png"));
    for (const QSize& size : attachmentSizes(got[4]))
        EXPECT_FALSE(size.isEmpty());
}

TEST_F(SendMailPeer, RefusedLoginClosedPortSilentServerAndStopEndTheRunNamingTheMailsLeft)
{
    SmtpPeer refusing(SmtpPeer::Mode::StartTls);
    SmtpPeer silent(SmtpPeer::Mode::Silent);
    ASSERT_TRUE(refusing.running() && silent.running());
    const struct {
        QString port;
        const char* password;
        const char* opening;
        const char* says;
        bool stop = false; // Stop > Yes while the first mail waits for the server
        const char* waits = ""; // what the progress says it waits for, before Stop
    } cases[] = {
        { refusing.port(), "wrong", "The server refused the user name or password.\n\n2 of 2 mails could not be sent: ",
            "x@example.org (535 5.7.8 Authentication credentials invalid), y@example.org (not tried)." },
        { SmtpPeer::freeClosedPort(), SmtpPeer::password,
            "Could not send email message.\nPlease make sure that:", "Connection refused" },
        { silent.port(), SmtpPeer::password, "Could not send email message.\nPlease make sure that:", "timed out" },
        { silent.port(), SmtpPeer::password,
            "The e-mail was stopped: 0 of 2 mails have been sent.\n\n2 of 2 mails were not sent: ",
            "x@example.org (stopped), y@example.org (stopped).", true,
            "Connecting to the server for the mail to x@example.org..." },
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        ASSERT_TRUE(mailtest::storeMailAccount(QString::fromLatin1(SmtpPeer::login), QString::fromLatin1(c.password),
            QStringLiteral("127.0.0.1"), c.port, QStringLiteral("N")));
        QElapsedTimer clock;
        clock.start();
        ui.messageAnswers = { int(c.stop) }; // Yes: stop; then No: the list is not opened
        const int connections = silent.connections();
        sendFromWindow([&](Send_Mail& mail) {
            type(mail.form().to_txt, QStringLiteral("x@example.org, y@example.org"));
            click(mail.form().rd_without_barcode);
            click(mail.form().sendButton);
            if (!c.stop)
                return;
            // The first mail is under way: the script waits for the server's greeting.
            ASSERT_TRUE(QTest::qWaitFor([&] { return silent.connections() > connections; }, 10000));
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return mail.send_modls_wnd->waiting_label->text() == QString::fromLatin1(c.waits); }, 5000))
                << mail.send_modls_wnd->waiting_label->text().toStdString();
            click(mail.send_modls_wnd->_stop_btn);
            // Ended well before the script's own network timeout would end the mail.
            EXPECT_TRUE(QTest::qWaitFor([&mail] { return !mail.running(); }, 10000));
        });
        EXPECT_LT(clock.elapsed(), 60000) << c.port.toStdString();
        const QStringList texts = messageTexts();
        ASSERT_EQ(texts.size(), c.stop ? 2 : 1); // after the question Stop asks
        EXPECT_TRUE(texts.back().startsWith(QString::fromLatin1(c.opening))) << texts.back().toStdString();
        EXPECT_TRUE(texts.back().contains(QString::fromLatin1(c.says))) << texts.back().toStdString();
        EXPECT_TRUE(texts.back().endsWith(QStringLiteral(".log\n\nOpen the list now?"))) << texts.back().toStdString();
    }
    EXPECT_TRUE(refusing.messages().isEmpty());
    EXPECT_TRUE(refusing.authLog().startsWith("PLAIN sender@example.com wrong\n"));
}

TEST_F(SendMailPeer, TwoGuestsOfTwentyTheServerCannotTakeLeaveEighteenCardsDeliveredAndASecondRunMailsOnlyThem)
{
    SmtpPeer peer(SmtpPeer::Mode::StartTls); // offers no SMTPUTF8
    ASSERT_TRUE(peer.running());
    // Guest 5 is refused by the server; guest 12's international domain needs SMTPUTF8; guest 3 has a name.
    QStringList names, addresses, delivered;
    for (int i = 1; i <= 20; ++i) {
        names << QStringLiteral("Guest %1").arg(i);
        addresses << (i == 5 ? QStringLiteral("refused5@example.org")
                : i == 12    ? QStringLiteral("gast12@bücher.example")
                : i == 3     ? QStringLiteral("Guest Three <guest3@example.org>")
                             : QStringLiteral("guest%1@example.org").arg(i));
        if (i != 5 && i != 12)
            delivered << QStringLiteral("guest%1@example.org").arg(i);
    }
    const QString refusals
        = QStringLiteral("refused5@example.org (550 5.1.1 No such mailbox here), gast12@bücher.example "
                         "(the server offers no SMTPUTF8, which this address needs).");
    ASSERT_TRUE(Series_File::write(QStringLiteral("Guests"), names, Series_File::Values::AsGiven));
    addBoundText(QStringLiteral("Guests"));
    ASSERT_TRUE(mailtest::storeMailAccount(QString::fromLatin1(SmtpPeer::login),
        QString::fromLatin1(SmtpPeer::password), QStringLiteral("127.0.0.1"), peer.port(), QStringLiteral("N")));
    QStringList opened;
    const auto savedOpener = Open_Export_Log::opener;
    Open_Export_Log::opener = [&opened](const QString& path) { opened << path; };
    ui.messageAnswers = { 1 }; // Yes: open the list
    ui.modalRuns.clear();
    sendFromWindow([&](Send_Mail& mail) {
        mail.form().to_txt->setText(addresses.join(QStringLiteral(", "))); // pasted: typing takes Latin only
        click(mail.form().sendButton); // the window's defaults
    });
    const QList<QJsonObject> got = peer.waitForMessages(18);
    ASSERT_EQ(got.size(), 18);
    QSet<QByteArray> cards; // each guest's own card: 18 different pictures
    for (int m = 0; m < 18; ++m) {
        EXPECT_EQ(got[m][QLatin1String("rcpt_tos")].toArray(), QJsonArray({ delivered[m] }));
        const QImage card(got[m][QLatin1String("attachments")][0][QLatin1String("path")].toString(), "PNG");
        cards.insert(QByteArray(reinterpret_cast<const char*>(card.constBits()), card.sizeInBytes()));
    }
    EXPECT_EQ(cards.size(), 18);
    QStringList texts = messageTexts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("2 of 20 mails could not be sent: ") + refusals))
        << texts[0].toStdString();
    ASSERT_EQ(opened.size(), 1);
    // The log names the guests: it and its folder are readable by their owner alone.
    EXPECT_EQ(testsupport::fileMode(opened[0]), 0600u);
    EXPECT_EQ(testsupport::fileMode(QFileInfo(opened[0]).absolutePath()), 0700u);
    QFile log(opened[0]);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()),
        QStringLiteral("Recipient\tAddress\tReason\n5\trefused5@example.org\t550 5.1.1 No such mailbox here\n12\t"
                       "gast12@bücher.example\tthe server offers no SMTPUTF8, which this address needs\n"));

    // The second run, offered ticked, goes to the two that failed only: still refused, nobody mailed twice.
    ui.messages.clear();
    sendFromWindow([&](Send_Mail& mail) {
        EXPECT_EQ(mail.form().to_txt->text(), addresses.join(QStringLiteral(", ")));
        EXPECT_TRUE(mail.form().only_failed_chk->isChecked());
        EXPECT_EQ(mail.form().only_failed_chk->text(), QStringLiteral("Only the 2 mails that failed last time"));
        click(mail.form().sendButton);
    });
    EXPECT_EQ(peer.messages().size(), 18); // each taken before the run that sent it ended
    texts = messageTexts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("2 of 2 mails could not be sent: ") + refusals));
    Open_Export_Log::opener = savedOpener;
}

TEST_F(SendMailPeer, TheWindowShowsTheResolutionItMailsAtWithTheSizeOfOneMailAndKeepsIt)
{
    SmtpPeer peer(SmtpPeer::Mode::StartTls);
    ASSERT_TRUE(peer.running());
    ASSERT_TRUE(Series_File::write(
        QStringLiteral("Tables"), { QStringLiteral("T1"), QStringLiteral("T2") }, Series_File::Values::AsGiven));
    addBoundText(QStringLiteral("Tables"));
    Send_Mail::storeResolution(300);
    ASSERT_TRUE(mailtest::storeMailAccount(QString::fromLatin1(SmtpPeer::login),
        QString::fromLatin1(SmtpPeer::password), QStringLiteral("127.0.0.1"), peer.port(), QStringLiteral("N")));
    const QRegularExpression shown(QStringLiteral("^(\\d+) x (\\d+) pixels, (\\d+) ([kKM])B a mail$"));
    const auto measured = [&](Send_Mail& mail) {
        QElapsedTimer clock;
        clock.start();
        QRegularExpressionMatch match;
        while (!(match = shown.match(mail.form().attachment_size_lbl->text())).hasMatch() && clock.elapsed() < 10000)
            QTest::qWait(20);
        return match;
    };
    QRegularExpressionMatch at300, at150;
    ui.modalRuns.clear();
    sendFromWindow([&](Send_Mail& mail) {
        EXPECT_EQ(mail.form().resolution_spin->value(), 300);
        at300 = measured(mail);
        mail.form().resolution_spin->setValue(150);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return mail.form().attachment_size_lbl->text() != at300.captured(0); }, 20000));
        type(mail.form().to_txt, QStringLiteral("one@example.org"));
        // The text goes in every mail too, with the pictures.
        mail.form().message_txt->setPlainText(QStringLiteral("Liebe Grüße, bis Samstag!\n").repeated(800));
        at150 = measured(mail);
        click(mail.form().sendButton);
    });
    ASSERT_TRUE(at300.hasMatch() && at150.hasMatch());
    EXPECT_NEAR(at300.captured(1).toInt(), 2 * at150.captured(1).toInt(), 2);
    const QList<QJsonObject> got = peer.waitForMessages(1);
    ASSERT_EQ(got.size(), 1);
    const QJsonObject file = got[0][QLatin1String("attachments")][0].toObject();
    const QImage card(file[QLatin1String("path")].toString(), "PNG");
    // What was shown is what went: the picture's pixels and resolution, the mail's bytes.
    EXPECT_EQ(card.size(), QSize(at150.captured(1).toInt(), at150.captured(2).toInt()));
    EXPECT_NEAR(card.dotsPerMeterX() * 0.0254, 150, 1);
    const double unit = at150.captured(4) == QLatin1String("M") ? 1024 * 1024 : 1024;
    EXPECT_NEAR(got[0][QLatin1String("message_size")].toDouble() / unit, at150.captured(3).toDouble(), 0.51)
        << "the whole mail, its headers, text and the picture in base64 lines";
    ui.messages.clear();
    sendFromWindow([&](Send_Mail& mail) {
        EXPECT_EQ(mail.form().resolution_spin->value(), 150); // kept for the next run
        mail.form().message_txt->clear(); // the window lives for the process
        click(mail.form().closeButton);
    });
    EXPECT_EQ(Send_Mail::storedResolution(), 150);
    Send_Mail::storeResolution(300);
}

TEST(EmailSettingPeer, EachTestMailSaysHowItEndedOnceAndARelayWithoutEncryptionIsReachedOnlyWithoutAPassword)
{
    SmtpPeer peer(SmtpPeer::Mode::StartTls);
    SmtpPeer silent(SmtpPeer::Mode::Silent);
    SmtpPeer relay(SmtpPeer::Mode::Relay);
    ASSERT_TRUE(peer.running() && silent.running() && relay.running());
    const struct {
        QString port;
        bool cancel;
        const char* label; // the whole label, or its first lines
        size_t messages;
        const char* password = "not it";
        bool save = false; // Save after the test mail
    } cases[] = {
        { peer.port(), false, "The server refused the user name or password.", 1 },
        { silent.port(), true, "The mail was cancelled.", 0 },
        // The reason the system gave comes first, then where to look.
        { QStringLiteral("1"), false, "The mail could not be sent: Connection refused.\n\nPlease make sure that:", 1 },
        // A relay on this machine that offers no encryption: used without a password, and saved so.
        { relay.port(), false,
            "E-mail has been sent successfully, without encryption: the server offers none, and no password is set.", 1,
            "", true },
        { relay.port(), false,
            "The server offers no encryption (STARTTLS), so nothing was sent and the password was not given to it.", 1,
            "secret" },
    };
    for (const auto& c : cases) {
        FreshDataFolder data(QStringLiteral("test-mail-failure"));
        testsupport::ScriptedResponder ui;
        QString label;
        qint64 took = 0;
        ui.modalRuns.push_back([&](QDialog& dialog) {
            auto& settings = static_cast<Email_Setting&>(dialog);
            settings.show();
            Ui::Email_Setting& f = settings.form();
            type(f._send_mail_sender_mail, QString::fromLatin1(SmtpPeer::login));
            type(f._send_mail_password, QString::fromLatin1(c.password));
            type(f._send_mail_smtp, QStringLiteral("127.0.0.1"));
            type(f._send_mail_port, c.port);
            type(f._send_mail_to, QStringLiteral("tester@example.org"));
            bool offeredCancel = false;
            QTimer canceller; // presses Cancel once the test mail is under way
            QObject::connect(&canceller, &QTimer::timeout, [&] {
                offeredCancel = f.testMailButton->isEnabled() && !f.saveButton->isEnabled()
                    && f.testMailButton->text() == QStringLiteral("Cancel");
                if (offeredCancel) {
                    canceller.stop();
                    click(f.testMailButton);
                }
            });
            if (c.cancel)
                canceller.start(10);
            QElapsedTimer clock;
            clock.start();
            click(f.testMailButton);
            took = clock.elapsed();
            EXPECT_EQ(offeredCancel, c.cancel);
            label = f._send_mail_result_status->text();
            EXPECT_TRUE(f.saveButton->isEnabled()); // usable again once the script has ended
            click(c.save ? f.saveButton : f.closeButton);
            return settings.result();
        });
        EXPECT_EQ(Email_Setting::defaultInstance().Open_Wnd(), c.save ? 1 : 0);
        EXPECT_LT(took, 10000) << c.label; // not the script's network timeout of 20 s
        EXPECT_TRUE(label.startsWith(QString::fromLatin1(c.label))) << label.toStdString();
        // One message, once: none comes after the window has closed.
        ASSERT_EQ(ui.messages.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(ui.messages[0].text.trimmed(), label);
        }
        EXPECT_EQ(QFileInfo(data.settingsFile()).size() > 0, c.save); // nothing saved but by Save
        if (c.save) {
            Get_Email_Details();
            EXPECT_EQ(sending_port, relay.port());
            EXPECT_TRUE(sender_pwd.isEmpty());
        }
    }
    EXPECT_TRUE(peer.messages().isEmpty());
    // Only the mail without a password reached the relay, unencrypted, and no login was tried.
    const QList<QJsonObject> relayed = relay.waitForMessages(1);
    ASSERT_EQ(relayed.size(), 1);
    EXPECT_FALSE(relayed[0][QLatin1String("secure")].toBool());
    EXPECT_FALSE(relayed[0][QLatin1String("authenticated")].toBool());
    EXPECT_TRUE(relay.authLog().isEmpty());
}

TEST_F(SendMailPeer, AMailTheServerTookOrMayHaveTakenIsNeverSentAgainByOnlyTheFailed)
{
    SmtpPeer peer(SmtpPeer::Mode::Relay);
    ASSERT_TRUE(peer.running());
    const char* limit = "TESSALINE_MAIL_NETWORK_SECONDS"; // 1 s, outlasted by a late answer; set back at the end
    const auto restore = qScopeGuard(
        [limit, saved = qgetenv(limit)] { return saved.isNull() ? qunsetenv(limit) : qputenv(limit, saved); });
    qputenv(limit, "1");
    const struct {
        const char* moment; // the second guest's mail meets it (smtp_peer.py)
        bool stop; // Stop > Yes once the server holds its answer back
        const char* says; // in the first run's message
        bool maybe; // offered to be sent again, unticked
        bool failed = true; // a mail failed for sure (the server refused a guest), so "only the failed" is offered
        bool waits = false; // the progress says whose mail's answer is awaited, before Stop
        const char* refusal = "refused"; // the fourth guest's: one beginning with "busy" goes the second time
        bool untick = false; // the second Send with "Only the failed" unticked and "Also ..." clicked: asked first
        bool again = false; // a third Send with the boxes as offered: asked first
    } cases[] = {
        { "slowquit", true, "The e-mail was stopped: 2 of 4 mails have been sent.", false },
        { "slowaccept", false, "1 of 4 mails could not be sent: refused@example.org (550", false },
        { "drop", false, "1 of them may have been delivered: the whole mail went, but the server's answer never came.",
            true },
        { "never", true, "3 of 4 mails were not sent: never@example.org (may have been delivered), c@", true },
        { "garbage", false, "2 of 4 mails could not be sent: garbage@example.org (may have been delivered), refused@",
            true },
        // Nothing failed for sure: the second Send mails nobody, and says which box would.
        { "drop", false, "1 of 3 mails could not be sent: drop@example.org (may have been delivered).", true, false },
        { "never", true, "2 of 3 mails were not sent: never@example.org (may have been delivered), c@", true, false,
            true },
        { "drop", false, "1 of them may have been delivered", true, true, false, "refused", true },
        // The retry of the busy guest leaves the mail that may have been delivered on offer.
        { "drop", false, "1 of them may have been delivered", true, true, false, "busy", false, true },
    };
    for (const auto& c : cases) {
        // Each case mails the same guests afresh: no record of an earlier case's mails.
        FreshDataFolder data(QStringLiteral("mail-again"));
        ASSERT_TRUE(mailtest::storeMailAccount(QString::fromLatin1(SmtpPeer::login), QString(),
            QStringLiteral("127.0.0.1"), peer.port(), QStringLiteral("N")));
        const QString moment = QString::fromLatin1(c.moment) + QStringLiteral("@example.org");
        const int before = int(peer.messages().size());
        const int held = peer.held();
        ui.messages.clear();
        ui.messageAnswers = { int(c.stop), 0, 0 }; // Yes: stop; then No: the list is not opened, in both runs
        sendFromWindow([&](Send_Mail& mail) {
            type(mail.form().to_txt,
                QStringLiteral("a@example.org, %1, c@example.org").arg(moment)
                    + (c.failed ? QStringLiteral(", %1@example.org").arg(c.refusal) : QString()));
            click(mail.form().rd_without_barcode);
            click(mail.form().sendButton);
            if (c.stop) {
                ASSERT_TRUE(QTest::qWaitFor([&] { return peer.held() > held; }, 20000)) << c.moment;
                const QString waiting = QStringLiteral("Waiting for the server to take the mail to %1...").arg(moment);
                EXPECT_TRUE(!c.waits
                    || QTest::qWaitFor([&] { return mail.send_modls_wnd->waiting_label->text() == waiting; }, 5000));
                click(mail.send_modls_wnd->_stop_btn);
            }
        });
        EXPECT_TRUE(messageTexts().back().contains(QString::fromLatin1(c.says))) << messageTexts().back().toStdString();
        // The second run, limited to the failed: the mail the server took, or may have, is left out.
        sendFromWindow([&](Send_Mail& mail) {
            EXPECT_EQ(mail.form().only_failed_chk->isChecked(), c.failed || c.stop) << c.moment;
            EXPECT_EQ(mail.form().maybe_delivered_chk->isEnabled(), c.maybe) << c.moment;
            EXPECT_FALSE(mail.form().maybe_delivered_chk->isChecked());
            if (c.untick) {
                click(mail.form().only_failed_chk);
                EXPECT_FALSE(mail.form().maybe_delivered_chk->isEnabled()); // nothing left to add to
                click(mail.form().maybe_delivered_chk);
            }
            click(mail.form().rd_without_barcode);
            click(mail.form().sendButton);
        });
        EXPECT_EQ(messageTexts().back().startsWith(QStringLiteral("3 of the 4 guests this Send reaches already had "
                                                                  "this mail: the server took it for 2 and may have "
                                                                  "taken it for 1.")),
            c.untick);
        EXPECT_EQ(messageTexts().back().endsWith(
                      QStringLiteral("Tick \"Only the mail that may have been delivered\" only if it did not arrive.")),
            !c.failed && !c.stop);
        if (c.again) {
            sendFromWindow([&](Send_Mail& mail) {
                EXPECT_FALSE(mail.form().only_failed_chk->isEnabled());
                EXPECT_TRUE(mail.form().maybe_delivered_chk->isEnabled());
                click(mail.form().rd_without_barcode);
                click(mail.form().sendButton);
            });
            EXPECT_TRUE(messageTexts().back().startsWith(
                QStringLiteral("4 of the 4 guests this Send reaches already had this mail: the server took it for 3 "
                               "and may have taken it for 1. They had the same subject and message.")))
                << messageTexts().back().toStdString();
        }
        QStringList guests;
        for (const QJsonObject& m : peer.messages().mid(before))
            guests << m[QLatin1String("rcpt_tos")][0].toString();
        QStringList expected { QStringLiteral("a@example.org"), QStringLiteral("c@example.org"), moment };
        if (QByteArrayView(c.refusal) == "busy")
            expected.insert(1, QStringLiteral("busy@example.org"));
        guests.sort();
        EXPECT_EQ(guests, expected);
    }
}

TEST_F(SendMailPeer, TheSameCardGoesToAGuestAgainOnlyWhenAskedAndOneCardPerRecipientIsCheckedAgainstTheSheet)
{
    SmtpPeer peer(SmtpPeer::Mode::Relay);
    ASSERT_TRUE(peer.running());
    ASSERT_TRUE(mailtest::storeMailAccount(QString::fromLatin1(SmtpPeer::login), QString(), QStringLiteral("127.0.0.1"),
        peer.port(), QStringLiteral("N")));
    ASSERT_TRUE(Series_File::write(QStringLiteral("Guests"),
        { QStringLiteral("Ann"), QStringLiteral("Bo"), QStringLiteral("Cy"), QStringLiteral("Di") },
        Series_File::Values::AsGiven));
    std::shared_ptr<TSLText> name = addBoundText(QStringLiteral("Guests"));
    const QString had
        = QStringLiteral("%1 of the %2 guests this Send reaches already had this mail: the server took it.");
    const QString same = QStringLiteral(" They had the same subject and message.");
    // What the person does to the design before a Send; the design is never saved until SaveAndReopen.
    enum class Then { Send, ShowTablesNowhere, SaveAndReopen, SaveAs, NewDesign };
    const auto act = [&](Then then) {
        const QString path = Resource_Path + QStringLiteral("/%1.dcard").arg(int(then)); // the test's own folder
        if (then == Then::ShowTablesNowhere) { // each guest's table number, which the card does not show
            ASSERT_TRUE(Series_File::write(QStringLiteral("Tables"),
                QStringLiteral("T1 T2 T3 T4").split(QLatin1Char(' ')), Series_File::Values::AsGiven));
            addBoundText(QStringLiteral("Tables"))->ctrl_is_visible = false;
        } else if (then == Then::SaveAndReopen || then == Then::SaveAs) {
            ui.fileAnswers.push_back(path);
            ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
            ASSERT_TRUE(then == Then::SaveAs || window->Read_and_load_design_Log(path, QStringLiteral("L")) == 1);
        } else if (then == Then::NewDesign) { // the same card made again: another design
            window->New_Project_Setting_Reset();
            name = addBoundText(QStringLiteral("Guests"));
        }
    };
    const struct {
        const char *to, *body;
        int answer; // to the question: 0 Cancel, 1 only the guests who have not had it, 2 all again; -1 not asked
        QString asks;
        QStringList mailed;
        Then then = Then::Send;
    } cases[] = {
        { "ann@x.org, refused@x.org, cy@x.org", "Come", -1, {}, { "ann@x.org", "cy@x.org" } },
        // The refused address corrected, as the refusal invites: only that guest gets their card.
        { "ann@x.org, bo@x.org, cy@x.org", "Come", 1, had.arg(2).arg(3) + same, { "bo@x.org" } },
        { "ann@x.org, bo@x.org, cy@x.org, di@x.org", "Come", 1, had.arg(3).arg(4) + same,
            { "di@x.org" } }, // a latecomer
        // Retyped without the blanks, and a blank after the message: the same guests.
        { "Ann@x.org,bo@x.org,cy@x.org,di@x.org", "Come ", 0,
            had.arg(4).arg(4) + QStringLiteral(" They had the same subject, and another message."), {} },
        { "ed@x.org", "Come", -1, {}, { "ed@x.org" } }, // another list: the window's own memory is of it now
        { "ann@x.org, bo@x.org, cy@x.org, di@x.org", "Come", 2, had.arg(4).arg(4) + same,
            { "ann@x.org", "bo@x.org", "cy@x.org", "di@x.org" } },
        { "ann@x.org, bo@x.org, cy@x.org, di@x.org", "Come", 0, had.arg(4).arg(4) + same, {}, Then::ShowTablesNowhere },
        { "ann@x.org, bo@x.org, cy@x.org, di@x.org", "Come", 0, had.arg(4).arg(4) + same, {}, Then::SaveAndReopen },
        { "ann@x.org, bo@x.org, cy@x.org, di@x.org", "Come", 0, had.arg(4).arg(4) + same, {}, Then::SaveAs },
        { "ann@x.org, bo@x.org, cy@x.org, di@x.org", "Come", -1, {},
            { "ann@x.org", "bo@x.org", "cy@x.org", "di@x.org" }, Then::NewDesign },
    };
    // Sends to `to` answering the question, then No: the failures' list is not opened. The addresses mailed, sorted.
    auto send = [&](const char* to, int answer, const char* body, qsizetype count) {
        const qsizetype before = peer.messages().size();
        ui.messages.clear();
        ui.messageAnswers = { answer, 0 };
        sendFromWindow([&](Send_Mail& mail) {
            EXPECT_EQ(mail.form().send_with_excel_chk->isChecked(), body == nullptr);
            type(mail.form().to_txt, QString::fromLatin1(to));
            if (body)
                mail.form().message_txt->setPlainText(QString::fromLatin1(body));
            click(mail.form().sendButton);
        });
        QStringList guests;
        for (const QJsonObject& m : (count ? peer.waitForMessages(int(before + count)) : peer.messages()).mid(before))
            guests << m[QLatin1String("rcpt_tos")][0].toString();
        guests.sort();
        return guests;
    };
    for (const auto& c : cases) {
        act(c.then);
        EXPECT_EQ(send(c.to, std::max(c.answer, 0), c.body, c.mailed.size()), c.mailed) << c.to << int(c.then);
        EXPECT_EQ(c.answer >= 0 ? messageTexts().value(0).section(QStringLiteral("\n"), 0, 0) : QString(), c.asks)
            << c.to;
    }
    // The record outlives the program: a program started afresh reads it, and nobody else may.
    EXPECT_EQ(testsupport::fileMode(Send_Mail_Record::path()), 0600u);
    Send_Mail_Record record;
    ASSERT_TRUE(record.load());
    EXPECT_EQ(record.size(), 9);

    // Bound to the sheet's guest list as it stands after sorting by name: To is checked against its addresses.
    // Under a heading and its titles, with an empty row: the workbook's rows are not the records' numbers.
    SpreadsheetWriter::Rows sheet;
    for (const char* row :
        { "Guest list", "", "Name|E-mail", "Bo Lee|bo@x.org", "Ann Fay|Ann@x.org", "", "Cy Moss|cy@x.org" })
        sheet << QString::fromLatin1(row).split(QLatin1Char('|'));
    ASSERT_TRUE(Fill_Binding_Table(window->bindingTable, sheet, { 0, 1 }, true));
    name->data_source_type = 2;
    name->excel_col_indx = 1;
    const QString opening = QStringLiteral("Each address in To gets the card of the record in its place, but the "
                                           "sheet's \"E-mail\" column does not agree with To.\n\n");
    const struct {
        const char* to;
        int answer; // 0 Cancel, 1 Send anyway
        const char* says; // between the opening and "Send anyway?"
        QStringList mailed;
    } sheetCases[] = {
        { "ann@x.org, bo@x.org, cy@x.org", 0,
            "2 of the 3 addresses would get the card of another guest:\n- ann@x.org would get the card of row 4, Bo "
            "Lee, whose address is bo@x.org.\n- bo@x.org would get the card of row 5, Ann Fay, whose address is "
            "Ann@x.org.",
            {} },
        { "bo@x.org, ann@x.org", 0,
            "To holds 2 addresses and the sheet 3 guests: the last guest would get no mail: row 7, Cy Moss "
            "(cy@x.org).",
            {} },
        { "bo@x.org", 0,
            "To holds 1 address and the sheet 3 guests: the last 2 guests would get no mail: row 5, Ann Fay "
            "(Ann@x.org); row 7, Cy Moss (cy@x.org).",
            {} },
        { "bo@x.org, ANN@x.org, cy@x.org, late@x.org", 1,
            "To holds 4 addresses and the sheet 3 guests: the last address would get no card: late@x.org.",
            { "ann@x.org", "bo@x.org", "cy@x.org" } },
    };
    for (const auto& c : sheetCases) {
        EXPECT_EQ(send(c.to, c.answer, nullptr, c.mailed.size()), c.mailed) << c.to;
        ASSERT_FALSE(messageTexts().isEmpty()) << c.to;
        EXPECT_EQ(messageTexts().front(), opening + QString::fromUtf8(c.says) + QStringLiteral("\n\nSend anyway?"));
        EXPECT_EQ(
            ui.messages.front().buttons, QStringList({ QStringLiteral("Cancel"), QStringLiteral("Send anyway") }));
    }
}
