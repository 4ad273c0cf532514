#include "output/Send_Mail.h"

#include "MailTestSupport.h"
#include "output/Email_Setting.h"
#include "output/Mail_Globals.h"
#include "output/Preferences.h"
#include "output/Send_Mail_Record.h"
#include "output/Send_Modeless.h"
#include "platform/UiSeam.h"

#include "ui_Email_Setting.h"
#include "ui_Send_Mail.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using mailtest::click;
using mailtest::type;

namespace {

// Waits, with the window alive, until the run under way has ended.
bool waitForRun(Send_Mail& window, int ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (window.running() && clock.elapsed() < ms)
        QTest::qWait(20);
    return !window.running();
}

// Opens the send window as the E-mail button does and lets `act` work in it.
void openSendWindow(testsupport::ScriptedResponder& ui, const std::function<void(Send_Mail&)>& act)
{
    ui.modalRuns.push_back([&act](QDialog& dialog) {
        auto& window = static_cast<Send_Mail&>(dialog);
        window.show();
        act(window);
        if (window.isVisible())
            QTest::mouseClick(window.form().closeButton, Qt::LeftButton);
        return window.result();
    });
    Send_Mail::defaultInstance().Open_Wnd();
}

struct Recorder {
    std::vector<Mail_Message> mails;
    std::atomic<int> count { 0 };
    Send_Mail_Run::Sender sender()
    {
        return [this](const Mail_Message& mail, const std::atomic<bool>*) {
            mails.push_back(mail);
            ++count;
            return true;
        };
    }
};

} // namespace

TEST(SendMail, OpeningKeepsToSubjectAndMessageAndResetsEveryOtherControl)
{
    FreshDataFolder folder(QStringLiteral("send-open"));
    testsupport::ScriptedResponder ui;
    // The sender as the settings file holds it now (another copy of the program may have written it).
    sender_email.clear();
    const auto settings = Preferences::sharedInstance();
    settings->setsend_email_SenderEmail(QStringLiteral("me@example.com"));
    ASSERT_TRUE(settings->flush());
    openSendWindow(ui, [](Send_Mail& window) {
        Ui::Send_Mail& f = window.form();
        type(f.to_txt, QStringLiteral("someone@example.com"));
        type(f.subject_txt, QStringLiteral("Party"));
        f.message_txt->setPlainText(QStringLiteral("Come along."));
        click(f.rd_without_barcode);
        click(f.delayed_delv_chk);
        f.mail_count_stepper->setValue(7);
    });
    openSendWindow(ui, [&ui](Send_Mail& window) {
        Ui::Send_Mail& f = window.form();
        EXPECT_EQ(f.from_txt->text(), QStringLiteral("me@example.com"));
        // Settings... closed without saving leaves the sender typed here; saved settings bring theirs.
        type(f.from_txt, QStringLiteral("typed@example.com"));
        for (const bool save : { false, true }) {
            ui.modalRuns.push_back([save](QDialog& dialog) {
                Ui::Email_Setting& s = static_cast<Email_Setting&>(dialog).form();
                type(s._send_mail_sender_mail, QStringLiteral("saved@example.com"));
                type(s._send_mail_smtp, QStringLiteral("127.0.0.1"));
                type(s._send_mail_port, QStringLiteral("25"));
                click(save ? s.saveButton : s.closeButton);
                return dialog.result();
            });
            click(f.settingsButton);
            EXPECT_EQ(
                f.from_txt->text(), save ? QStringLiteral("saved@example.com") : QStringLiteral("typed@example.com"));
        }
        EXPECT_EQ(f.to_txt->text(), QStringLiteral("someone@example.com"));
        EXPECT_EQ(f.subject_txt->text(), QStringLiteral("Party"));
        EXPECT_EQ(f.message_txt->toPlainText(), QStringLiteral("Come along."));
        EXPECT_TRUE(f.rd_mail_curr_barcode->isChecked());
        EXPECT_FALSE(f.rd_without_barcode->isChecked());
        EXPECT_TRUE(f.side_front_rd->isChecked());
        EXPECT_EQ(window.card_side_str, QStringLiteral("F"));
        EXPECT_EQ(f.file_name_txt->text(), QStringLiteral("VarnelCard"));
        EXPECT_FALSE(f.send_with_batch_chk->isEnabled()); // no editor, no records
        EXPECT_FALSE(f.rd_all_to_every->isEnabled());
        EXPECT_TRUE(f.rd_one_per_recp->isChecked());
        EXPECT_FALSE(f.browse_att->isEnabled());
        EXPECT_FALSE(f.delayed_delv_chk->isChecked());
        EXPECT_FALSE(f.mail_count_stepper->isEnabled());
        EXPECT_EQ(f.mail_count_stepper->value(), 1);
        EXPECT_EQ(f.hour_stepper->value() + f.min_stepper->value() + f.sec_stepper->value(), 0);
    });
}

