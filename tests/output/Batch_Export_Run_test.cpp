// How a batch export ends, told to the person: a failed write is reported as a failure and never as a
// success, and a stopped run says how many cards were written.
#include "PrintWindowFixture.h"

#include "common/Globals.h"
#include "output/Batch_Export_Run.h"
#include "output/BatchTestSupport.h"
#include "output/Send_Modeless.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/stat.h>

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

const char* const killedExport = "TESSALINE_TEST_KILLED_EXPORT";

// The copy of the program killed half way in a row below: an export of 12 cards on one worker into the folder
// named by the environment, killed by the system as it begins its sixth card.
TEST(BatchExportRun, CopyKilledAsItBeginsItsSixthCard)
{
    const QString folder = qEnvironmentVariable(killedExport);
    if (folder.isEmpty())
        GTEST_SKIP() << "the copy killed half way of ACardOfAnEarlierExportIsRemovedOnlyWhileItIsStillAsWritten";
    Fake_Print_Host host(12);
    int cards = 0;
    platform::setTemporaryFileObserver([&cards](const QString& path, int) {
        if (!path.endsWith(QLatin1String(".part")) && ++cards == 6) // a card's file, not a list's
            ::raise(SIGKILL);
    });
    std::atomic<bool> stop { false };
    Batch_Export(stop).run(
        { host.takeSnapshot(), folder, host.settings.extension, QStringLiteral("F"), false, 144, 1 });
    FAIL() << "not killed";
}

