#include "output/Mail_Script.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "platform/RunLeftovers.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <memory>

static void registerMailResource()
{
    Q_INIT_RESOURCE(mail);
}

namespace {

// The unpacked script lives as long as the process, in a folder only its owner can read.
struct UnpackedScript {
    std::unique_ptr<QTemporaryDir> folder;
    QString path;
};

UnpackedScript unpackScript()
{
    registerMailResource();
    UnpackedScript unpacked;
    platform::removeLeftoverRunFolders(QStringLiteral("tessaline-mail")); // of mail runs killed before
    unpacked.folder = std::make_unique<QTemporaryDir>(platform::runFolderTemplate(QStringLiteral("tessaline-mail")));
    if (!unpacked.folder->isValid())
        return unpacked;
    const QString path = unpacked.folder->filePath(QStringLiteral("pyth_mail.py"));
    QFile source(QStringLiteral(":/mail/pyth_mail.py"));
    if (!source.open(QIODevice::ReadOnly))
        return unpacked;
    const QByteArray script = source.readAll();
    QString error;
    if (!saveFileAtomically(path, [&script](QIODevice& target) { return writeAll(target, script); }, &error)) {
        Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(path, error));
        return unpacked;
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    unpacked.path = path;
    return unpacked;
}

} // namespace

QString Mail_Script::scriptPath()
{
    static const UnpackedScript unpacked = unpackScript();
    return unpacked.path;
}

QStringList Mail_Script::arguments(const QString& script, const Mail_Message& mail)
{
    QStringList list { script, mail.sender, mail.smtpServer, mail.port, mail.sender, mail.toAddress, mail.subject,
        mail.body, mail.enableSsl };
    list += mail.attachments;
    return list;
}

std::optional<QByteArray> Mail_Script::standardInput(const QString& password)
{
    for (const QChar c : password) {
        if (c.unicode() > 0x7f)
            return std::nullopt;
    }
    return password.toLatin1() + QByteArrayLiteral("\nDescription");
}

bool Mail_Script::sendEmail_pyth(const Mail_Message& mail, const std::atomic<bool>* abandon, int timeLimitMs)
{
    const QString script = scriptPath();
    const std::optional<QByteArray> input = standardInput(mail.password);
    if (script.isEmpty() || !input) {
        Show_NSLog_Message(script.isEmpty() ? QStringLiteral("the mail script cannot be unpacked")
                                            : QStringLiteral("the password is not plain ASCII"));
        return false;
    }

    QProcess process;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PYTHONPATH"), QString());
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/bin:/usr/bin:/usr/local/bin"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QString::fromLatin1(interpreter), arguments(script, mail));
    if (!process.waitForStarted(10000)) {
        Show_NSLog_Message(QStringLiteral("the mail script cannot start: %1").arg(process.errorString()));
        return false;
    }
    process.write(*input);
    process.closeWriteChannel();

    const QDeadlineTimer deadline(timeLimitMs);
    while (!process.waitForFinished(100)) {
        const bool gaveUp = (abandon && abandon->load()) || deadline.hasExpired();
        if (process.state() == QProcess::NotRunning)
            break;
        if (gaveUp) {
            process.kill();
            process.waitForFinished(5000);
            Show_NSLog_Message(QStringLiteral("the mail to %1 was given up").arg(mail.toAddress));
            return false;
        }
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
