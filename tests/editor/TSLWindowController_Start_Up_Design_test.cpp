// Starting with a design named on the command line (or by the file manager): the name as the arguments give
// it, then start-up through the checked reader, without the start screen for a good file and with the
// reader's message and the start screen for a bad one.
#include "editor/DesignFileSamples.h"
#include "editor/EditorWindowTestSupport.h"
#include "editor/Start_Up_Arguments.h"

#include <QFile>

using editortest::EditorWindowTest;
using editortest::messageTexts;

TEST(StartUpArguments, TheFirstNameAfterTheProgramBecomesAnAbsolutePath)
{
    const QString here = QStringLiteral("/home/guest/cards");
    const struct {
        QStringList arguments;
        QString path;
    } cases[] = {
        { { "tessaline" }, QString() },
        { { "tessaline", "party.dcard" }, "/home/guest/cards/party.dcard" },
        { { "tessaline", "../party.dcard" }, "/home/guest/party.dcard" },
        { { "tessaline", "/tmp/a b/party.dcard" }, "/tmp/a b/party.dcard" },
        { { "tessaline", "--verbose", "party.dcard", "other.dcard" }, "/home/guest/cards/party.dcard" },
        { { "tessaline", "--", "-odd.dcard" }, "/home/guest/cards/-odd.dcard" },
        { { "tessaline", "file:///tmp/a%20b/party.dcard" }, "/tmp/a b/party.dcard" },
        { { "tessaline", "https://example.org/party.dcard" }, QString() },
        { { "tessaline", "https://example.org/a.dcard", "mine.dcard" }, "/home/guest/cards/mine.dcard" },
        { { "tessaline", "" }, QString() },
    };
    for (const auto& c : cases)
        EXPECT_EQ(designPathsFromArguments(c.arguments, here).value(0), c.path)
            << c.arguments.join(QLatin1Char(' ')).toStdString();
    // More than one design: the person is told which one opens and which were left.
    EXPECT_EQ(designsLeftMessage({ QStringLiteral("/a/one.dcard") }), QString());
    EXPECT_EQ(designsLeftMessage(
                  { QStringLiteral("/a/one.dcard"), QStringLiteral("/b/two.dcard"), QStringLiteral("/c/three.dcard") }),
        QStringLiteral(
            "Tessaline Card opens one design per window. \"one.dcard\" is opened; not opened: \"two.dcard\", "
            "\"three.dcard\"."));
}

class StartUpDesignTest : public EditorWindowTest {
protected:
    QString folder = testsupport::makeTempFolder(QStringLiteral("start-up-design"));

    QString writeDesign(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder + QLatin1Char('/') + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    int startScreenRuns = 0;
    void startUpWith(const QString& path)
    {
        window->setStartUpDesign(path);
        startUp([this](Invitation_Wizard&) {
            ++startScreenRuns;
            Start_Card_Option = QStringLiteral("T");
            return 1;
        });
    }
};

TEST_F(StartUpDesignTest, AGoodDesignOpensStraightIntoTheEditor)
{
    const DesignFileContent content = designsamples::richDesign();
    const QString path = writeDesign(QStringLiteral("party.dcard"), encodeDesignFile(content));
    startUpWith(path);

    EXPECT_EQ(startScreenRuns, 0);
    EXPECT_FALSE(window->hasEnded());
    EXPECT_EQ(editortest::messageTexts(ui),
        QStringList { QStringLiteral("The workbook \"/home/guest/list.xlsx\" cannot be found. The design shows the "
                                     "data it stored (2 records).") });
    EXPECT_EQ(Project_File_Name, path);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("%1 (party.dcard)[*]").arg(window->App_Name));
    ASSERT_EQ(window->Get_Front_Controls_Array().size(), content.frontItems.size());
    ASSERT_EQ(window->Get_Back_Controls_Array().size(), content.backItems.size());
    for (std::size_t i = 0; i < content.frontItems.size(); ++i)
        EXPECT_EQ(window->Get_Front_Controls_Array()[i]->control_ID, content.frontItems[i]->control_ID);
    EXPECT_EQ(window->_graphicView->canvasSize(), content.front.Card_Size());
    EXPECT_FALSE(document.undoManager().canUndo()) << "opening is not an undoable step";
}

TEST_F(StartUpDesignTest, AMissingWorkbookOfALongPathIsNamedShortenedInItsMiddle)
{
    DesignFileContent content = designsamples::richDesign();
    content.excelSourcePath = "/home/guest/" + QString(1 << 20, 'x') + "/<b>list</b>.xlsx";
    startUpWith(writeDesign(QStringLiteral("party.dcard"), encodeDesignFile(content)));
    const QString told = editortest::messageTexts(ui).value(0);
    EXPECT_TRUE(told.startsWith("The workbook \"/home/guest/" + QString(27, 'x') + "\u2026x"))
        << told.left(99).toStdString();
    EXPECT_TRUE(told.contains(QString(23, 'x') + "/<b>list</b>.xlsx\" cannot be found. The design shows"));
}

TEST_F(StartUpDesignTest, ABadOrMissingDesignGetsTheReadersMessageThenTheStartScreen)
{
    const auto corrupt = [](const QString& path, const char* reason) {
        return QStringLiteral("The design file \"%1\" is corrupt and cannot be opened: %2.")
            .arg(path, QLatin1String(reason));
    };
    const QString gone = folder + QStringLiteral("/gone.dcard");
    const QString notes = writeDesign(QStringLiteral("notes.dcard"), QByteArray("a shopping list, not a design"));
    const QString other = writeDesign(QStringLiteral("other.dcard"),
        encodeDesignFile(DesignFileContent()).replace("MORVENTALISPRENQUADEX", "SOMEONE ELSES FORMAT!"));
    const struct {
        const char* what;
        QString path;
        QString message;
    } cases[] = {
        { "text", notes, corrupt(notes, "not an XML property list") },
        { "wrong signature", other, corrupt(other, "the signature is wrong") },
        { "missing", gone,
            QStringLiteral("The design file \"%1\" is missing: there is no file at this path.").arg(gone) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        EditorWindowTest::SetUp();
        ui.messages.clear();
        startScreenRuns = 0;
        startUpWith(c.path);
        EXPECT_EQ(messageTexts(ui), QStringList { c.message });
        EXPECT_EQ(startScreenRuns, 1);
        EXPECT_FALSE(window->hasEnded());
        EXPECT_TRUE(Project_File_Name.isEmpty());
        EXPECT_TRUE(window->Get_Front_Controls_Array().empty());
    }
}
