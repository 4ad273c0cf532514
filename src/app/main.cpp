#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Resources.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaline Card"));
    QApplication::setOrganizationName(QStringLiteral("Tessaline"));
    initTessalineResources();

    QString error;
    if (!Prepare_Resource_Folder(&error)) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("The data folder cannot be accessed, so Tessaline Card cannot start."));
        return 1;
    }
    Check_Path_And_Create_Files();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tessaline Card"));
    window.resize(1100, 760);
    window.show();
    return app.exec();
}
