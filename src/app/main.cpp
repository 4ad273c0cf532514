#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Resources.h"
#include "editor/Document_Bus.h"
#include "editor/Start_Up_Arguments.h"
#include "editor/TSLWindowController.h"
#include "model/TSLDocument.h"
#include "platform/MemoryPolicy.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    platform::returnLargeBlocksToTheSystem();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaline Card"));
    QApplication::setOrganizationName(QStringLiteral("Tessaline"));
    QApplication::setDesktopFileName(QStringLiteral("tessaline"));
    initTessalineResources();

    QString error;
    if (!Prepare_Resource_Folder(&error)) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("The data folder cannot be accessed, so Tessaline Card cannot start."));
        return 1;
    }
    Check_Path_And_Create_Files();

    // One design and its one editor window for the whole run; the start screen comes up from start-up.
    TSLDocument document;
    TSLWindowController window;
    window.setDocument(&document);
    const QStringList designs = designPathsFromArguments(QApplication::arguments(), QDir::currentPath());
    window.setStartUpDesign(designs.value(0));
    if (designs.size() > 1)
        Show_MessageBox(designsLeftMessage(designs));
    // Scripts on the user's own session bus reach the open design; without a bus the program runs as ever.
    DocumentBus scripting(document);
    QString busError;
    if (scripting.registerOn(QDBusConnection::sessionBus(), &busError).isEmpty())
        Show_NSLog_Message(busError);
    QObject::connect(&scripting, &DocumentBus::changedByScript, &window, &TSLWindowController::followScriptedChange);
    window.awakeFromNib();
    if (window.hasEnded())
        return window.endStatus();
    return app.exec();
}
