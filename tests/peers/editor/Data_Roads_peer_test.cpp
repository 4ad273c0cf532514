// Cards exported through the main window from data another program wrote, read back by a real scanner: a
// series file with Windows and old Mac line ends, and a workbook bound again after its columns were put first,
// then edited with openpyxl while the design was closed.
#include "../../output/BatchTestSupport.h"
#include "editor/SeriesEditorFixture.h"

#include "data/Import_Excel.h"
#include "data/SpreadsheetWriter.h"
#include "support/Barcode2D_Peers.h"

#include <QTemporaryDir>

using editortest::SeriesEditorTest;

static void exportAndScan(testsupport::ScriptedResponder& ui, TSLWindowController* window, const QString& folder,
    const char* const (*expected)[2]);

TEST_F(SeriesEditorTest, CrLfSeriesAndReorderedWorkbookCardsScanAsTheirRecords)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader"))) << "ZXingReader is not installed";
    writeSeries(QStringLiteral("codes"), "A-100\r\nB-200\rC-300\r\n");
    EXPECT_EQ(window->Get_First_Value_Of_Dataset(QStringLiteral("codes")), QStringLiteral("A-100"));
    auto bindEveryColumnOf = [this](const QString& path, const SpreadsheetWriter::Rows& rows) {
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true));
        ui.fileAnswers.push_back(path);
        ui.modalRuns.push_back([](QDialog& dialog) {
            Import_Excel::defaultInstance()->Select_ALL_Pressed();
            Import_Excel::defaultInstance()->OKPressed();
            return dialog.result();
        });
        window->Bind_Spreadsheet_btn->trigger();
    };
    const QString folder = testsupport::makeTempFolder(QStringLiteral("roads"));
    bindEveryColumnOf(folder + QStringLiteral("/guests.xlsx"), { { "Seat", "Name" }, { "S1", "Ada" }, { "S2", "Bo" } });
    const auto seat = batchtest::boundCode128(QString(), { 12, 85, 220, 60 });
    seat->data_source_type = 2;
    seat->excel_col_indx = 1; // "Seat"
    addItem(batchtest::boundCode128(QStringLiteral("codes"), { 12, 10, 220, 60 }), TSLDocumentGraphicsKey);
    addItem(seat, TSLDocumentGraphicsKey);
    bindEveryColumnOf(folder + QStringLiteral("/moved.xlsx"),
        { { "Name", "No", "Seat" }, { "Ada", "1", "S1" }, { "Bo", "2", "S2" }, { "Cy", "3", "S3" } });
    const char* const expected[][3][2] = { { { "A-100", "S1" }, { "B-200", "S2" }, { "C-300", "S3" } },
        { { "A-100", "T1" }, { "B-200", "T2" }, { "C-300", "T3" } } };
    exportAndScan(ui, window.get(), folder, expected[0]);

    // Then the design saved, the workbook edited with openpyxl (the seats changed, their column put first) and
    // the design opened again: the person is told, and the cards come from the workbook as it is now.
    const QString design = folder + QStringLiteral("/party.dcard");
    ui.fileAnswers.push_back(design);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    ASSERT_EQ(
        testsupport::runProgram(QStringLiteral("/usr/bin/python3"),
            { QStringLiteral(TESSALINE_TEST_SOURCE_DIR "/peers/data/openpyxl_book.py"), QStringLiteral("rewrite"),
                folder + QStringLiteral("/moved.xlsx"), QStringLiteral("Seat,Name,No;T1,Ada,1;T2,Bo,2;T3,Cy,3") }),
        0);
    ui.messages.clear();
    ASSERT_EQ(window->Read_and_load_design_Log(design, QStringLiteral("L")), 1);
    EXPECT_EQ(editortest::messageTexts(ui),
        QStringList { QStringLiteral(
            "The workbook \"moved.xlsx\" has changed: the design now shows its new data (3 records).") });
    exportAndScan(ui, window.get(), folder, expected[1]);
}

void exportAndScan(testsupport::ScriptedResponder& ui, TSLWindowController* window, const QString& folder,
    const char* const (*expected)[2])
{
    QTemporaryDir target;
    ui.modalRuns.push_back([](QDialog&) { return 1; }); // the export window: front, PNG
    ui.fileAnswers.push_back(target.path());
    ui.modalRuns.push_back([](QDialog&) { return 0; }); // the export notice, closed
    window->Export_Button();
    EXPECT_EQ(window->Export_File_Message, QStringLiteral("Card has been exported successfully."));

    // Each card's halves scanned apart: ZXingReader stops on a picture holding several symbols.
    const QDir cards(QDir(target.path()).filePath(Batch_Export_Folder_Name));
    ASSERT_EQ(cards.entryList(QDir::Files).size(), 3);
    QHash<QString, QByteArray> wanted;
    for (int record = 0; record < 3; ++record) {
        const QImage card(cards.filePath(cards.entryList({ QStringLiteral("*_%1.*").arg(record + 1) }).value(0)));
        for (const int half : { 0, 1 })
            wanted.insert(
                barcode2d_peers::savePng(card.copy(0, half * card.height() / 2, card.width(), card.height() / 2),
                    folder, QStringLiteral("card%1-%2.png").arg(record + 1).arg(half)),
                expected[record][half]);
    }
    const QStringList wrong = barcode2d_peers::mismatches(wanted,
        barcode2d_peers::zxingDecode(wanted.keys(), QStringLiteral("Code128"), { QStringLiteral("-norotate") }));
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(QLatin1Char(' ')).toStdString();
}
