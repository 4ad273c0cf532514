// Putting the main window, both card-side records and both canvases back to a new card's values.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLGrid.h"
#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "editor/Editor_Globals.h"
#include "model/TSLDocument.h"

#include <QLabel>

#include <exception>

namespace {

// The values of a new card, the same for both sides. They differ from a freshly made record in the
// border, which is on.
void resetToNewCard(Card_Property& side, const QColor& contentColor, const QFont& contentFont)
{
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
    side.setCard_Location(QPointF(0, 0));
    side.setCard_Size(QSizeF(0, 0));
    side.setCard_Preset(QStringLiteral("Horizontal"));
    side.setCard_Category(QStringLiteral("PVC Card"));
    side.setCard_Sub_Category(QStringLiteral("CR80-Credit Card Size"));
    side.setCard_Cat_index(0);
    side.setCard_Create_Mode(QStringLiteral("W"));
    side.setCard_Content_clr(contentColor);
    side.setCard_Content_font(contentFont);
    side.setCard_BG_Image(QImage());
    side.setCard_BG_Image_Path(QStringLiteral(""));
    side.setCard_BG_Image_Layout(QStringLiteral("Stretch"));
}

} // namespace

void TSLWindowController::New_Project_Setting_Reset()
{
    Not_Draw_Only_Prop_Change = true;
    // Only our own items leave the clipboard: what the user copied in other programs stays.
    clearClipboardIfItHoldsOurItems();
    Check_Path_And_Create_Files();
    _grid->setAlwaysShown(false);
    last_ctrl_X = last_ctrl_Y = 10.0f;
    Fill_User_Profile = false;
    // A new or opened design starts without the previous card holder; the scratch side's record keeps
    // its last preview.
    Front_user_profile.Reset_All_Values();
    Back_user_profile.Reset_All_Values();
    Project_File_Name.clear();
    designClaim_.release();

    All_Text_font = fontForPostScriptName(Text_Ctrl_Font, 14.0);
    All_Text_font_value->setText(fontValueText(All_Text_font));
    All_Text_clr = Qt::black;
    showTextColorInWell();
    All_Text_font_value_COPY.clear();
    All_Text_font_COPY.reset();
    All_Text_clr_COPY = All_Text_clr;

    resetToNewCard(Front_card_Prop, All_Text_clr, All_Text_font);
    resetToNewCard(Back_card_Prop, All_Text_clr, All_Text_font);

    Select_front_side();
    card_prop_set(QStringLiteral("S"));
    Set_Log_Name_In_Title();
    _graphicView->delete_all_control();
    _graphicView_BACK->delete_all_control();
    // After the sides are emptied: the old design's items are no step of the new one on either side.
    if (document_) {
        document_->Clear_All_Undo_Redo();
        document_->setDesignIdentity(TSLDocument::newDesignIdentity()); // another design from here on
    }
    markDesignSaved();
    Not_Draw_Only_Prop_Change = false;
}

void TSLWindowController::New_Project()
{
    try {
        New_Project_Setting_Reset();
        Show_RHS_Properties(nullptr);
        Refresh_Canvas();
        Open_Start_Window();
        Undo_Redo_Button_state();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    Not_Draw_Only_Prop_Change = false;
}
