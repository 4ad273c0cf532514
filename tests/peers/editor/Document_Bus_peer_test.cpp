// The README's scripting examples, run as written by gdbus against the real window on a private bus.
#include "editor/DocumentBusFixture.h"

#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QFile>
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

// The program as a person starts it, first on the bus, with a data folder it makes itself; the window under
// test starts second and waits in the queue. When the first quits, the README reaches the second.
TEST_F(DocumentBusTest, TheReadmeExamplesReachTheSecondCopyOnceTheFirstQuits)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
        GTEST_FAIL() << "gdbus is missing: tools/deps.sh installs libglib2.0-bin";
    scripting.reset();
    const QString data = busFolder.filePath(QStringLiteral("first copy's data"));
    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    environment.insert(QStringLiteral("TESSALINE_DATA_DIR"), data);
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(TESSALINE_PROGRAM), {});
    QDBusConnectionInterface& names
        = *QDBusConnection::connectToBus(busAddress, QStringLiteral("script-client")).interface();
    const auto pidOf = [&names](const QString& name) { return qint64(names.servicePid(name).value()); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return pidOf(DocumentBus::serviceName) == first.processId(); }, 30000));
    EXPECT_EQ(pidOf(QStringLiteral("org.tessaline.Card.instance%1").arg(first.processId())), first.processId());
    EXPECT_EQ(QFile::permissions(data) & 0x0FFF, QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser)
        << "a first start makes the data folder for its owner alone";
    scripting = std::make_unique<DocumentBus>(document);
    QString error;
    const QString own = QStringLiteral("org.tessaline.Card.instance%1").arg(QCoreApplication::applicationPid());
    ASSERT_EQ(scripting->registerOn(QDBusConnection(QStringLiteral("script-program")), &error), own);
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pidOf(DocumentBus::serviceName) == QCoreApplication::applicationPid(); }, 1000))
        << "the program's name did not pass to the second copy within a second";

    QFile readme(QStringLiteral(TESSALINE_TEST_SOURCE_DIR "/../README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    QStringList examples;
    for (const QString& line : QString::fromUtf8(readme.readAll()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("gdbus call ")))
            examples << line;
    ASSERT_EQ(examples.size(), 3);

    EXPECT_EQ(runCommand(examples[0], busAddress), QStringLiteral("(1,)"));
    runCommand(examples[1], busAddress);
    runCommand(examples[2], busAddress);
    EXPECT_EQ(text->Text_contents().string, QStringLiteral("Happy birthday, Mia!"));
    EXPECT_EQ(text->txt_clr.rgb(), QColor(204, 0, 102).rgb());
    EXPECT_EQ(document.undoManager().undoActionName(), QStringLiteral("Text Colour"));
    EXPECT_TRUE(window->isWindowModified());
}

} // namespace
