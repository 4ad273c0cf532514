// The main menu on the real window: which entries the selection enables (and the align-to-grid button with
// them), the standard shortcuts on a focused canvas, every entry doing what its tool-bar or inspector twin
// does, and the refusals no entry gets around.
#include "canvas/TSLGrid.h"
#include "canvas/TSLRulerView.h"
#include "canvas/TSLZoomingScrollView.h"
#include "editor/EditorWindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using editortest::EditorWindowTest;
using editortest::messageTexts;

namespace {

const QString lockedMessage = QStringLiteral("Selected control is locked.");

} // namespace

class MenusTest : public EditorWindowTest {
protected:
    TSLGraphicPtr square, wide, tall; // indexes 0, 1, 2 of the front list

    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        window->SetDocumentCanvasSize(QSizeF(243, 153));
        putDesign();
    }
    // Three shapes: a square (natural size already), a wide and a tall one.
    void putDesign()
    {
        window->New_Project_Setting_Reset();
        square = addShape(QRectF(10, 10, 40, 40));
        wide = addShape(QRectF(60, 20, 60, 30));
        tall = addShape(QRectF(150, 40, 20, 50));
        square->control_ID = QStringLiteral("square");
        wide->control_ID = QStringLiteral("wide");
        tall->control_ID = QStringLiteral("tall");
        QCoreApplication::processEvents();
        document.undoManager().removeAllActions();
        window->validateMainMenu();
    }
    QAction* entry(const char* name)
    {
        QAction* action = window->menuAction(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    void select(const TSLIndexSet& indexes)
    {
        window->_graphicView->changeSelectionIndexes(indexes);
        QCoreApplication::processEvents();
    }
    const TSLGraphicList& front() const { return document.graphicsForKey(TSLDocumentGraphicsKey); }
    // The front list as ids and rectangles, to compare what two ways of doing one thing leave.
    QStringList frontState() const
    {
        QStringList state;
        for (const TSLGraphicPtr& item : front()) {
            const QRectF b = item->bounds();
            state << QStringLiteral("%1 %2,%3 %4x%5")
                         .arg(item->control_ID)
                         .arg(b.x())
                         .arg(b.y())
                         .arg(b.width())
                         .arg(b.height());
        }
        return state;
    }
    // The window active and the canvas focused, as after a click on it.
    void focusCanvas()
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->_graphicView->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
    }
    void key(int keyCode, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(window->_graphicView, Qt::Key(keyCode), modifiers);
        QCoreApplication::processEvents();
    }
};

TEST_F(MenusTest, EntriesAreEnabledByTheSelectionAsTheCanvasValidates)
{
    const char* const selectionEntries[]
        = { "menu_Cut", "menu_Copy", "menu_Delete", "menu_Bring_To_Front", "menu_Send_To_Back" };
    const char* const pairEntries[] = { "menu_Align_Left", "menu_Align_Right", "menu_Align_Top", "menu_Align_Bottom",
        "menu_Align_Horz", "menu_Align_Vert", "menu_Make_Same_Width", "menu_Make_Same_Height" };
    const char* const alwaysEntries[]
        = { "menu_Paste", "menu_Select_All", "menu_Align_Center", "menu_Show_Hide_Ruler" };
    const struct {
        const char* what;
        TSLIndexSet selection;
        bool one; // at least one selected
        bool two; // more than one
        bool natural; // one of them is not square
    } rows[] = {
        { "nothing selected", {}, false, false, false },
        { "the square", { 0 }, true, false, false },
        { "the wide one", { 1 }, true, false, true },
        { "square and tall", { 0, 2 }, true, true, true },
        { "all three", { 0, 1, 2 }, true, true, true },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        select(row.selection);
        for (const char* name : selectionEntries)
            EXPECT_EQ(entry(name)->isEnabled(), row.one) << name;
        for (const char* name : pairEntries)
            EXPECT_EQ(entry(name)->isEnabled(), row.two) << name;
        for (const char* name : alwaysEntries)
            EXPECT_TRUE(entry(name)->isEnabled()) << name;
        EXPECT_EQ(entry("menu_Make_Natural")->isEnabled(), row.natural);
        // A usable grid and a selection, whether the grid is shown or not.
        EXPECT_EQ(entry("menu_Align_To_Grid")->isEnabled(), row.one);
        EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("Align_To_Grid_btn"))->isEnabled(), row.one);
    }

    // Undo and redo follow the document.
    EXPECT_FALSE(entry("menu_Undo")->isEnabled());
    EXPECT_FALSE(entry("menu_Redo")->isEnabled());
    wide->setBounds(QRectF(61, 20, 60, 30));
    QCoreApplication::processEvents();
    EXPECT_TRUE(entry("menu_Undo")->isEnabled());
    window->Undo_Clicked();
    EXPECT_FALSE(entry("menu_Undo")->isEnabled());
    EXPECT_TRUE(entry("menu_Redo")->isEnabled());
}

