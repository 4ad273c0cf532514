#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

// One e-mail: the fields the mail script is given for one recipient.
struct Mail_Message {
    QString toAddress;
    QString subject;
    QStringList attachments; // full paths, attached in this order
    QString sender;
    QString password;
    QString smtpServer;
    QString port; // as the user typed it
    QString body;
    QString enableSsl; // "Y" for SSL, anything else TLS
};

// Runs the program's mail script once per mail with the interpreter, an argument list (never a shell), a
// fixed two-variable environment and the password on standard input. The wait is bounded: a server that
// never answers ends the send as a failure instead of hanging the caller.
class Mail_Script {
public:
    static constexpr const char* interpreter = "/usr/bin/python3";
    static constexpr int defaultTimeLimitMs = 55000; // the script's own network timeout is shorter

    // The script as a file the interpreter can run: unpacked once per process into a private folder.
    // Empty when it cannot be written.
    static QString scriptPath();

    // The arguments the script gets for a mail, the script's path first.
    static QStringList arguments(const QString& script, const Mail_Message& mail);
    // What the script reads on standard input; none when the password is not plain ASCII.
    static std::optional<QByteArray> standardInput(const QString& password);

    // True when the script ended with status 0, that is when the server took the mail. A script that
    // cannot start, a password that is not ASCII, a run longer than the time limit, or `abandon` turning
    // true (the program is quitting) are failures.
    static bool sendEmail_pyth(
        const Mail_Message& mail, const std::atomic<bool>* abandon = nullptr, int timeLimitMs = defaultTimeLimitMs);
};
