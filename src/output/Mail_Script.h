#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <optional>

// One e-mail: the fields the mail script is given for one recipient.
struct Mail_Message {
    QString toAddress; // one address, with or without a display name (see parseMailAddress)
    QString subject;
    QStringList attachments; // full paths, attached in this order
    QString sender;
    QString password;
    QString smtpServer;
    QString port; // as the user typed it
    QString body;
    QString enableSsl; // "Y" for SSL, anything else TLS (STARTTLS, required)
};

// A file as a mail carries it: its name and its size in bytes.
struct Mail_File {
    QString name;
    qint64 bytes = 0;
};

// How one send ended, with the reason the script or the caller gave.
struct Mail_Outcome {
    enum class Status {
        Sent,
        Failed, // connection, time-out or anything else
        BadInput, // over a limit, unreadable fields
        LoginRefused,
        NoEncryption, // TLS chosen and the server offers no STARTTLS
        Certificate, // the chain or the host name did not verify
        RecipientRefused,
        SenderRefused,
        MailRefused, // the server took the recipient but not this message (a header it will not take)
        MaybeDelivered, // the whole message went, but the server's answer to it never came
        Cancelled,
    };
    Status status = Status::Failed;
    QString reason; // of a sent mail: "sent without encryption" when it went so, else empty

    Mail_Outcome() = default;
    // A plain yes or no, as a sender that knows no reasons (a test's) gives it.
    Mail_Outcome(bool sent)
        : status(sent ? Status::Sent : Status::Failed)
    {
    }
    Mail_Outcome(Status s, QString why = QString())
        : status(s)
        , reason(std::move(why))
    {
    }
    bool sent() const { return status == Status::Sent; }
    // A refusal of this recipient only: a run goes on with the next one. Anything else would fail every
    // later mail as well, so it ends the run.
    bool onlyThisRecipient() const { return status == Status::RecipientRefused || status == Status::MailRefused; }
    // What the person is told, in a sentence or two.
    QString text() const;
};

// Where one mail stands, as its script tells it.
enum class Mail_Stage {
    Connecting, // to the server, through its encryption from the first byte, to its greeting
    Hello,
    Encrypting, // STARTTLS
    LoggingIn,
    Sending, // the envelope and the message
    AwaitingAnswer, // the message's end has gone and the server's answer to it has not come
    Taken, // the server has taken the mail
};

// Runs the program's mail script once per mail with the interpreter and a fixed environment. Every field,
// the password with them, goes to the script as UTF-8 JSON on its standard input: nothing of the mail is
// in its argument list, which every local user can read. The wait is bounded: a server that never answers
// ends the send as a failure instead of hanging the caller.
class Mail_Script {
public:
    static constexpr const char* interpreter = "/usr/bin/python3";
    static constexpr int defaultTimeLimitMs = 55000; // the script's own network timeout is shorter
    static constexpr int networkSeconds = 20; // the script's wait for each answer of the server
    // Its wait for the answer to the message's end: the mail standard's 10 minutes, as the server may be
    // delivering the mail meanwhile, and a mail given up then may reach its guest twice.
    static constexpr int endOfDataSeconds = 600;
    static constexpr int maxBodyBytes = 1024 * 1024;
    static constexpr int maxSubjectCharacters = 900; // a header line stays under the mail format's 998
    static constexpr int maxPasswordCharacters = 1000;

    // The script as a file the interpreter can run: unpacked once per process into a private folder.
    // Empty when it cannot be written.
    static QString scriptPath();

    // What the script reads on standard input for a mail.
    static QByteArray standardInput(const Mail_Message& mail);
    // The message for the first field over its limit; none when the mail is within them.
    static std::optional<QString> overLimit(const Mail_Message& mail);

    // The size of the whole message the script builds for `mail` with `files` attached (in place of the mail's
    // own attachments), as a server that takes 8-bit text receives it: its headers, the text and each file in
    // base64 lines. Within a few bytes: the message's identity and date are made as it goes.
    static qint64 messageBytes(const Mail_Message& mail, const QList<Mail_File>& files);

    // The script's two waits in seconds; TESSALINE_MAIL_NETWORK_SECONDS and TESSALINE_MAIL_END_OF_DATA_SECONDS
    // shorten them for tests of slow servers.
    static int networkLimitSeconds();
    static int endOfDataLimitSeconds();

    // Sends one mail. A script that cannot start, a mail over the limits, a run longer than the time limit,
    // or `abandon` turning true (Cancel, or the program quitting) are failures; once the message's end has
    // gone, the time limit grows by the wait for its answer. Ended after the server took the mail, the send
    // counts as sent; ended after its end went but before the answer, as maybe delivered.
    static Mail_Outcome send(
        const Mail_Message& mail, const std::atomic<bool>* abandon = nullptr, int timeLimitMs = defaultTimeLimitMs);
    // The same, given up as soon as any of the flags turns true (a run's Stop, or the program quitting).
    // `stage` hears each stage of the mail as it begins, from Connecting on.
    static Mail_Outcome send(const Mail_Message& mail, std::initializer_list<const std::atomic<bool>*> giveUp,
        int timeLimitMs = defaultTimeLimitMs, const std::function<void(Mail_Stage)>& stage = {});
    // True when the server took the mail.
    static bool sendEmail_pyth(
        const Mail_Message& mail, const std::atomic<bool>* abandon = nullptr, int timeLimitMs = defaultTimeLimitMs)
    {
        return send(mail, abandon, timeLimitMs).sent();
    }
};
