#include "PrintWindowFixture.h"
#include "MailTestSupport.h"
#include "output/Open_Export_Log.h"
#include "output/Preferences.h"
#include "output/Run_Log.h"
#include "ui_Open_Export_Files.h"

#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScopeGuard>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace printtest;

TEST(PrintWindow, EveryOpeningStartsFromTheSameSettings)
{
    FreshDataFolder folder(QStringLiteral("print-reopen"));
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        QTest::mouseClick(w.form().side_both_rd, Qt::LeftButton);
        QTest::mouseClick(w.form().bot_rite_btn, Qt::LeftButton);
        QTest::mouseClick(w.form().Show_Margins, Qt::LeftButton);
        typeInto(w.form().Col_Stepper, QStringLiteral("2"));
        QTest::mouseClick(w.form().Auto_Center_chk_bx, Qt::LeftButton);
        EXPECT_EQ(w.layout().label_align_val, 9);
    });
    const auto asLeft = [](Print_Wnd& w) {
        EXPECT_TRUE(w.form().side_front_rd->isChecked());
        EXPECT_EQ(w.layout().Print_Card_Side, QStringLiteral("F"));
        EXPECT_EQ(w.layout().Print_Card_Algn, QStringLiteral("U"));
        EXPECT_EQ(w.layout().label_align_val, 1);
        EXPECT_TRUE(w.form().top_left_btn->isChecked());
        EXPECT_FALSE(w.form().Show_Margins->isChecked());
        // Rows, columns and auto centre are as last chosen.
        EXPECT_EQ(w.form().Row_Stepper->value(), 1);
        EXPECT_EQ(w.form().Col_Stepper->value(), 2);
        EXPECT_EQ(w.layout().Print_Col, 2);
        EXPECT_TRUE(w.form().Auto_Center_chk_bx->isChecked());
        EXPECT_TRUE(w.layout().auto_center_flag);
        EXPECT_FALSE(w.form().horz_mar_Stepper->isEnabled());
        // The card size is the design's: a credit card in millimetres.
        EXPECT_NEAR(w.form().width_Stepper->value(), 85.72, 0.01);
        EXPECT_NEAR(w.form().height_Stepper->value(), 53.97, 0.01);
    };
    withPrintWindow(ui, host, asLeft, true);
    EXPECT_EQ(Preferences::sharedInstance()->print_show_frames(), QStringLiteral("N")) << "kept for a restart";
    FreshDataFolder fresh(QStringLiteral("print-fresh"));
    withPrintWindow(
        ui, host, [](Print_Wnd& w) { EXPECT_TRUE(w.form().Show_Margins->isChecked()); }, true);
}

TEST(PrintWindow, ReturnInAFieldPressesNoButton)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        typeInto(w.form().Row_Stepper, QStringLiteral("2"));
        typeInto(w.form().horz_mar_Stepper, QStringLiteral("3"));
        EXPECT_EQ(w.form().Size_id->text(), QStringLiteral("210.00 x 297.00"));
    });
    EXPECT_EQ(ui.dialogsRun.size(), 1u) << "a dialog besides the print window was run";
    EXPECT_TRUE(ui.fileRequests.empty());
}

TEST(PrintWindow, RowsAndColumnsNeverGoBelowOne)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        typeInto(w.form().Row_Stepper, QStringLiteral("0"));
        typeInto(w.form().Col_Stepper, QStringLiteral("-3"));
        QTest::keyClick(w.form().Col_Stepper, Qt::Key_Down);
        EXPECT_EQ(w.form().Row_Stepper->value(), 1);
        EXPECT_EQ(w.form().Col_Stepper->value(), 1);
        EXPECT_EQ(w.layout().Print_Row, 1);
        EXPECT_EQ(w.layout().Print_Col, 1);
        // A card wider than the paper still leaves one column to print.
        typeInto(w.form().width_Stepper, QStringLiteral("400"));
        EXPECT_EQ(w.layout().Print_Col, 1);
        EXPECT_EQ(w.layout().sheetCount(3), 3);
    });
}

