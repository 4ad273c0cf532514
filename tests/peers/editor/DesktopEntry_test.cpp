// The desktop's own tools accept the installed desktop entry and the design-file type.
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QString desktopFile(const char* name)
{
    return QDir(QStringLiteral(TESSALINE_TEST_SOURCE_DIR))
        .filePath(QStringLiteral("../resources/desktop/%1").arg(QLatin1String(name)));
}

} // namespace

TEST(DesktopEntryPeer, MimeDatabaseTakesTheDesignFileType)
{
    const QString tool = QStringLiteral("update-mime-database");
    ASSERT_TRUE(testsupport::havePeer(tool)) << "tools/deps.sh installs shared-mime-info";
    const QString root = testsupport::makeTempFolder(QStringLiteral("mime"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/packages")));
    ASSERT_TRUE(
        QFile::copy(desktopFile("tessaline-dcard.xml"), root + QStringLiteral("/packages/tessaline-dcard.xml")));
    QString out, err;
    ASSERT_EQ(testsupport::runProgram(tool, { QStringLiteral("-V"), root }, &out, &err), 0) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("rror"))) << err.toStdString();

    QFile type(root + QStringLiteral("/application/x-tessaline-dcard.xml"));
    ASSERT_TRUE(type.open(QIODevice::ReadOnly)) << "the type was not registered";
    const QByteArray registered = type.readAll();
    EXPECT_TRUE(registered.contains("*.dcard"));
    QFile globs(root + QStringLiteral("/globs2"));
    ASSERT_TRUE(globs.open(QIODevice::ReadOnly));
    EXPECT_TRUE(globs.readAll().contains("application/x-tessaline-dcard:*.dcard"));
    QFile magic(root + QStringLiteral("/magic"));
    ASSERT_TRUE(magic.open(QIODevice::ReadOnly));
    EXPECT_TRUE(magic.readAll().contains("MORVENTALISPRENQUADEX"));
}

TEST(DesktopEntryPeer, DesktopEntryValidates)
{
    const QString tool = QStringLiteral("desktop-file-validate");
    ASSERT_TRUE(testsupport::havePeer(tool)) << "tools/deps.sh installs desktop-file-utils";
    QString out, err;
    EXPECT_EQ(testsupport::runProgram(tool, { desktopFile("tessaline.desktop") }, &out, &err), 0)
        << out.toStdString() << err.toStdString();
    EXPECT_TRUE(out.trimmed().isEmpty()) << out.toStdString(); // not even a hint
}
