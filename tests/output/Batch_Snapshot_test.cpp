#include "BatchTestSupport.h"
#include "barcode/Barcode_Item_Symbol.h"
#include "barcode/Barcode_Vector_Drawing.h"

#include "common/Globals.h"
#include "model/CraftedPictures.h"
#include "model/ImageProcesser.h"
#include "model/PictureCache.h"
#include "model/PictureRenditions.h"
#include "output/Barcode_Readability.h"
#include "output/Batch_Export_Run.h"
#include "output/MailTestSupport.h"
#include "output/Run_Log.h"
#include "output/Send_Mail_Run.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <thread>

using namespace batchtest;

namespace {

Record_Source seriesAndSheet()
{
    Record_Source source;
    source.useSeries = true;
    source.useSpreadsheet = true;
    source.series.insert(QStringLiteral("names"),
        { QStringLiteral(" Ada "), QStringLiteral("Bob"), QString(), QStringLiteral("Dee"), QStringLiteral("Eve") });
    source.series.insert(QStringLiteral("short"), { QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("s3") });
    for (int i = 0; i < 2; ++i) {
        Spreadsheet_Binding_Table::Row row;
        row.insert(QStringLiteral("Extension"), QString::number(i + 1));
        row.insert(QStringLiteral("Column1"), QStringLiteral("sheet%1").arg(i));
        source.rows.append(row);
    }
    return source;
}

QString textOf(const TSLGraphicPtr& item)
{
    return item->Text_contents().string;
}

} // namespace

TEST(RecordSource, CountsTheLongerSourceNeverTheSum)
{
    Record_Source source = seriesAndSheet();
    EXPECT_EQ(source.seriesRows(), 5);
    EXPECT_EQ(source.spreadsheetRows(), 2);
    EXPECT_EQ(source.recordCount(), 5);
    source.useSeries = false;
    EXPECT_EQ(source.recordCount(), 2);
    source.useSpreadsheet = false;
    EXPECT_EQ(source.recordCount(), 0);
}

TEST(RecordFill, TextValuesPerRecordFromEachSource)
{
    const Batch_Snapshot::Side front { { boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 100, 20)),
                                           boundText(1, QStringLiteral("short"), 0, QRectF(10, 40, 100, 20)),
                                           boundText(2, QString(), 1, QRectF(10, 70, 100, 20)),
                                           boundText(2, QString(), 0, QRectF(10, 100, 100, 20)),
                                           boundText(0, QStringLiteral("names"), 0, QRectF(10, 130, 100, 20)) },
        creditCardSide(0) };
    const auto snapshot = Batch_Snapshot::take(front, {}, false, seriesAndSheet(), Barcode_Gen());
    ASSERT_EQ(snapshot->recordCount(), 5);

    // record, series "names" (trimmed), series "short", spreadsheet column 1, spreadsheet row number
    const struct {
        int record;
        const char* names;
        const char* shortSeries;
        const char* column1;
        const char* extension;
    } cases[] = {
        { 0, "Ada", "s1", "sheet0", "1" },
        { 1, "Bob", "s2", "sheet1", "2" },
        { 2, "", "s3", "", "" }, // a blank line is an empty record; the sheet has ended
        { 3, "Dee", "", "", "" }, // the shorter series has ended
        { 4, "Eve", "", "", "" },
    };
    for (const auto& c : cases) {
        const TSLGraphicList items = snapshot->filledItems(c.record, QStringLiteral("F"));
        ASSERT_EQ(items.size(), 5u);
        EXPECT_EQ(textOf(items[0]), QString::fromUtf8(c.names)) << c.record;
        EXPECT_EQ(textOf(items[1]), QString::fromUtf8(c.shortSeries)) << c.record;
        EXPECT_EQ(textOf(items[2]), QString::fromUtf8(c.column1)) << c.record;
        EXPECT_EQ(textOf(items[3]), QString::fromUtf8(c.extension)) << c.record;
        EXPECT_EQ(textOf(items[4]), QStringLiteral("typed")) << "a typed item keeps its value";
        // The formatting of the old text stays.
        EXPECT_EQ(items[0]->Text_contents().font.pointSize(), 14);
    }
}

TEST(RecordFill, SourceSwitchedOffLeavesItsItemsAsTheyAre)
{
    Record_Source source = seriesAndSheet();
    source.useSeries = false;
    const Batch_Snapshot::Side front { { boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 100, 20)),
                                           boundText(2, QString(), 1, QRectF(10, 40, 100, 20)) },
        creditCardSide(0) };
    const auto snapshot = Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
    const TSLGraphicList items = snapshot->filledItems(1, QStringLiteral("F"));
    EXPECT_EQ(textOf(items[0]), QStringLiteral("typed"));
    EXPECT_EQ(textOf(items[1]), QStringLiteral("sheet1"));
}

