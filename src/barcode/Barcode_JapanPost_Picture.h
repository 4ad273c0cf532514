#pragma once

#include "barcode/JapanPostBarcode.h"

// A Japan Post symbol as the generator frames it. The symbol's own height is its size on the point
// scale, which draws the bars; the picture around the bars is taller, by the value text, header, footer
// and margins. This keeps the two apart: setHeight and height are the picture's, the symbol size stays.
class Barcode_JapanPost_Picture : public JapanPostBarcode {
public:
    void setHeight(float height) override { pictureHeight_ = height; }
    float height() const override { return pictureHeight_ > 0.0f ? pictureHeight_ : JapanPostBarcode::height(); }
    // Height in points of the longest bar at the symbol's size: the bar space the picture must hold.
    float barsHeight() const;

private:
    float pictureHeight_ = 0.0f;
};
