// The side's items after the card changed size or turned: what lay on the card lies on it again, whole, in
// the same places relative to the card and to each other, and nothing is put over what it lay clear of.
#include "canvas/TSLGraphicView.h"

#include "model/TSLText.h"
#include "model/TSLTextLayout.h"

#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr double slack = 0.01; // points: sizes pass through millimetres
constexpr double smallestLegiblePoints = 6.0; // a text made smaller with its card stops here

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
    QRectF before; // normalised
    std::optional<QFont> fontBefore;
    QRectF at;
    std::optional<QFont> font;
    double margin = 0; // kept from the card's edges
    QString longestWord; // of a text whose every word fitted its box: none may be broken by the fit
    bool wordsWhole = true;
};

// The width, in whole points, of a word of `text` on one line in `font`.
double wordWidth(const TSLText& text, const QString& word, const QFont& font)
{
    const auto layout = tsltextlayout::layoutText(word, font, text.text_kerning, text.text_alignmnet, 1e6);
    return std::ceil(tsltextlayout::usedSize(*layout).width());
}

// The text's widest word when every word fitted on a line of its box, so that the fit must keep them whole
// too; none for a text the person let break inside a word.
QString longestWholeWord(const TSLText& text, double boxWidth)
{
    static const QRegularExpression space(QStringLiteral("\\s+|(?<=-)")); // a line may break after a hyphen
    const QFont font = text.displayedFont();
    QString widest;
    double widestWidth = 0;
    for (const QString& word : text.displayedText().split(space, Qt::SkipEmptyParts)) {
        if (const double width = wordWidth(text, word, font); width > widestWidth) {
            widest = word;
            widestWidth = width;
        }
    }
    return widestWidth <= boxWidth + slack ? widest : QString();
}

// One way of laying the items out on the changed card, their sizes `f` times their own.
class Layout {
public:
    Layout(std::vector<Fitted> items, const QSizeF& cardBefore, const QSizeF& card)
        : items_(std::move(items))
        , card_(card)
        , sx_(card.width() / cardBefore.width())
        , sy_(card.height() / cardBefore.height())
    {
        // Each item keeps its margin from the card's edges, shrunk with the card and a twentieth of it at
        // most, so that no text or barcode runs up to where the card is cut.
        for (Fitted& fitted : items_) {
            const QRectF& b = fitted.before;
            const double margin
                = std::min({ b.left(), b.top(), cardBefore.width() - b.right(), cardBefore.height() - b.bottom() });
            fitted.margin = std::clamp(margin * smallestScale(), 0.0, std::min(card.width(), card.height()) / 20);
            if (const auto* text = dynamic_cast<const TSLText*>(fitted.item.get()))
                fitted.longestWord = longestWholeWord(*text, b.width());
        }
    }
    double smallestScale() const { return std::min({ sx_, sy_, 1.0 }); }
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
    // proportions, no larger than the card; a text takes the card's change of width, widened for its longest
    // word where the card allows, and wraps in it, deep enough for all its lines.
    void scale(Fitted& fitted, double f, bool letters)
    {
        const QRectF& b = fitted.before;
        QSizeF size = b.size() * f;
        fitted.font = fitted.fontBefore;
        if (auto* text = dynamic_cast<TSLText*>(fitted.item.get())) {
            text->text_ctrl_font = fitted.fontBefore;
            QFont font = text->displayedFont();
            if (const double points = font.pointSizeF(); points > 0 && letters) {
                font.setPointSizeF(std::max(points * f, std::min(points, smallestLegiblePoints)));
                fitted.font = text->text_ctrl_font = font;
            }
            const double room = card_.width() - 2 * fitted.margin;
            const double word
                = fitted.longestWord.isEmpty() ? 0.0 : wordWidth(*text, fitted.longestWord, text->displayedFont());
            size.setWidth(std::min(std::max(b.width() * std::min(sx_, 1.0), word), room));
            fitted.wordsWhole = word <= size.width() + slack;
            text->setBounds(QRectF(b.topLeft(), QSizeF(size.width(), b.height()))); // measured at its new width
            size.setHeight(std::max(b.height() * std::min({ sy_, f, 1.0 }), text->naturalSize().height()));
        } else if (size.width() > card_.width() || size.height() > card_.height()) {
            size.scale(card_, Qt::KeepAspectRatio);
        }
        const QPointF centre(b.center().x() * sx_, b.center().y() * sy_);
        QRectF at(centre - QPointF(size.width() / 2, size.height() / 2), size);
        const double m = fitted.margin;
        at.moveLeft(std::clamp(at.left(), m, std::max(m, card_.width() - m - at.width())));
        at.moveTop(std::clamp(at.top(), m, std::max(m, card_.height() - m - at.height())));
        fitted.at = at;
    }

