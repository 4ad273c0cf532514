#include "output/Send_Mail_Run.h"

#include "common/Common_Functions.h"
#include "output/Card_Image_File.h"
#include "output/Mail_Globals.h"
#include "output/Record_Fill.h"
#include "output/Send_Mail_Record.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QThread>

#include <algorithm>

Send_Mail_Run::Send_Mail_Run(const std::atomic<bool>& stop, const std::atomic<bool>& abandon)
    // Stop, like quitting, ends the mail under way: a slow server is not waited for.
    : sender([this, &stop](const Mail_Message& mail, const std::atomic<bool>* quit) {
        return Mail_Script::send(mail, { &stop, quit }, Mail_Script::defaultTimeLimitMs, [this](Mail_Stage stage) {
            const QMutexLocker lock(&stageMutex_);
            stage_ = stage;
            stageSince_.start();
        });
    })
    , stop_(stop)
    , abandon_(abandon)
{
}

int Send_Mail_Run::steps(const Send_Mail_Request& request)
{
    return request.kind == Send_Mail_Request::Kind::DataAllToEvery ? request.records
                                                                   : static_cast<int>(request.recipients.size());
}

QString Send_Mail_Run::failureText()
{
    return QStringLiteral(
        "Could not send email message.\nPlease make sure that:\n1. Entered E-mail settings are correct.\n2. Internet "
        "connectivity to E-mail server is not interrupted and E-mail server is not down.\n3. Your Firewall or "
        "Security software (if any) is not blocking the software to communicate with your E-mail server.");
}

QSet<QPair<int, QString>> Send_Mail_Result::failedKeys(bool withMaybeDelivered) const
{
    QSet<QPair<int, QString>> keys;
    for (const Send_Mail_Failure& failure : failures) {
        if (withMaybeDelivered || !failure.maybeDelivered)
            keys.insert(failure.key());
    }
    return keys;
}

int Send_Mail_Result::maybeDelivered() const
{
    return int(std::count_if(failures.cbegin(), failures.cend(), [](const auto& f) { return f.maybeDelivered; }));
}

QString Send_Mail_Run::finalMessage(const Send_Mail_Result& result, const QString& logPath)
{
    QString text = sendingMessage(result, logPath);
    const QString notes = result.fillNotes.isEmpty()
        ? Record_Fill_Log::notes(result.withoutSymbol, result.withPictureNotFound)
        : result.fillNotes;
    // A card that went without part of its data is no success.
    if (!notes.isEmpty() && text == QLatin1String("E-mail has been sent successfully."))
        text = QStringLiteral("The e-mails have been sent, but not all of their cards are whole.");
    for (const QString& told : { result.sheetNote, notes }) {
        if (!told.isEmpty())
            text += QStringLiteral("\n\n") + told;
    }
    return text;
}

QString Send_Mail_Run::sendingMessage(const Send_Mail_Result& result, const QString& logPath)
{
    if (result.failures.isEmpty())
        return result.lastSendSucceeded ? QStringLiteral("E-mail has been sent successfully.") : failureText();
    QString text;
    if (result.stopped) {
        text = QStringLiteral("The e-mail was stopped: %1 of %2 mails have been sent.\n\n")
                   .arg(result.sent)
                   .arg(result.sent + result.failures.size());
    } else if (result.endedBy) {
        text = result.endedBy->status == Mail_Outcome::Status::Failed
            ? failureText() + QStringLiteral("\n\n") + result.endedBy->text()
            : result.endedBy->text();
        text += QStringLiteral("\n\n");
    }
    constexpr int named = 3;
    QStringList names;
    for (const Send_Mail_Failure& failure : result.failures.mid(0, named))
        names << QStringLiteral("%1 (%2)").arg(
            Trim_Str(failure.address), failure.reason.isEmpty() ? QStringLiteral("not tried") : failure.reason);
    const qsizetype failed = result.failures.size();
    const qsizetype tried = result.sent + failed;
    text += (result.stopped ? QStringLiteral("%1 of %2 %3 were not sent: %4")
                            : QStringLiteral("%1 of %2 %3 could not be sent: %4"))
                .arg(failed)
                .arg(tried)
                .arg(tried == 1 ? QStringLiteral("mail") : QStringLiteral("mails"), names.join(QStringLiteral(", ")));
    text += failed > named ? QStringLiteral(" and %1 more.").arg(failed - named) : QStringLiteral(".");
    if (const int maybe = result.maybeDelivered())
        text += QStringLiteral("\n\n%1 of them may have been delivered: the whole mail went, but the server's answer "
                               "never came. A second run leaves %2 out unless you include %2.")
                    .arg(maybe)
                    .arg(maybe == 1 ? QStringLiteral("it") : QStringLiteral("them"));
    if (!logPath.isEmpty())
        text += QStringLiteral("\n\nThe whole list is in %1").arg(logPath);
    return text;
}

