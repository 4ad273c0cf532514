// Printing to real print queues of a private scheduler: what each queue receives, and what the person is
// told when it cannot print.
#include "PrivateScheduler.h"
#include "output/PrintWindowFixture.h"
#include "ui_Print_Wnd.h"

#include <QPrinter>
#include <QProgressDialog>
#include <QTimer>

#include <gtest/gtest.h>

using namespace printtest;

namespace {

class PrintQueuePeer : public ::testing::Test {
protected:
    void SetUp() override
    {
        scheduler = std::make_unique<PrivateScheduler>();
        if (!scheduler->running())
            GTEST_SKIP() << "no private print scheduler: " << scheduler->whyNot().toStdString();
        for (const PrivateScheduler::Queue& queue : { PrivateScheduler::Queue { QStringLiteral("Catcher") },
                 PrivateScheduler::Queue { QStringLiteral("Margins"), QStringLiteral("A4"), 18 },
                 PrivateScheduler::Queue { QStringLiteral("TwoSided"), QStringLiteral("A4"), 0, true },
                 PrivateScheduler::Queue { QStringLiteral("Letter"), QStringLiteral("Letter") } })
            ASSERT_TRUE(scheduler->addQueue(queue)) << queue.name.toStdString();
    }
    void TearDown() override { scheduler.reset(); }

    // Prints the host's records on the queue, `rows` x `cols` cards to a sheet, with `copies`.
    void print(testsupport::ScriptedResponder& ui, Fake_Print_Host& host, const QString& queue, int copies = 1,
        int rows = 5, int cols = 2)
    {
        withPrintWindow(ui, host, [&](Print_Wnd& w) {
            choosePrinter(w, queue);
            // What the preview's own print dialog leaves behind must not reach the job.
            w.printInfo().setCopyCount(5);
            w.printInfo().setDuplex(QPrinter::DuplexLongSide);
            typeInto(w.form().Row_Stepper, QString::number(rows));
            typeInto(w.form().Col_Stepper, QString::number(cols));
            typeInto(w.form().Copies_Stepper, QString::number(copies));
            QTest::mouseClick(w.form().printButton, Qt::LeftButton);
        });
    }

    std::unique_ptr<PrivateScheduler> scheduler;
};

int pdfPages(const QString& pdf)
{
    QString out;
    testsupport::runProgram(QStringLiteral("pdfinfo"), { pdf }, &out);
    const int at = out.indexOf(QLatin1String("Pages:"));
    return at < 0 ? -1 : out.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

QString pdfText(const QString& pdf, int page)
{
    QString out;
    testsupport::runProgram(QStringLiteral("pdftotext"),
        { QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf,
            QStringLiteral("-") },
        &out);
    return out;
}

} // namespace

TEST_F(PrintQueuePeer, EachQueueGetsOneOneSidedJobWithTheDesignsNameAndTheWindowsCopies)
{
    const struct {
        const char* queue;
        int copies;
        const char* media;
    } cases[] = { { "Catcher", 1, "A4" }, { "TwoSided", 1, "A4" }, { "Margins", 2, "A4" }, { "Letter", 3, "Letter" } };
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(12); // 12 records at 10 a sheet: 2 sheets
    QStringList expected;
    for (const auto& c : cases) {
        print(ui, host, QLatin1String(c.queue), c.copies);
        expected << QStringLiteral("%1|Garden party|%2|one-sided|%3")
                        .arg(QLatin1String(c.queue))
                        .arg(c.copies)
                        .arg(QLatin1String(c.media));
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().text.trimmed(), QStringLiteral("2 sheets were sent to %1.").arg(c.queue));
        EXPECT_EQ(scheduler->jobs(int(expected.size())), expected);
        const QString pdf = scheduler->output(QLatin1String(c.queue));
        EXPECT_EQ(pdfPages(pdf), 2) << c.queue;
        // The printed sheets hold the records in order: 0 to 9, then 10 and 11.
        EXPECT_TRUE(pdfText(pdf, 1).contains(QLatin1String("Name9"))) << c.queue;
        EXPECT_TRUE(pdfText(pdf, 2).contains(QLatin1String("Name11"))) << c.queue;
    }
    EXPECT_EQ(ui.messages.size(), std::size(cases));
}

