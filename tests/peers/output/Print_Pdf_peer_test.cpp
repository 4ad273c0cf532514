// Printed sheets read back by poppler (page count, page size, words and their places) and ZXingReader.
#include "output/PrintTestSupport.h"

#include "model/CardEditorServices.h"
#include "model/Card_Background.h"

#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace printtest;

namespace {

struct Word {
    QString text;
    QRectF box; // points, top-left origin
};

// Every word of one page as pdftotext -bbox places it.
std::vector<Word> wordsOf(const QString& pdf, int page)
{
    QString out, err;
    const int code = testsupport::runProgram(QStringLiteral("pdftotext"),
        { QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
            QString::number(page), pdf, QStringLiteral("-") },
        &out, &err);
    EXPECT_EQ(code, 0) << err.toStdString();
    std::vector<Word> words;
    QXmlStreamReader xml(out);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const QRectF box(
                QPointF(a.value(QLatin1String("xMin")).toDouble(), a.value(QLatin1String("yMin")).toDouble()),
                QPointF(a.value(QLatin1String("xMax")).toDouble(), a.value(QLatin1String("yMax")).toDouble()));
            words.push_back({ xml.readElementText(), box });
        }
    }
    return words;
}

QString pdfInfo(const QString& pdf)
{
    QString out;
    EXPECT_EQ(testsupport::runProgram(QStringLiteral("pdfinfo"), { pdf }, &out), 0);
    return out;
}

int pageCount(const QString& info)
{
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
}

class PrintPdfPeer : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* peer : { "pdftotext", "pdfinfo", "pdftoppm", "ZXingReader" })
            ASSERT_TRUE(testsupport::havePeer(QLatin1String(peer))) << peer << " is not installed";
    }
};

} // namespace

TEST_F(PrintPdfPeer, PageCountAndA4PageSize)
{
    const struct {
        int records, total, rows, cols, pages;
    } cases[] = { { 10, 10, 2, 2, 3 }, { 5, 8, 2, 2, 2 }, { 0, 7, 2, 3, 2 }, { 25, 25, 5, 2, 3 } };
    for (const auto& c : cases) {
        const QString pdf = testsupport::makeTempFolder(QStringLiteral("pages")) + QStringLiteral("/sheets.pdf");
        EXPECT_EQ(printToPdf(mergedJob(c.records, c.total, c.rows, c.cols), pdf), c.pages);
        const QString info = pdfInfo(pdf);
        EXPECT_EQ(pageCount(info), c.pages) << info.toStdString();
        const auto size
            = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts \\(A4\\)")).match(info);
        ASSERT_TRUE(size.hasMatch()) << info.toStdString();
        EXPECT_NEAR(size.captured(1).toDouble(), 595.28, 0.5);
        EXPECT_NEAR(size.captured(2).toDouble(), 841.89, 0.5);
    }
}

TEST_F(PrintPdfPeer, EachRecordsTextSitsInItsCellInRecordOrder)
{
    // 23 records on 5 x 2 cells: three sheets, the last holding records 20 to 22.
    const Print_Job job = mergedJob(23, 23, 5, 2);
    const QString pdf = testsupport::makeTempFolder(QStringLiteral("cells")) + QStringLiteral("/sheets.pdf");
    ASSERT_EQ(printToPdf(job, pdf), 3);
    int record = 0;
    for (int page = 1; page <= 3; ++page) {
        const std::vector<Word> words = wordsOf(pdf, page);
        std::vector<Word> names;
        for (const Word& w : words) {
            if (w.text.startsWith(QLatin1String("Name")))
                names.push_back(w);
        }
        const int onSheet = std::min(10, 23 - (page - 1) * 10);
        ASSERT_EQ(int(names.size()), onSheet) << "page " << page;
        for (int cell = 0; cell < onSheet; ++cell, ++record) {
            const int row = cell / 2 + 1, column = cell % 2 + 1;
            const QRectF place = job.layout.pageRect(job.layout.cardArea(row, column));
            const auto found = std::find_if(names.begin(), names.end(),
                [&](const Word& w) { return w.text == QStringLiteral("Name%1").arg(record); });
            ASSERT_NE(found, names.end()) << "record " << record;
            EXPECT_TRUE(place.contains(found->box)) << "record " << record << " outside its cell";
            bool town = false;
            for (const Word& w : words)
                town = town || (w.text == QStringLiteral("Town%1").arg(record) && place.contains(w.box));
            EXPECT_TRUE(town) << "record " << record;
        }
    }
}

TEST_F(PrintPdfPeer, BothSidesPutTheBackBelowTheFront)
{
    Print_Job job = mergedJob(4, 4, 2, 1, QStringLiteral("BOTH"));
    job.layout.setCellSize(243.f, 153.f);
    const QString pdf = testsupport::makeTempFolder(QStringLiteral("both")) + QStringLiteral("/sheets.pdf");
    ASSERT_EQ(printToPdf(job, pdf), 2);
    const std::vector<Word> words = wordsOf(pdf, 2);
    for (int record : { 2, 3 }) {
        const auto place = job.layout.placement((record - 2) + 1, 1, QSizeF(243, 153));
        int inFront = 0, inBack = 0;
        for (const Word& w : words) {
            if (w.text == QStringLiteral("Name%1").arg(record))
                inFront += job.layout.pageRect(place.first).contains(w.box);
            if (w.text == QStringLiteral("Town%1").arg(record))
                inBack += job.layout.pageRect(place.second).contains(w.box);
        }
        EXPECT_EQ(inFront, 1) << record;
        EXPECT_EQ(inBack, 1) << record; // the back's only text, in the lower half
    }
}

