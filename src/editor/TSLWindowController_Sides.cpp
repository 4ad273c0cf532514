// The front, back and scratch sides: which one is edited, the item lists other windows reach, the
// cascade that places new items, and the start screen shown at start-up and for a new card.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Editor_Globals.h"
#include "model/TSLDocument.h"
#include "profiles/Invitation_Wizard.h"
#include "profiles/Profiles_Globals.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

#include <exception>
#include <utility>

namespace {

const TSLGraphicList noItems;

} // namespace

TSLGraphicView* TSLWindowController::currentGraphicView() const
{
    return Card_Front_Or_Back != 0 ? _graphicView_BACK : _graphicView;
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
    Front_back_label->show();
    Front_Card_btn->setChecked(true);
    Card_Front_Or_Back = 0;
    changeViewController(0);
    Show_RHS_Properties(nullptr);
}

void TSLWindowController::Select_back_side()
{
    Front_back_label->setText(QStringLiteral("Back"));
    Front_back_label->show();
    Back_Side_btn->setChecked(true);
    Card_Front_Or_Back = 1;
    changeViewController(1);
    Show_RHS_Properties(nullptr);
}

void TSLWindowController::Select_temp_design_side()
{
    // The scratch side shows; commands and the inspector still address the side being edited.
    Front_back_label->setText(QStringLiteral("TEMP"));
    Front_back_label->show();
    Temp_Card_btn->setChecked(true);
    changeViewController(2);
    Show_RHS_Properties(nullptr);
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
    _graphicView_TEMP->delete_all_control();
    // The very items of the edited side, not copies: editing them on the scratch side edits the card.
    const TSLGraphicList items = Card_Front_Or_Back != 0 ? Get_Back_Controls_Array() : Get_Front_Controls_Array();
    std::vector<int> indexes(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        indexes[i] = int(i);
    _graphicView_TEMP->insertGraphics(items, indexes);
    _graphicView_TEMP->update();
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
    if (runStartScreen() != 1) {
        endProcess(0);
        return;
    }
    if (Start_Card_Option == QLatin1String("W")) {
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
    }
    // "L": the design was opened from the start screen already.
    Front_back_label->show();
}
