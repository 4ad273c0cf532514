// The front, back and scratch sides: which one is edited, the item lists other windows reach, the
// cascade that places new items, and the start screen shown at start-up and for a new card.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Editor_Globals.h"
#include "model/TSLDocument.h"
#include "platform/KeyedArchive.h"
#include "platform/UndoManager.h"
#include "profiles/Invitation_Wizard.h"
#include "profiles/Profiles_Globals.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include <exception>
#include <utility>

namespace {

const TSLGraphicList noItems;

} // namespace

TSLGraphicView* TSLWindowController::currentGraphicView() const
{
    if (myTargetView && temp_design_view && myTargetView->currentWidget() == temp_design_view)
        return _graphicView_TEMP;
    return Card_Front_Or_Back != 0 ? _graphicView_BACK : _graphicView;
}

int TSLWindowController::shownSide() const
{
    if (currentGraphicView() == _graphicView_TEMP && _graphicView_TEMP)
        return 2;
    return Card_Front_Or_Back != 0 ? 1 : 0;
}

Card_Property& TSLWindowController::sideRecord(int side)
{
    return side == 2 ? Temp_card_Prop : side == 1 ? Back_card_Prop : Front_card_Prop;
}

QStringList TSLWindowController::sideKeys()
{
    return { TSLDocumentGraphicsKey, TSLDocumentGraphicsKey_back, TSLDocumentGraphicsKey_temp };
}

TSLGraphicList TSLWindowController::itemsForWriteBack() const
{
    if (Not_Draw_Only_Prop_Change)
        return {};
    const TSLGraphicView* canvas = currentGraphicView();
    return canvas ? canvas->selectedGraphics() : TSLGraphicList();
}

void TSLWindowController::Select_front_side()
{
    Front_back_label->setText(QStringLiteral("Front"));
    Front_back_label->setToolTip(QString());
    Front_back_label->show();
    Front_Card_btn->setChecked(true);
    Card_Front_Or_Back = 0;
    changeViewController(0);
    Show_RHS_Properties(nullptr);
    Undo_Redo_Button_state();
}

void TSLWindowController::Select_back_side()
{
    Front_back_label->setText(QStringLiteral("Back"));
    Front_back_label->setToolTip(QString());
    Front_back_label->show();
    Back_Side_btn->setChecked(true);
    Card_Front_Or_Back = 1;
    changeViewController(1);
    Show_RHS_Properties(nullptr);
    Undo_Redo_Button_state();
}

void TSLWindowController::Select_temp_design_side()
{
    // The scratch side shows copies; commands, tools and the inspector act on it, never on a printable side.
    // It is a preview of the side being edited, refilled from it at every visit, and says so.
    Front_back_label->setText(
        Card_Front_Or_Back != 0 ? QStringLiteral("Preview of the Back") : QStringLiteral("Preview of the Front"));
    Front_back_label->setToolTip(QStringLiteral("Filled again from the side being edited at every visit: what you "
                                                "add or change here is not kept."));
    Front_back_label->show();
    Temp_Card_btn->setChecked(true);
    changeViewController(2);
    Show_RHS_Properties(nullptr);
    Undo_Redo_Button_state();
}

void TSLWindowController::Temp_Card_Btn_Clicked()
{
    Select_temp_design_side();
    Temp_Design_Control_Assign();
}

void TSLWindowController::Temp_Design_Control_Assign()
{
    if (!document_)
        return;
    scratchNoteShown_ = true; // the refill itself is no addition
    copyEditedSideToScratch();
    Temp_card_Prop = sideRecord(Card_Front_Or_Back != 0 ? 1 : 0);
    Show_RHS_Properties(nullptr);
    // What was tried on the scratch side before is gone with its items.
    document_->undoManagerForKey(TSLDocumentGraphicsKey_temp).removeAllActions();
    scratchItemsAtVisit_ = document_->graphics_temp().size();
    scratchNoteShown_ = false;
    _graphicView_TEMP->update();
}

void TSLWindowController::noteScratchAddition(const QString& key)
{
    // The refill at the next visit is no surprise: the first item added here says that it is not kept.
    if (key != TSLDocumentGraphicsKey_temp || scratchNoteShown_ || !document_
        || document_->graphics_temp().size() <= scratchItemsAtVisit_)
        return;
    scratchNoteShown_ = true;
    statusBar()->showMessage(QStringLiteral("The preview is not kept: it is filled again from the side being "
                                            "edited at the next visit."));
}

