// The card page writes its controls into the record of the side being edited, and only there; showing a
// side fills the page without writing anything back.
#include "editor/ItemPanelTestSupport.h"

#include "model/Card_Background.h"

#include <QFile>
#include <QFileInfo>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QDir>

namespace {

class CardPageTest : public editortest::ItemPanelTest {
protected:
    void SetUp() override
    {
        ItemPanelTest::SetUp();
        startUpEmpty();
        window->Show_RHS_Properties(nullptr);
    }
    // Check boxes and radios answer only on their box and label, not across the whole row.
    static void click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    // A person sees one page at a time: clicks reach the controls of the page in front.
    void onPage(QWidget* page) { window->sett_tab->setCurrentWidget(page); }
    Card_Property& front() { return window->Front_card_Prop; }
    Card_Property& back() { return window->Back_card_Prop; }
};

TEST_F(CardPageTest, OpacityGoesIntoFillGradientAndPatternColoursOnly)
{
    onPage(window->card_brdr_tab);
    if (!control<QCheckBox>("Card_border_chk")->isChecked())
        click(control<QCheckBox>("Card_border_chk"));
    control<Color_Well>("Card_bordr_clr")->chooseColor(QColor(10, 20, 30));
    onPage(window->card_bkgd_tab);
    if (!control<QCheckBox>("Card_fill_chk")->isChecked())
        click(control<QCheckBox>("Card_fill_chk"));
    click(control<QRadioButton>("Card_solid_fill_rd"));
    control<Color_Well>("Card_fill_clr")->chooseColor(QColor(200, 0, 0));
    control<Color_Well>("Card_fill_Grd_1_clr")->chooseColor(QColor(0, 200, 0));
    control<Color_Well>("Card_fill_Grd_2_clr")->chooseColor(QColor(0, 0, 200));
    control<Color_Well>("Card_hatch_bk_clr")->chooseColor(QColor(90, 90, 0));
    window->Contect_Color_Clicked(QColor(5, 6, 7));
    typeInto(control<Stepper_Field>("Card_alpha_Stepper"), QStringLiteral("50"));

    EXPECT_FLOAT_EQ(front().Card_alpha_Stepper(), 0.5f);
    const struct {
        QColor stored;
        QColor chosen;
    } carrying[] = { { front().Card_fill_clr(), QColor(200, 0, 0) },
        { front().Card_fill_Grd_1_clr(), QColor(0, 200, 0) }, { front().Card_fill_Grd_2_clr(), QColor(0, 0, 200) },
        { front().Card_hatch_bk_clr(), QColor(90, 90, 0) } };
    for (const auto& colour : carrying) {
        EXPECT_NEAR(colour.stored.alphaF(), 0.5, 1.0 / 255);
        EXPECT_EQ(colour.stored.rgb(), colour.chosen.rgb());
    }
    // The border and the default text colour keep their own opacity.
    EXPECT_EQ(front().Card_bordr_clr(), QColor(10, 20, 30));
    EXPECT_EQ(front().Card_Content_clr(), QColor(5, 6, 7));
    // The back side was not being edited.
    EXPECT_NE(back().Card_fill_clr().rgb(), QColor(200, 0, 0).rgb());
}

TEST_F(CardPageTest, BorderOffKeepsTheLastColourAndWidth)
{
    onPage(window->card_brdr_tab);
    auto* border = control<QCheckBox>("Card_border_chk");
    if (!border->isChecked())
        click(border);
    control<Color_Well>("Card_bordr_clr")->chooseColor(QColor(1, 2, 3));
    typeInto(control<Stepper_Field>("Card_bor_Stepper"), QStringLiteral("7"));
    control<QComboBox>("Card_border_style")->setCurrentIndex(3);
    ASSERT_TRUE(front().Card_border_chk());
    EXPECT_EQ(front().Card_bor_Stepper(), 7);
    EXPECT_EQ(front().Card_border_style(), QStringLiteral("DD"));

    click(border);
    EXPECT_FALSE(front().Card_border_chk());
    EXPECT_EQ(front().Card_bordr_clr(), QColor(1, 2, 3));
    EXPECT_EQ(front().Card_bor_Stepper(), 7);
    EXPECT_FALSE(control<Stepper_Field>("Card_bor_Stepper")->isEnabled());
}

TEST_F(CardPageTest, FillOffKeepsTheFrontKindButGivesTheBackSolid)
{
    onPage(window->card_bkgd_tab);
    auto* fill = control<QCheckBox>("Card_fill_chk");
    if (!fill->isChecked())
        click(fill);
    click(control<QRadioButton>("Card_gradient_fill_rd"));
    ASSERT_EQ(front().Card_fill_style(), QStringLiteral("G"));
    EXPECT_TRUE(control<Color_Well>("Card_fill_Grd_1_clr")->isEnabled());
    EXPECT_FALSE(control<Color_Well>("Card_fill_clr")->isEnabled());
    click(fill);
    EXPECT_FALSE(front().Card_fill_chk());
    EXPECT_EQ(front().Card_fill_style(), QStringLiteral("G"));

    window->Select_back_side();
    window->Show_RHS_Properties(nullptr);
    onPage(window->card_bkgd_tab);
    if (!fill->isChecked())
        click(fill);
    click(control<QRadioButton>("Card_gradient_fill_rd"));
    ASSERT_EQ(back().Card_fill_style(), QStringLiteral("G"));
    click(fill);
    EXPECT_FALSE(back().Card_fill_chk());
    EXPECT_EQ(back().Card_fill_style(), QStringLiteral("S"));
    EXPECT_EQ(back().Card_Side_Name(), QStringLiteral("B"));
    // The front record was left alone while the back was edited.
    EXPECT_EQ(front().Card_fill_style(), QStringLiteral("G"));
}

TEST_F(CardPageTest, MillimetresBecomeThePartsSizeInPoints)
{
    auto* width = control<Stepper_Field>("width_Stepper");
    auto* height = control<Stepper_Field>("height_Stepper");
    typeInto(width, QStringLiteral("100"));
    typeInto(height, QStringLiteral("100"));
    const QSizeF before = window->frontCanvasBounds().size();

    // Keystrokes not yet committed apply nothing.
    QLineEdit* edit = width->spinBox()->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("85.6"));
    EXPECT_EQ(window->frontCanvasBounds().size(), before);
    QTest::keyClick(edit, Qt::Key_Return);
    typeInto(height, QStringLiteral("54"));

