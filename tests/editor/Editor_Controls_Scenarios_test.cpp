// Every control does what it shows: each test drives the real window as a person does (clicks, double
// clicks, keys on its widgets) and checks what the card then holds and draws.
#include "editor/EditorScenarioFixture.h"

#include "barcode/Barcode_Entries.h"
#include "common/Globals.h"
#include "model/TSLLine.h"
#include "model/TSLText.h"
#include "output/Open_Export_Log.h"
#include "output/Record_Fill.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineF>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>

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

class ControlScenario : public editorscenario::EditorScenario {
protected:
    static QString writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }
    QString writePicture(const QString& name, const QSize& size, const QColor& colour = QColor(40, 120, 200))
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        EXPECT_TRUE(picture.save(folder_.filePath(name)));
        return folder_.filePath(name);
    }
    TSLGraphicPtr placeWithImageTool(const QString& path) // the new item, or none
    {
        ui.fileAnswers.push_back(path);
        const std::size_t before = window->Get_Front_Controls_Array().size();
        click(widget<QWidget>(QStringLiteral("Image_Tool_btn")));
        return window->Get_Front_Controls_Array().size() > before ? window->Get_Front_Controls_Array().front()
                                                                  : nullptr;
    }
    void saveAndReopen()
    {
        ui.fileAnswers.push_back(folder_.filePath(QStringLiteral("design")));
        ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
        window->New_Project_Setting_Reset();
        ASSERT_EQ(
            window->Read_and_load_design_Log(folder_.filePath(QStringLiteral("design.dcard")), QStringLiteral("L")), 1);
        QCoreApplication::processEvents();
    }
    void showCardPage(const QString& page)
    {
        clickCanvas(QPointF(2, canvas()->canvasSize().height() - 2)); // the empty card
        showPage(page);
    }
    QTemporaryDir folder_;
};

} // namespace

// --- The canvas: a text is typed where it is shown, or in the inspector, and its box grows with it. ---

TEST_F(ControlScenario, TypingANewOrDoubleClickedTextGoesIntoItAndGrowsItsBox)
{
    // Last, a long address typed into a narrow box on the card's right half: the box widens, moved in from the
    // card's edge, and breaks no word.
    enum class Way { AfterTheTool, AfterADoubleClick, InTheInspector, EndedOnTheDesk, AnAddressOnTheRight };
    startEmpty();
    for (const Way way : { Way::AfterTheTool, Way::AfterADoubleClick, Way::InTheInspector, Way::EndedOnTheDesk,
             Way::AnAddressOnTheRight }) {
        SCOPED_TRACE(int(way));
        const bool address = way == Way::AnAddressOnTheRight;
        const QString typed = QLatin1String(address ? "Write to anna.fitzgerald@example.com" : "RSVP by Friday");
        click(widget<QWidget>(QStringLiteral("Text_Tool_btn")));
        const TSLGraphicPtr item = window->Get_Front_Controls_Array().front();
        const QString before = textOf(item);
        QWidget* keys = canvas()->editingView();
        ASSERT_NE(keys, nullptr) << "a new text opens for typing on the canvas";
        if (way == Way::AfterADoubleClick || way == Way::InTheInspector || address) {
            QTest::keyClick(keys, Qt::Key_Escape);
            item->setBounds(
                address ? QRectF(canvas()->canvasSize().width() - 150, 60, 133, 16) : QRectF(30, 40, 40, 16));
            EXPECT_EQ(canvas()->editingView(), nullptr);
            if (way == Way::AfterADoubleClick || address)
                QTest::mouseDClick(canvas(), Qt::LeftButton, {}, onCanvas(item->bounds().center()));
            keys = way == Way::InTheInspector ? window->Text_value_Edit : canvas()->editingView();
            ASSERT_NE(keys, nullptr);
            keys->setFocus();
            static_cast<QPlainTextEdit*>(keys)->selectAll();
        }
        EXPECT_EQ(QApplication::focusWidget(), keys) << "the keys go into it";
        QTest::keyClicks(keys, typed);
        EXPECT_EQ(textOf(item), typed) << "a save while typing keeps the text";
        if (way == Way::EndedOnTheDesk) { // it is left selected by nothing: the inspector and commands show the card
            const QPointer<QWidget> box = keys;
            QTest::mouseClick(
                canvas()->parentWidget(), Qt::LeftButton, {}, canvas()->geometry().bottomRight() + QPoint(9, 9));
            ASSERT_TRUE(QTest::qWaitFor([&box] { return !box; })) << "the typing ended, and all it did then";
            EXPECT_EQ(currentPageName(), QStringLiteral("card_setting_tab"));
            EXPECT_FALSE(window->Delete_btn->isEnabled());
            continue;
        }
        QTest::keyClick(keys, Qt::Key_Escape);
        EXPECT_EQ(canvas()->editingView(), nullptr);
        EXPECT_TRUE(showsAllOfItsText(item)) << "the box grew with its text";
        EXPECT_LE(item->bounds().right(), canvas()->canvasSize().width() + 0.5) << "and stays on the card";
        EXPECT_LE(static_cast<TSLText&>(*item).longestWord().second, item->bounds().width());
        EXPECT_EQ(Record_Fill::textsCut({ item }, canvas()->bounds(), nullptr), QStringList());
        EXPECT_EQ(window->Text_value_Edit->toPlainText(), typed);
        trigger(QStringLiteral("Undo_btn"));
        if (way != Way::InTheInspector) {
            EXPECT_EQ(textOf(item), before) << "the typing undoes in one step";
        }
    }
}

