#include "data/SpreadsheetWriter.h"

#include "data/Spreadsheet_Cells.h"
#include "data/Spreadsheet_Globals.h"
#include "data/Zip_Package.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cstring>
#include <sys/mount.h>

#include <pugixml.hpp>

#include <gtest/gtest.h>

using Rows = SpreadsheetWriter::Rows;

namespace {

// Writes rows, unpacks the result and parses one of its parts.
struct Written {
    bool ok = false;
    QString folder;
    pugi::xml_document sheet;
    pugi::xml_document strings;
};

void writeAndOpen(const Rows& rows, Written& out)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("write"));
    const QString target = base + QStringLiteral("/out.xlsx");
    out.ok = SpreadsheetWriter::WriteWorkbook(target, rows, true);
    out.folder = base + QStringLiteral("/unpacked");
    ASSERT_TRUE(Zip_Package::unzipFileAtPath(target, out.folder));
    ASSERT_TRUE(
        out.sheet.load_file((out.folder + QStringLiteral("/xl/worksheets/sheet1.xml")).toLocal8Bit().constData()));
    ASSERT_TRUE(
        out.strings.load_file((out.folder + QStringLiteral("/xl/sharedStrings.xml")).toLocal8Bit().constData()));
}

QString cellXml(const pugi::xml_document& sheet, const char* ref)
{
    const pugi::xml_node cell = sheet.select_node((std::string("//c[@r='") + ref + "']").c_str()).node();
    return QStringLiteral("%1|%2").arg(
        QString::fromUtf8(cell.attribute("t").value()), QString::fromUtf8(cell.child_value("v")));
}

} // namespace

TEST(SpreadsheetWriter, NumbersStayNumbersAndTextGoesToSharedStrings)
{
    Written out;
    writeAndOpen({ { "Batch Value" }, { "12" }, { "abc" }, { "007" }, { "abc" } }, out);
    ASSERT_TRUE(out.ok) << SpreadsheetWriter::lastError().toStdString();
    EXPECT_EQ(cellXml(out.sheet, "A1"), QStringLiteral("s|0"));
    EXPECT_EQ(cellXml(out.sheet, "A2"), QStringLiteral("|12"));
    EXPECT_EQ(cellXml(out.sheet, "A3"), QStringLiteral("s|1"));
    EXPECT_EQ(cellXml(out.sheet, "A4"), QStringLiteral("s|2")) << "leading zeros stay text";
    EXPECT_EQ(cellXml(out.sheet, "A5"), QStringLiteral("s|3")) << "equal texts get entries of their own";
    EXPECT_STREQ(out.sheet.select_node("//dimension").node().attribute("ref").value(), "A1:A5");
    EXPECT_STREQ(out.sheet.select_node("//selection").node().attribute("activeCell").value(), "A5");
    const pugi::xml_node sst = out.strings.document_element();
    EXPECT_STREQ(sst.attribute("count").value(), "4");
    EXPECT_STREQ(sst.attribute("uniqueCount").value(), "4");
    EXPECT_EQ(out.strings.select_nodes("//si").size(), 4u);
}

TEST(SpreadsheetWriter, NumberRuleIgnoresTheUserLocale)
{
    struct Case {
        const char* value;
        bool number;
    } cases[] = {
        { "12", true },
        { "-3.25", true },
        { "+7", false }, // a number only when it reads back as the same text
        { ".5", false },
        { "007", false },
        { "1.50", false },
        { "0", true },
        { "1,5", false },
        { "1.000,5", false },
        { "1e5", false },
        { "", false },
        { "-", false },
        { "1.2.3", false },
        { " 12", false },
        { "12 ", false },
        { "abc", false },
        { "0.000000000000001", false } /* reads back as 1E-15 */,
        { "0.0001", true },
        { "1234567890123456", false } /* 16 digits would lose one in a spreadsheet */,
        { "123456789012345", true },
    };
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const Case& c : cases)
        EXPECT_EQ(isSpreadsheetNumber(QString::fromLatin1(c.value)), c.number) << c.value;
    Written out;
    writeAndOpen({ { "1,5" }, { "1.5" } }, out);
    QLocale::setDefault(previous);
    EXPECT_EQ(cellXml(out.sheet, "A1"), QStringLiteral("s|0"));
    EXPECT_EQ(cellXml(out.sheet, "A2"), QStringLiteral("|1.5"));
}

TEST(SpreadsheetWriter, OnlyNumbersLeaveTheStringTableWithoutCounts)
{
    Written out;
    writeAndOpen({ { "1" }, { "2" } }, out);
    const pugi::xml_node sst = out.strings.document_element();
    EXPECT_FALSE(sst.attribute("count"));
    EXPECT_FALSE(sst.attribute("uniqueCount"));
    EXPECT_FALSE(sst.first_child());
}

