#include "data/Sheet_Column_List.h"

#include "support/TestSupport.h"
#include "data/Spreadsheet_Binding_Table.h"
#include "data/Spreadsheet_Globals.h"
#include "data/Workbook_Reread.h"
#include "data/SpreadsheetTestSupport.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <numeric>

using Rows = SpreadsheetWriter::Rows;

TEST(SheetColumnList, BlankHeaderKeepsEveryColumnInItsPlace)
{
    const QList<Sheet_Column> list = Create_Column_List({ " Name ", "  ", "City", "" });
    ASSERT_EQ(list.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list[i].column, i);
    EXPECT_EQ(list[0].Extension, QStringLiteral("Name"));
    EXPECT_EQ(list[0].Header, QStringLiteral(" Name "));
    EXPECT_EQ(list[1].Extension, QStringLiteral("Untitled Column 2"));
    EXPECT_EQ(list[1].Header, QStringLiteral("Untitled Column 2"));
    EXPECT_EQ(list[2].Extension, QStringLiteral("City"));
    EXPECT_EQ(list[3].Extension, QStringLiteral("Untitled Column 4"));

    QList<Sheet_Column> ticked = list;
    ticked[2].State = true;
    EXPECT_EQ(tickedColumns(ticked), QList<int> { 2 }) << "City stays column 2 after the blank header";
}

TEST(SheetColumnList, TickedCellsComeRowByRow)
{
    const Rows rows { { "A", "B", "C" }, { "a1", "b1", "c1" }, { "a2", " b2 ", "c2" }, { "a3" } };
    struct Case {
        QList<int> ticked;
        bool header;
        QStringList values;
    } cases[] = {
        { { 1, 2 }, true, { "b1", "c1", "b2", "c2", "", "" } },
        { { 1, 2 }, false, { "B", "C", "b1", "c1", "b2", "c2", "", "" } },
        { { 0 }, true, { "a1", "a2", "a3" } },
        { { 7 }, true, { "", "", "" } }, // a column outside the rows reads as empty, never out of bounds
        { {}, true, {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(tickedValuesRowMajor(rows, c.ticked, c.header), c.values);
    EXPECT_EQ(columnValues(rows, 2, true), (QStringList { "c1", "c2", "" }));
}

TEST(SheetColumnList, BindingTableTakesTheTickedColumnsByPosition)
{
    const Rows rows { { "Name", "Phone", "City" }, { "Ada", "555-1", "Oslo" }, { "Bo", "555-2", "Bergen" } };
    Spreadsheet_Binding_Table table;
    table.setValueColumnTitles({ "#", "Old 1", "Old 2", "Old 3" });
    ASSERT_TRUE(Fill_Binding_Table(table, rows, { 1, 2 }, true));
    EXPECT_EQ(table.columnTitles(), (QStringList { "#", "Phone", "City" })) << "earlier extra columns are gone";
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.value(0, 0), QStringLiteral("1"));
    EXPECT_EQ(table.value(1, 0), QStringLiteral("2"));
    EXPECT_EQ(table.value(0, 1), QStringLiteral("555-1"));
    EXPECT_EQ(table.value(1, 2), QStringLiteral("Bergen"));

    ASSERT_TRUE(Fill_Binding_Table(table, rows, { 1, 2 }, false));
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.value(0, 1), QStringLiteral("Phone")) << "without titles the first row is a record too";
    EXPECT_EQ(table.value(2, 2), QStringLiteral("Bergen"));

    const Spreadsheet_Binding_Table before = table;
    EXPECT_FALSE(Fill_Binding_Table(table, {}, { 0 }, true));
    EXPECT_EQ(table, before) << "a sheet without rows leaves the table as it was";
}

TEST(SheetColumnList, BindingTableEditsStayInsideTheTable)
{
    Spreadsheet_Binding_Table table;
    ASSERT_TRUE(Fill_Binding_Table(table, { { "Name" }, { "Ada" } }, { 0 }, true));
    EXPECT_TRUE(table.setValue(0, 1, QStringLiteral("Adele")));
    EXPECT_EQ(table.value(0, 1), QStringLiteral("Adele"));
    EXPECT_FALSE(table.setValue(1, 1, QStringLiteral("x")));
    EXPECT_FALSE(table.setValue(-1, 1, QStringLiteral("x")));
    EXPECT_FALSE(table.setValue(0, 5, QStringLiteral("x")));
    EXPECT_EQ(table.rowCount(), 1);

    table.Create_Value_List(QStringLiteral("  "));
    EXPECT_EQ(table.rowCount(), 1);
    table.Create_Value_List(QStringLiteral(" extra "));
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.value(1, 0), QStringLiteral("extra"));
}

