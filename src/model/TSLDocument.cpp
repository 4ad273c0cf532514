#include "model/TSLDocument.h"

#include "model/TSLError.h"
#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"
#include "platform/StringsTable.h"
#include "platform/UndoManager.h"

#include <QRegularExpression>
#include <QUuid>

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
{
    const QString keys[] = { TSLDocumentGraphicsKey, TSLDocumentGraphicsKey_back, TSLDocumentGraphicsKey_temp };
    for (std::size_t i = 0; i < sides_.size(); ++i) {
        Side& one = sides_[i];
        one.key = keys[i];
        one.undoManager = new platform::UndoManager(this);
        connect(one.undoManager, &platform::UndoManager::checkpoint, this, [&one] { one.group = GroupState {}; });
    }
}

TSLDocument::~TSLDocument()
{
    for (Side& one : sides_) {
        stopObservingGraphics(one.graphics);
        for (const TSLGraphicPtr& item : one.graphics)
            item->setScriptingContainer(nullptr);
    }
}

const TSLGraphicList& TSLDocument::graphicsForKey(const QString& key) const
{
    return const_cast<TSLDocument*>(this)->side(key).graphics;
}

TSLDocument::Side& TSLDocument::side(const QString& key)
{
    if (key == TSLDocumentGraphicsKey_back)
        return sides_[1];
    if (key == TSLDocumentGraphicsKey_temp)
        return sides_[2];
    return sides_[0];
}

// ---------------------------------------------------------------------------------------------------------
// The lists

void TSLDocument::insertInto(Side& side, const TSLGraphicList& items, const std::vector<int>& indexes)
{
    if (items.size() != indexes.size())
        throw std::invalid_argument("insertGraphics: one index per item");
    TSLGraphicList& list = side.graphics;
    std::vector<int> placed;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = std::clamp(indexes[i], 0, int(list.size()));
        list.insert(list.begin() + index, items[i]);
        placed.push_back(index);
    }
    for (const TSLGraphicPtr& item : items)
        item->setScriptingContainer(nullptr); // the scripting layer sets its own container
    const QString key = side.key;
    side.undoManager->registerUndo([this, key, placed] { removeGraphicsForKey(key, placed); });
    if (side.undoManager->isUndoRegistrationEnabled()) {
        for (const TSLGraphicPtr& item : items)
            side.group.insertedGraphics.insert(item.get());
    }
    startObservingGraphics(items);
    emit graphicsChanged(key);
}

void TSLDocument::removeFrom(Side& side, const std::vector<int>& indexes)
{
    TSLGraphicList& list = side.graphics;
    TSLGraphicList removed;
    std::vector<int> valid;
    for (int index : indexes) {
        if (index >= 0 && index < int(list.size())) {
            removed.push_back(list[index]);
            valid.push_back(index);
        }
    }
    if (valid.empty())
        return;
    stopObservingGraphics(removed);
    const QString key = side.key;
    side.undoManager->registerUndo([this, key, removed, valid] { insertGraphicsForKey(key, removed, valid); });
    for (const TSLGraphicPtr& item : removed)
        item->setScriptingContainer(nullptr);
    for (auto it = valid.rbegin(); it != valid.rend(); ++it)
        list.erase(list.begin() + *it);
    emit graphicsChanged(key);
}

void TSLDocument::insertGraphics(const TSLGraphicList& items, const std::vector<int>& indexes)
{
    insertInto(sides_[0], items, indexes);
}

void TSLDocument::removeGraphicsAtIndexes(const std::vector<int>& indexes)
{
    removeFrom(sides_[0], indexes);
}

void TSLDocument::insertGraphic(const TSLGraphicPtr& item, int index) { insertGraphics({ item }, { index }); }

void TSLDocument::removeGraphicAtIndex(int index) { removeGraphicsAtIndexes({ index }); }

void TSLDocument::addInGraphics(const TSLGraphicPtr& item) { insertGraphic(item, int(graphics_.size())); }

void TSLDocument::insertGraphicsForKey(const QString& key, const TSLGraphicList& items, const std::vector<int>& indexes)
{
    insertInto(side(key), items, indexes);
}

void TSLDocument::removeGraphicsForKey(const QString& key, const std::vector<int>& indexes)
{
    removeFrom(side(key), indexes);
}

void TSLDocument::replaceGraphicsForKey(const QString& key, const TSLGraphicList& items)
{
    if (key == TSLDocumentGraphicsKey)
        return;
    Side& one = side(key);
    stopObservingGraphics(one.graphics);
    one.graphics = items;
    startObservingGraphics(items);
    emit graphicsChanged(key);
}

// ---------------------------------------------------------------------------------------------------------
// Undo

void TSLDocument::Enable_Disable_Undo_Registraion(bool enable)
{
    for (Side& one : sides_) {
        if (enable)
            one.undoManager->enableUndoRegistration();
        else
            one.undoManager->disableUndoRegistration();
    }
}

void TSLDocument::Clear_All_Undo_Redo()
{
    for (Side& one : sides_) {
        one.undoManager->removeAllActions();
        one.group = GroupState {};
    }
    Side& front = sides_[0];
    stopObservingGraphics(front.graphics);
    for (const TSLGraphicPtr& item : front.graphics)
        item->setScriptingContainer(nullptr);
    front.graphics.clear();
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

std::pair<TSLDocument::Side*, TSLGraphicPtr> TSLDocument::sideHolding(const TSLGraphic& graphic)
{
    for (Side& one : sides_) {
        for (const TSLGraphicPtr& item : one.graphics) {
            if (item.get() == &graphic)
                return { &one, item };
        }
    }
    return { nullptr, nullptr };
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
    if (oldValue == newValue)
        return;
    const auto [holder, item] = sideHolding(graphic);
    if (!holder)
        return;
    GroupState& group = holder->group;
    platform::UndoManager& undo = *holder->undoManager;
    if (group.insertedGraphics.contains(&graphic))
        return;
    if (!group.oldPropertiesPerGraphic) {
        group.oldPropertiesPerGraphic = std::make_shared<std::map<TSLGraphicPtr, QVariantMap>>();
        const auto owner = group.oldPropertiesPerGraphic;
        undo.registerUndo([owner] { setGraphicProperties(owner); });
        if (!undo.isUndoRegistrationEnabled())
            group.oldPropertiesPerGraphic.reset();
    }
    if (!group.oldPropertiesPerGraphic)
        return;
    QVariantMap& old = (*group.oldPropertiesPerGraphic)[item];
    if (!old.contains(key))
        old.insert(key, oldValue);
    if (!undo.isUndoing() && !undo.isRedoing()) {
        const QString name = graphic.presentablePropertyNameForKey(key);
        if (name.isNull())
            throw std::logic_error("keysForValuesToObserveForUndo returns a key without a presentable name");
        if (group.presentablePropertyName.isNull() && !group.hasChangesToMultipleProperties) {
            group.presentablePropertyName = name;
        } else if (name != group.presentablePropertyName) {
            group.hasChangesToMultipleProperties = true;
            group.presentablePropertyName = QString();
        }
        // The Edit menu names what undo takes back; the canvas renames its own moves and resizes.
        if (group.hasChangesToMultipleProperties)
            undo.setActionName(
                platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Group Change")));
        else if (!name.isEmpty())
            undo.setActionName(name);
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

QString TSLDocument::newDesignIdentity()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}

bool TSLDocument::isDesignIdentity(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9a-f]{32}$"));
    return form.match(text).hasMatch();
}

void TSLDocument::setPrintInfo(const QByteArray& printInfo)
{
    printInfo_ = printInfo;
    emit canvasSizeChanged();
}