TEST(RecordFill, SeriesFoundByNameWhateverTheStoredIndex)
{
    // The item was bound when "short" stood third in the folder; series came and went since.
    auto text = boundText(1, QStringLiteral("short"), 0, QRectF(10, 10, 100, 20));
    text->batch_list_index = 0;
    auto stale = boundText(1, QStringLiteral("gone"), 0, QRectF(10, 40, 100, 20));
    stale->batch_list_index = 1;
    const auto snapshot
        = Batch_Snapshot::take({ { text, stale }, creditCardSide(0) }, {}, false, seriesAndSheet(), Barcode_Gen());
    const TSLGraphicList items = snapshot->filledItems(1, QStringLiteral("F"));
    EXPECT_EQ(textOf(items[0]), QStringLiteral("s2"));
    EXPECT_EQ(textOf(items[1]), QStringLiteral("typed")) << "a series that no longer exists gives no other series' "
                                                            "data: the item shows what the canvas shows";
}

// Each way a card goes without part of its data, as the run's final message counts it; none says
// "successfully". Rows: the item, what it shows on record 1, what is told before the run, the note, a sheet's note.
TEST(RecordFill, CardsMissingPartOfTheirDataAreCountedAndNoRunCallsItASuccess)
{
    Record_Source source = seriesAndSheet();
    source.titles = QStringList { QStringLiteral("#"), QStringLiteral("Name"), QStringLiteral("Photo") };
    const struct {
        TSLGraphicPtr item;
        const char* shown;
        const char* notice; // told before the run
        const char* note; // in the final message
        int clearedRow = -1; // a row of the sheet whose Name was deleted, its row number kept
        const char* sheetNote = "";
    } cases[] = {
        { boundText(2, QString(), 2, QRectF(10, 10, 100, 20)), "",
            "1 item is bound to a column this sheet does not have: Photo",
            "2 cards are made without the column this sheet does not have: Photo." },
        { boundText(1, QString(), 0, QRectF(10, 10, 100, 20)), "typed", "", // no series chosen
            "5 cards are made with an item bound to a series that gives it no value: it shows what the canvas "
            "shows." },
        { boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 30, 8)), "Bob", "",
            "4 cards are made with a text that does not fit its box or the card and is cut (series \"names\"): "
            "records 1, 2, 4 and 5." },
        { boundText(0, QString(), 0, QRectF(10, 145, 100, 30)), "typed", "", // whole in its box, past the card
            "5 cards are made with a text that does not fit its box or the card and is cut (text \"typed\"): "
            "records 1, 2, 3, 4 and 5." },
        // Data that runs out and a barcode without a value name their records (record 3's blank text is a value).
        { boundText(1, QStringLiteral("short"), 0, QRectF(10, 10, 100, 20)), "s2", "",
            "2 cards are made with an item left blank because its data has run out (series \"short\"): records 4 "
            "and 5." },
        { boundText(2, QString(), 1, QRectF(10, 10, 100, 20)), "sheet1", "",
            "3 cards are made with an item left blank because its data has run out (column \"Name\"): records 3, "
            "4 and 5." },
        { boundCode128(QStringLiteral("names"), QRectF(10, 10, 200, 60)), "Text here", "", // a barcode's text stays
            "1 card is made with a barcode that has no value (series \"names\"): record 3." },
        { boundText(2, QString(), 1, QRectF(10, 10, 100, 20)), "sheet1", "",
            "3 cards are made with an item left blank because its data has run out (column \"Name\"): records 3, "
            "4 and 5.\n\n1 card is made from a row whose bound values are blank (column \"Name\"): record 1.",
            0 },
        { boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 100, 20)), "Bob", "", "", -1,
            "1 of the rows that make cards is hidden in the workbook; it makes a card like the others." }, // no fault:
                                                                                                           // a success
    };
    for (const auto& c : cases) {
        Record_Source cleared = source;
        cleared.recordsNote = QString::fromUtf8(c.sheetNote);
        if (c.clearedRow >= 0)
            cleared.rows[c.clearedRow][QStringLiteral("Column1")].clear();
        const auto snapshot
            = Batch_Snapshot::take({ { c.item }, creditCardSide(0) }, {}, false, cleared, Barcode_Gen());
        const QString note = QString::fromUtf8(c.note);
        EXPECT_EQ(snapshot->columnsNotFoundNotice(), QString::fromUtf8(c.notice)) << c.note;
        for (int record = 0; record < snapshot->recordCount(); ++record) {
            const QString shown = textOf(snapshot->filledItems(record, QStringLiteral("F")).at(0));
            EXPECT_TRUE(record != 1 || shown == QString::fromUtf8(c.shown)) << c.note;
        }
        EXPECT_EQ(snapshot->fillLog().notes(), note);
        EXPECT_EQ(Run_Log::needed(*snapshot), !note.isEmpty()) << c.note;
        Batch_Export_Result exported;
        exported.notes = snapshot->fillLog().notes();
        Send_Mail_Result mailed;
        mailed.lastSendSucceeded = true;
        mailed.fillNotes = exported.notes;
        mailed.sheetNote = exported.sheetNote = snapshot->fillLog().sheetNote();
        for (const QString& message :
            { Batch_Export_Run::finishedMessage(exported), Send_Mail_Run::finalMessage(mailed) }) {
            EXPECT_TRUE(message.endsWith(note + c.sheetNote) && message.contains("successfully") == note.isEmpty())
                << message.toStdString();
        }
    }
}

