// The side's items after the card changed size or turned: what lay on the card lies on it again, whole, in
// the same places relative to the card and to each other, and nothing is put over what it lay clear of.
#include "canvas/TSLGraphicView.h"

#include "model/TSLText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr double slack = 0.01; // points: sizes pass through millimetres
constexpr double smallestLegiblePoints = 6.0; // a text made smaller with its card stops here

bool sameCard(const QSizeF& a, const QSizeF& b) // sizes pass through millimetres
{
    return std::abs(a.width() - b.width()) < 0.05 && std::abs(a.height() - b.height()) < 0.05;
}

bool liesOn(const QRectF& bounds, const QSizeF& card)
{
    return bounds.left() >= -slack && bounds.top() >= -slack && bounds.right() <= card.width() + slack
        && bounds.bottom() <= card.height() + slack;
}

bool spansOverlap(double aFrom, double aTo, double bFrom, double bTo)
{
    return aFrom < bTo - slack && bFrom < aTo - slack;
}

bool overlap(const QRectF& a, const QRectF& b)
{
    return spansOverlap(a.left(), a.right(), b.left(), b.right())
        && spansOverlap(a.top(), a.bottom(), b.top(), b.bottom());
}

// One item lay over the other on purpose (a text on a shape, a frame behind a barcode), not just touching
// at an edge: a tenth of the smaller is covered.
bool layOver(const QRectF& a, const QRectF& b)
{
    const QRectF common = a.intersected(b);
    const double smaller = std::min(a.width() * a.height(), b.width() * b.height());
    return overlap(a, b) && common.width() * common.height() >= 0.1 * smaller;
}

struct Fitted {
    TSLGraphicPtr item;
    QRectF before; // as the person gave it, normalised, on `cardBefore`
    QSizeF cardBefore;
    std::optional<QFont> fontBefore;
    QRectF at;
    std::optional<QFont> font;
    double sx = 1, sy = 1; // from its card to the new one
    QRectF relative; // `before` in the frame all items are compared in
    QRectF now; // as it lay on the card before the change
    double margin = 0; // kept from the card's edges
    double marginAcross = 0; // less for a word as wide as the card
    QString longestWord; // of a text
    bool keepWordsWhole = false; // every word fitted its box as given: none may be broken by the fit
    bool wordsWhole = true;
    bool tooNarrow = false; // its longest word is wider than the card even in the smallest letters
    bool given = false; // on this card: it lies as the person gave it, the others kept clear of it
};

QFont smallestLetters(QFont font)
{
    if (const double points = font.pointSizeF(); points > 0)
        font.setPointSizeF(std::min(points, smallestLegiblePoints));
    return font;
}

// One way of laying the items out on the changed card, their sizes `f` times their own. Each item comes from
// the card it was given on; they are compared with each other on `reference`, the card most came from.
class Layout {
public:
    Layout(std::vector<Fitted> items, const QSizeF& reference, const QSizeF& card)
        : items_(std::move(items))
        , card_(card)
        , sx_(card.width() / reference.width())
        , sy_(card.height() / reference.height())
    {
        // Each item keeps its margin from the card's edges, shrunk with the card and a twentieth of it at
        // most, so that no text or barcode runs up to where the card is cut.
        for (Fitted& fitted : items_) {
            const QRectF& b = fitted.before;
            const QSizeF& from = fitted.cardBefore;
            fitted.sx = card.width() / from.width();
            fitted.sy = card.height() / from.height();
            fitted.given = sameCard(from, card);
            const double toReference = reference.width() / from.width(),
                         downReference = reference.height() / from.height();
            fitted.relative = QRectF(
                b.left() * toReference, b.top() * downReference, b.width() * toReference, b.height() * downReference);
            const double margin = std::min({ b.left(), b.top(), from.width() - b.right(), from.height() - b.bottom() });
            fitted.margin = std::clamp(
                margin * std::min({ fitted.sx, fitted.sy, 1.0 }), 0.0, std::min(card.width(), card.height()) / 20);
            if (auto* text = dynamic_cast<TSLText*>(fitted.item.get())) {
                text->text_ctrl_font = fitted.fontBefore; // its words measured in the letters given
                double width = 0;
                std::tie(fitted.longestWord, width) = text->longestWord();
                // A text the person let break inside a word may break there again.
                fitted.keepWordsWhole = width <= b.width() + slack;
                fitted.tooNarrow = !fitted.longestWord.isEmpty()
                    && text->wordWidth(fitted.longestWord, smallestLetters(text->displayedFont()))
                        > card.width() + slack;
            }
        }
    }
    double smallestScale() const
    {
        double lowest = 1.0;
        for (const Fitted& fitted : items_)
            lowest = std::min({ lowest, fitted.sx, fitted.sy });
        return lowest;
    }
    const std::vector<Fitted>& items() const { return items_; }

