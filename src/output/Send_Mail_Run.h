#pragma once

#include "output/Mail_Script.h"

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

// Everything one e-mail run needs, read on the GUI thread before its worker starts.
struct Send_Mail_Request {
    enum class Kind {
        CardWithoutData, // the card as it stands, to every recipient
        DataAllToEvery, // every record's card to every recipient
        DataOnePerRecipient, // record i's card to recipient i
        Plain, // text and an optional file
    };
    Kind kind = Kind::Plain;
    QStringList recipients; // as split from the To field
    QString subject;
    QString body;
    QString sender;
    QString password;
    QString server;
    QString port;
    QString ssl; // "Y" or "N"
    QString cardSide = QStringLiteral("F"); // "BOTH", "F" or "B"
    QString baseName = QStringLiteral("VarnelCard"); // of the card picture files
    QString attachment; // the plain run's file, as typed
    int records = 0; // R, records of a data run
    int dpi = 300; // of the card pictures
    int mailsPerPause = 0; // N; 0 means no pauses
    qint32 pauseMs = 0; // T
    // Record i of side "F" or "B" as a picture, null when it cannot be made; called on the worker.
    std::function<QImage(int record, const QString& side)> render;
    // Records of the run whose cards went without their barcode, asked once the run ends.
    std::function<int()> recordsWithoutSymbol;
    std::function<int()> recordsWithPictureNotFound;
    // Everything the cards went without, as the final message tells it (Record_Fill_Log::notes).
    std::function<QString()> fillNotes;
    QString sheetNote; // what the bound sheet told of its rows, no fault of any card (Record_Fill_Log::sheetNote)
    // Once the run has ended: lists every card not whole among the mail logs and gives the sentence saying
    // where; empty when the cards are whole.
    std::function<QString()> listNotWhole;
    // The warning and question of the barcodes the cards draw too small for their readers, with every value's
    // symbol made once for the cards; empty when there are none. Asked on the worker before anything is
    // sent, given the run's Stop.
    std::function<QString(const std::function<bool()>& stopped)> barcodeQuestion;
    // When set, only these mails (step, recipient as split) are sent: a second run to the failed ones.
    std::optional<QSet<QPair<int, QString>>> only;
    // The design and the card each step mails, as the record of mails sent knows them: one card for every
    // step when it holds one.
    QString design;
    QStringList cards;
    QString cardOf(int step) const { return cards.size() == 1 ? cards.front() : cards.value(step); }
    // Each mail the server takes, or may have taken, goes into the record of mails sent the moment it does; a
    // mail that cannot be written there ends the run.
    bool recorded = false;
};

// One mail of a run that did not reach its recipient.
struct Send_Mail_Failure {
    int step = 0; // the recipient's or, mailing every card to everyone, the record's
    QString address; // as split from the To field
    QString reason; // empty: not tried, as an earlier failure ended the run
    bool maybeDelivered = false; // the whole mail went, but the server's answer never came
    QPair<int, QString> key() const { return { step, address }; }
};

// How a run ended.
struct Send_Mail_Result {
    bool lastSendSucceeded = false; // the last script call of the run (none made: false)
    int sent = 0;
    int failed = 0;
    int withoutSymbol = 0; // records whose cards have no barcode
    int withPictureNotFound = 0; // records whose cards went without a picture that cannot be found
    QString fillNotes; // everything the cards went without (Record_Fill_Log::notes)
    QString sheetNote; // the request's, told before them
    QList<Send_Mail_Failure> failures; // refused, failed and (after a failure that ended the run) not tried
    QSet<QPair<int, QString>> taken; // the mails the server took
    std::optional<Mail_Outcome> endedBy; // the failure that ended the run before its end
    bool stopped = false; // Stop ended the run before its end; its unsent mails are among `failures`

    // Every mail of `failures`, for a second run limited to them; those that may have been delivered only
    // when asked for, so that nobody gets a card twice unless the person chose it.
    QSet<QPair<int, QString>> failedKeys(bool withMaybeDelivered = false) const;
    int maybeDelivered() const;
};