TEST(RecordFill, TextsCutAreToldBeforeTheRunAndEveryCardNotWholeIsListed)
{
    Record_Source source;
    source.useSeries = true;
    QStringList names;
    for (int i = 0; i < 300; ++i)
        names << (i % 3 ? QStringLiteral("Guest %1").arg(i) : QStringLiteral("Guest %1 Castelnuovo-Montenegro").arg(i));
    source.series.insert(QStringLiteral("names"), names);
    const Batch_Snapshot::Side front { { boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 120, 20)),
                                           boundText(0, QString(), 0, QRectF(10, 140, 100, 30)) }, // past the card
        creditCardSide(0) };
    const auto snapshot = Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
    Barcode_Readability::Run_Check check;
    const Run_Look look = Barcode_Readability::lookAtRun(*snapshot, true, false, 300, true, &check);
    EXPECT_EQ(check.checked.load(), check.total.load());
    EXPECT_EQ(Barcode_Readability::runQuestion(look, 300, Batch_Export_Run::goOnQuestion()),
        QStringLiteral("The text of series \"names\" does not fit its box or the card and is cut on 100 of 300 cards "
                       "(records 1, 4, 7, 10, 13 and 95 more). Make its box larger or its text smaller.\n\nThe text "
                       "\"typed\" does not fit its box or the card and is cut. Make its box larger or its text "
                       "smaller.\n\nExport the cards anyway?"));
    for (int record = 0; record < 300; ++record)
        snapshot->filledItems(record, QStringLiteral("F"));
    const QTemporaryDir folder;
    const QString path = Run_Log::besideFile(folder.filePath(QStringLiteral("Guests.pdf")));
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("Guests (Tessaline Card notes).log"));
    ASSERT_TRUE(Run_Log::write(*snapshot, path));
    QFile log(path);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
    const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 300 + 100); // the heading, every card's typed text, every third card's name
    EXPECT_EQ(lines[0], QStringLiteral("Record\tFirst value\tWhat is wrong"));
    EXPECT_EQ(lines[1],
        QStringLiteral("1\tGuest 0 Castelnuovo-Montenegro\ta text does not fit its box or the card and is cut "
                       "(series \"names\")"));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("300\tGuest 299\t"))) << lines.last().toStdString();
    // Its file written again with every card whole loses that list; a file of the person's by that name stays.
    for (const bool ours : { true, false }) {
        ASSERT_TRUE(ours || picturefiles::write(path, "Seating plan\n"));
        EXPECT_EQ(Run_Log::removeBeside(folder.filePath(QStringLiteral("Guests.pdf"))), ours);
        EXPECT_NE(QFileInfo::exists(path), ours);
    }
    // Sheets sent to a printer leave theirs among the data folder's logs, in a folder of the owner's alone.
    const FreshDataFolder data(QStringLiteral("print-logs"));
    const QString printed = Run_Log::inPrintLogs();
    EXPECT_TRUE(printed.startsWith(Resource_Path + QStringLiteral("/Print Logs/Print run "))) << printed.toStdString();
    ASSERT_TRUE(Run_Log::write(*snapshot, printed));
    EXPECT_EQ(testsupport::fileMode(QFileInfo(printed).path()), 0700u);
    // A second run within the same second keeps the first one's list.
    const QDateTime when = QDateTime::fromString(QStringLiteral("2026-12-09T10:11:12"), Qt::ISODate);
    const QString first = Run_Log::timedName(folder.path(), QStringLiteral("Mail run"), when);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("Mail run 2026-12-09 10-11-12.log"));
    ASSERT_TRUE(Run_Log::write(*snapshot, first));
    EXPECT_EQ(QFileInfo(Run_Log::timedName(folder.path(), QStringLiteral("Mail run"), when)).fileName(),
        QStringLiteral("Mail run 2026-12-09 10-11-12 (2).log"));
}

TEST(RecordFill, ALinearBarcodeUnderTwoPixelsAModuleIsWarnedOf)
{
    Record_Source source;
    source.useSeries = true;
    source.series.insert(QStringLiteral("codes"), { QStringLiteral("TS-1001"), QStringLiteral("TS-1002") });
    const Batch_Snapshot::Side front { { boundCode128(QStringLiteral("codes"), QRectF(10, 10, 200, 60)) },
        creditCardSide(0) };
    const auto snapshot = Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
    const TSLGraphicList items = snapshot->filledItems(0, QStringLiteral("F"));
    const double atOnePixelAPoint = static_cast<const TSLBarcode&>(*items[0]).modulePixels(1.0);
    ASSERT_GT(atOnePixelAPoint, 0.0);
    for (const double pixels : { 1.5, 2.2 }) {
        const int dpi = int(std::ceil(72.0 * pixels / atOnePixelAPoint));
        const std::vector<Unreadable_Barcode> small = Barcode_Readability::unreadableInRun(*snapshot, true, false, dpi);
        ASSERT_EQ(small.size(), pixels < 2.0 ? 1u : 0u) << dpi;
        EXPECT_TRUE(small.empty()
            || Barcode_Readability::warningText(small[0], dpi)
                   .contains(QStringLiteral("its readers need 2 pixels a module")));
    }
}