// Files under the chosen folder, by their paths in it; a link is not entered.
QStringList filesUnder(const QString& chosen)
{
    QStringList files;
    for (QDirIterator it(chosen, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();)
        files << QDir(chosen).relativeFilePath(it.next());
    files.sort();
    return files;
}

// An export of 3 cards into the folder of an earlier one of 6 removes, when told to, only the cards that are
// still as that export wrote them, asks only about those, and reaches nothing outside the folder.
TEST(BatchExportRun, ACardOfAnEarlierExportIsRemovedOnlyWhileItIsStillAsWritten)
{
    const QString folderName = Batch_Export_Folder_Name + QLatin1Char('/');
    const QString list = folderName + QStringLiteral(".Tessaline Card export list");
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
    };
    // The folder renamed and a link to another put in its place, which holds files of the same names.
    const auto swapped = [](const char* extension) {
        return [extension](QDir chosen) {
            ASSERT_TRUE(chosen.rename(Batch_Export_Folder_Name, QStringLiteral("moved")));
            ASSERT_TRUE(chosen.mkpath(QStringLiteral("elsewhere")));
            for (const QString& name :
                { QStringLiteral("Card_4."), QStringLiteral("Card_5."), QStringLiteral("Card_6.") })
                ASSERT_TRUE(QFile::copy(chosen.filePath(QStringLiteral("moved/") + name + QLatin1String(extension)),
                    chosen.filePath(QStringLiteral("elsewhere/") + name + QLatin1String(extension))));
            ASSERT_TRUE(
                QFile::link(chosen.filePath(QStringLiteral("elsewhere")), chosen.filePath(Batch_Export_Folder_Name)));
        };
    };
    const auto swappedFiles = [](const char* extension) {
        QStringList files { QStringLiteral("moved/.Tessaline Card export list") };
        for (int card = 1; card <= 6; ++card)
            files << QStringLiteral("%1/Card_%2.%3").arg(card <= 3 ? "moved" : "elsewhere").arg(card).arg(extension);
        return files;
    };
    const struct Row {
        const char* what;
        int earlier; // cards of the first export; -1: a copy killed as it began its sixth of 12
        std::function<void(QDir chosen)> after; // of the first export
        std::function<void(QDir chosen)> whileAsked;
        int asked; // cards the question names; 0: none asked
        QStringList files; // under the chosen folder afterwards, beside the list and the 3 new cards
        QString told; // in the export-finished notice
        QString extension = QStringLiteral("PNG");
    } rows[] = {
        { "killed half way", -1, {}, {}, 2, {}, "and no card of an earlier export." },
        { "changed since", 6,
            [&](QDir chosen) {
                write(chosen.filePath(folderName + "Card_5.PNG"), "edited in a paint program");
                ASSERT_TRUE(QFile::remove(chosen.filePath(folderName + "Card_6.PNG")));
                write(chosen.filePath(folderName + "Card_6.PNG"), "a picture of mine under its name");
            },
            {}, 1, { folderName + "Card_5.PNG", folderName + "Card_6.PNG" },
            "2 files listed by the earlier export were changed since and are kept." },
        { "written by hand", 0,
            [&](QDir chosen) {
                ASSERT_TRUE(chosen.mkpath(Batch_Export_Folder_Name));
                write(chosen.filePath(folderName + "my notes.txt"), "mine");
                write(chosen.filePath(list), "Tessaline Card export list\nmy notes.txt\n");
            },
            {}, 0, { folderName + "my notes.txt" },
            "1 file named by the earlier export's list cannot be shown to be one of its cards and is kept." },
        { "swapped for a link while asked", 6, {}, swapped("PNG"), 3, swappedFiles("PNG"),
            "no card of an earlier export." },
        { "swapped for a link while asked, cards through the checked save", 6, {}, swapped("JPEG"), 3,
            swappedFiles("JPEG"), "no card of an earlier export.", "JPEG" },
        { "made again, then fewer", 6,
            [&](QDir chosen) {
                testsupport::ScriptedResponder ui;
                ui.messageAnswers.push_back(2); // Keep
                ui.modalRuns.push_back([](QDialog&) { return 0; });
                Fake_Print_Host host(4);
                host.settings.dpi = 144;
                Send_Modeless progress;
                ASSERT_EQ(Batch_Export_Run(host, progress).run(chosen.path()).written, 4);
            },
            {}, 3, {}, "no card of an earlier export." },
        { "list's name a pipe", 0,
            [&](QDir chosen) {
                ASSERT_TRUE(chosen.mkpath(Batch_Export_Folder_Name));
                ASSERT_EQ(::mkfifo(QFile::encodeName(chosen.filePath(list)).constData(), 0600), 0);
            },
            {}, 0, {}, "The folder keeps no list of this export's cards" },
        { "list's name a link", 0,
            [&](QDir chosen) {
                ASSERT_TRUE(chosen.mkpath(Batch_Export_Folder_Name));
                write(chosen.filePath(QStringLiteral("theirs.txt")), "another user's");
                ASSERT_TRUE(QFile::link(chosen.filePath(QStringLiteral("theirs.txt")), chosen.filePath(list)));
            },
            {}, 0, { "theirs.txt" }, "The folder keeps no list of this export's cards" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QDir chosen(testsupport::makeTempFolder(QStringLiteral("run-earlier")));
        const QString folder = chosen.filePath(Batch_Export_Folder_Name);
        if (row.earlier < 0) {
            ASSERT_TRUE(QDir().mkpath(folder));
            QProcess copy;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QLatin1String(killedExport), folder);
            copy.setProcessEnvironment(environment);
            copy.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--gtest_filter=BatchExportRun.CopyKilledAsItBeginsItsSixthCard") });
            ASSERT_TRUE(copy.waitForFinished(120000));
            ASSERT_EQ(copy.exitStatus(), QProcess::CrashExit);
            ASSERT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);
        } else if (row.earlier > 0) {
            testsupport::ScriptedResponder ui;
            ui.modalRuns.push_back([](QDialog&) { return 0; }); // the export-finished notice
            Fake_Print_Host host(row.earlier);
            host.settings.dpi = 144;
            host.settings.extension = row.extension;
            Send_Modeless progress;
            ASSERT_EQ(Batch_Export_Run(host, progress).run(chosen.path()).written, row.earlier);
        }
        if (row.after)
            row.after(chosen);

        testsupport::ScriptedResponder ui;
        ui.messageAnswers.push_back(1); // Remove
        ui.modalRuns.push_back([](QDialog&) { return 0; });
        if (row.whileAsked)
            ui.whileAsked = [&] { row.whileAsked(chosen); };
        Fake_Print_Host host(3);
        host.settings.dpi = 144;
        host.settings.extension = row.extension;
        Send_Modeless progress;
        Batch_Export_Run run(host, progress);
        EXPECT_EQ(run.run(chosen.path()).written, 3);

        EXPECT_EQ(ui.messages.size(), size_t(row.asked > 0));
        if (row.asked > 0 && !ui.messages.empty()) {
            EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("holds %1 card picture").arg(row.asked)))
                << ui.messages[0].text.toStdString();
        }
        QStringList expected = row.files;
        for (int card = 1; card <= 3 && !row.whileAsked; ++card)
            expected << folderName + QStringLiteral("Card_%1.").arg(card) + row.extension;
        if (!row.whileAsked)
            expected << list;
        expected.sort();
        EXPECT_EQ(filesUnder(chosen.path()), expected);
        EXPECT_TRUE(run.noticeMessage().contains(row.told)) << run.noticeMessage().toStdString();
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
