#include "data/SpreadsheetWriter.h"

#include "SpreadsheetTestSupport.h"
#include "data/Spreadsheet_Cells.h"
#include "data/Spreadsheet_Globals.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

using Rows = SpreadsheetWriter::Rows;

namespace {

// Opens a workbook of one worksheet and returns its header step and row step.
struct Read {
    Rows header;
    Rows rows;
    QString error;
};

Read readSheet(const QByteArray& sheet, const QByteArray& strings = {}, int number = 1)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("sheet"));
    const QString path = folder + QStringLiteral("/book.xlsx");
    std::vector<QByteArray> sheets(size_t(number), sheettest::worksheet("<row><c r=\"A1\"><v>other</v></c></row>"));
    sheets.back() = sheet;
    EXPECT_TRUE(sheettest::writeWorkbook(path, sheets, strings));
    Read read;
    SpreadsheetWriter::ReadWorkbook(path, true);
    Excel_Sheet_Number = number;
    read.header = SpreadsheetWriter::ReadData_only_column();
    read.rows = SpreadsheetWriter::ReadWorkbook(path, false);
    read.error = SpreadsheetWriter::lastError();
    return read;
}

} // namespace

TEST(SpreadsheetColumns, LettersAndNumbersConvertBothWays)
{
    struct Case {
        const char* ref;
        QString letters;
        int base64;
        int base65;
    } cases[] = {
        { "A1", "A", 1, 0 },
        { "Z9", "Z", 26, 25 },
        { "AA10", "AA", 27, 26 },
        { "AB7", "AB", 28, 27 },
        { "AZ3", "AZ", 52, 51 },
        { "ZZ1", "ZZ", 702, 701 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Get_Column_Char_Str(QString::fromLatin1(c.ref)), c.letters) << c.ref;
        EXPECT_EQ(Get_Col_index(c.letters, 64), c.base64) << c.ref;
        EXPECT_EQ(Get_Col_index(c.letters, 65), c.base65) << c.ref;
        if (c.base64 <= 702 && c.letters.size() <= 2 && !c.letters.contains(QLatin1Char('0'))) {
            EXPECT_EQ(ColumnIndexToName(c.base64), c.letters);
        }
    }
    EXPECT_EQ(Get_Column_Char_Str(QStringLiteral("A0B7")), QStringLiteral("A0B")) << "0 does not end the letters";
    EXPECT_EQ(Get_Column_Char_Str(QString()), QString());
    EXPECT_EQ(Asc_Val(QStringLiteral("A")), 65);

    struct Wide {
        const char* ref;
        int index;
    } wide[] = { { "A1", 0 }, { "ZZ5", 701 }, { "AAA1", 702 }, { "XFD1", 16383 }, { "XFE1", -1 }, { "AAAA1", -1 },
        { "1", -1 }, { "", -1 }, { "b2", 1 } };
    for (const Wide& w : wide)
        EXPECT_EQ(columnIndexOfReference(QString::fromLatin1(w.ref)), w.index) << w.ref;
    for (int n : { 1, 26, 27, 52, 702, 703, 16384 })
        EXPECT_EQ(columnIndexOfReference(ColumnIndexToName(n) + QStringLiteral("1")), n - 1) << n;
    EXPECT_EQ(ColumnIndexToName(703), QStringLiteral("AAA"));
}

TEST(SpreadsheetReader, DimensionGivesTheColumnCountAndHeaderPlaceholders)
{
    struct Case {
        QByteArray dimension;
        int columns;
    } cases[] = { { "A1:C10", 3 }, { "A1", 1 }, { "B3:D10", 4 }, { "A1:AB7", 28 } };
    for (const Case& c : cases) {
        const Read read = readSheet(sheettest::worksheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>", c.dimension));
        EXPECT_EQ(Excel_Sheet_Columns, c.columns) << c.dimension.constData();
        ASSERT_EQ(read.header.size(), 1);
        ASSERT_EQ(read.header[0].size(), c.columns);
        EXPECT_EQ(read.header[0][0], QStringLiteral("1"));
        if (c.columns > 1) {
            EXPECT_EQ(read.header[0].last(), QStringLiteral("Untitled Column %1").arg(c.columns));
        }
    }
}

TEST(SpreadsheetReader, CellsLandInTheirSheetColumns)
{
    const QByteArray body = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v></c></row>"
                            "<row r=\"2\"><c r=\"A2\"><v>10</v></c><c r=\"C2\"><v>30</v></c></row>"
                            "<row r=\"5\"><c r=\"B5\" t=\"inlineStr\"><is><t>inline</t></is></c></row>";
    const Read read = readSheet(sheettest::worksheet(body, "A1:C5"), sheettest::sharedStrings({ "Name", "City" }));
    EXPECT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.header, (Rows { { "Name", "Untitled Column 2", "City" } }));
    EXPECT_EQ(read.rows, (Rows { { "Name", "", "City" }, { "10", "", "30" }, { "", "inline", "" } }))
        << "absent sheet rows 3 and 4 give no entry";
}