TEST(RecordFill, MissingSpreadsheetColumnIsEmptyAndLoggedOnce)
{
    const Batch_Snapshot::Side front { { boundText(2, QString(), 7, QRectF(10, 10, 100, 20)),
                                           boundText(2, QString(), 1, QRectF(10, 40, 100, 20)) },
        creditCardSide(0) };
    const auto snapshot = Batch_Snapshot::take(front, {}, false, seriesAndSheet(), Barcode_Gen());
    EXPECT_FALSE(snapshot->fillLog().reported());
    for (int record = 0; record < 2; ++record) {
        const TSLGraphicList items = snapshot->filledItems(record, QStringLiteral("F"));
        EXPECT_EQ(textOf(items[0]), QString());
        EXPECT_EQ(textOf(items[1]), QStringLiteral("sheet%1").arg(record)) << "the rest of the side is filled";
    }
    EXPECT_TRUE(snapshot->fillLog().reported());
}

TEST(RecordFill, OnlyTextsPicturesAndBarcodesTakeData)
{
    auto shape = std::make_shared<Shape_Control>();
    shape->data_source_type = 1;
    shape->batch_list_name = QStringLiteral("names");
    EXPECT_FALSE(Record_Fill::takesData(*shape));
    EXPECT_FALSE(Record_Fill::sideUses({ shape }, 1));
    EXPECT_TRUE(Record_Fill::sideUses({ shape, boundText(2, QString(), 0, QRectF()) }, 2));
    EXPECT_FALSE(Record_Fill::sideUses({ boundText(2, QString(), 0, QRectF()) }, 1));
}

TEST(RecordFill, PictureItemLoadsTheRecordsPath)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("batch-pictures"));
    Record_Source source;
    source.useSeries = true;
    source.series.insert(QStringLiteral("photos"),
        { writePicture(QDir(folder).filePath(QStringLiteral("red.png")), Qt::red),
            QDir(folder).filePath(QStringLiteral("missing.png")),
            writePicture(QDir(folder).filePath(QStringLiteral("blue.png")), Qt::blue) });
    const auto snapshot = Batch_Snapshot::take(
        { { boundPicture(1, QStringLiteral("photos"), 0, QRectF(0, 0, 243, 153)) }, creditCardSide(0) }, {}, false,
        source, Barcode_Gen());

    const struct {
        int record;
        QColor centre;
    } cases[] = { { 0, Qt::red }, { 1, Qt::white }, { 2, Qt::blue } };
    for (const auto& c : cases) {
        const TSLGraphicList items = snapshot->filledItems(c.record, QStringLiteral("F"));
        EXPECT_EQ(items[0]->_file_path, source.series[QStringLiteral("photos")][c.record]);
        const QImage card = snapshot->renderImage(c.record, QStringLiteral("F"), 72);
        ASSERT_EQ(card.size(), QSize(243, 153));
        EXPECT_EQ(card.pixelColor(121, 76).rgb(), c.centre.rgb()) << c.record;
    }
}

