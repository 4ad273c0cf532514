// The card page: the controls of the side being edited written back into its card-side record, the
// page's actions, background pictures of the sides and the card size typed in millimetres.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/File_Functions.h"
#include "common/Color_Well.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Stepper_Field.h"
#include "editor/TSLWindowController_Forms.h"
#include "model/Card_Background.h"
#include "platform/UiSeam.h"
#include "platform/RegularFile.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace {

const QStringList borderCodes { QStringLiteral("S"), QStringLiteral("DA"), QStringLiteral("DO"), QStringLiteral("DD"),
    QStringLiteral("DDD") };

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(std::clamp(alpha, 0.0, 1.0)));
    return color;
}

// The side holds the picture at the size that covers the card on screen. A file that cannot be read
// leaves the picture the side already held for that file (the one a design file brought) in place.
void setBackgroundPicture(Card_Property& side, const QString& path, const QSizeF& cardPoints)
{
    side.setCard_fill_chk(true);
    side.setCard_fill_style(QStringLiteral("I"));
    const QImage picture = cardbackground::held(path, side.Card_BG_Image_Layout(), cardPoints);
    if (!picture.isNull() || side.Card_BG_Image_Path() != path)
        side.setCard_BG_Image(picture);
    side.setCard_BG_Image_Path(path);
}

} // namespace

void TSLWindowController::connectCardPage()
{
    Forms& f = *forms_;
    Ui::Inspector_Card_Border& border = f.cardBorder;
    Ui::Inspector_Card_Background& fill = f.cardBackground;
    Card_border_chk = border.Card_border_chk;
    Card_Border_Box = border.Card_Border_Box;
    Card_bordr_clr = border.Card_bordr_clr;
    Card_fill_chk = fill.Card_fill_chk;
    Card_Fill_Box = fill.Card_Fill_Box;
    Card_image_box = fill.Card_image_box;
    Card_fill_clr = fill.Card_fill_clr;
    Card_fill_Grd_1_clr = fill.Card_fill_Grd_1_clr;
    Card_fill_Grd_2_clr = fill.Card_fill_Grd_2_clr;
    Card_hatch_bk_clr = fill.Card_hatch_bk_clr;
    Card_grad_Stepper = fill.Card_grad_Stepper;
    Card_alpha_Stepper = fill.Card_alpha_Stepper;
    Card_Image_path = fill.Card_Image_path;

    Card_bor_Stepper->setRange(0, 100);
    Card_bor_Stepper->setDecimals(0);
    Card_grad_Stepper->setRange(-360, 360);
    Card_grad_Stepper->setDecimals(0);
    Card_alpha_Stepper->setRange(0, 100);
    Card_alpha_Stepper->setDecimals(0);

    connect(Card_border_chk, &QCheckBox::clicked, this, &TSLWindowController::Card_Border_ChkBox);
    connect(Card_fill_chk, &QCheckBox::clicked, this, &TSLWindowController::Card_Fill_Chk_Box);
    for (Color_Well* well :
        { Card_bordr_clr, Card_fill_clr, Card_fill_Grd_1_clr, Card_fill_Grd_2_clr, Card_hatch_bk_clr })
        connect(well, &Color_Well::colorChanged, this, [this, well] { Set_Card_Clr(well); });
    connect(Card_bor_Stepper, &Stepper_Field::valueChanged, this, &TSLWindowController::Card_Border_Changed);
    connect(Card_grad_Stepper, &Stepper_Field::valueChanged, this, &TSLWindowController::Card_Gradient_Changed);
    connect(Card_alpha_Stepper, &Stepper_Field::valueChanged, this, &TSLWindowController::Card_Alpha_Changed);
    connect(Card_solid_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Card_Solid_RD_Sel);
    connect(Card_gradient_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Card_Gradient_RD_Sel);
    connect(Card_Style_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Card_Hatch_RD_Sel);
    connect(Card_Image_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Card_Image_RD_Sel);
    connect(fill.Card_Image_Browse_btn, &QPushButton::clicked, this, &TSLWindowController::Card_Image_Browse_Btn);
    for (Stepper_Field* size : { width_Stepper, height_Stepper }) {
        size->setRange(1, 1000);
        size->setDecimals(3);
        size->setLengthUnit(Number_Unit::Millimetre);
    }
    width_Stepper->setValue(85.6);
    height_Stepper->setValue(54.1);
    // The size applies when the user steps or commits a typed value; sizes the program shows apply nothing.
    connect(width_Stepper, &Stepper_Field::valueChanged, this, &TSLWindowController::Card_Width_Changed);
    connect(height_Stepper, &Stepper_Field::valueChanged, this, &TSLWindowController::Card_Height_Changed);
    connect(matrix_card_shape, &QButtonGroup::idClicked, this, &TSLWindowController::card_shape_CellClick);
    const struct {
        QComboBox* box;
        CardField field;
    } choices[] = { { Card_border_style, CardField::BorderStyle }, { Card_hatch_style, CardField::PatternStyle },
        { Card_image_layout, CardField::PictureLayout } };
    for (const auto& choice : choices)
        connect(choice.box, &QComboBox::currentIndexChanged, this,
            [this, field = choice.field] { Update_Card_Graphics(field); });
    connect(card_name, &QLineEdit::editingFinished, this, [this] { Update_Card_Graphics(CardField::Name); });
}