TEST_F(MenusTest, AlignToGridAsksForTheGridFirstAndNeedsAUsableOne)
{
    select({ 1 });
    QPushButton* button = window->findChild<QPushButton*>(QStringLiteral("Align_To_Grid_btn"));
    ASSERT_FALSE(window->_grid->isAlwaysShown());
    ASSERT_TRUE(button->isEnabled());
    const QStringList before = frontState();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(messageTexts(ui), QStringList { QStringLiteral("Please use grid option first.") });
    EXPECT_EQ(frontState(), before);

    // Shown, the same button snaps the selection.
    ui.messages.clear();
    window->_grid->setSpacing(20);
    window->_grid->setAlwaysShown(true);
    const QRectF snapped = window->_grid->alignedRect(wide->bounds());
    ASSERT_NE(snapped, wide->bounds()) << "the bottom edge lies off the grid";
    entry("menu_Align_To_Grid")->trigger();
    EXPECT_TRUE(messageTexts(ui).isEmpty());
    EXPECT_EQ(wide->bounds(), snapped);

    // A grid of no spacing cannot align: both the entry and the button go off.
    window->_grid->setSpacing(0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(entry("menu_Align_To_Grid")->isEnabled());
    EXPECT_FALSE(button->isEnabled());
}

TEST_F(MenusTest, StandardShortcutsWorkOnTheFocusedCanvas)
{
    focusCanvas();

    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window->_graphicView->selectionIndexes(), (TSLIndexSet { 0, 1, 2 }));

    select({ 1 });
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    EXPECT_EQ(wide->bounds().topLeft(), QPointF(61, 21)) << "arrow keys still nudge";

    key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(clipboardHoldsOurItems());
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(front().size(), 4u);
    EXPECT_EQ(front().front()->control_ID, QStringLiteral("wide"));
    EXPECT_EQ(window->_graphicView->selectionIndexes(), TSLIndexSet { 0 });

    key(Qt::Key_Delete);
    EXPECT_EQ(front().size(), 3u);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(front().size(), 4u) << "undo brings the deleted copy back";
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(front().size(), 3u) << "redo deletes it again";

    select({ 2 });
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(frontState().filter(QStringLiteral("tall")).size(), 0);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(frontState().filter(QStringLiteral("tall")).size(), 1);

    const QString path = testsupport::makeTempFolder(QStringLiteral("menus")) + QStringLiteral("/shortcut.dcard");
    ui.fileAnswers.push_back(path);
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(ui.fileRequests.size(), 1u) << "a design without a file asks where to save";
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(Project_File_Name, path);
}

TEST_F(MenusTest, ShortcutsAndEntriesKeepTheRefusalsOfLockedAndEmptySelections)
{
    focusCanvas();
    select({ 1 });
    wide->ctrl_is_locked = true;
    const QStringList before = frontState();
    QApplication::clipboard()->setText(QStringLiteral("the user's own text"));

    key(Qt::Key_X, Qt::ControlModifier);
    key(Qt::Key_Delete);
    entry("menu_Bring_To_Front")->trigger();
    EXPECT_EQ(messageTexts(ui), QStringList(3, lockedMessage));
    EXPECT_EQ(frontState(), before);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("the user's own text"));

    // With nothing selected the entries are off and their shortcuts do nothing.
    ui.messages.clear();
    select({});
    key(Qt::Key_Delete);
    key(Qt::Key_X, Qt::ControlModifier);
    entry("menu_Send_To_Back")->trigger();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(frontState(), before);
}