// A picture drawn smaller than its pixels is averaged down to each raster output's own pixels, as on the
// canvas: a checkerboard of single pixels at half its size, a quarter pixel off the grid, comes out an even
// grey, exported or mailed, not speckled. A background photo is read again from its file at the output's
// resolution, not drawn from the small copy the design holds; without its file it keeps that copy.
TEST(RecordFill, PicturesAndBackgroundPhotosAreDrawnFromCopiesMadeForTheOutputsPixels)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("batch-renditions"));
    QImage board(486, 306, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x)
            board.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    }
    ASSERT_TRUE(board.save(QDir(folder).filePath("board.png")));
    Record_Source source;
    source.useSeries = true;
    source.series.insert(QStringLiteral("photos"), { QDir(folder).filePath("board.png") });
    TSLRenderingSide side = creditCardSide(0);
    side.property.setCard_fill_style(QStringLiteral("I"));
    QImage held(30, 20, QImage::Format_RGB32);
    held.fill(Qt::green);
    side.property.setCard_BG_Image(held); // the small copy the design holds
    const auto snapshot
        = Batch_Snapshot::take({ { boundPicture(1, QStringLiteral("photos"), 0, QRectF(0.25, 0.25, 243, 153)) }, side },
            {}, false, source, Barcode_Gen());
    QImage exported;
    ASSERT_TRUE(snapshot->renderInto(exported, 0, QStringLiteral("F"), 72)); // the export's road
    for (const QImage& card : { exported, snapshot->renderImage(0, "F", 72) }) { // and the mail's
        double sum = 0;
        double spread = 0;
        for (int y = 2; y < card.height() - 2; ++y) {
            for (int x = 2; x < card.width() - 2; ++x) {
                sum += qGray(card.pixel(x, y));
                spread += std::abs(qGray(card.pixel(x, y)) - 127.5);
            }
        }
        const int count = (card.width() - 4) * (card.height() - 4);
        EXPECT_NEAR(sum / count, 127.5, 3);
        EXPECT_LT(spread / count, 4) << "the mean distance from grey";
    }
    for (const QColor colour : { Qt::red, Qt::green }) {
        const QString path = QDir(folder).filePath(colour == Qt::red ? "photo.png" : "gone.png");
        if (colour == Qt::red)
            writePicture(path, colour);
        side.property.setCard_BG_Image_Path(path);
        const QImage card = Batch_Snapshot::take({ {}, side }, {}, false, Record_Source(), Barcode_Gen())
                                ->renderImage(0, QStringLiteral("F"), 150);
        EXPECT_EQ(card.pixelColor(253, 159).rgb(), colour.rgb()) << path.toStdString();
    }
}

// The card shows the file's fine stripes as the file scaled straight to the card's pixels shows them. A photo whose
// file is gone is drawn from the copy the design holds, if any, and the run says so.
TEST(RecordFill, APhotoIsDrawnAtTheOutputsResolutionWithItsAdjustmentsOncePerRun)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("batch-photo"));
    QImage stripes(2000, 1, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        stripes.setPixel(x, 0, x % 8 < 4 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    stripes = stripes.scaled(2000, 1500);
    const QImage scaled = stripes.scaled(1013, 638, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // How far each pixel is from the one two to its right, half a stripe away on the card: the stripes' contrast.
    auto detail = [](const QImage& card) {
        double apart = 0;
        for (int y = 100; y < 540; y += 7)
            for (int x = 100; x < 900; ++x)
                apart += std::abs(qRed(card.pixel(x, y)) - qRed(card.pixel(x + 2, y)))
                    + std::abs(qBlue(card.pixel(x, y)) - qBlue(card.pixel(x + 2, y)));
        return apart;
    };
    Record_Source source;
    source.useSeries = true;
    source.series.insert(
        QStringLiteral("names"), { QStringLiteral("Ann"), QStringLiteral("Ben"), QStringLiteral("Cy") });
    // A grey panorama past the bound whole, so read for cards under twice its height, and a PNG inflating past it.
    const QByteArray panorama = picturefiles::flatJpeg({ 65000, 1275 }, 1, 1, false);
    const QByteArray inflating = picturefiles::inflatingPng({ 100, 100 }, 5'000'000'000);
    const struct {
        bool grey, gone, held; // held: the copy the canvas draws
        QString note;
        const QByteArray* file = nullptr; // the stripes when none
    } rows[] = { { false, false, false, {} }, { true, false, false, {} },
        { false, true, true, "picture at the screen's resolution, as its file could not be read again" },
        { false, true, false, "without a picture that cannot be found" },
        { false, false, true, "is too large to read at this resolution (photo001.png): records 1, 2 and 3.",
            &panorama },
        { false, false, false, "3 cards are made without a picture whose file cannot be read (photo000.png)",
            &inflating } };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "grey " << row.grey << ", gone " << row.gone << ", held " << row.held);
        const QString path
            = QDir(folder).filePath(QStringLiteral("photo%1%2%3.png").arg(row.grey).arg(row.gone).arg(row.held));
        ASSERT_TRUE(row.file ? picturefiles::write(path, *row.file) : stripes.save(path));
        auto photo = boundPicture(0, QString(), 0, QRectF(0, 0, 243, 153));
        photo->setFilePath(path);
        photo->_isDrawingStroke = false;
        photo->gray_Scale = row.grey;
        const auto snapshot = Batch_Snapshot::take(
            { { boundText(1, QStringLiteral("names"), 0, QRectF(10, 130, 120, 22)), photo }, creditCardSide(0) }, {},
            false, source, Barcode_Gen());
        if (row.held)
            picturerenditions::adjusted(photo->pictureSource(), photo->adjustments()); // as the canvas drew it
        ASSERT_TRUE(!row.gone || QFile::remove(path));
        const QImage expected = row.grey ? ImageProcesser::GrayScale(scaled) : scaled;
        const quint64 made = PictureCache::instance().counts().made[int(PictureCache::Kind::Adjusted)];
        for (int record = 0; record < 3; ++record) {
            QImage exported;
            ASSERT_TRUE(snapshot->renderInto(exported, record, QStringLiteral("F"), 300));
            for (const QImage& card : { exported, snapshot->renderImage(record, QStringLiteral("F"), 300) }) {
                ASSERT_EQ(card.size(), scaled.size());
                if (row.gone || row.file) {
                    EXPECT_EQ(card.pixelColor(500, 300) != QColor(Qt::white), row.held) << "drawn from the copy";
                    continue;
                }
                EXPECT_GT(detail(card), 0.7 * detail(expected))
                    << "the stripes as sharp as the file scaled to the card";
                const QColor middle = card.pixelColor(500, 300);
                EXPECT_EQ(row.grey, std::abs(middle.red() - middle.blue()) <= 2) << qPrintable(middle.name());
            }
        }
        EXPECT_EQ(PictureCache::instance().counts().made[int(PictureCache::Kind::Adjusted)] - made, 1u);
        const QString notes = snapshot->fillLog().notes();
        EXPECT_EQ(row.note.isEmpty() ? notes.isEmpty() : notes.contains(row.note), true) << notes.toStdString();
    }
}

TEST(RecordFill, BarcodeRegeneratedForEachRecord)
{
    Record_Source source;
    source.useSeries = true;
    source.series.insert(QStringLiteral("codes"),
        { QStringLiteral("A-1001"), QStringLiteral("B-2002"), QString(), QStringLiteral("A-1001") });
    const Batch_Snapshot::Side front {
        { boundCode128(QStringLiteral("codes"), QRectF(10, 10, 40, 40), QStringLiteral("DataMatrix")) },
        creditCardSide(0)
    };
    const auto snapshot = Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
    const auto unchecked = Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
    const long long before = Item_Barcode_Drawings_Made();
    EXPECT_FALSE(Barcode_Readability::unreadableInRun(*snapshot, true, false, 72).empty());
    for (int record = 0; record < 4; ++record)
        ASSERT_FALSE(snapshot->renderImage(record, QStringLiteral("F"), 72).isNull());
    EXPECT_EQ(Item_Barcode_Drawings_Made() - before, 3) << "the look before the run and the cards share one per value";
    for (int record = 0; record < 4; ++record)
        EXPECT_EQ(snapshot->renderImage(record, QStringLiteral("F"), 72),
            unchecked->renderImage(record, QStringLiteral("F"), 72))
            << record;
    // The cards get drawings of their own symbols, never the sample.
    auto bars = [&](int record) {
        const TSLGraphicList items = snapshot->filledItems(record, QStringLiteral("F"));
        const auto* drawing = dynamic_cast<const Barcode_Vector_Drawing*>(items[0]->Barcode_drawing());
        return drawing ? drawing->rects : std::vector<QRectF>();
    };
    const std::vector<QRectF> first = bars(0);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, bars(1));
    const TSLGraphicList empty = snapshot->filledItems(2, QStringLiteral("F"));
    ASSERT_NE(empty[0]->Barcode_drawing(), nullptr);
    EXPECT_TRUE(empty[0]->Barcode_drawing()->size().isEmpty()) << "an empty value has no symbol";
}

