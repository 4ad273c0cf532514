// Scripts drive the open design over the bus as gdbus or any other client would: the real window follows
// every change as one named undo step of the front side.
#include "editor/DocumentBusFixture.h"
#include "model/TSLText.h"

#include <QAction>
#include <QDBusConnectionInterface>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

namespace {

using namespace documentbustest;
using Front = QStringList;
const Front original { "TSLText", "Shape_Control", "TSLLine", "Shape_Control" };

QVariant boxed(const QVariant& value)
{
    return QVariant::fromValue(QDBusVariant(value));
}

TEST_F(DocumentBusTest, ElementsAndSpecifiersFollowTheFrontList)
{
    // The copy owns the program's name and one of its own.
    QDBusConnectionInterface& names
        = *QDBusConnection::connectToBus(busAddress, QStringLiteral("script-client")).interface();
    const QString copy = QDBusConnection(QStringLiteral("script-program")).baseService();
    EXPECT_EQ(names.serviceOwner(DocumentBus::serviceName).value(), copy);
    EXPECT_EQ(
        names.serviceOwner(QStringLiteral("org.tessaline.Card.instance%1").arg(QCoreApplication::applicationPid()))
            .value(),
        copy);
    const std::pair<const char*, int> counts[]
        = { { "graphics", 4 }, { "graphics_back", 4 }, { "graphics_temp", 4 }, { "rectangles", 2 }, { "circles", 2 },
              { "rectangles_round", 2 }, { "lines", 1 }, { "textAreas", 1 }, { "images", 0 } };
    for (const auto& [key, count] : counts)
        EXPECT_EQ(answer(QStringLiteral("Count"), { key }).toInt(), count) << key;
    const auto items = answerAs<QList<DocumentBusItem>>(QStringLiteral("Items"), { "rectangles" });
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(std::tie(items[1].index, items[1].kind, items[1].specifier, items[1].x),
        std::make_tuple(1, QStringLiteral("Shape_Control"), QStringLiteral("graphics[3]"), 100.0));

    const struct {
        const char* method;
        QVariantList arguments;
        QList<int> expected;
    } rows[] = {
        { "EvaluateRange", { "rectangles", "rectangles", 0, "rectangles", 1 }, { 0, 1 } },
        { "EvaluateRange", { "graphics", "graphics", 3, "graphics", 1 }, { 1, 2, 3 } }, // swapped ends
        { "EvaluateRange", { "lines", "rectangles", 0, "rectangles", 1 }, { 0 } },
        { "EvaluateRange", { "textAreas", "", 0, "lines", 0 }, { 0 } }, // no start: from the first
        { "EvaluateRelative", { "lines", "rectangles", 0, "after" }, { 0 } },
        { "EvaluateRelative", { "lines", "rectangles", 0, "before" }, {} },
        { "EvaluateRelative", { "graphics", "graphics", 3, "after" }, {} }, // the end of the list
        { "EvaluateRelative", { "graphics", "graphics", 0, "after" }, { 1 } },
    };
    for (const auto& row : rows)
        EXPECT_EQ(answerAs<QList<int>>(QString::fromLatin1(row.method), row.arguments), row.expected)
            << row.method << " " << row.arguments.value(0).toString().toStdString();
}

TEST_F(DocumentBusTest, MakeRemoveAndSetAreEachOneNamedUndoStepThatMarksTheDesign)
{
    const QVariantMap properties { { "contents", boxed("حفلة") }, { "bounds", boxed(compound(1.0, 2.0, 90.0, 20.0)) },
        { "textColor", boxed(rgb(65535, 0, 32768)) } };
    const struct {
        const char* method;
        QVariantList arguments;
        Front front;
        const char* undoName;
    } steps[] = {
        { "Make", { "rectangles", 1, QVariantMap() },
            { "TSLText", "Shape_Control", "TSLLine", "Shape_Control", "Shape_Control" },
            "Create Shape" }, // in front of D
        { "Make", { "textAreas", -1, properties }, {}, "Create Text" },
        { "Remove", { "lines", 0 }, {}, "Delete Line" },
        { "Set", { "graphics", 0, "bounds", boxed(compound(3.0, 4.0, 50.0, 60.0)) }, {}, "Resize" },
        { "Set", { "rectangles", 0, "fillColor", boxed(rgb(65535, 0, 32768)) }, {}, "Fill Colour" },
        // On a card 148 pt wide a long text grows to the card's right edge and wraps there, as typed.
        { "Set", { "textAreas", 0, "contents", boxed("Dear guests, join us on the terrace after the dinner") }, {},
            "Text" },
        { "Make", // low on the card: it grows as a typed one does, and moves up where it would pass the bottom
            { "textAreas", -1,
                QVariantMap { { "bounds", boxed(compound(30.0, 215.0, 90.0, 20.0)) },
                    { "contents", boxed("Dear guests, join us for a dance on the terrace after dinner") } } },
            {}, "Create Text" },
    };
    window->SetDocumentCanvasSize(148, 242);
    for (const auto& step : steps) {
        answer(QString::fromLatin1(step.method), step.arguments);
        if (!step.front.isEmpty()) {
            EXPECT_EQ(frontList(), step.front);
        }
        EXPECT_EQ(document.undoManager().undoActionName(), QString::fromUtf8(step.undoName));
        EXPECT_TRUE(window->isWindowModified());
    }
    EXPECT_EQ(numbersOf<quint16>(answer(QStringLiteral("Get"), { "rectangles", 0, "fillColor" })),
        QList<quint16>({ 65535, 0, 32768 }));
    EXPECT_EQ(numbersOf<double>(answer(QStringLiteral("Get"), { "textAreas", 0, "bounds" })).mid(0, 3),
        QList<double>({ 3, 4, 145 }));
    EXPECT_FALSE(std::static_pointer_cast<TSLText>(text)->textIsCut());
    const auto made = std::dynamic_pointer_cast<TSLText>(document.graphics().back());
    ASSERT_TRUE(made);
    EXPECT_EQ(made->bounds(), QRectF(30, 242 - made->bounds().height(), 118, made->bounds().height()));
    EXPECT_FALSE(made->textIsCut(QRectF(0, 0, 148, 242)));
    EXPECT_EQ(answer(QStringLiteral("Get"), { "textAreas", 1, "contents" }).value<QDBusVariant>().variant(),
        QStringLiteral("حفلة"));
    EXPECT_EQ(numbersOf<quint16>(answer(QStringLiteral("Get"), { "textAreas", 1, "textColor" })),
        QList<quint16>({ 65535, 0, 32768 }));

    for (std::size_t step = 0; step < std::size(steps); ++step)
        document.undoManager().undo();
    EXPECT_EQ(frontList(), original);
    EXPECT_EQ(text->bounds(), QRectF(10, 10, 100, 30));
}

TEST_F(DocumentBusTest, BadInputIsRefusedWithItsMessageAndChangesNothing)
{
    const char* const invalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
    const char* const noSuchObject = "org.tessaline.Card.Error.NoSuchObject";
    const struct {
        const char* method;
        QVariantList arguments;
        const char* error;
        const char* says = ""; // a piece of the message, the specifier as the script gave it
    } rows[] = {
        { "Count", { "squares" }, invalidArgs },
        { "Make", { "stars", 0, QVariantMap() }, invalidArgs },
        { "Make", { "rectangles", 3, QVariantMap() }, noSuchObject },
        { "Make", { "rectangles", -2, QVariantMap() }, invalidArgs, "or -1 for the end, not -2" },
        { "Make", { "rectangles", 0, QVariantMap { { "contents", boxed("x") } } }, "org.tessaline.Card.Error.Refused" },
        { "Remove", { "images", 0 }, noSuchObject },
        { "EvaluateRange", { "lines", "", 0, "", 0 }, noSuchObject, "range of lines names neither" },
        { "EvaluateRange", { "rectangles_round", "graphics", 9, "", 0 }, noSuchObject,
            "range rectangles_round[graphics[9] thru the last] names" },
        { "EvaluateRange", { "lines", "", 0, "circles", 5 }, noSuchObject, "range lines[the first thru circles[5]]" },
        { "EvaluateRelative", { "lines", "graphics", 9, "after" }, noSuchObject,
            "specifier lines after graphics[9] names" },
        { "EvaluateRelative", { "lines", "", 0, "before" }, noSuchObject, "lines before another needs" },
        { "EvaluateRelative", { "lines", "graphics", 0, "above" }, invalidArgs },
        { "Get", { "graphics", 4, "bounds" }, noSuchObject },
        { "Get", { "lines", 0, "fillColor" }, noSuchObject }, // a line does not fill
        { "Get", { "graphics", 0, "colour" }, invalidArgs },
        { "Set", { "textAreas", 0, "contents", boxed(QString(251, QLatin1Char('a'))) }, invalidArgs },
        { "Set", { "textAreas", 0, "contents", boxed(7) }, invalidArgs },
        { "Set", { "graphics", 1, "fillColor", boxed(compound(1.0, 0.0, 0.0)) }, invalidArgs },
        { "Set", { "graphics", 1, "bounds", boxed(compound(0.0, 0.0, -5.0, 5.0)) }, invalidArgs },
        { "Set", { "graphics", 1, "bounds", boxed(compound(qQNaN(), 0.0, 5.0, 5.0)) }, invalidArgs },
        { "Set", { "graphics", 1, "bounds", boxed(compound(0.0, 0.0, qInf(), 5.0)) }, invalidArgs },
        { "Set", { "graphics", 1, "bounds", boxed(compound(0.0, -2e6, 5.0, 5.0)) }, invalidArgs },
        { "Set", { "graphics", 1, "strokeWidth", boxed("thick") }, invalidArgs },
    };
    for (const auto& row : rows) {
        const QDBusMessage reply = call(QString::fromLatin1(row.method), row.arguments);
        EXPECT_EQ(reply.errorName(), QString::fromLatin1(row.error)) << row.method;
        EXPECT_FALSE(reply.errorMessage().isEmpty()) << row.method;
        EXPECT_TRUE(reply.errorMessage().contains(QString::fromUtf8(row.says)))
            << row.method << ": " << reply.errorMessage().toStdString();
    }

    // A call while a window waits for an answer is refused rather than queued behind it.
    QDialog question(window.get());
    question.setModal(true);
    question.show();
    EXPECT_EQ(
        call(QStringLiteral("Remove"), { "graphics", 0 }).errorName(), QStringLiteral("org.tessaline.Card.Error.Busy"));
    question.hide();

    EXPECT_EQ(frontList(), original);
    EXPECT_FALSE(document.undoManager().canUndo());
    EXPECT_FALSE(window->isWindowModified());
}

} // namespace

