#include "SmtpPeer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QThread>

#include <algorithm>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

SmtpPeer::SmtpPeer(Mode mode, const QString& certificateHost)
    : process_(std::make_unique<QProcess>())
    , trusts_(mode == Mode::StartTls || mode == Mode::Ssl)
    , savedTrust_(qgetenv("SSL_CERT_FILE"))
{
    if (trusts_)
        qputenv("SSL_CERT_FILE", folder_.filePath(QStringLiteral("ca.pem")).toLocal8Bit());
    const char* modes[] = { "plain", "starttls", "ssl", "silent", "relay", "relay7", "tlsbusy" };
    const QString script = QStringLiteral(TESSALINE_TEST_SOURCE_DIR "/peers/output/smtp_peer.py");
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(QStringLiteral("/usr/bin/python3"),
        { script, QString::fromLatin1(modes[static_cast<int>(mode)]), folder_.path(), certificateHost });
    if (!process_->waitForStarted(10000))
        return;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000 && process_->state() == QProcess::Running) {
        if (!process_->canReadLine())
            process_->waitForReadyRead(200);
        while (process_->canReadLine()) {
            const QByteArray line = process_->readLine().trimmed();
            if (line.startsWith("PORT "))
                port_ = line.mid(5).toInt();
        }
        if (port_ > 0)
            return;
    }
}

SmtpPeer::~SmtpPeer()
{
    if (trusts_ && savedTrust_.isEmpty())
        qunsetenv("SSL_CERT_FILE");
    else if (trusts_)
        qputenv("SSL_CERT_FILE", savedTrust_);
    if (process_->state() == QProcess::NotRunning)
        return;
    process_->closeWriteChannel();
    if (!process_->waitForFinished(5000)) {
        process_->kill();
        process_->waitForFinished(2000);
    }
}

QList<QJsonObject> SmtpPeer::messages() const
{
    QStringList names = QDir(folder_.path()).entryList({ QStringLiteral("message-*.json") }, QDir::Files);
    const auto number
        = [](const QString& name) { return name.section(QLatin1Char('-'), 1).section('.', 0, 0).toInt(); };
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return number(a) < number(b); });
    QList<QJsonObject> list;
    for (const QString& name : names) {
        QFile file(folder_.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            list << QJsonDocument::fromJson(file.readAll()).object();
    }
    return list;
}

QList<QJsonObject> SmtpPeer::waitForMessages(int n) const
{
    QElapsedTimer clock;
    clock.start();
    QList<QJsonObject> list = messages();
    while (list.size() < n && clock.elapsed() < 60000) {
        QThread::msleep(50);
        list = messages();
    }
    return list;
}

QByteArray SmtpPeer::authLog() const
{
    QFile log(folder_.filePath(QStringLiteral("auth.log")));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

int SmtpPeer::connections() const
{
    QFile log(folder_.filePath(QStringLiteral("accepted.log")));
    return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) : 0;
}

int SmtpPeer::held() const
{
    QFile log(folder_.filePath(QStringLiteral("held.log")));
    return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) : 0;
}

QString SmtpPeer::freeClosedPort()
{
    // Bound and never listened on: connections to it are refused. The socket stays open while the tests run,
    // so that no server another test starts in the meantime can take the port.
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    else
        ::close(probe);
    return QString::number(port);
}
