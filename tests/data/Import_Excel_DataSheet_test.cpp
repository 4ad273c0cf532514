// The spreadsheet-to-series import driven as a person drives it.
#include "data/Import_Excel_DataSheet.h"

#include "SpreadsheetWindowTestSupport.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "ui_Import_Excel_DataSheet.h"
#include "ui_Long_SMS_Dlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

using sheetwindowtest::SpreadsheetWindowTest;

namespace {

class ImportDataSheetTest : public SpreadsheetWindowTest {
protected:
    void SetUp() override
    {
        picker = Import_Excel_DataSheet::defaultInstance();
        picker->file_name_Insert = 0;
        book = workbook({ { "Name", "", "City" }, { "Ada", "x\n1", "Oslo" }, { "Bo", "", "Bergen" } });
    }

    int run(const std::function<void(Ui::Import_Excel_DataSheet&)>& act)
    {
        ui.modalRuns.push_front([this, act](QDialog& dialog) {
            dialog.show();
            act(picker->form());
            return dialog.isVisible() ? -1 : dialog.result();
        });
        return picker->Open_excel_Wnd(book);
    }

    // A question of the generic message window answered Yes or No, with or without its apply-to-all box.
    void answerLong(bool yes, bool applyAll = false)
    {
        ui.modalRuns.push_back([this, yes, applyAll](QDialog&) {
            Ui::Long_SMS_Dlg& form = Long_SMS_Dlg::defaultInstance()->form();
            questions.push_back(form._Msg_Val->text());
            applyShown.push_back(!form.apply_chk->isHidden());
            form.apply_chk->setChecked(applyAll);
            if (yes)
                Long_SMS_Dlg::defaultInstance()->OKPressed();
            return yes ? 1 : 0;
        });
    }

    void tick(Ui::Import_Excel_DataSheet& form, std::initializer_list<int> rows)
    {
        for (int row : rows)
            clickCell(form.ColList, row, 0);
    }

    Import_Excel_DataSheet* picker = nullptr;
    QString book;
    std::vector<QString> questions;
    std::vector<bool> applyShown;
};

} // namespace

TEST_F(ImportDataSheetTest, EachTickedColumnBecomesASeriesNamedAfterIt)
{
    const int result = run([](Ui::Import_Excel_DataSheet& form) {
        ASSERT_EQ(form.ColList->rowCount(), 3);
        EXPECT_EQ(form.ColList->item(1, 1)->text(), QStringLiteral("Untitled Column 2"));
        EXPECT_TRUE(form.Each_col_RD->isChecked());
        EXPECT_FALSE(form.list_name->isEnabled());
        click(form.Select_All_btn);
        click(form.OK_btn);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(folder.bytes(QStringLiteral("Name")), QByteArray("Ada\nBo\n"));
    EXPECT_EQ(folder.bytes(QStringLiteral("Untitled Column 2")),
        QByteArray("x\u2028"
                   "1\n\n"))
        << "a blank cell is an empty line, a line break stays inside its value";
    EXPECT_EQ(folder.bytes(QStringLiteral("City")), QByteArray("Oslo\nBergen\n"));
}

// A series is named from the title row chosen; without titles by its letter, never by a guest's value.
TEST_F(ImportDataSheetTest, ASeriesIsNamedFromTheTitleRowChosenOrByItsLetter)
{
    const struct {
        int row; // the sheet row taken for the titles; 0 unticks the box
        const char* series;
        QByteArray values;
    } cases[] = { { 2, "Oslo", "Bergen\n" }, { 0, "Column C", "City\nOslo\nBergen\n" } };
    for (const auto& c : cases) {
        run([&](Ui::Import_Excel_DataSheet& form) {
            if (c.row == 0)
                click(form.contains_header);
            else
                form.title_row_box->setCurrentIndex(form.title_row_box->findData(c.row));
            EXPECT_EQ(form.ColList->item(2, 2)->text(), QLatin1String(c.series));
            tick(form, { 2 });
            click(form.OK_btn);
        });
        EXPECT_EQ(folder.bytes(QLatin1String(c.series)), c.values);
    }
    EXPECT_EQ(folder.files(), (QStringList { "Column C.txt", "Oslo.txt" }));
}

TEST_F(ImportDataSheetTest, RenamedColumnWithABadNameIsSkippedWithAMessage)
{
    run([this](Ui::Import_Excel_DataSheet& form) {
        tick(form, { 0, 2 });
        form.ColList->item(0, 2)->setText(QStringLiteral("a/b"));
        form.ColList->item(2, 2)->setText(QStringLiteral("  Towns?  "));
        click(form.OK_btn);
    });
    EXPECT_EQ(folder.files(), QStringList { "Towns.txt" });
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_TRUE(texts()[0].contains(QStringLiteral("a/b"))) << texts()[0].toStdString();
    EXPECT_TRUE(texts()[0].contains(QStringLiteral("skipped")));
}

TEST_F(ImportDataSheetTest, ApplyToAllAnswersTheNextQuestionAndInUseSeriesAreLeftAlone)
{
    folder.put(QStringLiteral("Name"), "old name\n");
    folder.put(QStringLiteral("City"), "old city\n");
    folder.put(QStringLiteral("Untitled Column 2"), "in use\n");
    host.inUse = { QStringLiteral("Untitled Column 2") };
    Msg_Apply_All_Chk = true; // left over from another window: must not answer this import's questions
    answerLong(true, true);
    run([](Ui::Import_Excel_DataSheet& form) {
        click(form.Select_All_btn);
        click(form.OK_btn);
    });
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("Name\nBatch Processing Series already exists.")));
    EXPECT_TRUE(applyShown[0]);
    EXPECT_EQ(folder.bytes(QStringLiteral("Name")), QByteArray("Ada\nBo\n"));
    EXPECT_EQ(folder.bytes(QStringLiteral("City")), QByteArray("Oslo\nBergen\n")) << "replaced without asking again";
    EXPECT_EQ(folder.bytes(QStringLiteral("Untitled Column 2")), QByteArray("in use\n"));
}

