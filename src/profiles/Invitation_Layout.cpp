#include "profiles/Invitation_Layout.h"

#include "model/TSLText.h"
#include "model/TSLTextLayout.h"

#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace invitationlayout {

namespace {

// The greeting line: "Dear" is added, so a name typed with its own "Dear" does not get a second one.
QString salutationTo(const QString& to)
{
    static const QRegularExpression ownDear(
        QStringLiteral("^dear\\b[\\s,]*"), QRegularExpression::CaseInsensitiveOption);
    QString name = to.trimmed();
    name.remove(ownDear);
    while (name.endsWith(QLatin1Char(',')))
        name.chop(1);
    return QStringLiteral("Dear %1,").arg(name.trimmed());
}

} // namespace

std::vector<Line> lines(const QString& title, const QString& to, const QString& message, const QString& date,
    const QString& time, const QString& venue, const QString& from)
{
    std::vector<Line> result;
    auto add = [&](const char* controlID, const QString& text) {
        result.push_back({ QLatin1String(controlID), text });
    };
    if (!title.isEmpty())
        add("PARTY_TITLE", title);
    if (!to.isEmpty())
        add("PARTY_TO", salutationTo(to));
    if (!message.isEmpty())
        add("PARTY_MSG", message);
    if (!date.isEmpty())
        add("PARTY_DATE", time.isEmpty() ? date : QStringLiteral("%1 at %2").arg(date, time));
    else if (!time.isEmpty())
        add("PARTY_TIME", QStringLiteral("AT %1").arg(time));
    if (!venue.isEmpty())
        add("PARTY_VENUE", QStringLiteral("Venue:\n%1").arg(venue));
    if (!from.isEmpty())
        add("PARTY_FROM", QStringLiteral("From:\n%1").arg(from));
    return result;
}

namespace {

struct Column {
    double margin;
    double gap;
    double width;
    double room; // height the texts may take
};

Column columnOf(const QSizeF& card)
{
    const double margin = std::clamp(0.06 * std::min(card.width(), card.height()), 3.0, 20.0);
    return { margin, margin / 2.0, std::max(1.0, card.width() - 2.0 * margin),
        std::max(0.0, card.height() - 2.0 * margin) };
}

QFont scaled(QFont font, double points)
{
    font.setPointSizeF(points);
    return font;
}

// Heights of the texts set at `scale` times their own sizes, wrapped at the column's width.
std::vector<double> heightsAt(
    const std::vector<TSLText*>& texts, const std::vector<QFont>& fonts, const Column& column, double scale)
{
    std::vector<double> heights;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TSLText& text = *texts[i];
        const auto layout = tsltextlayout::layoutText(text.displayedText(),
            scaled(fonts[i], fonts[i].pointSizeF() * scale), text.text_kerning, text.text_alignmnet, column.width);
        heights.push_back(std::ceil(tsltextlayout::usedSize(*layout).height()) + 1.0);
    }
    return heights;
}

double columnHeight(const std::vector<double>& heights, const Column& column)
{
    double total = 0.0;
    for (const double height : heights)
        total += height;
    return total + column.gap * double(std::max<std::size_t>(heights.size(), 1) - 1);
}

} // namespace

bool layOut(const std::vector<TSLText*>& texts, const QSizeF& card)
{
    if (texts.empty())
        return true;
    const Column column = columnOf(card);
    std::vector<QFont> fonts;
    double smallest = 1.0e9;
    for (TSLText* text : texts) {
        fonts.push_back(text->displayedFont());
        smallest = std::min(smallest, fonts.back().pointSizeF());
    }
    // The largest scale, at most the texts' own sizes, at which the column fits; found by halving.
    const double lowest = std::min(1.0, kSmallestLegiblePoints / std::max(smallest, 1.0));
    auto fitsAt
        = [&](double scale) { return columnHeight(heightsAt(texts, fonts, column, scale), column) <= column.room; };
    double scale = 1.0;
    const bool fitting = fitsAt(lowest);
    if (!fitsAt(scale)) {
        double low = lowest;
        double high = 1.0;
        for (int step = 0; step < 12; ++step) {
            const double middle = (low + high) / 2.0;
            (fitsAt(middle) ? low : high) = middle;
        }
        scale = low;
    }
    const std::vector<double> heights = heightsAt(texts, fonts, column, scale);
    double y = column.margin + std::max(0.0, (column.room - columnHeight(heights, column)) / 2.0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i]->text_ctrl_font = scaled(fonts[i], fonts[i].pointSizeF() * scale);
        texts[i]->setBounds(QRectF(column.margin, y, column.width, heights[i]));
        y += heights[i] + column.gap;
    }
    return fitting;
}

bool fits(const std::vector<Line>& lines, const QSizeF& card)
{
    std::vector<std::shared_ptr<TSLText>> items;
    std::vector<TSLText*> texts;
    for (const Line& line : lines) {
        auto text = std::make_shared<TSLText>();
        applyInvitationTextRules(*text, line.text, line.controlID);
        items.push_back(text);
        texts.push_back(text.get());
    }
    return layOut(texts, card);
}

} // namespace invitationlayout