// --- Picture files: a non-picture is refused by name; a picture keeps its proportions. ---

TEST_F(ControlScenario, AFileThatIsNotAPictureIsRefusedByNameAndPicturesKeepTheirProportions)
{
    startWithWizard();
    const QSize sizes[] = { { 800, 600 }, { 300, 900 }, { 40, 20 } };
    TSLGraphicPtr picture;
    for (const QSize& size : sizes) {
        picture = placeWithImageTool(writePicture(QStringLiteral("%1.png").arg(size.width()), size));
        ASSERT_TRUE(picture);
        const QSizeF placed = picture->bounds().size();
        EXPECT_NEAR(placed.width() / placed.height(), double(size.width()) / size.height(), 0.02) << size.width();
        EXPECT_TRUE(
            placed.width() <= canvas()->canvasSize().width() && placed.height() <= canvas()->canvasSize().height());
    }
    enum class Place { Background, ImageTool, PictureBrowse };
    const struct {
        Place place;
        const char* name;
        QByteArray bytes;
    } rows[] = { { Place::Background, "letter.png", "Dear Alex" }, { Place::ImageTool, "empty.jpg", "" },
        { Place::PictureBrowse, "notes.txt", "not a picture" } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = writeFile(folder_.filePath(QLatin1String(row.name)), row.bytes);
        const QString background = window->Front_card_Prop.Card_BG_Image_Path();
        const QString picturePath = picture->_file_path;
        const std::size_t items = window->Get_Front_Controls_Array().size();
        ui.messages.clear();
        if (row.place == Place::ImageTool) {
            placeWithImageTool(path);
        } else {
            if (row.place == Place::Background)
                showCardPage(QStringLiteral("card_bkgd_tab"));
            else
                clickItem(picture);
            ui.fileAnswers.push_back(path);
            click(widget<QWidget>(row.place == Place::Background ? QStringLiteral("Card_Image_Browse_btn")
                                                                 : QStringLiteral("Manual_Image_Browse_btn")));
        }
        ASSERT_EQ(ui.messages.size(), 1u) << "the person is told";
        EXPECT_TRUE(ui.messages.front().text.contains(QLatin1String(row.name)));
        EXPECT_EQ(window->Front_card_Prop.Card_BG_Image_Path(), background);
        EXPECT_FALSE(window->Front_card_Prop.Card_BG_Image().isNull());
        EXPECT_EQ(picture->_file_path, picturePath);
        EXPECT_EQ(window->Get_Front_Controls_Array().size(), items);
    }
}

// --- The colour window: colours are tried live, and Cancel or Escape takes them back. ---

