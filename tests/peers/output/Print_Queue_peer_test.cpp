// Printing to real print queues of a private scheduler: what each queue receives, and what the person is
// told when it cannot print.
#include "PrivateScheduler.h"
#include "data/Import_Excel.h"
#include "data/SpreadsheetWriter.h"
#include "editor/EditorWindowTestSupport.h"
#include "editor/Editor_Print_Host.h"
#include "output/PrintWindowFixture.h"
#include "ui_Print_Wnd.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
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
                 { QStringLiteral("Margins"), QStringLiteral("A4"), 18 },
                 { QStringLiteral("TwoSided"), QStringLiteral("A4"), 0, true },
                 { QStringLiteral("Letter"), QStringLiteral("Letter") } })
            ASSERT_TRUE(scheduler->addQueue(queue)) << queue.name.toStdString();
    }

    std::unique_ptr<PrivateScheduler> scheduler;
};

// The text of each page of the PDF.
QStringList pdfPages(const QString& pdf)
{
    QString out;
    testsupport::runProgram(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") }, &out);
    QStringList pages = out.split(QLatin1Char('\f'));
    pages.removeLast(); // after the last page's form feed
    return pages;
}

// A design open in the real editor, one text bound to the names of a guest list it follows.
struct Guest_List_Design {
    Guest_List_Design(testsupport::ScriptedResponder& ui, int guests)
    {
        window.setDocument(&document);
        ui.modalRuns.push_back([](QDialog&) { return 1; }); // the start screen: an empty card
        window.awakeFromNib();
        EXPECT_TRUE(save(guests));
        ui.fileAnswers.push_back(book);
        ui.modalRuns.push_back([](QDialog& dialog) {
            Import_Excel::defaultInstance()->Select_ALL_Pressed();
            Import_Excel::defaultInstance()->OKPressed();
            return dialog.result();
        });
        window.Bind_Spreadsheet_btn->trigger();
        document.insertGraphicsForKey(
            TSLDocumentGraphicsKey, { batchtest::boundText(2, {}, 1, { 10, 10, 150, 30 }) }, { 0 });
        window.Check_Series_Or_Excel_Use_or_not(); // as the Print command does
    }
    ~Guest_List_Design()
    {
        Excel_Binding_Use = false;
        Excel_Source_Path.clear();
    }
    bool save(int guests) const // Guest1 at table T1 and on
    {
        SpreadsheetWriter::Rows rows { { QStringLiteral("Name"), QStringLiteral("Table") } };
        for (int guest = 1; guest <= guests; ++guest)
            rows.append({ QStringLiteral("Guest%1").arg(guest), QStringLiteral("T%1").arg(guest) });
        return SpreadsheetWriter::WriteWorkbook(book, rows, true);
    }

    const QString book = testsupport::makeTempFolder(QStringLiteral("guests")) + QStringLiteral("/guests.xlsx");
    TSLDocument document;
    TSLWindowController window;
    Editor_Print_Host host { window };
};

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
        withPrintWindow(ui, host, [&](Print_Wnd& w) {
            choosePrinter(w, QLatin1String(c.queue));
            // What the preview's own print dialog leaves behind must not reach the job.
            w.printInfo().setCopyCount(5);
            w.printInfo().setDuplex(QPrinter::DuplexLongSide);
            typeInto(w.form().Row_Stepper, QStringLiteral("5"));
            typeInto(w.form().Col_Stepper, QStringLiteral("2"));
            typeInto(w.form().Copies_Stepper, QString::number(c.copies));
            QTest::mouseClick(w.form().printButton, Qt::LeftButton);
        });
        expected << QStringLiteral("%1|Garden party|%2|one-sided|%3").arg(c.queue).arg(c.copies).arg(c.media);
        ASSERT_EQ(ui.messages.size(), size_t(expected.size()));
        const QString copies = c.copies > 1 ? QStringLiteral(", %1 copies of each").arg(c.copies) : QString();
        EXPECT_EQ(
            ui.messages.back().text.trimmed(), QStringLiteral("2 sheets were sent to %1%2.").arg(c.queue, copies));
        EXPECT_EQ(scheduler->jobs(int(expected.size())), expected);
        // The printed sheets hold the records in order: 0 to 9, then 10 and 11.
        const QStringList pages = pdfPages(scheduler->output(QLatin1String(c.queue)));
        ASSERT_EQ(pages.size(), 2) << c.queue;
        EXPECT_TRUE(pages[0].contains(QLatin1String("Name9")) && pages[1].contains(QLatin1String("Name11"))) << c.queue;
    }
}

