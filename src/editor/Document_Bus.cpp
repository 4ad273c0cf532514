#include "editor/Document_Bus.h"

#include "canvas/TSLGraphicView.h"
#include "editor/Document_Bus_Values.h"
#include "model/TSLDocument.h"
#include "model/TSLDocument_Scripting.h"
#include "platform/StringsTable.h"
#include "platform/UndoManager.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusReply>

#include <stdexcept>

const QString DocumentBus::serviceName = QStringLiteral("org.tessaline.Card");
const QString DocumentBus::objectPath = QStringLiteral("/Document");

QDBusArgument& operator<<(QDBusArgument& argument, const DocumentBusItem& item)
{
    argument.beginStructure();
    argument << item.index << item.kind << item.specifier << item.x << item.y << item.width << item.height;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DocumentBusItem& item)
{
    argument.beginStructure();
    argument >> item.index >> item.kind >> item.specifier >> item.x >> item.y >> item.width >> item.height;
    argument.endStructure();
    return argument;
}

namespace {

// What a script may make, by the key it names: the class made and the list it is counted in.
struct MadeKind {
    const char* key;
    const char* className;
};
constexpr MadeKind madeKinds[] = { { "graphics", "TSLGraphic" }, { "rectangles", "Shape_Control" },
    { "circles", "Shape_Control" }, { "rectangles_round", "Shape_Control" }, { "lines", "TSLLine" },
    { "textAreas", "TSLText" }, { "images", "TSLImage" } };

const MadeKind* madeKind(const QString& key)
{
    for (const MadeKind& kind : madeKinds)
        if (key == QLatin1String(kind.key))
            return &kind;
    return nullptr;
}

// "rectangles_round" holds the same items as "rectangles"; the scripting model names the others.
QString modelKey(const QString& key)
{
    return key == QLatin1String("rectangles_round") ? QStringLiteral("rectangles") : key;
}

QString kindsText()
{
    return QStringLiteral("graphics, graphics_back, graphics_temp, rectangles, circles, rectangles_round, lines, "
                          "textAreas or images");
}

// A new item that no one sized would be invisible and out of reach of the mouse.
const QRectF madeItemBounds(18, 18, 72, 36);

QString undoName(const QString& key, const QString& kind)
{
    QString name = platform::localizedString(QStringLiteral("UndoStrings"), key);
    return name.replace(QLatin1String("%@"), kind);
}

// One change of the front list as one named undo step, whatever the change registers.
template <typename Change> void asOneStep(TSLDocument& document, const QString& name, Change&& change)
{
    platform::UndoManager& undo = document.undoManager();
    undo.beginUndoGrouping();
    try {
        change();
    } catch (...) {
        undo.setActionName(name);
        undo.endUndoGrouping();
        throw;
    }
    undo.setActionName(name);
    undo.endUndoGrouping();
}

} // namespace

DocumentBus::DocumentBus(TSLDocument& document, QObject* parent)
    : QObject(parent)
    , document_(document)
    , scripting_(std::make_unique<TSLDocument_Scripting>(document))
{
    qDBusRegisterMetaType<DocumentBusItem>();
    qDBusRegisterMetaType<QList<DocumentBusItem>>();
}

DocumentBus::~DocumentBus()
{
    if (connectionName_.isEmpty())
        return;
    QDBusConnection connection(connectionName_);
    if (!connection.isConnected())
        return;
    connection.unregisterObject(objectPath);
    // The program's name, owned or waited for, goes to the next copy in the bus's queue.
    for (const QString& name : registeredNames_)
        connection.unregisterService(name);
}