// One mail's card pictures, as a run attaches them.
struct Mail_Attachment_Size {
    QSize pixels; // of the first picture
    QList<Mail_File> files; // every picture's name and size, in the mail's order
};

// The work of an e-mail run, on a worker thread: card pictures rendered into the run's own temporary
// folder, the mail script once per mail, pauses after every N mails, progress through atomics, and Stop
// checked before each step, before each recipient of an all-to-every pass and during pauses. Touches no
// widget; the folder and its pictures are gone when run() returns.
class Send_Mail_Run {
public:
    using Sender = std::function<Mail_Outcome(const Mail_Message& mail, const std::atomic<bool>* abandon)>;

    // `stop`: the progress window's Stop. `abandon`: the program is quitting; a send under way is killed.
    Send_Mail_Run(const std::atomic<bool>& stop, const std::atomic<bool>& abandon);

    static int steps(const Send_Mail_Request& request); // S: records of an all-to-every run, else recipients
    // Every mail the run would send, as (step, recipient as split).
    static QSet<QPair<int, QString>> mailsOf(const Send_Mail_Request& request);

    Send_Mail_Result run(const Send_Mail_Request& request);

    Sender sender; // the mail script unless a test replaces it

    // The mail under way and its stage, once the mail has been under way for at least `forMs` (its answer
    // awaited for that long, once its end has gone); none otherwise. Any thread.
    struct Wait {
        QString recipient;
        Mail_Stage stage = Mail_Stage::Connecting;
    };
    std::optional<Wait> waitingFor(qint64 forMs = 0) const;

    // The final message for a run's result: the success or failure text, how many sends failed, the
    // first few of them and, when given, the log that lists them all.
    static QString finalMessage(const Send_Mail_Result& result, const QString& logPath = QString());
    // The sends alone: success, or the failures and where the whole list is.
    static QString sendingMessage(const Send_Mail_Result& result, const QString& logPath = QString());
    static QString failureText();
    // The log of a run's failures: one line per mail, tab-separated: record or recipient number, address,
    // reason ("not tried" for the mails an earlier failure left).
    static QByteArray failureLog(const Send_Mail_Request& request, const Send_Mail_Result& result);

    // The pictures of `record` written as a run writes them, measured and removed; none when they cannot
    // be made. Any thread.
    static std::optional<Mail_Attachment_Size> attachmentSize(const Send_Mail_Request& request, int record);

private:
    struct Step;
    bool stopped() const { return stop_.load() || abandon_.load(); }
    Mail_Outcome send(
        const Send_Mail_Request& request, const QString& to, const QStringList& attachments, Send_Mail_Result& result);
    static int mailSteps(const Send_Mail_Request& request); // steps that mail anyone
    static QStringList addressesOf(const Send_Mail_Request& request, int step);
    bool sendStep(const Send_Mail_Request& request, int step, const QStringList& addresses,
        const QStringList& attachments, Send_Mail_Result& result);
    // Writes the mail the server took (or may have) into the record of mails sent; false, with the run ended
    // and the reason told, when it cannot.
    static bool keep(const Send_Mail_Request& request, int step, const QStringList& addresses, qsizetype k, bool taken,
        Send_Mail_Result& result);
    static void leaveUntried(
        const Send_Mail_Request& request, int fromStep, const QStringList& restOfStep, Send_Mail_Result& result);
    void leaveStopped(const Send_Mail_Request& request, Send_Mail_Result& result) const;
    static bool renderSide(const Send_Mail_Request& request, int record, const QString& side, const QString& path);
    static std::optional<QStringList> cardFiles(const Send_Mail_Request& request, int record, const QString& folder);
    void pause(qint32 ms);

    const std::atomic<bool>& stop_;
    const std::atomic<bool>& abandon_;
    QSet<QPair<int, QString>> tried_; // the mails of this run handed to the sender
    mutable QMutex stageMutex_;
    QString sending_; // the recipient of the mail under way
    Mail_Stage stage_ = Mail_Stage::Connecting; // its stage, as the sender tells it
    QElapsedTimer sendingSince_; // since it began; invalid between mails
    QElapsedTimer stageSince_; // since its stage began
};