void TSLWindowController::copyEditedSideToScratch()
{
    // Copies with every archived value, never the card's own items: whatever is tried on the scratch side
    // leaves the printable sides as they are.
    const TSLGraphicList& side = Card_Front_Or_Back != 0 ? Get_Back_Controls_Array() : Get_Front_Controls_Array();
    TSLGraphicList copies;
    std::vector<int> indexes;
    for (const TSLGraphicPtr& item : side) {
        platform::KeyedArchive archive;
        item->encodeWithCoder(archive);
        if (TSLGraphicPtr copy = TSLGraphic::initWithCoder(archive)) {
            indexes.push_back(int(copies.size()));
            copies.push_back(copy);
        }
    }
    TSLGraphic::restoreDerivedStateOfGraphics(copies);
    document_->Enable_Disable_Undo_Registraion(false);
    _graphicView_TEMP->delete_all_control();
    _graphicView_TEMP->insertGraphics(copies, indexes);
    document_->Enable_Disable_Undo_Registraion(true);
}

const TSLGraphicList& TSLWindowController::Get_Front_Controls_Array() const
{
    return document_ ? document_->graphics() : noItems;
}

const TSLGraphicList& TSLWindowController::Get_Back_Controls_Array() const
{
    return document_ ? document_->graphics_back() : noItems;
}

TSLGraphicList TSLWindowController::Get_Temp_Controls_Array() const
{
    return document_ ? document_->graphics_temp() : TSLGraphicList();
}

qint32 TSLWindowController::Get_Front_Control_Count() const
{
    return qint32(Get_Front_Controls_Array().size());
}

qint32 TSLWindowController::Get_Back_Control_Count() const
{
    return qint32(Get_Back_Controls_Array().size());
}

QPointF TSLWindowController::Control_New_Point(const QString& side)
{
    try {
        float step = float(side == QLatin1String("F") ? Get_Front_Control_Count() : Get_Back_Control_Count());
        if (step < 20)
            step = 20;
        float x = last_ctrl_X + step;
        float y = last_ctrl_Y + step;
        const QRectF bounds = frontCanvasBounds();
        if (x >= bounds.width() || x + 50 >= bounds.width()) {
            x = 10;
            last_ctrl_X = 10;
        }
        if (y >= bounds.height() || y + 50 >= bounds.height()) {
            y = 10;
            last_ctrl_Y = 10;
        }
        last_ctrl_X = x;
        last_ctrl_Y = y;
        return QPointF(x, y);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return QPointF(10, 10);
    }
}

void TSLWindowController::Show_Hide_Ruler_ChkBox()
{
    const bool show = Show_Ruler_chk->isChecked();
    for (TSLGraphicView* canvas : { _graphicView, _graphicView_BACK, _graphicView_TEMP })
        canvas->setRulersVisible(show);
}


int TSLWindowController::runStartScreen()
{
    Invitation_Wizard* wizard = Invitation_Wizard::defaultInstance();
    wizard->setHost(this);
    return wizard->Open_Wnd(std::exchange(startAtWizard_, false));
}

void TSLWindowController::Open_Start_Window()
{
    Front_back_label->hide();
    const int code = runStartScreen();
    if (!goOnAfterStartScreen(code))
        return;
    if (code == 1 && Start_Card_Option == QLatin1String("W"))
        placeWizardCard();
    // "L": the design was opened from the start screen already.
    Front_back_label->show();
}

void TSLWindowController::startCardWithWizard()
{
    if (!Save_Changes_Before(QStringLiteral("Do you want to save changes before opening new document?"), true))
        return;
    startAtWizard_ = true;
    const int code = runStartScreen();
    if (!goOnAfterStartScreen(code))
        return;
    if (code == 1 && Start_Card_Option == QLatin1String("W")) {
        // Only the finished wizard replaces the design; its size is the card's already.
        New_Project_Setting_Reset();
        Show_RHS_Properties(nullptr);
        placeWizardCard();
    }
    Undo_Redo_Button_state();
}

bool TSLWindowController::goOnAfterStartScreen(int code)
{
    // Closing the start screen goes back to the design behind it; Exit ends the program, but never throws
    // away a changed design without asking, as the editor's own Exit does.
    if (code == 1 || code == Invitation_Wizard::kClosed)
        return true;
    if (!Save_Changes_Before(QStringLiteral("Do you want to save changes before closing?"), false))
        return true;
    endProcess(0);
    return false;
}

void TSLWindowController::placeWizardCard()
{
    if (document_)
        document_->Enable_Disable_Undo_Registraion(false);
    Update_Card_Graphics();
    myTargetView->show();
    sett_tab->show();
    if (QAbstractButton* row = matrix_card_shape->button(Card_Shape))
        row->setChecked(true);
    Fill_Party_Invidation_Details();
    Show_RHS_Properties(nullptr);
    if (document_)
        document_->Enable_Disable_Undo_Registraion(true);
    // The card the wizard made is a new design nobody has saved yet: leaving it asks first.
    markChangedOutsideUndo();
}