TEST(SpreadsheetWriter, SpansAndDimensionComeFromTheFirstRow)
{
    Written out;
    writeAndOpen({ { "a", "b" }, { "c" }, { "d", "e", "f" } }, out);
    EXPECT_STREQ(out.sheet.select_node("//dimension").node().attribute("ref").value(), "A1:B3");
    for (const pugi::xpath_node& row : out.sheet.select_nodes("//row"))
        EXPECT_STREQ(row.node().attribute("spans").value(), "1:2");
    EXPECT_EQ(cellXml(out.sheet, "C3"), QStringLiteral("s|5"));
}

TEST(SpreadsheetWriter, WrittenWorkbookReadsBackUnchanged)
{
    const Rows rows { { "Batch Value", "Other" }, { "a & b", "<tag>" }, { QString::fromUtf8("Grüße 😀"), "  padded  " },
        { "3.14", "" }, { "0012", "   " }, { "   ", "+5" }, { "1.50", "after the blanks" } };
    const QString target = testsupport::makeTempFolder(QStringLiteral("roundtrip")) + QStringLiteral("/r.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(target, rows, true));
    SpreadsheetWriter::ReadWorkbook(target, true);
    Excel_Sheet_Number = 1;
    EXPECT_EQ(SpreadsheetWriter::ReadData_only_column(), (Rows { rows.first() }));
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(target, false), rows);
    EXPECT_TRUE(SpreadsheetWriter::lastError().isEmpty());
}

TEST(SpreadsheetWriter, EarlierImportInTheScratchFolderNeverReachesTheArchive)
{
    const QString scratch = SpreadsheetWriter::spreadsheet().tmpDir();
    QDir().mkpath(scratch + QStringLiteral("/xl/worksheets"));
    QFile stale(scratch + QStringLiteral("/xl/worksheets/sheet7.xml"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("<worksheet/>");
    stale.close();
    Written out;
    writeAndOpen({ { "x" } }, out);
    EXPECT_FALSE(QFileInfo::exists(out.folder + QStringLiteral("/xl/worksheets/sheet7.xml")));
    EXPECT_TRUE(QFileInfo::exists(out.folder + QStringLiteral("/[Content_Types].xml")));
    EXPECT_TRUE(QFileInfo::exists(out.folder + QStringLiteral("/xl/workbook.xml")));
}

TEST(SpreadsheetWriter, FailureIsReportedAndTheOldFileKept)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("write-fail"));
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(base + QStringLiteral("/missing/folder/x.xlsx"), { { "a" } }, true));
    EXPECT_FALSE(SpreadsheetWriter::lastError().isEmpty());
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(base + QStringLiteral("/empty.xlsx"), {}, true));
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/empty.xlsx")));

    QDir().mkpath(base + QStringLiteral("/dir.xlsx"));
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(base + QStringLiteral("/dir.xlsx"), { { "a" } }, true));
    EXPECT_TRUE(QFileInfo(base + QStringLiteral("/dir.xlsx")).isDir());

    // A full temporary folder: a file system of one page over the scratch folder.
    const QByteArray scratch = QFile::encodeName(SpreadsheetWriter::spreadsheet().tmpDir());
    if (!QDir().mkpath(scratch) || ::mount("tmpfs", scratch.constData(), "tmpfs", 0, "size=4k,mode=0700") != 0)
        GTEST_SKIP() << "a small file system cannot be made here: " << std::strerror(errno);
    const auto unmount = qScopeGuard([&] { ::umount2(scratch.constData(), MNT_DETACH); });
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(base + QStringLiteral("/full.xlsx"), { { "Ada" } }, true));
    const QString said = SpreadsheetWriter::lastError();
    EXPECT_TRUE(
        said.contains(QStringLiteral("the temporary folder %1 cannot take its parts (").arg(QFile::decodeName(scratch)))
        && said.endsWith(QStringLiteral(": No space left on device).")))
        << said.toStdString();
}

TEST(SpreadsheetWriter, CharactersXmlCannotCarryRoundTripThroughOurReader)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("controls")) + QStringLiteral("/c.xlsx");
    const Rows rows { { QStringLiteral("bell\a"), QString(QChar(0)) + QStringLiteral("nul") },
        { QStringLiteral("cr\r and crlf\r\n"), QStringLiteral("_x0041_ stays") },
        { QStringLiteral(" \x1b edges \x1f"), QStringLiteral("tab\tline\n") },
        { QString(QChar(0xFEFF)) + QStringLiteral("begins with a byte-order mark"), QStringLiteral("x") } };
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true)) << SpreadsheetWriter::lastError().toStdString();
    SpreadsheetWriter::ReadWorkbook(path, true);
    Excel_Sheet_Number = 1;
    SpreadsheetWriter::ReadData_only_column();
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(path, false), rows);
    // Every part stays well-formed XML 1.0, which a character reference to a control character is not.
    Written out;
    writeAndOpen(rows, out);
    EXPECT_EQ(
        QString::fromUtf8(out.strings.select_node("//si[1]/t").node().child_value()), QStringLiteral("bell_x0007_"));
}