QString DocumentBus::registerOn(QDBusConnection connection, QString* error)
{
    if (!connection.isConnected()) {
        *error = QStringLiteral("The session bus cannot be reached, so scripts cannot reach the design: %1")
                     .arg(connection.lastError().message());
        return {};
    }
    if (!connection.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots)) {
        *error = QStringLiteral("The design cannot be offered to scripts: %1 is taken on the session bus.")
                     .arg(objectPath);
        return {};
    }
    // A name of this copy's own, by which a script reaches this one copy whatever else runs.
    const QString own = QStringLiteral("%1.instance%2").arg(serviceName).arg(QCoreApplication::applicationPid());
    if (!connection.registerService(own)) {
        *error = QStringLiteral("The design cannot be offered to scripts: %1").arg(connection.lastError().message());
        connection.unregisterObject(objectPath);
        return {};
    }
    connectionName_ = connection.name();
    registeredNames_ = { own };
    // The program's name waits in the bus's queue: the first copy owns it, and when that copy quits the bus
    // hands it to the next, so that scripts written for the name reach whichever copy still runs.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> queued = connection.interface()->registerService(
        serviceName, QDBusConnectionInterface::QueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!queued.isValid() || queued.value() == QDBusConnectionInterface::ServiceNotRegistered)
        return own;
    registeredNames_.prepend(serviceName);
    return queued.value() == QDBusConnectionInterface::ServiceRegistered ? serviceName : own;
}

void DocumentBus::fail(const QString& errorName, const QString& message)
{
    if (calledFromDBus())
        sendErrorReply(errorName, message);
}

bool DocumentBus::refuseWhileBusy()
{
    if (!QApplication::activeModalWidget())
        return false;
    fail(DocumentBusErrors::busy,
        QStringLiteral("Tessaline Card has a window open that waits for an answer; close it and try again."));
    return true;
}

bool DocumentBus::refuseWhileTyped(const TSLGraphic& item)
{
    // The typed text is the person's until the typing ends; a change made under it would be lost or lose it.
    for (QWidget* widget : QApplication::allWidgets()) {
        const auto* canvas = qobject_cast<const TSLGraphicView*>(widget);
        if (canvas && canvas->editingGraphic().get() == &item) {
            fail(DocumentBusErrors::busy,
                QStringLiteral("The text is being typed into on the card; try again when the typing has ended."));
            return true;
        }
    }
    return false;
}

QRectF DocumentBus::frontCard() const
{
    // The front canvas is the card; without a window the card is the new-card size.
    for (QWidget* widget : QApplication::allWidgets()) {
        const auto* canvas = qobject_cast<const TSLGraphicView*>(widget);
        if (canvas && canvas->document() == &document_ && canvas->graphicsKey() == TSLDocumentGraphicsKey)
            return canvas->bounds();
    }
    return QRectF(QPointF(), TSLDocument::canvasSize(true, QSizeF()));
}

bool DocumentBus::checkKey(const QString& key)
{
    if (TSLDocument_Scripting::isAcceptedKey(key) || key == QLatin1String("rectangles_round"))
        return true;
    fail(DocumentBusErrors::invalidArgs,
        QStringLiteral("There is no element key \"%1\"; use %2.").arg(key, kindsText()));
    return false;
}

int DocumentBus::Count(const QString& key)
{
    if (refuseWhileBusy() || !checkKey(key))
        return 0;
    return int(scripting_->elementsForKey(modelKey(key)).size());
}

QList<DocumentBusItem> DocumentBus::Items(const QString& key)
{
    if (refuseWhileBusy() || !checkKey(key))
        return {};
    QList<DocumentBusItem> items;
    const TSLGraphicList elements = scripting_->elementsForKey(modelKey(key));
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const TSLGraphic& item = *elements[i];
        const QRectF bounds = item.bounds();
        items.append({ int(i), item.className(), scripting_->objectSpecifierForGraphic(item), bounds.x(), bounds.y(),
            bounds.width(), bounds.height() });
    }
    return items;
}

namespace {

std::optional<TSLObjectSpecifier> indexSpecifier(const QString& key, int index)
{
    if (key.isEmpty())
        return std::nullopt;
    return TSLObjectSpecifier::indexSpecifier(modelKey(key), index);
}

QList<int> listOf(const std::vector<int>& indexes)
{
    return QList<int>(indexes.begin(), indexes.end());
}

// An end of a range or the base of a relative specifier as the script gave it; `missing` when it gave none.
QString endText(const QString& key, int index, const QString& missing)
{
    return key.isEmpty() ? missing : QStringLiteral("%1[%2]").arg(key).arg(index);
}

} // namespace

