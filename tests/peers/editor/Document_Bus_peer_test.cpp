// The README's scripting examples, run as written by gdbus against the real window on a private bus.
#include "editor/DocumentBusFixture.h"

#include <QEventLoop>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>

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

TEST_F(DocumentBusTest, TheReadmeExamplesCountTheTextsAndSetTheFirstOnesTextAndColour)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
        GTEST_FAIL() << "gdbus is missing: tools/deps.sh installs libglib2.0-bin";
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
