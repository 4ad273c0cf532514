// The editor in a person's hands: each test starts the real window through the wizard, then clicks, drags
// and types on its widgets the way a user does, and checks that no work is lost on the way.
#include "editor/EditorScenarioFixture.h"

#include "canvas/TSLZoomingScrollView.h"
#include "common/Stepper_Field.h"
#include "data/Series_File.h"
#include "model/CraftedPictures.h"
#include "model/TSLDrawing.h"
#include "model/TSLText.h"
#include "model/TSLTextLayout.h"
#include "profiles/Browser_Picture_Model.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QListView>
#include <QStackedWidget>
#include <QToolButton>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>

using editorscenario::EditorScenario;

namespace {

QString textOf(const TSLGraphicPtr& item)
{
    return item->_Text_contents ? item->_Text_contents->string : item->Text_Value;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The inspector writes what the user changed into the items actually selected, and nothing else.

TEST_F(EditorScenario, ColourChangeAfterRubberBandRecoloursOnlyTheBandedItem)
{
    startWithWizard();
    const TSLGraphicPtr title = itemWithID(QStringLiteral("PARTY_TITLE"));
    const TSLGraphicPtr message = itemWithID(QStringLiteral("PARTY_MSG"));
    ASSERT_TRUE(title && message);
    const QString titleText = textOf(title);
    const QString messageText = textOf(message);
    const QFont messageFont = message->text_ctrl_font.value_or(QFont());
    const int messageAlignment = message->text_alignmnet;

    clickItem(title);
    EXPECT_EQ(window->Last_Selected_Graphic(), title);
    // A band from the empty margin that touches the message alone.
    const QRectF area = message->bounds();
    dragOnCanvas(QPointF(8, area.center().y() - 4), QPointF(area.left() + 30, area.center().y() + 4));
    ASSERT_EQ(canvas()->selectedGraphics(), TSLGraphicList { message });
    EXPECT_EQ(window->Last_Selected_Graphic(), message) << "the inspector shows what is selected";
    EXPECT_EQ(window->Text_value_Edit->toPlainText(), messageText);

    showPage(QStringLiteral("text_prop_tab"));
    pickColour(widget<Color_Well>(QStringLiteral("Text_clr")), QColor(200, 20, 20));

    EXPECT_EQ(message->txt_clr, QColor(200, 20, 20));
    EXPECT_EQ(textOf(message), messageText);
    EXPECT_EQ(message->text_ctrl_font.value_or(QFont()), messageFont);
    EXPECT_EQ(message->text_alignmnet, messageAlignment);
    EXPECT_EQ(textOf(title), titleText);
    EXPECT_NE(title->txt_clr, QColor(200, 20, 20));
    EXPECT_TRUE(action(QStringLiteral("Undo_btn"))->isEnabled()) << "the colour change can be undone";
}

TEST_F(EditorScenario, ColourChangeOnSeveralItemsKeepsEachItsOwnFontAndText)
{
    startWithWizard();
    const TSLGraphicPtr title = itemWithID(QStringLiteral("PARTY_TITLE"));
    const TSLGraphicPtr to = itemWithID(QStringLiteral("PARTY_TO"));
    ASSERT_TRUE(title && to);
    const QFont titleFont = title->text_ctrl_font.value_or(QFont());
    const QFont toFont = to->text_ctrl_font.value_or(QFont());
    ASSERT_NE(titleFont, toFont) << "the wizard sets the title in its own font";
    const QString toText = textOf(to);

    clickItem(to);
    clickItem(title, Qt::ShiftModifier);
    ASSERT_EQ(canvas()->selectedGraphics().size(), 2u);
    showPage(QStringLiteral("text_prop_tab"));
    pickColour(widget<Color_Well>(QStringLiteral("Text_clr")), QColor(10, 90, 200));

    for (const TSLGraphicPtr& item : { title, to })
        EXPECT_EQ(item->txt_clr, QColor(10, 90, 200)) << item->control_ID.toStdString();
    EXPECT_EQ(title->text_ctrl_font.value_or(QFont()), titleFont);
    EXPECT_EQ(to->text_ctrl_font.value_or(QFont()), toFont);
    EXPECT_EQ(textOf(to), toText);
    EXPECT_EQ(to->text_alignmnet, 0);
}

TEST_F(EditorScenario, UndoTakesBackAnInspectorColourChange)
{
    startWithWizard();
    const TSLGraphicPtr message = itemWithID(QStringLiteral("PARTY_MSG"));
    ASSERT_TRUE(message);
    const QColor before = message->txt_clr;
    clickItem(message);
    showPage(QStringLiteral("text_prop_tab"));
    pickColour(widget<Color_Well>(QStringLiteral("Text_clr")), QColor(0, 160, 0));
    ASSERT_EQ(message->txt_clr, QColor(0, 160, 0));

    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(message->txt_clr, before);
    trigger(QStringLiteral("Redo_btn"));
    EXPECT_EQ(message->txt_clr, QColor(0, 160, 0));
}

// ---------------------------------------------------------------------------------------------------------
// Every item page writes only the value of the control the person changed, into every selected item, and
// the change undoes in one step.

TEST_F(EditorScenario, ShapeOpacityOnTwoShapesKeepsEachItsOwnFillAndBorderAndUndoes)
{
    startEmpty();
    const TSLGraphicPtr rect = addWithTool(QStringLiteral("Rect_Tool_btn"), QRectF(20, 20, 60, 40));
    const TSLGraphicPtr oval = addWithTool(QStringLiteral("Circle_Tool_btn"), QRectF(120, 20, 60, 40));
    ASSERT_TRUE(rect && oval);
    rect->_fillColor = QColor(200, 0, 0);
    rect->_strokeWidth = 2;
    rect->_fill_type = QStringLiteral("S");
    oval->_fillColor = QColor(0, 0, 200);
    oval->_strokeWidth = 5;
    oval->_fill_type = QStringLiteral("G");
    const float rectAlpha = rect->alpha_val;
    const float ovalAlpha = oval->alpha_val;

    clickItem(rect);
    clickItem(oval, Qt::ShiftModifier);
    ASSERT_EQ(canvas()->selectedGraphics().size(), 2u);
    showPage(QStringLiteral("shape_tab"));
    typeInto(widget<Stepper_Field>(QStringLiteral("shape_alpha_Stepper")), QStringLiteral("40"));

    EXPECT_FLOAT_EQ(rect->alpha_val, 0.4f);
    EXPECT_FLOAT_EQ(oval->alpha_val, 0.4f);
    EXPECT_EQ(oval->_fillColor, QColor(0, 0, 200)) << "the shown shape's colour is not copied";
    EXPECT_EQ(oval->_strokeWidth, 5.0);
    EXPECT_EQ(oval->_fill_type, QStringLiteral("G"));
    EXPECT_EQ(rect->_fillColor, QColor(200, 0, 0));

    trigger(QStringLiteral("Undo_btn"));
    EXPECT_FLOAT_EQ(rect->alpha_val, rectAlpha);
    EXPECT_FLOAT_EQ(oval->alpha_val, ovalAlpha);
    EXPECT_EQ(window->Get_Front_Control_Count(), 2);
    EXPECT_EQ(widget<Stepper_Field>(QStringLiteral("shape_alpha_Stepper"))->value(), rectAlpha * 100.0)
        << "the page shows the undone value";
}

TEST_F(EditorScenario, ShapeKindAndGradientAreUndoable)
{
    startEmpty();
    const TSLGraphicPtr polygon = addWithTool(QStringLiteral("Polygon_Tool_btn"), QRectF(40, 20, 80, 80));
    ASSERT_TRUE(polygon);
    const int kind = polygon->polygon_type;
    const double angle = polygon->_fill_grad_angle;
    clickItem(polygon);
    showPage(QStringLiteral("shape_tab"));
    auto* kinds = widget<Stepper_Field>(QStringLiteral("polygon_Stepper"));
    typeInto(kinds, QString::number(kind == 3 ? 4 : 3));
    ASSERT_NE(polygon->polygon_type, kind);
    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(polygon->polygon_type, kind);

    if (!widget<QCheckBox>(QStringLiteral("Shape_fill_chk"))->isChecked())
        tick(widget<QCheckBox>(QStringLiteral("Shape_fill_chk")));
    tick(widget<QRadioButton>(QStringLiteral("Shape_gradient_fill_rd")));
    QCoreApplication::processEvents();
    typeInto(widget<Stepper_Field>(QStringLiteral("shape_grad_Stepper")), QStringLiteral("75"));
    ASSERT_EQ(polygon->_fill_grad_angle, 75.0);
    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(polygon->_fill_grad_angle, angle);
    trigger(QStringLiteral("Redo_btn"));
    EXPECT_EQ(polygon->_fill_grad_angle, 75.0);
}

TEST_F(EditorScenario, LineWidthOnTwoLinesKeepsEachItsColourAndUndoes)
{
    startEmpty();
    const TSLGraphicPtr first = addWithTool(QStringLiteral("Line_Tool_btn"), QRectF(20, 30, 80, 0));
    const TSLGraphicPtr second = addWithTool(QStringLiteral("Line_Tool_btn"), QRectF(20, 90, 80, 0));
    ASSERT_TRUE(first && second);
    first->_strokeColor = QColor(0, 128, 0);
    first->_line_cap_style = 0;
    second->_strokeColor = QColor(128, 0, 128);
    second->_line_cap_style = 2;
    const double width = first->_strokeWidth;

    clickItem(first);
    clickItem(second, Qt::ShiftModifier);
    ASSERT_EQ(canvas()->selectedGraphics().size(), 2u);
    showPage(QStringLiteral("line_tab"));
    typeInto(widget<Stepper_Field>(QStringLiteral("Line_Wdt_Stepper")), QStringLiteral("7"));

    EXPECT_EQ(first->_strokeWidth, 7.0);
    EXPECT_EQ(second->_strokeWidth, 7.0);
    EXPECT_EQ(second->_strokeColor, QColor(128, 0, 128));
    EXPECT_EQ(second->_line_cap_style, 2);
    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(first->_strokeWidth, width);
    EXPECT_EQ(second->_strokeWidth, width);
}

TEST_F(EditorScenario, PictureAdjustmentOnTwoPicturesKeepsEachItsFileAndUndoes)
{
    startEmpty();
    QTemporaryDir folder;
    QStringList paths;
    for (const QColor& colour : { QColor(Qt::red), QColor(Qt::blue) }) {
        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(colour);
        paths << folder.filePath(colour.name().mid(1) + QStringLiteral(".png"));
        ASSERT_TRUE(picture.save(paths.back()));
        ui.fileAnswers.push_back(paths.back());
    }
    const TSLGraphicPtr red = addWithTool(QStringLiteral("Image_Tool_btn"), QRectF(20, 20, 60, 40));
    const TSLGraphicPtr blue = addWithTool(QStringLiteral("Image_Tool_btn"), QRectF(120, 20, 60, 40));
    ASSERT_TRUE(red && blue);
    ASSERT_EQ(red->_file_path, paths[0]);
    ASSERT_EQ(blue->_file_path, paths[1]);

    clickItem(red);
    clickItem(blue, Qt::ShiftModifier);
    showPage(QStringLiteral("image_tab"));
    auto* blur = widget<QSlider>(QStringLiteral("blr_slidr"));
    blur->setFocus();
    QTest::keyClick(blur, Qt::Key_Right);
    QTest::keyClick(blur, Qt::Key_Right);
    QCoreApplication::processEvents();
    tick(widget<QCheckBox>(QStringLiteral("Image_Sepia_chk")));

    for (const TSLGraphicPtr& item : { red, blue }) {
        EXPECT_FLOAT_EQ(item->blr_val, 2.0f);
        EXPECT_TRUE(item->Sepia);
    }
    EXPECT_EQ(blue->_file_path, paths[1]) << "the blue picture keeps its own file";
    EXPECT_EQ(red->_file_path, paths[0]);

    trigger(QStringLiteral("Undo_btn"));
    EXPECT_FALSE(red->Sepia);
    EXPECT_FALSE(blue->Sepia);
    EXPECT_FLOAT_EQ(blue->blr_val, 2.0f) << "the blur was a step of its own";
    trigger(QStringLiteral("Undo_btn"));
    EXPECT_FLOAT_EQ(red->blr_val, 0.0f);
    EXPECT_FLOAT_EQ(blue->blr_val, 0.0f);
}

TEST_F(EditorScenario, SignatureBorderOnTwoSignaturesKeepsEachItsPictureAndUndoes)
{
    startEmpty();
    const TSLGraphicPtr signature = addWithTool(QStringLiteral("Signature_Tool_btn"), QRectF(20, 20, 80, 40));
    const TSLGraphicPtr print = addWithTool(QStringLiteral("Fingure_Print_Tool_btn"), QRectF(140, 20, 60, 60));
    ASSERT_TRUE(signature && print);
    signature->_file_path = QStringLiteral("/signatures/alex.png");
    print->_file_path = QStringLiteral("/signatures/thumb.png");
    const double width = signature->_strokeWidth;

    clickItem(signature);
    clickItem(print, Qt::ShiftModifier);
    showPage(QStringLiteral("sign_tab"));
    if (!widget<QCheckBox>(QStringLiteral("Sign_border_chk"))->isChecked())
        tick(widget<QCheckBox>(QStringLiteral("Sign_border_chk")));
    typeInto(widget<Stepper_Field>(QStringLiteral("Sign_bor_Stepper")), QStringLiteral("3"));

    EXPECT_EQ(signature->_strokeWidth, 3.0);
    EXPECT_EQ(print->_strokeWidth, 3.0);
    EXPECT_EQ(signature->_file_path, QStringLiteral("/signatures/alex.png"));
    EXPECT_EQ(print->_file_path, QStringLiteral("/signatures/thumb.png"));
    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(print->_strokeWidth, width);
}

TEST_F(EditorScenario, BarcodeSettingsSpreadKeepEachDataAndUndoInOneStep)
{
    startEmpty();
    const TSLGraphicPtr first = addWithTool(QStringLiteral("Barcode_Tool_btn"), QRectF(20, 20, 100, 50));
    const TSLGraphicPtr second = addWithTool(QStringLiteral("Barcode_Tool_btn"), QRectF(20, 100, 100, 50));
    ASSERT_TRUE(first && second);
    clickItem(first);
    clickItem(second, Qt::ShiftModifier);
    // The dialog shows the canvas's current item; the other selected barcode takes its settings.
    const TSLGraphicPtr shown = canvas()->Selected_Graphic();
    ASSERT_TRUE(shown == first || shown == second);
    const TSLGraphicPtr other = shown == first ? second : first;
    other->linear_font_val = QStringLiteral("GUEST-0042");
    other->header_val = QStringLiteral("Table 7");
    const QImage shownPicture = shown->_barcode_image;
    QCoreApplication::processEvents();

    confirmNextDialog(); // the settings confirmed as they stand
    click(widget<QWidget>(QStringLiteral("View_barcode_prop_btn")));
    ASSERT_FALSE(shown->_barcode_image.isNull());
    EXPECT_EQ(other->linear_font_val, QStringLiteral("GUEST-0042")) << "each barcode keeps its data";
    EXPECT_EQ(other->header_val, shown->header_val) << "the settings spread";

    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(window->Get_Front_Control_Count(), 2);
    EXPECT_EQ(shown->_barcode_image.isNull(), shownPicture.isNull());
    EXPECT_EQ(shown->_barcode_image.size(), shownPicture.size());
    EXPECT_EQ(other->header_val, QStringLiteral("Table 7"));
}

// A new barcode exports the symbol of its own settings, the one its window opens on: OK changes nothing.
TEST_F(EditorScenario, ANewBarcodeExportsTheSymbolItsWindowOpensOn)
{
    startEmpty();
    const TSLGraphicPtr barcode = addWithTool(QStringLiteral("Barcode_Tool_btn"), QRectF(20, 20, 160, 70));
    QTemporaryDir folder;
    const QString fresh = folder.filePath(QStringLiteral("new.png")), taken = folder.filePath(QStringLiteral("ok.png"));
    window->export_resolution = 300;
    ASSERT_TRUE(window->Export_Single_File(fresh, false));
    clickItem(barcode);
    confirmNextDialog(); // the settings confirmed as they stand
    click(widget<QWidget>(QStringLiteral("View_barcode_prop_btn")));
    ASSERT_TRUE(window->Export_Single_File(taken, false));
    EXPECT_EQ(QImage(fresh), QImage(taken));
}

TEST_F(EditorScenario, TextPageEditsAreEachUndoneAndRedone)
{
    startWithWizard();
    const TSLGraphicPtr message = itemWithID(QStringLiteral("PARTY_MSG"));
    ASSERT_TRUE(message);
    clickItem(message);
    showPage(QStringLiteral("text_prop_tab"));
    auto* align = widget<QComboBox>(QStringLiteral("Text_align_combo"));
    auto* textCase = widget<QComboBox>(QStringLiteral("Text_case_combo"));
    const struct {
        const char* what;
        std::function<void()> edit;
        std::function<QVariant()> value;
    } edits[] = {
        { "alignment", [&] { align->setCurrentIndex(align->currentIndex() == 2 ? 1 : 2); },
            [&] { return QVariant(message->text_alignmnet); } },
        { "case", [&] { textCase->setCurrentIndex(textCase->currentIndex() == 1 ? 2 : 1); },
            [&] { return QVariant(message->text_transfrom_case); } },
        { "kerning",
            [&] { typeInto(widget<Stepper_Field>(QStringLiteral("Text_Kern_Stepper")), QStringLiteral("3.5")); },
            [&] { return QVariant(message->text_kerning); } },
        { "opacity",
            [&] { typeInto(widget<Stepper_Field>(QStringLiteral("Text_alpha_Stepper")), QStringLiteral("55")); },
            [&] { return QVariant(message->alpha_val); } },
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.what);
        const QVariant before = edit.value();
        edit.edit();
        QCoreApplication::processEvents();
        const QVariant after = edit.value();
        ASSERT_NE(after, before);
        trigger(QStringLiteral("Undo_btn"));
        EXPECT_EQ(edit.value(), before);
        trigger(QStringLiteral("Redo_btn"));
        EXPECT_EQ(edit.value(), after);
    }
}

TEST_F(EditorScenario, CardPageChangeWritesOnlyItsOwnPartAndUndoes)
{
    startWithWizard();
    // A pattern stored with the side while its fill is not a pattern: the page does not show it.
    auto* patterns = widget<QComboBox>(QStringLiteral("Card_hatch_style"));
    ASSERT_GE(patterns->count(), 2);
    const QString stored = patterns->itemText(patterns->count() - 1);
    window->Front_card_Prop.setCard_hatch_style(stored);
    clickCanvas(QPointF(3, 3));
    showPage(QStringLiteral("card_brdr_tab"));
    if (!widget<QCheckBox>(QStringLiteral("Card_border_chk"))->isChecked())
        tick(widget<QCheckBox>(QStringLiteral("Card_border_chk")));
    const QColor before = window->Front_card_Prop.Card_bordr_clr();
    pickColour(widget<Color_Well>(QStringLiteral("Card_bordr_clr")), QColor(20, 120, 220));

    EXPECT_EQ(window->Front_card_Prop.Card_bordr_clr(), QColor(20, 120, 220));
    EXPECT_EQ(window->Front_card_Prop.Card_hatch_style(), stored) << "a border change leaves the pattern";
    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(window->Front_card_Prop.Card_bordr_clr(), before);
    EXPECT_EQ(widget<Color_Well>(QStringLiteral("Card_bordr_clr"))->color(), before);
}

// ---------------------------------------------------------------------------------------------------------
// The background changes only when the person picks one in the strip, and the pick can be undone.

TEST_F(EditorScenario, BackgroundStaysWhenTheStripsCurrentItemMovesWithoutAClick)
{
    startWithWizard();
    const QString chosen = window->Front_card_Prop.Card_BG_Image_Path();
    ASSERT_FALSE(chosen.isEmpty());
    auto* strip = widget<QListView>(QStringLiteral("imageBrowser"));
    ASSERT_GE(strip->model()->rowCount(), 2);

    // The size list, then the Rectangle tool, then tabbing through the window.
    auto* sizes = widget<QTableWidget>(QStringLiteral("ColList"));
    showPage(QStringLiteral("card_setting_tab"));
    QTest::mouseClick(sizes->viewport(), Qt::LeftButton, {}, sizes->visualItemRect(sizes->item(1, 0)).center());
    click(widget<QWidget>(QStringLiteral("Rect_Tool_btn")));
    for (int press = 0; press < 40; ++press)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.get(), Qt::Key_Tab);
    strip->setFocus();
    strip->selectionModel()->setCurrentIndex(strip->model()->index(1, 0), QItemSelectionModel::NoUpdate);
    QCoreApplication::processEvents();

