#include "output/Run_Info_Window.h"

#include "common/Common_Functions.h"
#include "platform/UiSeam.h"

#include <QDialog>

#include <exception>

int Run_Info_Window(QDialog& window)
{
    try {
        const int code = platform::ui().runModal(window);
        window.hide();
        return code;
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
        window.hide();
        return 0;
    }
}
