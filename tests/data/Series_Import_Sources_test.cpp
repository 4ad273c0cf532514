#include "data/Series_Import_Sources.h"

#include "SpreadsheetTestSupport.h"
#include "data/Rtf_Text_Reader.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using sheettest::writeFile;

TEST(SeriesImportSources, TextFilesGiveCleanedLines)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList values;
    } cases[] = {
        { "four.txt", "a\n\n{b}\nc\\d\n", { "a", "b", "cd" } },
        { "crlf.txt", "one\r\n two \r\nthree", { "one", "two", "three" } },
        { "cr.TXT", "x\ry\r", { "x", "y" } },
        { "utf8.txt", "Zo\xc3\xab\n\xe6\x97\xa5\n", { QString::fromUtf8("Zoë"), QString::fromUtf8("日") } },
        { "latin.txt", "Zo\xeb\n", { QString::fromUtf8("Zoë") } },
        { "bom16.txt",
            QByteArray("\xff\xfe"
                       "a\0\n\0b\0",
                8),
            { "a", "b" } },
        // A lone surrogate is marked where it stands; the lines around it are read as they are.
        { "lone16.txt",
            QByteArray("\xff\xfe"
                       "A\0\n\0B\0\x00\xd8\r\0\n\0C\0",
                16),
            { "A", QString::fromUtf8("B\uFFFD"), "C" } },
        { "lone16be.txt",
            QByteArray("\xfe\xff"
                       "\0A\0\n\xdc\x00\0\n\0C",
                12),
            { "A", QString::fromUtf8("\uFFFD"), "C" } },
        { "marker.txt", "first\nNSFont = Helvetica\nlast", { "first", "NSFont = Helvetica", "last" } },
        { "rows.csv", "x,y\r\nz\r\n", { "x", "y", "z" } },
        { "lf.csv", "n1,n2\nn3,n4\n", { "n1", "n2", "n3", "n4" } },
        { "single.csv", "Ada\nBo\n", { "Ada", "Bo" } },
        { "gaps.csv", "a,,b\n,\n", { "a", "b" } },
    };
    for (const Case& c : cases) {
        const Import_Source_Values got = Text_File_Values(writeFile(QString::fromLatin1(c.name), c.bytes));
        EXPECT_TRUE(got.error.isEmpty()) << c.name;
        EXPECT_EQ(got.values, c.values) << c.name;
    }
}

TEST(SeriesImportSources, UnreadableOrEmptyFilesSayWhy)
{
    EXPECT_EQ(
        Text_File_Values(QStringLiteral("/no/such/file.txt")).error, QStringLiteral("Please select a valid file."));
    EXPECT_EQ(Text_File_Values(testsupport::makeTempFolder(QStringLiteral("dir"))).error,
        QStringLiteral("Please select a valid file."));
    const QString invalid = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");
    EXPECT_EQ(Text_File_Values(writeFile(QStringLiteral("empty.txt"), "")).error, invalid);
    EXPECT_EQ(Text_File_Values(writeFile(QStringLiteral("binary.txt"), QByteArray("\x89PNG\0\0\0", 7))).error, invalid);
    EXPECT_EQ(Text_File_Values(writeFile(QStringLiteral("bad.rtf"), "not rtf at all")).error, invalid);
    EXPECT_EQ(Text_File_Values(writeFile(QStringLiteral("cut.rtf"), "{\\rtf1 open {\\b group")).error, invalid);
}

TEST(SeriesImportSources, RtfGivesItsPlainText)
{
    struct Case {
        const char* what;
        QByteArray rtf;
        QString text;
    } cases[] = {
        { "paragraphs",
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Helvetica;}}{\\colortbl;\\red0\\green0\\blue0;}\\f0 Ada\\par Bo\\par}",
            QStringLiteral("Ada\nBo\n") },
        { "styles skipped", "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}\\b bold\\b0  plain}",
            QStringLiteral("bold plain") },
        { "escapes", "{\\rtf1 a\\{b\\}c\\\\d\\tab e\\line f}", QStringLiteral("a{b}c\\d\te\nf") },
        { "code page", "{\\rtf1\\ansi\\ansicpg1252 Zo\\'eb \\'80}", QString::fromUtf8("Zoë €") },
        { "unicode", "{\\rtf1\\uc1 \\u26085?\\u-10179?\\u-8704?}", QString::fromUtf8("日😀") },
        { "hidden destination", "{\\rtf1 {\\*\\generator Writer;}{\\*\\unknown x}shown}", QStringLiteral("shown") },
        { "picture skipped", "{\\rtf1 before{\\pict\\pngblip 89504e47}after}", QStringLiteral("beforeafter") },
    };
    for (const Case& c : cases) {
        const std::optional<QString> text = rtfPlainText(c.rtf);
        ASSERT_TRUE(text.has_value()) << c.what;
        EXPECT_EQ(*text, c.text) << c.what;
    }
    EXPECT_FALSE(rtfPlainText("plain").has_value());
    EXPECT_FALSE(rtfPlainText("{\\rtf1 unclosed").has_value());

    const QString path = writeFile(QStringLiteral("names.rtf"),
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\f0\\fs24 {\\b Ada}\\par\n"
        "\\par\nB\\'f8rn\\par}");
    EXPECT_EQ(Text_File_Values(path).values, (QStringList { "Ada", QString::fromUtf8("Børn") }));
}

TEST(SeriesImportSources, TypedLinesAreTrimmedOnceAsAWhole)
{
    const Import_Source_Values got = Typed_Line_Values(QStringLiteral(" a \n\n b \n c "));
    EXPECT_TRUE(got.error.isEmpty());
    EXPECT_EQ(got.values, (QStringList { "a ", " b ", " c" }));
    EXPECT_EQ(Typed_Line_Values(QStringLiteral(" \n\t\n")).error, QStringLiteral("Please enter some data."));
}

TEST(SeriesImportSources, PictureFolderListsPlainPictureFilesOnly)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("pictures"));
    for (const char* name : { "A.JPG", "b.png", "notes.txt", "c.TIFF", "d.jfif", "e.jpeg.txt" }) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        file.open(QIODevice::WriteOnly);
        file.write("x");
    }
    QDir().mkpath(folder + QStringLiteral("/c.jpg"));
    QDir().mkpath(folder + QStringLiteral("/sub"));
    QFile inner(folder + QStringLiteral("/sub/inner.png"));
    inner.open(QIODevice::WriteOnly);
    const QDir dir(folder);
    EXPECT_EQ(Picture_Folder_Values(folder),
        (QStringList { dir.filePath("A.JPG"), dir.filePath("b.png"), dir.filePath("c.TIFF"), dir.filePath("d.jfif") }));
    EXPECT_TRUE(Picture_Folder_Values(folder + QStringLiteral("/missing")).isEmpty());
}

TEST(SeriesImportSources, FuzzFindingRtfGivesOnlyCleanValues)
{
    const QByteArray rtf("{\\rtf1\\\xffl\x03\0\xd0`\0\0o\\pkeis'f6rld\\tab \\ut'f6rld\\\xdbTab \\'2?\\line enhe2?"
                         "\\line end}",
        74);
    const QString path = testsupport::makeTempFolder(QStringLiteral("found")) + QStringLiteral("/found.rtf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(rtf) == rtf.size());
    file.close();
    const Import_Source_Values read = Text_File_Values(path);
    for (const QString& value : read.values)
        EXPECT_EQ(chk_and_insert_validation(value), value);
}
