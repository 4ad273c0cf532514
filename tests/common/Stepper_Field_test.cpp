#include "common/Stepper_Field.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

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