TEST_F(ControlScenario, CancelInTheColourWindowRestoresTheItemsColour)
{
    startWithWizard();
    const TSLGraphicPtr message = itemWithID(QStringLiteral("PARTY_MSG"));
    ASSERT_TRUE(message);
    const QColor before = message->txt_clr;
    clickItem(message);
    showPage(QStringLiteral("text_prop_tab"));
    auto* well = widget<Color_Well>(QStringLiteral("Text_clr"));
    const QString undoBefore = action(QStringLiteral("menu_Undo"))->text();
    const bool modifiedBefore = window->isWindowModified();
    for (const bool escape : { false, true }) {
        click(well);
        auto* panel = well->findChild<QColorDialog*>();
        panel->setCurrentColor(QColor(230, 10, 120));
        ASSERT_EQ(message->txt_clr, QColor(230, 10, 120)) << "the colour is tried on the card";
        if (escape)
            QTest::keyClick(panel, Qt::Key_Escape);
        else
            click(panel->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel));
        EXPECT_EQ(message->txt_clr, before) << escape;
        EXPECT_EQ(well->color(), before) << escape;
        EXPECT_EQ(action(QStringLiteral("menu_Undo"))->text(), undoBefore) << "Cancel leaves no step";
        EXPECT_EQ(window->isWindowModified(), modifiedBefore) << "and nothing new to save";
    }
}

// --- The data-source page shows each item's own binding after reopening, its controls usable. ---

TEST_F(ControlScenario, EachItemShowsItsOwnBindingAfterReopening)
{
    startEmpty();
    for (const char* name : { "Guests", "Tables" })
        writeFile(QDir(Data_Folder_Path).filePath(QLatin1String(name) + QStringLiteral(".txt")), "Ada\nBob\n");
    const TSLGraphicPtr bound = addWithTool(QStringLiteral("Text_Tool_btn"), QRectF(20, 20, 90, 20));
    bound->data_source_type = 1;
    bound->batch_list_name = QStringLiteral("Tables");
    ASSERT_TRUE(placeWithImageTool(writePicture(QStringLiteral("photo.png"), QSize(60, 40))));
    saveAndReopen();
    const struct {
        const char* kind;
        const char* source;
        const char* series;
        bool manual; // the text box, or the picture's Browse... and Library..., take input
    } rows[] = { { "TSLText", "Series", "Tables", false }, { "TSLImage", "Manual", "", true },
        { "TSLText", "Series", "Tables", false } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        for (const TSLGraphicPtr& each : window->Get_Front_Controls_Array())
            if (each->className() == QLatin1String(row.kind))
                clickItem(each);
        showPage(QStringLiteral("datasource_tab"));
        EXPECT_EQ(widget<QComboBox>(QStringLiteral("Data_source_type"))->currentText(), QLatin1String(row.source));
        EXPECT_EQ(widget<QComboBox>(QStringLiteral("Batch_Series"))->currentText(), QLatin1String(row.series));
        EXPECT_EQ(widget<QComboBox>(QStringLiteral("Batch_Series"))->isEnabled(), !row.manual);
        EXPECT_EQ(widget<QWidget>(QStringLiteral("Manual_Image_Browse_btn"))->isEnabled(), row.manual);
        EXPECT_EQ(window->Text_value_Edit->isReadOnly(), !row.manual);
    }
}

// --- The card page: the pattern the list shows is the one the card draws, also after reopening. ---

TEST_F(ControlScenario, ChoosingPatternDrawsThePatternTheListShows)
{
    startEmpty();
    showPage(QStringLiteral("card_bkgd_tab"));
    tick(widget<QAbstractButton>(QStringLiteral("Card_fill_chk")));
    tick(widget<QAbstractButton>(QStringLiteral("Card_Style_fill_rd")));
    auto* list = widget<QComboBox>(QStringLiteral("Card_hatch_style"));
    for (int step = 0; step < 3; ++step) {
        if (step > 0)
            QTest::keyClick(list, Qt::Key_Down);
        ASSERT_FALSE(list->currentText().isEmpty()) << step;
        EXPECT_EQ(window->Front_card_Prop.Card_hatch_style(), list->currentText());
        const QImage shot = canvas()->grab(QRect(20, 20, 40, 40)).toImage();
        QSet<QRgb> colours;
        for (int i = 0; i < 40 * 40; ++i)
            colours.insert(shot.pixel(i % 40, i / 40));
        EXPECT_GT(colours.size(), 1) << "the card is not plain";
    }
    const QString shown = list->currentText();
    saveAndReopen();
    window->Show_RHS_Properties(nullptr);
    EXPECT_EQ(window->Front_card_Prop.Card_hatch_style(), shown);
    EXPECT_EQ(list->currentText(), shown);
}

