// The main menu: File, Edit, Arrange, View and Help (with the maker's other products), with the standard
// shortcuts. Entries that act on the selection are enabled as the current side's canvas allows and check
// again when they run, so neither a stale entry nor its shortcut can get past a refusal. Also the rulers
// beside the three canvases, the zoom steps, and a design named on the command line.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLGrid.h"
#include "canvas/TSLZoomingScrollView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/TSLWindowController_Forms.h"
#include "model/TSLDocument.h"
#include "info/Promotion_Product.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QToolButton>

#include <cmath>

namespace {

// The platform's keys for a standard command, with the usual desktop key where the platform names none.
QList<QKeySequence> standardKeys(
    QKeySequence::StandardKey key, const QKeySequence& usual, const QKeySequence& alsoUsual = QKeySequence())
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    for (const QKeySequence& wanted : { usual, alsoUsual }) {
        if (!wanted.isEmpty() && !keys.contains(wanted))
            keys.append(wanted);
    }
    return keys;
}

// Gives every entry of the menu an Alt+letter of its own: the first free letter that starts a word of
// its text, else any free letter. Entries that have one keep it.
void giveMnemonics(const QMenu* menu)
{
    QSet<QChar> used;
    for (const QAction* action : menu->actions()) {
        const QString text = action->text();
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < text.size())
            used.insert(text[at + 1].toLower());
    }
    for (QAction* action : menu->actions()) {
        QString text = action->text();
        if (action->isSeparator() || text.contains(QLatin1Char('&')))
            continue;
        for (const bool wordStartsOnly : { true, false }) {
            qsizetype chosen = -1;
            for (qsizetype i = 0; i < text.size() && chosen < 0; ++i) {
                const bool wordStart = i == 0 || text[i - 1] == QLatin1Char(' ');
                if (text[i].isLetterOrNumber() && (wordStart || !wordStartsOnly) && !used.contains(text[i].toLower()))
                    chosen = i;
            }
            if (chosen >= 0) {
                used.insert(text[chosen].toLower());
                action->setText(text.insert(chosen, QLatin1Char('&')));
                break;
            }
        }
    }
}

QAction* namedAction(QMenu* menu, const QString& name, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

} // namespace

void TSLWindowController::addMenuCommand(QMenu* menu, const QString& name, const QString& text,
    TSLCanvasCommand command, void (TSLWindowController::*run)(), const QList<QKeySequence>& keys)
{
    QAction* action = namedAction(menu, name, text);
    action->setShortcuts(keys);
    validatedMenuActions_.emplace_back(action, command);
    connect(action, &QAction::triggered, this, [this, command, run] {
        // The state may have changed since the entry was last enabled (a shortcut needs no open menu).
        TSLGraphicView* canvas = currentGraphicView();
        if (canvas && canvas->validateMenuItem(command))
            (this->*run)();
        validateMainMenu();
    });
}