TEST(SpreadsheetReader, CellValueRules)
{
    const QByteArray strings = "<sst><si><r><t>Rich </t></r><r><rPr/><t>text</t></r></si><si><t>plain</t></si>"
                               "<si><t xml:space=\"preserve\">  </t></si></sst>";
    const QByteArray body = "<row>"
                            "<c r=\"A1\" t=\"s\"><v>1</v></c>" // plain item after a rich one
                            "<c r=\"B1\" t=\"s\"><v>0</v></c>" // rich item: its runs
                            "<c r=\"C1\" t=\"s\"><v>3</v></c>" // index == table size: nothing
                            "<c r=\"D1\"><f>2+3</f><v>5</v></c>" // formula: cached result
                            "<c r=\"E1\" t=\"b\"><v>1</v></c>" // boolean as stored
                            "<c r=\"F1\"><v>45366</v></c>" // a date: its serial number
                            "<c r=\"G1\" t=\"s\"><v>2</v></c>" // blanks are a value
                            "<c r=\"H1\" t=\"s\"><v>-1</v></c>" // negative index: nothing
                            "<c r=\"I1\" t=\"str\"><f>A1</f><v>plain</v></c>" // string formula
                            "<c r=\"J1\" t=\"s\"><v>x</v></c>" // not a number: nothing
                            "<c r=\"K1\"><v>&lt;&amp;&gt; ü</v></c>"
                            // numbers with more digits than a spreadsheet shows read as it shows them
                            "<c r=\"L1\"><v>0.28000000000000003</v></c><c r=\"M1\"><v>5.0999999999999996</v></c>"
                            "<c r=\"N1\" t=\"n\"><v>6.1728395061728392E-2</v></c><c r=\"O1\"><v>1.5E-10</v></c>"
                            "<c r=\"P1\"><v>123456789012345678</v></c>"
                            "<c r=\"Q1\" t=\"str\"><v>0.28000000000000003</v></c>" // text stays as it is
                            // trailing zeros and a negative zero as a spreadsheet shows them; text stays text
                            "<c r=\"R1\"><v>100.000</v></c><c r=\"S1\"><v>0.134500000</v></c><c r=\"T1\"><v>-0</v></c>"
                            "<c r=\"U1\" t=\"str\"><v>100.000</v></c>"
                            // either side of the numbers shown as stored: digits, zeros, sign, exponent
                            "<c r=\"V1\"><v>0.0001</v></c><c r=\"W1\"><v>-0.00001</v></c>"
                            "<c r=\"X1\"><v>999999999999999</v></c><c r=\"Y1\"><v>1000000000000000</v></c>"
                            "<c r=\"Z1\"><v>1.000000000000001</v></c><c r=\"AA1\"><v>-012.50</v></c>"
                            "<c r=\"AB1\"><v>-0.0</v></c><c r=\"AC1\"><v>+7</v></c><c r=\"AD1\"><v>.5</v></c>"
                            "</row>";
    const Read read = readSheet(sheettest::worksheet(body, "A1:AD1"), strings);
    ASSERT_EQ(read.rows.size(), 1);
    EXPECT_EQ(read.rows[0],
        (QStringList { "plain", "Rich text", "", "5", "1", "45366", "  ", "", "plain", "", QString::fromUtf8("<&> ü"),
            "0.28", "5.1", "0.0617283950617284", "1.5E-10", "1.23456789012346E+17", "0.28000000000000003", "100",
            "0.1345", "0", "100.000", "0.0001", "-1E-05", "999999999999999", "1E+15", "1", "-12.5", "0", "+7",
            "0.5" }));
}

