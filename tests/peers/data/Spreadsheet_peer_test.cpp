#include "data/SpreadsheetWriter.h"

#include "data/Sheet_Column_List.h"
#include "data/Spreadsheet_Binding_Table.h"
#include "data/Spreadsheet_Globals.h"
#include "data/SpreadsheetTestSupport.h"
#include "data/Zip_Package.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

#include <numeric>

using Rows = SpreadsheetWriter::Rows;

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

QString helperScript()
{
    return QStringLiteral(TESSALINE_TEST_SOURCE_DIR "/peers/data/openpyxl_book.py");
}

bool haveOpenpyxl()
{
    return testsupport::runProgram(python, { QStringLiteral("-c"), QStringLiteral("import openpyxl") }) == 0;
}

Rows readSheet(const QString& path, int number)
{
    SpreadsheetWriter::ReadWorkbook(path, true);
    Excel_Sheet_Number = number;
    SpreadsheetWriter::ReadData_only_column();
    return SpreadsheetWriter::ReadWorkbook(path, false);
}

// A workbook written in a fresh folder by a python script (given its path, then the arguments), and the same saved
// again by the office suite: both paths, or none when either program failed.
QStringList writtenAndSavedAgain(const char* script, const QStringList& arguments = {})
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("written")), written = folder + "/list.xlsx";
    const QStringList office { "-env:UserInstallation=" + QUrl::fromLocalFile(folder + "/profile").toString(),
        "--headless", "--convert-to", "xlsx", "--outdir", folder + "/office", written };
    const QStringList writer = QStringList { "-c", QString::fromUtf8(script), written } + arguments;
    QString err;
    const bool made = testsupport::runProgram(python, writer, nullptr, &err) == 0
        && testsupport::runProgram(QStringLiteral("soffice"), office) == 0;
    EXPECT_TRUE(made) << err.toStdString();
    QStringList both { written, folder + "/office/list.xlsx" };
    return made ? both : QStringList();
}

} // namespace

TEST(SpreadsheetPeers, WorkbookWrittenByOpenpyxlReadsRight)
{
    ASSERT_TRUE(haveOpenpyxl()) << "python3-openpyxl is missing: tools/deps.sh installs it";
    const QString path = testsupport::makeTempFolder(QStringLiteral("openpyxl")) + QStringLiteral("/book.xlsx");
    QString err;
    ASSERT_EQ(testsupport::runProgram(python, { helperScript(), QStringLiteral("write"), path }, nullptr, &err), 0)
        << err.toStdString();

    SpreadsheetWriter::ReadWorkbook(path, true);
    ASSERT_TRUE(SpreadsheetWriter::lastError().isEmpty()) << SpreadsheetWriter::lastError().toStdString();
    QList<int> numbers;
    for (int n = 1; n <= 11; ++n)
        numbers.append(n);
    EXPECT_EQ(SpreadsheetWriter::Worksheet_Numbers(), numbers);
    EXPECT_EQ(SpreadsheetWriter::Read_Sheet_Name().mid(0, 3), (QStringList { "People", "Shared", "S3" }));

    Excel_Sheet_Number = 1;
    EXPECT_EQ(
        SpreadsheetWriter::ReadData_only_column(), (Rows { { "Name", "Age", "Born", "Member", "Total", "Note" } }));
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(path, false),
        (Rows {
            { "Name", "Age", "Born", "Member", "Total", "Note" },
            { QString::fromUtf8("Zoë Ångström"), "42", "45366", "1", "84", QString::fromUtf8("日本語 ok") },
            { "Bob", "7.5", "36525", "0", "15", "" },
            { "after blank", "", "-3", "", "", "" }, // the empty sheet row 4 is not in the file
        }));

    EXPECT_EQ(readSheet(path, 2), (Rows { { "City", "Code" }, { "Oslo", "N-1" }, { "Oslo", "<&>" } }))
        << "shared strings after a rich-text item keep their positions";
    EXPECT_EQ(readSheet(path, 10), (Rows { { "sheet 10" } }));
    EXPECT_EQ(readSheet(path, 11), (Rows { { "sheet 11" } }));
}

