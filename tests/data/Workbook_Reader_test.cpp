#include "data/Workbook_Reader.h"

#include "SpreadsheetTestSupport.h"
#include "data/Xml_Stream_Scanner.h"

#include <QDir>
#include <QStringEncoder>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

QString writeBook(const QString& name, const std::vector<ziptest::Entry>& entries)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("book")) + QLatin1Char('/') + name;
    EXPECT_TRUE(ziptest::writeZip(path, entries));
    return path;
}

QString readError(const QString& path, Workbook_Sheet* sheet = nullptr)
{
    Workbook_Reader reader;
    if (!reader.open(path))
        return reader.error();
    Workbook_Sheet rows;
    const bool read = reader.readSheet(1, rows);
    if (sheet)
        *sheet = rows;
    return read ? QString() : reader.error();
}

// Every event of a scan as text, to compare scans of the same document fed in different blocks.
struct Recorder : Xml_Stream_Handler {
    std::string events;
    bool startElement(std::string_view name, const std::vector<Attribute>& attributes) override
    {
        events += "<" + std::string(name);
        for (const auto& a : attributes)
            events += " " + std::string(a.name) + "=" + std::string(a.value);
        events += ">";
        return true;
    }
    void endElement(std::string_view name) override { events += "</" + std::string(name) + ">"; }
    void text(std::string_view raw, bool literal) override
    {
        if (literal)
            events.append(raw);
        else
            appendXmlText(events, raw);
    }
};

} // namespace

TEST(WorkbookReader, HostileWorkbooksAreRefusedWithAMessageBeforeTheyCostMemory)
{
    const QByteArray sheetHead = "<worksheet><sheetData><row r=\"1\">";
    const QByteArray sheetTail = "</row></sheetData></worksheet>";
    struct Case {
        const char* what;
        ziptest::Entry part;
        const char* message;
    } cases[] = {
        { "four million empty cells in one row",
            { QStringLiteral("xl/worksheets/sheet1.xml"),
                sheetHead + QByteArray("<c/>").repeated(4000000) + sheetTail },
            "more memory than a workbook" },
        { "a part large enough to be counted, refused by its count while it is scanned",
            { QStringLiteral("xl/worksheets/sheet1.xml"),
                sheetHead + QByteArray("<c/>  ").repeated(Workbook_Reader::kMaxCells + 1) + sheetTail },
            "more than 5000000 cells" },
        { "a part declaring 64 MB",
            { QStringLiteral("xl/worksheets/sheet1.xml"), sheetHead + QByteArray(64 << 20, ' ') + sheetTail },
            "declares 64 MB" },
        { "a part inflating past what it declares",
            { QStringLiteral("xl/worksheets/sheet1.xml"), sheetHead + QByteArray(40 << 20, ' ') + sheetTail, false,
                1000 },
            "is damaged" },
        { "shared strings of a million empty items",
            { QStringLiteral("xl/sharedStrings.xml"), "<sst>" + QByteArray("<si/>").repeated(1000000) + "</sst>" },
            "shared strings" },
        { "two entries of one name, told apart by case only", { QStringLiteral("xl/Worksheets/sheet1.xml"), "<w/>" },
            "not a readable workbook (it holds two entries named \"xl/worksheets/sheet1.xml\")" },
        { "a document type that could expand entities",
            { QStringLiteral("xl/worksheets/sheet1.xml"), "<!DOCTYPE x [<!ENTITY a \"aaaa\">]><worksheet/>" },
            "document type" },
        { "a shared string too large to keep, before one that would take its cell",
            { QStringLiteral("xl/sharedStrings.xml"),
                "<sst><si><t>" + QByteArray(25 << 20, 'x') + "</t></si><si><t>second</t></si></sst>" },
            "The shared string 1 of" },
        { "an inline string too large to keep",
            { QStringLiteral("xl/worksheets/sheet1.xml"),
                sheetHead + "<c t=\"inlineStr\"><is><t>" + QByteArray(14 << 20, 'x') + "</t></is></c>" + sheetTail },
            "more memory than a workbook" },
        { "styles of a million cell formats",
            { QStringLiteral("xl/styles.xml"),
                "<styleSheet><cellXfs>" + QByteArray("<xf/>").repeated(1000000) + "</cellXfs></styleSheet>" },
            "The styles of" },
        { "a text that begins a reference and never ends it",
            { QStringLiteral("xl/sharedStrings.xml"), "<sst><si><t>&" + QByteArray(25 << 20, 'x') + "</t></si></sst>" },
            "The shared string 1 of" },
    };
    for (const Case& c : cases) {
        std::vector<ziptest::Entry> entries { c.part };
        if (!c.part.name.contains(QStringLiteral("worksheets")))
            entries.push_back({ QStringLiteral("xl/worksheets/sheet1.xml"), sheettest::worksheet("<row/>") });
        const QString path = writeBook(QStringLiteral("hostile.xlsx"), entries);
        const QString error = readError(path);
        EXPECT_TRUE(error.contains(QLatin1String(c.message))) << c.what << ": " << error.toStdString();
    }
}