QList<int> DocumentBus::EvaluateRange(
    const QString& key, const QString& startKey, int startIndex, const QString& endKey, int endIndex)
{
    if (refuseWhileBusy() || !checkKey(key))
        return {};
    const TSLObjectSpecifier range = TSLObjectSpecifier::rangeSpecifier(
        modelKey(key), indexSpecifier(startKey, startIndex), indexSpecifier(endKey, endIndex));
    if (const std::optional<std::vector<int>> indexes = scripting_->indicesOfObjectsByEvaluatingRangeSpecifier(range))
        return listOf(*indexes);
    fail(DocumentBusErrors::noSuchObject,
        startKey.isEmpty() && endKey.isEmpty()
            ? QStringLiteral("The range of %1 names neither its first nor its last element.").arg(key)
            : QStringLiteral("The range %1[%2 thru %3] names no element of the design.")
                  .arg(key, endText(startKey, startIndex, QStringLiteral("the first")),
                      endText(endKey, endIndex, QStringLiteral("the last"))));
    return {};
}

QList<int> DocumentBus::EvaluateRelative(
    const QString& key, const QString& baseKey, int baseIndex, const QString& position)
{
    if (refuseWhileBusy() || !checkKey(key))
        return {};
    if (position != QLatin1String("before") && position != QLatin1String("after")) {
        fail(DocumentBusErrors::invalidArgs,
            QStringLiteral("The position is \"before\" or \"after\", not \"%1\".").arg(position));
        return {};
    }
    const TSLObjectSpecifier relative = TSLObjectSpecifier::relativeSpecifier(modelKey(key),
        position == QLatin1String("before") ? TSLObjectSpecifier::Position::Before
                                            : TSLObjectSpecifier::Position::After,
        indexSpecifier(baseKey, baseIndex));
    if (const std::optional<std::vector<int>> indexes
        = scripting_->indicesOfObjectsByEvaluatingRelativeSpecifier(relative))
        return listOf(*indexes);
    fail(DocumentBusErrors::noSuchObject,
        baseKey.isEmpty() ? QStringLiteral("A specifier of %1 %2 another needs that other element; none was given.")
                                .arg(key, position)
                          : QStringLiteral("The specifier %1 %2 %3 names no element of the design.")
                                .arg(key, position, endText(baseKey, baseIndex, QString())));
    return {};
}

int DocumentBus::Make(const QString& kind, int index, const QVariantMap& properties)
{
    if (refuseWhileBusy())
        return -1;
    const MadeKind* made = madeKind(kind);
    if (!made) {
        fail(DocumentBusErrors::invalidArgs,
            QStringLiteral("A script can make graphics, rectangles, circles, rectangles_round, lines, textAreas or "
                           "images, not \"%1\".")
                .arg(kind));
        return -1;
    }
    const QString key = modelKey(kind);
    const int count = int(scripting_->elementsForKey(key).size());
    // -1 is the end; any other index outside the list is refused, a negative one as a wrong argument.
    if (index < -1 || index > count) {
        fail(index < -1 ? DocumentBusErrors::invalidArgs : DocumentBusErrors::noSuchObject,
            QStringLiteral("%1 has %2 elements; a new one goes at an index from 0 to %2, or -1 for the end, not %3.")
                .arg(kind)
                .arg(count)
                .arg(index));
        return -1;
    }
    const int at = index == -1 ? count : index;
    TSLGraphicPtr item = scripting_->newScriptingObjectOfClass(QLatin1String(made->className), {});
    if (!item) {
        fail(DocumentBusErrors::invalidArgs, QStringLiteral("%1 cannot be made.").arg(kind));
        return -1;
    }
    if (item->bounds().isEmpty())
        item->setBounds(madeItemBounds);
    // Every property is checked before the item is made, so a bad one leaves the design as it was.
    for (auto value = properties.constBegin(); value != properties.constEnd(); ++value) {
        if (const std::optional<DocumentBusFailure> failure
            = checkScriptedProperty(*item, value.key(), value.value())) {
            fail(failure->name, failure->message);
            return -1;
        }
    }
    for (auto value = properties.constBegin(); value != properties.constEnd(); ++value) {
        if (const std::optional<DocumentBusFailure> failure
            = setScriptedProperty(*item, value.key(), value.value(), frontCard())) {
            fail(failure->name, failure->message);
            return -1;
        }
    }
    try {
        asOneStep(document_, undoName(QStringLiteral("Create %@"), TSLGraphicView::kindName({ item })), [&] {
            if (key == QLatin1String("graphics"))
                at == count ? scripting_->addInGraphics(item) : scripting_->insertGraphic(item, at);
            else if (key == QLatin1String("rectangles"))
                scripting_->insertObjectInRectanglesAtIndex(item, at);
            else if (key == QLatin1String("circles"))
                scripting_->insertObjectInCirclesAtIndex(item, at);
            else if (key == QLatin1String("lines"))
                scripting_->insertObjectInLinesAtIndex(item, at);
            else if (key == QLatin1String("textAreas"))
                scripting_->insertObjectInTextAreasAtIndex(item, at);
            else
                scripting_->insertObjectInImagesAtIndex(item, at);
        });
    } catch (const TSLScriptingRangeError& error) {
        fail(DocumentBusErrors::range, QString::fromUtf8(error.what()));
        return -1;
    }
    emit changedByScript();
    const TSLGraphicList elements = scripting_->elementsForKey(key);
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (elements[i] == item)
            return int(i);
    return -1;
}

