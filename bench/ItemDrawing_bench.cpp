// Drawing a card side's shapes, texts and lines into a print-resolution picture.
#include "common/File_Functions.h"
#include "model/Shape_Control.h"
#include "model/TSLLine.h"
#include "model/TSLText.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr double cardWidth = 242.65; // points
constexpr double cardHeight = 153.07;
constexpr double printScale = 300.0 / 72.0;

TSLGraphicPtr shapeItem(int i)
{
    static const char* codes[] = { "R", "C", "RR", "T", "D", "S", "DS", "P" };
    static const char* fills[] = { "S", "G", "H" };
    static const char* borders[] = { "S", "DA", "DO", "DD", "DDD" };
    static const char* hatches[] = { "Hatch_Diagonal", "Hatch_Cross", "Hatch_Dots" };
    auto item = std::make_shared<Shape_Control>();
    item->Set_Shape_Type(QString::fromLatin1(codes[i % 8]));
    item->double_star_type = 1 + i % 5;
    item->polygon_type = 1 + i % 5;
    item->_fill_type = QString::fromLatin1(fills[i % 3]);
    item->_fillColor = QColor::fromHsv((i * 37) % 360, 160, 230);
    item->_fill_Grad_clr1 = QColor::fromHsv((i * 53) % 360, 200, 240);
    item->_fill_Grad_clr2 = QColor::fromHsv((i * 91) % 360, 120, 200);
    item->_fill_grad_angle = (i * 30) % 360;
    item->_fill_htch_clr = QColor::fromHsv((i * 71) % 360, 80, 250);
    item->_fill_hatch_type = QString::fromLatin1(hatches[i % 3]);
    item->_stroke_border_type = QString::fromLatin1(borders[i % 5]);
    item->_strokeWidth = 0.5 + i % 4;
    item->alpha_val = i % 4 == 0 ? 0.6f : 1.0f;
    return item;
}

TSLGraphicPtr textItem(int i)
{
    static const char* texts[] = { "You are invited", "Happy Birthday, dear friend!", "Saturday 14 June at 7 pm",
        "Garden party\nat the old mill", "RSVP by the first of the month" };
    auto item = std::make_shared<TSLText>();
    item->Text_contents().string = QString::fromLatin1(texts[i % 5]);
    QFont font(QString::fromLatin1(i % 2 ? "Liberation Serif" : "DejaVu Sans"));
    font.setPointSizeF(8 + i % 10);
    font.setItalic(i % 3 == 0);
    item->text_ctrl_font = font;
    item->txt_clr = QColor::fromHsv((i * 43) % 360, 200, 120);
    item->text_alignmnet = i % 5;
    item->text_transfrom_case = i % 4;
    item->text_kerning = float(i % 3) * 0.5f;
    item->_isDrawingFill = i % 3 == 0;
    item->_fill_type = i % 2 ? QStringLiteral("G") : QStringLiteral("S");
    item->_isDrawingStroke = i % 4 == 0;
    return item;
}

TSLGraphicPtr lineItem(int i)
{
    auto item = std::make_shared<TSLLine>();
    item->_strokeWidth = 0.5 + i % 5;
    item->_line_cap_style = i % 3;
    item->_stroke_border_type = i % 2 ? QStringLiteral("DA") : QStringLiteral("S");
    item->_strokeColor = QColor::fromHsv((i * 59) % 360, 220, 150);
    return item;
}

// 100 items spread over the card: shapes, texts and lines in turn.
TSLGraphicList mixedSide(int count, int kinds = 3)
{
    static const bool dataFolderReady = Prepare_Resource_Folder(); // the hatch pictures live there
    benchmark::DoNotOptimize(dataFolderReady);
    TSLGraphicList items;
    for (int i = 0; i < count; ++i) {
        const int kind = kinds == 3 ? i % 3 : kinds - 4;
        TSLGraphicPtr item = kind == 0 ? shapeItem(i) : kind == 1 ? textItem(i) : lineItem(i);
        const double x = (i * 17) % 200;
        const double y = (i * 11) % 120;
        item->_bounds = QRectF(x, y, 30 + (i * 7) % 60, 18 + (i * 5) % 30);
        if (auto line = std::dynamic_pointer_cast<TSLLine>(item)) {
            line->_pointsRight = i % 2;
            line->_pointsDown = i % 4 < 2;
        }
        items.push_back(item);
    }
    return items;
}

void renderSide(benchmark::State& state, const TSLGraphicList& items)
{
    QImage picture(qCeil(cardWidth * printScale), qCeil(cardHeight * printScale), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.scale(printScale, printScale);
        TSLDrawingContext context;
        context.painter = &painter;
        context.deviceScale = printScale;
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            (*it)->drawContentsInView(context, false);
        painter.end();
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(items.size()));
}

void BM_DrawHundredMixedItemsAt300Dpi(benchmark::State& state)
{
    renderSide(state, mixedSide(100));
}
BENCHMARK(BM_DrawHundredMixedItemsAt300Dpi)->Unit(benchmark::kMillisecond);

void BM_DrawHundredShapesAt300Dpi(benchmark::State& state)
{
    renderSide(state, mixedSide(100, 4));
}
BENCHMARK(BM_DrawHundredShapesAt300Dpi)->Unit(benchmark::kMillisecond);

void BM_DrawHundredTextsAt300Dpi(benchmark::State& state)
{
    renderSide(state, mixedSide(100, 5));
}
BENCHMARK(BM_DrawHundredTextsAt300Dpi)->Unit(benchmark::kMillisecond);

void BM_DrawHundredLinesAt300Dpi(benchmark::State& state)
{
    renderSide(state, mixedSide(100, 6));
}
BENCHMARK(BM_DrawHundredLinesAt300Dpi)->Unit(benchmark::kMillisecond);

} // namespace