TEST(PrintWindow, WithoutRecordsTheCardsAreOneSheetAndTheFitRuleCutsDown)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        EXPECT_FALSE(w.form().print_with_batch_chk->isEnabled());
        typeInto(w.form().Col_Stepper, QStringLiteral("2"));
        typeInto(w.form().Row_Stepper, QStringLiteral("3"));
        EXPECT_EQ(w.form().Total_Stepper->value(), 6);
        // Three columns of 85.7 mm do not fit A4: cut down to two.
        typeInto(w.form().Col_Stepper, QStringLiteral("3"));
        EXPECT_EQ(w.form().Col_Stepper->value(), 2);
        EXPECT_EQ(w.form().Total_Stepper->value(), 6);
        EXPECT_EQ(captionTexts(w), QStringList({ "Card 1", "Card 2", "Card 3", "Card 4", "Card 5", "Card 6" }));
        EXPECT_EQ(w.preview().frames().size(), 6u);
        QTest::mouseClick(w.form().Show_Margins, Qt::LeftButton);
        EXPECT_TRUE(w.preview().frames().empty());
    });
}

TEST(PrintWindow, AutoCentreTurnsTheGapsAndAlignmentOffAndOn)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        typeInto(w.form().horz_mar_Stepper, QStringLiteral("5"));
        QTest::mouseClick(w.form().Auto_Center_chk_bx, Qt::LeftButton);
        EXPECT_FALSE(w.form().horz_mar_Stepper->isEnabled());
        EXPECT_FALSE(w.form().vert_mar_Stepper->isEnabled());
        EXPECT_FALSE(w.form().align_Gp_Bx->isEnabled());
        EXPECT_TRUE(w.layout().auto_center_flag);
        // One column on A4: the gap shares the free width on both sides.
        EXPECT_NEAR(w.layout().horz_mar, (w.layout().availWidth() - w.layout().label_width) / 2, 0.01);
        QTest::mouseClick(w.form().Auto_Center_chk_bx, Qt::LeftButton);
        EXPECT_TRUE(w.form().horz_mar_Stepper->isEnabled());
        EXPECT_TRUE(w.form().align_Gp_Bx->isEnabled());
        EXPECT_NEAR(Points_to_MM_Convert(w.layout().horz_mar), 5.0, 0.01);
    });
}

TEST(PrintWindow, BothSidesDoubleTheCellAndCaptionFrontAndBack)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        const float width = w.layout().label_width;
        EXPECT_FALSE(w.form().print_alignment->isEnabled());
        QTest::mouseClick(w.form().side_both_rd, Qt::LeftButton);
        EXPECT_TRUE(w.form().print_alignment->isEnabled());
        EXPECT_NEAR(w.layout().label_hight, 2 * MM_to_Points_Convert(53.97f), 0.1);
        w.form().print_alignment->setCurrentIndex(1); // side by side
        EXPECT_NEAR(w.layout().label_width, 2 * width, 0.1);
        EXPECT_EQ(captionTexts(w), QStringList({ "Card 1", "Back 1" }));
        const auto captions = w.preview().captions();
        EXPECT_NEAR(captions[1].rect.left(), captions[0].rect.right(), 0.05); // the back beside the front
        QTest::mouseClick(w.form().side_back_rd, Qt::LeftButton);
        EXPECT_EQ(captionTexts(w), QStringList({ "Back 1" }));
    });
}