// Workbooks whose parts lie where the format allows but the usual writers do not put them: each reads as
// openpyxl reads it, numbers as a spreadsheet shows them, and numbers written back stay numbers.
TEST(SpreadsheetPeers, WorkbookPartsFoundThroughRelationshipsInUtf8OrUtf16ReadLikeOpenpyxl)
{
    ASSERT_TRUE(haveOpenpyxl()) << "python3-openpyxl is missing: tools/deps.sh installs it";
    const QString folder = testsupport::makeTempFolder(QStringLiteral("layouts"));
    QString out, err;
    ASSERT_EQ(
        testsupport::runProgram(python, { helperScript(), QStringLiteral("write-layouts"), folder }, nullptr, &err), 0)
        << err.toStdString();
    // openpyxl reads each as this; we read the same, numbers as a spreadsheet shows them.
    const QJsonObject openpyxl
        = QJsonDocument::fromJson(QString::fromUtf8("{\"Guésts\": [[\"Name\", \"Amount\"], "
                                                    "[\"Zoë 日本\", 100.0], [\"Bob\", 0.1345], [\"zero\", 0]]}")
                                      .toUtf8())
              .object();
    const Rows shown { { "Name", "Amount" }, { QString::fromUtf8("Zoë 日本"), "100" }, { "Bob", "0.1345" },
        { "zero", "0" } };
    for (const char* name : { "strings", "moved", "utf16" }) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".xlsx");
        ASSERT_EQ(testsupport::runProgram(python, { helperScript(), QStringLiteral("read"), path }, &out, &err), 0)
            << err.toStdString();
        EXPECT_EQ(QJsonDocument::fromJson(out.toUtf8()).object(), openpyxl) << name;
        SpreadsheetWriter::ReadWorkbook(path, true);
        EXPECT_EQ(SpreadsheetWriter::Read_Sheet_Name(), openpyxl.keys()) << name;
        EXPECT_EQ(readSheet(path, 1), shown) << name << ": " << SpreadsheetWriter::lastError().toStdString();
    }
    const QString back = folder + QStringLiteral("/back.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(back, shown, true)) << SpreadsheetWriter::lastError().toStdString();
    ASSERT_EQ(testsupport::runProgram(python, { helperScript(), QStringLiteral("read"), back }, &out, &err), 0);
    EXPECT_EQ(QJsonDocument::fromJson(out.toUtf8()).object().value(QStringLiteral("Sheet1")).toArray().at(1),
        QJsonDocument::fromJson(QByteArrayLiteral("[[\"Zoë 日本\", 100]]")).array().at(0));
}

TEST(SpreadsheetPeers, WorkbookWeWriteOpensInOpenpyxlWithTheSameValues)
{
    ASSERT_TRUE(haveOpenpyxl()) << "python3-openpyxl is missing: tools/deps.sh installs it";
    const QString path = testsupport::makeTempFolder(QStringLiteral("ours")) + QStringLiteral("/ours.xlsx");
    const Rows rows { { "Batch Value", "Second" }, { "12", "abc" }, { "-3.25", QString::fromUtf8("Grüße 😀") },
        { "1,5", "a & <b>" }, { "12345678901234567890", "  padded  " }, { "abc", "" }, { "0012", "   " },
        { "+5", "1.50" }, { "0.28", "after" } };
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true)) << SpreadsheetWriter::lastError().toStdString();
    QString out, err;
    ASSERT_EQ(testsupport::runProgram(python, { helperScript(), QStringLiteral("read"), path }, &out, &err), 0)
        << err.toStdString();
    const QJsonObject book = QJsonDocument::fromJson(out.toUtf8()).object();
    ASSERT_EQ(book.keys(), QStringList { "Sheet1" });
    const QJsonArray sheet = book.value(QStringLiteral("Sheet1")).toArray();
    ASSERT_EQ(sheet.size(), rows.size());
    const QJsonArray expected
        = QJsonDocument::fromJson(QByteArrayLiteral("[[\"Batch Value\",\"Second\"],[12,\"abc\"],[-3.25,\"Grüße 😀\"],"
                                                    "[\"1,5\",\"a & <b>\"],[\"12345678901234567890\",\"  padded  \"],"
                                                    "[\"abc\",\"\"],[\"0012\",\"   \"],[\"+5\",\"1.50\"],"
                                                    "[0.28,\"after\"]]"))
              .array();
    for (int r = 0; r < rows.size(); ++r)
        EXPECT_EQ(sheet.at(r), expected.at(r)) << "row " << r;
}

