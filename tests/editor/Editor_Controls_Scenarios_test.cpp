// Every control does what it shows: each test drives the real window as a person does (clicks, double
// clicks, keys on its widgets) and checks what the card then holds and draws. Grouped by window.
#include "editor/EditorScenarioFixture.h"

#include "barcode/Barcode_Entries.h"
#include "common/Globals.h"
#include "model/TSLLine.h"
#include "model/TSLText.h"
#include "output/Open_Export_Log.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineF>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>

#include <functional>

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
        const QString before = textOf(item);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("RSVP by Friday"));
        EXPECT_EQ(textOf(item), QStringLiteral("RSVP by Friday")) << "a save while typing keeps the text";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCoreApplication::processEvents();

        EXPECT_EQ(canvas()->editingView(), nullptr);
        EXPECT_EQ(textOf(item), QStringLiteral("RSVP by Friday"));
        EXPECT_TRUE(showsAllOfItsText(item)) << "the box grew with its text";
        EXPECT_LE(item->bounds().right(), canvas()->canvasSize().width() + 0.5) << "and stays on the card";
        EXPECT_EQ(window->Text_value_Edit->toPlainText(), QStringLiteral("RSVP by Friday"));
        trigger(QStringLiteral("Undo_btn"));
        EXPECT_EQ(textOf(item), before) << "the typing undoes in one step";
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
            clickCanvas(QPointF(2, canvas()->canvasSize().height() - 2)); // the card's own pages
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

// ---------------------------------------------------------------------------------------------------------
// The inspector's data-source page shows the binding of the item selected, after the design is reopened.

