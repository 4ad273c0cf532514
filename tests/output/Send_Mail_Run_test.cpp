#include "output/Send_Mail_Run.h"

#include "MailTestSupport.h"
#include "common/Common_Functions.h"
#include "output/Mail_Globals.h"
#include "output/Send_Mail_Record.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <QDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// One call of the sender as the run made it, with what the attachments held at that moment.
struct Call {
    QString to;
    QList<QSize> pictureSizes;
    qint64 atMs;
};

// A run whose mails are recorded instead of sent; the picture of record r is (100 + r) x 50 pixels.
struct RecordingRun {
    std::atomic<bool> stop { false };
    std::atomic<bool> abandon { false };
    Send_Mail_Run run { stop, abandon };
    std::vector<Call> calls;
    QStringList attachmentPaths;
    QElapsedTimer clock;
    std::function<Mail_Outcome(int call)> answer = [](int) { return true; };

    RecordingRun()
    {
        clock.start();
        run.sender = [this](const Mail_Message& mail, const std::atomic<bool>*) {
            Call call { mail.toAddress, {}, clock.elapsed() };
            for (const QString& path : mail.attachments) {
                call.pictureSizes << QImage(path).size();
                attachmentPaths << path;
            }
            calls.push_back(call);
            return answer(static_cast<int>(calls.size()) - 1);
        };
    }
    QStringList recipientsMailed() const
    {
        QStringList list;
        for (const Call& c : calls)
            list << c.to;
        return list;
    }
};

Send_Mail_Request request(Send_Mail_Request::Kind kind, const QStringList& recipients, int records = 0)
{
    Send_Mail_Request r;
    r.kind = kind;
    r.recipients = recipients;
    r.records = records;
    r.cardSide = QStringLiteral("F");
    r.render = [](int record, const QString& side) {
        QImage picture(100 + record, side == QLatin1String("F") ? 50 : 60, QImage::Format_ARGB32);
        picture.fill(Qt::white);
        return picture;
    };
    return r;
}

const QStringList three
    = { QStringLiteral("a@example.com"), QStringLiteral(" b@example.com"), QStringLiteral("c@example.com") };

} // namespace

TEST(SendMailRun, StepsAndRecipientsOfEachKind)
{
    using Kind = Send_Mail_Request::Kind;
    const QStringList five = three + QStringList { QStringLiteral("d@example.com"), QStringLiteral("e@example.com") };
    const struct {
        Kind kind;
        QStringList recipients;
        int records;
        int steps;
        QStringList mailed;
        QList<int> recordOfMail; // picture width - 100; -1 for a mail without pictures
    } cases[] = {
        { Kind::Plain, three, 0, 3, three, { -1, -1, -1 } },
        { Kind::CardWithoutData, three, 7, 3, three, { 0, 0, 0 } },
        { Kind::DataOnePerRecipient, five, 3, 5, five.mid(0, 3), { 0, 1, 2 } },
        { Kind::DataOnePerRecipient, three, 5, 3, three, { 0, 1, 2 } },
        { Kind::DataAllToEvery, three.mid(0, 2), 3, 3, three.mid(0, 2) + three.mid(0, 2) + three.mid(0, 2),
            { 0, 0, 1, 1, 2, 2 } },
    };
    for (const auto& c : cases) {
        RecordingRun r;
        const Send_Mail_Request req = request(c.kind, c.recipients, c.records);
        EXPECT_EQ(Send_Mail_Run::steps(req), c.steps);
        const Send_Mail_Result result = r.run.run(req);
        EXPECT_EQ(r.recipientsMailed(), c.mailed) << int(c.kind);
        ASSERT_EQ(r.calls.size(), std::size_t(c.recordOfMail.size()));
        for (std::size_t m = 0; m < r.calls.size(); ++m) {
            const int record = c.recordOfMail[int(m)];
            EXPECT_EQ(r.calls[m].pictureSizes, record < 0 ? QList<QSize>() : QList<QSize>({ QSize(100 + record, 50) }))
                << int(c.kind) << " mail " << m;
        }
        EXPECT_TRUE(result.lastSendSucceeded);
        EXPECT_EQ(result.sent, int(c.mailed.size()));
        EXPECT_EQ(list_count.load(), c.steps);
        EXPECT_EQ(curr_barcode_count.load(), c.steps); // the bar ends full, also when records run out
        for (const QString& path : r.attachmentPaths)
            EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    }
}

