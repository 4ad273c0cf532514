// Which edit commands the selection allows, the align, size and grid commands of the alignment page, and
// the wiring of the controls this family and the export, data-source and background families own.
#include "editor/TSLWindowController.h"

#include "canvas/Grid_Wizard.h"
#include "canvas/TSLGraphicView.h"
#include "canvas/TSLGrid.h"
#include "common/Common_Functions.h"
#include "editor/TSLWindowController_Forms.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Picture_Browser_View.h"
#include "ui_Grid_Wizard.h"

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QListView>
#include <QMimeData>

void TSLWindowController::connectEditorCommands()
{
    Forms& f = *forms_;
    Ui::Inspector_Alignment& a = f.alignment;
    const struct {
        QPushButton* button;
        void (TSLWindowController::*action)();
    } buttons[] = { { a.Align_Left_btn, &TSLWindowController::Align_Left_Clicked },
        { a.Align_Right_btn, &TSLWindowController::Align_Right_Clicked },
        { a.Align_Top_btn, &TSLWindowController::Align_Top_Clicked },
        { a.Align_Bottom_btn, &TSLWindowController::Align_Bottom_Clicked },
        { a.Align_Horz_btn, &TSLWindowController::Align_Horz_Clicked },
        { a.Align_Vert_btn, &TSLWindowController::Align_Vert_Clicked },
        { a.Align_Center_btn, &TSLWindowController::Align_Center_Clicked },
        { a.Make_Natural_btn, &TSLWindowController::Make_Natural_Clicked },
        { a.Make_Same_Width_btn, &TSLWindowController::Make_Same_Width_Clicked },
        { a.Make_Same_Height_btn, &TSLWindowController::Make_Same_Height_Clicked },
        { a.Align_To_Grid_btn, &TSLWindowController::Align_To_Grid_Clicked },
        { a.Grid_Options_btn, &TSLWindowController::toggleGridShowing } };
    for (const auto& entry : buttons)
        connect(entry.button, &QPushButton::clicked, this, entry.action);
    connect(a.Snap_to_grid_chk, &QCheckBox::clicked, this, &TSLWindowController::toggleGridConstraining);
    Print_object_chk = a.Print_object_chk;
    connect(Print_object_chk, &QCheckBox::clicked, this, &TSLWindowController::Print_object_chk_changed);
    // Enabled with the menu's align-to-grid entry (validateMainMenu): a usable grid and a selection. The
    // grid not being shown is answered by the button's own message.

    Grid_Wizard* grid = Grid_Wizard::defaultInstance();
    connect(grid, &Grid_Wizard::colorWellChanged, this, &TSLWindowController::Grid_Clr_Changed);
    connect(grid->form().Grid_Space_slidr, &QSlider::valueChanged, this, &TSLWindowController::Grid_Slider_Changed);
    connect(grid->form().Show_hide_grid_chk, &QCheckBox::clicked, this, &TSLWindowController::Grid_Show_Hide_Changed);

    // Data source page.
    Ui::Inspector_Data_Source& d = f.dataSource;
    Batch_Series = d.Batch_Series;
    view_series_btn = d.view_series_btn;
    manual_brws_box = d.manual_brws_box;
    Manual_image_path = d.Manual_image_path;
    connect(Data_source_type, &QComboBox::currentIndexChanged, this,
        [this] { comboBoxSelectionDidChange(Data_source_type); });
    connect(Batch_Series, &QComboBox::currentIndexChanged, this, [this] { comboBoxSelectionDidChange(Batch_Series); });
    connect(d.data_source_help_btn, &QPushButton::clicked, this, &TSLWindowController::Data_Source_Help_Button);

    // Export, printing and e-mail.
    connect(Export_btn, &QAction::triggered, this, &TSLWindowController::Export_Button);
    connect(Print_btn, &QAction::triggered, this, &TSLWindowController::Print_Button);
    connect(Mail_btn, &QAction::triggered, this, &TSLWindowController::Mail_Button);

    // Background pictures, in a dock beside the canvas.
    images = new Browser_Picture_Model(this);
    auto* dock = new QDockWidget(QStringLiteral("Backgrounds"), this);
    dock->setObjectName(QStringLiteral("backgroundDock"));
    // The browser view hands a drag within it to the model, so dragging a picture reorders the list.
    imageBrowser = new Picture_Browser_View(dock);
    imageBrowser->setObjectName(QStringLiteral("imageBrowser"));
    imageBrowser->setIconSize(Browser_Picture_Model::thumbnailSize() * 0.6);
    imageBrowser->setGridSize(QSize());
    imageBrowser->setModel(images);
    imageBrowser->setMaximumHeight(130);
    dock->setWidget(imageBrowser);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    // Only a person's choice sets the background: moving the current item (focus, tabbing, the model
    // being filled) does not.
    connect(imageBrowser, &QListView::clicked, this,
        [this](const QModelIndex& picked) { imageBrowserSelectionDidChange(picked.row()); });
    connect(imageBrowser, &QListView::activated, this,
        [this](const QModelIndex& picked) { imageBrowserSelectionDidChange(picked.row()); });
}

