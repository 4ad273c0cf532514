#pragma once

// The open design on a private session bus of the test's own: its socket and configuration live in the
// test's temporary folder, and the real window is started as a person starts it.
#include "editor/Document_Bus.h"
#include "editor/EditorWindowTestSupport.h"
#include "editor/TSLWindowController.h"
#include "model/TSLDocument.h"
#include "platform/UndoManager.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace documentbustest {

// A D-Bus structure of the values, "(dddd)" or "(qqq)" by their types.
template <typename... T> QVariant compound(T... values)
{
    QDBusArgument argument;
    argument.beginStructure();
    (argument << ... << values);
    argument.endStructure();
    return QVariant::fromValue(argument);
}

inline QVariant rgb(quint16 red, quint16 green, quint16 blue)
{
    return compound(red, green, blue);
}

template <typename T> QList<T> numbersOf(const QVariant& value)
{
    QList<T> numbers;
    const QDBusArgument argument = value.value<QDBusVariant>().variant().value<QDBusArgument>();
    argument.beginStructure();
    while (!argument.atEnd()) {
        T number {};
        argument >> number;
        numbers.append(number);
    }
    argument.endStructure();
    return numbers;
}

class DocumentBusTest : public editortest::EditorWindowTest {
protected:
    QTemporaryDir busFolder;
    QProcess busDaemon;
    QString busAddress;
    std::unique_ptr<DocumentBus> scripting;
    QString serviceName;
    TSLGraphicPtr text;

    // A session bus of the test's own: its socket and configuration live in the test's temporary folder.
    void startBus()
    {
        const QString config = busFolder.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!busFolder.isValid() || !file.open(QIODevice::WriteOnly))
            return;
        file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen><policy context="
                                  "\"default\"><allow send_destination=\"*\"/><allow receive_sender=\"*\"/><allow "
                                  "own=\"*\"/></policy></busconfig>")
                       .arg(busFolder.path())
                       .toUtf8());
        file.close();
        busDaemon.start(QStringLiteral("dbus-daemon"),
            { QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                QStringLiteral("--print-address") });
        if (busDaemon.waitForReadyRead(5000))
            busAddress = QString::fromUtf8(busDaemon.readLine()).trimmed();
    }
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startBus();
        if (busAddress.isEmpty())
            GTEST_SKIP() << "no private session bus could be started (dbus-daemon missing?)";
        startUpEmpty();
        // The front list [text A, shape B, line C, shape D].
        for (const char* kind : { "TSLText", "Shape_Control", "TSLLine", "Shape_Control" }) {
            const TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QLatin1String(kind));
            item->setBounds({ 10.0 + 30 * document.graphics().size(), 10, 100, 30 });
            addItem(item, TSLDocumentGraphicsKey);
        }
        text = document.graphics().front();
        document.undoManager().removeAllActions();
        window->setWindowModified(false);

        scripting = std::make_unique<DocumentBus>(document);
        QObject::connect(scripting.get(), &DocumentBus::changedByScript, window.get(),
            &TSLWindowController::followScriptedChange); // as the program's main does
        QString error;
        serviceName = scripting->registerOn(
            QDBusConnection::connectToBus(busAddress, QStringLiteral("script-program")), &error);
        ASSERT_EQ(serviceName, DocumentBus::serviceName) << error.toStdString();
    }
    void TearDown() override
    {
        scripting.reset();
        EditorWindowTest::TearDown();
        for (const char* name : { "script-client", "script-program", "script-second" })
            QDBusConnection::disconnectFromBus(QLatin1String(name));
        busDaemon.kill();
        busDaemon.waitForFinished();
    }
    QDBusMessage call(const QString& method, const QVariantList& arguments)
    {
        // The program answers on this thread, so the call waits with the event loop running.
        QDBusMessage message = QDBusMessage::createMethodCall(
            serviceName, DocumentBus::objectPath, QStringLiteral("org.tessaline.Card.Document"), method);
        message.setArguments(arguments);
        return QDBusConnection::connectToBus(busAddress, QStringLiteral("script-client"))
            .call(message, QDBus::BlockWithGui, 5000);
    }
    QStringList frontList() const
    {
        QStringList kinds;
        for (const TSLGraphicPtr& item : document.graphics())
            kinds << item->className();
        return kinds;
    }
    QVariant answer(const QString& method, const QVariantList& arguments)
    {
        const QDBusMessage reply = call(method, arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
            << method.toStdString() << ": " << reply.errorMessage().toStdString();
        return reply.arguments().value(0);
    }
    template <typename T> T answerAs(const QString& method, const QVariantList& arguments)
    {
        T value {};
        answer(method, arguments).value<QDBusArgument>() >> value;
        return value;
    }
};

} // namespace documentbustest