    const QSizeF size = window->frontCanvasBounds().size();
    EXPECT_NEAR(size.width(), 242.65, 0.01);
    EXPECT_NEAR(size.height(), 153.07, 0.01);
    EXPECT_EQ(window->_graphicView_BACK->canvasSize(), size);
    EXPECT_EQ(front().Card_Size(), size);

    // The back record takes the front canvas's size as well.
    window->Select_back_side();
    window->Show_RHS_Properties(nullptr);
    typeInto(control<Stepper_Field>("Card_alpha_Stepper"), QStringLiteral("80"));
    EXPECT_EQ(back().Card_Size(), size);
}

TEST_F(CardPageTest, OutlineSidesAndNameFollowTheirControls)
{
    onPage(window->card_setting_tab);
    click(control<QRadioButton>("card_shape_round_rd"));
    EXPECT_EQ(Card_Shape, 1);
    EXPECT_EQ(front().Card_Shape(), QStringLiteral("RR"));

    control<QLineEdit>("card_name")->setText(QStringLiteral("   "));
    window->Sides_ComboBox->setCurrentIndex(1);
    window->Update_Card_Graphics();
    EXPECT_EQ(front().Card_Name(), QStringLiteral("Untitled"));
    EXPECT_EQ(front().Card_Side(), QStringLiteral("1"));
    window->Sides_ComboBox->setCurrentIndex(0);
    window->Update_Card_Graphics();
    EXPECT_EQ(front().Card_Side(), QStringLiteral("2"));
    EXPECT_EQ(front().Card_Create_Mode(), QStringLiteral("W"));
}

