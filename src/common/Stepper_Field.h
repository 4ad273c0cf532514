#pragma once

#include "common/Number_Spin_Box.h"

#include <QWidget>

// A number field with its stepper, as one widget. Inspector pages write a value back only when the
// user changes it, so setValue() never emits; valueChanged(double) follows the user's edits.
class Stepper_Field : public QWidget {
    Q_OBJECT
public:
    explicit Stepper_Field(QWidget* parent = nullptr);

    double value() const;
    void setValue(double value); // silent: showing an item must not write back into it
    void setRange(double minimum, double maximum);
    void setSingleStep(double step);
    void setDecimals(int decimals);
    void setLengthUnit(Number_Unit unit);
    double minimum() const;
    double maximum() const;
    QString text() const;

    // The inner editor, so tests can type into it and step it like a user.
    Number_Spin_Box* spinBox() const { return spin_; }

signals:
    void valueChanged(double value);

private:
    Number_Spin_Box* spin_;
};