TEST_F(PictureFiles, EachItemShowsItsOwnBindingAfterReopeningWithItsControlsUsable)
{
    startEmpty();
    for (const char* name : { "Guests", "Tables" }) {
        QFile series(QDir(Data_Folder_Path).filePath(QLatin1String(name) + QStringLiteral(".txt")));
        ASSERT_TRUE(series.open(QIODevice::WriteOnly));
        series.write("Ada\nBob\n");
    }
    const TSLGraphicPtr bound = addWithTool(QStringLiteral("Text_Tool_btn"), QRectF(20, 20, 90, 20));
    ASSERT_TRUE(bound);
    bound->data_source_type = 1;
    bound->batch_list_name = QStringLiteral("Tables");
    bound->batch_list_index = 1;
    ASSERT_TRUE(placeWithImageTool(writePicture(QStringLiteral("photo.png"), QSize(60, 40))));
    const QString path = folder_.filePath(QStringLiteral("bound"));
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    window->New_Project_Setting_Reset();
    ASSERT_EQ(window->Read_and_load_design_Log(path + QStringLiteral(".dcard"), QStringLiteral("L")), 1);
    QCoreApplication::processEvents();

    struct Row {
        const char* kind;
        const char* source;
        const char* series; // shown in the series box
        bool typing; // the text box or the picture's Browse... and Library... take input
    };
    const Row rows[] = { { "TSLText", "Series", "Tables", false }, { "TSLImage", "Manual", "", true },
        { "TSLText", "Series", "Tables", false } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        TSLGraphicPtr item;
        for (const TSLGraphicPtr& each : window->Get_Front_Controls_Array())
            if (each->className() == QLatin1String(row.kind))
                item = each;
        ASSERT_TRUE(item);
        clickItem(item);
        showPage(QStringLiteral("datasource_tab"));
        auto* source = widget<QComboBox>(QStringLiteral("Data_source_type"));
        auto* series = widget<QComboBox>(QStringLiteral("Batch_Series"));
        EXPECT_EQ(source->currentText(), QLatin1String(row.source));
        EXPECT_EQ(series->currentText(), QLatin1String(row.series));
        EXPECT_EQ(series->isEnabled(), !row.typing);
        if (QLatin1String(row.kind) == QLatin1String("TSLImage")) {
            for (const char* button : { "Manual_Image_Browse_btn", "Manual_Library_Browse_btn" })
                EXPECT_TRUE(widget<QWidget>(QLatin1String(button))->isEnabled()) << button;
        } else {
            EXPECT_EQ(window->Text_value_Edit->isReadOnly(), !row.typing);
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// The card page: the pattern the list shows is the pattern the card draws, also after reopening.

namespace {

int coloursIn(const QImage& image, const QRect& area)
{
    QSet<QRgb> seen;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

} // namespace

TEST_F(PictureFiles, ChoosingPatternDrawsThePatternTheListShows)
{
    startEmpty();
    showPage(QStringLiteral("card_bkgd_tab"));
    tick(widget<QAbstractButton>(QStringLiteral("Card_fill_chk")));
    tick(widget<QAbstractButton>(QStringLiteral("Card_Style_fill_rd")));
    auto* list = widget<QComboBox>(QStringLiteral("Card_hatch_style"));
    ASSERT_GE(list->count(), 3);
    for (int step = 0; step < 3; ++step) {
        SCOPED_TRACE(step);
        if (step > 0)
            QTest::keyClick(list, Qt::Key_Down);
        ASSERT_FALSE(list->currentText().isEmpty()) << "the list shows a pattern";
        EXPECT_EQ(window->Front_card_Prop.Card_fill_style(), QStringLiteral("H"));
        EXPECT_EQ(window->Front_card_Prop.Card_hatch_style(), list->currentText());
        const QImage shot = canvas()->grab().toImage();
        EXPECT_GT(coloursIn(shot, QRect(QPoint(20, 20), QSize(40, 40))), 1) << "the card is not plain";
    }
    const QString shown = list->currentText();
    const QString path = folder_.filePath(QStringLiteral("pattern"));
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    QTest::keyClick(list, Qt::Key_Home); // the list moves on before the design is read again
    window->New_Project_Setting_Reset();
    ASSERT_EQ(window->Read_and_load_design_Log(path + QStringLiteral(".dcard"), QStringLiteral("L")), 1);
    window->Show_RHS_Properties(nullptr);
    EXPECT_EQ(window->Front_card_Prop.Card_hatch_style(), shown);
    EXPECT_EQ(list->currentText(), shown);
}

// ---------------------------------------------------------------------------------------------------------
// The wizard's texts: on the card, whole, and readable on whatever picture is behind them.

TEST_F(PictureFiles, InvitationTextsLieOnTheCardWholeAndFollowTheBackgroundsBrightness)
{
    startWithWizard();
    const QRectF card(QPointF(0, 0), canvas()->canvasSize());
    int texts = 0;
    for (const TSLGraphicPtr& item : window->Get_Front_Controls_Array()) {
        if (!item->control_ID.startsWith(QLatin1String("PARTY_")))
            continue;
        ++texts;
        SCOPED_TRACE(item->control_ID.toStdString());
        EXPECT_TRUE(card.contains(item->bounds())) << "inside the card";
        EXPECT_TRUE(showsAllOfItsText(item));
    }
    EXPECT_GE(texts, 3);

    struct Row {
        QColor picture;
        QColor text;
    };
    const Row rows[] = { { QColor(20, 20, 30), Qt::white }, { QColor(250, 245, 230), Qt::black },
        { QColor(10, 40, 10), Qt::white } };
    const TSLGraphicPtr title = itemWithID(QStringLiteral("PARTY_TITLE"));
    ASSERT_TRUE(title);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.picture.name().toStdString());
        QImage picture(120, 80, QImage::Format_RGB32);
        picture.fill(row.picture);
        const QString path = folder_.filePath(row.picture.name().mid(1) + QStringLiteral(".png"));
        ASSERT_TRUE(picture.save(path));
        showPage(QStringLiteral("card_bkgd_tab"));
        ui.fileAnswers.push_back(path);
        click(widget<QWidget>(QStringLiteral("Card_Image_Browse_btn")));
        ASSERT_EQ(window->Front_card_Prop.Card_BG_Image_Path(), path);
        EXPECT_EQ(title->txt_clr, row.text);
    }
    ASSERT_EQ(title->txt_clr, QColor(Qt::white));
    tick(widget<QAbstractButton>(QStringLiteral("Card_Style_fill_rd"))); // a light pattern in place of the picture
    EXPECT_EQ(title->txt_clr, QColor(Qt::black));
}

// ---------------------------------------------------------------------------------------------------------
// The barcode settings window opens on the barcode's own settings, and its size fields take numbers only.

TEST_F(EditorScenario, TheBarcodeWindowOpensOnTheItemsOwnSettings)
{
    struct Row {
        const char* type;
        const char* data;
    };
    const Row rows[] = { { "Code 128", "PARTY-2026" }, { "Code 39", "GUEST 17" }, { "Code 128", "TABLE 4" } };
    startEmpty();
    const TSLGraphicPtr barcode = addWithTool(QStringLiteral("Barcode_Tool_btn"), QRectF(30, 30, 120, 60));
    ASSERT_TRUE(barcode);
    const auto openBarcodeWindow = [&](const std::function<int(QDialog&)>& person) {
        ui.modalRuns.push_back(person);
        QTest::mouseDClick(canvas(), Qt::LeftButton, {}, onCanvas(barcode->bounds().center()));
        QCoreApplication::processEvents();
    };
    const Row* previous = nullptr;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        QString shownType;
        QString shownData;
        QString typedHeight;
        // The person sees what the barcode was given last time, then gives it this row's settings.
        openBarcodeWindow([&](QDialog& dialog) {
            auto* type = dialog.findChild<QComboBox*>(QStringLiteral("barcodeTypePopup"));
            auto* data = dialog.findChild<QLineEdit*>(QStringLiteral("dataText"));
            shownType = type->currentText();
            shownData = data->text();
            auto* height = dialog.findChild<QLineEdit*>(QStringLiteral("HeightText"));
            height->setFocus();
            height->selectAll();
            QTest::keyClicks(height, QStringLiteral("ab"));
            typedHeight = height->text();
            type->setCurrentIndex(type->findText(QLatin1String(row.type)));
            data->setFocus();
            data->selectAll();
            QTest::keyClicks(data, QLatin1String(row.data));
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OK_btn")), Qt::LeftButton);
            return dialog.result();
        });
        if (previous) {
            EXPECT_EQ(shownType, QLatin1String(previous->type));
            EXPECT_EQ(shownData, QLatin1String(previous->data));
        }
        EXPECT_FALSE(typedHeight.contains(QLatin1String("ab"))) << "letters are refused in a size field";
        EXPECT_EQ(Barcode_Type_Titles().value(barcode->barcode_font_index), QLatin1String(row.type));
        EXPECT_EQ(barcode->linear_font_val, QLatin1String(row.data));
        previous = &row;
    }

    // Saved and opened again, the barcode's window still opens on its own settings.
    QTemporaryDir folder;
    ui.fileAnswers.push_back(folder.filePath(QStringLiteral("barcode")));
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    window->New_Project_Setting_Reset();
    ASSERT_EQ(window->Read_and_load_design_Log(folder.filePath(QStringLiteral("barcode.dcard")), QStringLiteral("L")), 1);
    QCoreApplication::processEvents();
    const TSLGraphicPtr reopened = window->Get_Front_Controls_Array().front();
    QString shownType;
    QString shownData;
    ui.modalRuns.push_back([&](QDialog& dialog) {
        shownType = dialog.findChild<QComboBox*>(QStringLiteral("barcodeTypePopup"))->currentText();
        shownData = dialog.findChild<QLineEdit*>(QStringLiteral("dataText"))->text();
        return 0;
    });
    QTest::mouseDClick(canvas(), Qt::LeftButton, {}, onCanvas(reopened->bounds().center()));
    QCoreApplication::processEvents();
    EXPECT_EQ(shownType, QLatin1String(previous->type));
    EXPECT_EQ(shownData, QLatin1String(previous->data));
}

// ---------------------------------------------------------------------------------------------------------
// Messages: opening an exported file with no program for it says where the file is.

TEST_F(PictureFiles, OpeningAnExportedFileWithoutAProgramForItSaysWhereItIs)
{
    startEmpty();
    const QString exported = writePicture(QStringLiteral("card 1.png"), QSize(20, 10));
    ui.desktopOpens = false;
    ui.modalRuns.push_back([](QDialog& dialog) {
        dialog.show();
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return dialog.result();
    });
    Open_Export_Log::defaultInstance().Open_Export_File_Box(exported, QStringLiteral("1 card exported."));
    ASSERT_EQ(ui.urlsOpened.size(), 1u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages.front().text.contains(QDir::toNativeSeparators(exported)))
        << ui.messages.front().text.toStdString();
}

// ---------------------------------------------------------------------------------------------------------
// Tools and the line page: each draws or turns what its button or list shows.

namespace {

int distinctCorners(const QPainterPath& path)
{
    QSet<QPair<int, int>> corners;
    for (int i = 0; i < path.elementCount(); ++i)
        corners.insert({ qRound(path.elementAt(i).x * 10), qRound(path.elementAt(i).y * 10) });
    return int(corners.size());
}

} // namespace

TEST_F(EditorScenario, ThePolygonToolDrawsTheHexagonItsButtonShows)
{
    startEmpty();
    const TSLGraphicPtr polygon = addWithTool(QStringLiteral("Polygon_Tool_btn"), QRectF(40, 30, 80, 70));
    ASSERT_TRUE(polygon);
    EXPECT_EQ(distinctCorners(polygon->bezierPathForDrawing()), 6);
}

TEST_F(EditorScenario, TheLineDirectionListTurnsTheLineKeepingItsLengthAndUndoes)
{
    struct Row {
        const char* direction;
        bool horizontal;
        bool vertical;
    };
    const Row rows[] = { { "Vertical", false, true }, { "Diagonal", false, false }, { "Horizontal", true, false } };
    startEmpty();
    const TSLGraphicPtr item = addWithTool(QStringLiteral("Line_Tool_btn"), QRectF(40, 40, 120, 40));
    auto* line = dynamic_cast<TSLLine*>(item.get());
    ASSERT_TRUE(line);
    const auto lengthOf = [line] { return QLineF(line->beginPoint(), line->endPoint()).length(); };
    const double length = lengthOf();
    clickCanvas((line->beginPoint() + line->endPoint()) / 2);
    ASSERT_EQ(window->Last_Selected_Graphic(), item);
    showPage(QStringLiteral("line_tab"));
    auto* list = widget<QComboBox>(QStringLiteral("Line_ori_style"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.direction);
        const QPointF middle = (line->beginPoint() + line->endPoint()) / 2;
        const QRectF before = line->bounds();
        list->setFocus();
        while (list->currentText() != QLatin1String(row.direction))
            QTest::keyClick(list, list->currentIndex() + 1 < list->count() ? Qt::Key_Down : Qt::Key_Home);
        QCoreApplication::processEvents();
        const QPointF d = line->endPoint() - line->beginPoint();
        EXPECT_EQ(std::abs(d.y()) < 0.01, row.horizontal);
        EXPECT_EQ(std::abs(d.x()) < 0.01, row.vertical);
        if (!row.horizontal && !row.vertical) {
            EXPECT_NEAR(std::abs(d.x()), std::abs(d.y()), 0.01);
        }
        EXPECT_NEAR(lengthOf(), length, 0.5);
        EXPECT_NEAR(QLineF(middle, (line->beginPoint() + line->endPoint()) / 2).length(), 0.0, 0.5);
        trigger(QStringLiteral("Undo_btn"));
        EXPECT_EQ(line->bounds(), before) << "the turn undoes";
        trigger(QStringLiteral("Redo_btn"));
    }
}

// After a paste on the back the tool bar offers what can be done with the pasted item.
TEST_F(EditorScenario, PastingOnTheBackShowsThePastedItemAndEnablesTheToolBar)
{
    startEmpty();
    click(widget<QWidget>(QStringLiteral("Back_Side_btn")));
    ASSERT_EQ(Card_Front_Or_Back, 1);
    click(widget<QWidget>(QStringLiteral("Rect_Tool_btn")));
    ASSERT_EQ(window->Get_Back_Controls_Array().size(), 1u);
    clickItem(window->Get_Back_Controls_Array().front());
    trigger(QStringLiteral("Copy_btn"));
    clickCanvas(QPointF(3, canvas()->canvasSize().height() - 3)); // empty card: nothing selected
    ASSERT_FALSE(action(QStringLiteral("Delete_btn"))->isEnabled());
    trigger(QStringLiteral("Paste_btn"));

    ASSERT_EQ(window->Get_Back_Controls_Array().size(), 2u);
    const TSLGraphicPtr pasted = window->Get_Back_Controls_Array().front();
    EXPECT_EQ(canvas()->selectedGraphics(), TSLGraphicList { pasted });
    EXPECT_EQ(window->Last_Selected_Graphic(), pasted);
    for (const char* name : { "Delete_btn", "Cut_btn", "Copy_btn" })
        EXPECT_TRUE(action(QLatin1String(name))->isEnabled()) << name;
}