TEST(SendMail, ModeSideAndPauseControlsFollowTheClicks)
{
    testsupport::ScriptedResponder ui;
    openSendWindow(ui, [](Send_Mail& window) {
        Ui::Send_Mail& f = window.form();
        click(f.rd_without_barcode);
        EXPECT_FALSE(f.rd_mail_curr_barcode->isChecked());
        EXPECT_FALSE(f.file_name_txt->isEnabled());
        EXPECT_TRUE(f.browse_att->isEnabled());
        EXPECT_TRUE(f.clear_att->isEnabled());
        click(f.rd_mail_curr_barcode);
        EXPECT_FALSE(f.rd_without_barcode->isChecked());
        EXPECT_TRUE(f.file_name_txt->isEnabled());
        EXPECT_FALSE(f.browse_att->isEnabled());

        const std::pair<QRadioButton*, const char*> sides[]
            = { { f.side_both_rd, "BOTH" }, { f.side_back_rd, "B" }, { f.side_front_rd, "F" } };
        for (const auto& [button, code] : sides) {
            click(button);
            EXPECT_EQ(window.card_side_str.toStdString(), code);
        }

        click(f.delayed_delv_chk);
        EXPECT_TRUE(f.hour_stepper->isEnabled());
        EXPECT_TRUE(f.mail_count_stepper->isEnabled());
        click(f.delayed_delv_chk);
        EXPECT_FALSE(f.sec_stepper->isEnabled());
    });
}

TEST(SendMail, BrowseAndClearFillAndEmptyTheAttachment)
{
    testsupport::ScriptedResponder ui;
    ui.fileAnswers = { QStringLiteral("/tmp/menu.pdf"), QString() };
    openSendWindow(ui, [](Send_Mail& window) {
        Ui::Send_Mail& f = window.form();
        click(f.rd_without_barcode);
        click(f.browse_att);
        EXPECT_EQ(f.attachment->text(), QStringLiteral("/tmp/menu.pdf"));
        click(f.browse_att); // cancelled: kept
        EXPECT_EQ(f.attachment->text(), QStringLiteral("/tmp/menu.pdf"));
        click(f.clear_att);
        EXPECT_TRUE(f.attachment->text().isEmpty());
    });
}

