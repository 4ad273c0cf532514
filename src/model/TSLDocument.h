#pragma once

#include "model/TSLGraphic.h"

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QSizeF>

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

// The open card: the front, back and scratch item lists. Undo covers the front list only: inserting
// and removing its items, and changes of their observed properties, coalesced so that one undo step
// restores every property changed within one undo group.
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

    // Any list by key; the front list goes through the recorded mutators above, the others change
    // directly without undo.
    void insertGraphicsForKey(const QString& key, const TSLGraphicList& items, const std::vector<int>& indexes);
    void removeGraphicsForKey(const QString& key, const std::vector<int>& indexes);
    void replaceGraphicsForKey(const QString& key, const TSLGraphicList& items); // not for the front list

    platform::UndoManager& undoManager() { return *undoManager_; }
    void Enable_Disable_Undo_Registraion(bool enable);
    void Clear_All_Undo_Redo();

    // Data of the document: own type (binary property list with "version", "graphics", "printInfo").
    // PDF and TIFF are made by the rendering view and are not this class's business.
    std::optional<QByteArray> dataOfType(const QString& typeName, TSLError* error) const;
    bool readFromData(const QByteArray&, const QString&) { return false; }
    bool isDocumentEdited() const { return false; }
    static QSizeF canvasSize(bool fixed, const QSizeF& size_val);

    QByteArray printInfo() const { return printInfo_; }
    void setPrintInfo(const QByteArray& printInfo);

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

    TSLGraphicList& mutableList(const QString& key);
    void startObservingGraphics(const TSLGraphicList& items);
    void stopObservingGraphics(const TSLGraphicList& items);
    void observeUndoManagerCheckpoint();
    void setGraphicProperties(const std::shared_ptr<std::map<TSLGraphicPtr, QVariantMap>>& properties);
    TSLGraphicPtr frontItemFor(const TSLGraphic& graphic) const;

    void graphicValueChanged(TSLGraphic& graphic, const QString& key, const QVariant& oldValue,
                             const QVariant& newValue) override;
    void graphicUndoKeysChanged(TSLGraphic& graphic, const QSet<QString>& oldKeys, const QSet<QString>& newKeys) override;

    TSLGraphicList graphics_;
    TSLGraphicList graphics_back_;
    TSLGraphicList graphics_temp_;
    GroupState group_;
    platform::UndoManager* undoManager_;
    QByteArray printInfo_;
};
