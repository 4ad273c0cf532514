#include "output/Barcode_Readability.h"

#include "barcode/Barcode_Entries.h"
#include "common/Common_Functions.h"
#include "model/TSLText.h"
#include "output/Batch_Snapshot.h"
#include "output/Record_Fill.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace Barcode_Readability {

QString itemName(const TSLGraphic& item, const Record_Source& source)
{
    const QString symbology = Barcode_Type_Titles().value(item.barcode_font_index);
    const QString kind
        = symbology.isEmpty() ? QStringLiteral("the barcode") : QStringLiteral("the %1 barcode").arg(symbology);
    if (Record_Fill::valueFor(item, 0, source, nullptr))
        return QStringLiteral("%1 of %2").arg(kind, Record_Fill::itemName(item, &source));
    return Record_Fill::kindAndStart(kind, item.linear_or_2d == 1 ? item.two_d_font_val : item.linear_font_val);
}

namespace {

// The item as a barcode that cards show: a hidden or unprinted one is on no card.
const TSLBarcode* shownBarcode(const TSLGraphicPtr& item)
{
    const auto* barcode = dynamic_cast<const TSLBarcode*>(item.get());
    return barcode && barcode->ctrl_is_visible && barcode->print_object == 0 ? barcode : nullptr;
}

} // namespace

std::vector<Unreadable_Barcode> unreadable(const TSLGraphicList& items, int dpi, const Record_Source& source)
{
    std::vector<Unreadable_Barcode> found;
    for (const TSLGraphicPtr& item : items) {
        const TSLBarcode* barcode = shownBarcode(item);
        if (!barcode)
            continue;
        if (const std::optional<TSLBarcode::Small_Modules> modules = barcode->modulesTooSmall(dpi))
            found.push_back({ itemName(*barcode, source), *modules, {}, 0 });
    }
    return found;
}

namespace {

// The records of each value an item takes, the values in the order their first records come.
struct Values_Over_Records {
    QHash<QString, std::vector<int>> recordsOf;
    QStringList values;

    Values_Over_Records(const TSLGraphic& item, int records, const Record_Source& source)
    {
        for (int record = 0; record < records; ++record) {
            if (const std::optional<QString> value = Record_Fill::valueFor(item, record, source, nullptr)) {
                std::vector<int>& with = recordsOf[*value];
                if (with.empty())
                    values << *value;
                with.push_back(record);
            }
        }
    }
};

// One barcode of a side over every record: each value's symbol is made once, kept for the run's cards.
std::optional<Unreadable_Barcode> overRecords(const Batch_Snapshot& snapshot, const QString& side, size_t index,
    const TSLBarcode& barcode, Barcode_Gen& settings, int dpi, Run_Check* check)
{
    const Record_Source& source = snapshot.source();
    const int records = snapshot.recordCount();
    Unreadable_Barcode found { itemName(barcode, source), {}, {}, records };
    auto [recordsOf, values] = Values_Over_Records(barcode, records, source);
    if (values.isEmpty()) {
        if (check)
            check->checked += records;
        if (const std::optional<TSLBarcode::Small_Modules> modules = barcode.modulesTooSmall(dpi))
            return Unreadable_Barcode { found.item, *modules, {}, records };
        return std::nullopt;
    }
    for (const QString& value : values) {
        if (check && check->stopped && check->stopped())
            break;
        const std::vector<int>& with = recordsOf[value];
        const TSLGraphicPtr copy = barcode.detachedCopy();
        Record_Fill::assignValue(*copy, value, settings, false,
            [&] { return snapshot.keepSymbol(side, index, value, int(with.size()), settings); });
        if (const std::optional<TSLBarcode::Small_Modules> small
            = static_cast<const TSLBarcode&>(*copy).modulesTooSmall(dpi)) {
            // The smallest drawing of the run is the one the person is told of.
            if (found.records.empty() || small->drawn < found.modules.drawn)
                found.modules = *small;
            found.records.insert(with.begin(), with.end());
        }
        if (check)
            check->checked += int(with.size());
    }
    return found.records.empty() ? std::nullopt : std::optional<Unreadable_Barcode>(found);
}

} // namespace

