#include "output/Mail_Script.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "output/Mail_Globals.h"
#include "platform/RunLeftovers.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <memory>

static void registerMailResource()
{
    Q_INIT_RESOURCE(mail);
}

namespace {

// The unpacked script lives as long as the process, in a folder only its owner can read.
struct UnpackedScript {
    std::unique_ptr<platform::RunFolder> folder;
    QString path;
};

UnpackedScript unpackScript()
{
    registerMailResource();
    UnpackedScript unpacked;
    platform::removeLeftoverRunFolders(QStringLiteral("tessaline-mail")); // of mail runs killed before
    unpacked.folder = std::make_unique<platform::RunFolder>(QStringLiteral("tessaline-mail"));
    if (!unpacked.folder->isValid())
        return unpacked;
    const QString path = unpacked.folder->filePath(QStringLiteral("pyth_mail.py"));
    QFile source(QStringLiteral(":/mail/pyth_mail.py"));
    if (!source.open(QIODevice::ReadOnly))
        return unpacked;
    const QByteArray script = source.readAll();
    QString error;
    if (!platform::saveFilePrivately(
            path, [&script](QIODevice& target) { return writeAll(target, script); }, &error)) {
        Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(path, error));
        return unpacked;
    }
    unpacked.path = path;
    return unpacked;
}

} // namespace

QString Mail_Script::scriptPath()
{
    static const UnpackedScript unpacked = unpackScript();
    return unpacked.path;
}

QString Mail_Outcome::text() const
{
    using S = Status;
    switch (status) {
    case S::Sent:
        return reason.isEmpty() ? QStringLiteral("E-mail has been sent successfully.")
                                : QStringLiteral("E-mail has been sent successfully, without encryption: the server "
                                                 "offers none, and no password is set.");
    case S::LoginRefused:
        return QStringLiteral("The server refused the user name or password.");
    case S::NoEncryption:
        return QStringLiteral("The server offers no encryption (STARTTLS), so nothing was sent and the password was "
                              "not given to it. Choose SSL if the server expects encryption from the start.");
    case S::Certificate:
        return QStringLiteral("The server's certificate could not be verified (%1). Nothing was sent.")
            .arg(reason.endsWith(QLatin1Char('.')) ? reason.chopped(1) : reason);
    case S::RecipientRefused:
        return QStringLiteral("The server refused the recipient: %1").arg(reason);
    case S::SenderRefused:
        return QStringLiteral("The server refused the sender address: %1").arg(reason);
    case S::MailRefused:
        return QStringLiteral("The server did not take this mail: %1").arg(reason);
    case S::BadInput:
        return reason;
    case S::MaybeDelivered:
        return QStringLiteral("The whole mail went to the server, but its answer never came: the mail may have been "
                              "delivered.");
    case S::Cancelled:
        return QStringLiteral("The mail was cancelled.");
    case S::Failed:
        break;
    }
    return reason.isEmpty() ? QStringLiteral("The mail could not be sent.")
                            : QStringLiteral("The mail could not be sent: %1%2")
                                  .arg(reason, reason.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral("."));
}

QByteArray Mail_Script::standardInput(const Mail_Message& mail)
{
    // The envelope gets the bare address alone; the display name goes apart, to be written as text.
    const Mail_Address to = parseMailAddress(mail.toAddress).value_or(Mail_Address { {}, mail.toAddress });
    const QJsonObject fields {
        { QStringLiteral("sender"), mail.sender },
        { QStringLiteral("login"), mail.sender },
        { QStringLiteral("server"), mail.smtpServer },
        { QStringLiteral("port"), mail.port },
        { QStringLiteral("recipient"), to.addrSpec },
        { QStringLiteral("recipient_name"), to.displayName },
        { QStringLiteral("subject"), mail.subject },
        { QStringLiteral("body"), mail.body },
        { QStringLiteral("ssl"), mail.enableSsl },
        { QStringLiteral("attachments"), QJsonArray::fromStringList(mail.attachments) },
        { QStringLiteral("password"), mail.password },
        { QStringLiteral("network_seconds"), networkLimitSeconds() },
        { QStringLiteral("end_of_data_seconds"), endOfDataLimitSeconds() },
    };
    return QJsonDocument(fields).toJson(QJsonDocument::Compact);
}

namespace {

int secondsFrom(const char* variable, int standard)
{
    bool number = false;
    const int seconds = qEnvironmentVariableIntValue(variable, &number);
    return number && seconds > 0 && seconds < standard ? seconds : standard;
}

} // namespace

int Mail_Script::networkLimitSeconds()
{
    return secondsFrom("TESSALINE_MAIL_NETWORK_SECONDS", networkSeconds);
}

int Mail_Script::endOfDataLimitSeconds()
{
    return secondsFrom("TESSALINE_MAIL_END_OF_DATA_SECONDS", endOfDataSeconds);
}

std::optional<QString> Mail_Script::overLimit(const Mail_Message& mail)
{
    if (mail.body.toUtf8().size() > maxBodyBytes)
        return QStringLiteral("The message is too long: at most %1 KB of text can be sent.").arg(maxBodyBytes / 1024);
    if (mail.subject.size() > maxSubjectCharacters)
        return QStringLiteral("The subject is too long: at most %1 characters.").arg(maxSubjectCharacters);
    if (mail.password.size() > maxPasswordCharacters)
        return QStringLiteral("The password is too long: at most %1 characters.").arg(maxPasswordCharacters);
    return std::nullopt;
}