void TSLWindowController::buildMainMenu()
{
    using C = TSLCanvasCommand;
    using W = TSLWindowController;
    QMenuBar* bar = menuBar();
    bar->clear();
    validatedMenuActions_.clear();

    // File: the tool bar's own commands, so both always agree.
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menu_File"));
    New_btn->setShortcuts(standardKeys(QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N)));
    Open_btn->setShortcuts(standardKeys(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    Save_btn->setShortcuts(standardKeys(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    SaveAs_btn->setShortcuts(standardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    Exit_btn->setShortcuts(standardKeys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    file->addAction(New_btn);
    connect(namedAction(file, QStringLiteral("menu_New_Card_From"), QStringLiteral("New Card from...")),
        &QAction::triggered, this, &W::New_Card_From);
    file->addAction(Open_btn);
    QAction* fromTemplate
        = namedAction(file, QStringLiteral("menu_New_From_Template"), QStringLiteral("New from Template..."));
    connect(fromTemplate, &QAction::triggered, this, &W::Open_Template_Gallery);
    QAction* cardWizard
        = namedAction(file, QStringLiteral("menu_Card_Wizard"), QStringLiteral("Card Size and Shape..."));
    connect(cardWizard, &QAction::triggered, this, &W::Open_Card_Wizard);
    file->addActions({ Save_btn, SaveAs_btn });
    file->addSeparator();
    file->addAction(Export_btn);
    QAction* exportTemplate
        = namedAction(file, QStringLiteral("menu_Export_As_Template"), QStringLiteral("Export As Template..."));
    connect(exportTemplate, &QAction::triggered, this, &W::Export_As_Template_Clicked);
    file->addActions({ Print_btn, Mail_btn, Series_btn });
    file->addSeparator();
    file->addAction(Exit_btn);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menu_Edit"));
    addMenuCommand(edit, QStringLiteral("menu_Undo"), QStringLiteral("Undo"), C::undo, &W::Undo_Clicked,
        standardKeys(QKeySequence::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)));
    addMenuCommand(edit, QStringLiteral("menu_Redo"), QStringLiteral("Redo"), C::redo, &W::Redo_Clicked,
        standardKeys(
            QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)));
    edit->addSeparator();
    addMenuCommand(edit, QStringLiteral("menu_Cut"), QStringLiteral("Cut"), C::cut, &W::Cut_Clicked,
        standardKeys(QKeySequence::Cut, QKeySequence(Qt::CTRL | Qt::Key_X)));
    addMenuCommand(edit, QStringLiteral("menu_Copy"), QStringLiteral("Copy"), C::copy, &W::Copy_Clicked,
        standardKeys(QKeySequence::Copy, QKeySequence(Qt::CTRL | Qt::Key_C)));
    addMenuCommand(edit, QStringLiteral("menu_Paste"), QStringLiteral("Paste"), C::paste, &W::Paste_Clicked,
        standardKeys(QKeySequence::Paste, QKeySequence(Qt::CTRL | Qt::Key_V)));
    addMenuCommand(edit, QStringLiteral("menu_Delete"), QStringLiteral("Delete"), C::deleteSelection,
        &W::Delete_Clicked, standardKeys(QKeySequence::Delete, QKeySequence(Qt::Key_Delete)));
    addMenuCommand(edit, QStringLiteral("menu_Select_All"), QStringLiteral("Select All"), C::selectAll,
        &W::Select_All_Clicked, standardKeys(QKeySequence::SelectAll, QKeySequence(Qt::CTRL | Qt::Key_A)));
    edit->addSeparator();
    edit->addActions({ Lock_btn, Unlock_btn });

    QMenu* arrange = bar->addMenu(QStringLiteral("&Arrange"));
    arrange->setObjectName(QStringLiteral("menu_Arrange"));
    addMenuCommand(arrange, QStringLiteral("menu_Bring_To_Front"), QStringLiteral("Bring to Front"), C::bringToFront,
        &W::Begin_Front_Clicked, { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight) });
    addMenuCommand(arrange, QStringLiteral("menu_Send_To_Back"), QStringLiteral("Send to Back"), C::sendToBack,
        &W::Send_Back_Clicked, { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft) });
    arrange->addSeparator();
    const struct {
        const char* name;
        const char* text;
        C command;
        void (W::*run)();
    } aligns[] = { { "menu_Align_Left", "Align Left Edges", C::alignLeftEdges, &W::Align_Left_Clicked },
        { "menu_Align_Right", "Align Right Edges", C::alignRightEdges, &W::Align_Right_Clicked },
        { "menu_Align_Top", "Align Top Edges", C::alignTopEdges, &W::Align_Top_Clicked },
        { "menu_Align_Bottom", "Align Bottom Edges", C::alignBottomEdges, &W::Align_Bottom_Clicked },
        { "menu_Align_Horz", "Align Horizontal Centers", C::alignHorizontalCenters, &W::Align_Horz_Clicked },
        { "menu_Align_Vert", "Align Vertical Centers", C::alignVerticalCenters, &W::Align_Vert_Clicked },
        { "menu_Align_Center", "Center on Card", C::alignformCenter, &W::Align_Center_Clicked },
        { nullptr, nullptr, C::selectAll, nullptr },
        { "menu_Make_Same_Width", "Make Same Width", C::makeSameWidth, &W::Make_Same_Width_Clicked },
        { "menu_Make_Same_Height", "Make Same Height", C::makeSameHeight, &W::Make_Same_Height_Clicked },
        { "menu_Make_Natural", "Make Natural Size", C::makeNaturalSize, &W::Make_Natural_Clicked },
        { "menu_Align_To_Grid", "Align to Grid", C::alignWithGrid, &W::Align_To_Grid_Clicked } };
    for (const auto& entry : aligns) {
        if (!entry.name)
            arrange->addSeparator();
        else
            addMenuCommand(arrange, QLatin1String(entry.name), QLatin1String(entry.text), entry.command, entry.run);
    }
    arrange->addSeparator();
    QAction* gridOptions = namedAction(arrange, QStringLiteral("menu_Grid_Options"), QStringLiteral("Grid Options..."));
    connect(gridOptions, &QAction::triggered, this, &W::toggleGridShowing);
    // The alignment page's check box stays the one switch, so it never disagrees with the menu.
    snapToGridAction_ = namedAction(arrange, QStringLiteral("menu_Snap_To_Grid"), QStringLiteral("Snap to Grid"));
    snapToGridAction_->setCheckable(true);
    connect(snapToGridAction_, &QAction::triggered, this, [this] {
        forms_->alignment.Snap_to_grid_chk->click();
        validateMainMenu();
    });

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("menu_View"));
    addMenuCommand(view, QStringLiteral("menu_Show_Hide_Ruler"), QStringLiteral("Show Ruler"), C::showOrHideRulers,
        &W::Show_Hide_Ruler_Menu);
    view->addSeparator();
    const struct {
        const char* name;
        const char* text;
        QList<QKeySequence> keys;
        void (W::*run)();
    } zooms[] = { { "menu_Zoom_In", "Zoom In",
                      standardKeys(QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Plus),
                          QKeySequence(Qt::CTRL | Qt::Key_Equal)),
                      &W::Zoom_In_Clicked },
        { "menu_Zoom_Out", "Zoom Out", standardKeys(QKeySequence::ZoomOut, QKeySequence(Qt::CTRL | Qt::Key_Minus)),
            &W::Zoom_Out_Clicked },
        { "menu_Zoom_Actual", "Actual Size", { QKeySequence(Qt::CTRL | Qt::Key_0) }, &W::Zoom_Actual_Size_Clicked } };
    for (const auto& entry : zooms) {
        QAction* action = namedAction(view, QLatin1String(entry.name), QLatin1String(entry.text));
        action->setShortcuts(entry.keys);
        connect(action, &QAction::triggered, this, entry.run);
    }
    view->addSeparator();
    const struct {
        const char* name;
        const char* text;
        QToolButton* button;
    } sides[] = { { "menu_Front_Side", "Front Side", Front_Card_btn }, { "menu_Back_Side", "Back Side", Back_Side_btn },
        { "menu_Temp_Side", "Scratch Side", Temp_Card_btn } };
    for (const auto& entry : sides) {
        QAction* action = namedAction(view, QLatin1String(entry.name), QLatin1String(entry.text));
        QToolButton* button = entry.button;
        connect(action, &QAction::triggered, button, &QToolButton::click);
        // Connected after the side's own action: the entries then follow the side now shown.
        connect(button, &QToolButton::clicked, this, &W::validateMainMenu);
    }

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("menu_Help"));
    help->addAction(Help_btn);
    connect(namedAction(help, QStringLiteral("menu_Share"), QStringLiteral("Share Tessaline Card...")),
        &QAction::triggered, this, &W::Open_Share_Window);
    help->addSeparator();
    for (const char* kind : { "S", "R", "B" }) {
        const QString software_type = QLatin1String(kind);
        QAction* promotion = namedAction(help, QStringLiteral("menu_Promotion_") + software_type,
            Promotion_Product::titleOf(software_type) + QStringLiteral("..."));
        connect(promotion, &QAction::triggered, this, [this, software_type] { Open_Promotion(software_type); });
    }

    Print_btn->setShortcuts(standardKeys(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)));
    Help_btn->setShortcuts(standardKeys(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));
    for (QMenu* menu : { file, edit, arrange, view, help })
        connect(menu, &QMenu::aboutToShow, this, &W::validateMainMenu);
    // Whatever the entries depend on: the selection of each side, the grid and the clipboard.
    for (TSLGraphicView* canvas : { _graphicView, _graphicView_BACK, _graphicView_TEMP }) {
        connect(canvas, &TSLGraphicView::selectionChanged, this, &W::validateMainMenu);
        connect(canvas, &TSLGraphicView::rulersVisibilityChanged, this, &W::validateMainMenu);
    }
    connect(_grid, &TSLGrid::anyChanged, this, &W::validateMainMenu);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &W::validateMainMenu);
    validateMainMenu();
}

