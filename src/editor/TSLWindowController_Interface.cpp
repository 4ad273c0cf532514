// Building the main window from its interface files: the frame, the fifteen inspector pages, the canvases
// inside their zoom views, the icons, and the wiring of controls to the controller's actions.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLZoomingScrollView.h"
#include "common/Focus_Wheel.h"
#include "common/Screen_Fit.h"
#include "common/Window_Look.h"
#include "editor/Editor_Icons.h"
#include "editor/TSLWindowController_Forms.h"
#include "platform/RegularFile.h"

#include <QButtonGroup>
#include <QToolButton>
#include <QToolBar>
#include <QComboBox>
#include <QHeaderView>
#include <QScrollArea>
#include <QDir>

void TSLWindowController::buildInterface()
{
    Ui::DrawWindow& w = forms_->window;
    w.setupUi(this);

    first_view = w.first_view;
    second_view = w.second_view;
    temp_design_view = w.temp_design_view;
    myTargetView = w.myTargetView;
    Front_back_label = w.Front_back_label;
    Front_Card_btn = w.Front_Card_btn;
    Back_Side_btn = w.Back_Side_btn;
    Temp_Card_btn = w.Temp_Card_btn;
    Show_Ruler_chk = w.Show_Ruler_chk;
    User_Profile_btn = w.User_Profile_btn;
    sett_tab = w.sett_tab;
    _zoomingScrollView = w._zoomingScrollView;
    _zoomingScrollView_BACK = w._zoomingScrollView_BACK;
    _zoomingScrollView_TEMP = w._zoomingScrollView_TEMP;

    New_btn = w.New_btn;
    Open_btn = w.Open_btn;
    Save_btn = w.Save_btn;
    SaveAs_btn = w.SaveAs_btn;
    Undo_btn = w.Undo_btn;
    Redo_btn = w.Redo_btn;
    Cut_btn = w.Cut_btn;
    Copy_btn = w.Copy_btn;
    Paste_btn = w.Paste_btn;
    Delete_btn = w.Delete_btn;
    Begin_Front_btn = w.Begin_Front_btn;
    Send_Back_btn = w.Send_Back_btn;
    Lock_btn = w.Lock_btn;
    Unlock_btn = w.Unlock_btn;
    Export_btn = w.Export_btn;
    Print_btn = w.Print_btn;
    Mail_btn = w.Mail_btn;
    Series_btn = w.Series_btn;
    Help_btn = w.Help_btn;
    Exit_btn = w.Exit_btn;

    toolButtons = { w.Arrow_Tool_btn, w.Line_Tool_btn, w.Text_Tool_btn, w.Rect_Tool_btn, w.Circle_Tool_btn,
        w.Round_Rect_Tool_btn, w.Triangle_Tool_btn, w.Diamond_Tool_btn, w.Image_Tool_btn, w.Image_Library_Tool_btn,
        w.Barcode_Tool_btn, w.Signature_Tool_btn, w.Fingure_Print_Tool_btn, w.Star_Tool_btn, w.Double_Star_Tool_btn,
        w.Polygon_Tool_btn };

    // One canvas per side, each the document view of its zoom view.
    const struct {
        TSLGraphicView*& canvas;
        TSLZoomingScrollView* view;
        const char* name;
    } sides[] = { { _graphicView, _zoomingScrollView, "_graphicView" },
        { _graphicView_BACK, _zoomingScrollView_BACK, "_graphicView_BACK" },
        { _graphicView_TEMP, _zoomingScrollView_TEMP, "_graphicView_TEMP" } };
    for (const auto& side : sides) {
        side.canvas = new TSLGraphicView;
        side.canvas->setObjectName(QLatin1String(side.name));
        side.view->setDocumentView(side.canvas);
        side.view->setDocumentSize(side.canvas->canvasSize());
        connect(side.view, &TSLZoomingScrollView::factorChanged, this, &TSLWindowController::setZoomFactor);
        connect(side.canvas, &TSLGraphicView::selectionChanged, this,
            [this, canvas = side.canvas] { followCanvasSelection(canvas); });
    }

    loadInspectorPages();
    // A page taller than the screen scrolls rather than making the window taller than the screen; the
    // canvas takes any width to spare.
    scrollPanelWhenTall(*w.main_layout, *sett_tab)->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
    connectInterface();
}

