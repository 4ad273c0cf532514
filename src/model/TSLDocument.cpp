#include "model/TSLDocument.h"

#include "model/TSLError.h"
#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include "platform/UndoManager.h"

#include <stdexcept>

const QString TSLDocumentGraphicsKey = QStringLiteral("graphics");
const QString TSLDocumentGraphicsKey_back = QStringLiteral("graphics_back");
const QString TSLDocumentGraphicsKey_temp = QStringLiteral("graphics_temp");
const QString TSLDocumentNewTypeName = QStringLiteral("com.quillmark.Tessaline");
const QString TSLDocumentOldTypeName = QStringLiteral("Varnel CARD document");
const int TSLDocumentCurrentVersion = 2;
const QString TSLDocumentVersionKey = QStringLiteral("version");
const QString TSLDocumentPrintInfoKey = QStringLiteral("printInfo");

TSLDocument::TSLDocument(QObject* parent)
    : QObject(parent)
    , undoManager_(new platform::UndoManager(this))
{
    connect(undoManager_, &platform::UndoManager::checkpoint, this, &TSLDocument::observeUndoManagerCheckpoint);
}

TSLDocument::~TSLDocument()
{
    stopObservingGraphics(graphics_);
    for (const TSLGraphicPtr& item : graphics_)
        item->setScriptingContainer(nullptr);
}

const TSLGraphicList& TSLDocument::graphicsForKey(const QString& key) const
{
    if (key == TSLDocumentGraphicsKey_back)
        return graphics_back_;
    if (key == TSLDocumentGraphicsKey_temp)
        return graphics_temp_;
    return graphics_;
}

TSLGraphicList& TSLDocument::mutableList(const QString& key)
{
    return const_cast<TSLGraphicList&>(graphicsForKey(key));
}

// ---------------------------------------------------------------------------------------------------------
// The front list

void TSLDocument::insertGraphics(const TSLGraphicList& items, const std::vector<int>& indexes)
{
    if (items.size() != indexes.size())
        throw std::invalid_argument("insertGraphics: one index per item");
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = std::clamp(indexes[i], 0, int(graphics_.size()));
        graphics_.insert(graphics_.begin() + index, items[i]);
    }
    for (const TSLGraphicPtr& item : items)
        item->setScriptingContainer(nullptr); // the scripting layer sets its own container
    undoManager_->registerUndo([this, indexes] { removeGraphicsAtIndexes(indexes); });
    if (undoManager_->isUndoRegistrationEnabled()) {
        for (const TSLGraphicPtr& item : items)
            group_.insertedGraphics.insert(item.get());
    }
    startObservingGraphics(items);
    emit graphicsChanged(TSLDocumentGraphicsKey);
}

void TSLDocument::removeGraphicsAtIndexes(const std::vector<int>& indexes)
{
    TSLGraphicList removed;
    std::vector<int> valid;
    for (int index : indexes) {
        if (index >= 0 && index < int(graphics_.size())) {
            removed.push_back(graphics_[index]);
            valid.push_back(index);
        }
    }
    if (valid.empty())
        return;
    stopObservingGraphics(removed);
    undoManager_->registerUndo([this, removed, valid] { insertGraphics(removed, valid); });
    for (const TSLGraphicPtr& item : removed)
        item->setScriptingContainer(nullptr);
    for (auto it = valid.rbegin(); it != valid.rend(); ++it)
        graphics_.erase(graphics_.begin() + *it);
    emit graphicsChanged(TSLDocumentGraphicsKey);
}

void TSLDocument::insertGraphic(const TSLGraphicPtr& item, int index) { insertGraphics({ item }, { index }); }

void TSLDocument::removeGraphicAtIndex(int index) { removeGraphicsAtIndexes({ index }); }

void TSLDocument::addInGraphics(const TSLGraphicPtr& item) { insertGraphic(item, int(graphics_.size())); }

// ---------------------------------------------------------------------------------------------------------
// Any list

void TSLDocument::insertGraphicsForKey(const QString& key, const TSLGraphicList& items, const std::vector<int>& indexes)
{
    if (key == TSLDocumentGraphicsKey) {
        insertGraphics(items, indexes);
        return;
    }
    TSLGraphicList& list = mutableList(key);
    for (std::size_t i = 0; i < items.size() && i < indexes.size(); ++i)
        list.insert(list.begin() + std::clamp(indexes[i], 0, int(list.size())), items[i]);
    emit graphicsChanged(key);
}

void TSLDocument::removeGraphicsForKey(const QString& key, const std::vector<int>& indexes)
{
    if (key == TSLDocumentGraphicsKey) {
        removeGraphicsAtIndexes(indexes);
        return;
    }
    TSLGraphicList& list = mutableList(key);
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        if (*it >= 0 && *it < int(list.size()))
            list.erase(list.begin() + *it);
    }
    emit graphicsChanged(key);
}