TEST(SpreadsheetPeers, ControlCharactersWeWriteReadBackInOpenpyxlAndTheOfficeSuite)
{
    ASSERT_TRUE(haveOpenpyxl()) << "python3-openpyxl is missing: tools/deps.sh installs it";
    const QString folder = testsupport::makeTempFolder(QStringLiteral("controls"));
    const QString path = folder + QStringLiteral("/controls.xlsx");
    const Rows rows { { QStringLiteral("bell\a"), QStringLiteral("plain") },
        { QStringLiteral("cr\rlf\n"), QStringLiteral("x") },
        { QString(QChar(0)) + QStringLiteral("nul"), QStringLiteral("tab\tthere") } };
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true)) << SpreadsheetWriter::lastError().toStdString();
    QString out, err;
    ASSERT_EQ(
        testsupport::runProgram(python, { helperScript(), QStringLiteral("read-unescaped"), path }, &out, &err), 0)
        << err.toStdString();
    const QJsonArray sheet = QJsonDocument::fromJson(out.toUtf8()).object().value(QStringLiteral("Sheet1")).toArray();
    ASSERT_EQ(sheet.size(), rows.size()) << out.toStdString();
    for (int r = 0; r < rows.size(); ++r) {
        QStringList read;
        for (const QJsonValue& cell : sheet.at(r).toArray())
            read.append(cell.toString());
        EXPECT_EQ(read, rows[r]) << r;
    }
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("soffice"))) << "tools/deps.sh installs LibreOffice Calc";
    // UTF-8, every field quoted; the CSV export writes a line break inside a cell as LF. Its own profile
    // folder keeps it from waiting on another running instance.
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("soffice"),
                  { QStringLiteral("-env:UserInstallation=")
                          + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true"), QStringLiteral("--outdir"),
                      folder, path }),
        0);
    QFile csv(folder + QStringLiteral("/controls.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    QString expected;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& value : row)
            fields.append(
                QLatin1Char('"') + QString(value).replace(QLatin1Char('\r'), QLatin1Char('\n')) + QLatin1Char('"'));
        expected += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    EXPECT_EQ(QString::fromUtf8(csv.readAll()), expected);
}

TEST(SpreadsheetPeers, OfficeSuiteConvertsOurWorkbookToCsv)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("soffice"))) << "tools/deps.sh installs LibreOffice Calc";
    const QString folder = testsupport::makeTempFolder(QStringLiteral("soffice"));
    const QString path = folder + QStringLiteral("/ours.xlsx");
    const Rows rows { { "Batch Value" }, { "12" }, { "0012" }, { "   " }, { "+5" }, { "Zoë" } };
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true));
    // Every value keeps its row and its text, in our reader as in the office suite.
    EXPECT_EQ(readSheet(path, 1), rows);
    // Comma-separated, quoted, UTF-8 (76): without the options the suite writes an 8-bit character set.
    // Its own profile folder keeps it from waiting on another running instance.
    ASSERT_EQ(
        testsupport::runProgram(QStringLiteral("soffice"),
            { QStringLiteral("-env:UserInstallation=")
                    + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"), folder, path }),
        0);
    QFile csv(folder + QStringLiteral("/ours.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(csv.readAll()).split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts),
        (QStringList { "Batch Value", "12", "0012", "   ", "+5", QString::fromUtf8("Zoë") }));
}

TEST(ZipPeers, ArchiveMadeByPythonWithHostileEntriesUnpacksNothingOutside)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("pyzip"));
    const QString archive = base + QStringLiteral("/hostile.zip");
    const QString script = QStringLiteral("import sys, zipfile\n"
                                          "z = zipfile.ZipFile(sys.argv[1], 'w')\n"
                                          "z.writestr('ok/inside.txt', 'inside')\n"
                                          "z.writestr('../evil', 'evil')\n"
                                          "z.writestr('ok/../../evil2', 'evil')\n"
                                          "z.writestr('/abs', 'absolute')\n"
                                          "z.writestr('C:/drive', 'drive')\n"
                                          "link = zipfile.ZipInfo('ok/link')\n"
                                          "link.create_system = 3\n"
                                          "link.external_attr = 0o120777 << 16\n"
                                          "z.writestr(link, sys.argv[2])\n"
                                          "z.writestr('ok/link/through', 'through')\n"
                                          "z.close()\n");
    const QString outside = base + QStringLiteral("/outside");
    QDir().mkpath(outside);
    ASSERT_EQ(testsupport::runProgram(python, { QStringLiteral("-c"), script, archive, outside }), 0);

    const QString destination = base + QStringLiteral("/a/b/dest");
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(archive, destination));
    EXPECT_TRUE(QDir(outside).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/a/b/evil")));
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/a/evil2")));
    EXPECT_FALSE(QFileInfo(destination + QStringLiteral("/ok/link")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(destination + QStringLiteral("/ok/inside.txt")));
    const QStringList top = QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_EQ(top, (QStringList { "a", "hostile.zip", "outside" }));
}

TEST(ZipPeers, ArchivesWeBuildPassUnzipAndPythonChecks)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zipcheck"));
    QDir().mkpath(base + QStringLiteral("/pkg/sub/empty"));
    QFile file(base + QStringLiteral("/pkg/sub/data.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray bytes;
    for (int i = 0; i < 300000; ++i)
        bytes.append(char(i * 31 % 251));
    file.write(bytes);
    file.close();
    const QString archive = base + QStringLiteral("/built.zip");
    ASSERT_TRUE(Zip_Package::createZipFileAtPath(archive, base + QStringLiteral("/pkg")));

    QString out;
    const QString script = QStringLiteral("import sys, zipfile, hashlib\n"
                                          "z = zipfile.ZipFile(sys.argv[1])\n"
                                          "assert z.testzip() is None\n"
                                          "print(sorted(z.namelist()))\n"
                                          "print(hashlib.sha256(z.read('pkg/sub/data.bin')).hexdigest())\n");
    ASSERT_EQ(testsupport::runProgram(python, { QStringLiteral("-c"), script, archive }, &out), 0);
    const QStringList lines = out.trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("['pkg/sub/data.bin', 'pkg/sub/empty/']"));
    EXPECT_EQ(lines[1], QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("unzip"))) << "unzip is missing: tools/deps.sh installs it";
    EXPECT_EQ(testsupport::runProgram(QStringLiteral("unzip"), { QStringLiteral("-tq"), archive }), 0);
}

