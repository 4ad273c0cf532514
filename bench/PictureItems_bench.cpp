// Bringing in a phone photo, and drawing picture items and the card base into a print-resolution picture of a card.
#include "canvas/Card_Base_Drawing.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "model/Card_Property.h"
#include "model/PictureCache.h"
#include "model/PictureSource.h"
#include "model/TSLImage.h"

#include "BenchMemory.h"

#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSaveFile>

#include <benchmark/benchmark.h>

namespace {

constexpr double cardWidth = 242.65; // points
constexpr double cardHeight = 153.07;
constexpr double printScale = 300.0 / 72.0;

QImage cardPicture()
{
    return QImage(qCeil(cardWidth * printScale), qCeil(cardHeight * printScale), QImage::Format_ARGB32_Premultiplied);
}

// A photo-like picture (a sky and a row of circles drawn on 724 x 468, scaled to the size) saved once in the data
// folder under the name, in the format the name's suffix says.
QString photoFile(const QString& name, QSize size)
{
    Prepare_Resource_Folder();
    const QString file = Resource_Path + QLatin1Char('/') + name;
    if (QFileInfo::exists(file))
        return file;
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(size.width() / 724.0, size.height() / 468.0);
    QLinearGradient sky(0, 0, 724, 468);
    sky.setColorAt(0, QColor(30, 80, 190));
    sky.setColorAt(1, QColor(250, 190, 110));
    painter.fillRect(QRectF(0, 0, 724, 468), sky);
    painter.setBrush(QColor(240, 240, 200));
    for (int i = 0; i < 20; ++i)
        painter.drawEllipse(QPointF(36.0 * i, 200 + 100 * std::sin(i)), 30, 30);
    painter.end();
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && image.save(&out, QFileInfo(name).suffix().toLatin1().constData()))
        out.commit();
    return file;
}

// 724 x 468: the largest size the adjustment chain works at.
QString photoPath()
{
    static const QString path = photoFile(QStringLiteral("bench_photo.png"), { 724, 468 });
    return path;
}

void drawPicture(benchmark::State& state, TSLImage& item)
{
    QImage picture = cardPicture();
    for (auto _ : state) {
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.scale(printScale, printScale);
        TSLDrawingContext context;
        context.painter = &painter;
        context.deviceScale = printScale;
        item.drawContentsInView(context, false);
        painter.end();
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_PictureItemNeutralAt300Dpi(benchmark::State& state)
{
    auto item = TSLImage::initWithPath({ 0, 0 }, photoPath());
    item->_bounds = QRectF(10, 10, 160, 103);
    drawPicture(state, *item);
}
BENCHMARK(BM_PictureItemNeutralAt300Dpi)->Unit(benchmark::kMillisecond);

void BM_PictureItemEveryAdjustmentAt300Dpi(benchmark::State& state)
{
    auto item = TSLImage::initWithPath({ 0, 0 }, photoPath());
    item->_bounds = QRectF(10, 10, 160, 103);
    item->gray_Scale = item->Sepia = item->invert_clr = true;
    item->hue_val = 0.8f;
    item->sat_val = 1.3f;
    item->brt_val = 0.1f;
    item->con_val = 1.2f;
    item->srp_val = 0.6f;
    item->blr_val = 3.0f;
    item->ev_val = 0.5f;
    item->rotate_image = 30.0f;
    item->img_trnsp_val = 70.0f;
    item->_isFlippedHorizontally = true;
    drawPicture(state, *item);
}
BENCHMARK(BM_PictureItemEveryAdjustmentAt300Dpi)->Unit(benchmark::kMillisecond);

// Bringing in a phone photo as the picture tools do (the check, then the working picture): 0 JPEG, 1 PNG.
void BM_PictureLoad48Megapixels(benchmark::State& state)
{
    const QString path = photoFile(
        state.range(0) == 0 ? QStringLiteral("bench_phone.jpg") : QStringLiteral("bench_phone.png"), { 8000, 6000 });
    qint64 rise = 0;
    for (auto _ : state) {
        PictureCache::instance().clear();
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        const PictureSource::Check check = PictureSource::check(path);
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
        if (!check.usable() || check.pixels != QSize(8000, 6000))
            state.SkipWithError("the photo was refused");
    }
    state.counters["peak_rise_kB"] = double(rise);
    state.counters["file_kB"] = double(QFileInfo(path).size()) / 1024;
}
BENCHMARK(BM_PictureLoad48Megapixels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The card base of each fill kind: 0 solid, 1 gradient, 2 hatch, 3 picture stretched, 4 picture tiled.
void BM_CardBaseAt300Dpi(benchmark::State& state)
{
    Prepare_Resource_Folder();
    Card_Property side;
    side.setCard_fill_chk(true);
    side.setCard_border_chk(true);
    side.setCard_bor_Stepper(2);
    side.setCard_border_style(QStringLiteral("DDD"));
    side.setCard_fill_Grd_1_clr(Qt::red);
    side.setCard_fill_Grd_2_clr(Qt::blue);
    side.setCard_grad_Stepper(30);
    side.setCard_hatch_style(QStringLiteral("Hatch_Cross"));
    side.setCard_BG_Image(QImage(photoPath()));
    side.setCard_alpha_Stepper(0.8f);
    static const char* styles[] = { "S", "G", "H", "I", "I" };
    side.setCard_fill_style(QString::fromLatin1(styles[state.range(0)]));
    side.setCard_BG_Image_Layout(state.range(0) == 4 ? QStringLiteral("Tile") : QStringLiteral("Stretch"));

    QImage picture = cardPicture();
    const QRectF card(0, 0, cardWidth, cardHeight);
    for (auto _ : state) {
        QPainter painter(&picture);
        painter.scale(printScale, printScale);
        Card_Base_Drawing(painter, card, side, 1, card);
        painter.end();
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_CardBaseAt300Dpi)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

} // namespace
