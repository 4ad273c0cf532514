#include "model/ImageProcesser.h"

#include "model/Image_Color_Filters.h"
#include "model/Image_Convolution_Filters.h"
#include "model/Image_Geometry.h"
#include "common/Common_Functions.h"

#include <atomic>
#include <cmath>
#include <deque>
#include <exception>
#include <mutex>

namespace {

enum class Step {
    SizeCap,
    GrayScale,
    Sepia,
    InvertColor,
    Hue,
    ColorControl,
    Sharpness,
    BoxBlur,
    Exposure,
    Rotation,
    Count
};

const char* stepName(Step step)
{
    switch (step) {
    case Step::SizeCap:
        return "Set_Dimaension";
    case Step::GrayScale:
        return "GrayScale";
    case Step::Sepia:
        return "Sepia";
    case Step::InvertColor:
        return "Invert_Color";
    case Step::Hue:
        return "adjust_Hue";
    case Step::ColorControl:
        return "adjust_Color_Control";
    case Step::Sharpness:
        return "adjust_Sharpness";
    case Step::BoxBlur:
        return "adjust_boxBlur";
    case Step::Exposure:
        return "adjust_EV";
    case Step::Rotation:
    case Step::Count:
        break;
    }
    return "imageRotated";
}

// The chain runs at every paint, so a step that keeps failing would flood the log; each kind of step
// reports its first failure only.
std::atomic<bool> reported[int(Step::Count)];

void reportFailure(Step step, const QString& reason)
{
    if (reported[int(step)].exchange(true))
        return;
    Show_NSLog_Message(QStringLiteral("%1: %2").arg(QLatin1String(stepName(step)), reason));
}

QString describe(const QImage& picture)
{
    return QStringLiteral("%1 x %2 picture").arg(picture.width()).arg(picture.height());
}

// Runs one filter; on failure (a null result or an exception) logs it and passes the input on.
template <typename Filter> QImage runStep(Step step, const QImage& picture, const QString& values, Filter&& filter)
{
    if (picture.isNull())
        return picture;
    try {
        QImage result = filter();
        if (!result.isNull())
            return result;
        reportFailure(step, QStringLiteral("cannot adjust a %1 with %2; step skipped").arg(describe(picture), values));
    } catch (const std::exception& e) {
        reportFailure(step, QStringLiteral("%1; step skipped").arg(QString::fromUtf8(e.what())));
    }
    return picture;
}

QString number(float v)
{
    return QString::number(double(v));
}

} // namespace

namespace {

// The last few pictures made by the chain. A picture drawn again with the same adjustments (the same
// picture on every card of a print run) comes back as the very same image, so a PDF embeds it once.
struct Processed_Cache {
    struct Entry {
        qint64 key;
        ImageAdjustments values;
        QImage result;
    };
    std::mutex lock;
    std::deque<Entry> entries;
    static constexpr size_t capacity = 8;

    std::optional<QImage> find(qint64 key, const ImageAdjustments& values)
    {
        const std::lock_guard<std::mutex> guard(lock);
        for (const Entry& e : entries) {
            if (e.key == key && e.values == values)
                return e.result;
        }
        return std::nullopt;
    }
    void keep(qint64 key, const ImageAdjustments& values, const QImage& result)
    {
        const std::lock_guard<std::mutex> guard(lock);
        entries.push_front({ key, values, result });
        if (entries.size() > capacity)
            entries.pop_back();
    }
};

Processed_Cache& processedCache()
{
    static Processed_Cache cache;
    return cache;
}

} // namespace

std::optional<QImage> ImageProcesser::Get_Processed_Image(const QImage& picture, const ImageAdjustments& values)
{
    if (picture.isNull())
        return std::nullopt;
    if (std::optional<QImage> kept = processedCache().find(picture.cacheKey(), values))
        return kept;
    std::optional<QImage> result = processUncached(picture, values, 1.0, true);
    if (result)
        processedCache().keep(picture.cacheKey(), values, *result);
    return result;
}

