#include "SmtpPeer.h"

#include "output/Mail_Script.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
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

QString writeCardPicture(const QTemporaryDir& folder, const QString& name, QSize size, QColor colour)
{
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(colour);
    const QString path = folder.filePath(name);
    picture.save(path, "PNG");
    return path;
}

} // namespace

TEST(MailScriptPeer, EachSecurityModeDeliversSubjectBodyAndPngAttachmentsInOrder)
{
    const struct {
        SmtpPeer::Mode mode;
        const char* ssl;
        bool secure;
    } cases[] = {
        { SmtpPeer::Mode::Plain, "N", false },
        { SmtpPeer::Mode::StartTls, "N", true },
        { SmtpPeer::Mode::Ssl, "Y", true },
    };
    QTemporaryDir folder;
    const QString back = writeCardPicture(folder, QStringLiteral("Card_Back.png"), { 120, 80 }, Qt::red);
    const QString front = writeCardPicture(folder, QStringLiteral("Card.png"), { 64, 40 }, Qt::blue);
    for (const auto& c : cases) {
        SmtpPeer peer(c.mode);
        ASSERT_TRUE(peer.running());
        Mail_Message mail = mailTo(peer, QStringLiteral(" guest@example.org"), QString::fromLatin1(c.ssl));
        mail.attachments = { back, front };
        EXPECT_TRUE(Mail_Script::sendEmail_pyth(mail)) << c.ssl;
        const QList<QJsonObject> got = peer.waitForMessages(1);
        ASSERT_EQ(got.size(), 1);
        const QJsonObject& m = got.front();
        EXPECT_EQ(m[QLatin1String("rcpt_tos")].toArray(), QJsonArray({ QStringLiteral("guest@example.org") }));
        EXPECT_EQ(m[QLatin1String("mail_from")].toString(), QString::fromLatin1(SmtpPeer::login));
        EXPECT_EQ(m[QLatin1String("subject")].toString(), mail.subject);
        EXPECT_EQ(m[QLatin1String("body")].toString().trimmed(), mail.body);
        EXPECT_EQ(m[QLatin1String("secure")].toBool(), c.secure);
        EXPECT_TRUE(m[QLatin1String("authenticated")].toBool());
        const QJsonArray files = m[QLatin1String("attachments")].toArray();
        ASSERT_EQ(files.size(), 2);
        const QSize sizes[] = { { 120, 80 }, { 64, 40 } };
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

TEST(MailScriptPeer, RefusedLoginAndClosedPortAreFailedSends)
{
    SmtpPeer peer(SmtpPeer::Mode::StartTls);
    ASSERT_TRUE(peer.running());
    Mail_Message wrong = mailTo(peer, QStringLiteral("guest@example.org"), QStringLiteral("N"));
    wrong.password = QStringLiteral("not the password");
    EXPECT_FALSE(Mail_Script::sendEmail_pyth(wrong));

    Mail_Message closed = mailTo(peer, QStringLiteral("guest@example.org"), QStringLiteral("N"));
    closed.port = SmtpPeer::freeClosedPort();
    EXPECT_FALSE(Mail_Script::sendEmail_pyth(closed));

    Mail_Message letters = mailTo(peer, QStringLiteral("guest@example.org"), QStringLiteral("N"));
    letters.port = QStringLiteral("smtp");
    EXPECT_FALSE(Mail_Script::sendEmail_pyth(letters));

    EXPECT_TRUE(peer.messages().isEmpty());
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
    EXPECT_LT(clock.elapsed(), 8000);

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
    EXPECT_LT(clock.elapsed(), 5000);
}