void TSLDocument::replaceGraphicsForKey(const QString& key, const TSLGraphicList& items)
{
    if (key == TSLDocumentGraphicsKey)
        return;
    mutableList(key) = items;
    emit graphicsChanged(key);
}

// ---------------------------------------------------------------------------------------------------------
// Undo

void TSLDocument::Enable_Disable_Undo_Registraion(bool enable)
{
    if (enable)
        undoManager_->enableUndoRegistration();
    else
        undoManager_->disableUndoRegistration();
}

void TSLDocument::Clear_All_Undo_Redo()
{
    undoManager_->removeAllActions();
    undoManager_->disableUndoRegistration();
    stopObservingGraphics(graphics_);
    for (const TSLGraphicPtr& item : graphics_)
        item->setScriptingContainer(nullptr);
    graphics_.clear();
    undoManager_->enableUndoRegistration();
    group_ = GroupState {};
    emit graphicsChanged(TSLDocumentGraphicsKey);
}

void TSLDocument::startObservingGraphics(const TSLGraphicList& items)
{
    for (const TSLGraphicPtr& item : items)
        item->addObserver(this);
}

void TSLDocument::stopObservingGraphics(const TSLGraphicList& items)
{
    for (const TSLGraphicPtr& item : items)
        item->removeObserver(this);
}

void TSLDocument::observeUndoManagerCheckpoint() { group_ = GroupState {}; }

TSLGraphicPtr TSLDocument::frontItemFor(const TSLGraphic& graphic) const
{
    for (const TSLGraphicPtr& item : graphics_) {
        if (item.get() == &graphic)
            return item;
    }
    return nullptr;
}

void TSLDocument::graphicUndoKeysChanged(TSLGraphic&, const QSet<QString>&, const QSet<QString>&)
{
    // The undo keys are read afresh on every change, so a key that joins the set is recorded from
    // now on and one that leaves it is not.
}

void TSLDocument::graphicValueChanged(TSLGraphic& graphic, const QString& key, const QVariant& oldValue,
                                      const QVariant& newValue)
{
    if (!graphic.keysForValuesToObserveForUndo().contains(key))
        return;
    if (group_.insertedGraphics.contains(&graphic))
        return;
    if (oldValue == newValue)
        return;
    const TSLGraphicPtr item = frontItemFor(graphic);
    if (!item)
        return;
    if (!group_.oldPropertiesPerGraphic) {
        group_.oldPropertiesPerGraphic = std::make_shared<std::map<TSLGraphicPtr, QVariantMap>>();
        const auto owner = group_.oldPropertiesPerGraphic;
        undoManager_->registerUndo([this, owner] { setGraphicProperties(owner); });
        if (!undoManager_->isUndoRegistrationEnabled())
            group_.oldPropertiesPerGraphic.reset();
    }
    if (!group_.oldPropertiesPerGraphic)
        return;
    QVariantMap& old = (*group_.oldPropertiesPerGraphic)[item];
    if (!old.contains(key))
        old.insert(key, oldValue);
    if (!undoManager_->isUndoing() && !undoManager_->isRedoing()) {
        const QString name = graphic.presentablePropertyNameForKey(key);
        if (name.isNull())
            throw std::logic_error("keysForValuesToObserveForUndo returns a key without a presentable name");
        if (group_.presentablePropertyName.isNull() && !group_.hasChangesToMultipleProperties) {
            group_.presentablePropertyName = name;
        } else if (name != group_.presentablePropertyName) {
            group_.hasChangesToMultipleProperties = true;
            group_.presentablePropertyName = QString();
        }
    }
}

void TSLDocument::setGraphicProperties(const std::shared_ptr<std::map<TSLGraphicPtr, QVariantMap>>& properties)
{
    for (const auto& [item, values] : *properties)
        item->setValuesForKeysWithDictionary(values);
}

// ---------------------------------------------------------------------------------------------------------
// Document services

std::optional<QByteArray> TSLDocument::dataOfType(const QString& typeName, TSLError*) const
{
    if (typeName == TSLDocumentNewTypeName || typeName == TSLDocumentOldTypeName) {
        platform::PlistDict root;
        root.insert(TSLDocumentVersionKey, TSLDocumentCurrentVersion);
        platform::PlistArray archives;
        for (const platform::KeyedArchive& archive : TSLGraphic::propertiesWithGraphics(graphics_))
            archives.push_back(archive.toPlist());
        root.insert(TSLDocumentGraphicsKey, archives);
        root.insert(TSLDocumentPrintInfoKey, printInfo_);
        return platform::PropertyList::toBinary(root);
    }
    return std::nullopt;
}

QSizeF TSLDocument::canvasSize(bool fixed, const QSizeF& size_val) { return fixed ? QSizeF(243, 154) : size_val; }

void TSLDocument::setPrintInfo(const QByteArray& printInfo)
{
    printInfo_ = printInfo;
    emit canvasSizeChanged();
}