TEST_F(ImportDataSheetTest, NoToTheReplaceQuestionKeepsTheOldSeries)
{
    folder.put(QStringLiteral("City"), "old city\n");
    book = workbook({ { "City" }, { "Oslo" } });
    answerLong(false);
    run([this](Ui::Import_Excel_DataSheet& form) {
        tick(form, { 0 });
        click(form.OK_btn);
    });
    ASSERT_EQ(applyShown.size(), 1u);
    EXPECT_FALSE(applyShown[0]) << "a one-column sheet asks without the apply-to-all box";
    EXPECT_EQ(folder.bytes(QStringLiteral("City")), QByteArray("old city\n"));
}

TEST_F(ImportDataSheetTest, OneSeriesAppendsTheTickedCellsRowByRow)
{
    folder.put(QStringLiteral("Mixed"), "first\n");
    book = workbook({ { "A", "B", "C" }, { "a1", "b1", "c1" }, { "a2", "b2", "c2" } });
    run([this](Ui::Import_Excel_DataSheet& form) {
        click(form.Fill_col_RD);
        EXPECT_TRUE(form.list_name->isEnabled());
        click(form.fill_append_RD);
        EXPECT_TRUE(form.list_name->isHidden());
        EXPECT_FALSE(form.List_ComboBox->isHidden());
        EXPECT_TRUE(form.ColList->isColumnHidden(2)) << "one existing series needs no names per column";
        click(form.Each_col_RD);
        EXPECT_FALSE(form.ColList->isColumnHidden(2));
        click(form.Fill_col_RD);
        EXPECT_TRUE(form.ColList->isColumnHidden(2));
        form.List_ComboBox->setCurrentIndex(form.List_ComboBox->findText(QStringLiteral("Mixed")));
        tick(form, { 1, 2 });
        click(form.OK_btn);
    });
    EXPECT_EQ(folder.bytes(QStringLiteral("Mixed")), QByteArray("first\nb1\nc1\nb2\nc2\n"));
}

TEST_F(ImportDataSheetTest, OneNewSeriesAsksBeforeReplacingAndNeedsAName)
{
    folder.put(QStringLiteral("Guests"), "kept\n");
    ui.messageAnswers = { 0 }; // No to the replace question
    const int result = run([this](Ui::Import_Excel_DataSheet& form) {
        click(form.Fill_col_RD);
        tick(form, { 0 });
        click(form.OK_btn);
        EXPECT_TRUE(picker->isVisible());
        QTest::keyClicks(form.list_name, QStringLiteral("Guests"));
        click(form.OK_btn);
        EXPECT_TRUE(picker->isVisible()) << "No keeps the picker open";
        form.list_name->clear();
        QTest::keyClicks(form.list_name, QStringLiteral("Fresh"));
        click(form.OK_btn);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(texts(),
        (std::vector<QString> {
            "Please enter list name.", "Batch Processing Series already exists. Do you want to replace it?" }));
    EXPECT_EQ(folder.bytes(QStringLiteral("Guests")), QByteArray("kept\n"));
    EXPECT_EQ(folder.bytes(QStringLiteral("Fresh")), QByteArray("Ada\nBo\n"));
    expectNoWaitLeft();
}

TEST_F(ImportDataSheetTest, ReplaceModeOverwritesEvenASeriesInUse)
{
    folder.put(QStringLiteral("Bound"), "old\n");
    host.inUse = { QStringLiteral("Bound") };
    run([this](Ui::Import_Excel_DataSheet& form) {
        click(form.Fill_col_RD);
        click(form.fill_replace_RD);
        form.List_ComboBox->setCurrentIndex(form.List_ComboBox->findText(QStringLiteral("Bound")));
        tick(form, { 2 });
        click(form.OK_btn);
    });
    EXPECT_EQ(folder.bytes(QStringLiteral("Bound")), QByteArray("Oslo\nBergen\n"));
}

TEST_F(ImportDataSheetTest, ReopeningStartsOverInOneSeriesPerColumnMode)
{
    run([](Ui::Import_Excel_DataSheet& form) {
        click(form.Fill_col_RD);
        click(form.fill_append_RD);
        click(form.contains_header);
        click(form.Cancel_btn);
    });
    run([this](Ui::Import_Excel_DataSheet& form) {
        EXPECT_TRUE(form.Each_col_RD->isChecked());
        EXPECT_TRUE(form.fill_new_RD->isChecked());
        EXPECT_EQ(picker->fill_col_option, 0);
        EXPECT_TRUE(form.contains_header->isChecked());
        EXPECT_FALSE(form.ColList->isColumnHidden(2));
        click(form.Cancel_btn);
    });
    EXPECT_TRUE(folder.files().isEmpty());
}
