#include "common/Number_Spin_Box.h"

#include <QLineEdit>
#include <QToolTip>

Number_Spin_Box::Number_Spin_Box(QWidget* parent)
    : QDoubleSpinBox(parent)
{
    // A value applies when editing finishes, never half-typed: "1.0" on the way to "1.000,5" is no value.
    setKeyboardTracking(false);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { refusal_.clear(); });
}

Number_Reading Number_Spin_Box::read(const QString& text) const
{
    QString typed = text;
    if (!prefix().isEmpty() && typed.startsWith(prefix()))
        typed.remove(0, prefix().size());
    Number_Reading reading = Read_Number_Text(
        typed, locale(), unit_ == Number_Unit::None ? Number_Unit_Of_Suffix(suffix()) : unit_, suffix());
    if (reading.value && (*reading.value < minimum() || *reading.value > maximum())) {
        reading.refusal = QStringLiteral("Type a number from %1 to %2.")
                              .arg(Show_Number_Text(minimum(), decimals(), locale()),
                                  Show_Number_Text(maximum(), decimals(), locale()));
        reading.value.reset();
    }
    return reading;
}

QValidator::State Number_Spin_Box::validate(QString& input, int& pos) const
{
    Q_UNUSED(pos)
    // Anything may be typed on the way to a number; what is not one is refused when editing finishes.
    return read(input).value ? QValidator::Acceptable : QValidator::Intermediate;
}

double Number_Spin_Box::valueFromText(const QString& text) const
{
    return read(text).value.value_or(value());
}

QString Number_Spin_Box::textFromValue(double value) const
{
    return Show_Number_Text(value, decimals(), locale());
}

void Number_Spin_Box::fixup(QString& input) const
{
    refusal_ = read(input).refusal;
    if (!refusal_.isEmpty() && isVisible())
        QToolTip::showText(mapToGlobal(QPoint(0, height())), refusal_, const_cast<Number_Spin_Box*>(this));
}
