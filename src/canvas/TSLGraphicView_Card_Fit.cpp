// The side's items after the card changed size or turned: what lay on the card lies on it again, whole, in
// the same places relative to the card and to each other, and nothing is put over what it lay clear of.
#include "canvas/TSLGraphicView.h"

#include "model/Card_Designs.h"
#include "model/TSLBarcode.h"
#include "model/TSLBarcode_Drawing.h"
#include "model/TSLText.h"
#include "platform/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr double slack = 0.01; // points: sizes pass through millimetres
constexpr double smallestLegiblePoints = 6.0; // a text made smaller with its card stops here

bool sameCard(const QSizeF& a, const QSizeF& b)
{
    return Item_Card_Designs::sameCard(a, b);
}

// What the item draws in a box: a barcode its symbol, kept in proportion and centred, which may be far
// smaller than the box; every other item fills its box.
QRectF drawnIn(const TSLGraphic& item, const QRectF& box)
{
    if (const auto* barcode = dynamic_cast<const TSLBarcode*>(&item)) {
        // As it draws: the drawing of its symbol, else the picture generated for it, else the sample.
        const TSLBarcode_Drawing* drawing = barcode->Barcode_drawing();
        const QImage& picture = barcode->_barcode_image.isNull() ? barcode->_contents : barcode->_barcode_image;
        const QSizeF symbol = drawing ? drawing->size() : picture.isNull() ? QSizeF() : picture.deviceIndependentSize();
        if (const QRectF drawn = platform::fittedRect(symbol, box.normalized()); !drawn.isEmpty())
            return drawn;
    }
    return box.normalized();
}

// The item's own font with the letter size of a design: face, style and colour are never a size's.
std::optional<QFont> withLetters(const TSLGraphic& item, double letters)
{
    const auto* text = dynamic_cast<const TSLText*>(&item);
    if (!text || letters <= 0)
        return item.text_ctrl_font;
    QFont font = text->displayedFont();
    if (std::abs(font.pointSizeF() - letters) < 1e-6)
        return item.text_ctrl_font;
    font.setPointSizeF(letters);
    return font;
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
    bool changedSince = false; // its words changed since it was given on this card: laid out with the others
    bool stays = false; // not being fitted: it lies where it is, the others kept clear of it
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
            fitted.given = fitted.stays || (sameCard(from, card) && !fitted.changedSince);
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

    // Nothing may end over an item it lay clear of on the card before the change: an item the fit moves that
    // does is given room of its own above or below, where the card has it. False when some still do.
    bool roomForEach()
    {
        const auto clearOfAll = [this](std::size_t i, const QRectF& at) {
            for (std::size_t k = 0; k < items_.size(); ++k)
                if (k != i && overlap(at, items_[k].at) && !::layOver(items_[i].now, items_[k].now))
                    return false;
            return true;
        };
        bool roomy = true;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            Fitted& fitted = items_[i];
            if (clearOfAll(i, fitted.at))
                continue;
            const double top = fitted.at.top(), lowest = card_.height() - fitted.at.height();
            bool placed = false;
            for (double d = 1; !fitted.given && !placed && d <= card_.height(); d += 1) {
                for (const double at : { top - d, top + d }) {
                    if (at < 0 || at > lowest || !clearOfAll(i, fitted.at.translated(0, at - top)))
                        continue;
                    fitted.at.moveTop(at);
                    placed = true;
                    break;
                }
            }
            roomy = roomy && placed;
        }
        return roomy;
    }

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
            return fitted.given || (fitted.wordsWhole && liesOn(fitted.at, card_)); // a given one lies as given
        });
    }