    EXPECT_EQ(window->Front_card_Prop.Card_BG_Image_Path(), chosen);
}

TEST_F(EditorScenario, ClickedBackgroundIsUndoneAndRedone)
{
    startWithWizard();
    const QString chosen = window->Front_card_Prop.Card_BG_Image_Path();
    auto* strip = widget<QListView>(QStringLiteral("imageBrowser"));
    ASSERT_GE(strip->model()->rowCount(), 3);
    const QModelIndex other = strip->model()->index(2, 0);

    strip->scrollTo(other);
    QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, strip->visualRect(other).center());
    QCoreApplication::processEvents();
    const QString picked = window->Front_card_Prop.Card_BG_Image_Path();
    EXPECT_NE(picked, chosen);
    EXPECT_FALSE(window->Front_card_Prop.Card_BG_Image().isNull());

    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(window->Front_card_Prop.Card_BG_Image_Path(), chosen);
    trigger(QStringLiteral("Redo_btn"));
    EXPECT_EQ(window->Front_card_Prop.Card_BG_Image_Path(), picked);
}

TEST_F(EditorScenario, DraggingABackgroundInTheStripMovesItAndAClickThenPicksItThere)
{
    startWithWizard();
    auto* strip = widget<QListView>(QStringLiteral("imageBrowser"));
    auto* pictures = qobject_cast<Browser_Picture_Model*>(strip->model());
    ASSERT_NE(pictures, nullptr);
    ASSERT_GE(pictures->rowCount(), 3);
    const QString third = pictures->index(2, 0).data(Browser_Picture_Model::PathRole).toString();
    const QString first = pictures->index(0, 0).data(Browser_Picture_Model::PathRole).toString();

    // The third picture dragged onto the left half of the first, as the drag's own data carries it.
    std::unique_ptr<QMimeData> dragged(pictures->mimeData({ pictures->index(2, 0) }));
    strip->scrollTo(pictures->index(0, 0));
    const QPoint target = strip->visualRect(pictures->index(0, 0)).center() - QPoint(4, 0);
    QDragEnterEvent enter(target, Qt::MoveAction, dragged.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip->viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(target), Qt::MoveAction, dragged.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(pictures->index(0, 0).data(Browser_Picture_Model::PathRole).toString(), third);
    EXPECT_EQ(pictures->index(1, 0).data(Browser_Picture_Model::PathRole).toString(), first);

    QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, strip->visualRect(pictures->index(0, 0)).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(QFileInfo(window->Front_card_Prop.Card_BG_Image_Path()).fileName(), QFileInfo(third).fileName());
}

TEST_F(EditorScenario, TheSideBarShowsTheBannerTiledFromItsOwnCorner)
{
    startEmpty();
    QWidget* bar = widget<QWidget>(QStringLiteral("side_bar_banner"));
    ASSERT_FALSE(window->banner_image.isNull()) << "banner.png is installed";
    EXPECT_GE(bar->height(), widget<QWidget>(QStringLiteral("Front_Card_btn"))->sizeHint().height())
        << "the side buttons on the banner are not cut";
    const QImage shown = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage tile = window->banner_image.convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shown.height(), 3);
    const qreal ratio = shown.devicePixelRatio();
    for (const QPoint at : { QPoint(1, 1), QPoint(2, shown.height() - 2) }) {
        const QPoint on(int(at.x() / ratio) % tile.width(), int(at.y() / ratio) % tile.height());
        EXPECT_EQ(shown.pixel(at), tile.pixel(on)) << at.x() << "," << at.y();
    }
}

