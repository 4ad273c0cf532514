// Cards with one barcode each (Code 128, QR Code, PDF417, DataMatrix) through every road a card leaves the
// program by: card files exported with modules of 1, 1.5, 1.75, 2 and 3 pixels and at 72, 150 and 200 dpi, the
// pictures a mail run attaches, and printed pages as pdftoppm rasterises them at 300 dpi. ZXingReader reads
// every card, zbarimg the Code 128 and QR Code cards and dmtxread the DataMatrix cards of modules of two
// pixels and more, across and down: each reads as its record's value. A DataMatrix card drawn smaller is warned
// of before the run, and named after it.
#include "../../output/PrintTestSupport.h"

#include "barcode/Barcode_Dialog.h"
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Globals.h"
#include "barcode/Barcode_Vector_Drawing.h"
#include "editor/EditorWindowTestSupport.h"
#include "output/Barcode_Readability.h"
#include "output/Batch_Export.h"
#include "output/Batch_Export_Run.h"
#include "output/Send_Mail_Run.h"
#include "support/Barcode2D_Peers.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <random>

#include <gtest/gtest.h>

using namespace barcode2d_peers;

namespace {

constexpr int kRecords = 8;

struct Design {
    const char* title;
    const char* zxingFormat;
    int first; // characters of each value, from first to last (ASCII)
    int last;
    int length;
    int pdfHeight; // points; 20 is a new item's frame
    const char* dmSize = "C26X26";
    int firstLength = 0; // of record 0's value, when it is shorter than the others
    bool runsOnly = false; // exported and mailed only, and not read by dmtxread
};

const Design kDesigns[] = {
    { "Code 128", "Code128", '0', 'Z', 10, 60 },
    { "QR Code", "QRCode", ' ', '~', 24, 60 },
    { "PDF417", "PDF417", ' ', '~', 30, 60 },
    { "PDF417", "PDF417", ' ', '~', 30, 20 },
    { "DataMatrix", "DataMatrix", ' ', '^', 24, 60 },
    // The size follows the value (record 0's is shorter), and a rectangle's modules are less high than wide:
    // dmtxread misses some symbols of these sizes whatever their modules, so they try the warning and notes only.
    { "DataMatrix", "DataMatrix", '!', '^', 40, 60, "Auto", 6, true },
    { "DataMatrix", "DataMatrix", '!', '^', 6, 60, "C8X32", 0, true },
};

Record_Source recordsFor(const Design& design, std::mt19937& random)
{
    QStringList values;
    for (int i = 0; i < kRecords; ++i) {
        QString value;
        for (int k = 0; k < (i == 0 && design.firstLength ? design.firstLength : design.length); ++k)
            value += QChar(std::uniform_int_distribution<int>(design.first, design.last)(random));
        values << value;
    }
    Record_Source source;
    source.useSeries = true;
    source.series.insert(QStringLiteral("codes"), values);
    return source;
}

std::shared_ptr<TSLBarcode> barcodeItem(const Design& design)
{
    const QString title = QString::fromLatin1(design.title);
    auto item = std::make_shared<TSLBarcode>();
    Barcode_Gen settings;
    settings.barcodeTypePopup.select(int(Barcode_Type_Titles().indexOf(title)));
    settings.liner_or_2D_font = Barcode_Type_Is_2D(title) ? 1 : 0;
    settings.hideHeaderCheckbox.state = 1;
    settings.hideFooterCheckbox.state = 1;
    // A fixed size keeps every record's modules alike; PDF417 rows three modules high.
    settings.dm_format_ComboBox.selectText(QLatin1String(design.dmSize));
    settings.Pdf_widthText_2D.value = 100;
    settings.pdf_HeightStepper_2D.value = design.pdfHeight;
    // A resolution choice that is no multiple of 72 must not show on the card.
    settings.DPI_ComboBox.selectText(QStringLiteral("150"));
    settings.Store_Barcode_Prop_In_Item(*item);
    item->ctrl_is_visible = true;
    item->data_source_type = 1;
    item->batch_list_name = QStringLiteral("codes");
    return item;
}

// The drawing of a value at the item's own size: its size and its narrowest module, points.
std::pair<QSizeF, double> naturalSize(const TSLBarcode& item, const QString& value)
{
    TSLBarcode copy(item);
    Barcode_Gen settings;
    Record_Fill::assignValue(copy, value, settings, false);
    const auto* drawing = dynamic_cast<const Barcode_Vector_Drawing*>(copy.Barcode_drawing());
    if (!drawing || drawing->rects.empty())
        return {};
    double module = drawing->rects.front().width();
    for (const QRectF& rect : drawing->rects)
        module = std::min({ module, rect.width(), rect.height() });
    return { drawing->size(), module };
}

// Pixels a module of the value's symbol spans at dpi, fitted into the frame of the cards' barcode as it is.
double modulePixelsOf(const Batch_Snapshot& cards, const QString& value, int dpi)
{
    const auto& item = static_cast<const TSLBarcode&>(*cards.side(QStringLiteral("F")).items.front());
    const auto [size, module] = naturalSize(item, value);
    const QSizeF frame = item._bounds.size();
    return module * std::min(frame.width() / size.width(), frame.height() / size.height()) * dpi / 72.0;
}

// The records whose DataMatrix modules are drawn with fewer whole pixels than the design's readers need.
std::set<int> tooSmall(const Design& design, const Batch_Snapshot& cards, int dpi)
{
    std::set<int> records;
    for (int i = 0; design.title[0] == 'D' && i < kRecords; ++i)
        if (std::floor(modulePixelsOf(cards, cards.source().seriesValue(i, QStringLiteral("codes")), dpi) + 1e-9) < 2)
            records.insert(i);
    return records;
}

// A run's final message names those records, and then calls the run no success.
void expectNamed(const Design& design, const QString& message, const std::set<int>& records)
{
    const QString note = QStringLiteral("made with a barcode drawn too small for barcode readers (the DataMatrix "
                                        "barcode of series \"codes\"): %1.");
    EXPECT_TRUE(design.title[0] != 'D'
        || (message.contains(note.arg(Record_Fill::recordNumbers(records))) != records.empty()
            && message.contains(QLatin1String("successfully")) == records.empty()))
        << message.toStdString();
}

// One design whose barcode is scaled so that its modules are `points` wide.
std::shared_ptr<const Batch_Snapshot> cardsOf(const Design& design, const Record_Source& source, double scale)
{
    auto item = barcodeItem(design);
    const auto [size, module] = naturalSize(*item, source.seriesValue(0, QStringLiteral("codes")));
    item->_bounds = QRectF(QPointF(18, 18), size * scale);
    TSLRenderingSide side = batchtest::creditCardSide(0);
    side.canvasBounds = QRectF(0, 0, size.width() * scale + 36, size.height() * scale + 36);
    return Batch_Snapshot::take({ { item }, side }, {}, false, source, Barcode_Gen());
}

// A card whose barcode took its value in the barcode window by a click on OK, as the editor gives it.
std::shared_ptr<const Batch_Snapshot> typedCard(const Design& design, const QString& value)
{
    testsupport::ScriptedResponder ui;
    auto item = barcodeItem(design);
    item->data_source_type = 0;
    QString& data = item->linear_or_2d == 1 ? item->two_d_font_val : item->linear_font_val;
    data = value;
    ui.modalRuns.push_back([](QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("OK_btn")), Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(Barcode_Dialog::defaultInstance()->Open_Wnd(*item), 1);
    EXPECT_EQ(data, value) << "OK without an edit";
    item->Set_Barcode_image(Barcode_output_image.image);
    item->Set_Barcode_drawing(Barcode_output_drawing);
    item->_bounds = QRectF(QPointF(18, 18), item->Barcode_drawing()->size());
    TSLRenderingSide side = batchtest::creditCardSide(0);
    side.canvasBounds = item->_bounds.adjusted(-18, -18, 18, 18);
    return Batch_Snapshot::take({ { item }, side }, {}, false, Record_Source(), Barcode_Gen());
}

double moduleOf(const Design& design, const Record_Source& source)
{
    return naturalSize(*barcodeItem(design), source.seriesValue(0, QStringLiteral("codes"))).second;
}

// Cards printed one a sheet on A4, each sheet a record of the snapshot (its own card when it has none).
Print_Job oneCardASheet(const std::shared_ptr<const Batch_Snapshot>& cards, int total)
{
    Print_Job job;
    job.layout.paper_width = 595.2756f;
    job.layout.paper_hight = 841.8898f;
    job.layout.Print_Card_Side = QStringLiteral("F");
    job.layout.Print_Row = 1;
    job.layout.Print_Col = 1;
    job.layout.label_align_val = 5;
    job.snapshot = cards;
    const QSizeF card = cards->side(QStringLiteral("F")).rendering.canvasBounds.size();
    job.layout.setCellSize(float(card.width()), float(card.height()));
    job.Total_Label_Real = total;
    job.useData = cards->recordCount() > 0;
    return job;
}

class CardRoadsSweep : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* peer : { "ZXingReader", "zbarimg", "dmtxread", "pdftoppm", "pdftotext" })
            ASSERT_TRUE(testsupport::havePeer(QLatin1String(peer))) << peer;
        folder = testsupport::makeTempFolder(QStringLiteral("cardroads"));
    }
    void TearDown() override
    {
        if (!HasFailure())
            QDir(folder).removeRecursively();
    }

    // A card file to read. No reader finds DataMatrix modules below two pixels, not even zint's: such a
    // card may go unread but never misread. zbarimg and dmtxread read modules of two pixels and more.
    void expect(const Design& design, const QString& path, const QString& value, double modulePixels)
    {
        const QLatin1String format(design.zxingFormat);
        if (modulePixels < (format == QLatin1String("DataMatrix") ? 2 : 1))
            mayMiss.insert(path, value.toUtf8());
        else
            byFormat[format].insert(path, value.toUtf8());
        if (modulePixels >= 2 && format != QLatin1String("PDF417") && !design.runsOnly)
            (format == QLatin1String("DataMatrix") ? byDmtx : byZbar).insert(path, value.toUtf8());
    }

    void readAll()
    {
        auto check = [](const char* decoder, const QHash<QString, QByteArray>& expected,
                         const QHash<QString, QByteArray>& read) {
            const QStringList wrong = mismatches(expected, read);
            EXPECT_TRUE(wrong.isEmpty()) << decoder << ": " << wrong.size() << " of " << expected.size() << "\n"
                                         << wrong.mid(0, 10).join(QLatin1Char('\n')).toStdString();
        };
        // On a whole page ZXingReader's full search stops at an assertion over tall linear symbols.
        const QStringList linear { QStringLiteral("-fast"), QStringLiteral("-norotate"), QStringLiteral("-noscale") };
        for (auto it = byFormat.cbegin(); it != byFormat.cend(); ++it)
            check("ZXingReader", it.value(),
                zxingDecode(
                    it.value().keys(), it.key(), it.key() == QLatin1String("Code128") ? linear : QStringList()));
        check("zbarimg", byZbar, zbarDecode(byZbar.keys(), byZbar));
        const QHash<QString, QByteArray> small = zxingDecode(mayMiss.keys(), QStringLiteral("DataMatrix"));
        for (auto it = small.cbegin(); it != small.cend(); ++it)
            EXPECT_EQ(it.value(), mayMiss.value(it.key())) << "misread: " << it.key().toStdString();
        check("dmtxread", byDmtx, dmtxDecode(byDmtx.keys()));
    }

    QString folder;
    QHash<QString, QHash<QString, QByteArray>> byFormat;
    QHash<QString, QByteArray> byZbar;
    QHash<QString, QByteArray> byDmtx;
    QHash<QString, QByteArray> mayMiss;
};

} // namespace