    // True when every item lies whole on the card clear of each item it lay clear of, and no text is broken
    // inside a word it held whole. Texts keep their letters unless `letters` too are made `f` times their size.
    bool layOutAt(double f, bool letters)
    {
        for (Fitted& fitted : items_)
            scale(fitted, f, letters);
        for (int pass = 0; pass < 4 && !apart(); ++pass) {
            keepApart(true);
            keepApart(false);
        }
        return apart() && std::all_of(items_.begin(), items_.end(), [this](const Fitted& fitted) {
            return fitted.wordsWhole && liesOn(fitted.at, card_);
        });
    }

private:
    // The item's centre keeps its place relative to the card. A picture, barcode or shape keeps its
    // proportions, no larger than the card; a text takes the card's narrowing, widened for its longest word
    // where the card allows, and wraps in it, deep enough for all its lines. A text with a word wider than
    // the card takes the card's width: that word is broken, and the text counts as cut.
    void scale(Fitted& fitted, double f, bool letters)
    {
        // No item is made smaller than its own card's change asks, one given on this card not at all.
        f = std::max(f, std::min({ fitted.sx, fitted.sy, 1.0 }));
        const QRectF& b = fitted.before;
        QSizeF size = b.size() * f;
        fitted.font = fitted.fontBefore;
        double& m = fitted.marginAcross = fitted.margin;
        if (auto* text = dynamic_cast<TSLText*>(fitted.item.get())) {
            text->text_ctrl_font = fitted.fontBefore;
            QFont font = text->displayedFont();
            if (const double points = font.pointSizeF(); points > 0 && letters) {
                font.setPointSizeF(std::max(points * f, std::min(points, smallestLegiblePoints)));
                fitted.font = text->text_ctrl_font = font;
            }
            const double word = fitted.tooNarrow ? std::numeric_limits<double>::infinity()
                : fitted.keepWordsWhole          ? text->wordWidth(fitted.longestWord, text->displayedFont())
                                                 : 0.0;
            const TextSpan span = textSpanOnCard(b.width() * std::min(fitted.sx, 1.0), word, card_.width(), m);
            m = span.margin;
            size.setWidth(span.width);
            fitted.wordsWhole = fitted.tooNarrow || word <= size.width() + slack;
            text->setBounds(QRectF(b.topLeft(), QSizeF(size.width(), b.height()))); // measured at its new width
            size.setHeight(std::max(b.height() * std::min({ fitted.sy, f, 1.0 }), text->naturalSize().height()));
        } else if (size.width() > card_.width() || size.height() > card_.height()) {
            size.scale(card_, Qt::KeepAspectRatio);
        }
        if (fitted.given) {
            fitted.at = QRectF(b.topLeft(), size);
            return;
        }
        const QPointF centre(b.center().x() * fitted.sx, b.center().y() * fitted.sy);
        QRectF at(centre - QPointF(size.width() / 2, size.height() / 2), size);
        at.moveLeft(std::clamp(at.left(), m, std::max(m, card_.width() - m - at.width())));
        at.moveTop(
            std::clamp(at.top(), fitted.margin, std::max(fitted.margin, card_.height() - fitted.margin - at.height())));
        fitted.at = at;
    }

    // Two items may lie over each other where they did so as given and on the card before the change.
    static bool layOver(const Fitted& first, const Fitted& second)
    {
        return ::layOver(first.relative, second.relative) && ::layOver(first.now, second.now);
    }

