// The card-holder forms opened from the editor, and what they ask of it.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLRenderingView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Editor_Globals.h"
#include "model/TSLDocument.h"
#include "data/Import_Excel.h"
#include "platform/UndoManager.h"
#include "profiles/Profile_Form.h"

#include <numeric>

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
    // Opened from a wizard: the form shows the card's profile, and what it confirms waits for the wizard's
    // own OK, so that the wizard's Cancel, or a design the person left, keeps everything as it was.
    dropPendingProfile();
    const ProfileState kept = profileState();
    const int code = Open_User_Profile_Window(true, QString());
    if (code == 1)
        pendingProfile_ = profileState();
    putProfileState(kept, true);
    return code;
}

void TSLWindowController::placePendingProfile(bool sameDesign)
{
    if (!pendingProfile_)
        return;
    const ProfileState pending = *pendingProfile_;
    pendingProfile_.reset();
    putProfileState(pending, sameDesign);
    placeProfileOnEditedSide();
    Refresh_Canvas();
}

TSLWindowController::ProfileState TSLWindowController::profileState() const
{
    return { Front_user_profile, Back_user_profile, Fill_User_Profile, Excel_Source_Path, Excel_Binding_Use };
}

void TSLWindowController::putProfileState(const ProfileState& state, bool withSpreadsheet)
{
    Front_user_profile = state.front;
    Back_user_profile = state.back;
    Fill_User_Profile = state.fill;
    if (withSpreadsheet) {
        Excel_Source_Path = state.excelPath;
        Excel_Binding_Use = state.excelUse;
    }
}

void TSLWindowController::placeProfileOnEditedSide()
{
    const int side = Card_Front_Or_Back != 0 ? 1 : 0;
    const SideItems before = sideItems(side);
    // The form's fields are placed, refilled or hidden one by one; the person sees one change.
    if (document_)
        document_->Enable_Disable_Undo_Registraion(false);
    if (side != 0)
        Fill_User_profile_info_back_side();
    else
        Fill_User_profile_info_front_side();
    if (document_)
        document_->Enable_Disable_Undo_Registraion(true);
    const SideItems after = sideItems(side);
    if (after.items != before.items
        || TSLGraphic::pasteboardDataWithGraphics(after.states)
            != TSLGraphic::pasteboardDataWithGraphics(before.states))
        registerProfileUndo(side, before);
}

TSLWindowController::SideItems TSLWindowController::sideItems(int side) const
{
    SideItems taken { profileSideItems(side != 0), {} };
    for (const TSLGraphicPtr& item : taken.items)
        taken.states.push_back(item->detachedCopy());
    return taken;
}

void TSLWindowController::putSideItems(int side, const SideItems& taken)
{
    if (!document_)
        return;
    const QString key = sideKeys().value(side);
    document_->Enable_Disable_Undo_Registraion(false);
    std::vector<int> all(profileSideItems(side != 0).size());
    std::iota(all.begin(), all.end(), 0);
    document_->removeGraphicsForKey(key, all);
    for (std::size_t i = 0; i < taken.items.size(); ++i) {
        if (taken.states[i])
            taken.items[i]->takeStateOf(*taken.states[i]);
    }
    std::vector<int> places(taken.items.size());
    std::iota(places.begin(), places.end(), 0);
    document_->insertGraphicsForKey(key, taken.items, places);
    document_->Enable_Disable_Undo_Registraion(true);
}

void TSLWindowController::registerProfileUndo(int side, const SideItems& before)
{
    if (!document_)
        return;
    platform::UndoManager& undo = document_->undoManagerForKey(sideKeys().value(side));
    undo.registerUndo([this, side, before] {
        const SideItems now = sideItems(side);
        putSideItems(side, before);
        // Undoing it again is the redo.
        registerProfileUndo(side, now);
        Refresh_Canvas();
    });
    undo.setActionName(QStringLiteral("Card Holder"));
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
    const Spreadsheet_Binding_Table old = bindingTable;
    if (picker->Open_excel_Wnd(path) != 1)
        return false;
    Refresh_Excel_Binding_Source(path, old);
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