// On every road from a sheet, a row whose cells hold no value (drawn or formatted ahead, or cleared) is no guest.
TEST(SheetColumnList, RowsHoldingNoValueAreNoRecordOnAnyRoad)
{
    const QString titles = "Name|Table|Code;", borders = QStringList(16, "||").join(';');
    const struct {
        QString rows; // cells split by '|', rows by ';'
        bool header;
        QString columns, names; // the binding table's titles after "#", and column A of each record
        const char* picked = nullptr; // what the picker lists, when not the columns
    } cases[] = {
        { titles + "Ann|1|A1;||;Cy|3|C3;" + borders, true, "Name|Table|Code", "Ann|Cy" },
        { titles + " | |  ;Bo|2|B2", true, "Name|Table|Code", "Bo" },
        { "||;Name|Table|Name;Ann|1|Ann Noh", true, "Name|Table|Name", "Ann" },
        { "Ann|1|A1;Bo|2|B2;||", false, "Column A|Column B|Column C", "Ann|Bo" },
        // Lists as people keep them: a heading above the titles, or over a list of one column, a note beside a
        // guest, guests of several columns under a title in A1 alone.
        { "Guest list;" + titles + "Ann|1|A1;Bo|2|B2", true, "Name|Table|Code", "Ann|Bo" },
        { "Guests for Saturday||;||;Name||;Ann||;Bo||;Cy||;Di||;Eve||", true, "Name|Column B|Column C",
            "Ann|Bo|Cy|Di|Eve", "Name|Untitled Column 2|Untitled Column 3" },
        { "Name||;Ann||;Bo||;Cy||;Di|vegetarian|late;Eve||", true, "Name|Column B|Column C", "Ann|Bo|Cy|Di|Eve",
            "Name|Untitled Column 2|Untitled Column 3" },
        { "Name;Ann|1|A1;Bo|2|B2", true, "Name|Column B|Column C", "Ann|Bo",
            "Name|Untitled Column 2|Untitled Column 3" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows.toStdString());
        Rows written;
        for (const QString& row : c.rows.split(';'))
            written << row.split('|');
        const QString path = testsupport::makeTempFolder("rows") + "/guests.xlsx";
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, written, c.header));
        SpreadsheetWriter::ReadWorkbook(path, true);
        Excel_Sheet_Number = 1;
        EXPECT_EQ(SpreadsheetWriter::ReadData_only_column().value(0).join('|'),
            c.picked       ? c.picked
                : c.header ? c.columns
                           : "Ann|1|A1");
        const Rows rows = SpreadsheetWriter::ReadWorkbook(path, false);
        Spreadsheet_Binding_Table table;
        ASSERT_TRUE(Fill_Binding_Table(table, rows, { 0, 1, 2 }, c.header));
        const QStringList& named = table.columnTitles();
        EXPECT_EQ(named.mid(1).join('|'), c.columns);
        QStringList bound;
        for (int p = 1; p < named.size(); ++p) // each column found again by its title, as items follow it
            EXPECT_EQ(
                Spreadsheet_Binding_Table(table).positionOfTitle(named[p], table.occurrenceOfTitle(named, p, 1)), p);
        for (int r = 0; r < table.rowCount(); ++r)
            bound << table.value(r, 1);
        EXPECT_EQ(bound.join('|'), c.names);
        EXPECT_EQ(columnValues(rows, 0, c.header).join('|'), c.names);
        QString sheet, reason;
        Spreadsheet_Binding_Table again;
        ASSERT_TRUE(Workbook_Reread::read(path, &sheet, c.header, table, again, &reason)) << reason.toStdString();
        EXPECT_EQ(again, table) << "the untouched workbook is no change";
    }
}