void TSLWindowController::Show_Card_Properties(const Card_Property& side)
{
    Card_border_chk->setChecked(side.Card_border_chk());
    Card_bordr_clr->setColor(side.Card_bordr_clr());
    Card_bor_Stepper->setValue(side.Card_bor_Stepper());
    if (const int style = borderCodes.indexOf(side.Card_border_style()); style >= 0)
        Card_border_style->setCurrentIndex(style);
    Card_fill_chk->setChecked(side.Card_fill_chk());
    Card_fill_clr->setColor(side.Card_fill_clr());
    Card_fill_Grd_1_clr->setColor(side.Card_fill_Grd_1_clr());
    Card_fill_Grd_2_clr->setColor(side.Card_fill_Grd_2_clr());
    Card_grad_Stepper->setValue(side.Card_grad_Stepper());
    Card_hatch_bk_clr->setColor(side.Card_hatch_bk_clr());
    // The list shows the side's own pattern, never one left from another side or design; a pattern fill
    // without a pattern (it draws none) shows none.
    const bool patternFill = side.Card_fill_style() == QLatin1String("H");
    Card_hatch_style->setCurrentIndex(side.Card_hatch_style().isEmpty()
            ? (patternFill ? -1 : 0)
            : Card_hatch_style->findText(side.Card_hatch_style()));
    Card_alpha_Stepper->setValue(double(side.Card_alpha_Stepper()) * 100.0);
    Card_Image_path->setText(side.Card_BG_Image_Path());
    if (const int layout = Card_image_layout->findText(side.Card_BG_Image_Layout()); layout >= 0)
        Card_image_layout->setCurrentIndex(layout);

    if (side.Card_Content_font())
        All_Text_font = *side.Card_Content_font();
    if (side.Card_Content_clr().isValid())
        All_Text_clr = side.Card_Content_clr();
    showTextColorInWell();
    All_Text_font_value->setText(fontValueText(All_Text_font));
    All_Text_font_value_COPY = All_Text_font_value->text();
    All_Text_font_COPY = All_Text_font;
    All_Text_clr_COPY = All_Text_clr;
    if (QAbstractButton* row = matrix_card_shape->button(Card_Shape))
        row->setChecked(true);
    card_name->setText(side.Card_Name());
    // The sides choice is written back with every change of the page, so it must show the record's.
    Sides_ComboBox->setCurrentIndex(side.Card_Side() == QLatin1String("1") ? 1 : 0);
}

