// Binding a workbook's columns from the main window, choosing a column for an item, and the binding table's
// window on the very table the design keeps.
#include "editor/EditorWindowTestSupport.h"

#include "data/Data_From_Excel.h"
#include "data/Import_Excel.h"
#include "data/SpreadsheetWriter.h"
#include "model/TSLTextStorage.h"
#include "ui_Import_Excel.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using editortest::EditorWindowTest;
using editortest::messageTexts;

class SpreadsheetCommandsTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        ui.messages.clear();
        book = testsupport::makeTempFolder(QStringLiteral("guests")) + QStringLiteral("/guests.xlsx");
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(
            book, { { "Name", "Code" }, { "Ada", "4006381333931" }, { "Bo", "12" } }, true));
    }
    // The picker as a person answers it: tick the listed columns of these rows, then OK.
    void pickColumns(std::initializer_list<int> rows)
    {
        std::vector<int> chosen(rows);
        ui.modalRuns.push_back([chosen](QDialog& dialog) {
            dialog.show();
            Import_Excel* picker = Import_Excel::defaultInstance();
            for (int row : chosen)
                picker->form().ColList->item(row, 0)->setCheckState(Qt::Checked);
            QTest::mouseClick(picker->form().OK_btn, Qt::LeftButton);
            return dialog.result();
        });
    }
    // A new text bound, through the data-source page, to the column at this place of the binding table.
    TSLGraphicPtr boundText(int column)
    {
        const TSLGraphicPtr item = selected(QStringLiteral("TSLText"));
        window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Excel")));
        window->Batch_Series->setCurrentIndex(column);
        return item;
    }
    TSLGraphicPtr selected(const QString& className)
    {
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(className);
        item->setBounds(QRectF(10, 10, 100, 40));
        addItem(item, TSLDocumentGraphicsKey);
        window->_graphicView->changeSelectionIndexes({ 0 });
        window->_graphicView->setSelected_Graphic(item);
        return item;
    }
    QString book;
};