TEST(SendMail, EachFailedCheckShowsItsMessageAndSendsNothing)
{
    // In lines, as a person writes: one line of a million letters takes the text field a minute to lay out.
    const QString tooLong
        = (QString(99, QLatin1Char('x')) + QLatin1Char('\n')).repeated(Mail_Script::maxBodyBytes / 100 + 1);
    const std::string longName(247, 'x'); // with "_Back.png", one byte over a file name's 255
    struct Case {
        const char* from;
        const char* to;
        const char* fileName;
        const char* message;
        QString body = QString();
        const char* pastedInto = nullptr; // a field a line break is pasted into the middle of (typing drops it)
        QChar lineBreak = QLatin1Char('\n');
    };
    std::vector<Case> cases = {
        { "  ", "a@example.com", "Card", "Please enter the sender E-mail address in From, or save one in Settings." },
        { "me@example.com", " ", "Card", "Please specify the Recipient E-mail address." },
        { "Party time", "a@example.com", "Card", "Sender E-mail address is invalid or incomplete." },
        { "me@example.com", "a@example.com, nobody", "Card",
            "Recipient E-mail address is invalid or incomplete.\n\n\"nobody\" is not an e-mail address." },
        { "me@example.com", ",", "Card", "Recipient E-mail address is invalid or incomplete." },
        { "me@example.com", "a@example.com", "Card", "The message is too long: at most 1024 KB", tooLong },
        { "me@example.com", "a@example.com", " /*?", "Please enter valid file name." },
        { "me@example.com", "a@example.com", "..", "Please enter valid file name." },
        { "me@example.com", "a@example.com", longName.c_str(), "The picture name is too long for a file name." },
        { "Me <me@example.com>", "a@example.com", "Card", "Sender E-mail address is invalid or incomplete." },
    };
    // Line and paragraph separators break a line in a reader as CR and LF do.
    for (const QChar lineBreak : { QChar(u'\n'), QChar(0x2028), QChar(0x2029) })
        for (const char* field : { "from_txt", "subject_txt", "file_name_txt" })
            cases.push_back({ "me@example.com", "a@example.com", "Card",
                "Please remove the line breaks and other control characters from this field.", {}, field, lineBreak });
    for (const auto& c : cases) {
        testsupport::ScriptedResponder ui;
        Recorder recorder;
        Send_Mail::defaultInstance().runSender = recorder.sender();
        QString focused;
        openSendWindow(ui, [&](Send_Mail& window) {
            Ui::Send_Mail& f = window.form();
            type(f.from_txt, QString::fromLatin1(c.from));
            type(f.to_txt, QString::fromLatin1(c.to));
            type(f.subject_txt, QStringLiteral("Party"));
            type(f.file_name_txt, QString::fromLatin1(c.fileName));
            f.message_txt->setPlainText(c.body);
            if (c.pastedInto) {
                auto* field = window.findChild<QLineEdit*>(QString::fromLatin1(c.pastedInto));
                field->setText(field->text().insert(2, c.lineBreak));
                f.message_txt->setFocus();
            }
            click(f.sendButton);
            EXPECT_FALSE(window.running());
            focused = window.focusWidget() ? window.focusWidget()->objectName() : QString();
        });
        ASSERT_EQ(ui.messages.size(), 1u) << c.message;
        EXPECT_TRUE(ui.messages[0].text.trimmed().startsWith(QString::fromLatin1(c.message))) << c.message;
        EXPECT_EQ(recorder.count.load(), 0);
        if (c.pastedInto) {
            EXPECT_EQ(focused.toStdString(), c.pastedInto);
        }
    }
    Send_Mail::defaultInstance().runSender = nullptr;
}

