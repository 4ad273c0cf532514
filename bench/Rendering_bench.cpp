#include "canvas/TSLRenderingView.h"
#include "model/Shape_Control.h"
#include "model/TSLText.h"

#include <QColor>

#include <benchmark/benchmark.h>

namespace {

// A busy side of a card: 80 shapes of every kind with solid and gradient fills and borders, and 20
// text items, spread over a 243 x 154 point card with a solid background and a dashed border.
TSLGraphicList hundredItemSide()
{
    static const char* shapes[] = { "R", "C", "RR", "T", "D", "S", "DS", "P" };
    TSLGraphicList items;
    for (int i = 0; i < 100; ++i) {
        const QRectF bounds(5 + (i * 37) % 200, 5 + (i * 23) % 120, 20 + i % 25, 15 + i % 20);
        if (i % 5 == 4) {
            auto text = std::make_shared<TSLText>();
            text->_bounds = QRectF(bounds.x(), bounds.y(), 80, 24);
            text->Text_Value = QStringLiteral("Guest %1, you are invited").arg(i);
            text->_isDrawingFill = false;
            items.push_back(text);
            continue;
        }
        auto shape = std::make_shared<Shape_Control>();
        shape->Set_Shape_Type(QString::fromLatin1(shapes[i % 8]));
        shape->_bounds = bounds;
        shape->_fillColor = QColor::fromHsv((i * 37) % 360, 180, 230);
        if (i % 3 == 0) {
            shape->_fill_type = QStringLiteral("G");
            shape->_fill_Grad_clr1 = QColor::fromHsv((i * 53) % 360, 200, 240);
            shape->_fill_Grad_clr2 = QColor(Qt::white);
            shape->_fill_grad_angle = i * 15 % 360;
        }
        shape->_strokeWidth = 1 + i % 3;
        shape->polygon_type = 5 + i % 4;
        items.push_back(shape);
    }
    return items;
}

TSLRenderingSide busySide()
{
    TSLRenderingSide side;
    side.property.setCard_fill_chk(true);
    side.property.setCard_fill_style(QStringLiteral("S"));
    side.property.setCard_fill_clr(QColor(250, 245, 230));
    side.property.setCard_border_chk(true);
    side.property.setCard_bordr_clr(QColor(Qt::darkBlue));
    side.property.setCard_bor_Stepper(2);
    side.property.setCard_border_style(QStringLiteral("DA"));
    side.cardShape = 1;
    side.canvasBounds = QRectF(0, 0, 243, 154);
    return side;
}

void BM_PdfOfHundredItemSide(benchmark::State& state)
{
    const TSLGraphicList items = hundredItemSide();
    const TSLRenderingSide side = busySide();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = TSLRenderingView::pdfDataWithGraphics_data(items, side);
        bytes = std::size_t(pdf.size());
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_PdfOfHundredItemSide)->Unit(benchmark::kMillisecond);

// The picture of the same side for export (one pixel per point) and for printing.
void BM_PictureOfHundredItemSide(benchmark::State& state)
{
    const TSLGraphicList items = hundredItemSide();
    const TSLRenderingSide side = busySide();
    const bool forPrinting = state.range(0) != 0;
    for (auto _ : state) {
        const QImage picture = TSLRenderingView::image_From_Card_Graphics(items, forPrinting, side);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_PictureOfHundredItemSide)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