void TSLWindowController::card_prop_set(const QString& fillStyle)
{
    const bool gradient = fillStyle == QLatin1String("G");
    const bool hatch = fillStyle == QLatin1String("H");
    const bool picture = fillStyle == QLatin1String("I");
    const bool solid = !gradient && !hatch && !picture;
    Card_solid_fill_rd->setChecked(solid);
    Card_gradient_fill_rd->setChecked(gradient);
    Card_Style_fill_rd->setChecked(hatch);
    Card_Image_fill_rd->setChecked(picture);

    SetObjEnabled(Card_Border_Box, Card_border_chk->isChecked());
    SetObjEnabled(Card_Fill_Box, Card_fill_chk->isChecked());
    // Only the chosen style's controls can be used (and none while the fill box is off).
    Card_fill_clr->setEnabled(solid);
    Card_fill_Grd_1_clr->setEnabled(gradient);
    Card_fill_Grd_2_clr->setEnabled(gradient);
    Card_grad_Stepper->setEnabled(gradient);
    Card_hatch_style->setEnabled(hatch);
    Card_hatch_bk_clr->setEnabled(hatch);
    SetObjEnabled(Card_image_box, picture);
    sett_tab->update();
}

QString TSLWindowController::cardFieldStepName(CardField field)
{
    switch (field) {
    case CardField::Border:
    case CardField::BorderColour:
    case CardField::BorderWidth:
    case CardField::BorderStyle:
        return QStringLiteral("Card Border");
    case CardField::Content:
    case CardField::Name:
        return QStringLiteral("Card");
    case CardField::Sides:
        return QStringLiteral("Card Sides");
    default:
        return QStringLiteral("Card Background");
    }
}

void TSLWindowController::Update_Card_Graphics(CardField changed)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    const int frontOrBack = shownSide();
    Card_Property& side = sideRecord(frontOrBack);
    const Card_Property before = side;
    writeCardField(side, changed);
    // The look of a side and the sides choice are undone with the side's items. The size and outline are
    // undone as one step of their own (they change the canvases too); a new card's record is no step.
    const bool look = changed != CardField::All && changed != CardField::Size && changed != CardField::Shape;
    if (look && !(side == before))
        registerCardSideUndo(frontOrBack, before, cardFieldStepName(changed));
    // The invitation texts stay readable on whatever the background now is.
    const auto background = { CardField::Opacity, CardField::Fill, CardField::FillKind, CardField::FillColour,
        CardField::Gradient1, CardField::Gradient2, CardField::PatternColour };
    if (frontOrBack < 2 && std::find(background.begin(), background.end(), changed) != background.end())
        textsFollowBackground(frontOrBack);
    Refresh_Canvas();
}