QList<QWidget*> TSLWindowController::inspectorPages() const
{
    return { card_setting_tab, card_info_tab, card_size_tab, card_bkgd_tab, card_brdr_tab, line_tab, shape_tab,
        text_edtng_tab, text_prop_tab, image_tab, sign_tab, datasource_tab, aligmnt_tab, barcode_tab, Lock_tab };
}

void TSLWindowController::loadInspectorPages()
{
    Forms& f = *forms_;
    auto page = [this](auto& form) {
        auto* widget = new QWidget(sett_tab);
        form.setupUi(widget);
        return widget;
    };
    card_setting_tab = page(f.cardSetting);
    card_info_tab = page(f.cardInfo);
    card_size_tab = page(f.cardSize);
    card_bkgd_tab = page(f.cardBackground);
    card_brdr_tab = page(f.cardBorder);
    line_tab = page(f.line);
    shape_tab = page(f.shape);
    text_edtng_tab = page(f.textEditing);
    text_prop_tab = page(f.textProperties);
    image_tab = page(f.image);
    sign_tab = page(f.signature);
    datasource_tab = page(f.dataSource);
    aligmnt_tab = page(f.alignment);
    barcode_tab = page(f.barcode);
    Lock_tab = page(f.lock);
    for (QWidget* tab : inspectorPages()) {
        sett_tab->addTab(tab, tab->windowTitle());
        wheelOnlyWhenFocused(*tab);
    }

    card_name = f.cardSetting.card_name;
    Sides_ComboBox = f.cardSetting.Sides_ComboBox;
    Category_ComboBox = f.cardSetting.Category_ComboBox;
    Preset_ComboBox = f.cardSetting.Preset_ComboBox;
    ColList = f.cardSetting.ColList;
    width_Stepper = f.cardSetting.width_Stepper;
    height_Stepper = f.cardSetting.height_Stepper;
    matrix_card_shape = new QButtonGroup(this);
    matrix_card_shape->addButton(f.cardSetting.card_shape_rect_rd, 0);
    matrix_card_shape->addButton(f.cardSetting.card_shape_round_rd, 1);
    matrix_card_shape->addButton(f.cardSetting.card_shape_oval_rd, 2);
    Card_hatch_style = f.cardBackground.Card_hatch_style;
    Card_image_layout = f.cardBackground.Card_image_layout;
    Card_solid_fill_rd = f.cardBackground.Card_solid_fill_rd;
    Card_gradient_fill_rd = f.cardBackground.Card_gradient_fill_rd;
    Card_Style_fill_rd = f.cardBackground.Card_Style_fill_rd;
    Card_Image_fill_rd = f.cardBackground.Card_Image_fill_rd;
    All_Text_font_value = f.cardBackground.All_Text_font_value;
    All_Text_clr_well = f.cardBackground.All_Text_clr;
    Card_bor_Stepper = f.cardBorder.Card_bor_Stepper;
    Card_border_style = f.cardBorder.Card_border_style;
    shape_border_style = f.shape.shape_border_style;
    shape_hatch_style = f.shape.shape_hatch_style;
    Text_Date_style = f.textEditing.Text_Date_style;
    Text_Time_style = f.textEditing.Text_Time_style;
    Text_align_combo = f.textProperties.Text_align_combo;
    Text_case_combo = f.textProperties.Text_case_combo;
    Data_source_type = f.dataSource.Data_source_type;

    // The size list shows one column, whose identifier is the row key.
    ColList->horizontalHeaderItem(0)->setData(Qt::UserRole, QStringLiteral("Extension"));
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->verticalHeader()->setVisible(false);
    // Tab leaves the list for the next control instead of walking its rows.
    ColList->setTabKeyNavigation(false);
}