TEST(WorkbookReader, WorkbooksAsSpreadsheetProgramsWriteThemGiveEverySheetUnderItsName)
{
    using Entries = std::vector<ziptest::Entry>;
    const QByteArray bom = "\xEF\xBB\xBF";
    auto sheet
        = [](const char* cell) { return sheettest::worksheet(QByteArray("<row><c><v>") + cell + "</v></c></row>"); };
    auto book
        = [](Entries list, const Entries& parts) { return list.insert(list.end(), parts.begin(), parts.end()), list; };
    Entries marked = sheettest::sheetList({ { "Guests", "worksheets/sheet1.xml" } });
    for (ziptest::Entry& part : marked)
        part.data.prepend(bom);
    const struct {
        Entries entries;
        QStringList sheets;
        int number; // the place of the sheet read
        QString value; // its cell A1, or the start of the error
    } cases[] = {
        { book(marked, { { "xl/worksheets/sheet1.xml", bom + sheet("7") } }), { "Guests" }, 1, "7" },
        { book(sheettest::sheetList({ { "A", "worksheets/Sheet1.xml" }, { "B", "Worksheets/SHEET2.xml" } }),
              { { "xl/worksheets/sheet1.xml", sheet("1") }, { "xl/worksheets/Sheet2.xml", sheet("2") } }),
            { "A", "B" }, 2, "2" },
        { book(sheettest::sheetList({ { "Guests", "worksheets/sheet.xml" }, { "Menu", "/xl/data/people.xml" },
                   { "Back", "../xl/worksheets/sheet7.xml" } }),
              { { "xl/worksheets/sheet7.xml", sheet("3") }, { "xl/worksheets/sheet.xml", sheet("1") } }),
            { "Guests", "Menu", "Back" }, 3, "3" },
    };
    for (const auto& c : cases) {
        Workbook_Reader reader;
        Workbook_Sheet rows;
        const bool read
            = reader.open(writeBook(QStringLiteral("book.xlsx"), c.entries)) && reader.readSheet(c.number, rows);
        QStringList listed;
        for (const Workbook_Reader::Sheet_Entry& entry : reader.sheets())
            listed.append(entry.name);
        EXPECT_EQ(listed, c.sheets) << c.value.toStdString();
        EXPECT_EQ(read ? rows.rows.value(0).value(0) : reader.error().left(c.value.size()), c.value);
    }
}