TEST(SpreadsheetReader, WidthComesFromTheCellsWhenTheDimensionIsMissingOrShort)
{
    const QByteArray body = "<row><c r=\"A1\"><v>a</v></c><c r=\"D1\"><v>d</v></c></row>"
                            "<row><c><v>first</v></c><c><v>second</v></c></row>"; // no references: in order
    for (const QByteArray& dimension : { QByteArray(), QByteArray("A1"), QByteArray("A1:B2") }) {
        const Read read = readSheet(sheettest::worksheet(body, dimension));
        EXPECT_EQ(Excel_Sheet_Columns, 4) << dimension.constData();
        EXPECT_EQ(read.rows, (Rows { { "a", "", "", "d" }, { "first", "second", "", "" } })) << dimension.constData();
    }
}

TEST(SpreadsheetReader, ReferencesOutsideTheSheetAreIgnored)
{
    const QByteArray body
        = "<row><c r=\"A1\"><v>a</v></c><c r=\"XFE1\"><v>beyond</v></c><c r=\"12\"><v>no letters</v></c>"
          "<c r=\"B1\"><v>b</v></c></row>";
    const Read read = readSheet(sheettest::worksheet(body, "A1:B1"));
    EXPECT_TRUE(read.error.isEmpty());
    EXPECT_EQ(read.rows, (Rows { { "a", "b" } }));
}

TEST(SpreadsheetReader, SheetNumberPicksThePartWhateverItsName)
{
    const Read read = readSheet(sheettest::worksheet("<row><c r=\"A1\"><v>second sheet</v></c></row>"), {}, 2);
    EXPECT_EQ(read.rows, (Rows { { "second sheet" } }));
}

TEST(SpreadsheetReader, WorksheetsAreListedByTheirNumber)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("numbers")) + QStringLiteral("/book.xlsx");
    std::vector<QByteArray> sheets(11, sheettest::worksheet("<row/>"));
    ASSERT_TRUE(sheettest::writeWorkbook(path, sheets));
    SpreadsheetWriter::ReadWorkbook(path, true);
    EXPECT_EQ(SpreadsheetWriter::Worksheet_Numbers(), (QList<int> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 }));
}

TEST(SpreadsheetReader, OpeningAnotherWorkbookForgetsTheFirst)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("forget"));
    std::vector<QByteArray> two(2, sheettest::worksheet("<row><c r=\"A1\" t=\"s\"><v>0</v></c></row>"));
    ASSERT_TRUE(
        sheettest::writeWorkbook(folder + QStringLiteral("/two.xlsx"), two, sheettest::sharedStrings({ "old" })));
    ASSERT_TRUE(sheettest::writeWorkbook(
        folder + QStringLiteral("/one.xlsx"), { sheettest::worksheet("<row><c r=\"A1\" t=\"s\"><v>0</v></c></row>") }));
    SpreadsheetWriter::ReadWorkbook(folder + QStringLiteral("/two.xlsx"), true);
    SpreadsheetWriter::ReadWorkbook(folder + QStringLiteral("/one.xlsx"), true);
    EXPECT_EQ(SpreadsheetWriter::Worksheet_Numbers(), QList<int> { 1 });
    EXPECT_TRUE(SpreadsheetWriter::spreadsheet().sharedStrings().isEmpty());
    Excel_Sheet_Number = 1;
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(QString(), false), (Rows { { "" } }));
}

TEST(SpreadsheetReader, BadWorkbooksGiveAClearMessageAndNoRows)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("bad"));
    struct Case {
        const char* what;
        std::vector<ziptest::Entry> entries; // empty: a file that is not a zip
    } cases[] = {
        { "not a zip", {} },
        { "no worksheet", { { QStringLiteral("xl/workbook.xml"), "<workbook/>" } } },
        { "malformed xml",
            { { QStringLiteral("xl/worksheets/sheet1.xml"), "<worksheet><sheetData><row><c r=\"A1\">" } } },
        { "not a worksheet", { { QStringLiteral("xl/worksheets/sheet1.xml"), "<chartsheet/>" } } },
        { "three-letter dimension too wide for its rows",
            { { QStringLiteral("xl/worksheets/sheet1.xml"),
                sheettest::worksheet(
                    QByteArray("<row><c r=\"A1\"><v>1</v></c></row>").repeated(400), "A1:XFD400") } } },
    };
    for (const Case& c : cases) {
        const QString path = folder + QStringLiteral("/bad.xlsx");
        if (c.entries.empty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("PK\x03\x04 but truncated");
        } else {
            ASSERT_TRUE(ziptest::writeZip(path, c.entries));
        }
        SpreadsheetWriter::ReadWorkbook(path, true);
        const QString opened = SpreadsheetWriter::lastError();
        Excel_Sheet_Number = 1;
        const Rows header = SpreadsheetWriter::ReadData_only_column();
        const QString headerError = SpreadsheetWriter::lastError();
        const Rows rows = SpreadsheetWriter::ReadWorkbook(path, false);
        EXPECT_TRUE(header.isEmpty()) << c.what;
        EXPECT_TRUE(rows.isEmpty()) << c.what;
        EXPECT_FALSE(SpreadsheetWriter::lastError().isEmpty() || headerError.isEmpty()) << c.what;
        if (c.entries.empty()) {
            EXPECT_TRUE(opened.contains(QStringLiteral("not a readable workbook"))) << opened.toStdString();
        }
    }
}

