#include "model/TSLLine.h"

TSLGraphicPtr TSLLine::copyWithZone() const
{
    auto copy = std::make_shared<TSLLine>();
    copyBaseFieldsTo(*copy);
    copy->_pointsRight = _pointsRight;
    copy->_pointsDown = _pointsDown;
    return copy;
}
