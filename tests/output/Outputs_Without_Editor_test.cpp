// Every output reaches the open design through the host alone: a batch export, a print job and a mail run
// of three records, each against a fake host with no main window in the program.
#include "PrintWindowFixture.h"

#include "MailTestSupport.h"
#include "output/Batch_Export_Run.h"
#include "output/Mail_Globals.h"
#include "output/Open_Export_Log.h"
#include "output/Send_Mail.h"
#include "output/Send_Modeless.h"

#include "ui_Send_Mail.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>

#include <gtest/gtest.h>

using printtest::Fake_Print_Host;

namespace {

// The three records' cards differ (each carries its own names and code); none is blank.
void expectThreeDifferentCards(const std::vector<QImage>& cards, QSize size)
{
    ASSERT_EQ(cards.size(), 3u);
    for (const QImage& card : cards)
        EXPECT_EQ(card.size(), size);
    EXPECT_NE(cards[0], cards[1]);
    EXPECT_NE(cards[1], cards[2]);
}

TEST(OutputsWithoutEditor, ABatchExportWritesEachRecordsCardAndPutsTheFirstBack)
{
    testsupport::ScriptedResponder ui;
    ui.modalRuns.push_back([](QDialog&) { return 0; }); // the export-finished notice
    Fake_Print_Host host(3);
    host.settings.extension = QStringLiteral("PNG");
    host.settings.dpi = 144;
    const QString chosen = testsupport::makeTempFolder(QStringLiteral("fake-host-export"));
    Send_Modeless progress;

    Batch_Export_Run run(host, progress);
    const Batch_Export_Result result = run.run(chosen);

    EXPECT_TRUE(result.succeeded()) << result.failure.toStdString();
    EXPECT_EQ(result.written, 3);
    const QDir folder(QDir(chosen).filePath(Batch_Export_Folder_Name));
    EXPECT_EQ(folder.entryList(QDir::Files, QDir::Name), (QStringList { "Card_1.PNG", "Card_2.PNG", "Card_3.PNG" }));
    std::vector<QImage> cards;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name))
        cards.push_back(QImageReader(folder.filePath(name)).read());
    expectThreeDifferentCards(cards, QSize(486, 306)); // 243 x 153 points at 144 dpi
    EXPECT_EQ(host.firstRowShown, 1);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(run.noticeMessage(), QStringLiteral("Card has been exported successfully."));
    EXPECT_EQ(ui.dialogsRun, std::vector<QString> { Open_Export_Log::defaultInstance().objectName() });
}

TEST(OutputsWithoutEditor, APrintJobPrintsEachRecordOnItsOwnSheet)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(3);
    const QString path = testsupport::makeTempFolder(QStringLiteral("fake-host-print")) + QStringLiteral("/cards");
    ui.fileAnswers.push_back(path);
    printtest::withPrintWindow(ui, host, [](Print_Wnd& w) {
        printtest::typeInto(w.form().Row_Stepper, QStringLiteral("1"));
        printtest::typeInto(w.form().Col_Stepper, QStringLiteral("1"));
        QTest::mouseClick(w.form().printButton, Qt::LeftButton);
    });
    QFile pdf(path + QStringLiteral(".pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    EXPECT_EQ(data.count("/Type /Page\n") + data.count("/Type /Page\r") + data.count("/Type /Page "), 3);
    EXPECT_EQ(host.firstRowShown, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(OutputsWithoutEditor, AMailRunSendsEachRecordsCardAtTheMailResolution)
{
    FreshDataFolder data(QStringLiteral("fake-host-mail"));
    ASSERT_TRUE(mailtest::storeMailAccount(
        QStringLiteral("me@example.com"), QString(), QString(), QString(), QStringLiteral("N")));
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(3);
    host.settings.dpi = 72;
    std::vector<QImage> cards;
    Send_Mail& window = Send_Mail::defaultInstance();
    window.runSender = [&cards](const Mail_Message& mail, const std::atomic<bool>*) {
        // The card files live only as long as the run's folder: read them while the mail is "sent".
        for (const QString& file : mail.attachments)
            cards.push_back(QImageReader(file).read());
        return true;
    };
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& mail = static_cast<Send_Mail&>(dialog);
        mail.show();
        Ui::Send_Mail& f = mail.form();
        mailtest::type(f.to_txt, QStringLiteral("ann@example.com, bob@example.com, cy@example.com"));
        EXPECT_TRUE(f.send_with_batch_chk->isChecked()) << "the host's series is chosen";
        f.resolution_spin->setValue(144); // its Code 128 drawn large enough for barcode readers
        mailtest::click(f.sendButton);
        QElapsedTimer clock;
        clock.start();
        while (mail.running() && clock.elapsed() < 20000)
            QTest::qWait(20);
        QTest::mouseClick(f.closeButton, Qt::LeftButton);
        return mail.result();
    });
    window.Open_Wnd(&host);
    window.runSender = nullptr;

    expectThreeDifferentCards(cards, QSize(486, 306));
    EXPECT_EQ(host.firstRowShown, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("E-mail has been sent successfully."));
}

} // namespace
