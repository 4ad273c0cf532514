// The side's items after the card changed size or turned: what lay on the card lies on it again, whole.
#include "canvas/TSLGraphicView.h"

#include "model/TSLText.h"

#include <algorithm>

namespace {

bool liesOn(const QRectF& bounds, const QSizeF& card)
{
    constexpr double slack = 0.01; // points: sizes pass through millimetres
    return bounds.left() >= -slack && bounds.top() >= -slack && bounds.right() <= card.width() + slack
        && bounds.bottom() <= card.height() + slack;
}

// The size an item takes to fit in the room it has on the card: a text as wide as the room at most, deep
// enough for the lines it then wraps onto as far as the room allows; any other item shrunk with its
// proportions kept.
QSizeF sizeInRoom(TSLGraphic& item, const QRectF& bounds, const QSizeF& room)
{
    QSizeF size = bounds.size();
    if (auto* text = dynamic_cast<TSLText*>(&item)) {
        if (size.width() > room.width()) {
            size.setWidth(room.width());
            item.setBounds(QRectF(bounds.topLeft(), size)); // measured at the width it takes
            size.setHeight(std::max(size.height(), text->naturalSize().height()));
        }
        size.setHeight(std::min(size.height(), room.height()));
        return size;
    }
    double scale = 1.0;
    if (size.width() > room.width())
        scale = room.width() / size.width();
    if (size.height() > room.height())
        scale = std::min(scale, room.height() / size.height());
    return size * scale;
}

} // namespace

std::vector<std::pair<TSLGraphicPtr, QRectF>> TSLGraphicView::fitItemsOnCard(const QSizeF& cardBefore)
{
    std::vector<std::pair<TSLGraphicPtr, QRectF>> changed;
    const QSizeF card = canvasSize_;
    if (card.isEmpty())
        return changed;
    for (const TSLGraphicPtr& item : graphics()) {
        const QRectF before = item->bounds();
        const QRectF b = before.normalized();
        // An item the person left partly off the card is theirs to place; it keeps a little on the card.
        if (liesOn(b, card) || !liesOn(b, cardBefore))
            continue;
        // Locked items too: the card was changed on purpose, and what it would cut off is never printed.
        // The item keeps its margin from the card's edges (a twentieth of the card at most), so that its
        // text does not run up to where the card is cut.
        const double margin = std::clamp(std::min(b.left(), b.top()), 0.0, std::min(card.width(), card.height()) / 20);
        const QSizeF size = sizeInRoom(*item, b, card - QSizeF(2 * margin, 2 * margin));
        const auto within = [margin](double at, double length, double cardLength) {
            return std::clamp(at, margin, std::max(margin, cardLength - margin - length));
        };
        const QPointF at(within(b.left(), size.width(), card.width()), within(b.top(), size.height(), card.height()));
        item->setBounds(QRectF(at, size));
        changed.emplace_back(item, before);
    }
    // Then every item still wholly off the card comes back to its edge (none of those fitted above).
    for (auto& moved : bringItemsOntoCard())
        changed.push_back(std::move(moved));
    return changed;
}