TEST(RecordFill, AValueWithoutSymbolLeavesItsCardWithoutABarcodeAndIsCounted)
{
    Record_Source source;
    source.useSeries = true;
    // Code 128 carries ASCII only.
    source.series.insert(QStringLiteral("codes"), { QStringLiteral("A-1"), QStringLiteral("Gr\u00fc\u00dfe") });
    const auto snapshot = Batch_Snapshot::take(
        { { boundCode128(QStringLiteral("codes"), QRectF(10, 10, 200, 80)) }, creditCardSide(0) }, {}, false, source,
        Barcode_Gen());
    for (const int record : { 0, 1, 1 }) {
        const QImage card = snapshot->renderImage(record, QStringLiteral("F"), 72).copy(10, 10, 200, 80);
        const bool anyDark = [&] {
            for (int y = 0; y < card.height(); ++y)
                for (int x = 0; x < card.width(); ++x)
                    if (qGray(card.pixel(x, y)) < 128)
                        return true;
            return false;
        }();
        EXPECT_EQ(anyDark, record == 0) << "record " << record << " shows a barcode, or the sample, or nothing";
    }
    EXPECT_EQ(snapshot->fillLog().recordsWithoutSymbol(), 1);
    Send_Mail_Result mailed;
    mailed.lastSendSucceeded = true;
    mailed.withoutSymbol = snapshot->fillLog().recordsWithoutSymbol();
    EXPECT_TRUE(Send_Mail_Run::finalMessage(mailed).endsWith(QStringLiteral("1 card has no barcode: its value cannot "
                                                                            "be encoded in the chosen symbology (the "
                                                                            "log names the record).")));
}

