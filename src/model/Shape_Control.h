#pragma once

#include "model/TSLGraphic.h"

// A geometric shape item: rectangle, oval, rounded rectangle, triangle, diamond, star, double star or
// polygon, chosen by its shape code.
class Shape_Control : public TSLGraphic {
public:
    Shape_Control() = default;
    explicit Shape_Control(Bare bare) : TSLGraphic(bare) { }

    QString className() const override { return QStringLiteral("Shape_Control"); }
};