// --- The wizard's texts: on the card, whole, and readable on whatever background follows. ---

TEST_F(ControlScenario, InvitationTextsLieOnTheCardWholeAndFollowTheBackgroundsBrightness)
{
    startWithWizard();
    for (const TSLGraphicPtr& item : window->Get_Front_Controls_Array()) {
        if (!item->control_ID.startsWith(QLatin1String("PARTY_")))
            continue;
        EXPECT_TRUE(QRectF(QPointF(), canvas()->canvasSize()).contains(item->bounds()))
            << item->control_ID.toStdString();
        EXPECT_TRUE(showsAllOfItsText(item)) << item->control_ID.toStdString();
    }
    const TSLGraphicPtr title = itemWithID(QStringLiteral("PARTY_TITLE"));
    for (const QColor& picture : { QColor(20, 20, 30), QColor(250, 245, 230), QColor(10, 40, 10) }) {
        showCardPage(QStringLiteral("card_bkgd_tab"));
        ui.fileAnswers.push_back(writePicture(picture.name().mid(1) + QStringLiteral(".png"), QSize(60, 40), picture));
        click(widget<QWidget>(QStringLiteral("Card_Image_Browse_btn")));
        EXPECT_EQ(title->txt_clr, picture.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black));
    }
    tick(widget<QAbstractButton>(QStringLiteral("Card_Style_fill_rd"))); // a light pattern after a dark picture
    EXPECT_EQ(title->txt_clr, QColor(Qt::black));
}

// --- The barcode window opens on the barcode's own settings; its size fields take numbers only. ---

TEST_F(ControlScenario, TheBarcodeWindowOpensOnTheItemsOwnSettings)
{
    const struct {
        const char* type;
        const char* data;
    } rows[] = { { "Code 128", "PARTY-2026" }, { "Code 39", "GUEST 17" }, { "Code 128", "TABLE 4" } };
    startEmpty();
    ASSERT_TRUE(addWithTool(QStringLiteral("Barcode_Tool_btn"), QRectF(30, 30, 120, 60)));
    QString shown[2];
    QString typedHeight;
    for (std::size_t i = 0; i <= std::size(rows); ++i) {
        if (i == std::size(rows))
            saveAndReopen();
        // The person sees what the barcode was given last time, then gives it this row's settings.
        ui.modalRuns.push_back([&, i](QDialog& dialog) {
            auto* type = dialog.findChild<QComboBox*>(QStringLiteral("barcodeTypePopup"));
            auto* data = dialog.findChild<QLineEdit*>(QStringLiteral("dataText"));
            auto* height = dialog.findChild<QLineEdit*>(QStringLiteral("HeightText"));
            shown[0] = type->currentText();
            shown[1] = data->text();
            height->selectAll();
            QTest::keyClicks(height, QStringLiteral("ab"));
            typedHeight = height->text();
            if (i == std::size(rows))
                return 0;
            type->setCurrentIndex(type->findText(QLatin1String(rows[i].type)));
            data->selectAll();
            QTest::keyClicks(data, QLatin1String(rows[i].data));
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OK_btn")), Qt::LeftButton);
            return dialog.result();
        });
        const TSLGraphicPtr item = window->Get_Front_Controls_Array().front();
        QTest::mouseDClick(canvas(), Qt::LeftButton, {}, onCanvas(item->bounds().center()));
        EXPECT_FALSE(typedHeight.contains(QLatin1String("ab"))) << "letters are refused in a size field";
        if (i > 0) {
            EXPECT_EQ(shown[0], QLatin1String(rows[i - 1].type)) << i;
            EXPECT_EQ(shown[1], QLatin1String(rows[i - 1].data)) << i;
        }
        if (i < std::size(rows)) {
            EXPECT_EQ(Barcode_Type_Titles().value(item->barcode_font_index), QLatin1String(rows[i].type));
        }
    }
}

// --- Tools and the line page draw and turn what their buttons and lists show. ---

