#include "SmtpPeer.h"

#include "output/Mail_Script.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

Mail_Message mailTo(const SmtpPeer& peer, const QString& to, const QString& ssl)
{
    Mail_Message mail;
    mail.toAddress = to;
    mail.subject = QStringLiteral("Spring party – Grüße");
    mail.sender = QString::fromLatin1(SmtpPeer::login);
    mail.password = QString::fromLatin1(SmtpPeer::password);
    mail.smtpServer = QStringLiteral("127.0.0.1");
    mail.port = peer.port();
    mail.body = QStringLiteral("Dear guest,\nsee you on Saturday.");
    mail.enableSsl = ssl;
    return mail;
}

// What the server received against what the program tells of the mail beforehand: the same but for the
// digits of the message's identity.
void expectMessageSize(const QJsonObject& received, const Mail_Message& mail)
{
    QList<Mail_File> files;
    for (const QString& path : mail.attachments)
        files << Mail_File { QFileInfo(path).fileName(), QFileInfo(path).size() };
    EXPECT_NEAR(received[QLatin1String("message_size")].toDouble(), double(Mail_Script::messageBytes(mail, files)), 48)
        << mail.toAddress.toStdString();
}

// A card of one colour, or of noise when none is given: noise does not compress, so its mail weighs megabytes
// as a photo card's does.
QString writeCardPicture(const QTemporaryDir& folder, const QString& name, QSize size, QColor colour = {})
{
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(colour);
    QRandomGenerator noise(7);
    for (int y = 0; !colour.isValid() && y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, noise.generate() | 0xff000000u);
    }
    const QString path = folder.filePath(name);
    picture.save(path, "PNG");
    return path;
}

} // namespace

TEST(MailScriptPeer, EachSecurityModeDeliversSubjectALongBodyAndPngAttachmentsInOrder)
{
    // The envelope gets the bare address; a display name is text, whatever it looks like.
    const QString longName = QStringLiteral("Großtante Wilhelmine ").repeated(6).trimmed();
    const struct {
        SmtpPeer::Mode mode;
        const char* ssl;
        bool encrypted; // else a local relay without encryption, used as no password is set
        QString name;
        QString to;
    } cases[] = {
        { SmtpPeer::Mode::StartTls, "N", true, QStringLiteral("=?utf-8?q?evil=40x=2Ecom?="),
            QStringLiteral("=?utf-8?q?evil=40x=2Ecom?= <guest@example.org>") },
        { SmtpPeer::Mode::Ssl, "Y", true, QStringLiteral("Lee, Ann"),
            QStringLiteral("\"Lee, Ann\" <guest@example.org>") },
        { SmtpPeer::Mode::Relay, "N", false, longName, longName + QStringLiteral(" <guest@example.org>") },
    };
    QTemporaryDir folder;
    const QString back = writeCardPicture(folder, QStringLiteral("Card_Back.png"), { 600, 400 });
    const QString front = writeCardPicture(folder, QStringLiteral("Card.png"), { 64, 40 }, Qt::blue);
    for (const auto& c : cases) {
        SmtpPeer peer(c.mode);
        ASSERT_TRUE(peer.running());
        Mail_Message mail = mailTo(peer, c.to, QString::fromLatin1(c.ssl));
        // Longer than one program argument may be: the body goes through standard input.
        mail.body += QLatin1Char('\n') + QString(200 * 1024, QLatin1Char('x'));
        mail.attachments = { back, front };
        if (!c.encrypted)
            mail.password.clear();
        std::vector<Mail_Stage> stages, expected { Mail_Stage::Connecting, Mail_Stage::Hello };
        if (c.mode == SmtpPeer::Mode::StartTls)
            expected.insert(expected.end(), { Mail_Stage::Encrypting, Mail_Stage::Hello });
        if (c.encrypted)
            expected.push_back(Mail_Stage::LoggingIn);
        expected.insert(expected.end(), { Mail_Stage::Sending, Mail_Stage::AwaitingAnswer, Mail_Stage::Taken });
        EXPECT_EQ(
            Mail_Script::send(mail, {}, Mail_Script::defaultTimeLimitMs, [&](Mail_Stage s) { stages.push_back(s); })
                .text(),
            c.encrypted ? QStringLiteral("E-mail has been sent successfully.")
                        : QStringLiteral("E-mail has been sent successfully, without encryption: the server offers "
                                         "none, and no password is set."))
            << c.ssl;
        EXPECT_EQ(stages, expected) << c.ssl;
        const QList<QJsonObject> got = peer.waitForMessages(1);
        ASSERT_EQ(got.size(), 1);
        const QJsonObject& m = got.front();
        EXPECT_EQ(m[QLatin1String("rcpt_tos")].toArray(), QJsonArray({ QStringLiteral("guest@example.org") }));
        EXPECT_EQ(m[QLatin1String("to_addresses")].toArray(),
            QJsonArray({ QJsonArray({ c.name, QStringLiteral("guest@example.org") }) }));
        EXPECT_EQ(m[QLatin1String("mail_from")].toString(), QString::fromLatin1(SmtpPeer::login));
        EXPECT_EQ(m[QLatin1String("subject")].toString(), mail.subject);
        EXPECT_EQ(m[QLatin1String("body")].toString().trimmed(), mail.body);
        EXPECT_EQ(m[QLatin1String("secure")].toBool(), c.encrypted);
        EXPECT_EQ(m[QLatin1String("authenticated")].toBool(), c.encrypted);
        expectMessageSize(m, mail);
        const QJsonArray files = m[QLatin1String("attachments")].toArray();
        ASSERT_EQ(files.size(), 2);
        const QSize sizes[] = { { 600, 400 }, { 64, 40 } };
        const char* names[] = { "Card_Back.png", "Card.png" };
        for (int i = 0; i < 2; ++i) {
            const QJsonObject file = files[i].toObject();
            EXPECT_EQ(file[QLatin1String("type")].toString(), QStringLiteral("image/png"));
            EXPECT_EQ(file[QLatin1String("filename")].toString(), QString::fromLatin1(names[i]));
            const QImage arrived(file[QLatin1String("path")].toString(), "PNG");
            EXPECT_EQ(arrived.size(), sizes[i]);
        }
    }
}

