// A person binds texts to a series or to spreadsheet columns and exports one card per record from the
// export button: the folder fills with the records' cards, the progress sheet can stop the run, and the
// canvas shows the first record afterwards.
#include "editor/SeriesEditorFixture.h"

#include "output/Send_Modeless.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using editortest::messageTexts;
using editortest::SeriesEditorTest;

namespace {

QStringList cardsIn(const QString& folder)
{
    QStringList names = QDir(QDir(folder).filePath(Batch_Export_Folder_Name)).entryList(QDir::Files);
    names.sort();
    return names;
}

} // namespace

class BatchExportScenario : public SeriesEditorTest {
protected:
    QTemporaryDir target;

    TSLGraphicPtr boundText(int sourceType, const QString& series, int column, double y)
    {
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
        item->setBounds(QRectF(10, y, 150, 24));
        item->Text_contents().string = QStringLiteral("typed");
        item->ctrl_is_visible = true;
        item->data_source_type = sourceType;
        item->batch_list_name = series;
        item->batch_list_index = 3; // a position from another day's folder listing
        item->excel_col_indx = column;
        addItem(item, TSLDocumentGraphicsKey);
        return item;
    }

    // Exports 5,000 records and presses Stop on the progress sheet once a card is written, answering Yes to
    // its question: the run ends early, says how many cards it wrote and puts the first record back.
    void exportManyAndPressStop()
    {
        QByteArray many;
        for (int i = 0; i < 5000; ++i)
            many += "Guest " + QByteArray::number(i) + "\n";
        writeSeries(QStringLiteral("guests"), many);
        const TSLGraphicPtr text = boundText(1, QStringLiteral("guests"), 0, 10);
        answerExport();
        ui.messageAnswers.push_back(1); // Yes to the Stop question
        ui.modalRuns.push_back([](QDialog&) { return 0; });
        QTimer stopper; // pressed once the sheet shows a card written
        QObject::connect(&stopper, &QTimer::timeout, [this, &stopper] {
            if (window->send_modls_wnd && window->send_modls_wnd->isVisible() && !cardsIn(target.path()).isEmpty()) {
                stopper.stop();
                QTest::mouseClick(window->send_modls_wnd->_stop_btn, Qt::LeftButton);
            }
        });
        stopper.start(10);

        window->Export_Button();

        EXPECT_TRUE(messageTexts(ui).contains(QStringLiteral("Are you sure you want to continue?")));
        const qsizetype written = cardsIn(target.path()).size();
        EXPECT_GT(written, 0);
        EXPECT_LT(written, 5000);
        EXPECT_EQ(window->Export_File_Message,
            QStringLiteral("The export was stopped: %1 of 5000 cards have been exported.").arg(written));
        EXPECT_EQ(text->Text_contents().string, QStringLiteral("Guest 0"));
        EXPECT_FALSE(window->send_modls_wnd->isVisible());
    }

    // The export window answered with OK as it opens (front side, PNG), then the folder.
    void answerExport()
    {
        ui.modalRuns.push_back([](QDialog&) { return 1; });
        ui.fileAnswers.push_back(target.path());
    }
};

TEST_F(BatchExportScenario, SeriesBoundTextGivesOneCardPerRecordAndTheFirstRecordStays)
{
    writeSeries(QStringLiteral("aaa"), "unrelated\n");
    writeSeries(QStringLiteral("guests"), "Ada\nBob\nCy\n");
    const TSLGraphicPtr text = boundText(1, QStringLiteral("guests"), 0, 10);
    answerExport();
    ui.modalRuns.push_back([](QDialog&) { return 0; }); // the export-finished notice, closed

    window->Export_Button();

    EXPECT_EQ(cardsIn(target.path()), (QStringList { "Card_1.PNG", "Card_2.PNG", "Card_3.PNG" }))
        << "the file type title is the extension, unchanged";
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].kind, platform::FileRequest::Kind::Folder);
    EXPECT_EQ(window->Export_File_Message, QStringLiteral("Card has been exported successfully."));
    EXPECT_EQ(window->Export_File_Path, QDir(target.path()).filePath(Batch_Export_Folder_Name));
    EXPECT_EQ(text->Text_contents().string, QStringLiteral("Ada")) << "the canvas shows record 0";
    EXPECT_FALSE(Card_Value_In_Process.load());
    ASSERT_NE(window->send_modls_wnd, nullptr);
    EXPECT_FALSE(window->send_modls_wnd->isVisible()) << "the progress sheet always closes";
    EXPECT_EQ(window->send_modls_wnd->_Curr_Progress->value(), 3);
}

TEST_F(BatchExportScenario, SpreadsheetAndSeriesTogetherRunAsLongAsTheLongerSource)
{
    writeSeries(QStringLiteral("guests"), "Ada\nBob\nCy\nDee\n");
    boundText(1, QStringLiteral("guests"), 0, 10);
    boundText(2, QString(), 1, 40);
    window->bindingTable.Create_List_By_Array({ QStringLiteral("Table 1") }, 1);
    window->bindingTable.Create_List_By_Array({ QStringLiteral("Table 2") }, 1);

    window->Check_Series_Or_Excel_Use_or_not();
    EXPECT_TRUE(window->Use_Data_Sheet_Values);
    EXPECT_TRUE(window->Use_Excel_Binding_Values);
    EXPECT_EQ(window->Total_Batch_Excel_Card, 4);
    // The user leaves the series out in the export window: the spreadsheet alone counts.
    window->Use_Data_Sheet_Values = false;
    window->Get_total_Card_count();
    EXPECT_EQ(window->Total_Batch_Excel_Card, 2);
}

