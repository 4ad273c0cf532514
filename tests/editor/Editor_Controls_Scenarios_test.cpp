// Every control does what it shows: each test drives the real window as a person does (clicks, double
// clicks, keys on its widgets) and checks what the card then holds and draws. Grouped by window.
#include "editor/EditorScenarioFixture.h"

#include "model/TSLText.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>

using editorscenario::EditorScenario;

namespace {

QString textOf(const TSLGraphicPtr& item)
{
    return item->_Text_contents ? item->_Text_contents->string : item->Text_Value;
}

// The whole text is drawn: wrapped at the item's width, its lines fit the item's height.
bool showsAllOfItsText(const TSLGraphicPtr& item)
{
    auto* text = dynamic_cast<TSLText*>(item.get());
    return text && text->naturalSize().height() <= item->bounds().height() + 0.5;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The canvas: a text is typed where it is shown.

class CanvasTyping : public EditorScenario {
protected:
    // A narrow text box that the program made earlier, its text short.
    TSLGraphicPtr addNarrowText()
    {
        const TSLGraphicPtr item = addWithTool(QStringLiteral("Text_Tool_btn"), QRectF(30, 40, 40, 16));
        if (item && canvas()->editingView())
            QTest::keyClick(canvas()->editingView(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        return item;
    }
};

TEST_F(CanvasTyping, TypingIntoANewOrDoubleClickedTextGoesIntoItAndGrowsItsBox)
{
    struct Row {
        const char* how;
        bool doubleClick; // else: typed right after the Text tool made the item
    };
    const Row rows[] = { { "typed after the Text tool", false }, { "typed after a double click", true } };
    startEmpty();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        TSLGraphicPtr item;
        if (row.doubleClick) {
            item = addNarrowText();
            ASSERT_TRUE(item);
            ASSERT_EQ(canvas()->editingView(), nullptr);
            QTest::mouseDClick(canvas(), Qt::LeftButton, {}, onCanvas(item->bounds().center()));
        } else {
            const TSLGraphicList before = window->Get_Front_Controls_Array();
            click(widget<QWidget>(QStringLiteral("Text_Tool_btn")));
            ASSERT_EQ(window->Get_Front_Controls_Array().size(), before.size() + 1);
            item = window->Get_Front_Controls_Array().front();
        }
        QCoreApplication::processEvents();
        QPlainTextEdit* box = canvas()->editingView();
        ASSERT_NE(box, nullptr) << "the text opens for typing on the canvas";
        EXPECT_EQ(QApplication::focusWidget(), box) << "the keys go into it";
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("RSVP by Friday"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCoreApplication::processEvents();

        EXPECT_EQ(canvas()->editingView(), nullptr);
        EXPECT_EQ(textOf(item), QStringLiteral("RSVP by Friday"));
        EXPECT_TRUE(showsAllOfItsText(item)) << "the box grew with its text";
        EXPECT_LE(item->bounds().right(), canvas()->canvasSize().width() + 0.5) << "and stays on the card";
        EXPECT_EQ(window->Text_value_Edit->toPlainText(), QStringLiteral("RSVP by Friday"));
        trigger(QStringLiteral("Undo_btn"));
        EXPECT_NE(textOf(item), QStringLiteral("RSVP by Friday")) << "the typing undoes in one step";
    }
}

TEST_F(CanvasTyping, TypingInTheInspectorGrowsTheBoxToShowAllOfTheText)
{
    startEmpty();
    const TSLGraphicPtr item = addNarrowText();
    ASSERT_TRUE(item);
    clickItem(item);
    QPlainTextEdit* box = window->Text_value_Edit;
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("RSVP by Friday, please"));
    EXPECT_EQ(textOf(item), QStringLiteral("RSVP by Friday, please"));
    EXPECT_TRUE(showsAllOfItsText(item));
}

// ---------------------------------------------------------------------------------------------------------
// Choosing picture files: the card page's background, the Image tool and a picture item's own Browse...

class PictureFiles : public EditorScenario {
protected:
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString writePicture(const QString& name, const QSize& size)
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(QColor(40, 120, 200));
        const QString path = folder_.filePath(name);
        EXPECT_TRUE(picture.save(path));
        return path;
    }
    // Chooses the file with the Image tool; the new item, or none.
    TSLGraphicPtr placeWithImageTool(const QString& path)
    {
        ui.fileAnswers.push_back(path);
        const TSLGraphicList before = window->Get_Front_Controls_Array();
        click(widget<QWidget>(QStringLiteral("Image_Tool_btn")));
        const TSLGraphicList after = window->Get_Front_Controls_Array();
        return after.size() > before.size() ? after.front() : nullptr;
    }
    QTemporaryDir folder_;
};

TEST_F(PictureFiles, AFileThatIsNotAPictureIsRefusedByNameAndNothingChanges)
{
    enum class Place { Background, ImageTool, PictureBrowse };
    struct Row {
        Place place;
        const char* name;
        QByteArray bytes;
    };
    const Row rows[] = {
        { Place::Background, "letter.png", "Dear Alex, see you on Friday." },
        { Place::ImageTool, "empty.jpg", "" },
        { Place::PictureBrowse, "notes.txt", "not a picture" },
    };
    startWithWizard();
    const TSLGraphicPtr picture = placeWithImageTool(writePicture(QStringLiteral("good.png"), QSize(80, 60)));
    ASSERT_TRUE(picture);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = writeFile(QLatin1String(row.name), row.bytes);
        const Card_Property background = window->Front_card_Prop;
        const QString picturePath = picture->_file_path;
        const std::size_t items = window->Get_Front_Controls_Array().size();
        ui.messages.clear();
        if (row.place == Place::Background) {
            showPage(QStringLiteral("card_bkgd_tab"));
            ui.fileAnswers.push_back(path);
            click(widget<QWidget>(QStringLiteral("Card_Image_Browse_btn")));
        } else if (row.place == Place::ImageTool) {
            EXPECT_EQ(placeWithImageTool(path), nullptr);
        } else {
            clickItem(picture);
            showPage(QStringLiteral("datasource_tab"));
            ui.fileAnswers.push_back(path);
            click(widget<QWidget>(QStringLiteral("Manual_Image_Browse_btn")));
        }
        ASSERT_EQ(ui.messages.size(), 1u) << "the person is told";
        EXPECT_TRUE(ui.messages.front().text.contains(QLatin1String(row.name))) << ui.messages.front().text.toStdString();
        EXPECT_EQ(window->Front_card_Prop.Card_BG_Image_Path(), background.Card_BG_Image_Path());
        EXPECT_FALSE(window->Front_card_Prop.Card_BG_Image().isNull());
        EXPECT_EQ(picture->_file_path, picturePath);
        EXPECT_EQ(window->Get_Front_Controls_Array().size(), items);
    }
}

TEST_F(PictureFiles, APictureIsPlacedAtItsOwnProportions)
{
    const QSize sizes[] = { { 800, 600 }, { 300, 900 }, { 40, 20 } };
    startEmpty();
    for (const QSize& size : sizes) {
        SCOPED_TRACE(size.width());
        const TSLGraphicPtr item
            = placeWithImageTool(writePicture(QStringLiteral("%1.png").arg(size.width()), size));
        ASSERT_TRUE(item);
        const QSizeF placed = item->bounds().size();
        EXPECT_NEAR(placed.width() / placed.height(), double(size.width()) / size.height(), 0.02);
        EXPECT_LE(placed.width(), canvas()->canvasSize().width());
        EXPECT_LE(placed.height(), canvas()->canvasSize().height());
    }
}

// ---------------------------------------------------------------------------------------------------------
// The colour window: colours are tried live, and Cancel takes them back.

TEST_F(EditorScenario, CancelInTheColourWindowRestoresTheItemsColour)
{
    struct Row {
        const char* how;
        bool escape; // else the Cancel button
    };
    const Row rows[] = { { "Cancel button", false }, { "Escape", true } };
    startWithWizard();
    const TSLGraphicPtr message = itemWithID(QStringLiteral("PARTY_MSG"));
    ASSERT_TRUE(message);
    const QColor before = message->txt_clr;
    clickItem(message);
    showPage(QStringLiteral("text_prop_tab"));
    auto* well = widget<Color_Well>(QStringLiteral("Text_clr"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        click(well);
        auto* panel = well->findChild<QColorDialog*>();
        ASSERT_NE(panel, nullptr);
        panel->setCurrentColor(QColor(230, 10, 120));
        ASSERT_EQ(message->txt_clr, QColor(230, 10, 120)) << "the colour is tried on the card";
        if (row.escape) {
            QTest::keyClick(panel, Qt::Key_Escape);
        } else {
            auto* buttons = panel->findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            click(buttons->button(QDialogButtonBox::Cancel));
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(message->txt_clr, before);
        EXPECT_EQ(well->color(), before);
    }
}
