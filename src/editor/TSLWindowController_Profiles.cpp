// The card-holder forms opened from the editor, and what they ask of it.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLRenderingView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Editor_Globals.h"
#include "model/TSLDocument.h"
#include "data/Import_Excel.h"
#include "profiles/Profile_Form.h"

int TSLWindowController::Open_User_Profile_Window(bool load, const QString& side)
{
    Profile_Form::setHost(this);
    const QString trimmed = Trim_Str(side);
    Profile_Form* form = trimmed.isEmpty() ? static_cast<Profile_Form*>(User_profile::defaultInstance())
                                           : static_cast<Profile_Form*>(Show_User_Profile::defaultInstance());
    form->load_side = trimmed;
    const int code = form->Open_Wnd(load);
    if (code == 1)
        Fill_User_Profile = true;
    return code;
}

void TSLWindowController::User_Profile_Button_Clicked()
{
    const bool back = Card_Front_Or_Back != 0;
    if (Open_User_Profile_Window(true, back ? QStringLiteral("B") : QStringLiteral("F")) == 1)
        placeProfileOnEditedSide();
    Refresh_Canvas();
}

int TSLWindowController::openProfileWithoutSide()
{
    const int code = Open_User_Profile_Window(false, QString());
    if (code == 1) {
        placeProfileOnEditedSide();
        Refresh_Canvas();
    }
    return code;
}

void TSLWindowController::placeProfileOnEditedSide()
{
    if (Card_Front_Or_Back != 0)
        Fill_User_profile_info_back_side();
    else
        Fill_User_profile_info_front_side();
}

TSLGraphicList TSLWindowController::profileSideItems(bool back) const
{
    return back ? Get_Back_Controls_Array() : Get_Front_Controls_Array();
}

User_Profile_Class& TSLWindowController::profileRecord(int which)
{
    switch (which) {
    case 0:
        return Front_user_profile;
    case 1:
        return Back_user_profile;
    default:
        return TEMP_user_profile;
    }
}

int TSLWindowController::spreadsheetRowCount() const
{
    return bindingTable.rowCount();
}

QString TSLWindowController::firstValueOfColumn(int column) const
{
    return Get_First_Value_Of_Excel_Binding(column);
}

QString TSLWindowController::excelSourcePath() const
{
    return Excel_Source_Path;
}

void TSLWindowController::setExcelSourcePath(const QString& path)
{
    Excel_Source_Path = path;
}

void TSLWindowController::setExcelBindingUse(bool use)
{
    Excel_Binding_Use = use;
}

QImage TSLWindowController::renderProfileItems(const TSLGraphicList& items) const
{
    return TSLRenderingView::image_From_Card_Graphics(items, false, TSLRenderingSide::currentSide());
}

QImage TSLWindowController::previewProfile()
{
    if (!document_)
        return QImage();
    // The scratch side gets copies of the current side's items: the preview may fill, show and hide
    // profile items there, and Cancel must leave the card exactly as it was.
    const float keptX = last_ctrl_X;
    const float keptY = last_ctrl_Y;
    const int keptTool = Selected_Control_Tool_;
    const QString keptPicture = Library_Selected_Image;
    copyEditedSideToScratch();
    document_->Enable_Disable_Undo_Registraion(false);
    Fill_User_profile_info_TEMP_side();
    document_->Enable_Disable_Undo_Registraion(true);
    last_ctrl_X = keptX;
    last_ctrl_Y = keptY;
    Selected_Control_Tool_ = keptTool;
    Library_Selected_Image = keptPicture;
    _graphicView_TEMP->update();
    return renderProfileItems(Get_Temp_Controls_Array());
}

bool TSLWindowController::loadSpreadsheetForProfile(const QString& path)
{
    Delete_Excel_File_Temp_Folder();
    if (Check_And_Validate_File_Path(path) != 0)
        return false;
    Import_Excel* picker = Import_Excel::defaultInstance();
    picker->open_mode = QStringLiteral("E");
    if (picker->Open_excel_Wnd(path) != 1)
        return false;
    Refresh_Excel_Binding_Source(path);
    return true;
}

void TSLWindowController::viewSeries(const QString& name)
{
    showSeriesValues(name);
}

void TSLWindowController::openSeriesManager()
{
    Batch_Series_Button();
}

void TSLWindowController::viewBindingTable()
{
    Open_Excel_Binding_Table();
}