// ---------------------------------------------------------------------------------------------------------
// The text box follows the source of the item shown.

TEST_F(EditorScenario, TextBoxTakesTypingAgainAfterAnotherItemWasSetToSeries)
{
    startWithWizard();
    const TSLGraphicPtr to = itemWithID(QStringLiteral("PARTY_TO"));
    const TSLGraphicPtr message = itemWithID(QStringLiteral("PARTY_MSG"));
    ASSERT_TRUE(to && message);
    // A series to bind to: the folder's other files are no series.
    ASSERT_TRUE(Series_File::write(QStringLiteral("Guests"), { QStringLiteral("Anna") }, Series_File::Values::AsGiven));
    clickItem(to);
    showPage(QStringLiteral("datasource_tab"));
    auto* source = widget<QComboBox>(QStringLiteral("Data_source_type"));
    source->setCurrentIndex(source->findText(QStringLiteral("Series")));
    EXPECT_TRUE(window->Text_value_Edit->isReadOnly());

    clickItem(message);
    showPage(QStringLiteral("text_edtng_tab"));
    EXPECT_FALSE(window->Text_value_Edit->isReadOnly());
    window->Text_value_Edit->setFocus();
    window->Text_value_Edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(window->Text_value_Edit, QStringLiteral(" Bye"));
    EXPECT_TRUE(textOf(message).endsWith(QStringLiteral(" Bye")));
}