namespace {

// A workbook of one worksheet whose rows are "number[h][~X]:cell|cell" (h: hidden; ~X: the first cell merged
// through column X). A cell "=formula>result" is a formula with its result, "#n" a number, "@n" a number in a date
// format; any other an inline string.
bool writeRows(const QString& path, const QStringList& rows)
{
    QByteArray body, merged;
    for (const QString& row : rows) {
        const QString head = row.section(':', 0, 0), number = head.section('~', 0, 0).remove('h');
        body += "<row r=\"" + number.toUtf8() + (head.contains('h') ? "\" hidden=\"1\">" : "\">");
        if (head.contains('~'))
            merged += "<mergeCell ref=\"A" + number.toUtf8() + ":" + head.section('~', 1).toUtf8() + number.toUtf8()
                + "\"/>";
        for (const QString& cell : row.section(':', 1).split('|')) {
            const QByteArray rest = cell.mid(1).toUtf8();
            if (cell.startsWith('='))
                body += "<c><f>" + cell.mid(1).section('>', 0, 0).toHtmlEscaped().toUtf8() + "</f><v>"
                    + cell.section('>', 1).toUtf8() + "</v></c>";
            else if (cell.startsWith('#') || cell.startsWith('@'))
                body += (cell.startsWith('@') ? "<c s=\"1\"><v>" : "<c><v>") + rest + "</v></c>";
            else
                body += "<c t=\"inlineStr\"><is><t>" + cell.toUtf8() + "</t></is></c>";
        }
        body += "</row>";
    }
    const QByteArray styles = "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"&quot;Seats&quot; 0\"/>"
                              "</numFmts><cellXfs><xf numFmtId=\"164\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>";
    return ziptest::writeZip(path,
        { { "[Content_Types].xml", "<Types/>" }, { "xl/styles.xml", styles },
            { "xl/worksheets/sheet1.xml",
                sheettest::worksheet(body, {}, merged.isEmpty() ? "" : "<mergeCells>" + merged + "</mergeCells>") } });
}

} // namespace