void TSLWindowController::connectInterface()
{
    connectCardPage();
    connectItemPanels();
    connectShapePage();
    connectLinePage();
    connectTextPage();
    followColourPanels();
    connect(New_btn, &QAction::triggered, this, &TSLWindowController::New_Btn_Clicked);
    connect(Open_btn, &QAction::triggered, this, &TSLWindowController::Open_Btn_Clicked);
    connect(Save_btn, &QAction::triggered, this, &TSLWindowController::Save_Btn_Clicked);
    connect(SaveAs_btn, &QAction::triggered, this, &TSLWindowController::SaveAs_Btn_Clicked);
    connect(Undo_btn, &QAction::triggered, this, &TSLWindowController::Undo_Clicked);
    connect(Redo_btn, &QAction::triggered, this, &TSLWindowController::Redo_Clicked);
    connect(Exit_btn, &QAction::triggered, this, &TSLWindowController::Exit_Btn_Clicked);
    connect(Help_btn, &QAction::triggered, this, &TSLWindowController::Help_Button);
    connect(Front_Card_btn, &QToolButton::clicked, this, &TSLWindowController::Front_Card_Btn_Clicked);
    connect(Back_Side_btn, &QToolButton::clicked, this, &TSLWindowController::Back_Card_Btn_Clicked);
    connect(Temp_Card_btn, &QToolButton::clicked, this, &TSLWindowController::Temp_Card_Btn_Clicked);
    connect(Show_Ruler_chk, &QCheckBox::toggled, this, &TSLWindowController::Show_Hide_Ruler_ChkBox);
    connect(User_Profile_btn, &QPushButton::clicked, this, &TSLWindowController::User_Profile_Button_Clicked);

    for (QComboBox* box : { Sides_ComboBox, Category_ComboBox, Preset_ComboBox })
        connect(box, &QComboBox::currentIndexChanged, this, [this, box] { comboBoxSelectionDidChange(box); });
    connect(ColList, &QTableWidget::cellClicked, this, [this](int row, int) { Card_Size_Row_Clicked(row); });
    connect(ColList, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        const QString identifier = ColList->horizontalHeaderItem(item->column())->data(Qt::UserRole).toString();
        tableView_setObjectValue(ColList, item->text(), identifier, item->row());
    });

    // The commands on the selection start off: nothing is selected yet.
    for (QAction* selection :
        { Cut_btn, Copy_btn, Paste_btn, Delete_btn, Begin_Front_btn, Send_Back_btn, Lock_btn, Unlock_btn })
        selection->setEnabled(false);
    for (QToolButton* tool : toolButtons)
        tool->setEnabled(true);

    const struct {
        QAction* action;
        const char* icon;
    } icons[] = { { New_btn, "new" }, { Open_btn, "open" }, { Save_btn, "save" }, { SaveAs_btn, "saveas" },
        { Undo_btn, "undo" }, { Redo_btn, "redo" }, { Cut_btn, "cut" }, { Copy_btn, "copy" }, { Paste_btn, "paste" },
        { Delete_btn, "delete" }, { Begin_Front_btn, "front" }, { Send_Back_btn, "back" }, { Lock_btn, "lock" },
        { Unlock_btn, "unlock" }, { Export_btn, "export" }, { Print_btn, "print" }, { Mail_btn, "mail" },
        { Series_btn, "series" }, { Help_btn, "help" }, { Exit_btn, "exit" } };
    // The icons are drawn again in colours that stand out on the window when the desktop's palette changes.
    followApplicationPalette(*forms_->window.mainToolBar, [this, icons] {
        for (int code = 0; code < toolButtons.size(); ++code)
            toolButtons[code]->setIcon(toolIcon(code));
        for (const auto& entry : icons)
            entry.action->setIcon(commandIcon(QLatin1String(entry.icon)));
        if (Bind_Spreadsheet_btn)
            Bind_Spreadsheet_btn->setIcon(commandIcon(QStringLiteral("spreadsheet")));
    });
    // The edit commands show their icons alone (their names are in the tool tips), so that the whole tool
    // bar fits the window.
    for (QAction* edit :
        { Cut_btn, Copy_btn, Paste_btn, Delete_btn, Begin_Front_btn, Send_Back_btn, Lock_btn, Unlock_btn }) {
        if (edit->toolTip() == edit->text() || edit->toolTip().isEmpty())
            edit->setToolTip(edit->text());
        if (auto* button = qobject_cast<QToolButton*>(forms_->window.mainToolBar->widgetForAction(edit)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    connectToolsAndInspector();
}

void TSLWindowController::loadSamplePictures()
{
    // A picture that is not installed leaves its field empty; items made from it start without a picture.
    auto load = [this](const char* name) {
        return platform::readPictureFile(QDir(act_path_location).filePath(QLatin1String(name)));
    };
    no_image = load("no.png");
    banner_image = load("banner.png");
    promotion_pattern_image = load("pattern_1.jpg");
    wizard_pattern_image_ = load("Wizard_pattern.jpg");
    sign_sample_img = load("sign_sample.png");
    fp_sample_img = load("fingerprints.png");
    barcode_sample_img = load("barcode_sample.png");
}

void TSLWindowController::showTextColorInWell()
{
    All_Text_clr_well->setColor(All_Text_clr);
}