TEST(MailScriptPeer, EachFaultEndsTheSendAtOnceWithItsReasonAndNoPasswordCrossesInClear)
{
    using S = Mail_Outcome::Status;
    const QString utf8Password = QStringLiteral("pä\nss wörd");
    const struct {
        SmtpPeer::Mode mode;
        const char* certificateHost;
        const char* ssl;
        QString password;
        QString port; // empty: the peer's own
        S status;
        const char* says;
        QString to = QStringLiteral("guest@example.org");
        QString subject = QStringLiteral("Spring party");
    } cases[] = {
        // TLS chosen, the server offers AUTH but no STARTTLS: nothing is said to it of the password.
        { SmtpPeer::Mode::Plain, "127.0.0.1", "N", QStringLiteral("secret"), {}, S::NoEncryption,
            "The server offers no encryption (STARTTLS)" },
        { SmtpPeer::Mode::StartTls, "elsewhere.example", "N", QStringLiteral("secret"), {}, S::Certificate,
            "certificate is not valid for '127.0.0.1'). Nothing was sent." },
        { SmtpPeer::Mode::Ssl, "elsewhere.example", "Y", QStringLiteral("secret"), {}, S::Certificate,
            "certificate is not valid for '127.0.0.1'). Nothing was sent." },
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", utf8Password, {}, S::LoginRefused,
            "The server refused the user name or password." },
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", QStringLiteral("secret"), SmtpPeer::freeClosedPort(), S::Failed,
            "Connection refused" },
        // A server that cannot start encryption now says so in its own words, and hears no password.
        { SmtpPeer::Mode::TlsBusy, "127.0.0.1", "N", QStringLiteral("secret"), {}, S::Failed,
            "The mail could not be sent: 454 4.7.0 TLS not available now" },
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", QStringLiteral("secret"), QStringLiteral("smtp"), S::BadInput,
            "the port \"smtp\" is not a number" },
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", QStringLiteral("secret"), QStringLiteral("99999"), S::BadInput,
            "the port 99999 is not from 1 to 65535" },
        // Nothing but one address reaches the envelope.
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", QStringLiteral("secret"), {}, S::BadInput,
            "is not one e-mail address", QStringLiteral("g1@b.com> notify=success") },
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", QStringLiteral("secret"), {}, S::BadInput,
            "is not one e-mail address", QStringLiteral("<g1@b.com> NOTIFY=SUCCESS") },
        // What the server cannot take concerns this guest alone; the peer, like many, offers no SMTPUTF8.
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", QStringLiteral("secret"), {}, S::RecipientRefused,
            "the server offers no SMTPUTF8, which this address needs", QStringLiteral("gast@bücher.example") },
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", QStringLiteral("secret"), {}, S::RecipientRefused,
            "the server offers no SMTPUTF8, which this address needs", QStringLiteral("jörg@example.org") },
        { SmtpPeer::Mode::StartTls, "127.0.0.1", "N", QStringLiteral("secret"), {}, S::MailRefused,
            "The server did not take this mail: 554 5.6.0 Header refused here", QStringLiteral("guest@example.org"),
            QStringLiteral("refused header") },
    };
    for (const auto& c : cases) {
        SmtpPeer peer(c.mode, QString::fromLatin1(c.certificateHost));
        ASSERT_TRUE(peer.running());
        Mail_Message mail = mailTo(peer, c.to, QString::fromLatin1(c.ssl));
        mail.password = c.password;
        mail.subject = c.subject;
        if (!c.port.isEmpty())
            mail.port = c.port;
        QElapsedTimer clock;
        clock.start();
        const Mail_Outcome outcome = Mail_Script::send(mail);
        EXPECT_LT(clock.elapsed(), 10000) << c.says; // at once, not at the script's network timeout of 20 s
        EXPECT_EQ(outcome.status, c.status) << c.says << " / " << outcome.reason.toStdString();
        EXPECT_TRUE(outcome.text().contains(QString::fromLatin1(c.says))) << outcome.text().toStdString();
        EXPECT_EQ(outcome.onlyThisRecipient(), c.status == S::RecipientRefused || c.status == S::MailRefused);
        EXPECT_TRUE(peer.messages().isEmpty());
        // Only encrypted logins reached the server, a wrong password as the UTF-8 it was typed in.
        const QByteArray expectedLog = c.status == S::LoginRefused
            ? "PLAIN sender@example.com " + utf8Password.toUtf8() + '\n'
            : outcome.onlyThisRecipient() ? QByteArray("PLAIN sender@example.com secret\n")
                                          : QByteArray();
        EXPECT_EQ(peer.authLog(), expectedLog) << c.says;
    }
}