    // How far apart `first` and `second` must lie along the axis (down, or across), when scaling put the
    // one over the other it lay clear of that way; their gap shrinks with the card.
    std::optional<double> gapAlong(bool down, const Fitted& first, const Fitted& second) const
    {
        const QRectF &a = first.before, &b = second.before;
        if (layOver(a, b))
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
        return std::max(0.0, -(down ? downOverlap : acrossOverlap)) * std::min(down ? sy_ : sx_, 1.0);
    }

    // Along one axis: an item over one that lay before it goes on, as little as it can; what then runs off
    // the card's far edge comes back, taking those before it along.
    void keepApart(bool down)
    {
        const auto from = [down](const QRectF& r) { return down ? r.top() : r.left(); };
        const auto length = [down](const QRectF& r) { return down ? r.height() : r.width(); };
        std::stable_sort(items_.begin(), items_.end(),
            [&](const Fitted& a, const Fitted& b) { return from(a.before) < from(b.before); });
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
            latest[j] = end - items_[j].margin - length(items_[j].at);
            for (std::size_t k = j + 1; k < count; ++k)
                if (const auto gap = gapAlong(down, items_[j], items_[k]))
                    latest[j] = std::min(latest[j], latest[k] - *gap - length(items_[j].at));
            const double at = std::max(items_[j].margin, std::min(earliest[j], latest[j]));
            down ? items_[j].at.moveTop(at) : items_[j].at.moveLeft(at);
        }
    }

    bool apart() const
    {
        for (std::size_t i = 0; i < items_.size(); ++i)
            for (std::size_t j = i + 1; j < items_.size(); ++j)
                if (overlap(items_[i].at, items_[j].at) && !layOver(items_[i].before, items_[j].before))
                    return false;
        return true;
    }

    std::vector<Fitted> items_;
    QSizeF card_;
    double sx_, sy_;
};

} // namespace

TSLGraphicView::FittedLayout TSLGraphicView::currentLayout(const QSizeF& card) const
{
    FittedLayout layout { card, {} };
    for (const TSLGraphicPtr& item : graphics()) {
        const auto* text = dynamic_cast<const TSLText*>(item.get());
        layout.items.push_back(
            { item.get(), item->bounds(), item->text_ctrl_font, text ? text->displayedText() : QString() });
    }
    return layout;
}

bool TSLGraphicView::returnToRememberedLayout(const QSizeF& cardBefore, CardFit& fit)
{
    const auto sameCard = [](const QSizeF& a, const QSizeF& b) { // sizes pass through millimetres
        return std::abs(a.width() - b.width()) < 0.05 && std::abs(a.height() - b.height()) < 0.05;
    };
    const FittedLayout now = currentLayout(cardBefore);
    if (fitChain_.empty() || !sameCard(fitChain_.back().card, cardBefore) || !(fitChain_.back().items == now.items))
        fitChain_ = { now };
    const auto back = std::find_if(fitChain_.begin(), fitChain_.end() - 1,
        [&](const FittedLayout& layout) { return sameCard(layout.card, canvasSize_); });
    if (back == fitChain_.end() - 1)
        return false;
    const TSLGraphicList& items = graphics();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const FittedLayout::Placed& was = back->items[i];
        if (!(was == now.items[i])) {
            fit.changed.push_back({ items[i], items[i]->bounds(), items[i]->text_ctrl_font });
            items[i]->text_ctrl_font = was.font;
            items[i]->setBounds(was.bounds);
        }
    }
    fitChain_.erase(back + 1, fitChain_.end());
    return true;
}

TSLGraphicView::CardFit TSLGraphicView::fitItemsOnCard(const QSizeF& cardBefore)
{
    CardFit fit;
    const QSizeF card = canvasSize_;
    if (card.isEmpty() || cardBefore.isEmpty() || returnToRememberedLayout(cardBefore, fit))
        return fit;
    // The items that lay whole on the card; one the person left partly off it is theirs to place. Locked
    // items too: the card was changed on purpose, and what it would cut off is never printed.
    std::vector<Fitted> onCard;
    bool cut = false;
    for (const TSLGraphicPtr& item : graphics()) {
        const QRectF b = item->bounds().normalized();
        if (liesOn(b, cardBefore)) {
            onCard.push_back({ item, b, item->text_ctrl_font, b, item->text_ctrl_font, 0.0, {}, true });
            fit.changed.push_back({ item, item->bounds(), item->text_ctrl_font });
            cut = cut || !liesOn(b, card);
        }
    }
    if (!cut) {
        fit.changed.clear();
    } else {
        // The items keep their sizes where the card has room for them apart; else they are made smaller
        // together, as little as will do, down to the card's own change of scale: the pictures, barcodes and
        // shapes first, and the texts' letters too only when that is not enough.
        Layout layout(std::move(onCard), cardBefore, card);
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
        }
    }
    // Then every item still wholly off the card comes back to its edge (none of those fitted above).
    for (auto& [item, before] : bringItemsOntoCard())
        fit.changed.push_back({ item, before, item->text_ctrl_font });
    fitChain_.push_back(currentLayout(card));
    return fit;
}
