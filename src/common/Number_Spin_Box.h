#pragma once

#include "common/Number_Text.h"

#include <QDoubleSpinBox>

// A number field with its stepper that reads and shows numbers as every number field of the program does
// (Number_Text.h). A text it cannot take is refused when editing finishes: the field keeps its value and
// says why next to it.
class Number_Spin_Box : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit Number_Spin_Box(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& pos) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;
    void fixup(QString& input) const override;

    // A length field whose unit no suffix shows (its label names it) still takes typed units.
    void setLengthUnit(Number_Unit unit) { unit_ = unit; }

    // Why the last finished text was refused; empty after a text that was taken.
    QString refusal() const { return refusal_; }

private:
    Number_Reading read(const QString& text) const;

    Number_Unit unit_ = Number_Unit::None;
    mutable QString refusal_;
};
