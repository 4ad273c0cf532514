#pragma once

#include "model/TSLGraphic.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace platform {
class PlistValue;
}

// One item as it lay on one card size: its place and size, a text's letter size in points (0 for an item
// without letters: face, style and colour are the item's own, never a size's) and the words a text showed.
struct Card_Design {
    QSizeF card;
    QRectF bounds;
    double letters = 0;
    QString content;
    bool operator==(const Card_Design&) const = default;
};

// An item's designs: what the person gave it on each card size they worked on, the latest last, and what the
// card fit last left on each size, so that a change found since is known to be the person's.
struct Item_Card_Designs {
    std::vector<Card_Design> given;
    std::vector<Card_Design> fitted;
    bool operator==(const Item_Card_Designs&) const = default;

    // Each card size once, the latest last; a person visits few sizes, though a typed width passes many.
    static constexpr std::size_t mostSizes = 16;
    static void keep(std::vector<Card_Design>& designs, Card_Design design);
    static const Card_Design* on(const std::vector<Card_Design>& designs, const QSizeF& card);
    static bool sameCard(const QSizeF& a, const QSizeF& b); // sizes pass through millimetres

    // As a design file keeps it beside the item's own values; nothing from a value that is not one.
    platform::PlistValue toPlist() const;
    static std::optional<Item_Card_Designs> fromPlist(const platform::PlistValue& value);
};

// The person's design of every item on each card size, part of the document: saved with the design and
// taken back and forth by the undo and redo of the steps that change it. An item is known by itself, and
// forgotten once nothing holds it.
class Card_Designs {
public:
    Item_Card_Designs& of(const TSLGraphicPtr& item);
    const Item_Card_Designs* find(const TSLGraphic& item) const;
    void set(const TSLGraphicPtr& item, Item_Card_Designs designs);
    // The item as it now lies on the card: what a design of it on that card would hold.
    static Card_Design designOf(const TSLGraphic& item, const QSizeF& card);

private:
    void forgetGoneItems();
    std::vector<std::pair<std::weak_ptr<TSLGraphic>, Item_Card_Designs>> items_;
};