TEST_F(MenusTest, EveryEntryDoesWhatItsTwinDoes)
{
    auto alignButton = [this](const char* name) {
        return [this, name] { window->findChild<QPushButton*>(QLatin1String(name))->click(); };
    };
    const struct {
        const char* entry;
        std::function<void()> twin;
        TSLIndexSet selection;
    } pairs[] = {
        { "menu_Bring_To_Front", [this] { window->Begin_Front_btn->trigger(); }, { 1, 2 } },
        { "menu_Send_To_Back", [this] { window->Send_Back_btn->trigger(); }, { 0 } },
        { "menu_Delete", [this] { window->Delete_btn->trigger(); }, { 0, 2 } },
        { "menu_Cut", [this] { window->Cut_btn->trigger(); }, { 1 } },
        { "menu_Align_Left", alignButton("Align_Left_btn"), { 1, 2 } },
        { "menu_Align_Top", alignButton("Align_Top_btn"), { 0, 1 } },
        { "menu_Align_Vert", alignButton("Align_Vert_btn"), { 0, 1, 2 } },
        { "menu_Align_Center", alignButton("Align_Center_btn"), { 2 } },
        { "menu_Make_Same_Width", alignButton("Make_Same_Width_btn"), { 2, 0 } },
        { "menu_Make_Natural", alignButton("Make_Natural_btn"), { 1 } },
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.entry);
        putDesign();
        select(pair.selection);
        window->Enable_Standard_Button_For_Control(); // the tool bar as showing a selected item sets it
        pair.twin();
        const QStringList byTwin = frontState();
        const TSLIndexSet selectedByTwin = window->_graphicView->selectionIndexes();

        putDesign();
        select(pair.selection);
        ASSERT_TRUE(entry(pair.entry)->isEnabled());
        entry(pair.entry)->trigger();
        EXPECT_EQ(frontState(), byTwin);
        EXPECT_EQ(window->_graphicView->selectionIndexes(), selectedByTwin);
        EXPECT_NE(frontState(), QStringList({ "square 10,10 40x40", "wide 60,20 60x30", "tall 150,40 20x50" }))
            << "the command changed something";
    }
}