TEST(SheetColumnList, TitlesStandBelowAHeadingAndHiddenRowsAndATotalAreTold)
{
    const struct {
        QStringList rows;
        const char* columns; // the binding table's titles after "#", every column ticked
        const char* names; // column A of each record
        int titleRow;
        const char* recordRows; // the workbook's row of each record, as a run names its guests
        QString told = {}; // of the records, in the picker and the run's notes
    } cases[] = {
        { { "1:Summer party 2026 - guest list", "3:Name||Code", "4:Ann|1|A1", "5:Bo|2|B2" }, "Name|Column B|Code",
            "Ann|Bo", 3, "4|5" },
        { { "1:Summer party", "2:at the lake", "5:Name|Seat", "6:Ann|1" }, "Name|Seat", "Ann", 5, "6" },
        { { "1:Guest list", "2:Name|Table|Code", "3:Ann|1|A1" }, "Name|Table|Code", "Ann", 2, "3" },
        { { "1:Name", "2:Ann|1", "3:Bo|2" }, "Name|Column B", "Ann|Bo", 1, "2|3" }, // an untitled column, no heading
        { { "1:Name", "2:Ann", "4:Bo" }, "Name", "Ann|Bo", 1, "2|4" }, // one column: no heading
        { { "1:Name|Seat", "2:Ann|1", "3:Bo|2", "4:=A2&A3>AnnBo|=SUM(A2:A3)>0" }, "Name|Seat", "Ann|Bo|AnnBo", 1,
            "2|3|4" },
        { { "1:Name|Seat", "2h:Ann|1", "3:Bo|2", "4:=SUBTOTAL(3,A2:A3)>1|" }, "Name|Seat", "Ann|Bo|1", 1, "2|3|4",
            "1 of the rows that make cards is hidden in the workbook; it makes a card like the others. Row 4, the "
            "last, looks like a "
            "total: its values are formulas over the column above. It makes a card like the others." },
        // Guests are never a heading: a note beside a later guest, then beside a guest after an empty row, and
        // guests of several columns under a title in A1 alone.
        { { "1:Name", "2:Ann", "3:Bo", "4:Cy", "5:Di|vegetarian|late", "6:Eve" }, "Name|Column B|Column C",
            "Ann|Bo|Cy|Di|Eve", 1, "2|3|4|5|6" },
        { { "1:Name", "2:Ann|vegetarian|late", "3:Bo", "4:Cy" }, "Name|Column B|Column C", "Ann|Bo|Cy", 1, "2|3|4" },
        { { "1:Name", "2:Ann", "3:Bo", "5:Cy|+1", "6:Di", "7:Eve" }, "Name|Column B", "Ann|Bo|Cy|Di|Eve", 1,
            "2|3|5|6|7" },
        { { "1:Name", "2:Ann|#1|A1", "3:Bo|#2|B2" }, "Name|Column B|Column C", "Ann|Bo", 1, "2|3" },
        { { "1:Name|Seat", "2:Ann|#1", "4:Bo|x", "5:Cy|#3" }, "Name|Seat", "Ann|Bo|Cy", 1, "2|4|5" },
        { { "1:Name||City", "3:Ada|x|Oslo", "4:Bo||Bergen" }, "Name|Column B|City", "Ada|Bo", 1, "3|4" },
        // Headings where people put them: directly above the titles, merged across them, beside a date, over
        // a one-column list.
        { { "1:Guest list", "2:Name|Code", "3:Ann|A1", "4:Bo|B2" }, "Name|Code", "Ann|Bo", 2, "3|4" },
        { { "1:Guest list", "2:Name|Table|Diet", "3:Ann|#1", "4:Bo|#2" }, "Name|Table|Diet", "Ann|Bo", 2, "3|4" },
        { { "1~B:Guest list", "2:Name|Diet", "3:Ann", "4:Bo" }, "Name|Diet", "Ann|Bo", 2, "3|4" },
        { { "1:Summer party||@46215", "3:Name|Code", "4:Ann|A1" }, "Name|Code|Column C", "Ann", 3, "4" },
        { { "1:Guests for Saturday", "3:Name", "4:Ann", "5:Bo", "6:Cy", "7:Di", "8:Eve" }, "Name", "Ann|Bo|Cy|Di|Eve",
            3, "4|5|6|7|8" },
        // Titles that are dates show as dates; a number in a format of words is no date.
        { { "1:Name|@46215|@46222.75|#3", "2:Ann|yes|no|x" }, "Name|2026-07-12|2026-07-19 18:00|3", "Ann", 1, "2" },
        // A last row labelled as a total, by a SUM beside it or typed under the names.
        { { "1:Name|Seat", "2:Ann|#1", "3:Bo|#2", "4:Total|=SUM(B2:B3)>3" }, "Name|Seat", "Ann|Bo|Total", 1, "2|3|4",
            "Row 4, the last, looks like a total: it is labelled as one. It makes a card like the others." },
        { { "1:Name", "2:Ann", "3:Bo", "4:Total: 2" }, "Name", "Ann|Bo|Total: 2", 1, "2|3|4",
            "Row 4, the last, looks like a total: it is labelled as one. It makes a card like the others." },
        { { "1:Name", "2:Total: 2", "3:Dr. Bo" }, "Name", "Total: 2|Dr. Bo", 1, "2|3" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows.join(';').toStdString());
        const QString path = testsupport::makeTempFolder("told") + "/guests.xlsx";
        ASSERT_TRUE(writeRows(path, c.rows));
        SpreadsheetWriter::ReadWorkbook(path, true);
        Excel_Sheet_Number = 1;
        const Rows header = SpreadsheetWriter::ReadData_only_column();
        ASSERT_EQ(header.size(), 1);
        EXPECT_EQ(shownTitles(header.first()).join('|').replace(QRegularExpression("Untitled Column \\d+"), "-"),
            QString(c.columns).replace(QRegularExpression("Column [A-Z]"), "-"))
            << "the picker lists the titles as the table takes them";
        const Rows rows = SpreadsheetWriter::ReadWorkbook(path, false);
        int lastAbove = 0; // the heading: the last row listed above the titles
        for (const QString& row : c.rows) {
            if (const int number = row.section(QRegularExpression("[:h~]"), 0, 0).toInt(); number < c.titleRow)
                lastAbove = number;
        }
        EXPECT_EQ(sheetNote(rows, SpreadsheetWriter::rowFacts(), true),
            sheettest::toldOfSheet(c.titleRow, lastAbove, c.told));
        Spreadsheet_Binding_Table table;
        QList<int> every(rows.value(0).size());
        std::iota(every.begin(), every.end(), 0);
        ASSERT_TRUE(Fill_Binding_Table(table, rows, every, true, SpreadsheetWriter::rowFacts()));
        EXPECT_EQ(table.columnTitles().mid(1).join('|'), c.columns);
        EXPECT_EQ(table.recordsNote(), c.told);
        EXPECT_EQ(columnValues(rows, 0, true, SpreadsheetWriter::rowFacts()).join('|'), c.names);
        Spreadsheet_Binding_Table again; // the workbook read again, as when a design is opened
        QString sheet, reason;
        ASSERT_TRUE(Workbook_Reread::read(path, &sheet, true, table, again, &reason)) << reason.toStdString();
        for (const Spreadsheet_Binding_Table* read : { &table, &again }) {
            QStringList numbers;
            for (const int row : read->sheetRows())
                numbers << QString::number(row);
            EXPECT_EQ(numbers.join('|'), c.recordRows);
        }
    }
}

