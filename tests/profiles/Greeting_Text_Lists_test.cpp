#include "profiles/Greeting_Text_Lists.h"

#include "common/Globals.h"
#include "profiles/Greeting_Text_Catalogue.h"
#include "profiles/Profiles_Globals.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Points the data folder at a fresh folder for one test and restores the global category afterwards.
class GreetingTextLists : public testing::Test {
protected:
    void SetUp() override
    {
        savedResourcePath_ = Resource_Path;
        savedEventType_ = Event_Type;
        Resource_Path = testsupport::makeTempFolder(QStringLiteral("greeting-lists"));
    }
    void TearDown() override
    {
        Resource_Path = savedResourcePath_;
        Event_Type = savedEventType_;
    }

    static void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(Resource_Path + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static Greeting_Text_Lists loadFiles(const QByteArray& titles, const QByteArray& messages)
    {
        writeFile(QStringLiteral("Title.txt"), titles);
        writeFile(QStringLiteral("Message.txt"), messages);
        Greeting_Text_Lists lists;
        lists.Load_Msg_And_Title();
        return lists;
    }

    QString savedResourcePath_; // the data folder seeded for the test run
    QString savedEventType_;
};

} // namespace

TEST_F(GreetingTextLists, CategoryLoadGivesTheCategoryListsFromTheirFirstEntry)
{
    Greeting_Text_Lists lists;
    lists.title_index = 7;
    lists.message_index = 11;
    Event_Type = QStringLiteral("5");
    lists.Load_Msg_And_Title_According_Event();
    EXPECT_EQ(lists.Title_Array, Greeting_Text_Catalogue::titles(QStringLiteral("5")));
    EXPECT_EQ(lists.Message_Array, Greeting_Text_Catalogue::messages(QStringLiteral("5")));
    EXPECT_EQ(lists.title_count, 12);
    EXPECT_EQ(lists.message_count, 19);
    EXPECT_EQ(lists.title_index, 0);
    EXPECT_EQ(lists.message_index, 0);
    EXPECT_EQ(lists.Get_Title(), QStringLiteral("Good Night My Love!!!"));
    EXPECT_EQ(lists.Get_Message(), lists.Message_Array.first());

    lists.title_index = 11;
    EXPECT_EQ(lists.Get_Title(), lists.Title_Array.last());

    Event_Type = QStringLiteral("1");
    lists.Load_Msg_And_Title_According_Event();
    EXPECT_EQ(lists.title_count, 9);
    EXPECT_EQ(lists.message_count, 13);
    EXPECT_EQ(lists.Get_Title(), QStringLiteral("Music of the Heart-Love!!!"));

    // Each owner keeps its own lists.
    Greeting_Text_Lists other;
    Event_Type = QStringLiteral("4");
    other.Load_Msg_And_Title_According_Event();
    EXPECT_EQ(other.message_count, 22);
    EXPECT_EQ(lists.message_count, 13);
}

TEST_F(GreetingTextLists, UnknownCategoryEmptiesBothListsAndGetGivesEmptyText)
{
    for (const QString& key : { QStringLiteral("13"), QStringLiteral("0"), QStringLiteral("01"), QString() }) {
        Greeting_Text_Lists lists;
        Event_Type = QStringLiteral("3");
        lists.Load_Msg_And_Title_According_Event();
        ASSERT_EQ(lists.title_count, 9);
        Event_Type = key;
        lists.Load_Msg_And_Title_According_Event();
        EXPECT_TRUE(lists.Title_Array.isEmpty()) << qPrintable(key);
        EXPECT_TRUE(lists.Message_Array.isEmpty()) << qPrintable(key);
        EXPECT_EQ(lists.title_count, 0);
        EXPECT_EQ(lists.message_count, 0);
        EXPECT_EQ(lists.Get_Title(), QString());
        EXPECT_EQ(lists.Get_Message(), QString());
    }
}

TEST_F(GreetingTextLists, IndexOutsideTheListGivesEmptyText)
{
    // Stepping back over an empty list leaves the index at count - 1, that is -1.
    Greeting_Text_Lists lists;
    Event_Type = QStringLiteral("10");
    lists.Load_Msg_And_Title_According_Event();
    lists.title_index = -1;
    lists.message_index = lists.message_count;
    EXPECT_EQ(lists.Get_Title(), QString());
    EXPECT_EQ(lists.Get_Message(), QString());
}

