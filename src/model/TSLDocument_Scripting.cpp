#include "model/TSLDocument_Scripting.h"

#include "model/Shape_Control.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLText.h"

#include <QRgba64>

#include <algorithm>
#include <cstring>

namespace {

const QString graphicsKey = QStringLiteral("graphics");
const QByteArray rgbDescriptorType = QByteArrayLiteral("cRGB");

int indexIn(const TSLGraphicList& list, const TSLGraphic* graphic)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == graphic)
            return int(i);
    }
    return -1;
}

bool sameSpecifier(
    const std::shared_ptr<const TSLObjectSpecifier>& a, const std::shared_ptr<const TSLObjectSpecifier>& b)
{
    if (!a || !b)
        return !a && !b;
    return *a == *b;
}

std::shared_ptr<const TSLObjectSpecifier> shared(const std::optional<TSLObjectSpecifier>& specifier)
{
    return specifier ? std::make_shared<const TSLObjectSpecifier>(*specifier) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Specifiers

TSLObjectSpecifier TSLObjectSpecifier::indexSpecifier(const QString& key, int index)
{
    TSLObjectSpecifier specifier;
    specifier.kind = Kind::Index;
    specifier.key = key;
    specifier.index = index;
    return specifier;
}

TSLObjectSpecifier TSLObjectSpecifier::rangeSpecifier(
    const QString& key, const std::optional<TSLObjectSpecifier>& start, const std::optional<TSLObjectSpecifier>& end)
{
    TSLObjectSpecifier specifier;
    specifier.kind = Kind::Range;
    specifier.key = key;
    specifier.start = shared(start);
    specifier.end = shared(end);
    return specifier;
}

TSLObjectSpecifier TSLObjectSpecifier::relativeSpecifier(
    const QString& key, Position position, const std::optional<TSLObjectSpecifier>& base)
{
    TSLObjectSpecifier specifier;
    specifier.kind = Kind::Relative;
    specifier.key = key;
    specifier.position = position;
    specifier.base = shared(base);
    return specifier;
}

QString TSLObjectSpecifier::toString() const
{
    const auto part = [](const std::shared_ptr<const TSLObjectSpecifier>& s) { return s ? s->toString() : QString(); };
    switch (kind) {
    case Kind::Index:
        return QStringLiteral("%1[%2]").arg(key).arg(index);
    case Kind::Range:
        return QStringLiteral("%1[%2 thru %3]").arg(key, part(start), part(end));
    case Kind::Relative:
        return QStringLiteral("%1 %2 %3")
            .arg(key, position == Position::Before ? QStringLiteral("before") : QStringLiteral("after"), part(base));
    }
    return {};
}

bool TSLObjectSpecifier::operator==(const TSLObjectSpecifier& other) const
{
    return kind == other.kind && key == other.key && index == other.index && position == other.position
        && sameSpecifier(start, other.start) && sameSpecifier(end, other.end) && sameSpecifier(base, other.base);
}

// ---------------------------------------------------------------------------------------------------------
// The document's scripting face

TSLDocument_Scripting::TSLDocument_Scripting(TSLDocument& document)
    : document_(&document)
{
    // The document clears an item's container whenever the item enters or leaves the front list; the
    // items of the front list get this one back after every change.
    connect(&document, &TSLDocument::graphicsChanged, this, &TSLDocument_Scripting::adoptFrontItems);
    adoptFrontItems(graphicsKey);
}

TSLDocument_Scripting::~TSLDocument_Scripting()
{
    if (!document_)
        return;
    for (const TSLGraphicPtr& item : document_->graphics()) {
        if (item->scriptingContainer() == this)
            item->setScriptingContainer(nullptr);
    }
}

void TSLDocument_Scripting::adoptFrontItems(const QString& key)
{
    if (key != graphicsKey || !document_)
        return;
    for (const TSLGraphicPtr& item : document_->graphics())
        item->setScriptingContainer(this);
}

TSLGraphicList TSLDocument_Scripting::graphics() const
{
    return document_ ? document_->graphics() : TSLGraphicList();
}

TSLGraphicList TSLDocument_Scripting::elementsOfKind(Kind kind) const
{
    TSLGraphicList result;
    for (const TSLGraphicPtr& item : graphics()) {
        bool matches = false;
        switch (kind) {
        case Kind::Rectangle:
        case Kind::Circle:
            matches = dynamic_cast<const Shape_Control*>(item.get()) != nullptr;
            break;
        case Kind::Line:
            matches = dynamic_cast<const TSLLine*>(item.get()) != nullptr;
            break;
        case Kind::TextArea:
            matches = dynamic_cast<const TSLText*>(item.get()) != nullptr;
            break;
        case Kind::Image:
            matches = dynamic_cast<const TSLImage*>(item.get()) != nullptr;
            break;
        }
        if (matches)
            result.push_back(item);
    }
    return result;
}

TSLGraphicList TSLDocument_Scripting::rectangles() const
{
    return elementsOfKind(Kind::Rectangle);
}
TSLGraphicList TSLDocument_Scripting::circles() const
{
    return elementsOfKind(Kind::Circle);
}
TSLGraphicList TSLDocument_Scripting::rectangles_round() const
{
    return elementsOfKind(Kind::Rectangle);
}
TSLGraphicList TSLDocument_Scripting::lines() const
{
    return elementsOfKind(Kind::Line);
}
TSLGraphicList TSLDocument_Scripting::textAreas() const
{
    return elementsOfKind(Kind::TextArea);
}
TSLGraphicList TSLDocument_Scripting::images() const
{
    return elementsOfKind(Kind::Image);
}

bool TSLDocument_Scripting::isListKey(const QString& key)
{
    return key == TSLDocumentGraphicsKey || key == TSLDocumentGraphicsKey_back || key == TSLDocumentGraphicsKey_temp;
}

bool TSLDocument_Scripting::isAcceptedKey(const QString& key)
{
    static const QStringList kinds = { QStringLiteral("rectangles"), QStringLiteral("circles"), QStringLiteral("lines"),
        QStringLiteral("textAreas"), QStringLiteral("images") };
    return isListKey(key) || kinds.contains(key);
}

TSLGraphicList TSLDocument_Scripting::elementsForKey(const QString& key) const
{
    if (isListKey(key))
        return graphics();
    if (key == QLatin1String("rectangles"))
        return rectangles();
    if (key == QLatin1String("circles"))
        return circles();
    if (key == QLatin1String("lines"))
        return lines();
    if (key == QLatin1String("textAreas"))
        return textAreas();
    if (key == QLatin1String("images"))
        return images();
    return {};
}

int TSLDocument_Scripting::frontIndexOf(const TSLGraphic* graphic) const
{
    return document_ ? indexIn(document_->graphics(), graphic) : -1;
}

std::optional<TSLObjectSpecifier> TSLDocument_Scripting::specifierForGraphic(const TSLGraphic& graphic) const
{
    const int index = frontIndexOf(&graphic);
    if (index < 0)
        return std::nullopt;
    return TSLObjectSpecifier::indexSpecifier(graphicsKey, index);
}

QString TSLDocument_Scripting::objectSpecifierForGraphic(const TSLGraphic& graphic) const
{
    const std::optional<TSLObjectSpecifier> specifier = specifierForGraphic(graphic);
    return specifier ? specifier->toString() : QString();
}

// ---------------------------------------------------------------------------------------------------------
// Inserting and removing

void TSLDocument_Scripting::insertGraphic(const TSLGraphicPtr& graphic, int index)
{
    if (document_)
        document_->insertGraphic(graphic, index);
}

void TSLDocument_Scripting::removeGraphicAtIndex(int index)
{
    if (document_)
        document_->removeGraphicAtIndex(index);
}

void TSLDocument_Scripting::addInGraphics(const TSLGraphicPtr& graphic)
{
    if (document_)
        document_->addInGraphics(graphic);
}

namespace {

const char* missingElementMessage(int kind)
{
    static const char* const messages[] = { "Could not find the given rectangle in the graphics.",
        "Could not find the given circle in the graphics.", "Could not find the given line in the graphics.",
        "Could not find the given text area in the graphics.", "Could not find the given image in the graphics." };
    return messages[kind];
}

} // namespace

void TSLDocument_Scripting::insertObjectOfKind(Kind kind, const TSLGraphicPtr& graphic, int index)
{
    const TSLGraphicList elements = elementsOfKind(kind);
    if (index == int(elements.size())) {
        addInGraphics(graphic);
        return;
    }
    if (index < 0 || index > int(elements.size()))
        throw std::out_of_range("element index beyond the elements");
    const int frontIndex = frontIndexOf(elements[index].get());
    if (frontIndex < 0)
        throw TSLScriptingRangeError(missingElementMessage(int(kind)));
    insertGraphic(graphic, frontIndex);
}

void TSLDocument_Scripting::removeObjectOfKind(Kind kind, int index)
{
    const TSLGraphicList elements = elementsOfKind(kind);
    if (index < 0 || index >= int(elements.size()))
        throw std::out_of_range("element index beyond the elements");
    const int frontIndex = frontIndexOf(elements[index].get());
    if (frontIndex < 0)
        throw TSLScriptingRangeError(missingElementMessage(int(kind)));
    removeGraphicAtIndex(frontIndex);
}

void TSLDocument_Scripting::insertObjectInRectanglesAtIndex(const TSLGraphicPtr& graphic, int index)
{
    insertObjectOfKind(Kind::Rectangle, graphic, index);
}
void TSLDocument_Scripting::insertObjectInCirclesAtIndex(const TSLGraphicPtr& graphic, int index)
{
    insertObjectOfKind(Kind::Circle, graphic, index);
}
void TSLDocument_Scripting::insertObjectInLinesAtIndex(const TSLGraphicPtr& graphic, int index)
{
    insertObjectOfKind(Kind::Line, graphic, index);
}
void TSLDocument_Scripting::insertObjectInTextAreasAtIndex(const TSLGraphicPtr& graphic, int index)
{
    insertObjectOfKind(Kind::TextArea, graphic, index);
}
void TSLDocument_Scripting::insertObjectInImagesAtIndex(const TSLGraphicPtr& graphic, int index)
{
    insertObjectOfKind(Kind::Image, graphic, index);
}
void TSLDocument_Scripting::removeObjectFromRectanglesAtIndex(int index)
{
    removeObjectOfKind(Kind::Rectangle, index);
}
void TSLDocument_Scripting::removeObjectFromCirclesAtIndex(int index)
{
    removeObjectOfKind(Kind::Circle, index);
}
void TSLDocument_Scripting::removeObjectFromLinesAtIndex(int index)
{
    removeObjectOfKind(Kind::Line, index);
}
void TSLDocument_Scripting::removeObjectFromTextAreasAtIndex(int index)
{
    removeObjectOfKind(Kind::TextArea, index);
}
void TSLDocument_Scripting::removeObjectFromImagesAtIndex(int index)
{
    removeObjectOfKind(Kind::Image, index);
}

TSLGraphicPtr TSLDocument_Scripting::newScriptingObjectOfClass(
    const QString& className, const QVariantMap& properties) const
{
    // Nothing can be drawn as a bare item, so a request for the base kind makes a shape.
    const QString made = className == QLatin1String("TSLGraphic") ? QStringLiteral("Shape_Control") : className;
    TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(made);
    if (item)
        item->setValuesForKeysWithDictionary(properties);
    return item;
}

// ---------------------------------------------------------------------------------------------------------
// Specifier evaluation

TSLGraphicList TSLDocument_Scripting::objectsByEvaluatingSpecifier(const TSLObjectSpecifier& specifier) const
{
    if (!isAcceptedKey(specifier.key))
        return {};
    const TSLGraphicList elements = elementsForKey(specifier.key);
    std::vector<int> indexes;
    if (specifier.kind == TSLObjectSpecifier::Kind::Index) {
        indexes.push_back(specifier.index);
    } else if (const std::optional<std::vector<int>> evaluated
        = indicesOfObjectsByEvaluatingObjectSpecifier(specifier)) {
        indexes = *evaluated;
    }
    TSLGraphicList result;
    for (int index : indexes) {
        if (index >= 0 && index < int(elements.size()))
            result.push_back(elements[index]);
    }
    return result;
}

std::optional<std::vector<int>> TSLDocument_Scripting::indicesOfObjectsByEvaluatingObjectSpecifier(
    const TSLObjectSpecifier& specifier) const
{
    switch (specifier.kind) {
    case TSLObjectSpecifier::Kind::Range:
        return indicesOfObjectsByEvaluatingRangeSpecifier(specifier);
    case TSLObjectSpecifier::Kind::Relative:
        return indicesOfObjectsByEvaluatingRelativeSpecifier(specifier);
    case TSLObjectSpecifier::Kind::Index:
        break;
    }
    return std::nullopt;
}

std::optional<std::vector<int>> TSLDocument_Scripting::indicesOfObjectsByEvaluatingRangeSpecifier(
    const TSLObjectSpecifier& specifier) const
{
    const QString& key = specifier.key;
    if (!isAcceptedKey(key) || (!specifier.start && !specifier.end))
        return std::nullopt;
    const TSLGraphicList front = graphics();
    if (front.empty())
        return std::vector<int> {};
    if ((specifier.start && !isAcceptedKey(specifier.start->key))
        || (specifier.end && !isAcceptedKey(specifier.end->key)))
        return std::nullopt;

    // Each end names an item; its front-list position bounds the range.
    const auto endIndex = [&](const std::shared_ptr<const TSLObjectSpecifier>& end, bool first) -> std::optional<int> {
        const TSLGraphicList objects = objectsByEvaluatingSpecifier(*end);
        if (objects.empty())
            return std::nullopt;
        const int index = indexIn(front, (first ? objects.front() : objects.back()).get());
        return index < 0 ? std::nullopt : std::optional<int>(index);
    };
    int start = 0;
    int end = int(front.size()) - 1;
    if (specifier.start) {
        const std::optional<int> index = endIndex(specifier.start, true);
        if (!index)
            return std::nullopt;
        start = *index;
    }
    if (specifier.end) {
        const std::optional<int> index = endIndex(specifier.end, false);
        if (!index)
            return std::nullopt;
        end = *index;
    }
    if (end < start)
        std::swap(start, end);

    std::vector<int> result;
    if (isListKey(key)) {
        for (int i = start; i <= end; ++i)
            result.push_back(i);
        return result;
    }
    const TSLGraphicList elements = elementsForKey(key);
    for (int i = start; i <= end; ++i) {
        const int index = indexIn(elements, front[i].get());
        if (index >= 0)
            result.push_back(index);
    }
    return result;
}

std::optional<std::vector<int>> TSLDocument_Scripting::indicesOfObjectsByEvaluatingRelativeSpecifier(
    const TSLObjectSpecifier& specifier) const
{
    const QString& key = specifier.key;
    if (!isAcceptedKey(key) || !specifier.base)
        return std::nullopt;
    const TSLGraphicList front = graphics();
    if (front.empty())
        return std::vector<int> {};
    if (!isAcceptedKey(specifier.base->key))
        return std::nullopt;

    const bool before = specifier.position == TSLObjectSpecifier::Position::Before;
    const TSLGraphicList bases = objectsByEvaluatingSpecifier(*specifier.base);
    if (bases.empty())
        return std::nullopt;
    const int baseIndex = indexIn(front, (before ? bases.front() : bases.back()).get());
    if (baseIndex < 0)
        return std::nullopt;

    const int step = before ? -1 : 1;
    const TSLGraphicList elements = elementsForKey(key);
    for (int i = baseIndex + step; i >= 0 && i < int(front.size()); i += step) {
        if (isListKey(key))
            return std::vector<int> { i };
        if (const int index = indexIn(elements, front[i].get()); index >= 0)
            return std::vector<int> { index };
    }
    return std::vector<int> {};
}

// ---------------------------------------------------------------------------------------------------------
// Colours

std::optional<QColor> TSLDocument_Scripting::scriptingRGBColorWithDescriptor(const TSLScriptingDescriptor& descriptor)
{
    if (descriptor.type != rgbDescriptorType || descriptor.data.size() != 6)
        return std::nullopt;
    quint16 components[3];
    std::memcpy(components, descriptor.data.constData(), sizeof components);
    // QColor keeps 16 bits a component, so the values come back exactly.
    return QColor::fromRgba64(components[0], components[1], components[2], 65535);
}

TSLScriptingDescriptor TSLDocument_Scripting::scriptingRGBColorDescriptor(double red, double green, double blue)
{
    const auto component = [](double value) { return quint16(std::clamp(value, 0.0, 1.0) * 65535.0); };
    const quint16 components[3] = { component(red), component(green), component(blue) };
    TSLScriptingDescriptor descriptor;
    descriptor.type = rgbDescriptorType;
    descriptor.data = QByteArray(reinterpret_cast<const char*>(components), sizeof components);
    return descriptor;
}

TSLScriptingDescriptor TSLDocument_Scripting::scriptingRGBColorDescriptor(const QColor& color)
{
    // A QColor component is k / 65535 for a 16-bit k, which times 65535 is k itself; going through floats
    // could truncate it to k - 1.
    const QRgba64 rgb = color.toRgb().rgba64();
    const quint16 components[3] = { rgb.red(), rgb.green(), rgb.blue() };
    TSLScriptingDescriptor descriptor;
    descriptor.type = rgbDescriptorType;
    descriptor.data = QByteArray(reinterpret_cast<const char*>(components), sizeof components);
    return descriptor;
}
