// Cost of the picture adjustment chain that every picture item runs at every draw.
#include "model/ImageProcesser.h"
#include "model/Image_Color_Filters.h"
#include "model/Image_Convolution_Filters.h"
#include "model/Image_Geometry.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <benchmark/benchmark.h>

namespace {

// A photo-like opaque picture, as a JPEG loads (RGB32): smooth gradients with sharp-edged discs.
QImage photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(40, 90, 200));
    sky.setColorAt(1, QColor(250, 200, 120));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 12; ++i) {
        QRadialGradient disc(QPointF(width * (i + 0.5) / 12.0, height * (0.3 + 0.05 * (i % 5))), height / 8.0);
        disc.setColorAt(0, QColor::fromHsv((i * 30) % 360, 200, 240));
        disc.setColorAt(1, QColor::fromHsv((i * 30 + 60) % 360, 255, 90));
        painter.setBrush(disc);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(
            QPointF(width * (i + 0.5) / 12.0, height * (0.3 + 0.05 * (i % 5))), height / 8.0, height / 8.0);
    }
    return image;
}

ImageAdjustments everyStep()
{
    ImageAdjustments values;
    values.grayscale = false;
    values.sepia = true;
    values.invert = true;
    values.hue = 0.5f;
    values.saturation = 1.2f;
    values.brightness = 0.05f;
    values.contrast = 1.1f;
    values.rotation = 30;
    values.sharpness = 0.4f;
    values.exposure = 0.5f;
    values.blur = 3.0f;
    return values;
}

void BM_ProcessedImage_EveryStep(benchmark::State& state)
{
    const QImage picture = photo(int(state.range(0)), int(state.range(1)));
    const ImageAdjustments values = everyStep();
    for (auto _ : state)
        benchmark::DoNotOptimize(ImageProcesser::Get_Processed_Image(picture, values));
}
BENCHMARK(BM_ProcessedImage_EveryStep)->Args({ 1200, 800 })->Args({ 724, 468 })->Unit(benchmark::kMillisecond);

void BM_ProcessedImage_Neutral(benchmark::State& state)
{
    const QImage picture = photo(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ImageProcesser::Get_Processed_Image(picture, ImageAdjustments {}));
}
BENCHMARK(BM_ProcessedImage_Neutral)->Args({ 1200, 800 })->Args({ 724, 468 })->Unit(benchmark::kMillisecond);

// Each step alone on a picture of the capped size.
template <typename Step> void runStep(benchmark::State& state, Step step)
{
    const QImage picture = photo(724, 468);
    for (auto _ : state)
        benchmark::DoNotOptimize(step(picture));
}

void BM_Step_SizeCap(benchmark::State& state)
{
    const QImage picture = photo(1200, 800);
    for (auto _ : state)
        benchmark::DoNotOptimize(ImageProcesser::Set_Dimaension(picture));
}
BENCHMARK(BM_Step_SizeCap)->Unit(benchmark::kMillisecond);

void BM_Step_GrayScale(benchmark::State& state)
{
    runStep(state, [](const QImage& p) { return imagefilters::grayscale(p); });
}
BENCHMARK(BM_Step_GrayScale)->Unit(benchmark::kMillisecond);

void BM_Step_Hue(benchmark::State& state)
{
    runStep(state, [](const QImage& p) { return imagefilters::hueAdjust(p, 0.5f); });
}
BENCHMARK(BM_Step_Hue)->Unit(benchmark::kMillisecond);

void BM_Step_ColorControls(benchmark::State& state)
{
    runStep(state, [](const QImage& p) { return imagefilters::colorControls(p, 1.2f, 0.05f, 1.1f); });
}
BENCHMARK(BM_Step_ColorControls)->Unit(benchmark::kMillisecond);

void BM_Step_Exposure(benchmark::State& state)
{
    runStep(state, [](const QImage& p) { return imagefilters::exposureAdjust(p, 0.5f); });
}
BENCHMARK(BM_Step_Exposure)->Unit(benchmark::kMillisecond);

void BM_Step_Sharpen(benchmark::State& state)
{
    runStep(state, [](const QImage& p) { return imagefilters::sharpenLuminance(p, 0.4f); });
}
BENCHMARK(BM_Step_Sharpen)->Unit(benchmark::kMillisecond);

void BM_Step_BoxBlur(benchmark::State& state)
{
    const float radius = float(state.range(0));
    runStep(state, [radius](const QImage& p) { return imagefilters::boxBlur(p, radius); });
}
BENCHMARK(BM_Step_BoxBlur)->Arg(3)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_Step_Rotation(benchmark::State& state)
{
    const float angle = float(state.range(0));
    runStep(state, [angle](const QImage& p) { return imageRotated(p, angle); });
}
BENCHMARK(BM_Step_Rotation)->Arg(90)->Arg(30)->Unit(benchmark::kMillisecond);

} // namespace