// --- Edit-command states ---

void TSLWindowController::Set_Paste_Button_Status()
{
    // File names alone never enable Paste: only our own items do.
    const QMimeData* data = QApplication::clipboard()->mimeData();
    Paste_btn->setEnabled(!pasteboardTypeOfOurItems(data).isEmpty());
}

void TSLWindowController::Enable_Standard_Button_For_Control()
{
    Undo_Redo_Button_state();
    for (QAction* on : { Cut_btn, Copy_btn, Delete_btn, Begin_Front_btn, Send_Back_btn, Lock_btn })
        on->setEnabled(true);
    Set_Paste_Button_Status();
    Unlock_btn->setEnabled(false);
}

void TSLWindowController::Enable_Standard_Button_For_Unlock()
{
    Enable_Standard_Button_For_Control();
}

void TSLWindowController::Disable_Standard_Button_For_Card()
{
    for (QAction* off : { Cut_btn, Copy_btn, Delete_btn, Begin_Front_btn, Send_Back_btn, Lock_btn, Unlock_btn })
        off->setEnabled(false);
    Set_Paste_Button_Status();
}

void TSLWindowController::Disable_Standard_Button_For_Lock()
{
    for (QAction* off : { Cut_btn, Copy_btn, Paste_btn, Delete_btn, Begin_Front_btn, Send_Back_btn, Lock_btn })
        off->setEnabled(false);
    Unlock_btn->setEnabled(true);
}

// --- Alignment page ---

void TSLWindowController::Print_object_chk_changed()
{
    currentGraphicView()->print_contol_or_not(Print_object_chk->isChecked() ? 1 : 0);
}

void TSLWindowController::Align_Center_Clicked()
{
    currentGraphicView()->alignformCenter();
    Refresh_Canvas();
}

void TSLWindowController::Align_Left_Clicked()
{
    currentGraphicView()->alignLeftEdges();
    Refresh_Canvas();
}

void TSLWindowController::Align_Right_Clicked()
{
    currentGraphicView()->alignRightEdges();
    Refresh_Canvas();
}

void TSLWindowController::Align_Top_Clicked()
{
    currentGraphicView()->alignTopEdges();
    Refresh_Canvas();
}

void TSLWindowController::Align_Bottom_Clicked()
{
    currentGraphicView()->alignBottomEdges();
    Refresh_Canvas();
}

void TSLWindowController::Align_Horz_Clicked()
{
    currentGraphicView()->alignHorizontalCenters();
    Refresh_Canvas();
}

void TSLWindowController::Align_Vert_Clicked()
{
    currentGraphicView()->alignVerticalCenters();
    Refresh_Canvas();
}

void TSLWindowController::Make_Same_Width_Clicked()
{
    TSLGraphicView* canvas = currentGraphicView();
    if (canvas->selectedGraphics().size() < 2) {
        Show_MessageBox(QStringLiteral("Please select more than one control."));
        return;
    }
    canvas->makeSameWidth();
    Refresh_Canvas();
}

void TSLWindowController::Make_Same_Height_Clicked()
{
    TSLGraphicView* canvas = currentGraphicView();
    if (canvas->selectedGraphics().size() < 2) {
        Show_MessageBox(QStringLiteral("Please select more than one control."));
        return;
    }
    canvas->makeSameHeight();
    Refresh_Canvas();
}

void TSLWindowController::Make_Natural_Clicked()
{
    currentGraphicView()->makeNaturalSize();
    Refresh_Canvas();
}

void TSLWindowController::Align_To_Grid_Clicked()
{
    if (!_grid->isAlwaysShown()) {
        Show_MessageBox(QStringLiteral("Please use grid option first."));
        return;
    }
    currentGraphicView()->alignWithGrid();
    Refresh_Canvas();
}

// --- Grid ---

void TSLWindowController::toggleGridConstraining()
{
    _grid->setConstraining(!_grid->isConstraining());
}

void TSLWindowController::toggleGridShowing()
{
    Grid_Wizard* window = Grid_Wizard::defaultInstance();
    Ui::Grid_Wizard& form = window->form();
    window->setColorWellColor(_grid->color());
    {
        const QSignalBlocker quiet(form.Grid_Space_slidr);
        form.Grid_Space_slidr->setValue(int(_grid->spacing()));
    }
    form.Show_hide_grid_chk->setChecked(_grid->isAlwaysShown());
    SetObjEnabled(form.Grid_Opt_box, _grid->isAlwaysShown());
    window->Open_Wnd();
}

void TSLWindowController::Grid_Clr_Changed(const QColor& color)
{
    _grid->setColor(color);
    _grid->setAlwaysShown(true);
}

void TSLWindowController::Grid_Slider_Changed(int spacing)
{
    // Stored without the temporary showing: the grid is shown for good right after.
    _grid->storeSpacing(spacing);
    _grid->setAlwaysShown(true);
}

void TSLWindowController::Grid_Show_Hide_Changed(bool shown)
{
    _grid->setAlwaysShown(shown);
    SetObjEnabled(Grid_Wizard::defaultInstance()->form().Grid_Opt_box, shown);
}