private:
    // The item's centre keeps its place relative to the card. A picture, barcode or shape keeps its
    // proportions, no larger than the card; a text takes the card's narrowing, widened for its longest word
    // where the card allows, and wraps in it, deep enough for all its lines. A text with a word wider than
    // the card takes the card's width: that word is broken, and the text counts as cut.
    void scale(Fitted& fitted, double f, bool letters)
    {
        if (fitted.stays) {
            fitted.at = fitted.before;
            return;
        }
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
            const double room = card_.width() - 2 * m;
            const double word = fitted.tooNarrow ? std::numeric_limits<double>::infinity()
                : fitted.keepWordsWhole          ? text->wordWidth(fitted.longestWord, text->displayedFont())
                                                 : 0.0;
            const TextSpan span = textSpanOnCard(b.width() * std::min(fitted.sx, 1.0), word, card_.width(), m);
            m = span.margin;
            size.setWidth(span.width);
            fitted.wordsWhole = fitted.tooNarrow || word <= size.width() + slack;
            text->setBounds(QRectF(b.topLeft(), QSizeF(size.width(), b.height()))); // measured at its new width
            widenWhereDeeperThanItsShare(fitted, *text, size, room);
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

    // A text deeper than its share of a card that grew across widens into that room, up to its share of the
    // card's width, rather than wrapping deeper or making its letters smaller.
    void widenWhereDeeperThanItsShare(const Fitted& fitted, TSLText& text, QSizeF& size, double room) const
    {
        const QRectF& b = fitted.before;
        const double share = b.height() * fitted.sy;
        const double widest = std::min(b.width() * fitted.sx, room);
        if (fitted.tooNarrow || widest <= size.width() + slack || text.naturalSize().height() <= share + slack)
            return;
        constexpr int steps = 8;
        const double narrowest = size.width();
        for (int step = 1; step <= steps; ++step) {
            size.setWidth(narrowest + (widest - narrowest) * step / steps);
            text.setBounds(QRectF(b.topLeft(), QSizeF(size.width(), b.height())));
            if (text.naturalSize().height() <= share + slack)
                return;
        }
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
            if (items_[j].given)
                continue; // it lies where it is: the others keep clear of it
            for (std::size_t i = 0; i < j; ++i)
                if (const auto gap = gapAlong(down, items_[i], items_[j]))
                    earliest[j] = std::max(earliest[j], earliest[i] + length(items_[i].at) + *gap);
        }
        const double end = down ? card_.height() : card_.width();
        for (std::size_t j = count; j-- > 0;) {
            const double margin = down ? items_[j].margin : items_[j].marginAcross;
            if (items_[j].given) {
                latest[j] = from(items_[j].at);
                continue;
            }
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

TSLGraphicView::CardFit TSLGraphicView::fitItemsOnCard(const QSizeF& cardBefore, const TSLGraphicList& only)
{
    CardFit fit;
    const QSizeF card = canvasSize_;
    if (!document_ || card.isEmpty() || cardBefore.isEmpty() || sameCard(card, cardBefore))
        return fit;
    Card_Designs& designs = document_->cardDesigns();
    const auto fitting = [&only](const TSLGraphicPtr& item) { return only.empty() || std::ranges::count(only, item); };
    // Each item from what the person gave it on this card, else from the latest they gave it. Locked items
    // too: the card was changed on purpose, and what it would cut off is never printed.
    struct Start {
        TSLGraphicPtr item;
        Card_Design given;
        bool changedSince = false;
    };
    std::vector<Start> starts;
    bool allGiven = true; // on this card, untouched since
    for (const TSLGraphicPtr& item : graphics()) {
        if (!fitting(item))
            continue;
        fit.changed.push_back({ item, item->bounds(), item->text_ctrl_font });
        // The item as the last fit or the person left it here is unchanged; else the person changed it here
        // (or made it, or typed in it), and that is its design on this card now.
        Item_Card_Designs& placements = designs.of(item);
        const Card_Design now = Card_Designs::designOf(*item, cardBefore);
        const auto same = [&now](const Card_Design* p) { return p && *p == now; };
        if (!same(Item_Card_Designs::on(placements.fitted, cardBefore))
            && !same(Item_Card_Designs::on(placements.given, cardBefore)))
            Item_Card_Designs::keep(placements.given, now);
        const Card_Design* given = Item_Card_Designs::on(placements.given, card);
        // Words changed since its design on this card need room of their own: it is laid out with the others.
        const bool changedSince = given && given->content != now.content;
        allGiven = allGiven && given && !changedSince;
        starts.push_back({ item, given ? *given : placements.given.back(), changedSince });
    }
    std::vector<Fitted> onCard;
    std::vector<std::pair<QSizeF, int>> cards; // the cards the items come from, and how many from each
    for (const auto& [item, given, changedSince] : starts) {
        // Back on the card every item was given on, each lies as given, a text deep enough for its lines. One
        // that drew nothing on the card it was given on is the person's to place; one whose box only reached
        // past the card's edge is fitted onto the card with the others, so all that it draws lies on it.
        const QRectF b = given.bounds.normalized();
        if ((allGiven && only.empty()) || !drawnIn(*item, b).intersects(QRectF(QPointF(), given.card))) {
            item->text_ctrl_font = withLetters(*item, given.letters);
            item->setBounds(sameCard(given.card, card) ? given.bounds : item->bounds());
            if (auto* text = dynamic_cast<TSLText*>(item.get()); text && sameCard(given.card, card))
                text->setBounds(
                    QRectF(b.topLeft(), QSizeF(b.width(), std::max(b.height(), text->naturalSize().height()))));
            continue;
        }
        Fitted fitted;
        fitted.item = item;
        fitted.before = fitted.at = b;
        fitted.now = item->bounds().normalized();
        fitted.cardBefore = given.card;
        fitted.fontBefore = fitted.font = withLetters(*item, given.letters);
        fitted.changedSince = changedSince;
        onCard.push_back(std::move(fitted));
        const QSizeF givenCard = given.card; // clang 14 cannot capture a structured binding
        const auto counted
            = std::find_if(cards.begin(), cards.end(), [&](const auto& c) { return sameCard(c.first, givenCard); });
        counted == cards.end() ? cards.push_back({ givenCard, 1 }) : void(++counted->second);
    }
    if (!onCard.empty() && !only.empty()) {
        // Fitting a few: the rest lie where they are, on this card, and the few keep clear of them.
        for (const TSLGraphicPtr& item : graphics()) {
            if (fitting(item))
                continue;
            Fitted stays;
            stays.item = item;
            stays.before = stays.at = stays.now = item->bounds().normalized();
            stays.cardBefore = card;
            stays.fontBefore = stays.font = item->text_ctrl_font;
            stays.stays = true;
            onCard.push_back(std::move(stays));
        }
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
        fit.crowded = !layout.roomForEach() || fit.crowded;
        for (const Fitted& fitted : layout.items()) {
            if (fitted.stays)
                continue;
            fitted.item->text_ctrl_font = fitted.font;
            fitted.item->setBounds(fitted.at);
            if (fitted.tooNarrow)
                fit.tooNarrowFor.push_back(fitted.item);
        }
    }
    // Then every item still wholly off the card comes back to its edge (none of those fitted above).
    if (only.empty())
        bringItemsOntoCard();
    std::erase_if(fit.changed, [](const CardFit::Change& change) {
        return change.item->bounds() == change.bounds && change.item->text_ctrl_font == change.font;
    });
    for (const TSLGraphicPtr& item : graphics())
        if (fitting(item))
            Item_Card_Designs::keep(designs.of(item).fitted, Card_Designs::designOf(*item, card));
    return fit;
}