TEST_F(CardPageTest, ShowingASideFillsThePageAndWritesNothingBack)
{
    Card_Property& side = front();
    side.setCard_border_chk(true);
    side.setCard_bordr_clr(QColor(9, 8, 7));
    side.setCard_bor_Stepper(5);
    side.setCard_border_style(QStringLiteral("DO"));
    side.setCard_fill_chk(true);
    side.setCard_fill_style(QStringLiteral("I"));
    side.setCard_alpha_Stepper(0.25f);
    side.setCard_grad_Stepper(30);
    side.setCard_BG_Image_Path(QStringLiteral("/nowhere/picture.png"));
    side.setCard_Name(QStringLiteral("Party"));
    window->Show_RHS_Properties(nullptr);
    const Card_Property shown = side;

    EXPECT_TRUE(control<QCheckBox>("Card_border_chk")->isChecked());
    EXPECT_EQ(control<Color_Well>("Card_bordr_clr")->color(), QColor(9, 8, 7));
    EXPECT_EQ(control<Stepper_Field>("Card_bor_Stepper")->value(), 5.0);
    EXPECT_EQ(control<QComboBox>("Card_border_style")->currentIndex(), 2);
    EXPECT_EQ(control<Stepper_Field>("Card_alpha_Stepper")->value(), 25.0);
    EXPECT_EQ(control<Stepper_Field>("Card_grad_Stepper")->value(), 30.0);
    EXPECT_EQ(control<QLineEdit>("Card_Image_path")->text(), QStringLiteral("/nowhere/picture.png"));
    EXPECT_EQ(control<QLineEdit>("card_name")->text(), QStringLiteral("Party"));
    // Only the picture radio is on and only the picture box can be used.
    EXPECT_TRUE(control<QRadioButton>("Card_Image_fill_rd")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Card_solid_fill_rd")->isChecked());
    EXPECT_TRUE(control<QWidget>("Card_image_box")->isEnabled());
    EXPECT_FALSE(control<Color_Well>("Card_hatch_bk_clr")->isEnabled());
    EXPECT_TRUE(side == shown);
}

TEST_F(CardPageTest, BackgroundPictureSetsTheSideAndAnEmptyPathOnlyTheTextView)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("card-page"));
    const QString path = QDir(folder).filePath(QStringLiteral("bg.png"));
    QImage picture(8, 6, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(path));

    const Card_Property backBefore = back();
    window->set_Back_BG_Image(QString());
    EXPECT_TRUE(control<QLineEdit>("Card_Image_path")->text().isEmpty());
    EXPECT_TRUE(back() == backBefore);

    // The browse button is reached through the fill box and the picture radio.
    onPage(window->card_bkgd_tab);
    EXPECT_FALSE(control<QPushButton>("Card_Image_Browse_btn")->isEnabled());
    if (!control<QCheckBox>("Card_fill_chk")->isChecked())
        click(control<QCheckBox>("Card_fill_chk"));
    click(control<QRadioButton>("Card_Image_fill_rd"));
    ui.fileAnswers.push_back(path);
    click(control<QPushButton>("Card_Image_Browse_btn"));
    EXPECT_TRUE(front().Card_fill_chk());
    EXPECT_EQ(front().Card_fill_style(), QStringLiteral("I"));
    EXPECT_EQ(front().Card_BG_Image_Path(), path);
    EXPECT_EQ(front().Card_BG_Image().size(), QSize(8, 6));
    EXPECT_TRUE(control<QRadioButton>("Card_Image_fill_rd")->isChecked());
    EXPECT_TRUE(back() == backBefore);

    // A photo is held at the size that covers the card on screen, not whole.
    const QString photo = QDir(folder).filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(picture.scaled(3000, 2000).save(photo));
    ui.fileAnswers.push_back(photo);
    click(control<QPushButton>("Card_Image_Browse_btn"));
    const QSizeF cover = window->frontCanvasBounds().size() * cardbackground::kHeldPixelsPerPoint;
    const QSize held = front().Card_BG_Image().size();
    EXPECT_TRUE(held.width() < 3000 && held.width() >= cover.width() - 1 && held.height() >= cover.height() - 1)
        << held.width() << " x " << held.height();
    // A design opened where its photo is gone keeps the picture it brought.
    ASSERT_TRUE(QFile::remove(photo));
    window->set_Front_BG_Image(photo);
    EXPECT_EQ(front().Card_BG_Image().size(), held);

    // A cancelled panel changes nothing.
    const Card_Property frontBefore = front();
    click(control<QPushButton>("Card_Image_Browse_btn"));
    EXPECT_TRUE(front() == frontBefore);

    // A photo cut short is refused by name, as every other picture is, and the side keeps its background.
    const QString damaged = QDir(folder).filePath(QStringLiteral("damaged.jpg"));
    ASSERT_TRUE(picture.scaled(400, 300).save(damaged));
    QFile(damaged).resize(QFileInfo(damaged).size() - 200);
    ui.fileAnswers.push_back(damaged);
    ui.messages.clear();
    click(control<QPushButton>("Card_Image_Browse_btn"));
    EXPECT_TRUE(front() == frontBefore);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages.front().text.contains(QStringLiteral("damaged.jpg")))
        << ui.messages.front().text.toStdString();
}

} // namespace