TSLGraphicPtr DocumentBus::element(const QString& key, int index)
{
    if (!checkKey(key))
        return nullptr;
    const TSLGraphicList elements = scripting_->elementsForKey(modelKey(key));
    if (index < 0 || index >= int(elements.size())) {
        fail(DocumentBusErrors::noSuchObject,
            QStringLiteral("There is no element %1 of %2: it has %3.").arg(index).arg(key).arg(elements.size()));
        return nullptr;
    }
    return elements[std::size_t(index)];
}

void DocumentBus::Remove(const QString& key, int index)
{
    if (refuseWhileBusy())
        return;
    const TSLGraphicPtr item = element(key, index);
    if (!item || refuseWhileTyped(*item))
        return;
    const QString name = undoName(QStringLiteral("Delete %@"), TSLGraphicView::kindName({ item }));
    const QString kind = modelKey(key);
    try {
        asOneStep(document_, name, [&] {
            if (TSLDocument_Scripting::isListKey(kind))
                scripting_->removeGraphicAtIndex(index);
            else if (kind == QLatin1String("rectangles"))
                scripting_->removeObjectFromRectanglesAtIndex(index);
            else if (kind == QLatin1String("circles"))
                scripting_->removeObjectFromCirclesAtIndex(index);
            else if (kind == QLatin1String("lines"))
                scripting_->removeObjectFromLinesAtIndex(index);
            else if (kind == QLatin1String("textAreas"))
                scripting_->removeObjectFromTextAreasAtIndex(index);
            else
                scripting_->removeObjectFromImagesAtIndex(index);
        });
        emit changedByScript();
    } catch (const TSLScriptingRangeError& error) {
        fail(DocumentBusErrors::range, QString::fromUtf8(error.what()));
    }
}

QDBusVariant DocumentBus::Get(const QString& key, int index, const QString& property)
{
    if (refuseWhileBusy())
        return {};
    const TSLGraphicPtr item = element(key, index);
    if (!item)
        return {};
    const std::variant<QVariant, DocumentBusFailure> value = scriptedProperty(*item, property);
    if (const auto* failure = std::get_if<DocumentBusFailure>(&value)) {
        fail(failure->name, failure->message);
        return {};
    }
    return QDBusVariant(std::get<QVariant>(value));
}

void DocumentBus::Set(const QString& key, int index, const QString& property, const QDBusVariant& value)
{
    if (refuseWhileBusy())
        return;
    const TSLGraphicPtr item = element(key, index);
    if (!item || refuseWhileTyped(*item))
        return;
    if (const std::optional<DocumentBusFailure> failure = checkScriptedProperty(*item, property, value.variant())) {
        fail(failure->name, failure->message);
        return;
    }
    std::optional<DocumentBusFailure> failure;
    asOneStep(document_, scriptedPropertyUndoName(*item, property, value.variant()),
        [&] { failure = setScriptedProperty(*item, property, value.variant(), frontCard()); });
    if (failure)
        fail(failure->name, failure->message);
    else
        emit changedByScript();
}
