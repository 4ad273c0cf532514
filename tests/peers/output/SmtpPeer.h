#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A loopback SMTP server run by /usr/bin/python3 with aiosmtpd for one test: plain, STARTTLS or SSL with a
// certificate for `certificateHost` signed by a test authority made for it, or a server that never
// answers. It asks for the login sender@example.com with the password "secret", keeps every message it
// takes, logs every login tried and refuses recipients whose address begins with "refused". While it
// lives, SSL_CERT_FILE names a TLS peer's authority, so the mail script trusts it and nothing else.
class SmtpPeer {
public:
    // Relay: plain, and asks for no login; Relay7Bit as well, without offering 8BITMIME. Every mode but Silent
    // plays the slow moments of a mail by its recipient's address (smtp_peer.py tells them). TlsBusy offers
    // STARTTLS and answers it with a 454.
    enum class Mode { Plain, StartTls, Ssl, Silent, Relay, Relay7Bit, TlsBusy };
    static constexpr const char* login = "sender@example.com";
    static constexpr const char* password = "secret";

    explicit SmtpPeer(Mode mode, const QString& certificateHost = QStringLiteral("127.0.0.1"));
    ~SmtpPeer();

    bool running() const { return port_ > 0; }
    QString port() const { return QString::number(port_); }
    // The messages taken so far, in arrival order: envelope, headers, body and attachments.
    QList<QJsonObject> messages() const;
    // Waits up to a few seconds for at least n messages.
    QList<QJsonObject> waitForMessages(int n) const;

    // Every login tried, one "MECHANISM login password" line each.
    QByteArray authLog() const;
    // The connections a silent peer has taken so far.
    int connections() const;
    // The answers the peer has started holding back.
    int held() const;

    static QString freeClosedPort(); // a loopback port nothing listens on

private:
    QTemporaryDir folder_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
    bool trusts_ = false; // a TLS mode: SSL_CERT_FILE names this peer's authority while it lives
    QByteArray savedTrust_;
};