TEST_F(PrintPdfPeer, BarcodeOnASheetReadsAsItsRecordsValue)
{
    // One card a sheet, so the reader sees one symbol per page.
    const Print_Job job = mergedJob(3, 3, 1, 1);
    const QString folder = testsupport::makeTempFolder(QStringLiteral("barcodes"));
    const QString pdf = folder + QStringLiteral("/sheets.pdf");
    ASSERT_EQ(printToPdf(job, pdf), 3);
    for (int page = 1; page <= 3; ++page) {
        const QString prefix = folder + QStringLiteral("/page%1").arg(page);
        ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftoppm"),
                      { QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-png"),
                          QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page),
                          QStringLiteral("-l"), QString::number(page), pdf, prefix }),
            0);
        QString out;
        testsupport::runProgram(QStringLiteral("ZXingReader"),
            { QStringLiteral("-fast"), QStringLiteral("-norotate"), QStringLiteral("-noscale"),
                prefix + QStringLiteral(".png") },
            &out);
        EXPECT_TRUE(out.contains(QStringLiteral("Text:       \"CODE%1\"").arg(page - 1))) << out.toStdString();
    }
}

// A picture on every card is embedded once; a photo background or a photo item, held small, is read again at
// 300 dpi over the card's place, and that one picture serves every card.
TEST_F(PrintPdfPeer, APictureOnEveryCardIsEmbeddedOnceAndPhotosAtThePrintResolution)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("embedded"));
    const QString photo = folder + QStringLiteral("/photo.jpg");
    QImage picture(2400, 1600, QImage::Format_RGB32);
    QPainter(&picture).fillRect(picture.rect(), QLinearGradient(0, 0, 2400, 1600));
    ASSERT_TRUE(picture.save(photo));
    Batch_Snapshot::Side front { {}, batchtest::creditCardSide(0) };
    Card_Property& side = front.rendering.property;
    side.setCard_fill_style(QStringLiteral("I"));
    side.setCard_BG_Image_Path(photo);
    side.setCard_BG_Image(cardbackground::held(photo, QStringLiteral("Stretch"), QSizeF(243, 153)));
    EXPECT_EQ(side.Card_BG_Image().size(), QSize(729, 486)) << "held at the size that covers the card on screen";
    Print_Job background = mergedJob(0, 4, 2, 2);
    background.snapshot = Batch_Snapshot::take(front, {}, false, Record_Source(), Barcode_Gen());
    // A photo item filling the card is read again at 300 dpi over it, as the background is.
    auto item = batchtest::boundPicture(0, QString(), 0, QRectF(0, 0, 243, 153));
    item->setFilePath(photo);
    Print_Job photoItem = mergedJob(0, 4, 2, 2);
    photoItem.snapshot
        = Batch_Snapshot::take({ { item }, batchtest::creditCardSide(0) }, {}, false, Record_Source(), Barcode_Gen());
    const struct {
        Print_Job job;
        int sheets;
        QString pixels; // of the picture, as the file holds it
        int uses;
    } rows[] = { { mergedJob(40, 40, 5, 2), 4, "40x30", 40 }, { background, 1, "1013x638", 4 },
        { photoItem, 1, "1013x638", 4 } };
    for (const auto& row : rows) {
        const QString pdf = folder + QStringLiteral("/sheets.pdf");
        ASSERT_EQ(printToPdf(row.job, pdf), row.sheets);
        QString out;
        ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf }, &out), 0);
        // Every use is listed; the objects behind them are what the file holds.
        QSet<QString> objects;
        int uses = 0;
        for (const QString& line : out.split(QLatin1Char('\n')).mid(2)) {
            const QStringList f = line.simplified().split(QLatin1Char(' '));
            if (f.size() >= 12 && f[2] == QLatin1String("image") && f[3] + QLatin1Char('x') + f[4] == row.pixels) {
                ++uses;
                objects.insert(f[10] + QLatin1Char(' ') + f[11]);
            }
        }
        EXPECT_EQ(uses, row.uses) << out.toStdString();
        EXPECT_EQ(objects.size(), 1) << out.toStdString();
    }
}

TEST_F(PrintPdfPeer, ArabicHebrewAndMixedWordsAreInThePrintsTextLayer)
{
    const QStringList lines { QString::fromUtf8(
                                  "\u062D\u0641\u0644\u0629 \u0639\u064A\u062F \u0645\u064A\u0644\u0627\u062F"),
        QString::fromUtf8("\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD"),
        QString::fromUtf8("\u062D\u0641\u0644\u0629 Party 2026") };
    Batch_Snapshot::Side front { {}, batchtest::creditCardSide(0) };
    for (int i = 0; i < lines.size(); ++i) {
        auto text = batchtest::boundText(0, QString(), 0, QRectF(10, 6 + 28 * i, 220, 26));
        text->Text_contents().string = lines[i];
        text->text_ctrl_font = builtInTextFont(); // the default italic
        front.items.push_back(text);
    }
    Print_Job job = mergedJob(0, 1, 1, 1);
    job.snapshot = Batch_Snapshot::take(front, {}, false, Record_Source(), Barcode_Gen());
    const QString pdf = testsupport::makeTempFolder(QStringLiteral("scripts")) + QStringLiteral("/sheet.pdf");
    ASSERT_EQ(printToPdf(job, pdf), 1);
    QString out;
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") }, &out), 0);
    // Letters drawn in their joined forms read back as the letters they are.
    const QString layer = out.normalized(QString::NormalizationForm_KC);
    for (const QString& word : lines.join(QLatin1Char(' ')).split(QLatin1Char(' ')))
        EXPECT_TRUE(layer.contains(word)) << word.toStdString() << "\n" << out.toStdString();
}