std::optional<QImage> ImageProcesser::Get_Processed_Image_For_Output(
    const QImage& picture, const ImageAdjustments& values, double scale)
{
    if (picture.isNull() || !(scale >= 1.0) || !std::isfinite(scale))
        return std::nullopt;
    return processUncached(picture, values, scale, false);
}

std::optional<QImage> ImageProcesser::processUncached(
    const QImage& picture, const ImageAdjustments& values, double scale, bool capped)
{
    try {
        QImage p = capped ? Set_Dimaension(picture) : picture;
        if (p.isNull()) {
            reportFailure(Step::SizeCap, QStringLiteral("cannot scale down a %1").arg(describe(picture)));
            return std::nullopt;
        }
        if (values.grayscale)
            p = GrayScale(p);
        if (values.sepia)
            p = Sepia(p);
        if (values.invert)
            p = Invert_Color(p);
        p = adjust_Hue(p, values.hue);
        p = adjust_Color_Control(p, values.saturation, values.brightness, values.contrast);
        p = adjust_Sharpness(p, values.sharpness);
        p = adjust_boxBlur(p, float(values.blur * scale));
        p = adjust_EV(p, values.exposure);
        QImage turned = imageRotated(p, float(values.rotation), int(std::lround(kTurnMargin * scale)));
        if (turned.isNull()) {
            reportFailure(
                Step::Rotation, QStringLiteral("cannot turn a %1 by %2 degrees").arg(describe(p)).arg(values.rotation));
            return std::nullopt;
        }
        return turned;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QStringLiteral("Get_Processed_Image: %1").arg(QString::fromUtf8(e.what())));
        return std::nullopt;
    }
}

QImage ImageProcesser::Set_Dimaension(const QImage& picture)
{
    return imagefilters::fittedWithin(picture, kMaximumSize);
}

QImage ImageProcesser::GrayScale(const QImage& picture)
{
    return runStep(
        Step::GrayScale, picture, QStringLiteral("no values"), [&] { return imagefilters::grayscale(picture); });
}

QImage ImageProcesser::Sepia(const QImage& picture)
{
    return runStep(Step::Sepia, picture, QStringLiteral("intensity 1"), [&] { return imagefilters::sepia(picture); });
}

QImage ImageProcesser::Invert_Color(const QImage& picture)
{
    return runStep(
        Step::InvertColor, picture, QStringLiteral("no values"), [&] { return imagefilters::invert(picture); });
}

QImage ImageProcesser::adjust_Hue(const QImage& picture, float hue)
{
    return runStep(Step::Hue, picture, QStringLiteral("angle %1").arg(number(hue)),
        [&] { return imagefilters::hueAdjust(picture, hue); });
}

QImage ImageProcesser::adjust_Color_Control(const QImage& picture, float sat, float brt, float con)
{
    return runStep(Step::ColorControl, picture,
        QStringLiteral("saturation %1, brightness %2, contrast %3").arg(number(sat), number(brt), number(con)),
        [&] { return imagefilters::colorControls(picture, sat, brt, con); });
}

QImage ImageProcesser::adjust_Sharpness(const QImage& picture, float value)
{
    return runStep(Step::Sharpness, picture, QStringLiteral("sharpness %1").arg(number(value)),
        [&] { return imagefilters::sharpenLuminance(picture, value); });
}

QImage ImageProcesser::adjust_boxBlur(const QImage& picture, float value)
{
    return runStep(Step::BoxBlur, picture, QStringLiteral("radius %1").arg(number(value)),
        [&] { return imagefilters::boxBlur(picture, value); });
}

QImage ImageProcesser::adjust_EV(const QImage& picture, float value)
{
    return runStep(Step::Exposure, picture, QStringLiteral("exposure %1").arg(number(value)),
        [&] { return imagefilters::exposureAdjust(picture, value); });
}
