#pragma once

#include "model/TSLDocument.h"

#include <QByteArray>
#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

// How a script names objects of the document: an element by its index in the list of a key, a range of
// elements between two others, or the element before or after another.
struct TSLObjectSpecifier {
    enum class Kind { Index, Range, Relative };
    enum class Position { Before, After };

    Kind kind = Kind::Index;
    QString key; // "graphics", "rectangles", "lines" ...
    int index = 0; // Index: position in the key's element list
    std::shared_ptr<const TSLObjectSpecifier> start; // Range: either end may be missing
    std::shared_ptr<const TSLObjectSpecifier> end;
    std::shared_ptr<const TSLObjectSpecifier> base; // Relative
    Position position = Position::After;

    static TSLObjectSpecifier indexSpecifier(const QString& key, int index);
    static TSLObjectSpecifier rangeSpecifier(const QString& key, const std::optional<TSLObjectSpecifier>& start,
        const std::optional<TSLObjectSpecifier>& end);
    static TSLObjectSpecifier relativeSpecifier(
        const QString& key, Position position, const std::optional<TSLObjectSpecifier>& base);

    // Readable form, "graphics[2]" for an index specifier.
    QString toString() const;
    bool operator==(const TSLObjectSpecifier& other) const;
};

// A script named an element that the front list does not hold.
class TSLScriptingRangeError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// A typed value as scripts pass it: a four-character type code and the bytes.
struct TSLScriptingDescriptor {
    QByteArray type; // "cRGB": red, green, blue as unsigned 16-bit integers in the machine's byte order
    QByteArray data;
};

// What scripts can do with a document: its elements by kind, inserting and removing them, and evaluating
// range and relative specifiers against the front list, the only list scripts see. While it lives it
// answers the front list's items for their object specifiers.
class TSLDocument_Scripting final : public QObject, public TSLScriptingContainer {
    Q_OBJECT
public:
    explicit TSLDocument_Scripting(TSLDocument& document);
    ~TSLDocument_Scripting() override;

    // --- Elements: new lists, in front-list order ---
    TSLGraphicList graphics() const;
    TSLGraphicList rectangles() const; // every shape: all shapes are one kind
    TSLGraphicList circles() const;
    TSLGraphicList rectangles_round() const;
    TSLGraphicList lines() const;
    TSLGraphicList textAreas() const;
    TSLGraphicList images() const;
    // The keys specifiers may use: "graphics", "graphics_back" and "graphics_temp" (all three meaning
    // positions in the front list), "rectangles", "circles", "lines", "textAreas" and "images".
    static bool isAcceptedKey(const QString& key);
    static bool isListKey(const QString& key);
    TSLGraphicList elementsForKey(const QString& key) const; // empty for a key not accepted

    // --- Specifiers of items ---
    std::optional<TSLObjectSpecifier> specifierForGraphic(const TSLGraphic& graphic) const;
    QString objectSpecifierForGraphic(const TSLGraphic& graphic) const override; // empty when not in the list

    // --- One-item front-list mutators ---
    void insertGraphic(const TSLGraphicPtr& graphic, int index);
    void removeGraphicAtIndex(int index);
    void addInGraphics(const TSLGraphicPtr& graphic);

    // Inserting at an element index puts the item just in front of that element in the front list; at the
    // element count, at the end of the front list. An index beyond the elements throws std::out_of_range;
    // an element missing from the front list, TSLScriptingRangeError with the kind's message.
    void insertObjectInRectanglesAtIndex(const TSLGraphicPtr& graphic, int index);
    void insertObjectInCirclesAtIndex(const TSLGraphicPtr& graphic, int index);
    void insertObjectInLinesAtIndex(const TSLGraphicPtr& graphic, int index);
    void insertObjectInTextAreasAtIndex(const TSLGraphicPtr& graphic, int index);
    void insertObjectInImagesAtIndex(const TSLGraphicPtr& graphic, int index);
    void removeObjectFromRectanglesAtIndex(int index);
    void removeObjectFromCirclesAtIndex(int index);
    void removeObjectFromLinesAtIndex(int index);
    void removeObjectFromTextAreasAtIndex(int index);
    void removeObjectFromImagesAtIndex(int index);

    // A new item for a script's "make": the base kind makes a shape. Not inserted; nothing for an unknown
    // class.
    TSLGraphicPtr newScriptingObjectOfClass(const QString& className, const QVariantMap& properties) const;

    // --- Specifier evaluation: indexes into the key's element list, or nothing when the specifier cannot
    // be evaluated here ---
    std::optional<std::vector<int>> indicesOfObjectsByEvaluatingObjectSpecifier(
        const TSLObjectSpecifier& specifier) const;
    std::optional<std::vector<int>> indicesOfObjectsByEvaluatingRangeSpecifier(
        const TSLObjectSpecifier& specifier) const;
    std::optional<std::vector<int>> indicesOfObjectsByEvaluatingRelativeSpecifier(
        const TSLObjectSpecifier& specifier) const;

    // --- Scripted colours ---
    // A 'cRGB' descriptor of exactly 6 bytes as an opaque colour; nothing for any other type or length.
    static std::optional<QColor> scriptingRGBColorWithDescriptor(const TSLScriptingDescriptor& descriptor);
    // Each component (0 to 1) times 65535, truncated; alpha is dropped.
    static TSLScriptingDescriptor scriptingRGBColorDescriptor(double red, double green, double blue);
    static TSLScriptingDescriptor scriptingRGBColorDescriptor(const QColor& color);

private:
    enum class Kind { Rectangle, Circle, Line, TextArea, Image };
    void insertObjectOfKind(Kind kind, const TSLGraphicPtr& graphic, int index);
    void removeObjectOfKind(Kind kind, int index);
    TSLGraphicList elementsOfKind(Kind kind) const;
    // The front-list items a specifier names; empty for none or an item it cannot find.
    TSLGraphicList objectsByEvaluatingSpecifier(const TSLObjectSpecifier& specifier) const;
    int frontIndexOf(const TSLGraphic* graphic) const;
    void adoptFrontItems(const QString& key);

    QPointer<TSLDocument> document_;
};