TEST(PrintWindow, UntickingTheSeriesPrintsTheDesignAndTickingBringsTheRecordsBack)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(12);
    withPrintWindow(ui, host, [&host](Print_Wnd& w) {
        EXPECT_TRUE(w.form().print_with_batch_chk->isEnabled());
        EXPECT_TRUE(w.form().print_with_batch_chk->isChecked());
        EXPECT_EQ(w.form().Total_Stepper->value(), 12);
        EXPECT_EQ(w.form().Total_Stepper->maximum(), 12);
        QTest::mouseClick(w.form().print_with_batch_chk, Qt::LeftButton);
        EXPECT_FALSE(host.usesSeries());
        EXPECT_EQ(w.form().Total_Stepper->value(), 1);
        EXPECT_FALSE(w.currentJob().useData);
        QTest::mouseClick(w.form().print_with_batch_chk, Qt::LeftButton);
        EXPECT_TRUE(host.usesSeries());
        EXPECT_EQ(w.form().Total_Stepper->value(), 12);
        EXPECT_TRUE(w.currentJob().useData);
        // With records the total stays when rows or columns change.
        typeInto(w.form().Col_Stepper, QStringLiteral("2"));
        EXPECT_EQ(w.form().Total_Stepper->value(), 12);
        host.changeRecords(14); // all of them are printed, as many as there are now
        ASSERT_TRUE(QTest::qWaitFor([&w] { return w.form().Total_Stepper->value() == 14; }));
        EXPECT_EQ(w.currentJob().records(), 14);
    });
}

TEST(PrintWindow, PrintingToAPdfFileWritesEverySheetAndShowsTheFirstRecordAgain)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(9);
    const QString path = testsupport::makeTempFolder(QStringLiteral("window-pdf")) + QStringLiteral("/cards");
    ui.fileAnswers.push_back(path);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        ASSERT_EQ(w.form().Printer_ComboBox->currentData().toString(), Print_Wnd::pdfPrinterName());
        typeInto(w.form().Row_Stepper, QStringLiteral("2"));
        typeInto(w.form().Col_Stepper, QStringLiteral("2"));
        QTest::mouseClick(w.form().printButton, Qt::LeftButton);
    });
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    QFile pdf(path + QStringLiteral(".pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    EXPECT_TRUE(data.startsWith("%PDF"));
    EXPECT_EQ(data.count("/Type /Page\n") + data.count("/Type /Page\r") + data.count("/Type /Page "), 3);
    EXPECT_EQ(host.firstRowShown, 1);
    EXPECT_TRUE(ui.messages.empty());
    Open_Export_Log& notice = Open_Export_Log::defaultInstance(); // names the file, as an export's does
    EXPECT_EQ(notice.shownPath() + notice.form()._open_log_message->text(),
        pdf.fileName() + QStringLiteral("3 sheets were written to cards.pdf."));
}

TEST(PrintWindow, CancellingTheFileOrNoCardsWritesNothing)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        QTest::mouseClick(w.form().printButton, Qt::LeftButton); // the file panel is cancelled
        typeInto(w.form().Total_Stepper, QStringLiteral("0"));
        QTest::mouseClick(w.form().printButton, Qt::LeftButton);
    });
    EXPECT_EQ(ui.fileRequests.size(), 1u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("There is no barcode to print."));
    // Printed without records, every card is the design as it stands: a text past the card's edge is named.
    host.addedToFront = { batchtest::boundText(0, QString(), 0, QRectF(10, 145, 100, 30)) }; // the card ends at 153
    ui.fileAnswers.push_back(testsupport::makeTempFolder(QStringLiteral("window-cut")) + QStringLiteral("/cards"));
    ui.messageAnswers = { 1 }; // Yes: printed anyway
    withPrintWindow(ui, host, [](Print_Wnd& w) { QTest::mouseClick(w.form().printButton, Qt::LeftButton); });
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_TRUE(ui.messages[1].text.startsWith(QStringLiteral("The text \"typed\" does not fit its box or the card")));
    EXPECT_TRUE(ui.messages[2].text.contains(QStringLiteral("is cut (the canvas marks it): text \"typed\".")));
}

TEST(PrintWindow, TheLookAtEveryCardEndsWithItsWorkNotAtTheBarsNextTick)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(3);
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        w.setLookTick(std::chrono::seconds(20));
        const auto restore = qScopeGuard([&w] { w.setLookTick(Print_Wnd::defaultLookTick); });
        QSignalSpy followed(&w, &Print_Wnd::lookFollowed);
        QTest::mouseClick(w.form().printButton, Qt::LeftButton); // the file panel is cancelled
        EXPECT_EQ(followed.size(), 1) << "at the look's end alone";
    });
    EXPECT_EQ(ui.fileRequests.size(), 1u);
}

