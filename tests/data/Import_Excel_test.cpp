// The spreadsheet column picker driven as a person drives it.
#include "data/Import_Excel.h"

#include "SpreadsheetTestSupport.h"
#include "SpreadsheetWindowTestSupport.h"
#include "data/BatchWizard.h"
#include "data/Data_From_Excel.h"
#include "data/Series_Value_Model.h"
#include "data/Spreadsheet_Globals.h"
#include "ui_Import_Excel.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

using sheetwindowtest::SpreadsheetWindowTest;

namespace {

class ImportExcelTest : public SpreadsheetWindowTest {
protected:
    void SetUp() override
    {
        picker = Import_Excel::defaultInstance();
        Data_From_Excel::defaultInstance()->setTable(&table);
        book = workbook({ { "Name", "Phone", "City" }, { "Ada", "555-1", "Oslo" }, { "Bo", "", "Bergen" } });
    }
    void TearDown() override { Data_From_Excel::defaultInstance()->setTable(nullptr); }

    // Runs the picker on the workbook; `act` plays the person's part and the picker's code comes back.
    int run(const QString& mode, const std::function<void(Ui::Import_Excel&)>& act)
    {
        picker->open_mode = mode;
        ui.modalRuns.push_back([this, act](QDialog& dialog) {
            dialog.show();
            act(picker->form());
            return dialog.isVisible() ? -1 : dialog.result();
        });
        return picker->Open_excel_Wnd(book);
    }

    Spreadsheet_Binding_Table table;
    Import_Excel* picker = nullptr;
    QString book;
};

} // namespace

TEST_F(ImportExcelTest, TickedColumnsBecomeTheBindingTable)
{
    table.setValueColumnTitles({ "#", "Old", "Older", "Oldest" });
    const int result = run(QStringLiteral("E"), [this](Ui::Import_Excel& form) {
        EXPECT_EQ(form.ColList->rowCount(), 3);
        EXPECT_EQ(form.ColList->item(1, 1)->text(), QStringLiteral("Phone"));
        clickCell(form.ColList, 1, 0);
        clickCell(form.ColList, 2, 0);
        EXPECT_EQ(tickedColumns(picker->ListData_xl), (QList<int> { 1, 2 }));
        click(form.OK_btn);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(table.columnTitles(), (QStringList { "#", "Phone", "City" }));
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.value(0, 1), QStringLiteral("555-1"));
    EXPECT_EQ(table.value(1, 1), QStringLiteral(""));
    EXPECT_EQ(table.value(1, 2), QStringLiteral("Bergen"));
    expectNoWaitLeft();
}

TEST_F(ImportExcelTest, WithoutTitlesTheFirstRowIsARecordToo)
{
    run(QStringLiteral("E"), [](Ui::Import_Excel& form) {
        click(form.contains_header);
        click(form.Select_All_btn);
        click(form.OK_btn);
    });
    EXPECT_EQ(table.columnTitles(), (QStringList { "#", "Column A", "Column B", "Column C" })) << "by their places";
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.value(0, 1), QStringLiteral("Name"));
}

