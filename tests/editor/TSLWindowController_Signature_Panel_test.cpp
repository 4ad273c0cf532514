// The signature page writes border and picture path into every selected item of the side being edited.
#include "editor/ItemPanelTestSupport.h"

#include "model/TSLSignature.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

using editortest::itemBytes;

class SignaturePanelTest : public editortest::ItemPanelTest {
protected:
    // The window as a person sees it, so every control has its size on the page.
    void SetUp() override
    {
        ItemPanelTest::SetUp();
        startUpEmpty();
    }
    static void click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    TSLGraphicPtr addSignature(const QString& key = TSLDocumentGraphicsKey)
    {
        return addItem(QStringLiteral("TSLSignature"), QRectF(30, 30, 60, 20), key);
    }
    void showPage(const TSLGraphicPtr& item)
    {
        window->Show_RHS_Properties(item);
        window->sett_tab->setCurrentWidget(window->sign_tab);
    }
};

TEST_F(SignaturePanelTest, BorderAndPathGoIntoEverySelectedSignatureAndNowhereElse)
{
    const TSLGraphicPtr first = addSignature();
    const TSLGraphicPtr unselected = addSignature();
    const TSLGraphicPtr third = addSignature();
    const TSLGraphicPtr back = addSignature(TSLDocumentGraphicsKey_back);
    for (const TSLGraphicPtr& item : { first, third })
        item->_isDrawingStroke = false;
    select(window->_graphicView, { 0, 2 });
    showPage(first);
    const QByteArray unselectedBefore = itemBytes(*unselected);
    const QByteArray backBefore = itemBytes(*back);

    click(control<QCheckBox>("Sign_border_chk"));
    control<Color_Well>("Sign_bordr_clr")->chooseColor(QColor(0, 90, 0));
    typeInto(control<Stepper_Field>("Sign_bor_Stepper"), QStringLiteral("2"));
    control<QComboBox>("Sign_border_style")->setCurrentIndex(1);
    ui.fileAnswers.push_back(QStringLiteral("/signatures/mine.png"));
    click(control<QPushButton>("Sign_Browse_btn"));

    for (const TSLGraphicPtr& item : { first, third }) {
        EXPECT_TRUE(item->_isDrawingStroke);
        EXPECT_EQ(item->_strokeColor, QColor(0, 90, 0));
        EXPECT_EQ(item->_strokeWidth, 2.0);
        EXPECT_EQ(item->_stroke_border_type, QStringLiteral("DA"));
        EXPECT_EQ(item->_file_path, QStringLiteral("/signatures/mine.png"));
    }
    ASSERT_FALSE(ui.fileRequests.empty());
    EXPECT_TRUE(ui.fileRequests.back().filter.contains(QStringLiteral("*.png")));
    EXPECT_EQ(itemBytes(*unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*back), backBefore);

    // A cancelled panel changes nothing; the border off keeps colour and width.
    const QByteArray firstBefore = itemBytes(*first);
    click(control<QPushButton>("Sign_Browse_btn"));
    EXPECT_EQ(itemBytes(*first), firstBefore);
    click(control<QCheckBox>("Sign_border_chk"));
    EXPECT_FALSE(first->_isDrawingStroke);
    EXPECT_EQ(first->_strokeColor, QColor(0, 90, 0));
    EXPECT_EQ(first->_strokeWidth, 2.0);
}

TEST_F(SignaturePanelTest, ShowingASignatureFillsTheBorderAndWritesNothingBack)
{
    const TSLGraphicPtr item = addSignature();
    item->_isDrawingStroke = true;
    item->_strokeWidth = 4.9;
    item->_strokeColor = QColor(1, 2, 3);
    item->_stroke_border_type = QStringLiteral("DO");
    item->_file_path = QStringLiteral("/signatures/theirs.png");
    window->Sign_image_path->setText(QStringLiteral("/signatures/earlier.png"));
    select(window->_graphicView, { 0 });
    const QByteArray before = itemBytes(*item);
    showPage(item);

    EXPECT_EQ(itemBytes(*item), before);
    EXPECT_TRUE(control<QCheckBox>("Sign_border_chk")->isChecked());
    EXPECT_EQ(control<Stepper_Field>("Sign_bor_Stepper")->value(), 4.0);
    EXPECT_EQ(control<Color_Well>("Sign_bordr_clr")->color(), QColor(1, 2, 3));
    EXPECT_EQ(control<QComboBox>("Sign_border_style")->currentIndex(), 2);
    EXPECT_TRUE(control<QWidget>("Sign_Border_Box")->isEnabled());
    // The path field shows the item's own path, so a later write-back keeps it.
    EXPECT_EQ(window->Sign_image_path->text(), QStringLiteral("/signatures/theirs.png"));
}

TEST_F(SignaturePanelTest, TogglingTheBorderOfANewSignatureKeepsItsPicture)
{
    // A path left in the field by an earlier signature must not reach the new one either.
    window->Sign_image_path->setText(QStringLiteral("/signatures/earlier.png"));
    const TSLGraphicPtr item = TSLSignature::initWithPosition(QPointF(60, 40), QImage(), QStringLiteral("S"));
    EditorWindowTest::addItem(item, TSLDocumentGraphicsKey);
    const QString ownPath = item->_file_path;
    ASSERT_FALSE(ownPath.isEmpty());
    select(window->_graphicView, { 0 });
    showPage(item);

    click(control<QCheckBox>("Sign_border_chk"));
    EXPECT_EQ(item->_file_path, ownPath);
    click(control<QCheckBox>("Sign_border_chk"));
    EXPECT_EQ(item->_file_path, ownPath);
    EXPECT_EQ(item->_isDrawingStroke, control<QCheckBox>("Sign_border_chk")->isChecked());
}

} // namespace