TEST(WorkbookReader, OnlyRegularFilesAreOpenedAndNothingIsUnpacked)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("special"));
    const QString fifo = folder + QStringLiteral("/pipe.xlsx");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), folder + QStringLiteral("/zero.xlsx")));
    for (const QString& path : { fifo, folder + QStringLiteral("/zero.xlsx"), folder }) {
        EXPECT_TRUE(readError(path).contains(QStringLiteral("is not a regular file"))) << path.toStdString();
    }
    const QString path = sheettest::writeFile(QStringLiteral("good.xlsx"), QByteArray());
    ASSERT_TRUE(sheettest::writeWorkbook(path, { sheettest::worksheet("<row><c r=\"B1\"><v>7</v></c></row>") }));
    // A temporary folder of this test's own: other tests running beside it use the shared one.
    const QByteArray keptTemp = qgetenv("TMPDIR");
    const QString temp = testsupport::makeTempFolder(QStringLiteral("own-temp"));
    qputenv("TMPDIR", QFile::encodeName(temp));
    Workbook_Sheet sheet;
    EXPECT_TRUE(readError(path, &sheet).isEmpty());
    EXPECT_EQ(sheet.rows, (QList<QStringList> { { "", "7" } }));
    EXPECT_EQ(QDir(temp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    if (keptTemp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", keptTemp);
}

TEST(WorkbookReader, ManyEntriesAreListedAndTheSheetStillFound)
{
    std::vector<ziptest::Entry> entries;
    for (int i = 0; i < 20000; ++i)
        entries.push_back({ QStringLiteral("xl/media/p%1.bin").arg(i), "x" });
    entries.push_back(
        { QStringLiteral("xl/worksheets/sheet1.xml"), sheettest::worksheet("<row><c><v>1</v></c></row>") });
    Workbook_Sheet sheet;
    EXPECT_TRUE(readError(writeBook(QStringLiteral("many.xlsx"), entries), &sheet).isEmpty());
    EXPECT_EQ(sheet.rows, (QList<QStringList> { { "1" } }));
}

TEST(WorkbookReader, CancelStopsTheReadWithoutAMessage)
{
    const QString path = writeBook(QStringLiteral("book.xlsx"),
        { { QStringLiteral("xl/worksheets/sheet1.xml"), sheettest::worksheet("<row><c><v>1</v></c></row>") } });
    Read_Control control;
    Workbook_Reader reader(&control);
    ASSERT_TRUE(reader.open(path));
    control.cancel.store(true);
    Workbook_Sheet sheet;
    EXPECT_FALSE(reader.readSheet(1, sheet));
    EXPECT_TRUE(reader.cancelled());
    EXPECT_TRUE(reader.error().isEmpty());
    EXPECT_TRUE(sheet.rows.isEmpty());
}

TEST(XmlStreamScanner, BlocksOfAnySizeGiveTheSameEvents)
{
    const std::string document = "<?xml version=\"1.0\"?><!-- note --><a x='1' p:y=\"&lt;2>\">t&amp;u&#65;&#x42;\r\n"
                                 "<b/><![CDATA[<raw&amp;>]]><c>\r</c></a>";
    Recorder whole;
    Xml_Stream_Scanner once(whole);
    ASSERT_TRUE(once.feed(document.data(), document.size()) && once.finish()) << once.error().toStdString();
    EXPECT_EQ(whole.events, "<a x=1 y=&lt;2>>t&uAB\n<b></b><raw&amp;><c>\n</c></a>");
    for (std::size_t block : { 1, 2, 3, 7 }) {
        Recorder pieces;
        Xml_Stream_Scanner scanner(pieces);
        for (std::size_t at = 0; at < document.size(); at += block)
            ASSERT_TRUE(scanner.feed(document.data() + at, std::min(block, document.size() - at)));
        EXPECT_TRUE(scanner.finish());
        EXPECT_EQ(pieces.events, whole.events) << block;
    }
    // A reference begun and never ended is handed on with each block, not held and scanned again with the next.
    const std::string endless = "<a>&" + std::string(1 << 20, 'x');
    Recorder held;
    Xml_Stream_Scanner scanner(held);
    for (std::size_t at = 0; at < endless.size(); at += 4096) {
        ASSERT_TRUE(scanner.feed(endless.data() + at, std::min<std::size_t>(4096, endless.size() - at)));
        ASSERT_GE(held.events.size() + kMaxReferenceBytes, std::min(at + 4096, endless.size())) << at;
    }
    // The same document in UTF-16, either byte order, with a byte-order mark or told by its declaration alone.
    for (const auto encoding : { QStringConverter::Utf16LE, QStringConverter::Utf16BE }) {
        const QByteArray text = QStringEncoder(encoding)(QString::fromStdString(document));
        for (const QByteArray& encoded :
            { text, QStringEncoder(encoding, QStringEncoder::Flag::WriteBom)(u"") + text }) {
            Recorder pieces;
            Xml_Stream_Scanner scanner(pieces);
            for (qsizetype at = 0; at < encoded.size(); at += 3) // code units split between blocks
                ASSERT_TRUE(scanner.feed(encoded.constData() + at, std::min<std::size_t>(3, encoded.size() - at)));
            EXPECT_TRUE(scanner.finish() && pieces.events == whole.events) << scanner.error().toStdString();
        }
    }
}

TEST(XmlStreamScanner, MalformedDocumentsGiveAReason)
{
    for (const char* document : { "<a><b></a>", "<a>", "text<a/>", "<a/><b/>", "<a x=1/>", "<a x='1/>", "", "<a></b>",
             "<!DOCTYPE a><a/>", "<a/>tail" }) {
        Recorder events;
        Xml_Stream_Scanner scanner(events);
        const bool fed = scanner.feed(document, std::strlen(document));
        EXPECT_FALSE(fed && scanner.finish()) << document;
        EXPECT_FALSE(scanner.error().isEmpty()) << document;
    }
}

TEST(SpreadsheetEscapes, ControlCharactersRoundTripAndPlainTextIsUntouched)
{
    const struct {
        QString plain;
        QString escaped;
    } cases[] = {
        { QStringLiteral("bell\a"), QStringLiteral("bell_x0007_") },
        { QString(QChar(0)) + QStringLiteral("nul"), QStringLiteral("_x0000_nul") },
        { QStringLiteral("a\r\nb\tc"), QStringLiteral("a_x000D_\nb\tc") },
        { QStringLiteral("_x0041_"), QStringLiteral("_x005F_x0041_") },
        { QStringLiteral("plain_x12_ text"), QStringLiteral("plain_x12_ text") },
        { QString(QChar(0xD800)) + QStringLiteral("x"), QStringLiteral("_xD800_x") },
        { QStringLiteral("\U0001F382"), QStringLiteral("\U0001F382") },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodeSpreadsheetEscapes(c.plain), c.escaped);
        EXPECT_EQ(decodeSpreadsheetEscapes(c.escaped), c.plain);
    }
}

TEST(WorkbookReader, RowLimitSweepCountsASheetOfExactlyTheLimitThenReadsItWhole)
{
    QByteArray body;
    body.reserve(40 << 20);
    for (int r = 1; r <= Workbook_Reader::kMaxRows; ++r)
        body += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r) + "\"><v>"
            + QByteArray::number(r % 7) + "</v></c></row>";
    const QByteArray part = sheettest::worksheet(body);
    ASSERT_GT(part.size(), Workbook_Reader::kCountFirstBytes);
    body.clear();
    Workbook_Sheet sheet;
    EXPECT_TRUE(readError(
        writeBook(QStringLiteral("tall.xlsx"), { { QStringLiteral("xl/worksheets/sheet1.xml"), part } }), &sheet)
                    .isEmpty());
    ASSERT_EQ(sheet.rows.size(), Workbook_Reader::kMaxRows);
    EXPECT_EQ(sheet.rows.last(), QStringList { QString::number(Workbook_Reader::kMaxRows % 7) });
}