TEST_F(PrintQueuePeer, ARefusedJobIsToldWithThePrinterAndTheReason)
{
    const struct {
        const char* program; // what the administrator does to the queue while the window is open; empty:
                             // the scheduler stops
        const char* reason;
    } cases[] = { { "cupsreject", "not accepting jobs" }, { "", "the print scheduler is not running" } };
    for (const auto& c : cases) {
        testsupport::ScriptedResponder ui;
        Fake_Print_Host host(3);
        withPrintWindow(ui, host, [&](Print_Wnd& w) {
            choosePrinter(w, QStringLiteral("Catcher"));
            if (*c.program)
                ASSERT_TRUE(scheduler->command(QLatin1String(c.program), { QStringLiteral("Catcher") }));
            else
                scheduler->stop();
            QTest::mouseClick(w.form().printButton, Qt::LeftButton);
        });
        ASSERT_EQ(ui.messages.size(), 1u) << c.program;
        const QString text = ui.messages[0].text.trimmed();
        EXPECT_TRUE(text.startsWith(QStringLiteral("The sheets could not be printed on Catcher: ")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(c.reason))) << text.toStdString();
    }
    EXPECT_TRUE(scheduler->jobs().isEmpty());
}

TEST_F(PrintQueuePeer, StopSendsNothingToThePrinter)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(2000);
    QTimer stopper;
    stopper.setInterval(20);
    QObject::connect(&stopper, &QTimer::timeout, [&stopper] {
        for (QProgressDialog* progress : Print_Wnd::defaultInstance().findChildren<QProgressDialog*>())
            if (progress->isVisible() && progress->value() > 0) {
                progress->cancel();
                stopper.stop();
            }
    });
    stopper.start();
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        choosePrinter(w, QStringLiteral("Catcher"));
        QTest::mouseClick(w.form().printButton, Qt::LeftButton); // one card a sheet: 2000 sheets
    });
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("The printing was stopped: nothing was sent to Catcher."));
    QThread::msleep(500);
    EXPECT_TRUE(scheduler->jobs().isEmpty());
}

TEST_F(PrintQueuePeer, TheListIsFilledAtEveryOpeningWithTheDefaultOrTheLastChoiceChosen)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    const auto entries = [](Print_Wnd& w) {
        QStringList texts;
        for (int i = 0; i < w.form().Printer_ComboBox->count(); ++i)
            texts << w.form().Printer_ComboBox->itemText(i);
        return texts;
    };
    QString chosen;
    QStringList listed;
    const auto look = [&](Print_Wnd& w) {
        listed = entries(w);
        chosen = w.form().Printer_ComboBox->currentData().toString();
    };
    withPrintWindow(ui, host, look, true);
    EXPECT_EQ(chosen, QStringLiteral("Catcher")); // the system's default
    // A printer added and one paused while the program runs.
    ASSERT_TRUE(scheduler->addQueue({ QStringLiteral("Added") }));
    ASSERT_TRUE(scheduler->command(QStringLiteral("cupsdisable"), { QStringLiteral("Margins") }));
    withPrintWindow(
        ui, host,
        [](Print_Wnd& w) {
            choosePrinter(w, QStringLiteral("Added"));
            EXPECT_EQ(w.printInfo().printerName(), QStringLiteral("Added"));
        },
        true);
    withPrintWindow(ui, host, look, true);
    EXPECT_EQ(chosen, QStringLiteral("Added"));
    EXPECT_TRUE(listed.contains(QStringLiteral("Margins (paused)"))) << listed.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(listed.contains(Print_Wnd::pdfPrinterName()));
    EXPECT_EQ(listed.size(), 6);
}