namespace {

// The items of the chosen sides that `shown` takes, by side and place.
std::vector<std::pair<QString, size_t>> shownItems(
    const Batch_Snapshot& snapshot, bool front, bool back, const std::function<bool(const TSLGraphicPtr&)>& shown)
{
    QStringList sides;
    if (front)
        sides << QStringLiteral("F");
    if (back && snapshot.twoSided())
        sides << QStringLiteral("B");
    std::vector<std::pair<QString, size_t>> found;
    for (const QString& side : sides) {
        const TSLGraphicList& items = snapshot.side(side).items;
        for (size_t index = 0; index < items.size(); ++index)
            if (shown(items[index]))
                found.emplace_back(side, index);
    }
    return found;
}

std::vector<std::pair<QString, size_t>> shownBarcodes(const Batch_Snapshot& snapshot, bool front, bool back)
{
    return shownItems(snapshot, front, back, [](const TSLGraphicPtr& item) { return shownBarcode(item) != nullptr; });
}

std::vector<Unreadable_Barcode> barcodesInRun(
    const Batch_Snapshot& snapshot, const std::vector<std::pair<QString, size_t>>& shown, int dpi, Run_Check* check)
{
    std::vector<Unreadable_Barcode> found;
    Barcode_Gen settings = snapshot.settings();
    for (const auto& [side, index] : shown) {
        const auto& barcode = static_cast<const TSLBarcode&>(*snapshot.side(side).items[index]);
        if (std::optional<Unreadable_Barcode> small = overRecords(snapshot, side, index, barcode, settings, dpi, check))
            found.push_back(std::move(*small));
    }
    return found;
}

// The item as a text that cards show: a hidden or unprinted one is on no card.
const TSLText* shownText(const TSLGraphicPtr& item)
{
    const auto* text = dynamic_cast<const TSLText*>(item.get());
    return text && text->ctrl_is_visible && text->print_object == 0 ? text : nullptr;
}

// One text of a side over `records` records: each value laid out once; without values, the text as it stands.
std::optional<Cut_Text> cutOverRecords(
    const Batch_Snapshot& snapshot, const TSLText& text, const QRectF& card, int records, Run_Check* check)
{
    const Record_Source& source = snapshot.source();
    auto [recordsOf, values] = Values_Over_Records(text, records, source);
    if (values.isEmpty()) {
        if (check)
            check->checked += std::max(records, 1);
        // Laid out in a copy: a layout keeps the fonts of the thread that made it, which ends with the look,
        // and the snapshot's own items are drawn after it.
        if (!static_cast<const TSLText&>(*text.detachedCopy()).textIsCut(card))
            return std::nullopt;
        return Cut_Text { QStringLiteral("the ") + Record_Fill::itemName(text, nullptr), {}, records };
    }
    Cut_Text found { QStringLiteral("the text of ") + Record_Fill::itemName(text, &source), {}, records };
    Barcode_Gen settings = snapshot.settings();
    for (const QString& value : values) {
        if (check && check->stopped && check->stopped())
            break;
        const std::vector<int>& with = recordsOf[value];
        const TSLGraphicPtr copy = text.detachedCopy();
        Record_Fill::assignValue(*copy, value, settings, false);
        if (static_cast<const TSLText&>(*copy).textIsCut(card))
            found.records.insert(with.begin(), with.end());
        if (check)
            check->checked += int(with.size());
    }
    return found.records.empty() ? std::nullopt : std::optional<Cut_Text>(found);
}

} // namespace

std::vector<Unreadable_Barcode> unreadableInRun(
    const Batch_Snapshot& snapshot, bool front, bool back, int dpi, Run_Check* check)
{
    const std::vector<std::pair<QString, size_t>> shown = shownBarcodes(snapshot, front, back);
    if (check)
        check->total = int(shown.size()) * snapshot.recordCount();
    return barcodesInRun(snapshot, shown, dpi, check);
}

