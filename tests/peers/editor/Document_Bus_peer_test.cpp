// The README's scripting examples, run as written by gdbus against the real window on a private bus.
#include "editor/DocumentBusFixture.h"

#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTest>

namespace {

using namespace documentbustest;

// The output of one shell command line; the program answers on this thread, so the wait keeps its loop running.
QString runCommand(const QString& line, const QString& busAddress)
{
    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    shell.setProcessEnvironment(environment);
    QEventLoop loop;
    QObject::connect(&shell, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&shell, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    shell.start(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), line });
    loop.exec();
    EXPECT_EQ(shell.exitCode(), 0) << line.toStdString() << "\n" << shell.readAllStandardError().toStdString();
    return QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
}

// The README's three "gdbus call" lines, as written.
QStringList readmeExamples()
{
    if (QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
        ADD_FAILURE() << "gdbus is missing: tools/deps.sh installs libglib2.0-bin";
    QFile readme(QStringLiteral(TESSALINE_TEST_SOURCE_DIR "/../README.md"));
    QStringList examples;
    if (!readme.open(QIODevice::ReadOnly))
        return examples;
    for (const QString& line : QString::fromUtf8(readme.readAll()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("gdbus call ")))
            examples << line;
    return examples;
}

class ReadmeOnTheBusTest : public DocumentBusTest {
protected:
    // Runs the README's lines and checks that they reached the window under test.
    void runTheReadme()
    {
        const QStringList examples = readmeExamples();
        ASSERT_EQ(examples.size(), 3);
        EXPECT_EQ(runCommand(examples[0], busAddress), QStringLiteral("(1,)"));
        runCommand(examples[1], busAddress);
        runCommand(examples[2], busAddress);
        EXPECT_EQ(text->Text_contents().string, QStringLiteral("Happy birthday, Mia!"));
        EXPECT_EQ(text->txt_clr.rgb(), QColor(204, 0, 102).rgb());
        EXPECT_EQ(document.undoManager().undoActionName(), QStringLiteral("Text Colour"));
        EXPECT_TRUE(window->isWindowModified());
    }
};

TEST_F(ReadmeOnTheBusTest, TheReadmeExamplesCountTheTextsAndSetTheFirstOnesTextAndColour)
{
    runTheReadme();
}

TEST_F(ReadmeOnTheBusTest, TheReadmeReachesTheSecondCopyOnceTheFirstQuits)
{
    // The program started as a person starts it, first on the bus, with a data folder it makes itself.
    scripting.reset();
    const QString data = busFolder.filePath(QStringLiteral("first copy's data"));
    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    environment.insert(QStringLiteral("TESSALINE_DATA_DIR"), data);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    first.setProcessEnvironment(environment);
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(TESSALINE_PROGRAM), {});
    ASSERT_TRUE(first.waitForStarted(10000)) << first.errorString().toStdString();
    QDBusConnectionInterface& names
        = *QDBusConnection::connectToBus(busAddress, QStringLiteral("script-client")).interface();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return names.servicePid(DocumentBus::serviceName).value() == uint(first.processId()); }, 30000))
        << "the first copy never took the program's name";
    EXPECT_EQ(QFileInfo(data).permissions(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadUser
            | QFileDevice::WriteUser | QFileDevice::ExeUser)
        << "a first start makes the data folder for its owner alone";

    // The window under test starts second: it waits in the queue, reachable by its own name meanwhile.
    scripting = std::make_unique<DocumentBus>(document);
    QString error;
    const QString own = QStringLiteral("org.tessaline.Card.instance%1").arg(QCoreApplication::applicationPid());
    ASSERT_EQ(scripting->registerOn(QDBusConnection(QStringLiteral("script-program")), &error), own)
        << error.toStdString();
    EXPECT_EQ(names.servicePid(QStringLiteral("org.tessaline.Card.instance%1").arg(first.processId())).value(),
        uint(first.processId()));

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));
    const QString second = QDBusConnection(QStringLiteral("script-program")).baseService();
    ASSERT_TRUE(QTest::qWaitFor([&] { return names.serviceOwner(DocumentBus::serviceName).value() == second; }, 1000))
        << "the program's name did not pass to the second copy within a second";
    runTheReadme();
}

} // namespace