    // How far apart `first` and `second` must lie along the axis (down, or across), when scaling put the
    // one over the other it lay clear of that way; their gap shrinks with the card.
    std::optional<double> gapAlong(bool down, const Fitted& first, const Fitted& second) const
    {
        const QRectF &a = first.relative, &b = second.relative;
        if (layOver(first, second))
            return std::nullopt;
        // How far their spans overlapped across and down, a gap negative; they lay apart (or met) along the
        // axis on which they overlapped less, above it before side by side.
        const double acrossOverlap = std::min(a.right(), b.right()) - std::max(a.left(), b.left());
        const double downOverlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
        const bool besideNow = down
            ? spansOverlap(first.at.left(), first.at.right(), second.at.left(), second.at.right())
            : spansOverlap(first.at.top(), first.at.bottom(), second.at.top(), second.at.bottom());
        if (!besideNow || down != (downOverlap <= acrossOverlap))
            return std::nullopt;
        // Items given on different cards were never seen side by side: they only keep clear of each other.
        if (!sameCard(first.cardBefore, second.cardBefore))
            return 0.0;
        return std::max(0.0, -(down ? downOverlap : acrossOverlap)) * std::min(down ? sy_ : sx_, 1.0);
    }

    // Along one axis: an item over one that lay before it goes on, as little as it can; what then runs off
    // the card's far edge comes back, taking those before it along.
    void keepApart(bool down)
    {
        const auto from = [down](const QRectF& r) { return down ? r.top() : r.left(); };
        const auto length = [down](const QRectF& r) { return down ? r.height() : r.width(); };
        std::stable_sort(items_.begin(), items_.end(),
            [&](const Fitted& a, const Fitted& b) { return from(a.relative) < from(b.relative); });
        const std::size_t count = items_.size();
        std::vector<double> earliest(count), latest(count);
        for (std::size_t j = 0; j < count; ++j) {
            earliest[j] = from(items_[j].at);
            for (std::size_t i = 0; i < j; ++i)
                if (const auto gap = gapAlong(down, items_[i], items_[j]))
                    earliest[j] = std::max(earliest[j], earliest[i] + length(items_[i].at) + *gap);
        }
        const double end = down ? card_.height() : card_.width();
        for (std::size_t j = count; j-- > 0;) {
            const double margin = down ? items_[j].margin : items_[j].marginAcross;
            latest[j] = end - margin - length(items_[j].at);
            for (std::size_t k = j + 1; k < count; ++k)
                if (const auto gap = gapAlong(down, items_[j], items_[k]))
                    latest[j] = std::min(latest[j], latest[k] - *gap - length(items_[j].at));
            const double at = std::max(margin, std::min(earliest[j], latest[j]));
            if (!items_[j].given)
                down ? items_[j].at.moveTop(at) : items_[j].at.moveLeft(at);
        }
    }

    bool apart() const
    {
        for (std::size_t i = 0; i < items_.size(); ++i)
            for (std::size_t j = i + 1; j < items_.size(); ++j)
                if (overlap(items_[i].at, items_[j].at) && !layOver(items_[i], items_[j])
                    && !(items_[i].given && items_[j].given))
                    return false;
        return true;
    }

    std::vector<Fitted> items_;
    QSizeF card_;
    double sx_, sy_;
};

} // namespace

namespace {

// Each card size once, the latest last; a person visits few sizes, but a typed width passes through many.
template <typename Placement> void keep(std::vector<Placement>& placements, Placement placement)
{
    std::erase_if(placements, [&](const Placement& p) { return sameCard(p.card, placement.card); });
    placements.push_back(std::move(placement));
    constexpr std::size_t most = 16;
    if (placements.size() > most)
        placements.erase(placements.begin());
}

template <typename Placement> const Placement* on(const std::vector<Placement>& placements, const QSizeF& card)
{
    const auto found = std::find_if(
        placements.begin(), placements.end(), [&](const Placement& p) { return sameCard(p.card, card); });
    return found == placements.end() ? nullptr : &*found;
}

} // namespace

TSLGraphicView::ItemPlacements& TSLGraphicView::placementsOf(const TSLGraphicPtr& item)
{
    std::erase_if(placements_, [](const ItemPlacements& p) { return p.item.expired(); });
    const auto found = std::find_if(
        placements_.begin(), placements_.end(), [&](const ItemPlacements& p) { return p.item.lock() == item; });
    return found != placements_.end() ? *found : placements_.emplace_back(ItemPlacements { item, {}, {} });
}