// A guest list by openpyxl (with formula results, as spreadsheet programs store them) and by the office suite.
TEST(SpreadsheetPeers, AGuestListWithAHeadingHiddenRowsAndATotalReadsAsItsWritersShowIt)
{
    ASSERT_TRUE(haveOpenpyxl() && testsupport::havePeer(QStringLiteral("soffice"))) << "tools/deps.sh installs both";
    const char* script = R"py(import re, sys, zipfile, openpyxl
book = openpyxl.Workbook()
sheet = book.active
sheet["A1"] = "Summer party 2026 - guest list"
for r, row in enumerate([["Name", "Table", "Name", "Code", "Code "]] + [[n, i, n + "'s partner", "C%d" % i, "c%d" % i]
                        for i, n in enumerate(["Ann", "Bo", "Cy", "Di", "Eve"])] + [["=COUNTA(A4:A8)", "=SUM(B4:B8)"]]):
    for c, value in enumerate(row):
        sheet.cell(row=r + 3, column=c + 1, value=value)
sheet.auto_filter.ref = "A3:E8"
sheet.row_dimensions[5].hidden = sheet.row_dimensions[7].hidden = True
book.save(sys.argv[1])
parts = {name: zipfile.ZipFile(sys.argv[1]).read(name) for name in zipfile.ZipFile(sys.argv[1]).namelist()}
xml = "xl/worksheets/sheet1.xml"
parts[xml] = re.sub(rb"(<f>(?:COUNTA|SUM)\(.*?</f>)(?:<v\s*/>|<v></v>)", rb"\1<v>5</v>", parts[xml])
with zipfile.ZipFile(sys.argv[1], "w") as target:
    for name, data in parts.items():
        target.writestr(name, data)
)py";
    for (const QString& path : writtenAndSavedAgain(script)) {
        SCOPED_TRACE(path.toStdString());
        const Rows rows = readSheet(path, 1);
        EXPECT_EQ(sheetNote(rows, SpreadsheetWriter::rowFacts(), true),
            sheettest::toldOfSheet(3, 1,
                "2 of the rows that make cards are hidden in the workbook; they make cards like the others. Row 9, "
                "the last, looks like a total: its values are formulas over the column above. It makes a card like "
                "the others."));
        Spreadsheet_Binding_Table table;
        ASSERT_TRUE(Fill_Binding_Table(table, rows, { 2, 4 }, true, SpreadsheetWriter::rowFacts()));
        EXPECT_EQ(table.shownTitles(), (QStringList { "#", "Name (column C)", "Code (column E)" }));
        ASSERT_EQ(table.rowCount(), 6) << "hidden rows and the total are merged, as other programs merge them";
        EXPECT_EQ(table.value(1, 1) + table.value(1, 2), QStringLiteral("Bo's partnerc1"));
    }
}