TEST_F(MenusTest, FileEntriesAreTheToolBarsOwnAndTemplateExportIsReachable)
{
    QMenu* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("menu_File"));
    ASSERT_NE(file, nullptr);
    for (QAction* twin : { window->New_btn, window->Open_btn, window->Save_btn, window->SaveAs_btn, window->Export_btn,
             window->Exit_btn })
        EXPECT_TRUE(file->actions().contains(twin)) << twin->text().toStdString();
    const struct {
        QAction* action;
        QKeySequence key;
    } keys[] = { { window->New_btn, QKeySequence(Qt::CTRL | Qt::Key_N) },
        { window->Open_btn, QKeySequence(Qt::CTRL | Qt::Key_O) },
        { window->Save_btn, QKeySequence(Qt::CTRL | Qt::Key_S) },
        { window->SaveAs_btn, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) },
        { window->Exit_btn, QKeySequence(Qt::CTRL | Qt::Key_Q) } };
    for (const auto& entry : keys)
        EXPECT_TRUE(entry.action->shortcuts().contains(entry.key)) << entry.key.toString().toStdString();

    // The template export runs its name window; cancelled, nothing is written.
    const std::size_t runs = ui.dialogsRun.size();
    entry("menu_Export_As_Template")->trigger();
    ASSERT_EQ(ui.dialogsRun.size(), runs + 1);
    EXPECT_EQ(ui.dialogsRun.back(), QStringLiteral("Export_Template_Window"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MenusTest, RulersEntryShowsAndHidesTheRulersOfAllThreeCanvasesWithTheCheckBox)
{
    QAction* rulers = entry("menu_Show_Hide_Ruler");
    TSLZoomingScrollView* views[]
        = { window->_zoomingScrollView, window->_zoomingScrollView_BACK, window->_zoomingScrollView_TEMP };
    // Shown from start-up.
    ASSERT_TRUE(window->Show_Ruler_chk->isChecked());
    for (TSLZoomingScrollView* view : views)
        EXPECT_TRUE(view->rulersVisible());
    EXPECT_EQ(rulers->text().remove(QLatin1Char('&')), QStringLiteral("Hide Ruler"));

    rulers->trigger();
    EXPECT_FALSE(window->Show_Ruler_chk->isChecked());
    for (TSLZoomingScrollView* view : views)
        EXPECT_FALSE(view->rulersVisible());
    EXPECT_EQ(rulers->text().remove(QLatin1Char('&')), QStringLiteral("Show Ruler"));

    QTest::mouseClick(window->Show_Ruler_chk, Qt::LeftButton, {}, QPoint(6, window->Show_Ruler_chk->height() / 2));
    for (TSLZoomingScrollView* view : views)
        EXPECT_TRUE(view->rulersVisible());
    EXPECT_EQ(rulers->text().remove(QLatin1Char('&')), QStringLiteral("Hide Ruler"));
}

TEST_F(MenusTest, ZoomEntriesStepThroughTheTableOnAllThreeCanvases)
{
    const struct {
        const char* entry;
        double factor;
    } steps[] = { { "menu_Zoom_In", 1.25 }, { "menu_Zoom_In", 1.5 }, { "menu_Zoom_Actual", 1.0 },
        { "menu_Zoom_Out", 0.75 }, { "menu_Zoom_Out", 0.5 }, { "menu_Zoom_Out", 0.25 },
        { "menu_Zoom_Out", double(0.1f) }, { "menu_Zoom_Out", double(0.1f) } };
    window->setZoomFactor(1.0); // the table starts at 100%
    for (const auto& step : steps) {
        entry(step.entry)->trigger();
        for (TSLZoomingScrollView* view :
            { window->_zoomingScrollView, window->_zoomingScrollView_BACK, window->_zoomingScrollView_TEMP })
            EXPECT_DOUBLE_EQ(view->factor(), step.factor) << step.entry;
    }
    window->setZoomFactor(16.0);
    entry("menu_Zoom_In")->trigger();
    EXPECT_DOUBLE_EQ(window->_zoomingScrollView->factor(), 16.0);
}

TEST_F(MenusTest, DraggingAnItemEchoesItsEdgesOnTheRulersUntilTheButtonGoesUp)
{
    TSLRulerView* horizontal = window->_zoomingScrollView->horizontalRulerView();
    TSLRulerView* vertical = window->_zoomingScrollView->verticalRulerView();
    TSLGraphicView* canvas = window->_graphicView;
    const double f = canvas->zoomFactor();
    auto px = [f](double x, double y) { return QPointF(x * f, y * f).toPoint(); };

    QTest::mousePress(canvas, Qt::LeftButton, {}, px(90, 35));
    QTest::mouseMove(canvas, px(100, 45));
    EXPECT_EQ(horizontal->rulerLines().size(), 3u);
    EXPECT_EQ(vertical->rulerLines().size(), 3u);
    const QRectF moved = wide->bounds();
    EXPECT_EQ(moved.topLeft(), QPointF(70, 30));
    std::vector<double> xs = horizontal->rulerLines();
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(xs, (std::vector<double> { moved.left(), moved.center().x(), moved.right() }));
    std::vector<double> ys = vertical->rulerLines();
    std::sort(ys.begin(), ys.end());
    EXPECT_EQ(ys, (std::vector<double> { moved.top(), moved.center().y(), moved.bottom() }));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, px(100, 45));
    EXPECT_TRUE(horizontal->rulerLines().empty());
    EXPECT_TRUE(vertical->rulerLines().empty());

    // Resizing by the lower-right handle echoes the growing rectangle the same way.
    ASSERT_EQ(window->_graphicView->selectedGraphics(), TSLGraphicList { wide });
    const QPointF corner = wide->bounds().bottomRight();
    QTest::mousePress(canvas, Qt::LeftButton, {}, px(corner.x(), corner.y()));
    QTest::mouseMove(canvas, px(corner.x() + 20, corner.y() + 10));
    const QRectF grown = wide->bounds();
    EXPECT_EQ(grown, QRectF(70, 30, 80, 40));
    xs = horizontal->rulerLines();
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(xs, (std::vector<double> { grown.left(), grown.center().x(), grown.right() }));
    ys = vertical->rulerLines();
    std::sort(ys.begin(), ys.end());
    EXPECT_EQ(ys, (std::vector<double> { grown.top(), grown.center().y(), grown.bottom() }));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, px(corner.x() + 20, corner.y() + 10));
    EXPECT_TRUE(horizontal->rulerLines().empty());
    EXPECT_TRUE(vertical->rulerLines().empty());

    // Hidden rulers get no echo.
    window->Show_Ruler_chk->setChecked(false);
    QTest::mousePress(canvas, Qt::LeftButton, {}, px(80, 35));
    QTest::mouseMove(canvas, px(90, 45));
    EXPECT_TRUE(horizontal->rulerLines().empty());
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, px(90, 45));
    EXPECT_EQ(wide->bounds().topLeft(), QPointF(80, 40));
    EXPECT_TRUE(vertical->rulerLines().empty());
}
