// Binding a workbook's columns from the main window, choosing a column for an item, and the binding table's
// window on the very table the design keeps.
#include "editor/EditorWindowTestSupport.h"

#include "barcode/Barcode_Dialog.h"
#include "data/Data_From_Excel.h"
#include "data/SpreadsheetTestSupport.h"
#include "data/Import_Excel.h"
#include "data/SpreadsheetWriter.h"
#include "model/TSLTextStorage.h"
#include "ui_Barcode_Gen.h"
#include "ui_Import_Excel.h"

#include <QComboBox>
#include <QLabel>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using editortest::EditorWindowTest;
using editortest::messageTexts;

using Rows = SpreadsheetWriter::Rows;
using Sheets = std::vector<std::pair<const char*, Rows>>;

// A workbook of sheets of texts, put in place whole as spreadsheet programs save; the unnamed sheet is the bound one.
static bool writeSheets(const QString& path, const Sheets& sheets, const QString& bound, const Rows& rows)
{
    std::vector<ziptest::Entry> parts;
    std::vector<std::pair<QString, QString>> tabs;
    for (const auto& [name, cells] : sheets) {
        tabs.emplace_back(name ? QString::fromUtf8(name) : bound, QStringLiteral("worksheets/%1.xml").arg(tabs.size()));
        QByteArray body;
        for (const QStringList& row : name ? cells : rows)
            body += "<row><c t=\"inlineStr\"><is><t>" + row.join("</t></is></c><c t=\"inlineStr\"><is><t>").toUtf8()
                + "</t></is></c></row>";
        parts.push_back({ QStringLiteral("xl/") + tabs.back().second, sheettest::worksheet(body, {}) });
    }
    std::ranges::copy(sheettest::sheetList(tabs), std::back_inserter(parts));
    const QString made = path + QStringLiteral(".part");
    return ziptest::writeZip(made, parts) && std::rename(qPrintable(made), qPrintable(path)) == 0;
}

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
    // The picker as a person answers it: titles in this sheet row (0: as offered), these listed columns ticked, OK.
    void pickColumns(std::initializer_list<int> rows, bool titled = true, int titleRow = 0)
    {
        std::vector<int> chosen(rows);
        ui.modalRuns.push_back([chosen, titled, titleRow](QDialog& dialog) {
            dialog.show();
            Import_Excel* picker = Import_Excel::defaultInstance();
            picker->form().contains_header->setChecked(titled);
            if (titleRow > 0)
                picker->form().title_row_box->setCurrentIndex(picker->form().title_row_box->findData(titleRow));
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
        window->_graphicView->changeSelectionIndexes({ int(window->Get_Front_Controls_Array().size()) - 1 });
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

    // A filtered sheet: each run's notes say how many rows the workbook hides.
    QByteArray body = "<row r=\"1\"><c t=\"inlineStr\"><is><t>Name</t></is></c></row>";
    for (const char* row : { "2\" hidden=\"1", "3", "4\" hidden=\"1", "5" })
        body += QByteArray("<row r=\"") + row + "\"><c><v>" + row[0] + "</v></c></row>";
    ASSERT_TRUE(sheettest::writeWorkbook(book, { sheettest::worksheet(body) }));
    ui.fileAnswers.push_back(book);
    pickColumns({ 0 });
    window->Bind_Spreadsheet_btn->trigger();
    window->Check_Series_Or_Excel_Use_or_not();
    EXPECT_EQ(window->Take_Batch_Snapshot()->fillLog().sheetNote(),
        QStringLiteral("2 of the rows that make cards are hidden in the workbook; they make cards like the others."));

    // A heading directly above the titles and a total typed under the names: every run makes the guests' cards and
    // the total's, and tells of it.
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(
        book, { { "Guest list" }, { "Name", "Code" }, { "Ann", "A1" }, { "Bo", "B2" }, { "Total: 2" } }, true));
    ui.fileAnswers.push_back(book);
    pickColumns({ 0, 1 });
    window->Bind_Spreadsheet_btn->trigger();
    window->Check_Series_Or_Excel_Use_or_not();
    EXPECT_EQ(item->Text_contents().string, QStringLiteral("Ann"));
    const auto run = window->Take_Batch_Snapshot();
    EXPECT_EQ(run->recordCount(), 3);
    EXPECT_EQ(run->fillLog().sheetNote(),
        QStringLiteral("Row 5, the last, looks like a total: it is labelled as one. It makes a card like the others."));
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

    // Its column no longer taken: its settings list the columns, the missing one marked and chosen, at once.
    ui.fileAnswers.push_back(book);
    pickColumns({ 0 });
    window->Bind_Spreadsheet_btn->trigger();
    const QComboBox* columns = Barcode_Dialog::defaultInstance()->form().Batch_Series;
    QStringList listed; // as the settings open, the chosen one starred
    ui.modalRuns.push_back([&](QDialog&) {
        for (int i = 0; i < columns->count(); ++i)
            listed << columns->itemText(i) + (i == columns->currentIndex() ? "*" : "");
        QStyleOptionComboBox box;
        box.initFrom(columns);
        const int room = columns->style()
                             ->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, columns)
                             .width();
        // Shown whole, with the value its cards draw now: none.
        listed << Barcode_Dialog::defaultInstance()->form().dataText->text()
               << QString::number(room >= columns->fontMetrics().horizontalAdvance(columns->currentText()));
        return 0;
    });
    Barcode_Dialog::defaultInstance()->Open_Wnd(*item);
    EXPECT_EQ(listed, (QStringList { "#", "Name", "Code (missing)*", "", "1" }));
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
    const TSLGraphicPtr code = boundText(2);
    code->setBounds(QRectF(10, 60, 100, 40));
    const TSLGraphicPtr name = boundText(1); // the one the inspector shows
    const struct {
        SpreadsheetWriter::Rows rows;
        std::initializer_list<int> ticked;
        int namePosition, codePosition;
        const char* codeShown;
        const char* codeListed;
        const char* told; // at once and before a run
    } cases[] = {
        { { { "Name", "Code" }, { "Zed", "77" } }, { 0, 1 }, 1, 2, "77", "Code", "" },
        { { { "No", "Code", "Name" }, { "1", "77", "Zed" } }, { 0, 1, 2 }, 3, 2, "77", "Code", "" },
        { { { "No", "Name" }, { "1", "Zed" } }, { 0, 1 }, 2, 3, "", "Code (missing)",
            "1 item is bound to a column this sheet does not have: Code" },
    };
    const QString other = testsupport::makeTempFolder(QStringLiteral("other")) + QStringLiteral("/other.xlsx");
    for (const auto& c : cases) {
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(other, c.rows, true));
        ui.messages.clear();
        ui.fileAnswers.push_back(other);
        pickColumns(c.ticked); // then saved, once the item's last edit has closed
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->markDesignSaved(), !window->isWindowModified(); }));
        window->Bind_Spreadsheet_btn->trigger();
        EXPECT_TRUE(window->isWindowModified()) << "another workbook is a change to save";
        EXPECT_EQ(name->excel_col_indx, c.namePosition) << c.told;
        EXPECT_EQ(code->excel_col_indx, c.codePosition) << c.told;
        EXPECT_EQ(name->Text_contents().string, QStringLiteral("Zed")) << c.told;
        EXPECT_EQ(code->Text_contents().string, QString::fromUtf8(c.codeShown)) << "as blank as the cards";
        EXPECT_EQ(window->Batch_Series->currentText(), QStringLiteral("Name")) << "the column box follows the title";
        EXPECT_EQ(window->Batch_Series->itemText(c.codePosition), QString::fromUtf8(c.codeListed));
        const QString told = QString::fromUtf8(c.told);
        EXPECT_EQ(messageTexts(ui), told.isEmpty() ? QStringList() : QStringList { told });
        window->Check_Series_Or_Excel_Use_or_not();
        EXPECT_EQ(window->Take_Batch_Snapshot()->columnsNotFoundNotice(), told);
    }
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto onCanvas = [this](QPointF point) { return (point * window->_graphicView->zoomFactor()).toPoint(); };
    const QColor mark = window->_graphicView->grab().toImage().pixelColor(onCanvas(QPointF(100, 95)));
    EXPECT_TRUE(mark.red() > 240 && mark.green() < 250) << "a blank item bound to a missing column is marked";
    QTest::mouseClick(window->_graphicView, Qt::LeftButton, {}, onCanvas(code->bounds().center()));
    EXPECT_EQ(window->_graphicView->Selected_Graphic(), code);
    EXPECT_EQ(window->Batch_Series->currentText(), QStringLiteral("Code (missing)"));

    const QString design = testsupport::makeTempFolder(QStringLiteral("design")) + QStringLiteral("/party.dcard");
    ui.fileAnswers.push_back(design); // asked at the first save
    auto shown = [this] { // the name and the code on the canvas, of the items the design has now
        const TSLGraphicList& items = window->Get_Front_Controls_Array();
        return items.back()->Text_contents().string + QLatin1Char(' ') + items.front()->Text_contents().string;
    };
    // Saved anew, seen by the folder watch, or in place (the same file written again, as some programs save), by
    // the file's; while told: saved again, less its first record, with the notice open: taken, and told once.
    // A design saved before its sheet was kept (ByOpeningOld) finds it by its rows, even behind a copy of it.
    enum Seen { ByTheFolder, ByTheFile, ByTheRun, ByOpening, ByOpeningOld, WhileTold };
    const QString bound = Import_Excel::defaultInstance()->sheetName();
    auto guests = [](const char* name, const char* code) { return Rows { { "Name", "Code" }, { name, code } }; };
    const struct {
        SpreadsheetWriter::Rows rows; // none: a file that is no workbook, written in place
        Seen seen;
        const char* shown;
        const char* told = nullptr; // when not the notice of the change; "" for none
        Sheets sheets = {}; // when the workbook has more sheets than the bound one
        const char* offered = nullptr; // a column the inspector's list offers now
        Rows untitled = {}; // bound anew without a title row before the change (its columns keep their places)
        QString storedSheet = {}; // the sheet the saved design names, written into its file; told in the real box
    } changes[] = {
        { { { "Code", "Name" }, { "5", "Cleo" }, { "6", "Di" } }, ByTheFolder, "Cleo 5" },
        { { { "Name", "Code" }, { "Eve", "7" }, { "Fay", "8" }, { "Gus", "9" } }, ByTheFile, "Eve 7" },
        { { { "Code", "Name" }, { "1", "Hal" }, { "2", "Ida" } }, ByTheRun, "Hal 1" },
        { { { "No", "Code", "Name" }, { "1", "3", "Jo" }, { "2", "4", "Kim" } }, ByOpening, "Jo 3" },
        { {}, ByOpening, "Jo 3",
            "The workbook \"other.xlsx\" cannot be read: The file \"other.xlsx\" is not a readable workbook (failed "
            "to open zip file). The design shows the data it stored (2 records)." },
        { { { "Name", "Code" }, { "Ned", "1" }, { "Ola", "2" } }, WhileTold, "Ola 2",
            "The workbook \"other.xlsx\" has changed: the design now shows its new data (1 records)." },
        { guests("Sun", "2"), ByOpening, "Sun 2", nullptr, { { "Saturday", guests("Sat", "1") }, { nullptr, {} } } },
        { guests("Sun", "2"), ByOpening, "Sun 2", "", { { "Saturday", guests("Sat", "1") }, { nullptr, {} } } },
        { guests("Uma", "4"), ByOpening, "Uma 4", nullptr,
            { { "Copy", guests("Cy", "9") }, { "Saturday", {} }, { nullptr, {} } } },
        { guests("Val", "6"), ByTheFolder, "Val 6", nullptr, { { "Saturday", guests("Sat", "5") }, { nullptr, {} } } },
        { guests("Wes", "7"), ByOpening, "Val 6",
            "The workbook \"other.xlsx\" cannot be read: it no longer has the sheet \"Sheet1\". The design shows "
            "the data it stored (1 records).",
            { { "Saturday", guests("Wes", "7") } } },
        { guests("Val", "6"), ByOpeningOld, "Val 6", "", { { "Copy", guests("Cy", "9") }, { nullptr, {} } } },
        { guests("Xia", "8"), ByTheFolder, "Xia 8", nullptr, { { "Copy", guests("Cy", "9") }, { nullptr, {} } } },
        { { { "Name", "Code" }, { "Xia", "8" }, { "Zoe", "9" } }, ByOpeningOld, "Xia 8",
            "The workbook \"other.xlsx\" has changed: the design now shows its new data (2 records) from the sheet "
            "\"Sheet1\".",
            { { "Friday", guests("Fri", "1") }, { "Saturday", guests("Sat", "2") }, { nullptr, {} } } },
        { { { "Guest", "Code" }, { "Yan", "1" } }, ByTheFolder, " 1",
            "The workbook \"other.xlsx\" has changed: the design now shows its new data (1 records).\n\n1 item is "
            "bound to a column this sheet does not have: Name",
            {}, "Guest" },
        { guests("Val", "6"), ByOpening, " 1",
            "The workbook \"other.xlsx\" cannot be read: it no longer has the sheet \"<b>Guests</b>xxxxxxxxxxxxxxxxxxxx"
            "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\u2026\". The design shows the data it stored (1 records).",
            { { "Copy", guests("Cy", "9") }, { nullptr, {} } }, nullptr, {},
            QStringLiteral("<b>Guests</b>") + QString(1 << 20, QLatin1Char('x')) },
        { { { "Ann Lee", "A1" }, { "Bo", "B2" } }, ByTheFolder, "Ann Lee A1",
            "The workbook \"other.xlsx\" has changed: the design now shows its new data (2 records).", {}, "Column B",
            { { "Ann Noh", "A1" }, { "Bo", "B2" } } },
        { { { "Ann Lee", "A2" }, { "Bo", "B2" }, { "Cy", "C3" } }, ByOpening, "Ann Lee A2",
            "The workbook \"other.xlsx\" has changed: the design now shows its new data (3 records)." },
    };
    const QString changed
        = QStringLiteral("The workbook \"other.xlsx\" has changed: the design now shows its new data (%1 records).");
    for (const auto& c : changes) {
        const QString told = c.told ? QString::fromUtf8(c.told) : changed.arg(c.rows.size() - 1);
        SCOPED_TRACE(told.toStdString());
        if (!c.untitled.empty()) {
            ui.messages.clear(); // the watch tells of the new rows before they are bound anew
            ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(other, c.untitled, false)
                && QTest::qWaitFor([&] { return !ui.messages.empty(); }));
            ui.fileAnswers.push_back(other);
            pickColumns({ 0, 1 }, false);
            window->Bind_Spreadsheet_btn->trigger();
            window->Get_Front_Controls_Array().back()->excel_col_indx = 1; // as the inspector binds them
            window->Get_Front_Controls_Array().front()->excel_col_indx = 2;
        }
        ui.messages.clear();
        const bool opening = c.seen == ByOpening || c.seen == ByOpeningOld;
        ASSERT_TRUE(!opening || window->Save_project_file(false, false) == TSLWindowController::SaveResult::Saved);
        if (QFile saved(design); c.seen == ByOpeningOld || !c.storedSheet.isEmpty()) {
            auto old = decodeDesignFile(saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray());
            ASSERT_TRUE(old && (c.seen != ByOpeningOld || old->workbookSheet == bound));
            old->workbookSheet = c.storedSheet;
            ASSERT_TRUE(writeDesignFile(design, encodeDesignFile(*old)));
        }
        QFile file(other), made(book); // a workbook written in place is made first where nothing watches
        const bool inPlace = c.seen == ByTheFile || c.rows.empty();
        ASSERT_TRUE(c.rows.empty()
            || (c.sheets.empty() ? SpreadsheetWriter::WriteWorkbook(inPlace ? book : other, c.rows, true)
                                 : writeSheets(other, c.sheets, bound, c.rows)));
        const QByteArray bytes = !c.rows.empty() && made.open(QIODevice::ReadOnly) ? made.readAll() : "no workbook";
        ASSERT_TRUE(!inPlace || (file.open(QIODevice::WriteOnly) && file.write(bytes) > 0));
        file.close();
        auto seen = [&] { return QTest::qWaitFor([&] { return shown() == QLatin1String(c.shown); }, 20000); };
        QString boxSays; // the real box's words, as they stand when it is closed
        std::optional<editortest::RealSeamHand> hand;
        if (c.seen == WhileTold || !c.storedSheet.isEmpty())
            hand.emplace(ui, std::vector<editortest::RealSeamHand::Step> { [&](QWidget& box) {
                EXPECT_TRUE(c.seen != WhileTold
                    || (SpreadsheetWriter::WriteWorkbook(other, { c.rows[0], c.rows[2] }, true) && seen()));
                const auto& notice = static_cast<QMessageBox&>(box);
                boxSays = notice.textFormat() == Qt::PlainText ? notice.text().trimmed() : QStringLiteral("markup");
                static_cast<QMessageBox&>(box).buttons().first()->click();
            } });
        if (c.seen == ByTheRun)
            window->Check_Series_Or_Excel_Use_or_not(); // before the watch has had a moment
        else if (opening)
            ASSERT_EQ(window->Read_and_load_design_Log(design, QStringLiteral("L")), 1);
        else
            ASSERT_TRUE(seen());
        EXPECT_EQ(shown(), QLatin1String(c.shown));
        const QStringList says = told.isEmpty() ? QStringList() : QStringList { told };
        EXPECT_EQ(hand ? QStringList { boxSays } : messageTexts(ui), says) << "and no column called missing";
        EXPECT_TRUE(!c.offered || window->Batch_Series->findText(QString::fromUtf8(c.offered)) >= 0);
        EXPECT_EQ(window->Take_Batch_Snapshot()->recordCount(), window->bindingTable.rowCount()) << "what runs use";
    }
}