// ---------------------------------------------------------------------------------------------------------
// New starts from a new card's records.

TEST_F(EditorScenario, NewCardIsTwoSidedAgainAfterFrontOnly)
{
    startWithWizard();
    showPage(QStringLiteral("card_setting_tab"));
    auto* sides = widget<QComboBox>(QStringLiteral("Sides_ComboBox"));
    sides->setCurrentIndex(1);
    pickColour(widget<Color_Well>(QStringLiteral("Card_bordr_clr")), QColor(1, 2, 3)); // a write-back
    ASSERT_EQ(window->Front_card_Prop.Card_Side(), QStringLiteral("1"));

    ui.messageAnswers.push_back(0); // "No" to saving the changed card
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto* wizard = qobject_cast<Invitation_Wizard*>(&dialog);
        return wizard ? editorscenario::runWizardDefaults(*wizard, QStringLiteral("Sam")) : 0;
    });
    trigger(QStringLiteral("New_btn"));

    EXPECT_EQ(sides->currentIndex(), 0);
    EXPECT_TRUE(window->Back_Side_btn->isEnabled());
    EXPECT_EQ(window->Front_card_Prop.Card_Side(), QStringLiteral("2"));
    pickColour(widget<Color_Well>(QStringLiteral("Card_bordr_clr")), QColor(4, 5, 6));
    EXPECT_EQ(window->Front_card_Prop.Card_Side(), QStringLiteral("2"));
}

// ---------------------------------------------------------------------------------------------------------
// Undo acts on the side shown: a front step is not taken back from the back.

TEST_F(EditorScenario, UndoOnTheBackSideLeavesTheFrontsStepsAlone)
{
    startWithWizard();
    const TSLGraphicPtr title = itemWithID(QStringLiteral("PARTY_TITLE"));
    ASSERT_TRUE(title);
    const QRectF before = title->bounds();
    dragOnCanvas(before.center(), before.center() + QPointF(0, 30));
    const QRectF moved = title->bounds();
    ASSERT_NE(moved, before);

    click(window->Back_Side_btn);
    ASSERT_EQ(Card_Front_Or_Back, 1);
    EXPECT_FALSE(action(QStringLiteral("Undo_btn"))->isEnabled()) << "nothing was done on the back";
    EXPECT_EQ(title->bounds(), moved);
    click(window->Front_Card_btn);
    trigger(QStringLiteral("Undo_btn"));
    EXPECT_EQ(title->bounds(), before);
    EXPECT_EQ(window->myTargetView->currentWidget(), window->first_view);
}