QAction* TSLWindowController::menuAction(const QString& objectName) const
{
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (action->objectName() == objectName)
            return action;
    }
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        for (QAction* action : menu->actions()) {
            if (action->objectName() == objectName)
                return action;
        }
    }
    return nullptr;
}

void TSLWindowController::validateMainMenu()
{
    TSLGraphicView* canvas = currentGraphicView();
    for (const auto& [action, command] : validatedMenuActions_) {
        QString title;
        action->setEnabled(canvas && canvas->validateMenuItem(command, &title));
        if (!title.isEmpty() && QString(action->text()).remove(QLatin1Char('&')) != title)
            action->setText(title);
    }
    for (const QMenu* menu : menuBar()->findChildren<QMenu*>())
        giveMnemonics(menu);
    forms_->alignment.Align_To_Grid_btn->setEnabled(
        canvas && canvas->validateMenuItem(TSLCanvasCommand::alignWithGrid));
    if (snapToGridAction_)
        snapToGridAction_->setChecked(_grid->isConstraining());
}

void TSLWindowController::Select_All_Clicked()
{
    TSLGraphicView* canvas = currentGraphicView();
    if (!canvas)
        return;
    // Every item is shown: one an older design left off the card comes back onto it.
    canvas->bringItemsOntoCard();
    canvas->selectAll();
    const TSLGraphicList selected = canvas->selectedGraphics();
    if (selected.empty())
        return;
    // The inspector shows the front-most item; the whole side stays selected for the commands.
    const TSLIndexSet all = canvas->selectionIndexes();
    canvas->setSelected_Graphic(selected.front());
    Show_RHS_Properties(selected.front());
    canvas->changeSelectionIndexes(all);
    Refresh_Canvas();
}