TEST(PrintWindow, ACutNameIsToldBeforeTheSheetsAndEveryCardNotWholeIsListedBesideThem)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(6);
    host.addedToFront = { batchtest::boundText(1, QStringLiteral("names"), 0, QRectF(10, 100, 30, 8)) };
    const QString folder = testsupport::makeTempFolder(QStringLiteral("window-cut-records"));
    ui.fileAnswers.push_back(folder + QStringLiteral("/guests"));
    ui.messageAnswers = { 0, 1 }; // No: nothing is written; then Yes
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        QTest::mouseClick(w.form().printButton, Qt::LeftButton);
        QTest::mouseClick(w.form().printButton, Qt::LeftButton);
    });
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text,
        QStringLiteral(
            "The text of series \"names\" does not fit its box or the card and is cut on every card. Make its "
            "box larger or its text smaller.\n\nPrint the cards anyway?"));
    EXPECT_EQ(ui.messages[1].text, ui.messages[0].text);
    EXPECT_EQ(ui.fileRequests.size(), 1u) << "No asks for no file";
    const QString log = folder + QStringLiteral("/guests (Tessaline Card notes).log");
    EXPECT_TRUE(ui.messages[2].text.endsWith(Run_Log::note(log))) << ui.messages[2].text.toStdString();
    QFile list(log);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll().count('\n'), 1 + 6);
    // Printed again whole from a sheet hiding rows: told with the sheets, none called not whole, the old list gone.
    host.addedToFront.clear();
    host.sheetNote
        = QStringLiteral("1 of the rows that make cards is hidden in the workbook; it makes a card like the others.");
    host.Check_Series_Or_Excel_Use_or_not();
    ui.fileAnswers.push_back(folder + QStringLiteral("/guests"));
    withPrintWindow(ui, host, [](Print_Wnd& w) { QTest::mouseClick(w.form().printButton, Qt::LeftButton); });
    EXPECT_EQ(Open_Export_Log::defaultInstance().form()._open_log_message->text(),
        QStringLiteral("6 sheets were written to guests.pdf.\n\n") + host.sheetNote);
    EXPECT_FALSE(QFileInfo::exists(log));
}

TEST(PrintWindow, ACardBiggerThanThePaperAsksFirst)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    ui.messageAnswers = { 0 };
    withPrintWindow(ui, host, [](Print_Wnd& w) {
        typeInto(w.form().width_Stepper, QStringLiteral("300"));
        QTest::mouseClick(w.form().printButton, Qt::LeftButton);
    });
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, platform::MessageRequest::Kind::YesNo);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("'Card Size' is bigger than selected 'Paper Size'")));
    EXPECT_TRUE(ui.fileRequests.empty()); // No: nothing printed
}

TEST(PrintWindow, PreviewShowsTheSheetsCappedAtFifty)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    int previewPages = 0;
    withPrintWindow(ui, host, [&ui, &previewPages](Print_Wnd& w) {
        typeInto(w.form().Col_Stepper, QStringLiteral("2"));
        typeInto(w.form().Total_Stepper, QStringLiteral("120"));
        ui.modalRuns.push_front([&previewPages](QDialog& dialog) {
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            if (widget) {
                widget->updatePreview();
                previewPages = widget->pageCount();
            }
            return 0;
        });
        QTest::mouseClick(w.form().previewButton, Qt::LeftButton);
    });
    EXPECT_EQ(previewPages, 50);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), Printing_View::previewCapMessage());
    EXPECT_NE(
        std::find(ui.dialogsRun.begin(), ui.dialogsRun.end(), QStringLiteral("printPreview")), ui.dialogsRun.end());
}

