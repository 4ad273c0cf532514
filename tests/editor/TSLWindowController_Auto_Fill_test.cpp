// The invitation fill lays out only the texts that were given, in its fixed column; the profile fill
// refills the items it made before instead of adding more.
#include "editor/EditorWindowTestSupport.h"
#include "model/TSLText.h"
#include "common/Common_Functions.h"

#include "model/TSLTextStorage.h"

#include <QComboBox>

using editortest::EditorWindowTest;

namespace {

TSLGraphicPtr withID(const TSLGraphicList& items, const QString& id)
{
    for (const TSLGraphicPtr& item : items)
        if (item->control_ID == id)
            return item;
    return nullptr;
}

int countID(const TSLGraphicList& items, const QString& id)
{
    int n = 0;
    for (const TSLGraphicPtr& item : items)
        n += item->control_ID == id ? 1 : 0;
    return n;
}

} // namespace

class AutoFillTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        for (QString* text : { &Invite_Title, &Invite_To, &Invite_Message, &Invite_Date, &Invite_Time, &Invite_Venue,
                 &Invite_From, &Invite_BG_IMG })
            text->clear();
        Fill_User_Profile = false;
    }
    void TearDown() override
    {
        Fill_User_Profile = false;
        EditorWindowTest::TearDown();
    }
    const TSLGraphicList& front() const { return window->Get_Front_Controls_Array(); }
};

TEST_F(AutoFillTest, InvitationPlacesOnlyTheGivenTextsInItsColumn)
{
    window->Front_card_Prop.setCard_Size(QSizeF(300, 400));
    Invite_Title = QStringLiteral("Summer Party");
    Invite_Message = QStringLiteral("Come along!");
    Invite_Time = QStringLiteral("8 pm");
    Invite_From = QStringLiteral("Mia");
    window->Fill_Party_Invidation_Details();

    ASSERT_EQ(front().size(), 4u);
    EXPECT_EQ(withID(front(), QStringLiteral("PARTY_TO")), nullptr);
    EXPECT_EQ(withID(front(), QStringLiteral("PARTY_DATE")), nullptr);
    EXPECT_EQ(withID(front(), QStringLiteral("PARTY_VENUE")), nullptr);

    const TSLGraphicPtr title = withID(front(), QStringLiteral("PARTY_TITLE"));
    const TSLGraphicPtr message = withID(front(), QStringLiteral("PARTY_MSG"));
    const TSLGraphicPtr time = withID(front(), QStringLiteral("PARTY_TIME"));
    const TSLGraphicPtr from = withID(front(), QStringLiteral("PARTY_FROM"));
    ASSERT_TRUE(title && message && time && from);
    // Stacked in the order given, each across the card inside its margin (6% of the shorter side), as tall
    // as its text and on the card.
    const TSLGraphicPtr column[] = { title, message, time, from };
    for (std::size_t i = 0; i < std::size(column); ++i) {
        const QRectF box = column[i]->bounds();
        EXPECT_EQ(box.x(), 18) << i;
        EXPECT_EQ(box.width(), 264) << i;
        EXPECT_TRUE(QRectF(0, 0, 300, 400).contains(box)) << i;
        if (i > 0) {
            EXPECT_GE(box.top(), column[i - 1]->bounds().bottom()) << i;
        }
    }
    EXPECT_EQ(time->Text_contents().string, QStringLiteral("AT 8 pm")); // a time without a date
    EXPECT_EQ(from->Text_contents().string, QStringLiteral("From:\nMia"));
    EXPECT_EQ(window->Selected_Control_Tool(), 2);
}