namespace {

// While a person types into a text on the card, a script may neither change nor remove it: it is refused as
// while a modal window is open, and the typed text becomes a step of its own when the typing ends. What a
// script changes or removes shows in the inspector and the commands at once.
TEST_F(DocumentBusTest, TypingIsNeverOverwrittenAndTheWindowFollowsScripts)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    TSLGraphicView* canvas = window->_graphicView;
    const QPoint onText(20, 25); // the text alone lies there
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, onText);
    ASSERT_NE(canvas->editingView(), nullptr);
    QTest::keyClicks(canvas->editingView(), QStringLiteral("typed"));
    const struct {
        const char* method;
        QVariantList arguments;
    } changes[] = { { "Set", { "textAreas", 0, "contents", boxed("scripted") } }, { "Remove", { "textAreas", 0 } } };
    for (const auto& change : changes)
        EXPECT_EQ(call(QString::fromLatin1(change.method), change.arguments).errorName(),
            QStringLiteral("org.tessaline.Card.Error.Busy"))
            << change.method;
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(200, 120)); // the typing ends
    ASSERT_EQ(canvas->editingView(), nullptr);
    const QString typed
        = answer(QStringLiteral("Get"), { "textAreas", 0, "contents" }).value<QDBusVariant>().variant().toString();
    EXPECT_TRUE(typed.contains(QLatin1String("typed")));
    EXPECT_TRUE(document.undoManager().canUndo()) << "the typing is a step";

    // The text shown in the inspector follows a scripted change, and its pages and commands go with it.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, onText);
    ASSERT_NE(window->sett_tab->indexOf(window->text_edtng_tab), -1);
    answer(QStringLiteral("Set"), { "textAreas", 0, "contents", boxed("scripted") });
    EXPECT_EQ(window->Text_value_Edit->toPlainText(), QStringLiteral("scripted"));
    EXPECT_TRUE(window->Lock_btn->isEnabled());
    answer(QStringLiteral("Remove"), { "textAreas", 0 });
    EXPECT_EQ(window->sett_tab->indexOf(window->text_edtng_tab), -1);
    EXPECT_NE(window->sett_tab->indexOf(window->card_setting_tab), -1);
    for (QAction* command : { window->Cut_btn, window->Copy_btn, window->Delete_btn, window->Lock_btn })
        EXPECT_FALSE(command->isEnabled()) << command->text().toStdString();
    document.undoManager().undo();
    EXPECT_EQ(frontList(), original);
}

} // namespace