QByteArray Send_Mail_Run::failureLog(const Send_Mail_Request& request, const Send_Mail_Result& result)
{
    const bool byRecord = request.kind == Send_Mail_Request::Kind::DataAllToEvery;
    QByteArray log = (byRecord ? "Record" : "Recipient") + QByteArray("\tAddress\tReason\n");
    for (const Send_Mail_Failure& failure : result.failures) {
        const QString reason = failure.reason.isEmpty() ? QStringLiteral("not tried") : failure.reason;
        log += QStringLiteral("%1\t%2\t%3\n")
                   .arg(failure.step + 1)
                   .arg(Trim_Str(failure.address), QString(reason).replace(QLatin1Char('\n'), QLatin1Char(' ')))
                   .toUtf8();
    }
    return log;
}

Mail_Outcome Send_Mail_Run::send(
    const Send_Mail_Request& request, const QString& to, const QStringList& attachments, Send_Mail_Result& result)
{
    Mail_Message mail;
    mail.toAddress = to;
    mail.subject = request.subject;
    mail.attachments = attachments;
    mail.sender = request.sender;
    mail.password = request.password;
    mail.smtpServer = request.server;
    mail.port = request.port;
    mail.body = request.body;
    mail.enableSsl = request.ssl;
    {
        const QMutexLocker lock(&stageMutex_);
        sending_ = to;
        stage_ = Mail_Stage::Connecting;
        sendingSince_.start();
        stageSince_.start();
    }
    const Mail_Outcome outcome = sender ? sender(mail, &abandon_) : Mail_Outcome(false);
    {
        const QMutexLocker lock(&stageMutex_);
        sending_.clear();
        sendingSince_.invalidate();
    }
    result.lastSendSucceeded = outcome.sent();
    if (outcome.sent())
        ++result.sent;
    else if (outcome.status != Mail_Outcome::Status::Cancelled)
        ++result.failed;
    return outcome;
}

std::optional<Send_Mail_Run::Wait> Send_Mail_Run::waitingFor(qint64 forMs) const
{
    const QMutexLocker lock(&stageMutex_);
    // The answer to a message's end is timed on its own: the mail itself may have taken long to go.
    const QElapsedTimer& since = stage_ == Mail_Stage::AwaitingAnswer ? stageSince_ : sendingSince_;
    if (!sendingSince_.isValid() || since.elapsed() < forMs)
        return std::nullopt;
    return Wait { sending_, stage_ };
}

QSet<QPair<int, QString>> Send_Mail_Run::mailsOf(const Send_Mail_Request& request)
{
    QSet<QPair<int, QString>> mails;
    for (int step = 0; step < mailSteps(request); ++step) {
        for (const QString& address : addressesOf(request, step))
            mails.insert({ step, address });
    }
    return mails;
}

int Send_Mail_Run::mailSteps(const Send_Mail_Request& request)
{
    // One card per recipient: recipients past the last record get none.
    const int total = steps(request);
    return request.kind == Send_Mail_Request::Kind::DataOnePerRecipient ? std::min(total, request.records) : total;
}

QStringList Send_Mail_Run::addressesOf(const Send_Mail_Request& request, int step)
{
    const QStringList all = request.kind == Send_Mail_Request::Kind::DataAllToEvery
        ? request.recipients
        : QStringList { request.recipients.value(step) };
    if (!request.only)
        return all;
    QStringList chosen;
    for (const QString& address : all) {
        if (request.only->contains({ step, address }))
            chosen << address;
    }
    return chosen;
}

void Send_Mail_Run::leaveUntried(
    const Send_Mail_Request& request, int fromStep, const QStringList& restOfStep, Send_Mail_Result& result)
{
    for (const QString& address : restOfStep)
        result.failures << Send_Mail_Failure { fromStep, address, {} };
    for (int step = fromStep + 1; step < mailSteps(request); ++step) {
        for (const QString& address : addressesOf(request, step))
            result.failures << Send_Mail_Failure { step, address, {} };
    }
}