TEST(SendMail, RecipientListKeepsPiecesAsSplitAndIgnoresEmptyOnes)
{
    const struct {
        const char* to;
        std::optional<QStringList> list;
    } cases[] = {
        { "A@Example.com, b@example.com", QStringList { "a@example.com", " b@example.com" } },
        { "a@example.com,", QStringList { "a@example.com" } },
        { "a@example.com, b@example", std::nullopt },
        { "", std::nullopt },
        { "Ann Lee <Ann@Example.com>, B@x.org", QStringList { "Ann Lee <ann@example.com>", " b@x.org" } },
        { "\"Lee, Ann\" <ann@x.org>,b@x.org", QStringList { "\"Lee, Ann\" <ann@x.org>", "b@x.org" } },
        { "a@x.org, Anne-Marie \"Nan\" O'Brien <Guest077@x.org>",
            QStringList { "a@x.org", " Anne-Marie \"Nan\" O'Brien <guest077@x.org>" } },
        { "\"Lee \\\", Ann\" <ann@x.org>,b@x.org", QStringList { "\"Lee \\\", Ann\" <ann@x.org>", "b@x.org" } },
        { "a@example.com, g1@b.com> notify=success", std::nullopt },
        { "g1@b.com> notify=success", std::nullopt },
        { "Ann <a@example.com> b@example.com", std::nullopt },
        // A column pasted from a spreadsheet, and addresses parted by semicolons, as many mail programs part them.
        { "a@x.org\nB@x.org\r\n\nc@x.org\n", QStringList { "a@x.org", "b@x.org", "c@x.org" } },
        { "a@x.org; B@x.org;", QStringList { "a@x.org", " b@x.org" } },
        { "\"Lee; Ann\" <a@x.org>\rb@x.org", QStringList { "\"Lee; Ann\" <a@x.org>", "b@x.org" } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Send_Mail::recipientList(QString::fromLatin1(c.to)), c.list) << c.to;
}

TEST(SendMail, APastedColumnAndSemicolonsBecomeTheListTheToFieldShowsAndAnUnreadableRecordOfMailsIsAskedOfAndKept)
{
    FreshDataFolder folder(QStringLiteral("send-pasted"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(Send_Mail_Record::path()).path()));
    QFile damaged(Send_Mail_Record::path());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write("not a record\n") > 0);
    damaged.close();
    testsupport::ScriptedResponder ui;
    ui.messageAnswers = { 0, 1 }; // Cancel, then Send anyway
    Recorder recorder;
    Send_Mail::defaultInstance().runSender = recorder.sender();
    openSendWindow(ui, [&](Send_Mail& window) {
        Ui::Send_Mail& f = window.form();
        type(f.from_txt, QStringLiteral("me@example.com"));
        type(f.to_txt, QStringLiteral("first@example.com, "));
        f.to_txt->insert(QStringLiteral("Ann@example.com\nbo@example.com,\r\n\nLee <cy@example.com>\n")); // as pasted
        EXPECT_EQ(f.to_txt->text(),
            QStringLiteral("first@example.com, Ann@example.com, bo@example.com, Lee <cy@example.com>"));
        click(f.rd_without_barcode);
        click(f.sendButton);
        EXPECT_FALSE(window.running());
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(recorder.count.load(), 0);
        type(f.to_txt, QStringLiteral("x@example.com;y@example.com"));
        click(f.sendButton);
        ASSERT_TRUE(waitForRun(window));
        EXPECT_EQ(f.to_txt->text(), QStringLiteral("x@example.com, y@example.com"));
    });
    Send_Mail::defaultInstance().runSender = nullptr;
    ASSERT_EQ(recorder.mails.size(), 2u);
    EXPECT_EQ(recorder.mails[1].toAddress, QStringLiteral("y@example.com"));
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("The list of the guests already mailed cannot be read")));
    EXPECT_EQ(ui.messages[0].buttons.value(0), QStringLiteral("Cancel"));
    ASSERT_TRUE(damaged.open(QIODevice::ReadOnly));
    EXPECT_EQ(damaged.readAll(), "not a record\n"); // not the program's to replace, even after mails went
}

