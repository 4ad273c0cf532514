// Renaming a size in place in the size chooser of the card size wizard, worked like a person does it:
// double-click (or F2) on the row, type, Enter or Escape. Names that are empty or already in the list are
// refused with a message and the old name stays; the renamed row still stands for its own size.
#include "profiles/Card_Size_Chooser.h"
#include "profiles/Card_Wizard.h"
#include "profiles/Invitation_Wizard_Host.h"
#include "support/TestSupport.h"
#include "ui_Card_Size_Chooser.h"
#include "ui_Card_Wizard.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class StockSizes final : public Invitation_Wizard_Host {
public:
    int Open_Log_File() override { return 0; }
    void Set_Card_Size_In_Control(double, double) override { }
    void Set_Document_Size(double, double) override { }
    void SetDocumentCanvasSize(double, double) override { }
    QStringList plasticCardSizeNames() const override
    {
        return { QStringLiteral("CR80"), QStringLiteral("CR79"), QStringLiteral("CR90") };
    }
    QStringList labelSizeNames() const override { return { QStringLiteral("Label 1452") }; }
    QSizeF cardSizeOf(const QString&, const QString&, int row) const override { return QSizeF(80 + row, 50 + row); }
    QSizeF cardSizeInMillimetres() const override { return card; }
    QSizeF card;
};

class CardSizeRename : public testing::Test {
protected:
    testsupport::ScriptedResponder ui;
    StockSizes host;
    Card_Wizard* wizard = Card_Wizard::defaultInstance();
    Card_Size_Chooser* chooser = wizard->form().sizes;
    QTableWidget* list = chooser->form().ColList;

    void SetUp() override { wizard->setHost(&host); }
    void TearDown() override { wizard->setHost(nullptr); }

    // Runs the wizard with `user` working its live window, then cancels it.
    void inWizard(const std::function<void()>& user)
    {
        ui.modalRuns.push_back([this, user](QDialog& dialog) {
            dialog.show();
            user();
            wizard->CancelClick();
            return wizard->result();
        });
        wizard->Open_Wnd();
    }
    // The in-place editor of a row, once a gesture has opened it.
    QLineEdit* editor(int row) const
    {
        return qobject_cast<QLineEdit*>(list->indexWidget(list->model()->index(row, 0)));
    }
    // As the window system delivers a double-click: press, release, the double-click, release.
    void doubleClickRow(int row)
    {
        const QPoint cell = list->visualItemRect(list->item(row, 0)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, cell);
    }
    // Types a key into the open editor; the view takes a finished edit in once events are processed.
    static void press(QLineEdit* field, Qt::Key key)
    {
        QTest::keyClick(field, key);
        QCoreApplication::processEvents();
    }
    QStringList shownNames() const
    {
        QStringList names;
        for (int row = 0; row < list->rowCount(); ++row)
            names << list->item(row, 0)->text();
        return names;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const platform::MessageRequest& request : ui.messages)
            texts << request.text.trimmed();
        return texts;
    }
};