// ---------------------------------------------------------------------------------------------------------
// Pictures of the window and of exported cards.

namespace {

// Pixels of the picture inside the rectangle that are darker than mid grey.
int darkPixels(const QImage& picture, const QRect& area)
{
    int count = 0;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (qGray(picture.pixel(x, y)) < 100)
                ++count;
    return count;
}

} // namespace

TEST_F(EditorScenario, BarcodeFromTheSettingsDialogStaysInsideItsItem)
{
    startEmpty();
    click(widget<QWidget>(QStringLiteral("Barcode_Tool_btn")));
    ASSERT_EQ(window->Get_Front_Control_Count(), 1);
    const TSLGraphicPtr barcode = window->Get_Front_Controls_Array().front();
    clickItem(barcode);
    confirmNextDialog(); // the settings confirmed as they stand
    click(widget<QWidget>(QStringLiteral("View_barcode_prop_btn")));
    ASSERT_FALSE(barcode->_barcode_image.isNull()) << "the dialog gave the item its symbol";
    ASSERT_GT(barcode->_barcode_image.deviceIndependentSize().width(), barcode->bounds().width())
        << "the symbol is made larger than the item, as at print resolution";

    // On the canvas, a pixel per point: dark modules inside the item, none on the card around it.
    canvas()->Clear_Control_Selection();
    QCoreApplication::processEvents();
    const QImage shown = canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect item = barcode->bounds().toAlignedRect();
    EXPECT_GT(darkPixels(shown, item.adjusted(2, 2, -2, -2)), 50);
    const QRect below(item.left(), item.bottom() + 4, item.width(), 60);
    const QRect right(item.right() + 4, item.top(), 60, item.height());
    EXPECT_EQ(darkPixels(shown, below), 0);
    EXPECT_EQ(darkPixels(shown, right), 0);

    // In the exported card the same.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("card.png"));
    window->export_card_side = QStringLiteral("F");
    ASSERT_TRUE(window->Export_Single_File(path, false));
    const QImage exported = QImage(path).convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(darkPixels(exported, item.adjusted(2, 2, -2, -2)), 50);
    EXPECT_EQ(darkPixels(exported, below), 0);
    EXPECT_EQ(darkPixels(exported, right), 0);
}

TEST_F(EditorScenario, ExportWritesTheChosenResolutionAndFormat)
{
    startWithWizard();
    const QSizeF card = window->frontCanvasBounds().size();
    QTemporaryDir folder;
    // The file's name follows the chosen format: a name that claims another format gets the format's own.
    const struct {
        const char* format;
        const char* chosen;
        const char* written;
        QByteArray magic;
    } rows[] = {
        { "JPEG", "card.jpeg", "card.jpeg", "\xFF\xD8\xFF" },
        { "JPEG", "photo.JPG", "photo.JPG", "\xFF\xD8\xFF" },
        { "PNG", "card.pdf", "card.pdf.png", "\x89PNG" },
        { "TIFF", "plain", "plain.tiff", "II*" },
    };
    for (const auto& row : rows) {
        ui.modalRuns.push_back([&row](QDialog& dialog) {
            auto* format = dialog.findChild<QComboBox*>(QStringLiteral("fileFormatPopup"));
            auto* dpi = dialog.findChild<QComboBox*>(QStringLiteral("saveDPIText"));
            if (!format || !dpi)
                return 0;
            format->setCurrentIndex(format->findText(QLatin1String(row.format)));
            dpi->setFocus();
            dpi->lineEdit()->selectAll();
            QTest::keyClicks(dpi->lineEdit(), QStringLiteral("300"));
            return 1;
        });
        ui.fileAnswers.push_back(folder.filePath(QLatin1String(row.chosen)));
        window->Export_btn->setEnabled(true);
        trigger(QStringLiteral("Export_btn"));

        const QString path = folder.filePath(QLatin1String(row.written));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << row.written;
        EXPECT_TRUE(file.read(4).startsWith(row.magic)) << row.written << ": the data the name says";
        const QImage picture(path);
        EXPECT_NEAR(picture.width(), card.width() * 300 / 72, 2);
        EXPECT_NEAR(picture.height(), card.height() * 300 / 72, 2);
        EXPECT_NEAR(picture.dotsPerMeterX(), 300 / 0.0254, 40);
    }
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("card.pdf")))) << "no PNG data under a PDF name";
}

TEST_F(EditorScenario, ResolutionOutsideTheRangeIsRefusedWithAMessage)
{
    startEmpty();
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto* dpi = dialog.findChild<QComboBox*>(QStringLiteral("saveDPIText"));
        auto* ok = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (!dpi || !ok)
            return 0;
        dpi->lineEdit()->selectAll();
        QTest::keyClicks(dpi->lineEdit(), QStringLiteral("5000"));
        QTest::mouseClick(ok->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return dialog.result() == 1 ? 1 : 0;
    });
    window->Export_btn->setEnabled(true);
    trigger(QStringLiteral("Export_btn"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("72 to 2400")));
    EXPECT_TRUE(ui.fileRequests.empty()) << "no file is asked for";
}

TEST_F(EditorScenario, GridReachesTheFarCornerOfTheCard)
{
    startWithWizard();
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto* show = dialog.findChild<QCheckBox*>(QStringLiteral("Show_hide_grid_chk"));
        if (show)
            QTest::mouseClick(show, Qt::LeftButton);
        return 1;
    });
    clickItem(itemWithID(QStringLiteral("PARTY_TITLE")));
    showPage(QStringLiteral("aligmnt_tab"));
    click(widget<QWidget>(QStringLiteral("Grid_Options_btn")));
    ASSERT_TRUE(window->_grid->isAlwaysShown());
    canvas()->Clear_Control_Selection();
    window->repaint();

    // The window as it is drawn, canvas and all: grid lines near the card's far corner as near its origin.
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = canvas()->mapTo(window.get(), QPoint(0, 0));
    const QSize size = canvas()->size();
    const auto gridPixels = [&shown](const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = QColor::fromRgb(shown.pixel(x, y));
                if (std::abs(c.red() - 170) < 30 && std::abs(c.red() - c.green()) < 8
                    && std::abs(c.red() - c.blue()) < 8)
                    ++count;
            }
        return count;
    };
    const QRect nearOrigin(origin + QPoint(2, 2), QSize(30, 30));
    const QRect farCorner(origin + QPoint(size.width() - 32, size.height() - 32), QSize(30, 30));
    EXPECT_GT(gridPixels(nearOrigin), 20);
    EXPECT_GT(gridPixels(farCorner), 20) << "the grid covers the whole card";
}