TEST_F(CardRoadsSweep, ExportedMailedAndPrintedCardsReadAsTheirValues)
{
    std::mt19937 random(3131);
    std::atomic<bool> stop { false };
    int run = 0;
    for (const Design& design : kDesigns) {
        const Record_Source source = recordsFor(design, random);
        const double module = moduleOf(design, source);
        ASSERT_GT(module, 0.0) << design.title;
        // A record's card, its modules as its own value draws them: a DataMatrix of a longer value has smaller ones.
        const auto expectCard = [&](const Batch_Snapshot& cards, const QString& path, int i, int dpi, double scale) {
            const QString value = source.seriesValue(i, QStringLiteral("codes"));
            expect(design, path, value,
                design.title[0] == 'D' ? modulePixelsOf(cards, value, dpi) : module * scale * dpi / 72.0);
        };
        // Exported card files: modules of 1 to 3 pixels at 144 dpi, and the item's own size at 150 and 200.
        const struct {
            double pixels; // of a module; 0: the item's own size
            int dpi;
        } exports[] = { { 1.0, 144 }, { 1.5, 144 }, { 2.0, 144 }, { 3.0, 144 }, { 1.75, 150 }, { 0.0, 72 },
            { 0.0, 150 }, { 0.0, 200 } };
        for (const auto& e : exports) {
            const double scale = e.pixels > 0.0 ? e.pixels * 72.0 / e.dpi / module : 1.0;
            const QString target = QDir(folder).filePath(QStringLiteral("export%1").arg(run++));
            QDir().mkpath(target);
            const auto cards = cardsOf(design, source, scale);
            const std::set<int> small = tooSmall(design, *cards, e.dpi);
            if (design.title[0] == 'D') {
                // Exporting warns of the cards its readers may miss, naming the barcode and what its readers need.
                testsupport::ScriptedResponder ui;
                const auto warned = Barcode_Readability::unreadableInRun(*cards, true, false, e.dpi);
                EXPECT_EQ(Barcode_Readability::warn(warned, e.dpi), !small.empty()) << design.dmSize << " " << e.dpi;
                EXPECT_EQ(warned.empty() ? std::set<int>() : warned.front().records, small) << design.dmSize;
                const QString told = ui.messages.empty() ? QString() : ui.messages.front().text;
                EXPECT_EQ(told.contains(QStringLiteral("The DataMatrix barcode of series \"codes\" is too small"))
                        && told.contains(QStringLiteral("its readers need 2 pixels a module")),
                    !small.empty())
                    << told.toStdString();
            }
            const Batch_Export_Result result = Batch_Export(stop).run(
                { cards, target, QStringLiteral("png"), QStringLiteral("F"), false, e.dpi, 2 });
            ASSERT_EQ(result.written, kRecords) << result.failure.toStdString();
            expectNamed(design, Batch_Export_Run::finishedMessage(result), small);
            for (int i = 0; i < kRecords; ++i)
                expectCard(*cards, Batch_Export::frontPath(target, i, QStringLiteral("png")), i, e.dpi, scale);
        }
        // The pictures a mail run attaches, one record a recipient, at 150 dpi.
        Send_Mail_Request request;
        request.kind = Send_Mail_Request::Kind::DataOnePerRecipient;
        request.records = kRecords;
        for (int i = 0; i < kRecords; ++i)
            request.recipients << QStringLiteral("guest%1@example.org").arg(i);
        const auto cards = cardsOf(design, source, 1.0);
        request.render = [cards](int record, const QString& side) { return cards->renderImage(record, side, 150); };
        request.fillNotes = [cards] { return cards->fillLog().notes(); };
        std::atomic<bool> abandon { false };
        Send_Mail_Run mail(stop, abandon);
        int sent = 0;
        const QString mailed = QDir(folder).filePath(QStringLiteral("mail%1").arg(run++));
        QDir().mkpath(mailed);
        mail.sender = [&](const Mail_Message& message, const std::atomic<bool>*) {
            const QString copy = QDir(mailed).filePath(QStringLiteral("%1.png").arg(sent));
            EXPECT_TRUE(QFile::copy(message.attachments.value(0), copy));
            expectCard(*cards, copy, sent++, 150, 1.0);
            return true;
        };
        const Send_Mail_Result result = mail.run(request);
        EXPECT_EQ(result.sent, kRecords);
        expectNamed(design, Send_Mail_Run::finalMessage(result, QString()), tooSmall(design, *cards, 150));
        if (design.runsOnly)
            continue;
        // Printed: one card a sheet, each page rasterised at 300 dpi.
        const Print_Job job = oneCardASheet(cards, kRecords);
        const QString pdf = QDir(folder).filePath(QStringLiteral("print%1.pdf").arg(run++));
        ASSERT_EQ(printtest::printToPdf(job, pdf), kRecords);
        // The value printed under linear bars is text in the file.
        QString text;
        ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") }, &text), 0);
        for (int i = 0; i < kRecords && !Barcode_Type_Is_2D(QLatin1String(design.title)); ++i)
            EXPECT_TRUE(text.contains(source.seriesValue(i, QStringLiteral("codes")))) << text.toStdString();
        const QString prefix = pdf.chopped(4);
        ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftoppm"),
                      { QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), pdf, prefix }),
            0);
        for (int i = 0; i < kRecords; ++i)
            expect(design, QStringLiteral("%1-%2.png").arg(prefix).arg(i + 1),
                source.seriesValue(i, QStringLiteral("codes")), module * 300.0 / 72.0);
        // The dialog road: values with a line break or a tab taken by OK, on cards exported alone. PDF417 carries
        // Latin-1 and Code 128 ASCII: no line separator.
        const bool unicode = design.title[0] == 'Q' || design.title[0] == 'D';
        for (const QString& mark :
            { QStringLiteral("\r"), QStringLiteral("\r\n"), QStringLiteral("\t"), QStringLiteral("\u2028") }) {
            if (!unicode && mark.front() > QChar(0x7f))
                continue;
            const QString value = source.seriesValue(0, QStringLiteral("codes")).insert(3, mark);
            const auto card = typedCard(design, value);
            for (const int dpi : { 72, 300 })
                expect(design,
                    savePng(card->renderImage(0, QStringLiteral("F"), dpi), folder,
                        QStringLiteral("typed%1.png").arg(run++)),
                    value, module * dpi / 72.0);
        }
    }
    readAll();
}