TEST_F(ImportExcelTest, CancelAndEmptyChoicesLeaveTheTableAlone)
{
    ASSERT_TRUE(Fill_Binding_Table(table, { { "Kept" }, { "value" } }, { 0 }, true));
    const Spreadsheet_Binding_Table before = table;
    const int result = run(QStringLiteral("E"), [this](Ui::Import_Excel& form) {
        click(form.OK_btn); // nothing ticked
        EXPECT_TRUE(picker->isVisible());
        click(form.Select_All_btn);
        click(form.Clear_All_btn);
        click(form.OK_btn);
        EXPECT_TRUE(picker->isVisible());
        click(form.Cancel_btn);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(texts(), (std::vector<QString> { "No column is selected.", "No column is selected." }));
    EXPECT_EQ(table, before);
}

TEST_F(ImportExcelTest, ValueListModeAddsTheTickedCellsRowByRow)
{
    BatchWizard* manager = BatchWizard::defaultInstance();
    manager->ListData_value().clear();
    run(QStringLiteral("D"), [](Ui::Import_Excel& form) {
        clickCell(form.ColList, 1, 0);
        clickCell(form.ColList, 2, 0);
        click(form.OK_btn);
    });
    EXPECT_EQ(manager->ListData_value().rows(), (QStringList { "555-1", "Oslo", "Bergen" }))
        << "blank cells add nothing";
    EXPECT_EQ(texts(), (std::vector<QString> { "1 blank cell was left out (row 3)." })) << "and are told of";
}

TEST_F(ImportExcelTest, WorksheetsAreOfferedByTheirNamesInTabOrderAndChosenSheetIsRead)
{
    std::vector<QByteArray> sheets;
    const QString path = testsupport::makeTempFolder(QStringLiteral("eleven")) + QStringLiteral("/eleven.xlsx");
    {
        // The tabs list the parts backwards: tab "Guests 1" is sheet11.xml.
        std::vector<std::pair<QString, QString>> tabs;
        for (int n = 1; n <= 11; ++n)
            tabs.emplace_back(QStringLiteral("Guests %1").arg(n), QStringLiteral("worksheets/sheet%1.xml").arg(12 - n));
        std::vector<ziptest::Entry> entries = sheettest::sheetList(tabs);
        for (int n = 1; n <= 11; ++n)
            entries.emplace_back(QStringLiteral("xl/worksheets/sheet%1.xml").arg(n),
                "<worksheet><sheetData><row><c r=\"A1\" t=\"inlineStr\"><is><t>Title " + QByteArray::number(n)
                    + "</t></is></c>" + (n == 2 ? "<c><f>A1</f></c><c><f>A1</f><v></v></c>" : "")
                    + "</row></sheetData></worksheet>");
        ASSERT_TRUE(ziptest::writeZip(path, entries));
    }
    book = path;
    run(QStringLiteral("E"), [](Ui::Import_Excel& form) {
        ASSERT_EQ(form.Sheet_ComboBox->count(), 11);
        EXPECT_EQ(form.Sheet_ComboBox->itemText(1), QStringLiteral("Guests 2"));
        EXPECT_EQ(form.Sheet_ComboBox->itemText(9), QStringLiteral("Guests 10"));
        EXPECT_EQ(form.ColList->item(0, 1)->text(), QStringLiteral("Title 11"));
        form.Sheet_ComboBox->setCurrentIndex(9);
        emit form.Sheet_ComboBox->activated(9);
        EXPECT_EQ(Excel_Sheet_Number, 10);
        EXPECT_EQ(form.ColList->item(0, 1)->text(), QStringLiteral("Title 2"));
        click(form.Cancel_btn);
    });
    // Formulas stored without their result, as writers that do not calculate store them, are counted.
    EXPECT_EQ(texts(),
        std::vector<QString> { QStringLiteral("2 formula cells of this worksheet have no stored result and "
                                              "read as empty values. Open the workbook in a spreadsheet "
                                              "program and save it there to store their results.") });
}

TEST_F(ImportExcelTest, ASheetWithoutColumnsListsNoneAndSaysSo)
{
    book = testsupport::makeTempFolder(QStringLiteral("empty-sheet")) + QStringLiteral("/two.xlsx");
    ASSERT_TRUE(sheettest::writeWorkbook(book,
        { sheettest::worksheet("<row><c r=\"A1\" t=\"inlineStr\"><is><t>Name</t></is></c></row>"),
            sheettest::worksheet({}, {}) }));
    ASSERT_TRUE(Fill_Binding_Table(table, { { "Kept" }, { "value" } }, { 0 }, true));
    const Spreadsheet_Binding_Table before = table;
    QString empty;
    EXPECT_EQ(run(QStringLiteral("E"),
                  [&](Ui::Import_Excel& form) {
                      ASSERT_EQ(form.ColList->rowCount(), 1);
                      empty = form.Sheet_ComboBox->itemText(1);
                      emit form.Sheet_ComboBox->activated(1);
                      EXPECT_EQ(form.ColList->rowCount(), 0) << "never the columns of the sheet shown before";
                      EXPECT_EQ(form.sheet_rows->rowCount() + form.title_row_box->count(), 0) << "nor its rows";
                      click(form.Select_All_btn);
                      click(form.OK_btn);
                      click(form.Cancel_btn);
                  }),
        0);
    EXPECT_EQ(texts(),
        (std::vector<QString> {
            QStringLiteral("The sheet \"%1\" has no columns.").arg(empty), QStringLiteral("There is no column.") }))
        << "never the message about a corrupted file";
    EXPECT_EQ(table, before);
}

TEST_F(ImportExcelTest, UnreadableWorkbookIsToldAndThePickerNeverOpens)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("junk"));
    const QString junk = folder + QStringLiteral("/junk.xlsx");
    const QString bomb = folder + QStringLiteral("/bomb.xlsx");
    ASSERT_TRUE(sheettest::writeWorkbook(junk, {}) && QFile::resize(junk, 0));
    ASSERT_TRUE(sheettest::writeWorkbook(bomb, { sheettest::worksheet(QByteArray(64 << 20, ' ')) }));
    const struct {
        QString path;
        const char* message;
    } cases[] = { { junk, "not a readable workbook" }, { bomb, "more than a workbook" } };
    for (const auto& c : cases) {
        ui.messages.clear();
        book = c.path;
        picker->open_mode = QStringLiteral("E");
        EXPECT_EQ(picker->Open_excel_Wnd(c.path), 0);
        EXPECT_TRUE(ui.dialogsRun.empty());
        ASSERT_EQ(texts().size(), 1u);
        EXPECT_TRUE(texts()[0].contains(QLatin1String(c.message))) << texts()[0].toStdString();
        expectNoWaitLeft();
    }
}