// Only the second "Name" ticked, "Code" beside "Code ", a heading over an untitled column: the columns are told
// apart, and the text keeps its column reopened untouched, when the workbook gains a guest, and reopened then.
TEST_F(SpreadsheetCommandsTest, ABoundColumnIsTheSheetsOwnWhateverElseWasTicked)
{
    const struct {
        Rows rows; // titles first; a guest is added after them
        std::initializer_list<int> ticked;
        int bound; // the text's column in the binding table
        const char* picked; // what the picker lists and says
        const char* listed; // the bound column in the inspector's list
        const char* first; // the card's text; a new guest, first after the titles, is "Zak" throughout
        int cards; // exported once one more guest is added at the end
        int titleRow = 0; // the sheet row the person takes the titles from; 0 keeps the row offered
    } cases[] = {
        { { { "Name", "Table", "Name", "Code" }, { "Ann", "1", "Al", "A1" }, { "Bo", "2", "Ben", "B2" } }, { 2, 3 }, 1,
            "Name (column A)|Table|Name (column C)|Code|The titles are taken from row 1.", "Name (column C)", "Al", 4 },
        { { { "Code", "Code " }, { "A1", "Z9" } }, { 1 }, 1,
            "Code (column A)|Code (column B)|The titles are taken from row 1.", "Code (column B)", "Z9", 3 },
        { { { "Summer party 2026 - guest list" }, {}, { "Name", "", "Code" }, { "Ann", "1", "A1" } }, { 0, 1 }, 2,
            "Name|Column B|Code|The titles are taken from row 3. Row 1 above the titles is a heading and makes no "
            "cards.",
            "Column B", "1", 3 },
        { { { "Party at the lake" }, { "Saturday" }, { "Name", "Code" }, { "Ann", "A1" } }, { 0, 1 }, 2,
            "Name|Code|The titles are taken from row 3. Rows 1-2 above the titles are a heading and make no cards.",
            "Code", "A1", 3, 3 },
    };
    const QString design = testsupport::makeTempFolder(QStringLiteral("design")) + QStringLiteral("/party.dcard");
    for (const auto& c : cases) {
        const QString path = testsupport::makeTempFolder(QStringLiteral("pairs")) + QStringLiteral("/guests.xlsx");
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, c.rows, true));
        ui.fileAnswers.push_back(path);
        pickColumns(c.ticked, true, c.titleRow);
        window->Bind_Spreadsheet_btn->trigger();
        Import_Excel& picker = *Import_Excel::defaultInstance(); // what it listed and said
        QStringList seen;
        for (int row = 0; row < picker.form().ColList->rowCount(); ++row)
            seen << picker.form().ColList->item(row, 1)->text();
        EXPECT_EQ((seen << picker.findChild<QLabel*>("sheet_note")->text()).join('|'), QString::fromUtf8(c.picked));
        window->Show_RHS_Properties(selected(QStringLiteral("TSLText"))); // a new text, not yet bound
        boundText(c.bound);
        const auto shown = [this] { return window->Get_Front_Controls_Array().back()->Text_contents().string; };
        const auto reopened = [this, &design, &shown] { // the card's text and the column the inspector lists
            EXPECT_EQ(window->Read_and_load_design_Log(design, QStringLiteral("L")), 1);
            window->_graphicView->setSelected_Graphic(window->Get_Front_Controls_Array().back());
            window->Show_RHS_Properties(window->Get_Front_Controls_Array().back());
            return (shown() + '|' + window->Batch_Series->currentText()).toStdString();
        };
        const std::string kept = std::string(c.first) + '|' + c.listed;
        EXPECT_EQ((shown() + '|' + window->Batch_Series->currentText()).toStdString(), kept);
        if (&c == cases)
            ui.fileAnswers.push_back(design); // asked at the first save
        ASSERT_EQ(window->Save_project_file(false, false), TSLWindowController::SaveResult::Saved);
        EXPECT_EQ(reopened(), kept) << "reopened untouched";
        Rows rows = c.rows; // the new guest comes first, below the titles
        rows.insert(c.rows.size() > 3 ? 3 : 1, QStringList(c.rows.back().size(), QStringLiteral("Zak")));
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true));
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == QLatin1String("Zak"); }, 20000)) << "a guest added";
        EXPECT_EQ(reopened(), std::string("Zak|") + c.listed) << "reopened after the change";
        rows.append(QStringList(rows.back().size(), QStringLiteral("Yul"))); // read again by the run itself
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true));
        QTemporaryDir target;
        ui.modalRuns.push_back([](QDialog&) { return 1; }); // the export window's OK, then the folder
        ui.fileAnswers.push_back(target.path());
        ui.modalRuns.push_back([](QDialog&) { return 0; }); // the notice that the export is done
        window->Export_Button();
        const QDir cards(QDir(target.path()).filePath(Batch_Export_Folder_Name), QStringLiteral("Card_*"));
        EXPECT_EQ(cards.entryList(QDir::Files).size(), c.cards) << "one card per guest below the titles";
    }
}
