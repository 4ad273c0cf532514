// Cards exported through the main window from data another program wrote, read back by a real scanner: a
// series file with Windows line ends, and a workbook bound again after its columns were put in another order.
#include "editor/SeriesEditorFixture.h"

#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"
#include "data/Import_Excel.h"
#include "data/SpreadsheetWriter.h"

#include <QImage>
#include <QTemporaryDir>

using editortest::SeriesEditorTest;

namespace {

// The barcodes of a card's upper and lower halves, one scan each (ZXingReader stops on a picture holding
// several symbols).
QStringList scanHalves(const QString& path)
{
    const QImage card(path);
    const QString folder = testsupport::makeTempFolder(QStringLiteral("roads-halves"));
    QStringList texts;
    for (const int half : { 0, 1 }) {
        const QString part = QDir(folder).filePath(QStringLiteral("half%1.png").arg(half));
        EXPECT_TRUE(card.copy(0, half * card.height() / 2, card.width(), card.height() / 2).save(part));
        QString out;
        testsupport::runProgram(QStringLiteral("ZXingReader"), { QStringLiteral("-norotate"), part }, &out);
        for (const QString& line : out.split(QLatin1Char('\n'))) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith(QLatin1String("Text:")))
                texts << trimmed.mid(5).trimmed().remove(QLatin1Char('"'));
        }
    }
    return texts;
}

} // namespace

class DataRoadsPeer : public SeriesEditorTest {
protected:
    TSLGraphicPtr barcode(int sourceType, const QString& series, int column, double y)
    {
        auto item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLBarcode"));
        Barcode_Gen defaults;
        defaults.barcodeTypePopup.select(int(Barcode_Type_Titles().indexOf(QStringLiteral("Code 128"))));
        defaults.hideHeaderCheckbox.state = 1;
        defaults.hideFooterCheckbox.state = 1;
        defaults.Store_Barcode_Prop_In_Item(*item);
        item->setBounds(QRectF(12, y, 220, 60));
        item->ctrl_is_visible = true;
        item->data_source_type = sourceType;
        item->batch_list_name = series;
        item->excel_col_indx = column;
        addItem(item, TSLDocumentGraphicsKey);
        return item;
    }
    // Every column of the workbook's first sheet, as Select All and OK choose them.
    void bindWorkbook(const QString& path)
    {
        ui.fileAnswers.push_back(path);
        ui.modalRuns.push_back([](QDialog& dialog) {
            dialog.show();
            Import_Excel* picker = Import_Excel::defaultInstance();
            picker->Select_ALL_Pressed();
            picker->OKPressed();
            return dialog.result();
        });
        window->Bind_Spreadsheet_btn->trigger();
    }
};

TEST_F(DataRoadsPeer, CrLfSeriesAndReorderedWorkbookCardsScanAsTheirRecords)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader"))) << "ZXingReader is not installed";
    // Windows line ends, and one line from an old Mac tool.
    writeSeries(QStringLiteral("codes"), "A-100\r\nB-200\rC-300\r\n");
    EXPECT_EQ(window->Get_First_Value_Of_Dataset(QStringLiteral("codes")), QStringLiteral("A-100"));
    const QString folder = testsupport::makeTempFolder(QStringLiteral("roads"));
    const QString book = folder + QStringLiteral("/guests.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(book, { { "Seat", "Name" }, { "S1", "Ada" }, { "S2", "Bo" } }, true));
    bindWorkbook(book);
    barcode(1, QStringLiteral("codes"), 0, 10);
    barcode(2, QString(), 1, 85); // "Seat"
    // The same guests, saved by another program with a column put first: the item follows "Seat".
    const QString moved = testsupport::makeTempFolder(QStringLiteral("roads-moved")) + QStringLiteral("/guests.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(
        moved, { { "Name", "No", "Seat" }, { "Ada", "1", "S1" }, { "Bo", "2", "S2" }, { "Cy", "3", "S3" } }, true));
    bindWorkbook(moved);

    QTemporaryDir target;
    ui.modalRuns.push_back([](QDialog&) { return 1; }); // the export window: front, PNG
    ui.fileAnswers.push_back(target.path());
    ui.modalRuns.push_back([](QDialog&) { return 0; }); // the export notice, closed
    window->Export_Button();
    EXPECT_EQ(window->Export_File_Message, QStringLiteral("Card has been exported successfully."));

    const QDir cards(QDir(target.path()).filePath(Batch_Export_Folder_Name));
    const QStringList expected[] = { { "A-100", "S1" }, { "B-200", "S2" }, { "C-300", "S3" } };
    ASSERT_EQ(cards.entryList(QDir::Files).size(), 3);
    for (int record = 0; record < 3; ++record) {
        const QStringList files = cards.entryList({ QStringLiteral("*_%1.*").arg(record + 1) }, QDir::Files);
        ASSERT_EQ(files.size(), 1) << record;
        EXPECT_EQ(scanHalves(cards.filePath(files.first())), expected[record]) << "card " << record + 1;
    }
}