TEST(SendMailRun, BothSidesAttachTheBackThenTheFrontInARunFolderOfItsOwn)
{
    RecordingRun r;
    Send_Mail_Request req = request(Send_Mail_Request::Kind::DataAllToEvery, three.mid(0, 1), 2);
    req.cardSide = QStringLiteral("BOTH");
    req.baseName = QStringLiteral("Party");
    r.run.run(req);
    ASSERT_EQ(r.calls.size(), 2u);
    EXPECT_EQ(r.calls[1].pictureSizes, QList<QSize>({ QSize(101, 60), QSize(101, 50) }));
    ASSERT_EQ(r.attachmentPaths.size(), 4);
    EXPECT_TRUE(r.attachmentPaths[0].endsWith(QLatin1String("/Party_Back.png")));
    EXPECT_TRUE(r.attachmentPaths[1].endsWith(QLatin1String("/Party.png")));
    EXPECT_NE(QFileInfo(r.attachmentPaths[0]).absolutePath(), QDir::tempPath());
    for (const QString& path : r.attachmentPaths)
        EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(r.attachmentPaths[0]).absolutePath()));

    RecordingRun back;
    req.cardSide = QStringLiteral("B");
    back.run.run(req);
    EXPECT_EQ(back.calls[0].pictureSizes, QList<QSize>({ QSize(100, 60) }));
}

TEST(SendMailRun, ARefusedRecipientLeavesTheOthersToGoAServerFailureEndsTheRunAndASecondRunMailsOnlyTheFailed)
{
    using Kind = Send_Mail_Request::Kind;
    using S = Mail_Outcome::Status;
    // The second call fails.
    const struct {
        Kind kind;
        int records;
        Mail_Outcome failure;
        int calls;
        QList<QPair<int, QString>> failed; // in order; the first has the failure's reason, the rest none
        const char* opening; // of the final message
    } cases[] = {
        { Kind::Plain, 0, false, 2, { { 1, three[1] }, { 2, three[2] } }, "Could not send email message.\n" },
        { Kind::CardWithoutData, 0, { S::LoginRefused, "535 no" }, 2, { { 1, three[1] }, { 2, three[2] } },
            "The server refused the user name or password.\n\n2 of 3 mails could not be sent: b@example.com (535 "
            "no), c@example.com (not tried)." },
        { Kind::DataOnePerRecipient, 3, { S::RecipientRefused, "550 no such mailbox" }, 3, { { 1, three[1] } },
            "1 of 3 mails could not be sent: b@example.com (550 no such mailbox)." },
        { Kind::DataAllToEvery, 2, { S::RecipientRefused, "550 no" }, 6, { { 0, three[1] } }, "1 of 6 mails" },
        { Kind::Plain, 0, { S::MailRefused, "554 5.6.0 header refused" }, 3, { { 1, three[1] } },
            "1 of 3 mails could not be sent: b@example.com (554 5.6.0 header refused)." },
        { Kind::DataAllToEvery, 2, { S::NoEncryption }, 2,
            { { 0, three[1] }, { 0, three[2] }, { 1, three[0] }, { 1, three[1] }, { 1, three[2] } },
            "The server offers no encryption (STARTTLS)" },
    };
    for (const auto& c : cases) {
        RecordingRun r;
        r.answer = [&c](int call) { return call == 1 ? c.failure : Mail_Outcome(true); };
        Send_Mail_Request req = request(c.kind, three, c.records);
        const Send_Mail_Result result = r.run.run(req);
        EXPECT_EQ(int(r.calls.size()), c.calls) << int(c.kind);
        EXPECT_EQ(result.endedBy.has_value(), !c.failure.onlyThisRecipient());
        ASSERT_EQ(result.failures.size(), c.failed.size()) << int(c.kind);
        for (qsizetype f = 0; f < c.failed.size(); ++f) {
            EXPECT_EQ(result.failures[f].key(), c.failed[f]);
            EXPECT_EQ(result.failures[f].reason.isEmpty(), f > 0);
        }
        const QString message = Send_Mail_Run::finalMessage(result, QStringLiteral("/data/Mail.log"));
        EXPECT_TRUE(message.startsWith(QString::fromLatin1(c.opening))) << message.toStdString();
        EXPECT_TRUE(message.endsWith(QStringLiteral("\n\nThe whole list is in /data/Mail.log")));
        const QList<QByteArray> log = Send_Mail_Run::failureLog(req, result).split('\n');
        ASSERT_EQ(log.size(), c.failed.size() + 2); // heading, lines, and the empty piece after the last
        EXPECT_TRUE(log[1].startsWith(
            QStringLiteral("%1\t%2\t").arg(c.failed[0].first + 1).arg(Trim_Str(c.failed[0].second)).toUtf8()));

        // The second run: only the failed mails, each with its own record.
        RecordingRun again;
        req.only = result.failedKeys();
        const Send_Mail_Result second = again.run.run(req);
        ASSERT_EQ(int(again.calls.size()), int(c.failed.size()));
        for (qsizetype f = 0; f < c.failed.size(); ++f) {
            EXPECT_EQ(again.calls[f].to, c.failed[f].second);
            if (c.kind == Kind::DataAllToEvery || c.kind == Kind::DataOnePerRecipient) {
                EXPECT_EQ(again.calls[f].pictureSizes.value(0).width(), 100 + c.failed[f].first);
            }
        }
        EXPECT_EQ(Send_Mail_Run::finalMessage(second), QStringLiteral("E-mail has been sent successfully."));
    }
}

