#include "output/Mail_Script.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

TEST(MailScript, StandardInputCarriesEveryFieldAsUtf8Json)
{
    Mail_Message mail;
    mail.sender = QStringLiteral("me@example.com");
    mail.smtpServer = QStringLiteral("smtp.example.com");
    mail.port = QStringLiteral("587");
    mail.toAddress = QStringLiteral(" =?utf-8?q?evil=40x=2Ecom?= <you@example.com>"); // a name, apart: text
    mail.subject = QStringLiteral("Grüße");
    mail.body = QStringLiteral("Line one\nLine two");
    mail.enableSsl = QStringLiteral("N");
    mail.password = QStringLiteral("pä\nss");
    mail.attachments = { QStringLiteral("/t/a_Back.png"), QStringLiteral("/t/a.png") };
    const QJsonObject read = QJsonDocument::fromJson(Mail_Script::standardInput(mail)).object();
    const std::pair<const char*, QString> fields[] = { { "sender", mail.sender }, { "login", mail.sender },
        { "server", mail.smtpServer }, { "port", mail.port }, { "recipient", QStringLiteral("you@example.com") },
        { "recipient_name", QStringLiteral("=?utf-8?q?evil=40x=2Ecom?=") }, { "subject", mail.subject },
        { "body", mail.body }, { "ssl", mail.enableSsl }, { "password", mail.password } };
    for (const auto& [name, value] : fields)
        EXPECT_EQ(read[QLatin1String(name)].toString(), value) << name;
    EXPECT_EQ(read[QLatin1String("attachments")].toArray(), QJsonArray::fromStringList(mail.attachments));
}

TEST(MailScript, EachLimitHasItsOwnMessageAndStopsTheSendBeforeTheScript)
{
    const struct {
        QString body;
        QString subject;
        QString password;
        const char* message; // none: within the limits
    } cases[] = {
        { QString(Mail_Script::maxBodyBytes, QLatin1Char('b')), QStringLiteral("s"), QStringLiteral("p"), nullptr },
        { QString(Mail_Script::maxBodyBytes / 2 + 1, QChar(0xe9)), {}, {}, "The message is too long: at most 1024 KB" },
        { {}, QString(Mail_Script::maxSubjectCharacters + 1, QLatin1Char('s')), {}, "The subject is too long" },
        { {}, {}, QString(Mail_Script::maxPasswordCharacters + 1, QLatin1Char('p')), "The password is too long" },
    };
    for (const auto& c : cases) {
        Mail_Message mail;
        mail.body = c.body;
        mail.subject = c.subject;
        mail.password = c.password;
        const std::optional<QString> refusal = Mail_Script::overLimit(mail);
        ASSERT_EQ(refusal.has_value(), c.message != nullptr);
        if (!c.message)
            continue;
        EXPECT_TRUE(refusal->startsWith(QString::fromLatin1(c.message))) << refusal->toStdString();
        const Mail_Outcome outcome = Mail_Script::send(mail);
        EXPECT_EQ(outcome.status, Mail_Outcome::Status::BadInput);
        EXPECT_EQ(outcome.text(), *refusal);
    }
}

TEST(MailScript, TheScriptIsUnpackedPrivatelyAndNeverUnderASharedName)
{
    const QString path = Mail_Script::scriptPath();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(Mail_Script::scriptPath(), path); // once per process
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    const QByteArray text = script.readAll();
    EXPECT_TRUE(text.contains("import smtplib"));
    EXPECT_TRUE(text.contains("NETWORK_TIMEOUT_SECONDS"));
    EXPECT_EQ(QFileInfo(path).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
    EXPECT_NE(QFileInfo(path).absolutePath(), QFileInfo(QStringLiteral("/tmp")).absoluteFilePath());
}
