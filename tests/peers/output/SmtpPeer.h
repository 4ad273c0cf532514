#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A loopback SMTP server run by /usr/bin/python3 with aiosmtpd for one test: plain, STARTTLS with a
// self-signed certificate made for the test, SSL, or a server that never answers. It asks for the login
// sender@example.com with the password "secret" and keeps every message it takes.
class SmtpPeer {
public:
    enum class Mode { Plain, StartTls, Ssl, Silent };
    static constexpr const char* login = "sender@example.com";
    static constexpr const char* password = "secret";

    explicit SmtpPeer(Mode mode);
    ~SmtpPeer();

    bool running() const { return port_ > 0; }
    QString port() const { return QString::number(port_); }
    // The messages taken so far, in arrival order: envelope, headers, body and attachments.
    QList<QJsonObject> messages() const;
    // Waits up to a few seconds for at least n messages.
    QList<QJsonObject> waitForMessages(int n) const;

    static QString freeClosedPort(); // a loopback port nothing listens on

private:
    QTemporaryDir folder_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
};