TEST_F(BatchExportScenario, NoBoundItemExportsTheSingleCard)
{
    boundText(0, QString(), 0, 10);
    // A text bound on the back, to a series or to the spreadsheet, counts only while the card has a back.
    writeSeries(QStringLiteral("guests"), "Ada\nBob\n");
    for (const char* table : { "Table 1", "Table 2", "Table 3" })
        window->bindingTable.Create_List_By_Array({ QString::fromLatin1(table) }, 1);
    TSLGraphicPtr onBack = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
    onBack->batch_list_name = QStringLiteral("guests");
    addItem(onBack, TSLDocumentGraphicsKey_back);
    const QString sides = CARD_SIDE_STR;
    const struct {
        int source;
        const char* sides;
        int cards;
    } rows[] = { { 1, "2", 2 }, { 1, "1", 0 }, { 2, "2", 3 }, { 2, "1", 0 } };
    for (const auto& row : rows) {
        onBack->data_source_type = row.source;
        CARD_SIDE_STR = QString::fromLatin1(row.sides);
        window->Check_Series_Or_Excel_Use_or_not();
        EXPECT_EQ(window->Total_Batch_Excel_Card, row.cards) << row.source << " on sides " << row.sides;
    }
    CARD_SIDE_STR = sides;
    document.removeGraphicsForKey(TSLDocumentGraphicsKey_back, { 0 });
    window->Check_Series_Or_Excel_Use_or_not();
    EXPECT_FALSE(window->Use_Data_Sheet_Values);
    EXPECT_FALSE(window->Use_Excel_Binding_Values);
    EXPECT_EQ(window->Total_Batch_Excel_Card, 0);
    ui.modalRuns.push_back([](QDialog&) { return 1; });
    ui.fileAnswers.push_back(QDir(target.path()).filePath(QStringLiteral("one.png")));
    window->Export_Button();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].kind, platform::FileRequest::Kind::Save);
    EXPECT_TRUE(QFile::exists(QDir(target.path()).filePath(QStringLiteral("one.png"))));
}

TEST_F(BatchExportScenario, StopOnTheProgressSheetEndsTheRun)
{
    exportManyAndPressStop();
}

TEST_F(BatchExportScenario, ProgressSheetStillAnswersAfterTheApplicationWasAskedToQuit)
{
    // Once the application has been asked to quit, event loops end as soon as they start: the run's wait
    // must still keep the window answering, or the window freezes until the last card is written.
    QCoreApplication::exit(0);
    exportManyAndPressStop();
    // The application as the other tests expect it: its main loop run and ended once more.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST_F(BatchExportScenario, AFolderThatCannotBeMadeIsReportedAndNothingWritten)
{
    writeSeries(QStringLiteral("guests"), "Ada\n");
    boundText(1, QStringLiteral("guests"), 0, 10);
    // A file stands where the export folder would go.
    QFile blocker(QDir(target.path()).filePath(Batch_Export_Folder_Name));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    answerExport();
    window->Export_Button();
    EXPECT_TRUE(messageTexts(ui).contains(QStringLiteral(
        "Unable to continue saving barcode image.\n\nEither Destination Drive is inaccessible or there is no free "
        "space available in drive to save barcode image.")));
    EXPECT_TRUE(window->Export_File_Message.isEmpty());
}

TEST_F(BatchExportScenario, ExportWindowOffersTheSourcesInUseAndUntickingTheOnlyOneExportsASingleCard)
{
    writeSeries(QStringLiteral("guests"), "Ada\nBob\n");
    boundText(1, QStringLiteral("guests"), 0, 10);
    bool seriesOffered = false;
    bool sheetOffered = true;
    ui.modalRuns.push_back([&](QDialog& dialog) {
        auto* series = dialog.findChild<QCheckBox*>(QStringLiteral("Export_with_batch_chk"));
        auto* sheet = dialog.findChild<QCheckBox*>(QStringLiteral("Export_with_excel_chk"));
        seriesOffered = series->isEnabled() && series->isChecked();
        sheetOffered = sheet->isEnabled();
        QTest::mouseClick(series, Qt::LeftButton, {}, QPoint(5, series->height() / 2));
        return 1;
    });
    ui.fileAnswers.push_back(QDir(target.path()).filePath(QStringLiteral("single.png")));
    window->Export_Button();
    EXPECT_TRUE(seriesOffered);
    EXPECT_FALSE(sheetOffered);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].kind, platform::FileRequest::Kind::Save);
    EXPECT_TRUE(QFile::exists(QDir(target.path()).filePath(QStringLiteral("single.png"))));
    EXPECT_TRUE(cardsIn(target.path()).isEmpty());
}
