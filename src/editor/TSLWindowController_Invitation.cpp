// The invitation wizard's answers laid out as text items on the front side.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "model/TSLText.h"
#include "profiles/Invitation_Layout.h"
#include "profiles/Profiles_Globals.h"

#include <algorithm>
#include <vector>

QColor TSLWindowController::readableTextColour(const QImage& background)
{
    if (background.isNull())
        return Qt::black;
    // The mean luminance of the picture as it shows over the white card: a small copy is enough.
    const QImage sample = background.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = 0; y < sample.height(); ++y) {
        for (int x = 0; x < sample.width(); ++x) {
            const QColor c = QColor::fromRgba(sample.pixel(x, y));
            const double a = c.alphaF();
            const double luminance = 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
            sum += a * luminance + (1.0 - a);
        }
    }
    const double mean = sum / double(sample.width() * sample.height());
    return mean < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
}

namespace {

bool isInvitationText(const TSLGraphic& item)
{
    return item.className() == QLatin1String("TSLText") && Find_Str(item.control_ID, QStringLiteral("PARTY_"));
}

// What the texts are read against: the side's picture, or its colours over the white card (a pattern's
// thin lines leave its background colour to be seen).
QImage backgroundSample(const Card_Property& side)
{
    const QString fill = side.Card_fill_chk() ? side.Card_fill_style() : QString();
    if (fill == QLatin1String("I"))
        return side.Card_BG_Image();
    QImage sample(2, 1, QImage::Format_ARGB32);
    sample.fill(Qt::white);
    if (fill == QLatin1String("G")) {
        sample.setPixelColor(0, 0, side.Card_fill_Grd_1_clr());
        sample.setPixelColor(1, 0, side.Card_fill_Grd_2_clr());
    } else if (fill == QLatin1String("H")) {
        sample.fill(side.Card_hatch_bk_clr());
    } else if (!fill.isEmpty()) {
        sample.fill(side.Card_fill_clr());
    }
    return sample;
}

} // namespace

void TSLWindowController::layOutInvitationTexts()
{
    std::vector<TSLText*> texts;
    for (auto it = Get_Front_Controls_Array().rbegin(); it != Get_Front_Controls_Array().rend(); ++it)
        if (auto* text = dynamic_cast<TSLText*>(it->get()); text && isInvitationText(*text))
            texts.push_back(text); // the first placed is the last in the list
    invitationlayout::layOut(texts, Front_card_Prop.Card_Size());
}

void TSLWindowController::textsFollowBackground(int frontOrBack)
{
    const Card_Property& side = frontOrBack ? Back_card_Prop : Front_card_Prop;
    const QColor readable = readableTextColour(backgroundSample(side));
    // Only the colours the program chose for readability follow; a colour the person picked stays.
    for (const TSLGraphicPtr& item : frontOrBack ? Get_Back_Controls_Array() : Get_Front_Controls_Array()) {
        const bool programColour = item->txt_clr == QColor(Qt::white) || item->txt_clr == QColor(Qt::black);
        if (isInvitationText(*item) && programColour && item->txt_clr != readable)
            item->setValueForKey(QStringLiteral("textColor"), readable);
    }
}

void TSLWindowController::Fill_Party_Invidation_Details()
{
    // The canvas makes the kind of item the current tool names; the fill leaves the text tool chosen.
    Selected_Control_Tool_ = 2;
    // Placed one under another, then laid out together from the card's width and height.
    const QSizeF card = Front_card_Prop.Card_Size();
    double y = 0;
    for (const invitationlayout::Line& line : invitationlayout::lines(
             Invite_Title, Invite_To, Invite_Message, Invite_Date, Invite_Time, Invite_Venue, Invite_From)) {
        _graphicView->createGraphicOfClass(QStringLiteral("TSLText"), nullptr, true,
            QRectF(0, y, std::max(1.0, card.width()), 20), QStringLiteral("F"), line.text, line.controlID);
        y += 20;
    }
    layOutInvitationTexts();

    set_Front_BG_Image(Invite_BG_IMG);
    // The texts must stay readable on the picture behind them: white on a dark one.
    const QColor colour = readableTextColour(Front_card_Prop.Card_BG_Image());
    for (const TSLGraphicPtr& item : Get_Front_Controls_Array()) {
        if (Find_Str(item->control_ID, QStringLiteral("PARTY_")))
            item->txt_clr = colour;
    }
    Refresh_Canvas();
}
