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

TEST(NumberText, ReadsGroupedNumbersNeverAndConvertsUnitsIntoTheFieldsOwn)
{
    const struct {
        const char *locale, *typed;
        Number_Unit unit;
        double expected; // NaN: refused with a reason
        const char* shown; // with two decimals
    } rows[] = { { "de_DE", "1234,5 mm", Number_Unit::Millimetre, 1234.5, "1234,50" },
        { "fr_FR", "1 234,5", Number_Unit::Millimetre, NAN, "" }, { "C", "1,234.5", Number_Unit::Millimetre, NAN, "" },
        { "C", "1\"", Number_Unit::Point, 72, "72.00" }, { "de_DE", "2,54 cm", Number_Unit::Point, 72, "72,00" },
        { "C", "72pt", Number_Unit::Millimetre, 25.4, "25.40" }, { "C", "4 in", Number_Unit::None, NAN, "" },
        { "fa_IR", "\u200e\u2212\u06f1\u06f2\u06f3\u06f4\u066b\u06f5", Number_Unit::None, -1234.5,
            "\u200e\u2212\u06f1\u06f2\u06f3\u06f4\u066b\u06f5\u06f0" },
        { "bn_BD", "\u09e8\u09eb.\u09ee mm", Number_Unit::Millimetre, 25.8, "\u09e8\u09eb.\u09ee\u09e6" } };
    for (const auto& row : rows) {
        const QLocale locale(QString::fromLatin1(row.locale));
        const Number_Reading read
            = Read_Number_Text(QString::fromUtf8(row.typed), locale, row.unit, QStringLiteral(" mm"));
        EXPECT_EQ(read.value.has_value(), !std::isnan(row.expected)) << row.typed;
        EXPECT_EQ(read.refusal.isEmpty(), read.value.has_value()) << row.typed;
        if (read.value) {
            EXPECT_EQ(Show_Number_Text(*read.value, 2, locale), QString::fromUtf8(row.shown)) << row.typed;
        }
    }
    // Fields beside a stepper show no trailing zeros and no binary leftovers.
    EXPECT_EQ(Show_Short_Number_Text(0.1 + 0.05, 6, QLocale(QStringLiteral("de_DE"))), QStringLiteral("0,15"));
    EXPECT_EQ(Show_Short_Number_Text(12.0, 6, QLocale::c()), QStringLiteral("12"));
}
