// Every number field of the program reads what a person types the same way, under any locale: the
// locale's decimal separator and the point alike, a unit after a length, and a clear refusal of the rest.
#include "editor/EditorScenarioFixture.h"

#include "barcode/Barcode_Dialog.h"
#include "common/Number_Spin_Box.h"
#include "output/Print_Wnd.h"
#include "profiles/Card_Size_Chooser.h"
#include "profiles/Card_Wizard.h"
#include "ui_Barcode_Gen.h"
#include "ui_Card_Size_Chooser.h"
#include "ui_Card_Wizard.h"
#include "ui_Print_Wnd.h"

#include <cmath>

namespace {

// One field as a person meets it: the text field typed into and the value it gave.
struct Field {
    const char* window;
    QLineEdit* edit;
    std::function<double()> value;
    bool length; // takes a unit after the number
};

struct Typed {
    const char* text; // '#' stands for the locale's decimal separator
    double asLength; // in a length field; NaN: refused, the value stays
    double asPlainNumber; // in a field of plain numbers, where letters are refused as they are typed
};

constexpr double kRefused = std::numeric_limits<double>::quiet_NaN();

const Typed typedRows[] = {
    { "80.5", 80.5, 80.5 },
    { "80#5", 80.5, 80.5 },
    { "12,25", 12.25, 12.25 },
    { "7", 7, 7 },
    { "1.000,5", kRefused, kRefused }, // a grouped number is never read by dropping a separator
    { "4 in", 101.6, 4 },
    { "2cm", 20, 2 },
    { "4 ft", kRefused, 4 },
    { "abc", kRefused, kRefused },
};

Field spinField(const char* window, QDoubleSpinBox* box, bool length)
{
    return { window, box->findChild<QLineEdit*>(), [box] { return box->value(); }, length };
}

class NumberFields : public editorscenario::EditorScenario {
protected:
    Barcode_Dialog barcode;

    // Enter in the size window presses its OK, which must reach no window of an earlier test.
    void SetUp() override
    {
        EditorScenario::SetUp();
        Card_Wizard::defaultInstance()->setHost(nullptr);
    }

    std::vector<Field> fields()
    {
        Card_Size_Chooser* sizes = Card_Wizard::defaultInstance()->form().sizes;
        Ui::Print_Wnd& print = Print_Wnd::defaultInstance().form();
        Ui::Barcode_Gen& code = barcode.form();
        code.HeightStepper->setRange(0, 500);
        return {
            spinField("size window", sizes->form().height_Stepper, true),
            spinField("inspector", widget<Stepper_Field>(QStringLiteral("height_Stepper"))->spinBox(), true),
            spinField("print window", print.width_Stepper, true),
            { "barcode dialog", code.HeightText, [&code] { return code.HeightStepper->value(); }, false },
        };
    }
};

TEST_F(NumberFields, EveryFieldReadsBothSeparatorsAndUnitsUnderEveryLocale)
{
    startEmpty();
    barcode.show();
    Card_Wizard::defaultInstance()->show();
    Print_Wnd::defaultInstance().show();
    for (const char* localeName : { "C", "de_DE", "fr_FR" }) {
        const QLocale locale(QString::fromLatin1(localeName));
        for (const Field& field : fields()) {
            QWidget* owner = field.edit->parentWidget();
            owner->setLocale(locale);
            field.edit->setLocale(locale);
            for (const Typed& row : typedRows) {
                const QString text = QString::fromLatin1(row.text).replace(QLatin1Char('#'), locale.decimalPoint());
                const double before = field.value();
                const double wanted = field.length ? row.asLength : row.asPlainNumber;
                const double expected = std::isnan(wanted) ? before : wanted;
                field.edit->setFocus();
                field.edit->selectAll();
                QTest::keyClicks(field.edit, text);
                QTest::keyClick(field.edit, Qt::Key_Return);
                EXPECT_NEAR(field.value(), expected, 1e-9)
                    << field.window << " under " << localeName << " typed " << text.toStdString();
                const QString shown = field.edit->text();
                const QChar otherSeparator = locale.decimalPoint() == QLatin1String(".") ? u',' : u'.';
                EXPECT_FALSE(shown.contains(otherSeparator))
                    << field.window << " under " << localeName << " shows " << shown.toStdString();
            }
        }
    }
}

TEST_F(NumberFields, ARefusedLengthSaysWhichUnitsItTakes)
{
    startEmpty();
    Stepper_Field* height = widget<Stepper_Field>(QStringLiteral("height_Stepper"));
    QLineEdit* edit = height->spinBox()->findChild<QLineEdit*>();
    const double before = height->value();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("4 ft"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(height->value(), before);
    EXPECT_TRUE(height->spinBox()->refusal().contains(QLatin1String("mm, cm, in or pt")))
        << height->spinBox()->refusal().toStdString();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("3 in"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_NEAR(height->value(), 76.2, 1e-9);
    EXPECT_TRUE(height->spinBox()->refusal().isEmpty());
}

} // namespace
