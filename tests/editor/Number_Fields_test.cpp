// Every number field reads what a person types the same way under any locale: the locale's decimal
// separator and the point alike, a unit after a length, and a refusal with a reason for the rest.
#include "editor/EditorScenarioFixture.h"

#include "barcode/Barcode_Dialog.h"
#include "output/Print_Wnd.h"
#include "profiles/Card_Size_Chooser.h"
#include "profiles/Card_Wizard.h"
#include "ui_Barcode_Gen.h"
#include "ui_Card_Size_Chooser.h"
#include "ui_Card_Wizard.h"
#include "ui_Print_Wnd.h"

#include <cmath>

using editorscenario::EditorScenario;

namespace {

struct Field {
    const char* window;
    QLineEdit* edit;
    QDoubleSpinBox* value;
    Number_Spin_Box* length; // a length field, which takes a unit and says why it refuses; else nullptr
};

constexpr double kRefused = NAN;
const struct {
    const char* text; // '#' stands for the locale's decimal separator; null: 85.6 as the locale writes it
    double asLength, asPlainNumber; // in a plain number field letters are refused as they are typed
} typedRows[] = { { "80.5", 80.5, 80.5 }, { "80#5", 80.5, 80.5 }, { "12,25", 12.25, 12.25 }, { "7", 7, 7 },
    { "1.000,5", kRefused, kRefused }, { "4 in", 101.6, 4 }, { "2cm", 20, 2 }, { "4 ft", kRefused, 4 },
    { "a bc", kRefused, kRefused }, { nullptr, 85.6, 85.6 } };

// Types the text key by key, or in one key event where a keyboard of another script sends it.
void typeKeys(QWidget* field, const QString& text)
{
    if (text.toLatin1() == text.toUtf8())
        QTest::keyClicks(field, text);
    else
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text, Qt::NoModifier);
}

Field spinField(const char* window, Number_Spin_Box* box)
{
    return { window, box->findChild<QLineEdit*>(), box, box };
}

TEST_F(EditorScenario, EveryNumberFieldReadsBothSeparatorsAndUnitsUnderEveryLocale)
{
    startEmpty();
    Card_Wizard::defaultInstance()->setHost(nullptr); // Enter presses its OK, which must reach no window
    Barcode_Dialog barcode;
    Ui::Barcode_Gen& code = barcode.form();
    code.HeightStepper->setRange(0, 500);
    const Field fields[]
        = { spinField("size window", Card_Wizard::defaultInstance()->form().sizes->form().height_Stepper),
              spinField("inspector", widget<Stepper_Field>(QStringLiteral("height_Stepper"))->spinBox()),
              spinField("print window", Print_Wnd::defaultInstance().form().width_Stepper),
              { "barcode dialog", code.HeightText, code.HeightStepper, nullptr } };
    // Arabic (Egypt) has its own digits and a decimal separator no other rule reads.
    for (const char* localeName : { "C", "ar_EG", "mr_IN", "de_DE", "fr_FR" }) {
        const QLocale locale(QString::fromLatin1(localeName));
        for (const Field& field : fields) {
            field.edit->window()->show();
            field.edit->parentWidget()->setLocale(locale);
            field.edit->setLocale(locale);
            for (const auto& row : typedRows) {
                const QString text = row.text
                    ? QString::fromLatin1(row.text).replace(QLatin1Char('#'), locale.decimalPoint())
                    : locale.toString(85.6, 'f', 1);
                const double before = field.value->value();
                const double wanted = field.length ? row.asLength : row.asPlainNumber;
                field.edit->setFocus();
                field.edit->selectAll();
                typeKeys(field.edit, text);
                QTest::keyClick(field.edit, Qt::Key_Return);
                const std::string where = std::string(field.window) + " " + localeName + " " + text.toStdString();
                EXPECT_NEAR(field.value->value(), std::isnan(wanted) ? before : wanted, 1e-9) << where;
                if (field.length) { // a refusal says what the field takes
                    EXPECT_EQ(field.length->refusal().contains(QLatin1String("mm, cm, in or pt")),
                        std::isnan(row.asLength) && QByteArray(row.text).contains(' '))
                        << where << field.length->refusal().toStdString();
                }
                EXPECT_FALSE(field.edit->text().contains(locale.decimalPoint() == QLatin1String(".") ? u',' : u'.'))
                    << where << " shows " << field.edit->text().toStdString();
            }
        }
    }
}

} // namespace
