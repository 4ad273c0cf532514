#include "model/TSLText.h"

#include "platform/Geometry.h"

QRectF TSLText::drawingBounds() const
{
    return platform::unionRect(TSLGraphic::drawingBounds(), platform::outsetRect(bounds(), 1.0, 1.0));
}
