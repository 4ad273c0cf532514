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

// A card of the earlier export that has become a link, and the person's own files, are never touched.
TEST_F(BatchExportScenario, ExportingAgainAsksAboutTheEarlierExportsCardsItWillNotWrite)
{
    boundText(1, QStringLiteral("guests"), 0, 10);
    const auto exportGuests = [this](int count, const char* name, const QString& into, bool finished) {
        QByteArray names;
        for (int i = 1; i <= count; ++i)
            names += name + QByteArray::number(i) + "\n";
        writeSeries(QStringLiteral("guests"), names);
        ui.modalRuns.push_back([](QDialog&) { return 1; });
        ui.fileAnswers.push_back(into);
        if (finished)
            ui.modalRuns.push_back([](QDialog&) { return 0; }); // the export-finished notice
        window->Export_Button();
    };
    const struct {
        int answer; // Cancel, Remove, Keep
        QStringList left; // beside Card_1 to Card_40
        const char* told;
    } rows[] = {
        { 0, { "Card_41.PNG", "Card_42.PNG" }, nullptr },
        { 1, { "Card_42.PNG" }, "The folder now holds the 40 cards of this export and no card of an earlier export." },
        { 2, { "Card_41.PNG", "Card_42.PNG" },
            "The folder now holds the 40 cards of this export and 1 card picture of an earlier export." },
    };
    for (const auto& row : rows) {
        const QDir chosen(target.filePath(QString::number(row.answer)));
        const QDir folder(chosen.filePath(Batch_Export_Folder_Name));
        ASSERT_TRUE(chosen.mkpath(QStringLiteral(".")));
        exportGuests(42, "Guest ", chosen.path(), true);
        ASSERT_EQ(folder.entryList(QDir::Files).size(), 42);
        ASSERT_TRUE(QFile::remove(folder.filePath(QStringLiteral("Card_42.PNG"))));
        ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("notes.txt")), folder.filePath("Card_42.PNG")));
        for (const char* own : { "notes.txt", "Card_99.PNG", "Card_1.PNG" }) { // Card_1 the earlier export's, marked
            QFile file(folder.filePath(QString::fromLatin1(own)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("the person's own") > 0);
        }
        ui.messages.clear();
        ui.messageAnswers.push_back(row.answer);
        exportGuests(40, "Friend ", chosen.path(), row.told);

        ASSERT_EQ(ui.messages.size(), 1u) << row.answer;
        EXPECT_TRUE(ui.messages[0].buttons == QStringList({ "Cancel", "Remove", "Keep" })
            && ui.messages[0].text.contains(QStringLiteral("holds 1 card picture of an earlier export")))
            << ui.messages[0].text.toStdString();
        QStringList expected = row.left + QStringList { "Card_99.PNG", "notes.txt" };
        for (int i = 1; i <= 40; ++i)
            expected << QStringLiteral("Card_%1.PNG").arg(i);
        expected.sort();
        EXPECT_EQ(cardsIn(chosen.path()), expected) << row.answer;
        EXPECT_EQ(QFileInfo(folder.filePath("Card_1.PNG")).size() == 16, row.told == nullptr)
            << "Cancel writes nothing";
        EXPECT_EQ(QFileInfo(folder.filePath("notes.txt")).size(), 16);
        EXPECT_TRUE(!row.told || window->Export_File_Message.endsWith(QString::fromLatin1(row.told)))
            << window->Export_File_Message.toStdString();
    }
}

TEST_F(BatchExportScenario, ACutNameIsAskedAboutBeforeAnythingIsWrittenAndTheCardsNotWholeAreListed)
{
    writeSeries(QStringLiteral("guests"), "Ada\nBartholomew Castelnuovo-Montenegro of Vallombrosa\n");
    boundText(1, QStringLiteral("guests"), 0, 10);
    const QDir folder(target.filePath(Batch_Export_Folder_Name));
    for (const int yes : { 0, 1 }) {
        ui.messages.clear();
        ui.messageAnswers.push_back(yes);
        answerExport();
        if (yes)
            ui.modalRuns.push_back([](QDialog&) { return 0; }); // the export-finished notice
        window->Export_Button();
        EXPECT_EQ(messageTexts(ui),
            QStringList { "The text of series \"guests\" does not fit its box or the card and is cut on 1 of 2 cards "
                          "(record 2). Make its box larger or its text smaller.\n\nExport the cards anyway?" });
        EXPECT_EQ(folder.exists(), yes == 1);
    }
    const QString list = folder.filePath(QStringLiteral("Tessaline Card notes.log"));
    EXPECT_TRUE(window->Export_File_Message.endsWith(QStringLiteral("is listed in ") + list))
        << window->Export_File_Message.toStdString();
    QFile log(list);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().endsWith("2\tBartholomew Castelnuovo-Montenegro of Vallombrosa\ta text does not fit its "
                                       "box or the card and is cut (series \"guests\")\n"));
}
