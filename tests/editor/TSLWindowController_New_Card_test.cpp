// The new-card reset: both records, the canvases, undo, the default font and the clipboard.
#include "canvas/TSLGrid.h"
#include "editor/EditorWindowTestSupport.h"
#include "platform/PropertyList.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>

using editortest::EditorWindowTest;

namespace {

Card_Property expectedNewCard(const QFont& font)
{
    Card_Property side;
    side.setCard_border_chk(true);
    side.setCard_bordr_clr(Qt::black);
    side.setCard_bor_Stepper(1);
    side.setCard_border_style(QStringLiteral("S"));
    side.setCard_fill_chk(false);
    side.setCard_fill_style(QStringLiteral("S"));
    side.setCard_fill_clr(Qt::white);
    side.setCard_fill_Grd_1_clr(Qt::white);
    side.setCard_fill_Grd_2_clr(Qt::white);
    side.setCard_grad_Stepper(0);
    side.setCard_hatch_style(QStringLiteral(""));
    side.setCard_hatch_bk_clr(Qt::white);
    side.setCard_alpha_Stepper(1.0f);
    side.setCard_Side(QStringLiteral("2"));
    side.setCard_Side_Name(QStringLiteral("F"));
    side.setCard_Shape(QStringLiteral("R"));
    side.setCard_Name(QStringLiteral("Untitled"));
    side.setCard_Location(QPointF());
    side.setCard_Size(QSizeF(0, 0));
    side.setCard_Preset(QStringLiteral("Horizontal"));
    side.setCard_Category(QStringLiteral("PVC Card"));
    side.setCard_Sub_Category(QStringLiteral("CR80-Credit Card Size"));
    side.setCard_Cat_index(0);
    side.setCard_Create_Mode(QStringLiteral("W"));
    side.setCard_Content_clr(Qt::black);
    side.setCard_Content_font(font);
    side.setCard_BG_Image_Path(QStringLiteral(""));
    side.setCard_BG_Image_Layout(QStringLiteral("Stretch"));
    return side;
}

} // namespace

using NewCardTest = EditorWindowTest;

TEST_F(NewCardTest, ResetGivesBothSidesTheNewCardValuesAndEmptiesTheirCanvases)
{
    // A design in the middle of being edited.
    window->Front_card_Prop.setCard_fill_chk(true);
    window->Front_card_Prop.setCard_Name(QStringLiteral("Party"));
    window->Front_card_Prop.setCard_BG_Image(QImage(4, 4, QImage::Format_ARGB32));
    window->Back_card_Prop.setCard_Side_Name(QStringLiteral("B"));
    window->Back_card_Prop.setCard_alpha_Stepper(0.25f);
    window->_graphicView->createGraphicOfClass(QStringLiteral("Shape_Control"), nullptr, true, QRectF(5, 5, 20, 20),
        QStringLiteral("F"), QString(), QStringLiteral("X"));
    ASSERT_TRUE(document.undoManager().canUndo());
    addShape(QRectF(1, 1, 5, 5), TSLDocumentGraphicsKey_back);
    const TSLGraphicPtr scratch = addShape(QRectF(1, 1, 5, 5), TSLDocumentGraphicsKey_temp);
    window->_grid->setAlwaysShown(true);
    last_ctrl_X = last_ctrl_Y = 90;
    Fill_User_Profile = true;
    Project_File_Name = QStringLiteral("/somewhere/party.dcard");
    window->All_Text_font = QFont(QStringLiteral("DejaVu Sans"), 30);
    window->All_Text_clr = Qt::red;
    window->bindingTable.setValueColumnTitles({ QStringLiteral("#"), QStringLiteral("Name") });
    Excel_Source_Path = QStringLiteral("/data/guests.xlsx");
    window->Select_back_side();

    window->New_Project_Setting_Reset();

    const QFont defaultFont = fontForPostScriptName(Text_Ctrl_Font, 14.0);
    EXPECT_EQ(window->All_Text_font, defaultFont);
    EXPECT_EQ(window->All_Text_clr, QColor(Qt::black));
    EXPECT_FALSE(window->All_Text_font_COPY.has_value());
    EXPECT_TRUE(window->All_Text_font_value_COPY.isEmpty());
    EXPECT_TRUE(window->All_Text_font_value->text().endsWith(QStringLiteral(" ( 14.00 )")))
        << window->All_Text_font_value->text().toStdString();
    EXPECT_EQ(window->Front_card_Prop, expectedNewCard(defaultFont));
    EXPECT_EQ(window->Back_card_Prop, expectedNewCard(defaultFont));
    EXPECT_TRUE(window->Front_card_Prop.Card_BG_Image().isNull());

    EXPECT_EQ(window->Get_Front_Control_Count(), 0);
    EXPECT_EQ(window->Get_Back_Control_Count(), 0);
    ASSERT_EQ(document.graphics_temp().size(), 1u) << "the scratch side keeps its items";
    EXPECT_EQ(document.graphics_temp()[0], scratch);
    EXPECT_FALSE(document.undoManager().canUndo());
    EXPECT_FALSE(document.undoManager().canRedo());
    EXPECT_TRUE(document.undoManager().isUndoRegistrationEnabled());
    EXPECT_FALSE(window->_grid->isAlwaysShown());
    EXPECT_EQ(last_ctrl_X, 10.0f);
    EXPECT_EQ(last_ctrl_Y, 10.0f);
    EXPECT_FALSE(Fill_User_Profile);
    EXPECT_TRUE(Project_File_Name.isEmpty());
    EXPECT_EQ(window->windowTitle(), window->App_Name + QStringLiteral("[*]"));
    EXPECT_EQ(Card_Front_Or_Back, 0);
    EXPECT_FALSE(Not_Draw_Only_Prop_Change);
    // The spreadsheet binding belongs to the data, not to the card: it stays for the next design.
    EXPECT_EQ(window->bindingTable.columnTitles(), (QStringList { QStringLiteral("#"), QStringLiteral("Name") }));
    EXPECT_EQ(Excel_Source_Path, QStringLiteral("/data/guests.xlsx"));
}