TEST(SendMail, ADamagedLineOfTheRecordOfMailsIsNamedByItsNumberAndAByteOrderMarkBeforeItsHeadingIsReadAsTheHeading)
{
    // The record after both guests were mailed, bytes put before it, its end cut (a digest; a power cut), bytes put
    // after; what the next Send asks (Send anyway, then Cancel): a damaged line named, the other line's guest known.
    const std::tuple<const char*, int, const char*, QStringList> cases[] = {
        { "\xEF\xBB\xBF", 0, "", { "2 of the 2 guests" } },
        { "", 33, "spoilt\n", { "sent.txt: line 3 is damaged", "1 of the 2 guests" } },
        { "", 9, "", { "sent.txt: line 3 is damaged", "1 of the 2 guests" } },
        { "", 0, "a note\n\t\n", { "sent.txt: lines 4 and 5 are damaged", "2 of the 2 guests" } },
    };
    for (const auto& [before, cut, after, says] : cases) {
        FreshDataFolder folder(QStringLiteral("send-damaged"));
        Recorder recorder;
        Send_Mail::defaultInstance().runSender = recorder.sender();
        testsupport::ScriptedResponder ui;
        for (int send = 0; send < 2; ++send) {
            openSendWindow(ui, [](Send_Mail& window) {
                type(window.form().from_txt, QStringLiteral("me@example.com"));
                type(window.form().to_txt, QStringLiteral("x@example.com, y@example.com"));
                click(window.form().rd_without_barcode);
                click(window.form().sendButton);
                ASSERT_TRUE(waitForRun(window));
            });
            QFile record(Send_Mail_Record::path());
            const QByteArray edited
                = before + (record.open(QIODevice::ReadWrite) ? record.readAll().chopped(cut) : "") + after;
            ASSERT_TRUE(send || (record.resize(0) && record.write(edited) == edited.size()));
            ui.messageAnswers = { int(says.size()) - 1, 0 };
        }
        ASSERT_EQ(ui.messages.size(), size_t(says.size()) + 1); // after the first run's
        for (qsizetype m = 0; m < says.size(); ++m)
            EXPECT_TRUE(ui.messages[m + 1].text.contains(says[m])) << ui.messages[m + 1].text.toStdString();
        EXPECT_EQ(recorder.count.load(), 2); // nobody mailed again
    }
    Send_Mail::defaultInstance().runSender = nullptr;
}

TEST(SendMail, APlainRunMailsEachRecipientWithTheFileShowsProgressAndThenTheResult)
{
    FreshDataFolder folder(QStringLiteral("send-plain"));
    const QString file = folder.settingsFile() + QStringLiteral(".menu.txt");
    {
        QFile menu(file);
        ASSERT_TRUE(menu.open(QIODevice::WriteOnly));
        menu.write("soup\n");
    }
    // The account as another copy of the program saved it: the window reads it when it opens.
    ASSERT_TRUE(mailtest::storeMailAccount(QString(), QStringLiteral("pw"), QStringLiteral("mail.example.com"),
        QStringLiteral("2525"), QStringLiteral("Y")));
    testsupport::ScriptedResponder ui;
    std::atomic<bool> release { false };
    std::vector<Mail_Message> mails;
    Send_Mail::defaultInstance().runSender = [&](const Mail_Message& mail, const std::atomic<bool>*) {
        while (!release)
            QThread::msleep(5);
        mails.push_back(mail);
        return true;
    };
    openSendWindow(ui, [&](Send_Mail& window) {
        Ui::Send_Mail& f = window.form();
        type(f.from_txt, QStringLiteral(" Me@Example.com "));
        type(f.to_txt, QStringLiteral("a@example.com, B@example.com"));
        type(f.subject_txt, QStringLiteral("Menu"));
        f.message_txt->clear();
        f.message_txt->setFocus();
        QTest::keyClicks(f.message_txt, QStringLiteral("Here it is."));
        click(f.rd_without_barcode);
        f.attachment->setText(file);
        click(f.sendButton);
        ASSERT_TRUE(window.running());
        // While the run is under way: Send and Close are off, the progress window is up.
        EXPECT_FALSE(f.sendButton->isEnabled());
        EXPECT_FALSE(f.closeButton->isEnabled());
        EXPECT_TRUE(window.send_modls_wnd->isVisible());
        EXPECT_EQ(window.send_modls_wnd->_curr_msg_cnt->text(), QStringLiteral("0 / 2"));
        EXPECT_EQ(window.send_modls_wnd->_tot_msg_cnt->text(), QStringLiteral("2"));
        click(f.sendButton); // ignored
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return window.send_modls_wnd->_curr_msg_cnt->text() == QLatin1String("1 / 2"); }, 20000))
            << window.send_modls_wnd->_curr_msg_cnt->text().toStdString();
        release = true;
        ASSERT_TRUE(waitForRun(window));
        EXPECT_FALSE(window.send_modls_wnd->isVisible());
        EXPECT_TRUE(f.sendButton->isEnabled());
    });
    Send_Mail::defaultInstance().runSender = nullptr;
    ASSERT_EQ(mails.size(), 2u);
    EXPECT_EQ(mails[0].toAddress, QStringLiteral("a@example.com"));
    EXPECT_EQ(mails[1].toAddress, QStringLiteral(" b@example.com"));
    EXPECT_EQ(mails[0].sender, QStringLiteral("me@example.com"));
    EXPECT_EQ(mails[0].subject, QStringLiteral("Menu"));
    EXPECT_EQ(mails[0].body, QStringLiteral("Here it is."));
    EXPECT_EQ(mails[0].attachments, QStringList({ file }));
    EXPECT_EQ(mails[0].password, QStringLiteral("pw"));
    EXPECT_EQ(mails[0].smtpServer, QStringLiteral("mail.example.com"));
    EXPECT_EQ(mails[0].port, QStringLiteral("2525"));
    EXPECT_EQ(mails[0].enableSsl, QStringLiteral("Y"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("E-mail has been sent successfully."));
}