// Guest lists as people keep them, written by openpyxl and saved again by the office suite (whose workbooks carry
// its own merged cells and date formats): each gives its titles and exactly its guests.
TEST(SpreadsheetPeers, GuestListsWithAndWithoutAHeadingGiveTheirGuestsAsTheirWritersShowThem)
{
    ASSERT_TRUE(haveOpenpyxl() && testsupport::havePeer(QStringLiteral("soffice"))) << "tools/deps.sh installs both";
    const struct {
        const char* rows; // a JSON list of rows; "@2026-07-12" a date, "~B" after a row's first cell merges it to B
        int titleRow;
        const char* columns; // every column's title in the binding table
        const char* names; // column A of each record
        const char* told = "";
    } cases[] = {
        { R"([["Guest list~B"], ["Name", "Code"], ["Ann", "A1"], ["Bo", "B2"]])", 2, "Name|Code", "Ann|Bo" },
        { R"([["Guest list"], ["Name", "Diet"], ["Ann"], ["Bo"]])", 1, "Guest list|Column B", "Name|Ann|Bo" },
        { R"([["Guest list~B"], ["Name", "Diet"], ["Ann"], ["Bo"]])", 2, "Name|Diet", "Ann|Bo" },
        { R"([["Summer party", null, "@2026-07-12"], [], ["Name", "Code"], ["Ann", "A1"]])", 3, "Name|Code|Column C",
            "Ann" },
        { R"([["Guests for Saturday"], [], ["Name"], ["Ann"], ["Bo"], ["Cy"], ["Di"], ["Eve"]])", 3, "Name",
            "Ann|Bo|Cy|Di|Eve" },
        { R"([["Name"], ["Ann"], ["Bo"], ["Cy"], ["Di", "vegetarian", "late"], ["Eve"]])", 1, "Name|Column B|Column C",
            "Ann|Bo|Cy|Di|Eve" },
        { R"([["Name"], ["Ann"], ["Bo"], [], ["Cy", "+1"], ["Di"], ["Eve"]])", 1, "Name|Column B", "Ann|Bo|Cy|Di|Eve" },
        { R"([["Name"], ["Ann", 1, "A1"], ["Bo", 2, "B2"]])", 1, "Name|Column B|Column C", "Ann|Bo" },
        { R"([["Name", "@2026-07-12", "@2026-07-19"], ["Ann", "yes", "no"]])", 1, "Name|2026-07-12|2026-07-19", "Ann" },
        { R"([["Name"], ["Ann"], ["Bo"], ["Total: 2"]])", 1, "Name", "Ann|Bo|Total: 2",
            "Row 4, the last, looks like a total: it is labelled as one. It makes a card like the others." },
    };
    const char* script = R"py(import datetime, json, sys, openpyxl
book = openpyxl.Workbook()
sheet = book.active
for r, row in enumerate(json.loads(sys.argv[2])):
    for c, value in enumerate(row):
        if isinstance(value, str) and "~" in value:
            value, last = value.split("~")
            sheet.merge_cells("A%d:%s%d" % (r + 1, last, r + 1))
        if isinstance(value, str) and value.startswith("@"):
            value = datetime.date.fromisoformat(value[1:])
        sheet.cell(row=r + 1, column=c + 1, value=value)
book.save(sys.argv[1])
)py";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        for (const QString& path : writtenAndSavedAgain(script, { c.rows })) {
            SCOPED_TRACE(path.toStdString());
            const Rows rows = readSheet(path, 1);
            EXPECT_EQ(sheetNote(rows, SpreadsheetWriter::rowFacts(), true),
                sheettest::toldOfSheet(c.titleRow, c.titleRow > 1 ? 1 : 0, c.told))
                << "a heading in row 1 when the titles stand below it";
            Spreadsheet_Binding_Table table;
            QList<int> every(rows.value(0).size());
            std::iota(every.begin(), every.end(), 0);
            ASSERT_TRUE(Fill_Binding_Table(table, rows, every, true, SpreadsheetWriter::rowFacts()));
            EXPECT_EQ(table.columnTitles().mid(1).join('|'), c.columns);
            EXPECT_EQ(columnValues(rows, 0, true, SpreadsheetWriter::rowFacts()).join('|'), c.names);
        }
    }
}
