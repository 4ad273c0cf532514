#pragma once

#include "model/Card_Designs.h"
#include "model/TSLGraphic.h"

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QSizeF>

#include <array>
#include <map>
#include <optional>

namespace platform { class UndoManager; }
struct TSLError;

extern const QString TSLDocumentGraphicsKey;      // "graphics": the front list
extern const QString TSLDocumentGraphicsKey_back; // "graphics_back"
extern const QString TSLDocumentGraphicsKey_temp; // "graphics_temp"
extern const QString TSLDocumentNewTypeName;      // "com.quillmark.Tessaline"
extern const QString TSLDocumentOldTypeName;      // "Varnel CARD document"
extern const int TSLDocumentCurrentVersion;       // 2
extern const QString TSLDocumentVersionKey;       // "version"
extern const QString TSLDocumentPrintInfoKey;     // "printInfo"

// The open card: the front, back and scratch item lists. Each list has its own undo, so undo acts on the
// side shown: inserting and removing items, and changes of their observed properties, coalesced so that
// one undo step restores every property changed within one undo group.
class TSLDocument : public QObject, private TSLGraphicObserver {
    Q_OBJECT
public:
    explicit TSLDocument(QObject* parent = nullptr);
    ~TSLDocument() override;

    const TSLGraphicList& graphics() const { return graphics_; }
    const TSLGraphicList& graphics_back() const { return graphics_back_; }
    const TSLGraphicList& graphics_temp() const { return graphics_temp_; }
    const TSLGraphicList& graphicsForKey(const QString& key) const;

    // Front-list mutators: recorded for undo. Indexes ascend; item i goes to indexes[i].
    void insertGraphics(const TSLGraphicList& items, const std::vector<int>& indexes);
    void removeGraphicsAtIndexes(const std::vector<int>& indexes);
    void insertGraphic(const TSLGraphicPtr& item, int index);
    void removeGraphicAtIndex(int index);
    void addInGraphics(const TSLGraphicPtr& item);

    // Any list by key, recorded for that list's undo as the front's mutators are.
    void insertGraphicsForKey(const QString& key, const TSLGraphicList& items, const std::vector<int>& indexes);
    void removeGraphicsForKey(const QString& key, const std::vector<int>& indexes);
    void replaceGraphicsForKey(const QString& key, const TSLGraphicList& items); // not recorded; not for the front

    platform::UndoManager& undoManager() { return *sides_[0].undoManager; } // the front's
    platform::UndoManager& undoManagerForKey(const QString& key) { return *side(key).undoManager; }
    // Switches recording off and on for every list (the calls pair up).
    void Enable_Disable_Undo_Registraion(bool enable);
    // Forgets every list's undo and redo and empties the front list; the others keep their items.
    void Clear_All_Undo_Redo();

    // Data of the document: own type (binary property list with "version", "graphics", "printInfo").
    // PDF and TIFF are made by the rendering view and are not this class's business.
    std::optional<QByteArray> dataOfType(const QString& typeName, TSLError* error) const;
    bool readFromData(const QByteArray&, const QString&) { return false; }
    bool isDocumentEdited() const { return false; }
    static QSizeF canvasSize(bool fixed, const QSizeF& size_val);

    // The person's design of each item on each card size it was made on; the card fit reads and keeps it,
    // the design file saves it, and the card's steps take it back and forth with their undo and redo.
    Card_Designs& cardDesigns() { return cardDesigns_; }
    const Card_Designs& cardDesigns() const { return cardDesigns_; }

    QByteArray printInfo() const { return printInfo_; }
    void setPrintInfo(const QByteArray& printInfo);

    // What the design is known by, whatever its file is called or wherever it lies: made with the design (a new
    // document, New, a wizard, a template), kept in its file and by Save As. 32 hexadecimal digits.
    const QString& designIdentity() const { return designIdentity_; }
    void setDesignIdentity(const QString& identity) { designIdentity_ = identity; }
    static QString newDesignIdentity();
    // Whether the text is an identity as newDesignIdentity makes them.
    static bool isDesignIdentity(const QString& text);

signals:
    // A list changed; the canvases redraw and drop selections of items that left.
    void graphicsChanged(const QString& key);
    void canvasSizeChanged();

private:
    struct GroupState {
        QSet<TSLGraphic*> insertedGraphics;
        // Shared with the registered undo action, which restores the values when run.
        std::shared_ptr<std::map<TSLGraphicPtr, QVariantMap>> oldPropertiesPerGraphic;
        QString presentablePropertyName;
        bool hasChangesToMultipleProperties = false;
    };

    // One list with its undo.
    struct Side {
        QString key;
        TSLGraphicList graphics;
        GroupState group;
        platform::UndoManager* undoManager = nullptr;
    };

    Side& side(const QString& key);
    void insertInto(Side& side, const TSLGraphicList& items, const std::vector<int>& indexes);
    void removeFrom(Side& side, const std::vector<int>& indexes);
    void startObservingGraphics(const TSLGraphicList& items);
    void stopObservingGraphics(const TSLGraphicList& items);
    static void setGraphicProperties(const std::shared_ptr<std::map<TSLGraphicPtr, QVariantMap>>& properties);
    // The list holding the item, and the item's own pointer there.
    std::pair<Side*, TSLGraphicPtr> sideHolding(const TSLGraphic& graphic);

    void graphicValueChanged(TSLGraphic& graphic, const QString& key, const QVariant& oldValue,
                             const QVariant& newValue) override;
    void graphicUndoKeysChanged(TSLGraphic& graphic, const QSet<QString>& oldKeys, const QSet<QString>& newKeys) override;

    std::array<Side, 3> sides_; // front, back, scratch
    const TSLGraphicList& graphics_ = sides_[0].graphics;
    const TSLGraphicList& graphics_back_ = sides_[1].graphics;
    const TSLGraphicList& graphics_temp_ = sides_[2].graphics;
    QByteArray printInfo_;
    Card_Designs cardDesigns_;
    QString designIdentity_ = newDesignIdentity();
};