void TSLWindowController::Show_Hide_Ruler_Menu()
{
    Show_Ruler_chk->click();
}

// ---------------------------------------------------------------------------------------------------------
// Zoom steps

namespace {

// The table entry next to the factor in the given direction; the factor itself at either end.
double nextZoomFactor(double factor, int direction)
{
    const auto& table = TSLZoomingScrollView::TSLZoomingScrollViewFactors;
    if (direction > 0) {
        for (double entry : table) {
            if (entry > factor * (1.0 + 1e-6))
                return entry;
        }
        return factor;
    }
    for (auto it = table.rbegin(); it != table.rend(); ++it) {
        if (*it < factor * (1.0 - 1e-6))
            return *it;
    }
    return factor;
}

} // namespace

void TSLWindowController::Zoom_In_Clicked()
{
    setZoomFactor(nextZoomFactor(_zoomFactor, +1));
}

void TSLWindowController::Zoom_Out_Clicked()
{
    setZoomFactor(nextZoomFactor(_zoomFactor, -1));
}

void TSLWindowController::Zoom_Actual_Size_Clicked()
{
    setZoomFactor(1.0);
}

// ---------------------------------------------------------------------------------------------------------
// Rulers

std::array<TSLWindowController::SideView, 3> TSLWindowController::sideViews() const
{
    return { { { _graphicView, _zoomingScrollView }, { _graphicView_BACK, _zoomingScrollView_BACK },
        { _graphicView_TEMP, _zoomingScrollView_TEMP } } };
}

void TSLWindowController::connectRulers()
{
    for (const SideView& side : sideViews()) {
        connect(
            side.canvas, &TSLGraphicView::rulersVisibilityChanged, side.view, &TSLZoomingScrollView::setRulersVisible);
        connect(side.canvas, &TSLGraphicView::rulerEchoChanged, side.view, &TSLZoomingScrollView::echoToRulers);
        side.view->setRulersVisible(side.canvas->rulersVisible());
    }
}

// ---------------------------------------------------------------------------------------------------------
// A design named on the command line

void TSLWindowController::Open_Start_Up_Design()
{
    try {
        New_Project_Setting_Reset();
        Show_RHS_Properties(nullptr);
        Refresh_Canvas();
        // The same checked reader as Open: a refused file has said so, and the user starts as usual.
        if (Read_and_load_design_Log(startUpDesign_, QStringLiteral("L")) != 1)
            Open_Start_Window();
        Undo_Redo_Button_state();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    Not_Draw_Only_Prop_Change = false;
}
