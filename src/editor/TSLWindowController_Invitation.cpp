// The invitation wizard's answers laid out as text items on the front side.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "model/TSLText.h"
#include "profiles/Profiles_Globals.h"

#include <QRegularExpression>

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

// Lays the texts out from the top, each as tall as its wrapped text and no wider than the card; returns the
// bottom of the last one.
double stackTexts(const std::vector<TSLText*>& texts, const QSizeF& card)
{
    constexpr double top = 10, gap = 6, rightMargin = 20;
    double y = top;
    for (TSLText* text : texts) {
        const QRectF b = text->bounds();
        const double width = std::max(20.0, std::min(b.width(), card.width() - b.left() - rightMargin));
        text->setBounds(QRectF(b.left(), y, width, b.height()));
        const double height = std::max(10.0, text->naturalSize().height());
        text->setBounds(QRectF(b.left(), y, width, height));
        y += height + gap;
    }
    return y - gap;
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

// The greeting line: "Dear" is added, so a name typed with its own "Dear" does not get a second one.
QString salutationTo(const QString& to)
{
    static const QRegularExpression ownDear(QStringLiteral("^dear\\b[\\s,]*"), QRegularExpression::CaseInsensitiveOption);
    QString name = to.trimmed();
    name.remove(ownDear);
    while (name.endsWith(QLatin1Char(',')))
        name.chop(1);
    return QStringLiteral("Dear %1,").arg(name.trimmed());
}

} // namespace

void TSLWindowController::layOutInvitationTexts()
{
    std::vector<TSLText*> texts;
    for (auto it = Get_Front_Controls_Array().rbegin(); it != Get_Front_Controls_Array().rend(); ++it)
        if (auto* text = dynamic_cast<TSLText*>(it->get()); text && isInvitationText(*text))
            texts.push_back(text); // the first placed is the last in the list
    const QSizeF card = Front_card_Prop.Card_Size();
    constexpr double bottomMargin = 6, smallestFont = 5;
    // What does not fit in the card's height is set smaller, step by step, until it fits.
    for (int attempt = 0; attempt < 12 && stackTexts(texts, card) > card.height() - bottomMargin; ++attempt) {
        for (TSLText* text : texts) {
            QFont font = text->displayedFont();
            font.setPointSizeF(std::max(smallestFont, font.pointSizeF() * 0.9));
            text->text_ctrl_font = font;
        }
    }
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
    const float cardWidth = float(Front_card_Prop.Card_Size().width());
    const float width = cardWidth - 80;
    const float centredX = (cardWidth - width) / 2;
    float y = 40;
    auto place = [&](const QString& text, float x, float height, const char* controlID) {
        _graphicView->createGraphicOfClass(QStringLiteral("TSLText"), nullptr, true,
            QRectF(double(x), double(y), double(width), double(height)), QStringLiteral("F"), text,
            QLatin1String(controlID));
    };

    if (!Invite_Title.isEmpty()) {
        place(Invite_Title, centredX, 30, "PARTY_TITLE");
        y += 50;
    }
    if (!Invite_To.isEmpty()) {
        place(salutationTo(Invite_To), 30, 20, "PARTY_TO");
        y += 30;
    }
    if (!Invite_Message.isEmpty()) {
        place(Invite_Message, 50, 80, "PARTY_MSG");
        y += 80;
    }
    if (!Invite_Date.isEmpty()) {
        const QString when
            = Invite_Time.isEmpty() ? Invite_Date : QStringLiteral("%1 at %2").arg(Invite_Date, Invite_Time);
        place(when, 30, 20, "PARTY_DATE");
        y += 30;
    } else {
        if (!Invite_Time.isEmpty()) {
            place(QStringLiteral("AT %1").arg(Invite_Time), 30, 20, "PARTY_TIME");
            y += 30;
        }
        y += 30;
    }
    if (!Invite_Venue.isEmpty()) {
        place(QStringLiteral("Venue:\n%1").arg(Invite_Venue), 30, 60, "PARTY_VENUE");
        y += 70;
    } else {
        y += 20;
    }
    if (!Invite_From.isEmpty())
        place(QStringLiteral("From:\n%1").arg(Invite_From), 40, 40, "PARTY_FROM");
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
