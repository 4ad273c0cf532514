// The binding table's window driven as a person drives it.
#include "data/Data_From_Excel.h"

#include "SpreadsheetWindowTestSupport.h"
#include "data/Sheet_Column_List.h"
#include "ui_Data_From_Excel.h"

#include <QLineEdit>

#include <algorithm>
#include <QPushButton>

using sheetwindowtest::SpreadsheetWindowTest;

namespace {

class DataFromExcelTest : public SpreadsheetWindowTest {
protected:
    void SetUp() override
    {
        window = Data_From_Excel::defaultInstance();
        window->setTable(&table);
        ASSERT_TRUE(Fill_Binding_Table(table,
            { { "Name", "Phone", "City" }, { "Ada", "555-1", "Oslo" }, { "Bo", "555-2", "Bergen" },
                { "Cy", "555-3", "Tromsø" } },
            { 0, 2 }, true));
    }
    void TearDown() override { window->setTable(nullptr); }

    Spreadsheet_Binding_Table table;
    Data_From_Excel* window = nullptr;
};

} // namespace

TEST_F(DataFromExcelTest, OpeningShowsRecordsUnderTheirTitlesAndTheCounts)
{
    ui.modalRuns.push_back([this](QDialog& dialog) {
        dialog.show();
        Ui::Data_From_Excel& form = window->form();
        EXPECT_EQ(form.rows_count->text(), QStringLiteral("3"));
        EXPECT_EQ(form.column_count->text(), QStringLiteral("3"));
        QAbstractItemModel* model = form.ColList->model();
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name"));
        EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("City"));
        EXPECT_EQ(model->index(2, 0).data().toString(), QStringLiteral("3"));
        EXPECT_EQ(model->index(2, 2).data().toString(), QString::fromUtf8("Tromsø"));
        click(form.OK_btn);
        return dialog.result();
    });
    EXPECT_EQ(window->Open_Wnd(), 1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(DataFromExcelTest, EditingACellChangesItsRecordButNotTheRowNumber)
{
    ui.modalRuns.push_back([this](QDialog& dialog) {
        dialog.show();
        QTableView* view = window->ColList();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        const QRect cell = view->visualRect(view->model()->index(1, 2));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        EXPECT_NE(editor, nullptr);
        if (editor) {
            editor->selectAll();
            QTest::keyClicks(editor, QStringLiteral("Stavanger"));
            QTest::keyClick(editor, Qt::Key_Return);
        }
        // The row number is the record's place, not a value to edit.
        const QRect number = view->visualRect(view->model()->index(0, 0));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, number.center());
        const QList<QLineEdit*> editors = view->viewport()->findChildren<QLineEdit*>();
        EXPECT_TRUE(std::none_of(editors.begin(), editors.end(), [](QLineEdit* e) { return e->isVisible(); }));
        click(window->form().OK_btn);
        return dialog.result();
    });
    EXPECT_EQ(window->Open_Wnd(), 1);
    EXPECT_EQ(table.value(1, 2), QStringLiteral("Stavanger"));
    EXPECT_EQ(table.value(0, 0), QStringLiteral("1"));
    EXPECT_EQ(table.value(1, 1), QStringLiteral("Bo"));
}

TEST_F(DataFromExcelTest, MarkingARowSelectsItAlone)
{
    window->reloadTable();
    window->Mark_List_New_Selection(2);
    window->Mark_List_New_Selection(1);
    QModelIndexList rows = window->ColList()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().row(), 1);
    window->Mark_List_New_Selection(9);
    rows = window->ColList()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().row(), 1);

    window->Create_Value_List(QStringLiteral(" more "));
    EXPECT_EQ(window->ColList()->model()->rowCount(), 4);
    window->Create_List_By_Array({ "Di", "Molde" }, 2);
    EXPECT_EQ(table.value(4, 2), QStringLiteral("Molde"));
    EXPECT_EQ(window->ColList()->model()->rowCount(), 5);
}