void TSLWindowController::writeCardField(Card_Property& side, CardField field)
{
    const auto writes = [field](CardField part) { return field == CardField::All || field == part; };
    const bool all = field == CardField::All;

    if (writes(CardField::Border))
        side.setCard_border_chk(Card_border_chk->isChecked());
    // The whole page keeps the border's colour and width while the border is off.
    if ((all && Card_border_chk->isChecked()) || field == CardField::BorderColour)
        side.setCard_bordr_clr(Card_bordr_clr->color());
    if ((all && Card_border_chk->isChecked()) || field == CardField::BorderWidth)
        side.setCard_bor_Stepper(int(Card_bor_Stepper->value()));
    if (writes(CardField::BorderStyle)) {
        if (const int style = Card_border_style->currentIndex(); style >= 0 && style < borderCodes.size())
            side.setCard_border_style(borderCodes[style]);
    }

    // The opacity belongs to the background: the fill, gradient and pattern colours carry it, nothing else.
    const double alpha = Card_alpha_Stepper->value() / 100.0;
    if (writes(CardField::Fill))
        side.setCard_fill_chk(Card_fill_chk->isChecked());
    if ((all && Card_fill_chk->isChecked()) || field == CardField::FillColour)
        side.setCard_fill_clr(withAlpha(Card_fill_clr->color(), alpha));
    if (writes(CardField::FillKind) || writes(CardField::Fill)) {
        const QString kind = Card_gradient_fill_rd->isChecked() ? QStringLiteral("G")
            : Card_Style_fill_rd->isChecked()                   ? QStringLiteral("H")
            : Card_Image_fill_rd->isChecked()                   ? QStringLiteral("I")
                                                                : QStringLiteral("S");
        // The front keeps its chosen kind with the fill off; the back falls back to solid.
        side.setCard_fill_style(Card_Front_Or_Back == 0 || Card_fill_chk->isChecked() ? kind : QStringLiteral("S"));
        // A pattern fill draws the pattern the list shows.
        if (kind == QLatin1String("H"))
            side.setCard_hatch_style(Card_hatch_style->currentText());
    }
    if (writes(CardField::Gradient1))
        side.setCard_fill_Grd_1_clr(withAlpha(Card_fill_Grd_1_clr->color(), alpha));
    if (writes(CardField::Gradient2))
        side.setCard_fill_Grd_2_clr(withAlpha(Card_fill_Grd_2_clr->color(), alpha));
    if (writes(CardField::GradientAngle))
        side.setCard_grad_Stepper(int(std::trunc(Card_grad_Stepper->value())));
    if (writes(CardField::PatternColour))
        side.setCard_hatch_bk_clr(withAlpha(Card_hatch_bk_clr->color(), alpha));
    if (writes(CardField::PatternStyle))
        side.setCard_hatch_style(Card_hatch_style->currentText());
    if (all)
        side.setCard_BG_Image_Path(Card_Image_path->text());
    if (writes(CardField::PictureLayout) && side.Card_BG_Image_Layout() != Card_image_layout->currentText()) {
        // A tile is drawn at one point per pixel of the whole picture, a stretched picture from the held copy.
        side.setCard_BG_Image_Layout(Card_image_layout->currentText());
        if (!side.Card_BG_Image_Path().isEmpty())
            setBackgroundPicture(side, side.Card_BG_Image_Path(), frontCanvasBounds().size());
    }
    if (writes(CardField::Opacity)) {
        side.setCard_alpha_Stepper(float(alpha));
        // A new opacity changes the stored colours' alpha only; each colour stays the side's own.
        if (!all) {
            side.setCard_fill_clr(withAlpha(side.Card_fill_clr(), alpha));
            side.setCard_fill_Grd_1_clr(withAlpha(side.Card_fill_Grd_1_clr(), alpha));
            side.setCard_fill_Grd_2_clr(withAlpha(side.Card_fill_Grd_2_clr(), alpha));
            side.setCard_hatch_bk_clr(withAlpha(side.Card_hatch_bk_clr(), alpha));
        }
    }

    if (writes(CardField::Content)) {
        side.setCard_Content_clr(All_Text_clr);
        side.setCard_Content_font(All_Text_font);
    }
    if (writes(CardField::Sides))
        side.setCard_Side(QString::number(Sides_ComboBox->currentIndex() == 0 ? 2 : 1));
    side.setCard_Side_Name(Card_Front_Or_Back == 1 ? QStringLiteral("B") : QStringLiteral("F"));
    if (writes(CardField::Shape))
        side.setCard_Shape(cardShapeCode(Card_Shape));
    if (writes(CardField::Name)) {
        const QString name = Trim_Str(card_name->text());
        side.setCard_Name(name.isEmpty() ? QStringLiteral("Untitled") : name);
    }
    if (writes(CardField::Size)) {
        const QRectF bounds = frontCanvasBounds();
        side.setCard_Location(bounds.topLeft());
        side.setCard_Size(bounds.size());
        side.setCard_Preset(Preset_ComboBox->currentText());
        side.setCard_Category(Category_ComboBox->currentText());
        const QList<QTableWidgetSelectionRange> ranges = ColList->selectedRanges();
        const int row = ranges.isEmpty() ? -1 : ranges.first().topRow();
        side.setCard_Sub_Category(row >= 0 ? Get_Item_Text(row) : QString());
        side.setCard_Cat_index(row);
    }
    side.setCard_Create_Mode(QStringLiteral("W"));
}

void TSLWindowController::set_Front_BG_Image(const QString& path)
{
    Card_Image_path->setText(path);
    if (path.isEmpty())
        return;
    setBackgroundPicture(Front_card_Prop, path, frontCanvasBounds().size());
    Show_RHS_Properties(nullptr);
}

void TSLWindowController::set_Back_BG_Image(const QString& path)
{
    Card_Image_path->setText(path);
    if (path.isEmpty())
        return;
    setBackgroundPicture(Back_card_Prop, path, frontCanvasBounds().size());
    Show_RHS_Properties(nullptr);
}

void TSLWindowController::set_Side_BG_Image(int side, const QString& path)
{
    Card_Image_path->setText(path);
    if (path.isEmpty())
        return;
    setBackgroundPicture(sideRecord(side), path, frontCanvasBounds().size());
    Show_RHS_Properties(nullptr);
}

