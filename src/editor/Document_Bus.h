#pragma once

#include "model/TSLGraphic.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

class TSLDocument;
class TSLDocument_Scripting;

// One element as a script sees it: its index among the elements of the key asked for, its class, its
// object specifier in the front list ("graphics[2]") and its bounds in points.
struct DocumentBusItem {
    int index = 0;
    QString kind;
    QString specifier;
    double x = 0, y = 0, width = 0, height = 0;
};
Q_DECLARE_METATYPE(DocumentBusItem)
Q_DECLARE_METATYPE(QList<DocumentBusItem>)

class QDBusArgument;
QDBusArgument& operator<<(QDBusArgument& argument, const DocumentBusItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DocumentBusItem& item);

// The open design's scripting model on the user's session bus, at "/Document". Scripts see and change the
// front list only; every change is one named undo step of the front side, so the window marks the design
// modified and repaints as after an edit by hand. Calls arrive on the GUI thread; none opens, saves or
// deletes a file, and none waits on a window: while a modal window is open every call is refused, and so is
// a change of a text that a person is typing into on the card.
class DocumentBus final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tessaline.Card.Document")
public:
    static const QString serviceName; // "org.tessaline.Card"
    static const QString objectPath; // "/Document"

    explicit DocumentBus(TSLDocument& document, QObject* parent = nullptr);
    ~DocumentBus() override;

    // Exports the document on the connection under "org.tessaline.Card.instance<pid>" and queues this copy
    // for the program's name, which the bus gives to the first copy and, when that quits, to the next. The
    // program's name when this copy owns it at once, else its own; empty with *error set when neither.
    QString registerOn(QDBusConnection connection, QString* error);

public slots:
    Q_SCRIPTABLE int Count(const QString& key);
    Q_SCRIPTABLE QList<DocumentBusItem> Items(const QString& key);
    Q_SCRIPTABLE QList<int> EvaluateRange(
        const QString& key, const QString& startKey, int startIndex, const QString& endKey, int endIndex);
    Q_SCRIPTABLE QList<int> EvaluateRelative(
        const QString& key, const QString& baseKey, int baseIndex, const QString& position);
    Q_SCRIPTABLE int Make(const QString& kind, int index, const QVariantMap& properties);
    Q_SCRIPTABLE void Remove(const QString& key, int index);
    Q_SCRIPTABLE QDBusVariant Get(const QString& key, int index, const QString& property);
    Q_SCRIPTABLE void Set(const QString& key, int index, const QString& property, const QDBusVariant& value);

signals:
    // A call changed the design (one undo step was recorded): windows showing it follow.
    void changedByScript();

private:
    bool refuseWhileBusy();
    bool refuseWhileTyped(const TSLGraphic& item);
    bool checkKey(const QString& key);
    QRectF frontCard() const;
    TSLGraphicPtr element(const QString& key, int index); // nothing, and the script told why, when absent
    void fail(const QString& errorName, const QString& message);

    TSLDocument& document_;
    std::unique_ptr<TSLDocument_Scripting> scripting_;
    QString connectionName_;
    QStringList registeredNames_;
};