TEST_F(PrintQueuePeer, WhatIsDoneWhileTheWindowIsOpenIsToldWithThePrinterAndPrintedAsItStandsThen)
{
    enum Done { Stop, Refused, RefusedSaying, Gone, Paused, SavedInWindow, SavedInPreview, SavedInPanel };
    const QString changed
        = QStringLiteral("The workbook \"guests.xlsx\" has changed: the design now shows its new data (%1 records).");
    const struct {
        Done done;
        int records;
        const char* told;
        const char* reason; // empty: the message is `told` alone
        int saved = 0; // guests of the list saved anew
    } cases[] = { { Stop, 5, "The printing was stopped: nothing was sent to Catcher.", "" }, // 5 sheets
        { Refused, 3, "The sheets could not be printed on Catcher: ", "not accepting jobs" },
        { RefusedSaying, 3, "The sheets could not be printed on Catcher: ", "test refusal" }, // the queue's reason
        { Paused, 3,
            "3 sheets were sent to Margins.\n\nMargins is paused (Out of paper): the sheets wait in its queue until "
            "it is resumed.",
            "Out of paper", 3 },
        { Paused, 2,
            "2 sheets were sent to Margins.\n\nMargins is paused: the sheets wait in its queue until it is resumed.",
            "", 2 },
        { Gone, 3, "The sheets could not be printed on Catcher: ", "the print scheduler is not running" },
        { SavedInPanel, 5, "", "", 6 }, { SavedInWindow, 4, "", "", 6 }, { SavedInPreview, 3, "", "", 5 } };
    int sent = 0; // jobs the scheduler has printed
    for (const auto& c : cases) {
        SCOPED_TRACE(c.done);
        const QString queue = c.done == Paused ? QStringLiteral("Margins") : QStringLiteral("Catcher");
        const auto withReason = [&](bool given) {
            return given ? QStringList { QStringLiteral("-r"), QString::fromUtf8(c.reason), queue }
                         : QStringList { queue };
        };
        testsupport::ScriptedResponder ui;
        const bool onEditor = c.done >= Paused, toFile = c.done > Paused;
        std::optional<Fake_Print_Host> fake;
        std::optional<Guest_List_Design> design;
        if (onEditor)
            design.emplace(ui, c.records);
        else
            fake.emplace(c.records);
        const QString pdf = testsupport::makeTempFolder(QStringLiteral("saved")) + QStringLiteral("/cards.pdf");
        ui.fileAnswers.push_back(pdf);
        // Stop is pressed on the progress window as the second sheet is done, whether it shows yet or not.
        int drawn = 0;
        const QMetaObject::Connection stopper
            = QObject::connect(&Print_Wnd::defaultInstance(), &Print_Wnd::sheetDrawn, [&](int sheets) {
                  drawn = sheets;
                  if (sheets == 2 && c.done == Stop)
                      Print_Wnd::defaultInstance().findChild<QProgressDialog*>()->findChild<QPushButton*>()->click();
              });
        withPrintWindow(ui, fake ? static_cast<Print_Design_Host&>(*fake) : design->host, [&](Print_Wnd& w) {
            if (!toFile)
                choosePrinter(w, queue);
            EXPECT_EQ(w.form().Copies_Stepper->isEnabled(), !toFile) << "a PDF file holds one copy";
            const auto save = [&] { // followed by the window
                ASSERT_TRUE(design->save(c.saved));
                EXPECT_TRUE(QTest::qWaitFor([&] { return w.form().Total_Stepper->value() == c.saved; }, 20000));
            };
            if (c.done == Gone)
                scheduler->stop();
            else if (c.done == Refused || c.done == RefusedSaying)
                ASSERT_TRUE(scheduler->command(QStringLiteral("cupsreject"), withReason(c.done == RefusedSaying)));
            else if (c.done == Paused) {
                ASSERT_TRUE(scheduler->command(QStringLiteral("cupsdisable"), withReason(*c.reason)));
                w.form().Printer_ComboBox->showPopup(); // the list marks it as it opens
                EXPECT_EQ(w.form().Printer_ComboBox->currentText(), QStringLiteral("Margins (paused)"));
                w.form().Printer_ComboBox->hidePopup();
            } else if (c.done == SavedInWindow)
                save();
            else if (c.done == SavedInPanel)
                ui.whileChoosing = save;
            if (c.done == SavedInPreview)
                ui.modalRuns.push_front([&](QDialog& dialog) {
                    save();
                    auto* pages = dialog.findChild<QPrintPreviewWidget*>();
                    pages->updatePreview();
                    EXPECT_EQ(pages->pageCount(), c.saved) << "the preview shows the list saved";
                    for (QAction* action : dialog.findChildren<QAction*>())
                        if (action->text() == QLatin1String("Print"))
                            action->trigger();
                    return dialog.result();
                });
            QTest::mouseClick(c.done == SavedInPreview ? w.form().previewButton : w.form().printButton, Qt::LeftButton);
        });
        QObject::disconnect(stopper);
        EXPECT_EQ(drawn, onEditor ? c.saved : c.done == Stop ? 2 : 0);
        const QString text = editortest::messageTexts(ui).join(QLatin1Char('|'));
        const QString told = *c.told ? QString::fromUtf8(c.told) : changed.arg(c.saved);
        EXPECT_TRUE(*c.reason
                ? text.startsWith(told) && text.contains(QLatin1String(c.reason)) && ui.messages.size() == 1
                : text == told)
            << text.toStdString();
        // A job the scheduler took is listed at once, printed or not; a paused queue prints it when resumed.
        QString taken;
        testsupport::runProgram(
            QStringLiteral("lpstat"), { QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o") }, &taken);
        EXPECT_EQ(!taken.isEmpty(), c.done == Paused) << taken.toStdString();
        ASSERT_TRUE(c.done != Paused || scheduler->command(QStringLiteral("cupsenable"), { queue }));
        sent += c.done == Paused;
        EXPECT_EQ(scheduler->jobs(sent).size(), size_t(sent));
        if (!onEditor)
            continue;
        const QStringList pages = pdfPages(toFile ? pdf : scheduler->output(queue));
        EXPECT_EQ(pages.size(), c.saved);
        for (int guest = 1; guest <= std::min(int(pages.size()), c.saved); ++guest)
            EXPECT_TRUE(pages[guest - 1].contains(QStringLiteral("Guest%1\n").arg(guest))) << guest;
    }
}

TEST_F(PrintQueuePeer, TheListIsFilledAtEveryOpeningWithTheDefaultOrTheLastChoiceChosen)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    QString chosen;
    QStringList listed;
    const auto look = [&](Print_Wnd& w) {
        listed.clear();
        for (int i = 0; i < w.form().Printer_ComboBox->count(); ++i)
            listed << w.form().Printer_ComboBox->itemText(i);
        chosen = w.form().Printer_ComboBox->currentData().toString();
    };
    // A choice whose printer has gone since (whatever an earlier test chose) gives way to the system's default.
    ASSERT_TRUE(scheduler->addQueue({ QStringLiteral("Gone") }));
    withPrintWindow(
        ui, host, [](Print_Wnd& w) { choosePrinter(w, QStringLiteral("Gone")); }, true);
    ASSERT_TRUE(scheduler->command(QStringLiteral("lpadmin"), { QStringLiteral("-x"), QStringLiteral("Gone") }));
    withPrintWindow(ui, host, look, true);
    EXPECT_EQ(chosen, QStringLiteral("Catcher")); // the system's default
    // A printer added and one paused while the program runs.
    ASSERT_TRUE(scheduler->addQueue({ QStringLiteral("Added") }));
    ASSERT_TRUE(scheduler->command(QStringLiteral("cupsdisable"), { QStringLiteral("Margins") }));
    const auto chooseAdded = [](Print_Wnd& w) {
        choosePrinter(w, QStringLiteral("Added"));
        EXPECT_EQ(w.printInfo().printerName(), QStringLiteral("Added"));
    };
    withPrintWindow(ui, host, chooseAdded, true);
    withPrintWindow(ui, host, look, true);
    EXPECT_EQ(chosen, QStringLiteral("Added"));
    EXPECT_TRUE(listed.contains(QStringLiteral("Margins (paused)"))) << listed.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(listed.contains(Print_Wnd::pdfPrinterName()));
    EXPECT_EQ(listed.size(), 6);
}

// A system printer's Page Setup opens on the paper and orientation the window shows, not on the printer's own.
// The PDF file's opens on its paper too, not on another entry of the same size ("A4 Small", "Note").
TEST_F(PrintQueuePeer, PageSetupOpensOnThePaperAndOrientationTheWindowShows)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    const struct {
        QString printer;
        QPageSize::PageSizeId paper;
        int orientation;
        const char* opened; // OK keeps its paper's name, without " across"
    } cases[] = { { QStringLiteral("Letter"), QPageSize::A4, 1, "A4 across" },
        { Print_Wnd::pdfPrinterName(), QPageSize::A4, 0, "A4" },
        { Print_Wnd::pdfPrinterName(), QPageSize::Letter, 0, "Letter / ANSI A" } };
    for (const auto& c : cases) {
        QString opened, kept;
        withPrintWindow(ui, host, [&](Print_Wnd& w) {
            choosePrinter(w, c.printer);
            w.printInfo().setPageSize(QPageSize(c.paper)); // as an earlier Page Setup left it
            w.form().Orient_ComboBox->setCurrentIndex(c.orientation);
            ui.modalRuns.push_front([&opened](QDialog& dialog) {
                const bool across = dialog.findChild<QRadioButton*>(QStringLiteral("landscape"))->isChecked();
                opened = dialog.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))->currentText()
                    + (across ? QStringLiteral(" across") : QString());
                dialog.accept();
                return dialog.result();
            });
            QTest::mouseClick(w.form().pageSetupButton, Qt::LeftButton);
            kept = w.form().Paper_id->text();
        });
        const QString expected = QString::fromLatin1(c.opened);
        EXPECT_EQ((opened + u'|' + kept).toStdString(),
            (expected + u'|' + QString(expected).remove(QLatin1String(" across"))).toStdString());
    }
}

