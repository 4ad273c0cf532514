#include "common/Stepper_Field.h"

#include <QHBoxLayout>
#include <QSignalBlocker>

Stepper_Field::Stepper_Field(QWidget* parent)
    : QWidget(parent)
    , spin_(new Number_Spin_Box(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(spin_);
    spin_->setRange(0, 10000);
    spin_->setDecimals(2);
    spin_->setKeyboardTracking(false); // one write-back per finished entry, not per keystroke
    setFocusProxy(spin_);
    connect(spin_, &QDoubleSpinBox::valueChanged, this, &Stepper_Field::valueChanged);
}

double Stepper_Field::value() const
{
    return spin_->value();
}

void Stepper_Field::setValue(double value)
{
    const QSignalBlocker mute(spin_);
    spin_->setValue(value);
}

void Stepper_Field::setRange(double minimum, double maximum)
{
    const QSignalBlocker mute(spin_);
    spin_->setRange(minimum, maximum);
}

void Stepper_Field::setSingleStep(double step)
{
    spin_->setSingleStep(step);
}

void Stepper_Field::setLengthUnit(Number_Unit unit)
{
    spin_->setLengthUnit(unit);
}

void Stepper_Field::setDecimals(int decimals)
{
    const QSignalBlocker mute(spin_);
    spin_->setDecimals(decimals);
}

double Stepper_Field::minimum() const
{
    return spin_->minimum();
}
double Stepper_Field::maximum() const
{
    return spin_->maximum();
}
QString Stepper_Field::text() const
{
    return spin_->text();
}