TEST(PrintWindow, PaperNamesBySize)
{
    const struct {
        const char *width, *height, *name;
    } cases[] = { { "210.00", "297.00", "A4" }, { "216.00", "279.00", "US Letter" }, { "297.00", "420.00", "A3" },
        { "100.00", "148.00", "Postcard" }, { "123.00", "456.00", "" } };
    for (const auto& c : cases)
        EXPECT_EQ(Print_Wnd::Find_Papaer_Name_From_Size(QLatin1String(c.width), QLatin1String(c.height)),
            QLatin1String(c.name));
}

TEST(PrintWindow, CardsThatTileThePaperExactlyAllFit)
{
    const struct {
        QPageSize::PageSizeId paper;
        QPageLayout::Orientation orientation;
        const char *width, *height; // the card in millimetres
        int rows, cols;
    } cases[] = {
        { QPageSize::A4, QPageLayout::Landscape, "148", "105", 2, 2 }, // A6 postcards
        { QPageSize::A4, QPageLayout::Portrait, "105", "148", 2, 2 },
        { QPageSize::A4, QPageLayout::Portrait, "70", "37.125", 8, 3 },
        { QPageSize::A5, QPageLayout::Landscape, "105", "74", 2, 2 },
        { QPageSize::Letter, QPageLayout::Portrait, "107.95", "69.85", 4, 2 },
        { QPageSize::A3, QPageLayout::Portrait, "148.5", "210", 2, 2 },
    };
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    withPrintWindow(ui, host, [&cases](Print_Wnd& w) {
        for (const auto& c : cases) {
            SCOPED_TRACE(QPageSize(c.paper).name().toStdString() + ' ' + c.width);
            w.printInfo().setPageSize(QPageSize(c.paper));
            w.form().Orient_ComboBox->setCurrentIndex(c.orientation == QPageLayout::Landscape ? 1 : 0);
            w.Set_values_From_Printer();
            EXPECT_NEAR(w.preview().paperOnScreen().top(), 8, 0.5); // no band above
            typeInto(w.form().width_Stepper, QLatin1String(c.width));
            typeInto(w.form().height_Stepper, QLatin1String(c.height));
            for (int more : { 0, 1 }) { // one more of either does not fit
                typeInto(w.form().Row_Stepper, QString::number(c.rows + more));
                typeInto(w.form().Col_Stepper, QString::number(c.cols + more));
                EXPECT_EQ(std::make_pair(w.layout().Print_Row, w.layout().Print_Col), std::make_pair(c.rows, c.cols));
                EXPECT_TRUE(more || w.form().Total_Stepper->value() == c.rows * c.cols);
            }
        }
    });
}

// The preview's own orientation buttons turn the printer: the window shows it and the file is printed on it.
TEST(PrintWindow, ThePreviewsOrientationIsWhatTheWindowShowsAndTheFileHolds)
{
    testsupport::ScriptedResponder ui;
    Fake_Print_Host host(0);
    const QString path = testsupport::makeTempFolder(QStringLiteral("turned")) + QStringLiteral("/cards.pdf");
    ui.fileAnswers.push_back(path);
    const QPageLayout before = Print_Wnd::defaultInstance().printInfo().pageLayout();
    QString shown;
    withPrintWindow(ui, host, [&ui, &shown](Print_Wnd& w) {
        w.printInfo().setPageSize(QPageSize(QPageSize::A5));
        w.form().Orient_ComboBox->setCurrentIndex(0);
        ui.modalRuns.push_front([](QDialog& dialog) {
            for (QAction* action : dialog.findChildren<QAction*>())
                if (action->text() == QLatin1String("Landscape"))
                    action->trigger();
            return 0;
        });
        QTest::mouseClick(w.form().previewButton, Qt::LeftButton);
        shown = w.form().Orient_ComboBox->currentText() + QLatin1Char(' ') + w.form().Size_id->text();
        QTest::mouseClick(w.form().printButton, Qt::LeftButton);
    });
    Print_Wnd::defaultInstance().printInfo().setPageLayout(before);
    EXPECT_EQ(shown, QStringLiteral("Landscape 210.00 x 148.00"));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().contains("/MediaBox [0 0 595.000000 420.000000]")) << "A5 landscape";
}
