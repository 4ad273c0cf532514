// The invitation wizard's answers laid out as text items on the front side.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "profiles/Profiles_Globals.h"

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
        place(QStringLiteral("Dear %1,").arg(Invite_To), 30, 20, "PARTY_TO");
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

    set_Front_BG_Image(Invite_BG_IMG);
    // The texts must stay readable on the picture behind them: white on a dark one.
    const QColor colour = readableTextColour(Front_card_Prop.Card_BG_Image());
    for (const TSLGraphicPtr& item : Get_Front_Controls_Array()) {
        if (Find_Str(item->control_ID, QStringLiteral("PARTY_")))
            item->txt_clr = colour;
    }
    Refresh_Canvas();
}
