// Shared main of every test program: a QApplication on the offscreen platform and a temporary data folder,
// so that tests never touch the user's files and never need a display.
#include "support/TestSupport.h"
#include "common/File_Functions.h"
#include "common/Resources.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataDir;
    qputenv("TESSALINE_DATA_DIR", dataDir.path().toUtf8());
    // No test reaches the machine's printers: the print scheduler is one that a test starts on this socket.
    qputenv("CUPS_SERVER", dataDir.filePath(QStringLiteral("printers.sock")).toUtf8());
    QApplication app(argc, argv);
    initTessalineResources();
    Prepare_Resource_Folder();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
