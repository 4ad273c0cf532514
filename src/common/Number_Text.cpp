#include "common/Number_Text.h"

#include <QRegularExpression>
#include <QValidator>
#include <QWidget>

#include <array>

namespace {

struct Typed_Unit {
    const char* name;
    double millimetres;
};

// Units a person may type after a length, with their size in millimetres.
constexpr std::array<Typed_Unit, 7> typedUnits { { { "mm", 1.0 }, { "cm", 10.0 }, { "in", 25.4 }, { "inch", 25.4 },
    { "inches", 25.4 }, { "\"", 25.4 }, { "pt", 25.4 / 72.0 } } };

std::optional<double> millimetresPer(const QString& unit)
{
    for (const Typed_Unit& known : typedUnits)
        if (unit.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0)
            return known.millimetres;
    return std::nullopt;
}

double unitInMillimetres(Number_Unit unit)
{
    return unit == Number_Unit::Point ? 25.4 / 72.0 : 1.0;
}

QString notANumber(const QString& text, const QLocale& locale)
{
    return QStringLiteral("\"%1\" is not a number: type digits with one decimal separator (%2 or .).")
        .arg(text, locale.decimalPoint());
}

// The number part: a sign, digits and at most one separator, the locale's or the point (or the comma,
// which no locale uses for anything but decimals in a typed size). Digits may be the locale's own
// ("٨٥٫٦٠") or Latin ones, the minus sign the locale's or the plain one.
std::optional<double> readPlainNumber(QString number, const QLocale& locale)
{
    number.replace(locale.negativeSign(), QLatin1String("-"));
    number.replace(locale.decimalPoint(), QLatin1String("."));
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    for (QChar& c : number)
        if (c.isDigit())
            c = QChar(u'0' + c.digitValue());
    static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!plain.match(number).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// Lets digits of any script, signs and separators be typed: the point, the comma and the field's locale's
// own. Separators are let through however many there are, so that a grouped number is refused as a whole
// when editing finishes instead of being read with a separator dropped.
class Number_Typing_Validator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        Q_UNUSED(pos)
        const auto* field = qobject_cast<const QWidget*>(parent());
        const QLocale locale = field ? field->locale() : QLocale();
        const QString marks
            = QStringLiteral(".,+-") + locale.decimalPoint() + locale.groupSeparator() + locale.negativeSign();
        for (const QChar c : input)
            if (!c.isDigit() && !marks.contains(c))
                return Invalid;
        return Acceptable;
    }
};

} // namespace

Number_Unit Number_Unit_Of_Suffix(const QString& suffix)
{
    const QString unit = suffix.trimmed();
    if (unit == QLatin1String("mm"))
        return Number_Unit::Millimetre;
    if (unit == QLatin1String("pt"))
        return Number_Unit::Point;
    return Number_Unit::None;
}

Number_Reading Read_Number_Text(const QString& text, const QLocale& locale, Number_Unit unit, const QString& suffix)
{
    QString typed = text.trimmed();
    const QString ownSuffix = suffix.trimmed();
    if (!ownSuffix.isEmpty() && typed.endsWith(ownSuffix, Qt::CaseInsensitive))
        typed = typed.chopped(ownSuffix.size()).trimmed();
    if (typed.isEmpty())
        return { std::nullopt, QStringLiteral("Type a number.") };

    static const QRegularExpression withUnit(QStringLiteral("^(.*?)\\s*([A-Za-z\"]+)$"));
    const auto match = withUnit.match(typed);
    double factor = 1.0;
    if (match.hasMatch()) {
        const auto perUnit = millimetresPer(match.captured(2));
        if (unit == Number_Unit::None || !perUnit)
            return { std::nullopt,
                unit == Number_Unit::None
                    ? QStringLiteral("\"%1\" is not a number: this field takes a number only.").arg(text.trimmed())
                    : QStringLiteral("\"%1\" is not a length this field takes: type a number in mm, cm, in or pt.")
                          .arg(text.trimmed()) };
        factor = *perUnit / unitInMillimetres(unit);
        typed = match.captured(1);
    }
    const auto number = readPlainNumber(typed, locale);
    if (!number)
        return { std::nullopt, notANumber(text.trimmed(), locale) };
    return { *number * factor, QString() };
}

QString Show_Number_Text(double value, int decimals, const QLocale& locale)
{
    QLocale shown = locale;
    shown.setNumberOptions(shown.numberOptions() | QLocale::OmitGroupSeparator);
    return shown.toString(value, 'f', decimals);
}

QString Show_Short_Number_Text(double value, int decimals, const QLocale& locale)
{
    QString shown = Show_Number_Text(value, decimals, locale);
    const QString separator = locale.decimalPoint();
    if (shown.contains(separator)) {
        while (shown.endsWith(QLatin1Char('0')))
            shown.chop(1);
        if (shown.endsWith(separator))
            shown.chop(separator.size());
    }
    return shown;
}

QValidator* Make_Number_Validator(QObject* parent)
{
    return new Number_Typing_Validator(parent);
}
