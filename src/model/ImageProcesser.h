#pragma once

#include <QImage>
#include <QSize>

#include <optional>

// The adjustment values of a picture item; the defaults are a new item's, all neutral.
struct ImageAdjustments {
    bool grayscale = false;
    bool sepia = false;
    bool invert = false;
    float hue = 0.0f; // radians, turned about the grey axis
    float saturation = 1.0f;
    float brightness = 0.0f;
    float contrast = 1.0f;
    int rotation = 0; // whole degrees, counter-clockwise as seen
    float sharpness = 0.0f;
    float exposure = 0.0f; // stops (EV)
    float blur = 0.0f; // box radius in pixels

    bool operator==(const ImageAdjustments&) const = default;
};

// The chain of adjustments that a picture item's picture goes through each time the item is drawn.
// Class operations only, no state: it runs on any thread and never changes the caller's picture. The
// item's opacity is applied by its drawing, not here.
class ImageProcesser {
public:
    // Largest picture the chain works on; bigger ones are scaled down first.
    static constexpr QSize kMaximumSize { 724, 468 };

    // Size cap, grey scale, sepia and invert when asked, hue, colour controls, sharpness, blur,
    // exposure, rotation, in this order, each on the previous result. A step that fails is logged (once
    // per kind of step in the process) and skipped. Gives no picture for a null picture, or when the
    // size cap or the rotation fails. With every value neutral the result is the picture itself.
    // The last few results are kept, so the same picture drawn again with the same values is one image.
    static std::optional<QImage> Get_Processed_Image(const QImage& picture, const ImageAdjustments& values);
    // The same chain for an output that draws the picture with more pixels than the screen: `picture` is the
    // file read again at `scale` times the working size, so there is no size cap, and the values measured in
    // pixels (the blur's radius, the margin of a turn that is not a quarter) grow with it, so that the output
    // shows what the screen shows. Nothing is kept here: the caller keeps the result.
    static std::optional<QImage> Get_Processed_Image_For_Output(
        const QImage& picture, const ImageAdjustments& values, double scale);

    // The size cap: a copy scaled down, keeping its proportions, to fit kMaximumSize, or the picture
    // itself when it fits. Null when the copy cannot be made.
    static QImage Set_Dimaension(const QImage& picture);

    // The filter steps. Each returns the adjusted picture, or its input after logging a failure.
    static QImage GrayScale(const QImage& picture);
    static QImage Sepia(const QImage& picture);
    static QImage Invert_Color(const QImage& picture);
    static QImage adjust_Hue(const QImage& picture, float hue);
    static QImage adjust_Color_Control(const QImage& picture, float sat, float brt, float con);
    static QImage adjust_Sharpness(const QImage& picture, float value);
    static QImage adjust_boxBlur(const QImage& picture, float value);
    static QImage adjust_EV(const QImage& picture, float value);

private:
    static std::optional<QImage> processUncached(
        const QImage& picture, const ImageAdjustments& values, double scale, bool capped);
};
