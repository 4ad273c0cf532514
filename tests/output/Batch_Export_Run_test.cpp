// How a batch export ends, told to the person: a failed write is reported as a failure and never as a
// success, and a stopped run says how many cards were written.
#include "PrintWindowFixture.h"

#include "common/Globals.h"
#include "output/Batch_Export_Run.h"
#include "output/BatchTestSupport.h"
#include "output/Send_Modeless.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QScopeGuard>

#include <gtest/gtest.h>

using printtest::Fake_Print_Host;

namespace {

QStringList messageTexts(const testsupport::ScriptedResponder& ui)
{
    QStringList texts;
    for (const platform::MessageRequest& message : ui.messages)
        texts << message.text.trimmed();
    return texts;
}

TEST(BatchExportRun, AFailedWriteIsReportedAndNeverCalledASuccess)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(3);
    host.settings.dpi = 144; // its Code 128 drawn large enough for barcode readers
    const QString chosen = testsupport::makeTempFolder(QStringLiteral("run-failed-write"));
    const QDir folder(QDir(chosen).filePath(Batch_Export_Folder_Name));
    ASSERT_TRUE(QDir().mkpath(folder.filePath(QStringLiteral("Card_2.PNG")))); // a folder takes the card's place
    Send_Modeless progress;

    Batch_Export_Run run(host, progress);
    const Batch_Export_Result result = run.run(chosen);

    EXPECT_FALSE(result.succeeded());
    const QStringList texts = messageTexts(ui);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("Card could not be exported to"))) << texts[0].toStdString();
    EXPECT_EQ(texts[0].count(QStringLiteral("Card_2.PNG")), 1) << "the path once, with the system's reason";
    EXPECT_TRUE(texts[0].endsWith(QStringLiteral("Card_2.PNG\": Is a directory"))) << texts[0].toStdString();
    EXPECT_TRUE(run.noticeMessage().isEmpty());
    EXPECT_TRUE(ui.dialogsRun.empty()) << "no export-finished notice";
    EXPECT_EQ(host.firstRowShown, 1) << "the first record is back on the canvas after a failure too";
}

TEST(BatchExportRun, AStoppedRunSaysHowManyCardsWereWritten)
{
    testsupport::ScriptedResponder ui;
    ui.modalRuns.push_back([](QDialog&) { return 0; });
    const int records = 3000;
    Fake_Print_Host host(records);
    host.settings.dpi = 144;
    const QString chosen = testsupport::makeTempFolder(QStringLiteral("run-stopped"));
    Send_Modeless progress;
    // Stop, answered Yes, as the first card is being written: however fast the run, records are left.
    platform::setTemporaryFileObserver([](const QString&, int) { Stop_SMS_Sending_Now = true; });
    const auto unhook = qScopeGuard([] { platform::setTemporaryFileObserver({}); });

    Batch_Export_Run run(host, progress);
    const Batch_Export_Result result = run.run(chosen);

    const qsizetype written = QDir(QDir(chosen).filePath(Batch_Export_Folder_Name)).entryList(QDir::Files).size();
    ASSERT_TRUE(result.stopped);
    EXPECT_LT(written, records);
    EXPECT_EQ(result.written, written);
    EXPECT_EQ(run.noticeMessage(),
        QStringLiteral("The export was stopped: %1 of %2 cards have been exported.").arg(written).arg(records));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(BatchExportRun, ABarcodeDrawnTooSmallIsAskedAboutBeforeAnythingIsWritten)
{
    for (const bool goOn : { false, true }) {
        testsupport::ScriptedResponder ui;
        ui.messageAnswers.push_back(goOn ? 1 : 0);
        ui.modalRuns.push_back([](QDialog&) { return 0; });
        Fake_Print_Host host(4);
        host.addedToFront.push_back(
            batchtest::boundCode128(QStringLiteral("codes"), QRectF(185, 100, 12, 12), QStringLiteral("DataMatrix")));
        const QString chosen = testsupport::makeTempFolder(QStringLiteral("run-small-barcode"));
        Send_Modeless progress;
        const Batch_Export_Result result = Batch_Export_Run(host, progress).run(chosen);

        ASSERT_EQ(ui.messages.size(), 1u) << goOn;
        EXPECT_EQ(ui.messages[0].kind, platform::MessageRequest::Kind::YesNo);
        EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("The DataMatrix barcode of series \"codes\" is too "
                                                                "small for 72 dots per inch on every card")))
            << ui.messages[0].text.toStdString();
        EXPECT_TRUE(ui.messages[0].text.endsWith(Batch_Export_Run::goOnQuestion()));
        EXPECT_EQ(QDir(chosen).exists(Batch_Export_Folder_Name), goOn);
        EXPECT_EQ(result.written, goOn ? 4 : 0);
    }
}

TEST(BatchExportRun, TheWaitEndsWithTheWorkNotAtTheBarsNextTick)
{
    Send_Modeless progress;
    int looks = 0; // at the work's progress: one at each tick and one at the end
    Batch_Export_Run::whileWindowAnswers(
        progress, [] {}, [&] { return ++looks; }, std::chrono::seconds(20));
    EXPECT_EQ(looks, 1);
}

TEST(BatchExportRun, AWholeRunSaysItSucceeded)
{
    Batch_Export_Result result;
    result.records = result.written = 4;
    EXPECT_EQ(Batch_Export_Run::finishedMessage(result), QStringLiteral("Card has been exported successfully."));
}

} // namespace