TEST_F(CardSizeRename, TypedNamesAreKeptOrRefusedAsAPersonSeesThem)
{
    const struct {
        const char* typed;
        Qt::Key key;
        const char* shown; // the name row 1 shows afterwards
        const char* message; // the message shown, if any
    } cases[] = {
        { "Wallet card", Qt::Key_Return, "Wallet card", "" },
        { "  Padded  ", Qt::Key_Enter, "Padded", "" },
        { "Not kept", Qt::Key_Escape, "CR79", "" },
        { "CR79", Qt::Key_Return, "CR79", "" }, // its own name is not taken
        { "   ", Qt::Key_Return, "CR79", "Please enter a name for the size." },
        { "", Qt::Key_Return, "CR79", "Please enter a name for the size." },
        { "CR90", Qt::Key_Return, "CR79", "\"CR90\" already names another size." },
        { " CR80 ", Qt::Key_Return, "CR79", "\"CR80\" already names another size." },
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        double width = 0, height = 0;
        QStringList names, stored;
        bool editorOpened = false;
        inWizard([&] {
            doubleClickRow(1);
            QLineEdit* field = editor(1);
            editorOpened = field != nullptr;
            if (!field)
                return;
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, QLatin1String(c.typed));
            press(field, c.key);
            names = shownNames();
            stored = chooser->ListData;
            width = chooser->form().width_Stepper->value();
            height = chooser->form().height_Stepper->value();
        });
        ASSERT_TRUE(editorOpened) << "a double-click opens the name for editing";
        ASSERT_EQ(names.size(), 3) << c.typed;
        EXPECT_EQ(names[1], QLatin1String(c.shown)) << c.typed;
        EXPECT_EQ(stored, names) << "the list shows what is stored: " << c.typed;
        EXPECT_EQ(names[0], QStringLiteral("CR80")) << c.typed;
        EXPECT_EQ(names[2], QStringLiteral("CR90")) << c.typed;
        EXPECT_DOUBLE_EQ(width, 81) << "the row still stands for its own size: " << c.typed;
        EXPECT_DOUBLE_EQ(height, 51) << c.typed;
        if (*c.message)
            EXPECT_EQ(messages(), QStringList { QLatin1String(c.message) }) << c.typed;
        else
            EXPECT_TRUE(messages().isEmpty()) << c.typed;
    }
}

TEST_F(CardSizeRename, F2RenamesTheChosenRowAndTheNameLastsUntilTheListIsFilledAgain)
{
    QStringList renamed, refilled;
    inWizard([&] {
        list->setFocus();
        list->selectRow(2);
        QTest::keyClick(list, Qt::Key_F2);
        QLineEdit* field = editor(2);
        ASSERT_NE(field, nullptr) << "F2 opens the chosen name for editing";
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("Oversized"));
        press(field, Qt::Key_Return);
        renamed = shownNames();
        chooser->form().Category_ComboBox->setCurrentIndex(1);
        chooser->form().Category_ComboBox->setCurrentIndex(0);
        refilled = shownNames();
    });
    EXPECT_EQ(renamed, (QStringList { QStringLiteral("CR80"), QStringLiteral("CR79"), QStringLiteral("Oversized") }));
    EXPECT_EQ(refilled, (QStringList { QStringLiteral("CR80"), QStringLiteral("CR79"), QStringLiteral("CR90") }));
}

TEST_F(CardSizeRename, ARowOutsideTheListIsRefusedWithoutChangingIt)
{
    chooser->reset();
    const QStringList before = chooser->ListData;
    for (int row : { -1, 3, 40 })
        EXPECT_FALSE(chooser->tableView_setObjectValue(QStringLiteral("Any"), row)) << row;
    EXPECT_EQ(chooser->ListData, before);
    EXPECT_TRUE(ui.messages.empty()) << "a programming slip is logged, not shown";
    EXPECT_TRUE(chooser->tableView_setObjectValue(QStringLiteral("Renamed"), 0));
    EXPECT_EQ(chooser->ListData.value(0), QStringLiteral("Renamed"));
}

} // namespace

// The size window opens on the card, its orientation read from the card's sides.
TEST_F(CardSizeRename, OrientationFollowsTheSidesOfTheCard)
{
    const std::pair<QSizeF, const char*> rows[] = { { { 1, 999 }, "Vertical" }, { { 999, 1 }, "Horizontal" },
        { { 54, 86 }, "Vertical" }, { { 86, 54 }, "Horizontal" }, { { 54, 86 }, "Vertical" },
        { { 50, 50 }, "Horizontal" } }; // a square card opens on the window's first choice
    for (const auto& [card, orientation] : rows) {
        host.card = card;
        QString shown;
        inWizard([&] { shown = chooser->form().Preset_ComboBox->currentText(); });
        EXPECT_EQ(shown, QLatin1String(orientation)) << card.width() << " x " << card.height();
    }
}