TEST(RecordFill, CardsWithAPictureThatCannotBeFoundAreCountedInEveryFinalMessage)
{
    QTemporaryDir folder;
    const QString found = writePicture(folder.filePath(QStringLiteral("found.png")), Qt::red);
    Record_Source source;
    source.useSeries = true;
    // Found, moved away, a relative name that names nothing here, and the moved one again on a later card.
    source.series.insert(QStringLiteral("photos"),
        { found, folder.filePath(QStringLiteral("moved.png")), QStringLiteral("photos/ann.png"), found,
            folder.filePath(QStringLiteral("moved.png")) });
    const auto snapshot = Batch_Snapshot::take(
        { { boundPicture(1, QStringLiteral("photos"), 0, QRectF(10, 10, 40, 40)) }, creditCardSide(0) }, {}, false,
        source, Barcode_Gen());
    for (int record = 0; record < 5; ++record)
        snapshot->renderImage(record, QStringLiteral("F"), 72);
    snapshot->renderImage(1, QStringLiteral("F"), 72); // a card drawn twice counts once
    EXPECT_EQ(snapshot->fillLog().recordsWithPictureNotFound(), 3);

    const QString note = QStringLiteral("3 cards are made without a picture that cannot be found (the log names the "
                                        "files).");
    Send_Mail_Result mailed;
    mailed.lastSendSucceeded = true;
    mailed.withPictureNotFound = 3;
    Batch_Export_Result exported;
    exported.records = exported.written = 5;
    exported.withPictureNotFound = 3;
    const QString messages[] = { Send_Mail_Run::finalMessage(mailed), Batch_Export_Run::finishedMessage(exported),
        Record_Fill_Log::notes(0, 3) };
    for (const QString& message : messages)
        EXPECT_TRUE(message.endsWith(note)) << message.toStdString();
    EXPECT_TRUE(Batch_Export_Run::finishedMessage({}).endsWith(QStringLiteral("exported successfully.")));
}

// A design file without stored barcode pictures: each item is drawn from its own symbology and value.
TEST(BatchSnapshot, ABarcodeReadBackWithoutItsPictureIsDrawnFromItsOwnSymbologyAndValue)
{
    for (const char* symbology : { "Code 128", "QR Code" }) {
        auto barcode = boundCode128(QString(), QRectF(10, 10, 120, 120));
        Barcode_Gen settings;
        settings.barcodeTypePopup.select(int(Barcode_Type_Titles().indexOf(QString::fromUtf8(symbology))));
        settings.Store_Barcode_Prop_In_Item(*barcode);
        barcode->data_source_type = 0;
        barcode->linear_or_2d = symbology[0] == 'Q' ? 1 : 0;
        barcode->linear_font_val = barcode->two_d_font_val = QStringLiteral("A-100");
        const auto snapshot
            = Batch_Snapshot::take({ { barcode }, creditCardSide(0) }, {}, false, Record_Source(), Barcode_Gen());
        const TSLBarcode_Drawing* drawing = snapshot->side(QStringLiteral("F")).items.at(0)->Barcode_drawing();
        ASSERT_NE(drawing, nullptr) << symbology << ": the sample would be drawn";
        EXPECT_EQ(drawing->size(), Item_Barcode_Drawing(settings, *barcode, QStringLiteral("A-100"))->size());
    }
}

TEST(BatchSnapshot, LiveItemsAreNeverWritten)
{
    auto live = boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 100, 20));
    const auto snapshot
        = Batch_Snapshot::take({ { live }, creditCardSide(0) }, {}, false, seriesAndSheet(), Barcode_Gen());
    live->Text_contents().string = QStringLiteral("edited after the snapshot");
    EXPECT_EQ(textOf(snapshot->filledItems(3, QStringLiteral("F"))[0]), QStringLiteral("Dee"));
    EXPECT_EQ(textOf(live), QStringLiteral("edited after the snapshot"));
    EXPECT_EQ(textOf(snapshot->side(QStringLiteral("F")).items[0]), QStringLiteral("typed"));
}

TEST(BatchSnapshot, BackSideOnlyOnATwoSidedCard)
{
    const Batch_Snapshot::Side back { { boundText(1, QStringLiteral("short"), 0, QRectF(10, 10, 100, 20)) },
        creditCardSide(1) };
    const auto one = Batch_Snapshot::take({ {}, creditCardSide(0) }, back, false, seriesAndSheet(), Barcode_Gen());
    EXPECT_TRUE(one->side(QStringLiteral("B")).items.empty());
    const auto two = Batch_Snapshot::take({ {}, creditCardSide(0) }, back, true, seriesAndSheet(), Barcode_Gen());
    EXPECT_EQ(textOf(two->filledItems(1, QStringLiteral("B"))[0]), QStringLiteral("s2"));
}