void TSLWindowController::Apply_Size_Clicked()
{
    const CardGeometryStep step(*this);
    const QSizeF points(
        MM_to_Points_Convert(float(width_Stepper->value())), MM_to_Points_Convert(float(height_Stepper->value())));
    Set_Document_Size(points);
    SetDocumentCanvasSize(points);
    if (_graphicView)
        _graphicView->update();
    Update_All_Card_Content();
    Update_Card_Graphics(CardField::Size);
}

void TSLWindowController::card_shape_CellClick()
{
    const CardGeometryStep step(*this);
    Card_Shape = matrix_card_shape->checkedId();
    Update_Card_Graphics(CardField::Shape);
    // The outline is the card's, whichever side is shown: both records carry it, so the design file keeps
    // the outline the card shows.
    for (Card_Property* side : { &Front_card_Prop, &Back_card_Prop })
        side->setCard_Shape(cardShapeCode(Card_Shape));
    Apply_Size_Clicked();
    Refresh_Canvas();
}

void TSLWindowController::Set_Card_Clr(Color_Well* well)
{
    const CardField field = well == Card_bordr_clr ? CardField::BorderColour
        : well == Card_fill_clr                    ? CardField::FillColour
        : well == Card_fill_Grd_1_clr              ? CardField::Gradient1
        : well == Card_fill_Grd_2_clr              ? CardField::Gradient2
                                                   : CardField::PatternColour;
    Update_Card_Graphics(field);
}

void TSLWindowController::Card_Border_ChkBox()
{
    SetObjEnabled(Card_Border_Box, Card_border_chk->isChecked());
    Update_Card_Graphics(CardField::Border);
}

void TSLWindowController::Card_Border_Changed()
{
    Update_Card_Graphics(CardField::BorderWidth);
}

void TSLWindowController::Card_Gradient_Changed()
{
    Update_Card_Graphics(CardField::GradientAngle);
}

void TSLWindowController::Card_Alpha_Changed()
{
    Update_Card_Graphics(CardField::Opacity);
}

void TSLWindowController::Card_Fill_Chk_Box()
{
    SetObjEnabled(Card_Fill_Box, Card_fill_chk->isChecked());
    card_prop_set((Card_Front_Or_Back == 1 ? Back_card_Prop : Front_card_Prop).Card_fill_style());
    Update_Card_Graphics(CardField::Fill);
}

void TSLWindowController::Card_Solid_RD_Sel()
{
    card_prop_set(QStringLiteral("S"));
    Update_Card_Graphics(CardField::FillKind);
}

void TSLWindowController::Card_Gradient_RD_Sel()
{
    card_prop_set(QStringLiteral("G"));
    Update_Card_Graphics(CardField::FillKind);
}

void TSLWindowController::Card_Hatch_RD_Sel()
{
    card_prop_set(QStringLiteral("H"));
    if (Card_hatch_style->currentIndex() < 0 && Card_hatch_style->count() > 0) {
        const QSignalBlocker quiet(Card_hatch_style);
        Card_hatch_style->setCurrentIndex(0);
    }
    Update_Card_Graphics(CardField::FillKind);
}

void TSLWindowController::Card_Image_RD_Sel()
{
    card_prop_set(QStringLiteral("I"));
    Update_Card_Graphics(CardField::FillKind);
}

void TSLWindowController::Card_Image_Browse_Btn()
{
    const QString path = Choose_Picture_File();
    if (path.isEmpty())
        return;
    setCurrentSideBackground(path);
    Refresh_Canvas();
}

void TSLWindowController::showTypedCardSize()
{
    // The orientation and the size list follow a typed size at once: a wider than high card is horizontal.
    Set_Card_Size_In_Control(QSizeF(width_Stepper->value(), height_Stepper->value()));
    markSizeListRowOfCard(-1);
}

void TSLWindowController::Card_Width_Changed()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    Apply_Size_Clicked();
    showTypedCardSize();
}

void TSLWindowController::Card_Height_Changed()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    Apply_Size_Clicked();
    showTypedCardSize();
}