// A 2 x 2 landscape sheet turned to Portrait in the preview holds two cards: the preview and its own Print
// show all eight cards (records or copies) on four one-sided sheets, and the window keeps the eight.
TEST_F(PrintQueuePeer, ThePreviewTurnedShowsAndPrintsEveryCard)
{
    const struct {
        QString printer;
        int records;
    } cases[]
        = { { Print_Wnd::pdfPrinterName(), 8 }, { Print_Wnd::pdfPrinterName(), 0 }, { QStringLiteral("TwoSided"), 8 } };
    for (const auto& c : cases) {
        testsupport::ScriptedResponder ui;
        Fake_Print_Host host(c.records);
        const QString file = testsupport::makeTempFolder(QStringLiteral("turned")) + QStringLiteral("/cards.pdf");
        ui.fileAnswers.push_back(file);
        int previewed = 0, kept = 0;
        withPrintWindow(ui, host, [&](Print_Wnd& w) {
            choosePrinter(w, c.printer);
            w.form().Orient_ComboBox->setCurrentIndex(1);
            for (auto* box : { w.form().width_Stepper, w.form().height_Stepper }) // A6: four to the sheet
                typeInto(box, box == w.form().width_Stepper ? QStringLiteral("148") : QStringLiteral("105"));
            for (auto* box : { w.form().Row_Stepper, w.form().Col_Stepper, w.form().Total_Stepper })
                typeInto(box, box == w.form().Total_Stepper ? QStringLiteral("8") : QStringLiteral("2"));
            ui.modalRuns.push_front([&previewed](QDialog& dialog) {
                for (const QString& text : { QStringLiteral("Portrait"), QStringLiteral("Print") }) {
                    previewed = dialog.findChild<QPrintPreviewWidget*>()->pageCount();
                    // The system's print dialog, were it run, is closed at once: nothing would be printed.
                    QTimer::singleShot(0, [] {
                        if (auto* shown = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()))
                            shown->reject();
                    });
                    for (QAction* action : dialog.findChildren<QAction*>())
                        if (action->text() == text)
                            action->trigger();
                }
                return dialog.result();
            });
            QTest::mouseClick(w.form().previewButton, Qt::LeftButton);
            kept = w.form().Total_Stepper->value();
        });
        SCOPED_TRACE(c.printer.toStdString() + " " + std::to_string(c.records));
        EXPECT_EQ(std::pair(previewed, kept), std::pair(4, 8)); // the preview's pages, the window's cards
        const bool queue = c.printer != Print_Wnd::pdfPrinterName();
        EXPECT_EQ(std::pair(ui.fileRequests.size(), scheduler->jobs(queue ? 1 : 0)),
            std::pair(size_t(!queue), queue ? QStringList { "TwoSided|Garden party|1|one-sided|A4" } : QStringList()));
        const QStringList pages = pdfPages(queue ? scheduler->output(c.printer) : file);
        ASSERT_EQ(pages.size(), 4);
        for (int card = 0; card < c.records; ++card)
            EXPECT_TRUE(pages[card / 2].contains(QStringLiteral("Name%1\n").arg(card))) << card;
    }
}