TEST(BatchSnapshot, RecordsRenderedAtOnceEqualRecordsRenderedInTurn)
{
    Record_Source source;
    source.useSeries = true;
    QStringList codes;
    for (int i = 0; i < 24; ++i)
        codes << QStringLiteral("CODE-%1").arg(i * 37);
    source.series.insert(QStringLiteral("codes"), codes);
    const auto snapshot
        = Batch_Snapshot::take({ { boundCode128(QStringLiteral("codes"), QRectF(10, 10, 220, 70)),
                                     boundText(1, QStringLiteral("codes"), 0, QRectF(10, 100, 200, 30)) },
                                   creditCardSide(0) },
            {}, false, source, Barcode_Gen());
    std::vector<QImage> inTurn;
    for (int i = 0; i < 24; ++i)
        inTurn.push_back(snapshot->renderImage(i, QStringLiteral("F"), 150));
    std::vector<QImage> atOnce(24);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = t; i < 24; i += 4)
                atOnce[size_t(i)] = snapshot->renderImage(i, QStringLiteral("F"), 150);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(atOnce[size_t(i)], inTurn[size_t(i)]) << i;
    EXPECT_NE(inTurn[0], inTurn[1]);
}

TEST(BatchSnapshot, PictureRecordingCoversTheCard)
{
    const auto snapshot = Batch_Snapshot::take(
        { { boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 100, 20)) }, creditCardSide(0) }, {}, false,
        seriesAndSheet(), Barcode_Gen());
    const QPicture picture = snapshot->renderPicture(0, QStringLiteral("F"));
    EXPECT_GT(picture.size(), 0u);
    EXPECT_EQ(picture.boundingRect(), QRect(0, 0, 243, 153));
}

TEST(BatchSnapshot, RecordDrawnIntoAUsedPictureKeepsNothingOfTheLastAndTakesNoNewMemory)
{
    Record_Source source;
    source.useSeries = true;
    source.series.insert(QStringLiteral("codes"), { QStringLiteral("WIDE-VALUE-0000001"), QStringLiteral("S2") });
    const auto snapshot
        = Batch_Snapshot::take({ { boundCode128(QStringLiteral("codes"), QRectF(10, 10, 220, 70)),
                                     boundText(1, QStringLiteral("codes"), 0, QRectF(10, 100, 200, 30)) },
                                   creditCardSide(0) },
            {}, false, source, Barcode_Gen());
    QImage canvas;
    ASSERT_TRUE(snapshot->renderInto(canvas, 0, QStringLiteral("F"), 150));
    const uchar* pixels = canvas.constBits();
    ASSERT_TRUE(snapshot->renderInto(canvas, 1, QStringLiteral("F"), 150));
    EXPECT_EQ(canvas.constBits(), pixels);
    // The longer first value's bars and text are gone: the picture is the second record's alone.
    EXPECT_EQ(canvas, snapshot->renderImage(1, QStringLiteral("F"), 150));
    EXPECT_EQ(canvas.dotsPerMeterX(), qRound(150 / 0.0254));
    // Another resolution gets a picture of its own size.
    ASSERT_TRUE(snapshot->renderInto(canvas, 1, QStringLiteral("F"), 72));
    EXPECT_EQ(canvas.size(), QSize(243, 153));
}

// A run draws each side's base (photo, gradient, border) once and copies it under every card's items: the cards are
// the pixels of cards drawn whole, edges included, at the run's resolution and another; one colour is filled, not kept.
TEST(BatchSnapshot, CardsOverARunsKeptBaseEqualCardsDrawnWhole)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("batch-bases"));
    Record_Source source;
    source.useSeries = true;
    source.series.insert(QStringLiteral("codes"), { QStringLiteral("WIDE-VALUE-0000001"), QStringLiteral("S2") });
    TSLRenderingSide photo = creditCardSide(0), gradient = creditCardSide(0);
    photo.property.setCard_fill_style(QStringLiteral("I"));
    photo.property.setCard_BG_Image_Path(writePicture(QDir(folder).filePath("photo.png"), QColor(40, 90, 200, 128)));
    photo.property.setCard_BG_Image(QImage(photo.property.Card_BG_Image_Path()));
    photo.property.setCard_border_chk(true);
    photo.property.setCard_bordr_clr(Qt::darkRed);
    photo.property.setCard_bor_Stepper(3);
    gradient.cardShape = 1;
    gradient.property.setCard_fill_style(QStringLiteral("G"));
    gradient.property.setCard_fill_Grd_1_clr(Qt::yellow);
    gradient.property.setCard_fill_Grd_2_clr(Qt::blue);
    for (const auto& [side, kept] : { std::pair { creditCardSide(0), false }, { photo, true }, { gradient, true } }) {
        const auto snapshot
            = Batch_Snapshot::take({ { boundCode128(QStringLiteral("codes"), QRectF(10, 10, 220, 70)) }, side }, {},
                false, source, Barcode_Gen());
        Batch_Card_Bases bases(150);
        QImage canvas;
        for (const int dpi : { 150, 150, 72 })
            for (const int record : { 0, 1 }) {
                ASSERT_TRUE(snapshot->renderInto(canvas, record, QStringLiteral("F"), dpi, &bases));
                EXPECT_EQ(canvas, snapshot->renderImage(record, QStringLiteral("F"), dpi)) << dpi << ' ' << kept;
            }
        EXPECT_EQ(bases.base(*snapshot, QStringLiteral("F"), 150) != nullptr, kept);
    }
}
