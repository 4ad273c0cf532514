#include "output/Mail_Script.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(MailScript, ArgumentsPutTheSenderTwiceAndTheAttachmentsLast)
{
    Mail_Message mail;
    mail.sender = QStringLiteral("me@example.com");
    mail.smtpServer = QStringLiteral("smtp.example.com");
    mail.port = QStringLiteral("587");
    mail.toAddress = QStringLiteral(" you@example.com");
    mail.subject = QStringLiteral("Hello");
    mail.body = QStringLiteral("Line one\nLine two");
    mail.enableSsl = QStringLiteral("N");
    const QStringList plain = Mail_Script::arguments(QStringLiteral("/s.py"), mail);
    EXPECT_EQ(plain,
        QStringList({ "/s.py", "me@example.com", "smtp.example.com", "587", "me@example.com", " you@example.com",
            "Hello", "Line one\nLine two", "N" }));

    mail.attachments = { QStringLiteral("/t/a_Back.png"), QStringLiteral("/t/a.png") };
    const QStringList withFiles = Mail_Script::arguments(QStringLiteral("/s.py"), mail);
    ASSERT_EQ(withFiles.size(), 11);
    EXPECT_EQ(withFiles[9], QStringLiteral("/t/a_Back.png"));
    EXPECT_EQ(withFiles[10], QStringLiteral("/t/a.png"));
}

TEST(MailScript, StandardInputIsThePasswordALineFeedAndDescription)
{
    const struct {
        QString password;
        std::optional<QByteArray> input;
    } cases[] = {
        { QStringLiteral("s3cret!"), QByteArray("s3cret!\nDescription") },
        { QString(), QByteArray("\nDescription") },
        { QStringLiteral("pässword"), std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Mail_Script::standardInput(c.password), c.input) << c.password.toStdString();
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

TEST(MailScript, APasswordThatIsNotAsciiFailsWithoutStartingTheScript)
{
    Mail_Message mail;
    mail.password = QStringLiteral("clé");
    mail.port = QStringLiteral("25");
    EXPECT_FALSE(Mail_Script::sendEmail_pyth(mail));
}
