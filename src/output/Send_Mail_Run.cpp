#include "output/Send_Mail_Run.h"

#include "common/Common_Functions.h"
#include "editor/TSLWindowController.h"
#include "output/Mail_Globals.h"
#include "output/Record_Fill.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

Send_Mail_Run::Send_Mail_Run(const std::atomic<bool>& stop, const std::atomic<bool>& abandon)
    : sender(
        [](const Mail_Message& mail, const std::atomic<bool>* quit) { return Mail_Script::sendEmail_pyth(mail, quit); })
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

QString Send_Mail_Run::finalMessage(const Send_Mail_Result& result)
{
    QString text = result.lastSendSucceeded ? QStringLiteral("E-mail has been sent successfully.") : failureText();
    if (result.failed > 0)
        text += QStringLiteral("\n\n%1 of %2 mails could not be sent.")
                    .arg(result.failed)
                    .arg(result.sent + result.failed);
    const QString note = Record_Fill_Log::withoutSymbolNote(result.withoutSymbol);
    if (!note.isEmpty())
        text += QStringLiteral("\n\n") + note;
    return text;
}

bool Send_Mail_Run::send(
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
    Show_NSLog_Message(QStringLiteral("mail to %1").arg(to));
    const bool sent = sender && sender(mail, &abandon_);
    result.lastSendSucceeded = sent;
    if (sent) {
        ++result.sent;
    } else {
        ++result.failed;
        Show_NSLog_Message(QStringLiteral("error in mail: %1").arg(to));
    }
    return sent;
}

bool Send_Mail_Run::renderSide(const Send_Mail_Request& request, int record, const QString& side, const QString& path)
{
    const QImage picture = request.render ? request.render(record, side) : QImage();
    if (picture.isNull()) {
        Show_NSLog_Message(QStringLiteral("record %1 of side %2 gave no card picture").arg(record + 1).arg(side));
        return false;
    }
    QString error;
    if (!TSLWindowController::Save_gen_image(picture, path, &error)) {
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
    const int total = steps(request);
    list_count = total;
    curr_barcode_count = 0;
    Pause_Delay_Time = -1;

    // The card pictures of this run live in a folder of its own, removed with everything in it at the end.
    QTemporaryDir folder;
    if (request.kind != Kind::Plain && !folder.isValid()) {
        Show_NSLog_Message(QStringLiteral("no temporary folder for the card pictures: %1").arg(folder.errorString()));
        return result;
    }

    QStringList card; // the card run's pictures, made at its first step
    int sinceLastPause = 0;
    for (int i = 0; i < total && !stopped(); ++i) {
        curr_barcode_count = i + 1;
        if (request.kind == Kind::CardWithoutData) {
            Show_NSLog_Message(QStringLiteral("send card no batch."));
            if (i == 0) {
                const auto files = cardFiles(request, 0, folder.path());
                if (!files)
                    break;
                card = *files;
            }
            if (!send(request, request.recipients[i], card, result))
                break;
        } else if (request.kind == Kind::DataOnePerRecipient) {
            Show_NSLog_Message(QStringLiteral("send card with batch to one to one"));
            if (i >= request.records) {
                curr_barcode_count = total;
                break;
            }
            const auto files = cardFiles(request, i, folder.path());
            if (!files)
                continue;
            if (!send(request, request.recipients[i], *files, result))
                break;
        } else if (request.kind == Kind::DataAllToEvery) {
            Show_NSLog_Message(QStringLiteral("send card with batch to all image to everyone"));
            const auto files = cardFiles(request, i, folder.path());
            if (!files)
                continue;
            for (const QString& to : request.recipients) {
                if (stopped() || !send(request, to, *files, result))
                    break;
            }
        } else {
            Show_NSLog_Message(QStringLiteral("send without card."));
            const QString file = Trim_Str(request.attachment);
            QStringList attachments;
            if (!file.isEmpty() && QFileInfo(file).isFile())
                attachments << file;
            if (!send(request, request.recipients[i], attachments, result))
                break;
        }
        if (request.mailsPerPause > 0 && ++sinceLastPause >= request.mailsPerPause && curr_barcode_count != total) {
            pause(request.pauseMs);
            sinceLastPause = 0;
        }
    }
    if (request.recordsWithoutSymbol)
        result.withoutSymbol = request.recordsWithoutSymbol();
    return result;
}