TEST(SpreadsheetReader, FullHeightSheetIsRefusedQuicklyWithAMessage)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("tall")) + QStringLiteral("/tall.xlsx");
    QByteArray body;
    body.reserve(30 * 1048576);
    for (int r = 1; r <= 1048576; ++r)
        body += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r) + "\"><v>1</v></c></row>";
    ASSERT_TRUE(sheettest::writeWorkbook(path, { sheettest::worksheet(body, "A1:A1048576") }));
    body.clear();
    SpreadsheetWriter::ReadWorkbook(path, true);
    Excel_Sheet_Number = 1;
    const Rows header = SpreadsheetWriter::ReadData_only_column();
    EXPECT_TRUE(header.isEmpty());
    EXPECT_TRUE(SpreadsheetWriter::lastError().contains(QStringLiteral("1048576 rows")))
        << SpreadsheetWriter::lastError().toStdString();
    const Rows rows = SpreadsheetWriter::ReadWorkbook(path, false);
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_TRUE(SpreadsheetWriter::lastError().contains(QStringLiteral("at most 1000000 rows")));
}

TEST(SpreadsheetReader, ScratchFolderIsPrivateToTheUser)
{
    SpreadsheetWriter::spreadsheet();
    const QFileInfo scratch(SpreadsheetWriter::scratchFolder());
    const QFileInfo run(scratch.absolutePath());
    EXPECT_TRUE(run.isDir());
    EXPECT_EQ(run.permissions()
            & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
                | QFileDevice::ExeOther | QFileDevice::ExeGroup),
        QFileDevice::Permissions());
    EXPECT_NE(run.fileName(), QStringLiteral("tmp"));
}

TEST(SpreadsheetReader, RemovingTheScratchFolderNeverFollowsALink)
{
    const QString outside = testsupport::makeTempFolder(QStringLiteral("outside"));
    QFile keep(outside + QStringLiteral("/keep.txt"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("keep");
    keep.close();
    const QString scratch = SpreadsheetWriter::spreadsheet().tmpDir();
    QDir().mkpath(scratch);
    ASSERT_TRUE(QFile::link(outside, scratch + QStringLiteral("/planted")));
    SpreadsheetWriter::removeScratchFolder();
    EXPECT_FALSE(QFileInfo::exists(scratch));
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep.txt")));
}

TEST(SpreadsheetReader, RowStepNeverReadsTheSheetOfAnEarlierWorkbook)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("twins"));
    // Two workbooks whose sheets have the same size and date: only their cells differ.
    for (const char* name : { "a", "b" }) {
        const QByteArray cell = QByteArray(name).repeated(4);
        ASSERT_TRUE(sheettest::writeWorkbook(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".xlsx"),
            { sheettest::worksheet("<row><c r=\"A1\"><v>" + cell + "</v></c></row>") }));
    }
    Excel_Sheet_Number = 1;
    SpreadsheetWriter::ReadWorkbook(folder + QStringLiteral("/a.xlsx"), true);
    EXPECT_EQ(SpreadsheetWriter::ReadData_only_column(), (Rows { { "aaaa" } }));
    SpreadsheetWriter::ReadWorkbook(folder + QStringLiteral("/b.xlsx"), true);
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(QString(), false), (Rows { { "bbbb" } }));
    // And a header step after a write reads the workbook opened since, not the written one.
    SpreadsheetWriter::ReadWorkbook(folder + QStringLiteral("/a.xlsx"), true);
    EXPECT_EQ(SpreadsheetWriter::ReadData_only_column(), (Rows { { "aaaa" } }));
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(folder + QStringLiteral("/w.xlsx"), { { "wwww" } }, true));
    SpreadsheetWriter::ReadWorkbook(folder + QStringLiteral("/b.xlsx"), true);
    EXPECT_EQ(SpreadsheetWriter::ReadData_only_column(), (Rows { { "bbbb" } }));
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(QString(), false), (Rows { { "bbbb" } }));
}