TEST_F(EditorScenario, SizeListAppliesTheClickedSizeAndShowsTheCardsOwn)
{
    startWithWizard();
    showPage(QStringLiteral("card_setting_tab"));
    auto* sizes = widget<QTableWidget>(QStringLiteral("ColList"));
    EXPECT_TRUE(sizes->selectedItems().isEmpty()) << "the wizard's card is none of the listed sizes";

    // CR80 keeps the wizard's texts in their places and apart, in one step.
    const auto wizardCard = layoutOfBothSides();
    const QSizeF wizardSize = canvas()->canvasSize();
    QTest::mouseClick(sizes->viewport(), Qt::LeftButton, {}, sizes->visualItemRect(sizes->item(0, 0)).center());
    QCoreApplication::processEvents();
    expectKeptApart(wizardCard, wizardSize);
    const auto creditCard = layoutOfBothSides();
    EXPECT_TRUE(std::ranges::equal(creditCard, wizardCard, {}, &Placed::font, &Placed::font)) << "letters kept";
    // Turned and turned back twice: the card gets back the layout it had each way.
    std::vector<Placed> upright;
    for (int turn = 0; turn < 4; ++turn) {
        QTest::keyClick(window->Preset_ComboBox, turn % 2 ? Qt::Key_Up : Qt::Key_Down);
        QCoreApplication::processEvents();
        if (turn == 0)
            upright = layoutOfBothSides();
        EXPECT_EQ(layoutOfBothSides(), turn % 2 ? creditCard : upright) << "turn " << turn;
    }
    for (int step = 0; step < 5; ++step) // the turns, then CR80
        trigger(QStringLiteral("menu_Undo"));
    EXPECT_EQ(layoutOfBothSides(), wizardCard);
    typeInto(window->height_Stepper, QStringLiteral("5")); // too low for them: it says so
    EXPECT_TRUE(editortest::messageTexts(ui).join(QLatin1Char(' ')).contains(QLatin1String("too small")));
    trigger(QStringLiteral("menu_Undo"));
    EXPECT_EQ(layoutOfBothSides(), wizardCard) << "letters made smaller come back too";

    QTest::mouseClick(sizes->viewport(), Qt::LeftButton, {}, sizes->visualItemRect(sizes->item(2, 0)).center());
    QCoreApplication::processEvents();
    const QSizeF points = window->frontCanvasBounds().size();
    EXPECT_NEAR(points.width(), 91.948 * 2.834645669291, 0.5);
    EXPECT_NEAR(points.height(), 60.452 * 2.834645669291, 0.5);
    EXPECT_EQ(window->Front_card_Prop.Card_Sub_Category(), QStringLiteral("CR90-Over Sized"));

    // Back to the card page later: the row of the card's size is the one highlighted.
    clickItem(itemWithID(QStringLiteral("PARTY_TITLE")));
    clickCanvas(QPointF(3, 3));
    const QList<QTableWidgetItem*> marked = sizes->selectedItems();
    ASSERT_EQ(marked.size(), 1);
    EXPECT_EQ(marked.front()->row(), 2);

    // Tab leaves the list.
    sizes->setFocus();
    QTest::keyClick(sizes, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), sizes);
}

TEST_F(EditorScenario, EveryCardPageHoldsControls)
{
    startWithWizard();
    clickCanvas(QPointF(3, 3));
    ASSERT_FALSE(pageNames().isEmpty());
    for (const QString& name : pageNames()) {
        QWidget* page = widget<QWidget>(name);
        int controls = 0;
        for (QWidget* child : page->findChildren<QWidget*>())
            if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QComboBox*>(child)
                || qobject_cast<QLineEdit*>(child) || qobject_cast<QAbstractItemView*>(child)
                || qobject_cast<Stepper_Field*>(child))
                ++controls;
        EXPECT_GT(controls, 0) << name.toStdString() << " is empty";
    }
}

TEST_F(EditorScenario, WizardTextsAreWhiteOnADarkBackground)
{
    // The dark picture is chosen in the wizard's own strip, as a person picks it.
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto* wizard = qobject_cast<Invitation_Wizard*>(&dialog);
        if (!wizard)
            return 0;
        wizard->show();
        editorscenario::clickChild(*wizard, "Using_Wizard_btn");
        editorscenario::clickChild(*wizard, "Next_btn");
        auto* strip = wizard->findChild<QListView*>(QStringLiteral("imageBrowser"));
        if (!strip)
            return 0;
        for (int row = 0; row < strip->model()->rowCount(); ++row) {
            const QModelIndex index = strip->model()->index(row, 0);
            if (index.data(Qt::DisplayRole).toString().contains(QStringLiteral("Night"))) {
                strip->scrollTo(index);
                QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, strip->visualRect(index).center());
            }
        }
        editorscenario::clickChild(*wizard, "Next_btn");
        editorscenario::clickChild(*wizard, "Cute_btn");
        editorscenario::clickChild(*wizard, "Next_btn");
        editorscenario::clickChild(*wizard, "Next_btn");
        wizard->hide();
        return wizard->result();
    });
    window->awakeFromNib();
    ASSERT_TRUE(window->Front_card_Prop.Card_BG_Image_Path().contains(QStringLiteral("Night")));
    const TSLGraphicPtr title = itemWithID(QStringLiteral("PARTY_TITLE"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->txt_clr, QColor(Qt::white));

    // And black on a light picture, black without one.
    QImage light(20, 20, QImage::Format_RGB32);
    light.fill(QColor(240, 230, 200));
    EXPECT_EQ(TSLWindowController::readableTextColour(light), QColor(Qt::black));
    EXPECT_EQ(TSLWindowController::readableTextColour(QImage()), QColor(Qt::black));
}

