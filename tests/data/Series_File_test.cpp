#include "data/Series_File.h"

#include "data/SeriesTestSupport.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using seriestest::ReadOnlyFolder;
using seriestest::SeriesFolder;
using seriestest::u;

TEST(SeriesFile, AwkwardUtf8ValuesSurviveWriteAndBothReaders)
{
    SeriesFolder folder;
    const QStringList values = { u("Zoë 🎉 party"), u("tab\tinside"), u("comma, and \"quotes\""), u("'single'"),
        u("日本語"), u("a;b|c"), u("👨‍👩‍👧 family") };
    ASSERT_TRUE(Series_File::write(QStringLiteral("Guests"), values, Series_File::Values::AsGiven));
    EXPECT_EQ(Series_File::readForEditing(QStringLiteral("Guests")).value(), values);
    EXPECT_EQ(Series_File::readBatch(QStringLiteral("Guests")).value(), values);
    EXPECT_EQ(Series_File::firstValue(QStringLiteral("Guests")), values.first());
    // No byte-order mark, one "\n" after every value, the last included.
    const QByteArray bytes = folder.bytes(QStringLiteral("Guests"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.endsWith(u("👨‍👩‍👧 family\n").toUtf8()));
    EXPECT_EQ(bytes.count('\n'), values.size());
    // A line break inside a value keeps it one record in every reader.
    const QStringList broken = { u("Dave\nTwo lines"), u("cr\ronly"), u("dos\r\nline"), u("Eve") };
    const QStringList kept = { u("Dave\u2028Two lines"), u("cr\u2028only"), u("dos\u2028line"), u("Eve") };
    ASSERT_TRUE(Series_File::write(QStringLiteral("Broken"), broken, Series_File::Values::TrimmedSkippingEmpty));
    EXPECT_EQ(Series_File::readForEditing(QStringLiteral("Broken")).value(), kept);
    EXPECT_EQ(Series_File::readBatch(QStringLiteral("Broken")).value(), kept);
    EXPECT_EQ(folder.bytes(QStringLiteral("Broken")).count('\n'), broken.size());
}

TEST(SeriesFile, BlankLinesAndBlanksAroundValuesReadAsEachReaderSays)
{
    SeriesFolder folder;
    struct Case {
        const char* content;
        QStringList editing;
        QStringList batch;
        const char* first;
    } cases[] = {
        { " A  B \n", { "A  B" }, { "A  B" }, " A  B " },
        { " v \n v \n", { "v", "v" }, { "v ", " v" }, " v " },
        { "one\n\ntwo\n", { "one", "", "two" }, { "one", "", "two" }, "one" }, // the windows show what a run makes
        { "one\ntwo", { "one", "two" }, { "one", "two" }, "one" },
        { "dos\r\nline\r\n", { "dos", "line" }, { "dos", "line" }, "dos" },
        { "a\r\nb\r\n\r\nc", { "a", "b", "", "c" }, { "a", "b", "", "c" }, "a" }, // as "a\nb\n\nc" reads
        { "old\rmac\r", { "old", "mac" }, { "old", "mac" }, "old" },
        { "\n\n\n", {}, {}, "" },
        { "", {}, {}, "" },
    };
    for (const Case& c : cases) {
        folder.put(QStringLiteral("S"), c.content);
        EXPECT_EQ(Series_File::readForEditing(QStringLiteral("S")).value(), c.editing) << c.content;
        EXPECT_EQ(Series_File::readBatch(QStringLiteral("S")).value(), c.batch) << c.content;
        EXPECT_EQ(Series_File::firstValue(QStringLiteral("S")), u(c.first)) << c.content;
    }
}

TEST(SeriesFile, FilesThatCannotBeReadAreRefusedWithTheirReason)
{
    SeriesFolder folder;
    folder.put(QStringLiteral("big"), QByteArray());
    ASSERT_EQ(
        ::truncate(QFile::encodeName(Series_File::path(QStringLiteral("big"))).constData(), Series_File::kMaxBytes + 1),
        0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(Series_File::path(QStringLiteral("pipe"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), Series_File::path(QStringLiteral("zero"))));
    // One-letter values: a million are read as any million values are; one more than the limit is refused
    // naming it.
    folder.put(QStringLiteral("tiny"), QByteArray("a\n").repeated(1 << 20));
    EXPECT_EQ(Series_File::readBatch(QStringLiteral("tiny")).value_or(QStringList()).size(), 1 << 20);
    // The last line end is no value: the limit counts the values written, one more is refused.
    folder.put(QStringLiteral("many"), QByteArray("a\n").repeated(Series_File::kMaxValues + 1));
    const struct {
        const char* name;
        const char* reason;
        const char* first; // the first line alone is always small enough to show
    } cases[] = { { "none", "cannot be read", "" }, { "big", "larger than 64", "" },
        { "pipe", "not a regular file", "" }, { "zero", "not a regular file", "" },
        { "many", "8000001 lines, and a series can hold at most 8000000 values", "a" } };
    for (const auto& c : cases) {
        QString editing;
        QString batch;
        EXPECT_FALSE(Series_File::readForEditing(u(c.name), &editing).has_value()) << c.name;
        EXPECT_FALSE(Series_File::readBatch(u(c.name), &batch).has_value()) << c.name;
        EXPECT_TRUE(editing.contains(u(c.reason)) && batch == editing) << editing.toStdString();
        EXPECT_EQ(editing.count(Series_File::path(u(c.name))), 1) << editing.toStdString();
        EXPECT_EQ(Series_File::firstValue(u(c.name)), u(c.first)) << c.name;
    }
}

TEST(SeriesFile, OtherEncodingsAndLongLinesReadAsWritten)
{
    SeriesFolder folder;
    folder.put(QStringLiteral("latin1"), "caf\xE9\nna\xEFve\n");
    EXPECT_EQ(Series_File::readForEditing(QStringLiteral("latin1")).value(), (QStringList { u("café"), u("naïve") }));
    EXPECT_EQ(Series_File::readBatch(QStringLiteral("latin1")).value(), (QStringList { u("café"), u("naïve") }));
    EXPECT_EQ(Series_File::firstValue(QStringLiteral("latin1")), u("café"));
    // A character split between two blocks of the read, and one value longer than a block.
    const QString longValue = QString(65535, QLatin1Char('a')) + u("é") + QString(70000, QLatin1Char('b'));
    folder.put(QStringLiteral("long"), "x\n" + longValue.toUtf8() + "\ny");
    EXPECT_EQ(Series_File::readBatch(QStringLiteral("long")).value(), (QStringList { u("x"), longValue, u("y") }));
    // Many blocks of short lines, each line end beside control bytes a word-wide scan could take for one.
    QStringList controls { u("first") };
    for (int i = 0; i < 9000; ++i)
        controls << QStringLiteral("\x0b%1\x0b\x1a").arg(i);
    controls << u("last");
    folder.put(QStringLiteral("controls"), controls.join(QLatin1Char('\n')).toLatin1());
    EXPECT_EQ(Series_File::readBatch(QStringLiteral("controls")).value(), controls);
    // Megabytes of values, made by several threads at once: each value in its place, and all read as Latin-1
    // when only the last line is not UTF-8.
    for (const bool latin1 : { false, true }) {
        QStringList values; // as read back: the UTF-8 of "ë" is two Latin-1 letters
        for (int i = 0; i < 400000; ++i)
            values << (i % 1000 ? u("Guest-%1") : latin1 ? u("Zo\u00c3\u00ab-%1") : u("Zo\u00eb-%1")).arg(i);
        const QString lines = values.join(u("\r\n")) + u("\r\ncaf\u00e9");
        folder.put(QStringLiteral("large"), latin1 ? lines.toLatin1() : lines.toUtf8());
        EXPECT_EQ(Series_File::readBatch(QStringLiteral("large")).value(), values << u("caf\u00e9")) << latin1;
    }
    // Values read together share their memory: each ends in a NUL, and changing one changes no other.
    folder.put(QStringLiteral("shared"), "Ada\nBob\nCy\n");
    QStringList read = Series_File::readBatch(QStringLiteral("shared")).value();
    EXPECT_TRUE(read[0].utf16()[3] == 0 && read[1].utf16()[3] == 0);
    read[0][0] = u'E', read[1].append(u("by")), read[2].chop(1);
    EXPECT_EQ(read, (QStringList { u("Eda"), u("Bobby"), u("C") }));
}

TEST(SeriesFile, NamesWithSeparatorsOrDotsNeverBecomePaths)
{
    SeriesFolder folder;
    folder.put(QStringLiteral("victim"), "keep\n");
    const QString bad[] = { u("../victim"), u("a/b"), u("a\\b"), u("."), u(".."), u("") };
    for (const QString& name : bad) {
        EXPECT_FALSE(Series_File::isValidName(name)) << name.toStdString();
        EXPECT_TRUE(Series_File::path(name).isEmpty()) << name.toStdString();
        EXPECT_FALSE(Series_File::write(name, { u("x") }, Series_File::Values::AsGiven)) << name.toStdString();
        EXPECT_FALSE(Series_File::remove(name)) << name.toStdString();
        EXPECT_FALSE(Series_File::readForEditing(name).has_value()) << name.toStdString();
    }
    EXPECT_EQ(folder.bytes(QStringLiteral("victim")), QByteArray("keep\n"));
    EXPECT_EQ(QDir(Data_Folder_Path + QStringLiteral("/..")).entryList(QDir::Files), QStringList());
}

TEST(SeriesFile, CleaningStripsReservedCharactersOnlyAtTheEnds)
{
    const struct {
        const char* typed;
        const char* name;
        bool valid;
    } cases[] = {
        { "?Guests ", "Guests", true },
        { " ?Guests", "?Guests", true },
        { "*/<Names>/*", "Names", true },
        { "a/b", "a/b", false },
        { "//..//", "..", false },
        { " \t ", "", false },
    };
    for (const auto& c : cases) {
        const QString name = Series_File::cleanName(u(c.typed));
        EXPECT_EQ(name, u(c.name)) << c.typed;
        EXPECT_EQ(Series_File::isValidName(name), c.valid) << c.typed;
    }
}

TEST(SeriesFile, ListShowsSeriesFilesSortedAndSkipsEverythingElse)
{
    SeriesFolder folder;
    folder.put(QStringLiteral("b"), "1\n");
    folder.put(QStringLiteral("a"), "1\n");
    folder.put(QStringLiteral(" "), "1\n");
    folder.put(QStringLiteral(".hidden"), "1\n"); // an editor's or the file manager's own file
    QFile(QDir(Data_Folder_Path).filePath(QStringLiteral("notes.csv"))).open(QIODevice::WriteOnly);
    QDir(Data_Folder_Path).mkdir(QStringLiteral("sub.txt"));
    EXPECT_EQ(Series_File::names(), QStringList({ u("a"), u("b") }));
    Data_Folder_Path += QStringLiteral("/missing");
    EXPECT_EQ(Series_File::names(), QStringList());
}

TEST(SeriesFile, TrimmedWriteDropsEmptyValues)
{
    SeriesFolder folder;
    ASSERT_TRUE(Series_File::write(
        QStringLiteral("T"), { u("  a "), u("   "), u(""), u("b\t") }, Series_File::Values::TrimmedSkippingEmpty));
    EXPECT_EQ(folder.bytes(QStringLiteral("T")), QByteArray("a\nb\n"));
    // As the manager saves: blank values between others keep their records, those at the ends go.
    ASSERT_TRUE(Series_File::write(
        QStringLiteral("T"), { u(" "), u("  a "), u("   "), u("b\t"), u("") }, Series_File::Values::Trimmed));
    EXPECT_EQ(folder.bytes(QStringLiteral("T")), QByteArray("a\n\nb\n"));
}

TEST(SeriesFile, AppendKeepsOldValuesAndMendsAMissingLastLineFeed)
{
    SeriesFolder folder;
    folder.put(QStringLiteral("A"), "old1\nold2");
    Series_File::Writer writer;
    ASSERT_TRUE(writer.open(QStringLiteral("A"), Series_File::Writer::Mode::Append));
    EXPECT_TRUE(writer.add(u("new")));
    // Until committed the file is as it was.
    EXPECT_EQ(folder.bytes(QStringLiteral("A")), QByteArray("old1\nold2"));
    ASSERT_TRUE(writer.commit());
    EXPECT_EQ(folder.bytes(QStringLiteral("A")), QByteArray("old1\nold2\nnew\n"));
}

TEST(SeriesFile, AWriterThatIsNotCommittedChangesNothing)
{
    SeriesFolder folder;
    folder.put(QStringLiteral("K"), "kept\n");
    {
        Series_File::Writer writer;
        ASSERT_TRUE(writer.open(QStringLiteral("K")));
        for (int i = 0; i < 100000; ++i)
            ASSERT_TRUE(writer.add(QString::number(i)));
    }
    EXPECT_EQ(folder.bytes(QStringLiteral("K")), QByteArray("kept\n"));
    EXPECT_EQ(folder.files(), QStringList({ u("K.txt") }));
}

TEST(SeriesFile, ReadOnlyFolderLosesNothing)
{
    SeriesFolder folder;
    folder.put(QStringLiteral("Old"), "one\ntwo\n");
    folder.put(QStringLiteral("Other"), "x\n");
    {
        ReadOnlyFolder locked(Data_Folder_Path);
        QString error;
        EXPECT_FALSE(Series_File::write(QStringLiteral("Old"), { u("new") }, Series_File::Values::AsGiven, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(Series_File::writeRenamed(
            QStringLiteral("Old"), QStringLiteral("Renamed"), { u("new") }, Series_File::Values::AsGiven));
        EXPECT_FALSE(Series_File::remove(QStringLiteral("Other")));
    }
    EXPECT_EQ(folder.bytes(QStringLiteral("Old")), QByteArray("one\ntwo\n"));
    EXPECT_EQ(folder.bytes(QStringLiteral("Other")), QByteArray("x\n"));
    EXPECT_EQ(folder.files(), QStringList({ u("Old.txt"), u("Other.txt") }));
}

TEST(SeriesFile, RenameRemovesTheOldFileOnlyAfterTheNewOneIsWhole)
{
    SeriesFolder folder;
    folder.put(QStringLiteral("Old"), "1\n");
    // A folder in the way of the new name makes the write fail: the old series must stay.
    QDir(Data_Folder_Path).mkdir(QStringLiteral("Blocked.txt"));
    EXPECT_FALSE(Series_File::writeRenamed(
        QStringLiteral("Old"), QStringLiteral("Blocked"), { u("2") }, Series_File::Values::AsGiven));
    EXPECT_EQ(folder.bytes(QStringLiteral("Old")), QByteArray("1\n"));
    ASSERT_TRUE(Series_File::writeRenamed(
        QStringLiteral("Old"), QStringLiteral("New"), { u("2") }, Series_File::Values::AsGiven));
    EXPECT_EQ(folder.bytes(QStringLiteral("New")), QByteArray("2\n"));
    EXPECT_FALSE(Series_File::exists(QStringLiteral("Old")));
}

TEST(SeriesFile, FuzzFindingsSavedAsShownReadBackTheSame)
{
    SeriesFolder folder;
    for (const QByteArray& content : { QByteArray("Z\x01"
                                                  "e\xE0 \x11\0\ne]",
                                           10),
             QByteArray("Z\x01\0\0\r p\x01\0\0\ra]d\0ed \0\r\naf\xE9"
                        "a",
                 25) }) {
        folder.put(QStringLiteral("Found"), content);
        const QStringList shown = Series_File::readForEditing(QStringLiteral("Found")).value();
        ASSERT_TRUE(Series_File::write(QStringLiteral("Found"), shown, Series_File::Values::TrimmedSkippingEmpty));
        EXPECT_EQ(Series_File::readForEditing(QStringLiteral("Found")).value(), shown);
        EXPECT_EQ(Series_File::readBatch(QStringLiteral("Found")).value(), shown);
    }
}
