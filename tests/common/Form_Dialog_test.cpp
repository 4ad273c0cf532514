// The base of the dialogs laid out by a Designer form: the form is built on the dialog, which takes the
// program's small-window look, and a modal run gives 1 for OK and 0 for anything else, a failure included.
#include "common/Form_Dialog.h"
#include "support/TestSupport.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Stands in for a generated form class.
struct Sample_Form {
    QLabel* caption = nullptr;
    void setupUi(QDialog* dialog)
    {
        dialog->setObjectName(QStringLiteral("Sample_Form"));
        caption = new QLabel(QStringLiteral("Caption"), dialog);
    }
};

class Sample_Dialog : public Form_Dialog<Sample_Form> {
public:
    Sample_Dialog()
        : Form_Dialog(nullptr)
    {
    }
    using Form_Dialog::runModally;
};

TEST(FormDialog, TheFormIsBuiltOnTheDialogWithTheSmallWindowLook)
{
    Sample_Dialog dialog;
    ASSERT_NE(dialog.form().caption, nullptr);
    EXPECT_EQ(dialog.form().caption->parent(), &dialog);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("Sample_Form"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.palette().color(QPalette::Window), smallWindowBackground());
}

TEST(FormDialog, AModalRunGivesOneForOkAndZeroOtherwiseAndEndsHidden)
{
    testsupport::ScriptedResponder ui;
    Sample_Dialog dialog;
    const struct {
        int answer;
        int expected;
    } cases[] = { { 1, 1 }, { 0, 0 }, { 2, 0 }, { -1, 0 } };
    for (const auto& c : cases) {
        bool prepared = false;
        ui.modalRuns.push_back([&c](QDialog& shown) {
            shown.show();
            return c.answer;
        });
        EXPECT_EQ(dialog.runModally([&prepared] { prepared = true; }), c.expected) << c.answer;
        EXPECT_TRUE(prepared) << c.answer;
        EXPECT_FALSE(dialog.isVisible()) << c.answer;
    }
}

TEST(FormDialog, AFailureWhilePreparingOrRunningGivesZero)
{
    testsupport::ScriptedResponder ui;
    Sample_Dialog dialog;
    EXPECT_EQ(dialog.runModally([] { throw std::runtime_error("cannot prepare"); }), 0);
    EXPECT_TRUE(ui.dialogsRun.empty()) << "a window that failed to prepare is not run";

    ui.modalRuns.push_back([](QDialog& shown) -> int {
        shown.show();
        throw std::runtime_error("failed while running");
    });
    EXPECT_EQ(dialog.runModally(), 0);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