TEST_F(SpreadsheetCommandsTest, ChosenColumnsBecomeTheDesignsSpreadsheetSource)
{
    ui.fileAnswers.push_back(book);
    pickColumns({ 0, 1 });
    window->Bind_Spreadsheet_btn->trigger();
    EXPECT_TRUE(Excel_Binding_Use);
    EXPECT_EQ(Excel_Source_Path, book);
    EXPECT_EQ(window->bindingTable.columnTitles(), (QStringList { "#", "Name", "Code" }));
    EXPECT_EQ(window->bindingTable.rowCount(), 2);
    EXPECT_GE(window->Data_source_type->findText(QStringLiteral("Excel")), 0);

    // A text item takes the first record of the column it is bound to.
    const TSLGraphicPtr item = selected(QStringLiteral("TSLText"));
    window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Excel")));
    EXPECT_EQ(item->data_source_type, 2);
    ASSERT_EQ(window->Batch_Series->count(), 3);
    window->Batch_Series->setCurrentIndex(1);
    EXPECT_EQ(item->excel_col_indx, 1);
    EXPECT_EQ(item->Text_contents().string, QStringLiteral("Ada"));
    EXPECT_TRUE(messageTexts(ui).isEmpty());

    // Another workbook: the canvas shows its record 1 at once, as every output fills the cards.
    const QString other = testsupport::makeTempFolder(QStringLiteral("other")) + QStringLiteral("/other.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(other, { { "Name", "Code" }, { "Zed", "9" } }, true));
    ui.fileAnswers.push_back(other);
    pickColumns({ 0, 1 });
    window->Bind_Spreadsheet_btn->trigger();
    EXPECT_EQ(Excel_Source_Path, other);
    EXPECT_EQ(item->Text_contents().string, QStringLiteral("Zed"));
}

TEST_F(SpreadsheetCommandsTest, ABarcodeItemIsBoundToAColumnByPosition)
{
    ui.fileAnswers.push_back(book);
    pickColumns({ 1 });
    window->Bind_Spreadsheet_btn->trigger();
    const TSLGraphicPtr item = selected(QStringLiteral("TSLBarcode"));
    window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Excel")));
    window->Batch_Series->setCurrentIndex(1);
    EXPECT_EQ(item->data_source_type, 2);
    EXPECT_EQ(item->excel_col_indx, 1);
    EXPECT_EQ(window->Get_First_Value_Of_Excel_Binding(1), QStringLiteral("4006381333931"));
}

TEST_F(SpreadsheetCommandsTest, TheTableWindowEditsTheDesignsOwnTable)
{
    ui.fileAnswers.push_back(book);
    pickColumns({ 0 });
    window->Bind_Spreadsheet_btn->trigger();
    ui.modalRuns.push_back([](QDialog& dialog) {
        Data_From_Excel* table = Data_From_Excel::defaultInstance();
        EXPECT_EQ(&dialog, table);
        table->ColList()->model()->setData(table->ColList()->model()->index(1, 1), QStringLiteral("Bob"));
        return 1;
    });
    window->Open_Excel_Binding_Table();
    EXPECT_EQ(window->bindingTable.value(1, 1), QStringLiteral("Bob"));
}

TEST_F(SpreadsheetCommandsTest, CancelledChoiceChangesNothingAndAClosedWindowLeavesNoTableBehind)
{
    ui.fileAnswers.push_back(book);
    ui.modalRuns.push_back([](QDialog&) { return 0; });
    const size_t runsBefore = ui.dialogsRun.size();
    window->Bind_Spreadsheet_btn->trigger();
    EXPECT_FALSE(Excel_Binding_Use);
    EXPECT_EQ(window->Data_source_type->findText(QStringLiteral("Excel")), -1);
    EXPECT_EQ(window->bindingTable.rowCount(), 0);

    window->Bind_Spreadsheet_btn->trigger(); // no file chosen: nothing opens
    EXPECT_EQ(ui.dialogsRun.size(), runsBefore + 1);

    window.reset();
    // The window's table went with it; the table window falls back to a table of its own.
    EXPECT_EQ(Data_From_Excel::defaultInstance()->table().rowCount(), 0);
    Data_From_Excel::defaultInstance()->Create_Value_List(QStringLiteral("safe"));
    EXPECT_EQ(Data_From_Excel::defaultInstance()->table().rowCount(), 1);
}

// Another sheet or workbook: bound items follow their column titles (the stored position follows), and
// items whose title the new sheet lacks are named at once and before every run, and come out blank. The
// bound workbook saved again by another program is read again by the titles, and the person is told.
TEST_F(SpreadsheetCommandsTest, ItemsFollowTheirColumnTitlesToAnotherSheetAndIntoAChangedWorkbook)
{
    ui.fileAnswers.push_back(book);
    pickColumns({ 0, 1 });
    window->Bind_Spreadsheet_btn->trigger();
    const TSLGraphicPtr name = boundText(1);
    const TSLGraphicPtr code = boundText(2);
    const struct {
        SpreadsheetWriter::Rows rows;
        std::initializer_list<int> ticked;
        int namePosition, codePosition;
        const char* codeShown;
        const char* told; // at once and before a run
    } cases[] = {
        { { { "No", "Code", "Name" }, { "1", "77", "Zed" } }, { 0, 1, 2 }, 3, 2, "77", "" },
        { { { "No", "Name" }, { "1", "Zed" } }, { 0, 1 }, 2, 3, "",
            "1 item is bound to a column this sheet does not have: Code" },
    };
    const QString other = testsupport::makeTempFolder(QStringLiteral("other")) + QStringLiteral("/other.xlsx");
    for (const auto& c : cases) {
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(other, c.rows, true));
        ui.messages.clear();
        ui.fileAnswers.push_back(other);
        pickColumns(c.ticked);
        window->Bind_Spreadsheet_btn->trigger();
        EXPECT_EQ(name->excel_col_indx, c.namePosition) << c.told;
        EXPECT_EQ(code->excel_col_indx, c.codePosition) << c.told;
        EXPECT_EQ(name->Text_contents().string, QStringLiteral("Zed")) << c.told;
        EXPECT_EQ(code->Text_contents().string, QString::fromUtf8(c.codeShown)) << "as blank as the cards";
        const QString told = QString::fromUtf8(c.told);
        EXPECT_EQ(messageTexts(ui), told.isEmpty() ? QStringList() : QStringList { told });
        window->Check_Series_Or_Excel_Use_or_not();
        EXPECT_EQ(window->Take_Batch_Snapshot()->columnsNotFoundNotice(), told);
    }

    ui.messages.clear();
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(
        other, { { "Code", "Name", "No" }, { "5", "Cleo", "1" }, { "6", "Di", "2" } }, true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return name->Text_contents().string == QLatin1String("Cleo"); }, 20000))
        << "the folder watch reads the workbook again";
    EXPECT_EQ(code->Text_contents().string, QStringLiteral("5")) << "a title the sheet has again";
    EXPECT_EQ(messageTexts(ui),
        QStringList { QStringLiteral(
            "The workbook \"other.xlsx\" has changed: the design now shows its new data (2 records).") });
}