TEST_F(NewCardTest, ResetCardSavesItsNewCardValues)
{
    window->New_Project_Setting_Reset();
    const QString path = testsupport::makeTempFolder(QStringLiteral("new-card")) + QStringLiteral("/new.dcard");
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(false, false), TSLWindowController::SaveResult::Saved);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto root = platform::PropertyList::fromBytes(file.readAll());
    ASSERT_TRUE(root && root->isArray());
    const platform::PlistArray& e = root->toArray();
    ASSERT_EQ(e.size(), 63u);
    for (int base : { 0, 28 }) {
        EXPECT_EQ(e[base + 1].toString(), QStringLiteral("Y")) << base; // border on
        EXPECT_EQ(e[base + 5].toString(), QStringLiteral("N")) << base; // fill off
        EXPECT_EQ(e[base + 13].toString(), QStringLiteral("1.00")) << base; // opacity
        EXPECT_EQ(e[base + 15].toString(), QStringLiteral("F")) << base; // side name, the back's too
        EXPECT_EQ(e[base + 18].toString(), QStringLiteral("{0, 0}")) << base; // location
        EXPECT_EQ(e[base + 19].toString(), QStringLiteral("{0, 0}")) << base; // size
    }
    EXPECT_EQ(e[61].toString(), QStringLiteral("0"));
    EXPECT_EQ(e[62].toString(), QStringLiteral("0"));
}

TEST_F(NewCardTest, ResetClearsOnlyOurOwnItemsFromTheClipboard)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* items = new QMimeData;
    items->setData(TSLGraphicViewPasteboardType, QByteArray("copied card items"));
    clipboard->setMimeData(items);
    ASSERT_TRUE(clipboardHoldsOurItems());
    window->New_Project_Setting_Reset();
    EXPECT_FALSE(clipboardHoldsOurItems());

    clipboard->setText(QStringLiteral("a line the user copied elsewhere"));
    window->New_Project_Setting_Reset();
    EXPECT_EQ(clipboard->text(), QStringLiteral("a line the user copied elsewhere"));
}

TEST_F(NewCardTest, CardHolderRecordsAreResetWhenMadeAndOnNewAndOpen)
{
    // Made: all three records carry the profile control IDs and no values.
    for (const User_Profile_Class* profile :
        { &window->Front_user_profile, &window->Back_user_profile, &window->TEMP_user_profile }) {
        EXPECT_EQ(profile->Name_id, QStringLiteral("Fup_Name"));
        EXPECT_EQ(profile->image_id, QStringLiteral("Fup_Photo"));
        EXPECT_EQ(profile->Name, QStringLiteral(""));
    }

    auto fill = [this] {
        for (User_Profile_Class* profile :
            { &window->Front_user_profile, &window->Back_user_profile, &window->TEMP_user_profile }) {
            profile->Name = QStringLiteral("Ada");
            profile->slogan_ds = true;
            profile->slogan_ds_name = QStringLiteral("Guests");
            profile->Fill_User_Profile_Enable = true;
        }
    };
    auto expectReset = [](const User_Profile_Class& profile, const char* what) {
        EXPECT_EQ(profile.Name, QStringLiteral("")) << what;
        EXPECT_FALSE(profile.slogan_ds) << what;
        EXPECT_EQ(profile.slogan_ds_name, QStringLiteral("")) << what;
        EXPECT_FALSE(profile.Fill_User_Profile_Enable) << what;
        EXPECT_EQ(profile.Name_id, QStringLiteral("Fup_Name")) << what;
    };

    // New: front and back start over; the scratch record keeps its last preview.
    fill();
    window->New_Project_Setting_Reset();
    expectReset(window->Front_user_profile, "front after New");
    expectReset(window->Back_user_profile, "back after New");
    EXPECT_EQ(window->TEMP_user_profile.Name, QStringLiteral("Ada"));

    // Open: a design file read whole resets them the same way.
    const QString path = testsupport::makeTempFolder(QStringLiteral("profiles")) + QStringLiteral("/card.dcard");
    ASSERT_TRUE(writeDesignFile(path, encodeDesignFile(DesignFileContent())));
    fill();
    ASSERT_EQ(window->Read_and_load_design_Log(path, QStringLiteral("L")), 1);
    expectReset(window->Front_user_profile, "front after Open");
    expectReset(window->Back_user_profile, "back after Open");
    EXPECT_EQ(window->TEMP_user_profile.Name, QStringLiteral("Ada"));
}