TEST_F(ControlScenario, ThePolygonToolDrawsAHexagonAndTheDirectionListTurnsALine)
{
    startEmpty();
    const QPainterPath hexagon
        = addWithTool(QStringLiteral("Polygon_Tool_btn"), QRectF(40, 30, 80, 70))->bezierPathForDrawing();
    QSet<QPair<int, int>> corners;
    for (int i = 0; i < hexagon.elementCount(); ++i)
        corners.insert({ qRound(hexagon.elementAt(i).x * 10), qRound(hexagon.elementAt(i).y * 10) });
    EXPECT_EQ(corners.size(), 6);

    auto* line = dynamic_cast<TSLLine*>(addWithTool(QStringLiteral("Line_Tool_btn"), QRectF(40, 110, 120, 40)).get());
    ASSERT_TRUE(line);
    const double length = QLineF(line->beginPoint(), line->endPoint()).length();
    clickCanvas((line->beginPoint() + line->endPoint()) / 2);
    showPage(QStringLiteral("line_tab"));
    auto* list = widget<QComboBox>(QStringLiteral("Line_ori_style"));
    EXPECT_EQ(list->currentText(), QStringLiteral("Diagonal")) << "the list reads the direction the line is drawn in";
    for (const int direction : { 1, 2, 0 }) { // vertical, diagonal, horizontal
        const QRectF before = line->bounds();
        list->setFocus();
        while (list->currentIndex() != direction)
            QTest::keyClick(list, direction > list->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
        const QPointF run = line->endPoint() - line->beginPoint();
        EXPECT_NEAR(std::abs(run.x()),
            direction == 1       ? 0
                : direction == 2 ? std::abs(run.y())
                                 : length,
            0.5)
            << direction;
        EXPECT_NEAR(QLineF(line->beginPoint(), line->endPoint()).length(), length, 0.5);
        trigger(QStringLiteral("Undo_btn"));
        EXPECT_EQ(line->bounds(), before) << "the turn undoes";
        trigger(QStringLiteral("Redo_btn"));
    }
}

// The wizard's "To" line adds "Dear" once, whatever the person typed.
TEST_F(ControlScenario, TheGreetingLineSaysDearOnce)
{
    for (const char* typed : { "Alex", "Dear Alex", "dear Alex," }) {
        TearDown();
        SetUp();
        startWithWizard(QLatin1String(typed));
        ASSERT_TRUE(itemWithID(QStringLiteral("PARTY_TO")));
        EXPECT_EQ(textOf(itemWithID(QStringLiteral("PARTY_TO"))), QStringLiteral("Dear Alex,")) << typed;
    }
}

// After a paste on the back the inspector and the tool bar act on the pasted item.
TEST_F(ControlScenario, PastingOnTheBackShowsThePastedItemAndEnablesTheToolBar)
{
    startEmpty();
    click(widget<QWidget>(QStringLiteral("Back_Side_btn")));
    click(widget<QWidget>(QStringLiteral("Rect_Tool_btn")));
    clickItem(window->Get_Back_Controls_Array().front());
    trigger(QStringLiteral("Copy_btn"));
    clickCanvas(QPointF(3, canvas()->canvasSize().height() - 3));
    ASSERT_FALSE(action(QStringLiteral("Delete_btn"))->isEnabled());
    trigger(QStringLiteral("Paste_btn"));
    const TSLGraphicPtr pasted = window->Get_Back_Controls_Array().front();
    EXPECT_EQ(window->Get_Back_Controls_Array().size(), 2u);
    EXPECT_EQ(canvas()->selectedGraphics(), TSLGraphicList { pasted });
    EXPECT_EQ(window->Last_Selected_Graphic(), pasted);
    for (const char* name : { "Delete_btn", "Cut_btn", "Copy_btn" })
        EXPECT_TRUE(action(QLatin1String(name))->isEnabled()) << name;
}

// --- Messages: opening an exported file with no program for it says where the file is. ---

TEST_F(ControlScenario, OpeningAnExportedFileWithoutAProgramForItSaysWhereItIs)
{
    startEmpty();
    const QString exported = writePicture(QStringLiteral("card 1.png"), QSize(20, 10));
    ui.desktopOpens = false;
    ui.modalRuns.push_back([](QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return dialog.result();
    });
    Open_Export_Log::defaultInstance().Open_Export_File_Box(exported, QStringLiteral("1 card exported."));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages.front().text.contains(QDir::toNativeSeparators(exported)));
}