namespace {

Mail_Outcome::Status statusOfExit(int code)
{
    using S = Mail_Outcome::Status;
    switch (code) {
    case 0:
        return S::Sent;
    case 2:
        return S::BadInput;
    case 3:
        return S::LoginRefused;
    case 4:
        return S::NoEncryption;
    case 5:
        return S::Certificate;
    case 6:
        return S::RecipientRefused;
    case 7:
        return S::SenderRefused;
    case 8:
        return S::MailRefused;
    case 9:
        return S::MaybeDelivered;
    default:
        return S::Failed;
    }
}

QProcessEnvironment scriptEnvironment()
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PYTHONPATH"), QString());
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/bin:/usr/bin:/usr/local/bin"));
    // Where OpenSSL finds trusted authorities when they are not the system's own.
    const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    for (const char* variable : { "SSL_CERT_FILE", "SSL_CERT_DIR" }) {
        const QString name = QString::fromLatin1(variable);
        if (own.contains(name))
            environment.insert(name, own.value(name));
    }
    return environment;
}

std::optional<Mail_Stage> stageOf(const QByteArray& line)
{
    static const std::pair<const char*, Mail_Stage> lines[] = {
        { "HELLO", Mail_Stage::Hello },
        { "ENCRYPTING", Mail_Stage::Encrypting },
        { "LOGGING IN", Mail_Stage::LoggingIn },
        { "SENDING", Mail_Stage::Sending },
        { "END OF DATA SENT", Mail_Stage::AwaitingAnswer },
        { "ACCEPTED", Mail_Stage::Taken },
    };
    for (const auto& [said, stage] : lines)
        if (line == said)
            return stage;
    return std::nullopt;
}

// The script's last line on standard error: its reason.
QString reasonOf(QProcess& process)
{
    const QList<QByteArray> lines = process.readAllStandardError().right(4096).trimmed().split('\n');
    return QString::fromUtf8(lines.isEmpty() ? QByteArray() : lines.back().trimmed());
}

} // namespace

Mail_Outcome Mail_Script::send(const Mail_Message& mail, const std::atomic<bool>* abandon, int timeLimitMs)
{
    return send(mail, { abandon }, timeLimitMs);
}

Mail_Outcome Mail_Script::send(const Mail_Message& mail, std::initializer_list<const std::atomic<bool>*> giveUp,
    int timeLimitMs, const std::function<void(Mail_Stage)>& stage)
{
    using S = Mail_Outcome::Status;
    if (const std::optional<QString> limit = overLimit(mail))
        return { S::BadInput, *limit };
    const auto abandoned = [&giveUp] {
        return std::any_of(
            giveUp.begin(), giveUp.end(), [](const std::atomic<bool>* flag) { return flag && flag->load(); });
    };
    const QString script = scriptPath();
    if (script.isEmpty())
        return { S::Failed, QStringLiteral("the mail script cannot be unpacked") };

    const auto tell = [&stage](Mail_Stage now) {
        if (stage)
            stage(now);
    };
    tell(Mail_Stage::Connecting);
    QProcess process;
    process.setProcessEnvironment(scriptEnvironment());
    process.start(QString::fromLatin1(interpreter), { script });
    if (!process.waitForStarted(10000))
        return { S::Failed, QStringLiteral("the mail script cannot start: %1").arg(process.errorString()) };
    process.write(standardInput(mail));
    process.closeWriteChannel();

    // What the script says of the mail on its standard output, a line as each stage begins: from the end of
    // the message on, the server may have it.
    QByteArray said;
    qsizetype heard = 0; // of `said`, the lines told already
    const auto hasSaid = [&said, &process](const char* line) {
        said += process.readAllStandardOutput();
        return said.contains(QByteArray(line) + '\n');
    };
    QDeadlineTimer deadline(timeLimitMs);
    const auto listen = [&] {
        said += process.readAllStandardOutput();
        for (qsizetype end = said.indexOf('\n', heard); end >= 0; heard = end + 1, end = said.indexOf('\n', heard)) {
            const std::optional<Mail_Stage> now = stageOf(said.mid(heard, end - heard));
            if (now == Mail_Stage::AwaitingAnswer)
                deadline.setRemainingTime(
                    qint64(endOfDataLimitSeconds() + 2 * networkLimitSeconds()) * 1000 + timeLimitMs);
            if (now)
                tell(*now);
        }
    };
    while (!process.waitForFinished(100)) {
        listen();
        const bool gaveUp = abandoned() || deadline.hasExpired();
        if (process.state() == QProcess::NotRunning)
            break;
        if (gaveUp) {
            process.kill();
            process.waitForFinished(5000);
            Show_NSLog_Message(QStringLiteral("the mail to %1 was given up").arg(mail.toAddress));
            // Taken by the server is sent, whatever came after; a message whose end went may be there.
            if (hasSaid("ACCEPTED"))
                return { S::Sent };
            if (hasSaid("END OF DATA SENT"))
                return { S::MaybeDelivered, Mail_Outcome(S::MaybeDelivered).text() };
            if (abandoned())
                return { S::Cancelled };
            return { S::Failed, QStringLiteral("the server did not answer in time") };
        }
    }
    listen();
    if (process.exitStatus() != QProcess::NormalExit)
        return { S::Failed, QStringLiteral("the mail script ended abnormally") };
    Mail_Outcome outcome { statusOfExit(process.exitCode()), reasonOf(process) };
    // A sent mail carries a reason only when it went without encryption.
    if (outcome.sent() && outcome.reason != QLatin1String("sent without encryption"))
        outcome.reason.clear();
    if (!outcome.sent())
        Show_NSLog_Message(QStringLiteral("mail to %1 not sent: %2").arg(mail.toAddress, outcome.reason));
    return outcome;
}