TEST_F(EditorScenario, APictureChosenWithThePictureToolIsPlacedUprightOrRefusedByName)
{
    startEmpty();
    QTemporaryDir folder;
    // A 12000 x 12000 PNG, small on disk: one colour compresses well.
    const QString huge = folder.filePath(QStringLiteral("huge.png"));
    {
        QImage picture(12000, 12000, QImage::Format_Mono);
        picture.fill(1);
        ASSERT_TRUE(picture.save(huge));
    }
    struct Row {
        QString path;
        QByteArray bytes; // written when not empty
        const char* message; // empty when the picture is placed
        double ratio = 2.0; // height over width, as placed
    };
    std::vector<Row> rows = {
        { huge, {}, "12000 x 12000" },
        { folder.filePath(QStringLiteral("damaged.png")), picturefiles::damagedPng(), "damaged" },
        { folder.filePath(QStringLiteral("upright.jpg")), picturefiles::jpegWithOrientation(6), "" },
        { folder.filePath(QStringLiteral("scans100.jpg")), picturefiles::hundredScanJpeg(), "", 1.0 },
        { folder.filePath(QStringLiteral("colour70.jpg")), picturefiles::fullColourProgressiveJpeg(), "",
            6832.0 / 10248 },
    };
    for (const picturefiles::Hostile_Picture& hostile : picturefiles::hostilePictures())
        rows.push_back({ folder.filePath(QLatin1String(hostile.name)), hostile.bytes, hostile.says });
    const auto pastedFiles
        = [] { return QDir(Resource_Path + "/LibraryImage").entryList({ "Pasted_*" }, QDir::Files).size(); };
    const qsizetype pastedBefore = pastedFiles();
    // Each picture chosen with the picture tool, then copied in another program and pasted: both roads pass
    // the same gate and say the same.
    for (std::size_t road = 0; road < 2 * rows.size(); ++road) {
        const Row& row = rows[road % rows.size()];
        const bool pasted = road >= rows.size();
        SCOPED_TRACE((pasted ? "pasted " : "chosen ") + row.path.toStdString());
        if (!row.bytes.isEmpty()) {
            ASSERT_TRUE(picturefiles::write(row.path, row.bytes));
        }
        const int before = window->Get_Front_Control_Count();
        ui.messages.clear();
        if (pasted) {
            QFile file(row.path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            auto* data = new QMimeData;
            data->setData(QLatin1String(row.path.endsWith(".png") ? "image/png" : "image/jpeg"), file.readAll());
            QGuiApplication::clipboard()->setMimeData(data);
            trigger(QStringLiteral("menu_Paste"));
        } else {
            ui.fileAnswers.push_back(row.path);
            click(widget<QWidget>(QStringLiteral("Image_Tool_btn")));
        }
        if (*row.message) {
            EXPECT_EQ(window->Get_Front_Control_Count(), before) << row.message;
            ASSERT_EQ(ui.messages.size(), 1u);
            const QString named = pasted ? QStringLiteral("Pasted_") : QFileInfo(row.path).fileName();
            EXPECT_TRUE(ui.messages[0].text.contains(named)) << ui.messages[0].text.toStdString();
            EXPECT_TRUE(ui.messages[0].text.contains(QLatin1String(row.message))) << ui.messages[0].text.toStdString();
            continue;
        }
        // A phone photo taken upright lands upright, with its own proportions.
        ASSERT_EQ(window->Get_Front_Control_Count(), before + 1);
        const QSizeF box = window->Get_Front_Controls_Array().front()->bounds().size(); // the newest
        EXPECT_NEAR(box.height() / box.width(), row.ratio, 0.05);
    }
    EXPECT_EQ(pastedFiles(), pastedBefore + 3) << "a refused paste leaves no file behind";
}

TEST_F(EditorScenario, PictureCopiedInAnotherProgramIsPastedOnTheCardSelectedAndShown)
{
    startEmpty();
    // A photo far larger than the card, as another program offers it: PNG alone.
    QImage photo(1600, 800, QImage::Format_RGB32);
    photo.fill(QColor(230, 20, 20));
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(photo.save(&buffer, "PNG"));
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    QGuiApplication::clipboard()->setMimeData(data);
    trigger(QStringLiteral("menu_Paste"));

    ASSERT_EQ(window->Get_Front_Control_Count(), 1);
    const TSLGraphicPtr item = window->Get_Front_Controls_Array().front();
    const QRectF card = window->frontCanvasBounds();
    EXPECT_TRUE(card.contains(item->bounds())) << "on the card";
    EXPECT_NEAR(item->width() / item->height(), 2.0, 0.01) << "its proportions kept";
    EXPECT_EQ(canvas()->selectionIndexes(), (TSLIndexSet { 0 }));
    const QImage shown = canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor centre = shown.pixelColor(onCanvas(item->bounds().center()));
    EXPECT_GT(centre.red(), 200);
    EXPECT_LT(centre.green(), 60) << "the picture is drawn";
}

TEST_F(EditorScenario, PictureThatCannotBeFoundIsMarkedOnTheCanvasAndCountedByTheExport)
{
    startEmpty();
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("beach.png"));
    ASSERT_TRUE(writeSolidPicture(picture, QSize(80, 60), QColor(20, 40, 220)));
    ui.fileAnswers.push_back(picture);
    click(widget<QWidget>(QStringLiteral("Image_Tool_btn")));
    ASSERT_EQ(window->Get_Front_Control_Count(), 1);
    window->Get_Front_Controls_Array().front()->setBounds(QRectF(20, 20, 80, 60));
    const QString design = folder.filePath(QStringLiteral("holiday.dcard"));
    ui.fileAnswers.push_back(design);
    trigger(QStringLiteral("Save_btn"));
    // The picture is moved away; the design is opened again.
    ASSERT_TRUE(QFile::rename(picture, folder.filePath(QStringLiteral("moved.png"))));
    ASSERT_EQ(window->Read_and_load_design_Log(design, QStringLiteral("L")), 1);
    QCoreApplication::processEvents();

    // The frame is marked on the canvas, not left empty.
    const QImage shown = canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor corner = shown.pixelColor(onCanvas(QPointF(25, 75)));
    EXPECT_GT(corner.red(), 240);
    EXPECT_LT(corner.green(), 250) << "the frame of a picture that cannot be found is marked";

    // The export says that the card went without it.
    QString told;
    ui.modalRuns.push_back([](QDialog&) { return 1; }); // the export dialog's defaults: PNG, the front
    ui.modalRuns.push_back([&told](QDialog& box) {
        if (auto* message = box.findChild<QLabel*>(QStringLiteral("_open_log_message")))
            told = message->text();
        return 0;
    });
    ui.fileAnswers.push_back(folder.filePath(QStringLiteral("card.png")));
    window->Export_btn->setEnabled(true);
    trigger(QStringLiteral("Export_btn"));
    EXPECT_TRUE(told.startsWith(QStringLiteral("The card has been exported, but it is not whole.")))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("1 card is made without a picture that cannot be found")))
        << told.toStdString();
}