Run_Look lookAtRun(const Batch_Snapshot& snapshot, bool front, bool back, int dpi, bool records, Run_Check* check)
{
    const std::vector<std::pair<QString, size_t>> barcodes
        = dpi > 0 ? shownBarcodes(snapshot, front, back) : std::vector<std::pair<QString, size_t>>();
    const std::vector<std::pair<QString, size_t>> texts
        = shownItems(snapshot, front, back, [](const TSLGraphicPtr& item) { return shownText(item) != nullptr; });
    const int count = records ? snapshot.recordCount() : 0;
    if (check)
        check->total = int(barcodes.size()) * snapshot.recordCount() + int(texts.size()) * std::max(count, 1);
    Run_Look look;
    look.barcodes = barcodesInRun(snapshot, barcodes, dpi, check);
    for (const auto& [side, index] : texts) {
        if (check && check->stopped && check->stopped())
            break;
        const Batch_Snapshot::Side& shown = snapshot.side(side);
        const auto& text = static_cast<const TSLText&>(*shown.items[index]);
        if (std::optional<Cut_Text> cut = cutOverRecords(snapshot, text, shown.rendering.canvasBounds, count, check))
            look.texts.push_back(std::move(*cut));
    }
    return look;
}

namespace {

QString capitalised(QString name)
{
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

// " on every card", " on 3 of 40 cards (records 2, 5 and 9)", or nothing for a card of fixed content.
QString onCards(const std::set<int>& records, int runRecords)
{
    const int count = static_cast<int>(records.size());
    return count == 0 ? QString()
        : count == runRecords
        ? QStringLiteral(" on every card")
        : QStringLiteral(" on %1 of %2 cards (%3)").arg(count).arg(runRecords).arg(Record_Fill::recordNumbers(records));
}

} // namespace

QString warningText(const Cut_Text& text)
{
    return QStringLiteral("%1 does not fit its box or the card and is cut%2. Make its box larger or its text smaller.")
        .arg(capitalised(text.item), onCards(text.records, text.runRecords));
}

QString warningText(const Unreadable_Barcode& barcode, int dpi)
{
    const QString name = capitalised(barcode.item);
    const QString cards = onCards(barcode.records, barcode.runRecords);
    const TSLBarcode::Small_Modules& modules = barcode.modules;
    const QString opening = QStringLiteral("%1 is too small for %2 dots per inch%3: ").arg(name).arg(dpi).arg(cards);
    const QString advice = QStringLiteral(" Choose a higher resolution or a larger barcode.");
    if (modules.needed <= 1)
        return opening
            + QStringLiteral("its narrowest bars would be thinner than one pixel. It is drawn with one pixel for "
                             "each, larger than its frame.")
            + advice;
    return opening
        + QStringLiteral("its modules would be drawn with %1%2, and its readers need %3 pixels a module.")
              .arg(modules.drawn == 1 ? QStringLiteral("one pixel") : QStringLiteral("%1 pixels").arg(modules.drawn),
                  modules.widened ? QStringLiteral(", larger than its frame") : QString())
              .arg(modules.needed)
        + advice;
}

namespace {

QString warningsOf(const std::vector<Unreadable_Barcode>& barcodes, int dpi)
{
    QStringList texts;
    for (const Unreadable_Barcode& barcode : barcodes)
        texts << warningText(barcode, dpi);
    return texts.join(QStringLiteral("\n\n"));
}

} // namespace

bool warn(const std::vector<Unreadable_Barcode>& barcodes, int dpi)
{
    if (barcodes.empty())
        return false;
    Show_MessageBox(warningsOf(barcodes, dpi));
    return true;
}

QString runQuestion(const std::vector<Unreadable_Barcode>& barcodes, int dpi, const QString& goingOn)
{
    return barcodes.empty() ? QString() : warningsOf(barcodes, dpi) + QStringLiteral("\n\n") + goingOn;
}

QString runQuestion(const Run_Look& look, int dpi, const QString& goingOn)
{
    QStringList texts;
    if (!look.barcodes.empty())
        texts << warningsOf(look.barcodes, dpi);
    for (const Cut_Text& text : look.texts)
        texts << warningText(text);
    return texts.isEmpty() ? QString() : texts.join(QStringLiteral("\n\n")) + QStringLiteral("\n\n") + goingOn;
}

} // namespace Barcode_Readability
