#include "model/Card_Designs.h"

#include "model/TSLText.h"
#include "platform/PropertyList.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double farthest = 1e6; // points: far beyond any card, as the design file bounds item sizes
constexpr double largestLetters = 10000;
constexpr qsizetype longestContent = 1 << 20;

bool usable(double value)
{
    return std::isfinite(value) && std::abs(value) <= farthest;
}

platform::PlistValue reals(std::initializer_list<double> values)
{
    platform::PlistArray array;
    array.reserve(values.size());
    for (const double value : values)
        array.emplace_back(value);
    return array;
}

std::optional<std::vector<double>> realsFrom(const platform::PlistValue* value, std::size_t count)
{
    if (!value || !value->isArray() || value->toArray().size() != count)
        return std::nullopt;
    std::vector<double> out;
    for (const platform::PlistValue& one : value->toArray()) {
        if (!one.isNumber() || !usable(one.toReal()))
            return std::nullopt;
        out.push_back(one.toReal());
    }
    return out;
}

platform::PlistValue designsValue(const std::vector<Card_Design>& designs)
{
    platform::PlistArray array;
    for (const Card_Design& design : designs) {
        platform::PlistDict dict;
        dict.insert(QStringLiteral("card"), reals({ design.card.width(), design.card.height() }));
        const QRectF& b = design.bounds;
        dict.insert(QStringLiteral("bounds"), reals({ b.x(), b.y(), b.width(), b.height() }));
        dict.insert(QStringLiteral("letters"), platform::PlistValue(design.letters));
        dict.insert(QStringLiteral("content"),
            platform::PlistValue(design.content.isNull() ? QStringLiteral("") : design.content));
        array.push_back(std::move(dict));
    }
    return array;
}

std::optional<std::vector<Card_Design>> designsFrom(const platform::PlistValue* value)
{
    if (!value || !value->isArray() || value->toArray().size() > Item_Card_Designs::mostSizes)
        return std::nullopt;
    std::vector<Card_Design> designs;
    for (const platform::PlistValue& one : value->toArray()) {
        if (!one.isDict())
            return std::nullopt;
        const platform::PlistDict& dict = one.toDict();
        const auto card = realsFrom(dict.find(QStringLiteral("card")), 2);
        const auto bounds = realsFrom(dict.find(QStringLiteral("bounds")), 4);
        const platform::PlistValue* letters = dict.find(QStringLiteral("letters"));
        const platform::PlistValue* content = dict.find(QStringLiteral("content"));
        if (!card || !bounds || (*card)[0] <= 0 || (*card)[1] <= 0 || !letters || !letters->isNumber()
            || !(letters->toReal() >= 0 && letters->toReal() <= largestLetters) || !content || !content->isString()
            || content->toString().size() > longestContent)
            return std::nullopt;
        designs.push_back({ QSizeF((*card)[0], (*card)[1]),
            QRectF((*bounds)[0], (*bounds)[1], (*bounds)[2], (*bounds)[3]), letters->toReal(), content->toString() });
    }
    return designs;
}

} // namespace

bool Item_Card_Designs::sameCard(const QSizeF& a, const QSizeF& b)
{
    return std::abs(a.width() - b.width()) < 0.05 && std::abs(a.height() - b.height()) < 0.05;
}

void Item_Card_Designs::keep(std::vector<Card_Design>& designs, Card_Design design)
{
    std::erase_if(designs, [&](const Card_Design& d) { return sameCard(d.card, design.card); });
    designs.push_back(std::move(design));
    if (designs.size() > mostSizes)
        designs.erase(designs.begin());
}

const Card_Design* Item_Card_Designs::on(const std::vector<Card_Design>& designs, const QSizeF& card)
{
    const auto found
        = std::find_if(designs.begin(), designs.end(), [&](const Card_Design& d) { return sameCard(d.card, card); });
    return found == designs.end() ? nullptr : &*found;
}

platform::PlistValue Item_Card_Designs::toPlist() const
{
    platform::PlistDict dict;
    dict.insert(QStringLiteral("given"), designsValue(given));
    dict.insert(QStringLiteral("fitted"), designsValue(fitted));
    return dict;
}

std::optional<Item_Card_Designs> Item_Card_Designs::fromPlist(const platform::PlistValue& value)
{
    if (!value.isDict())
        return std::nullopt;
    auto given = designsFrom(value.toDict().find(QStringLiteral("given")));
    auto fitted = designsFrom(value.toDict().find(QStringLiteral("fitted")));
    if (!given || !fitted)
        return std::nullopt;
    return Item_Card_Designs { std::move(*given), std::move(*fitted) };
}

void Card_Designs::forgetGoneItems()
{
    std::erase_if(items_, [](const auto& entry) { return entry.first.expired(); });
}

Item_Card_Designs& Card_Designs::of(const TSLGraphicPtr& item)
{
    forgetGoneItems();
    const auto found
        = std::find_if(items_.begin(), items_.end(), [&](const auto& entry) { return entry.first.lock() == item; });
    return found != items_.end() ? found->second : items_.emplace_back(item, Item_Card_Designs {}).second;
}

const Item_Card_Designs* Card_Designs::find(const TSLGraphic& item) const
{
    for (const auto& [held, designs] : items_)
        if (held.lock().get() == &item)
            return &designs;
    return nullptr;
}

void Card_Designs::set(const TSLGraphicPtr& item, Item_Card_Designs designs)
{
    of(item) = std::move(designs);
}

Card_Design Card_Designs::designOf(const TSLGraphic& item, const QSizeF& card)
{
    Card_Design design { card, item.bounds(), 0, {} };
    if (const auto* text = dynamic_cast<const TSLText*>(&item)) {
        design.letters = std::max(0.0, text->displayedFont().pointSizeF());
        design.content = text->displayedText();
    }
    return design;
}