TEST(SendMail, StopAnsweredYesEndsTheRunAndNoLetsItGoOn)
{
    FreshDataFolder folder(QStringLiteral("send-stop")); // no guest of another test's mails
    testsupport::ScriptedResponder ui;
    ui.messageAnswers = { 0, 0, 0, 1 }; // No to Stop, Escape and the close box (each asks as Stop), Yes to Escape
    Recorder recorder;
    Send_Mail::defaultInstance().runSender = [&](const Mail_Message& mail, const std::atomic<bool>*) {
        QThread::msleep(150);
        return recorder.sender()(mail, nullptr);
    };
    openSendWindow(ui, [&](Send_Mail& window) {
        Ui::Send_Mail& f = window.form();
        type(f.from_txt, QStringLiteral("me@example.com"));
        QStringList many;
        for (int i = 0; i < 40; ++i)
            many << QStringLiteral("guest%1@example.com").arg(i);
        type(f.to_txt, many.join(QLatin1Char(',')));
        click(f.rd_without_barcode);
        click(f.sendButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.count.load() > 0; }, 20000)); // under way
        Send_Modeless& progress = *window.send_modls_wnd;
        for (int way = 0; way < 3; ++way) { // No
            way == 0       ? click(progress._stop_btn)
                : way == 1 ? QTest::keyClick(&progress, Qt::Key_Escape)
                           : void(progress.close());
            EXPECT_FALSE(Stop_SMS_Sending_Now.load());
            EXPECT_TRUE(window.running() && progress.isVisible());
        }
        QTest::keyClick(&progress, Qt::Key_Escape); // Yes
        const int atStop = recorder.count.load();
        ASSERT_TRUE(waitForRun(window));
        EXPECT_LE(recorder.count.load(), atStop + 1); // at most the mail under way
    });
    Send_Mail::defaultInstance().runSender = nullptr;
    ASSERT_EQ(ui.messages.size(), 5u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("Are you sure you want to continue?"));
    EXPECT_LT(recorder.count.load(), 40);
    EXPECT_TRUE(ui.messages[4].text.trimmed().startsWith(
        QStringLiteral("The e-mail was stopped: %1 of 40 mails have been sent.").arg(recorder.count.load())));
    EXPECT_TRUE(Send_Mail::defaultInstance().form().only_failed_chk->isEnabled());
    EXPECT_EQ(Send_Mail::defaultInstance().form().only_failed_chk->text(),
        QStringLiteral("Only the %1 mails that failed last time").arg(40 - recorder.count.load()));

    // The run ends while the question is up: the question goes with it, and its Yes has nothing to stop.
    std::atomic<bool> release { false };
    Send_Mail::defaultInstance().runSender = [&release](const Mail_Message&, const std::atomic<bool>*) {
        release.wait(false);
        return true;
    };
    int closed = 0;
    ui.messages.clear();
    ui.messageAnswers = { 1 };
    ui.whileAsked = [&] {
        if (const std::shared_ptr<platform::LiveText> question = ui.messages.back().live)
            QObject::connect(question.get(), &platform::LiveText::closed, [&closed] { ++closed; });
        release = true;
        release.notify_all();
        EXPECT_TRUE(waitForRun(Send_Mail::defaultInstance()));
    };
    openSendWindow(ui, [&](Send_Mail& window) {
        type(window.form().from_txt, QStringLiteral("me@example.com"));
        type(window.form().to_txt, QStringLiteral("late@example.com"));
        click(window.form().rd_without_barcode);
        click(window.form().sendButton);
        click(window.send_modls_wnd->_stop_btn);
    });
    Send_Mail::defaultInstance().runSender = nullptr;
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(Stop_SMS_Sending_Now.load());
    ASSERT_EQ(ui.messages.size(), 2u); // the question, then the run's result
    EXPECT_EQ(ui.messages[1].text.trimmed(), QStringLiteral("E-mail has been sent successfully."));
}