TSLGraphicView::CardFit TSLGraphicView::fitItemsOnCard(const QSizeF& cardBefore)
{
    CardFit fit;
    const QSizeF card = canvasSize_;
    if (card.isEmpty() || cardBefore.isEmpty() || sameCard(card, cardBefore))
        return fit;
    // Each item from what the person gave it on this card, else from the latest they gave it. One that lay
    // partly off the card it was given on is theirs to place. Locked items too: the card was changed on
    // purpose, and what it would cut off is never printed.
    std::vector<std::pair<TSLGraphicPtr, Placement>> starts; // each item with what the person gave it
    bool allGiven = true; // on this card
    for (const TSLGraphicPtr& item : graphics()) {
        fit.changed.push_back({ item, item->bounds(), item->text_ctrl_font });
        // The item as the last fit or the person left it here is unchanged; else the person changed it here
        // (or made it), and that is its design on this card now.
        ItemPlacements& placements = placementsOf(item);
        const Placement now { cardBefore, item->bounds(), item->text_ctrl_font };
        const auto same = [&](const Placement* p) { return p && p->bounds == now.bounds && p->font == now.font; };
        if (!same(on(placements.fitted, cardBefore)) && !same(on(placements.given, cardBefore)))
            keep(placements.given, now);
        const Placement* given = on(placements.given, card);
        allGiven = allGiven && given;
        starts.emplace_back(item, given ? *given : placements.given.back());
    }
    std::vector<Fitted> onCard;
    std::vector<std::pair<QSizeF, int>> cards; // the cards the items come from, and how many from each
    for (const auto& [item, given] : starts) {
        // Back on the card every item was given on, each lies as given, a text deep enough for its lines. One
        // that lay partly off the card it was given on is the person's to place.
        const QRectF b = given.bounds.normalized();
        if (allGiven || !liesOn(b, given.card)) {
            item->text_ctrl_font = given.font;
            item->setBounds(sameCard(given.card, card) ? given.bounds : item->bounds());
            if (auto* text = dynamic_cast<TSLText*>(item.get()); text && allGiven)
                text->setBounds(
                    QRectF(b.topLeft(), QSizeF(b.width(), std::max(b.height(), text->naturalSize().height()))));
            continue;
        }
        Fitted fitted;
        fitted.item = item;
        fitted.before = fitted.at = b;
        fitted.now = item->bounds().normalized();
        fitted.cardBefore = given.card;
        fitted.fontBefore = fitted.font = given.font;
        onCard.push_back(std::move(fitted));
        const QSizeF givenCard = given.card; // clang 14 cannot capture a structured binding
        const auto counted
            = std::find_if(cards.begin(), cards.end(), [&](const auto& c) { return sameCard(c.first, givenCard); });
        counted == cards.end() ? cards.push_back({ givenCard, 1 }) : void(++counted->second);
    }
    if (!onCard.empty()) {
        // The items keep their sizes where the card has room for them apart; else they are made smaller
        // together, as little as will do, down to the card's own change of scale: the pictures, barcodes and
        // shapes first, and the texts' letters too only when that is not enough.
        const QSizeF reference = std::max_element(cards.begin(), cards.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
        Layout layout(std::move(onCard), reference, card);
        const double lowest = layout.smallestScale();
        if (!layout.layOutAt(1.0, false)) {
            const bool letters = !layout.layOutAt(lowest, false);
            double fits = lowest, fails = 1.0;
            fit.crowded = letters && !layout.layOutAt(lowest, true);
            for (int step = 0; step < 8 && !fit.crowded; ++step) {
                const double middle = (fits + fails) / 2;
                (layout.layOutAt(middle, letters) ? fits : fails) = middle;
            }
            if (!fit.crowded)
                layout.layOutAt(fits, letters);
        }
        for (const Fitted& fitted : layout.items()) {
            fitted.item->text_ctrl_font = fitted.font;
            fitted.item->setBounds(fitted.at);
            if (fitted.tooNarrow)
                fit.tooNarrowFor.push_back(fitted.item);
        }
    }
    // Then every item still wholly off the card comes back to its edge (none of those fitted above).
    bringItemsOntoCard();
    std::erase_if(fit.changed, [](const CardFit::Change& change) {
        return change.item->bounds() == change.bounds && change.item->text_ctrl_font == change.font;
    });
    for (const TSLGraphicPtr& item : graphics())
        keep(placementsOf(item).fitted, Placement { card, item->bounds(), item->text_ctrl_font });
    return fit;
}