// After Stop, every mail of the run that was not handed to the sender is listed as stopped, so that the
// next run can be limited to them.
void Send_Mail_Run::leaveStopped(const Send_Mail_Request& request, Send_Mail_Result& result) const
{
    const QSet<QPair<int, QString>> listed = result.failedKeys();
    for (int step = 0; step < mailSteps(request); ++step) {
        for (const QString& address : addressesOf(request, step)) {
            if (!tried_.contains({ step, address }) && !listed.contains({ step, address })) {
                result.failures << Send_Mail_Failure { step, address, QStringLiteral("stopped") };
                result.stopped = true;
            }
        }
    }
}

bool Send_Mail_Run::sendStep(const Send_Mail_Request& request, int step, const QStringList& addresses,
    const QStringList& attachments, Send_Mail_Result& result)
{
    for (qsizetype k = 0; k < addresses.size() && !stopped(); ++k) {
        tried_.insert({ step, addresses[k] });
        const Mail_Outcome outcome = send(request, addresses[k], attachments, result);
        if (outcome.sent()) {
            result.taken.insert({ step, addresses[k] });
            if (!keep(request, step, addresses, k, true, result))
                return false;
            continue;
        }
        if (outcome.status == Mail_Outcome::Status::MaybeDelivered) {
            // The server may have it: listed apart, and the run goes on.
            result.failures << Send_Mail_Failure { step, addresses[k], QStringLiteral("may have been delivered"),
                true };
            if (!keep(request, step, addresses, k, false, result))
                return false;
            continue;
        }
        if (outcome.status == Mail_Outcome::Status::Cancelled && stopped()) {
            // Stop ended this mail under way: it is listed with the others Stop left unsent.
            tried_.remove({ step, addresses[k] });
            return false;
        }
        result.failures << Send_Mail_Failure { step, addresses[k],
            outcome.reason.isEmpty() ? outcome.text() : outcome.reason };
        // A refused recipient leaves the others to go; a failure of the server or the account would fail
        // every later mail as well.
        if (!outcome.onlyThisRecipient()) {
            result.endedBy = outcome;
            leaveUntried(request, step, addresses.mid(k + 1), result);
            return false;
        }
    }
    return true;
}

bool Send_Mail_Run::keep(const Send_Mail_Request& request, int step, const QStringList& addresses, qsizetype k,
    bool taken, Send_Mail_Result& result)
{
    QString error;
    if (!request.recorded
        || Send_Mail_Record::append({ request.design, request.cardOf(step), mailGuest(addresses[k]) }, taken,
            request.subject, request.body, &error))
        return true;
    // A guest mailed without a line of it would be mailed again unasked by the next Send.
    result.endedBy = Mail_Outcome(Mail_Outcome::Status::BadInput,
        QStringLiteral("The mail to %1 went, but the list of the guests mailed could not be kept, so the run stopped "
                       "before the next mail: %2")
            .arg(Trim_Str(addresses[k]), error));
    leaveUntried(request, step, addresses.mid(k + 1), result);
    return false;
}

bool Send_Mail_Run::renderSide(const Send_Mail_Request& request, int record, const QString& side, const QString& path)
{
    const QImage picture = request.render ? request.render(record, side) : QImage();
    if (picture.isNull()) {
        Show_NSLog_Message(QStringLiteral("record %1 of side %2 gave no card picture").arg(record + 1).arg(side));
        return false;
    }
    QString error;
    if (!Card_Image_File::write(picture, path, &error, request.dpi)) {
        Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(path, error));
        return false;
    }
    return true;
}

std::optional<QStringList> Send_Mail_Run::cardFiles(const Send_Mail_Request& request, int record, const QString& folder)
{
    const QString front = QDir(folder).filePath(request.baseName + QStringLiteral(".png"));
    const QString back = QDir(folder).filePath(request.baseName + QStringLiteral("_Back.png"));
    QStringList files;
    if (request.cardSide != QLatin1String("F")) {
        if (!renderSide(request, record, QStringLiteral("B"), back))
            return std::nullopt;
        files << back;
    }
    if (request.cardSide == QLatin1String("F") || request.cardSide == QLatin1String("BOTH")) {
        if (!renderSide(request, record, QStringLiteral("F"), front))
            return std::nullopt;
        files << front;
    }
    return files;
}

