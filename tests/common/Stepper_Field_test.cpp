#include "common/Stepper_Field.h"

#include "common/Number_Text.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

TEST(StepperField, SetValueIsSilentButUserEditsAndStepsAreReported)
{
    Stepper_Field field;
    field.setRange(0, 100);
    field.setSingleStep(0.5);
    QSignalSpy spy(&field, &Stepper_Field::valueChanged);

    field.setValue(12.25);
    EXPECT_DOUBLE_EQ(field.value(), 12.25);
    EXPECT_EQ(spy.count(), 0);

    field.spinBox()->stepUp();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_DOUBLE_EQ(spy.takeFirst().at(0).toDouble(), 12.75);

    QLineEdit* edit = field.spinBox()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "40.5");
    EXPECT_EQ(spy.count(), 0) << "a half-typed number must not be written back";
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_DOUBLE_EQ(spy.takeFirst().at(0).toDouble(), 40.5);
}

TEST(StepperField, ValuesAreClampedToTheRangeAndRangeChangesStaySilent)
{
    Stepper_Field field;
    field.setRange(1, 10);
    field.setValue(5);
    QSignalSpy spy(&field, &Stepper_Field::valueChanged);

    field.setRange(1, 3); // clamps the shown value without reporting a user edit
    EXPECT_DOUBLE_EQ(field.value(), 3);
    field.setValue(-7);
    EXPECT_DOUBLE_EQ(field.value(), 1);
    EXPECT_EQ(spy.count(), 0);
}

TEST(NumberText, ReadsBothSeparatorsAndTypedUnitsAndShowsTheLocalesStyle)
{
    const struct {
        const char* locale;
        const char* typed;
        Number_Unit unit;
        double expected; // NaN: refused
        const char* shown; // the expected value shown with two decimals
    } rows[] = {
        { "C", "80.5", Number_Unit::Millimetre, 80.5, "80.50" },
        { "C", "80,5", Number_Unit::Millimetre, 80.5, "80.50" },
        { "de_DE", "80.5 mm", Number_Unit::Millimetre, 80.5, "80,50" },
        { "de_DE", "1234,5", Number_Unit::Millimetre, 1234.5, "1234,50" },
        { "fr_FR", "80,5", Number_Unit::Millimetre, 80.5, "80,50" },
        { "fr_FR", "1 234,5", Number_Unit::Millimetre, NAN, "" },
        { "de_DE", "1.234,5", Number_Unit::Millimetre, NAN, "" },
        { "C", "4 in", Number_Unit::Millimetre, 101.6, "101.60" },
        { "C", "1\"", Number_Unit::Point, 72, "72.00" },
        { "de_DE", "2,54 cm", Number_Unit::Point, 72, "72,00" },
        { "C", "72pt", Number_Unit::Millimetre, 25.4, "25.40" },
        { "C", "4 ft", Number_Unit::Millimetre, NAN, "" },
        { "C", "4 in", Number_Unit::None, NAN, "" },
        { "C", "", Number_Unit::None, NAN, "" },
    };
    for (const auto& row : rows) {
        const QLocale locale(QString::fromLatin1(row.locale));
        const Number_Reading reading
            = Read_Number_Text(QString::fromUtf8(row.typed), locale, row.unit, QStringLiteral(" mm"));
        SCOPED_TRACE(std::string(row.locale) + " " + row.typed);
        if (std::isnan(row.expected)) {
            EXPECT_FALSE(reading.value.has_value());
            EXPECT_FALSE(reading.refusal.isEmpty());
            continue;
        }
        ASSERT_TRUE(reading.value.has_value()) << reading.refusal.toStdString();
        EXPECT_NEAR(*reading.value, row.expected, 1e-9);
        EXPECT_EQ(Show_Number_Text(*reading.value, 2, locale), QString::fromLatin1(row.shown));
    }
    // Fields beside a stepper show no trailing zeros and no binary leftovers.
    EXPECT_EQ(Show_Short_Number_Text(0.1 + 0.05, 6, QLocale(QStringLiteral("de_DE"))), QStringLiteral("0,15"));
    EXPECT_EQ(Show_Short_Number_Text(12.0, 6, QLocale::c()), QStringLiteral("12"));
}