TEST(SendMailRun, RecordsWithoutAPictureAndRecipientsWithoutARecordAreListedAndTheRunGoesOn)
{
    RecordingRun r;
    Send_Mail_Request req = request(Send_Mail_Request::Kind::DataOnePerRecipient, three, 3);
    const auto draw = req.render;
    req.render = [draw](int record, const QString& side) { return record == 1 ? QImage() : draw(record, side); };
    const Send_Mail_Result result = r.run.run(req);
    EXPECT_EQ(r.recipientsMailed(), QStringList({ three[0], three[2] }));
    EXPECT_TRUE(result.lastSendSucceeded);
    EXPECT_EQ(Send_Mail_Run::finalMessage(result),
        QStringLiteral("1 of 3 mails could not be sent: b@example.com (the card of record 2 could not be made)."));

    RecordingRun more;
    const QStringList four = three + QStringList { QStringLiteral("d@example.com") };
    EXPECT_EQ(Send_Mail_Run::finalMessage(more.run.run(request(Send_Mail_Request::Kind::DataOnePerRecipient, four, 2))),
        QStringLiteral(
            "2 of 4 mails could not be sent: c@example.com (no record for this recipient), d@example.com (no "
            "record for this recipient)."));
}

TEST(SendMailRun, StopEndsTheRunWithinOneRecord)
{
    using Kind = Send_Mail_Request::Kind;
    // Stop is pressed while the second mail is being sent; an interrupted mail was ended by it, unsent.
    const struct {
        Kind kind;
        int records;
        QStringList recipients;
        int calls, mails;
        bool interrupted = false;
    } cases[] = {
        { Kind::Plain, 0, three, 2, 3 },
        { Kind::DataOnePerRecipient, 3, three, 2, 3 },
        { Kind::DataAllToEvery, 3, three, 2, 9 }, // checked before each recipient of a pass
        { Kind::Plain, 0, three, 2, 3, true },
        { Kind::DataAllToEvery, 3, three, 2, 9, true },
    };
    for (const auto& c : cases) {
        RecordingRun r;
        r.answer = [&r, &c](int call) {
            if (call == 1)
                r.stop = true;
            return call == 1 && c.interrupted ? Mail_Outcome(Mail_Outcome::Status::Cancelled) : Mail_Outcome(true);
        };
        Send_Mail_Request asked = request(c.kind, c.recipients, c.records);
        const Send_Mail_Result result = r.run.run(asked);
        const int sent = c.calls - (c.interrupted ? 1 : 0);
        EXPECT_EQ(int(r.calls.size()), c.calls) << int(c.kind);
        // The stop is told, with the unsent mails listed for a second run limited to them.
        EXPECT_TRUE(result.stopped);
        EXPECT_FALSE(result.endedBy.has_value());
        EXPECT_EQ(int(result.failures.size()), c.mails - sent);
        EXPECT_EQ(result.failures.value(0).reason, QStringLiteral("stopped"));
        EXPECT_TRUE(Send_Mail_Run::finalMessage(result).startsWith(
            QStringLiteral("The e-mail was stopped: %1 of %2 mails have been sent.").arg(sent).arg(c.mails)))
            << Send_Mail_Run::finalMessage(result).toStdString();
        RecordingRun second;
        asked.only = result.failedKeys();
        EXPECT_FALSE(second.run.run(asked).stopped);
        EXPECT_EQ(int(second.calls.size()), c.mails - sent) << int(c.kind);
        EXPECT_EQ(second.recipientsMailed().value(0), three[sent]) << int(c.kind); // the first one not sent
    }

    RecordingRun before;
    before.stop = true;
    const Send_Mail_Result result = before.run.run(request(Kind::Plain, three));
    EXPECT_TRUE(before.calls.empty());
    EXPECT_TRUE(Send_Mail_Run::finalMessage(result).startsWith(
        QStringLiteral("The e-mail was stopped: 0 of 3 mails have been sent.")));

    // A barcode warning, looked at on the run's thread, is asked about before any mail goes: No sends none.
    for (const int answer : { 0, 1 }) {
        testsupport::ScriptedResponder ui;
        ui.messageAnswers.push_back(answer);
        RecordingRun asking;
        Send_Mail_Request asked = request(Kind::Plain, three);
        asked.barcodeQuestion = [&asking](const std::function<bool()>&) {
            return asking.calls.empty() ? QStringLiteral("Too small.\n\nSend the mails anyway?") : QString();
        };
        const Send_Mail_Result stopped = asking.run.run(asked);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, platform::MessageRequest::Kind::YesNo);
        EXPECT_EQ(int(asking.calls.size()), answer * 3);
        EXPECT_EQ(Send_Mail_Run::finalMessage(stopped) == Send_Mail_Run::finalMessage(result), answer == 0) << answer;
    }
}