TEST(MailScriptPeer, ServerThatNeverAnswersEndsAsAFailureWithinTheTimeLimits)
{
    SmtpPeer peer(SmtpPeer::Mode::Silent);
    ASSERT_TRUE(peer.running());
    const Mail_Message mail = mailTo(peer, QStringLiteral("guest@example.org"), QStringLiteral("N"));

    // The caller's own bound.
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Mail_Script::sendEmail_pyth(mail, nullptr, 1500));
    EXPECT_LT(clock.elapsed(), 15000);

    // The script's network timeout ends it well within a minute without the caller's bound.
    clock.restart();
    EXPECT_FALSE(Mail_Script::sendEmail_pyth(mail));
    EXPECT_LT(clock.elapsed(), 45000);
}

TEST(MailScriptPeer, AbandoningAWaitingSendKillsTheScript)
{
    SmtpPeer peer(SmtpPeer::Mode::Silent);
    ASSERT_TRUE(peer.running());
    std::atomic<bool> abandon { true };
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(
        Mail_Script::sendEmail_pyth(mailTo(peer, QStringLiteral("guest@example.org"), QStringLiteral("N")), &abandon));
    EXPECT_LT(clock.elapsed(), 15000); // not the script's network timeout of 20 s
}

TEST(MailScriptPeer, LongNamesAndSubjectsNeedNoRefoldingAndAnEightBitBodyGoesAsTheServerAllows)
{
    const QString greeting = QStringLiteral("Liebe Grüße,\nbis Samstag!");
    const QString from = QStringLiteral("\nFrom 7 pm on we celebrate!");
    const struct {
        SmtpPeer::Mode mode;
        QString name, subject, body;
        const char* encoding; // of the body as it arrived
    } cases[] = {
        { SmtpPeer::Mode::Relay, QString(75, QLatin1Char('A')) + QLatin1Char(' ') + QString(75, QLatin1Char('B')),
            QStringLiteral("Party"), greeting, "8bit" },
        { SmtpPeer::Mode::Relay7Bit, QStringLiteral("Hubert ") + QString(70, QLatin1Char('w')) + QStringLiteral(" Sr."),
            QStringLiteral("Grüße – ").repeated(40), greeting, "quoted-printable" },
        { SmtpPeer::Mode::Relay7Bit, QStringLiteral("=?utf-8?q?evil=40x=2Ecom?= ").repeated(4).trimmed(),
            QStringLiteral("=?utf-8?q?evil=40x=2Ecom?="), QStringLiteral("Dear guest"), "7bit" },
        { SmtpPeer::Mode::Relay7Bit, QStringLiteral("Ζωή Παπαδοπούλου Αικατερίνη-Μαρία Ελευθερίου Κωνσταντίνου"),
            QStringLiteral("Πρόσκληση ").repeated(20).trimmed(), QStringLiteral("Σας περιμένουμε!"), "base64" },
        // A line that begins with "From " arrives as typed, however the body travels.
        // A no-break space holds a name together and arrives as it was typed.
        { SmtpPeer::Mode::Relay, QStringLiteral("Ann\u00a0Lee van\u00a0Dam"), QStringLiteral("Party"), greeting,
            "8bit" },
        { SmtpPeer::Mode::Relay, QStringLiteral("Ann Lee"), QStringLiteral("Party"), from.mid(1), "7bit" },
        { SmtpPeer::Mode::Relay, QStringLiteral("Ann Lee"), QStringLiteral("Party"), greeting + from, "8bit" },
        { SmtpPeer::Mode::Relay7Bit, QStringLiteral("Ann Lee"), QStringLiteral("Party"), greeting + from,
            "quoted-printable" },
    };
    for (const auto& c : cases) {
        SmtpPeer peer(c.mode);
        ASSERT_TRUE(peer.running());
        Mail_Message mail = mailTo(peer, c.name + QStringLiteral(" <guest@example.org>"), QStringLiteral("N"));
        mail.password.clear();
        mail.subject = c.subject;
        mail.body = c.body;
        EXPECT_TRUE(Mail_Script::send(mail).sent()) << c.encoding;
        const QList<QJsonObject> got = peer.waitForMessages(1);
        ASSERT_EQ(got.size(), 1);
        const QJsonObject& m = got.front();
        // Read back as RFC 2047 decodes it; Python keeps the blank between two encoded words of a name.
        EXPECT_EQ(m[QLatin1String("to_decoded")].toString(), c.name + QStringLiteral(" <guest@example.org>"));
        EXPECT_EQ(m[QLatin1String("to_addresses")][0][0].toString().simplified(), c.name.simplified());
        EXPECT_EQ(m[QLatin1String("to_addresses")][0][1].toString(), QStringLiteral("guest@example.org"));
        EXPECT_EQ(m[QLatin1String("subject")].toString(), c.subject);
        EXPECT_LE(m[QLatin1String("longest_header_line")].toInt(), 76);
        EXPECT_FALSE(m[QLatin1String("blank_header_line")].toBool());
        EXPECT_EQ(m[QLatin1String("body")].toString().trimmed(), c.body.trimmed());
        EXPECT_EQ(m[QLatin1String("body_encoding")].toString(), QString::fromLatin1(c.encoding));
        EXPECT_EQ(m[QLatin1String("seven_bit")].toBool(), c.encoding != std::string("8bit"));
        EXPECT_EQ(m[QLatin1String("mail_options")].toArray().contains(QStringLiteral("BODY=8BITMIME")),
            c.mode == SmtpPeer::Mode::Relay);
        if (c.mode == SmtpPeer::Mode::Relay) // the size told is that of a mail to a server taking 8-bit text
            expectMessageSize(m, mail);
    }
}