TEST_F(EditorScenario, FailedSaveSaysWhereAndWhy)
{
    startWithWizard();
    QTemporaryDir folder;
    ui.fileAnswers.push_back(folder.filePath(QStringLiteral("missing/card.dcard")));
    trigger(QStringLiteral("Save_btn"));
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString text = ui.messages[0].text.trimmed();
    EXPECT_TRUE(text.startsWith(QStringLiteral("The design could not be saved"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("missing/card.dcard"))) << text.toStdString();
}

// ---------------------------------------------------------------------------------------------------------
// Smaller things a person meets.

TEST_F(EditorScenario, ClickOnTheDeskAroundTheCardDeselects)
{
    startWithWizard();
    clickItem(itemWithID(QStringLiteral("PARTY_TITLE")));
    ASSERT_EQ(canvas()->selectedGraphics().size(), 1u);
    QWidget* desk = canvas()->parentWidget();
    ASSERT_NE(desk, nullptr);
    const QPoint outside = canvas()->geometry().bottomRight() + QPoint(10, 10);
    ASSERT_TRUE(desk->rect().contains(outside)) << "the window shows desk beyond the card";
    QTest::mouseClick(desk, Qt::LeftButton, {}, outside);
    EXPECT_TRUE(canvas()->selectedGraphics().empty());
    EXPECT_EQ(currentPageName(), QStringLiteral("card_setting_tab"));
}

TEST_F(EditorScenario, WizardsLastButtonReadsFinish)
{
    QString lastButton;
    ui.modalRuns.push_back([&lastButton](QDialog& dialog) {
        auto* wizard = qobject_cast<Invitation_Wizard*>(&dialog);
        if (!wizard)
            return 0;
        wizard->show();
        editorscenario::clickChild(*wizard, "Using_Wizard_btn");
        auto* next = wizard->findChild<QAbstractButton*>(QStringLiteral("Next_btn"));
        EXPECT_EQ(next->text(), QStringLiteral("Next"));
        editorscenario::clickChild(*wizard, "Next_btn");
        editorscenario::clickChild(*wizard, "Next_btn");
        editorscenario::clickChild(*wizard, "Cute_btn");
        editorscenario::clickChild(*wizard, "Next_btn");
        lastButton = next->text();
        editorscenario::clickChild(*wizard, "Back_Btn");
        EXPECT_EQ(next->text(), QStringLiteral("Next"));
        editorscenario::clickChild(*wizard, "Next_btn");
        editorscenario::clickChild(*wizard, "Next_btn");
        wizard->hide();
        return wizard->result();
    });
    window->awakeFromNib();
    EXPECT_EQ(lastButton, QStringLiteral("Finish"));
}

TEST_F(EditorScenario, FingerprintToolPlacesAFingerprint)
{
    startEmpty();
    click(widget<QWidget>(QStringLiteral("Fingure_Print_Tool_btn")));
    ASSERT_EQ(window->Get_Front_Control_Count(), 1);
    const TSLGraphicPtr item = window->Get_Front_Controls_Array().front();
    EXPECT_EQ(item->className(), QStringLiteral("TSLSignature"));
    EXPECT_EQ(item->Sign_Or_FP_Val(), QStringLiteral("F"));
    EXPECT_EQ(window->sign_tab->windowTitle(), QStringLiteral("FingrePrint Properties"));
}

TEST_F(EditorScenario, FontPanelOpensOnTheShownItemsFont)
{
    startWithWizard();
    const TSLGraphicPtr title = itemWithID(QStringLiteral("PARTY_TITLE"));
    const TSLGraphicPtr message = itemWithID(QStringLiteral("PARTY_MSG"));
    ASSERT_TRUE(title && message && title->text_ctrl_font && message->text_ctrl_font);
    ASSERT_NE(*title->text_ctrl_font, *message->text_ctrl_font);
    for (const TSLGraphicPtr& item : { title, message }) {
        SCOPED_TRACE(item->control_ID.toStdString());
        clickItem(item);
        showPage(QStringLiteral("text_prop_tab"));
        click(widget<QPushButton>(QStringLiteral("Text_font_btn")));
        auto* panel = window->findChild<QFontDialog*>();
        ASSERT_NE(panel, nullptr);
        EXPECT_TRUE(panel->isVisible());
        const QFont shown = panel->currentFont();
        const QFont& own = *item->text_ctrl_font;
        EXPECT_EQ(QFontInfo(shown).family(), QFontInfo(own).family());
        EXPECT_NEAR(shown.pointSizeF(), own.pointSizeF(), 0.01);
        EXPECT_EQ(shown.bold(), own.bold());
        EXPECT_EQ(shown.italic(), own.italic());
        panel->close();
        QCoreApplication::processEvents();
        EXPECT_EQ(*item->text_ctrl_font, own) << "opening the panel changes nothing";
    }

    // The card page's text font opens the same panel on the side's own text font.
    clickCanvas(QPointF(3, 3));
    window->All_Text_font = *title->text_ctrl_font;
    showPage(QStringLiteral("card_bkgd_tab"));
    click(widget<QPushButton>(QStringLiteral("Content_Font_btn")));
    auto* panel = window->findChild<QFontDialog*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(QFontInfo(panel->currentFont()).family(), QFontInfo(*title->text_ctrl_font).family());
    EXPECT_EQ(panel->currentFont().italic(), title->text_ctrl_font->italic());
    panel->close();
}

TEST_F(EditorScenario, CenterIsSpelledOneWayInEveryText)
{
    startWithWizard();
    clickItem(itemWithID(QStringLiteral("PARTY_TITLE")));
    QStringList texts;
    for (QWidget* shown : QApplication::allWidgets()) {
        texts << shown->toolTip() << shown->windowTitle();
        if (auto* button = qobject_cast<QAbstractButton*>(shown))
            texts << button->text();
        if (auto* label = qobject_cast<QLabel*>(shown))
            texts << label->text();
        if (auto* box = qobject_cast<QGroupBox*>(shown))
            texts << box->title();
        if (auto* choices = qobject_cast<QComboBox*>(shown))
            for (int i = 0; i < choices->count(); ++i)
                texts << choices->itemText(i);
        if (auto* tabs = qobject_cast<QTabWidget*>(shown))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
    }
    int centers = 0;
    for (const QString& text : texts) {
        EXPECT_FALSE(text.contains(QStringLiteral("centre"), Qt::CaseInsensitive)) << text.toStdString();
        centers += text.contains(QStringLiteral("Center")) ? 1 : 0;
    }
    EXPECT_GE(centers, 2) << "the alignment choices and commands say Center";
}

TEST_F(EditorScenario, NewTextBoxIsWideEnoughForItsText)
{
    startEmpty();
    click(widget<QWidget>(QStringLiteral("Text_Tool_btn")));
    ASSERT_EQ(window->Get_Front_Control_Count(), 1);
    const TSLGraphicPtr item = window->Get_Front_Controls_Array().front();
    auto* text = dynamic_cast<TSLText*>(item.get());
    ASSERT_NE(text, nullptr);
    const QString shown = text->displayedText();
    ASSERT_FALSE(shown.isEmpty());
    // Laid out at the box's width, as the canvas draws it, the text stays on one line and inside the box.
    const auto layout = tsltextlayout::layoutText(
        shown, text->displayedFont(), item->text_kerning, item->text_alignmnet, item->bounds().width());
    EXPECT_EQ(layout->lineCount(), 1) << "a box of " << item->bounds().width() << " points breaks its text";
    EXPECT_LE(tsltextlayout::usedSize(*layout).height(), item->bounds().height() + 0.5);
    EXPECT_EQ(item->bounds().size(), text->naturalSize()) << "the box has its natural size";
}

TEST_F(EditorScenario, FontNamesFitTheirLabels)
{
    startWithWizard();
    const auto fits = [](QLabel* label) {
        const QFontMetrics metrics(label->font());
        if (label->wordWrap())
            return label->height() >= label->heightForWidth(label->width());
        return label->contentsRect().width() >= metrics.horizontalAdvance(label->text());
    };
    clickItem(itemWithID(QStringLiteral("PARTY_TITLE")));
    showPage(QStringLiteral("text_prop_tab"));
    auto* itemFont = widget<QLabel>(QStringLiteral("Text_font_value"));
    ASSERT_TRUE(itemFont->text().contains(QStringLiteral(")")));
    EXPECT_TRUE(fits(itemFont)) << itemFont->text().toStdString() << " in " << itemFont->width();
    EXPECT_LE(itemFont->mapTo(window->text_prop_tab, QPoint(itemFont->width(), 0)).x(), window->text_prop_tab->width());

    clickCanvas(QPointF(3, 3));
    showPage(QStringLiteral("card_bkgd_tab"));
    auto* sideFont = widget<QLabel>(QStringLiteral("All_Text_font_value"));
    ASSERT_TRUE(sideFont->text().contains(QStringLiteral(")")));
    EXPECT_TRUE(fits(sideFont)) << sideFont->text().toStdString() << " in " << sideFont->width();
    EXPECT_LE(sideFont->mapTo(window->card_bkgd_tab, QPoint(sideFont->width(), 0)).x(), window->card_bkgd_tab->width());
}