TEST(SendMailRun, EachMailIsInTheRecordOnceTheServerTookItAndOneThatCannotBeWrittenThereEndsTheRun)
{
    // What stands at the record's path (a folder, a file others may read, "@": a link to one), and why the run ends.
    const std::pair<QByteArray, const char*> cases[] = { { "", nullptr }, { "Tessaline mails sent\t1\n", nullptr },
        { "/", "Is a directory" }, { "my notes\n", "it is not a file this program keeps" },
        { "@my notes\n", "Too many levels of symbolic links" } };
    for (const auto& [found, says] : cases) {
        FreshDataFolder data(QStringLiteral("mail-record"));
        const QString path = Send_Mail_Record::path();
        QFile file(found.startsWith('@') ? data.settingsFile() : path);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()) && (found != "/" || QDir().mkdir(path)));
        ASSERT_TRUE(found.size() < 2
            || (file.open(QIODevice::WriteOnly) && file.write(found.mid(found[0] == '@'))
                && file.setPermissions(file.permissions() | QFileDevice::ReadOther)));
        file.close();
        ASSERT_TRUE(!found.startsWith('@') || QFile::link(data.settingsFile(), path));
        RecordingRun r;
        Send_Mail_Request req = request(Send_Mail_Request::Kind::DataOnePerRecipient, {}, 50);
        req.recorded = true;
        for (int i = 0; i < 50; ++i) {
            req.recipients << QStringLiteral("Guest%1@example.com").arg(i);
            req.cards << QStringLiteral("card %1").arg(i);
        }
        // The program killed while the 45th mail is under way: the record as it then stands.
        Send_Mail_Record atKill;
        r.answer = [&atKill](int call) {
            EXPECT_TRUE(call != 44 || atKill.load());
            return Mail_Outcome(call == 3 ? Mail_Outcome::Status::MaybeDelivered : Mail_Outcome::Status::Sent);
        };
        const Send_Mail_Result result = r.run.run(req);
        EXPECT_EQ(int(r.calls.size()), says ? 1 : 50) << found.constData();
        if (says) { // the other mails are left untried, for a second run limited to them; the file as it was
            EXPECT_EQ(result.failures.size(), 49);
            EXPECT_TRUE(Send_Mail_Run::finalMessage(result).contains(QString::fromLatin1(says))) << says;
            EXPECT_TRUE(found == "/" || (file.open(QIODevice::ReadOnly) && file.readAll() == "my notes\n")) << says;
            continue;
        }
        for (int i = 0; i < 45; ++i) {
            const auto had = atKill.find({ {}, req.cards[i], mailGuest(req.recipients[i]) });
            EXPECT_EQ(had.has_value(), i < 44) << i;
            EXPECT_EQ(had.value_or(Send_Mail_Record::Entry {}).taken, i != 3) << i;
        }
        EXPECT_TRUE(atKill.load() && atKill.size() == 50);
        EXPECT_EQ(testsupport::fileMode(path), 0600u); // names the guests: readable by the user alone
    }
}