// A barcode made before and read back (a design opened again, items pasted, the scratch side) keeps only
// its settings, its value and its stored picture: it prints as rectangles again, not as that picture, and
// reads as its value.
TEST_F(CardRoadsSweep, ReopenedPastedAndScratchBarcodesPrintAsVectorsAndRead)
{
    std::mt19937 random(4242);
    int run = 0;
    for (const Design& design : kDesigns) {
        if (design.runsOnly)
            continue;
        const QString value = recordsFor(design, random).seriesValue(0, QStringLiteral("codes"));
        auto item = barcodeItem(design);
        item->data_source_type = 0;
        (item->linear_or_2d == 1 ? item->two_d_font_val : item->linear_font_val) = value;
        Barcode_Gen settings;
        item->Set_Barcode_image(Record_Fill::Record_Barcode_Picture(settings, *item, value));
        const QSizeF size = naturalSize(*item, value).first;
        item->_bounds = QRectF(QPointF(18, 18), size * 2.0);
        TSLDocument document;
        TSLWindowController window;
        window.setDocument(&document);
        document.insertGraphicsForKey(TSLDocumentGraphicsKey, { item }, { 0 });
        for (const editortest::ReadBackRoad& road : editortest::readBackRoads(window, document)) {
            const TSLGraphicList items = road.read();
            ASSERT_EQ(items.size(), 1u) << design.title << " " << road.road;
            TSLRenderingSide side = batchtest::creditCardSide(0);
            side.canvasBounds = QRectF(0, 0, item->_bounds.right() + 18, item->_bounds.bottom() + 18);
            const Print_Job job
                = oneCardASheet(Batch_Snapshot::take({ items, side }, {}, false, Record_Source(), Barcode_Gen()), 1);
            const QString pdf = QDir(folder).filePath(QStringLiteral("read%1.pdf").arg(run++));
            ASSERT_EQ(printtest::printToPdf(job, pdf), 1);
            QString images;
            ASSERT_EQ(
                testsupport::runProgram(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf }, &images), 0);
            EXPECT_EQ(images.trimmed().split(QLatin1Char('\n')).size(), 2)
                << design.title << " " << road.road << ": printed as a picture\n"
                << images.toStdString();
            const QString prefix = pdf.chopped(4);
            ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftoppm"),
                          { QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                              QStringLiteral("-singlefile"), pdf, prefix }),
                0);
            expect(
                design, prefix + QStringLiteral(".png"), value, 2.0 * naturalSize(*item, value).second * 300.0 / 72.0);
        }
    }
    readAll();
}