std::optional<Mail_Attachment_Size> Send_Mail_Run::attachmentSize(const Send_Mail_Request& request, int record)
{
    const platform::RunFolder folder(QStringLiteral("tessaline-mail"));
    const std::optional<QStringList> files
        = folder.isValid() ? cardFiles(request, record, folder.path()) : std::nullopt;
    if (!files || files->isEmpty())
        return std::nullopt;
    Mail_Attachment_Size size;
    size.pixels = QImageReader(files->front()).size();
    for (const QString& file : *files)
        size.files << Mail_File { QFileInfo(file).fileName(), QFileInfo(file).size() };
    return size;
}

void Send_Mail_Run::pause(qint32 ms)
{
    Pause_Delay_Time = ms;
    qint32 remaining = (ms / 1000 - 1) * 1000;
    while (remaining > 0 && !stopped()) {
        // One second, in slices, so that Stop is seen at once.
        for (int slice = 0; slice < 20 && !stopped(); ++slice)
            QThread::msleep(50);
        remaining -= 1000;
        if (remaining > 0)
            Pause_Delay_Time = remaining + 1000;
    }
    Pause_Delay_Time = -1;
}

Send_Mail_Result Send_Mail_Run::run(const Send_Mail_Request& request)
{
    using Kind = Send_Mail_Request::Kind;
    Send_Mail_Result result;
    tried_.clear();
    const int total = steps(request);
    list_count = total;
    curr_barcode_count = 0;
    Pause_Delay_Time = -1;

    if (request.barcodeQuestion) {
        const QString question = request.barcodeQuestion([this] { return stopped(); });
        if (!question.isEmpty() && !stopped() && Show_YES_NO_MessageBox(question) != 1) {
            leaveStopped(request, result);
            return result;
        }
    }

    // The card pictures of this run live in a folder of its own, removed with everything in it at the end.
    const platform::RunFolder folder(QStringLiteral("tessaline-mail"));
    if (request.kind != Kind::Plain && !folder.isValid()) {
        Show_NSLog_Message(QStringLiteral("no temporary folder for the card pictures: %1").arg(folder.errorString()));
        return result;
    }

    std::optional<QStringList> card; // the card run's pictures, made at its first mail
    int sinceLastPause = 0;
    for (int i = 0; i < total && !stopped(); ++i) {
        curr_barcode_count = i + 1;
        if (i >= mailSteps(request)) {
            // One card per recipient: those past the last record get none, and are told of.
            for (int step = i; step < total; ++step) {
                for (const QString& address : addressesOf(request, step))
                    result.failures << Send_Mail_Failure { step, address,
                        QStringLiteral("no record for this recipient") };
            }
            curr_barcode_count = total;
            break;
        }
        const QStringList addresses = addressesOf(request, i);
        if (addresses.isEmpty())
            continue; // a second run leaves out the mails that went the first time
        QStringList attachments;
        if (request.kind == Kind::Plain) {
            const QString file = Trim_Str(request.attachment);
            if (!file.isEmpty() && QFileInfo(file).isFile())
                attachments << file;
        } else if (request.kind == Kind::CardWithoutData) {
            if (!card)
                card = cardFiles(request, 0, folder.path());
            if (!card) {
                result.endedBy
                    = Mail_Outcome(Mail_Outcome::Status::Failed, QStringLiteral("the card picture could not be made"));
                leaveUntried(request, i, addresses, result);
                break;
            }
            attachments = *card;
        } else {
            const std::optional<QStringList> files = cardFiles(request, i, folder.path());
            if (!files) {
                for (const QString& address : addresses)
                    result.failures << Send_Mail_Failure { i, address,
                        QStringLiteral("the card of record %1 could not be made").arg(i + 1) };
                continue;
            }
            attachments = *files;
        }
        if (!sendStep(request, i, addresses, attachments, result))
            break;
        if (request.mailsPerPause > 0 && ++sinceLastPause >= request.mailsPerPause && curr_barcode_count != total) {
            pause(request.pauseMs);
            sinceLastPause = 0;
        }
    }
    if (stop_.load() && !abandon_.load())
        leaveStopped(request, result);
    if (request.recordsWithoutSymbol)
        result.withoutSymbol = request.recordsWithoutSymbol();
    if (request.recordsWithPictureNotFound)
        result.withPictureNotFound = request.recordsWithPictureNotFound();
    if (request.fillNotes)
        result.fillNotes = request.fillNotes();
    result.sheetNote = request.sheetNote;
    return result;
}