TEST(SendMailRun, PausesComeAfterEveryNMailsButNotAfterTheLast)
{
    RecordingRun r;
    Send_Mail_Request req = request(Send_Mail_Request::Kind::Plain, three);
    req.mailsPerPause = 2;
    req.pauseMs = 3000; // waits 2 seconds: one second less than entered
    std::vector<qint32> shown;
    std::atomic<bool> watching { true };
    std::thread watcher([&] {
        while (watching) {
            const qint32 now = Pause_Delay_Time.load();
            if (now >= 0 && (shown.empty() || shown.back() != now))
                shown.push_back(now);
            QThread::msleep(20);
        }
    });
    r.run.run(req);
    watching = false;
    watcher.join();
    ASSERT_EQ(r.calls.size(), 3u);
    const qint64 gap = r.calls[2].atMs - r.calls[1].atMs;
    EXPECT_GE(gap, 1900);
    EXPECT_LT(gap, 2800);
    EXPECT_LT(r.calls[1].atMs - r.calls[0].atMs, 500);
    EXPECT_EQ(shown, std::vector<qint32>({ 3000, 2000 }));
    EXPECT_EQ(Pause_Delay_Time.load(), -1);

    // No pause with N = 0, and a pause of one second waits not at all.
    for (const auto& [n, ms] : { std::pair { 0, 5000 }, std::pair { 1, 1000 } }) {
        RecordingRun quick;
        req.mailsPerPause = n;
        req.pauseMs = ms;
        quick.run.run(req);
        ASSERT_EQ(quick.calls.size(), 3u);
        EXPECT_LT(quick.calls[2].atMs - quick.calls[0].atMs, 500) << n << " " << ms;
    }
}

TEST(SendMailRun, StopDuringAPauseEndsItAtOnce)
{
    RecordingRun r;
    Send_Mail_Request req = request(Send_Mail_Request::Kind::Plain, three);
    req.mailsPerPause = 1;
    req.pauseMs = 60000;
    QElapsedTimer clock;
    std::atomic<bool> ended { false };
    std::thread stopper([&] {
        while (Pause_Delay_Time.load() < 0 && !ended.load()) // until the pause has begun
            QThread::yieldCurrentThread();
        clock.start();
        r.stop = true;
    });
    r.run.run(req);
    ended = true;
    stopper.join();
    EXPECT_LT(clock.elapsed(), 10000); // not the minute asked for
    EXPECT_EQ(r.calls.size(), 1u);
}

TEST(SendMailRun, PauseText)
{
    const std::pair<qint32, const char*> cases[] = {
        { 3725000, "Pausing the process for 1 Hour 2 Minutes 5 Seconds." },
        { 5000, "Pausing the process for 5 Seconds." },
        { 1000, "Pausing the process for 1 Second." },
        { 0, "Pausing the process for 0 Second." },
        { 61000, "Pausing the process for 1 Minute 1 Second." },
        { 7200000, "Pausing the process for 2 Hours 0 Minute 0 Second." },
        { 120000, "Pausing the process for 2 Minutes 0 Second." },
    };
    for (const auto& [ms, text] : cases)
        EXPECT_EQ(Calculate_Pause_Time(ms), QString::fromLatin1(text)) << ms;
}
