// Sheets of merged cards printed into a PDF: 1,000 credit-card-size cards, 10 to an A4 sheet, each with
// two merged texts, a merged Code 128, a picture shared by every card and a rectangle.
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"
#include "model/Shape_Control.h"
#include "model/TSLBarcode.h"
#include "model/TSLImage.h"
#include "model/TSLText.h"
#include "output/Printing_View.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BenchPrintJob.h"

namespace {

std::shared_ptr<TSLText> mergedText(const QString& series, double y)
{
    auto text = std::make_shared<TSLText>();
    text->ctrl_is_visible = true;
    text->_bounds = QRectF(10, y, 150, 22);
    text->Text_contents().string = QStringLiteral("typed");
    text->Text_contents().font = QFont(QStringLiteral("DejaVu Sans"), 14);
    text->data_source_type = 1;
    text->batch_list_name = series;
    return text;
}

std::shared_ptr<const Batch_Snapshot> thousandCards(const QString& picturePath, int records)
{
    Batch_Snapshot::Side front;
    front.rendering.canvasBounds = QRectF(0, 0, 243, 153);
    front.rendering.property.setCard_fill_clr(QColor(Qt::white));
    front.items.push_back(mergedText(QStringLiteral("names"), 8));
    front.items.push_back(mergedText(QStringLiteral("towns"), 32));
    auto barcode = std::make_shared<TSLBarcode>();
    Barcode_Gen defaults;
    defaults.barcodeTypePopup.select(int(Barcode_Type_Titles().indexOf(QStringLiteral("Code 128"))));
    defaults.Store_Barcode_Prop_In_Item(*barcode);
    barcode->ctrl_is_visible = true;
    barcode->_bounds = QRectF(10, 70, 160, 70);
    barcode->data_source_type = 1;
    barcode->batch_list_name = QStringLiteral("codes");
    front.items.push_back(barcode);
    auto picture = std::make_shared<TSLImage>();
    picture->ctrl_is_visible = true;
    picture->_bounds = QRectF(185, 10, 48, 36);
    picture->setFilePath(picturePath);
    front.items.push_back(picture);
    auto rectangle = std::make_shared<Shape_Control>();
    rectangle->ctrl_is_visible = true;
    rectangle->_bounds = QRectF(185, 60, 48, 80);
    front.items.push_back(rectangle);

    Record_Source source;
    source.useSeries = true;
    QStringList names, towns, codes;
    for (int i = 0; i < records; ++i) {
        names << QStringLiteral("Guest %1").arg(i);
        towns << QStringLiteral("Town %1").arg(i);
        codes << QStringLiteral("TC%1").arg(100000 + i);
    }
    source.series.insert(QStringLiteral("names"), names);
    source.series.insert(QStringLiteral("towns"), towns);
    source.series.insert(QStringLiteral("codes"), codes);
    return Batch_Snapshot::take(front, {}, false, source, defaults);
}

void BM_PrintMergedCardsToPdf(benchmark::State& state)
{
    const int cards = int(state.range(0));
    QTemporaryDir folder;
    QImage logo(400, 300, QImage::Format_RGB32);
    logo.fill(QColor(30, 90, 200));
    const QString logoPath = QDir(folder.path()).filePath(QStringLiteral("logo.png"));
    logo.save(logoPath);
    Print_Job job = benchprint::tenCardsToAnA4Sheet(cards);
    job.useData = true;
    job.snapshot = thousandCards(logoPath, cards);
    const Printing_View view(job);
    qint64 bytes = 0;
    for (auto _ : state) {
        bytes = benchprint::printedPdfBytes(view);
    }
    state.counters["cards_per_second"]
        = benchmark::Counter(double(cards) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pdf_bytes"] = double(bytes);
    state.counters["bytes_per_card"] = double(bytes) / cards;
}

} // namespace

BENCHMARK(BM_PrintMergedCardsToPdf)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