TEST_F(GreetingTextLists, FileListsSplitAtLineFeedsAfterTrimmingTheWholeText)
{
    Greeting_Text_Lists lists = loadFiles("a\nb\n", "a\r\nb\r\n");
    EXPECT_EQ(lists.Title_Array, QStringList({ QStringLiteral("a"), QStringLiteral("b") }));
    EXPECT_EQ(lists.title_count, 2);
    EXPECT_EQ(lists.Message_Array, QStringList({ QStringLiteral("a\r"), QStringLiteral("b") }));
    EXPECT_EQ(lists.message_count, 2);

    // Blank lines inside stay as empty entries; blanks around an entry stay with it.
    lists = loadFiles("\n\n  first\n\n second \n\n\n", "\t one \n");
    EXPECT_EQ(lists.Title_Array, QStringList({ QStringLiteral("first"), QString(), QStringLiteral(" second") }));
    EXPECT_EQ(lists.Message_Array, QStringList({ QStringLiteral("one") }));

    // UTF-8 beyond ASCII is read as such.
    lists = loadFiles("Caf\xc3\xa9 \xe2\x80\x98ol\xc3\xa9\xe2\x80\x99\n", "\xe2\x80\xa6");
    EXPECT_EQ(lists.Get_Title(), QString::fromUtf8("Caf\u00e9 \u2018ol\u00e9\u2019"));
    EXPECT_EQ(lists.Get_Message(), QString::fromUtf8("\u2026"));
}

TEST_F(GreetingTextLists, EmptyFileGivesOneEmptyEntry)
{
    const Greeting_Text_Lists lists = loadFiles("", " \n \n");
    EXPECT_EQ(lists.Title_Array, QStringList({ QString() }));
    EXPECT_EQ(lists.title_count, 1);
    EXPECT_EQ(lists.message_count, 1);
    EXPECT_EQ(lists.Get_Title(), QString());
}

TEST_F(GreetingTextLists, FileLoadKeepsTheIndexes)
{
    writeFile(QStringLiteral("Title.txt"), "t0\nt1\nt2");
    writeFile(QStringLiteral("Message.txt"), "m0\nm1");
    Greeting_Text_Lists lists;
    lists.title_index = 2;
    lists.message_index = 1;
    lists.Load_Msg_And_Title();
    EXPECT_EQ(lists.title_index, 2);
    EXPECT_EQ(lists.message_index, 1);
    EXPECT_EQ(lists.Get_Title(), QStringLiteral("t2"));
    EXPECT_EQ(lists.Get_Message(), QStringLiteral("m1"));
}

TEST_F(GreetingTextLists, MissingFileGivesNoList)
{
    Event_Type = QStringLiteral("2");
    Greeting_Text_Lists lists;
    lists.Load_Msg_And_Title_According_Event();
    writeFile(QStringLiteral("Message.txt"), "only messages\n");
    lists.Load_Msg_And_Title();
    EXPECT_TRUE(lists.Title_Array.isEmpty());
    EXPECT_EQ(lists.title_count, 0);
    EXPECT_EQ(lists.Get_Title(), QString());
    EXPECT_EQ(lists.Message_Array, QStringList({ QStringLiteral("only messages") }));

    // A folder in place of the file is no list either.
    ASSERT_TRUE(QDir(Resource_Path).mkdir(QStringLiteral("Title.txt")));
    lists.Load_Msg_And_Title();
    EXPECT_EQ(lists.title_count, 0);
}

TEST_F(GreetingTextLists, InvalidUtf8GivesNoList)
{
    const QByteArray invalid[] = {
        "abc\xff\n", // a byte that never starts a sequence
        "abc\n\xe2\x80", // a sequence cut off at the end of the file
        "\xed\xa0\x80 abc", // an encoded surrogate
        "\xc0\xaf abc", // an overlong form
        "\xf4\x90\x80\x80 ab", // beyond U+10FFFF
    };
    for (const QByteArray& bytes : invalid) {
        const Greeting_Text_Lists lists = loadFiles(bytes, "fine\n" + bytes);
        EXPECT_TRUE(lists.Title_Array.isEmpty()) << bytes.toHex().constData();
        EXPECT_EQ(lists.title_count, 0);
        EXPECT_EQ(lists.message_count, 0);
        EXPECT_EQ(lists.Get_Title(), QString());
        EXPECT_EQ(lists.Get_Message(), QString());
    }
}

TEST_F(GreetingTextLists, ShippedFileListsLoadFromTheSeededDataFolder)
{
    Resource_Path = savedResourcePath_;
    Greeting_Text_Lists lists;
    lists.Load_Msg_And_Title();
    ASSERT_GT(lists.title_count, 0);
    ASSERT_GT(lists.message_count, 0);
    for (const QString& entry : lists.Title_Array + lists.Message_Array) {
        EXPECT_FALSE(entry.isEmpty());
        EXPECT_EQ(entry, entry.trimmed()) << qPrintable(entry);
    }
}