// Beside the editor's roads: a column put in front of the bound one, and titles kept without places (older designs).
TEST(SheetColumnList, TheSecondOfTwoSameTitledColumnsStaysTheSecond)
{
    Spreadsheet_Binding_Table bound, kept, again;
    ASSERT_TRUE(Fill_Binding_Table(bound, { { "Name", "Table", "Name" }, { "Ann", "1", "Al" } }, { 2 }, true));
    kept.setStoredTitles(bound.storedTitles()); // as a design file keeps it
    kept.setListData(bound.ListData());
    const QString path = testsupport::makeTempFolder("places") + "/guests.xlsx";
    QString sheet, reason;
    ASSERT_TRUE(
        SpreadsheetWriter::WriteWorkbook(path, { { "No", "Name", "Table", "Name" }, { "1", "Ann", "1", "Al" } }, true));
    ASSERT_TRUE(Workbook_Reread::read(path, &sheet, true, kept, again, &reason)) << reason.toStdString();
    EXPECT_EQ(again.value(0, 1), "Al");
    EXPECT_EQ(again.shownTitle(1), "Name (column D)");
    Spreadsheet_Binding_Table old;
    old.setStoredTitles({ "#", "Name", "Name" });
    EXPECT_EQ(old.placeOf(2).occurrence, 1) << "the second of the title, as tables were once kept";
    EXPECT_EQ(old.storedTitles(), (QStringList { "#", "Name", "Name" })) << "written back as it was read";
    old.setStoredTitles({ "#{B:2,Z,C}", "Name", "Name" }); // places that do not fit the titles tell nothing
    EXPECT_EQ(old.placeOf(1).column, -1);
    // Where the person said the titles are rides in title 0 too; a file without a choice has them found.
    const std::pair<const char*, std::optional<Title_Row_Choice>> choices[]
        = { { "#{A,B}", Title_Row_Choice() }, { "#{~A,B}", Title_Row_Choice::none() },
              { "#@12{A,B}", Title_Row_Choice::sheetRow(12) }, { "#", std::nullopt } };
    for (const auto& [stored, choice] : choices) {
        old.setStoredTitles({ stored, "Name", "Code" });
        EXPECT_EQ(old.titleRow(), choice) << stored;
        EXPECT_EQ(old.storedTitles().first(), stored) << "written back as it was read";
        EXPECT_EQ(Workbook_Reread::titleRowOf(old), choice.value_or(Title_Row_Choice())) << stored;
    }
}