// The sheet's first rows are shown with the titles in bold; the person takes the titles from another row, or
// unticks the box for none, and the cards or the value list get exactly the guests below the titles.
TEST_F(ImportExcelTest, ThePersonSaysWhereTheTitlesAre)
{
    book = workbook({ { "Guest list", "" }, {}, { "Name", "Code" }, { "Ann", "A1" }, { "Bo", "B2" } });
    BatchWizard* manager = BatchWizard::defaultInstance();
    const QString row3 = "Name|Code|The titles are taken from row 3. Row 1 above the titles is a heading and makes no "
                         "cards.",
                  none = "Column A|Column B|No row holds titles: every row holding a value makes a card, and columns "
                         "are named by their letters.";
    const struct {
        const char* mode;
        int row; // the sheet row chosen; 0: row 3 chosen, then the box unticked
        QString columns; // as the picker lists them, then what it says
        const char* values; // column A of the binding table, or the value list
    } cases[] = {
        { "E", 3, row3, "Ann|Bo" },
        { "E", 4, "Ann|A1|The titles are taken from row 4. Rows 1-3 above the titles are a heading and make no cards.",
            "Bo" },
        { "E", 0, none, "Guest list|Name|Ann|Bo" },
        { "D", 3, row3, "Ann|A1|Bo|B2" },
        { "D", 0, none, "Guest list|Name|Code|Ann|A1|Bo|B2" },
    };
    for (const auto& c : cases) {
        manager->ListData_value().clear();
        run(QString::fromLatin1(c.mode), [&](Ui::Import_Excel& form) {
            form.title_row_box->setCurrentIndex(form.title_row_box->findData(c.row ? c.row : 3));
            if (c.row == 0)
                click(form.contains_header);
            EXPECT_EQ(form.title_row_box->isEnabled(), c.row > 0);
            QStringList seen, bold;
            for (int row = 0; row < form.ColList->rowCount(); ++row)
                seen << form.ColList->item(row, 1)->text();
            EXPECT_EQ((seen << picker->findChild<QLabel*>("sheet_note")->text()).join('|'), c.columns);
            for (int row = 0; row < form.sheet_rows->rowCount(); ++row)
                if (form.sheet_rows->item(row, 0)->font().bold())
                    bold << form.sheet_rows->verticalHeaderItem(row)->text();
            EXPECT_EQ(bold, c.row ? QStringList { QString::number(c.row) } : QStringList()) << "the titles marked";
            click(form.Select_All_btn);
            click(form.OK_btn);
        });
        QStringList values = manager->ListData_value().rows();
        for (int r = 0; *c.mode == 'E' && r < table.rowCount(); ++r)
            values << table.value(r, 1);
        EXPECT_EQ(values.join('|'), QLatin1String(c.values)) << c.mode << c.row;
    }
}