TEST(SendMail, QuittingDuringARunEndsItAndWaitsForTheWorker)
{
    testsupport::ScriptedResponder ui;
    std::atomic<int> calls { 0 };
    Send_Mail::defaultInstance().runSender = [&](const Mail_Message&, const std::atomic<bool>* abandon) {
        ++calls;
        while (!abandon->load())
            QThread::msleep(5); // a send that would never end by itself
        return false;
    };
    openSendWindow(ui, [&](Send_Mail& window) {
        type(window.form().from_txt, QStringLiteral("me@example.com"));
        type(window.form().to_txt, QStringLiteral("a@example.com, b@example.com"));
        click(window.form().rd_without_barcode);
        QTest::mouseClick(window.form().sendButton, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return calls.load() == 1; }, 20000)); // the first mail under way
        ASSERT_TRUE(window.running());
        QElapsedTimer clock;
        clock.start();
        window.abandonRun(); // what the program does as it is about to quit
        EXPECT_FALSE(window.running());
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_FALSE(window.send_modls_wnd->isVisible());
    });
    Send_Mail::defaultInstance().runSender = nullptr;
    EXPECT_EQ(calls.load(), 1);
    EXPECT_TRUE(ui.messages.empty()); // nobody is told anything while the program goes
}

TEST(SendMail, TheLateNoticeOfAnAbandonedRunLeavesTheNextRunAlone)
{
    FreshDataFolder folder(QStringLiteral("send-late"));
    testsupport::ScriptedResponder ui;
    std::atomic<int> runs { 0 }, sending { 0 };
    std::atomic<bool> answered { false };
    Send_Mail::defaultInstance().runSender = [&](const Mail_Message&, const std::atomic<bool>* abandon) {
        if (runs.load() == 1) {
            sending = 1;
            while (!abandon->load())
                QThread::msleep(5);
            return false;
        }
        // The second run needs the GUI thread (as a rendered card does), and gives up after twenty seconds.
        QMetaObject::invokeMethod(
            qApp, [&answered] { answered = true; }, Qt::QueuedConnection);
        for (int i = 0; i < 2000 && !answered.load(); ++i)
            QThread::msleep(10);
        return true;
    };
    openSendWindow(ui, [&](Send_Mail& window) {
        type(window.form().from_txt, QStringLiteral("me@example.com"));
        type(window.form().to_txt, QStringLiteral("a@example.com"));
        click(window.form().rd_without_barcode);
        runs = 1;
        window.Send_Button();
        ASSERT_TRUE(QTest::qWaitFor([&] { return sending.load() == 1; }, 20000));
        // Abandoned, the first run's worker still queues its notice; the next run starts before it arrives.
        window.abandonRun();
        runs = 2;
        window.Send_Button();
        ASSERT_TRUE(waitForRun(window));
    });
    Send_Mail::defaultInstance().runSender = nullptr;
    EXPECT_TRUE(answered.load());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("E-mail has been sent successfully."));
}
