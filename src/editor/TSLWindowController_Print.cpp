// The Print command: checks the data sources and opens the print window on the design.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "editor/Editor_Print_Host.h"
#include "output/Print_Wnd.h"

#include <QPrinterInfo>

void TSLWindowController::Print_Button()
{
    Check_Series_Or_Excel_Use_or_not();
    if ((Use_Data_Sheet_Values || Use_Excel_Binding_Values) && Total_Batch_Excel_Card == 0) {
        Show_MessageBox(QStringLiteral("List is empty."));
        return;
    }
    Print_method();
}

void TSLWindowController::Print_method()
{
    // A PDF file is always there to print to, so the window opens even on a machine without printers.
    try {
        Editor_Print_Host host(*this);
        Print_Wnd::defaultInstance().Open_Print_Wnd(host);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