TEST_F(AutoFillTest, InvitationTextsLieOnEveryCardOfTheSizeListAtALegibleSize)
{
    Invite_Title = QStringLiteral("Summer Party");
    Invite_To = QStringLiteral("Robin");
    Invite_Message = QStringLiteral("Come and celebrate the longest day of the year with us: music, food and "
                                    "friends in the garden until the stars come out.");
    Invite_Date = QStringLiteral("21 June");
    Invite_Time = QStringLiteral("6 pm");
    Invite_Venue = QStringLiteral("The Old Mill, River Lane");
    Invite_From = QStringLiteral("Mia and Tom");
    const int pvc = int(window->plasticCardSizeNames().size());
    for (int row = 0; row < pvc + int(window->labelSizeNames().size()); ++row) {
        for (const QString& orientation : { QStringLiteral("H"), QStringLiteral("V") }) {
            const QSizeF mm = window->cardSizeOf(row < pvc ? QStringLiteral("PVC Card") : QStringLiteral("Label"),
                orientation, row < pvc ? row : row - pvc);
            const QRectF card(QPointF(), mm * kPointsPerMillimetre);
            window->_graphicView->delete_all_control();
            window->Front_card_Prop.setCard_Size(card.size());
            window->Fill_Party_Invidation_Details();
            ASSERT_EQ(front().size(), 6u);
            for (const TSLGraphicPtr& item : front()) {
                const std::string where = QStringLiteral("%1 x %2 mm, %3")
                                              .arg(mm.width())
                                              .arg(mm.height())
                                              .arg(item->control_ID)
                                              .toStdString();
                EXPECT_GE(static_cast<const TSLText&>(*item).displayedFont().pointSizeF(), 6.0 - 1e-9) << where;
                EXPECT_TRUE(card.contains(item->bounds())) << where;
            }
        }
    }
    EXPECT_EQ(withID(front(), QStringLiteral("PARTY_DATE"))->Text_contents().string, QStringLiteral("21 June at 6 pm"));
}

TEST_F(AutoFillTest, ProfileFillReusesTheItemWithTheSameControlID)
{
    window->Front_user_profile.Reset_All_Values();
    window->Front_user_profile.Name = QStringLiteral("Ada Lovelace");
    window->Front_user_profile.Company_name = QStringLiteral("Engines Ltd");

    // Never confirmed since the design began: nothing is placed.
    window->Fill_User_profile_info_front_side();
    EXPECT_TRUE(front().empty());

    Fill_User_Profile = true;
    window->Fill_User_profile_info_front_side();
    ASSERT_EQ(front().size(), 2u);
    const TSLGraphicPtr name = withID(front(), QStringLiteral("Fup_Name"));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->bounds(), window->Get_Control_Rect_From_Template(QStringLiteral("Fup_Name")));
    name->setBounds(QRectF(5, 6, 70, 20)); // the user moved it

    window->Front_user_profile.Name = QStringLiteral("Ada King");
    window->Front_user_profile.Name_ds = true;
    window->Front_user_profile.Name_ds_name = QStringLiteral("Names");
    window->Front_user_profile.Name_ds_indx = 3;
    window->Front_user_profile.Company_name.clear();
    window->Fill_User_profile_info_front_side();

    EXPECT_EQ(countID(front(), QStringLiteral("Fup_Name")), 1);
    EXPECT_EQ(withID(front(), QStringLiteral("Fup_Name")), name);
    EXPECT_EQ(name->Text_contents().string, QStringLiteral("Ada King"));
    EXPECT_EQ(name->bounds(), QRectF(5, 6, 70, 20));
    EXPECT_TRUE(name->ctrl_is_visible);
    EXPECT_EQ(name->data_source_type, 1);
    EXPECT_EQ(name->batch_list_name, QStringLiteral("Names"));
    EXPECT_EQ(name->batch_list_index, 3);
    // A cleared field hides its item and keeps it.
    const TSLGraphicPtr company = withID(front(), QStringLiteral("Fup_Company"));
    ASSERT_TRUE(company);
    EXPECT_FALSE(company->ctrl_is_visible);
    // The back side has its own items.
    EXPECT_TRUE(window->Get_Back_Controls_Array().empty());
}

TEST_F(AutoFillTest, NewProfileItemsTakeThePortraitOrLandscapeFrames)
{
    window->Front_card_Prop.setCard_Size(QSizeF(150, 250));
    const QRectF portrait = window->Get_Control_Rect_From_Template(QStringLiteral("Fup_Photo"));
    window->Front_card_Prop.setCard_Size(QSizeF(200, 200));
    const QRectF square = window->Get_Control_Rect_From_Template(QStringLiteral("Fup_Photo"));
    window->Front_card_Prop.setCard_Size(QSizeF(250, 150));
    EXPECT_EQ(window->Get_Control_Rect_From_Template(QStringLiteral("Fup_Photo")), square);
    EXPECT_NE(portrait, square);
    EXPECT_TRUE(window->Get_Control_Rect_From_Template(QStringLiteral("Nope")).isNull());

    // The spreadsheet choice follows the design's spreadsheet even when nothing is placed.
    Excel_Binding_Use = true;
    window->Fill_User_profile_info_front_side();
    EXPECT_NE(window->Data_source_type->findText(QStringLiteral("Excel")), -1);
    Excel_Binding_Use = false;
    window->Fill_User_profile_info_back_side();
    EXPECT_EQ(window->Data_source_type->findText(QStringLiteral("Excel")), -1);
}
